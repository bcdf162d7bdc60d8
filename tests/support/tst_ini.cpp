#include "dateihilfen.h"
#include "dateisystem.h"
#include "support/uIniDatei.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The server settings file, in a fresh program folder per test function.
class TestIni : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> m_programm;
    std::unique_ptr<QTemporaryDir> m_dir;

    QString ini() const { return P().ServerIniDatei; }
    QByteArray inhalt() const { return DateiInhalt(ini()); }
    QStringList zeilen() const { return CrLfZeilen(inhalt()); }
    // Lines after the header section of a written-back file.
    QStringList nachKopf() const
    {
        QStringList z = zeilen();
        const qsizetype i = z.indexOf(QString());
        return i < 0 ? QStringList() : z.mid(i + 1);
    }
    QStringList logZeilen() const
    {
        const QString log = LogVerzeichnis(QDate::currentDate()) + ModulNameAusDatei(QFileInfo(QCoreApplication::applicationFilePath()).fileName()) + QStringLiteral(".err");
        return CrLfZeilen(DateiInhalt(log));
    }
    bool logHat(const QString &eintrag) const
    {
        for (const QString &z : logZeilen())
            if (z.endsWith(QStringLiteral(": ") + eintrag))
                return true;
        return false;
    }
    // The lines after the header of a newly made file, with one key line in [Messages].
    static QStringList neueDateiNachKopf(const QString &Schluessel)
    {
        QStringList erwartet{QStringLiteral("[VERSION]"), QStringLiteral("INI-Version=V.001.025"), QString()};
        for (const char *a : {"Solvanor", "MULTIFERNANZEIGE", "Messages", "TemperaturEinheit", "RLX", "Taskplaner",
                              "TCPIP", "ProgrammListen", "Einstellungen", "BeschickerRS", "KVD", "LM", "LX2100-Server"}) {
            erwartet << QStringLiteral("[%1]").arg(QLatin1String(a));
            if (qstrcmp(a, "Messages") == 0)
                erwartet << Schluessel;
            erwartet << QString();
        }
        return erwartet;
    }
    static QByteArray alteDatei(const QString &version, const QByteArray &rest)
    {
        QByteArray d = "[Solvanor.Ini]\r\n# old header\r\n\r\n";
        if (!version.isEmpty())
            d += "[VERSION]\r\nINI-Version=" + version.toLatin1() + "\r\n\r\n";
        return d + rest;
    }

private slots:
    void init()
    {
        m_programm = std::make_unique<Programm>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        P().Programmverzeichnis = m_dir->path() + QLatin1Char('/');
        P().ServerIniDatei = P().Programmverzeichnis + QStringLiteral("Solvanor2004.INI");
        P().MaxGroesseErr = 0;
    }
    void cleanup()
    {
        m_dir.reset();
        m_programm.reset();
    }

    void kommentarblock()
    {
        const QStringList &k = IniKopfKommentar();
        QCOMPARE(k.size(), 244);
        qsizetype zeichen = 0;
        for (const QString &z : k) {
            QVERIFY2(z.startsWith(QLatin1Char('#')), qPrintable(z));
            // survives loading and writing back unchanged
            QVERIFY2(!z.contains(QLatin1Char('=')) && z == z.trimmed(), qPrintable(z));
            zeichen += z.size() + 2;
        }
        QCOMPARE(zeichen, qsizetype(15700));

        const QStringList kopf = IniKopf(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
        QCOMPARE(kopf.size(), 249);
        QCOMPARE(kopf.at(0), QStringLiteral("[Solvanor.Ini]"));
        QCOMPARE(kopf.at(1).size(), 86);
        QCOMPARE(kopf.at(2), QStringLiteral("#   Solvanor 2004 IniFile -  Created ")
                                 + DatumZeitText(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7))) + QLatin1Char('.'));
        QCOMPARE(kopf.at(3).size(), 58);
        QCOMPARE(kopf.at(4), QStringLiteral("#"));
    }

    void ersterAufrufLegtDateiAn()
    {
        QCOMPARE(IniWertLesen(QStringLiteral("Messages"), QStringLiteral("ShowTextTime"), QStringLiteral("3000")),
                 QStringLiteral("3000"));
        const QStringList z = zeilen();
        QCOMPARE(z.mid(0, 2), IniKopf(QDateTime::currentDateTime()).mid(0, 2));
        QVERIFY(z.at(2).startsWith(QStringLiteral("#   Solvanor 2004 IniFile -  Created ")));
        QCOMPARE(z.mid(3, 246), IniKopf(QDateTime::currentDateTime()).mid(3));
        QCOMPARE(z.mid(249), QStringList{QString()} + neueDateiNachKopf(QStringLiteral("ShowTextTime=3000")));
        QVERIFY(inhalt().endsWith("[LX2100-Server]\r\n\r\n"));
        // nothing but the file itself is left in the folder
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("Solvanor2004.INI")});

        // a second read changes nothing but keeps the file whole
        const QByteArray vorher = inhalt();
        QCOMPARE(IniWertLesen(QStringLiteral("Messages"), QStringLiteral("ShowTextTime"), QStringLiteral("1")),
                 QStringLiteral("3000"));
        QCOMPARE(inhalt(), vorher);
    }

    void versionVergleich_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("ergebnis");
        QTest::newRow("current") << "V.001.025" << 0;
        QTest::newRow("older") << "V.001.024" << -1;
        QTest::newRow("newer minor") << "V.001.026" << 1;
        QTest::newRow("newer major") << "V.002.000" << 1;
        QTest::newRow("short") << "V1.25" << -99;
        QTest::newRow("dot misplaced") << "V.01.0025" << -99;
        QTest::newRow("above 255") << "V.256.000" << -99;
        QTest::newRow("not decimal") << "V.0A1.025" << -99;
        QTest::newRow("missing") << "#ERR" << -99;
        QTest::newRow("empty") << "" << -99;
        QTest::newRow("no V") << "X.001.025" << -99;
        QTest::newRow("zero") << "V.000.000" << -1;
        QTest::newRow("max") << "V.255.255" << 1;
    }
    void versionVergleich()
    {
        QFETCH(QString, version);
        QFETCH(int, ergebnis);
        QCOMPARE(IniVersionVergleichen(version), ergebnis);
    }

    void upgrade_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<bool>("umgestellt");
        QTest::addColumn<QString>("danach");
        QTest::newRow("current") << "V.001.025" << false << "V.001.025";
        QTest::newRow("newer") << "V.001.026" << false << "V.001.026";
        QTest::newRow("newer major") << "V.002.000" << false << "V.002.000";
        QTest::newRow("older") << "V.001.024" << true << "V.001.025";
        QTest::newRow("V1.25") << "V1.25" << true << "V.001.025";
        QTest::newRow("V.01.0025") << "V.01.0025" << true << "V.001.025";
        QTest::newRow("V.256.000") << "V.256.000" << true << "V.001.025";
        QTest::newRow("V.0A1.025") << "V.0A1.025" << true << "V.001.025";
    }
    void upgrade()
    {
        QFETCH(QString, version);
        QFETCH(bool, umgestellt);
        QFETCH(QString, danach);
        QVERIFY(DateiAnlegen(ini(), alteDatei(version, "[Messages]\r\nShowErrTime=777\r\n")));
        QCOMPARE(GetShowErrTime(), 777);
        const QStringList z = zeilen();
        QCOMPARE(z.contains(QStringLiteral("# old header")), !umgestellt);
        QCOMPARE(z.size() > 200, umgestellt);
        QVERIFY(z.contains(QStringLiteral("INI-Version=") + danach));
        QCOMPARE(z.count(QStringLiteral("[VERSION]")), 1);
        // [VERSION] keeps its place before [Messages]
        QVERIFY(z.indexOf(QStringLiteral("[VERSION]")) < z.indexOf(QStringLiteral("[Messages]")));
        QVERIFY(z.contains(QStringLiteral("ShowErrTime=777")));
    }

    void upgradeOhneVersionSchluessel()
    {
        QVERIFY(DateiAnlegen(ini(), alteDatei(QString(), "[Messages]\r\nShowErrTime=777\r\n[TCPIP]\r\nTCPWinPort=5\r\n")));
        QCOMPARE(GetTCPWinPort(), 5);
        QCOMPARE(nachKopf(), (QStringList{"[VERSION]", "INI-Version=V.001.025", "", "[Messages]", "ShowErrTime=777", "",
                                          "[TCPIP]", "TCPWinPort=5", ""}));
        QCOMPARE(zeilen().count(QStringLiteral("# old header")), 0);
    }

    void upgradeBehaeltErsteFremdeSektion()
    {
        // an older file that starts with a section of its own keeps its keys
        QVERIFY(DateiAnlegen(ini(), "[Messages]\r\nShowTextTime=1234\r\n[TCPIP]\r\nTCPWinPort=5\r\n"));
        QCOMPARE(GetShowTextTime(), 1234);
        QCOMPARE(GetTCPWinPort(), 5);
        QCOMPARE(nachKopf(), (QStringList{"[VERSION]", "INI-Version=V.001.025", "", "[Messages]", "ShowTextTime=1234", "",
                                          "[TCPIP]", "TCPWinPort=5", ""}));
    }

    void upgradeNurKopf()
    {
        // only the old header: nothing of it is kept after the new header
        QVERIFY(DateiAnlegen(ini(), "[Solvanor.Ini]\r\n# alt\r\n"));
        QCOMPARE(GetShowTextTime(), 3000);
        QCOMPARE(nachKopf(), (QStringList{"[VERSION]", "INI-Version=V.001.025", "", "[Messages]", "ShowTextTime=3000", ""}));
    }

    // An empty file is most likely another program's save in progress: the read gives its
    // default and leaves the file to it. Only one that has stood empty for seconds is made anew
    // as a missing one is.
    void leereDatei_data()
    {
        QTest::addColumn<int>("geschriebenVorS"); // when it was emptied
        QTest::addColumn<bool>("neuAngelegt");
        QTest::newRow("just emptied") << 0 << false;
        QTest::newRow("emptied a second ago") << 1 << false;
        QTest::newRow("time ahead of the clock") << -3600 << false;
        QTest::newRow("stood empty for a while") << 10 << true;
    }
    void leereDatei()
    {
        QFETCH(int, geschriebenVorS);
        QFETCH(bool, neuAngelegt);
        QVERIFY(DateiAnlegen(ini(), QByteArray()));
        QVERIFY(DateiZeitVerschieben(ini(), -geschriebenVorS));
        QElapsedTimer uhr;
        uhr.start();
        QCOMPARE(IniWertLesen(QStringLiteral("Messages"), QStringLiteral("ShowErrTime"), QStringLiteral("5000")),
                 QStringLiteral("5000"));
        QVERIFY(uhr.elapsed() < 5000); // waits only a moment for the save
        if (neuAngelegt) {
            QCOMPARE(zeilen().at(0), QStringLiteral("[Solvanor.Ini]"));
            QCOMPARE(nachKopf(), neueDateiNachKopf(QStringLiteral("ShowErrTime=5000")));
        } else {
            QCOMPARE(inhalt(), QByteArray());
        }
        QVERIFY(logZeilen().filter(QStringLiteral("Solvanor-INI-Error")).isEmpty());
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList{QStringLiteral("Solvanor2004.INI")});
    }

    void ladeRegeln()
    {
        QVERIFY(DateiAnlegen(ini(), "vor allem\r\n" + alteDatei("V.001.025",
                                              "[ messages ]\r\n"
                                              "  showtexttime   =   1000  \r\n"
                                              "; comment\r\n"
                                              "\t\r\n"
                                              "ShowErrTime=\r\n"
                                              "MaxZeilenZahlLog_Datei=#ERR\n"
                                              "# kept a = b\r"
                                              "[Messages]\r\n"
                                              "MaxZeilenZahlErr_Datei=7000\r\n")));
        QCOMPARE(GetShowTextTime(), 1000);
        QCOMPARE(zeilen().at(0), QStringLiteral("[Solvanor.Ini]")); // lines before the first section are gone
        QCOMPARE(GetShowErrTime(), 5000);   // empty value: present, not an integer
        QCOMPARE(GetMaxZeilenLog(), 5000);  // "#ERR" counts as missing
        QCOMPARE(GetMaxZeilenErr(), 5000);  // the second [Messages] is not looked at
        QCOMPARE(nachKopf(), (QStringList{"[VERSION]", "INI-Version=V.001.025", "", "[messages]", "showtexttime=1000",
                                          "ShowErrTime=", "MaxZeilenZahlLog_Datei=5000", "# kept a=b",
                                          "MaxZeilenZahlErr_Datei=5000", "", "[Messages]",
                                          "MaxZeilenZahlErr_Datei=7000", ""}));
    }

    void fehlendeSektionAmEnde()
    {
        QVERIFY(DateiAnlegen(ini(), alteDatei("V.001.025", "[Messages]\r\nShowTextTime=1\r\n")));
        QCOMPARE(GetTCPServerTimeOut(), 400);
        QCOMPARE(nachKopf(), (QStringList{"[VERSION]", "INI-Version=V.001.025", "", "[Messages]", "ShowTextTime=1", "",
                                          "[TCPIP]", "TCPServerTimeOut=400", ""}));
    }

    void ganzzahl_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("gueltig");
        QTest::addColumn<int>("wert");
        QTest::newRow("decimal") << "1000" << true << 1000;
        QTest::newRow("negative") << "-12" << true << -12;
        QTest::newRow("plus") << "+12" << true << 12;
        QTest::newRow("dollar") << "$1F" << true << 31;
        QTest::newRow("x") << "x10" << true << 16;
        QTest::newRow("X") << "X10" << true << 16;
        QTest::newRow("0x") << "0x1a" << true << 26;
        QTest::newRow("0X") << "0XFF" << true << 255;
        QTest::newRow("negative hex") << "-$10" << true << -16;
        QTest::newRow("max") << "2147483647" << true << 2147483647;
        QTest::newRow("min") << "-2147483648" << true << int(-2147483647 - 1);
        QTest::newRow("above max") << "2147483648" << false << 0;
        QTest::newRow("hex above max") << "$80000000" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("prefix only") << "$" << false << 0;
        QTest::newRow("fraction") << "1.5" << false << 0;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("hex digits without prefix") << "1F" << false << 0;
        QTest::newRow("inner blank") << "1 0" << false << 0;
        QTest::newRow("huge") << "99999999999999999999999" << false << 0;
    }
    void ganzzahl()
    {
        QFETCH(QString, text);
        QFETCH(bool, gueltig);
        QFETCH(int, wert);
        qint32 w = 0;
        QCOMPARE(IniGanzzahl(text, w), gueltig);
        if (gueltig)
            QCOMPARE(w, wert);
    }

    void grenzen_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<qint64>("ergebnis");
        QTest::newRow("size 0") << "MaxGroesseErr_Datei(kB)" << "0" << qint64(0);
        QTest::newRow("size negative") << "MaxGroesseErr_Datei(kB)" << "-3" << qint64(-3072);
        QTest::newRow("size 1") << "MaxGroesseErr_Datei(kB)" << "1" << qint64(1024);
        QTest::newRow("size 1000") << "MaxGroesseErr_Datei(kB)" << "1000" << qint64(1024000);
        QTest::newRow("size 2000") << "MaxGroesseErr_Datei(kB)" << "2000" << qint64(1024000);
        QTest::newRow("size wraps in 32 bit") << "MaxGroesseErr_Datei(kB)" << "4194304" << qint64(1024000);
        QTest::newRow("size not integer") << "MaxGroesseErr_Datei(kB)" << "viel" << qint64(512000);
        QTest::newRow("size hex") << "MaxGroesseErr_Datei(kB)" << "$10" << qint64(16384);
        QTest::newRow("log lines 100") << "MaxZeilenZahlLog_Datei" << "100" << qint64(5000);
        QTest::newRow("log lines 20000") << "MaxZeilenZahlLog_Datei" << "20000" << qint64(10000);
        QTest::newRow("log lines 7000") << "MaxZeilenZahlLog_Datei" << "7000" << qint64(7000);
        QTest::newRow("err lines 10001") << "MaxZeilenZahlErr_Datei" << "10001" << qint64(10000);
        QTest::newRow("err lines bad") << "MaxZeilenZahlErr_Datei" << "x" << qint64(5000);
        QTest::newRow("text time") << "ShowTextTime" << "0x64" << qint64(100);
        QTest::newRow("text time bad") << "ShowTextTime" << "3 s" << qint64(3000);
        QTest::newRow("err time bad") << "ShowErrTime" << "" << qint64(5000);
        QTest::newRow("tcp timeout bad") << "TCPServerTimeOut" << "?" << qint64(400);
        QTest::newRow("tcp port bad") << "TCPWinPort" << "-" << qint64(4096);
        QTest::newRow("tcp port") << "TCPWinPort" << "8080" << qint64(8080);
    }
    void grenzen()
    {
        QFETCH(QString, key);
        QFETCH(QString, wert);
        QFETCH(qint64, ergebnis);
        const QString section = key.startsWith(QLatin1String("TCP")) ? QStringLiteral("TCPIP") : QStringLiteral("Messages");
        QVERIFY(DateiAnlegen(ini(), alteDatei("V.001.025", QStringLiteral("[%1]\r\n%2=%3\r\n").arg(section, key, wert).toLatin1())));
        qint64 ist = 0;
        if (key == QLatin1String("MaxGroesseErr_Datei(kB)"))
            ist = GetMaxGroesseErr();
        else if (key == QLatin1String("MaxZeilenZahlLog_Datei"))
            ist = GetMaxZeilenLog();
        else if (key == QLatin1String("MaxZeilenZahlErr_Datei"))
            ist = GetMaxZeilenErr();
        else if (key == QLatin1String("ShowTextTime"))
            ist = GetShowTextTime();
        else if (key == QLatin1String("ShowErrTime"))
            ist = GetShowErrTime();
        else if (key == QLatin1String("TCPServerTimeOut"))
            ist = GetTCPServerTimeOut();
        else
            ist = GetTCPWinPort();
        QCOMPARE(ist, ergebnis);
        // the stored text is kept as it was
        QVERIFY(zeilen().contains(key + QLatin1Char('=') + wert));
    }

    void alleLeserSchreibenVorgaben()
    {
        GetShowTextTime();
        GetShowErrTime();
        GetMaxZeilenLog();
        GetMaxZeilenErr();
        GetMaxGroesseErr();
        GetTCPServerTimeOut();
        GetTCPWinPort();
        const QStringList z = zeilen();
        const qsizetype m = z.indexOf(QStringLiteral("[Messages]"));
        QCOMPARE(z.mid(m, 7), (QStringList{"[Messages]", "ShowTextTime=3000", "ShowErrTime=5000",
                                           "MaxZeilenZahlLog_Datei=5000", "MaxZeilenZahlErr_Datei=5000",
                                           "MaxGroesseErr_Datei(kB)=500", ""}));
        const qsizetype t = z.indexOf(QStringLiteral("[TCPIP]"));
        QCOMPARE(z.mid(t, 4), (QStringList{"[TCPIP]", "TCPServerTimeOut=400", "TCPWinPort=4096", ""}));
    }

    void handaenderungWirdGesehen()
    {
        QCOMPARE(GetShowTextTime(), 3000);
        QByteArray d = inhalt();
        d.replace("ShowTextTime=3000", "ShowTextTime=1500");
        QVERIFY(DateiAnlegen(ini(), d));
        QCOMPARE(GetShowTextTime(), 1500);
    }

    void zufallsbytes()
    {
        QByteArray d(64 * 1024, Qt::Uninitialized);
        QRandomGenerator gen(4711);
        for (char &c : d)
            c = char(gen.bounded(256));
        QVERIFY(DateiAnlegen(ini(), d));
        QCOMPARE(GetShowTextTime(), 3000);
        QVERIFY(zeilen().contains(QStringLiteral("INI-Version=V.001.025")));
        QCOMPARE(GetShowErrTime(), 5000);
        // the shared file is kept whole before it is first rewritten, once
        QCOMPARE(DateiInhalt(ini() + QStringLiteral(".BAK")), d);
        QCOMPARE(logZeilen().filter(QStringLiteral("gesichert als Solvanor2004.INI.BAK")).size(), 1);
        QVERIFY(!inhalt().contains('\0'));
    }

    // What cannot be read as settings (control bytes, no section) is kept as
    // "Solvanor2004.INI.BAK" with one log line before it is rewritten; a readable file gets
    // no copy.
    void unlesbareDateiGesichert_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<bool>("gesichert");
        const QByteArray gut = alteDatei("V.001.025", "[Messages]\r\nShowTextTime=1500\r\n\r\n");
        QTest::newRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\0\0\0[Messages]\r\n", 22) << true;
        QTest::newRow("NUL in a value") << QByteArray(gut).replace("1500", QByteArray("15\0" "0", 4)) << true;
        QTest::newRow("text without sections") << QByteArray("ShowTextTime=1500\r\nnur Text\r\n") << true;
        QTest::newRow("current file") << gut << false;
        QTest::newRow("older file without version") << QByteArray("[Messages]\r\nShowTextTime=1500\r\n") << false;
        QTest::newRow("LF line ends") << QByteArray(gut).replace("\r\n", "\n") << false;
        QTest::newRow("empty") << QByteArray() << false;
        // as many text editors save a file
        QTest::newRow("last line without break") << gut.left(gut.size() - 4) << false;
    }
    void unlesbareDateiGesichert()
    {
        QFETCH(QByteArray, datei);
        QFETCH(bool, gesichert);
        QVERIFY(DateiAnlegen(ini(), datei));
        QVERIFY(DateiZeitVerschieben(ini(), -10)); // an empty file stood so long: no save in progress
        GetShowTextTime();
        GetShowErrTime();
        QCOMPARE(QFileInfo::exists(ini() + QStringLiteral(".BAK")), gesichert);
        if (gesichert)
            QCOMPARE(DateiInhalt(ini() + QStringLiteral(".BAK")), datei);
        QCOMPARE(logZeilen().filter(QStringLiteral(".BAK")).size(), gesichert ? 1 : 0);
        QVERIFY(zeilen().contains(QStringLiteral("INI-Version=V.001.025")));
    }

    void sicherungScheitert()
    {
        // the backup's place is held by a folder: the file is left as it is
        const QByteArray d("\x01\x02kaputt", 8);
        QVERIFY(DateiAnlegen(ini(), d));
        QVERIFY(QDir().mkpath(ini() + QStringLiteral(".BAK/x")));
        QCOMPARE(IniWertLesen(QStringLiteral("Messages"), QStringLiteral("ShowTextTime"), QStringLiteral("42")),
                 QStringLiteral("42"));
        QCOMPARE(inhalt(), d);
        QVERIFY(logHat(QStringLiteral("Solvanor-INI-Error 03")));
    }

    void riesigeZeile()
    {
        QVERIFY(DateiAnlegen(ini(), alteDatei("V.001.025", "[Messages]\r\nShowTextTime=" + QByteArray(4 * 1024 * 1024, '7') + "\r\n")));
        QCOMPARE(GetShowTextTime(), 3000);
        QCOMPARE(GetShowErrTime(), 5000);
    }

    void dateiIstOrdner()
    {
        QVERIFY(QDir().mkpath(ini()));
        QCOMPARE(GetShowTextTime(), 3000);
        QCOMPARE(GetMaxGroesseErr(), qint64(512000));
        QVERIFY(QFileInfo(ini()).isDir());
        // one entry for each of the two reads
        QCOMPARE(logZeilen().filter(QStringLiteral(": Solvanor-INI-Error 03")).size(), 2);
        QVERIFY(!logHat(QStringLiteral("Solvanor-INI-Error 01")));
    }

    void anlegenScheitert()
    {
        // a plain file stands where the file's folder must be
        QVERIFY(DateiAnlegen(m_dir->filePath(QStringLiteral("kein_ordner")), "x"));
        P().ServerIniDatei = m_dir->filePath(QStringLiteral("kein_ordner/Solvanor2004.INI"));
        QCOMPARE(IniWertLesen(QStringLiteral("Messages"), QStringLiteral("ShowTextTime"), QStringLiteral("42")),
                 QStringLiteral("42"));
        QStringList eintraege;
        for (const QString &z : logZeilen())
            if (z.contains(QStringLiteral("Solvanor-INI-Error")))
                eintraege << z.mid(z.indexOf(QStringLiteral("Solvanor")));
        QCOMPARE(eintraege, (QStringList{"Solvanor-INI-Error 01", "Solvanor-INI-Error 02", "Solvanor-INI-Error 03"}));
    }

    // The file lies on a full disk (the error log elsewhere): every read gives its default
    // and logs its error; the file is left byte for byte as it was, or missing when it was
    // missing, and no new file of the reader is left beside it.
    void vollerDatentraeger_data()
    {
        QTest::addColumn<QByteArray>("datei"); // empty: missing
        QTest::addColumn<QStringList>("fehler");
        const QStringList nur03{"Solvanor-INI-Error 03"};
        QTest::newRow("current file") << alteDatei("V.001.025", "[Messages]\r\nShowTextTime=1500\r\n\r\n"
                                                                 "[LX2100-Server]\r\nServerport=5020\r\n\r\n")
                                      << nur03;
        QTest::newRow("key missing") << alteDatei("V.001.025", "[LX2100-Server]\r\nServerport=5020\r\n\r\n") << nur03;
        QTest::newRow("older file") << alteDatei("V.001.024", "[Messages]\r\nShowTextTime=1500\r\n\r\n") << nur03;
        QTest::newRow("no settings text") << QByteArray("\x01\x02kaputt\r\n") << nur03;
        QTest::newRow("missing file") << QByteArray()
                                      << QStringList{"Solvanor-INI-Error 01", "Solvanor-INI-Error 02", "Solvanor-INI-Error 03"};
    }
    void vollerDatentraeger()
    {
        QFETCH(QByteArray, datei);
        QFETCH(QStringList, fehler);
        KleinerDatentraeger platte(256 * 1024);
        if (!platte.Bereit())
            QSKIP(qPrintable(platte.Grund()));
        P().ServerIniDatei = platte.Datei(QStringLiteral("Solvanor2004.INI"));
        if (!datei.isEmpty())
            QVERIFY(DateiAnlegen(ini(), datei));
        QVERIFY(platte.Fuellen());
        const QStringList vorher = QDir(platte.Pfad()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);

        QCOMPARE(IniWertLesen(QStringLiteral("Messages"), QStringLiteral("ShowTextTime"), QStringLiteral("3000")),
                 QStringLiteral("3000"));
        QCOMPARE(QFileInfo::exists(ini()), !datei.isEmpty());
        QCOMPARE(inhalt(), datei);
        QCOMPARE(QDir(platte.Pfad()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), vorher);
        QStringList eintraege;
        for (const QString &z : logZeilen())
            if (z.contains(QStringLiteral("Solvanor-INI-Error")))
                eintraege << z.mid(z.indexOf(QStringLiteral("Solvanor")));
        QCOMPARE(eintraege, fehler);

        // Once there is room again the same read writes the file.
        QVERIFY(QFile::remove(platte.Datei(QStringLiteral("fuellung"))));
        GetShowTextTime();
        QVERIFY(zeilen().contains(QStringLiteral("INI-Version=V.001.025")));
    }

    void fehlerUnterModulName()
    {
        P().ModulName = QStringLiteral("MiniQuorvel");
        QVERIFY(QDir().mkpath(ini()));
        GetShowTextTime();
        const QStringList z = CrLfZeilen(DateiInhalt(LogVerzeichnis(QDate::currentDate()) + QStringLiteral("MiniQuorvel.err")));
        QVERIFY(z.last().endsWith(QStringLiteral(": Solvanor-INI-Error 03")));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
