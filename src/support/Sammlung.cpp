#include "support/Sammlung.h"

#include <cmath>
#include <limits>

QString MinutenZuZeit(qint32 Minuten, bool NullZeigen)
{
    const bool negativ = Minuten < 0;
    // 64 bits, so that the absolute value of the smallest 32-bit number is representable.
    const qint64 wert = negativ ? -qint64(Minuten) : qint64(Minuten);
    if (wert == 0 && !NullZeigen)
        return QString();
    QString text = QString::asprintf("%.2lld:%.2lld", static_cast<long long>(wert / 60),
                                     static_cast<long long>(wert % 60));
    if (negativ)
        text.prepend(QLatin1String("--"));
    return text;
}

qint32 ZeitZuMinuten(const QString &Zeit)
{
    const qsizetype p = Zeit.indexOf(QLatin1Char(':')); // 0-based, -1 when missing
    const qint32 stunden = p < 0 ? 0 : GanzzahlOder(Zeit.left(p), 0);
    const qint32 minuten = GanzzahlOder(Zeit.mid(p + 1, 2), 0);
    // Wraps like the 32-bit arithmetic it stands for, without overflowing.
    const quint32 summe = quint32(stunden) * 60u + quint32(minuten);
    return qint32(summe);
}

qint32 HexZuInt(const QString &Text)
{
    if (Text.isEmpty())
        return -1;
    quint32 summe = 0;
    quint32 stelle = 1;
    for (qsizetype i = Text.size() - 1; i >= 0; --i) {
        const char16_t c = Text.at(i).unicode();
        quint32 ziffer;
        if (c >= u'0' && c <= u'9')
            ziffer = c - u'0';
        else if (c >= u'A' && c <= u'F')
            ziffer = c - u'A' + 10;
        else
            return -1;
        summe += ziffer * stelle;
        stelle *= 16u;
    }
    return qint32(summe);
}

void TeilString(QChar Trenner, QString &Text, QString &Teil)
{
    const qsizetype p = Text.indexOf(Trenner);
    if (p < 0) {
        Teil.clear();
        return;
    }
    Teil = Text.left(p);
    Text.remove(0, p + 1);
}

QString WochentagName(qint32 Tag)
{
    switch (Tag) {
    case 1: return QStringLiteral("Sonntag");
    case 2: return QStringLiteral("Montag");
    case 3: return QStringLiteral("Dienstag");
    case 4: return QStringLiteral("Mittwoch");
    case 5: return QStringLiteral("Donnerstag");
    case 6: return QStringLiteral("Freitag");
    case 0:
    case 7: return QStringLiteral("Samstag");
    default: return QString::asprintf("-%1.1d-?", Tag);
    }
}

qint32 AchsenSchritt(long double Massstab)
{
    static constexpr qint32 reihe[] = {1,    2,    5,    10,    20,    50,    100,  200,
                                       500,  1000, 2000, 5000,  10000, 20000, 50000};
    for (qint32 schritt : reihe) {
        // Rounded to the nearest whole pixel, halves to even; compared as a floating value so
        // that no scale can overflow an integer conversion (NaN never passes).
        if (std::nearbyint(static_cast<long double>(schritt) * Massstab) >= 30.0L)
            return schritt;
    }
    return 200000;
}

bool GanzzahlLesen(const QString &Text, qint32 &Wert)
{
    qsizetype i = 0;
    const qsizetype n = Text.size();
    while (i < n && Text.at(i) == QLatin1Char(' '))
        ++i;
    bool negativ = false;
    if (i < n && (Text.at(i) == QLatin1Char('+') || Text.at(i) == QLatin1Char('-'))) {
        negativ = Text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == n)
        return false;
    const qint64 grenze = negativ ? -qint64(std::numeric_limits<qint32>::min())
                                  : qint64(std::numeric_limits<qint32>::max());
    qint64 betrag = 0;
    for (; i < n; ++i) {
        const char16_t c = Text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return false;
        betrag = betrag * 10 + (c - u'0');
        if (betrag > grenze)
            return false;
    }
    Wert = qint32(negativ ? -betrag : betrag);
    return true;
}

qint32 GanzzahlOder(const QString &Text, qint32 Vorgabe)
{
    qint32 wert = Vorgabe;
    return GanzzahlLesen(Text, wert) ? wert : Vorgabe;
}
