// Seeded random input of every length and content through all decoders, encoders and text
// helpers. Each result is checked against a rule computed independently of the code under test.

#include "controller/uQuorvelKonstanten.h"
#include "support/Sammlung.h"
#include "support/uProgramm.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace {
constexpr quint32 Saat = 0x51A7C0DEu;
constexpr int Runden = 1500;

const QString HexZiffern = QStringLiteral("0123456789ABCDEF");

bool nurHex(const QString &t)
{
    for (QChar c : t)
        if (!HexZiffern.contains(c))
            return false;
    return true;
}

// Reference reading of a whole decimal number (blanks in front, one sign, digits, 32 bits).
bool ganzzahl(const QString &t, qint64 &wert)
{
    static const QRegularExpression muster(QStringLiteral("^ *[+-]?[0-9]+$"));
    if (!muster.match(t).hasMatch())
        return false;
    QString s = t.trimmed();
    const bool negativ = s.startsWith(QLatin1Char('-'));
    if (s.startsWith(QLatin1Char('+')) || negativ)
        s.remove(0, 1);
    while (s.size() > 1 && s.startsWith(QLatin1Char('0')))
        s.remove(0, 1);
    if (s.size() > 11)
        return false;
    wert = s.toLongLong() * (negativ ? -1 : 1);
    return wert >= std::numeric_limits<qint32>::min() && wert <= std::numeric_limits<qint32>::max();
}

qint32 hexReferenz(const QString &t)
{
    if (t.isEmpty() || !nurHex(t))
        return -1;
    return qint32(t.right(8).toUInt(nullptr, 16));
}

// Nearest whole number to raw * 0.2 - 80 in integer arithmetic.
qint64 skaliertReferenz(qint64 roh)
{
    const qint64 d = roh - 400;
    qint64 q = d / 5;
    qint64 r = d % 5;
    if (r < 0) {
        r += 5;
        --q;
    }
    return r >= 3 ? q + 1 : q;
}

bool istZahltext(const QString &t)
{
    qint64 w;
    return ganzzahl(t, w) && !t.startsWith(QLatin1Char(' ')) && !t.startsWith(QLatin1Char('+'));
}

class Zufall
{
public:
    explicit Zufall(quint32 saat) : z(saat) {}

    int bis(int n) { return int(z.bounded(n)); }

    QChar zeichen(int art)
    {
        static const QString zeitZeichen = QStringLiteral("0123456789:: -+");
        static const QString fremd = QString::fromUtf8("äöüÄÖÜß€°µ\u00A0\u2007\uFF10\u0661");
        switch (art) {
        case 0: return HexZiffern.at(bis(16));
        case 1: return zeitZeichen.at(bis(zeitZeichen.size()));
        case 2: return QChar(char16_t(bis(128)));           // ASCII, NUL and controls included
        case 3: return fremd.at(bis(fremd.size()));
        case 4: return QChar(char16_t(bis(0x10000)));       // any UTF-16 unit, lone surrogates too
        default: return bis(4) ? HexZiffern.at(bis(16)) : QChar(0);
        }
    }

    int laenge()
    {
        static const int typisch[] = {0, 1, 2, 3, 4, 5, 8, 51, 52, 53, 55, 56, 57, 99, 100, 101, 111, 112, 113};
        switch (bis(10)) {
        case 0: return 10000;
        case 1:
        case 2: return bis(300);
        default: return typisch[bis(int(std::size(typisch)))];
        }
    }

    QString text()
    {
        const int n = laenge();
        const int art = bis(6);
        QString t;
        t.reserve(n);
        for (int i = 0; i < n; ++i)
            t += zeichen(bis(8) ? art : bis(6));
        return t;
    }

    QString zahlText()
    {
        switch (bis(6)) {
        case 0: return text();
        case 1: return QStringLiteral("FFFF");
        case 2: return QString::number(qint64(z.generate64()));
        default: return QString::number(bis(20000) - 200);
        }
    }

    qint32 ganz() { return qint32(z.generate()); }

    double massstab()
    {
        static const double sonder[] = {0.0, -0.0, -1.0, 1e-300, 1e300, std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::denorm_min(), 29.5, 14.75};
        if (bis(5) == 0)
            return sonder[bis(int(std::size(sonder)))];
        return std::ldexp(z.generateDouble(), bis(40) - 30);
    }

private:
    QRandomGenerator z;
};

// Fixed inputs that every decoder must take.
QStringList feste()
{
    return {QString(),
            QStringLiteral("F"),
            QString(QChar(0)),
            QString(4, QChar(0)),
            QString(10000, QLatin1Char('F')),
            QString(10000, QChar(0)),
            QString(10000, QChar(0x00E4)),
            QString(56, QChar(0xD800)),
            QString::fromUtf8("Gärverzögern"),
            QStringLiteral("0001") + QChar(0) + QStringLiteral("03C"),
            QString(112, QLatin1Char('0')),
            QString(100, QLatin1Char('9'))};
}
} // namespace

class TestCodecsRobust : public QObject
{
    Q_OBJECT
    std::unique_ptr<Programm> programm;

    void feldDecoder(const QString &t);
    void recordDecoder(const QString &t);
    void textHelfer(const QString &t);

private slots:
    void init() { programm = std::make_unique<Programm>(); }
    void cleanup() { programm.reset(); }

    void festeEingaben();
    void zufallsTexte();
    void zufallsRecords();
    void zufallsZahlen();
};

void TestCodecsRobust::feldDecoder(const QString &t)
{
    const qint32 h = HexZuInt(t);
    QCOMPARE(h, hexReferenz(t));
    QCOMPARE(HexZuZahl(t), QString::number(h));
    const QString temp = HexZuTemp(t);
    QCOMPARE(HexZuFeuchte(t), temp);
    if (t == QLatin1String("FFFF"))
        QCOMPARE(temp, t);
    else
        QCOMPARE(temp, QString::number(skaliertReferenz(h)));

    qint64 wert = 65535;
    const bool zahl = ganzzahl(t, wert);
    qint32 gelesen = 0;
    QCOMPARE(GanzzahlLesen(t, gelesen), zahl);
    if (zahl)
        QCOMPARE(qint64(gelesen), wert);
    else
        wert = 65535;

    const QString plain = ZahlZuHex(t);
    QVERIFY(plain.size() >= 4 && nurHex(plain));
    QCOMPARE(plain.toUInt(nullptr, 16), quint32(qint32(wert)));

    const QString skaliert = TempZuHex(t);
    QCOMPARE(FeuchteZuHex(t), skaliert);
    QVERIFY(skaliert.size() >= 4 && nurHex(skaliert));
    if (wert == 65535) {
        QCOMPARE(skaliert, QStringLiteral("FFFF"));
    } else {
        const qint64 roh = 5 * (wert + 80);
        // A four-digit field always decodes back to the value it was made from.
        QCOMPARE(skaliert.size() == 4, roh >= 0 && roh <= 0xFFFF);
        if (skaliert.size() == 4 && roh != 0xFFFF)
            QCOMPARE(HexZuTemp(skaliert), QString::number(wert));
    }
}

void TestCodecsRobust::recordDecoder(const QString &t)
{
    const TQorNivorell n = HexZuNivorell(t);
    if (t.size() < 100) {
        QVERIFY(n == TQorNivorell());
    } else {
        QVERIFY(n == HexZuNivorell(t.left(100)));
        QCOMPARE(n.Nr, HexZuZahl(t.left(4)));
        QCOMPARE(n.Schritte[7].Feu, HexZuFeuchte(t.mid(96, 4)));
        QVERIFY(istZahltext(n.Nr));
        for (const auto &s : n.Schritte) {
            QVERIFY(istZahltext(s.Zeit));
            QVERIFY(s.Temp == QLatin1String("FFFF") || istZahltext(s.Temp));
            QVERIFY(s.Feu == QLatin1String("FFFF") || istZahltext(s.Feu));
        }
    }

    const TQorWochPrg w = HexZuWochPrg(t);
    if (t.size() != 112) {
        QVERIFY(w == TQorWochPrg());
    } else {
        for (int d = 0; d < 7; ++d) {
            QCOMPARE(w[size_t(d)].PRG, HexZuZahl(t.mid(16 * d, 4)));
            QCOMPARE(w[size_t(d)].EndZeit, HexZuZahl(t.mid(16 * d + 12, 4)));
        }
    }

    for (bool ab352 : {true, false}) {
        GaerProgLayoutSetzen(ab352);
        const TQorGaerProg g = HexZuGaerProg(t);
        QVERIFY(g.Sch.Feu.isEmpty() && g.GU.Feu.isEmpty() && g.GU.Zeit.isEmpty());
        const bool mitAbZeit = ab352 && t.size() == 56;
        const auto feld = [&t](int nr) { return t.mid(4 * (nr - 1), 4); };
        QCOMPARE(g.Nr, HexZuZahl(feld(1)));
        QCOMPARE(g.GA.Feu, HexZuFeuchte(feld(10)));
        if (mitAbZeit) {
            QCOMPARE(g.AB.Zeit, HexZuZahl(feld(11)));
            QCOMPARE(g.Backofenvorlauf, HexZuZahl(feld(14)));
        } else {
            QCOMPARE(g.AB.Zeit, QStringLiteral("0"));
            QCOMPARE(g.AB.Temp, HexZuTemp(feld(11)));
            QCOMPARE(g.Backofenvorlauf, HexZuZahl(feld(13)));
        }
        for (const QString *f : {&g.Nr, &g.Sch.Zeit, &g.GV.Zeit, &g.GA.Zeit, &g.Backofenvorlauf})
            QVERIFY(istZahltext(*f));
        for (const QString *f : {&g.Sch.Temp, &g.GU.Temp, &g.GV.Temp, &g.GV.Feu, &g.GA.Temp, &g.GA.Feu,
                                 &g.AB.Temp, &g.AB.Feu})
            QVERIFY(*f == QLatin1String("FFFF") || istZahltext(*f));
        // Whatever was decoded encodes to a text of the layout's length or to nothing.
        const QString neu = GaerProgZuHex(g);
        QVERIFY(neu.isEmpty() || (neu.size() == P().GaerProgLaenge && nurHex(neu)));
    }
    GaerProgLayoutSetzen(true);
}

void TestCodecsRobust::textHelfer(const QString &t)
{
    // ZeitNormieren: no blanks left; a 5-character result is a time of day or "24:00".
    static const QRegularExpression uhrzeit(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]$"));
    const QString z = ZeitNormieren(t);
    QVERIFY(!z.contains(QLatin1Char(' ')));
    if (z.size() == 5)
        QVERIFY2(z == QLatin1String("24:00") || uhrzeit.match(z).hasMatch(), qPrintable(z));
    QString ohneBlanks = t;
    ohneBlanks.remove(QLatin1Char(' '));
    static const QRegularExpression ziffern(QStringLiteral("^[0-9]{1,4}$"));
    if (ziffern.match(ohneBlanks).hasMatch())
        QVERIFY(z.isEmpty() || z.size() == 5);

    // ZeitZuMinuten takes anything; a text of the form hh:mm it reads exactly.
    const qint32 m = ZeitZuMinuten(t);
    static const QRegularExpression hhmm(QStringLiteral("^([0-9]{1,4}):([0-9]{2})$"));
    const auto treffer = hhmm.match(t);
    if (treffer.hasMatch())
        QCOMPARE(m, treffer.captured(1).toInt() * 60 + treffer.captured(2).toInt());

    // TeilString: part, separator and rest put together give the text again.
    for (QChar trenner : {QChar(u'.'), QChar(u' '), QChar(0), t.isEmpty() ? QChar(u':') : t.at(t.size() / 2)}) {
        QString rest = t;
        QString teil = QStringLiteral("x");
        TeilString(trenner, rest, teil);
        if (t.contains(trenner)) {
            QVERIFY(!teil.contains(trenner));
            QCOMPARE(teil + trenner + rest, t);
        } else {
            QVERIFY(teil.isEmpty());
            QCOMPARE(rest, t);
        }
    }
}

void TestCodecsRobust::festeEingaben()
{
    for (const QString &t : feste()) {
        feldDecoder(t);
        recordDecoder(t);
        textHelfer(t);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("input of length %1").arg(t.size())));
    }
}

void TestCodecsRobust::zufallsTexte()
{
    Zufall z(Saat);
    for (int i = 0; i < Runden; ++i) {
        const QString t = z.text();
        feldDecoder(t);
        recordDecoder(t);
        textHelfer(t);
        // Slices of the size of one field, as the decoders see them.
        const QString f = t.left(4);
        feldDecoder(f);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("round %1, length %2").arg(i).arg(t.size())));
    }
}

// Records made of arbitrary texts: every encoder gives its exact length or nothing, and what it
// gives decodes and encodes again to the same text.
void TestCodecsRobust::zufallsRecords()
{
    Zufall z(Saat + 1);
    const auto element = [&z] { return TQorProgElement{z.zahlText(), z.zahlText(), z.zahlText()}; };
    for (int i = 0; i < Runden; ++i) {
        GaerProgLayoutSetzen(i % 2 == 0);
        TQorGaerProg g{z.zahlText(), element(), element(), element(), element(), element(), z.zahlText()};
        const QString hg = GaerProgZuHex(g);
        QVERIFY(hg.isEmpty() || (hg.size() == P().GaerProgLaenge && nurHex(hg)));
        if (!hg.isEmpty())
            QCOMPARE(GaerProgZuHex(HexZuGaerProg(hg)), hg);

        TQorNivorell n;
        n.Nr = z.zahlText();
        for (auto &s : n.Schritte)
            s = element();
        const QString hn = NivorellZuHex(n);
        QVERIFY(hn.isEmpty() || (hn.size() == 100 && nurHex(hn)));
        if (!hn.isEmpty())
            QCOMPARE(NivorellZuHex(HexZuNivorell(hn)), hn);

        TQorWochPrg w;
        for (auto &d : w)
            d = {z.zahlText(), z.zahlText(), z.zahlText(), z.zahlText()};
        const QString hw = WochPrgZuHex(w);
        QVERIFY(hw.isEmpty() || (hw.size() == 112 && nurHex(hw)));
        if (!hw.isEmpty())
            QCOMPARE(WochPrgZuHex(HexZuWochPrg(hw)), hw);
        if (QTest::currentTestFailed())
            QFAIL(qPrintable(QStringLiteral("round %1").arg(i)));
    }
}

void TestCodecsRobust::zufallsZahlen()
{
    Zufall z(Saat + 2);
    static const QRegularExpression zeitForm(QStringLiteral("^(--)?([0-9]{2,}):([0-9]{2})$"));
    static const QList<qint32> reihe = {1, 2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 200000};
    QList<qint32> zahlen = {0, 1, -1, 59, 60, 65535, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()};
    for (int i = 0; i < Runden; ++i)
        zahlen << z.ganz() << (z.bis(200000) - 100000);

    for (qint32 m : zahlen) {
        for (bool null : {false, true}) {
            const QString t = MinutenZuZeit(m, null);
            if (m == 0 && !null) {
                QVERIFY(t.isEmpty());
                continue;
            }
            const auto treffer = zeitForm.match(t);
            QVERIFY2(treffer.hasMatch(), qPrintable(t));
            QCOMPARE(treffer.captured(1).isEmpty(), m >= 0);
            const qint64 betrag = m < 0 ? -qint64(m) : qint64(m);
            QCOMPARE(treffer.captured(2).toLongLong() * 60 + treffer.captured(3).toLongLong(), betrag);
            // "--" makes the hours no number, so only the minutes are read back.
            if (m >= 0)
                QCOMPARE(ZeitZuMinuten(t), m);
            if (m < 0)
                QCOMPARE(qint64(ZeitZuMinuten(t)), betrag % 60);
        }

        const QString tag = WochentagName(m);
        if (m >= 0 && m <= 7)
            QVERIFY(!tag.startsWith(QLatin1Char('-')));
        else
            QCOMPARE(tag, QStringLiteral("-%1-?").arg(m));

        QVERIFY(!BetriebsartName(m).isEmpty());
        QVERIFY(!PhasenName(m).isEmpty());
        QVERIFY(!StoerungText(m).isEmpty());
        if (m < 0 || m > 99)
            QCOMPARE(StoerungText(m), QString::fromUtf8("Unbekannte Störung"));
        if (m < 0 || m > 8)
            QCOMPARE(BetriebsartName(m), QStringLiteral("Error"));
        if (m < 0 || m > 7)
            QCOMPARE(PhasenName(m), QStringLiteral("Error"));
    }

    // AchsenSchritt: always one of the series, and never larger for a larger scale.
    QList<double> skalen;
    for (int i = 0; i < Runden; ++i)
        skalen << z.massstab();
    for (double s : skalen)
        QVERIFY(reihe.contains(AchsenSchritt(s)));
    skalen.removeIf([](double s) { return std::isnan(s); });
    std::sort(skalen.begin(), skalen.end());
    for (qsizetype i = 1; i < skalen.size(); ++i)
        QVERIFY(AchsenSchritt(skalen[i]) <= AchsenSchritt(skalen[i - 1]));
}

QTEST_GUILESS_MAIN(TestCodecsRobust)
#include "tst_codecs_robust.moc"
