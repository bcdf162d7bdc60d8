#include "platform/OrdnerSperre.h"

#include <QDeadlineTimer>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

OrdnerSperre::OrdnerSperre(const QString &Ordner, int WarteMs)
{
    const int fd = ::open(QFile::encodeName(Ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    const QDeadlineTimer frist(WarteMs);
    long pauseNs = 500'000;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            mFd = fd;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            break;
        if (frist.hasExpired())
            break;
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
