#pragma once

// The server settings file "Solvanor2004.INI", shared with the larger server program.

#include <QDateTime>
#include <QString>
#include <QStringList>

// Current layout version of the file.
inline constexpr char IniVersionAktuell[] = "V.001.025";

// Value of Key in Section; Default when it is missing or anything fails. Creates, upgrades and
// writes the whole file back on every call, and adds a missing key with Default.
QString IniWertLesen(const QString &Section, const QString &Key, const QString &Default);
// 1 newer, 0 equal, -1 older than the current version, -99 malformed.
int IniVersionVergleichen(const QString &Version);

// The readers of [Messages] and [TCPIP].
qint32 GetShowTextTime();
qint32 GetShowErrTime();
qint32 GetMaxZeilenLog();
qint32 GetMaxZeilenErr();
qint64 GetMaxGroesseErr(); // bytes, at most 1,024,000
qint32 GetTCPServerTimeOut();
qint32 GetTCPWinPort();

// A signed 32-bit whole number, decimal or hexadecimal after "$", "x" or "0x".
bool IniGanzzahl(const QString &Text, qint32 &Wert);

// The fixed comment lines of the file header.
const QStringList &IniKopfKommentar();
// The header block: section line, stamp lines and comment, each without line break.
QStringList IniKopf(const QDateTime &Zeitpunkt);
// The whole content of a newly created file, with CR LF line breaks.
QByteArray IniNeueDatei(const QDateTime &Zeitpunkt);
