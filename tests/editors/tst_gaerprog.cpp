#include "editor_umgebung.h"
#include "fensterpassung.h"
#include "testtexte.h"

#include "controller/uQuorvelKonstanten.h"
#include "editors/uProgrammDatei.h"
#include "editors/uQuorvelGaerProg.h"
#include "support/uOberflaeche.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

namespace {

// A program whose fields all differ from the default's.
TQorGaerProg Prog(int Nr, int Basis = 0)
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

QStringList Namen(const TwQuorvelGaerProg *f)
{
    QStringList n;
    for (int r = 1; r <= 10; ++r)
        n << f->Name(r);
    return n;
}

QStringList Nummern(const TwQuorvelGaerProg *f)
{
    QStringList n;
    for (const TQorGaerProg &p : f->Liste())
        n << p.Nr;
    return n;
}

QStringList StandardNamen(const QString &Vorsatz = QString())
{
    QStringList n;
    for (int r = 1; r <= 10; ++r)
        n << Vorsatz + QStringLiteral("Programm %1").arg(r, 2, 10, QLatin1Char('0'));
    return n;
}

} // namespace

class TestGaerProg : public QObject
{
    Q_OBJECT
    std::unique_ptr<EditorUmgebung<TwQuorvelGaerProg>> u;
    TwQuorvelGaerProg *f = nullptr;

    // The editor is unlocked in everything the lock touches.
    void pruefeFrei(bool frei)
    {
        for (QPushButton *b : {f->LesenGaer, f->LadenGaer, f->LesenGaer_S, f->SendenGaer_S, f->LadenGaer_S, f->SpeichernGaer_S})
            QCOMPARE(b->isEnabled(), frei);
        QCOMPARE(f->GaerProgramm->isEnabled(), frei);
        QCOMPARE(f->File1->menuAction()->isEnabled(), frei);
        QCOMPARE(f->Bearbeiten1->menuAction()->isEnabled(), frei);
        for (QAction *a : {f->Kopieren1, f->Einfgen1, f->Nachoben2, f->Nachunten2})
            QCOMPARE(a->isEnabled(), frei);
        QCOMPARE(f->TimeOut->isActive(), !frei);
        QCOMPARE(QApplication::overrideCursor() != nullptr, !frei);
        QCOMPARE(f->Gesperrt(), !frei);
        QVERIFY(f->NamenListe->isEnabled()); // never locked
    }

    // Typing into a value editor and leaving it by focusing another editor.
    void eintippen(TZahlenEdit *e, const QString &Text)
    {
        e->setFocus(Qt::MouseFocusReason);
        e->Zeile()->selectAll();
        QTest::keyClicks(e, Text);
    }

private slots:
    void initTestCase()
    {
        OberflaecheEinrichten();
    }
    void init()
    {
        u = std::make_unique<EditorUmgebung<TwQuorvelGaerProg>>();
        f = u->fenster.get();
    }
    void cleanup()
    {
        f = nullptr;
        u.reset();
        QCOMPARE(QApplication::overrideCursor(), nullptr);
    }

    // Components, captions and the state after creation.
    void aufbau()
    {
        QCOMPARE(f->objectName(), QStringLiteral("wQuorvelGaerProg"));
        QCOMPARE(f->windowTitle(), QStringLiteral("GärProgramme"));
        QVERIFY(f->isHidden());
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QCOMPARE(f->centralWidget()->size(), QSize(561, 359));
        const QList<QPair<const char *, QString>> knoepfe = {
            {"LesenGaer", "Quorvel -->> PC"}, {"SendenGaer", "PC -->> Quorvel"}, {"LadenGaer", "    Öffnen"},
            {"SpeichernGaer", "   Speichern"}, {"LesenGaer_S", "Quorvel -->> PC"}, {"SendenGaer_S", "PC -->> Quorvel"},
            {"LadenGaer_S", "    Öffnen"}, {"SpeichernGaer_S", "   Speichern"}, {"Ausblenden", "Ausblenden"},
            {"Cancel", "Abbrechen"}};
        for (const auto &[name, text] : knoepfe) {
            auto *b = f->findChild<QPushButton *>(QLatin1String(name));
            QVERIFY2(b, name);
            QCOMPARE(b->text(), text);
        }
        for (const char *name : {"GaerPanel", "NamenListe", "FortschrittPanel", "Gauge1", "SpracheBox", "P_SchTemp",
                                 "P_SchZeit", "P_GuTemp", "P_GvTemp", "P_GvFeu", "P_GvZeit", "P_GaTemp", "P_GaFeu",
                                 "P_GaZeit", "P_AbTemp", "P_AbFeu", "P_AbZeit", "P_BVorl", "Firmware_ab_352"})
            QVERIFY2(f->findChild<QWidget *>(QLatin1String(name)), name);
        QCOMPARE(f->findChild<QTimer *>(QStringLiteral("TimeOut"))->interval(), 30000);
        QCOMPARE(f->findChild<QGroupBox *>(QStringLiteral("ListeBox"))->title(), QStringLiteral("Programm-Liste (Record):"));
        QCOMPARE(f->findChild<QGroupBox *>(QStringLiteral("SingleBox"))->title(), QStringLiteral("Einzelnes Programm: "));
        QCOMPARE(f->GaerProgramm->title(), QStringLiteral("GaerProgramm"));
        QCOMPARE(f->Firmware_ab_352->text(), QStringLiteral("Firmware > 352"));
        QVERIFY(f->Firmware_ab_352->isChecked());
        QCOMPARE(f->FortschrittPanel->geometry(), QRect(5, 241 + 7, 516, 97));
        QVERIFY(f->FortschrittPanel->isHidden());
        QCOMPARE(f->SpracheBox->count(), 12);
        QCOMPARE(f->NamenListe->toolTip(),
                 QStringLiteral("Klicken: Wählen des Programms.\r\nRechte Maustaste: Programme verschieben etc."));
        QCOMPARE(f->DialogOrdner, P().BackprogrammeQuorvel);

        QStringList menue;
        for (QAction *a : f->File1->actions() + f->Bearbeiten1->actions() + f->PopupMenu1->actions())
            menue << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + QLatin1Char('=') + a->text());
        QCOMPARE(menue, QStringList({"NeueListe1=Neue Liste", "Listeffnen1=Liste Öffnen",
                                     "ListeSpeichernunter1=Liste Speichern &unter...", "ffnen1=&Programm Öffnen...",
                                     "Backprogrammspeichern1=Programm speichern unter...", "-",
                                     "ListeEmpfangen1=Liste empfangen ..", "ListeSendenan1=Liste senden an ..",
                                     "BPrgEmpfangen1=Programm empfangen ..", "BPrgSendenan1=Programm senden an ..", "-",
                                     "FensterSchlieen1=&Schließen", "Backprogrammkopieren1=Programm kopieren",
                                     "Backprogrammeinfgen1=Programm einfügen", "Nachoben1=Programm nach oben",
                                     "Nachunten1=Programm nach unten", "Kopieren1=Kopieren", "Einfgen1=Einfügen",
                                     "Nachoben2=Nach oben", "Nachunten2=Nach unten"}));
        QCOMPARE(f->Kopieren1->shortcut(), QKeySequence(QStringLiteral("Ctrl+C")));
        QCOMPARE(f->Einfgen1->shortcut(), QKeySequence(QStringLiteral("Ctrl+V")));

        // A new list: ten default programs, row 1 selected and shown, unlocked.
        for (int i = 0; i < 10; ++i)
            QCOMPARE(f->Liste()[size_t(i)], TwQuorvelGaerProg::StandardProgramm(i + 1));
        QCOMPARE(Namen(f), StandardNamen());
        QCOMPARE(f->NamenListe->item(10, 0)->text(), QStringLiteral("10"));
        QCOMPARE(f->Zeile(), 1);
        QCOMPARE(f->ProgrammAusFeldern(), [] {
            TQorGaerProg g = TwQuorvelGaerProg::StandardProgramm(1);
            g.Sch.Feu = g.GU.Feu = g.GU.Zeit = QString();
            return g;
        }());
        QCOMPARE(f->P_AbTemp->Text(), QStringLiteral("FFFF"));
        pruefeFrei(true);
    }

    // Every text shows whole: with the default list, with the widest values, in both layouts
    // and with the progress panel over the buttons.
    void passung_data()
    {
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<bool>("fortschritt");
        QTest::newRow("Standard") << true << QString() << false;
        QTest::newRow("65535") << true << "65535" << false;
        QTest::newRow("-----, FFFF") << false << "FFFF" << false;
        QTest::newRow("-80 mit Fortschritt") << true << "-80" << true;
    }
    void passung()
    {
        QFETCH(bool, ab352);
        QFETCH(QString, wert);
        QFETCH(bool, fortschritt);
        f->Warnung = [](const QString &, const QString &) { return QMessageBox::Yes; };
        f->Firmware_ab_352->setChecked(ab352);
        if (!wert.isEmpty())
            for (TZahlenEdit *e : f->findChildren<TZahlenEdit *>())
                if (e != f->P_AbZeit || ab352)
                    e->TextSetzen(wert);
        f->Markieren(10);
        if (fortschritt)
            f->SendenGaer->click();
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QStringList fehler = Passungsfehler(f);
        // The progress panel lies over the button groups by design.
        if (fortschritt)
            fehler = fehler.filter(QRegularExpression(QStringLiteral("^(?!.*und FortschrittPanel \"\" überdecken sich)")));
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(QLatin1Char('\n'))));
        GaerProgLayoutSetzen(true);
    }

    // Move, copy and paste act on slots and name cells; names are not rebuilt.
    void verschiebenUndKopieren()
    {
        // Up on row 3 of a fresh list.
        f->ZeileWaehlen(3);
        f->Nachoben2->trigger();
        QCOMPARE(f->Zeile(), 2);
        QCOMPARE(f->Name(2), QStringLiteral("Programm 03"));
        QCOMPARE(f->Name(3), QStringLiteral("Programm 02"));
        QCOMPARE(f->Liste()[1].Nr, QStringLiteral("2"));
        QCOMPARE(f->Liste()[2].Nr, QStringLiteral("3"));

        // Up on row 1 and down on row 10 do nothing; paste before any copy does nothing.
        f->ZeileWaehlen(1);
        f->Nachoben1->trigger();
        f->ZeileWaehlen(10);
        f->Nachunten1->trigger();
        f->Einfgen1->trigger();
        QCOMPARE(f->Zeile(), 10);
        QCOMPARE(Namen(f).mid(3), StandardNamen().mid(3));
        QCOMPARE(Nummern(f), QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));

        // Different programs travel with their names when moved down.
        f->ProgrammAnzeigen(Prog(4, 1));
        f->ProgrammAnzeigen(Prog(5, 2));
        f->ZeileWaehlen(4);
        f->Markieren(4);
        f->Nachunten2->trigger();
        QCOMPARE(f->Zeile(), 5);
        QCOMPARE(f->Liste()[4], [] { TQorGaerProg g = Prog(4, 1); g.Nr = "5"; return g; }());
        QCOMPARE(f->Liste()[3], [] { TQorGaerProg g = Prog(5, 2); g.Nr = "4"; return g; }());
        QCOMPARE(f->Name(5), QStringLiteral("** Programm 04"));
        QCOMPARE(f->Name(4), QStringLiteral("Programm 05"));
        QCOMPARE(f->P_GvTemp->Text(), Prog(4, 1).GV.Temp);

        // Copy row 5 with its mark; paste into rows 8 and 9: the buffer stays filled.
        f->Kopieren1->trigger();
        f->ZeileWaehlen(8);
        f->Backprogrammeinfgen1->trigger();
        f->ZeileWaehlen(9);
        f->Einfgen1->trigger();
        for (int r : {8, 9}) {
            TQorGaerProg soll = Prog(4, 1);
            soll.Nr = QString::number(r);
            QCOMPARE(f->Liste()[size_t(r - 1)], soll);
            QCOMPARE(f->Name(r), QStringLiteral("** Programm 04"));
        }
        QCOMPARE(f->Zeile(), 9);
        QCOMPARE(f->Ablage().Nr, QStringLiteral("5"));
    }

    // Typed values reach the slot of the row selected while typing when the editor is left;
    // the row is marked once however often it is left.
    void eingabeUndVerlassen()
    {
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->ZeileWaehlen(2);
        f->NamenListeClick();
        eintippen(f->P_GvTemp, QStringLiteral("7"));
        eintippen(f->P_GaFeu, QStringLiteral("88")); // leaves P_GvTemp
        QCOMPARE(f->Liste()[1].GV.Temp, QStringLiteral("7"));
        QCOMPARE(f->Name(2), QStringLiteral("** Programm 02"));
        // Only digits and signs can be typed; a shown "FFFF" can be deleted.
        f->P_AbTemp->setFocus(Qt::MouseFocusReason);
        f->P_AbTemp->Zeile()->end(false);
        QTest::keyClicks(f->P_AbTemp, QStringLiteral("x"));
        QTest::keyClick(f->P_AbTemp, Qt::Key_Backspace);
        QCOMPARE(f->P_AbTemp->Text(), QStringLiteral("FFF"));
        f->P_AbTemp->Zeile()->selectAll();
        QTest::keyClicks(f->P_AbTemp, QStringLiteral("-a1b2 "));
        QCOMPARE(f->P_AbTemp->Text(), QStringLiteral("-12"));
        QTest::keyClick(f->P_AbTemp, Qt::Key_Up);
        QCOMPARE(f->P_AbTemp->Text(), QStringLiteral("-11"));
        f->P_AbTemp->TextSetzen(QStringLiteral("FFFF"));
        f->P_GaFeu->setFocus(Qt::MouseFocusReason);

        // A click on row 4 leaves P_GaFeu first: its value lands in row 2, then row 4 is shown.
        const QRect zelle = f->NamenListe->visualRect(f->NamenListe->model()->index(4, 1));
        QTest::mouseClick(f->NamenListe->viewport(), Qt::LeftButton, {}, zelle.center());
        QCOMPARE(f->Zeile(), 4);
        QCOMPARE(f->Liste()[1].GA.Feu, QStringLiteral("88"));
        QCOMPARE(f->Liste()[1].Sch.Feu, QString()); // no editor: empty
        QCOMPARE(f->Name(2), QStringLiteral("** Programm 02"));
        QCOMPARE(f->Name(4), QStringLiteral("Programm 04"));
        QCOMPARE(f->P_GaFeu->Text(), QStringLiteral("80"));

        // Saving one program keeps the marks, saving the list drops them.
        u->dialogAntwort = u->pfad(QStringLiteral("e.QGP"));
        f->SpeichernGaer_S->click();
        QCOMPARE(f->Name(2), QStringLiteral("** Programm 02"));
        u->dialogAntwort = u->pfad(QStringLiteral("l.QGR"));
        f->SpeichernGaer->click();
        QCOMPARE(Namen(f), StandardNamen());
        QVERIFY(u->dateiFehler.isEmpty());
    }

    // A request from the menu while a value editor has the focus: the lock takes the focus away,
    // which is no leave. A failed read leaves the slot as it was, a write stores and marks nothing.
    void sperreIstKeinVerlassen_data()
    {
        QTest::addColumn<QString>("eintrag");
        QTest::newRow("Liste empfangen") << "ListeEmpfangen1";
        QTest::newRow("Programm empfangen") << "BPrgEmpfangen1";
        QTest::newRow("Liste senden") << "ListeSendenan1";
        QTest::newRow("Programm senden") << "BPrgSendenan1";
    }
    void sperreIstKeinVerlassen()
    {
        QFETCH(QString, eintrag);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(f));
        f->ProgrammAnzeigen(Prog(4, 3));
        eintippen(f->P_GvTemp, QStringLiteral("9"));
        QVERIFY(f->P_GvTemp->hasFocus());
        f->findChild<QAction *>(eintrag)->trigger();
        QVERIFY(f->Gesperrt());
        QVERIFY(!f->P_GvTemp->hasFocus());
        f->Freigeben(true); // as after "SendNAK"
        QCOMPARE(f->Liste()[3], Prog(4, 3));
        QCOMPARE(Namen(f), StandardNamen());
    }

    // The fixed row 0 never becomes the current row, by mouse or by keys.
    void kopfzeileNieAktuell()
    {
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->ZeileWaehlen(5);
        f->NamenListeClick();
        const QRect kopf = f->NamenListe->visualRect(f->NamenListe->model()->index(0, 1));
        QTest::mouseClick(f->NamenListe->viewport(), Qt::LeftButton, {}, kopf.center());
        QCOMPARE(f->NamenListe->currentRow(), 5);
        f->ZeileWaehlen(1);
        f->NamenListe->setFocus();
        QTest::keyClick(f->NamenListe, Qt::Key_Up);
        QTest::keyClick(f->NamenListe, Qt::Key_Home);
        QTest::keyClick(f->NamenListe, Qt::Key_PageUp);
        QCOMPARE(f->NamenListe->currentRow(), 1);
    }

    // Ctrl+C / Ctrl+V in an editor with the pop-up copy and paste programs; elsewhere they
    // keep their meaning. A right click on a program row selects it and opens the pop-up.
    void kurztastenUndPopup()
    {
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->ZeileWaehlen(3);
        f->P_GvFeu->setFocus();
        QTest::keyClick(f->P_GvFeu->Zeile(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(f->Ablage().Nr, QStringLiteral("3"));
        f->ZeileWaehlen(6);
        QTest::keyClick(f->P_GvFeu->Zeile(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f->Liste()[5].Nr, QStringLiteral("6"));
        QCOMPARE(f->Name(6), QStringLiteral("Programm 03"));

        // P_SchZeit carries no pop-up: Ctrl+V pastes text there, no program.
        f->ZeileWaehlen(7);
        QApplication::clipboard()->setText(QStringLiteral("42"));
        f->P_SchZeit->TextSetzen(QString());
        f->P_SchZeit->setFocus();
        QTest::keyClick(f->P_SchZeit->Zeile(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(f->P_SchZeit->Text(), QStringLiteral("42"));
        QCOMPARE(f->Ablage().Nr, QStringLiteral("3"));
        QCOMPARE(f->Name(7), QStringLiteral("** Programm 07")); // left P_GvFeu while row 7 was selected

        QList<QPoint> geoeffnet;
        f->PopupOeffnen = [&](const QPoint &p) { geoeffnet << p; };
        const QRect zelle = f->NamenListe->visualRect(f->NamenListe->model()->index(5, 0));
        QTest::mouseClick(f->NamenListe->viewport(), Qt::RightButton, {}, zelle.center());
        QCOMPARE(f->Zeile(), 5);
        QCOMPARE(geoeffnet.size(), 1);
        QCOMPARE(geoeffnet.first(), f->PopupOrt(zelle.center() + f->NamenListe->viewport()->pos()));
        // The value editors with the pop-up lose their own menu to it, and it never opens by itself:
        // a right click there shows no menu at all; P_SchZeit keeps its own.
        QContextMenuEvent rechts(QContextMenuEvent::Mouse, QPoint(5, 5), f->P_AbTemp->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(f->P_AbTemp->Zeile(), &rechts);
        QVERIFY(rechts.isAccepted());
        QCOMPARE(geoeffnet.size(), 1);
        QVERIFY(!QApplication::activePopupWidget());
        QVERIFY(!f->P_SchZeit->property("mqPopup").toBool());
        // The header row opens nothing and selects nothing.
        const QRect kopf = f->NamenListe->visualRect(f->NamenListe->model()->index(0, 0));
        QTest::mouseClick(f->NamenListe->viewport(), Qt::RightButton, {}, kopf.center());
        QCOMPARE(f->Zeile(), 5);
        QCOMPARE(geoeffnet.size(), 1);
    }

    // Requests by buttons and menu entries, each locking the editor.
    void anfragen_data()
    {
        QTest::addColumn<QString>("ausloeser");
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<bool>("fortschritt");
        QTest::newRow("LesenGaer") << "LesenGaer" << "GRSave\t00\t" << true;
        QTest::newRow("ListeEmpfangen1") << "ListeEmpfangen1" << "GRSave\t00\t" << true;
        QTest::newRow("LesenGaer_S") << "LesenGaer_S" << "GPR\t00\t3" << false;
        QTest::newRow("BPrgEmpfangen1") << "BPrgEmpfangen1" << "GPR\t00\t3" << false;
        QTest::newRow("SendenGaer") << "SendenGaer" << "GRRest\t00\t*" << true;
        QTest::newRow("ListeSendenan1") << "ListeSendenan1" << "GRRest\t00\t*" << true;
        QTest::newRow("SendenGaer_S") << "SendenGaer_S" << "GPW\t00\t+" << false;
        QTest::newRow("BPrgSendenan1") << "BPrgSendenan1" << "GPW\t00\t+" << false;
    }
    void anfragen()
    {
        QFETCH(QString, ausloeser);
        QFETCH(QString, befehl);
        QFETCH(bool, fortschritt);
        f->ProgrammAnzeigen(Prog(3, 4));
        f->P_GvZeit->TextSetzen(QStringLiteral("99")); // typed, not yet left
        if (befehl.endsWith(QLatin1Char('*'))) {
            befehl.chop(1);
            for (const TQorGaerProg &p : f->Liste())
                befehl += GaerProgZuHex(p);
        } else if (befehl.endsWith(QLatin1Char('+'))) {
            befehl.chop(1);
            TQorGaerProg g = Prog(3, 4);
            g.GV.Zeit = QStringLiteral("99");
            g.Sch.Feu = g.GU.Feu = g.GU.Zeit = QString();
            befehl += GaerProgZuHex(g);
        }
        if (auto *b = f->findChild<QPushButton *>(ausloeser))
            b->click();
        else
            f->findChild<QAction *>(ausloeser)->trigger();
        QCOMPARE(u->befehle, QStringList{befehl});
        QCOMPARE(f->FortschrittPanel->isVisibleTo(f), fortschritt);
        if (fortschritt)
            QCOMPARE(f->Gauge1->value(), 1);
        pruefeFrei(false);
        QCOMPARE(f->GaerProgramm->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
        // Reads empty the editors; writes store nothing and mark nothing.
        const bool lesen = befehl.startsWith(QLatin1String("GRSave")) || befehl.startsWith(QLatin1String("GPR\t"));
        QCOMPARE(f->P_GvZeit->Text(), lesen ? QString() : QStringLiteral("99"));
        QCOMPARE(f->Liste()[2], Prog(3, 4));
        QCOMPARE(Namen(f), StandardNamen());

        f->Freigeben(true);
        pruefeFrei(true);
        QVERIFY(f->FortschrittPanel->isHidden());
        QCOMPARE(f->Gauge1->value(), 0);
    }

    // A program that cannot be encoded is not sent (an empty text would shift the list on the
    // controller), and not saved alone (nothing else would be saved).
    void ungueltigeWerte_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("text");
        QTest::newRow("SendenGaer") << "SendenGaer" << "Programm 4 enthält ungültige Werte!|nicht übertragen";
        QTest::newRow("SendenGaer_S") << "SendenGaer_S" << "Programm 6 enthält ungültige Werte!|nicht übertragen";
        QTest::newRow("SpeichernGaer_S") << "SpeichernGaer_S" << "Programm 6 enthält ungültige Werte!|nicht gespeichert";
    }
    void ungueltigeWerte()
    {
        QFETCH(QString, knopf);
        QFETCH(QString, text);
        TQorGaerProg g = Prog(4);
        g.GV.Zeit = QStringLiteral("70000");
        f->ProgrammAnzeigen(g);
        f->ZeileWaehlen(6);
        u->dialogAntwort = u->pfad(QStringLiteral("x"));
        f->findChild<QPushButton *>(knopf)->click();
        QVERIFY(u->befehle.isEmpty());
        QVERIFY(u->dialoge.isEmpty());
        QVERIFY(!f->Gesperrt());
        QVERIFY(f->FortschrittPanel->isHidden());
        QCOMPARE(OffeneBoxen().size(), 1);
        QCOMPARE(OffeneBoxen().first().caption, QStringLiteral("FEHLER"));
        QCOMPARE(OffeneBoxen().first().zeilen.join(QLatin1Char('|')), text);
    }

    // A list holding programs that cannot be encoded is saved whole, those programs as empty
    // lines, and a box names them: a file with such a line loads and saves again unchanged.
    void listeMitUngueltigemProgramm()
    {
        QFile alt(u->pfad(QStringLiteral("alt.QGR")));
        QVERIFY(alt.open(QIODevice::WriteOnly));
        alt.write(GaerListeMitLeeremProgramm(5));
        alt.close();
        u->dialogAntwort = alt.fileName();
        f->LadenGaer->click();
        QVERIFY(u->dateiFehler.isEmpty());
        u->dialogAntwort = u->pfad(QStringLiteral("neu.QGR"));
        f->SpeichernGaer->click();
        QFile neu(u->dialogAntwort);
        QVERIFY(neu.open(QIODevice::ReadOnly));
        QCOMPARE(neu.readAll(), GaerListeMitLeeremProgramm(5));
        QCOMPARE(OffeneBoxTexte(), QStringList{"FEHLER|Programm 5 enthält ungültige Werte!|leer gespeichert"});
        ShowboxenFreigeben();

        // Two programs with values that do not fit.
        for (int nr : {2, 9}) {
            TQorGaerProg g = Prog(nr);
            g.GV.Zeit = QStringLiteral("70000");
            f->ProgrammAnzeigen(g);
        }
        u->dialogAntwort = u->pfad(QStringLiteral("zwei.QGR"));
        f->SpeichernGaer->click();
        QStringList zeilen;
        QString fehler;
        QVERIFY(ProgrammDateiZeilenLesen(u->dialogAntwort, 12, zeilen, fehler));
        QCOMPARE(zeilen.size(), 11);
        QCOMPARE(LeereProgramme(zeilen.mid(1)), QList<int>({2, 5, 9}));
        QCOMPARE(OffeneBoxTexte(), QStringList{"FEHLER|Programme 2, 5, 9 enthalten ungültige Werte!|leer gespeichert"});
        QVERIFY(u->dateiFehler.isEmpty());
    }

    // A list load that failed leaves the list invalid: the next unlock brings the buttons back,
    // the menu entries stay off.
    void listeUngueltigUndSperre()
    {
        f->NamenLoeschen();
        QVERIFY(!f->SendenGaer->isEnabled() && !f->ListeSendenan1->isEnabled());
        f->Sperren();
        f->Freigeben(true);
        QVERIFY(f->SendenGaer->isEnabled() && f->SpeichernGaer->isEnabled());
        QVERIFY(!f->ListeSendenan1->isEnabled() && !f->ListeSpeichernunter1->isEnabled());
    }

    // A single program received lands in the slot of its own number, else it is only shown.
    void programmEmpfangen_data()
    {
        QTest::addColumn<QString>("nummerFeld");
        QTest::addColumn<int>("zeile");     // selected row afterwards
        QTest::addColumn<int>("slot");      // slot that holds it, 0: none
        QTest::newRow("7") << "0007" << 7 << 7;
        QTest::newRow("12") << "000C" << 2 << 0;
        QTest::newRow("FFFF") << "FFFF" << 2 << 0;
        QTest::newRow("0") << "0000" << 2 << 0;
    }
    void programmEmpfangen()
    {
        QFETCH(QString, nummerFeld);
        QFETCH(int, zeile);
        QFETCH(int, slot);
        f->ZeileWaehlen(2);
        f->Sperren();
        const QString text = nummerFeld + GaerProgZuHex(Prog(1, 9)).mid(4);
        f->ProgrammEmpfangen(text);
        pruefeFrei(true);
        QCOMPARE(f->Zeile(), zeile);
        QCOMPARE(f->P_GvFeu->Text(), Prog(1, 9).GV.Feu);
        for (int r = 1; r <= 10; ++r)
            QCOMPARE(f->Liste()[size_t(r - 1)], r == slot ? HexZuGaerProg(text) : TwQuorvelGaerProg::StandardProgramm(r));
        QCOMPARE(Namen(f), StandardNamen());
    }

    // A received list is decoded later, by position; until then the editor stays locked.
    void listeEmpfangen_data()
    {
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<int>("programme");   // whole programs in the text
        QTest::newRow("56, zehn") << true << 10;
        QTest::newRow("52, zehn") << false << 10;
        QTest::newRow("56, sieben und ein Rest") << true << 7;
    }
    void listeEmpfangen()
    {
        QFETCH(bool, ab352);
        QFETCH(int, programme);
        GaerProgLayoutSetzen(ab352);
        QString text;
        for (int i = 0; i < programme; ++i)
            text += GaerProgZuHex(Prog(10 - i, i)); // numbers other than the positions
        if (programme < 10)
            text += QStringLiteral("0001");
        f->Markieren(4);
        f->ZeileWaehlen(6);
        f->LesenGaer->click();
        f->ListeEmpfangen(text);
        QVERIFY(f->Gesperrt());
        QCOMPARE(f->Liste()[0], TwQuorvelGaerProg::StandardProgramm(1));
        QCoreApplication::processEvents();
        pruefeFrei(true);
        for (int i = 0; i < 10; ++i) {
            if (i < programme) {
                TQorGaerProg soll = Prog(10 - i, i);
                if (!ab352)
                    soll.AB.Zeit = QStringLiteral("0");
                if (i == 0 || i == 9)
                    continue; // slots 1 and 10 are checked below
                QCOMPARE(f->Liste()[size_t(i)], soll);
            } else if (i < 9) {
                QCOMPARE(f->Liste()[size_t(i)], HexZuGaerProg(text.mid(i * P().GaerProgLaenge, P().GaerProgLaenge)));
            }
        }
        // Slot 1 carries number 10: showing it stores it in slot 10 too and selects row 10.
        QCOMPARE(f->Liste()[0].Nr, QStringLiteral("10"));
        QCOMPARE(f->Zeile(), 10);
        QCOMPARE(f->Liste()[9], f->Liste()[0]);
        QCOMPARE(Namen(f), StandardNamen());
        QVERIFY(f->ListeSendenan1->isEnabled());
        GaerProgLayoutSetzen(true);
    }

    // Two lists before the decoding runs: the later one is decoded, once.
    void zweiListenVorDemDekodieren()
    {
        QString erste, zweite;
        for (int i = 1; i <= 10; ++i) {
            erste += GaerProgZuHex(Prog(i, 1));
            zweite += GaerProgZuHex(Prog(i, 2));
        }
        f->ListeEmpfangen(erste);
        f->ListeEmpfangen(zweite);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        for (int i = 0; i < 10; ++i)
            QCOMPARE(f->Liste()[size_t(i)], Prog(i + 1, 2));
    }

    // Progress restarts a running time-out and moves the gauge only while the panel shows;
    // "Abbrechen" unlocks and asks for the abort.
    void fortschrittUndAbbrechen()
    {
        f->Fortschritt(30); // unlocked, no panel: nothing moves
        QVERIFY(!f->TimeOut->isActive());
        QVERIFY(f->FortschrittPanel->isHidden());

        f->SendenGaer->click();
        QTest::qWait(1500);
        QVERIFY(f->TimeOut->remainingTime() < 29000);
        f->Fortschritt(40);
        QVERIFY(f->TimeOut->remainingTime() > 29000);
        QCOMPARE(f->Gauge1->value(), 40);
        f->Ausblenden->click();
        QVERIFY(f->FortschrittPanel->isHidden());
        QVERIFY(f->Gesperrt() && f->TimeOut->isActive());
        f->Fortschritt(50);
        QVERIFY(f->FortschrittPanel->isHidden());
        QCOMPARE(f->Gauge1->value(), 40);

        u->befehle.clear();
        f->FortschrittZeigen(60);
        f->Cancel->click();
        QCOMPARE(u->befehle, QStringList{"RSCancel\t00\t"});
        pruefeFrei(true);
        QVERIFY(f->FortschrittPanel->isHidden());
    }

    // Thirty seconds without an answer: the box, and the editor unlocked.
    void zeitUeberschreitung()
    {
        f->LesenGaer_S->click();
        f->TimeOutTimer();
        pruefeFrei(true);
        const QList<GezeigteBox> boxen = OffeneBoxen();
        QCOMPARE(boxen.size(), 1);
        QCOMPARE(boxen.first().caption, QStringLiteral("Fehler"));
        QCOMPARE(boxen.first().zeilen, QStringList{"Timeout bei Übertragung!!"});
    }

    // The layout switch: Yes takes the 52-character layout, No and Cancel keep 56.
    void layoutSchalter_data()
    {
        QTest::addColumn<int>("antwort");
        QTest::addColumn<bool>("ab352");
        QTest::newRow("Ja") << int(QMessageBox::Yes) << false;
        QTest::newRow("Nein") << int(QMessageBox::No) << true;
        QTest::newRow("Abbrechen") << int(QMessageBox::Cancel) << true;
    }
    void layoutSchalter()
    {
        QFETCH(int, antwort);
        QFETCH(bool, ab352);
        QStringList fragen;
        f->Warnung = [&](const QString &c, const QString &t) {
            fragen << c + QLatin1Char('|') + t;
            return QMessageBox::StandardButton(antwort);
        };
        f->Firmware_ab_352->click();
        QCOMPARE(fragen, QStringList{"Warnung|Achtung: Diese Funktion ist nur\r\nfür ältere Firmware vorgesehen!\r\n"
                                     "Bei fehlerhafter Einstellung werden\r\nGärprogramme nicht korrekt dargestellt\r\n"
                                     "und übertragen!\r\n\r\nWirklich auf alte Firmware umstellen?"});
        QCOMPARE(f->Firmware_ab_352->isChecked(), ab352);
        QCOMPARE(P().FirmwareAb352, ab352);
        QCOMPARE(int(P().GaerProgLaenge), ab352 ? 56 : 52);
        QCOMPARE(f->P_AbZeit->isEnabled(), ab352);
        QCOMPARE(f->P_AbZeit->Text(), ab352 ? QStringLiteral("0") : QStringLiteral("-----"));
        if (ab352)
            return;
        // "-----" travels as the AB duration; the 52-character text leaves it out.
        QCOMPARE(f->ProgrammAusFeldern().AB.Zeit, QStringLiteral("-----"));
        QCOMPARE(GaerProgZuHex(f->ProgrammAusFeldern()).size(), 52);
        // Ticked again: the 56-character layout, and "-----" becomes "0".
        f->Firmware_ab_352->click();
        QCOMPARE(int(P().GaerProgLaenge), 56);
        QVERIFY(f->P_AbZeit->isEnabled());
        QCOMPARE(f->P_AbZeit->Text(), QStringLiteral("0"));
        // In the 56-character layout "-----" is sent as "FFFF".
        f->P_AbZeit->TextSetzen(QStringLiteral("-----"));
        QCOMPARE(GaerProgZuHex(f->ProgrammAusFeldern()).mid(40, 4), QStringLiteral("FFFF"));
    }

    // The warning itself: a modal box without icon, its lines whole; No keeps the layout.
    void layoutWarnungsBox()
    {
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QStringList fehler;
        QString caption, text;
        bool gesehen = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            gesehen = true;
            caption = box->windowTitle();
            text = box->text();
            QCOMPARE(box->icon(), QMessageBox::NoIcon);
            QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            fehler = Passungsfehler(box);
            box->button(QMessageBox::No)->click();
        });
        f->Firmware_ab_352->click();
        QVERIFY(gesehen);
        QCOMPARE(caption, QStringLiteral("Warnung"));
        QVERIFY(text.startsWith(QStringLiteral("Achtung: Diese Funktion ist nur")));
        QVERIFY2(fehler.isEmpty(), qPrintable(fehler.join(QLatin1Char('\n'))));
        QVERIFY(f->Firmware_ab_352->isChecked());
        QCOMPARE(int(P().GaerProgLaenge), 56);
    }

    // Files: dialogs, saved and reopened slots, numbers inside the lines, failures.
    void dateien()
    {
        for (int r = 1; r <= 10; ++r)
            f->ProgrammAnzeigen(Prog(r, r));
        f->ZeileWaehlen(3);
        f->NamenListeClick();

        // Cancelled dialogs change nothing.
        f->SpeichernGaer->click();
        f->LadenGaer->click();
        QCOMPARE(u->dialoge.size(), 2);
        QCOMPARE(u->dialoge.at(0).Name, QStringLiteral("SaveDialog1"));
        QVERIFY(u->dialoge.at(0).Speichern);
        QCOMPARE(u->dialoge.at(0).Filter, QStringLiteral("Quorvel Gär-Record (*.QGR)|*.QGR|Alle Dateien (*.*)|*.*"));
        QCOMPARE(u->dialoge.at(0).Endung, QStringLiteral("*.QGR"));
        QCOMPARE(u->dialoge.at(0).Dateiname, QStringLiteral("GaerPrgRecord"));
        QCOMPARE(u->dialoge.at(0).Ordner, P().BackprogrammeQuorvel);
        QCOMPARE(u->dialoge.at(1).Name, QStringLiteral("OpenDialog1"));
        QVERIFY(!u->dialoge.at(1).Speichern);
        QCOMPARE(f->P_GvTemp->Text(), Prog(3, 3).GV.Temp);

        // The list, saved and reopened over a new list.
        const std::array<TQorGaerProg, 10> vorher = f->Liste();
        u->dialogAntwort = u->pfad(QStringLiteral("liste.QGR"));
        f->SpeichernGaer->click();
        f->NeueListe1->trigger();
        f->LadenGaer->click();
        QVERIFY(f->Liste() == vorher);
        QCOMPARE(f->Zeile(), 1);

        // One program: row 3 with a typed change, proposed name "Programm03".
        u->dialoge.clear();
        f->ZeileWaehlen(3);
        f->NamenListeClick();
        f->P_GaTemp->TextSetzen(QStringLiteral("33"));
        u->dialogAntwort = u->pfad(QStringLiteral("p3.QGP"));
        f->SpeichernGaer_S->click();
        QCOMPARE(u->dialoge.first().Dateiname, QStringLiteral("Programm03"));
        QCOMPARE(u->dialoge.first().Filter, QStringLiteral("Quorvel Gärprogramme (*.QGP)|*.QGP|Alle Dateien (*.*)|*.*"));
        QCOMPARE(u->dialoge.first().Endung, QStringLiteral("*.QGP"));
        QFile datei(u->dialogAntwort);
        QVERIFY(datei.open(QIODevice::ReadOnly));
        QVERIFY(datei.readAll().startsWith("03\r\n"));
        QCOMPARE(f->Liste()[2], Prog(3, 3)); // saving stores nothing into the slot
        f->ZeileWaehlen(8);
        f->LadenGaer_S->click();
        QCOMPARE(f->Zeile(), 3);
        QCOMPARE(f->Liste()[2].GA.Temp, QStringLiteral("33"));
        QCOMPARE(Namen(f), StandardNamen());
        QVERIFY(u->dateiFehler.isEmpty());
    }

    // Program 1 of a new list saved alone from row 1, byte for byte, in both layouts.
    void standardProgrammDatei_data()
    {
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<QByteArray>("datei");
        QTest::newRow("56") << true << StandardGaer1Datei(true);
        QTest::newRow("52") << false << StandardGaer1Datei(false);
    }
    void standardProgrammDatei()
    {
        QFETCH(bool, ab352);
        QFETCH(QByteArray, datei);
        f->Warnung = [](const QString &, const QString &) { return QMessageBox::Yes; };
        f->Firmware_ab_352->setChecked(ab352);
        u->dialogAntwort = u->pfad(QStringLiteral("Programm01.QGP"));
        f->SpeichernGaer_S->click();
        QFile gespeichert(u->dialogAntwort);
        QVERIFY(gespeichert.open(QIODevice::ReadOnly));
        QCOMPARE(gespeichert.readAll(), datei);
        GaerProgLayoutSetzen(true);
    }

    // A list file whose lines carry other numbers fills the slots by position.
    void listeNachPosition()
    {
        std::array<TQorGaerProg, 10> liste;
        for (int i = 0; i < 10; ++i)
            liste[size_t(i)] = Prog(i < 5 ? i + 6 : i - 4, i);
        QString fehler;
        QVERIFY(ProgrammDateiSchreiben(u->pfad(QStringLiteral("l.QGR")), GaerListeZeilen(liste), fehler));
        u->dialogAntwort = u->pfad(QStringLiteral("l.QGR"));
        f->Listeffnen1->trigger();
        for (int i = 1; i < 10; ++i)
            if (i != 5)
                QCOMPARE(f->Liste()[size_t(i)], liste[size_t(i)]);
        // Slot 1 (number 6) was shown: it is in slot 6 too, and row 6 is selected.
        QCOMPARE(f->Liste()[0], liste[0]);
        QCOMPARE(f->Liste()[5], liste[0]);
        QCOMPARE(f->Zeile(), 6);
        QCOMPARE(Namen(f), StandardNamen());
    }

    // Failed loads: what the handler changed stays changed, nothing else is lost.
    void ladeFehler()
    {
        for (int r = 1; r <= 10; ++r)
            f->ProgrammAnzeigen(Prog(r, 20 + r));
        f->ZeileWaehlen(2);
        f->NamenListeClick();
        f->Markieren(2);

        // A list save that cannot be made: its box, and the names are not rebuilt.
        QVERIFY(QDir(u->dir.path()).mkdir(QStringLiteral("ordner")));
        u->dialogAntwort = u->pfad(QStringLiteral("ordner"));
        f->SpeichernGaer->click();
        QCOMPARE(u->dateiFehler.size(), 1);
        QVERIFY(u->dateiFehler.last().startsWith(QStringLiteral("Datei \"")));
        QVERIFY(u->dateiFehler.last().contains(QStringLiteral("\" kann nicht erstellt werden. ")));
        QCOMPARE(f->Name(2), QStringLiteral("** Programm 02"));
        u->dateiFehler.clear();

        // A program file that does not open: the box, the editors unchanged.
        u->dialogAntwort = u->pfad(QStringLiteral("fehlt.QGP"));
        f->LadenGaer_S->click();
        QCOMPARE(u->dateiFehler.size(), 1);
        QVERIFY(u->dateiFehler.first().startsWith(QStringLiteral("Datei ")));
        QVERIFY(u->dateiFehler.first().contains(QStringLiteral(" kann nicht geöffnet werden. ")));
        QCOMPARE(f->P_GvTemp->Text(), Prog(2, 22).GV.Temp);

        // A program file with one line: the box, the editors empty, the slots untouched.
        QFile kurz(u->pfad(QStringLiteral("kurz.QGP")));
        QVERIFY(kurz.open(QIODevice::WriteOnly));
        kurz.write("02\r\n");
        kurz.close();
        u->dialogAntwort = kurz.fileName();
        f->LadenGaer_S->click();
        QCOMPARE(u->dateiFehler.last(), QStringLiteral("Listenindex überschreitet das Maximum (1)"));
        QCOMPARE(f->P_GvTemp->Text(), QString());
        QCOMPARE(f->Liste()[1], Prog(2, 22));

        // A list file of six lines: slots 1 to 5 from the file, the others kept; names
        // cleared, editors empty, the list invalid.
        std::array<TQorGaerProg, 10> inDatei;
        for (int i = 0; i < 10; ++i)
            inDatei[size_t(i)] = Prog(i + 1, 40 + i);
        QFile liste(u->pfad(QStringLiteral("kurz.QGR")));
        QVERIFY(liste.open(QIODevice::WriteOnly));
        liste.write(ProgrammDateiText(GaerListeZeilen(inDatei).mid(0, 6)));
        liste.close();
        u->dialogAntwort = liste.fileName();
        f->LadenGaer->click();
        QCOMPARE(u->dateiFehler.last(), QStringLiteral("Listenindex überschreitet das Maximum (6)"));
        for (int i = 0; i < 10; ++i)
            QCOMPARE(f->Liste()[size_t(i)], i < 5 ? inDatei[size_t(i)] : Prog(i + 1, 20 + i + 1));
        QCOMPARE(Namen(f), QStringList(10, QStringLiteral("    --")));
        QCOMPARE(f->P_GvTemp->Text(), QString());
        QVERIFY(!f->SendenGaer->isEnabled() && !f->ListeSendenan1->isEnabled() && !f->ListeSpeichernunter1->isEnabled());

        // A folder in place of a list file: the box.
        QVERIFY(QDir(u->dir.path()).mkdir(QStringLiteral("ordner.QGR")));
        u->dialogAntwort = u->pfad(QStringLiteral("ordner.QGR"));
        f->LadenGaer->click();
        QVERIFY(u->dateiFehler.last().contains(QStringLiteral(" kann nicht geöffnet werden. ")));
        QCOMPARE(Namen(f), QStringList(10, QStringLiteral("    --")));
    }
};

QTEST_MAIN(TestGaerProg)
#include "tst_gaerprog.moc"
