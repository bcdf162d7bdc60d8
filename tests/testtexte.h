#pragma once

// Texts shared by the tests.

#include <QByteArray>
#include <QString>

// A wire field: four upper-case hex digits of the low 16 bits.
inline QString Hex4(int wert)
{
    return QStringLiteral("%1").arg(wert & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}

// Wire text of proofing program nr (56-character layout): the other fields differ per program
// and per basis, multiples of 5 so that the scaled ones decode back to the same field.
inline QString GaerHex(int nr, int basis = 100)
{
    QString t = Hex4(nr);
    for (int i = 1; i < 14; ++i)
        t += Hex4(5 * (basis + nr * 20 + i));
    return t;
}

// Wire text of Nivorell program nr, built the same way.
inline QString NvHex(int nr, int basis = 100)
{
    QString t = Hex4(nr);
    for (int i = 1; i < 25; ++i)
        t += Hex4(5 * (basis + nr * 30 + i));
    return t;
}

// The default proofing program 1 of a new list on the wire, in both layouts.
inline const QString StandardGaer1Hex56 = QStringLiteral("0001003C0145015E0168019A030700B4022603200000FFFF02EE003C");
inline const QString StandardGaer1Hex52 = QStringLiteral("0001003C0145015E0168019A030700B402260320FFFF02EE003C");

// A single-program file of that program: number line and wire line, each ending CR LF.
inline QByteArray StandardGaer1Datei(bool Ab352)
{
    return "01\r\n" + (Ab352 ? StandardGaer1Hex56 : StandardGaer1Hex52).toLatin1() + "\r\n";
}

// A proofing list file of GaerHex(1) .. GaerHex(10) whose program at place Leer (1 to 10) is
// an empty line, as a list save writes a program that cannot be encoded.
inline QByteArray GaerListeMitLeeremProgramm(int Leer)
{
    QByteArray text = "Init\r\n";
    for (int nr = 1; nr <= 10; ++nr)
        text += (nr == Leer ? QByteArray() : GaerHex(nr).toLatin1()) + "\r\n";
    return text;
}
