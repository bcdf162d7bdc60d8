#pragma once

// Writing a whole file in one piece. No widgets here.

#include <QByteArray>
#include <QString>

// Writes Daten as the whole content of the file Pfad. The text goes to a new file beside it,
// which replaces the old file only once every byte is written; on failure the old file stays
// as it was and nothing is left behind. Where the folder admits no new file but the file
// itself is writable (a folder of another user, say), the file is written in place: a failure
// then leaves it cut. False on failure, with the system's reason in Grund when given.
bool DateiSchreiben(const QString &Pfad, const QByteArray &Daten, QString *Grund = nullptr);
