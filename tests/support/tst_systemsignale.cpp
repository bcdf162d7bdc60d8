#include "platform/SystemSignale.h"

#include <QSignalSpy>
#include <QtTest>

#include <csignal>

namespace {

void (*Verhalten(int Signal))(int)
{
    struct sigaction jetzt{};
    ::sigaction(Signal, nullptr, &jetzt);
    return jetzt.sa_handler;
}

} // namespace

// The system's end signals caught for the event loop.
class TestSystemSignale : public QObject
{
    Q_OBJECT

private slots:
    // Each signal reaches the event loop as Ende, in the order sent, and not before the loop
    // runs; the handlers in place before come back at the end.
    void gefangenImEreignisLauf()
    {
        const QList<void (*)(int)> vorher{Verhalten(SIGTERM), Verhalten(SIGHUP), Verhalten(SIGINT)};
        {
            SystemSignale signale;
            QCOMPARE(signale.Gefangen(), (QList<int>{SIGTERM, SIGHUP, SIGINT}));
            QSignalSpy ende(&signale, &SystemSignale::Ende);
            ::raise(SIGHUP);
            ::raise(SIGINT);
            ::raise(SIGTERM);
            QCOMPARE(ende.size(), 0);
            QTRY_COMPARE(ende.size(), 3);
            QCOMPARE(ende.at(0).at(0).toInt(), SIGHUP);
            QCOMPARE(ende.at(1).at(0).toInt(), SIGINT);
            QCOMPARE(ende.at(2).at(0).toInt(), SIGTERM);

            // One object catches at a time.
            SystemSignale zweite;
            QVERIFY(zweite.Gefangen().isEmpty());
        }
        QCOMPARE((QList<void (*)(int)>{Verhalten(SIGTERM), Verhalten(SIGHUP), Verhalten(SIGINT)}), vorher);
    }

    // A signal ignored from the start (nohup) stays ignored.
    void ignoriertBleibtIgnoriert()
    {
        struct sigaction ignorieren{}, vorher{};
        ignorieren.sa_handler = SIG_IGN;
        ::sigaction(SIGHUP, &ignorieren, &vorher);
        {
            SystemSignale signale;
            QCOMPARE(signale.Gefangen(), (QList<int>{SIGTERM, SIGINT}));
            QVERIFY(Verhalten(SIGHUP) == SIG_IGN);
            QSignalSpy ende(&signale, &SystemSignale::Ende);
            ::raise(SIGHUP);
            QTest::qWait(50);
            QCOMPARE(ende.size(), 0);
        }
        QVERIFY(Verhalten(SIGHUP) == SIG_IGN);
        ::sigaction(SIGHUP, &vorher, nullptr);
    }
};

QTEST_GUILESS_MAIN(TestSystemSignale)
#include "tst_systemsignale.moc"
