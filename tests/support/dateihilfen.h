#pragma once

// File helpers shared by the support tests.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

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

// Lines of a CR LF text; the last break ends the last line.
inline QStringList CrLfZeilen(const QByteArray &Inhalt)
{
    QString text = QString::fromLatin1(Inhalt);
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}
