#include "editors/uNivorellGrafik.h"

#include "support/Sammlung.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// A value that does not read as a whole number.
constexpr qint32 Unlesbar = -999;

// Nearest whole number, halves to even; kept inside a range that every coordinate fits in, so
// that huge or endless values never overflow.
int Runden(long double Wert)
{
    constexpr long double Grenze = 1 << 24;
    if (std::isnan(Wert))
        return 0;
    return int(std::nearbyint(std::clamp(Wert, -Grenze, Grenze)));
}

// Integer division rounding toward zero, then the multiple of ten below or above.
qint64 ZehnDarueber(qint64 Wert) { return (Wert / 10) * 10 + 10; }
qint64 ZehnDarunter(qint64 Wert)
{
    const qint64 z = (Wert / 10) * 10;
    return z > Wert ? z - 10 : z;
}

struct Werte
{
    qint64 T = 0, F = 0, Z = 0;
};

class Zeichner
{
public:
    Zeichner(NivorellGrafik &G, const QFont &Schrift, const QColor &Stift, const NivorellGrafikTexte &Texte)
        : g(G), fm(Schrift), stift(Stift), texte(Texte)
    {
    }

    void Linie(GrafikRolle Rolle, QList<QPoint> Punkte, const QColor &Farbe)
    {
        GrafikElement e;
        e.Rolle = Rolle;
        e.Punkte = std::move(Punkte);
        e.Farbe = Farbe;
        g.Elemente << e;
    }
    void Text(GrafikRolle Rolle, QPoint Ecke, const QString &T, const QColor &Farbe, int Pixel = 0)
    {
        GrafikElement e;
        e.Rolle = Rolle;
        e.Punkte = {Ecke};
        e.Farbe = Farbe;
        e.Text = T;
        e.Schriftpixel = Pixel;
        g.Elemente << e;
    }
    int Breite(const QString &T) const { return fm.horizontalAdvance(T); }

    void Meldung(const QFont &Schrift)
    {
        QFont gross = Schrift;
        gross.setPixelSize(MeldungSchriftpixel);
        const QFontMetrics m(gross);
        const QString z1 = QStringLiteral("Achtung Nivorell-Programm");
        const QString z2 = QStringLiteral("kann nicht interpretiert werden!");
        const int mitte = (g.PlotRechts - g.PlotLinks) / 2;
        const int y = (g.PlotUnten - g.PlotOben) / 2;
        Text(GrafikRolle::Meldung, QPoint(mitte - m.horizontalAdvance(z1) / 2, y), z1, stift, MeldungSchriftpixel);
        Text(GrafikRolle::Meldung, QPoint(mitte - m.horizontalAdvance(z2) / 2, y + 2 * m.height()), z2, stift,
             MeldungSchriftpixel);
    }

    // Ticks on one value axis from Min upwards while they stay inside the plot; an axis of
    // length 0 gets its first tick only, a negative one none.
    template <typename Zeichne>
    void Striche(qint64 Min, long double Massstab, Zeichne zeichne)
    {
        const qint64 s = AchsenSchritt(Massstab);
        int vorher = INT_MAX;
        for (qint64 k = 0;; ++k) {
            const qint64 wert = Min + k * s;
            const int y = g.PlotUnten - Runden((wert - Min) * Massstab);
            if (y < g.PlotOben)
                break;
            if (y != vorher)
                zeichne(wert, y);
            vorher = y;
            if (!(Massstab > 0))
                break;
        }
    }

    void Achsen(bool MitZeit)
    {
        const int L = g.PlotLinks, U = g.PlotUnten, R = g.PlotRechts, O = g.PlotOben;
        Linie(GrafikRolle::Achse, {QPoint(L, O - 20), QPoint(L, U), QPoint(R + 20, U)}, stift);
        Text(GrafikRolle::Einheit, QPoint(R + 25, U + 7), texte.Std, stift);

        if (MitZeit) {
            const long double proStunde = g.PxProMinute * 60;
            const qint64 h = AchsenSchritt(proStunde);
            int vorher = INT_MIN;
            for (qint64 k = 0;; ++k) {
                const qint64 m = k * 60 * h;
                const int x = L + Runden(m * g.PxProMinute);
                if (x > R)
                    break;
                if (x != vorher) {
                    Linie(GrafikRolle::ZeitStrich, {QPoint(x, U), QPoint(x, U + 5)}, stift);
                    if (m % 120 == 0)
                        Text(GrafikRolle::ZeitZahl, QPoint(x, U + 7), QString::number(m / 60), stift);
                }
                vorher = x;
                if (!(g.PxProMinute > 0))
                    break;
            }
        }

        Text(GrafikRolle::TempTitel, QPoint(L - 30 - Breite(texte.Temperatur) / 2, O - 35), texte.Temperatur,
             GrafikRot);
        Striche(g.Achsen.TMin, g.PxProGrad, [&](qint64 t, int y) {
            Linie(GrafikRolle::TempStrich, {QPoint(L, y), QPoint(L - 10, y)}, stift);
            const QString zahl = QString::number(t);
            Text(GrafikRolle::TempZahl, QPoint(L - Breite(zahl) - 15, y - 10), zahl, stift);
        });

        Text(GrafikRolle::FeuchteTitel, QPoint(R + 30 - Breite(texte.Feuchte) / 2, O - 35), texte.Feuchte,
             GrafikBlau);
        Striche(g.Achsen.FMin, g.PxProProzent, [&](qint64 f, int y) {
            Linie(GrafikRolle::FeuchteStrich, {QPoint(R, y), QPoint(R + 10, y)}, stift);
            if (y != U) {
                const QString zahl = QString::number(f);
                Text(GrafikRolle::FeuchteZahl, QPoint(R + Breite(zahl) + 15, y - 10), zahl, stift);
            }
        });

        Linie(GrafikRolle::ObereKante, {QPoint(L, O), QPoint(R, O)}, stift);
    }

    void Kurven(const std::array<Werte, 8> &W)
    {
        NivorellAchsen &a = g.Achsen;
        for (int i = 0; i < g.LetzteStufe; ++i) {
            const Werte &w = W[size_t(i)];
            if (w.T > a.TMax)
                a.TMax = ZehnDarueber(w.T);
            if (w.T < a.TMin)
                a.TMin = ZehnDarunter(w.T);
            if (w.F > a.FMax)
                a.FMax = ZehnDarueber(w.F);
            if (w.F < a.FMin)
                a.FMin = ZehnDarunter(w.F);
        }
        const long double hoehe = g.PlotUnten - g.PlotOben;
        g.PxProGrad = hoehe / (long double)(a.TMax - a.TMin);
        g.PxProProzent = hoehe / (long double)(a.FMax - a.FMin);
        // Without a positive time span there is no time scale: axes and value scales only.
        const bool mitZeit = g.GesamtMinuten > 0;
        g.PxProMinute = mitZeit ? (long double)(g.PlotRechts - g.PlotLinks) / (long double)g.GesamtMinuten : 0;

        Achsen(mitZeit);
        if (!mitZeit)
            return;

        g.PhasenX[0] = g.PlotLinks;
        qint64 summe = 0;
        for (int i = 1; i <= g.LetzteStufe; ++i) {
            const qint64 z = W[size_t(i - 1)].Z;
            summe += z;
            const int x = g.PlotLinks + Runden(summe * g.PxProMinute);
            const int w = Runden(z * g.PxProMinute);
            if (i == g.LetzteStufe)
                Linie(GrafikRolle::Trenner, {QPoint(x, g.PlotOben - 20), QPoint(x, g.PlotUnten - 2)}, stift);
            else
                Linie(GrafikRolle::Trenner, {QPoint(x, g.PlotOben), QPoint(x, g.PlotUnten - 2)}, GrafikGrau);
            Text(GrafikRolle::PhasenText, QPoint(x - w + 2, g.PlotOben - 15),
                 texte.Phase + QLatin1Char(' ') + QString::number(i), stift);
            g.PhasenX[size_t(i)] = x;
        }

        for (int i = 1; i <= g.LetzteStufe; ++i) {
            const Werte &w = W[size_t(i - 1)];
            g.TempY[size_t(i)] = g.PlotUnten - Runden((w.T - a.TMin) * g.PxProGrad);
            g.FeuchteY[size_t(i)] = g.PlotUnten - Runden((w.F - a.FMin) * g.PxProProzent);
            if (i == 1) {
                g.TempY[0] = g.TempY[1];
                g.FeuchteY[0] = g.FeuchteY[1];
            }
            const size_t j = size_t(i);
            Linie(GrafikRolle::TempKurve, {QPoint(g.PhasenX[j - 1], g.TempY[j - 1]), QPoint(g.PhasenX[j], g.TempY[j])},
                  GrafikRot);
            Linie(GrafikRolle::FeuchteKurve,
                  {QPoint(g.PhasenX[j - 1], g.FeuchteY[j - 1]), QPoint(g.PhasenX[j], g.FeuchteY[j])}, GrafikBlau);
        }
    }

private:
    NivorellGrafik &g;
    QFontMetrics fm;
    QColor stift;
    const NivorellGrafikTexte &texte;
};

} // namespace

QList<GrafikElement> NivorellGrafik::mit(GrafikRolle Rolle) const
{
    QList<GrafikElement> l;
    for (const GrafikElement &e : Elemente)
        if (e.Rolle == Rolle)
            l << e;
    return l;
}

NivorellGrafik GrafikBerechnen(const TQorNivorell &Prog, QSize Flaeche, NivorellAchsen &Achsen,
                               const QFont &Schrift, const QColor &Stift, const NivorellGrafikTexte &Texte)
{
    NivorellGrafik g;
    g.Groesse = Flaeche;

    std::array<Werte, 8> w;
    for (int k = 0; k < 8; ++k) {
        const TQorProgElement &s = Prog.Schritte[size_t(k)];
        const qint32 t = GanzzahlOder(s.Temp, Unlesbar);
        const qint32 f = GanzzahlOder(s.Feu, Unlesbar);
        const qint32 z = s.Zeit.isEmpty() ? 0 : GanzzahlOder(s.Zeit, Unlesbar);
        if (t == Unlesbar || f == Unlesbar || z == Unlesbar)
            g.Interpretierbar = false;
        w[size_t(k)] = {t, f, z};
        if (z != 0)
            g.LetzteStufe = k + 1;
        g.GesamtMinuten += z;
    }

    g.PlotLinks = 80;
    g.PlotRechts = Flaeche.width() - 80;
    g.PlotUnten = Flaeche.height() - 42;
    g.PlotOben = 40;

    Zeichner z(g, Schrift, Stift, Texte);
    if (!g.Interpretierbar) {
        g.Achsen = Achsen;
        z.Meldung(Schrift);
        return g;
    }
    g.Achsen = Achsen;
    z.Kurven(w);
    Achsen = g.Achsen;
    return g;
}

void GrafikMalen(QPainter &Maler, const NivorellGrafik &Grafik, const QFont &Schrift)
{
    Maler.save();
    Maler.setRenderHint(QPainter::Antialiasing, false);
    Maler.setRenderHint(QPainter::TextAntialiasing, true);
    Maler.fillRect(QRect(QPoint(0, 0), Grafik.Groesse), Qt::white);
    Maler.setBrush(Qt::NoBrush);
    Maler.setFont(Schrift);
    QFont gross = Schrift;
    gross.setPixelSize(MeldungSchriftpixel);

    for (const GrafikElement &e : Grafik.Elemente) {
        if (e.istText()) {
            Maler.setFont(e.Schriftpixel > 0 ? gross : Schrift);
            Maler.setPen(e.Farbe);
            const QFontMetrics fm = Maler.fontMetrics();
            const QRect r(e.Punkte.first(), QSize(fm.horizontalAdvance(e.Text), fm.height()));
            Maler.fillRect(r, Qt::white);
            Maler.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine, e.Text);
        } else {
            QPen stift(e.Farbe);
            stift.setWidth(e.Breite);
            stift.setCapStyle(Qt::SquareCap);
            stift.setJoinStyle(Qt::MiterJoin);
            Maler.setPen(stift);
            if (e.Punkte.size() == 2)
                Maler.drawLine(e.Punkte[0], e.Punkte[1]);
            else
                Maler.drawPolyline(e.Punkte.constData(), int(e.Punkte.size()));
        }
    }
    Maler.restore();
}

QFont GrafikSchrift()
{
    QFont f = QApplication::font();
    f.setPixelSize(11);
    return f;
}
