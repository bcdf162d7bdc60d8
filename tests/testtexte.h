#pragma once

// Texts shared by the tests.

#include <QString>

// A wire field: four upper-case hex digits of the low 16 bits.
inline QString Hex4(int wert)
{
    return QStringLiteral("%1").arg(wert & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}
