#pragma once

// A 64-character status record built from named fields; fields not given take the values of
// the example record (two faults, mode 3, phase 4, program 5, 20 °C, 09.12.2026 14:30 summer).

#include <QString>
#include <QStringList>

inline QString StatusSatz(const QStringList &aenderungen = {})
{
    struct Feld {
        const char *key;
        QString wert;
    };
    Feld felder[] = {
        {"ANZSTO", QStringLiteral("0002")}, {"AKTBET", QStringLiteral("0003")},
        {"AKTUBE", QStringLiteral("0004")}, {"BPRNR", QStringLiteral("0005")},
        {"TEMP", QStringLiteral("01F4")},   {"TEMPS", QStringLiteral("01FE")},
        {"FEU", QStringLiteral("02EE")},    {"FEUS", QStringLiteral("0320")},
        {"TAG", QStringLiteral("0003")},    {"DATUM", QStringLiteral("09122026")},
        {"ZEIT", QStringLiteral("1430")},   {"SOMMER", QStringLiteral("0001")},
        {"RELGRU", QStringLiteral("0003")}, {"RELZUS", QStringLiteral("0001")},
        {"DREVER", QStringLiteral("0123")},
    };
    for (const QString &a : aenderungen) {
        const qsizetype gl = a.indexOf(QLatin1Char('='));
        for (Feld &f : felder)
            if (a.left(gl) == QLatin1String(f.key))
                f.wert = a.mid(gl + 1);
    }
    QString s;
    for (const Feld &f : felder)
        s += f.wert;
    return s;
}
