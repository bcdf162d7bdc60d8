#include "controller/uQuorvelKonstanten.h"
#include "support/uProgramm.h"

#include <QRandomGenerator>
#include <QtTest>

#include <limits>
#include <memory>

Q_DECLARE_METATYPE(TQorGaerProg)
Q_DECLARE_METATYPE(TQorNivorell)
Q_DECLARE_METATYPE(TQorWochPrg)

namespace {
const QString FFFF = QStringLiteral("FFFF");

QString S(const char *text)
{
    return QString::fromUtf8(text);
}

// Readable field dumps, so that a failed comparison shows the field that differs.
QString dump(const TQorProgElement &e)
{
    return QStringLiteral("%1/%2/%3").arg(e.Temp, e.Feu, e.Zeit);
}

QString dump(const TQorGaerProg &g)
{
    return QStringLiteral("Nr=%1 Sch=%2 GU=%3 GV=%4 GA=%5 AB=%6 BOV=%7")
        .arg(g.Nr, dump(g.Sch), dump(g.GU), dump(g.GV), dump(g.GA), dump(g.AB), g.Backofenvorlauf);
}

QString dump(const TQorNivorell &n)
{
    QString t = QStringLiteral("Nr=") + n.Nr;
    for (const auto &s : n.Schritte)
        t += QLatin1Char(' ') + dump(s);
    return t;
}

QString dump(const TQorWochPrg &w)
{
    QString t;
    for (const auto &d : w)
        t += QStringLiteral("[%1 %2 %3 %4]").arg(d.PRG, d.BetArt, d.EndTag, d.EndZeit);
    return t;
}

TQorProgElement E(const char *temp, const char *feu, const char *zeit)
{
    return {S(temp), S(feu), S(zeit)};
}

// Default program of a new proofing list, in slot 1.
TQorGaerProg standardGaerProg()
{
    TQorGaerProg g;
    g.Nr = S("1");
    g.Sch = E("-15", "", "60");
    g.GU = E("-10", "", "");
    g.GV = E("2", "75", "360");
    g.GA = E("30", "80", "180");
    g.AB = E("FFFF", "70", "0");
    g.Backofenvorlauf = S("60");
    return g;
}

const QString standard56 = S("0001003C0145015E0168019A030700B4022603200000FFFF02EE003C");
const QString standard52 = S("0001003C0145015E0168019A030700B402260320FFFF02EE003C");

// Default program of a new Nivorell list, in slot 3.
TQorNivorell standardNivorell()
{
    TQorNivorell n;
    n.Nr = S("3");
    n.Schritte = {E("8", "80", "30"), E("20", "80", "30"), E("20", "80", "180"), E("4", "80", "360"),
                  E("4", "80", ""),   E("4", "80", ""),    E("4", "80", ""),    E("4", "80", "")};
    return n;
}

const QString standardNivorellText =
    S("0003001E01B80320001E01F4032000B401F40320016801A40320FFFF01A40320FFFF01A40320FFFF01A40320FFFF"
      "01A40320");

TQorWochPrg beispielWoche()
{
    TQorWochPrg w;
    for (int d = 0; d < 7; ++d)
        w[size_t(d)] = {QString::number(d + 1), QString::number(d % 8 + 1),
                        QString::number((d + 1) % 7 + 1), QString::number(d * 240)};
    return w;
}

const QString beispielWocheText =
    S("000100010002000000020002000300F000030003000401E000040004000502D000050005000603C00006000600070"
      "4B000070007000105A0");

// What a decoded record holds for the plain and scaled fields of an invalid (here: missing) field.
TQorGaerProg leerGelesen()
{
    TQorGaerProg g;
    g.Nr = S("-1");
    g.Sch = E("-80", "", "-1");
    g.GU = E("-80", "", "");
    g.GV = E("-80", "-80", "-1");
    g.GA = E("-80", "-80", "-1");
    g.AB = E("-80", "-80", "0");
    g.Backofenvorlauf = S("-1");
    return g;
}
} // namespace

class TestCodecs : public QObject
{
    Q_OBJECT
    std::unique_ptr<Programm> programm;
private slots:
    void init() { programm = std::make_unique<Programm>(); }
    void cleanup() { programm.reset(); }

    void zahlZuHex_data();
    void zahlZuHex();
    void skaliertZuHex_data();
    void skaliertZuHex();
    void hexZuZahl_data();
    void hexZuZahl();
    void hexZuSkaliert_data();
    void hexZuSkaliert();
    void nichtProgrammiertUeberlebt();

    void gaerProgZuHex_data();
    void gaerProgZuHex();
    void gaerProgUngueltig_data();
    void gaerProgUngueltig();
    void hexZuGaerProg_data();
    void hexZuGaerProg();
    void layoutWechselNachEmpfang();

    void nivorellZuHex();
    void nivorellUngueltig_data();
    void nivorellUngueltig();
    void hexZuNivorell_data();
    void hexZuNivorell();

    void wochPrgZuHex();
    void wochPrgUngueltig();
    void hexZuWochPrg_data();
    void hexZuWochPrg();

    void stabilitaet();

    void betriebsartName_data();
    void betriebsartName();
    void phasenName_data();
    void phasenName();
    void stoerungText_data();
    void stoerungText();
    void stoerungUnbekannt();

    void zeitNormieren_data();
    void zeitNormieren();
};

// --- field codecs -----------------------------------------------------------------------------

void TestCodecs::zahlZuHex_data()
{
    QTest::addColumn<QString>("zahl");
    QTest::addColumn<QString>("hex");
    QTest::newRow("empty") << QString() << FFFF;
    QTest::newRow("FFFF") << FFFF << FFFF;
    QTest::newRow("0") << S("0") << S("0000");
    QTest::newRow("10") << S("10") << S("000A");
    QTest::newRow("360") << S("360") << S("0168");
    QTest::newRow("65535") << S("65535") << FFFF;
    QTest::newRow("65536 five digits") << S("65536") << S("10000");
    QTest::newRow("-1 two's complement") << S("-1") << S("FFFFFFFF");
    QTest::newRow("min") << S("-2147483648") << S("80000000");
    QTest::newRow("max") << S("2147483647") << S("7FFFFFFF");
    QTest::newRow("beyond 32 bits") << S("2147483648") << FFFF;
    QTest::newRow("leading blanks") << S("  12") << S("000C");
    QTest::newRow("plus sign") << S("+5") << S("0005");
    QTest::newRow("fraction") << S("20.5") << FFFF;
    QTest::newRow("trailing blank") << S("12 ") << FFFF;
    QTest::newRow("lower-case hex") << S("ffff") << FFFF;
    QTest::newRow("letters") << S("abc") << FFFF;
}

void TestCodecs::zahlZuHex()
{
    QFETCH(QString, zahl);
    QFETCH(QString, hex);
    QCOMPARE(ZahlZuHex(zahl), hex);
}

void TestCodecs::skaliertZuHex_data()
{
    QTest::addColumn<QString>("wert");
    QTest::addColumn<QString>("hex");
    QTest::newRow("-80") << S("-80") << S("0000");
    QTest::newRow("-15") << S("-15") << S("0145");
    QTest::newRow("0") << S("0") << S("0190");
    QTest::newRow("2") << S("2") << S("019A");
    QTest::newRow("20") << S("20") << S("01F4");
    QTest::newRow("75") << S("75") << S("0307");
    QTest::newRow("80") << S("80") << S("0320");
    QTest::newRow("13026") << S("13026") << S("FFFA");
    QTest::newRow("FFFF") << FFFF << FFFF;
    QTest::newRow("65535 marker") << S("65535") << FFFF;
    QTest::newRow("empty") << QString() << FFFF;
    QTest::newRow("fraction") << S("20.5") << FFFF;
    QTest::newRow("-81 eight digits") << S("-81") << S("FFFFFFFB");
    QTest::newRow("65534 five digits") << S("65534") << S("50186");
    // Raw values beyond 32 bits keep all their digits: they must never fold into a 4-digit field.
    QTest::newRow("large, low bits 0004") << S("858993380") << S("100000004");
    QTest::newRow("very negative, low bits 0001") << S("-858993539") << S("FFFFFFFF00000001");
    QTest::newRow("max") << S("2147483647") << S("28000018B");
}

void TestCodecs::skaliertZuHex()
{
    QFETCH(QString, wert);
    QFETCH(QString, hex);
    QCOMPARE(TempZuHex(wert), hex);
    QCOMPARE(FeuchteZuHex(wert), hex);
}

void TestCodecs::hexZuZahl_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("zahl");
    QTest::newRow("FFFF") << FFFF << S("65535");
    QTest::newRow("000A") << S("000A") << S("10");
    QTest::newRow("0168") << S("0168") << S("360");
    QTest::newRow("0000") << S("0000") << S("0");
    QTest::newRow("empty") << QString() << S("-1");
    QTest::newRow("lower case") << S("01f4") << S("-1");
    QTest::newRow("blank") << S("01 4") << S("-1");
    QTest::newRow("short field") << S("3C") << S("60");
    QTest::newRow("80000000") << S("80000000") << S("-2147483648");
}

void TestCodecs::hexZuZahl()
{
    QFETCH(QString, hex);
    QFETCH(QString, zahl);
    QCOMPARE(HexZuZahl(hex), zahl);
}

void TestCodecs::hexZuSkaliert_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<QString>("wert");
    QTest::newRow("01F4") << S("01F4") << S("20");
    QTest::newRow("0145") << S("0145") << S("-15");
    QTest::newRow("0190") << S("0190") << S("0");
    QTest::newRow("0191 (0.2)") << S("0191") << S("0");
    QTest::newRow("0192 (0.4)") << S("0192") << S("0");
    QTest::newRow("0193 (0.6)") << S("0193") << S("1");
    QTest::newRow("0194 (0.8)") << S("0194") << S("1");
    QTest::newRow("018F (-0.2) no minus zero") << S("018F") << S("0");
    QTest::newRow("018D (-0.6)") << S("018D") << S("-1");
    QTest::newRow("0000") << S("0000") << S("-80");
    QTest::newRow("0001 (-79.8)") << S("0001") << S("-80");
    QTest::newRow("0003 (-79.4)") << S("0003") << S("-79");
    QTest::newRow("FFFE") << S("FFFE") << S("13027");
    QTest::newRow("FFFF stays") << FFFF << FFFF;
    QTest::newRow("lower case") << S("01f4") << S("-80");
    QTest::newRow("lower-case marker") << S("ffff") << S("-80");
    QTest::newRow("empty") << QString() << S("-80");
    QTest::newRow("80000000") << S("80000000") << S("-429496810");
}

void TestCodecs::hexZuSkaliert()
{
    QFETCH(QString, hex);
    QFETCH(QString, wert);
    QCOMPARE(HexZuTemp(hex), wert);
    QCOMPARE(HexZuFeuchte(hex), wert);
}

// A value that is not programmed survives a read and a write in every kind of field.
void TestCodecs::nichtProgrammiertUeberlebt()
{
    QCOMPARE(HexZuZahl(FFFF), S("65535"));
    QCOMPARE(ZahlZuHex(HexZuZahl(FFFF)), FFFF);
    QCOMPARE(HexZuTemp(FFFF), FFFF);
    QCOMPARE(TempZuHex(HexZuTemp(FFFF)), FFFF);
    QCOMPARE(FeuchteZuHex(HexZuFeuchte(FFFF)), FFFF);
}

// --- proofing programs ------------------------------------------------------------------------

void TestCodecs::gaerProgZuHex_data()
{
    QTest::addColumn<bool>("ab352");
    QTest::addColumn<TQorGaerProg>("prog");
    QTest::addColumn<QString>("hex");
    QTest::newRow("default 56") << true << standardGaerProg() << standard56;
    QTest::newRow("default 52") << false << standardGaerProg() << standard52;
    QTest::newRow("empty 56") << true << TQorGaerProg() << QString(56, QLatin1Char('F'));
    QTest::newRow("empty 52") << false << TQorGaerProg() << QString(52, QLatin1Char('F'));
    // Fields that are never carried do not show in the text.
    TQorGaerProg ungetragen = standardGaerProg();
    ungetragen.Sch.Feu = S("99");
    ungetragen.GU.Feu = S("99");
    ungetragen.GU.Zeit = S("99");
    QTest::newRow("uncarried fields 56") << true << ungetragen << standard56;
    TQorGaerProg abZeit = standardGaerProg();
    abZeit.AB.Zeit = S("45");
    QTest::newRow("AB.Zeit not carried in 52") << false << abZeit << standard52;
    QTest::newRow("AB.Zeit carried in 56") << true << abZeit
                                           << S("0001003C0145015E0168019A030700B40226032"
                                                "0002DFFFF02EE003C");
}

void TestCodecs::gaerProgZuHex()
{
    QFETCH(bool, ab352);
    QFETCH(TQorGaerProg, prog);
    QFETCH(QString, hex);
    GaerProgLayoutSetzen(ab352);
    QCOMPARE(GaerProgZuHex(prog), hex);
}

void TestCodecs::gaerProgUngueltig_data()
{
    QTest::addColumn<bool>("ab352");
    QTest::addColumn<TQorGaerProg>("prog");
    const auto zeilen = [](const char *name, TQorGaerProg g) {
        QTest::newRow(qPrintable(QStringLiteral("%1 56").arg(S(name)))) << true << g;
        QTest::newRow(qPrintable(QStringLiteral("%1 52").arg(S(name)))) << false << g;
    };
    TQorGaerProg g = standardGaerProg();
    g.GV.Temp = S("-81");
    zeilen("temperature -81", g);
    g = standardGaerProg();
    g.GA.Feu = S("-100");
    zeilen("humidity -100", g);
    g = standardGaerProg();
    g.GA.Zeit = S("-1");
    zeilen("negative duration", g);
    g = standardGaerProg();
    g.Sch.Zeit = S("65536");
    zeilen("duration above 65535", g);
    g = standardGaerProg();
    g.Backofenvorlauf = S("100000");
    zeilen("pre-run above 65535", g);
    g = standardGaerProg();
    g.Sch.Temp = S("13200");
    zeilen("temperature too high", g);
    g = standardGaerProg();
    g.AB.Zeit = S("-5");
    QTest::newRow("negative AB.Zeit 56") << true << g;
}

void TestCodecs::gaerProgUngueltig()
{
    QFETCH(bool, ab352);
    QFETCH(TQorGaerProg, prog);
    GaerProgLayoutSetzen(ab352);
    QCOMPARE(GaerProgZuHex(prog), QString());
}

void TestCodecs::hexZuGaerProg_data()
{
    QTest::addColumn<bool>("ab352");
    QTest::addColumn<QString>("hex");
    QTest::addColumn<TQorGaerProg>("prog");

    QTest::newRow("56 in 56 layout") << true << standard56 << standardGaerProg();
    QTest::newRow("52 in 52 layout") << false << standard52 << standardGaerProg();
    QTest::newRow("52 while 56 is set") << true << standard52 << standardGaerProg();

    // A 56-character text while the 52-character layout is set: fields 11 to 13 are read as
    // AB.Temp, AB.Feu and pre-run time, the last four characters are ignored.
    TQorGaerProg verschoben = standardGaerProg();
    verschoben.AB = E("-80", "FFFF", "0");
    verschoben.Backofenvorlauf = S("750");
    QTest::newRow("56 while 52 is set") << false << standard56 << verschoben;

    TQorGaerProg abZeit = standardGaerProg();
    abZeit.AB.Zeit = S("45");
    QTest::newRow("AB.Zeit read in 56")
        << true << S("0001003C0145015E0168019A030700B402260320002DFFFF02EE003C") << abZeit;

    QTest::newRow("empty text 56") << true << QString() << leerGelesen();
    QTest::newRow("empty text 52") << false << QString() << leerGelesen();

    // Characters after the 52nd of a text that is not 56 long are ignored.
    QTest::newRow("60 characters") << true << standard52 + S("12345678") << standardGaerProg();
    QTest::newRow("55 characters") << true << standard52 + S("123") << standardGaerProg();
    QTest::newRow("57 characters") << true << standard56 + S("1") << verschoben;

    // A short text: missing fields read as empty, a cut field as what is left of it.
    TQorGaerProg kurz = leerGelesen();
    kurz.Nr = S("1");
    kurz.Sch.Zeit = S("60");
    kurz.Sch.Temp = S("-80"); // "01": raw 1
    QTest::newRow("10 characters") << true << S("0001003C01") << kurz;

    TQorGaerProg klein = leerGelesen();
    klein.Nr = S("1");
    klein.Sch.Zeit = S("60");
    klein.Sch.Temp = S("-15");
    klein.GU.Temp = S("-10");
    klein.GV.Zeit = S("360");
    klein.GV.Temp = S("2");
    klein.GV.Feu = S("75");
    klein.GA.Zeit = S("180");
    klein.GA.Temp = S("30");
    klein.GA.Feu = S("80");
    klein.AB.Temp = S("-80");
    klein.AB.Feu = S("-80");
    klein.Backofenvorlauf = S("-1");
    klein.Sch.Zeit = S("-1"); // lower-case field
    QTest::newRow("lower-case field, cut after field 10")
        << true << S("0001003c0145015E0168019A030700B402260320") << klein;

    TQorGaerProg ffff = leerGelesen();
    ffff.Nr = ffff.Sch.Zeit = ffff.GV.Zeit = ffff.GA.Zeit = ffff.Backofenvorlauf = S("65535");
    ffff.Sch.Temp = ffff.GU.Temp = ffff.GV.Temp = ffff.GV.Feu = ffff.GA.Temp = ffff.GA.Feu = FFFF;
    ffff.AB.Temp = ffff.AB.Feu = FFFF;
    QTest::newRow("all F 52") << false << QString(52, QLatin1Char('F')) << ffff;
    ffff.AB.Zeit = S("65535");
    QTest::newRow("all F 56") << true << QString(56, QLatin1Char('F')) << ffff;
}

void TestCodecs::hexZuGaerProg()
{
    QFETCH(bool, ab352);
    QFETCH(QString, hex);
    QFETCH(TQorGaerProg, prog);
    GaerProgLayoutSetzen(ab352);
    QCOMPARE(dump(HexZuGaerProg(hex)), dump(prog));
}

// Switching to the 52-character layout leaves the maximum at 56, so a 56-character text that
// arrives afterwards is read by the new layout; switching back reads it whole again.
void TestCodecs::layoutWechselNachEmpfang()
{
    GaerProgLayoutSetzen(false);
    QCOMPARE(HexZuGaerProg(standard56).Backofenvorlauf, S("750"));
    QCOMPARE(GaerProgZuHex(HexZuGaerProg(standard52)), standard52);
    GaerProgLayoutSetzen(true);
    QCOMPARE(dump(HexZuGaerProg(standard56)), dump(standardGaerProg()));
    QCOMPARE(GaerProgZuHex(HexZuGaerProg(standard52)), standard56);
}

// --- Nivorell programs ------------------------------------------------------------------------

void TestCodecs::nivorellZuHex()
{
    QCOMPARE(NivorellZuHex(standardNivorell()), standardNivorellText);
    QCOMPARE(NivorellZuHex(TQorNivorell()), QString(100, QLatin1Char('F')));
}

void TestCodecs::nivorellUngueltig_data()
{
    QTest::addColumn<TQorNivorell>("prog");
    TQorNivorell n = standardNivorell();
    n.Schritte[7].Temp = S("-81");
    QTest::newRow("temperature -81 in last step") << n;
    n = standardNivorell();
    n.Schritte[0].Zeit = S("-1");
    QTest::newRow("negative duration") << n;
    n = standardNivorell();
    n.Schritte[3].Zeit = S("65536");
    QTest::newRow("duration above 65535") << n;
    n = standardNivorell();
    n.Nr = S("-3");
    QTest::newRow("negative number") << n;
    n = standardNivorell();
    n.Schritte[5].Feu = S("-90");
    QTest::newRow("humidity -90") << n;
}

void TestCodecs::nivorellUngueltig()
{
    QFETCH(TQorNivorell, prog);
    QCOMPARE(NivorellZuHex(prog), QString());
}

void TestCodecs::hexZuNivorell_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<TQorNivorell>("prog");
    TQorNivorell gelesen = standardNivorell();
    for (auto &s : gelesen.Schritte)
        if (s.Zeit.isEmpty())
            s.Zeit = S("65535");
    QTest::newRow("100") << standardNivorellText << gelesen;
    QTest::newRow("101 ignores the last") << standardNivorellText + S("7") << gelesen;
    QTest::newRow("200") << standardNivorellText + standardNivorellText << gelesen;
    QTest::newRow("99 gives an empty record") << standardNivorellText.left(99) << TQorNivorell();
    QTest::newRow("empty text") << QString() << TQorNivorell();

    TQorNivorell ffff;
    ffff.Nr = S("65535");
    for (auto &s : ffff.Schritte)
        s = E("FFFF", "FFFF", "65535");
    QTest::newRow("all F") << QString(100, QLatin1Char('F')) << ffff;

    TQorNivorell falsch = gelesen;
    falsch.Schritte[0].Temp = S("-80");
    falsch.Schritte[7].Zeit = S("-1");
    QString text = standardNivorellText;
    text.replace(8, 4, S("01b8"));
    text.replace(88, 4, S("FF F"));
    QTest::newRow("bad fields") << text << falsch;
}

void TestCodecs::hexZuNivorell()
{
    QFETCH(QString, hex);
    QFETCH(TQorNivorell, prog);
    QCOMPARE(dump(HexZuNivorell(hex)), dump(prog));
}

// --- weekly programs --------------------------------------------------------------------------

void TestCodecs::wochPrgZuHex()
{
    QCOMPARE(WochPrgZuHex(beispielWoche()), beispielWocheText);
    QCOMPARE(WochPrgZuHex(TQorWochPrg()), QString(112, QLatin1Char('F')));
}

void TestCodecs::wochPrgUngueltig()
{
    TQorWochPrg w = beispielWoche();
    w[6].EndZeit = S("-1");
    QCOMPARE(WochPrgZuHex(w), QString());
    w = beispielWoche();
    w[0].PRG = S("70000");
    QCOMPARE(WochPrgZuHex(w), QString());
}

void TestCodecs::hexZuWochPrg_data()
{
    QTest::addColumn<QString>("hex");
    QTest::addColumn<TQorWochPrg>("prog");
    QTest::newRow("112") << beispielWocheText << beispielWoche();
    QTest::newRow("113 gives an empty record") << beispielWocheText + S("0") << TQorWochPrg();
    QTest::newRow("111 gives an empty record") << beispielWocheText.left(111) << TQorWochPrg();
    QTest::newRow("empty text") << QString() << TQorWochPrg();
    TQorWochPrg ffff;
    for (auto &d : ffff)
        d = {S("65535"), S("65535"), S("65535"), S("65535")};
    QTest::newRow("all F") << QString(112, QLatin1Char('F')) << ffff;
    TQorWochPrg falsch = beispielWoche();
    falsch[3].BetArt = S("-1");
    QString text = beispielWocheText;
    text.replace(52, 4, S("000g"));
    QTest::newRow("bad field") << text << falsch;
}

void TestCodecs::hexZuWochPrg()
{
    QFETCH(QString, hex);
    QFETCH(TQorWochPrg, prog);
    QCOMPARE(dump(HexZuWochPrg(hex)), dump(prog));
}

// --- encode -> decode -> encode ---------------------------------------------------------------

namespace {
QString zufallPlain(QRandomGenerator &z)
{
    switch (z.bounded(8)) {
    case 0: return FFFF;
    case 1: return QString();
    case 2: return S("65535");
    default: return QString::number(z.bounded(65536));
    }
}

QString zufallSkaliert(QRandomGenerator &z)
{
    switch (z.bounded(8)) {
    case 0: return FFFF;
    case 1: return QString();
    case 2: return S("-80");
    default: return QString::number(z.bounded(-80, 13028));
    }
}

TQorProgElement zufallElement(QRandomGenerator &z)
{
    return {zufallSkaliert(z), zufallSkaliert(z), zufallPlain(z)};
}
} // namespace

// Records whose values fit give the same text again after a decode, in both layouts.
void TestCodecs::stabilitaet()
{
    QRandomGenerator z(20240611u);
    for (int runde = 0; runde < 3000; ++runde) {
        const bool ab352 = runde % 2 == 0;
        GaerProgLayoutSetzen(ab352);
        TQorGaerProg g;
        g.Nr = zufallPlain(z);
        g.Sch = zufallElement(z);
        g.GU = zufallElement(z);
        g.GV = zufallElement(z);
        g.GA = zufallElement(z);
        g.AB = zufallElement(z);
        g.Backofenvorlauf = zufallPlain(z);
        const QString hg = GaerProgZuHex(g);
        QCOMPARE(int(hg.size()), int(P().GaerProgLaenge));
        const TQorGaerProg gg = HexZuGaerProg(hg);
        QCOMPARE(GaerProgZuHex(gg), hg);
        QVERIFY(gg.Sch.Feu.isEmpty() && gg.GU.Feu.isEmpty() && gg.GU.Zeit.isEmpty());
        if (!ab352)
            QCOMPARE(gg.AB.Zeit, S("0"));

        TQorNivorell n;
        n.Nr = zufallPlain(z);
        for (auto &s : n.Schritte)
            s = zufallElement(z);
        const QString hn = NivorellZuHex(n);
        QCOMPARE(int(hn.size()), 100);
        QCOMPARE(NivorellZuHex(HexZuNivorell(hn)), hn);

        TQorWochPrg w;
        for (auto &d : w)
            d = {zufallPlain(z), zufallPlain(z), zufallPlain(z), zufallPlain(z)};
        const QString hw = WochPrgZuHex(w);
        QCOMPARE(int(hw.size()), 112);
        QCOMPARE(WochPrgZuHex(HexZuWochPrg(hw)), hw);

        // A weekly text of any upper-case hex digits comes back unchanged.
        QString roh;
        for (int i = 0; i < 112; ++i)
            roh += QLatin1Char("0123456789ABCDEF"[z.bounded(16)]);
        QCOMPARE(WochPrgZuHex(HexZuWochPrg(roh)), roh);
    }
}

// --- text tables ------------------------------------------------------------------------------

void TestCodecs::betriebsartName_data()
{
    QTest::addColumn<qint32>("nr");
    QTest::addColumn<QString>("name");
    const char *namen[] = {"Aus",         "SCH-GU",     "GU-Dauerbetrieb", "GV-Dauerbetrieb", "GA-Dauerbetrieb",
                           "SCH-GV Auto", "GV-GA Auto", "SCH-GA Auto",     "Nivorell"};
    for (int i = 0; i < 9; ++i)
        QTest::newRow(namen[i]) << i << S(namen[i]);
    QTest::newRow("9") << 9 << S("Error");
    QTest::newRow("-1") << -1 << S("Error");
    QTest::newRow("min") << std::numeric_limits<qint32>::min() << S("Error");
    QTest::newRow("max") << std::numeric_limits<qint32>::max() << S("Error");
}

void TestCodecs::betriebsartName()
{
    QFETCH(qint32, nr);
    QFETCH(QString, name);
    QCOMPARE(BetriebsartName(nr), name);
}

void TestCodecs::phasenName_data()
{
    QTest::addColumn<qint32>("nr");
    QTest::addColumn<QString>("name");
    const char *namen[] = {"Aus",   "Schocken", "Gärunterbrechen", "Gärverzögern",
                           "Gären", "Fertig",   "Absteifen",       "Nivorell"};
    for (int i = 0; i < 8; ++i)
        QTest::newRow(namen[i]) << i << S(namen[i]);
    QTest::newRow("8") << 8 << S("Error");
    QTest::newRow("-1") << -1 << S("Error");
    QTest::newRow("min") << std::numeric_limits<qint32>::min() << S("Error");
}

void TestCodecs::phasenName()
{
    QFETCH(qint32, nr);
    QFETCH(QString, name);
    QCOMPARE(PhasenName(nr), name);
}

namespace {
const QList<QPair<int, const char *>> &stoerungen()
{
    static const QList<QPair<int, const char *>> liste = {
        {1, "Raumfühler Kurzschluss"},
        {2, "Raumfühler Bruch"},
        {3, "Verdampferfühler 1 Kurzschluss"},
        {4, "Verdampferfühler 1 Bruch"},
        {5, "Verd.2 / Raum 2 Fühler Kurzschluss"},
        {6, "Verd.2 / Raum 2 Fühler Bruch"},
        {7, "Feuchtefühler Kurzschluss"},
        {8, "Feuchtefühler Bruch"},
        {10, "Niederdruckfühler Bruch"},
        {12, "Hochdruckfühler Bruch"},
        {13, "Verdampferfühler 3 Kurzschluss"},
        {14, "Verdampferfühler 3 Bruch"},
        {15, "Maschinenraumfühler Kurzschluss"},
        {16, "Maschinenraumfühler Bruch"},
        {20, "Abtauzeit überschritten"},
        {21, "Netzausfall"},
        {22, "Tür offen"},
        {23, "Temperaturüberwachung"},
        {26, "Backofen Störung"},
        {27, "Maschinenraum überhitzt"},
        {32, "Sicherheitskette Kompressor A"},
        {33, "Sicherheitskette Kompressor B"},
        {34, "Überhitzung Verdampfer 1"},
        {35, "Überhitzung Verdampfer 2"},
        {39, "Motorstörung Kompressor A"},
        {47, "Überhitzung Verdampfer 3"},
        {59, "Motorstörung Kompressor B"},
        {60, "Modem nicht bereit"},
        {61, "Telefonnummer fehlt"},
        {89, "Steuerung meldet sich nicht"},
        {99, "Test Störung"},
    };
    return liste;
}
} // namespace

void TestCodecs::stoerungText_data()
{
    QTest::addColumn<qint32>("code");
    QTest::addColumn<QString>("text");
    for (const auto &[code, text] : stoerungen())
        QTest::newRow(qPrintable(QString::number(code))) << code << S(text);
    QTest::newRow("0") << 0 << S("Unbekannte Störung");
    QTest::newRow("9") << 9 << S("Unbekannte Störung");
    QTest::newRow("100") << 100 << S("Unbekannte Störung");
    QTest::newRow("-1") << -1 << S("Unbekannte Störung");
}

void TestCodecs::stoerungText()
{
    QFETCH(qint32, code);
    QFETCH(QString, text);
    QCOMPARE(StoerungText(code), text);
}

// Every code outside the table, the gaps included, is unknown.
void TestCodecs::stoerungUnbekannt()
{
    QSet<int> bekannt;
    for (const auto &eintrag : stoerungen())
        bekannt.insert(eintrag.first);
    for (int code = -300; code <= 1000; ++code)
        if (!bekannt.contains(code))
            QCOMPARE(StoerungText(code), S("Unbekannte Störung"));
}

// --- time normaliser --------------------------------------------------------------------------

void TestCodecs::zeitNormieren_data()
{
    QTest::addColumn<QString>("eingabe");
    QTest::addColumn<QString>("ergebnis");
    QTest::newRow("8:30") << S("8:30") << S("08:30");
    QTest::newRow("8:30 with blanks") << S(" 8 : 3 0 ") << S("08:30");
    QTest::newRow("8:5") << S("8:5") << S("08:05");
    QTest::newRow("08:5") << S("08:5") << S("08:05");
    QTest::newRow("123") << S("123") << S("12:30");
    QTest::newRow("1230") << S("1230") << S("12:30");
    QTest::newRow("12") << S("12") << S("12:00");
    QTest::newRow("8") << S("8") << S("08:00");
    QTest::newRow("0") << S("0") << S("00:00");
    QTest::newRow("23:59") << S("23:59") << S("23:59");
    QTest::newRow("24") << S("24") << S("24:00");
    QTest::newRow("2400") << S("2400") << S("24:00");
    QTest::newRow("24:00") << S("24:00") << S("24:00");
    QTest::newRow("2401") << S("2401") << QString();
    QTest::newRow("25:00") << S("25:00") << QString();
    QTest::newRow("12:60") << S("12:60") << QString();
    QTest::newRow("12345") << S("12345") << S("12:34");
    QTest::newRow("12:345 cut") << S("12:345") << S("12:34");
    QTest::newRow("ab") << S("ab") << QString();
    QTest::newRow("a") << S("a") << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("blanks only") << S("   ") << QString();
    QTest::newRow("12: unchanged") << S("12:") << S("12:");
    QTest::newRow(":30 unchanged") << S(":30") << S(":30");
    QTest::newRow("8:305") << S("8:305") << S("08:305");
    QTest::newRow("123:4 checked") << S("123:4") << QString();
    QTest::newRow(":1234 checked") << S(":1234") << QString();
    QTest::newRow("100:00 not checked") << S("100:00") << S("100:00");
    QTest::newRow("1092:15 not checked") << S("1092:15") << S("1092:15");
    QTest::newRow("sign") << S("-1:30") << QString();
    QTest::newRow("tab is no blank") << S("\t8") << QString();
}

void TestCodecs::zeitNormieren()
{
    QFETCH(QString, eingabe);
    QFETCH(QString, ergebnis);
    QCOMPARE(ZeitNormieren(eingabe), ergebnis);
}

QTEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
