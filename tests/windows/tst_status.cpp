// Status poll and the status, fault, firmware and clock replies of the service window, on an
// engine that talks to the in-process controller simulator (no main window).

#include "testtexte.h"
#include "servicefenster_umgebung.h"
#include "status_satz.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

QStringList MemoZeilen(const QPlainTextEdit *m)
{
    const QString t = m->toPlainText();
    return t.isEmpty() ? QStringList() : t.split(QLatin1Char('\n'));
}

} // namespace

class TestStatus : public QObject
{
    Q_OBJECT
    std::unique_ptr<ServiceUmgebung> u;

    TwQuorvel *f() const { return u->fenster.get(); }

    // Output boxes of the service window as a bit mask (bit i = CheckBox i ticked).
    quint32 Ausgaenge() const
    {
        quint32 m = 0;
        for (int i = 0; i < 18; ++i)
            if (f()->Ausgang[size_t(i)]->isChecked())
                m |= 1u << i;
        return m;
    }
    bool AusgaengeRot() const { return f()->Ausgaenge->palette().color(QPalette::Window) == QColor(Qt::red); }
    bool AusgaengeNormal() const
    {
        return f()->Ausgaenge->palette().color(QPalette::Window) == QApplication::palette().color(QPalette::Button);
    }

    QStringList StoerZeilen() const
    {
        QStringList z;
        for (const QString &m : u->makros())
            if (m.startsWith(QLatin1String("0\tQ_Stoer\t")))
                z << m.mid(10);
        return z;
    }
    void QueueLeeren() { u->service()->Makros()->setStringList({}); }

    // A fault check at the given minute after a fixed start.
    void PruefenUm(const QString &anzahl, int minute)
    {
        const QDateTime t = QDateTime(QDate(2026, 12, 9), QTime(8, 0)).addSecs(60 * minute);
        f()->Jetzt = [t] { return t; };
        f()->StoerungenPruefen(anzahl);
    }

private slots:
    void init()
    {
        u = std::make_unique<ServiceUmgebung>();
        f()->StatusTimer->stop();
    }
    void cleanup() { u.reset(); }

    // ---- status poll ----------------------------------------------------------------

    void pollZeitgeber()
    {
        u.reset();
        u = std::make_unique<ServiceUmgebung>();
        QVERIFY(f()->StatusTimer->isActive());
        QCOMPARE(f()->StatusTimer->interval(), 2000);
        QCOMPARE(f()->StatusTimer, f()->findChild<QTimer *>(QStringLiteral("StatusTimer")));

        // A gated tick changes nothing, the timer keeps its first interval.
        f()->StatusPollen->setChecked(false);
        f()->StatusTimerTimer();
        QVERIFY(f()->StatusTimer->isActive());
        QCOMPARE(f()->StatusTimer->interval(), 2000);
        QVERIFY(u->makros().isEmpty());

        f()->StatusPollen->setChecked(true);
        f()->StatusTimerTimer();
        QVERIFY(f()->StatusTimer->isActive());
        QCOMPARE(f()->StatusTimer->interval(), 1000);
        QCOMPARE(u->makros(), QStringList{QStringLiteral("0\tQ_Status")});

        // At most one status line waits.
        f()->StatusTimerTimer();
        QCOMPARE(u->makros(), QStringList{QStringLiteral("0\tQ_Status")});
    }

    void pollBeiProgrammende()
    {
        f()->show();
        f()->StatusTimer->start();
        P().Beenden = true;
        f()->StatusTimerTimer();
        QVERIFY(!f()->isVisible());
        QVERIFY(!f()->StatusTimer->isActive());
        QVERIFY(u->makros().isEmpty());
    }

    void pollKuerztQueue_data()
    {
        QTest::addColumn<int>("vorher");
        QTest::addColumn<bool>("pollen");
        QTest::addColumn<int>("behalten");
        QTest::addColumn<bool>("statuszeile");
        QTest::newRow("201 Zeilen") << 201 << true << 25 << true;
        QTest::newRow("250 Zeilen") << 250 << true << 25 << true;
        QTest::newRow("200 Zeilen") << 200 << true << 200 << true;
        QTest::newRow("leer") << 0 << true << 0 << true;
        QTest::newRow("201 ohne StatusPollen") << 201 << false << 201 << false;
    }
    void pollKuerztQueue()
    {
        QFETCH(int, vorher);
        QFETCH(bool, pollen);
        QFETCH(int, behalten);
        QFETCH(bool, statuszeile);
        QStringList zeilen;
        for (int i = 0; i < vorher; ++i)
            zeilen << QStringLiteral("0\tQ_NivorellRd\t%1").arg(i);
        u->service()->Makros()->setStringList(zeilen);
        f()->StatusPollen->setChecked(pollen);
        f()->StatusTimerTimer();
        QStringList soll = zeilen.mid(0, behalten);
        if (statuszeile)
            soll << QStringLiteral("0\tQ_Status");
        QCOMPARE(u->makros(), soll);
    }

    // The poll's line runs as a status request in the engine.
    void pollLaeuftAlsStatusAnfrage()
    {
        f()->StatusAnzeigen->setChecked(true);
        f()->StatusTimerTimer();
        u->engine->Starten();
        QVERIFY(QTest::qWaitFor([&] { return f()->DateEdit_E->text() == QLatin1String("3_09.12.2026_14:30_0"); }, 5000));
        QCOMPARE(f()->PrgEdit->text(), QStringLiteral("GärPrg_1"));
        const QString frame = QStringLiteral("0600581017000000");
        QCOMPARE(u->sim->empfangeneFrames().first(), (frame + PruefsummeText(frame) + QLatin1Char('\r')).toLatin1());
    }

    // ---- status reply ---------------------------------------------------------------

    void statusImDienstfenster_data()
    {
        QTest::addColumn<QStringList>("felder");
        QTest::addColumn<QStringList>("soll");   // DateEdit, AnzStoer, AktBetr, AktUBetr, ProgNr, IstT, SollT, IstF, SollF, DrehVerd, PrgEdit
        QTest::newRow("Beispiel") << QStringList{}
            << QStringList{"3_09.12.2026_14:30_1", "0002", "0003", "0004", "5", "20", "22", "70", "80", "0123", "GärPrg_5"};
        QTest::newRow("Nivorell") << QStringList{"AKTBET=0008"}
            << QStringList{"3_09.12.2026_14:30_1", "0002", "0008", "0004", "5", "20", "22", "70", "80", "0123", "Nivorell_5"};
        QTest::newRow("Winter, Werte nicht programmiert") << QStringList{"SOMMER=0000", "TEMP=FFFF", "BPRNR=FFFF"}
            << QStringList{"3_09.12.2026_14:30_0", "0002", "0003", "0004", "65535", "FFFF", "22", "70", "80", "0123", "GärPrg_65535"};
        QTest::newRow("Tag und Sommer keine Zahl") << QStringList{"TAG=00x3", "SOMMER=FFFF", "AKTBET=00G0"}
            << QStringList{"-1_09.12.2026_14:30_-1", "0002", "00G0", "0004", "5", "20", "22", "70", "80", "0123", "GärPrg_5"};
    }
    void statusImDienstfenster()
    {
        QFETCH(QStringList, felder);
        QFETCH(QStringList, soll);
        f()->StatusAnzeigen->setChecked(true);
        QVERIFY(f()->StatusAntwort(StatusSatz(felder)));
        const QStringList ist{f()->DateEdit_E->text(), f()->AnzStoer_E->text(), f()->AktBetr_E->text(),
                              f()->AktUBetr_E->text(), f()->ProgNr_E->text(),   f()->IstT_E->text(),
                              f()->SollT_E->text(),    f()->IstF_E->text(),     f()->SollF_E->text(),
                              f()->DrehVerd_E->text(), f()->PrgEdit->text()};
        QCOMPARE(ist, soll);
        QCOMPARE(Ausgaenge(), (1u << 0) | (1u << 1) | (1u << 10));
    }

    void statusAnzeigenAus()
    {
        QVERIFY(!f()->StatusAnzeigen->isChecked());
        QVERIFY(f()->StatusAntwort(StatusSatz({"RELGRU=FFFF", "RELZUS=00FF"})));
        QCOMPARE(f()->DateEdit_E->text(), QStringLiteral("DateEdit"));
        QCOMPARE(f()->IstT_E->text(), QStringLiteral("IstT"));
        QCOMPARE(f()->AnzStoer_E->text(), QStringLiteral("AnzStoer_E"));
        QCOMPARE(Ausgaenge(), 0u);
        QCOMPARE(f()->PrgEdit->text(), QStringLiteral("GärPrg_5"));
        // The fault check runs all the same; the memo stays untouched.
        QCOMPARE(StoerZeilen(), (QStringList{"1", "2"}));
        QVERIFY(MemoZeilen(f()->StoerMemo).isEmpty());
    }

    void statusFalscheLaenge_data()
    {
        QTest::addColumn<QString>("daten");
        QTest::newRow("leer") << QString();
        QTest::newRow("63") << StatusSatz().left(63);
        QTest::newRow("65") << StatusSatz() + QLatin1Char('0');
    }
    void statusFalscheLaenge()
    {
        QFETCH(QString, daten);
        f()->StatusAnzeigen->setChecked(true);
        QVERIFY(f()->StatusAntwort(daten));
        QCOMPARE(f()->DateEdit_E->text(), QStringLiteral("DateEdit"));
        QCOMPARE(f()->PrgEdit->text(), QString());
        QVERIFY(u->makros().isEmpty());
    }

    void relais_data()
    {
        QTest::addColumn<QString>("grund");
        QTest::addColumn<QString>("zusatz");
        QTest::addColumn<bool>("rot");
        QTest::addColumn<quint32>("maske");
        const quint32 vorher = 0x2A5A5;   // left by the first reply of each case
        QTest::newRow("FFFF ticks 0 to 9") << "FFFF" << "0000" << false << 0x003FFu;
        QTest::newRow("second word 10 to 17") << "0000" << "00FF" << false << 0x3FC00u;
        QTest::newRow("unshown bits") << "FC00" << "FF00" << false << 0u;
        QTest::newRow("single bits") << "0200" << "0080" << false << ((1u << 9) | (1u << 17));
        QTest::newRow("00G0 red, unchanged") << "00G0" << "0001" << true << vorher;
        QTest::newRow("second word bad") << "0001" << "00g1" << true << vorher;
        QTest::newRow("empty word") << "0001" << "    " << true << vorher;
    }
    void relais()
    {
        QFETCH(QString, grund);
        QFETCH(QString, zusatz);
        QFETCH(bool, rot);
        QFETCH(quint32, maske);
        f()->StatusAnzeigen->setChecked(true);
        QVERIFY(f()->StatusAntwort(StatusSatz({"RELGRU=" + Hex4(0x2A5A5 & 0x3FF), "RELZUS=" + Hex4(0x2A5A5 >> 10)})));
        QCOMPARE(Ausgaenge(), 0x2A5A5u);
        QVERIFY(!AusgaengeRot());
        QVERIFY(f()->StatusAntwort(StatusSatz({"RELGRU=" + grund, "RELZUS=" + zusatz})));
        QCOMPARE(Ausgaenge(), maske);
        QCOMPARE(AusgaengeRot(), rot);
        // The other fields are shown all the same.
        QCOMPARE(f()->IstT_E->text(), QStringLiteral("20"));
        QCOMPARE(AusgaengeNormal(), !rot);
        if (rot) {
            QVERIFY(f()->StatusAntwort(StatusSatz()));
            QVERIFY(!AusgaengeRot());
            QVERIFY(AusgaengeNormal());
        }
    }

    // ---- fault check ----------------------------------------------------------------

    void stoerungenNeuLesen_data()
    {
        QTest::addColumn<QString>("erste");
        QTest::addColumn<QStringList>("ersteLesungen");
        QTest::addColumn<int>("minuten");
        QTest::addColumn<QString>("zweite");
        QTest::addColumn<QStringList>("zweiteLesungen");
        const QStringList zwei{"1", "2"};
        QTest::newRow("same count after 5 min") << "0002" << zwei << 5 << "0002" << QStringList{};
        QTest::newRow("same count after 20 min") << "0002" << zwei << 20 << "0002" << QStringList{};
        QTest::newRow("same count after 21 min") << "0002" << zwei << 21 << "0002" << zwei;
        QTest::newRow("count rises") << "0002" << zwei << 1 << "0003" << QStringList{"1", "2", "3"};
        QTest::newRow("count falls") << "0003" << QStringList{"1", "2", "3"} << 1 << "0001" << QStringList{"1"};
        QTest::newRow("count 0") << "0002" << zwei << 1 << "0000" << QStringList{};
        QTest::newRow("count no hex") << "0002" << zwei << 30 << "00G0" << QStringList{};
        QTest::newRow("count lower case") << "0002" << zwei << 30 << "000a" << QStringList{};
        QTest::newRow("ten faults, 8 reads") << "000A" << QStringList{"1", "2", "3", "4", "5", "6", "7", "8"} << 1
                                             << "000A" << QStringList{};
        QTest::newRow("first count no hex") << "zz" << QStringList{} << 1 << "0001" << QStringList{"1"};
    }
    void stoerungenNeuLesen()
    {
        QFETCH(QString, erste);
        QFETCH(QStringList, ersteLesungen);
        QFETCH(int, minuten);
        QFETCH(QString, zweite);
        QFETCH(QStringList, zweiteLesungen);
        PruefenUm(erste, 0);
        QCOMPARE(StoerZeilen(), ersteLesungen);
        QueueLeeren();
        PruefenUm(zweite, minuten);
        QCOMPARE(StoerZeilen(), zweiteLesungen);
    }

    void stoerungenZaehlerUndSlots()
    {
        f()->StatusAnzeigen->setChecked(true);
        f()->Stoerung = {11, 12, 13, 14, 15, 16, 17, 18};
        f()->StoerMemoZeile(QStringLiteral("alt"));
        PruefenUm(QStringLiteral("0003"), 0);
        QCOMPARE(f()->StoerAnzahl, 3);
        QCOMPARE(f()->Stoerung, (std::array<qint32, 8>{11, 12, 13, 0, 0, 0, 0, 0}));
        QCOMPARE(MemoZeilen(f()->StoerMemo), QStringList{QStringLiteral("Warte auf neue")});

        PruefenUm(QStringLiteral("0000"), 1);
        QCOMPARE(f()->StoerAnzahl, 0);
        QCOMPARE(f()->Stoerung, (std::array<qint32, 8>{}));
        QVERIFY(MemoZeilen(f()->StoerMemo).isEmpty());

        // After a count of 0 the same count as before is read again at once.
        QueueLeeren();
        PruefenUm(QStringLiteral("0003"), 2);
        QCOMPARE(StoerZeilen(), (QStringList{"1", "2", "3"}));

        // A count above 8 is kept as it is.
        PruefenUm(QStringLiteral("0010"), 3);
        QCOMPARE(f()->StoerAnzahl, 16);
    }

    void stoerungenMemoNurMitAnzeige()
    {
        f()->StoerMemoZeile(QStringLiteral("alt"));
        PruefenUm(QStringLiteral("0002"), 0);
        PruefenUm(QStringLiteral("0000"), 1);
        QCOMPARE(MemoZeilen(f()->StoerMemo), QStringList{QStringLiteral("alt")});
    }

    // ---- fault reply ----------------------------------------------------------------

    void stoerAntwort_data()
    {
        QTest::addColumn<QString>("daten");
        QTest::addColumn<int>("blockNr");
        QTest::addColumn<bool>("angenommen");
        QTest::addColumn<int>("code");
        QTest::newRow("4 characters") << "0005" << 3 << true << 5;
        QTest::newRow("slot 8") << "0101" << 8 << true << 0x101;
        QTest::newRow("16 characters, last 8 digits") << "FFFFFFFF00000012" << 1 << true << 0x12;
        QTest::newRow("4 characters no hex") << "00G1" << 2 << true << -1;
        QTest::newRow("8 characters") << "00000005" << 3 << false << 0;
        QTest::newRow("empty") << "" << 3 << false << 0;
        QTest::newRow("5 characters") << "00005" << 3 << false << 0;
        QTest::newRow("fault number 0") << "0005" << 0 << false << 0;
        QTest::newRow("fault number 9") << "0005" << 9 << false << 0;
        QTest::newRow("fault number -1") << "0005" << -1 << false << 0;
    }
    void stoerAntwort()
    {
        QFETCH(QString, daten);
        QFETCH(int, blockNr);
        QFETCH(bool, angenommen);
        QFETCH(int, code);
        f()->StatusAnzeigen->setChecked(true);
        P().BlockNr = blockNr;
        QCOMPARE(f()->StoerAntwort(daten), angenommen);
        std::array<qint32, 8> soll{};
        if (angenommen) {
            soll[size_t(blockNr - 1)] = code;
            QCOMPARE(MemoZeilen(f()->StoerMemo), QStringList{StoerungText(code)});
        } else {
            QVERIFY(MemoZeilen(f()->StoerMemo).isEmpty());
        }
        QCOMPARE(f()->Stoerung, soll);
    }

    // Status with faults, the fault reads and their texts, through the engine.
    void stoerungenUeberSimulator()
    {
        u->sim->setStoercode(1, 0x12);
        u->sim->setStoercode(2, 0x05);
        f()->StatusAnzeigen->setChecked(true);
        f()->StatusTimerTimer();
        u->engine->Starten();
        QVERIFY(QTest::qWaitFor([&] { return f()->Stoerung[1] == 0x05; }, 10000));
        QCOMPARE(f()->Stoerung, (std::array<qint32, 8>{0x12, 0x05, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(MemoZeilen(f()->StoerMemo),
                 (QStringList{QStringLiteral("Warte auf neue"), StoerungText(0x12), StoerungText(0x05)}));
        QCOMPARE(f()->AnzStoer_E->text(), QStringLiteral("0002"));

        // Unticking hides the display and keeps the lines; ticking lists the stored faults.
        f()->StatusAnzeigen->setChecked(false);
        QVERIFY(!f()->Ausgaenge->isVisibleTo(f()));
        QCOMPARE(MemoZeilen(f()->StoerMemo).size(), 3);
        f()->StatusAnzeigen->setChecked(true);
        QCOMPARE(MemoZeilen(f()->StoerMemo), (QStringList{StoerungText(0x12), StoerungText(0x05)}));
    }

    // ---- firmware -------------------------------------------------------------------

    void firmware_data()
    {
        QTest::addColumn<QString>("register1");
        QTest::addColumn<QString>("register2");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("nummer");
        QTest::addColumn<bool>("ab352");
        QTest::newRow("V352") << "5633" << "3532" << "V352" << 352 << true;
        QTest::newRow("V351") << "5633" << "3531" << "V351" << 351 << false;
        QTest::newRow("V400") << "5634" << "3030" << "V400" << 400 << true;
        QTest::newRow("second longer, first 4 count") << "5633" << "353100000000" << "V351" << 351 << false;
        QTest::newRow("second no hex") << "5633" << "00G0" << QStringLiteral("V3") + QChar(0) + QChar(255) << 352 << true;
        QTest::newRow("first no hex") << "zz33" << "3532" << QString(QChar(0)) + QChar(255) + "52" << 352 << true;
        QTest::newRow("digits not a number") << "5633" << "2E31" << "V3.1" << 352 << true;
        QTest::newRow("leading blank") << "5620" << "3531" << "V 51" << 51 << false;
    }
    void firmware()
    {
        QFETCH(QString, register1);
        QFETCH(QString, register2);
        QFETCH(QString, text);
        QFETCH(int, nummer);
        QFETCH(bool, ab352);
        P().FirmwareGelesenAb352 = !ab352;
        QuorvelBefehl *cmd = u->service()->Objekt(Q_FirmWare);
        cmd->Ausfuehren(0, QString());
        QCOMPARE(P().BlockNr, 1);
        QVERIFY(f()->FirmwareAntwort(register1));
        QCOMPARE(P().BlockNr, 2);
        QVERIFY(P().Wartet);
        QVERIFY(f()->FirmwareAntwort(register2));
        QCOMPARE(f()->FirmWareEdit->text(), text);
        QCOMPARE(f()->FirmwareNr, nummer);
        QCOMPARE(P().FirmwareGelesenAb352, ab352);
        QVERIFY(f()->FirmwareTeil.isEmpty());
        QVERIFY(!P().Wartet);
    }

    void firmwareErstesRegisterFalsch_data()
    {
        QTest::addColumn<QString>("daten");
        QTest::newRow("3") << "563";
        QTest::newRow("16") << "5633000000000000";
        QTest::newRow("leer") << "";
    }
    void firmwareErstesRegisterFalsch()
    {
        QFETCH(QString, daten);
        P().BlockNr = 1;
        QVERIFY(!f()->FirmwareAntwort(daten));
        QCOMPARE(u->service()->QorMeldung(), QStringList{QStringLiteral("Fehler bei Firmware lesen!")});
        QCOMPARE(MemoZeilen(f()->QorMeldung), QStringList{QStringLiteral("Fehler bei Firmware lesen!")});
        QVERIFY(f()->FirmwareTeil.isEmpty());
        QCOMPARE(f()->FirmWareEdit->text(), QStringLiteral("FirmWareEdit"));
    }

    void firmwareUeberSimulator()
    {
        u->sim->setFirmwareRegister(1, "5633");
        u->sim->setFirmwareRegister(2, "3531");
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("FWR\t00\t"));
        QVERIFY(QTest::qWaitFor([&] { return f()->FirmWareEdit->text() == QLatin1String("V351"); }, 5000));
        QVERIFY(QTest::qWaitFor([&] { return !P().Wartet; }, 2000));
        QVERIFY(!P().FirmwareGelesenAb352);
        QCOMPARE(u->sim->empfangeneFrames().size(), 2);
        QVERIFY(u->ergebnisse.isEmpty());
    }

    // ---- clock write ----------------------------------------------------------------

    void uhrSchreiben_data()
    {
        QTest::addColumn<bool>("alt");
        QTest::addColumn<QString>("sommer");
        QTest::addColumn<QList<int>>("register_");
        QTest::addColumn<QString>("sommerwort");
        QTest::newRow("V352 summer") << false << "1" << QList<int>{0x0B11, 0x0B12, 0x0809, 0x080A, 0x080B, 0x080C} << "0001";
        QTest::newRow("V352 winter") << false << "0" << QList<int>{0x0B11, 0x0B12, 0x0809, 0x080A, 0x080B, 0x080C} << "0000";
        QTest::newRow("V351 summer") << true << "1" << QList<int>{0x0B11, 0x0B12, 0x0B01, 0x0B02, 0x0B03, 0x0B13} << "0001";
    }
    void uhrSchreiben()
    {
        QFETCH(bool, alt);
        QFETCH(QString, sommer);
        QFETCH(QList<int>, register_);
        QFETCH(QString, sommerwort);
        u->sim->setAlteFirmware(alt);
        P().FirmwareGelesenAb352 = alt;   // the read decides, not what was known before
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("DTW\t00\t") + sommer);
        QVERIFY(QTest::qWaitFor([&] { return !u->ergebnisse.isEmpty(); }, 10000));
        QCOMPARE(u->ergebnisse.size(), 1);
        QCOMPARE(u->ergebnisse[0].topic, QStringLiteral("QUORVELTIME"));
        QCOMPARE(u->ergebnisse[0].text, QStringLiteral("SendACK"));
        QCOMPARE(u->service()->QorMeldung().last(), QStringLiteral("Uhrzeit und Datum erfolgreich übertragen"));
        QCOMPARE(P().FirmwareGelesenAb352, !alt);
        QCOMPARE(f()->FirmWareEdit->text(), alt ? QStringLiteral("V351") : QStringLiteral("V352"));
        QVERIFY(!P().Wartet);
        QVERIFY(!P().UhrNachFirmware);

        const QList<QByteArray> frames = u->sim->empfangeneFrames();
        QCOMPARE(frames.size(), register_.size());
        for (int i = 0; i < frames.size(); ++i)
            QCOMPARE(frames[i].mid(8, 4), Hex4(register_[i]).toLatin1());
        QCOMPARE(frames.last().mid(12, 4), sommerwort.toLatin1());
        QCOMPARE(u->sim->uhrRegister(register_.last()), sommerwort.toLatin1());
        QVERIFY(u->fehler.isEmpty());
    }

    void uhrBlockAntwort_data()
    {
        QTest::addColumn<QString>("daten");
        QTest::addColumn<int>("blockNr");
        QTest::addColumn<bool>("angenommen");
        QTest::addColumn<int>("naechsterBlock");
        QTest::newRow("block 1") << "1430" << 1 << true << 2;
        QTest::newRow("block 3") << "2026" << 3 << true << 4;
        QTest::newRow("3 characters") << "143" << 1 << false << 1;
        QTest::newRow("16 characters") << "1430000000000000" << 2 << false << 2;
        QTest::newRow("no such block") << "0001" << 5 << false << 5;
    }
    void uhrBlockAntwort()
    {
        QFETCH(QString, daten);
        QFETCH(int, blockNr);
        QFETCH(bool, angenommen);
        QFETCH(int, naechsterBlock);
        P().AktuellerBefehl = u->service()->Objekt(Q_TimeWr);
        P().BlockNr = blockNr;
        QCOMPARE(f()->ZeitSendenAntwort(daten), angenommen);
        QCOMPARE(P().BlockNr, naechsterBlock);
        QVERIFY(u->ergebnisse.isEmpty());
        if (daten.size() != 4)
            QCOMPARE(u->service()->QorMeldung(), QStringList{QStringLiteral("Fehler bei Datum senden!")});
    }

    // A bad clock-block reply restarts the command from its firmware read.
    void uhrSchreibenNachFehler()
    {
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("DTW\t00\t1"));
        // Replies 1 and 2 are the firmware registers; the third is the first clock block.
        connect(u->sim.get(), &QuorvelSimulator::frameEmpfangen, this, [this](const QByteArray &) {
            if (u->sim->empfangeneFrames().size() == 3)
                u->sim->stoerungEinplanen(QuorvelSimulator::FalscheLaenge, 1, "4");
        });
        QVERIFY(QTest::qWaitFor([&] { return !u->ergebnisse.isEmpty(); }, 15000));
        QCOMPARE(u->ergebnisse[0].text, QStringLiteral("SendACK"));
        const QList<QByteArray> frames = u->sim->empfangeneFrames();
        QCOMPARE(frames.size(), 9);
        QCOMPARE(frames[3].mid(8, 4), QByteArray("0B11"));
    }

    // ---- memos ----------------------------------------------------------------------

    void memoHoechstens1001Zeilen()
    {
        for (int i = 0; i < 1005; ++i) {
            f()->StoerMemoZeile(QString::number(i));
            f()->MeldungMemoZeile(QString::number(i));
        }
        for (const QStringList &z : {MemoZeilen(f()->StoerMemo), MemoZeilen(f()->QorMeldung), u->service()->QorMeldung()}) {
            QCOMPARE(z.size(), 1001);
            QCOMPARE(z.first(), QStringLiteral("4"));
            QCOMPARE(z.last(), QStringLiteral("1004"));
        }
    }

    // A window that is gone leaves no decoder behind: replies are accepted and go nowhere.
    void fensterWegDekoderLeer()
    {
        f()->StatusAnzeigen->setChecked(true);
        u->fenster.reset();
        const QuorvelDekoder &d = u->service()->Dekoder;
        QVERIFY(!d.StatusAntwort && !d.StoerAntwort && !d.FirmwareAntwort && !d.ZeitSendenAntwort);
        QVERIFY(!d.WoPrgLesenAntwort && !d.WoPrgSendenAntwort && !d.GaerLesenAntwort && !d.GaerSendenAntwort);
        QVERIFY(!d.NvLesenAntwort && !d.NvSendenAntwort);
        u->sim->setStoercode(1, 0x12);
        u->service()->MakroHinzufuegen(QStringLiteral("0\tQ_Status"));
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("FWR\t00\t"));
        u->engine->Starten();
        QVERIFY(QTest::qWaitFor([&] { return u->sim->empfangeneFrames().size() >= 2 && !P().Wartet && u->makros().isEmpty(); }, 5000));
        QVERIFY(u->fehler.isEmpty());
    }

    void meldungAnHauptfensterOhneHauptfenster()
    {
        MeldungAnHauptfenster(0, QStringLiteral("QORWOCHPROG"), QStringLiteral("SendNAK"));
        QCOMPARE(u->ergebnisse.size(), 1);
        QCOMPARE(u->ergebnisse[0].topic, QStringLiteral("QORWOCHPROG"));
        QCOMPARE(u->ergebnisse[0].text, QStringLiteral("SendNAK"));
    }
};

QTEST_MAIN(TestStatus)
#include "tst_status.moc"
