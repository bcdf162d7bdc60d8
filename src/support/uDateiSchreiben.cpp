#include "support/uDateiSchreiben.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SystemGrund(int Fehler)
{
    return QString::fromLocal8Bit(std::strerror(Fehler));
}

// All of Daten from the start of the file on; errno tells why when false.
bool AllesSchreiben(int fd, const QByteArray &Daten)
{
    qint64 geschrieben = 0;
    while (geschrieben < Daten.size()) {
        const ssize_t n = ::pwrite(fd, Daten.constData() + geschrieben, size_t(Daten.size() - geschrieben),
                                   off_t(geschrieben));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        geschrieben += n;
    }
    return true;
}

// Closes fd; the first error wins. 0 or the error number.
int Schliessen(int fd, int Fehler)
{
    if (::close(fd) != 0 && Fehler == 0)
        return errno;
    return Fehler;
}

// All of the file from its start into Daten; false on a read error.
bool AllesLesen(int fd, QByteArray &Daten)
{
    Daten.clear();
    char puffer[65536];
    for (;;) {
        const ssize_t n = ::pread(fd, puffer, sizeof puffer, off_t(Daten.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        Daten.append(puffer, n);
    }
}

// The open file fd is the one Stand describes, in identity and content.
bool WieGelesen(int fd, const DateiStand &Stand)
{
    struct stat info{};
    QByteArray inhalt;
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_dev == Stand.Geraet
           && info.st_ino == Stand.Knoten && AllesLesen(fd, inhalt) && inhalt == Stand.Inhalt;
}

// The file at Name is the one Stand describes, in identity and content.
bool WieGelesen(const QByteArray &Name, const DateiStand &Stand)
{
    DateiStand jetzt;
    return DateiLesen(QFile::decodeName(Name), jetzt) == Lesung::Gelesen && jetzt.Geraet == Stand.Geraet
           && jetzt.Knoten == Stand.Knoten && jetzt.Inhalt == Stand.Inhalt;
}

constexpr int Veraendert = -2;

// Writes over the old bytes of the file from the start and cuts it to the new length. The room
// is reserved before the first byte changes. With Stand, only a file still as it was read is
// written (else Veraendert). -1 when the file cannot be opened for writing, else 0 or the
// error number.
int ImOrtSchreiben(const QByteArray &Name, const QByteArray &Daten, const DateiStand *Stand = nullptr)
{
    const int fd = ::open(Name.constData(), (Stand ? O_RDWR : O_WRONLY) | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Stand && errno == ENOENT ? Veraendert : -1; // removed since it was read
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return Schliessen(fd, EINVAL);
    if (Stand && !WieGelesen(fd, *Stand)) {
        ::close(fd);
        return Veraendert;
    }
    // Blocks beyond the end are reserved without growing the file, so that a failed
    // reservation leaves it as it was.
    if (!Daten.isEmpty() && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(Daten.size())) != 0
        && errno != EOPNOTSUPP && errno != ENOSYS)
        return Schliessen(fd, errno);
    if (!AllesSchreiben(fd, Daten) || ::ftruncate(fd, off_t(Daten.size())) != 0 || ::fsync(fd) != 0)
        return Schliessen(fd, errno);
    return Schliessen(fd, 0);
}

// A file of its own beside Ziel holding Daten, on disk and closed, its name in Neu; with
// Modus (not 0) as its permissions. 0 or the error number; Angelegt tells whether a file could
// be made there at all. Nothing is left behind on failure.
int NeueDateiDaneben(const QByteArray &Ziel, const QByteArray &Daten, mode_t Modus, QByteArray &Neu, bool &Angelegt)
{
    Angelegt = false;
    int fd = -1;
    for (int versuch = 0; fd < 0 && versuch < 16; ++versuch) {
        Neu = Ziel + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        fd = ::open(Neu.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    Angelegt = true;
    if (Modus != 0)
        (void)::fchmod(fd, Modus); // a file of another owner keeps what it can
    const int nummer = Schliessen(fd, AllesSchreiben(fd, Daten) && ::fsync(fd) == 0 ? 0 : errno);
    if (nummer != 0)
        ::unlink(Neu.constData());
    return nummer;
}

// The file a path names in the end, symbolic links followed, as a save writes through them.
QByteArray Endziel(const QString &Pfad)
{
    QFileInfo info(Pfad);
    for (int tiefe = 0; info.isSymLink() && tiefe < 32; ++tiefe)
        info.setFile(info.symLinkTarget());
    return QFile::encodeName(info.filePath());
}

} // namespace

Lesung DateiLesen(const QString &Pfad, DateiStand &Stand)
{
    Stand = DateiStand();
    // Not blocking: a pipe in the file's place is no file to wait for.
    const int fd = ::open(QFile::encodeName(Pfad).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? Lesung::Fehlt : Lesung::Fehler;
    struct stat info{};
    QFile f;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)
        || !f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Lesung::Fehler;
    }
    Stand.Geraet = info.st_dev;
    Stand.Knoten = info.st_ino;
    Stand.Modus = info.st_mode;
    Stand.Inhalt = f.readAll();
    return f.error() == QFileDevice::NoError ? Lesung::Gelesen : Lesung::Fehler;
}

bool DateiSchreiben(const QString &Pfad, const QByteArray &Daten, QString *Grund)
{
    QSaveFile f(Pfad);
    // No direct-write fallback: it empties the file before writing it.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int fehler = ImOrtSchreiben(QFile::encodeName(Pfad), Daten);
        if (fehler != 0 && Grund)
            *Grund = fehler < 0 ? f.errorString() : SystemGrund(fehler);
        return fehler == 0;
    }
    // Unbuffered, so that every failed or short write shows here: the commit misses a failed
    // flush and would put the cut file in place of the old one.
    bool ok = true;
    qint64 geschrieben = 0;
    while (ok && geschrieben < Daten.size()) {
        // After a short write the next one gives the reason (a full disk, say).
        const qint64 n = f.write(Daten.constData() + geschrieben, Daten.size() - geschrieben);
        if (n <= 0)
            ok = false;
        else
            geschrieben += n;
    }
    ok = ok && f.error() == QFileDevice::NoError;
    if (ok)
        ok = f.commit();
    if (!ok) {
        if (Grund) {
            *Grund = f.errorString();
            if (f.error() == QFileDevice::NoError || Grund->isEmpty())
                *Grund = QStringLiteral("Die Datei konnte nicht vollständig geschrieben werden.");
        }
        f.cancelWriting(); // the new file is dropped with f
    }
    return ok;
}

Erstellung DateiErstellen(const QString &Pfad, const QByteArray &Daten, QString *Grund)
{
    const auto fehler = [Grund](int Nummer) {
        if (Grund)
            *Grund = SystemGrund(Nummer);
        return Erstellung::Fehler;
    };
    const QByteArray ziel = QFile::encodeName(Pfad);
    // The content goes to a file of its own beside the target first.
    QByteArray neu;
    bool angelegt = false;
    int nummer = NeueDateiDaneben(ziel, Daten, 0, neu, angelegt);
    if (nummer != 0)
        return fehler(nummer);
    // Put in place only under a free name.
    if (::renameat2(AT_FDCWD, neu.constData(), AT_FDCWD, ziel.constData(), RENAME_NOREPLACE) == 0)
        return Erstellung::Erstellt;
    nummer = errno;
    if (nummer == EINVAL || nummer == ENOSYS) {
        // A file system without that kind of rename: a second name for the file, which is
        // given only where the name is free.
        nummer = ::link(neu.constData(), ziel.constData()) == 0 ? 0 : errno;
    }
    ::unlink(neu.constData());
    if (nummer == 0)
        return Erstellung::Erstellt;
    if (nummer == EEXIST)
        return Erstellung::Vorhanden;
    return fehler(nummer);
}

Ersetzung DateiErsetzenWennUnveraendert(const QString &Pfad, const QByteArray &Daten, const DateiStand &Stand,
                                        QString *Grund)
{
    const auto fehler = [Grund](int Nummer) {
        if (Grund)
            *Grund = SystemGrund(Nummer);
        return Ersetzung::Fehler;
    };
    const QByteArray ziel = Endziel(Pfad);
    QByteArray neu;
    bool angelegt = false;
    const int nummer = NeueDateiDaneben(ziel, Daten, Stand.Modus & 07777, neu, angelegt);
    if (!angelegt) {
        // No new file beside it: the file itself is written, if it is still as it was read.
        const int imOrt = ImOrtSchreiben(ziel, Daten, &Stand);
        if (imOrt == Veraendert)
            return Ersetzung::Geaendert;
        if (imOrt != 0)
            return fehler(imOrt < 0 ? nummer : imOrt);
        return Ersetzung::Ersetzt;
    }
    if (nummer != 0)
        return fehler(nummer);
    const auto verwerfen = [&neu](Ersetzung Ergebnis) {
        ::unlink(neu.constData());
        return Ergebnis;
    };
    if (!WieGelesen(ziel, Stand))
        return verwerfen(Ersetzung::Geaendert);
    // Exchanged in one step, the file that stood there until now can be checked once more: one
    // that another writer put in place after the check goes back where it was.
    if (::renameat2(AT_FDCWD, neu.constData(), AT_FDCWD, ziel.constData(), RENAME_EXCHANGE) == 0) {
        struct stat alt{};
        if (::lstat(neu.constData(), &alt) == 0 && alt.st_dev == Stand.Geraet && alt.st_ino == Stand.Knoten)
            return verwerfen(Ersetzung::Ersetzt);
        ::renameat2(AT_FDCWD, neu.constData(), AT_FDCWD, ziel.constData(), RENAME_EXCHANGE);
        return verwerfen(Ersetzung::Geaendert);
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return verwerfen(fehler(errno));
    // A file system without exchange: the plain rename right after the check.
    if (::rename(neu.constData(), ziel.constData()) == 0)
        return Ersetzung::Ersetzt;
    const int grund = errno;
    return verwerfen(fehler(grund));
}
