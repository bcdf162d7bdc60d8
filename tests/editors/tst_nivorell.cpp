// The Nivorell-program editor on its own: creation, the step grid with its keys, stores, marks
// and duration normalisation, requests and results, lock, progress, "Abbrechen" and time-out,
// copy, paste and move, files, the graph in the window, and the fit of every text.

#include "anzeigetexte.h"
#include "editor_umgebung.h"
#include "fensterpassung.h"

#include "controller/uQuorvelKonstanten.h"
#include "editors/uNivorellGrafik.h"
#include "editors/uProgrammDatei.h"
#include "editors/uQuorvelNivorell.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"
#include "support/uDateiDialog.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

TQorNivorell NvProg(int Nr, int Basis, const QStringList &Zeiten = {})
{
    TQorNivorell p;
    p.Nr = QString::number(Nr);
    for (int k = 0; k < 8; ++k) {
        TQorProgElement &s = p.Schritte[size_t(k)];
        s.Temp = QString::number(Basis + k);
        s.Feu = QString::number(50 + k);
        s.Zeit = k < Zeiten.size() ? Zeiten.at(k) : QString::number(10 * (k + 1));
    }
    return p;
}

} // namespace

Q_DECLARE_METATYPE(TQorNivorell)

class TestNivorell : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> programm;
    std::unique_ptr<TwQuorvelNivorell> f;
    QStringList gesendet;
    QStringList dateiFehler;
    QString dialogPfad;                 // what the stand-in dialog returns
    QList<TDateiDialog> dialoge;
    QTemporaryDir ordner;

    void neu(bool Service = false)
    {
        f.reset();
        programm.reset(); // one Programm at a time
        programm = std::make_unique<Programm>();
        P().ServiceModus = Service;
        P().BackprogrammeQuorvel = ordner.path();
        f = std::make_unique<TwQuorvelNivorell>(
            [this](const QString &Topic, const QString &Text) { gesendet << Topic + QLatin1Char('|') + Text; });
        f->Dateidialog = [this](const TDateiDialog &d) {
            dialoge << d;
            return dialogPfad;
        };
    }
    void zeigen()
    {
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f.get()));
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f.get()));
    }
    // Keys to whatever has the focus, as a user types them.
    void tippen(const QString &Text)
    {
        for (QChar c : Text)
            QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
    }
    QString pfad(const QString &Name) const { return ordner.filePath(Name); }
    // Enter (13) or Tab (9) through the grid's key handler.
    void taste(int Code)
    {
        QChar k(Code);
        f->NivorellGridKeyPress(k);
    }

private slots:
    void initTestCase()
    {
        OberflaecheEinrichten();
        DateiFehlerBox = [this](QWidget *, const QString &, const QString &Text) { dateiFehler << Text; };
    }
    void init()
    {
        gesendet.clear();
        dateiFehler.clear();
        dialoge.clear();
        dialogPfad.clear();
        neu();
    }
    void cleanup()
    {
        f.reset();
        ShowboxenFreigeben();
        programm.reset();
    }
    void cleanupTestCase() { DateiFehlerBox = nullptr; }

    // ---- creation ------------------------------------------------------------------------

    void komponenten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("ort");
        QTest::newRow("NivorellProgramm") << "NivorellProgramm" << QRect(3, 1, 302, 239);
        QTest::newRow("NivorellGrid") << "NivorellGrid" << QRect(5, 32, 284, 193);
        QTest::newRow("ShowGrafik") << "ShowGrafik" << QRect(8, 16, 75, 16);
        QTest::newRow("NamenListe") << "NamenListe" << QRect(317, 6, 196, 234);
        QTest::newRow("LesenNivoR") << "LesenNivoR" << QRect(8, 22, 113, 25);
        QTest::newRow("SpeichernNivoR_S") << "SpeichernNivoR_S" << QRect(400, 22, 113, 25);
        QTest::newRow("PaintBox1") << "PaintBox1" << QRect(0, 355, 531, 280);
        QTest::newRow("Gauge1") << "Gauge1" << QRect(16, 8, 481, 25);
    }
    void komponenten()
    {
        QFETCH(QString, name);
        QFETCH(QRect, ort);
        zeigen();
        QWidget *w = f->findChild<QWidget *>(name);
        QVERIFY(w);
        QCOMPARE(w->geometry(), ort);
    }

    void erzeugung()
    {
        QCOMPARE(f->windowTitle(), QStringLiteral("Nivorell"));
        QCOMPARE(f->objectName(), QStringLiteral("wQuorvelNivorell"));
        QVERIFY(f->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(f->TimeOut->interval(), 15000);
        QVERIFY(!f->TimeOut->isActive());
        QVERIFY(!f->Gesperrt());
        QCOMPARE(f->SpracheBox->count(), 6);
        QCOMPARE(f->SpracheBox->item(5)->text(), QStringLiteral("Std"));
        QCOMPARE((QStringList{Zelle(f->NivorellGrid, 0, 0), Zelle(f->NivorellGrid, 0, 1), Zelle(f->NivorellGrid, 0, 2),
                              Zelle(f->NivorellGrid, 0, 3)}),
                 (QStringList{"Nivorell", "Dauer /hh:nn", "Temp /°C", "Feuchte /%"}));
        QCOMPARE(Zelle(f->NivorellGrid, 8, 0), QStringLiteral("Phase8"));

        // The default list: ten copies numbered 1 to 10, steps 5 to 8 without duration.
        for (int i = 1; i <= 10; ++i) {
            const TQorNivorell &p = f->Liste()[size_t(i - 1)];
            QCOMPARE(p.Nr, QString::number(i));
            QCOMPARE(p.Schritte[3], (TQorProgElement{"4", "80", "360"}));
            QCOMPARE(p.Schritte[7], (TQorProgElement{"4", "80", ""}));
            QCOMPARE(f->Name(i), QStringLiteral("Programm %1").arg(i, 2, 10, QLatin1Char('0')));
        }
        QCOMPARE(f->Zeile(), 1);
        const QStringList dauer{"00:30", "00:30", "03:00", "06:00", "", "", "", ""};
        for (int k = 1; k <= 8; ++k)
            QCOMPARE(Zelle(f->NivorellGrid, k, 1), dauer.at(k - 1));
        QCOMPARE(Zelle(f->NivorellGrid, 1, 2), QStringLiteral("8"));
        QCOMPARE(Zelle(f->NivorellGrid, 1, 3), QStringLiteral("80"));
        QVERIFY(f->SendenListe->isEnabled());
    }

    void grafikKnopf_data()
    {
        QTest::addColumn<bool>("service");
        QTest::newRow("operator") << false;
        QTest::newRow("service word") << true;
    }
    void grafikKnopf()
    {
        QFETCH(bool, service);
        neu(service);
        zeigen();
        QCOMPARE(f->ShowGrafik->isVisible(), service);
        if (!service)
            return;
        // Clicked, it draws anew at once, here for a paint box of another size.
        QTRY_COMPARE(f->Grafik().Groesse, QSize(531, 280));
        f->PaintBox1->resize(400, 200);
        f->ShowGrafik->click();
        QCOMPARE(f->Grafik().Groesse, QSize(400, 200));
        QCOMPARE(f->Grafik().PlotRechts, 320);
    }

    // ---- showing a program -----------------------------------------------------------------

    void dauerAnzeigen_data()
    {
        QTest::addColumn<QString>("zeit");
        QTest::addColumn<QString>("zelle");
        QTest::newRow("0") << "0" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("not a number") << "x1" << "";
        QTest::newRow("90") << "90" << "01:30";
        QTest::newRow("1440") << "1440" << "24:00";
        QTest::newRow("6000") << "6000" << "100:00";
        QTest::newRow("65535") << "65535" << "1092:15";
    }
    void dauerAnzeigen()
    {
        QFETCH(QString, zeit);
        QFETCH(QString, zelle);
        f->ProgrammAnzeigen(NvProg(4, 10, {zeit}));
        QCOMPARE(Zelle(f->NivorellGrid, 1, 1), zelle);
        QCOMPARE(f->Zeile(), 4);
        QCOMPARE(f->Liste()[3].Schritte[0].Zeit, zeit);
    }

    // A program numbered outside 1..10 is only shown; the graph keeps the selected slot.
    void fremdeNummer()
    {
        f->ZeileWaehlen(2);
        const auto vorher = f->Liste();
        f->ProgrammAnzeigen(NvProg(12, 30));
        QCOMPARE(f->Liste(), vorher);
        QCOMPARE(f->Zeile(), 2);
        QCOMPARE(Zelle(f->NivorellGrid, 1, 2), QStringLiteral("30"));
        QCOMPARE(f->Grafik().TempY[1], Berechnen(vorher[1], f->PaintBox1->size()).TempY[1]);
        // A store then puts it into the selected slot with that slot's number.
        f->NivorellGridExit();
        QCOMPARE(f->Liste()[1].Nr, QStringLiteral("2"));
        QCOMPARE(f->Liste()[1].Schritte[0].Temp, QStringLiteral("30"));
    }

    // ---- step grid -------------------------------------------------------------------------

    // Enter in the last cell of step 8 goes to step 1 and stores; one mark only.
    void enterUndMarke()
    {
        f->NivorellGrid->setCurrentCell(8, 3);
        f->NivorellGrid->item(8, 2)->setText(QStringLiteral("33"));
        taste(13);
        QCOMPARE(f->NivorellGrid->currentRow(), 1);
        QCOMPARE(f->NivorellGrid->currentColumn(), 1);
        QCOMPARE(f->Name(1), QStringLiteral("** Programm 01"));
        QCOMPARE(f->Liste()[0].Schritte[7].Temp, QStringLiteral("33"));
        // Steps without duration now hold "0".
        QCOMPARE(f->Liste()[0].Schritte[5].Zeit, QStringLiteral("0"));
        taste(13);
        QCOMPARE(f->NivorellGrid->currentColumn(), 2);
        QCOMPARE(f->Name(1), QStringLiteral("** Programm 01"));
    }

    // Real keys: Tab through unchanged cells marks; a typed value reaches the slot with Enter;
    // 130 + Enter ends as 13:00 and 780 minutes once the cell is drawn.
    void tastatur()
    {
        zeigen();
        f->ZeileWaehlen(3);
        f->NivorellGrid->setFocus();
        f->NivorellGrid->setCurrentCell(1, 2);
        QTest::keyClick(f->NivorellGrid, Qt::Key_Tab);
        QCOMPARE(f->Name(3), QStringLiteral("** Programm 03"));
        QCOMPARE(f->NivorellGrid->currentColumn(), 3);

        f->NivorellGrid->setCurrentCell(2, 1);
        tippen(QStringLiteral("130"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(f->NivorellGrid->currentColumn(), 2);
        QTRY_COMPARE(Zelle(f->NivorellGrid, 2, 1), QStringLiteral("13:00"));
        QTRY_COMPARE(f->Liste()[2].Schritte[1].Zeit, QStringLiteral("780"));

        // A temperature typed and left with a click on another cell waits for the next store.
        tippen(QStringLiteral("41"));
        const QRect r = f->NivorellGrid->visualItemRect(f->NivorellGrid->item(5, 3));
        QTest::mouseClick(f->NivorellGrid->viewport(), Qt::LeftButton, {}, r.center());
        QCOMPARE(Zelle(f->NivorellGrid, 2, 2), QStringLiteral("41"));
        QCOMPARE(f->Liste()[2].Schritte[1].Temp, QStringLiteral("20"));
        // Leaving the grid stores it.
        f->NamenListe->setFocus();
        QCOMPARE(f->Liste()[2].Schritte[1].Temp, QStringLiteral("41"));
    }

    // Tab and a click move the cell cursor over the value cells only, never onto the header
    // row or the step labels.
    void nurWertzellen()
    {
        zeigen();
        f->NivorellGrid->setFocus();
        f->NivorellGrid->setCurrentCell(1, 1);
        QStringList wege;
        for (int i = 0; i < 23; ++i) {
            QTest::keyClick(f->NivorellGrid, Qt::Key_Tab);
            wege << QStringLiteral("%1,%2").arg(f->NivorellGrid->currentRow()).arg(f->NivorellGrid->currentColumn());
        }
        QStringList soll;
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 3; ++c)
                if (r > 1 || c > 1)
                    soll << QStringLiteral("%1,%2").arg(r).arg(c);
        QCOMPARE(wege, soll);
        QTest::keyClick(f->NivorellGrid, Qt::Key_Backtab);
        QCOMPARE(f->NivorellGrid->currentColumn(), 2);
        // Around the ends.
        QTest::keyClick(f->NivorellGrid, Qt::Key_Tab);
        QTest::keyClick(f->NivorellGrid, Qt::Key_Tab);
        QCOMPARE(f->NivorellGrid->currentRow(), 8);
        QCOMPARE(f->NivorellGrid->currentColumn(), 3);
        f->NivorellGrid->setFocus();
        f->NivorellGrid->setCurrentCell(1, 1);
        QTest::keyClick(f->NivorellGrid, Qt::Key_Backtab);
        QVERIFY(f->NivorellGrid->currentRow() >= 1 && f->NivorellGrid->currentColumn() >= 1);
        for (const QPoint zelle : {QPoint(0, 3), QPoint(2, 0), QPoint(0, 0)}) {
            const QRect r = f->NivorellGrid->visualRect(f->NivorellGrid->model()->index(zelle.y(), zelle.x()));
            QTest::mouseClick(f->NivorellGrid->viewport(), Qt::LeftButton, {}, r.center());
            QVERIFY2(f->NivorellGrid->currentRow() >= 1 && f->NivorellGrid->currentColumn() >= 1,
                     qPrintable(QStringLiteral("%1,%2").arg(f->NivorellGrid->currentRow()).arg(f->NivorellGrid->currentColumn())));
        }
    }

    // A window that goes while a cell is being edited stores nothing into a half-gone window.
    void wegMitOffenerZelle()
    {
        zeigen();
        f->NivorellGrid->setFocus();
        f->NivorellGrid->setCurrentCell(2, 2);
        tippen(QStringLiteral("5"));
        QVERIFY(f->NivorellGrid->isAncestorOf(QApplication::focusWidget()));
        f.reset();
        QVERIFY(!QApplication::focusWidget());
    }

    // Durations the normaliser rejects are emptied when drawn and stored as 0 with a mark;
    // 24:00 and 100:00 and longer stay. The current cell is left alone.
    void dauerNormieren_data()
    {
        QTest::addColumn<QString>("zeit");
        QTest::addColumn<QString>("zelle");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<bool>("markiert");
        QTest::newRow("1500") << "1500" << "" << "0" << true;
        QTest::newRow("5999") << "5999" << "" << "0" << true;
        QTest::newRow("1440") << "1440" << "24:00" << "1440" << false;
        QTest::newRow("6000") << "6000" << "100:00" << "6000" << false;
        QTest::newRow("65535") << "65535" << "1092:15" << "65535" << false;
    }
    void dauerNormieren()
    {
        QFETCH(QString, zeit);
        QFETCH(QString, zelle);
        QFETCH(QString, gespeichert);
        QFETCH(bool, markiert);
        zeigen();
        f->NivorellGrid->setCurrentCell(1, 1);
        f->ProgrammAnzeigen(NvProg(5, 10, {"20", zeit}));
        QTRY_COMPARE(Zelle(f->NivorellGrid, 2, 1), zelle);
        QTest::qWait(50);
        QCOMPARE(f->Liste()[4].Schritte[1].Zeit, gespeichert);
        QCOMPARE(f->Name(5).startsWith(QLatin1String("** ")), markiert);

        // The current cell keeps a rejected text until the cursor leaves it.
        f->NivorellGrid->setCurrentCell(3, 1);
        f->NivorellGrid->item(3, 1)->setText(QStringLiteral("7"));
        QTest::qWait(50);
        QCOMPARE(Zelle(f->NivorellGrid, 3, 1), QStringLiteral("7"));
        f->NivorellGrid->setCurrentCell(3, 2);
        QTRY_COMPARE(Zelle(f->NivorellGrid, 3, 1), QStringLiteral("07:00"));
        QTRY_COMPARE(f->Liste()[4].Schritte[2].Zeit, QStringLiteral("420"));
    }

    // ---- requests and results --------------------------------------------------------------

    void anfragen_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("anfrage");
        QTest::addColumn<bool>("panel");
        QTest::addColumn<bool>("gitterLeer");
        QTest::newRow("list read") << "LesenNivoR" << "NVSave\t00\t" << true << true;
        QTest::newRow("single read") << "LesenNivoR_S" << "NVR\t00\t3" << false << true;
        QTest::newRow("list write") << "SendenNivoR" << "" << true << false;
        QTest::newRow("single write") << "SendenNivoR_S" << "" << false << false;
    }
    void anfragen()
    {
        QFETCH(QString, knopf);
        QFETCH(QString, anfrage);
        QFETCH(bool, panel);
        QFETCH(bool, gitterLeer);
        zeigen();
        f->ProgrammAnzeigen(NvProg(3, 10));
        const auto vorher = f->Liste();
        // The list write sends the slots as stored, the single write the grid's program.
        QString liste;
        for (const TQorNivorell &p : vorher)
            liste += NivorellZuHex(p);
        if (knopf == QLatin1String("SendenNivoR"))
            anfrage = QStringLiteral("NVRest\t00\t") + liste;
        if (knopf == QLatin1String("SendenNivoR_S"))
            anfrage = QStringLiteral("NVW\t00\t") + NivorellZuHex(f->GridZuProgramm());

        f->findChild<QPushButton *>(knopf)->click();

        QCOMPARE(gesendet, QStringList{QStringLiteral("BEFEHL|") + anfrage});
        QVERIFY(f->Gesperrt());
        QVERIFY(f->TimeOut->isActive());
        QVERIFY(!f->NivorellProgramm->isEnabled());
        QVERIFY(!f->LesenListe->isEnabled());
        QVERIFY(!f->File1->menuAction()->isEnabled());
        QVERIFY(f->NamenListe->isEnabled());
        QCOMPARE(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor, true);
        QCOMPARE(f->FortschrittPanel->isVisible(), panel);
        if (panel)
            QCOMPARE(f->Gauge1->value(), 1);
        QCOMPARE(Zelle(f->NivorellGrid, 1, 2).isEmpty(), gitterLeer);
        // Requests neither store nor mark.
        QCOMPARE(f->Liste(), vorher);
        QCOMPARE(f->Name(3), QStringLiteral("Programm 03"));

        f->Bereit(true);
        QVERIFY(!f->Gesperrt());
        QVERIFY(!f->TimeOut->isActive());
        QVERIFY(!f->FortschrittPanel->isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    // The focus leaving the step grid without going to another control of the editor is no
    // leave: a request that locks the grid (a failed read must not find its emptied grid
    // stored over the slot) or another window taking the focus neither stores nor marks.
    void fokusOhneVerlassen_data()
    {
        QTest::addColumn<QString>("knopf"); // empty: another window
        QTest::newRow("list read") << "LesenNivoR";
        QTest::newRow("single read") << "LesenNivoR_S";
        QTest::newRow("list write") << "SendenNivoR";
        QTest::newRow("single write") << "SendenNivoR_S";
        QTest::newRow("other window") << "";
    }
    void fokusOhneVerlassen()
    {
        QFETCH(QString, knopf);
        zeigen();
        f->ProgrammAnzeigen(NvProg(3, 10));
        const auto vorher = f->Liste();
        f->NivorellGrid->setFocus();
        f->NivorellGrid->setCurrentCell(2, 2);
        QVERIFY(f->NivorellGrid->hasFocus());
        QWidget anderes;
        if (knopf.isEmpty()) {
            anderes.show();
            anderes.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&anderes));
            anderes.setFocus();
        } else {
            f->findChild<QPushButton *>(knopf)->click();
            QVERIFY(f->Gesperrt());
            // The router's SendNAK.
            f->Bereit(true);
        }
        QVERIFY(!f->NivorellGrid->hasFocus());
        QCOMPARE(f->Liste(), vorher);
        QCOMPARE(f->Name(3), QStringLiteral("Programm 03"));
        // Leaving for another control of the editor still stores and marks.
        zeigen();
        f->NivorellGrid->setFocus();
        f->NivorellGrid->item(2, 2)->setText(QStringLiteral("44"));
        f->NamenListe->setFocus();
        QCOMPARE(f->Liste()[2].Schritte[1].Temp, QStringLiteral("44"));
        QCOMPARE(f->Name(3), QStringLiteral("** Programm 03"));
    }

    void programmEmpfangen()
    {
        f->ZeileWaehlen(2);
        f->LesenEinzeln->click();
        QVERIFY(f->Gesperrt());
        f->ProgrammEmpfangen(NivorellZuHex(NvProg(7, 15)));
        QVERIFY(!f->Gesperrt());
        QCOMPARE(f->Zeile(), 7);
        QCOMPARE(f->Liste()[6], HexZuNivorell(NivorellZuHex(NvProg(7, 15))));
        QCOMPARE(Zelle(f->NivorellGrid, 1, 2), QStringLiteral("15"));
    }

    void listeEmpfangen_data()
    {
        QTest::addColumn<int>("laenge");
        QTest::addColumn<int>("ganze");
        QTest::newRow("whole list") << 1000 << 10;
        QTest::newRow("short list") << 450 << 4;
        QTest::newRow("one character") << 1 << 0;
    }
    void listeEmpfangen()
    {
        QFETCH(int, laenge);
        QFETCH(int, ganze);
        f->ZeileWaehlen(4);
        f->NivorellGridExit(); // a mark, dropped by the decoding
        f->LesenListe->click();
        QString text;
        for (int i = 1; i <= 10; ++i)
            text += NivorellZuHex(NvProg(11 - i, 20 + i));
        f->ListeEmpfangen(text.left(laenge));
        // Nothing happens inside the call.
        QVERIFY(f->Gesperrt());
        QCOMPARE(f->Liste()[0].Nr, QStringLiteral("1"));
        QTRY_VERIFY(!f->Gesperrt());
        for (int i = 1; i <= 9; ++i) {
            const TQorNivorell soll = i <= ganze ? HexZuNivorell(text.mid((i - 1) * 100, 100)) : TQorNivorell{};
            QCOMPARE(f->Liste()[size_t(i - 1)], soll);
        }
        // Showing slot 1 (number 10) copies it into slot 10 as well.
        QCOMPARE(f->Liste()[9], ganze >= 1 ? f->Liste()[0] : TQorNivorell{});
        QCOMPARE(f->Name(4), QStringLiteral("Programm 04"));
        QVERIFY(f->SendenListe->isEnabled());
        // Slot 1 is shown: with a whole list it carries number 10 and moves there.
        if (ganze >= 1)
            QCOMPARE(f->Zeile(), 10);
    }

    // "Abbrechen" sends nothing, hides the panel and waits a fresh period, still locked.
    void abbrechen()
    {
        // A short period stands in for the 15 s.
        f->TimeOut->setInterval(1000);
        f->LesenListe->click();
        QTest::qWait(700);
        f->Cancel->click();
        QCOMPARE(gesendet.size(), 1);
        QVERIFY(f->Gesperrt());
        QVERIFY(f->FortschrittPanel->isHidden());
        QCOMPARE(f->Gauge1->value(), 0);
        QTest::qWait(500);
        QVERIFY(f->Gesperrt()); // a fresh period runs
        QVERIFY(OffeneBoxTexte().isEmpty());
        QVERIFY(QApplication::overrideCursor());
        // Progress then moves nothing; the time-out unlocks with its box.
        f->FortschrittMelden(30);
        QVERIFY(f->FortschrittPanel->isHidden());
        QTRY_VERIFY_WITH_TIMEOUT(!f->Gesperrt(), 3000);
        QCOMPARE(OffeneBoxTexte(), QStringList{QStringLiteral("Fehler|Timeout bei Übertragung!!")});
        // A late list still replaces the slots.
        f->ListeEmpfangen(NivorellZuHex(NvProg(1, 40)).repeated(10));
        QTRY_COMPARE(f->Liste()[9].Schritte[0].Temp, QStringLiteral("40"));
    }

    void fortschritt()
    {
        f->LesenListe->click();
        f->FortschrittMelden(40);
        QCOMPARE(f->Gauge1->value(), 40);
        f->AusblendenClick();
        f->FortschrittMelden(50);
        QCOMPARE(f->Gauge1->value(), 40);
        QVERIFY(f->FortschrittPanel->isHidden());
        QVERIFY(f->TimeOut->isActive());
        QCOMPARE(f->TimeOut->remainingTime() > 14000, true);
        // An unlocked editor's time-out is not started by progress.
        f->Bereit(true);
        f->FortschrittMelden(60);
        QVERIFY(!f->TimeOut->isActive());
    }

    // ---- copy, paste, move -----------------------------------------------------------------

    void verschieben()
    {
        f->ProgrammAnzeigen(NvProg(5, 50));
        f->NivorellGridExit(); // marks row 5
        f->Nachoben2->trigger();
        QCOMPARE(f->Zeile(), 4);
        QCOMPARE(f->Liste()[3].Nr, QStringLiteral("4"));
        QCOMPARE(f->Liste()[3].Schritte[0].Temp, QStringLiteral("50"));
        QCOMPARE(f->Liste()[4].Nr, QStringLiteral("5"));
        QCOMPARE(f->Liste()[4].Schritte[0].Temp, QStringLiteral("8"));
        QCOMPARE(f->Name(4), QStringLiteral("** Programm 05"));
        QCOMPARE(f->Name(5), QStringLiteral("Programm 04"));

        // Nothing to do at the ends, nor a paste before any copy.
        const auto vorher = f->Liste();
        f->ZeileWaehlen(1);
        f->Nachoben2->trigger();
        f->Einfgen1->trigger();
        f->ZeileWaehlen(10);
        f->Nachunten2->trigger();
        QCOMPARE(f->Liste(), vorher);
        QCOMPARE(f->Zeile(), 10);

        // Copy row 4, paste into row 9 with its number and name.
        f->ZeileWaehlen(4);
        f->Kopieren1->trigger();
        f->ZeileWaehlen(9);
        f->Einfgen1->trigger();
        QCOMPARE(f->Liste()[8].Nr, QStringLiteral("9"));
        QCOMPARE(f->Liste()[8].Schritte, f->Liste()[3].Schritte);
        QCOMPARE(f->Name(9), QStringLiteral("** Programm 05"));
        QCOMPARE(Zelle(f->NivorellGrid, 1, 2), QStringLiteral("50"));
    }

    // ---- files -----------------------------------------------------------------------------

    // Saved and reopened, list and single program give identical slots.
    void dateienHinUndZurueck()
    {
        for (int i = 1; i <= 10; ++i)
            f->ProgrammAnzeigen(NvProg(i, i * 3 - 20, {"5", "0", "FFFF", "1440", "", "65535"}));
        f->ZeileWaehlen(6);
        f->NivorellGridExit();
        const auto liste = f->Liste();
        dialogPfad = pfad(QStringLiteral("a.NVR"));
        f->SpeichernListe->click();
        QCOMPARE(dialoge.last().Dateiname, QStringLiteral("NivorellPrgRecord"));
        QCOMPARE(dialoge.last().Filter, QStringLiteral("Quorvel Nivorell Programm-Records (*.NVR)|*.NVR|Alle Dateien (*.*)|*.*"));
        QCOMPARE(dialoge.last().Ordner, ordner.path());
        QCOMPARE(f->Name(6), QStringLiteral("Programm 06")); // list save drops the marks

        f->NeueListe();
        f->LadenListe->click();
        QVERIFY(dateiFehler.isEmpty());
        // Identical slots, the not-programmed durations as the decoder gives them.
        for (int i = 0; i < 10; ++i)
            QCOMPARE(f->Liste()[size_t(i)], HexZuNivorell(NivorellZuHex(liste[size_t(i)])));
        QCOMPARE(f->Liste()[0].Schritte[2].Zeit, QStringLiteral("65535"));
        // Saved once more, the file is the same.
        QFile erste(dialogPfad);
        QVERIFY(erste.open(QIODevice::ReadOnly));
        const QByteArray inhalt = erste.readAll();
        erste.close();
        dialogPfad = pfad(QStringLiteral("b.NVR"));
        f->SpeichernListe->click();
        QFile zweite(dialogPfad);
        QVERIFY(zweite.open(QIODevice::ReadOnly));
        QCOMPARE(zweite.readAll(), inhalt);

        // One program: line 1 the row, line 2 the grid's program; marks stay.
        f->ZeileWaehlen(3);
        f->NamenListeClick();
        f->NivorellGridExit();
        const TQorNivorell drei = f->Liste()[2];
        dialogPfad = pfad(QStringLiteral("p.NVP"));
        f->SpeichernEinzeln->click();
        QCOMPARE(dialoge.last().Dateiname, QStringLiteral("Programm03"));
        QCOMPARE(dialoge.last().Endung, QStringLiteral("*.NVP"));
        QCOMPARE(f->Name(3), QStringLiteral("** Programm 03"));
        QFile datei(dialogPfad);
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QCOMPARE(datei.readAll(), QByteArray("03\r\n") + NivorellZuHex(drei).toLatin1() + "\r\n");
        datei.close();
        f->NeueListe();
        f->ZeileWaehlen(8);
        f->LadenEinzeln->click();
        QCOMPARE(f->Zeile(), 3);
        QCOMPARE(f->Liste()[2], drei);
    }

    // A list file with too few lines: names cleared, list locked out of sending, the places
    // before the missing line read; a file that cannot be opened changes nothing.
    void dateiFehlerhaft()
    {
        QFile kurz(pfad(QStringLiteral("kurz.NVR")));
        QVERIFY(kurz.open(QIODevice::WriteOnly));
        kurz.write("Init\r\n" + NivorellZuHex(NvProg(1, 33)).toLatin1() + "\r\n" + NivorellZuHex(NvProg(2, 34)).toLatin1());
        kurz.close();
        dialogPfad = kurz.fileName();
        f->LadenListe->click();
        QCOMPARE(dateiFehler, QStringList{ListenindexFehler(3)});
        QCOMPARE(f->Name(7), QStringLiteral("*    --"));
        QVERIFY(!f->SendenListe->isEnabled());
        QVERIFY(!f->ListeSendenan1->isEnabled());
        QCOMPARE(f->Liste()[1].Schritte[0].Temp, QStringLiteral("34"));
        QCOMPARE(f->Liste()[2].Schritte[0].Temp, QStringLiteral("8"));
        QCOMPARE(Zelle(f->NivorellGrid, 1, 2), QString());

        dialogPfad = pfad(QStringLiteral("fehlt.NVP"));
        f->ProgrammAnzeigen(NvProg(5, 60));
        f->LadenEinzeln->click();
        QCOMPARE(dateiFehler.size(), 2);
        QCOMPARE(Zelle(f->NivorellGrid, 1, 2), QStringLiteral("60"));

        // A cancelled dialog does nothing.
        dialogPfad.clear();
        f->SpeichernListe->click();
        QCOMPARE(dateiFehler.size(), 2);
    }

    // ---- graph in the window ---------------------------------------------------------------

    static NivorellGrafik Berechnen(const TQorNivorell &p, QSize s = QSize(531, 280))
    {
        NivorellAchsen a;
        return GrafikBerechnen(p, s, a, GrafikSchrift());
    }

    void grafik()
    {
        zeigen();
        QCOMPARE(f->PaintBox1->size(), QSize(531, 280));
        QTRY_COMPARE(f->Grafik().Groesse, QSize(531, 280));
        QCOMPARE(f->Grafik().PhasenX, Berechnen(f->Liste()[0]).PhasenX);
        QCOMPARE(f->Grafik().TempY[1], 144);
        const QImage bild = f->PaintBox1->grab().toImage();
        QCOMPARE(bild.pixelColor(90, 144), GrafikRot);
        QCOMPARE(bild.pixelColor(99, 200), GrafikGrau);

        // A store from the grid redraws with the new value; the widened axis stays.
        f->NivorellGrid->item(2, 2)->setText(QStringLiteral("95"));
        f->NivorellGridExit();
        QCOMPARE(f->Achsen().TMax, qint64(100));
        f->ZeileWaehlen(2);
        f->NamenListeClick();
        QCOMPARE(f->Grafik().Achsen.TMax, qint64(100));

        // A program that cannot be drawn shows the message.
        f->NivorellGrid->item(7, 3)->setText(QStringLiteral("FFFF"));
        f->NivorellGridExit();
        QVERIFY(!f->Grafik().Interpretierbar);

        // Resizing draws for the new size.
        f->resize(f->width() + 200, f->height() + 100);
        QTRY_COMPARE(f->Grafik().Groesse, QSize(731, 380));
    }

    // Every text of the window shows whole.
    void passung()
    {
        neu(true);
        zeigen();
        const QStringList fehler = Passungsfehler(f.get());
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestNivorell)
#include "tst_nivorell.moc"
