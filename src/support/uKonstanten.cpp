#include "support/uKonstanten.h"

#include "platform/OrdnerSperre.h"
#include "platform/uPlattform.h"
#include "support/uDateiSchreiben.h"
#include "support/uProgramm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const Wochentagordner[] = {"1_Monday", "2_Tuesday",  "3_Wednesday", "4_Thursday",
                                       "5_Friday", "6_Saturday", "7_Sunday"};

// Lines, each with its line break, appended whole in their own open and close, or not at all:
// a line cut by a full disk would have the next entry glued to it. The caller holds the log's
// lock, so no other instance appends meanwhile.
bool ZeileAnhaengen(const QString &Datei, const QString &Zeile)
{
    QString name = Datei;
    DateinameBereinigen(name, false);
    // Never made here: a log is made only together with its header.
    const int fd = ::open(QFile::encodeName(name).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        return false;
    const QByteArray daten = (Zeile + QStringLiteral("\r\n")).toUtf8();
    const ssize_t n = ::write(fd, daten.constData(), size_t(daten.size()));
    if (n > 0 && n < daten.size()) {
        // The line went to the end in one piece up to where the disk ran full: that piece goes.
        const off_t ende = ::lseek(fd, 0, SEEK_CUR);
        if (ende >= n)
            (void)::ftruncate(fd, ende - n);
    }
    const bool geschlossen = ::close(fd) == 0;
    return n == daten.size() && geschlossen;
}

} // namespace

void PfadeInitialisieren()
{
    PfadeInitialisieren(QFileInfo(AusfuehrbareDatei()).absolutePath());
}

void PfadeInitialisieren(const QString &Ordner)
{
    Programm &p = P();
    p.Programmverzeichnis = Ordner.endsWith(QLatin1Char('/')) ? Ordner : Ordner + QLatin1Char('/');
    p.ServerIniDatei = p.Programmverzeichnis + QStringLiteral("Solvanor2004.INI");
    p.BackprogrammeQuorvel = p.Programmverzeichnis + QStringLiteral("Backprogramme/Quorvel");
    const QString ordner[] = {
        p.BackprogrammeQuorvel,
        p.Programmverzeichnis + QStringLiteral("Backprogramme/KVD"),
        p.Programmverzeichnis + QStringLiteral("Backprogramme/LM"),
        p.Programmverzeichnis + QStringLiteral("Backprogramme/LX"),
        p.Programmverzeichnis + QStringLiteral("Backprogramme/Ladomir"),
        p.Programmverzeichnis + QStringLiteral("Grafik"),
    };
    for (const QString &o : ordner)
        QDir().mkpath(o); // a folder that cannot be made stays missing

    GetShowTextTime();
    GetShowErrTime();
    GetMaxZeilenLog();
    GetMaxZeilenErr();
    p.MaxGroesseErr = GetMaxGroesseErr();

    NachrichtenVerarbeiten();
    QDir().mkpath(p.Programmverzeichnis + QStringLiteral("Grafik/RLX/"));
}

QString DatumText(const QDate &Datum)
{
    return DatumText(Datum, QLocale::system());
}

QString DatumText(const QDate &Datum, const QLocale &Ort)
{
    // A short year ("yy") becomes four digits; quoted literal text stays as it is.
    const QString format = Ort.dateFormat(QLocale::ShortFormat);
    QString neu;
    bool zitat = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('\'')) {
            zitat = !zitat;
            neu += c;
        } else if (!zitat && c == QLatin1Char('y')) {
            while (i + 1 < format.size() && format.at(i + 1) == QLatin1Char('y'))
                ++i;
            neu += QStringLiteral("yyyy");
        } else {
            neu += c;
        }
    }
    return Ort.toString(Datum, neu);
}

QString DatumZeitText(const QDateTime &Zeitpunkt)
{
    return DatumZeitText(Zeitpunkt, QLocale::system());
}

QString DatumZeitText(const QDateTime &Zeitpunkt, const QLocale &Ort)
{
    QString text = DatumText(Zeitpunkt.date(), Ort);
    if (Zeitpunkt.time() == QTime(0, 0))
        return text;
    // The long time format without its time-zone name ("t").
    const QString format = Ort.timeFormat(QLocale::LongFormat);
    QString neu;
    bool zitat = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\''))
            zitat = !zitat;
        if (zitat || c != QLatin1Char('t'))
            neu += c;
    }
    return text + QLatin1Char(' ') + Ort.toString(Zeitpunkt.time(), neu.simplified());
}

QString ModulNameAusDatei(const QString &Dateiname)
{
    const qsizetype punkt = Dateiname.lastIndexOf(QLatin1Char('.'));
    if (punkt < 0)
        return Dateiname;
    return Dateiname.left(Dateiname.indexOf(Dateiname.mid(punkt)));
}

void ErrSchreiben(const QString &Name, const QString &Text)
{
    if (!ProgrammVorhanden())
        return;
    QString name = Name;
    if (name.isEmpty())
        name = ModulNameAusDatei(QFileInfo(AusfuehrbareDatei()).fileName());
    LogSchreiben(name, Text, P().MaxGroesseErr);
}

void LogSchreiben(const QString &Name, const QString &Text, qint64 Grenze)
{
    LogSchreiben(Name, Text, Grenze, QDateTime::currentDateTime());
}

void LogSchreiben(const QString &Name, const QString &Text, qint64 Grenze, const QDateTime &Jetzt)
{
    // No program folder yet: there is no place for the log.
    if (!ProgrammVorhanden() || P().Programmverzeichnis.isEmpty())
        return;
    const QString ordner = LogVerzeichnis(Jetzt.date());
    const QString datei = ordner + Name + QStringLiteral(".err");
    if (!QFileInfo(ordner).isDir() && !QDir().mkpath(ordner))
        return;

    // Instances of this program take turns on the day's logs, from the size check to the entry.
    const OrdnerSperre sperre(ordner);
    QString name = datei;
    DateinameBereinigen(name, false);
    const QByteArray pfad = QFile::encodeName(name);
    struct stat info{};
    bool vorhanden = ::stat(pfad.constData(), &info) == 0;

    if (vorhanden && !Text.isEmpty()) {
        QFile f(name);
        if (!f.open(QIODevice::ReadWrite))
            return;
        const qint64 groesse = f.size();
        f.close();
        if (Grenze > 0 && groesse > Grenze && DateiErsetzen(name, name + QStringLiteral(".BAK")))
            vorhanden = false; // a failed move keeps the large file
    }

    // The header line and the empty line after it.
    const QString kopf = DatumZeitText(Jetzt) + QStringLiteral(": Solvanor2004 Error File created.\r\n");
    if (!vorhanden) {
        // Made with its header in one step and only under a free name, so it is never emptied
        // and never left without its header.
        if (DateiErstellen(name, (kopf + QStringLiteral("\r\n")).toUtf8()) == Erstellung::Fehler)
            return;
    } else if (info.st_size == 0) {
        // A log left empty gets its header first.
        if (!ZeileAnhaengen(datei, kopf))
            return;
    }

    // Said once, in the entry's own log: the log itself went on without the lock.
    if (sperre.ErstmalsAufgegeben())
        ZeileAnhaengen(datei, DatumZeitText(Jetzt) + QStringLiteral(": ") + SperreAufgegebenText(ordner));
    if (!Text.isEmpty())
        ZeileAnhaengen(datei, DatumZeitText(Jetzt) + QStringLiteral(": ") + Text);
}

QString SperreAufgegebenText(const QString &Ordner)
{
    return QStringLiteral("Nur Info: Ordner %1 länger als 2 s gesperrt, weiter ohne Sperre")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(Ordner)));
}

QString LogVerzeichnis(const QDate &Datum)
{
    const int tag = Datum.isValid() ? Datum.dayOfWeek() : 1;
    return P().Programmverzeichnis + QStringLiteral("log/") + QLatin1String(Wochentagordner[tag - 1])
           + QLatin1Char('/');
}

void DateinameBereinigen(QString &Name, bool Melden)
{
    for (qsizetype i = 0; i < Name.size(); ++i) {
        const QChar c = Name.at(i);
        switch (c.unicode()) {
        case '"':
        case '*':
        case '<':
        case '>':
        case '?':
        case '|':
            Name[i] = QLatin1Char(' ');
            break;
        case '/':
            // Where "/" separates folders it is no character of a name.
            if (Melden && QDir::separator() != QLatin1Char('/') && ProgrammVorhanden())
                ErrSchreiben(P().ModulName, QStringLiteral("Nur Info: Dateinamen mit \"/\": ") + Name);
            break;
        default:
            break;
        }
    }
}
