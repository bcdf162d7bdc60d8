#pragma once

// Support module: paths, server settings file, error log.

#include "support/uIniDatei.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

// Start-up: forms the program's folder and file names from the executable's folder,
// creates the missing folders and reads the limits of [Messages].
void PfadeInitialisieren();
// The same for a given program folder.
void PfadeInitialisieren(const QString &Ordner);

// Date in the short and time in the long format of the system locale; no time at exactly midnight.
// The year has four digits and the time no zone name, as in "10.12.2026 13:18:02".
QString DatumZeitText(const QDateTime &Zeitpunkt);
QString DatumZeitText(const QDateTime &Zeitpunkt, const QLocale &Ort);
// The date alone, in the same short format.
QString DatumText(const QDate &Datum);
QString DatumText(const QDate &Datum, const QLocale &Ort);

// Appends one time-stamped entry to the error log of module Name; never raises.
void ErrSchreiben(const QString &Name, const QString &Text);
// The writer behind ErrSchreiben, with the size limit in bytes (0 or less: never moved aside).
void LogSchreiben(const QString &Name, const QString &Text, qint64 Grenze);
void LogSchreiben(const QString &Name, const QString &Text, qint64 Grenze, const QDateTime &Jetzt);
// The info entry for a folder whose lock another held too long, so the program went on without it.
QString SperreAufgegebenText(const QString &Ordner);
// The weekday folder of Datum under "log", with trailing separator.
QString LogVerzeichnis(const QDate &Datum);
// Blanks out characters that may not stand in a file name; Melden reports a slash inside a name.
void DateinameBereinigen(QString &Name, bool Melden = true);
// An executable's file name without its extension ("MiniQuorvel.exe" -> "MiniQuorvel").
QString ModulNameAusDatei(const QString &Dateiname);
