#include "simulator/PtySimulator.h"

#include "simulator/QuorvelSimulator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr qsizetype MaxRest = 1 << 20;

QString systemFehler(const char *was)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(was), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtySimulator::PtySimulator(QuorvelSimulator *sim, QObject *parent)
    : QObject(parent), m_sim(sim)
{
    m_ruhe.setSingleShot(true);
    m_ruhe.setInterval(100);
    connect(&m_ruhe, &QTimer::timeout, this, [this] {
        if (m_leseMelder)
            m_leseMelder->setEnabled(true);
    });
    connect(m_sim, &QuorvelSimulator::senden, this, &PtySimulator::schreiben);
}

PtySimulator::~PtySimulator()
{
    schliessen();
    // Only the link this object made is removed.
    if (!m_linkPfad.isEmpty() && QFileInfo(m_linkPfad).isSymLink())
        QFile::remove(m_linkPfad);
}

bool PtySimulator::starten(const QString &programmverzeichnis, int comNummer)
{
    if (laeuft())
        schliessen();
    m_linkPfad.clear();
    if (!programmverzeichnis.isEmpty() && comNummer != 0) {
        if (comNummer < 1 || comNummer > 128) {
            m_fehler = QStringLiteral("COM-Nummer außerhalb 1..128: %1").arg(comNummer);
            return false;
        }
        QDir ordner(programmverzeichnis);
        if (!ordner.mkpath(QStringLiteral("ports"))) {
            m_fehler = QStringLiteral("Ordner nicht anlegbar: %1").arg(ordner.filePath(QStringLiteral("ports")));
            return false;
        }
        m_linkPfad = QDir(ordner.absoluteFilePath(QStringLiteral("ports"))).filePath(QStringLiteral("COM%1").arg(comNummer));
    }
    return neuStarten();
}

bool PtySimulator::neuStarten()
{
    if (laeuft())
        schliessen();
    if (!oeffnen())
        return false;
    if (!m_linkPfad.isEmpty() && !linkSetzen(m_slavePfad)) {
        schliessen();
        return false;
    }
    return true;
}

bool PtySimulator::oeffnen()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        m_fehler = systemFehler("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        m_fehler = systemFehler("pty");
        ::close(master);
        return false;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (slave < 0) {
        m_fehler = systemFehler("open slave");
        ::close(master);
        return false;
    }
    termios t {};
    if (::tcgetattr(slave, &t) == 0) {
        ::cfmakeraw(&t);
        t.c_cflag |= CLOCAL | CREAD;
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        ::tcsetattr(slave, TCSANOW, &t);
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);

    m_master = master;
    m_slave = slave;
    m_slavePfad = QString::fromLocal8Bit(name);
    m_rest.clear();
    m_leseMelder = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_leseMelder, &QSocketNotifier::activated, this, &PtySimulator::lesen);
    m_schreibMelder = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_schreibMelder->setEnabled(false);
    connect(m_schreibMelder, &QSocketNotifier::activated, this, &PtySimulator::restSchreiben);
    m_fehler.clear();
    return true;
}

void PtySimulator::melderAus()
{
    m_ruhe.stop();
    delete m_leseMelder;
    m_leseMelder = nullptr;
    delete m_schreibMelder;
    m_schreibMelder = nullptr;
}

void PtySimulator::schliessen()
{
    if (!laeuft())
        return;
    melderAus();
    ::close(m_master);
    ::close(m_slave);
    m_master = -1;
    m_slave = -1;
    m_rest.clear();
    // The old pts number may be given to another pty soon: the link must not follow it.
    if (!m_linkPfad.isEmpty()) {
        const QFileInfo link(m_linkPfad);
        linkSetzen(link.dir().filePath(QStringLiteral(".%1-getrennt").arg(link.fileName())));
    }
}

bool PtySimulator::linkSetzen(const QString &ziel)
{
    // A new link beside the old one, renamed over it: the name never disappears in between.
    const QByteArray link = QFile::encodeName(m_linkPfad);
    const QByteArray neu = link + ".neu" + QByteArray::number(::getpid());
    ::unlink(neu.constData());
    if (::symlink(QFile::encodeName(ziel).constData(), neu.constData()) != 0) {
        m_fehler = systemFehler("symlink");
        return false;
    }
    if (::rename(neu.constData(), link.constData()) != 0) {
        m_fehler = systemFehler("rename");
        ::unlink(neu.constData());
        return false;
    }
    return true;
}

void PtySimulator::lesen()
{
    char puffer[4096];
    for (;;) {
        const ssize_t n = ::read(m_master, puffer, sizeof puffer);
        if (n > 0) {
            if (m_sim)
                m_sim->empfangen(QByteArray(puffer, qsizetype(n)));
            if (m_master < 0)   // closed from a slot meanwhile
                return;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // EIO or end of file: no slave side. Pause instead of polling a hang-up in a loop.
        if (m_leseMelder) {
            m_leseMelder->setEnabled(false);
            m_ruhe.start();
        }
        return;
    }
}

void PtySimulator::schreiben(const QByteArray &bytes)
{
    if (!laeuft())
        return;
    if (m_rest.size() + bytes.size() > MaxRest)
        return;   // nobody reads the slave; drop instead of growing
    m_rest += bytes;
    restSchreiben();
}

void PtySimulator::restSchreiben()
{
    while (!m_rest.isEmpty() && laeuft()) {
        const ssize_t n = ::write(m_master, m_rest.constData(), size_t(m_rest.size()));
        if (n > 0) {
            m_rest.remove(0, qsizetype(n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            m_schreibMelder->setEnabled(true);
            return;
        }
        m_rest.clear();   // EIO: the bytes are lost, as on a line without a listener
    }
    if (m_schreibMelder)
        m_schreibMelder->setEnabled(false);
}
