#pragma once

// Contrast of colours as a reader sees it (relative luminance, 1:1 to 21:1), and the contrast
// of what is drawn: the strongest pixel of a picture against its most frequent colour.

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRect>

#include <cmath>

inline double Leuchtdichte(const QColor &c)
{
    auto kanal = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * kanal(c.redF()) + 0.7152 * kanal(c.greenF()) + 0.0722 * kanal(c.blueF());
}

inline double Kontrast(const QColor &a, const QColor &b)
{
    const double la = Leuchtdichte(a);
    const double lb = Leuchtdichte(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

// The most frequent colour inside Bereich of Bild: what the text is drawn on.
inline QColor Grundfarbe(const QImage &Bild, const QRect &Bereich)
{
    QHash<QRgb, int> zahl;
    const QRect r = Bereich.intersected(Bild.rect());
    QRgb beste = 0;
    int besteZahl = -1;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QRgb p = Bild.pixel(x, y);
            if (++zahl[p] > besteZahl) {
                besteZahl = zahl[p];
                beste = p;
            }
        }
    return QColor(beste);
}

// The contrast of the text drawn inside Bereich: its strongest pixel on the ground colour.
inline double GezeichneterKontrast(const QImage &Bild, const QRect &Bereich)
{
    const QColor grund = Grundfarbe(Bild, Bereich);
    double best = 1.0;
    const QRect r = Bereich.intersected(Bild.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            best = qMax(best, Kontrast(QColor(Bild.pixel(x, y)), grund));
    return best;
}
