#pragma once

// File helpers shared by the support tests.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>

inline QByteArray DateiInhalt(const QString &Pfad)
{
    QFile f(Pfad);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline bool DateiAnlegen(const QString &Pfad, const QByteArray &Inhalt)
{
    QFile f(Pfad);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.write(Inhalt) == Inhalt.size();
}

// Sets the time the file's content was last written to Sekunden from now (negative: ago).
inline bool DateiZeitVerschieben(const QString &Pfad, qint64 Sekunden)
{
    timespec jetzt{};
    ::clock_gettime(CLOCK_REALTIME, &jetzt);
    jetzt.tv_sec += time_t(Sekunden);
    const timespec zeiten[2] = {jetzt, jetzt};
    return ::utimensat(AT_FDCWD, QFile::encodeName(Pfad).constData(), zeiten, 0) == 0;
}

// Lines of a CR LF text; the last break ends the last line.
inline QStringList CrLfZeilen(const QByteArray &Inhalt)
{
    QString text = QString::fromLatin1(Inhalt);
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}
