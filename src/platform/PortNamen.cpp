#include "platform/PortNamen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifndef Q_OS_WIN
#  include <fcntl.h>
#  include <sys/stat.h>
#  include <unistd.h>
#endif

QString ComGeraet(int nummer, const QString &programmverzeichnis)
{
    if (nummer < ComErsteNummer || nummer > ComLetzteNummer)
        return {};
#ifdef Q_OS_WIN
    Q_UNUSED(programmverzeichnis);
    const QString name = QStringLiteral("COM%1").arg(nummer);
    return nummer < 10 ? name : QStringLiteral("\\\\.\\") + name;
#else
    if (!programmverzeichnis.isEmpty()) {
        const QString link = QDir(programmverzeichnis).filePath(QStringLiteral("ports/COM%1").arg(nummer));
        const QFileInfo info(link);
        if (info.isSymLink() || info.exists())
            return link;
    }
    if (nummer <= 32)
        return QStringLiteral("/dev/ttyS%1").arg(nummer - 1);
    if (nummer <= 64)
        return QStringLiteral("/dev/ttyUSB%1").arg(nummer - 33);
    if (nummer <= 96)
        return QStringLiteral("/dev/ttyACM%1").arg(nummer - 65);
    return {};
#endif
}

bool ComVorhanden(int nummer, const QString &programmverzeichnis)
{
    const QString pfad = ComGeraet(nummer, programmverzeichnis);
    if (pfad.isEmpty())
        return false;
#ifdef Q_OS_WIN
    // A short open through the device namespace; a port in use by another program fails.
    QFile port(pfad.startsWith(QLatin1String("\\\\.\\")) ? pfad : QStringLiteral("\\\\.\\") + pfad);
    if (!port.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return false;
    port.close();
    return true;
#else
    const QByteArray nativ = QFile::encodeName(pfad);
    struct stat st {};
    if (::stat(nativ.constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return false;
    // Not blocking on carrier, not becoming the controlling terminal.
    const int fd = ::open(nativ.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    ::close(fd);
    return true;
#endif
}
