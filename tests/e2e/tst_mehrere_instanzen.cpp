// Several copies of the built program started together, as at a log-in on a PC with one
// station per controller: the shared settings file with another program writing it meanwhile,
// the same file in a folder closed to new files, and the error log made by all of them at once.
// Each start is ended by SIGTERM as a shutdown ends it, and must end with status 0.

#include "fremdschreiber.h"
#include "programmstart.h"
#include "support/dateihilfen.h"

#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <vector>

class TestMehrereInstanzen : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;

    QString ordner(const QString &Name) const { return mDir.filePath(Name); }
    QString store() const { return mDir.filePath(QStringLiteral("store")); }

    // Starts Anzahl copies of the program in Prog at once and ends each as a shutdown does;
    // what went wrong, or empty.
    QString zugleich(const QString &Prog, int Anzahl, bool OhneDateirechte = false) const
    {
        std::vector<std::unique_ptr<QProcess>> starts;
        for (int i = 0; i < Anzahl; ++i)
            starts.push_back(ProgrammStarten(Prog + QStringLiteral("/MiniQuorvel"), store(), OhneDateirechte));
        QString fehler;
        for (auto &s : starts) {
            const QString warum = ProgrammBeenden(*s);
            if (!warum.isEmpty() && fehler.isEmpty())
                fehler = warum + QLatin1Char('\n') + QString::fromLocal8Bit(s->readAll());
        }
        return fehler;
    }

    // A program folder as one start leaves it.
    QByteArray ersterStart(const QString &Prog) const
    {
        if (!ProgrammKopieren(Prog) || !zugleich(Prog, 1).isEmpty())
            return {};
        return DateiInhalt(Prog + QStringLiteral("/Solvanor2004.INI"));
    }

private slots:
    void initTestCase() { QVERIFY(mDir.isValid()); }

    // Another program adds keys to its own section while three copies start together, round
    // after round: 20 keys a round, 3 ms apart, the first one taking [Messages] and [TCPIP] out
    // so that the starts have to write them back, the others after the first start did. None of
    // the other program's keys is lost, but for one it put in place while a write-back stood
    // beside the file: such a write-back may have checked the file just before (a moment of its
    // own test); and a start alone, with the other program quiet, finds or adds every key it
    // reads.
    void fremdesProgrammSchreibtMit()
    {
        const QString prog = ordner(QStringLiteral("fremd"));
        QVERIFY(!ersterStart(prog).isEmpty());
        const QString ini = prog + QStringLiteral("/Solvanor2004.INI");
        Fremdschreiber fremd(ini);
        const int runden = 10, jeRunde = 20;
        for (int runde = 0; runde < runden; ++runde) {
            fremd.Runde(jeRunde, true, true);
            const QString fehler = zugleich(prog, 3);
            QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
            QVERIFY2(fremd.RundeAbwarten(), "Die Starts haben [Messages] nicht zurückgeschrieben.");
        }
        const QStringList fehlt = fremd.Fehlende(DateiInhalt(ini), true);
        qInfo("%d Runden, 3 Instanzen: %d Schlüssel des anderen Programms geschrieben, %lld neben einem "
              "Zurückschreiben, %lld verloren (%lld mit jenen)",
              runden, fremd.Geschrieben(), qlonglong(fremd.Nebenher()), qlonglong(fehlt.size()),
              qlonglong(fremd.Fehlende(DateiInhalt(ini)).size()));
        QCOMPARE(fremd.Geschrieben(), runden * jeRunde);
        QVERIFY2(fehlt.isEmpty(), qPrintable(fehlt.mid(0, 20).join(QLatin1Char(' '))));

        QCOMPARE(zugleich(prog, 1), QString());
        const QByteArray danach = DateiInhalt(ini);
        const QStringList messages = Fremdschreiber::Abschnitt(danach, "Messages");
        for (const char *zeile : {"ShowTextTime=3000", "ShowErrTime=5000", "MaxZeilenZahlLog_Datei=5000",
                                  "MaxZeilenZahlErr_Datei=5000", "MaxGroesseErr_Datei(kB)=500"})
            QVERIFY2(messages.contains(QLatin1String(zeile)), zeile);
        const QStringList tcpip = Fremdschreiber::Abschnitt(danach, "TCPIP");
        for (const char *zeile : {"TCPWinPort=4096", "TCPServerTimeOut=400"})
            QVERIFY2(tcpip.contains(QLatin1String(zeile)), zeile);
        QCOMPARE(fremd.Fehlende(danach, true), fehlt);
    }

    // A program folder closed to new files with the settings file writable: each write-back
    // goes into the file in place. The file lacks [Messages] and [TCPIP], so every start adds
    // them. Eight copies started together leave the file as one start alone leaves it.
    void gesperrterOrdnerImOrt()
    {
        if (!DateirechteAblegbar())
            QSKIP("Die Rechte, die über Dateimodi hinweggehen, lassen sich den Programmen nicht nehmen.");
        QByteArray vorlage = ersterStart(ordner(QStringLiteral("vorlage")));
        QVERIFY(vorlage.contains("[LX2100-Server]\r\n\r\n"));
        Fremdschreiber::AbschnittEntfernen(vorlage, "Messages");
        Fremdschreiber::AbschnittEntfernen(vorlage, "TCPIP");
        vorlage.replace("[LX2100-Server]\r\n\r\n", "[LX2100-Server]\r\nServeradresse=backstube-1\r\nServerport=5020\r\n\r\n");

        // Everything the program makes is there already; the log folder stays open.
        const auto bauen = [&](const QString &Prog) {
            if (!ProgrammKopieren(Prog))
                return false;
            for (const char *o : {"Backprogramme/Quorvel", "Backprogramme/KVD", "Backprogramme/LM", "Backprogramme/LX",
                                  "Backprogramme/Ladomir", "Grafik/RLX", "log"})
                if (!QDir().mkpath(Prog + QLatin1Char('/') + QLatin1String(o)))
                    return false;
            const QByteArray ini = QFile::encodeName(Prog + QStringLiteral("/Solvanor2004.INI"));
            return ::chmod(QFile::encodeName(Prog + QStringLiteral("/log")).constData(), 0777) == 0
                   && DateiAnlegen(QFile::decodeName(ini), vorlage) && ::chmod(ini.constData(), 0666) == 0
                   && ::chmod(QFile::encodeName(Prog).constData(), 0555) == 0;
        };
        const auto oeffnen = qScopeGuard([&] {
            for (const char *o : {"allein", "acht"})
                ::chmod(QFile::encodeName(ordner(QLatin1String(o))).constData(), 0755);
        });

        // One start alone gives the file that eight must leave.
        const QString allein = ordner(QStringLiteral("allein"));
        QVERIFY(bauen(allein));
        struct stat vorher{}, nachher{};
        QCOMPARE(::stat(QFile::encodeName(allein + QStringLiteral("/Solvanor2004.INI")).constData(), &vorher), 0);
        QCOMPARE(zugleich(allein, 1, true), QString());
        QCOMPARE(::stat(QFile::encodeName(allein + QStringLiteral("/Solvanor2004.INI")).constData(), &nachher), 0);
        QCOMPARE(nachher.st_ino, vorher.st_ino); // written in place: the folder was closed to it
        const QByteArray erwartet = DateiInhalt(allein + QStringLiteral("/Solvanor2004.INI"));
        QVERIFY(erwartet.contains("[Messages]\r\nShowTextTime=3000\r\n"));
        QVERIFY(erwartet.contains("[TCPIP]\r\nTCPWinPort=4096\r\nTCPServerTimeOut=400\r\n\r\n"));
        QVERIFY(erwartet.contains("Serveradresse=backstube-1\r\n"));

        const QString acht = ordner(QStringLiteral("acht"));
        QVERIFY(bauen(acht));
        const QString ini = acht + QStringLiteral("/Solvanor2004.INI");
        const int runden = 20;
        int beschaedigt = 0;
        QString erste;
        for (int runde = 0; runde < runden; ++runde) {
            QVERIFY(DateiAnlegen(ini, vorlage));
            const QString fehler = zugleich(acht, 8, true);
            QVERIFY2(fehler.isEmpty(), qPrintable(fehler));
            const QByteArray jetzt = DateiInhalt(ini);
            if (jetzt != erwartet && beschaedigt++ == 0)
                erste = QString::fromLatin1(jetzt);
        }
        qInfo("%d Runden, 8 Instanzen im gesperrten Ordner: %d beschädigte Dateien", runden, beschaedigt);
        QVERIFY2(beschaedigt == 0, qPrintable(erste));
        QCOMPARE(QDir(acht).entryList({QStringLiteral("Solvanor2004.INI*")}, QDir::Files | QDir::Hidden),
                 QStringList{"Solvanor2004.INI"});
    }

    // Eight copies write their first entries of the day into a log that does not exist yet
    // (the settings file is a folder, so each of the twelve reads of a start logs its error):
    // the log is made once, with its header first, and holds every entry whole.
    void fehlerLogGemeinsamAngelegt()
    {
        const QString prog = ordner(QStringLiteral("log"));
        QVERIFY(ProgrammKopieren(prog));
        QVERIFY(QDir().mkpath(prog + QStringLiteral("/Solvanor2004.INI")));
        const QRegularExpression eintrag(QStringLiteral("^\\S.*: \\S.*$"));
        const int runden = 15, instanzen = 8;
        int falsch = 0;
        QString erste;
        for (int runde = 0; runde < runden; ++runde) {
            QVERIFY(QDir(prog + QStringLiteral("/log")).removeRecursively());
            const QString fehler = zugleich(prog, instanzen);
            QVERIFY2(fehler.isEmpty(), qPrintable(fehler));

            QStringList dateien;
            QDirIterator it(prog + QStringLiteral("/log"), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext())
                dateien << it.next();
            QCOMPARE(dateien.size(), 1);
            QVERIFY2(dateien.at(0).endsWith(QStringLiteral("/MiniQuorvel.err")), qPrintable(dateien.at(0)));
            QString text = QString::fromUtf8(DateiInhalt(dateien.at(0)));
            QVERIFY(text.endsWith(QStringLiteral("\r\n")));
            text.chop(2);
            const QStringList zeilen = text.split(QStringLiteral("\r\n"));
            bool richtig = zeilen.size() > 2 && zeilen.at(0).endsWith(QStringLiteral(": Solvanor2004 Error File created."))
                           && zeilen.at(1).isEmpty()
                           && zeilen.filter(QStringLiteral("Solvanor2004 Error File created.")).size() == 1
                           && zeilen.filter(QStringLiteral(": Solvanor-INI-Error 03")).size() == instanzen * 12;
            for (qsizetype i = 2; richtig && i < zeilen.size(); ++i)
                richtig = eintrag.match(zeilen.at(i)).hasMatch();
            if (!richtig && falsch++ == 0)
                erste = text;
        }
        qInfo("%d Runden, %d Instanzen: %d Protokolle falsch angelegt oder mit verlorenen Einträgen", runden,
              instanzen, falsch);
        QVERIFY2(falsch == 0, qPrintable(erste));
    }
};

QTEST_GUILESS_MAIN(TestMehrereInstanzen)
#include "tst_mehrere_instanzen.moc"
