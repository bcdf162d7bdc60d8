#include "dateihilfen.h"
#include "platform/OrdnerSperre.h"
#include "support/uIniDatei.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <vector>

// A folder's lock held for long by another: the process waits for it once, then only tries
// until it has had it again (or the give-up is old), and says so once in the error log.
namespace {

constexpr int Warte = 2000;  // the lock's wait
constexpr int Sofort = 1000; // a try without a wait takes far less than this

// Holds the lock of a folder as another program does: a descriptor of its own (not passed on
// to started programs), so it conflicts with this process's locks too.
class Halter
{
public:
    explicit Halter(const QString &Ordner)
        : mFd(::open(QFile::encodeName(Ordner).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (mFd >= 0 && ::flock(mFd, LOCK_EX | LOCK_NB) != 0)
            Loslassen();
    }
    ~Halter() { Loslassen(); }
    Halter(const Halter &) = delete;
    Halter &operator=(const Halter &) = delete;

    bool Haelt() const { return mFd >= 0; }
    void Loslassen()
    {
        if (mFd >= 0)
            ::close(mFd);
        mFd = -1;
    }

private:
    int mFd = -1;
};

struct Versuch
{
    bool Gehalten;
    bool Erstmals;
    qint64 Ms;
};

Versuch Sperren(const QString &Ordner, int VergessenMs = 30000)
{
    QElapsedTimer uhr;
    uhr.start();
    const OrdnerSperre sperre(Ordner, Warte, VergessenMs);
    return {sperre.Gehalten(), sperre.ErstmalsAufgegeben(), uhr.elapsed()};
}

// The lines of a log, which is written in UTF-8.
QStringList LogZeilen(const QString &Datei)
{
    QString text = QString::fromUtf8(DateiInhalt(Datei));
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

QString Ms(qint64 ms)
{
    return QString::number(ms) + QStringLiteral(" ms");
}

} // namespace

class TestOrdnerSperre : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> m_programm;
    std::unique_ptr<QTemporaryDir> m_dir;
    const QDateTime m_montag{QDate(2026, 12, 7), QTime(10, 11, 12)};

    QString ordner(const QString &Name) const
    {
        const QString o = m_dir->filePath(Name);
        return QDir().mkpath(o) ? o : QString();
    }

    static QString info(const QString &Ordner)
    {
        return QStringLiteral("Nur Info: Ordner ") + QDir::cleanPath(Ordner)
               + QStringLiteral(" länger als 2 s gesperrt, weiter ohne Sperre");
    }

    // The lines of all error logs below the program folder.
    QStringList logZeilen() const
    {
        QStringList zeilen;
        QDirIterator it(P().Programmverzeichnis + QStringLiteral("log"), {QStringLiteral("*.err")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            zeilen += LogZeilen(it.next());
        return zeilen;
    }

private slots:
    void init()
    {
        m_programm = std::make_unique<Programm>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup()
    {
        m_dir.reset();
        m_programm.reset();
    }

    // After a wait that ran out, the same folder under any spelling is only tried, also for
    // a lock that is free again; the lock had clears it, and the next give-up is a first again.
    // Another folder is not affected.
    void nachAufgabeNurVersuch_data()
    {
        QTest::addColumn<QString>("schreibung");
        QTest::newRow("same") << "%1";
        QTest::newRow("trailing slash, dot, dot-dot") << "%1/./../a/";
        QTest::newRow("relative") << "@";
    }
    void nachAufgabeNurVersuch()
    {
        QFETCH(QString, schreibung);
        const QString a = ordner(QStringLiteral("a"));
        const QString b = ordner(QStringLiteral("b"));
        const QString anders = schreibung == QLatin1String("@") ? QDir::current().relativeFilePath(a) : schreibung.arg(a);
        Halter halter(a);
        QVERIFY(halter.Haelt());

        Versuch v = Sperren(a);
        QVERIFY(!v.Gehalten);
        QVERIFY(v.Erstmals);
        QVERIFY2(v.Ms >= Warte - 50 && v.Ms < Warte + 6000, qPrintable(Ms(v.Ms)));
        for (int i = 0; i < 3; ++i) {
            v = Sperren(anders);
            QVERIFY(!v.Gehalten);
            QVERIFY(!v.Erstmals);
            QVERIFY2(v.Ms < Sofort, qPrintable(Ms(v.Ms)));
        }
        v = Sperren(b);
        QVERIFY(v.Gehalten);
        QVERIFY2(v.Ms < Sofort, qPrintable(Ms(v.Ms)));

        halter.Loslassen();
        v = Sperren(anders);
        QVERIFY(v.Gehalten);
        QVERIFY(!v.Erstmals);
        QVERIFY2(v.Ms < Sofort, qPrintable(Ms(v.Ms)));

        Halter wieder(a);
        QVERIFY(wieder.Haelt());
        v = Sperren(a);
        QVERIFY(!v.Gehalten);
        QVERIFY(v.Erstmals);
        QVERIFY2(v.Ms >= Warte - 50, qPrintable(Ms(v.Ms)));
    }

    // An old give-up is waited out again, without a new first; only a wait that ran out
    // renews it, the tries meanwhile do not.
    void nachFristWiederWarten()
    {
        const int frist = 3000;
        const QString a = ordner(QStringLiteral("a"));
        Halter halter(a);
        QVERIFY(halter.Haelt());
        Versuch v = Sperren(a, frist);
        QVERIFY(v.Erstmals);
        QVERIFY2(v.Ms >= Warte - 50, qPrintable(Ms(v.Ms)));

        QTest::qSleep(frist + 200);
        v = Sperren(a, frist);
        QVERIFY(!v.Gehalten);
        QVERIFY(!v.Erstmals);
        QVERIFY2(v.Ms >= Warte - 50 && v.Ms < Warte + 6000, qPrintable(Ms(v.Ms)));

        QTest::qSleep(frist * 6 / 10);
        v = Sperren(a, frist);
        QVERIFY(!v.Erstmals);
        QVERIFY2(v.Ms < Sofort, qPrintable(Ms(v.Ms)));
        QTest::qSleep(frist * 6 / 10);
        v = Sperren(a, frist);
        QVERIFY(!v.Gehalten);
        QVERIFY(!v.Erstmals);
        QVERIFY2(v.Ms >= Warte - 50, qPrintable(Ms(v.Ms)));
    }

    // Threads that give up on the same folder together: one of them is the first.
    void gleichzeitigAufgegeben()
    {
        const QString a = ordner(QStringLiteral("a"));
        Halter halter(a);
        QVERIFY(halter.Haelt());
        std::atomic<int> erste{0}, gehalten{0};
        std::vector<std::thread> faeden;
        for (int i = 0; i < 6; ++i)
            faeden.emplace_back([&] {
                const Versuch v = Sperren(a);
                erste += v.Erstmals;
                gehalten += v.Gehalten;
            });
        for (auto &f : faeden)
            f.join();
        QCOMPARE(erste.load(), 1);
        QCOMPARE(gehalten.load(), 0);
    }

    // Entries while another holds the day's log folder: all written, after one wait and one
    // info entry ahead of the first of them. Once the lock was had again, the next give-up
    // waits and is said again.
    void logBeiGehaltenemOrdner()
    {
        PfadeInitialisieren(m_dir->path());
        const QString tag = LogVerzeichnis(m_montag.date());
        const QString datei = tag + QStringLiteral("Modul.err");
        QVERIFY(QDir().mkpath(tag));
        const auto eintrag = [&](const QString &Text) { return DatumZeitText(m_montag) + QStringLiteral(": ") + Text; };
        const auto schreiben = [&](const QString &Text, int Anzahl) {
            QElapsedTimer uhr;
            uhr.start();
            for (int i = 0; i < Anzahl; ++i)
                LogSchreiben(QStringLiteral("Modul"), Text + QString::number(i), P().MaxGroesseErr, m_montag);
            return uhr.elapsed();
        };
        QStringList erwartet{DatumZeitText(m_montag) + QStringLiteral(": Solvanor2004 Error File created."), QString(),
                             eintrag(info(tag))};
        for (int i = 0; i < 20; ++i)
            erwartet << eintrag(QStringLiteral("gesperrt %1").arg(i));

        auto halter = std::make_unique<Halter>(tag);
        QVERIFY(halter->Haelt());
        qint64 ms = schreiben(QStringLiteral("gesperrt "), 20);
        QVERIFY2(ms >= Warte - 50 && ms < Warte + 6000, qPrintable(Ms(ms)));
        QCOMPARE(LogZeilen(datei), erwartet);

        halter.reset();
        ms = schreiben(QStringLiteral("frei "), 1);
        QVERIFY2(ms < Sofort, qPrintable(Ms(ms)));
        erwartet << eintrag(QStringLiteral("frei 0"));

        halter = std::make_unique<Halter>(tag);
        QVERIFY(halter->Haelt());
        ms = schreiben(QStringLiteral("wieder "), 5);
        QVERIFY2(ms >= Warte - 50 && ms < Warte + 6000, qPrintable(Ms(ms)));
        erwartet << eintrag(info(tag));
        for (int i = 0; i < 5; ++i)
            erwartet << eintrag(QStringLiteral("wieder %1").arg(i));
        QCOMPARE(LogZeilen(datei), erwartet);
        QCOMPARE(logZeilen().filter(QStringLiteral("Nur Info: Ordner")).size(), 2);
    }

    // The twelve reads of a program start while another holds the program folder: one wait,
    // the values given, the keys written, and one info entry.
    void startBeiGehaltenemProgrammordner()
    {
        const QString prog = ordner(QStringLiteral("prog"));
        Halter halter(prog);
        QVERIFY(halter.Haelt());
        QElapsedTimer uhr;
        uhr.start();
        PfadeInitialisieren(prog);
        const QList<qint64> werte{GetShowTextTime(), GetShowErrTime(), GetMaxZeilenLog(), GetMaxZeilenErr(),
                                  GetMaxGroesseErr(), GetTCPWinPort(), GetTCPServerTimeOut()};
        const qint64 ms = uhr.elapsed();
        halter.Loslassen();
        QVERIFY2(ms >= Warte - 50 && ms < Warte + 6000, qPrintable(Ms(ms)));
        QCOMPARE(werte, (QList<qint64>{3000, 5000, 5000, 5000, 512000, 4096, 400}));
        const QByteArray ini = DateiInhalt(P().ServerIniDatei);
        for (const char *zeile : {"\r\nShowTextTime=3000\r\n", "\r\nMaxGroesseErr_Datei(kB)=500\r\n",
                                  "\r\nTCPWinPort=4096\r\n", "\r\nTCPServerTimeOut=400\r\n"})
            QVERIFY2(ini.contains(zeile), zeile);
        const QStringList infos = logZeilen().filter(QStringLiteral("Nur Info: Ordner"));
        QCOMPARE(infos.size(), 1);
        QVERIFY2(infos.at(0).endsWith(QStringLiteral(": ") + info(prog)), qPrintable(infos.at(0)));
    }
};

QTEST_GUILESS_MAIN(TestOrdnerSperre)
#include "tst_ordnersperre.moc"
