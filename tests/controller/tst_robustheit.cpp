// Seeded random input against the engine: it must not crash, must keep its buffers bounded and
// must stay consistent (one command at a time, a waiting command always has a frame time-out).

#include "engine_umgebung.h"

#include <QRandomGenerator>
#include <QtTest>

class TestRobustheit : public QObject
{
    Q_OBJECT

private slots:
    void zufall_data()
    {
        QTest::addColumn<quint32>("seed");
        const QByteArray env = qgetenv("MQ_SEED");
        if (!env.isEmpty()) {
            QTest::newRow("MQ_SEED") << env.toUInt();
            return;
        }
        for (quint32 s : {1u, 20261210u, 4711u})
            QTest::newRow(qPrintable(QString::number(s))) << s;
    }
    void zufall()
    {
        QFETCH(quint32, seed);
        EngineUmgebung u;
        QRandomGenerator rnd(seed);
        QuorvelEngine *e = u.engine.get();

        int ohneWarten = 0;
        QObject::connect(e, &QuorvelEngine::GesendetZeile, [&](const QString &) {
            if (!P().Wartet)
                ++ohneWarten;
        });

        // Decoders that keep to their contract: accept and go on or finish, or refuse.
        auto weiter = [&](const QString &) {
            const int w = rnd.bounded(4);
            if (w == 0)
                return false;
            if (w == 1 && P().AktuellerBefehl && P().BlockNr < 7) {
                P().AktuellerBefehl->WochPrgBlockLesen(P().BlockNr + 1);
                return true;
            }
            u.service()->FensterWarteZustand(0, true, false);
            return true;
        };
        auto weiterPos = [&](qint32, const QString &d) { return weiter(d); };
        QuorvelDekoder &d = u.service()->Dekoder;
        d.WoPrgLesenAntwort = d.WoPrgSendenAntwort = d.ZeitSendenAntwort = weiter;
        d.StatusAntwort = d.StoerAntwort = [&](const QString &) { return rnd.bounded(3) != 0; };
        d.FirmwareAntwort = [&](const QString &) {
            if (rnd.bounded(2) == 0)
                return 0;
            u.service()->FensterWarteZustand(0, true, false);
            return 352;
        };
        d.GaerLesenAntwort = d.GaerSendenAntwort = d.NvLesenAntwort = d.NvSendenAntwort = weiterPos;

        const QStringList anfragen = {
            "PST\t00\t",    "WPR\t00\t",   "WPW\t00\t" + QString(112, '1'), "NVR\t00\t3",
            "NVSave\t00\t", "GRSave\t00\t", "GRRest\t00\t" + QString(560, 'A'), "STO\t00\t5",
            "DTW\t00\t1",   "FWR\t00\t",   "RSCancel\t00\t", "XYZ\t00\t",   "kaputt",
            "sto\t00\t99",  "\t\t",        "GPW\t00\t"};

        for (int schritt = 0; schritt < 3000; ++schritt) {
            switch (rnd.bounded(12)) {
            case 0:
            case 1: {
                QByteArray b(int(rnd.bounded(200)), Qt::Uninitialized);
                for (char &c : b) {
                    const int w = rnd.bounded(10);
                    c = w == 0 ? '\0' : w == 1 ? '\r' : w == 2 ? '\n' : char(rnd.bounded(256));
                }
                u.port.liefern(b);
                break;
            }
            case 2:
            case 3: {
                const QString reg = QStringLiteral("%1").arg(rnd.bounded(0x10000), 4, 16, QLatin1Char('0')).toUpper();
                const int laenge = int(rnd.bounded(5)) * 4;
                QString daten;
                for (int i = 0; i < laenge; ++i)
                    daten += QLatin1Char("0123456789ABCDEF"[rnd.bounded(16)]);
                QByteArray a = Antwort(reg, daten, rnd.bounded(8) == 0 ? QStringLiteral("85") : QStringLiteral("10"));
                if (rnd.bounded(6) == 0)
                    a.prepend('!');
                if (rnd.bounded(6) == 0)
                    a.append('\n');
                u.port.liefern(a);
                break;
            }
            case 4:
                if (rnd.bounded(30) == 0) {
                    u.port.liefern(QByteArray(100000, char('A' + rnd.bounded(26))));
                    QVERIFY(e->EmpfangsPuffer.size() <= QuorvelEngine::MaxZeilenLaenge);
                    if (rnd.bounded(2))
                        u.port.liefern("\r");
                }
                break;
            case 5:
            case 6:
                e->Kommando(rnd.bounded(2) ? QStringLiteral("BEFEHL") : QStringLiteral("befehl"),
                            anfragen[int(rnd.bounded(anfragen.size()))]);
                break;
            case 7:
            case 8:
                e->TimerHerzTimer();
                break;
            case 9:
                e->TimeOut2Timer();
                break;
            case 10:
                e->StatusTimerTimer();
                if (rnd.bounded(4) == 0)
                    e->TimeOut1Timer();
                break;
            case 11:
                e->setMitEchoRS485(rnd.bounded(5) == 0);
                break;
            }

            QVERIFY(e->EmpfangsPuffer.size() <= QuorvelEngine::MaxZeilenLaenge);
            if (P().Wartet) {
                QVERIFY(P().BefehlsTabelle.contains(P().AktuellerBefehl));
                QVERIFY2(e->TimeOut2->isActive(), "a waiting command without frame time-out");
            }
            const QStringList m = u.makros();
            QCOMPARE(QSet<QString>(m.begin(), m.end()).size(), m.size());
            QVERIFY(m.size() < 200);
        }
        QCOMPARE(ohneWarten, 0);
        // The run went through real work, not only refusals.
        qInfo("frames %d, accepted %d, error lines %d", int(u.port.frames.size()), int(u.empfangen.size()),
              int(u.fehler.size()));
        QVERIFY(u.port.frames.size() > 100);
        QVERIFY(u.empfangen.size() > 20);
        QVERIFY(!u.ergebnisse.isEmpty());

        // The engine still works: drain, then one clean weekly read.
        d = QuorvelDekoder{};
        e->setMitEchoRS485(false);
        P().Abbruch = false;
        for (int i = 0; i < 100 && (P().Wartet || !u.makros().isEmpty()); ++i) {
            if (P().Wartet)
                e->TimeOut2Timer();
            else
                e->TimerHerzTimer();
        }
        QVERIFY(!P().Wartet);
        QVERIFY(u.makros().isEmpty());
        P().Abbruch = false;
        u.anfordern(QStringLiteral("WPR\t00\t"));
        QVERIFY(P().Wartet);
        QCOMPARE(u.port.frames.last(), QByteArray("06005810060000001A\r"));
        const int vorher = int(u.empfangen.size());
        u.port.liefern(Antwort(QStringLiteral("0600"), QStringLiteral("0123456789ABCDEF")));
        QCOMPARE(int(u.empfangen.size()), vorher + 1);
        QVERIFY(!P().Wartet);
    }
};

QTEST_GUILESS_MAIN(TestRobustheit)
#include "tst_robustheit.moc"
