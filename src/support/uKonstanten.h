#pragma once

// Support module: paths, server settings file, error log.

#include "support/uIniDatei.h"

#include <QDate>
#include <QDateTime>
#include <QString>

// Start-up: forms the program's folder and file names from the executable's folder,
// creates the missing folders and reads the limits of [Messages].
void PfadeInitialisieren();
// The same for a given program folder.
void PfadeInitialisieren(const QString &Ordner);

// Date in the short and time in the long format of the system locale; no time at exactly midnight.
QString DatumZeitText(const QDateTime &Zeitpunkt);

// Appends one time-stamped entry to the error log of module Name; never raises.
void ErrSchreiben(const QString &Name, const QString &Text);
// The writer behind ErrSchreiben, with the size limit in bytes (0 or less: never moved aside).
void LogSchreiben(const QString &Name, const QString &Text, qint64 Grenze);
void LogSchreiben(const QString &Name, const QString &Text, qint64 Grenze, const QDateTime &Jetzt);
// The weekday folder of Datum under "log", with trailing separator.
QString LogVerzeichnis(const QDate &Datum);
// Blanks out characters that may not stand in a file name; Melden reports a slash inside a name.
void DateinameBereinigen(QString &Name, bool Melden = true);
// An executable's file name without its extension ("MiniQuorvel.exe" -> "MiniQuorvel").
QString ModulNameAusDatei(const QString &Dateiname);
