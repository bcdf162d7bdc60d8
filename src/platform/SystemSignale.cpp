#include "platform/SystemSignale.h"

#include <QSocketNotifier>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The handler's end [1] and the event loop's end [0]; -1 while no object catches.
int sPaar[2] = {-1, -1};

void Fangen(int Signal)
{
    // Only what is safe in a handler: one byte into the pair. A full pair drops the byte; the
    // ones already in it end the program just as well.
    const int alt = errno;
    const unsigned char b = static_cast<unsigned char>(Signal);
    [[maybe_unused]] const ssize_t n = ::write(sPaar[1], &b, 1);
    errno = alt;
}

} // namespace

SystemSignale::SystemSignale(QObject *Eltern) : QObject(Eltern)
{
    if (sPaar[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, sPaar) != 0)
        return;
    mEigen = true;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT}) {
        struct sigaction vorher{};
        // A signal ignored from the start (nohup, say) stays ignored.
        if (::sigaction(signal, nullptr, &vorher) != 0 || vorher.sa_handler == SIG_IGN)
            continue;
        struct sigaction neu{};
        neu.sa_handler = Fangen;
        sigemptyset(&neu.sa_mask);
        neu.sa_flags = SA_RESTART;
        if (::sigaction(signal, &neu, nullptr) != 0)
            continue;
        mGefangen.append(signal);
        mVorher.append(vorher);
    }
}

SystemSignale::~SystemSignale()
{
    if (!mEigen)
        return;
    for (qsizetype i = 0; i < mGefangen.size(); ++i)
        ::sigaction(mGefangen.at(i), &mVorher.at(i), nullptr);
    delete mMelder;
    ::close(sPaar[0]);
    ::close(sPaar[1]);
    sPaar[0] = sPaar[1] = -1;
}

void SystemSignale::connectNotify(const QMetaMethod &Signal)
{
    // The notes of signals that came before wait in the pair until someone can act on them.
    if (Signal != QMetaMethod::fromSignal(&SystemSignale::Ende) || !mEigen || mMelder)
        return;
    mMelder = new QSocketNotifier(sPaar[0], QSocketNotifier::Read, this);
    connect(mMelder, &QSocketNotifier::activated, this, &SystemSignale::Lesen);
}

void SystemSignale::Lesen()
{
    unsigned char puffer[16];
    ssize_t n;
    while ((n = ::read(sPaar[0], puffer, sizeof puffer)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            emit Ende(puffer[i]);
}
