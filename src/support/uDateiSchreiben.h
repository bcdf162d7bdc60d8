#pragma once

// Writing a whole file in one piece. No widgets here.

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// Writes Daten as the whole content of the file Pfad. The text goes to a new file beside it,
// which replaces the old file only once every byte is written; on failure the old file stays
// as it was and nothing is left behind. Where no new file can be made beside it but the file
// itself is writable (a folder of another user, say), the file is written in place: the room
// for the new content is reserved first, so that a full disk leaves the file as it was. Only
// a file system that reserves no room leaves the file cut when the disk runs full. False on
// failure, with the system's reason in Grund when given.
bool DateiSchreiben(const QString &Pfad, const QByteArray &Daten, QString *Grund = nullptr);

enum class Erstellung { Erstellt, Vorhanden, Fehler };

// Makes the file Pfad with the content Daten only where no file of that name exists at that
// moment: an existing one, also one that another program makes meanwhile, is left alone
// (Vorhanden). The new file appears whole or not at all. Fehler with the system's reason in
// Grund when given.
Erstellung DateiErstellen(const QString &Pfad, const QByteArray &Daten, QString *Grund = nullptr);

// What a reader found at a path: which file it was and what it held.
struct DateiStand
{
    dev_t Geraet = 0;
    ino_t Knoten = 0;
    mode_t Modus = 0;
    QByteArray Inhalt;
};

enum class Lesung { Gelesen, Fehlt, Fehler };

// The whole file Pfad into Stand, with which file it was. Fehlt only where the open itself finds
// no file of that name (or no folder on its way): a file that another program puts in place at
// that moment is found, old or new. Anything but a regular file is Fehler.
Lesung DateiLesen(const QString &Pfad, DateiStand &Stand);

enum class Ersetzung { Ersetzt, Geaendert, Fehler };

// Writes Daten as the whole content of the file Pfad as DateiSchreiben does, but only where the
// file there is still the one described by Stand, in identity and content. Where another writer
// has replaced or changed it meanwhile, nothing is written over its text (Geaendert). The new
// file keeps the old one's permissions. Fehler with the system's reason in Grund when given.
Ersetzung DateiErsetzenWennUnveraendert(const QString &Pfad, const QByteArray &Daten, const DateiStand &Stand,
                                        QString *Grund = nullptr);
