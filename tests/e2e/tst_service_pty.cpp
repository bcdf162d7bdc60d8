// The service window's buttons against the simulator on a pseudo-terminal, through the main
// window, its engine and the serial port: every transfer once, the clock in both firmware
// families, the firmware read, an abort during a list read and a firmware read left
// unanswered. The results reach the editors and the main window.

#include "anzeigetexte.h"
#include "testtexte.h"
#include "windows/ptyfenster_umgebung.h"

#include "controller/ComPort.h"
#include "controller/uQuorvelEngine.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uShowbox.h"
#include "windows/uQuorvel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

QString WocheHex(int basis)
{
    QString t;
    for (int d = 0; d < 7; ++d)
        t += Hex4(d + 1) + Hex4(2) + Hex4(1) + Hex4(basis + 15 * d);
    return t;
}

} // namespace

class TestServicePty : public QObject
{
    Q_OBJECT

    std::unique_ptr<PtyFensterumgebung> u;
    QuorvelSimulator *sim = nullptr;
    std::unique_ptr<TwQuorvelNivorell> nivorell;
    std::unique_ptr<TwQuorvelGaerProg> gaer;
    TwMiniQuorvel *haupt = nullptr;
    TwQuorvel *s = nullptr;
    QStringList ergebnisse;   // "TOPIC|text" of every result routed

    void starten(bool alteFirmware = false)
    {
        u = std::make_unique<PtyFensterumgebung>(9);
        QVERIFY2(u->leitung.laeuft(), qPrintable(u->leitung.fehler()));
        sim = u->sim;
        sim->setAlteFirmware(alteFirmware);
        for (int nr = 1; nr <= 10; ++nr) {
            sim->setGaerProgramm(nr, GaerHex(nr).toLatin1());
            sim->setNivorellProgramm(nr, NvHex(nr).toLatin1());
        }
        sim->setWochenprogramm(WocheHex(360).toLatin1());
        haupt = u->anschliessen();
        QVERIFY(u->angeschlossen());
        nivorell = std::make_unique<TwQuorvelNivorell>(haupt->KommandoEintrag());
        gaer = std::make_unique<TwQuorvelGaerProg>(haupt->KommandoEintrag());
        s = haupt->BefehlsFenster();
        QVERIFY(s);
        s->show();
        connect(haupt, &TwMiniQuorvel::Ergebnis, this,
                [this](qint32, const QString &t, const QString &x) { ergebnisse << t + QLatin1Char('|') + x; });
    }

    // Presses the button and waits until a result other than progress has arrived and the
    // engine is idle again.
    bool ausfuehren(QPushButton *knopf, int ms = 30000)
    {
        const qsizetype vorher = ergebnisse.size();
        knopf->click();
        return QTest::qWaitFor([&] {
            for (qsizetype i = vorher; i < ergebnisse.size(); ++i)
                if (!ergebnisse.at(i).startsWith(QLatin1String("MELDUNG|")))
                    return !P().Wartet && s->Service()->MakrosListe().isEmpty();
            return false;
        }, ms);
    }
    QString letztes() const
    {
        for (qsizetype i = ergebnisse.size() - 1; i >= 0; --i)
            if (!ergebnisse.at(i).startsWith(QLatin1String("MELDUNG|")))
                return ergebnisse.at(i);
        return QString();
    }
    QStringList fehlerZeilen() const
    {
        QStringList l;
        for (int i = 0; i < haupt->LBError->count(); ++i)
            l << haupt->LBError->item(i)->text();
        return l;
    }

private slots:
    void cleanup()
    {
        gaer.reset();
        nivorell.reset();
        if (u)
            u->fenster.reset();
        haupt = nullptr;
        s = nullptr;
        sim = nullptr;
        ShowboxenFreigeben();
        u.reset();
        ergebnisse.clear();
    }

    // One proofing program read and written back; the editor holds it in its slot.
    void gaerEinzeln()
    {
        starten();
        s->ShowGaer->click();
        s->P_Nr->setText(QStringLiteral("3"));
        QVERIFY(ausfuehren(s->LesenGPrg));
        QCOMPARE(letztes(), QStringLiteral("QORGAERPROG|") + GaerHex(3));
        QCOMPARE(gaer->Liste()[2], HexZuGaerProg(GaerHex(3)));
        QCOMPARE(s->GaerProgAusFeldern(), HexZuGaerProg(GaerHex(3)));

        // Back to the controller as program 5, with one value changed.
        s->P_Nr->setText(QStringLiteral("5"));
        s->P_GvFeu->setText(QStringLiteral("60"));
        QVERIFY(ausfuehren(s->SendenGPrg));
        QCOMPARE(letztes(), QStringLiteral("QORGAERPROG|SendACK"));
        QString soll = GaerHex(3);
        soll.replace(0, 4, Hex4(5));
        soll.replace(6 * 4, 4, Hex4((60 + 80) * 5));
        QCOMPARE(QString::fromLatin1(sim->gaerProgramm(5)), soll);
        QVERIFY(!gaer->Gesperrt());
        QVERIFY(Boxen().contains(QStringLiteral("Meldung|Gaerprogramm|erfolgreich übertragen!")));
    }

    // The list of ten read into the editor and the window, then the window's stored list
    // written back unchanged by what the editors show.
    void gaerListe()
    {
        starten();
        s->ShowGaer->click();
        s->TakeRecord->setChecked(true);
        QVERIFY(ausfuehren(s->LesenGPrg));
        QVERIFY(letztes().startsWith(QLatin1String("QORGAERLISTE|")));
        QVERIFY(QTest::qWaitFor([this] { return gaer->Liste()[9] == HexZuGaerProg(GaerHex(10)); }, 5000));
        QCOMPARE(gaer->Liste()[0], HexZuGaerProg(GaerHex(1)));
        QCOMPARE(s->GaerListe[4], HexZuGaerProg(GaerHex(5)));
        QVERIFY(ergebnisse.contains(QStringLiteral("MELDUNG|RestoreFortschritt=9")));

        for (int nr = 1; nr <= 10; ++nr) {
            s->GaerListe[size_t(nr - 1)] = HexZuGaerProg(GaerHex(nr, 300));
            sim->setGaerProgramm(nr, GaerHex(nr).toLatin1());
        }
        s->P_GvTemp->setText(QStringLiteral("1"));
        QVERIFY(ausfuehren(s->SendenGPrg));
        QCOMPARE(letztes(), QStringLiteral("QORGAERLISTE|SendACK"));
        for (int nr = 1; nr <= 10; ++nr)
            QCOMPARE(QString::fromLatin1(sim->gaerProgramm(nr)), GaerHex(nr, 300));
    }

    void nivorellEinzeln()
    {
        starten();
        s->ShowNivoR->click();
        s->NivoRPrgNr->setText(QStringLiteral("6"));
        QVERIFY(ausfuehren(s->LesenNivoR));
        QCOMPARE(letztes(), QStringLiteral("QORNIVORELL|") + NvHex(6));
        QVERIFY(QTest::qWaitFor([this] { return nivorell->Liste()[5] == HexZuNivorell(NvHex(6)); }, 5000));
        QCOMPARE(s->NvAusGitter().Schritte[3].Temp, HexZuNivorell(NvHex(6)).Schritte[3].Temp);

        s->NivoRPrgNr->setText(QStringLiteral("2"));
        s->NivorellGrid->item(1, 1)->setText(QStringLiteral("25"));
        s->NivorellGrid->setCurrentCell(8, 2);
        QVERIFY(ausfuehren(s->SendenNivoR));
        QCOMPARE(letztes(), QStringLiteral("QORNIVORELL|SendACK"));
        const QString gesendet = QString::fromLatin1(sim->nivorellProgramm(2));
        QCOMPARE(gesendet.left(4), Hex4(2));
        QCOMPARE(gesendet.mid(8, 4), Hex4((25 + 80) * 5));
        QCOMPARE(gesendet.mid(12), NvHex(6).mid(12));
        QVERIFY(!nivorell->Gesperrt());
        QVERIFY(Boxen().contains(QStringLiteral("Meldung|NivorellProgramm|erfolgreich übertragen!")));
    }

    void nivorellListe()
    {
        starten();
        s->ShowNivoR->click();
        s->TakeRecordNV->setChecked(true);
        QVERIFY(ausfuehren(s->LesenNivoR));
        QVERIFY(letztes().startsWith(QLatin1String("QORNIVOLISTE|")));
        QVERIFY(QTest::qWaitFor([this] { return nivorell->Liste()[9] == HexZuNivorell(NvHex(10)); }, 5000));
        QCOMPARE(s->NvListe[0], HexZuNivorell(NvHex(1)));

        for (int nr = 1; nr <= 10; ++nr)
            s->NvListe[size_t(nr - 1)] = HexZuNivorell(NvHex(nr, 400));
        QVERIFY(ausfuehren(s->SendenNivoR));
        QCOMPARE(letztes(), QStringLiteral("QORNIVOLISTE|SendACK"));
        for (int nr = 1; nr <= 10; ++nr)
            QCOMPARE(QString::fromLatin1(sim->nivorellProgramm(nr)), NvHex(nr, 400));
    }

    // The weekly program read shows in both windows' grids; the service grid writes it back.
    void wochenprogramm()
    {
        starten();
        QVERIFY(ausfuehren(s->LesenWoPrg));
        QCOMPARE(letztes(), QStringLiteral("QORWOCHPROG|") + WocheHex(360));
        QCOMPARE(s->WoPrgAusGitter(), HexZuWochPrg(WocheHex(360)));
        QCOMPARE(Zelle(haupt->NachtStarts, 2, 4), QStringLiteral("06:15"));
        QVERIFY(haupt->WochenProgramme->isEnabled());

        s->WoPrgAnzeigen(HexZuWochPrg(WocheHex(600)));
        QVERIFY(ausfuehren(s->SendenWoPrg));
        QCOMPARE(letztes(), QStringLiteral("QORWOCHPROG|SendACK"));
        QCOMPARE(QString::fromLatin1(sim->wochenprogramm()), WocheHex(600));
        QVERIFY(Boxen().contains(QStringLiteral("Meldung||Wochenprogramme")));
    }

    void uhr_data()
    {
        QTest::addColumn<bool>("alteFirmware");
        QTest::addColumn<bool>("sommer");
        QTest::newRow("V352, Sommer") << false << true;
        QTest::newRow("V351, Winter") << true << false;
    }
    // The clock registers of the controller's family get the PC's time and the window's own
    // summer flag; the main window confirms.
    void uhr()
    {
        QFETCH(bool, alteFirmware);
        QFETCH(bool, sommer);
        starten(alteFirmware);
        haupt->SommerZeit->setChecked(!sommer);
        s->SommerZeit->setChecked(sommer);
        QVERIFY(ausfuehren(s->DoSetTime));
        const QDateTime jetzt = QDateTime::currentDateTime();
        QCOMPARE(letztes(), QStringLiteral("QUORVELTIME|SendACK"));
        const int basis = alteFirmware ? QuorvelSimulator::RegUhrAlt : QuorvelSimulator::RegUhr352;
        const int sommerReg = alteFirmware ? QuorvelSimulator::RegSommerAlt : QuorvelSimulator::RegSommer352;
        QCOMPARE(sim->uhrRegister(basis + 2), QByteArray::number(jetzt.date().year()));
        QCOMPARE(sim->uhrRegister(sommerReg), sommer ? QByteArray("0001") : QByteArray("0000"));
        QCOMPARE(s->FirmWareEdit->text(), alteFirmware ? QStringLiteral("V351") : QStringLiteral("V352"));
        QVERIFY(Boxen().contains(QStringLiteral("Uhrzeit stellen|Uhr wurde gestellt.!|")));
    }

    void firmware()
    {
        starten();
        s->RdFirmware->click();
        QCOMPARE(s->FirmWareEdit->text(), QString());
        QVERIFY(QTest::qWaitFor([this] { return !s->FirmWareEdit->text().isEmpty(); }, 20000));
        QCOMPARE(s->FirmWareEdit->text(), QStringLiteral("V352"));
    }

    // A firmware read that gets no reply is given up after its tries: the router's error box,
    // and the field stays empty.
    void firmwareOhneAntwort()
    {
        starten();
        sim->stoerungEinplanen(QuorvelSimulator::KeineAntwort, 100);
        QVERIFY(ausfuehren(s->RdFirmware, 60000));
        QVERIFY(letztes().startsWith(QLatin1String("QUORVELFEHLER|")));
        QVERIFY(QTest::qWaitFor([] {
            for (const QString &b : Boxen())
                if (b.startsWith(QLatin1String("TopicErrorQuorvel|")))
                    return true;
            return false;
        }, 5000));
        QCOMPARE(s->FirmWareEdit->text(), QString());
    }

    // "DoCancelRecord" during a Nivorell list read: the read ends without a result and with
    // "Benutzerabbruch!", the editor's list stays as it was, and the engine is free again.
    void abbruchListe()
    {
        starten();
        s->TakeRecordNV->setChecked(true);
        connect(haupt, &TwMiniQuorvel::Ergebnis, this, [this](qint32, const QString &t, const QString &) {
            if (t == QLatin1String("MELDUNG") && s && !P().Abbruch && !fehlerZeilen().join(QString()).contains(QLatin1String("Benutzerabbruch")))
                s->DoCancelRecord->click();
        });
        const auto vorher = nivorell->Liste();
        s->LesenNivoR->click();
        QVERIFY(QTest::qWaitFor([this] { return fehlerZeilen().join(QLatin1Char('\n')).contains(QLatin1String("Benutzerabbruch!")); }, 30000));
        QVERIFY(QTest::qWaitFor([] { return !P().Wartet; }, 5000));
        QTest::qWait(300);
        QCOMPARE(letztes(), QString());
        QVERIFY(nivorell->Liste() == vorher);
        QVERIFY(!Boxen().join(QString()).contains(QLatin1String("FEHLER")));

        // A request after the abort runs normally.
        s->TakeRecordNV->setChecked(false);
        s->NivoRPrgNr->setText(QStringLiteral("4"));
        QVERIFY(ausfuehren(s->LesenNivoR));
        QCOMPARE(letztes(), QStringLiteral("QORNIVORELL|") + NvHex(4));
    }
};

QTEST_MAIN(TestServicePty)
#include "tst_service_pty.moc"
