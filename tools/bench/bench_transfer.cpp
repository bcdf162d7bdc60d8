// mq-bench-transfer: times list transfers of the command engine and its transfer decoders
// against the simulator program (quorvel-sim) on a pseudo-terminal, with instant replies and
// with replies paced at 9600 baud. Prints figures only.
//
// Per frame: wall time; CPU time of this process (the program side: serial port, reply check,
// decoder, next frame) and of the simulator process; the program's own part of the wall time
// (first reply bytes seen -> next frame written) and the rest (frame written -> first reply
// bytes seen: line, pty and simulator). Wire-time limit: every byte of request and reply at
// 9600 baud 8N1, 10 bits per byte.

#include "controller/ComPort.h"
#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "controller/uQuorvelTransfer.h"
#include "support/uProgramm.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int ComNummer = 9;
constexpr double BitsProByte = 10.0;
constexpr double Baud = 9600.0;

double CpuMs(clockid_t uhr)
{
    timespec ts{};
    if (clock_gettime(uhr, &ts) != 0)
        return 0.0;
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

QString Hex4(int wert)
{
    return QStringLiteral("%1").arg(wert & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}

struct Ergebnis
{
    int frames = 0;
    double wandMs = 0;
    double cpuProgrammMs = 0;
    double cpuSimulatorMs = 0;
    double innenMs = 0;   // program's part, summed over the frames that were followed by another
    double aussenMs = 0;  // line + simulator part, summed
    int innenAnzahl = 0;
    int aussenAnzahl = 0;
    double drahtMs = 0;   // wire-time limit
    double antwortDrahtMs = 0;   // the replies alone
    bool ok = false;
};

class Messplatz : public QObject
{
public:
    explicit Messplatz(qint64 simPid) : mSimPid(simPid)
    {
        mPort.setComNumber(ComNummer);
        // Connected before the engine: the time is taken before the engine reads the bytes.
        // The last notification before a frame goes out is the one that completed its reply.
        connect(&mPort, &QuorvelPort::OnTriggerAvail, this, [this](int) { mAnkunft = mUhr.nsecsElapsed(); });
        mEngine = new QuorvelEngine(&mPort, this);
        connect(mEngine, &QuorvelEngine::GesendetZeile, this, [this](const QString &frame) {
            const qint64 jetzt = mUhr.nsecsElapsed();
            if (mGesendet >= 0 && mAnkunft > mGesendet) {
                mErg.innenMs += double(jetzt - mAnkunft) / 1e6;
                ++mErg.innenAnzahl;
                mErg.aussenMs += double(mAnkunft - mGesendet) / 1e6;
                ++mErg.aussenAnzahl;
            }
            mGesendet = jetzt;
            ++mErg.frames;
            mErg.drahtMs += double(frame.size()) * BitsProByte / Baud * 1000.0;
        });
        connect(mEngine, &QuorvelEngine::EmpfangenZeile, this, [this](const QString &zeile) {
            const double ms = double(zeile.size()) * BitsProByte / Baud * 1000.0;
            mErg.drahtMs += ms;
            mErg.antwortDrahtMs += ms;
        });
        connect(mEngine, &QuorvelEngine::FehlerZeile, this, [](const QString &t) {
            std::fprintf(stderr, "  Fehler: %s\n", qPrintable(t));
        });
        connect(mEngine, &QuorvelEngine::ErgebnisVerteilen, this,
                [this](qint32, const QString &topic, const QString &text) {
                    if (topic == QLatin1String("MELDUNG"))
                        return;
                    mErg.ok = text != QLatin1String("SendNAK");
                    mSchleife.quit();
                });
        QuorvelTransfer::Fuer(mEngine->Service())->Einsetzen();
    }

    Ergebnis Messen(const QString &anfrage)
    {
        mErg = Ergebnis{};
        mGesendet = mAnkunft = -1;
        clockid_t simUhr{};
        const bool simCpu = clock_getcpuclockid(pid_t(mSimPid), &simUhr) == 0;
        const double cpu0 = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
        const double sim0 = simCpu ? CpuMs(simUhr) : 0.0;
        mUhr.start();
        QTimer::singleShot(120000, &mSchleife, &QEventLoop::quit);
        mEngine->Kommando(QStringLiteral("BEFEHL"), anfrage);
        mEngine->TimerHerzTimer();
        mSchleife.exec();
        mErg.wandMs = double(mUhr.nsecsElapsed()) / 1e6;
        mErg.cpuProgrammMs = CpuMs(CLOCK_PROCESS_CPUTIME_ID) - cpu0;
        mErg.cpuSimulatorMs = simCpu ? CpuMs(simUhr) - sim0 : -1.0;
        // Let the heartbeat that the end of the command started run out.
        QEventLoop ruhe;
        QTimer::singleShot(100, &ruhe, &QEventLoop::quit);
        ruhe.exec();
        return mErg;
    }

private:
    qint64 mSimPid;
    ComPort mPort;
    QuorvelEngine *mEngine = nullptr;
    QEventLoop mSchleife;
    QElapsedTimer mUhr;
    Ergebnis mErg;
    qint64 mGesendet = -1;
    qint64 mAnkunft = -1;
};

void Zeigen(const char *name, const std::vector<Ergebnis> &laeufe)
{
    // The median run by wall time.
    std::vector<Ergebnis> l = laeufe;
    std::sort(l.begin(), l.end(), [](const Ergebnis &a, const Ergebnis &b) { return a.wandMs < b.wandMs; });
    const Ergebnis &e = l[l.size() / 2];
    const double f = std::max(1, e.frames);
    std::printf("  %-28s %s  %4d frames  wall %8.1f ms  (%.3f ms/frame)\n", name, e.ok ? "ok " : "NAK", e.frames,
                e.wandMs, e.wandMs / f);
    std::printf("  %-28s program CPU %.3f ms/frame, simulator CPU %.3f ms/frame\n", "", e.cpuProgrammMs / f,
                e.cpuSimulatorMs < 0 ? -1.0 : e.cpuSimulatorMs / f);
    std::printf("  %-28s program part of wall %.3f ms/frame (reply complete -> next frame written)\n", "",
                e.innenMs / std::max(1, e.innenAnzahl));
    std::printf("  %-28s line+simulator %.3f ms/frame (frame written -> reply complete)\n", "",
                e.aussenMs / std::max(1, e.aussenAnzahl));
    std::printf("  %-28s wire limit %.1f ms: wall %+.1f %%; replies alone %.1f ms: wall %+.1f %%\n", "", e.drahtMs,
                (e.wandMs / e.drahtMs - 1.0) * 100.0, e.antwortDrahtMs, (e.wandMs / e.antwortDrahtMs - 1.0) * 100.0);
    std::printf("  %-28s the program's part is %.2f %% of the wire limit\n", "",
                e.innenMs / std::max(1, e.innenAnzahl) * f / e.drahtMs * 100.0);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Times list transfers against the simulator."));
    parser.addHelpOption();
    const QCommandLineOption simOption(QStringLiteral("sim"), QStringLiteral("Path of quorvel-sim."),
                                       QStringLiteral("pfad"),
#ifdef MQ_SIM_PROGRAMM
                                       QStringLiteral(MQ_SIM_PROGRAMM)
#else
                                       QStringLiteral("quorvel-sim")
#endif
    );
    const QCommandLineOption laeufeOption(QStringLiteral("laeufe"), QStringLiteral("Runs per transfer (median shown)."),
                                          QStringLiteral("n"), QStringLiteral("3"));
    parser.addOptions({simOption, laeufeOption});
    parser.process(app);
    const int laeufe = std::max(1, parser.value(laeufeOption).toInt());

    QString nvListe;
    for (int nr = 1; nr <= 10; ++nr) {
        nvListe += Hex4(nr);
        for (int i = 1; i < 25; ++i)
            nvListe += Hex4(0x0100 * nr + i);
    }

    for (const bool pacing : {false, true}) {
        QTemporaryDir dir;
        if (!dir.isValid())
            return 1;
        Programm programm;
        P().Programmverzeichnis = dir.path() + QLatin1Char('/');
        P().ModulName = QStringLiteral("mq-bench-transfer");

        QProcess sim;
        sim.setStandardOutputFile(QProcess::nullDevice());
        QStringList args{QStringLiteral("--ordner"), dir.path(), QStringLiteral("--com"), QString::number(ComNummer)};
        if (pacing)
            args << QStringLiteral("--pacing");
        sim.start(parser.value(simOption), args);
        if (!sim.waitForStarted(5000)) {
            std::fprintf(stderr, "quorvel-sim not started: %s\n", qPrintable(sim.errorString()));
            return 1;
        }
        const QString link = dir.path() + QStringLiteral("/ports/COM") + QString::number(ComNummer);
        QElapsedTimer warten;
        warten.start();
        while (!QFileInfo::exists(link) && warten.elapsed() < 5000)
            QThread::msleep(10);
        if (!QFileInfo::exists(link)) {
            std::fprintf(stderr, "no link %s\n", qPrintable(link));
            return 1;
        }

        std::printf("%s\n", pacing ? "Simulator at 9600 baud (the request holds the line, then the reply is paced):" : "Instant replies:");
        {
            Messplatz platz(sim.processId());
            platz.Messen(QStringLiteral("GPR\t00\t1"));   // opens the port
            std::vector<Ergebnis> schreiben, lesen;
            for (int i = 0; i < laeufe; ++i) {
                schreiben.push_back(platz.Messen(QStringLiteral("NVRest\t00\t") + nvListe));
                lesen.push_back(platz.Messen(QStringLiteral("GRSave\t00\t")));
            }
            Zeigen("Nivorell list write", schreiben);
            Zeigen("proofing list read", lesen);
        }
        sim.terminate();
        sim.waitForFinished(3000);
    }
    return 0;
}
