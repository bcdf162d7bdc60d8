#include "dateihilfen.h"
#include "dateisystem.h"
#include "fremdschreiber.h"
#include "platform/OrdnerSperre.h"
#include "support/uDateiSchreiben.h"
#include "support/uIniDatei.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// The settings file shared by several programs at once. The test program starts copies of
// itself as those programs: "--start ORDNER" reads the settings as a program start does,
// "--umbenennen DATEI" puts a new copy of the file in place by rename, again and again.
namespace {

const QByteArray Handwert = "ShowTextTime=1234";
const QByteArray FremderAbschnitt = "[LX2100-Server]\r\nServeradresse=backstube-1\r\nServerport=5020\r\n";

// The twelve reads of a program start: five at start-up, seven by the main window.
int StartLesen(const char *Ordner)
{
    Programm programm;
    PfadeInitialisieren(QString::fromLocal8Bit(Ordner));
    GetShowTextTime();
    GetShowErrTime();
    GetMaxZeilenLog();
    GetMaxZeilenErr();
    GetMaxGroesseErr();
    GetTCPWinPort();
    GetTCPServerTimeOut();
    return 0;
}

bool Vollstaendig(const QByteArray &Inhalt)
{
    return Inhalt.contains(Handwert + "\r\n") && Inhalt.contains(FremderAbschnitt);
}

// Replaces Datei by rename with the content it has at the start until the file Datei.stop
// appears, through a new file Datei.umb<Nummer>; now and then it checks that no writer has
// lost a value of the file. Prints "los" once it runs and, at the end, the number of renames
// and of damaged files found.
int Umbenennen(const char *Datei, const char *Nummer)
{
    const QByteArray datei(Datei);
    const QByteArray neu = datei + ".umb" + Nummer;
    const QByteArray stop = datei + ".stop";
    const QByteArray inhalt = DateiInhalt(QFile::decodeName(datei));
    if (!Vollstaendig(inhalt))
        return 2;
    std::printf("los\n");
    std::fflush(stdout);
    long runden = 0, beschaedigt = 0;
    QElapsedTimer uhr;
    uhr.start();
    while (uhr.elapsed() < 60000 && (runden % 64 != 0 || ::access(stop.constData(), F_OK) != 0)) {
        if (runden % 4 == 0 && !Vollstaendig(DateiInhalt(QFile::decodeName(datei))))
            ++beschaedigt;
        const int fd = ::open(neu.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, inhalt.constData(), size_t(inhalt.size())) != inhalt.size())
            return 3;
        ::close(fd);
        if (::rename(neu.constData(), datei.constData()) != 0)
            return 4;
        ++runden;
    }
    std::printf("%ld %ld\n", runden, beschaedigt);
    return 0;
}

// Holds the lock of the folder Ordner for Ms milliseconds, as another instance of the program
// would; prints "gesperrt" once it holds it.
int Sperren(const char *Ordner, const char *Ms)
{
    const int fd = ::open(Ordner, O_RDONLY | O_DIRECTORY);
    if (fd < 0 || ::flock(fd, LOCK_EX) != 0)
        return 2;
    std::printf("gesperrt\n");
    std::fflush(stdout);
    ::usleep(useconds_t(QByteArray(Ms).toInt()) * 1000);
    return 0;
}

} // namespace

class TestIniGleichzeitig : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> m_programm;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString ini() const { return P().ServerIniDatei; }

    // A settings file as a start leaves it, with one value set by hand and another program's
    // section.
    void handbearbeiteteDatei()
    {
        PfadeInitialisieren(m_dir->path());
        QByteArray d = DateiInhalt(ini());
        QVERIFY(d.contains("ShowTextTime=3000\r\n"));
        QVERIFY(d.contains("[LX2100-Server]\r\n\r\n"));
        d.replace("ShowTextTime=3000", Handwert);
        d.replace("[LX2100-Server]\r\n\r\n", FremderAbschnitt + "\r\n");
        QVERIFY(DateiAnlegen(ini(), d));
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

    // A new file is made only under a free name, whole, with the permissions a new file gets;
    // nothing of the attempt is left beside it.
    void neueDateiNurUnterFreiemNamen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("vorher"); // empty: no file
        QTest::addColumn<int>("erwartet");
        QTest::newRow("free name") << "neu.INI" << QByteArray() << int(Erstellung::Erstellt);
        QTest::newRow("existing file stays") << "neu.INI" << QByteArray("[Anderes]\r\n") << int(Erstellung::Vorhanden);
        QTest::newRow("no folder") << "fehlt/neu.INI" << QByteArray() << int(Erstellung::Fehler);
    }
    void neueDateiNurUnterFreiemNamen()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, vorher);
        QFETCH(int, erwartet);
        const QString pfad = m_dir->filePath(name);
        if (!vorher.isEmpty())
            QVERIFY(DateiAnlegen(pfad, vorher));
        QString grund;
        QCOMPARE(int(DateiErstellen(pfad, "[Neu]\r\n", &grund)), erwartet);
        QCOMPARE(grund.isEmpty(), erwartet != int(Erstellung::Fehler));
        const QByteArray inhalt = DateiInhalt(pfad);
        QCOMPARE(inhalt, erwartet == int(Erstellung::Erstellt) ? QByteArray("[Neu]\r\n") : vorher);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
                 erwartet == int(Erstellung::Fehler) ? QStringList() : QStringList{"neu.INI"});
        if (erwartet == int(Erstellung::Erstellt)) {
            const mode_t maske = ::umask(0);
            ::umask(maske);
            struct stat info{};
            QCOMPARE(::stat(QFile::encodeName(pfad).constData(), &info), 0);
            QCOMPARE(info.st_mode & 0777, 0666 & ~maske);
        }
    }

    // Three programs started together, round after round: every section and value stays.
    void dreiStartsZugleich()
    {
        handbearbeiteteDatei();
        for (int runde = 0; runde < 40; ++runde) {
            std::vector<std::unique_ptr<QProcess>> starts;
            for (int i = 0; i < 3; ++i) {
                starts.push_back(std::make_unique<QProcess>());
                starts.back()->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--start"), m_dir->path()});
            }
            for (auto &s : starts) {
                QVERIFY2(s->waitForFinished(60000), qPrintable(s->errorString()));
                QCOMPARE(s->exitStatus(), QProcess::NormalExit);
                QCOMPARE(s->exitCode(), 0);
            }
            const QByteArray inhalt = DateiInhalt(ini());
            QVERIFY2(Vollstaendig(inhalt), qPrintable(QStringLiteral("Runde %1:\n").arg(runde) + QString::fromLatin1(inhalt.right(600))));
            QVERIFY(inhalt.contains("INI-Version=V.001.025\r\n"));
        }
    }

    // Other programs put a new copy of the file in place by rename without a pause while the
    // reads run: every read finds the value set by hand, and no write-back loses it.
    void umbenennenWaehrendDesLesens()
    {
        handbearbeiteteDatei();
        std::vector<std::unique_ptr<QProcess>> umbenenner;
        for (int i = 0; i < 2; ++i) {
            umbenenner.push_back(std::make_unique<QProcess>());
            umbenenner.back()->start(QCoreApplication::applicationFilePath(),
                                     {QStringLiteral("--umbenennen"), ini(), QString::number(i)});
        }
        for (auto &u : umbenenner) {
            QVERIFY(u->waitForReadyRead(30000));
            QCOMPARE(u->readLine(), QByteArray("los\n"));
        }

        int falsch = 0;
        for (int i = 0; i < 1000; ++i)
            if (GetShowTextTime() != 1234)
                ++falsch;
        QVERIFY(DateiAnlegen(ini() + QStringLiteral(".stop"), QByteArray()));
        for (auto &u : umbenenner) {
            QVERIFY(u->waitForFinished(60000));
            QCOMPARE(u->exitCode(), 0);
            const QList<QByteArray> zahlen = u->readAll().trimmed().split(' ');
            QCOMPARE(zahlen.size(), 2);
            QVERIFY2(zahlen.at(0).toLong() > 100, zahlen.at(0).constData()); // the renames did run alongside
            QCOMPARE(zahlen.at(1), QByteArray("0"));
        }
        QCOMPARE(falsch, 0);
        QCOMPARE(GetShowTextTime(), 1234);
        QVERIFY(Vollstaendig(DateiInhalt(ini())));
        // Only the file itself and the helpers' files are left in the folder.
        QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("Solvanor2004.INI*")}, QDir::Files),
                 (QStringList{"Solvanor2004.INI", "Solvanor2004.INI.stop"}));
    }

    // Another program adds 400 keys to its own section, one every 3 ms and each to the newest
    // file, while reads run again and again; every fourth read adds a missing key, so its
    // write-back changes the file. Its renames are kept out of the moment between a write-back's
    // check and its exchange (that moment has a test of its own below). None of its keys is lost.
    void fremdesProgrammSchreibtMit()
    {
        PfadeInitialisieren(m_dir->path());
        const int schluessel = 400;
        std::mutex moment;
        bool gehalten = false;
        ErsetzenHakenSetzen([&](ErsetzenSchritt Schritt) {
            if (Schritt == ErsetzenSchritt::Pruefen && !gehalten)
                moment.lock();
            else if (Schritt == ErsetzenSchritt::Getauscht && gehalten)
                moment.unlock();
            else
                return;
            gehalten = !gehalten;
        });
        const auto ohneHaken = qScopeGuard([] { ErsetzenHakenSetzen({}); });
        const auto loslassen = [&] {
            if (gehalten)
                moment.unlock();
            gehalten = false;
        };
        Fremdschreiber fremd(ini(), 3000, &moment);
        fremd.Runde(schluessel);
        int lesungen = 0, falsch = 0;
        for (; fremd.Geschrieben() < schluessel; ++lesungen) {
            if (lesungen % 4 == 0)
                IniWertLesen(QStringLiteral("Messages"), QStringLiteral("Probe%1").arg(lesungen), QStringLiteral("1"));
            else if (GetShowTextTime() != 3000)
                ++falsch;
            loslassen(); // a check that found the file changed leads to no exchange
        }
        QVERIFY(fremd.RundeAbwarten());
        const QStringList fehlt = fremd.Fehlende(DateiInhalt(ini()));
        qInfo("%d Lesungen: %d Schlüssel des anderen Programms geschrieben, %lld verloren", lesungen,
              fremd.Geschrieben(), qlonglong(fehlt.size()));
        QCOMPARE(fremd.Geschrieben(), schluessel);
        QVERIFY2(fehlt.isEmpty(), qPrintable(fehlt.mid(0, 20).join(QLatin1Char(' '))));
        QCOMPARE(falsch, 0);
        // Only the file itself and the other program's new file are left.
        QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("Solvanor2004.INI*")}, QDir::Files | QDir::Hidden),
                 (QStringList{"Solvanor2004.INI"}));
    }

    // Another writer comes in at exactly one step of a write-back. Put in place after the check,
    // its file goes back in the place of the write-back's text, and so does every newer file it
    // puts there before that; only when it reads the file in that instant, it reads the
    // write-back's text and its change of the moment before is gone. A save in place after the
    // check, also one by a program that opened the file before the exchange and writes after
    // it, stays in the file.
    void andererSchreiberImMoment_data()
    {
        QTest::addColumn<QString>("wer");
        QTest::addColumn<QByteArray>("danach");
        QTest::addColumn<bool>("selbeDatei"); // the file read is in place again (a number of a removed file may be given again)
        QTest::newRow("renamed in after the check") << "umbenennen" << QByteArray("[A]\r\nx=1\r\ny=2\r\n") << false;
        QTest::newRow("renamed in, then reads and renames again") << "umbenennen, lesen"
                                                                  << QByteArray("[A]\r\nx=neu\r\nz=3\r\n") << false;
        QTest::newRow("renamed in, then twice more") << "umbenennen, zweimal"
                                                     << QByteArray("[A]\r\nx=1\r\ny=2\r\nc=3\r\nd=4\r\n") << false;
        QTest::newRow("saved in place after the check") << "im Ort" << QByteArray("[A]\r\nx=hand\r\n") << true;
        QTest::newRow("opened before the exchange, written after it") << "offen, im Ort"
                                                                      << QByteArray("[A]\r\nx=hand\r\n") << true;
        QTest::newRow("opened before the exchange, written after the write-back")
            << "offen, spaeter" << QByteArray("[A]\r\nx=hand\r\n") << true;
    }
    void andererSchreiberImMoment()
    {
        QFETCH(QString, wer);
        QFETCH(QByteArray, danach);
        QFETCH(bool, selbeDatei);
        const QString ziel = m_dir->filePath(QStringLiteral("ziel.INI"));
        const QByteArray name = QFile::encodeName(ziel);
        QVERIFY(DateiAnlegen(ziel, "[A]\r\nx=1\r\n"));
        DateiStand stand;
        QCOMPARE(DateiLesen(ziel, stand), Lesung::Gelesen);

        // Through a new file and a rename, as Fremdschreiber does.
        const auto umbenennen = [&](const QByteArray &Text) {
            const QString neu = ziel + QStringLiteral(".fremd");
            return DateiAnlegen(neu, Text) && ::rename(QFile::encodeName(neu).constData(), name.constData()) == 0;
        };
        const auto imOrt = [](int Fd) {
            const QByteArray hand("[A]\r\nx=hand\r\n");
            return ::ftruncate(Fd, 0) == 0 && ::pwrite(Fd, hand.constData(), size_t(hand.size()), 0) == hand.size()
                   && ::close(Fd) == 0;
        };
        int offen = -1;
        bool ok = true;
        ErsetzenHakenSetzen([&](ErsetzenSchritt Schritt) {
            if (Schritt == ErsetzenSchritt::Geprueft) {
                if (wer.startsWith(QLatin1String("umbenennen")))
                    ok = ok && umbenennen("[A]\r\nx=1\r\ny=2\r\n");
                else if (wer == QLatin1String("im Ort")) {
                    const int fd = ::open(name.constData(), O_WRONLY);
                    ok = ok && fd >= 0 && imOrt(fd);
                } else
                    ok = ok && (offen = ::open(name.constData(), O_WRONLY)) >= 0;
            } else if (Schritt == ErsetzenSchritt::Getauscht) {
                if (wer == QLatin1String("umbenennen, lesen"))
                    ok = ok && umbenennen(DateiInhalt(ziel) + "z=3\r\n");
                else if (wer == QLatin1String("umbenennen, zweimal"))
                    ok = ok && umbenennen("[A]\r\nx=1\r\ny=2\r\nc=3\r\n")
                         && umbenennen("[A]\r\nx=1\r\ny=2\r\nc=3\r\nd=4\r\n");
                else if (wer == QLatin1String("offen, im Ort")) {
                    ok = ok && imOrt(offen);
                    offen = -1;
                }
            }
        });
        const auto ohneHaken = qScopeGuard([&] {
            ErsetzenHakenSetzen({});
            if (offen >= 0)
                ::close(offen);
        });
        QString grund;
        const Ersetzung e = DateiErsetzenWennUnveraendert(ziel, "[A]\r\nx=neu\r\n", stand, &grund);
        if (wer == QLatin1String("offen, spaeter")) {
            QVERIFY(imOrt(offen));
            offen = -1;
        }
        QVERIFY(ok);
        QCOMPARE(int(e), int(Ersetzung::Geaendert));
        QVERIFY(grund.isEmpty());
        DateiStand jetzt;
        QCOMPARE(DateiLesen(ziel, jetzt), Lesung::Gelesen);
        QCOMPARE(jetzt.Inhalt, danach);
        if (selbeDatei)
            QCOMPARE(jetzt.Knoten, stand.Knoten);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList{"ziel.INI"});
    }

    // A write-back goes only over the file that was read: one replaced, changed or removed
    // meanwhile keeps what the other writer left; an unchanged one is replaced, keeping its
    // permissions, through a symbolic link onto its target, and in place where the folder
    // takes no new file.
    void ersetzenNurWennUnveraendert_data()
    {
        QTest::addColumn<QString>("dazwischen"); // what another writer does after the read
        QTest::addColumn<bool>("gesperrt");       // the folder takes no new file
        QTest::addColumn<int>("erwartet");
        for (const bool gesperrt : {false, true}) {
            const char *ort = gesperrt ? ", in place" : "";
            QTest::addRow("unchanged%s", ort) << "" << gesperrt << int(Ersetzung::Ersetzt);
            QTest::addRow("changed in place, same size%s", ort) << "aendern" << gesperrt << int(Ersetzung::Geaendert);
            QTest::addRow("saved in place again, same text%s", ort) << "beruehren" << gesperrt << int(Ersetzung::Geaendert);
            QTest::addRow("open for writing by another program%s", ort) << "offen" << gesperrt << int(Ersetzung::Geaendert);
            QTest::addRow("removed%s", ort) << "entfernen" << gesperrt << int(Ersetzung::Geaendert);
        }
        QTest::newRow("replaced by rename, same content") << "umbenennen" << false << int(Ersetzung::Geaendert);
        QTest::newRow("through a symbolic link") << "link" << false << int(Ersetzung::Ersetzt);
    }
    void ersetzenNurWennUnveraendert()
    {
        QFETCH(QString, dazwischen);
        QFETCH(bool, gesperrt);
        QFETCH(int, erwartet);
        const QString ziel = m_dir->filePath(QStringLiteral("ziel.INI"));
        const QString pfad = dazwischen == QLatin1String("link") ? m_dir->filePath(QStringLiteral("link.INI")) : ziel;
        QVERIFY(DateiAnlegen(ziel, "[A]\r\nx=1\r\n"));
        QCOMPARE(::chmod(QFile::encodeName(ziel).constData(), 0640), 0);
        if (pfad != ziel)
            QVERIFY(QFile::link(ziel, pfad));
        DateiStand stand;
        QCOMPARE(DateiLesen(ziel, stand), Lesung::Gelesen);

        int offen = -1;
        const auto schliessen = qScopeGuard([&] {
            if (offen >= 0)
                ::close(offen);
        });
        if (dazwischen == QLatin1String("aendern"))
            QVERIFY(DateiAnlegen(ziel, "[A]\r\nx=2\r\n"));
        else if (dazwischen == QLatin1String("beruehren")) {
            QVERIFY(DateiAnlegen(ziel, stand.Inhalt));
            QVERIFY(DateiZeitVerschieben(ziel, -100)); // another time of change, also on a coarse clock
        } else if (dazwischen == QLatin1String("offen"))
            QVERIFY((offen = ::open(QFile::encodeName(ziel).constData(), O_WRONLY | O_CLOEXEC)) >= 0);
        else if (dazwischen == QLatin1String("entfernen"))
            QVERIFY(QFile::remove(ziel));
        else if (dazwischen == QLatin1String("umbenennen")) {
            QVERIFY(DateiAnlegen(ziel + QStringLiteral(".neu"), stand.Inhalt));
            QCOMPARE(::rename(QFile::encodeName(ziel + QStringLiteral(".neu")).constData(),
                              QFile::encodeName(ziel).constData()), 0);
        }
        const QByteArray dannda = DateiInhalt(ziel);
        const bool vorhanden = QFileInfo::exists(ziel);

        std::unique_ptr<GesperrterOrdner> zu;
        if (gesperrt) {
            zu = std::make_unique<GesperrterOrdner>(m_dir->path());
            if (!zu->Grund().isEmpty())
                QSKIP(qPrintable(zu->Grund()));
        }
        QString grund;
        const Ersetzung e = DateiErsetzenWennUnveraendert(pfad, "[A]\r\nx=neu\r\n", stand, &grund);
        DateiStand danach;
        DateiLesen(ziel, danach);
        zu.reset();
        QCOMPARE(int(e), erwartet);
        QVERIFY(grund.isEmpty());
        QCOMPARE(danach.Inhalt, erwartet == int(Ersetzung::Ersetzt) ? QByteArray("[A]\r\nx=neu\r\n") : dannda);
        QCOMPARE(QFileInfo::exists(ziel), vorhanden);
        if (vorhanden && dazwischen != QLatin1String("umbenennen"))
            QCOMPARE(danach.Modus & 0777, mode_t(0640));
        if (gesperrt && vorhanden)
            QCOMPARE(danach.Knoten, stand.Knoten);
        if (pfad != ziel)
            QVERIFY(QFileInfo(pfad).isSymLink());
        // Nothing of the attempt is left beside it.
        QStringList erwartetDa;
        if (pfad != ziel)
            erwartetDa << QStringLiteral("link.INI");
        if (vorhanden)
            erwartetDa << QStringLiteral("ziel.INI");
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::System), erwartetDa);
    }

    // Instances take turns through the folder's lock: a read waits while another instance
    // holds it and goes on once it is free; a stuck instance holds it back for about two
    // seconds only, and the read then gives its value all the same.
    void sperreAndererInstanzen_data()
    {
        QTest::addColumn<int>("haltMs");
        QTest::addColumn<bool>("gehalten");
        QTest::newRow("let go after 300 ms") << 300 << true;
        QTest::newRow("stuck") << 20000 << false;
    }
    void sperreAndererInstanzen()
    {
        QFETCH(int, haltMs);
        QFETCH(bool, gehalten);
        PfadeInitialisieren(m_dir->path());
        QProcess andere;
        andere.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--sperren"), m_dir->path(), QString::number(haltMs)});
        QVERIFY(andere.waitForReadyRead(30000));
        QCOMPARE(andere.readLine(), QByteArray("gesperrt\n"));
        const auto ende = qScopeGuard([&] {
            andere.kill();
            andere.waitForFinished();
        });

        QElapsedTimer uhr;
        uhr.start();
        {
            const OrdnerSperre sperre(m_dir->path());
            QCOMPARE(sperre.Gehalten(), gehalten);
        }
        const qint64 gewartet = uhr.elapsed();
        QVERIFY2(gewartet >= 250, qPrintable(QString::number(gewartet)));
        QVERIFY2(gewartet < 10000, qPrintable(QString::number(gewartet)));

        uhr.restart();
        QCOMPARE(IniWertLesen(QStringLiteral("Messages"), QStringLiteral("Neu"), QStringLiteral("7")), QStringLiteral("7"));
        QVERIFY(uhr.elapsed() < 10000);
        QVERIFY(DateiInhalt(ini()).contains("\r\nNeu=7\r\n"));
    }

    // A folder that cannot be opened gives no lock, at once.
    void sperreOhneOrdner()
    {
        QElapsedTimer uhr;
        uhr.start();
        const OrdnerSperre sperre(m_dir->filePath(QStringLiteral("fehlt")));
        QVERIFY(!sperre.Gehalten());
        QVERIFY(uhr.elapsed() < 1000);
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--start") == 0)
        return StartLesen(argv[2]);
    if (argc == 4 && qstrcmp(argv[1], "--umbenennen") == 0)
        return Umbenennen(argv[2], argv[3]);
    if (argc == 4 && qstrcmp(argv[1], "--sperren") == 0)
        return Sperren(argv[2], argv[3]);
    QCoreApplication app(argc, argv);
    TestIniGleichzeitig test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ini_gleichzeitig.moc"
