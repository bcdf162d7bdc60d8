#include "support/uDateiSchreiben.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QScopeGuard>

#include <cerrno>
#include <csignal>
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

std::function<void(ErsetzenSchritt)> &Haken()
{
    static std::function<void(ErsetzenSchritt)> haken;
    return haken;
}

void Schritt(ErsetzenSchritt S)
{
    if (Haken())
        Haken()(S);
}

// Another open file description has the file open for writing. A read lease is refused exactly
// then; taken, it is given back at once. A lease broken in that instant is signalled with
// SIGURG, which is ignored, instead of SIGIO, which would end the program. Where the system
// grants no lease (not the file's owner, a file system without leases), nothing is known: false.
bool AndererSchreibt(int LeseFd)
{
    if (::fcntl(LeseFd, F_SETSIG, SIGURG) != 0)
        return false;
    if (::fcntl(LeseFd, F_SETLEASE, F_RDLCK) == 0) {
        ::fcntl(LeseFd, F_SETLEASE, F_UNLCK);
        return false;
    }
    return errno == EAGAIN;
}

bool GleicheZeit(const timespec &A, const timespec &B)
{
    return A.tv_sec == B.tv_sec && A.tv_nsec == B.tv_nsec;
}

// The file at Name is the one Stand describes: the same file, not written since, with the same
// content, and no other program has it open for writing.
bool WieGelesen(const QByteArray &Name, const DateiStand &Stand)
{
    DateiStand jetzt;
    return DateiLesen(QFile::decodeName(Name), jetzt) == Lesung::Gelesen && !jetzt.InArbeit
           && jetzt.Geraet == Stand.Geraet && jetzt.Knoten == Stand.Knoten && jetzt.Groesse == Stand.Groesse
           && GleicheZeit(jetzt.Geschrieben, Stand.Geschrieben) && jetzt.Inhalt == Stand.Inhalt;
}

constexpr int Veraendert = -2;

// Writes over the old bytes of the file from the start and cuts it to the new length. The room
// is reserved before the first byte changes. With Stand, only a file still as it was read is
// written (else Veraendert). -1 when the file cannot be opened for writing, else 0 or the
// error number.
int ImOrtSchreiben(const QByteArray &Name, const QByteArray &Daten, const DateiStand *Stand = nullptr)
{
    // Checked through a descriptor of its own that only reads: a lease tells of other writers
    // only where this program holds the file open for reading alone.
    if (Stand && !WieGelesen(Name, *Stand)) {
        struct stat da{};
        return ::stat(Name.constData(), &da) != 0 && errno != ENOENT ? -1 : Veraendert;
    }
    const int fd = ::open(Name.constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Stand && errno == ENOENT ? Veraendert : -1; // removed since it was read
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))
        return Schliessen(fd, EINVAL);
    if (Stand && (info.st_dev != Stand->Geraet || info.st_ino != Stand->Knoten)) {
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

// The same file as the one open as Fd.
bool DieselbeDatei(const struct stat &Info, int Fd)
{
    struct stat offen{};
    return ::fstat(Fd, &offen) == 0 && offen.st_dev == Info.st_dev && offen.st_ino == Info.st_ino;
}

// After an exchange that took away a file another writer had put in place or changed after the
// check: the file at Neu goes back to Ziel. What that exchange takes away must be the text put
// there here (open as Eigen); a file that another writer put in its place meanwhile is newer
// than the one held and goes back in turn. The files compared are held open, so that none of
// their numbers is given to a file made meanwhile.
void Zuruecktauschen(const QByteArray &Neu, const QByteArray &Ziel, int Eigen)
{
    int erwartet = Eigen;
    for (int runde = 0; runde < 16; ++runde) {
        const int gehalten = ::open(Neu.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        struct stat heraus{};
        const bool getauscht = gehalten >= 0
                               && ::renameat2(AT_FDCWD, Neu.constData(), AT_FDCWD, Ziel.constData(), RENAME_EXCHANGE) == 0
                               && ::lstat(Neu.constData(), &heraus) == 0;
        const bool fertig = !getauscht || DieselbeDatei(heraus, erwartet);
        if (erwartet != Eigen)
            ::close(erwartet);
        erwartet = gehalten;
        if (fertig)
            break;
    }
    if (erwartet >= 0 && erwartet != Eigen)
        ::close(erwartet);
}

} // namespace

void ErsetzenHakenSetzen(std::function<void(ErsetzenSchritt)> Neu)
{
    Haken() = std::move(Neu);
}

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
    Stand.Groesse = info.st_size;
    Stand.Geschrieben = info.st_mtim;
    Stand.InArbeit = AndererSchreibt(fd);
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
    // Held open, so that no file made meanwhile can take its number while the files are told
    // apart below.
    const int eigen = ::open(neu.constData(), O_RDONLY | O_CLOEXEC);
    if (eigen < 0)
        return verwerfen(fehler(errno));
    const auto schliessen = qScopeGuard([&] { ::close(eigen); });
    Schritt(ErsetzenSchritt::Pruefen);
    if (!WieGelesen(ziel, Stand))
        return verwerfen(Ersetzung::Geaendert);
    Schritt(ErsetzenSchritt::Geprueft);
    // Exchanged in one step, the file that stood there until now can be looked at once more.
    if (::renameat2(AT_FDCWD, neu.constData(), AT_FDCWD, ziel.constData(), RENAME_EXCHANGE) == 0) {
        Schritt(ErsetzenSchritt::Getauscht);
        if (WieGelesen(neu, Stand))
            return verwerfen(Ersetzung::Ersetzt);
        Zuruecktauschen(neu, ziel, eigen);
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
