// Program lists through the main window, QSerialPort and a pseudo-terminal to the simulator,
// with disturbed replies on the way: retries happen, nothing is lost or changed.

#include "testtexte.h"
#include "controller/ComPort.h"
#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uProgramm.h"
#include "windows/uMiniQuorvel.h"
#include "windows/uQuorvel.h"
#include "windows/ptyfenster_umgebung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

// Field 0 is the program number; the others are valid wire fields that differ per program.
QString ProgText(int nr, int felder, int basis)
{
    QString t = Hex4(nr);
    for (int i = 1; i < felder; ++i)
        t += Hex4(basis + nr * 0x10 + i);
    return t;
}

struct Plan
{
    int frame;
    QuorvelSimulator::Stoerung art;
    QByteArray param;
};

// "frame:K" checksum, "frame:T" no reply, "frame:S85" status code, "frame:L4" data cut short.
QList<Plan> Plaene(const QStringList &texte)
{
    QList<Plan> l;
    for (const QString &t : texte) {
        const int frame = t.section(QLatin1Char(':'), 0, 0).toInt();
        const QString a = t.section(QLatin1Char(':'), 1);
        const QByteArray param = a.mid(1).toLatin1();
        switch (a.at(0).toLatin1()) {
        case 'K': l << Plan{frame, QuorvelSimulator::FalschePruefsumme, {}}; break;
        case 'T': l << Plan{frame, QuorvelSimulator::KeineAntwort, {}}; break;
        case 'S': l << Plan{frame, QuorvelSimulator::StatusCode, param}; break;
        default: l << Plan{frame, QuorvelSimulator::FalscheLaenge, param}; break;
        }
    }
    return l;
}

} // namespace

class TestTransferPty : public QObject
{
    Q_OBJECT
    std::unique_ptr<PtyFensterumgebung> u;
    QuorvelSimulator *sim = nullptr;
    TwMiniQuorvel *fenster = nullptr;
    QList<QPair<QString, QString>> ergebnisse;
    QList<Plan> plaene;
    int frameZahl = 0;

    TwQuorvel *service() const { return fenster->BefehlsFenster(); }

    QList<QPair<QString, QString>> ohneFortschritt() const
    {
        QList<QPair<QString, QString>> l;
        for (const auto &e : ergebnisse)
            if (e.first != QLatin1String("MELDUNG"))
                l << e;
        return l;
    }
    QStringList fortschritt() const
    {
        QStringList l;
        for (const auto &e : ergebnisse)
            if (e.first == QLatin1String("MELDUNG"))
                l << e.second;
        return l;
    }
    QStringList fehlerZeilen() const
    {
        QStringList l;
        for (int i = 0; i < fenster->LBError->count(); ++i)
            l << fenster->LBError->item(i)->text();
        return l;
    }

    // Waits in the event loop: a polling wait that sleeps between its looks would add its
    // sleep to every frame.
    static bool warten(const std::function<bool()> &fertig, int ms)
    {
        if (fertig())
            return true;
        QEventLoop schleife;
        QTimer blick;
        QObject::connect(&blick, &QTimer::timeout, &schleife, [&] {
            if (fertig())
                schleife.quit();
        });
        blick.start(1);
        QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
        schleife.exec();
        return fertig();
    }

    bool ausfuehren(const QString &anfrage, int ms = 30000)
    {
        const qsizetype vorher = ohneFortschritt().size();
        fenster->Kommando(QStringLiteral("BEFEHL"), anfrage);
        return warten([&] { return ohneFortschritt().size() > vorher && !P().Wartet; }, ms);
    }

private slots:
    void init()
    {
        cleanup();
        u = std::make_unique<PtyFensterumgebung>(7);
        QVERIFY2(u->leitung.laeuft(), qPrintable(u->leitung.fehler()));
        sim = u->sim;
        for (int nr = 1; nr <= 10; ++nr) {
            sim->setGaerProgramm(nr, ProgText(nr, 14, 0x1000).toLatin1());
            sim->setNivorellProgramm(nr, ProgText(nr, 25, 0x2000).toLatin1());
        }
        fenster = u->anschliessen();
        QVERIFY(u->angeschlossen());
        ergebnisse.clear();
        plaene.clear();
        frameZahl = 0;
        connect(fenster, &TwMiniQuorvel::Ergebnis, this,
                [this](qint32, const QString &t, const QString &x) { ergebnisse << qMakePair(t, x); });
        // A fault is planned for the reply to the frame that it names.
        connect(sim, &QuorvelSimulator::frameEmpfangen, this, [this](const QByteArray &) {
            ++frameZahl;
            for (const Plan &p : std::as_const(plaene))
                if (p.frame == frameZahl)
                    sim->stoerungEinplanen(p.art, 1, p.param);
        });
    }
    void cleanup()
    {
        fenster = nullptr;
        sim = nullptr;
        u.reset();
    }

    void liste_data()
    {
        QTest::addColumn<QString>("kennung");
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<QStringList>("stoerungen");
        QTest::addColumn<int>("fehlschlaege");   // failed tries the faults cause
        QTest::addColumn<bool>("gruppeSichtbar");

        QTest::newRow("proofing write 56") << "GRRest" << true << QStringList{"20:K", "100:S85"} << 2 << false;
        QTest::newRow("proofing write 52") << "GRRest" << false << QStringList{"5:S84", "129:L4"} << 2 << true;
        QTest::newRow("Nivorell write") << "NVRest" << true << QStringList{"3:S87", "240:T"} << 2 << true;
        QTest::newRow("proofing read 56") << "GRSave" << true << QStringList{"11:S85", "30:K"} << 2 << true;
        QTest::newRow("proofing read 52") << "GRSave" << false << QStringList{"49:T", "62:L4"} << 1 << false;
        QTest::newRow("Nivorell read") << "NVSave" << true << QStringList{"8:K", "20:S81", "90:L4"} << 2 << true;
    }
    void liste()
    {
        QFETCH(QString, kennung);
        QFETCH(bool, ab352);
        QFETCH(QStringList, stoerungen);
        QFETCH(int, fehlschlaege);
        QFETCH(bool, gruppeSichtbar);
        GaerProgLayoutSetzen(ab352);
        // The 52-character layout is that of a controller with the older firmware.
        if (!ab352) {
            sim->setAlteFirmware(true);
            for (int nr = 1; nr <= 10; ++nr)
                sim->setGaerProgramm(nr, ProgText(nr, 13, 0x1000).toLatin1());
        }
        plaene = Plaene(stoerungen);
        const bool gaer = kennung.startsWith(QLatin1Char('G'));
        const bool schreiben = kennung.endsWith(QLatin1String("Rest"));
        const int felder = gaer ? P().GaerProgFelder : 25;
        const int R = gaer ? P().GaerProgLaenge : 100;
        // The window itself stays hidden: the group's own setting counts.
        QGroupBox *gruppe = gaer ? service()->GaerProgramm : service()->NivorellProgramm;
        QVERIFY(gruppe);
        gruppe->setVisible(gruppeSichtbar);

        QString liste;
        for (int nr = 1; nr <= 10; ++nr)
            liste += ProgText(nr, felder, 0x7000);
        QVERIFY(ausfuehren(kennung + QStringLiteral("\t00\t") + (schreiben ? liste : QString())));

        QCOMPARE(sim->geplanteStoerungen(), 0);
        QCOMPARE(ohneFortschritt().size(), 1);
        const QStringList fehler = fehlerZeilen().filter(QStringLiteral("__0\t"));
        QVERIFY2(fehler.size() == fehlschlaege, qPrintable(fehler.join(QLatin1Char('\n'))));
        QCOMPARE(fehler.filter(QStringLiteral("Benutzerabbruch")).size(), 0);
        // Each failed try restarts the list; the last run reports programs 1 to 9 in order.
        QVERIFY(fortschritt().size() >= 9);
        QCOMPARE(fortschritt().mid(fortschritt().size() - 9),
                 QStringList({"RestoreFortschritt=1", "RestoreFortschritt=2", "RestoreFortschritt=3",
                              "RestoreFortschritt=4", "RestoreFortschritt=5", "RestoreFortschritt=6",
                              "RestoreFortschritt=7", "RestoreFortschritt=8", "RestoreFortschritt=9"}));
        const auto ergebnis = ohneFortschritt().first();
        QCOMPARE(ergebnis.first, gaer ? QStringLiteral("QORGAERLISTE") : QStringLiteral("QORNIVOLISTE"));

        QString imSimulator;
        for (int nr = 1; nr <= 10; ++nr)
            imSimulator += QString::fromLatin1((gaer ? sim->gaerProgramm(nr) : sim->nivorellProgramm(nr)).left(R));
        if (schreiben) {
            QCOMPARE(ergebnis.second, QStringLiteral("SendACK"));
            QCOMPARE(imSimulator, liste);
        } else {
            QCOMPARE(ergebnis.second, imSimulator);
        }
        // Field by field: each value sits where its layout puts it (field k of program nr
        // carries the word basis + nr * 0x10 + k).
        if (gaer) {
            const int basis = schreiben ? 0x7000 : 0x1000;
            for (int nr = 1; nr <= 10; ++nr) {
                const TQorGaerProg p = HexZuGaerProg(imSimulator.mid((nr - 1) * R, R));
                const auto feld = [&](int k) { return Hex4(basis + nr * 0x10 + k); };
                QCOMPARE(p.Nr, QString::number(nr));
                QCOMPARE(p.GA.Feu, HexZuFeuchte(feld(9)));
                QCOMPARE(p.AB.Zeit, ab352 ? HexZuZahl(feld(10)) : QStringLiteral("0"));
                QCOMPARE(p.AB.Temp, HexZuTemp(feld(ab352 ? 11 : 10)));
                QCOMPARE(p.AB.Feu, HexZuFeuchte(feld(ab352 ? 12 : 11)));
                QCOMPARE(p.Backofenvorlauf, HexZuZahl(feld(ab352 ? 13 : 12)));
            }
        }

        // The service window: memo lines and, for a read, the list, only while the group is set visible.
        const QString memo = service()->QorMeldung->toPlainText();
        const QString prefix = gaer ? QStringLiteral("Gaer-PrgNr.") : QStringLiteral("Nivorell PrgNr.");
        QCOMPARE(memo.contains(prefix + (schreiben ? QStringLiteral("09 gesendet.") : QStringLiteral("09 gelesen."))),
                 gruppeSichtbar);
        if (!schreiben && gruppeSichtbar) {
            for (int i = 0; i < 10; ++i) {
                const QString text = imSimulator.mid(i * R, R);
                if (gaer)
                    QCOMPARE(GaerProgZuHex(service()->GaerListe[size_t(i)]), GaerProgZuHex(HexZuGaerProg(text)));
                else
                    QCOMPARE(NivorellZuHex(service()->NvListe[size_t(i)]), NivorellZuHex(HexZuNivorell(text)));
            }
            TQorSpinEdit *recNr = gaer ? service()->RecNr : service()->RecNr_NV;
            QVERIFY(recNr);
            QCOMPARE(recNr->Text(), QStringLiteral("1"));
            // Program 1 is the one shown.
            TQorSpinEdit *nr = gaer ? service()->P_Nr : service()->NivoRPrgNr;
            QVERIFY(nr);
            QCOMPARE(nr->Text(), QStringLiteral("1"));
        } else if (!schreiben) {
            // A hidden group's list stays as it was.
            QVERIFY(gaer ? service()->GaerListe[0].Nr.isEmpty() : service()->NvListe[0].Nr.isEmpty());
        }
    }

    // Single programs and the weekly program, there and back.
    void einzeln_data()
    {
        QTest::addColumn<QString>("schreibKennung");
        QTest::addColumn<QString>("leseKennung");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<int>("felder");
        QTest::newRow("proofing") << "GPW" << "GPR" << "QORGAERPROG" << 14;
        QTest::newRow("Nivorell") << "NVW" << "NVR" << "QORNIVORELL" << 25;
        QTest::newRow("weekly") << "WPW" << "WPR" << "QORWOCHPROG" << 28;
    }
    void einzeln()
    {
        QFETCH(QString, schreibKennung);
        QFETCH(QString, leseKennung);
        QFETCH(QString, topic);
        QFETCH(int, felder);
        const bool woche = topic == QLatin1String("QORWOCHPROG");
        const QString text = woche ? ProgText(0x0101, 28, 0x0200) : ProgText(6, felder, 0x3000);
        plaene = Plaene({"4:K"});
        QVERIFY(ausfuehren(schreibKennung + QStringLiteral("\t00\t") + text));
        QCOMPARE(ohneFortschritt().last(), qMakePair(topic, QStringLiteral("SendACK")));
        const QByteArray ist = woche ? sim->wochenprogramm()
                             : topic == QLatin1String("QORGAERPROG") ? sim->gaerProgramm(6)
                                                                    : sim->nivorellProgramm(6);
        QCOMPARE(QString::fromLatin1(ist), text);

        plaene = Plaene({QStringLiteral("%1:L4").arg(frameZahl + 3)});
        QVERIFY(ausfuehren(leseKennung + QStringLiteral("\t00\t") + (woche ? QString() : QStringLiteral("6"))));
        QCOMPARE(ohneFortschritt().last(), qMakePair(topic, text));
        QCOMPARE(fehlerZeilen().filter(QStringLiteral("__0\t")).size(), 1);
        QVERIFY(fortschritt().isEmpty());
    }

    // A controller with the older firmware: a proofing program of 13 fields comes back as its
    // 52 characters and decodes to the values it holds, with no "AB" duration.
    void gaerProgrammAltesFormat()
    {
        sim->setAlteFirmware(true);
        GaerProgLayoutSetzen(false);
        // Program 4: ..., "AB" at 30 °C and 80 %, oven lead 750.
        const QString text = QStringLiteral("0004003C014A0190025801A903200078021203390226032002EE");
        sim->setGaerProgramm(4, text.toLatin1());
        QVERIFY(ausfuehren(QStringLiteral("GPR\t00\t4")));
        QCOMPARE(ohneFortschritt().last(), qMakePair(QStringLiteral("QORGAERPROG"), text));
        const TQorGaerProg p = HexZuGaerProg(text);
        QCOMPARE(p.Nr, QStringLiteral("4"));
        QCOMPARE(p.GA.Feu, QStringLiteral("85"));
        QCOMPARE(p.AB.Zeit, QStringLiteral("0"));
        QCOMPARE(p.AB.Temp, QStringLiteral("30"));
        QCOMPARE(p.AB.Feu, QStringLiteral("80"));
        QCOMPARE(p.Backofenvorlauf, QStringLiteral("750"));
    }

    // Abort through the request the windows send, right when program 3 is reported: the frame
    // already asked for is answered and refused, nothing more is sent or reported.
    void abbruch()
    {
        connect(fenster, &TwMiniQuorvel::Ergebnis, this, [this](qint32, const QString &, const QString &x) {
            if (x == QLatin1String("RestoreFortschritt=3"))
                fenster->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("RSCancel\t00\t"));
        });
        fenster->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("NVSave\t00\t"));
        QVERIFY(warten([&] { return fortschritt().size() >= 3 && !P().Wartet; }, 10000));
        QTest::qWait(300);
        QCOMPARE(frameZahl, 3 * 8 + 1);
        QCOMPARE(fortschritt(), QStringList({"RestoreFortschritt=1", "RestoreFortschritt=2", "RestoreFortschritt=3"}));
        QVERIFY(ohneFortschritt().isEmpty());
        QCOMPARE(fehlerZeilen().filter(QStringLiteral("Benutzerabbruch!")).size(), 1);
        QVERIFY(service()->QorMeldung->toPlainText().contains(QStringLiteral("Fehler bei NivorellProgramme lesen!")));
    }
};

QTEST_MAIN(TestTransferPty)
#include "tst_transfer_pty.moc"
