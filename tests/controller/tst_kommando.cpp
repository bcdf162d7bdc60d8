// Command entry, queue, heartbeat and wait state.

#include "engine_umgebung.h"

#include <QtTest>

class TestKommando : public QObject
{
    Q_OBJECT
    std::unique_ptr<EngineUmgebung> u;

    // The default decoder accepts any well-formed reply and ends the command.
    void antworten() { u->port.liefern(Antwort(QStringLiteral("0600"), QStringLiteral("0000"))); }

private slots:
    void init() { u = std::make_unique<EngineUmgebung>(); }
    void cleanup() { u.reset(); }

    void zeilen_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("zeile");
        QTest::newRow("weekly read") << "BEFEHL" << "WPR\t00\t" << "0\tQ_WochPrgRd\t";
        QTest::newRow("lower case") << "befehl" << "wpr\t00\t" << "0\tQ_WochPrgRd\t";
        QTest::newRow("no second tab") << "BEFEHL" << "WPR\t00" << "0\tQ_WochPrgRd\t";
        QTest::newRow("fault 3") << "BEFEHL" << "STO\t00\t3" << "0\tQ_Stoer\t3";
        QTest::newRow("number field unused") << "BEFEHL" << "NVR\t07\t4" << "0\tQ_NivorellRd\t4";
        QTest::newRow("data with tabs") << "BEFEHL" << "GPW\t00\ta\tb" << "0\tQ_GaerProgWr\ta\tb";
        QTest::newRow("unknown keyword") << "BEFEHL" << "XYZ\t00\tq" << "0\t\tq";
        QTest::newRow("empty keyword") << "BEFEHL" << "\t00\t" << "0\tQ_None\t";
        QTest::newRow("abort") << "Befehl" << "RSCancel\t00\t" << "0\tQ_RSCancel\t";
    }
    void zeilen()
    {
        QFETCH(QString, topic);
        QFETCH(QString, text);
        QFETCH(QString, zeile);
        u->engine->Kommando(topic, text);
        QCOMPARE(u->makros(), QStringList{zeile});
        QVERIFY(u->engine->TimerHerz->isActive());
        QVERIFY(u->errLog().isEmpty());
    }

    void andererTopicIgnoriert()
    {
        u->engine->Kommando(QStringLiteral("SERVICE"), QStringLiteral("WPR\t00\t"));
        QVERIFY(u->makros().isEmpty());
        QVERIFY(!u->engine->TimerHerz->isActive());
    }

    void ohneTabFehlerprotokoll()
    {
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("WPR"));
        QCOMPARE(u->errLogMit(QStringLiteral("KVD-Kommando, nicht interpretierbar: WPR")), 1);
        QCOMPARE(u->makros(), QStringList{QStringLiteral("\t\t")});
        u->engine->TimerHerzTimer();
        QVERIFY(u->makros().isEmpty());
        QVERIFY(u->port.frames.isEmpty());
        QVERIFY(!P().Wartet);
    }

    void doppelteZeilen()
    {
        u->anfordern(QStringLiteral("WPR\t00\t"));
        QVERIFY(P().Wartet);
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("NVR\t00\t1"));
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("NVR\t00\t1"));
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("NVR\t00\t2"));
        QCOMPARE(u->makros(), (QStringList{QStringLiteral("0\tQ_NivorellRd\t1"), QStringLiteral("0\tQ_NivorellRd\t2")}));
        // Queued while a command waits: the heartbeat stays off.
        QVERIFY(!u->engine->TimerHerz->isActive());
        u->service()->MakroHinzufuegen(QStringLiteral("0\tq_nivorellrd\t1"));
        QCOMPARE(u->makros().size(), 3);
    }

    void langeZeileGekuerzt()
    {
        u->service()->MakroHinzufuegen(QString(40000, QLatin1Char('x')));
        QCOMPARE(u->makros().at(0).size(), 32766);
    }

    void abbruchZeileNachAbbruch()
    {
        u->anfordern(QStringLiteral("WPR\t00\t"));
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("RSCancel\t00\t"));
        QVERIFY(P().Abbruch);
        QCOMPARE(u->makros(), QStringList{QStringLiteral("0\tQ_RSCancel\t")});
        // The running read fails: the abort ends it.
        u->engine->TimeOut2Timer();
        QVERIFY(!P().Abbruch);
        QVERIFY(!P().Wartet);
        QCOMPARE(u->fehlerMit(QStringLiteral("Benutzerabbruch!")), 1);
        // Taking the abort line starts nothing and leaves the flag clear.
        u->engine->TimerHerzTimer();
        QVERIFY(!P().Abbruch);
        QVERIFY(u->makros().isEmpty());
        QCOMPARE(u->port.frames.size(), 1);
        QVERIFY(!P().Wartet);
        QCOMPARE(P().AktuellerBefehl->Zeile, QStringLiteral("0\tQ_RSCancel\t"));
    }

    void beendenFuehrtNichtsAus()
    {
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("WPR\t00\t"));
        P().Beenden = true;
        u->engine->TimerHerzTimer();
        QCOMPARE(u->schliessen, 1);
        u->engine->StatusTimerTimer();
        QCOMPARE(u->schliessen, 2);
        u->engine->NaechsterBefehl();   // even a direct take starts nothing
        QVERIFY(u->port.frames.isEmpty());
        QVERIFY(!P().Wartet);
        u->engine->TimeOut1Timer();
        u->engine->TimeOut2Timer();
        QVERIFY(u->fehler.isEmpty());
    }

    void einBefehlNachDemAnderen()
    {
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("WPR\t00\t"));
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("FWR\t00\t"));
        u->engine->TimerHerzTimer();
        QCOMPARE(u->port.frames.size(), 1);
        QVERIFY(!u->engine->TimerHerz->isActive());
        u->engine->TimerHerzTimer();
        u->engine->StatusTimerTimer();
        QVERIFY(!u->engine->TimerHerz->isActive());
        u->engine->TimerHerzTimer();
        QCOMPARE(u->port.frames.size(), 1);
        QCOMPARE(u->makros().size(), 1);
        antworten();
        QVERIFY(!P().Wartet);
        QVERIFY(u->engine->TimerHerz->isActive());
        QCOMPARE(u->objekt(Q_WochPrgRd)->Versuche, quint8(0));
        u->engine->TimerHerzTimer();
        QCOMPARE(u->port.frames.size(), 2);
        QCOMPARE(u->port.frames[1].mid(8, 4), QByteArray("0B11"));
        QVERIFY(u->makros().isEmpty());
    }

    void statusPollZeile()
    {
        u->service()->MakroHinzufuegen(QStringLiteral("0\tQ_Status"));
        u->engine->TimerHerzTimer();
        QCOMPARE(u->port.frames.size(), 1);
        QCOMPARE(u->objekt(Q_Status)->Daten, QString());
        QCOMPARE(u->objekt(Q_Status)->Zeile, QStringLiteral("0\tQ_Status"));
    }

    void datenMitEndTab_data()
    {
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("daten");
        QTest::newRow("trailing tab dropped") << "0\tQ_WochPrgWr\tabc\t" << "abc";
        QTest::newRow("inner tab kept") << "0\tQ_WochPrgWr\ta\tb\t" << "a\tb\t";
        QTest::newRow("no data") << "0\tq_wochprgwr" << "";
    }
    void datenMitEndTab()
    {
        QFETCH(QString, zeile);
        QFETCH(QString, daten);
        u->service()->MakroHinzufuegen(zeile);
        u->engine->NaechsterBefehl();
        QCOMPARE(u->objekt(Q_WochPrgWr)->Daten, daten);
        QVERIFY(P().Wartet);
    }

    void unbekannteZeileStartetNichts_data()
    {
        QTest::addColumn<QString>("zeile");
        QTest::newRow("empty") << "";
        QTest::newRow("unknown name") << "0\tQ_Gibtsnicht\tx";
        QTest::newRow("two tabs") << "\t\t";
    }
    void unbekannteZeileStartetNichts()
    {
        QFETCH(QString, zeile);
        u->service()->MakroHinzufuegen(zeile);
        u->engine->TimerHerzTimer();
        QVERIFY(u->makros().isEmpty());
        QVERIFY(u->port.frames.isEmpty());
        QVERIFY(!P().Wartet);
        QVERIFY(!u->engine->TimerHerz->isActive());
        // The status timer switches the heartbeat on again.
        u->engine->StatusTimerTimer();
        QVERIFY(u->engine->TimerHerz->isActive());
    }

    void warteZustand()
    {
        QuorvelEngine *e = u->engine.get();
        P().AktuellerBefehl = u->objekt(Q_GaerProgRd);
        P().AktuellerBefehl->Versuche = 2;
        e->SetWarteZustand(0, false, true);
        QVERIFY(P().Wartet);
        QVERIFY(!e->TimeOut1->isActive());   // a zero interval arms no time-out
        e->SetWarteZustand(700, false, true);
        QVERIFY(e->TimeOut1->isActive());
        QCOMPARE(e->TimeOut1->interval(), 700);
        e->SetWarteZustand(0, false, false);
        QVERIFY(!P().Wartet);
        QVERIFY(!e->TimeOut1->isActive());
        QVERIFY(e->TimerHerz->isActive());
        QCOMPARE(P().AktuellerBefehl->Versuche, quint8(2));
        e->SetWarteZustand(0, true, false);
        QCOMPARE(P().AktuellerBefehl->Versuche, quint8(0));
    }

    void befehlsTimeoutSchreibtNur()
    {
        u->anfordern(QStringLiteral("FWR\t00\t"));
        u->engine->TimeOut1Timer();
        QCOMPARE(u->fehler, QStringList{QStringLiteral("TIMEOUT")});
        QVERIFY(P().Wartet);
        QCOMPARE(u->port.frames.size(), 1);
        QCOMPARE(u->objekt(Q_FirmWare)->Versuche, quint8(0));
        QVERIFY(!u->engine->TimeOut1->isActive());
    }

    void timerNamen()
    {
        for (const char *name : {"TimerHerz", "StatusTimer", "TimeOut1", "TimeOut2", "ComWaitTimer"}) {
            auto *t = u->engine->findChild<QTimer *>(QString::fromLatin1(name));
            QVERIFY2(t, name);
            QVERIFY(!t->isActive());
        }
        QCOMPARE(u->engine->TimerHerz->interval(), 50);
        QCOMPARE(u->engine->StatusTimer->interval(), 1000);
    }

    // With the real timers: queued requests run one after the other.
    void herzschlagMitTimern()
    {
        u->engine->Starten();
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("WPR\t00\t"));
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("NVR\t00\t2"));
        QVERIFY(QTest::qWaitFor([&] { return u->port.frames.size() == 1; }, 5000));
        QTest::qWait(150);
        QCOMPARE(u->port.frames.size(), 1);
        antworten();
        QVERIFY(QTest::qWaitFor([&] { return u->port.frames.size() == 2; }, 5000));
        QCOMPARE(u->port.frames[1].mid(6, 10), QByteArray("1116000002"));
    }

    void portWartenEndetNachSpaetestens500ms()
    {
        u->port.pendingOk = false;
        QElapsedTimer t;
        t.start();
        u->engine->PortWarten();
        QVERIFY(t.elapsed() >= 400);
        QVERIFY(t.elapsed() < 5000);
        QVERIFY(!u->engine->ComWaitTimer->isActive());
        u->port.pendingOk = true;
        t.restart();
        u->engine->PortWarten();
        QVERIFY(t.elapsed() < 400);
    }
};

QTEST_GUILESS_MAIN(TestKommando)
#include "tst_kommando.moc"
