#include "dateihilfen.h"
#include "dateisystem.h"
#include "support/uIniDatei.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Start-up against a temporary program folder.
class TestStartup : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> m_programm;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString prog() const { return m_dir->filePath(QStringLiteral("prog")); }

    static QStringList alles(const QString &ordner)
    {
        QStringList l;
        QDirIterator it(ordner, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            l << it.next().mid(ordner.size() + 1);
        l.sort();
        return l;
    }

    // Today's error log of a start, before the main window names the module.
    static QString startLog()
    {
        return LogVerzeichnis(QDate::currentDate())
               + ModulNameAusDatei(QFileInfo(QCoreApplication::applicationFilePath()).fileName()) + QStringLiteral(".err");
    }

    // The error log of the program folder Prog lies outside its disk, in the test's folder.
    bool logDaneben(const QString &Prog) const
    {
        return QDir().mkpath(m_dir->filePath(QStringLiteral("log")))
               && QFile::link(m_dir->filePath(QStringLiteral("log")), Prog + QStringLiteral("/log"));
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

    void ersterStart()
    {
        QVERIFY(QDir().mkpath(prog()));
        PfadeInitialisieren(prog());
        QCOMPARE(P().Programmverzeichnis, prog() + QLatin1Char('/'));
        QCOMPARE(P().ServerIniDatei, prog() + QStringLiteral("/Solvanor2004.INI"));
        QCOMPARE(P().BackprogrammeQuorvel, prog() + QStringLiteral("/Backprogramme/Quorvel"));
        QCOMPARE(alles(prog()), (QStringList{"Backprogramme", "Backprogramme/KVD", "Backprogramme/LM", "Backprogramme/LX",
                                             "Backprogramme/Ladomir", "Backprogramme/Quorvel", "Grafik", "Grafik/RLX",
                                             "Solvanor2004.INI"}));
        const QStringList z = CrLfZeilen(DateiInhalt(P().ServerIniDatei));
        const qsizetype m = z.indexOf(QStringLiteral("[Messages]"));
        QCOMPARE(z.mid(m, 7), (QStringList{"[Messages]", "ShowTextTime=3000", "ShowErrTime=5000",
                                           "MaxZeilenZahlLog_Datei=5000", "MaxZeilenZahlErr_Datei=5000",
                                           "MaxGroesseErr_Datei(kB)=500", ""}));
        QCOMPARE(P().MaxGroesseErr, qint64(512000));
        QCOMPARE(P().ShowTextTime, 0); // taken over only by the main window
        QCOMPARE(P().ShowErrTime, 0);
    }

    void zweiterStart()
    {
        QVERIFY(QDir().mkpath(prog()));
        PfadeInitialisieren(prog());
        QVERIFY(DateiAnlegen(prog() + QStringLiteral("/Backprogramme/Quorvel/P1.QGP"), "1\r\n"));
        QByteArray ini = DateiInhalt(P().ServerIniDatei);
        ini.replace("MaxGroesseErr_Datei(kB)=500", "MaxGroesseErr_Datei(kB)=2");
        QVERIFY(DateiAnlegen(P().ServerIniDatei, ini));
        const QStringList vorher = alles(prog());

        m_programm.reset();
        m_programm = std::make_unique<Programm>();
        PfadeInitialisieren(prog() + QLatin1Char('/'));
        QCOMPARE(P().Programmverzeichnis, prog() + QLatin1Char('/'));
        QCOMPARE(alles(prog()), vorher);
        QCOMPARE(DateiInhalt(prog() + QStringLiteral("/Backprogramme/Quorvel/P1.QGP")), QByteArray("1\r\n"));
        QCOMPARE(P().MaxGroesseErr, qint64(2048));
        QCOMPARE(DateiInhalt(P().ServerIniDatei), ini);
    }

    void programmordnerNichtBeschreibbar()
    {
        // a plain file stands where the program folder should be
        QVERIFY(DateiAnlegen(prog(), "x"));
        PfadeInitialisieren(prog());
        QCOMPARE(DateiInhalt(prog()), QByteArray("x"));
        QCOMPARE(alles(m_dir->path()), QStringList{QStringLiteral("prog")});
        QCOMPARE(P().MaxGroesseErr, qint64(512000));
    }

    void unlesbareEinstellungenBehaltenTageslog()
    {
        // The settings file cannot be read (a folder holds its place): every reader logs its
        // error, and the day's earlier lines stay in the log.
        QVERIFY(QDir().mkpath(prog() + QStringLiteral("/Solvanor2004.INI")));
        P().Programmverzeichnis = prog() + QLatin1Char('/');
        P().ModulName = QStringLiteral("MiniQuorvel");
        const QString log = LogVerzeichnis(QDate::currentDate()) + QStringLiteral("MiniQuorvel.err");
        QVERIFY(QDir().mkpath(LogVerzeichnis(QDate::currentDate())));
        const QByteArray frueher = QByteArray("10.12.2026 08:00:00: frueherer Eintrag\r\n").repeated(50);
        QVERIFY(DateiAnlegen(log, frueher));
        PfadeInitialisieren(prog());
        QVERIFY(!QFileInfo::exists(log + QStringLiteral(".BAK")));
        const QByteArray danach = DateiInhalt(log);
        QVERIFY(danach.startsWith(frueher));
        QCOMPARE(CrLfZeilen(danach.mid(frueher.size())).filter(QStringLiteral(": Solvanor-INI-Error 03")).size(), 5);
        QCOMPARE(P().MaxGroesseErr, qint64(512000));
    }

    // The program folder's disk is full (the error log lies on another one). A start with
    // the main window's settings read leaves the shared file, the server's section included,
    // byte for byte as it was; every reader gives its default and logs its error.
    void vollerDatentraegerLaesstEinstellungenStehen()
    {
        KleinerDatentraeger platte(256 * 1024);
        if (!platte.Bereit())
            QSKIP(qPrintable(platte.Grund()));
        const QString prog = platte.Datei(QStringLiteral("prog"));
        QVERIFY(QDir().mkpath(prog));
        PfadeInitialisieren(prog);
        QByteArray ini = DateiInhalt(P().ServerIniDatei);
        QVERIFY(ini.contains("[LX2100-Server]\r\n\r\n"));
        ini.replace("[LX2100-Server]\r\n\r\n", "[LX2100-Server]\r\nServeradresse=backstube-1\r\nServerport=5020\r\n\r\n");
        ini.replace("ShowTextTime=3000", "ShowTextTime=1500");
        ini.replace("MaxGroesseErr_Datei(kB)=500", "MaxGroesseErr_Datei(kB)=2");
        QVERIFY(DateiAnlegen(P().ServerIniDatei, ini));
        QVERIFY(logDaneben(prog));
        QVERIFY(platte.Fuellen());
        const QStringList vorher = alles(prog);

        m_programm.reset();
        m_programm = std::make_unique<Programm>();
        PfadeInitialisieren(prog);
        QCOMPARE(P().MaxGroesseErr, qint64(512000));
        QCOMPARE(GetShowTextTime(), 3000);
        QCOMPARE(GetShowErrTime(), 5000);
        QCOMPARE(GetMaxZeilenLog(), 5000);
        QCOMPARE(GetMaxZeilenErr(), 5000);
        QCOMPARE(GetMaxGroesseErr(), qint64(512000));
        QCOMPARE(GetTCPServerTimeOut(), 400);
        QCOMPARE(GetTCPWinPort(), 4096);

        QCOMPARE(DateiInhalt(P().ServerIniDatei), ini);
        QCOMPARE(alles(prog), vorher);
        QCOMPARE(CrLfZeilen(DateiInhalt(startLog())).filter(QStringLiteral(": Solvanor-INI-Error 03")).size(), 12);
    }

    // The program folder takes no new file and its disk is full. The settings file, one key
    // short, needs one more block for its write-back: a start leaves it byte for byte as it
    // was, and the failed write is logged.
    void imOrtOhnePlatzLaesstEinstellungenStehen()
    {
        KleinerDatentraeger platte(256 * 1024);
        if (!platte.Bereit())
            QSKIP(qPrintable(platte.Grund()));
        const QString prog = platte.Datei(QStringLiteral("prog"));
        QVERIFY(QDir().mkpath(prog));
        PfadeInitialisieren(prog);
        QByteArray ini = DateiInhalt(P().ServerIniDatei);
        QVERIFY(ini.contains("ShowErrTime=5000\r\n"));
        ini.replace("ShowErrTime=5000\r\n", "");
        // another program's value fills the last block to its end
        const QByteArray abschnitt = "\r\n[Solvanor]\r\n", notiz = "Notiz=";
        const qsizetype ohneWert = ini.size() + notiz.size() + 2;
        const qsizetype bloecke = ohneWert / 4096 + 1;
        QVERIFY(ini.contains(abschnitt));
        ini.insert(ini.indexOf(abschnitt) + abschnitt.size(), notiz + QByteArray(bloecke * 4096 - ohneWert, 'n') + "\r\n");
        QCOMPARE(ini.size() % 4096, 0);
        QVERIFY(DateiAnlegen(P().ServerIniDatei, ini));
        QVERIFY(logDaneben(prog));
        QVERIFY(platte.Fuellen());

        m_programm.reset();
        m_programm = std::make_unique<Programm>();
        {
            const GesperrterOrdner gesperrt(prog);
            if (!gesperrt.Grund().isEmpty())
                QSKIP(qPrintable(gesperrt.Grund()));
            PfadeInitialisieren(prog);
            QCOMPARE(GetShowErrTime(), 5000);
        }
        QCOMPARE(DateiInhalt(P().ServerIniDatei), ini);
        // one for each read of the missing key
        QCOMPARE(CrLfZeilen(DateiInhalt(startLog())).filter(QStringLiteral(": Solvanor-INI-Error 03")).size(), 2);
    }

    // A start on a full disk: entries that do not fit are lost whole, and the log, six bytes
    // short of a whole block, still ends with its last whole line.
    void vollerDatentraegerLogBleibtZeilenweise()
    {
        KleinerDatentraeger platte(256 * 1024);
        if (!platte.Bereit())
            QSKIP(qPrintable(platte.Grund()));
        const QString prog = platte.Datei(QStringLiteral("prog"));
        P().Programmverzeichnis = prog + QLatin1Char('/');
        const QString log = startLog();
        QVERIFY(QDir().mkpath(LogVerzeichnis(QDate::currentDate())));
        QByteArray frueher;
        const QByteArray zeile = "10.12.2026 08:00:00: frueherer Eintrag\r\n";
        while (frueher.size() + zeile.size() <= 4090 - 30)
            frueher += zeile;
        frueher += "10.12.2026 08:00:00: " + QByteArray(4090 - frueher.size() - 23, 'x') + "\r\n";
        QCOMPARE(frueher.size(), 4090);
        QVERIFY(DateiAnlegen(log, frueher));
        QVERIFY(platte.Fuellen());

        PfadeInitialisieren(prog);
        QCOMPARE(DateiInhalt(log), frueher);
    }

    // The error log's disk is full when the first entry of the day comes: no log is made, not
    // even an empty one, and nothing of the attempt is left. Once there is room again, the
    // next start makes the log with its header first.
    void logAufVollemDatentraegerNichtAngelegt()
    {
        KleinerDatentraeger platte(256 * 1024);
        if (!platte.Bereit())
            QSKIP(qPrintable(platte.Grund()));
        QVERIFY(QDir().mkpath(prog()));
        QVERIFY(QDir().mkpath(prog() + QStringLiteral("/Solvanor2004.INI"))); // every read logs its error
        QVERIFY(QFile::link(platte.Pfad(), prog() + QStringLiteral("/log")));
        QVERIFY(QDir().mkpath(platte.Datei(LogVerzeichnis(QDate::currentDate()).section(QLatin1Char('/'), -2, -2))));
        QVERIFY(platte.Fuellen());
        const QStringList vorher = alles(platte.Pfad());

        PfadeInitialisieren(prog());
        QVERIFY(!QFileInfo::exists(startLog()));
        QCOMPARE(alles(platte.Pfad()), vorher);

        QVERIFY(QFile::remove(platte.Datei(QStringLiteral("fuellung"))));
        m_programm.reset();
        m_programm = std::make_unique<Programm>();
        PfadeInitialisieren(prog());
        const QStringList zeilen = CrLfZeilen(DateiInhalt(startLog()));
        QCOMPARE(zeilen.size(), 2 + 5);
        QVERIFY(zeilen.at(0).endsWith(QStringLiteral(": Solvanor2004 Error File created.")));
        QCOMPARE(zeilen.at(1), QString());
        QCOMPARE(zeilen.filter(QStringLiteral(": Solvanor-INI-Error 03")).size(), 5);
    }

    // A settings file whose last line has no line break, as many text editors save it, is
    // read as it stands: its value is kept, no copy is made and nothing is logged.
    void vonHandErgaenzteDatei()
    {
        PfadeInitialisieren(prog());
        const QByteArray ini = DateiInhalt(P().ServerIniDatei);
        QVERIFY(ini.endsWith("\r\n"));
        QVERIFY(DateiAnlegen(P().ServerIniDatei, ini + "[Backstube]\r\nOfen=3"));

        m_programm.reset();
        m_programm = std::make_unique<Programm>();
        PfadeInitialisieren(prog());
        QVERIFY(DateiInhalt(P().ServerIniDatei).endsWith("[Backstube]\r\nOfen=3\r\n\r\n"));
        QVERIFY(!QFileInfo::exists(P().ServerIniDatei + QStringLiteral(".BAK")));
        const QString log = startLog();
        QVERIFY(!DateiInhalt(log).contains("nicht lesbar"));
    }

    void einzelnerOrdnerBlockiert()
    {
        QVERIFY(QDir().mkpath(prog() + QStringLiteral("/Backprogramme")));
        QVERIFY(DateiAnlegen(prog() + QStringLiteral("/Backprogramme/KVD"), "x"));
        QVERIFY(DateiAnlegen(prog() + QStringLiteral("/Grafik"), "x"));
        PfadeInitialisieren(prog());
        QVERIFY(QFileInfo(prog() + QStringLiteral("/Backprogramme/Ladomir")).isDir());
        QVERIFY(QFileInfo(prog() + QStringLiteral("/Backprogramme/KVD")).isFile());
        QVERIFY(!QFileInfo::exists(prog() + QStringLiteral("/Grafik/RLX")));
        QVERIFY(QFileInfo::exists(P().ServerIniDatei));
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
