#include "platform/OrdnerSperre.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

namespace {

using Uhr = std::chrono::steady_clock;

// Folders whose wait ran out, with the time of the last give-up; a folder leaves once its
// lock is had again.
std::mutex AufgegebenMutex;
QHash<QString, Uhr::time_point> &Aufgegeben()
{
    static QHash<QString, Uhr::time_point> ordner;
    return ordner;
}

QString Schluessel(const QString &Ordner)
{
    return QDir::cleanPath(QFileInfo(Ordner).absoluteFilePath());
}

// True when a wait for Ordner ran out less than VergessenMs ago.
bool KuerzlichAufgegeben(const QString &Ordner, int VergessenMs)
{
    const std::lock_guard<std::mutex> halt(AufgegebenMutex);
    const auto it = Aufgegeben().constFind(Ordner);
    return it != Aufgegeben().constEnd() && Uhr::now() - it.value() < std::chrono::milliseconds(VergessenMs);
}

void Gehabt(const QString &Ordner)
{
    const std::lock_guard<std::mutex> halt(AufgegebenMutex);
    Aufgegeben().remove(Ordner);
}

// Notes a give-up; true when the folder was not noted yet.
bool AufgabeMerken(const QString &Ordner)
{
    const std::lock_guard<std::mutex> halt(AufgegebenMutex);
    auto &ordner = Aufgegeben();
    const bool neu = !ordner.contains(Ordner);
    ordner.insert(Ordner, Uhr::now());
    return neu;
}

} // namespace

OrdnerSperre::OrdnerSperre(const QString &Ordner, int WarteMs, int VergessenMs)
{
    const int fd = ::open(QFile::encodeName(Ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    const QString schluessel = Schluessel(Ordner);
    // Held by another until lately: one try, no wait, and the give-up stays as it was noted.
    const bool nurVersuch = KuerzlichAufgegeben(schluessel, VergessenMs);
    const QDeadlineTimer frist(nurVersuch ? 0 : WarteMs);
    long pauseNs = 500'000;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            mFd = fd;
            Gehabt(schluessel);
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        if (frist.hasExpired()) {
            if (!nurVersuch)
                mErstmals = AufgabeMerken(schluessel);
            break;
        }
        // Short pauses at first: the holder is usually done within a few milliseconds.
        const timespec pause{0, qMin<long>(pauseNs, frist.remainingTimeNSecs())};
        ::nanosleep(&pause, nullptr);
        pauseNs = qMin<long>(pauseNs * 2, 20'000'000);
    }
    ::close(fd);
}

OrdnerSperre::~OrdnerSperre()
{
    if (mFd >= 0)
        ::close(mFd); // closing the last descriptor releases the lock
}
