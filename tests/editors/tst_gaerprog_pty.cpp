// The proofing-program editor against the simulated controller on a pseudo-terminal, driven
// through its own buttons: the list and one program read, changed and written back, in both
// program layouts; "Abbrechen" during a transfer.

#include "editor_umgebung.h"
#include "testtexte.h"
#include "controller/uQuorvelEngine.h"
#include "editors/uQuorvelGaerProg.h"
#include "support/uOberflaeche.h"
#include "support/uShowbox.h"
#include "windows/ptyfenster_umgebung.h"

#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// A program of the given layout whose values differ from slot to slot.
TQorGaerProg Prog(int Nr, bool Ab352)
{
    TQorGaerProg g;
    g.Nr = QString::number(Nr);
    g.Sch = {QString::number(-10 - Nr), QString(), QString::number(20 + Nr)};
    g.GU = {QString::number(-2 - Nr), QString(), QString()};
    g.GV = {QString::number(Nr), QString::number(60 + Nr), QString::number(300 + Nr)};
    g.GA = {QString::number(20 + Nr), QString::number(70 + Nr), QString::number(100 + Nr)};
    g.AB = {QString::number(10 + Nr), QString::number(50 + Nr), Ab352 ? QString::number(Nr) : QStringLiteral("0")};
    g.Backofenvorlauf = QString::number(40 + Nr);
    return g;
}

} // namespace

class TestGaerProgPty : public QObject
{
    Q_OBJECT
    std::unique_ptr<PtyFensterumgebung> u;
    QuorvelSimulator *sim = nullptr;
    std::unique_ptr<TwQuorvelGaerProg> gaer;

    // The program the simulator holds in slot Nr, decoded in the layout in force.
    TQorGaerProg imSimulator(int Nr) const
    {
        return HexZuGaerProg(QString::fromLatin1(sim->gaerProgramm(Nr)).left(P().GaerProgLaenge));
    }

    bool fertig(int ms = 30000)
    {
        return QTest::qWaitFor([this] { return !gaer->Gesperrt(); }, ms);
    }

    // Types into a value editor and leaves it with a click on the selected row.
    void aendern(TZahlenEdit *e, const QString &Text)
    {
        // The operator comes back to the editor from the result box.
        gaer->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(gaer.get()));
        e->setFocus(Qt::MouseFocusReason);
        e->Zeile()->selectAll();
        QTest::keyClicks(e->Zeile(), Text);
        const int r = gaer->Zeile();
        const QRect zelle = gaer->NamenListe->visualRect(gaer->NamenListe->model()->index(r, 1));
        QTest::mouseClick(gaer->NamenListe->viewport(), Qt::LeftButton, {}, zelle.center());
    }

    void zeileKlicken(int r)
    {
        const QRect zelle = gaer->NamenListe->visualRect(gaer->NamenListe->model()->index(r, 1));
        QTest::mouseClick(gaer->NamenListe->viewport(), Qt::LeftButton, {}, zelle.center());
    }

private slots:
    void initTestCase()
    {
        OberflaecheEinrichten();
    }
    void init()
    {
        u = std::make_unique<PtyFensterumgebung>(7);
        QVERIFY2(u->leitung.laeuft(), qPrintable(u->leitung.fehler()));
        sim = u->sim;
        QVERIFY(u->anschliessen());
        QVERIFY(u->angeschlossen());
        gaer = std::make_unique<TwQuorvelGaerProg>(u->fenster->KommandoEintrag());
        gaer->show();
        QVERIFY(QTest::qWaitForWindowExposed(gaer.get()));
        gaer->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(gaer.get()));
    }
    void cleanup()
    {
        gaer.reset();
        ShowboxenFreigeben();
        GaerProgLayoutSetzen(true);
        sim = nullptr;
        u.reset();
    }

    void listeUndProgramm_data()
    {
        QTest::addColumn<bool>("ab352");
        QTest::newRow("56 Zeichen") << true;
        QTest::newRow("52 Zeichen, alte Firmware") << false;
    }
    void listeUndProgramm()
    {
        QFETCH(bool, ab352);
        if (!ab352) {
            sim->setAlteFirmware(true);
            gaer->Warnung = [](const QString &, const QString &) { return QMessageBox::Yes; };
            gaer->Firmware_ab_352->click();
            QCOMPARE(int(P().GaerProgLaenge), 52);
        }
        for (int nr = 1; nr <= 10; ++nr)
            sim->setGaerProgramm(nr, GaerProgZuHex(Prog(nr, ab352)).toLatin1());

        // The list of ten.
        gaer->LesenGaer->click();
        QVERIFY(gaer->Gesperrt());
        QVERIFY(fertig());
        for (int nr = 1; nr <= 10; ++nr)
            QCOMPARE(gaer->Liste()[size_t(nr - 1)], Prog(nr, ab352));
        QCOMPARE(gaer->Zeile(), 1);

        // One value of program 4 changed, the list written back.
        zeileKlicken(4);
        QCOMPARE(gaer->P_GvTemp->Text(), QStringLiteral("4"));
        aendern(gaer->P_GvTemp, QStringLiteral("12"));
        QCOMPARE(gaer->Name(4), QStringLiteral("** Programm 04"));
        gaer->SendenGaer->click();
        QVERIFY(fertig());
        for (int nr = 1; nr <= 10; ++nr) {
            TQorGaerProg soll = Prog(nr, ab352);
            if (nr == 4)
                soll.GV.Temp = QStringLiteral("12");
            QCOMPARE(imSimulator(nr), soll);
        }

        // One program: program 7 read, its GA humidity changed, written back alone.
        zeileKlicken(7);
        gaer->LesenGaer_S->click();
        QVERIFY(fertig());
        QCOMPARE(gaer->P_GaFeu->Text(), QStringLiteral("77"));
        aendern(gaer->P_GaFeu, QStringLiteral("66"));
        gaer->SendenGaer_S->click();
        QVERIFY(fertig());
        TQorGaerProg soll = Prog(7, ab352);
        soll.GA.Feu = QStringLiteral("66");
        QCOMPARE(imSimulator(7), soll);
        QCOMPARE(imSimulator(6), Prog(6, ab352));
        QCOMPARE(imSimulator(8), Prog(8, ab352));
    }

    // "Abbrechen" during a list write: unlocked at once, the transfer ends without a result
    // box, and the line is free for the next request.
    void abbrechen()
    {
        for (int nr = 1; nr <= 10; ++nr)
            sim->setGaerProgramm(nr, GaerProgZuHex(Prog(nr, true)).toLatin1());
        gaer->SendenGaer->click();
        QVERIFY(QTest::qWaitFor([this] { return gaer->Gauge1->value() >= 20; }, 20000));
        gaer->Cancel->click();
        QVERIFY(!gaer->Gesperrt());
        QVERIFY(gaer->FortschrittPanel->isHidden());
        QTest::qWait(4000);
        QCOMPARE(OffeneBoxen().size(), 0);
        QVERIFY(!gaer->Gesperrt());

        // Program 9 was not reached by the aborted write.
        zeileKlicken(9);
        gaer->LesenGaer_S->click();
        QVERIFY(fertig());
        QCOMPARE(gaer->Liste()[8], Prog(9, true));
        QCOMPARE(imSimulator(1), TwQuorvelGaerProg::StandardProgramm(1));
    }

    // "Abbrechen" during a list read ends that read only: the next single read, whose first
    // reply has a wrong checksum, is retried and brings its program.
    void abbrechenDannEinzelLesen()
    {
        for (int nr = 1; nr <= 10; ++nr)
            sim->setGaerProgramm(nr, GaerProgZuHex(Prog(nr, true)).toLatin1());
        // The operator presses "Abbrechen" once program 3 is reported.
        auto abbrechen = std::make_shared<QMetaObject::Connection>();
        *abbrechen = connect(u->fenster.get(), &TwMiniQuorvel::Ergebnis, gaer.get(),
                             [this, abbrechen](qint32, const QString &, const QString &x) {
                                 if (x != QLatin1String("RestoreFortschritt=3"))
                                     return;
                                 disconnect(*abbrechen);
                                 QTimer::singleShot(0, gaer.get(), [this] { gaer->Cancel->click(); });
                             });
        auto fehler = [this](const QString &Text) {
            int n = 0;
            for (int i = 0; i < u->fenster->LBError->count(); ++i)
                n += u->fenster->LBError->item(i)->text().contains(Text);
            return n;
        };
        QuorvelService *service = u->fenster->Engine()->Service();

        gaer->LesenGaer->click();
        QVERIFY(QTest::qWaitFor([&] { return fehler(QStringLiteral("Benutzerabbruch!")) > 0; }, 20000));
        QVERIFY(!gaer->Gesperrt());
        // The heartbeat has taken the abort line.
        QVERIFY(QTest::qWaitFor([&] { return !P().Wartet && service->MakrosListe().isEmpty(); }, 5000));
        QCOMPARE(gaer->Liste()[2], TwQuorvelGaerProg::StandardProgramm(3));

        sim->stoerungEinplanen(QuorvelSimulator::FalschePruefsumme);
        zeileKlicken(3);
        gaer->LesenGaer_S->click();
        QVERIFY(gaer->Gesperrt());
        // Well before the editor's own time-out.
        QVERIFY(fertig(20000));
        QCOMPARE(gaer->Liste()[2], Prog(3, true));
        QCOMPARE(fehler(QStringLiteral("ChksmFehler Empfang!")), 1);
        QCOMPARE(fehler(QStringLiteral("Benutzerabbruch!")), 1);
        QCOMPARE(fehler(QStringLiteral("TIMEOUT")), 0);
        for (const QString &b : OffeneBoxTexte())
            QVERIFY2(!b.contains(QStringLiteral("Timeout")), qPrintable(b));
    }
};

QTEST_MAIN(TestGaerProgPty)
#include "tst_gaerprog_pty.moc"
