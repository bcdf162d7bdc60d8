// The status reply in both windows, the poll's main-window gate and the clock result, with the
// real main window on a pseudo-terminal to the controller simulator.

#include "controller/ComPort.h"
#include "controller/uQuorvelEngine.h"
#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"
#include "status_satz.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "windows/uMiniQuorvel.h"
#include "windows/uQuorvel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

class TestStatusHauptfenster : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<Programm> programm;
    std::unique_ptr<QuorvelSimulator> sim;
    std::unique_ptr<PtySimulator> pty;
    std::unique_ptr<TwMiniQuorvel> haupt;
    QList<QPair<QString, QString>> ergebnisse;

    TwQuorvel *dienst() const { return haupt->BefehlsFenster(); }

    quint32 Relais() const
    {
        quint32 m = 0;
        for (int i = 0; i < 18; ++i)
            if (haupt->Relais[size_t(i)]->isChecked())
                m |= 1u << i;
        return m;
    }
    quint32 DienstAusgaenge() const
    {
        quint32 m = 0;
        for (int i = 0; i < 18; ++i)
            if (dienst()->Ausgang[size_t(i)]->isChecked())
                m |= 1u << i;
        return m;
    }

private slots:
    void initTestCase() { OberflaecheEinrichten(); }

    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        programm = std::make_unique<Programm>();
        P().Programmverzeichnis = dir->path() + QLatin1Char('/');
        sim = std::make_unique<QuorvelSimulator>(QStringLiteral("0600"));
        pty = std::make_unique<PtySimulator>(sim.get());
        QVERIFY2(pty->starten(dir->path(), 7), qPrintable(pty->fehler()));
        haupt = std::make_unique<TwMiniQuorvel>();
        // A port stored in the user settings must not lead elsewhere.
        haupt->Port()->setComNumber(7);
        ergebnisse.clear();
        connect(haupt.get(), &TwMiniQuorvel::Ergebnis, this,
                [this](qint32, const QString &t, const QString &x) { ergebnisse << qMakePair(t, x); });
        QVERIFY(dienst());
        // No poll of its own in between: the tests hand the replies in themselves.
        dienst()->StatusTimer->stop();
        QVERIFY(haupt->DateEdit_E && haupt->AktBetr_E && haupt->AktUBetr_E && haupt->IstT_E);
        for (QCheckBox *cb : haupt->Relais)
            QVERIFY(cb);
    }
    void cleanup()
    {
        haupt.reset();
        pty.reset();
        sim.reset();
        programm.reset();
        dir.reset();
    }

    void anzeigeHauptfenster_data()
    {
        QTest::addColumn<QStringList>("felder");
        QTest::addColumn<QStringList>("soll");   // DateEdit, AnzStoer, AktBetr, AktUBetr, ProgNr, IstT, SollT, IstF, SollF, DrehVerd, PrgEdit
        QTest::newRow("Beispiel") << QStringList{}
            << QStringList{"09.12.2026_14:30, Sommer", "0002", "3:GV-Dauerbetrieb", "4:Gären", "5", "20", "22", "70", "80", "0123", "GärPrg_5"};
        QTest::newRow("Nivorell") << QStringList{"AKTBET=0008", "BPRNR=0003"}
            << QStringList{"09.12.2026_14:30, Sommer", "0002", "8:Nivorell", "4:Gären", "3", "20", "22", "70", "80", "0123", "Nivorell_3"};
        QTest::newRow("Winter") << QStringList{"SOMMER=0000"}
            << QStringList{"09.12.2026_14:30, Winter", "0002", "3:GV-Dauerbetrieb", "4:Gären", "5", "20", "22", "70", "80", "0123", "GärPrg_5"};
        QTest::newRow("Sommer FFFF") << QStringList{"SOMMER=FFFF"}
            << QStringList{"09.12.2026_14:30", "0002", "3:GV-Dauerbetrieb", "4:Gären", "5", "20", "22", "70", "80", "0123", "GärPrg_5"};
        QTest::newRow("Modus und Phase keine Zahl") << QStringList{"AKTBET=00G0", "AKTUBE=    "}
            << QStringList{"09.12.2026_14:30, Sommer", "0002", "-1:Error", "-1:Error", "5", "20", "22", "70", "80", "0123", "GärPrg_5"};
        QTest::newRow("Modus ausserhalb") << QStringList{"AKTBET=0009", "AKTUBE=0007"}
            << QStringList{"09.12.2026_14:30, Sommer", "0002", "9:Error", "7:Nivorell", "5", "20", "22", "70", "80", "0123", "GärPrg_5"};
        QTest::newRow("Wochentag keine Zahl") << QStringList{"TAG=FFFF"}
            << QStringList{"09.12.2026_14:30, Sommer", "0002", "3:GV-Dauerbetrieb", "4:Gären", "5", "20", "22", "70", "80", "0123", "GärPrg_5"};
        QTest::newRow("Wochentag zweistellig") << QStringList{"TAG=0012"}
            << QStringList{"09.12.2026_14:30, Sommer", "0002", "3:GV-Dauerbetrieb", "4:Gären", "5", "20", "22", "70", "80", "0123", "GärPrg_5"};
    }
    void anzeigeHauptfenster()
    {
        QFETCH(QStringList, felder);
        QFETCH(QStringList, soll);
        QVERIFY(!dienst()->StatusAnzeigen->isChecked());
        QVERIFY(dienst()->StatusAntwort(StatusSatz(felder)));
        const QStringList ist{haupt->DateEdit_E->text(), haupt->AnzStoer_E->text(), haupt->AktBetr_E->text(),
                              haupt->AktUBetr_E->text(), haupt->ProgNr_E->text(),   haupt->IstT_E->text(),
                              haupt->SollT_E->text(),    haupt->IstF_E->text(),     haupt->SollF_E->text(),
                              haupt->DrehVerd_E->text(), dienst()->PrgEdit->text()};
        QCOMPARE(ist, soll);
        // Störung, Licht and Kompressor B.
        QCOMPARE(Relais(), (1u << 0) | (1u << 1) | (1u << 10));
        // The service window's own display stays as it was while StatusAnzeigen is off.
        QCOMPARE(DienstAusgaenge(), 0u);
        QCOMPARE(dienst()->DateEdit_E->text(), QStringLiteral("DateEdit"));
        QCOMPARE(dienst()->AktBetr_E->text(), QStringLiteral("AktBetr_E"));
    }

    void beideFensterMitStatusAnzeigen()
    {
        dienst()->StatusAnzeigen->setChecked(true);
        QVERIFY(dienst()->StatusAntwort(StatusSatz()));
        QCOMPARE(dienst()->DateEdit_E->text(), QStringLiteral("3_09.12.2026_14:30_1"));
        QCOMPARE(haupt->DateEdit_E->text(), QStringLiteral("09.12.2026_14:30, Sommer"));
        QCOMPARE(dienst()->AktBetr_E->text(), QStringLiteral("0003"));
        QCOMPARE(haupt->AktBetr_E->text(), QStringLiteral("3:GV-Dauerbetrieb"));
        QCOMPARE(DienstAusgaenge(), Relais());
    }

    void relaisWorte()
    {
        QVERIFY(dienst()->StatusAntwort(StatusSatz({"RELGRU=FFFF", "RELZUS=0000"})));
        QCOMPARE(Relais(), 0x3FFu);
        QVERIFY(dienst()->StatusAntwort(StatusSatz({"RELGRU=00G0", "RELZUS=00FF"})));
        QCOMPARE(Relais(), 0x3FFu);
        QCOMPARE(dienst()->Ausgaenge->palette().color(QPalette::Window), QColor(Qt::red));
        QCOMPARE(haupt->IstT_E->text(), QStringLiteral("20"));
        QVERIFY(dienst()->StatusAntwort(StatusSatz({"RELGRU=0000", "RELZUS=00FF"})));
        QCOMPARE(Relais(), 0x3FC00u);
        QVERIFY(dienst()->Ausgaenge->palette().color(QPalette::Window) != QColor(Qt::red));
    }

    void pollNurMitAlleStatusPollen()
    {
        QVERIFY(haupt->AlleStatusPollen);
        QVERIFY(haupt->AlleStatusPollen->isChecked());
        QStringList zeilen;
        for (int i = 0; i < 201; ++i)
            zeilen << QStringLiteral("0\tQ_NivorellRd\t%1").arg(i);
        QStringListModel *makros = haupt->Engine()->Service()->Makros();
        haupt->Engine()->TimerHerz->stop();
        makros->setStringList(zeilen);
        haupt->AlleStatusPollen->setChecked(false);
        dienst()->StatusTimerTimer();
        QCOMPARE(makros->stringList(), zeilen);
        haupt->AlleStatusPollen->setChecked(true);
        dienst()->StatusTimerTimer();
        QCOMPARE(makros->rowCount(), 26);
        QCOMPARE(makros->stringList().last(), QStringLiteral("0\tQ_Status"));
        makros->setStringList({});
    }

    // The clock write goes on after the firmware read and reports to the main window's router.
    void uhrzeitSetzen()
    {
        haupt->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("DTW\t00\t1"));
        QVERIFY(QTest::qWaitFor([&] { return !ergebnisse.isEmpty(); }, 20000));
        QCOMPARE(ergebnisse.first(), qMakePair(QStringLiteral("QUORVELTIME"), QStringLiteral("SendACK")));
        QCOMPARE(sim->empfangeneFrames().size(), 6);
        QCOMPARE(sim->uhrRegister(QuorvelSimulator::RegSommer352), QByteArray("0001"));
        QCOMPARE(dienst()->FirmWareEdit->text(), QStringLiteral("V352"));
        QVERIFY(P().FirmwareGelesenAb352);
        QCOMPARE(haupt->Engine()->Service()->QorMeldung().last(),
                 QStringLiteral("Uhrzeit und Datum erfolgreich übertragen"));
    }

    void meldungAnHauptfenster()
    {
        MeldungAnHauptfenster(0, QStringLiteral("QORNIVORELL"), QStringLiteral("SendNAK"));
        QCOMPARE(ergebnisse.size(), 1);
        QCOMPARE(ergebnisse.first(), qMakePair(QStringLiteral("QORNIVORELL"), QStringLiteral("SendNAK")));
    }
};

QTEST_MAIN(TestStatusHauptfenster)
#include "tst_status_hauptfenster.moc"
