// The main window's weekly-program grid, its requests, its file and the clock request.

#include "testtexte.h"
#include "hauptfenster_umgebung.h"

#include "controller/uQuorvelEngine.h"
#include "controller/uQuorvelKonstanten.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"
#include "windows/uMiniQuorvel.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

#include <memory>

namespace {

// A weekly program whose values all lie inside the cell rules: day d has program d + 1,
// mode (d % 8) + 1, end day (d % 7) + 1 and end time d * 97 + 1 minutes.
QString GueltigeWoche()
{
    QString s;
    for (int d = 0; d < 7; ++d)
        s += Hex4(d + 1) + Hex4(d % 8 + 1) + Hex4(d % 7 + 1) + Hex4(d * 97 + 1);
    return s;
}

QByteArray Lesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

bool Schreiben(const QString &pfad, const QByteArray &inhalt)
{
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
}

} // namespace

class TestWochenprogramm : public QObject
{
    Q_OBJECT

    std::unique_ptr<Hauptfensterumgebung> u;
    TwMiniQuorvel *fenster = nullptr;
    QList<TwMiniQuorvel::TDateiDialog> dialoge;
    QString dialogAntwort;

    QTableWidget *grid() const { return fenster->NachtStarts; }
    QString zelle(int z, int s) const { return grid()->item(z, s)->text(); }
    QStringList zeile(int z) const { return {zelle(z, 1), zelle(z, 2), zelle(z, 3), zelle(z, 4)}; }
    // A folder of its own for the files of a test.
    QString daten() const { return u->dir.path() + QStringLiteral("/daten/"); }
    QStringList makros() const { return fenster->Engine()->Service()->MakrosListe(); }
    // The cursor moved off cell (1, 1), so that every cell but the last one is drawn.
    void cursorWeg() { grid()->setCurrentCell(7, 4); }

    // Visible message boxes with their caption and lines.
    static QStringList boxen()
    {
        QStringList b;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<TwShowbox *>(w); box && box->isVisible())
                b << box->windowTitle() + QLatin1Char('|') + box->Label1->text() + QLatin1Char('|')
                         + box->Label2->text();
        return b;
    }

private slots:
    void init()
    {
        u = std::make_unique<Hauptfensterumgebung>();
        QVERIFY(u->dir.isValid());
        QVERIFY(QDir().mkpath(daten()));
        fenster = u->erzeugen();
        fenster->Engine()->TimerHerz->stop();
        fenster->Engine()->StatusTimer->stop();
        QVERIFY(grid());
        dialoge.clear();
        dialogAntwort.clear();
        fenster->Dateidialog = [this](const TwMiniQuorvel::TDateiDialog &d) {
            dialoge << d;
            return dialogAntwort;
        };
    }
    void cleanup()
    {
        u->fenster.reset();
        fenster = nullptr;
        ShowboxenFreigeben();
        u.reset();
    }

    void aufbau()
    {
        QCOMPARE(grid()->objectName(), QStringLiteral("NachtStarts"));
        QCOMPARE(grid()->rowCount(), 8);
        QCOMPARE(grid()->columnCount(), 5);
        QVERIFY(fenster->WochenProgramme->isAncestorOf(grid()));
        const QStringList kopf{"Betr.Art", "PRG", "EndTag", "EndZeit"};
        const QStringList tage{"Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag", "Sonntag"};
        const int breiten[5] = {74, 39, 41, 41, 40};
        for (int s = 0; s < 5; ++s)
            QCOMPARE(grid()->columnWidth(s), breiten[s]);
        for (int s = 1; s <= 4; ++s) {
            QCOMPARE(zelle(0, s), kopf.at(s - 1));
            QVERIFY(!(grid()->item(0, s)->flags() & Qt::ItemIsEditable));
        }
        for (int z = 1; z <= 7; ++z) {
            QCOMPARE(zelle(z, 0), tage.at(z - 1));
            QCOMPARE(grid()->rowHeight(z), 20);
            QVERIFY(!(grid()->item(z, 0)->flags() & Qt::ItemIsEditable));
            QVERIFY(grid()->item(z, 1)->flags() & Qt::ItemIsEditable);
        }
        const QList<QPair<QPushButton *, QString>> knoepfe{{fenster->LesenWoPrg, "Quorvel -->> PC"},
                                                           {fenster->SendenWoPrg, "PC -->> Quorvel"},
                                                           {fenster->LadenWoPrg, "    Laden"},
                                                           {fenster->Speichern_WoPrg, "   Speichern"}};
        for (const auto &[knopf, text] : knoepfe) {
            QVERIFY(knopf);
            QCOMPARE(knopf->text(), text);
            QVERIFY(fenster->WochenProgramme->isAncestorOf(knopf));
            QCOMPARE(fenster->findChild<QPushButton *>(knopf->objectName()), knopf);
        }
        QVERIFY(fenster->findChild<QPushButton *>("LesenWoPrg"));
        QVERIFY(fenster->findChild<QPushButton *>("Speichern_WoPrg"));
        QCOMPARE(fenster->SetTime->text(), QStringLiteral("Stellen"));
        QCOMPARE(fenster->SetTime->objectName(), QStringLiteral("SetTime"));
        QCOMPARE(fenster->SommerZeit->text(), QStringLiteral("SommerZeit"));
        QVERIFY(!fenster->SommerZeit->isChecked());
        QVERIFY(fenster->Uhrzeit->isAncestorOf(fenster->SetTime));
        QVERIFY(fenster->Uhrzeit->isAncestorOf(fenster->SommerZeit));
    }

    // "FFFF" fields arrive as 65535: every drawn cell follows the cell rules, the cell under
    // the cursor keeps its text until the cursor leaves it; writing back sends the limits.
    void ffffFelder()
    {
        const QString ffff = QStringLiteral("FFFF").repeated(28);
        grid()->setCurrentCell(1, 1);
        fenster->WochPrgEmpfangen(ffff);
        QCOMPARE(zeile(1), (QStringList{"65535", "10", "7", "1092:15"}));
        for (int z = 2; z <= 7; ++z)
            QCOMPARE(zeile(z), (QStringList{"8", "10", "7", "1092:15"}));
        grid()->setCurrentCell(3, 2);
        QCOMPARE(zeile(1), (QStringList{"8", "10", "7", "1092:15"}));

        fenster->SendenWoPrgClick();
        QString erwartet;
        for (int d = 0; d < 7; ++d)
            erwartet += QStringLiteral("000A" "0008" "0007" "FFFF");
        QVERIFY(makros().contains(QStringLiteral("0\tQ_WochPrgWr\t") + erwartet));
    }

    // What is typed into a cell is kept while the cursor stays, and normalised once it leaves.
    void zellRegeln_data()
    {
        QTest::addColumn<int>("spalte");
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("danach");
        QTest::newRow("mode above 8") << 1 << "9" << "8";
        QTest::newRow("mode 0") << 1 << "0" << "1";
        QTest::newRow("mode 8") << 1 << "8" << "8";
        QTest::newRow("program above 10") << 2 << "11" << "10";
        QTest::newRow("program negative") << 2 << "-3" << "1";
        QTest::newRow("program 10") << 2 << "10" << "10";
        QTest::newRow("end day 9") << 3 << "9" << "7";
        QTest::newRow("end day 0") << 3 << "0" << "1";
        QTest::newRow("end day blank-padded") << 3 << " 5 " << "5";
        QTest::newRow("end day letter") << 3 << "x" << "";
        QTest::newRow("end day leading zero kept") << 3 << "03" << "03";
        QTest::newRow("end day decimal point") << 3 << "2.5" << "";
        QTest::newRow("time without colon") << 4 << "0830" << "08:30";
        QTest::newRow("time 2400") << 4 << "2400" << "24:00";
        QTest::newRow("time 2500") << 4 << "2500" << "";
        QTest::newRow("time hour only") << 4 << "7" << "07:00";
        QTest::newRow("time with blanks") << 4 << "12 : 15" << "12:15";
        QTest::newRow("time empty") << 4 << "" << "";
    }
    void zellRegeln()
    {
        QFETCH(int, spalte);
        QFETCH(QString, getippt);
        QFETCH(QString, danach);
        grid()->setCurrentCell(4, spalte);
        grid()->item(4, spalte)->setText(getippt);
        QCOMPARE(zelle(4, spalte), getippt);
        grid()->setCurrentCell(5, spalte == 4 ? 1 : spalte + 1);
        QCOMPARE(zelle(4, spalte), danach);
    }

    void zellWertBegrenzen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<QString>("ergebnis");
        QTest::newRow("inside") << "4" << 1 << 7 << "4";
        QTest::newRow("sign kept") << "+4" << 1 << 7 << "+4";
        QTest::newRow("inner blank removed") << "1 0" << 1 << 10 << "10";
        QTest::newRow("below") << "-2" << 1 << 7 << "1";
        QTest::newRow("above") << "65535" << 1 << 7 << "7";
        QTest::newRow("empty") << "" << 1 << 7 << "";
        QTest::newRow("blanks only") << "   " << 1 << 7 << "";
        QTest::newRow("hex digits") << "1A" << 1 << 7 << "";
        QTest::newRow("-9999 counts as no number") << "-9999" << -10000 << 7 << "";
        QTest::newRow("-9998 is a number") << "-9998" << -10000 << 7 << "-9998";
        QTest::newRow("beyond 32 bits") << "99999999999" << 1 << 7 << "";
    }
    void zellWertBegrenzen()
    {
        QFETCH(QString, text);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(QString, ergebnis);
        QCOMPARE(TwMiniQuorvel::ZellWertBegrenzen(text, min, max), ergebnis);
    }

    void betriebsartGrenze_data()
    {
        QTest::addColumn<QString>("ofen");
        QTest::addColumn<int>("max");
        QTest::addColumn<int>("zeilen");
        QTest::addColumn<QString>("letzte");
        QTest::newRow("Teig-Lagerzelle") << "Teig-Lagerzelle" << 2 << 3 << "2: GU-Dauerbetrieb";
        QTest::newRow("Gaerautomat") << "Gärautomat" << 7 << 8 << "7: SCH-GA Auto";
        QTest::newRow("lower case") << "teig-lagerzelle" << 2 << 3 << "2: GU-Dauerbetrieb";
        QTest::newRow("Nivo-Rell") << "Nivo-Rell" << 8 << 9 << "8: Nivorell";
        QTest::newRow("anything else") << "" << 8 << 9 << "8: Nivorell";
    }
    void betriebsartGrenze()
    {
        QFETCH(QString, ofen);
        QFETCH(int, max);
        QFETCH(int, zeilen);
        QFETCH(QString, letzte);
        QCOMPARE(TwMiniQuorvel::BetriebsartMax(ofen), max);
        const TwMiniQuorvel::TBetriebsartHinweis h = TwMiniQuorvel::BetriebsartTexte(ofen);
        const bool mitLf = max != 8; // only the eight-mode texts end without a line feed
        QCOMPARE(h.Lang.endsWith(QLatin1Char('\n')), mitLf);
        QCOMPARE(h.Kurz.endsWith(QLatin1Char('\n')), mitLf);
        QStringList lang = h.Lang.split(QLatin1Char('\n'));
        QStringList kurz = h.Kurz.split(QLatin1Char('\n'));
        if (mitLf) {
            lang.removeLast();
            kurz.removeLast();
        }
        QCOMPARE(lang.size(), zeilen);
        QCOMPARE(lang.first(), QStringLiteral("Betriebsarten:"));
        QCOMPARE(kurz.first(), QStringLiteral("Betriebsart:"));
        QCOMPARE(lang.last(), letzte);
        QCOMPARE(kurz.size(), zeilen);
        QVERIFY(!h.Lang.contains(QLatin1Char('\r')));
        if (zeilen > 3)
            QCOMPARE(kurz.at(3), QStringLiteral("3: GV-Dauerbet"));
    }

    // End times: 0 minutes is an empty cell and comes back as 0; a field that is no number shows
    // as --00:01; a read saved at once gives back exactly the text received.
    void anzeigenUndZurueck()
    {
        const QString woche = GueltigeWoche();
        TQorWochPrg prog = HexZuWochPrg(woche);
        prog[0].EndZeit = QStringLiteral("0");
        prog[1].EndZeit = QStringLiteral("360");
        prog[2].EndZeit = QStringLiteral("abc");
        fenster->WochPrgAnzeigen(prog);
        cursorWeg();
        QCOMPARE(zelle(1, 4), QString());
        QCOMPARE(zelle(2, 4), QStringLiteral("06:00"));
        QCOMPARE(zelle(3, 4), QStringLiteral("--00:01"));
        QCOMPARE(zeile(1).mid(0, 3), (QStringList{"1", "1", "1"})); // BetArt, PRG, EndTag
        const TQorWochPrg zurueck = fenster->WochPrgAusGitter();
        QCOMPARE(zurueck[0].EndZeit, QStringLiteral("0"));
        QCOMPARE(zurueck[1].EndZeit, QStringLiteral("360"));
        QCOMPARE(zurueck[4].PRG, QStringLiteral("5"));
        QCOMPARE(zurueck[4].BetArt, QStringLiteral("5"));

        fenster->WochPrgEmpfangen(woche);
        dialogAntwort = daten() + QStringLiteral("woche.QWP");
        fenster->Speichern_WoPrgClick();
        QCOMPARE(Lesen(dialogAntwort), (woche + QStringLiteral("\r\n")).toLatin1());
    }

    void leerenUndLesen()
    {
        fenster->WochPrgEmpfangen(GueltigeWoche());
        fenster->LesenWoPrgClick();
        for (int z = 1; z <= 7; ++z)
            QCOMPARE(zeile(z), (QStringList{"", "", "", ""}));
        QVERIFY(makros().contains(QStringLiteral("0\tQ_WochPrgRd\t")));
        QVERIFY(!fenster->WochenProgramme->isEnabled());
        QVERIFY(!fenster->Uhrzeit->isEnabled());
        fenster->WochPrgEmpfangen(GueltigeWoche());
        QVERIFY(fenster->WochenProgramme->isEnabled());
        QCOMPARE(zelle(7, 2), QStringLiteral("7"));
    }

    void sendenSperrt()
    {
        fenster->WochPrgEmpfangen(GueltigeWoche());
        const QStringList vorher = zeile(3);
        fenster->SendenWoPrgClick();
        QVERIFY(makros().contains(QStringLiteral("0\tQ_WochPrgWr\t") + GueltigeWoche()));
        QVERIFY(!fenster->WochenProgramme->isEnabled());
        QCOMPARE(zeile(3), vorher);
    }

    // A value beyond four hex digits can only stand in the cell under the cursor; neither a
    // write nor a save goes out with it.
    void ungueltigerWertNichtUebertragen()
    {
        fenster->WochPrgEmpfangen(GueltigeWoche());
        const QString pfad = daten() + QStringLiteral("alt.QWP");
        QVERIFY(Schreiben(pfad, "ALT\r\n"));
        grid()->setCurrentCell(2, 1);
        grid()->item(2, 1)->setText(QStringLiteral("-5"));
        const QStringList vorher = makros();
        fenster->SendenWoPrgClick();
        QCOMPARE(makros(), vorher);
        QVERIFY(fenster->WochenProgramme->isEnabled());
        dialogAntwort = pfad;
        fenster->Speichern_WoPrgClick();
        QCOMPARE(Lesen(pfad), QByteArray("ALT\r\n"));
        QCOMPARE(boxen().size(), 2);
        QVERIFY(boxen().first().startsWith(QStringLiteral("FEHLER|")));
    }

    void uhrStellen_data()
    {
        QTest::addColumn<bool>("sommer");
        QTest::addColumn<QString>("zeile");
        QTest::newRow("summer time") << true << "0\tQ_TimeWr\t1";
        QTest::newRow("winter time") << false << "0\tQ_TimeWr\t0";
    }
    void uhrStellen()
    {
        QFETCH(bool, sommer);
        QFETCH(QString, zeile);
        fenster->SommerZeit->setChecked(sommer);
        fenster->SetTime->click();
        QVERIFY(makros().contains(zeile));
        // The clock request does not lock the controls.
        QVERIFY(fenster->WochenProgramme->isEnabled());
        QVERIFY(fenster->Uhrzeit->isEnabled());
    }

    // Enter while editing a cell commits it and moves on; the cell left is normalised.
    void enterWeiter()
    {
        fenster->show();
        QVERIFY(QTest::qWaitForWindowExposed(fenster));
        grid()->setFocus();
        grid()->setCurrentCell(1, 3);
        QTest::keyClicks(grid(), QStringLiteral("9"));
        QWidget *editor = QApplication::focusWidget();
        QVERIFY(editor && editor != grid());
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(grid()->currentRow(), 1);
        QCOMPARE(grid()->currentColumn(), 4);
        QCOMPARE(zelle(1, 3), QStringLiteral("7"));
        // Without an editor open, Enter moves on too: from the last column to the next row.
        QApplication::processEvents();
        grid()->setFocus();
        QTest::keyClick(grid(), Qt::Key_Enter);
        QCOMPARE(grid()->currentRow(), 2);
        QCOMPARE(grid()->currentColumn(), 1);
        // Tab moves between the cells and passes over the caption column.
        grid()->setCurrentCell(2, 4);
        QTest::keyClick(grid(), Qt::Key_Tab);
        QCOMPARE(grid()->currentRow(), 3);
        QCOMPARE(grid()->currentColumn(), 1);
    }

    void hinweise()
    {
        const TwMiniQuorvel::TBetriebsartHinweis &h = fenster->HinweisBetriebsarten();
        QCOMPARE(h.EndTag, QStringLiteral("EndTag\n1: Montag\n2: Dienstag\n3: Mittwoch\n4: Donnerstag\n"
                                          "5: Freitag\n6: Samstag\n7: Sonntag\n"));
        QVERIFY(h.Lang.endsWith(QStringLiteral("7: SCH-GA Auto\n8: Nivorell")));

        const QRect ueberschrift3 = grid()->visualRect(grid()->model()->index(0, 3));
        const QRect zelle2 = grid()->visualRect(grid()->model()->index(4, 2));
        const QRect zelle3 = grid()->visualRect(grid()->model()->index(6, 3));
        const QRect tag = grid()->visualRect(grid()->model()->index(2, 0));
        const struct
        {
            QPoint p;
            bool endTag;
        } faelle[] = {{ueberschrift3.center(), true},
                      {zelle3.center(), true},
                      {zelle2.center(), false},
                      {tag.center(), false},
                      {QPoint(5000, 5000), false}};
        for (const auto &f : faelle) {
            fenster->NachtStartsMouseMove(f.p.x(), f.p.y());
            QString text = QStringLiteral("vorher");
            QVERIFY(fenster->HinweisZeigen(grid(), text));
            QCOMPARE(text, f.endTag ? h.EndTag : h.Lang);
            QCOMPARE(fenster->NachtStartsHint(), f.endTag ? h.EndTag : h.Lang + QLatin1Char('|') + h.Kurz);
        }
        QString fremd = QStringLiteral("bleibt");
        QVERIFY(!fenster->HinweisZeigen(fenster->SetTime, fremd));
        QCOMPARE(fremd, QStringLiteral("bleibt"));

        // The hint event of the grid shows the text of the cell under the mouse.
        fenster->show();
        QVERIFY(QTest::qWaitForWindowExposed(fenster));
        QHelpEvent hilfe(QEvent::ToolTip, zelle3.center(), grid()->viewport()->mapToGlobal(zelle3.center()));
        QApplication::sendEvent(grid()->viewport(), &hilfe);
        QCOMPARE(QToolTip::text(), h.EndTag);
        QCOMPARE(fenster->MausX, zelle3.center().x());
    }

    // Opening a file: the dialog's settings, the first line only, every line ending.
    void dateiOeffnen_data()
    {
        QTest::addColumn<QByteArray>("nachWoche");
        QTest::newRow("CR LF and more lines") << QByteArray("\r\nFFFF\r\nzweite Zeile\r\n");
        QTest::newRow("line feed only") << QByteArray("\nFFFF\n");
        QTest::newRow("carriage return only") << QByteArray("\rFFFF\r");
        QTest::newRow("no line break") << QByteArray();
    }
    void dateiOeffnen()
    {
        QFETCH(QByteArray, nachWoche);
        const QString pfad = daten() + QStringLiteral("w.QWP");
        QVERIFY(Schreiben(pfad, GueltigeWoche().toLatin1() + nachWoche));
        dialogAntwort = pfad;
        fenster->LadenWoPrgClick();
        QCOMPARE(dialoge.size(), 1);
        const TwMiniQuorvel::TDateiDialog &d = dialoge.first();
        QCOMPARE(d.Name, QStringLiteral("OpenDialog1"));
        QVERIFY(!d.Speichern);
        QCOMPARE(d.Filter, QStringLiteral("Quorvel Wochen-Programme (*.QWP)|*.QWP|Alle Dateien (*.*)|*.*"));
        QCOMPARE(d.Endung, QStringLiteral("*.QWP"));
        QCOMPARE(QDir::cleanPath(d.Ordner), QDir::cleanPath(P().Programmverzeichnis + QStringLiteral("Programme")));
        QVERIFY(!QFileInfo::exists(d.Ordner)); // the folder is not created
        cursorWeg();
        QCOMPARE(WochPrgZuHex(fenster->WochPrgAusGitter()), GueltigeWoche());
        QVERIFY(boxen().isEmpty());
    }

    // A first line that is not 112 characters long gives empty fields; a file that cannot be
    // read or has no line is reported, and only a file without a line empties the grid.
    void dateiOeffnenFehler_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<bool>("geleert");
        QTest::addColumn<QString>("box");
        QTest::newRow("short line") << "kurz" << true << "";
        QTest::newRow("empty first line") << "leerzeile" << true << "";
        QTest::newRow("line of 113") << "lang" << true << "";
        QTest::newRow("no line at all") << "leer" << true << "Listenindex überschreitet das Maximum (0)";
        QTest::newRow("missing file") << "fehlt" << false << "kann nicht geöffnet werden";
        QTest::newRow("a folder") << "ordner" << false << "kann nicht geöffnet werden";
        QTest::newRow("cancelled") << "abbruch" << false << "";
    }
    void dateiOeffnenFehler()
    {
        QFETCH(QString, art);
        QFETCH(bool, geleert);
        QFETCH(QString, box);
        fenster->WochPrgEmpfangen(GueltigeWoche());
        cursorWeg();
        const QString pfad = daten() + QStringLiteral("w.QWP");
        if (art == QLatin1String("kurz"))
            QVERIFY(Schreiben(pfad, GueltigeWoche().left(111).toLatin1() + "\r\n"));
        else if (art == QLatin1String("leerzeile"))
            QVERIFY(Schreiben(pfad, "\r\n" + GueltigeWoche().toLatin1() + "\r\n"));
        else if (art == QLatin1String("lang"))
            QVERIFY(Schreiben(pfad, GueltigeWoche().toLatin1() + "0\r\n"));
        else if (art == QLatin1String("leer"))
            QVERIFY(Schreiben(pfad, QByteArray()));
        else if (art == QLatin1String("ordner"))
            QVERIFY(QDir().mkpath(pfad));
        dialogAntwort = art == QLatin1String("abbruch") ? QString() : pfad;
        fenster->LadenWoPrgClick();

        const bool leereFelder = art == QLatin1String("kurz") || art == QLatin1String("leerzeile")
                                 || art == QLatin1String("lang");
        for (int z = 1; z <= 7; ++z) {
            if (leereFelder)
                QCOMPARE(zeile(z), (QStringList{"", "", "", "--00:01"}));
            else if (geleert)
                QCOMPARE(zeile(z), (QStringList{"", "", "", ""}));
        }
        if (!geleert)
            QCOMPARE(WochPrgZuHex(fenster->WochPrgAusGitter()), GueltigeWoche());
        // The failure shows as the modal error message, not as a self-closing box.
        QVERIFY2(boxen().isEmpty(), qPrintable(boxen().join(QLatin1Char(';'))));
        if (box.isEmpty()) {
            QVERIFY(u->boxen.isEmpty());
        } else {
            QCOMPARE(u->boxen.size(), 1);
            const QString b = u->boxen.first().first + QLatin1Char('|') + u->boxen.first().second;
            QVERIFY2(b.startsWith(QStringLiteral("MiniQuorvel|")), qPrintable(b));
            QVERIFY2(b.contains(box), qPrintable(b));
            QVERIFY(b.contains(QDir::toNativeSeparators(pfad)) || art == QLatin1String("leer"));
        }
    }

    void dateiSpeichern()
    {
        fenster->WochPrgEmpfangen(GueltigeWoche());
        const QString pfad = daten() + QStringLiteral("WochenProgramme.QWP");
        QVERIFY(Schreiben(pfad, "alter Inhalt, der laenger ist als eine Woche\r\nund zwei Zeilen\r\n"));
        dialogAntwort = pfad;
        fenster->Speichern_WoPrgClick();
        QCOMPARE(dialoge.size(), 1);
        const TwMiniQuorvel::TDateiDialog &d = dialoge.first();
        QCOMPARE(d.Name, QStringLiteral("SaveDialog1"));
        QVERIFY(d.Speichern);
        QCOMPARE(d.Dateiname, QStringLiteral("WochenProgramme"));
        QCOMPARE(d.Filter, QStringLiteral("Quorvel Wochen-Programme (*.QWP)|*.QWP|Alle Dateien (*.*)|*.*"));
        QCOMPARE(d.Endung, QStringLiteral("*.QWP"));
        QCOMPARE(QDir::cleanPath(d.Ordner), QDir::cleanPath(P().Programmverzeichnis + QStringLiteral("Programme")));
        QCOMPARE(Lesen(pfad), (GueltigeWoche() + QStringLiteral("\r\n")).toLatin1());
        QCOMPARE(QDir(daten()).entryList(QDir::Files), QStringList{QStringLiteral("WochenProgramme.QWP")});

        // Cancelled: nothing written.
        dialogAntwort.clear();
        fenster->WochPrgGitterLeeren();
        fenster->Speichern_WoPrgClick();
        QCOMPARE(Lesen(pfad), (GueltigeWoche() + QStringLiteral("\r\n")).toLatin1());
        QVERIFY(boxen().isEmpty());
    }

    // A save that cannot be completed is reported and leaves what was there before.
    void dateiSpeichernFehler_data()
    {
        QTest::addColumn<QString>("art");
        QTest::newRow("target is a folder") << "ordner";
        QTest::newRow("folder is a plain file") << "dateiordner";
        QTest::newRow("folder missing") << "keinordner";
    }
    void dateiSpeichernFehler()
    {
        QFETCH(QString, art);
        fenster->WochPrgEmpfangen(GueltigeWoche());
        const QString datei = daten() + QStringLiteral("alt.QWP");
        QVERIFY(Schreiben(datei, "ALT\r\n"));
        QString pfad;
        if (art == QLatin1String("ordner")) {
            pfad = daten() + QStringLiteral("ziel.QWP");
            QVERIFY(QDir().mkpath(pfad + QStringLiteral("/inhalt")));
        } else if (art == QLatin1String("dateiordner")) {
            pfad = datei + QStringLiteral("/neu.QWP");
        } else {
            pfad = daten() + QStringLiteral("gibtsnicht/neu.QWP");
        }
        dialogAntwort = pfad;
        fenster->Speichern_WoPrgClick();
        QVERIFY(boxen().isEmpty());
        QCOMPARE(u->boxen.size(), 1);
        const QString b = u->boxen.first().first + QLatin1Char('|') + u->boxen.first().second;
        QVERIFY2(b.startsWith(QStringLiteral("MiniQuorvel|Datei \"") + QDir::toNativeSeparators(pfad)), qPrintable(b));
        QVERIFY2(b.contains(QStringLiteral("kann nicht erstellt werden")), qPrintable(b));
        QCOMPARE(Lesen(datei), QByteArray("ALT\r\n"));
        if (art == QLatin1String("ordner"))
            QVERIFY(QFileInfo(pfad + QStringLiteral("/inhalt")).isDir());
        // No temporary file is left behind.
        QCOMPARE(QDir(daten()).entryList(QDir::Files), QStringList{QStringLiteral("alt.QWP")});
    }

    // The file helpers without the window.
    void dateiHelfer()
    {
        const QString pfad = daten() + QStringLiteral("x.QWP");
        QString fehler;
        QVERIFY(TwMiniQuorvel::WochPrgDateiSchreiben(pfad, GueltigeWoche(), fehler));
        QStringList zeilen;
        QVERIFY(TwMiniQuorvel::WochPrgDateiLesen(pfad, zeilen, fehler));
        QCOMPARE(zeilen, QStringList{GueltigeWoche()});
        QVERIFY(!TwMiniQuorvel::WochPrgDateiLesen(daten() + QStringLiteral("nein.QWP"), zeilen, fehler));
        QVERIFY(fehler.startsWith(QStringLiteral("Datei ")));
        QVERIFY(zeilen.isEmpty());
    }
};

QTEST_MAIN(TestWochenprogramm)
#include "tst_wochenprogramm.moc"
