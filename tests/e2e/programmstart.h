#pragma once

// The built program started as a desktop starts it, also several at once: a copy of its own in
// a program folder, the end signals at their defaults, a user store of the test's. Without a
// display it runs on the offscreen platform.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

#include <csignal>
#include <linux/capability.h>
#include <memory>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

// The program's copy Name in Ordner (a second name of the built file where it can be had).
inline bool ProgrammKopieren(const QString &Ordner, const QString &Name = QStringLiteral("MiniQuorvel"))
{
    const QString ziel = Ordner + QLatin1Char('/') + Name;
    return QDir().mkpath(Ordner)
           && (::link(MQ_PROGRAMM, QFile::encodeName(ziel).constData()) == 0
               || QFile::copy(QStringLiteral(MQ_PROGRAMM), ziel));
}

// True once the process Pid catches SIGTERM (its handler is in place).
inline bool FaengtSigterm(qint64 Pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(Pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &zeile : status.readAll().split('\n'))
        if (zeile.startsWith("SigCgt:")) {
            bool ok = false;
            const qulonglong maske = zeile.mid(7).trimmed().toULongLong(&ok, 16);
            return ok && (maske & (1ULL << (SIGTERM - 1)));
        }
    return false;
}

// In a started child before its program runs: the signals as a desktop starts a program
// with, whatever the test runner has; SIGHUP ignored where HupIgnoriert (nohup).
inline void SignaleWieVomDesktop(bool HupIgnoriert = false)
{
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    ::signal(SIGHUP, HupIgnoriert ? SIG_IGN : SIG_DFL);
    sigset_t keine;
    sigemptyset(&keine);
    ::sigprocmask(SIG_SETMASK, &keine, nullptr);
}

// True when a child started as root can be kept from passing over mode bits (or needs not be).
inline bool DateirechteAblegbar()
{
    if (::geteuid() != 0)
        return true;
    __user_cap_header_struct kopf{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct daten[2] = {};
    return ::syscall(SYS_capget, &kopf, daten) == 0
           && (daten[CAP_TO_INDEX(CAP_SETPCAP)].effective & CAP_TO_MASK(CAP_SETPCAP));
}

// One start of the program Programm with the user store below Store. OhneDateirechte: for a
// start as root, the rights that pass over mode bits are dropped from what the program can
// ever have, so that a folder closed to new files is closed to it too.
inline std::unique_ptr<QProcess> ProgrammStarten(const QString &Programm, const QString &Store,
                                                 bool OhneDateirechte = false,
                                                 const QProcessEnvironment &Zusatz = {})
{
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Store);
    for (const QString &k : Zusatz.keys())
        env.insert(k, Zusatz.value(k));
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::MergedChannels);
    p->setChildProcessModifier([OhneDateirechte] {
        SignaleWieVomDesktop();
        if (OhneDateirechte && ::geteuid() == 0
            && (::prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0
                || ::prctl(PR_CAPBSET_DROP, CAP_DAC_READ_SEARCH, 0, 0, 0) != 0))
            ::_exit(125);
    });
    p->start(Programm, {});
    return p;
}

// Waits until the start Programm catches SIGTERM; empty, else why not.
inline QString BisSigtermGefangen(QProcess &Programm, int WarteMs = 60000)
{
    if (!Programm.waitForStarted(WarteMs))
        return QStringLiteral("startet nicht: ") + Programm.errorString();
    const qint64 pid = Programm.processId();
    for (int i = 0; i < WarteMs / 5 && !FaengtSigterm(pid); ++i)
        if (Programm.waitForFinished(5))
            return QStringLiteral("vor dem Signal beendet, Status %1").arg(Programm.exitCode());
    return FaengtSigterm(pid) ? QString() : QStringLiteral("fängt SIGTERM nicht");
}

// Waits for the end of the start Programm (killed when it does not come). Empty when it
// ended through its shutdown with status 0, else what happened.
inline QString Beendet(QProcess &Programm, int WarteMs = 60000)
{
    if (!Programm.waitForFinished(WarteMs)) {
        Programm.kill();
        Programm.waitForFinished();
        return QStringLiteral("endet nicht");
    }
    if (Programm.exitStatus() != QProcess::NormalExit)
        return QStringLiteral("durch ein Signal beendet");
    if (Programm.exitCode() != 0)
        return QStringLiteral("Status %1").arg(Programm.exitCode());
    return {};
}

// Ends a start as a shutdown does: SIGTERM once the program catches it. Empty when it then
// ended through its shutdown with status 0, else what happened.
inline QString ProgrammBeenden(QProcess &Programm, int WarteMs = 60000)
{
    const QString gefangen = BisSigtermGefangen(Programm, WarteMs);
    if (!gefangen.isEmpty())
        return gefangen;
    ::kill(pid_t(Programm.processId()), SIGTERM);
    return Beendet(Programm, WarteMs);
}
