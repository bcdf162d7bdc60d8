#include "dateisystem.h"
#include "testtexte.h"

#include "editors/uProgrammDatei.h"
#include "editors/uQuorvelGaerProg.h"
#include "support/uProgramm.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>

Q_DECLARE_METATYPE(TProgrammDateiArt)

namespace {

QByteArray Inhalt(const QString &Pfad)
{
    QFile f(Pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Anlegen(const QString &Pfad, const QByteArray &Daten)
{
    QFile f(Pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(Daten), Daten.size());
}

// Default program of a new proofing list in slot Nr.
TQorGaerProg StandardProgramm(int Nr)
{
    return TwQuorvelGaerProg::StandardProgramm(Nr);
}

// A proofing program whose every field differs from the others' and from the default.
TQorGaerProg GaerProgramm(int Nr, int Basis)
{
    TQorGaerProg g;
    g.Nr = QString::number(Nr);
    g.Sch = {QString::number(-20 + Basis), QString(), QString::number(10 + Basis)};
    g.GU = {QString::number(-5 - Basis), QString(), QString()};
    g.GV = {QString::number(3 + Basis), QString::number(60 + Basis), QString::number(100 + Basis)};
    g.GA = {QString::number(25 + Basis), QString::number(70 + Basis), QString::number(200 + Basis)};
    g.AB = {QString::number(15 + Basis), QString::number(50 + Basis), QString::number(5 + Basis)};
    g.Backofenvorlauf = QString::number(30 + Basis);
    return g;
}

TQorNivorell NivorellProgramm(int Nr, int Basis)
{
    TQorNivorell n;
    n.Nr = QString::number(Nr);
    for (int s = 0; s < 8; ++s)
        n.Schritte[size_t(s)] = {QString::number(s + Basis - 10), QString::number(40 + s + Basis),
                                 QString::number(10 * s + Basis)};
    return n;
}

} // namespace

class TestProgrammDatei : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> programm;
    std::unique_ptr<QTemporaryDir> dir;

    QString pfad(const QString &Name) const { return dir->filePath(Name); }

private slots:
    void init()
    {
        programm = std::make_unique<Programm>();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
    }
    void cleanup()
    {
        dir.reset();
        programm.reset();
    }

    void dateiArten_data()
    {
        QTest::addColumn<TProgrammDateiArt>("art");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("endung");
        QTest::addColumn<QString>("vorschlag");
        QTest::newRow("QGP") << TProgrammDateiArt::GaerProgramm
                             << QStringLiteral("Quorvel Gärprogramme (*.QGP)|*.QGP|Alle Dateien (*.*)|*.*")
                             << QStringLiteral("*.QGP") << QStringLiteral("Programm03");
        QTest::newRow("QGR") << TProgrammDateiArt::GaerListe
                             << QStringLiteral("Quorvel Gär-Record (*.QGR)|*.QGR|Alle Dateien (*.*)|*.*")
                             << QStringLiteral("*.QGR") << QStringLiteral("GaerPrgRecord");
        QTest::newRow("NVP") << TProgrammDateiArt::NivorellProgramm
                             << QStringLiteral("Quorvel Nivorell Programme (*.NVP)|*.NVP|Alle Dateien (*.*)|*.*")
                             << QStringLiteral("*.NVP") << QStringLiteral("Programm03");
        QTest::newRow("NVR") << TProgrammDateiArt::NivorellListe
                             << QStringLiteral("Quorvel Nivorell Programm-Records (*.NVR)|*.NVR|Alle Dateien (*.*)|*.*")
                             << QStringLiteral("*.NVR") << QStringLiteral("NivorellPrgRecord");
    }
    void dateiArten()
    {
        QFETCH(TProgrammDateiArt, art);
        QFETCH(QString, filter);
        QFETCH(QString, endung);
        QFETCH(QString, vorschlag);
        QCOMPARE(ProgrammDateiFilter(art), filter);
        QCOMPARE(ProgrammDateiEndung(art), endung);
        QCOMPARE(ProgrammDateiVorschlag(art, ProgrammNummerText(3)), vorschlag);
    }

    void nummerZeile()
    {
        QCOMPARE(ProgrammNummerText(1), QStringLiteral("01"));
        QCOMPARE(ProgrammNummerText(10), QStringLiteral("10"));
        QCOMPARE(ProgrammNummerText(123), QStringLiteral("123"));
    }

    // The default program 1 saved alone from row 1, byte for byte, and read back.
    void standardProgrammEinzeln_data()
    {
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<QByteArray>("datei");
        QTest::newRow("56") << true << StandardGaer1Datei(true);
        QTest::newRow("52") << false << StandardGaer1Datei(false);
    }
    void standardProgrammEinzeln()
    {
        QFETCH(bool, ab352);
        QFETCH(QByteArray, datei);
        GaerProgLayoutSetzen(ab352);
        const TQorGaerProg prog = StandardProgramm(1);
        QString fehler;
        QVERIFY(ProgrammDateiSchreiben(pfad("p.QGP"), EinzelDateiZeilen(ProgrammNummerText(1), GaerProgZuHex(prog)),
                                       fehler));
        QCOMPARE(Inhalt(pfad("p.QGP")), datei);
        TQorGaerProg gelesen;
        QVERIFY(GaerEinzelLesen(pfad("p.QGP"), gelesen, fehler));
        QCOMPARE(gelesen, prog);
    }

    // Lists saved and reopened give the same ten programs, in both layouts and both kinds.
    void listeRundreise_data()
    {
        QTest::addColumn<bool>("ab352");
        QTest::newRow("56") << true;
        QTest::newRow("52") << false;
    }
    void listeRundreise()
    {
        QFETCH(bool, ab352);
        GaerProgLayoutSetzen(ab352);
        std::array<TQorGaerProg, 10> liste;
        std::array<TQorNivorell, 10> nivo;
        for (int i = 0; i < 10; ++i) {
            liste[size_t(i)] = GaerProgramm(i + 1, 3 * i);
            if (!ab352)
                liste[size_t(i)].AB.Zeit = QStringLiteral("0");
            nivo[size_t(i)] = NivorellProgramm(i + 1, i);
        }
        QString fehler;
        QVERIFY(ProgrammDateiSchreiben(pfad("l.QGR"), GaerListeZeilen(liste), fehler));
        QVERIFY(ProgrammDateiSchreiben(pfad("l.NVR"), NivorellListeZeilen(nivo), fehler));
        const QList<QByteArray> zeilen = Inhalt(pfad("l.QGR")).split('\n');
        QCOMPARE(zeilen.size(), 12); // eleven lines and nothing after the last CR LF
        QCOMPARE(zeilen.first(), QByteArray("Init\r"));
        QCOMPARE(zeilen.at(1).size(), (ab352 ? 56 : 52) + 1);

        std::array<TQorGaerProg, 10> gelesen;
        std::array<TQorNivorell, 10> nivoGelesen;
        QVERIFY(GaerListeLesen(pfad("l.QGR"), gelesen, fehler));
        QVERIFY(NivorellListeLesen(pfad("l.NVR"), nivoGelesen, fehler));
        QVERIFY(gelesen == liste);
        QVERIFY(nivoGelesen == nivo);

        // A single program of each kind.
        TQorGaerProg einzeln;
        TQorNivorell nivoEinzeln;
        QVERIFY(ProgrammDateiSchreiben(pfad("e.QGP"), EinzelDateiZeilen(ProgrammNummerText(4), GaerProgZuHex(liste[3])), fehler));
        QVERIFY(ProgrammDateiSchreiben(pfad("e.NVP"), EinzelDateiZeilen(ProgrammNummerText(4), NivorellZuHex(nivo[3])), fehler));
        QVERIFY(GaerEinzelLesen(pfad("e.QGP"), einzeln, fehler));
        QVERIFY(NivorellEinzelLesen(pfad("e.NVP"), nivoEinzeln, fehler));
        QCOMPARE(einzeln, liste[3]);
        QCOMPARE(nivoEinzeln, nivo[3]);
    }

    // Line ends CR, LF and CR LF; a last line without an end; nothing trimmed.
    void zeilenTrennung_data()
    {
        QTest::addColumn<QByteArray>("daten");
        QTest::addColumn<QStringList>("zeilen");
        QTest::newRow("leer") << QByteArray() << QStringList();
        QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
        QTest::newRow("lf, letzte ohne Ende") << QByteArray("a\nb") << QStringList{"a", "b"};
        QTest::newRow("cr") << QByteArray("a\rb\r") << QStringList{"a", "b"};
        QTest::newRow("gemischt") << QByteArray("a\r\rb\n\r\nc") << QStringList{"a", "", "b", "", "c"};
        QTest::newRow("lf cr sind zwei") << QByteArray("\n\r") << QStringList{"", ""};
        QTest::newRow("nur Ende") << QByteArray("\r\n") << QStringList{""};
        QTest::newRow("Blanks bleiben") << QByteArray(" a \r\n\t\r\n") << QStringList{" a ", "\t"};
        // CR at the end of one read block, LF at the start of the next.
        QTest::newRow("cr lf über Blockgrenze")
            << QByteArray(65535, 'x') + "\r\nb" << QStringList{QString(ZeilenHoechstlaenge, 'x'), "b"};
        QTest::newRow("Byte 0 und Latin-1") << QByteArray("a\0b\xE4\r\n", 6) << QStringList{QString::fromLatin1("a\0b\xE4", 4)};
    }
    void zeilenTrennung()
    {
        QFETCH(QByteArray, daten);
        QFETCH(QStringList, zeilen);
        Anlegen(pfad("z.txt"), daten);
        QStringList gelesen;
        QString fehler;
        QVERIFY(ProgrammDateiZeilenLesen(pfad("z.txt"), ListenZeilenAnzahl, gelesen, fehler));
        QCOMPARE(gelesen, zeilen);
    }

    // Too few lines: the failure names the first missing line (counted from 0); the places
    // read before it keep the file's programs, the others stay as they were.
    void zuWenigZeilen_data()
    {
        QTest::addColumn<int>("zeilen");   // lines in the list file, "Init" included
        QTest::addColumn<int>("index");
        QTest::newRow("leer") << 0 << 1;
        QTest::newRow("nur Init") << 1 << 1;
        QTest::newRow("sechs") << 6 << 6;
        QTest::newRow("zehn") << 10 << 10;
    }
    void zuWenigZeilen()
    {
        QFETCH(int, zeilen);
        QFETCH(int, index);
        std::array<TQorGaerProg, 10> inDatei;
        for (int i = 0; i < 10; ++i)
            inDatei[size_t(i)] = GaerProgramm(i + 1, i);
        QByteArray text = ProgrammDateiText(GaerListeZeilen(inDatei).mid(0, zeilen));
        Anlegen(pfad("kurz.QGR"), text);

        std::array<TQorGaerProg, 10> liste;
        for (int i = 0; i < 10; ++i)
            liste[size_t(i)] = StandardProgramm(i + 1);
        QString fehler;
        QVERIFY(!GaerListeLesen(pfad("kurz.QGR"), liste, fehler));
        QCOMPARE(fehler, QStringLiteral("Listenindex überschreitet das Maximum (%1)").arg(index));
        for (int i = 0; i < 10; ++i)
            QCOMPARE(liste[size_t(i)], i + 1 < zeilen ? inDatei[size_t(i)] : StandardProgramm(i + 1));

        // A single-program file with only its number line.
        Anlegen(pfad("kurz.QGP"), "01\r\n");
        TQorGaerProg prog = StandardProgramm(5);
        QVERIFY(!GaerEinzelLesen(pfad("kurz.QGP"), prog, fehler));
        QCOMPARE(fehler, QStringLiteral("Listenindex überschreitet das Maximum (1)"));
        QCOMPARE(prog, StandardProgramm(5));
    }

    // Readers go by position only: the first line, further lines and line 1's number are not looked at.
    void nurNachPosition()
    {
        std::array<TQorGaerProg, 10> inDatei;
        for (int i = 0; i < 10; ++i)
            inDatei[size_t(i)] = GaerProgramm(10 - i, i); // numbers other than the positions
        QStringList zeilen = GaerListeZeilen(inDatei);
        zeilen[0] = QStringLiteral("Quatsch");
        zeilen << QStringLiteral("zwölfte Zeile") << GaerProgZuHex(GaerProgramm(1, 50));
        Anlegen(pfad("l.QGR"), ProgrammDateiText(zeilen));
        std::array<TQorGaerProg, 10> liste;
        QString fehler;
        QVERIFY(GaerListeLesen(pfad("l.QGR"), liste, fehler));
        QVERIFY(liste == inDatei);

        // Line 1 says 5, the record carries 7.
        Anlegen(pfad("e.QGP"), ProgrammDateiText({"05", GaerProgZuHex(GaerProgramm(7, 1))}));
        TQorGaerProg prog;
        QVERIFY(GaerEinzelLesen(pfad("e.QGP"), prog, fehler));
        QCOMPARE(prog.Nr, QStringLiteral("7"));
    }

    // The decoder alone judges a line's length; the reader passes lines whole and untrimmed.
    void zeilenLaenge_data()
    {
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("abZeit");
        QTest::addColumn<QString>("vorlauf");
        const QString z56 = QStringLiteral("0001003C0145015E0168019A030700B4022603200007FFFF02EE003C");
        const QString z52 = QStringLiteral("0001003C0145015E0168019A030700B402260320FFFF02EE003C");
        QTest::newRow("56 in 56") << true << z56 << "7" << "60";
        QTest::newRow("56 in 52") << false << z56 << "0" << "750";
        QTest::newRow("52 in 56") << true << z52 << "0" << "60";
        QTest::newRow("56 mit Blank in 56") << true << z56 + QLatin1Char(' ') << "0" << "750";
        QTest::newRow("leere Zeile") << true << QString() << "0" << "-1";
    }
    void zeilenLaenge()
    {
        QFETCH(bool, ab352);
        QFETCH(QString, zeile);
        QFETCH(QString, abZeit);
        QFETCH(QString, vorlauf);
        Anlegen(pfad("e.QGP"), ProgrammDateiText({"01", zeile}));
        GaerProgLayoutSetzen(ab352);
        TQorGaerProg prog;
        QString fehler;
        QVERIFY(GaerEinzelLesen(pfad("e.QGP"), prog, fehler));
        QCOMPARE(prog.AB.Zeit, abZeit);
        QCOMPARE(prog.Backofenvorlauf, vorlauf);
    }

    void oeffnenFehler()
    {
        TQorGaerProg prog = StandardProgramm(2);
        QString fehler;
        const QString fehlt = pfad("fehlt.QGP");
        QVERIFY(!GaerEinzelLesen(fehlt, prog, fehler));
        QVERIFY2(fehler.startsWith(QStringLiteral("Datei %1 kann nicht geöffnet werden. ").arg(QDir::toNativeSeparators(fehlt))),
                 qPrintable(fehler));
        QVERIFY(fehler.size() > QStringLiteral("Datei %1 kann nicht geöffnet werden. ").arg(fehlt).size());
        QCOMPARE(prog, StandardProgramm(2));
    }

    void erstellenFehler()
    {
        const QString ziel = pfad("gibtsnicht/p.QGR");
        QString fehler;
        QVERIFY(!ProgrammDateiSchreiben(ziel, {"Init"}, fehler));
        QVERIFY2(fehler.startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ").arg(QDir::toNativeSeparators(ziel))),
                 qPrintable(fehler));
    }

    // A save that fails halfway (the file-size limit is hit) leaves the old file as it was.
    void fehlgeschlagenesSpeichernErhaeltAlteDatei()
    {
        const QByteArray alt = "Init\r\nalt\r\n";
        Anlegen(pfad("l.QGR"), alt);
        std::array<TQorGaerProg, 10> liste;
        for (int i = 0; i < 10; ++i)
            liste[size_t(i)] = StandardProgramm(i + 1);

        rlimit vorher{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &vorher), 0);
        const auto signalVorher = std::signal(SIGXFSZ, SIG_IGN);
        rlimit klein = vorher;
        klein.rlim_cur = 100;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &klein), 0);
        QString fehler;
        const bool ok = ProgrammDateiSchreiben(pfad("l.QGR"), GaerListeZeilen(liste), fehler);
        setrlimit(RLIMIT_FSIZE, &vorher);
        std::signal(SIGXFSZ, signalVorher);

        QVERIFY(!ok);
        QVERIFY2(fehler.startsWith(QStringLiteral("Datei \"")), qPrintable(fehler));
        QCOMPARE(Inhalt(pfad("l.QGR")), alt);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"l.QGR"}); // no leftover

        // Without the limit the same save replaces the file.
        QVERIFY(ProgrammDateiSchreiben(pfad("l.QGR"), GaerListeZeilen(liste), fehler));
        QCOMPARE(Inhalt(pfad("l.QGR")), ProgrammDateiText(GaerListeZeilen(liste)));
    }

    // Where the save's new file goes: beside the old one and renamed over it when the folder
    // takes new files; in place when the folder is closed to the user (another user's
    // "Programme", say) but the file is not; not at all when neither is possible.
    void speichernJeNachOrdnerrechten_data()
    {
        QTest::addColumn<bool>("ordnerGesperrt");
        QTest::addColumn<bool>("dateiDa");
        QTest::addColumn<bool>("gespeichert");
        QTest::addColumn<bool>("neueDatei"); // the name then holds another file than before
        QTest::newRow("open folder replaces the file") << false << true << true << true;
        QTest::newRow("closed folder, writable file overwritten") << true << true << true << false;
        QTest::newRow("closed folder, new file") << true << false << false << false;
    }
    void speichernJeNachOrdnerrechten()
    {
        QFETCH(bool, ordnerGesperrt);
        QFETCH(bool, dateiDa);
        QFETCH(bool, gespeichert);
        QFETCH(bool, neueDatei);
        const QString ordner = pfad("Programme");
        const QString ziel = ordner + QStringLiteral("/Programm01.QGP");
        const QByteArray alt = "01\r\nalt\r\n";
        QVERIFY(QDir().mkpath(ordner));
        if (dateiDa) {
            Anlegen(ziel, alt);
            QCOMPARE(::chmod(QFile::encodeName(ziel).constData(), 0644), 0);
        }
        struct stat vorher{};
        if (dateiDa)
            QCOMPARE(::stat(QFile::encodeName(ziel).constData(), &vorher), 0);
        // A reader that has the old file open keeps reading the old content when it is replaced.
        QFile leser(ziel);
        if (dateiDa)
            QVERIFY(leser.open(QIODevice::ReadOnly));

        const QStringList zeilen = EinzelDateiZeilen(QStringLiteral("01"), GaerProgZuHex(StandardProgramm(1)));
        QString fehler;
        bool ok = false;
        if (ordnerGesperrt) {
            const GesperrterOrdner gesperrt(ordner);
            if (!gesperrt.Grund().isEmpty())
                QSKIP(qPrintable(gesperrt.Grund()));
            ok = ProgrammDateiSchreiben(ziel, zeilen, fehler);
        } else {
            ok = ProgrammDateiSchreiben(ziel, zeilen, fehler);
        }

        QCOMPARE(ok, gespeichert);
        QCOMPARE(QDir(ordner).entryList(QDir::Files), dateiDa || gespeichert ? QStringList{"Programm01.QGP"} : QStringList());
        if (!gespeichert) {
            QVERIFY2(fehler.startsWith(ErstellenFehler(ziel, QString())), qPrintable(fehler));
            QVERIFY2(fehler.size() > ErstellenFehler(ziel, QString()).size(), qPrintable(fehler)); // with the reason
            return;
        }
        QCOMPARE(Inhalt(ziel), ProgrammDateiText(zeilen));
        struct stat nachher{};
        QCOMPARE(::stat(QFile::encodeName(ziel).constData(), &nachher), 0);
        QCOMPARE(nachher.st_ino != vorher.st_ino, neueDatei);
        QCOMPARE(nachher.st_mode & 0777, mode_t(0644));
        QCOMPARE(leser.readAll(), neueDatei ? alt : ProgrammDateiText(zeilen));
    }

    // An overwrite in place for which the full disk has no room is reported like any failed
    // save, and the file stays byte for byte as it was.
    void speichernImOrtAufVollemDatentraeger_data()
    {
        QTest::addColumn<QByteArray>("alt");
        QTest::addColumn<int>("programme"); // copies of one program in the list written
        // more than the one block the old file frees
        QTest::newRow("small file, long list") << QByteArray("Init\r\nalt\r\n") << 200;
        // a file of one whole block that needs one more
        QByteArray block = "Init\r\n";
        const QByteArray zeile = QByteArray(58, 'a') + "\r\n";
        while (block.size() + zeile.size() <= 4096)
            block += zeile;
        block += QByteArray(4096 - block.size() - 2, 'b') + "\r\n";
        QTest::newRow("one block, one more") << block << 0;
    }
    void speichernImOrtAufVollemDatentraeger()
    {
        QFETCH(QByteArray, alt);
        QFETCH(int, programme);
        KleinerDatentraeger platte(256 * 1024);
        if (!platte.Bereit())
            QSKIP(qPrintable(platte.Grund()));
        const QString ordner = platte.Datei(QStringLiteral("Programme"));
        const QString ziel = ordner + QStringLiteral("/GaerPrgRecord.QGR");
        QVERIFY(QDir().mkpath(ordner));
        Anlegen(ziel, alt);
        QVERIFY(platte.Fuellen());
        QStringList zeilen;
        if (programme > 0) {
            zeilen = ListenDateiZeilen(QStringList(programme, GaerProgZuHex(StandardProgramm(1))));
            QVERIFY(ProgrammDateiText(zeilen).size() > 8192);
        } else {
            // just past the old file's block
            for (int n = 1; ProgrammDateiText(zeilen).size() <= alt.size(); ++n)
                zeilen = ListenDateiZeilen(QStringList(n, GaerProgZuHex(StandardProgramm(1))));
            QVERIFY(ProgrammDateiText(zeilen).size() <= 8192);
        }

        const GesperrterOrdner gesperrt(ordner);
        if (!gesperrt.Grund().isEmpty())
            QSKIP(qPrintable(gesperrt.Grund()));
        QString fehler;
        QVERIFY(!ProgrammDateiSchreiben(ziel, zeilen, fehler));
        // the file was opened in place: the disk, not the folder, stopped the save
        QCOMPARE(fehler, ErstellenFehler(ziel, QString::fromLocal8Bit(std::strerror(ENOSPC))));
        QCOMPARE(QDir(ordner).entryList(QDir::Files), QStringList{"GaerPrgRecord.QGR"});
        QCOMPARE(Inhalt(ziel), alt);
    }

    // Files that are no program files: a clear failure or a decoded program, never a hang; no
    // line kept longer than the bound.
    void schlechteEingabe_data()
    {
        QTest::addColumn<QByteArray>("daten");
        QTest::addColumn<bool>("lesbar");       // the list read succeeds
        QRandomGenerator zufall(4711);
        QByteArray rausch(1 << 20, Qt::Uninitialized);
        zufall.fillRange(reinterpret_cast<quint32 *>(rausch.data()), rausch.size() / 4);
        QTest::newRow("Zufallsbytes") << rausch << true;
        QTest::newRow("Nullbytes") << QByteArray(1 << 20, '\0') << false;
        QByteArray lang(50 * 1024 * 1024, 'A');
        QTest::newRow("50 MB eine Zeile") << lang << false;
        QByteArray langeZeilen = "Init\r\n";
        for (int i = 0; i < 10; ++i)
            langeZeilen += QByteArray(5 * 1024 * 1024, char('0' + i)) + "\r\n";
        QTest::newRow("zehn Zeilen zu 5 MB") << langeZeilen << true;
    }
    void schlechteEingabe()
    {
        QFETCH(QByteArray, daten);
        QFETCH(bool, lesbar);
        Anlegen(pfad("x.QGR"), daten);
        daten.clear();
        QStringList zeilen;
        QString fehler;
        QElapsedTimer uhr;
        uhr.start();
        QVERIFY(ProgrammDateiZeilenLesen(pfad("x.QGR"), ListenZeilenAnzahl, zeilen, fehler));
        QVERIFY(zeilen.size() <= ListenZeilenAnzahl);
        for (const QString &z : zeilen)
            QVERIFY(z.size() <= ZeilenHoechstlaenge);
        std::array<TQorGaerProg, 10> liste;
        std::array<TQorNivorell, 10> nivo;
        QCOMPARE(GaerListeLesen(pfad("x.QGR"), liste, fehler), lesbar);
        if (!lesbar)
            QVERIFY(fehler.startsWith(QStringLiteral("Listenindex überschreitet das Maximum (")));
        QCOMPARE(NivorellListeLesen(pfad("x.QGR"), nivo, fehler), lesbar);
        QVERIFY(uhr.elapsed() < 30000);
    }

    // A line longer than the bound decodes as the whole line would.
    void langeZeileDekodiert()
    {
        const QString z56 = QStringLiteral("0001003C0145015E0168019A030700B4022603200007FFFF02EE003C");
        QByteArray text = "01\r\n" + z56.toLatin1() + QByteArray(50 * 1024 * 1024, 'F') + "\r\n";
        Anlegen(pfad("lang.QGP"), text);
        text.clear();
        TQorGaerProg prog;
        QString fehler;
        QVERIFY(GaerEinzelLesen(pfad("lang.QGP"), prog, fehler));
        QCOMPARE(prog, HexZuGaerProg(z56 + QStringLiteral("FF")));
        QCOMPARE(prog.Nr, QStringLiteral("1"));

        TQorNivorell nivo;
        const QString n100 = NivorellZuHex(NivorellProgramm(3, 2));
        Anlegen(pfad("lang.NVP"), "03\r\n" + n100.toLatin1() + QByteArray(1 << 20, '7'));
        QVERIFY(NivorellEinzelLesen(pfad("lang.NVP"), nivo, fehler));
        QCOMPARE(nivo, NivorellProgramm(3, 2));
    }

    void ordnerStattDatei()
    {
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("ordner.QGR")));
        std::array<TQorGaerProg, 10> liste;
        QString fehler;
        QVERIFY(!GaerListeLesen(pfad("ordner.QGR"), liste, fehler));
        QVERIFY2(fehler.startsWith(QStringLiteral("Datei %1 kann nicht geöffnet werden. ")
                                       .arg(QDir::toNativeSeparators(pfad("ordner.QGR")))),
                 qPrintable(fehler));
        // Saving onto a folder fails and leaves it.
        QVERIFY(!ProgrammDateiSchreiben(pfad("ordner.QGR"), GaerListeZeilen(liste), fehler));
        QVERIFY(fehler.startsWith(QStringLiteral("Datei \"")));
        QVERIFY(QFileInfo(pfad("ordner.QGR")).isDir());
    }

    // A pipe or a device in place of a file: the open failure at once, no wait for a writer
    // and no endless read.
    void keineGewoehnlicheDatei_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("Pipe") << "pipe.QGR";
        QTest::newRow("Gerät") << "/dev/zero";
    }
    void keineGewoehnlicheDatei()
    {
        QFETCH(QString, name);
        const QString ziel = name.startsWith(QLatin1Char('/')) ? name : pfad(name);
        if (!name.startsWith(QLatin1Char('/')))
            QCOMPARE(::mkfifo(QFile::encodeName(ziel).constData(), 0600), 0);
        std::array<TQorGaerProg, 10> liste;
        liste[0] = StandardProgramm(4);
        QString fehler;
        QElapsedTimer uhr;
        uhr.start();
        QVERIFY(!GaerListeLesen(ziel, liste, fehler));
        QVERIFY(uhr.elapsed() < 5000);
        QVERIFY2(fehler.startsWith(QStringLiteral("Datei %1 kann nicht geöffnet werden. ").arg(ziel)), qPrintable(fehler));
        QCOMPARE(liste[0], StandardProgramm(4));
    }
};

QTEST_GUILESS_MAIN(TestProgrammDatei)
#include "tst_programmdatei.moc"
