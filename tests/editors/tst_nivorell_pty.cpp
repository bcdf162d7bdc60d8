// The Nivorell editor's buttons against the simulator on a pseudo-terminal, through the main
// window, its engine and the serial port: list and single program read and written,
// "Abbrechen" during a list read, and a list read from the controller saved and reopened.

#include "anzeigetexte.h"
#include "testtexte.h"
#include "windows/ptyfenster_umgebung.h"

#include "editors/uQuorvelNivorell.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uShowbox.h"
#include "support/uDateiDialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class TestNivorellPty : public QObject
{
    Q_OBJECT

    std::unique_ptr<PtyFensterumgebung> u;
    QuorvelSimulator *sim = nullptr;
    std::unique_ptr<TwQuorvelNivorell> f;
    TwMiniQuorvel *haupt = nullptr;
    QStringList ergebnisse;   // "TOPIC|text" of every result routed

    // Presses the button and waits until the editor is unlocked by a result and the engine is
    // idle again.
    bool ausfuehren(QPushButton *Knopf, int ms = 30000)
    {
        const qsizetype vorher = ergebnisse.size();
        Knopf->click();
        if (!f->Gesperrt())
            return false;
        return QTest::qWaitFor([&] {
            for (qsizetype i = vorher; i < ergebnisse.size(); ++i)
                if (!ergebnisse.at(i).startsWith(QLatin1String("MELDUNG|")))
                    return !f->Gesperrt() && !P().Wartet;
            return false;
        }, ms);
    }
    QString letztes() const
    {
        for (qsizetype i = ergebnisse.size() - 1; i >= 0; --i)
            if (!ergebnisse.at(i).startsWith(QLatin1String("MELDUNG|")))
                return ergebnisse.at(i).section(QLatin1Char('|'), 0, 0) + QLatin1Char('|')
                     + ergebnisse.at(i).section(QLatin1Char('|'), 1).left(20);
        return QString();
    }

private slots:
    void init()
    {
        u = std::make_unique<PtyFensterumgebung>(11);
        QVERIFY2(u->leitung.laeuft(), qPrintable(u->leitung.fehler()));
        sim = u->sim;
        for (int nr = 1; nr <= 10; ++nr)
            sim->setNivorellProgramm(nr, NvHex(nr).toLatin1());
        haupt = u->anschliessen();
        QVERIFY(u->angeschlossen());
        f = std::make_unique<TwQuorvelNivorell>(haupt->KommandoEintrag());
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        ergebnisse.clear();
        connect(haupt, &TwMiniQuorvel::Ergebnis, this,
                [this](qint32, const QString &t, const QString &x) { ergebnisse << t + QLatin1Char('|') + x; });
    }
    void cleanup()
    {
        f.reset();
        ShowboxenFreigeben();
        u.reset();
    }

    // The list read fills the ten slots and the names; saved and reopened it stays the same.
    void listeLesenUndDatei()
    {
        f->ZeileWaehlen(3);
        f->NivorellGridExit(); // a mark, dropped by the received list
        QVERIFY(ausfuehren(f->LesenListe));
        QCOMPARE(letztes(), QStringLiteral("QORNIVOLISTE|") + NvHex(1).left(20));
        for (int nr = 1; nr <= 10; ++nr)
            QCOMPARE(f->Liste()[size_t(nr - 1)], HexZuNivorell(NvHex(nr)));
        QCOMPARE(f->Name(3), QStringLiteral("Programm 03"));
        QCOMPARE(f->Zeile(), 1);
        QCOMPARE(f->LetzterFortschritt(), 90);
        QVERIFY(f->FortschrittPanel->isHidden());
        QCOMPARE(f->NivorellGrid->item(1, 2)->text(), HexZuNivorell(NvHex(1)).Schritte[0].Temp);

        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("steuerung.NVR"));
        f->Dateidialog = [&](const TDateiDialog &) { return pfad; };
        f->SpeichernListe->click();
        const auto gelesen = f->Liste();
        f->NeueListe();
        f->LadenListe->click();
        QCOMPARE(f->Liste(), gelesen);
    }

    // The list write sends the ten slots as stored.
    void listeSchreiben()
    {
        for (int nr = 1; nr <= 10; ++nr)
            f->ProgrammAnzeigen(HexZuNivorell(NvHex(nr, 200)));
        QVERIFY(ausfuehren(f->SendenListe));
        QCOMPARE(letztes(), QStringLiteral("QORNIVOLISTE|SendACK"));
        for (int nr = 1; nr <= 10; ++nr)
            QCOMPARE(QString::fromLatin1(sim->nivorellProgramm(nr)), NvHex(nr, 200));
        QVERIFY(Boxen().contains(QStringLiteral("Meldung|Nivorell-Programm|erfolgreich übertragen!")));
    }

    // One program: read into the slot of its number; written from the step grid.
    void einzeln()
    {
        f->ZeileWaehlen(6);
        QVERIFY(ausfuehren(f->LesenEinzeln));
        QCOMPARE(f->Liste()[5], HexZuNivorell(NvHex(6)));
        QCOMPARE(f->Zeile(), 6);
        QCOMPARE(f->NivorellGrid->item(2, 3)->text(), HexZuNivorell(NvHex(6)).Schritte[1].Feu);

        f->ZeileWaehlen(4);
        f->NivorellGrid->item(3, 2)->setText(QStringLiteral("-12"));
        f->NivorellGrid->item(3, 1)->setText(QStringLiteral("02:15"));
        const TQorNivorell soll = f->GridZuProgramm();
        QVERIFY(ausfuehren(f->SendenEinzeln));
        QCOMPARE(letztes(), QStringLiteral("QORNIVORELL|SendACK"));
        QCOMPARE(QString::fromLatin1(sim->nivorellProgramm(4)), NivorellZuHex(soll));
        QCOMPARE(HexZuNivorell(QString::fromLatin1(sim->nivorellProgramm(4))).Schritte[2],
                 (TQorProgElement{"-12", HexZuNivorell(NvHex(6)).Schritte[2].Feu, "135"}));
        // The other programs are untouched.
        QCOMPARE(QString::fromLatin1(sim->nivorellProgramm(5)), NvHex(5));
    }

    // "Abbrechen" during a list read sends nothing: the read goes on, the editor stays locked
    // without its panel until the list arrives.
    void abbrechenBeimListenLesen()
    {
        // Slow replies, so that the read is still under way when the button is pressed.
        sim->stoerungEinplanen(QuorvelSimulator::Verzoegerung, 60, "30");
        f->LesenListe->click();
        QVERIFY(QTest::qWaitFor([&] { return f->Gauge1->value() >= 10; }, 20000));
        const QList<QByteArray> vorher = sim->empfangeneFrames();
        f->Cancel->click();
        QVERIFY(f->Gesperrt());
        QVERIFY(f->FortschrittPanel->isHidden());
        QVERIFY(!P().Abbruch);
        QVERIFY(QTest::qWaitFor([&] { return !f->Gesperrt(); }, 30000));
        QCOMPARE(letztes(), QStringLiteral("QORNIVOLISTE|") + NvHex(1).left(20));
        for (int nr = 1; nr <= 10; ++nr)
            QCOMPARE(f->Liste()[size_t(nr - 1)], HexZuNivorell(NvHex(nr)));
        QVERIFY(sim->empfangeneFrames().size() > vorher.size());
        QCOMPARE(f->Gauge1->value(), 0);
        QVERIFY(Boxen().isEmpty());
    }
};

QTEST_MAIN(TestNivorellPty)
#include "tst_nivorell_pty.moc"
