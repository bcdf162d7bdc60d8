// mq-bench-poll: the CPU time of the main window while it polls the simulator program
// (quorvel-sim) on a pseudo-terminal, first with empty traffic lists, then with the three
// lists full (1000 lines each, as after about 17 minutes of polling). Prints figures only.

#include "controller/uQuorvelEngine.h"
#include "support/uKonstanten.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "windows/uMiniQuorvel.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QListWidget>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

constexpr int ComNummer = 96;

double CpuSekunden()
{
    timespec ts{};
    if (clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts) != 0)
        return 0.0;
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

void Warten(int ms)
{
    QEventLoop schleife;
    QTimer::singleShot(ms, &schleife, &QEventLoop::quit);
    schleife.exec();
}

// CPU share of one core while the window polls for the given seconds.
void Messen(const char *name, TwMiniQuorvel &fenster, int sekunden)
{
    int antworten = 0;
    const QMetaObject::Connection zaehler =
        QObject::connect(fenster.Engine(), &QuorvelEngine::EmpfangenZeile, [&] { ++antworten; });
    const double cpu0 = CpuSekunden();
    QElapsedTimer uhr;
    uhr.start();
    Warten(sekunden * 1000);
    const double cpu = CpuSekunden() - cpu0;
    const double wand = double(uhr.elapsed()) / 1000.0;
    QObject::disconnect(zaehler);
    std::printf("%-13s %3d s: lists %4d/%4d/%4d lines, %3d replies, CPU %.3f s = %.2f %% of one core\n", name,
                sekunden, fenster.LBout->count(), fenster.LBIn->count(), fenster.LBError->count(),
                antworten, cpu, 100.0 * cpu / wand);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Programm programm;
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("MiniQuorvel"));
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("sekunden"), QStringLiteral("Seconds per run (default 60)."));
    const QCommandLineOption simOption(QStringLiteral("sim"), QStringLiteral("The simulator program."),
                                       QStringLiteral("pfad"),
#ifdef MQ_SIM_PROGRAMM
                                       QStringLiteral(MQ_SIM_PROGRAMM)
#else
                                       QStringLiteral("quorvel-sim")
#endif
    );
    parser.addOption(simOption);
    parser.process(app);
    const int sekunden = parser.positionalArguments().value(0, QStringLiteral("60")).toInt();

    OberflaecheEinrichten();
    QThreadPool::globalInstance()->setMaxThreadCount(1);

    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    PfadeInitialisieren(dir.path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path() + QStringLiteral("/einstellungen"));
    QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZIR"), QStringLiteral("MiniQuorvel"))
        .setValue(QStringLiteral("COMPORT"), QStringLiteral("COM%1").arg(ComNummer));

    QProcess sim;
    sim.setStandardOutputFile(QProcess::nullDevice());
    sim.start(parser.value(simOption), {QStringLiteral("--ordner"), dir.path(), QStringLiteral("--com"),
                                        QString::number(ComNummer)});
    if (!sim.waitForStarted(5000)) {
        std::fprintf(stderr, "quorvel-sim not started: %s\n", qPrintable(sim.errorString()));
        return 1;
    }
    const QString link = dir.path() + QStringLiteral("/ports/COM%1").arg(ComNummer);
    QElapsedTimer warten;
    warten.start();
    while (!QFileInfo::exists(link) && warten.elapsed() < 5000)
        QThread::msleep(10);
    if (!QFileInfo::exists(link)) {
        std::fprintf(stderr, "no link %s\n", qPrintable(link));
        return 1;
    }

    {
        TwMiniQuorvel fenster;
        fenster.show();
        Warten(3000);
        Messen("empty lists", fenster, sekunden);

        // The lists as after a long run: 1000 lines each, of the lengths that polling writes.
        const QString frame = QStringLiteral("0600581017000000D4\r");
        const QString antwort = QStringLiteral("06005810170000100000000300040001") + QString(50, QLatin1Char('0'));
        for (int i = 0; i < 1000; ++i) {
            fenster.GesendetZeile(frame);
            fenster.EmpfangenZeile(antwort);
            fenster.FehlerZeile(DatumZeitText(QDateTime::currentDateTime()) + QStringLiteral("__0\tQ_Stoer\t1:TIMEOUT"));
        }
        Warten(2000);
        Messen("full lists", fenster, sekunden);
        P().Beenden = true;
    }
    sim.terminate();
    sim.waitForFinished(3000);
    return 0;
}
