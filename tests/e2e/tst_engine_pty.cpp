// The engine in the main window, through QSerialPort on a pseudo-terminal, against the simulator.

#include "testtexte.h"
#include "controller/ComPort.h"
#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uProgramm.h"
#include "windows/uMiniQuorvel.h"
#include "windows/ptyfenster_umgebung.h"

#include <QCheckBox>
#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QRandomGenerator>
#include <QtTest>

#include <ctime>
#include <memory>

namespace {

QByteArray Frame(const QString &payload)
{
    const QString z = QStringLiteral("060058") + payload;
    return (z + PruefsummeText(z) + QLatin1Char('\r')).toLatin1();
}

QStringList Zeilen(const QListWidget *liste)
{
    QStringList z;
    for (int i = 0; i < liste->count(); ++i)
        z << liste->item(i)->text();
    return z;
}

} // namespace

class TestEnginePty : public QObject
{
    Q_OBJECT
    std::unique_ptr<PtyFensterumgebung> u;
    QuorvelSimulator *sim = nullptr;
    PtySimulator *pty = nullptr;
    TwMiniQuorvel *fenster = nullptr;
    QString gelesen;
    QList<QPair<QString, QString>> ergebnisse;

    QuorvelEngine *engine() const { return fenster->Engine(); }
    QuorvelService *service() const { return fenster->Engine()->Service(); }

    // Weekly-program decoders that walk through all blocks, as the transfer decoders do.
    void wochenDekoderEinsetzen()
    {
        QuorvelService *s = service();
        s->Dekoder.WoPrgLesenAntwort = [this, s](const QString &d) {
            if (d.size() != 16)
                return false;
            if (P().BlockNr == 1)
                gelesen.clear();
            gelesen += d;
            if (P().BlockNr < 7) {
                s->Objekt(Q_WochPrgRd)->WochPrgBlockLesen(P().BlockNr + 1);
                return true;
            }
            s->FensterWarteZustand(0, true, false);
            ergebnisse << qMakePair(QStringLiteral("QORWOCHPROG"), gelesen);
            return true;
        };
        s->Dekoder.WoPrgSendenAntwort = [this, s](const QString &d) {
            if (d.size() != 4)
                return false;
            if (P().BlockNr < 28) {
                s->Objekt(Q_WochPrgWr)->WochPrgBlockSenden(QString(), P().BlockNr + 1);
                return true;
            }
            s->FensterWarteZustand(0, true, false);
            ergebnisse << qMakePair(QStringLiteral("QORWOCHPROG"), QStringLiteral("SendACK"));
            return true;
        };
    }

    bool wochenprogrammLesen(int ms = 20000)
    {
        const qsizetype vorher = ergebnisse.size();
        fenster->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("WPR\t00\t"));
        return QTest::qWaitFor([&] { return ergebnisse.size() > vorher; }, ms);
    }

    static QList<QByteArray> WochenLeseFrames()
    {
        QList<QByteArray> f;
        for (int n = 1; n <= 7; ++n)
            f << Frame(QStringLiteral("10") + Hex4(0x0600 + 4 * (n - 1)) + QStringLiteral("0000"));
        return f;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        u = std::make_unique<PtyFensterumgebung>(7);
        QVERIFY2(u->leitung.laeuft(), qPrintable(u->leitung.fehler()));
        sim = u->sim;
        pty = u->pty;
        fenster = u->anschliessen();
        QVERIFY(u->angeschlossen());
        // The error list starts with its header line; the traffic under test comes after it.
        fenster->LBError->clear();
        gelesen.clear();
        ergebnisse.clear();
        connect(fenster, &TwMiniQuorvel::Ergebnis, this,
                [this](qint32, const QString &t, const QString &x) { ergebnisse << qMakePair(t, x); });
        wochenDekoderEinsetzen();
    }
    void cleanup()
    {
        fenster = nullptr;
        sim = nullptr;
        pty = nullptr;
        u.reset();
    }

    void framesByteGenau()
    {
        QString woche;
        for (int i = 0; i < 28; ++i)
            woche += Hex4(i * 3 + 1);
        sim->setWochenprogramm(woche.toLatin1());
        QVERIFY(wochenprogrammLesen());
        QCOMPARE(sim->empfangeneFrames(), WochenLeseFrames());
        QCOMPARE(sim->empfangeneFrames().first(), QByteArray("06005810060000001A\r"));
        QCOMPARE(ergebnisse.last().second, woche);
        QCOMPARE(fenster->LBout->count(), 7);
        QCOMPARE(fenster->LBIn->count(), 7);
        QCOMPARE(fenster->LBError->count(), 0);
        QVERIFY(!P().Wartet);
        QVERIFY(fenster->Port()->Open());
    }

    void schreibenByteGenau()
    {
        QString woche;
        for (int i = 0; i < 28; ++i)
            woche += Hex4(0x0100 + i);
        const qsizetype vorher = ergebnisse.size();
        fenster->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("WPW\t00\t") + woche);
        QVERIFY(QTest::qWaitFor([&] { return ergebnisse.size() > vorher; }, 30000));
        QCOMPARE(ergebnisse.last().second, QStringLiteral("SendACK"));
        const QList<QByteArray> frames = sim->empfangeneFrames();
        QCOMPARE(frames.size(), 28);
        for (int n = 1; n <= 28; ++n)
            QCOMPARE(frames[n - 1], Frame(QStringLiteral("11") + Hex4(0x0600 + n - 1) + woche.mid(4 * (n - 1), 4)));
        QCOMPARE(QString::fromLatin1(sim->wochenprogramm()), woche);
    }

    void echoLeitung()
    {
        sim->setEcho(true);
        fenster->MitEchoRS485->setChecked(true);
        QVERIFY(wochenprogrammLesen());
        QCOMPARE(sim->empfangeneFrames(), WochenLeseFrames());
        QCOMPARE(fenster->LBError->count(), 0);
        QCOMPARE(fenster->LBIn->count(), 7);
        QCOMPARE(ergebnisse.last().second, QString::fromLatin1(sim->wochenprogramm()));
    }

    void wiederholungNachFalscherPruefsumme()
    {
        sim->stoerungEinplanen(QuorvelSimulator::FalschePruefsumme, 1);
        QVERIFY(wochenprogrammLesen());
        QCOMPARE(fenster->LBError->count(), 1);
        QVERIFY(fenster->LBError->item(0)->text().endsWith(QStringLiteral(":ChksmFehler Empfang!")));
        QCOMPARE(sim->empfangeneFrames().size(), 8);
    }

    // A controller whose fault replies have 8 data characters: each fault read is refused,
    // tried three times, given up under "QUORVELFEHLER", and the status poll goes on.
    void stoerantwortFalscherLaenge()
    {
        sim->setStoercode(1, 5);
        sim->setStoerDatenLaenge(8);
        fenster->BefehlsFenster()->StatusPollen->setChecked(true);
        fenster->AlleStatusPollen->setChecked(true);
        QVERIFY(QTest::qWaitFor([&] { return !ergebnisse.isEmpty(); }, 15000));
        QCOMPARE(ergebnisse.first().first, QStringLiteral("QUORVELFEHLER"));
        QCOMPARE(ergebnisse.first().second, QStringLiteral("0\tQ_Stoer\t1:"));
        const QByteArray stoerRegister = Hex4(QuorvelSimulator::RegStoerung1).toLatin1();
        const QByteArray statusRegister = Hex4(QuorvelSimulator::RegStatus).toLatin1();
        QVERIFY(QTest::qWaitFor([&] { return sim->empfangeneFrames().last().mid(8, 4) == statusRegister; }, 5000));
        QList<QByteArray> register_;
        for (const QByteArray &f : sim->empfangeneFrames())
            register_ << f.mid(8, 4);
        const qsizetype erste = register_.indexOf(stoerRegister);
        QVERIFY(erste > 0);
        QCOMPARE(register_.mid(erste, 4),
                 (QList<QByteArray>{stoerRegister, stoerRegister, stoerRegister, statusRegister}));
        QCOMPARE(register_.count(stoerRegister), 3);
        QCOMPARE(Zeilen(fenster->LBError).filter(QStringLiteral("Q_Stoer")).size(), 3);
        QCOMPARE(ergebnisse.size(), 1);
    }

    // Garbage on the line, seeded: random bytes with NULs and line ends, and a line of 100 000
    // characters without an end, while commands wait and while none does. The receive buffer
    // stays bounded, commands run one at a time, and a clean read works afterwards.
    void zufallAufDerLeitung()
    {
        QRandomGenerator rnd(20261210);
        for (int runde = 0; runde < 6; ++runde) {
            if (runde % 2 == 0) {
                sim->stoerungEinplanen(QuorvelSimulator::KeineAntwort, 1);
                fenster->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("PST\t00\t"));
                QVERIFY(QTest::qWaitFor([&] { return P().Wartet; }, 3000));
            }
            QByteArray b(int(rnd.bounded(1, 3000)), Qt::Uninitialized);
            for (char &c : b) {
                const int w = rnd.bounded(12);
                c = w == 0 ? '\0' : w == 1 ? '\r' : w == 2 ? '\n' : char(rnd.bounded(256));
            }
            sim->rohSenden(b);
            if (runde == 3)
                sim->rohSenden(QByteArray(100000, 'A'));
            QTest::qWait(50);
            QVERIFY(engine()->EmpfangsPuffer.size() <= QuorvelEngine::MaxZeilenLaenge);
        }
        QVERIFY(QTest::qWaitFor([&] { return !P().Wartet; }, 10000));
        sim->frameLogLoeschen();
        QVERIFY(wochenprogrammLesen());
        QCOMPARE(sim->empfangeneFrames(), WochenLeseFrames());
        QCOMPARE(gelesen.size(), 112);
    }

    // The device vanishes while a status request waits: one report, no storm, idle;
    // once it is back the next command works without a restart.
    void geraetVerschwindet()
    {
        QVERIFY(wochenprogrammLesen());
        QVERIFY(fenster->Port()->Open());
        fenster->LBError->clear();

        sim->stoerungEinplanen(QuorvelSimulator::KeineAntwort, 1);
        fenster->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("PST\t00\t"));
        QVERIFY(QTest::qWaitFor([&] { return sim->empfangeneFrames().size() == 8; }, 5000));
        pty->schliessen();
        QVERIFY(QTest::qWaitFor([&] { return fenster->LBError->count() >= 1; }, 10000));
        QVERIFY(!fenster->Port()->Open());
        QVERIFY(QTest::qWaitFor([&] { return !P().Wartet; }, 10000));

        // Idle: little CPU over a second and a half, and no further lines.
        const std::clock_t cpu = std::clock();
        QTest::qWait(1500);
        const double sekunden = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        QVERIFY2(sekunden < 0.75, qPrintable(QString::number(sekunden)));
        QCOMPARE(fenster->LBError->count(), 1);
        QVERIFY(fenster->LBError->item(0)->text().contains(QStringLiteral("Verbindung unterbrochen")));

        QVERIFY2(pty->neuStarten(), qPrintable(pty->fehler()));
        sim->frameLogLoeschen();
        QVERIFY(wochenprogrammLesen());
        QCOMPARE(sim->empfangeneFrames(), WochenLeseFrames());
        QVERIFY(fenster->Port()->Open());
        QCOMPARE(fenster->LBError->count(), 1);
    }

    // Gone during a weekly read: the retries fail and the command is given up, with one report.
    void geraetVerschwindetBeimLesen()
    {
        sim->stoerungEinplanen(QuorvelSimulator::KeineAntwort, 1);
        fenster->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("WPR\t00\t"));
        QVERIFY(QTest::qWaitFor([&] { return sim->empfangeneFrames().size() == 1; }, 5000));
        pty->schliessen();
        QVERIFY(QTest::qWaitFor([&] { return !ergebnisse.isEmpty(); }, 30000));
        QCOMPARE(ergebnisse.last(), qMakePair(QStringLiteral("QORWOCHPROG"), QStringLiteral("SendNAK")));
        QVERIFY(!P().Wartet);
        const QStringList fehler = Zeilen(fenster->LBError);
        QCOMPARE(fehler.filter(QStringLiteral("Verbindung unterbrochen")).size(), 1);
        QCOMPARE(fehler.filter(QStringLiteral(":TIMEOUT")).size(), 3);
        QCOMPARE(fehler.size(), 4);

        const std::clock_t cpu = std::clock();
        QTest::qWait(1500);
        QVERIFY(double(std::clock() - cpu) / CLOCKS_PER_SEC < 0.75);
        QCOMPARE(fenster->LBError->count(), 4);

        QVERIFY(pty->neuStarten());
        QVERIFY(wochenprogrammLesen());
        QCOMPARE(fenster->LBError->count(), 4);
    }
};

QTEST_MAIN(TestEnginePty)
#include "tst_engine_pty.moc"
