// quorvel-sim: a Quorvel controller on a pseudo-terminal, for trying the program without one.

#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPaar[2] = {-1, -1};

void signalEmpfangen(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPaar[1], &c, 1);
}

void ausgabe(const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Control characters made visible: CR as \r, LF as \n, others as \xNN.
QString sichtbar(const QByteArray &bytes)
{
    QString text;
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '\r')
            text += QLatin1String("\\r");
        else if (c == '\n')
            text += QLatin1String("\\n");
        else if (b < 0x20 || b >= 0x7F)
            text += QStringLiteral("\\x%1").arg(b, 2, 16, QLatin1Char('0'));
        else
            text += QLatin1Char(c);
    }
    return text;
}

QString zeit()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-sim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quorvel-Steuerung auf einem Pseudo-Terminal."));
    parser.addHelpOption();
    const QCommandLineOption adresse(QStringLiteral("adresse"), QStringLiteral("Busadresse der Steuerung."),
                                     QStringLiteral("adresse"), QStringLiteral("0600"));
    const QCommandLineOption ordner(QStringLiteral("ordner"),
                                    QStringLiteral("Programmordner, in dem ports/COM<n> angelegt wird."),
                                    QStringLiteral("ordner"));
    const QCommandLineOption com(QStringLiteral("com"), QStringLiteral("Nummer des COM-Ports (1..128)."),
                                 QStringLiteral("n"));
    const QCommandLineOption pacing(QStringLiteral("pacing"), QStringLiteral("Antworten mit 9600 Baud senden."));
    const QCommandLineOption echo(QStringLiteral("echo"), QStringLiteral("Jedes empfangene Byte zurücksenden (RS-485-Echo)."));
    const QCommandLineOption alt(QStringLiteral("alt-firmware"), QStringLiteral("Ältere Firmware (V351) statt V352."));
    parser.addOptions({adresse, ordner, com, pacing, echo, alt});
    parser.process(app);

    QString verzeichnis;
    int nummer = 0;
    if (parser.isSet(ordner) != parser.isSet(com)) {
        ausgabe(QStringLiteral("--ordner und --com gehören zusammen."));
        return 2;
    }
    if (parser.isSet(ordner)) {
        const QDir dir(parser.value(ordner));
        if (!dir.exists()) {
            ausgabe(QStringLiteral("Ordner fehlt: %1").arg(parser.value(ordner)));
            return 2;
        }
        verzeichnis = dir.absolutePath();
        bool ok = false;
        nummer = parser.value(com).toInt(&ok);
        if (!ok || nummer < 1 || nummer > 128) {
            ausgabe(QStringLiteral("--com braucht eine Zahl von 1 bis 128."));
            return 2;
        }
    }

    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPaar) != 0) {
        ausgabe(QStringLiteral("socketpair fehlgeschlagen"));
        return 1;
    }
    struct sigaction sa {};
    sa.sa_handler = signalEmpfangen;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    QSocketNotifier signalMelder(signalPaar[0], QSocketNotifier::Read);
    QObject::connect(&signalMelder, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });

    QuorvelSimulator sim(parser.value(adresse));
    sim.setPacing(parser.isSet(pacing));
    sim.setEcho(parser.isSet(echo));
    sim.setAlteFirmware(parser.isSet(alt));
    QObject::connect(&sim, &QuorvelSimulator::frameEmpfangen, [](const QByteArray &frame) {
        ausgabe(QStringLiteral("%1 <- %2").arg(zeit(), sichtbar(frame)));
    });
    QObject::connect(&sim, &QuorvelSimulator::antwortGebildet, [](const QByteArray &antwort) {
        ausgabe(QStringLiteral("%1 -> %2").arg(zeit(), sichtbar(antwort)));
    });

    PtySimulator pty(&sim);
    if (!pty.starten(verzeichnis, nummer)) {
        ausgabe(QStringLiteral("Start fehlgeschlagen: %1").arg(pty.fehler()));
        return 1;
    }
    ausgabe(QStringLiteral("Quorvel-Simulator, Adresse %1, Firmware %2%3%4")
                .arg(sim.adresse(), sim.alteFirmware() ? QStringLiteral("V351") : QStringLiteral("V352"),
                     sim.pacing() ? QStringLiteral(", 9600 Baud") : QString(),
                     sim.echo() ? QStringLiteral(", Echo") : QString()));
    ausgabe(QStringLiteral("Gerät: %1").arg(pty.slavePfad()));
    if (!pty.linkPfad().isEmpty())
        ausgabe(QStringLiteral("Link:  %1 (im Programm COM%2 wählen)").arg(pty.linkPfad()).arg(nummer));
    ausgabe(QStringLiteral("Ende mit Strg+C."));

    const int rc = app.exec();
    ausgabe(QStringLiteral("Simulator beendet."));
    ::close(signalPaar[0]);
    ::close(signalPaar[1]);
    return rc;
}
