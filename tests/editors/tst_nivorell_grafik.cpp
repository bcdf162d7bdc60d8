// The Nivorell graph: its geometry without widgets, and the painted picture of the default
// program at the design size of the paint box.

#include "editors/uNivorellGrafik.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QtTest>

namespace {

// The default program of a new list: 8/80/30, 20/80/30, 20/80/180, 4/80/360, then 4/80/empty.
TQorNivorell Vorgabe()
{
    TQorNivorell p;
    p.Nr = QStringLiteral("1");
    const int werte[8][3] = {{8, 80, 30}, {20, 80, 30}, {20, 80, 180}, {4, 80, 360},
                             {4, 80, -1}, {4, 80, -1}, {4, 80, -1}, {4, 80, -1}};
    for (int k = 0; k < 8; ++k) {
        TQorProgElement &s = p.Schritte[size_t(k)];
        s.Temp = QString::number(werte[k][0]);
        s.Feu = QString::number(werte[k][1]);
        s.Zeit = werte[k][2] < 0 ? QString() : QString::number(werte[k][2]);
    }
    return p;
}

// Default program with one step changed; a null text leaves that field alone.
TQorNivorell Mit(int Schritt, const QString &Temp, const QString &Feu = {}, const QString &Zeit = {})
{
    TQorNivorell p = Vorgabe();
    TQorProgElement &s = p.Schritte[size_t(Schritt - 1)];
    if (!Temp.isNull())
        s.Temp = Temp;
    if (!Feu.isNull())
        s.Feu = Feu;
    if (!Zeit.isNull())
        s.Zeit = Zeit;
    return p;
}

QList<int> Xe(const QList<GrafikElement> &l)
{
    QList<int> x;
    for (const GrafikElement &e : l)
        x << e.Punkte.first().x();
    return x;
}
QList<int> Ye(const QList<GrafikElement> &l)
{
    QList<int> y;
    for (const GrafikElement &e : l)
        y << e.Punkte.first().y();
    return y;
}
QStringList Texte(const QList<GrafikElement> &l)
{
    QStringList t;
    for (const GrafikElement &e : l)
        t << e.Text;
    return t;
}

int Abstand(const QColor &a, const QColor &b)
{
    return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
}

NivorellGrafik Berechnen(const TQorNivorell &p, QSize s = QSize(531, 280))
{
    NivorellAchsen a;
    return GrafikBerechnen(p, s, a, GrafikSchrift());
}

QImage Malen(const NivorellGrafik &g)
{
    QImage bild(g.Groesse, QImage::Format_RGB32);
    bild.fill(Qt::green);
    QPainter m(&bild);
    GrafikMalen(m, g, GrafikSchrift());
    m.end();
    return bild;
}

} // namespace

Q_DECLARE_METATYPE(TQorNivorell)

class TestNivorellGrafik : public QObject
{
    Q_OBJECT

private slots:
    // Every coordinate of the default program in the design-size paint box.
    void beispiel()
    {
        const NivorellGrafik g = Berechnen(Vorgabe());
        QVERIFY(g.Interpretierbar);
        QCOMPARE(g.GesamtMinuten, qint64(600));
        QCOMPARE(g.LetzteStufe, 4);
        QCOMPARE(g.Achsen.TMin, qint64(-30));
        QCOMPARE(g.Achsen.TMax, qint64(50));
        QCOMPARE(g.Achsen.FMin, qint64(0));
        QCOMPARE(g.Achsen.FMax, qint64(80));
        QCOMPARE(double(g.PxProMinute), 371.0 / 600.0);
        QCOMPARE(g.PlotLinks, 80);
        QCOMPARE(g.PlotRechts, 451);
        QCOMPARE(g.PlotOben, 40);
        QCOMPARE(g.PlotUnten, 238);

        // Time ticks every hour, labels at even hours.
        QCOMPARE(Xe(g.mit(GrafikRolle::ZeitStrich)), (QList<int>{80, 117, 154, 191, 228, 266, 303, 340, 377, 414, 451}));
        QCOMPARE(Texte(g.mit(GrafikRolle::ZeitZahl)), (QStringList{"0", "2", "4", "6", "8", "10"}));
        QCOMPARE(Xe(g.mit(GrafikRolle::ZeitZahl)), (QList<int>{80, 154, 228, 303, 377, 451}));
        QCOMPARE(Ye(g.mit(GrafikRolle::ZeitZahl)), QList<int>(6, 245));

        // Temperature every 20 °C, labels ending 15 pixels left of the axis.
        QCOMPARE(Ye(g.mit(GrafikRolle::TempStrich)), (QList<int>{238, 188, 139, 90, 40}));
        QCOMPARE(Texte(g.mit(GrafikRolle::TempZahl)), (QStringList{"-30", "-10", "10", "30", "50"}));
        for (const GrafikElement &e : g.mit(GrafikRolle::TempZahl))
            QCOMPARE(e.Punkte.first().x() + QFontMetrics(GrafikSchrift()).horizontalAdvance(e.Text), 65);
        QCOMPARE(Ye(g.mit(GrafikRolle::TempZahl)), (QList<int>{228, 178, 129, 80, 30}));

        // Humidity every 20 %, no label at 0.
        QCOMPARE(Ye(g.mit(GrafikRolle::FeuchteStrich)), (QList<int>{238, 188, 139, 90, 40}));
        QCOMPARE(Texte(g.mit(GrafikRolle::FeuchteZahl)), (QStringList{"20", "40", "60", "80"}));

        // Separators: grey ones, then the last one in the normal pen from 20 above the plot.
        const QList<GrafikElement> t = g.mit(GrafikRolle::Trenner);
        QCOMPARE(t.size(), 4);
        const int xs[] = {99, 117, 228, 451};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(t[i].Punkte, (QList<QPoint>{QPoint(xs[i], i == 3 ? 20 : 40), QPoint(xs[i], 236)}));
            QCOMPARE(t[i].Farbe, i == 3 ? QColor(Qt::black) : GrafikGrau);
            QCOMPARE(g.PhasenX[size_t(i + 1)], xs[i]);
        }
        QCOMPARE(Texte(g.mit(GrafikRolle::PhasenText)), (QStringList{"Phase 1", "Phase 2", "Phase 3", "Phase 4"}));
        QCOMPARE(Xe(g.mit(GrafikRolle::PhasenText)), (QList<int>{82, 100, 119, 230}));

        // Curves: temperature 8, 20, 20, 4 °C; humidity along the top edge.
        QCOMPARE(g.PhasenX[0], 80);
        QCOMPARE((std::vector<int>(g.TempY.begin(), g.TempY.begin() + 5)), (std::vector<int>{144, 144, 114, 114, 154}));
        QCOMPARE((std::vector<int>(g.FeuchteY.begin(), g.FeuchteY.begin() + 5)), (std::vector<int>(5, 40)));
        const QList<GrafikElement> rot = g.mit(GrafikRolle::TempKurve);
        QCOMPARE(rot.size(), 4);
        QCOMPARE(rot[1].Punkte, (QList<QPoint>{QPoint(99, 144), QPoint(117, 114)}));
        QCOMPARE(rot[3].Farbe, GrafikRot);

        // Axes and captions.
        QCOMPARE(g.mit(GrafikRolle::Achse).first().Punkte, (QList<QPoint>{QPoint(80, 20), QPoint(80, 238), QPoint(471, 238)}));
        QCOMPARE(g.mit(GrafikRolle::ObereKante).first().Punkte, (QList<QPoint>{QPoint(80, 40), QPoint(451, 40)}));
        QCOMPARE(g.mit(GrafikRolle::Einheit).first().Punkte.first(), QPoint(476, 245));
        const GrafikElement tt = g.mit(GrafikRolle::TempTitel).first();
        QCOMPARE(tt.Text, QStringLiteral("Temperatur in °C"));
        QCOMPARE(tt.Farbe, GrafikRot);
        QCOMPARE(tt.Punkte.first().y(), 5);
        QCOMPARE(g.mit(GrafikRolle::FeuchteTitel).first().Farbe, GrafikBlau);
    }

    // The painted picture at the example's points.
    void bildpunkte_data()
    {
        QTest::addColumn<QPoint>("punkt");
        QTest::addColumn<QColor>("farbe");
        const QColor schwarz(Qt::black), weiss(Qt::white);
        QTest::newRow("temperature level at 8 °C") << QPoint(90, 144) << GrafikRot;
        QTest::newRow("temperature level at 20 °C") << QPoint(170, 114) << GrafikRot;
        QTest::newRow("temperature end at 4 °C") << QPoint(450, 154) << GrafikRot;
        QTest::newRow("humidity on the top edge") << QPoint(300, 40) << GrafikBlau;
        QTest::newRow("grey separator 1") << QPoint(99, 200) << GrafikGrau;
        QTest::newRow("grey separator 2") << QPoint(117, 200) << GrafikGrau;
        QTest::newRow("grey separator 3") << QPoint(228, 60) << GrafikGrau;
        QTest::newRow("last separator above the plot") << QPoint(451, 25) << schwarz;
        QTest::newRow("last separator inside") << QPoint(451, 200) << schwarz;
        QTest::newRow("left axis") << QPoint(80, 100) << schwarz;
        QTest::newRow("left axis above the plot") << QPoint(80, 22) << schwarz;
        QTest::newRow("time axis past the plot") << QPoint(468, 238) << schwarz;
        QTest::newRow("time tick at 4 h") << QPoint(228, 242) << schwarz;
        QTest::newRow("temperature tick at 10 °C") << QPoint(72, 139) << schwarz;
        QTest::newRow("humidity tick at 60 %") << QPoint(459, 90) << schwarz;
        QTest::newRow("inside the plot") << QPoint(300, 180) << weiss;
        QTest::newRow("below the labels") << QPoint(300, 275) << weiss;
        QTest::newRow("right of the humidity ticks") << QPoint(465, 150) << weiss;
    }
    void bildpunkte()
    {
        QFETCH(QPoint, punkt);
        QFETCH(QColor, farbe);
        const QImage bild = Malen(Berechnen(Vorgabe()));
        QCOMPARE(bild.pixelColor(punkt), farbe);
    }

    // Every text is painted in its colour at its place, inside the paint box, on white.
    void bildTexte()
    {
        const NivorellGrafik g = Berechnen(Vorgabe());
        const QImage bild = Malen(g);
        const QFontMetrics fm(GrafikSchrift());
        for (const GrafikElement &e : g.Elemente) {
            if (!e.istText())
                continue;
            const QRect r(e.Punkte.first(), QSize(fm.horizontalAdvance(e.Text), fm.height()));
            QVERIFY2(QRect(QPoint(0, 0), g.Groesse).contains(r), qPrintable(e.Text));
            int farbig = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const QColor c = bild.pixelColor(x, y);
                    QVERIFY2(c != QColor(Qt::green), qPrintable(e.Text));
                    // Smoothed glyph edges: nearer to the text's colour than to white.
                    if (Abstand(c, e.Farbe) < Abstand(c, Qt::white))
                        ++farbig;
                }
            QVERIFY2(farbig > 0, qPrintable(e.Text));
        }
    }

    // Widening to the next multiple of ten beyond a value; only steps up to the last one with
    // a duration count.
    void verbreitern_data()
    {
        QTest::addColumn<TQorNivorell>("prog");
        QTest::addColumn<QList<qint64>>("achsen"); // TMin, TMax, FMin, FMax
        QTest::newRow("default") << Vorgabe() << QList<qint64>{-30, 50, 0, 80};
        QTest::newRow("95 °C") << Mit(2, "95") << QList<qint64>{-30, 100, 0, 80};
        QTest::newRow("60 °C") << Mit(2, "60") << QList<qint64>{-30, 70, 0, 80};
        QTest::newRow("50 °C stays") << Mit(2, "50") << QList<qint64>{-30, 50, 0, 80};
        QTest::newRow("-35 °C") << Mit(1, "-35") << QList<qint64>{-40, 50, 0, 80};
        QTest::newRow("-40 °C") << Mit(1, "-40") << QList<qint64>{-40, 50, 0, 80};
        QTest::newRow("-41 °C") << Mit(4, "-41") << QList<qint64>{-50, 50, 0, 80};
        QTest::newRow("humidity 95 and -5") << Mit(1, {}, "95") << QList<qint64>{-30, 50, 0, 100};
        QTest::newRow("humidity -5") << Mit(3, {}, "-5") << QList<qint64>{-30, 50, -10, 80};
        QTest::newRow("after the last duration") << Mit(5, "500", "-500") << QList<qint64>{-30, 50, 0, 80};
        QTest::newRow("zero duration before the last") << Mit(2, "95", {}, "0") << QList<qint64>{-30, 100, 0, 80};
        QTest::newRow("step 8 with a duration") << Mit(8, "-35", "200", "10") << QList<qint64>{-40, 50, 0, 210};
    }
    void verbreitern()
    {
        QFETCH(TQorNivorell, prog);
        QFETCH(QList<qint64>, achsen);
        NivorellAchsen a;
        const NivorellGrafik g = GrafikBerechnen(prog, QSize(531, 280), a, GrafikSchrift());
        QCOMPARE((QList<qint64>{a.TMin, a.TMax, a.FMin, a.FMax}), achsen);
        QCOMPARE((QList<qint64>{g.Achsen.TMin, g.Achsen.TMax, g.Achsen.FMin, g.Achsen.FMax}), achsen);
        // Every curve point lies inside the plot.
        for (int i = 0; i <= g.LetzteStufe; ++i) {
            QVERIFY(g.TempY[size_t(i)] >= g.PlotOben && g.TempY[size_t(i)] <= g.PlotUnten);
            QVERIFY(g.FeuchteY[size_t(i)] >= g.PlotOben && g.FeuchteY[size_t(i)] <= g.PlotUnten);
        }
    }

    // A widened axis stays wide for the programs drawn later.
    void verbreitertBleibt()
    {
        NivorellAchsen a;
        GrafikBerechnen(Mit(2, "95"), QSize(531, 280), a, GrafikSchrift());
        const NivorellGrafik g = GrafikBerechnen(Vorgabe(), QSize(531, 280), a, GrafikSchrift());
        QCOMPARE(g.Achsen.TMax, qint64(100));
        QCOMPARE(g.Achsen.TMin, qint64(-30));
        QCOMPARE(Texte(g.mit(GrafikRolle::TempZahl)).last(), QStringLiteral("90"));
        // The not-interpretable message neither widens nor resets.
        GrafikBerechnen(Mit(3, "FFFF", {}, "1"), QSize(531, 280), a, GrafikSchrift());
        QCOMPARE(a.TMax, qint64(100));
    }

    // Steps 5 to 8 without duration are not drawn, whatever they hold.
    void nachLetzterStufe()
    {
        const NivorellGrafik g = Berechnen(Mit(6, "500", "500", "0"));
        QCOMPARE(g.LetzteStufe, 4);
        QCOMPARE(g.mit(GrafikRolle::Trenner).size(), 4);
        QCOMPARE(g.mit(GrafikRolle::TempKurve).size(), 4);
        QCOMPARE(g.mit(GrafikRolle::PhasenText).size(), 4);
        // A zero step before the last: a vertical jump at the separator before it.
        const NivorellGrafik h = Berechnen(Mit(2, "40", {}, "0"));
        QCOMPARE(h.PhasenX[2], h.PhasenX[1]);
        QCOMPARE(h.mit(GrafikRolle::TempKurve)[1].Punkte.first().x(), h.mit(GrafikRolle::TempKurve)[1].Punkte.last().x());
    }

    // Programs that cannot be drawn show the two-line message and nothing else.
    void nichtInterpretierbar_data()
    {
        QTest::addColumn<TQorNivorell>("prog");
        QTest::newRow("FFFF temperature after the last duration") << Mit(7, "FFFF");
        QTest::newRow("FFFF humidity") << Mit(2, {}, "FFFF");
        QTest::newRow("empty temperature") << Mit(1, "");
        QTest::newRow("empty humidity") << Mit(8, {}, "");
        QTest::newRow("fraction") << Mit(3, "20.5");
        QTest::newRow("text duration") << Mit(4, {}, {}, "6h");
        QTest::newRow("-999") << Mit(2, "-999");
        QTest::newRow("all empty") << TQorNivorell{};
    }
    void nichtInterpretierbar()
    {
        QFETCH(TQorNivorell, prog);
        NivorellAchsen a;
        a.TMax = 70;
        const NivorellGrafik g = GrafikBerechnen(prog, QSize(531, 280), a, GrafikSchrift());
        QVERIFY(!g.Interpretierbar);
        QCOMPARE(a.TMax, qint64(70));
        QCOMPARE(g.Elemente.size(), 2);
        QCOMPARE(Texte(g.Elemente), (QStringList{"Achtung Nivorell-Programm", "kann nicht interpretiert werden!"}));
        // Centred on 185 (measured from the paint box, not the plot), at y 99 and two lines below.
        QFont gross = GrafikSchrift();
        gross.setPixelSize(MeldungSchriftpixel);
        const QFontMetrics fm(gross);
        for (const GrafikElement &e : g.Elemente)
            QCOMPARE(e.Punkte.first().x(), 185 - fm.horizontalAdvance(e.Text) / 2);
        QCOMPARE(Ye(g.Elemente), (QList<int>{99, 99 + 2 * fm.height()}));
        const QImage bild = Malen(g);
        QCOMPARE(bild.pixelColor(80, 100), QColor(Qt::white)); // no axis
        bool schwarz = false;
        for (int x = 0; x < 531 && !schwarz; ++x)
            schwarz = bild.pixelColor(x, 99 + fm.ascent() / 2) != QColor(Qt::white);
        QVERIFY(schwarz);
    }

    // An empty duration counts as 0 and leaves the program drawable.
    void leereDauer()
    {
        TQorNivorell p = Vorgabe();
        p.Schritte[1].Zeit.clear();
        const NivorellGrafik g = Berechnen(p);
        QVERIFY(g.Interpretierbar);
        QCOMPARE(g.GesamtMinuten, qint64(570));
        QCOMPARE(g.LetzteStufe, 4);
    }

    // Sizes, time spans and values that leave no room or no scale end, and paint, quickly.
    void grenzfaelle_data()
    {
        QTest::addColumn<TQorNivorell>("prog");
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<int>("zeitStriche"); // -1: not checked
        QTest::addColumn<int>("tempStriche");
        TQorNivorell null = Vorgabe();
        for (TQorProgElement &s : null.Schritte)
            s.Zeit = QStringLiteral("0");
        TQorNivorell negativ = Vorgabe();
        negativ.Schritte[0].Zeit = QStringLiteral("-700");
        TQorNivorell riesig = Vorgabe();
        for (TQorProgElement &s : riesig.Schritte)
            s = {QStringLiteral("2147483647"), QStringLiteral("-2147483648"), QStringLiteral("2147483647")};
        TQorNivorell hinUndHer = Vorgabe();
        hinUndHer.Schritte[0].Zeit = QStringLiteral("2147483647");
        hinUndHer.Schritte[1].Zeit = QStringLiteral("-2147483646");
        QTest::newRow("all durations 0") << null << QSize(531, 280) << 0 << 5;
        QTest::newRow("negative total") << negativ << QSize(531, 280) << 0 << 5;
        QTest::newRow("width 160: time axis of length 0") << Vorgabe() << QSize(160, 280) << 1 << 5;
        QTest::newRow("height 82: value axes of length 0") << Vorgabe() << QSize(531, 82) << 11 << 1;
        QTest::newRow("159 x 81: negative axes") << Vorgabe() << QSize(159, 81) << 0 << 0;
        QTest::newRow("empty box") << Vorgabe() << QSize(0, 0) << 0 << 0;
        QTest::newRow("huge values") << riesig << QSize(531, 280) << -1 << -1;
        QTest::newRow("back and forth to one minute") << hinUndHer << QSize(531, 280) << -1 << -1;
        QTest::newRow("full screen") << Vorgabe() << QSize(1920, 1080) << 11 << -1;
    }
    void grenzfaelle()
    {
        QFETCH(TQorNivorell, prog);
        QFETCH(QSize, groesse);
        QFETCH(int, zeitStriche);
        QFETCH(int, tempStriche);
        QElapsedTimer uhr;
        uhr.start();
        const NivorellGrafik g = Berechnen(prog, groesse);
        if (zeitStriche >= 0)
            QCOMPARE(g.mit(GrafikRolle::ZeitStrich).size(), zeitStriche);
        if (tempStriche >= 0) {
            QCOMPARE(g.mit(GrafikRolle::TempStrich).size(), tempStriche);
            QCOMPARE(g.mit(GrafikRolle::FeuchteStrich).size(), tempStriche);
        }
        QVERIFY(g.Elemente.size() < 2000);
        if (!groesse.isEmpty())
            Malen(g);
        QVERIFY(uhr.elapsed() < 10000);
        // The plot rectangle always follows the box.
        QCOMPARE(g.PlotRechts, groesse.width() - 80);
        QCOMPARE(g.PlotUnten, groesse.height() - 42);
    }

    // A bigger box: the last separator and the curve end follow the right edge.
    void groesse()
    {
        const NivorellGrafik g = Berechnen(Vorgabe(), QSize(1062, 560));
        QCOMPARE(g.PhasenX[4], 982);
        QCOMPARE(g.mit(GrafikRolle::Trenner).last().Punkte.first(), QPoint(982, 20));
        QCOMPARE(g.PlotUnten, 518);
        QCOMPARE(g.TempY[4], 518 - qRound(34 * 478.0 / 80));
    }
};

QTEST_MAIN(TestNivorellGrafik)
#include "tst_nivorell_grafik.moc"
