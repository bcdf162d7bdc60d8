// The built program sent SIGTERM while it starts: from the moment it catches the signal, a
// shutdown that comes is not lost. The program ends through its shutdown as soon as its main
// window exists, with the user store written and exit status 0.

#include "programmstart.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class TestStartsignal : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;

    QString programm() const { return mDir.filePath(QStringLiteral("prog/MiniQuorvel")); }

    static QString storeGeschrieben(const QString &Store)
    {
        const QSettings s(Store + QStringLiteral("/ZIR/MiniQuorvel.conf"), QSettings::IniFormat);
        for (const char *key : {"COMPORT", "QorAdresse", "PrgVerzeichnis", "Echo"})
            if (!s.contains(QLatin1String(key)))
                return QStringLiteral("Einstellung %1 fehlt").arg(QLatin1String(key));
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        QVERIFY(ProgrammKopieren(mDir.filePath(QStringLiteral("prog"))));
    }

    // Raised at the program's first processing of events, in its start-up before the main
    // window exists (as a debugger would raise it there).
    void beimErstenEreignislauf()
    {
        QTemporaryDir store;
        QVERIFY(store.isValid());
        QProcessEnvironment zusatz;
        zusatz.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(MQ_VORLADEN));
        // A sanitizer build's runtime need not come first then.
        zusatz.insert(QStringLiteral("ASAN_OPTIONS"),
                      qEnvironmentVariable("ASAN_OPTIONS") + QStringLiteral(":verify_asan_link_order=0"));
        auto p = ProgrammStarten(programm(), store.path(), false, zusatz);
        QVERIFY(p->waitForStarted());
        const QString ende = Beendet(*p);
        const QString ausgabe = QString::fromLocal8Bit(p->readAll());
        QVERIFY2(ende.isEmpty(), qPrintable(ende + QLatin1Char('\n') + ausgabe));
        QVERIFY2(ausgabe.contains(QStringLiteral("SIGTERM beim ersten Ereignislauf")), qPrintable(ausgabe));
        QCOMPARE(storeGeschrieben(store.path()), QString());
    }

    // Sent from outside at moments spread over the start-up, from the moment the program
    // catches it on.
    void waehrendDesStarts_data()
    {
        QTest::addColumn<int>("nachMs");
        int start = 0;
        for (const int ms : {0, 0, 0, 5, 10, 20, 40, 60, 80, 100, 150, 200, 300, 400})
            QTest::addRow("start %d, %d ms", ++start, ms) << ms;
    }
    void waehrendDesStarts()
    {
        QFETCH(int, nachMs);
        QTemporaryDir store;
        QVERIFY(store.isValid());
        auto p = ProgrammStarten(programm(), store.path());
        QCOMPARE(BisSigtermGefangen(*p), QString());
        if (nachMs > 0)
            QVERIFY(!p->waitForFinished(nachMs));
        QCOMPARE(::kill(pid_t(p->processId()), SIGTERM), 0);
        QCOMPARE(Beendet(*p), QString());
        QCOMPARE(storeGeschrieben(store.path()), QString());
    }
};

QTEST_GUILESS_MAIN(TestStartsignal)
#include "tst_startsignal.moc"
