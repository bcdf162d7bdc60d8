#include "dateihilfen.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The error log in weekday folders, in a fresh program folder per test function.
class TestLog : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> m_programm;
    std::unique_ptr<QTemporaryDir> m_dir;
    const QDateTime m_montag{QDate(2026, 12, 7), QTime(10, 11, 12)};

    QString datei(const QDateTime &t = {}) const
    {
        return LogVerzeichnis((t.isValid() ? t : m_montag).date()) + QStringLiteral("Modul.err");
    }
    QString zeile(const QString &text, const QDateTime &t = {}) const
    {
        return DatumZeitText(t.isValid() ? t : m_montag) + QStringLiteral(": ") + text;
    }

private slots:
    void init()
    {
        m_programm = std::make_unique<Programm>();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        P().Programmverzeichnis = m_dir->path() + QLatin1Char('/');
    }
    void cleanup()
    {
        m_dir.reset();
        m_programm.reset();
    }

    void wochentagsordner_data()
    {
        QTest::addColumn<QDate>("datum");
        QTest::addColumn<QString>("ordner");
        QTest::newRow("Monday") << QDate(2026, 12, 7) << "1_Monday";
        QTest::newRow("Tuesday") << QDate(2026, 12, 8) << "2_Tuesday";
        QTest::newRow("Wednesday") << QDate(2026, 12, 9) << "3_Wednesday";
        QTest::newRow("Thursday") << QDate(2026, 12, 10) << "4_Thursday";
        QTest::newRow("Friday") << QDate(2026, 12, 11) << "5_Friday";
        QTest::newRow("Saturday") << QDate(2026, 12, 12) << "6_Saturday";
        QTest::newRow("Sunday") << QDate(2026, 12, 13) << "7_Sunday";
        QTest::newRow("leap day") << QDate(2024, 2, 29) << "4_Thursday";
    }
    void wochentagsordner()
    {
        QFETCH(QDate, datum);
        QFETCH(QString, ordner);
        QCOMPARE(LogVerzeichnis(datum), P().Programmverzeichnis + QStringLiteral("log/") + ordner + QLatin1Char('/'));
    }

    void zeitstempel_data()
    {
        QTest::addColumn<QLocale>("ort");
        QTest::addColumn<QDateTime>("zeit");
        QTest::addColumn<QString>("text");
        const QLocale de(QLocale::German, QLocale::Germany);
        const QLocale c = QLocale::c();
        const QDate tag(2026, 12, 10);
        QTest::newRow("German") << de << QDateTime(tag, QTime(13, 18, 2)) << "10.12.2026 13:18:02";
        QTest::newRow("German, one-digit day") << de << QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7))
                                               << "04.03.2026 05:06:07";
        QTest::newRow("German, midnight") << de << QDateTime(tag, QTime(0, 0)) << "10.12.2026";
        QTest::newRow("German, a second past midnight") << de << QDateTime(tag, QTime(0, 0, 1)) << "10.12.2026 00:00:01";
        QTest::newRow("C") << c << QDateTime(tag, QTime(13, 18, 2)) << "10 Dec 2026 13:18:02";
        QTest::newRow("C, midnight") << c << QDateTime(tag, QTime(0, 0)) << "10 Dec 2026";
        QTest::newRow("C, year 900") << c << QDateTime(QDate(900, 1, 2), QTime(23, 59, 59)) << "2 Jan 0900 23:59:59";
    }
    void zeitstempel()
    {
        QFETCH(QLocale, ort);
        QFETCH(QDateTime, zeit);
        QFETCH(QString, text);
        QCOMPARE(DatumZeitText(zeit, ort), text);
        // the date alone is the stamp without its time
        QVERIFY2(text == DatumText(zeit.date(), ort) || text.startsWith(DatumText(zeit.date(), ort) + QLatin1Char(' ')),
                 qPrintable(DatumText(zeit.date(), ort)));
    }

    void ersterEintragUndWocheSpaeter()
    {
        LogSchreiben(QStringLiteral("Modul"), QStringLiteral("eins"), 0, m_montag);
        const QString kopfzeile = DatumZeitText(m_montag) + QStringLiteral(": Solvanor2004 Error File created.");
        QCOMPARE(CrLfZeilen(DateiInhalt(datei())), (QStringList{kopfzeile, QString(), zeile(QStringLiteral("eins"))}));
        QVERIFY(DateiInhalt(datei()).endsWith("eins\r\n"));

        const QDateTime naechsterMontag = m_montag.addDays(7);
        QCOMPARE(datei(naechsterMontag), datei());
        LogSchreiben(QStringLiteral("Modul"), QStringLiteral("zwei"), 0, naechsterMontag);
        QCOMPARE(CrLfZeilen(DateiInhalt(datei())),
                 (QStringList{kopfzeile, QString(), zeile(QStringLiteral("eins")), zeile(QStringLiteral("zwei"), naechsterMontag)}));

        LogSchreiben(QStringLiteral("Modul"), QStringLiteral("drei"), 0, m_montag.addDays(1));
        QCOMPARE(CrLfZeilen(DateiInhalt(datei(m_montag.addDays(1)))).size(), 3);
    }

    // A log left empty (by an earlier program on a full disk, say) gets its header before the
    // next entry; an entry never goes into a log without one.
    void leeresLogBekommtKopf()
    {
        QVERIFY(QDir().mkpath(LogVerzeichnis(m_montag.date())));
        QVERIFY(DateiAnlegen(datei(), QByteArray()));
        LogSchreiben(QStringLiteral("Modul"), QStringLiteral("eins"), 0, m_montag);
        const QString kopfzeile = DatumZeitText(m_montag) + QStringLiteral(": Solvanor2004 Error File created.");
        QCOMPARE(CrLfZeilen(DateiInhalt(datei())), (QStringList{kopfzeile, QString(), zeile(QStringLiteral("eins"))}));
    }

    void leererText()
    {
        LogSchreiben(QStringLiteral("Modul"), QString(), 0, m_montag);
        QCOMPARE(CrLfZeilen(DateiInhalt(datei())).size(), 2);
        const QByteArray vorher = DateiInhalt(datei());
        LogSchreiben(QStringLiteral("Modul"), QString(), 1, m_montag);
        QCOMPARE(DateiInhalt(datei()), vorher);
        QVERIFY(!QFileInfo::exists(datei() + QStringLiteral(".BAK")));
    }

    void sicherung_data()
    {
        QTest::addColumn<int>("ueberGrenze");
        QTest::addColumn<qint64>("grenze");
        QTest::addColumn<bool>("verschoben");
        QTest::newRow("at limit") << 0 << qint64(300) << false;
        QTest::newRow("limit + 1") << 1 << qint64(300) << true;
        QTest::newRow("limit 0") << 5000 << qint64(0) << false;
        QTest::newRow("limit negative") << 5000 << qint64(-1) << false;
    }
    void sicherung()
    {
        QFETCH(int, ueberGrenze);
        QFETCH(qint64, grenze);
        QFETCH(bool, verschoben);
        QVERIFY(QDir().mkpath(LogVerzeichnis(m_montag.date())));
        const qint64 groesse = qMax<qint64>(grenze, 0) + ueberGrenze;
        const QByteArray alt(groesse, 'a');
        QVERIFY(DateiAnlegen(datei(), alt));
        QVERIFY(DateiAnlegen(datei() + QStringLiteral(".BAK"), "older backup"));
        LogSchreiben(QStringLiteral("Modul"), QStringLiteral("neu"), grenze, m_montag);
        if (verschoben) {
            QCOMPARE(DateiInhalt(datei() + QStringLiteral(".BAK")), alt);
            QCOMPARE(CrLfZeilen(DateiInhalt(datei())),
                     (QStringList{DatumZeitText(m_montag) + QStringLiteral(": Solvanor2004 Error File created."), QString(),
                                  zeile(QStringLiteral("neu"))}));
        } else {
            QCOMPARE(DateiInhalt(datei() + QStringLiteral(".BAK")), QByteArray("older backup"));
            QCOMPARE(DateiInhalt(datei()), alt + (zeile(QStringLiteral("neu")) + QStringLiteral("\r\n")).toUtf8());
        }
    }

    void anfangsgrenzeIstVorgabe()
    {
        // Before the settings are read the limit is the settings file's default (500 kB): the
        // entries of a start with an unreadable settings file keep the day's earlier lines.
        QCOMPARE(P().MaxGroesseErr, qint64(512000));
        const QString d = LogVerzeichnis(QDate::currentDate()) + QStringLiteral("Modul.err");
        QVERIFY(QDir().mkpath(LogVerzeichnis(QDate::currentDate())));
        const QByteArray frueher = QByteArray("frueherer Eintrag\r\n").repeated(1000);
        QVERIFY(DateiAnlegen(d, frueher));
        for (int i = 0; i < 9; ++i)
            ErrSchreiben(QStringLiteral("Modul"), QStringLiteral("Solvanor-INI-Error 03"));
        QVERIFY(!QFileInfo::exists(d + QStringLiteral(".BAK")));
        QVERIFY(DateiInhalt(d).startsWith(frueher));
        QCOMPARE(CrLfZeilen(DateiInhalt(d)).size(), 1009);
    }

    void modulNameAusDatei_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("name");
        QTest::newRow("exe") << "MiniQuorvel.exe" << "MiniQuorvel";
        QTest::newRow("Test") << "Test.exe" << "Test";
        QTest::newRow("no dot") << "MiniQuorvel" << "MiniQuorvel";
        QTest::newRow("two dots") << "a.b.exe" << "a.b";
        QTest::newRow("extension twice") << "x.exe.exe" << "x";
    }
    void modulNameAusDatei()
    {
        QFETCH(QString, datei);
        QFETCH(QString, name);
        QCOMPARE(ModulNameAusDatei(datei), name);
    }

    void leererNameNimmtProgrammdatei()
    {
        ErrSchreiben(QString(), QStringLiteral("vorher"));
        const QString erwartet = LogVerzeichnis(QDate::currentDate())
                                 + ModulNameAusDatei(QFileInfo(QCoreApplication::applicationFilePath()).fileName())
                                 + QStringLiteral(".err");
        QVERIFY(CrLfZeilen(DateiInhalt(erwartet)).last().endsWith(QStringLiteral(": vorher")));
        QCOMPARE(QDir(LogVerzeichnis(QDate::currentDate())).entryList(QDir::Files),
                 QStringList{QStringLiteral("tst_log.err")});
    }

    void schreibenScheitertStill_data()
    {
        QTest::addColumn<QString>("blockiert");
        QTest::newRow("log is a file") << "log";
        QTest::newRow("weekday folder is a file") << "log/1_Monday";
        QTest::newRow("program folder is a file") << "";
    }
    void schreibenScheitertStill()
    {
        QFETCH(QString, blockiert);
        if (blockiert.isEmpty()) {
            QVERIFY(DateiAnlegen(m_dir->filePath(QStringLiteral("prog")), "x"));
            P().Programmverzeichnis = m_dir->filePath(QStringLiteral("prog/"));
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(m_dir->filePath(blockiert)).absolutePath()));
            QVERIFY(DateiAnlegen(m_dir->filePath(blockiert), "x"));
        }
        LogSchreiben(QStringLiteral("Modul"), QStringLiteral("weg"), 100, m_montag);
        QVERIFY(!QFileInfo::exists(datei()));
    }

    void groesseNichtLesbar()
    {
        // the log file's place is held by a folder: the entry is dropped
        QVERIFY(QDir().mkpath(datei()));
        LogSchreiben(QStringLiteral("Modul"), QStringLiteral("weg"), 100, m_montag);
        QVERIFY(QFileInfo(datei()).isDir());
        QVERIFY(!QFileInfo::exists(datei() + QStringLiteral(".BAK")));
    }

    void verschiebenScheitert()
    {
        // the backup's place is held by a non-empty folder: the entry goes to the large file
        QVERIFY(QDir().mkpath(datei() + QStringLiteral(".BAK/x")));
        QVERIFY(DateiAnlegen(datei(), QByteArray(500, 'a')));
        LogSchreiben(QStringLiteral("Modul"), QStringLiteral("trotzdem"), 100, m_montag);
        QVERIFY(DateiInhalt(datei()).endsWith((zeile(QStringLiteral("trotzdem")) + QStringLiteral("\r\n")).toUtf8()));
        QCOMPARE(DateiInhalt(datei()).size(), 500 + zeile(QStringLiteral("trotzdem")).toUtf8().size() + 2);
    }

    void bereinigen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ergebnis");
        QTest::newRow("unchanged") << "/a/b/Datei 1.txt" << "/a/b/Datei 1.txt";
        QTest::newRow("question mark and asterisk") << "/a/Wer?.*" << "/a/Wer . ";
        QTest::newRow("all six") << "\"*<>?|x" << "      x";
        QTest::newRow("empty") << "" << "";
    }
    void bereinigen()
    {
        QFETCH(QString, name);
        QFETCH(QString, ergebnis);
        DateinameBereinigen(name);
        QCOMPARE(name, ergebnis);
    }
};

QTEST_GUILESS_MAIN(TestLog)
#include "tst_log.moc"
