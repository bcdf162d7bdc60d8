// The built program ended by the system, end to end: it runs on a display of its own (Xvfb),
// an address is typed into its window with the mouse and the keyboard (xdotool), and then the
// signal of a shutdown (SIGTERM), of a closed terminal (SIGHUP) or of Ctrl+C (SIGINT) comes.
// The program must end through its normal shutdown: the typed address in the user store,
// exit status 0.

#include "programmstart.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

// Places in the main window, as it is laid out.
const QStringList AdressFeld{QStringLiteral("260"), QStringLiteral("67")};
const QStringList LadenKnopf{QStringLiteral("307"), QStringLiteral("353")};

} // namespace

class TestSystemende : public QObject
{
    Q_OBJECT

    QProcess mX;
    QString mDisplay;
    QTemporaryDir mDir;
    QString mProgramm;

    QProcessEnvironment umgebung(const QString &Store = {}) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), mDisplay);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        if (!Store.isEmpty())
            env.insert(QStringLiteral("XDG_CONFIG_HOME"), Store);
        return env;
    }

    // Runs an X tool to its end (at most 30 s); its output, or no value when it failed.
    std::optional<QByteArray> werkzeug(const QString &Name, const QStringList &Argumente) const
    {
        QProcess p;
        p.setProcessEnvironment(umgebung());
        p.start(Name, Argumente);
        if (!p.waitForFinished(30000)) {
            p.kill();
            p.waitForFinished();
            return std::nullopt;
        }
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return std::nullopt;
        return p.readAllStandardOutput();
    }
    // The first visible window whose name matches Muster, once it is there.
    QByteArray fenster(const QString &Muster) const
    {
        const auto id = werkzeug(QStringLiteral("xdotool"),
                                 {QStringLiteral("search"), QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                                  QStringLiteral("--name"), Muster});
        return id ? id->split('\n').value(0).trimmed() : QByteArray();
    }
    bool klicken(const QByteArray &Fenster, const QStringList &Stelle) const
    {
        return werkzeug(QStringLiteral("xdotool"), QStringList{QStringLiteral("mousemove"), QStringLiteral("--window"),
                                                                QString::fromLatin1(Fenster)}
                                                       + Stelle + QStringList{QStringLiteral("click"), QStringLiteral("1")})
            .has_value();
    }
    bool tasten(const QStringList &Argumente) const
    {
        return werkzeug(QStringLiteral("xdotool"), Argumente).has_value();
    }

private slots:
    void initTestCase()
    {
        for (const char *name : {"Xvfb", "xdotool", "xclip"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 fehlt: bash scripts/deps.sh installiert es").arg(QLatin1String(name))));
        QVERIFY(mDir.isValid());
        // A display of its own; Xvfb names the free number it took.
        mX.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                          QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                                          QStringLiteral("tcp")});
        QVERIFY(mX.waitForStarted());
        while (!mX.canReadLine())
            QVERIFY2(mX.waitForReadyRead(30000), "Xvfb nennt keine Anzeige");
        mDisplay = QLatin1Char(':') + QString::fromLatin1(mX.readLine().trimmed());

        // The program folder is the executable's: a copy of its own in a temporary folder.
        QVERIFY(ProgrammKopieren(mDir.filePath(QStringLiteral("prog"))));
        mProgramm = mDir.filePath(QStringLiteral("prog/MiniQuorvel"));
    }
    void cleanupTestCase()
    {
        mX.terminate();
        mX.waitForFinished();
    }

    void signal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("offen"); // what is open when the signal comes
        QTest::addColumn<QString>("adresse");
        QTest::addColumn<bool>("hupIgnoriert"); // SIGHUP ignored at the start (nohup)
        QTest::newRow("SIGTERM") << SIGTERM << "" << "0700" << false;
        QTest::newRow("SIGHUP") << SIGHUP << "" << "0701" << false;
        QTest::newRow("SIGINT") << SIGINT << "" << "0702" << false;
        QTest::newRow("SIGTERM, message box open") << SIGTERM << "box" << "0000" << false;
        QTest::newRow("SIGTERM, file dialog open") << SIGTERM << "dialog" << "0703" << false;
        QTest::newRow("SIGHUP ignored at the start") << SIGHUP << "" << "0704" << true;
    }
    void signal()
    {
        QFETCH(int, signal);
        QFETCH(QString, offen);
        QFETCH(QString, adresse);
        QFETCH(bool, hupIgnoriert);
        QTemporaryDir store;
        QVERIFY(store.isValid());

        QProcess programm;
        programm.setProcessEnvironment(umgebung(store.path()));
        programm.setChildProcessModifier([hupIgnoriert] { SignaleWieVomDesktop(hupIgnoriert); });
        programm.start(mProgramm, {});
        QVERIFY(programm.waitForStarted());
        const auto beenden = qScopeGuard([&] {
            if (programm.state() != QProcess::NotRunning) {
                programm.kill();
                programm.waitForFinished();
            }
        });

        const QByteArray w = fenster(QStringLiteral("^MiniQuorvel$"));
        QVERIFY(!w.isEmpty());
        QVERIFY(klicken(w, AdressFeld));
        // One call each: a chained "key" would take the words after it as keys too.
        QVERIFY(tasten({QStringLiteral("key"), QStringLiteral("ctrl+a")}));
        QVERIFY(tasten({QStringLiteral("type"), adresse}));
        QVERIFY(tasten({QStringLiteral("key"), QStringLiteral("ctrl+a")}));
        // The keys have reached the field once it offers the whole address as its selection.
        QTRY_COMPARE_WITH_TIMEOUT(werkzeug(QStringLiteral("xclip"), {QStringLiteral("-o"), QStringLiteral("-selection"),
                                                                     QStringLiteral("primary")})
                                      .value_or(QByteArray()),
                                  adresse.toLatin1(), 20000);
        if (offen == QLatin1String("box")) {
            // Leaving the field with an address that is none opens the error box.
            QVERIFY(tasten({QStringLiteral("key"), QStringLiteral("Tab")}));
            QVERIFY(!fenster(QStringLiteral("^ERROR$")).isEmpty());
        } else if (offen == QLatin1String("dialog")) {
            QVERIFY(klicken(w, LadenKnopf));
            QVERIFY(!fenster(QStringLiteral("^Öffnen$")).isEmpty());
        }

        QCOMPARE(::kill(pid_t(programm.processId()), signal), 0);
        if (hupIgnoriert) {
            // Still there: the end comes with the next signal.
            QVERIFY(!programm.waitForFinished(1000));
            QCOMPARE(::kill(pid_t(programm.processId()), SIGTERM), 0);
        }
        QVERIFY(programm.waitForFinished(30000));
        QCOMPARE(programm.exitStatus(), QProcess::NormalExit);
        QCOMPARE(programm.exitCode(), 0);
        const QSettings einstellungen(store.filePath(QStringLiteral("ZIR/MiniQuorvel.conf")), QSettings::IniFormat);
        QCOMPARE(einstellungen.value(QStringLiteral("QorAdresse")).toString(), adresse);
        for (const char *key : {"COMPORT", "PrgVerzeichnis", "Echo"})
            QVERIFY2(einstellungen.contains(QLatin1String(key)), key);
    }
};

QTEST_GUILESS_MAIN(TestSystemende)
#include "tst_systemende.moc"
