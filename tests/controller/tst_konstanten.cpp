#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelKonstanten.h"
#include "support/uProgramm.h"

#include <QSet>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(const NeuerBefehl *)

class TestKonstanten : public QObject
{
    Q_OBJECT
    std::unique_ptr<Programm> programm;
private slots:
    void init() { programm = std::make_unique<Programm>(); }
    void cleanup() { programm.reset(); }

    void befehle_data();
    void befehle();
    void tabellenReihenfolge();
    void schluesselEindeutig();
    void versuchsgrenzen_data();
    void versuchsgrenzen();
    void layoutStart();
    void layoutUmschalten();
    void startwerte();
};

void TestKonstanten::befehle_data()
{
    QTest::addColumn<const NeuerBefehl *>("befehl");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("wort");
    QTest::addColumn<int>("maxVersuche");
    QTest::addColumn<int>("timeout");
    const auto zeile = [](const NeuerBefehl &b, const char *name, const char *wort, int versuche,
                          int timeout) {
        QTest::newRow(name) << &b << QString::fromLatin1(name) << QString::fromLatin1(wort)
                            << versuche << timeout;
    };
    zeile(BefehlAktuell, "BefehlAktuell", "", 0, 0);
    zeile(Q_None, "Q_None", "", 0, 0);
    zeile(Q_GaerRecSave, "Q_GaerRecSave", "GRSave", 0, 30000);
    zeile(Q_GaerRecRest, "Q_GaerRecRest", "GRRest", 0, 30000);
    zeile(Q_NVRecSave, "Q_NVRecSave", "NVSave", 0, 30000);
    zeile(Q_NVRecRest, "Q_NVRecRest", "NVRest", 0, 30000);
    zeile(Q_RSCancel, "Q_RSCancel", "RSCancel", 0, 0);
    zeile(Q_Status, "Q_Status", "PST", 10, 2000);
    zeile(Q_GaerProgRd, "Q_GaerProgRd", "GPR", 3, 10000);
    zeile(Q_GaerProgWr, "Q_GaerProgWr", "GPW", 3, 10000);
    zeile(Q_NivorellRd, "Q_NivorellRd", "NVR", 3, 10000);
    zeile(Q_NivorellWr, "Q_NivorellWr", "NVW", 3, 10000);
    zeile(Q_WochPrgRd, "Q_WochPrgRd", "WPR", 3, 10000);
    zeile(Q_WochPrgWr, "Q_WochPrgWr", "WPW", 3, 10000);
    zeile(Q_TimeRd, "Q_TimeRd", "DTR", 3, 1000);
    zeile(Q_TimeWr, "Q_TimeWr", "DTW", 3, 2000);
    zeile(Q_FirmWare, "Q_FirmWare", "FWR", 3, 1000);
    zeile(Q_Stoer, "Q_Stoer", "STO", 0, 2000);
}

void TestKonstanten::befehle()
{
    QFETCH(const NeuerBefehl *, befehl);
    QFETCH(QString, name);
    QFETCH(QString, wort);
    QFETCH(int, maxVersuche);
    QFETCH(int, timeout);
    QCOMPARE(befehl->Name, name);
    QCOMPARE(befehl->Befehl, wort);
    QCOMPARE(int(befehl->MaxVersuche), maxVersuche);
    QCOMPARE(befehl->Timeout, timeout);
    QCOMPARE(befehl->Nummer, quint16(0));
    QCOMPARE(befehl->Zusatz, quint8(0));
    QVERIFY(befehl->Zusatztext.isEmpty());
}

void TestKonstanten::tabellenReihenfolge()
{
    const std::array<const NeuerBefehl *, 17> erwartet = {
        &Q_None,      &Q_GaerRecSave, &Q_GaerRecRest, &Q_NVRecSave,  &Q_NVRecRest,  &Q_RSCancel,
        &Q_Status,    &Q_GaerProgRd,  &Q_GaerProgWr,  &Q_NivorellRd, &Q_NivorellWr, &Q_WochPrgRd,
        &Q_WochPrgWr, &Q_TimeRd,      &Q_TimeWr,      &Q_FirmWare,   &Q_Stoer};
    QCOMPARE(AlleBefehle().size(), erwartet.size());
    for (size_t i = 0; i < erwartet.size(); ++i)
        QCOMPARE(AlleBefehle()[i], erwartet[i]);
}

// Commands are found by keyword and by name, ignoring case: both must be unambiguous.
void TestKonstanten::schluesselEindeutig()
{
    QSet<QString> namen;
    QSet<QString> worte;
    for (const NeuerBefehl *b : AlleBefehle()) {
        QVERIFY2(!namen.contains(b->Name.toUpper()), qPrintable(b->Name));
        namen.insert(b->Name.toUpper());
        if (b->Befehl.isEmpty())
            continue;
        QVERIFY2(!worte.contains(b->Befehl.toUpper()), qPrintable(b->Befehl));
        worte.insert(b->Befehl.toUpper());
    }
    QCOMPARE(worte.size(), 16); // every command but Q_None has a keyword
}

void TestKonstanten::versuchsgrenzen_data()
{
    QTest::addColumn<const NeuerBefehl *>("befehl");
    QTest::addColumn<int>("grenze");
    QTest::newRow("Q_Status") << &Q_Status << 10;
    QTest::newRow("Q_Stoer") << &Q_Stoer << 3;
    QTest::newRow("Q_GaerRecSave") << &Q_GaerRecSave << 3;
    QTest::newRow("Q_RSCancel") << &Q_RSCancel << 3;
    QTest::newRow("Q_TimeWr") << &Q_TimeWr << 3;
}

// The command object takes MaxVersuche when it is above 3, else 3.
void TestKonstanten::versuchsgrenzen()
{
    QFETCH(const NeuerBefehl *, befehl);
    QFETCH(int, grenze);
    std::unique_ptr<QuorvelBefehl> objekt(QuorvelBefehl::Create(*befehl, 0, QStringLiteral("0600"), nullptr));
    QCOMPARE(int(objekt->MaxVersuche), grenze);
    // A constant with fewer tries still gets three.
    NeuerBefehl wenig = *befehl;
    wenig.MaxVersuche = 1;
    std::unique_ptr<QuorvelBefehl> mindestens(QuorvelBefehl::Create(wenig, 0, QStringLiteral("0600"), nullptr));
    QCOMPARE(int(mindestens->MaxVersuche), 3);
}

void TestKonstanten::layoutStart()
{
    QVERIFY(P().FirmwareAb352);
    QCOMPARE(P().GaerProgFelder, quint8(14));
    QCOMPARE(P().GaerProgLaenge, quint8(56));
    QCOMPARE(Programm::GaerProgMaxLaenge, quint8(56));
}

void TestKonstanten::layoutUmschalten()
{
    GaerProgLayoutSetzen(false);
    QVERIFY(!P().FirmwareAb352);
    QCOMPARE(P().GaerProgFelder, quint8(13));
    QCOMPARE(P().GaerProgLaenge, quint8(52));
    QCOMPARE(Programm::GaerProgMaxLaenge, quint8(56));
    QCOMPARE(int(P().GaerProgFelder) * 4, int(P().GaerProgLaenge));

    GaerProgLayoutSetzen(false);
    QCOMPARE(P().GaerProgLaenge, quint8(52));

    GaerProgLayoutSetzen(true);
    QVERIFY(P().FirmwareAb352);
    QCOMPARE(P().GaerProgFelder, quint8(14));
    QCOMPARE(P().GaerProgLaenge, quint8(56));
}

// A fresh start begins with the 56-character layout again and with both firmware flags clear.
void TestKonstanten::startwerte()
{
    GaerProgLayoutSetzen(false);
    P().FirmwareGelesenAb352 = true;
    programm.reset();
    programm = std::make_unique<Programm>();
    QVERIFY(P().FirmwareAb352);
    QCOMPARE(P().GaerProgLaenge, quint8(56));
    QVERIFY(!P().FirmwareGelesenAb352);
    QVERIFY(!P().UhrNachFirmware);
    QCOMPARE(P().StatusPollSekunden, 1);
    QCOMPARE(P().CheckTimerSekunden, 90);
}

QTEST_GUILESS_MAIN(TestKonstanten)
#include "tst_konstanten.moc"
