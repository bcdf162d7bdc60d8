#pragma once

// Writing a whole file in one piece. No widgets here.

#include <QByteArray>
#include <QString>

#include <functional>
#include <sys/types.h>
#include <time.h>

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

// What a reader found at a path: which file it was, when it was last written and what it held.
struct DateiStand
{
    dev_t Geraet = 0;
    ino_t Knoten = 0;
    mode_t Modus = 0;
    qint64 Groesse = 0;
    timespec Geschrieben{}; // last change of the content
    // Another program had the file open for writing at the read: a save in progress. Known
    // only where the system tells (the file's owner or a privileged reader, see fcntl leases).
    bool InArbeit = false;
    QByteArray Inhalt;
};

enum class Lesung { Gelesen, Fehlt, Fehler };

// The whole file Pfad into Stand, with which file it was. Fehlt only where the open itself finds
// no file of that name (or no folder on its way): a file that another program puts in place at
// that moment is found, old or new. Anything but a regular file is Fehler.
Lesung DateiLesen(const QString &Pfad, DateiStand &Stand);

enum class Ersetzung { Ersetzt, Geaendert, Fehler };

// Writes Daten as the whole content of the file Pfad as DateiSchreiben does, but only where the
// file there is still the one described by Stand: the same file, not written since (size, time
// of change and content) and not open for writing by another program. Where another writer has
// replaced or changed it meanwhile, nothing is written over its text (Geaendert): the new text
// goes in by an exchange in one step, and a file that the exchange took away but was changed
// after the check goes back in its place, as does any newer file another writer put there
// meanwhile. The new file keeps the old one's permissions. Fehler with the system's reason in
// Grund when given.
Ersetzung DateiErsetzenWennUnveraendert(const QString &Pfad, const QByteArray &Daten, const DateiStand &Stand,
                                        QString *Grund = nullptr);

// The steps of DateiErsetzenWennUnveraendert at which another writer may come in between.
enum class ErsetzenSchritt {
    Pruefen,   // the new text is on disk beside the file; the file at the path is checked next
    Geprueft,  // the file at the path was found as read; the exchange follows
    Getauscht, // the new text stands at the path; the file taken away is looked at next
};
// For tests: called at each of those steps, so that another writer's change can be put exactly
// there. Empty: nothing is called.
void ErsetzenHakenSetzen(std::function<void(ErsetzenSchritt)> Haken);
