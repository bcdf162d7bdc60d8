// The service window's file buttons: the dialogs they prepare, what loading shows and hands
// to the proofing editor, what a short or missing file leaves behind, and the bytes saved.

#include "anzeigetexte.h"
#include "servicefenster_umgebung.h"
#include "testtexte.h"

#include "editors/uProgrammDatei.h"
#include "editors/uQuorvelGaerProg.h"
#include "support/uShowbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

QString WocheHex()
{
    QString t;
    for (int d = 0; d < 7; ++d)
        t += Hex4(d + 1) + Hex4(2) + Hex4(d) + Hex4(360 + 15 * d);
    return t;
}

QByteArray Zeilen(const QStringList &z)
{
    QByteArray b;
    for (const QString &s : z)
        b += s.toLatin1() + "\r\n";
    return b;
}

} // namespace

class TestServiceDateien : public QObject
{
    Q_OBJECT

    std::unique_ptr<ServiceUmgebung> u;
    std::unique_ptr<TwQuorvelGaerProg> editor;
    QList<TDateiDialog> dialoge;
    QString antwort;           // path the dialog stand-in returns
    QStringList boxen;         // file failure boxes

    TwQuorvel *f() const { return u->fenster.get(); }
    QString pfad(const QString &name) const { return u->dir.path() + QLatin1Char('/') + name; }

    // The text lines of the visible red box shown last (closed afterwards).
    QStringList fehlerBoxZeilen()
    {
        QStringList zeilen;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (auto *b = qobject_cast<TwShowbox *>(t); b && b->isVisible() && b->windowTitle() == QLatin1String("FEHLER")) {
                zeilen.clear();
                for (const QLabel *l : {b->Label1, b->Label2, b->Label3, b->Label4})
                    if (!l->text().isEmpty())
                        zeilen << l->text();
                b->hide();
            }
        return zeilen;
    }

    void schreiben(const QString &name, const QByteArray &inhalt)
    {
        QFile d(pfad(name));
        QVERIFY(d.open(QIODevice::WriteOnly));
        d.write(inhalt);
    }
    QByteArray lesen(const QString &name) const
    {
        QFile d(pfad(name));
        return d.open(QIODevice::ReadOnly) ? d.readAll() : QByteArray("<fehlt>");
    }
    void klick(QPushButton *b, const QString &name)
    {
        antwort = name.isEmpty() ? QString() : pfad(name);
        b->click();
    }
    QStringList gaerFelder() const
    {
        QStringList l;
        for (TQorSpinEdit *s : {f()->P_SchTemp, f()->P_GvFeu, f()->P_AbZeit, f()->P_BVorl})
            l << s->Text();
        return l;
    }

private slots:
    void init()
    {
        u = std::make_unique<ServiceUmgebung>();
        editor = std::make_unique<TwQuorvelGaerProg>();
        dialoge.clear();
        boxen.clear();
        f()->Dateidialog = [this](const TDateiDialog &d) {
            dialoge << d;
            return antwort;
        };
        DateiFehlerBox = [this](QWidget *, const QString &, const QString &t) { boxen << t; };
    }
    void cleanup()
    {
        DateiFehlerBox = nullptr;
        ShowboxenFreigeben();
        editor.reset();
        u.reset();
    }

    void dialog_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<bool>("liste");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("endung");
        QTest::addColumn<QString>("name");   // proposed when saving
        const QString qgp = QStringLiteral("Quorvel Gärprogramme (*.QGP)|*.QGP|Alle Dateien (*.*)|*.*");
        const QString qgr = QStringLiteral("Quorvel Gär-Record (*.QGR)|*.QGR|Alle Dateien (*.*)|*.*");
        const QString nvp = QStringLiteral("Quorvel Nivorell Programme (*.NVP)|*.NVP|Alle Dateien (*.*)|*.*");
        const QString nvr = QStringLiteral("Quorvel Nivorell Programm-Records (*.NVR)|*.NVR|Alle Dateien (*.*)|*.*");
        const QString qwp = QStringLiteral("Quorvel Wochen-Programme (*.QWP)|*.QWP|Alle Dateien (*.*)|*.*");
        QTest::newRow("Gär laden") << "LadenGPrg" << false << qgp << "*.QGP" << QString();
        QTest::newRow("Gär speichern") << "SpeichernGPrg" << false << qgp << "*.QGP" << "Programm04";
        QTest::newRow("Gär-Liste laden") << "LadenGPrg" << true << qgr << "*.QGR" << QString();
        QTest::newRow("Gär-Liste speichern") << "SpeichernGPrg" << true << qgr << "*.QGR" << "GaerPrgRecord";
        QTest::newRow("Nivorell laden") << "LadenNivoR" << false << nvp << "*.NVP" << QString();
        QTest::newRow("Nivorell speichern") << "SpeichernNivoR" << false << nvp << "*.NVP" << "Programm07";
        QTest::newRow("Nivorell-Liste laden") << "LadenNivoR" << true << nvr << "*.NVR" << QString();
        QTest::newRow("Nivorell-Liste speichern") << "SpeichernNivoR" << true << nvr << "*.NVR" << "NivorellPrgRecord";
        QTest::newRow("Woche laden") << "LadenWoPrg" << false << qwp << "*.QWP" << QString();
        QTest::newRow("Woche speichern") << "Speichern_WoPrg" << false << qwp << "*.QWP" << "WochenProgramme";
    }
    // Filter, default extension and proposed name of each kind; the dialogs start in
    // "Programme" of the program folder, or in the program folder while that is missing.
    // A cancelled dialog changes nothing.
    void dialog()
    {
        QFETCH(QString, knopf);
        QFETCH(bool, liste);
        QFETCH(QString, filter);
        QFETCH(QString, endung);
        QFETCH(QString, name);
        f()->TakeRecord->setChecked(liste);
        f()->TakeRecordNV->setChecked(liste);
        f()->P_Nr->setText(QStringLiteral("4"));
        f()->NivoRPrgNr->setText(QStringLiteral("7"));
        auto *b = f()->findChild<QPushButton *>(knopf);
        const QStringList vorher = gaerFelder();

        klick(b, QString());
        QVERIFY(QDir(u->dir.path()).mkdir(QStringLiteral("Programme")));
        klick(b, QString());
        QCOMPARE(dialoge.size(), 2);
        const bool speichern = knopf.startsWith(QLatin1String("Speichern"));
        for (const TDateiDialog &d : dialoge) {
            QCOMPARE(d.Name, speichern ? QStringLiteral("SaveDialog1") : QStringLiteral("OpenDialog1"));
            QCOMPARE(d.Speichern, speichern);
            QCOMPARE(d.Filter, filter);
            QCOMPARE(d.Endung, endung);
            if (speichern)
                QCOMPARE(d.Dateiname, name);
        }
        QCOMPARE(dialoge.at(0).Ordner, P().Programmverzeichnis);
        QCOMPARE(dialoge.at(1).Ordner, P().Programmverzeichnis + QStringLiteral("Programme/"));

        QCOMPARE(gaerFelder(), vorher);
        QCOMPARE(QDir(u->dir.path()).entryList(QDir::Files), QStringList());
        QVERIFY(boxen.isEmpty());
    }

    // The proposed name of a single program follows the value of its number field, which is 1
    // for a text that is no number.
    void vorschlagOhneZahl()
    {
        f()->P_Nr->setText(QString());
        klick(f()->SpeichernGPrg, QStringLiteral("a.QGP"));
        QCOMPARE(dialoge.value(0).Dateiname, QStringLiteral("Programm01"));
        QCOMPARE(lesen(QStringLiteral("a.QGP")).left(4), QByteArray("01\r\n"));
    }

    // The load dialog offers the file name chosen last.
    void ladeNameBleibt()
    {
        schreiben(QStringLiteral("woche.QWP"), Zeilen({WocheHex()}));
        klick(f()->LadenWoPrg, QStringLiteral("woche.QWP"));
        f()->TakeRecord->setChecked(true);
        klick(f()->LadenGPrg, QString());
        QCOMPARE(dialoge.value(0).Dateiname, QString());
        QCOMPARE(dialoge.value(1).Dateiname, QStringLiteral("woche.QWP"));
    }

    // The number inside line 2 wins over line 1, and the program lands in the proofing editor
    // under that number too.
    void gaerEinzelLaden()
    {
        schreiben(QStringLiteral("p.QGP"), Zeilen({QStringLiteral("05"), GaerHex(7)}));
        klick(f()->LadenGPrg, QStringLiteral("p.QGP"));
        const TQorGaerProg soll = HexZuGaerProg(GaerHex(7));
        QCOMPARE(f()->P_Nr->Text(), QStringLiteral("7"));
        QCOMPARE(f()->GaerProg, soll);
        QCOMPARE(f()->GaerProgAusFeldern().GV, soll.GV);
        QCOMPARE(editor->Liste()[6], soll);
        QCOMPARE(editor->Liste()[4], TwQuorvelGaerProg::StandardProgramm(5));
        QVERIFY(boxen.isEmpty());
    }

    void nivorellEinzelLaden()
    {
        schreiben(QStringLiteral("p.NVP"), Zeilen({QStringLiteral("02"), NvHex(9)}));
        klick(f()->LadenNivoR, QStringLiteral("p.NVP"));
        const TQorNivorell soll = HexZuNivorell(NvHex(9));
        QCOMPARE(f()->NivoRPrgNr->Text(), QStringLiteral("9"));
        QCOMPARE(f()->NvProg, soll);
        QCOMPARE(Zelle(f()->NivorellGrid, 8, 1), soll.Schritte[7].Temp);
        QCOMPARE(f()->NvAusGitter().Schritte[7].Feu, soll.Schritte[7].Feu);
    }

    void einzelZuKurz_data()
    {
        QTest::addColumn<bool>("nivorell");
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("nummer");   // the number field afterwards
        QTest::addColumn<bool>("geleert");
        QTest::addColumn<int>("index");
        QTest::newRow("Gär, nur Nummer") << false << QByteArray("05\r\n") << "5" << true << 1;
        QTest::newRow("Gär, Nummer zu groß") << false << QByteArray("15") << "10" << true << 1;
        QTest::newRow("Gär, keine Zahl") << false << QByteArray("xx\r\n") << "1" << true << 1;
        QTest::newRow("Gär, leer") << false << QByteArray() << "3" << false << 0;
        QTest::newRow("Nivorell, nur Nummer") << true << QByteArray("0\r\n") << "1" << true << 1;
        QTest::newRow("Nivorell, leer") << true << QByteArray() << "3" << false << 0;
    }
    // A single-program file without its program line: the number is taken, the editors are
    // emptied, and the standard box names the missing line.
    void einzelZuKurz()
    {
        QFETCH(bool, nivorell);
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, nummer);
        QFETCH(bool, geleert);
        QFETCH(int, index);
        TQorSpinEdit *nr = nivorell ? f()->NivoRPrgNr : f()->P_Nr;
        nr->setText(QStringLiteral("3"));
        f()->NivorellGrid->item(1, 1)->setText(QStringLiteral("20"));
        schreiben(QStringLiteral("kurz"), inhalt);
        klick(nivorell ? f()->LadenNivoR : f()->LadenGPrg, QStringLiteral("kurz"));
        QCOMPARE(nr->Text(), nummer);
        const QString feld = nivorell ? Zelle(f()->NivorellGrid, 1, 1) : f()->P_GvFeu->Text();
        QCOMPARE(feld.isEmpty(), geleert);
        QCOMPARE(boxen, QStringList{ListenindexFehler(index)});
    }

    // A list file is shown from entry 1 whatever was shown before; line 1 is not read and
    // lines after the eleventh are ignored. Entry 1 reaches the proofing editor.
    void gaerListeLaden()
    {
        f()->TakeRecord->setChecked(true);
        f()->RecNr->setText(QStringLiteral("5"));
        f()->P_Nr->setText(QStringLiteral("5"));
        QStringList z{QStringLiteral("egal")};
        for (int nr = 1; nr <= 10; ++nr)
            z << GaerHex(nr);
        z << QStringLiteral("zuviel");
        schreiben(QStringLiteral("l.QGR"), Zeilen(z));
        klick(f()->LadenGPrg, QStringLiteral("l.QGR"));
        for (int i = 0; i < 10; ++i)
            QCOMPARE(f()->GaerListe[size_t(i)], HexZuGaerProg(GaerHex(i + 1)));
        QCOMPARE(f()->RecNr->Text(), QStringLiteral("1"));
        QCOMPARE(f()->P_Nr->Text(), QStringLiteral("1"));
        QCOMPARE(f()->GaerProg, f()->GaerListe[0]);
        QCOMPARE(f()->GaerProgAusFeldern().AB, f()->GaerListe[0].AB);
        QCOMPARE(editor->Liste()[0], f()->GaerListe[0]);
        QCOMPARE(editor->Liste()[1], TwQuorvelGaerProg::StandardProgramm(2));
        QVERIFY(boxen.isEmpty());
    }

    void nivorellListeLaden()
    {
        f()->TakeRecordNV->setChecked(true);
        f()->RecNr_NV->setText(QStringLiteral("3"));
        QStringList z{QStringLiteral("Init")};
        for (int nr = 1; nr <= 10; ++nr)
            z << NvHex(nr);
        schreiben(QStringLiteral("l.NVR"), Zeilen(z));
        klick(f()->LadenNivoR, QStringLiteral("l.NVR"));
        QCOMPARE(f()->NvListe[9], HexZuNivorell(NvHex(10)));
        QCOMPARE(f()->RecNr_NV->Text(), QStringLiteral("1"));
        QCOMPARE(f()->NivoRPrgNr->Text(), QStringLiteral("1"));
        QCOMPARE(f()->NvAusGitter(), HexZuNivorell(NvHex(1)));
        QCOMPARE(f()->NvProg, HexZuNivorell(NvHex(1)));
    }

    void listeZuKurz_data()
    {
        QTest::addColumn<bool>("nivorell");
        QTest::newRow("Gär") << false;
        QTest::newRow("Nivorell") << true;
    }
    // A list file of six lines: entries 1 to 5 are replaced, the others keep what they held,
    // and the box names line 6 (counting from 0).
    void listeZuKurz()
    {
        QFETCH(bool, nivorell);
        f()->TakeRecord->setChecked(true);
        f()->TakeRecordNV->setChecked(true);
        for (int i = 0; i < 10; ++i) {
            f()->GaerListe[size_t(i)] = HexZuGaerProg(GaerHex(i + 1));
            f()->NvListe[size_t(i)] = HexZuNivorell(NvHex(i + 1));
        }
        QStringList z{QStringLiteral("Init")};
        for (int nr = 1; nr <= 5; ++nr)
            z << (nivorell ? NvHex(nr + 20) : GaerHex(nr + 20));
        schreiben(QStringLiteral("kurz"), Zeilen(z));
        klick(nivorell ? f()->LadenNivoR : f()->LadenGPrg, QStringLiteral("kurz"));
        QCOMPARE(boxen, QStringList{ListenindexFehler(6)});
        if (nivorell) {
            QCOMPARE(f()->NvListe[4], HexZuNivorell(NvHex(25)));
            QCOMPARE(f()->NvListe[5], HexZuNivorell(NvHex(6)));
        } else {
            QCOMPARE(f()->GaerListe[4], HexZuGaerProg(GaerHex(25)));
            QCOMPARE(f()->GaerListe[5], HexZuGaerProg(GaerHex(6)));
        }
    }

    void fehlendeDatei_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<bool>("liste");
        QTest::newRow("Gär") << "LadenGPrg" << false;
        QTest::newRow("Gär-Liste") << "LadenGPrg" << true;
        QTest::newRow("Nivorell") << "LadenNivoR" << false;
        QTest::newRow("Nivorell-Liste") << "LadenNivoR" << true;
        QTest::newRow("Woche") << "LadenWoPrg" << false;
    }
    // A file that cannot be opened ends the load with the box; nothing is emptied.
    void fehlendeDatei()
    {
        QFETCH(QString, knopf);
        QFETCH(bool, liste);
        f()->TakeRecord->setChecked(liste);
        f()->TakeRecordNV->setChecked(liste);
        f()->GaerListe[0].Nr = QStringLiteral("4");
        f()->NachtStarts->item(1, 1)->setText(QStringLiteral("9"));
        f()->NivorellGrid->item(1, 1)->setText(QStringLiteral("20"));
        const QStringList vorher = gaerFelder();
        klick(f()->findChild<QPushButton *>(knopf), QStringLiteral("fehlt.x"));
        QCOMPARE(boxen.size(), 1);
        QVERIFY2(boxen.at(0).startsWith(QStringLiteral("Datei ") + QDir::toNativeSeparators(pfad(QStringLiteral("fehlt.x")))
                                            + QStringLiteral(" kann nicht geöffnet werden. ")),
                 qPrintable(boxen.at(0)));
        QCOMPARE(gaerFelder(), vorher);
        QCOMPARE(f()->GaerListe[0].Nr, QStringLiteral("4"));
        QCOMPARE(Zelle(f()->NachtStarts, 1, 1), QStringLiteral("9"));
        QCOMPARE(Zelle(f()->NivorellGrid, 1, 1), QStringLiteral("20"));
    }

    // Line 1 of a weekly file goes to the grid; further lines are not read. An empty file
    // empties the grid and ends with the box.
    void wocheLaden()
    {
        schreiben(QStringLiteral("w.QWP"), Zeilen({WocheHex(), QStringLiteral("mehr")}));
        klick(f()->LadenWoPrg, QStringLiteral("w.QWP"));
        QCOMPARE(f()->WochPrg, HexZuWochPrg(WocheHex()));
        QCOMPARE(f()->WoPrgAusGitter(), HexZuWochPrg(WocheHex()));
        QCOMPARE(Zelle(f()->NachtStarts, 7, 4), QStringLiteral("07:30"));

        schreiben(QStringLiteral("leer.QWP"), QByteArray());
        klick(f()->LadenWoPrg, QStringLiteral("leer.QWP"));
        QCOMPARE(Zelle(f()->NachtStarts, 7, 4), QString());
        QCOMPARE(boxen, QStringList{ListenindexFehler(0)});
    }

    // The bytes of each file kind, ends CR LF; a single program is built from the editors and
    // kept, a list is written from the stored entries.
    void speichern()
    {
        TwQuorvel *w = f();
        u->standardGaerEingeben();
        klick(w->SpeichernGPrg, QStringLiteral("p.QGP"));
        QCOMPARE(lesen(QStringLiteral("p.QGP")), StandardGaer1Datei(true));
        QCOMPARE(w->GaerProg.GA.Feu, QStringLiteral("80"));

        GaerProgLayoutSetzen(false);
        klick(w->SpeichernGPrg, QStringLiteral("p52.QGP"));
        QCOMPARE(lesen(QStringLiteral("p52.QGP")), StandardGaer1Datei(false));
        GaerProgLayoutSetzen(true);

        QStringList gl{QStringLiteral("Init")}, nl{QStringLiteral("Init")};
        for (int i = 0; i < 10; ++i) {
            w->GaerListe[size_t(i)] = HexZuGaerProg(GaerHex(i + 1));
            w->NvListe[size_t(i)] = HexZuNivorell(NvHex(i + 1));
            gl << GaerHex(i + 1);
            nl << NvHex(i + 1);
        }
        w->TakeRecord->setChecked(true);
        w->P_GvFeu->setText(QStringLiteral("1"));
        klick(w->SpeichernGPrg, QStringLiteral("l.QGR"));
        QCOMPARE(lesen(QStringLiteral("l.QGR")), Zeilen(gl));

        w->TakeRecordNV->setChecked(true);
        klick(w->SpeichernNivoR, QStringLiteral("l.NVR"));
        QCOMPARE(lesen(QStringLiteral("l.NVR")), Zeilen(nl));

        w->TakeRecordNV->setChecked(false);
        w->NvAnzeigen(HexZuNivorell(NvHex(4)));
        klick(w->SpeichernNivoR, QStringLiteral("p.NVP"));
        QCOMPARE(lesen(QStringLiteral("p.NVP")), Zeilen({QStringLiteral("04"), NvHex(4)}));
        QCOMPARE(w->NvProg, HexZuNivorell(NvHex(4)));

        w->WoPrgAnzeigen(HexZuWochPrg(WocheHex()));
        klick(w->Speichern_WoPrg, QStringLiteral("w.QWP"));
        QCOMPARE(lesen(QStringLiteral("w.QWP")), Zeilen({WocheHex()}));
        QCOMPARE(w->WochPrg, HexZuWochPrg(WocheHex()));
        QVERIFY(boxen.isEmpty());
    }

    // What is saved loads back unchanged, through the same window.
    void hinUndZurueck()
    {
        for (int i = 0; i < 10; ++i)
            f()->GaerListe[size_t(i)] = HexZuGaerProg(GaerHex(i + 1));
        f()->TakeRecord->setChecked(true);
        klick(f()->SpeichernGPrg, QStringLiteral("l.QGR"));
        const auto liste = f()->GaerListe;
        f()->GaerListe = {};
        klick(f()->LadenGPrg, QStringLiteral("l.QGR"));
        QVERIFY(f()->GaerListe == liste);
    }

    // A single program that cannot be encoded is not saved, as in the editors: an empty line
    // would load back as another program. A list is saved whole with such a program as an
    // empty line. The box names the program.
    void speichernUngueltig()
    {
        f()->P_Nr->setText(QStringLiteral("2"));
        f()->P_GaZeit->setText(QStringLiteral("70000"));
        klick(f()->SpeichernGPrg, QStringLiteral("p.QGP"));
        QVERIFY(!QFile::exists(pfad(QStringLiteral("p.QGP"))));
        QCOMPARE(fehlerBoxZeilen(), QStringList({QStringLiteral("Programm 2 enthält ungültige Werte!"),
                                                 QStringLiteral("nicht gespeichert")}));

        f()->NvListe[3].Schritte[0].Zeit = QStringLiteral("70000");
        f()->TakeRecordNV->setChecked(true);
        klick(f()->SpeichernNivoR, QStringLiteral("l.NVR"));
        const QList<QByteArray> zeilen = lesen(QStringLiteral("l.NVR")).split('\n');
        QCOMPARE(zeilen.size(), 12); // eleven lines ended by CR LF
        QCOMPARE(zeilen.at(4), QByteArray("\r"));
        QCOMPARE(zeilen.at(3).size(), 101);
        QCOMPARE(fehlerBoxZeilen(), QStringList({QStringLiteral("Programm 4 enthält ungültige Werte!"),
                                                 QStringLiteral("leer gespeichert")}));
        QVERIFY(boxen.isEmpty());
    }

    // A proofing list file with an empty line loads and saves again unchanged.
    void listeMitLeeremProgramm()
    {
        schreiben(QStringLiteral("alt.QGR"), GaerListeMitLeeremProgramm(5));
        f()->TakeRecord->setChecked(true);
        klick(f()->LadenGPrg, QStringLiteral("alt.QGR"));
        klick(f()->SpeichernGPrg, QStringLiteral("neu.QGR"));
        QCOMPARE(lesen(QStringLiteral("neu.QGR")), GaerListeMitLeeremProgramm(5));
        QCOMPARE(fehlerBoxZeilen(), QStringList({QStringLiteral("Programm 5 enthält ungültige Werte!"),
                                                 QStringLiteral("leer gespeichert")}));
        QVERIFY(boxen.isEmpty());
    }

    // A weekly program that cannot be encoded is not saved: the file would hold no weekly
    // program.
    void wocheUngueltigNichtGespeichert()
    {
        f()->NachtStarts->item(2, 1)->setText(QStringLiteral("65536"));
        klick(f()->Speichern_WoPrg, QStringLiteral("w.QWP"));
        QVERIFY(!QFile::exists(pfad(QStringLiteral("w.QWP"))));
        bool rot = false;
        for (QWidget *t : QApplication::topLevelWidgets())
            if (auto *b = qobject_cast<TwShowbox *>(t); b && b->isVisible() && b->windowTitle() == QLatin1String("FEHLER"))
                rot = true;
        QVERIFY(rot);
    }

    // A file that cannot be created ends the save with the box.
    void speichernFehler()
    {
        klick(f()->SpeichernGPrg, QStringLiteral("fehlt/p.QGP"));
        QCOMPARE(boxen.size(), 1);
        QVERIFY2(boxen.at(0).startsWith(QStringLiteral("Datei \"") + QDir::toNativeSeparators(pfad(QStringLiteral("fehlt/p.QGP")))
                                            + QStringLiteral("\" kann nicht erstellt werden.")),
                 qPrintable(boxen.at(0)));
    }
};

QTEST_MAIN(TestServiceDateien)
#include "tst_service_dateien.moc"
