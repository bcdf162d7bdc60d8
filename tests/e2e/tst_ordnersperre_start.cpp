// The built program started while another program holds the lock of its program folder the
// whole time: the start waits for the lock once, not at each of its settings reads, and a
// shutdown is acted upon as without the holder.

#include "fremdschreiber.h"
#include "programmstart.h"
#include "support/dateihilfen.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

struct Lauf
{
    QString Fehler; // empty when the start and its end went right
    qint64 StartMs = 0;
    qint64 EndeMs = 0;
};

} // namespace

class TestOrdnersperreStart : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;

    QString prog() const { return mDir.filePath(QStringLiteral("prog")); }
    QString ini() const { return prog() + QStringLiteral("/Solvanor2004.INI"); }

    // One start from a settings file without [TCPIP] (or none at all): done once the main
    // window's reads have written it; then ended by SIGTERM.
    Lauf starten() const
    {
        Lauf lauf;
        QByteArray text = DateiInhalt(ini());
        Fremdschreiber::AbschnittEntfernen(text, "TCPIP");
        if (text.contains("TCPWinPort=") || (QFileInfo::exists(ini()) && !DateiAnlegen(ini(), text))) {
            lauf.Fehler = QStringLiteral("[TCPIP] nicht zu entfernen");
            return lauf;
        }
        QElapsedTimer uhr;
        uhr.start();
        const auto p = ProgrammStarten(prog() + QStringLiteral("/MiniQuorvel"), mDir.filePath(QStringLiteral("store")));
        const auto fertig = [&] {
            const QByteArray jetzt = DateiInhalt(ini());
            return jetzt.contains("\r\nTCPWinPort=") && jetzt.contains("\r\nTCPServerTimeOut=");
        };
        while (!fertig() && uhr.elapsed() < 120000)
            if (p->waitForFinished(10))
                break;
        lauf.StartMs = uhr.elapsed();
        if (!fertig())
            lauf.Fehler = QStringLiteral("Einstellungen nicht gelesen\n");
        const QString gefangen = BisSigtermGefangen(*p);
        if (!gefangen.isEmpty())
            return {lauf.Fehler + gefangen + QLatin1Char('\n') + QString::fromLocal8Bit(p->readAll())};
        uhr.restart();
        ::kill(pid_t(p->processId()), SIGTERM);
        const QString ende = Beendet(*p);
        lauf.EndeMs = uhr.elapsed();
        if (!ende.isEmpty())
            lauf.Fehler += ende + QLatin1Char('\n') + QString::fromLocal8Bit(p->readAll());
        return lauf;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(mDir.isValid());
        QVERIFY(ProgrammKopieren(prog()));
        // A first start makes the settings file.
        const Lauf erster = starten();
        QVERIFY2(erster.Fehler.isEmpty(), qPrintable(erster.Fehler));
    }

    void startBeiGehaltenemProgrammordner()
    {
        const Lauf frei = starten();
        QVERIFY2(frei.Fehler.isEmpty(), qPrintable(frei.Fehler));

        const int fd = ::open(QFile::encodeName(prog()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        QVERIFY(fd >= 0);
        const auto loslassen = qScopeGuard([fd] { ::close(fd); });
        QCOMPARE(::flock(fd, LOCK_EX | LOCK_NB), 0);
        const Lauf gesperrt = starten();
        qInfo("Start frei %lld ms, Ende %lld ms; Start mit gehaltenem Ordner %lld ms, Ende %lld ms",
              frei.StartMs, frei.EndeMs, gesperrt.StartMs, gesperrt.EndeMs);
        QVERIFY2(gesperrt.Fehler.isEmpty(), qPrintable(gesperrt.Fehler));
        QVERIFY(DateiInhalt(ini()).contains("\r\nTCPWinPort=4096\r\nTCPServerTimeOut=400\r\n"));
        // One wait of about two seconds, not one per read.
        QVERIFY2(gesperrt.StartMs >= 1900, qPrintable(QString::number(gesperrt.StartMs)));
        QVERIFY2(gesperrt.StartMs < frei.StartMs + 10000, qPrintable(QString::number(gesperrt.StartMs)));
        QVERIFY2(gesperrt.EndeMs < frei.EndeMs + 5000, qPrintable(QString::number(gesperrt.EndeMs)));
    }
};

QTEST_GUILESS_MAIN(TestOrdnersperreStart)
#include "tst_ordnersperre_start.moc"
