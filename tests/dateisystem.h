#pragma once

// File-system situations that a mode bit alone cannot build for a test run as root: a small
// disk of its own that can be filled up, and a thread without the rights that let root write
// into any folder. Each tells why when it cannot be built, for the test's skip message.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/capability.h>
#include <memory>
#include <sys/stat.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <unistd.h>

// A tmpfs of Bytes mounted on a temporary folder; detached again at the end.
class KleinerDatentraeger
{
public:
    explicit KleinerDatentraeger(qint64 Bytes)
    {
        if (!mOrdner.isValid()) {
            mGrund = QStringLiteral("kein temporärer Ordner");
            return;
        }
        const QByteArray optionen = "size=" + QByteArray::number(Bytes) + ",mode=0755";
        if (::mount("tmpfs", QFile::encodeName(mOrdner.path()).constData(), "tmpfs", 0, optionen.constData()) != 0)
            mGrund = QStringLiteral("Kein voller Datenträger zu bauen: tmpfs kann nicht eingehängt werden (")
                     + QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char(')');
        else
            mEingehaengt = true;
    }
    ~KleinerDatentraeger()
    {
        if (mEingehaengt)
            ::umount2(QFile::encodeName(mOrdner.path()).constData(), MNT_DETACH);
    }
    KleinerDatentraeger(const KleinerDatentraeger &) = delete;
    KleinerDatentraeger &operator=(const KleinerDatentraeger &) = delete;

    bool Bereit() const { return mEingehaengt; }
    QString Grund() const { return mGrund; }
    QString Pfad() const { return mOrdner.path(); }
    QString Datei(const QString &Name) const { return mOrdner.filePath(Name); }

    // Fills the disk with the file Name until a write fails for want of space; true when
    // the disk is full then (not one more byte fits into a new file).
    bool Fuellen(const QString &Name = QStringLiteral("fuellung")) const
    {
        const int fd = ::open(QFile::encodeName(Datei(Name)).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return false;
        static const char block[4096] = {};
        while (::write(fd, block, sizeof block) > 0) {
        }
        const bool voll = errno == ENOSPC;
        ::close(fd);
        if (!voll)
            return false;
        const int probe = ::open(QFile::encodeName(Datei(QStringLiteral("probe"))).constData(),
                                 O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (probe < 0)
            return true;
        const bool passt = ::write(probe, "x", 1) == 1;
        ::close(probe);
        ::unlink(QFile::encodeName(Datei(QStringLiteral("probe"))).constData());
        return !passt;
    }

private:
    QTemporaryDir mOrdner;
    bool mEingehaengt = false;
    QString mGrund;
};

// While it lives, the calling thread lacks CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH in its
// effective set, so the mode bits of files and folders hold for root as for any user. The
// permitted set is left alone; the former effective set comes back at the end.
class OhneDateirechte
{
public:
    OhneDateirechte()
    {
        if (::syscall(SYS_capget, &mKopf, mVorher) != 0) {
            mGrund = QStringLiteral("capget: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        __user_cap_data_struct ohne[2];
        std::memcpy(ohne, mVorher, sizeof ohne);
        for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
            ohne[CAP_TO_INDEX(cap)].effective &= ~CAP_TO_MASK(cap);
        if (::syscall(SYS_capset, &mKopf, ohne) != 0)
            mGrund = QStringLiteral("capset: ") + QString::fromLocal8Bit(std::strerror(errno));
        else
            mAktiv = true;
    }
    ~OhneDateirechte()
    {
        if (mAktiv)
            ::syscall(SYS_capset, &mKopf, mVorher);
    }
    OhneDateirechte(const OhneDateirechte &) = delete;
    OhneDateirechte &operator=(const OhneDateirechte &) = delete;

    bool Aktiv() const { return mAktiv; }
    QString Grund() const { return mGrund; }

private:
    __user_cap_header_struct mKopf{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct mVorher[2] = {};
    bool mAktiv = false;
    QString mGrund;
};

// True when no new file can be made in Ordner (checked by trying).
inline bool OrdnerGesperrt(const QString &Ordner)
{
    const QByteArray probe = QFile::encodeName(Ordner + QStringLiteral("/.probe"));
    const int fd = ::open(probe.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    if (fd < 0)
        return errno == EACCES || errno == EPERM || errno == EROFS;
    ::close(fd);
    ::unlink(probe.constData());
    return false;
}

// While it lives, Ordner is closed to new files as a folder of another user is: mode 0555 and
// the calling thread without the rights that pass over mode bits. Grund() is empty when the
// case is built, else it says why not (a test then skips).
class GesperrterOrdner
{
public:
    explicit GesperrterOrdner(const QString &Ordner) : mOrdner(QFile::encodeName(Ordner))
    {
        if (::chmod(mOrdner.constData(), 0555) != 0) {
            mGrund = QStringLiteral("chmod: ") + QString::fromLocal8Bit(std::strerror(errno));
            return;
        }
        mRechte = std::make_unique<OhneDateirechte>();
        if (!mRechte->Aktiv())
            mGrund = QStringLiteral("Dateirechte lassen sich nicht ablegen: ") + mRechte->Grund();
        else if (!OrdnerGesperrt(Ordner))
            mGrund = QStringLiteral("Ein Ordner mit Modus 0555 nimmt hier neue Dateien an; der Fall lässt sich nicht bauen.");
    }
    ~GesperrterOrdner()
    {
        mRechte.reset();
        ::chmod(mOrdner.constData(), 0755);
    }
    GesperrterOrdner(const GesperrterOrdner &) = delete;
    GesperrterOrdner &operator=(const GesperrterOrdner &) = delete;

    QString Grund() const { return mGrund; }

private:
    QByteArray mOrdner;
    std::unique_ptr<OhneDateirechte> mRechte;
    QString mGrund;
};
