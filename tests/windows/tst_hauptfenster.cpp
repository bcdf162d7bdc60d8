// The main window: creation, port list and port test, address, settings, keys, shutdown.

#include "ptyfenster_umgebung.h"

#include "controller/ComPort.h"
#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uAbout.h"
#include "windows/uQuorvel.h"

#include <QMessageBox>
#include <QPointer>
#include <QApplication>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPoint>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QtTest>

class TestHauptfenster : public QObject
{
    Q_OBJECT
    std::unique_ptr<Hauptfensterumgebung> u;

    static QStringList Eintraege(const QComboBox *box)
    {
        QStringList l;
        for (int i = 0; i < box->count(); ++i)
            l << box->itemText(i);
        return l;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { u = std::make_unique<Hauptfensterumgebung>(); }
    void cleanup() { u.reset(); }

    void serviceWort_data()
    {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<bool>("erwartet");
        QTest::newRow("keine") << QStringList() << false;
        QTest::newRow("gross") << QStringList{QStringLiteral("VOXIM")} << true;
        QTest::newRow("klein") << QStringList{QStringLiteral("voxim")} << true;
        QTest::newRow("gemischt") << QStringList{QStringLiteral("vOxIm")} << true;
        QTest::newRow("eines von mehreren")
            << QStringList{QStringLiteral("-x"), QStringLiteral("datei"), QStringLiteral("Voxim")} << true;
        QTest::newRow("teil eines wortes") << QStringList{QStringLiteral("voxim2")} << false;
        QTest::newRow("mit vorsatz") << QStringList{QStringLiteral("/voxim")} << false;
        QTest::newRow("mit blank") << QStringList{QStringLiteral(" voxim")} << false;
        // Only a..z are raised: the dotless i does not become I.
        QTest::newRow("punktloses i") << QStringList{QStringLiteral("vox\u0131m")} << false;
        QTest::newRow("I mit punkt") << QStringList{QStringLiteral("VOX\u0130M")} << false;
    }
    void serviceWort()
    {
        QFETCH(QStringList, argumente);
        QFETCH(bool, erwartet);
        QCOMPARE(TwMiniQuorvel::ServiceWortGefunden(argumente), erwartet);
    }

    void startZustand()
    {
        TwMiniQuorvel *f = u->erzeugen();
        QCOMPARE(f->windowTitle(), QStringLiteral("MiniQuorvel"));
        QCOMPARE(P().ModulName, QStringLiteral("MiniQuorvel"));
        QCOMPARE(f->size() - QSize(0, f->menuBar()->sizeHint().height()), QSize(671, 732));
        QVERIFY(!P().ServiceModus);
        QVERIFY(!P().Beenden);
        QVERIFY(!P().Wartet);
        QVERIFY(P().AktuellerBefehl);
        QVERIFY(f->DebugPanel->isHidden());
        QVERIFY(f->AlleStatusPollen->isChecked());
        QVERIFY(f->Tracking->isChecked());
        QVERIFY(!f->MitEchoRS485->isChecked());
        QCOMPARE(f->QuorvelAdrEdit->text(), QStringLiteral("0600"));
        QCOMPARE(f->LBError->count(), 1);
        QVERIFY(f->FortschrittPanel->isHidden());
        QCOMPARE(f->FortschrittPanel->pos(), QPoint(96, 80));
        QVERIFY(f->Engine()->TimerHerz->isActive());
        QVERIFY(f->Engine()->StatusTimer->isActive());
        QVERIFY(!f->CheckTimer->isActive());
        QCOMPARE(f->CheckTimer->interval(), 10000);
        QVERIFY(f->UhrTimer->isActive());
        QCOMPARE(f->UhrTimer->interval(), 500);
        QVERIFY(!f->EndeTimer->isActive());
        QCOMPARE(f->EndeTimer->interval(), 200);
        QVERIFY(f->BefehlsFenster());
        QVERIFY(f->BefehlsFenster()->isHidden());
        QCOMPARE(f->Info2->text(), QStringLiteral("Info"));
        QVERIFY(f->Uhrzeit->layout() && f->WochenProgramme->layout());
        QVERIFY(f->Status->isAncestorOf(f->AnzStoer_E));
        QVERIFY(f->Uhrzeit->isAncestorOf(f->PCZeit) && f->Uhrzeit->isAncestorOf(f->DateEdit_E));
        QVERIFY(f->Fensterpanel->isAncestorOf(f->LBout));
        // The port is closed after its test; COM1 is no serial port here, so only the log says so.
        QVERIFY(!f->Port()->Open());
        QVERIFY(u->boxen.isEmpty());
        QVERIFY(u->fehlerLog().contains(QStringLiteral("Schnittstelle bei Programmstart nicht bereit!")));
    }

    void komponentenNamen()
    {
        TwMiniQuorvel *f = u->erzeugen();
        const char *namen[] = {"VezuvodBox", "ComBox", "ComportBox", "MitEchoRS485", "QuorvelBox", "QuorvelAdrEdit",
                               "TabControl1", "Uhrzeit", "WochenProgramme", "Status", "OpenNivorell", "OpenGaerProg",
                               "FortschrittPanel", "Gauge1", "Cancel", "Fensterpanel", "Befehl_Box", "AntwortBox",
                               "FehlerBox", "LBout", "LBIn", "LBError", "FAktSplitter", "DDESplitter", "Panel1",
                               "AnzeigenLoeschen", "Tracking", "LastAnswer", "LastError", "DebugPanel", "OfenShow",
                               "NewIniReadBtn", "AlleStatusPollen", "StatusBar1", "MainMenu1", "Info2", "CheckTimer",
                               "UhrTimer", "EndeTimer", "PCZeit", "DateEdit_E", "IstT_E", "SollT_E", "IstF_E",
                               "SollF_E", "AktBetr_E", "AktUBetr_E", "ProgNr_E", "DrehVerd_E", "AnzStoer_E",
                               "TimerHerz", "StatusTimer", "TimeOut1", "TimeOut2", "ComWaitTimer", "ComPort"};
        for (const char *n : namen)
            QVERIFY2(f->findChild<QObject *>(QString::fromLatin1(n)), n);
        const QStringList texte = {"Störung", "Licht", "Rahmenheizung", "Schockklap. auf", "Schockklap. zu",
                                   "Heizen 1", "Befeuchten", "Heizen 2", "Kompressor A", "Verdampferlüfter",
                                   "Kompressor B", "Heizen 3", "Entfeuchten", "Modem", "Endzeit erreicht",
                                   "Schocken", "Backofen Start", "Mag.vent.Kühl"};
        for (int i = 0; i < 18; ++i) {
            QCheckBox *box = f->findChild<QCheckBox *>(QStringLiteral("CheckBox%1").arg(i));
            QVERIFY(box);
            QCOMPARE(f->Relais[size_t(i)], box);
            QCOMPARE(box->text(), texte[i]);
        }
        QCOMPARE(f->Status->title(), QStringLiteral("Status  "));
        QCOMPARE(f->WochenProgramme->title(), QStringLiteral("Wochen-Programme"));
        QCOMPARE(f->OpenGaerProg->text(), QStringLiteral("Gär-Programme"));
        QCOMPARE(f->LastAnswer->text(), QStringLiteral("LastAnswer"));
    }

    // The list holds the COM names that exist, in order; the text follows the rules of the list.
    void portListe_data()
    {
        QTest::addColumn<QString>("vorher");
        QTest::addColumn<QString>("nachher");
        QTest::newRow("entwurfstext") << QStringLiteral("ComPort") << QStringLiteral("COM1");
        QTest::newRow("klein com") << QStringLiteral("com5") << QStringLiteral("COM1");
        QTest::newRow("vorhanden") << QStringLiteral("COM5") << QStringLiteral("COM5");
        QTest::newRow("nicht vorhanden") << QStringLiteral("COM77(USB)") << QStringLiteral("COM77(USB)");
        QTest::newRow("leer") << QString() << QStringLiteral("COM1");
    }
    void portListe()
    {
        QFETCH(QString, vorher);
        QFETCH(QString, nachher);
        QVERIFY(u->portLink(5, QStringLiteral("/dev/null")));
        QVERIFY(u->portLink(100, QStringLiteral("/dev/null")));
        QVERIFY(u->portLink(120, u->prog() + QStringLiteral("nirgends")));   // dangling
        TwMiniQuorvel *f = u->erzeugen();
        f->ComportBox->setEditText(vorher);
        const int portDanach = f->Port()->ComNumber();
        f->PortListeFuellen();
        const QStringList l = Eintraege(f->ComportBox);
        QVERIFY(l.contains(QStringLiteral("COM1")));
        QVERIFY(l.contains(QStringLiteral("COM5")));
        QVERIFY(l.contains(QStringLiteral("COM100")));
        QVERIFY(!l.contains(QStringLiteral("COM120")));
        QVERIFY(l.indexOf(QStringLiteral("COM1")) < l.indexOf(QStringLiteral("COM5")));
        QVERIFY(l.indexOf(QStringLiteral("COM5")) < l.indexOf(QStringLiteral("COM100")));
        QCOMPARE(f->ComportBox->currentText(), nachher);
        // The open list marks the port the text names (none when it is not listed).
        QCOMPARE(f->ComportBox->currentIndex(), l.indexOf(nachher));
        // Filling the list is no port choice.
        QCOMPARE(f->Port()->ComNumber(), portDanach);
    }

    // A stored port is the one the list marks at start.
    void gespeicherterPortMarkiert()
    {
        QVERIFY(u->portLink(5, QStringLiteral("/dev/null")));
        u->einstellungSetzen(QStringLiteral("COMPORT"), QStringLiteral("COM5"));
        TwMiniQuorvel *f = u->erzeugen();
        QCOMPARE(f->ComportBox->currentText(), QStringLiteral("COM5"));
        QCOMPARE(f->ComportBox->currentIndex(), f->ComportBox->findText(QStringLiteral("COM5")));
        QVERIFY(f->ComportBox->currentIndex() > 0);
        QCOMPARE(f->Port()->ComNumber(), 5);
    }

    // Choosing a port while another is open: the old one is closed, the chosen one opened and
    // closed as a test, and a port that cannot be opened gets the box, picked or typed.
    void portWechselPrueft_data()
    {
        QTest::addColumn<bool>("ausListe");
        QTest::addColumn<int>("nummer");
        QTest::addColumn<bool>("fehler");
        QTest::newRow("picked, unusable") << true << 1 << true;
        QTest::newRow("typed, unusable") << false << 1 << true;
        QTest::newRow("picked, usable") << true << 8 << false;
        QTest::newRow("typed, usable") << false << 8 << false;
    }
    void portWechselPrueft()
    {
        QFETCH(bool, ausListe);
        QFETCH(int, nummer);
        QFETCH(bool, fehler);
        u.reset();
        PtyFensterumgebung pu(7);
        QVERIFY2(pu.leitung.laeuft(), qPrintable(pu.leitung.fehler()));
        PtyLeitung zweite(pu.prog(), 8);
        QVERIFY2(zweite.laeuft(), qPrintable(zweite.fehler()));
        TwMiniQuorvel *f = pu.anschliessen();
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->PortListeFuellen();
        // The port is in use: a command went out and was answered.
        f->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("FWR\t00\t"));
        QVERIFY(QTest::qWaitFor([&] { return f->LBIn->count() >= 2 && !P().Wartet; }, 5000));
        QVERIFY(f->Port()->Open());

        const QString name = QStringLiteral("COM%1").arg(nummer);
        if (ausListe) {
            const int i = f->ComportBox->findText(name);
            QVERIFY(i >= 0);
            f->ComportBox->setCurrentIndex(i);
        } else {
            f->ComportBox->setEditText(name);
        }
        QCOMPARE(f->Port()->ComNumber(), nummer);
        QVERIFY(!f->Port()->Open());
        if (fehler) {
            QCOMPARE(pu.boxen.size(), 1);
            QCOMPARE(pu.boxen[0].first, QStringLiteral("COM-ERROR!"));
            QCOMPARE(pu.boxen[0].second, QStringLiteral("Comport COM%1 kann nicht geöffnet werden!\n"
                                                        "bitte andere Schnittstelle wählen!").arg(nummer));
        } else {
            QVERIFY(pu.boxen.isEmpty());
        }
        pu.fenster.reset();
    }

    void portNummerAusText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("nummer");
        QTest::newRow("COM12(USB)") << QStringLiteral("COM12(USB)") << 12;
        QTest::newRow("COM12 (USB)") << QStringLiteral("COM12 (USB)") << 1;
        QTest::newRow("COM3") << QStringLiteral("COM3") << 3;
        QTest::newRow("12") << QStringLiteral("12") << 1;
        QTest::newRow("COMx") << QStringLiteral("COMx") << 1;
        QTest::newRow("ComPort") << QStringLiteral("ComPort") << 1;
        QTest::newRow("XYZ7") << QStringLiteral("XYZ7") << 7;
        QTest::newRow("leer") << QString() << 1;
    }
    void portNummerAusText()
    {
        QFETCH(QString, text);
        QFETCH(int, nummer);
        for (int n : {3, 7, 12})
            QVERIFY(u->portLink(n, QStringLiteral("/dev/null")));
        TwMiniQuorvel *f = u->erzeugen();
        f->Port()->setComNumber(99);
        f->ComportBox->setEditText(text);
        // An empty text set twice fires no change: run the handler as the form does.
        f->ComportBoxChange();
        QCOMPARE(f->Port()->ComNumber(), nummer);
        QCOMPARE(f->Port()->Baud(), 9600);
        QVERIFY(!f->Port()->Open());
    }

    // The port test: the box only while the window is visible, the log line always.
    void portTestFehler_data()
    {
        QTest::addColumn<bool>("sichtbar");
        QTest::newRow("sichtbar") << true;
        QTest::newRow("unsichtbar") << false;
    }
    void portTestFehler()
    {
        QFETCH(bool, sichtbar);
        QVERIFY(u->portLink(9, QStringLiteral("/dev/null")));
        TwMiniQuorvel *f = u->erzeugen();
        if (sichtbar) {
            f->show();
            QVERIFY(QTest::qWaitForWindowExposed(f));
        }
        QFile::remove(LogVerzeichnis(QDate::currentDate()) + QStringLiteral("MiniQuorvel.err"));
        f->ComportBox->setEditText(QStringLiteral("COM9"));
        QCOMPARE(f->Port()->ComNumber(), 9);
        QVERIFY(!f->Port()->Open());
        if (sichtbar) {
            QCOMPARE(u->boxen.size(), 1);
            QCOMPARE(u->boxen[0].first, QStringLiteral("COM-ERROR!"));
            QCOMPARE(u->boxen[0].second,
                     QStringLiteral("Comport COM9 kann nicht geöffnet werden!\nbitte andere Schnittstelle wählen!"));
        } else {
            QVERIFY(u->boxen.isEmpty());
        }
        QCOMPARE(u->fehlerLog().count(QStringLiteral("Schnittstelle bei Programmstart nicht bereit!")), 1);
    }

    // A port that works: no box, closed after the test, also when it was open before.
    void portTestGut()
    {
        QuorvelSimulator sim(QStringLiteral("0600"));
        PtySimulator pty(&sim);
        QVERIFY2(pty.starten(u->prog(), 4), qPrintable(pty.fehler()));
        TwMiniQuorvel *f = u->erzeugen();
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->ComportBox->setEditText(QStringLiteral("COM4"));
        QVERIFY(u->boxen.isEmpty());
        QCOMPARE(f->Port()->ComNumber(), 4);
        QVERIFY(!f->Port()->Open());
        f->Port()->setOpen(true);
        QVERIFY(f->Port()->Open());
        f->ComportBox->setEditText(QStringLiteral("COM4(pty)"));
        QVERIFY(u->boxen.isEmpty());
        QVERIFY(!f->Port()->Open());
    }

    void adresseGueltig_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("wert");
        QTest::newRow("0000") << QStringLiteral("0000") << -1;
        QTest::newRow("FFFF") << QStringLiteral("FFFF") << 65535;
        QTest::newRow("0600") << QStringLiteral("0600") << 0x600;
        QTest::newRow("0a00") << QStringLiteral("0a00") << -1;
        QTest::newRow("0001") << QStringLiteral("0001") << 1;
        QTest::newRow("leer") << QString() << -1;
        QTest::newRow("10000") << QStringLiteral("10000") << -1;
        QTest::newRow("06G0") << QStringLiteral("06G0") << -1;
    }
    void adresseGueltig()
    {
        QFETCH(QString, text);
        QFETCH(int, wert);
        QCOMPARE(TwMiniQuorvel::AdresseGueltig(text), wert);
    }

    // Leaving the field: an incomplete address is refused by the mask, a complete invalid one
    // gets the ERROR box; the text stays as typed and the engine uses it.
    void adresseVerlassen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("geaendert");
        QTest::addColumn<int>("grund");
        QTest::addColumn<QString>("box");
        const int tab = Qt::TabFocusReason;
        QTest::newRow("gueltig") << QStringLiteral("0601") << true << tab << QString();
        QTest::newRow("0000") << QStringLiteral("0000") << true << tab << QStringLiteral("ERROR");
        QTest::newRow("klein") << QStringLiteral("0a00") << true << tab << QStringLiteral("ERROR");
        QTest::newRow("unvollstaendig") << QStringLiteral("06") << true << tab << QStringLiteral("maske");
        QTest::newRow("unvollstaendig, nicht bearbeitet") << QStringLiteral("06") << false << tab << QString();
        QTest::newRow("anderes fenster") << QStringLiteral("0000") << true << int(Qt::ActiveWindowFocusReason)
                                         << QString();
        QTest::newRow("maus") << QStringLiteral("FFFF") << true << int(Qt::MouseFocusReason) << QString();
    }
    void adresseVerlassen()
    {
        QFETCH(QString, text);
        QFETCH(bool, geaendert);
        QFETCH(int, grund);
        QFETCH(QString, box);
        TwMiniQuorvel *f = u->erzeugen();
        f->QuorvelAdrEdit->setText(text);
        f->QuorvelAdrEdit->setModified(geaendert);
        QFocusEvent aus(QEvent::FocusOut, Qt::FocusReason(grund));
        QApplication::sendEvent(f->QuorvelAdrEdit, &aus);
        if (box.isEmpty()) {
            QVERIFY(u->boxen.isEmpty());
        } else {
            QCOMPARE(u->boxen.size(), 1);
            if (box == QLatin1String("ERROR")) {
                QCOMPARE(u->boxen[0].first, QStringLiteral("ERROR"));
                QCOMPARE(u->boxen[0].second, QStringLiteral("Bitte eine gültige Quorvel-Adresse eintragen"));
            } else {
                QVERIFY(u->boxen[0].first != QStringLiteral("ERROR"));
            }
        }
        QCOMPARE(f->QuorvelAdrEdit->text(), text);
        QCOMPARE(f->Engine()->Adresse(), text);
    }

    void adresseMaske()
    {
        TwMiniQuorvel *f = u->erzeugen();
        f->QuorvelAdrEdit->clear();
        QTest::keyClicks(f->QuorvelAdrEdit, QStringLiteral("0a0b7"));
        QCOMPARE(f->QuorvelAdrEdit->text(), QStringLiteral("0a0b"));
        QVERIFY(f->QuorvelAdrEdit->hasAcceptableInput());
    }

    // The mask's message says Esc undoes the edit: Esc brings back the address the field
    // held before, and the engine uses it again.
    void adresseEsc()
    {
        TwMiniQuorvel *f = u->erzeugen();
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->QuorvelAdrEdit->setFocus(Qt::TabFocusReason);
        QVERIFY(QTest::qWaitFor([&] { return f->QuorvelAdrEdit->hasFocus(); }, 2000));
        f->QuorvelAdrEdit->selectAll();
        QTest::keyClicks(f->QuorvelAdrEdit, QStringLiteral("06"));
        QTest::keyClick(f->QuorvelAdrEdit, Qt::Key_Delete);
        QTest::keyClick(f->QuorvelAdrEdit, Qt::Key_Delete);
        QCOMPARE(f->QuorvelAdrEdit->text(), QStringLiteral("06"));
        QVERIFY(!f->QuorvelAdrEdit->hasAcceptableInput());
        // Leaving: the mask refuses and keeps the focus.
        f->MitEchoRS485->setFocus(Qt::TabFocusReason);
        QCOMPARE(u->boxen.size(), 1);
        QVERIFY(u->boxen[0].second.contains(QStringLiteral("Esc-Taste")));
        QVERIFY(QTest::qWaitFor([&] { return f->QuorvelAdrEdit->hasFocus(); }, 2000));
        QTest::keyClick(f->QuorvelAdrEdit, Qt::Key_Escape);
        QCOMPARE(f->QuorvelAdrEdit->text(), QStringLiteral("0600"));
        QCOMPARE(f->Engine()->Adresse(), QStringLiteral("0600"));
        // Now the field can be left without a message.
        f->MitEchoRS485->setFocus(Qt::TabFocusReason);
        QCOMPARE(u->boxen.size(), 1);

        // A completed valid edit is what Esc brings back next time.
        f->QuorvelAdrEdit->setFocus(Qt::TabFocusReason);
        f->QuorvelAdrEdit->selectAll();
        QTest::keyClicks(f->QuorvelAdrEdit, QStringLiteral("0701"));
        f->MitEchoRS485->setFocus(Qt::TabFocusReason);
        f->QuorvelAdrEdit->setFocus(Qt::TabFocusReason);
        f->QuorvelAdrEdit->selectAll();
        QTest::keyClicks(f->QuorvelAdrEdit, QStringLiteral("9"));
        QTest::keyClick(f->QuorvelAdrEdit, Qt::Key_Escape);
        QCOMPARE(f->QuorvelAdrEdit->text(), QStringLiteral("0701"));
        QCOMPARE(u->boxen.size(), 1);
    }

    void serviceTaste_data()
    {
        QTest::addColumn<int>("modifikatoren");
        QTest::addColumn<int>("taste");
        QTest::addColumn<bool>("imFeld");
        QTest::addColumn<bool>("sichtbar");
        const int alle = int(Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
        QTest::newRow("strg umschalt alt D") << alle << int(Qt::Key_D) << false << true;
        QTest::newRow("im adressfeld") << alle << int(Qt::Key_D) << true << true;
        QTest::newRow("mit ziffernblock") << (alle | int(Qt::KeypadModifier)) << int(Qt::Key_D) << false << true;
        QTest::newRow("strg alt D") << int(Qt::ControlModifier | Qt::AltModifier) << int(Qt::Key_D) << false << false;
        QTest::newRow("strg umschalt D") << int(Qt::ControlModifier | Qt::ShiftModifier) << int(Qt::Key_D) << true
                                         << false;
        QTest::newRow("andere taste") << alle << int(Qt::Key_E) << false << false;
    }
    void serviceTaste()
    {
        QFETCH(int, modifikatoren);
        QFETCH(int, taste);
        QFETCH(bool, imFeld);
        QFETCH(bool, sichtbar);
        TwMiniQuorvel *f = u->erzeugen();
        QWidget *ziel = imFeld ? static_cast<QWidget *>(f->QuorvelAdrEdit) : static_cast<QWidget *>(f);
        QTest::keyClick(ziel, Qt::Key(taste), Qt::KeyboardModifiers(modifikatoren));
        QCOMPARE(!f->DebugPanel->isHidden(), sichtbar);
        // Pressed again: back to hidden.
        QTest::keyClick(ziel, Qt::Key(taste), Qt::KeyboardModifiers(modifikatoren));
        QVERIFY(f->DebugPanel->isHidden());
        QCOMPARE(f->QuorvelAdrEdit->text(), QStringLiteral("0600"));
    }

    // ---- settings ----

    void einstellungenGeladen()
    {
        QVERIFY(u->portLink(5, QStringLiteral("/dev/null")));
        u->einstellungSetzen(QStringLiteral("COMPORT"), QStringLiteral("COM5"));
        u->einstellungSetzen(QStringLiteral("QorAdresse"), QStringLiteral("0A01"));
        u->einstellungSetzen(QStringLiteral("PrgVerzeichnis"), QStringLiteral("/daten/backprogramme"));
        u->einstellungSetzen(QStringLiteral("Echo"), 1);
        TwMiniQuorvel *f = u->erzeugen();
        QCOMPARE(f->ComportBox->currentText(), QStringLiteral("COM5"));
        QCOMPARE(f->Port()->ComNumber(), 5);
        QCOMPARE(f->QuorvelAdrEdit->text(), QStringLiteral("0A01"));
        QCOMPARE(f->Engine()->Adresse(), QStringLiteral("0A01"));
        QCOMPARE(P().BackprogrammeQuorvel, QStringLiteral("/daten/backprogramme"));
        QVERIFY(f->MitEchoRS485->isChecked());
        QVERIFY(f->Engine()->MitEchoRS485());
    }

    // A stored port that no longer exists: the text stays, the test fails with the log line only.
    void gespeicherterPortFehlt()
    {
        u->einstellungSetzen(QStringLiteral("COMPORT"), QStringLiteral("COM111"));
        TwMiniQuorvel *f = u->erzeugen();
        QCOMPARE(f->ComportBox->currentText(), QStringLiteral("COM111"));
        QVERIFY(!Eintraege(f->ComportBox).contains(QStringLiteral("COM111")));
        QCOMPARE(f->Port()->ComNumber(), 111);
        QVERIFY(u->boxen.isEmpty());
        QVERIFY(u->fehlerLog().contains(QStringLiteral("Schnittstelle bei Programmstart nicht bereit!")));
    }

    void einstellungenFehlen()
    {
        TwMiniQuorvel *f = u->erzeugen();
        QCOMPARE(f->ComportBox->currentText(), QStringLiteral("COM1"));
        QCOMPARE(f->Port()->ComNumber(), 1);
        QCOMPARE(f->QuorvelAdrEdit->text(), QStringLiteral("0600"));
        QCOMPARE(P().BackprogrammeQuorvel, u->prog() + QStringLiteral("Backprogramme/Quorvel"));
        QVERIFY(!f->MitEchoRS485->isChecked());
    }

    // A value of another type is skipped, the others are read.
    void einstellungFalscherTyp_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("wert");
        QTest::newRow("COMPORT liste") << QStringLiteral("COMPORT") << QVariant(QStringList{"COM5", "COM6"});
        QTest::newRow("COMPORT punkt") << QStringLiteral("COMPORT") << QVariant(QPoint(5, 6));
        QTest::newRow("QorAdresse bytes") << QStringLiteral("QorAdresse") << QVariant(QByteArray("\x01\x02", 2));
        QTest::newRow("PrgVerzeichnis liste") << QStringLiteral("PrgVerzeichnis") << QVariant(QStringList{"a", "b"});
        QTest::newRow("Echo text") << QStringLiteral("Echo") << QVariant(QStringLiteral("ja"));
        QTest::newRow("Echo liste") << QStringLiteral("Echo") << QVariant(QStringList{"1", "1"});
    }
    void einstellungFalscherTyp()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, wert);
        const QVariantMap gut = {{QStringLiteral("COMPORT"), QStringLiteral("COM77")},
                                 {QStringLiteral("QorAdresse"), QStringLiteral("0B00")},
                                 {QStringLiteral("PrgVerzeichnis"), QStringLiteral("/gut")},
                                 {QStringLiteral("Echo"), 1}};
        for (auto it = gut.begin(); it != gut.end(); ++it)
            u->einstellungSetzen(it.key(), it.key() == key ? wert : it.value());
        TwMiniQuorvel *f = u->erzeugen();
        QCOMPARE(f->ComportBox->currentText(), key == QLatin1String("COMPORT") ? QStringLiteral("COM1") : QStringLiteral("COM77"));
        QCOMPARE(f->QuorvelAdrEdit->text(), key == QLatin1String("QorAdresse") ? QStringLiteral("0600") : QStringLiteral("0B00"));
        QCOMPARE(P().BackprogrammeQuorvel, key == QLatin1String("PrgVerzeichnis")
                                               ? u->prog() + QStringLiteral("Backprogramme/Quorvel")
                                               : QStringLiteral("/gut"));
        QCOMPARE(f->MitEchoRS485->isChecked(), key != QLatin1String("Echo"));
    }

    // All four values are written at close, also unchanged ones; Echo as the integer 0 or 1.
    void einstellungenBeimSchliessen_data()
    {
        QTest::addColumn<bool>("echo");
        QTest::newRow("ohne echo") << false;
        QTest::newRow("mit echo") << true;
    }
    void einstellungenBeimSchliessen()
    {
        QFETCH(bool, echo);
        u->einstellungSetzen(QStringLiteral("QorAdresse"), QStringLiteral("0700"));
        u->einstellungSetzen(QStringLiteral("Echo"), echo ? 1 : 0);
        TwMiniQuorvel *f = u->erzeugen();
        QVERIFY(QFile::remove(u->einstellungsDatei()));
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QVERIFY(f->close());
        QCOMPARE(u->einstellung(QStringLiteral("COMPORT")).toString(), QStringLiteral("COM1"));
        QCOMPARE(u->einstellung(QStringLiteral("QorAdresse")).toString(), QStringLiteral("0700"));
        QCOMPARE(u->einstellung(QStringLiteral("PrgVerzeichnis")).toString(),
                 u->prog() + QStringLiteral("Backprogramme/Quorvel"));
        const QByteArray text = u->einstellungsText();
        QVERIFY2(text.contains(echo ? "Echo=1" : "Echo=0"), text.constData());
        QVERIFY(!text.contains("true") && !text.contains("false"));
    }

    // ---- shutdown ----

    void schliessen()
    {
        QuorvelSimulator sim(QStringLiteral("0600"));
        PtySimulator pty(&sim);
        QVERIFY2(pty.starten(u->prog(), 4), qPrintable(pty.fehler()));
        u->einstellungSetzen(QStringLiteral("COMPORT"), QStringLiteral("COM4"));
        TwMiniQuorvel *f = u->erzeugen();
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->Port()->setOpen(true);
        QVERIFY(f->Port()->Open());
        f->MitEchoRS485->setChecked(true);

        QVERIFY(f->close());
        QVERIFY(!f->isVisible());
        QVERIFY(P().Beenden);
        QVERIFY(!f->Engine()->TimerHerz->isActive());
        QVERIFY(f->EndeTimer->isActive());
        QVERIFY(!f->Port()->Open());
        QCOMPARE(u->einstellung(QStringLiteral("COMPORT")).toString(), QStringLiteral("COM4"));
        QCOMPARE(u->einstellung(QStringLiteral("Echo")).toInt(), 1);
        QVERIFY(u->boxen.isEmpty());
        QVERIFY(!u->fehlerLog().contains(QStringLiteral("PacketCloseError")));

        // While closing no command runs; the later close requests find the window closed.
        sim.frameLogLoeschen();
        f->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("PST\t00\t"));
        QTest::qWait(400);
        QVERIFY(sim.empfangeneFrames().isEmpty());
        QTRY_VERIFY(!f->EndeTimer->isActive());
        QVERIFY(!f->isVisible());
    }

    void schliessAnfrage()
    {
        TwMiniQuorvel *f = u->erzeugen();
        f->Engine()->TimerHerz->stop();
        QVERIFY(f->FormCloseQuery());
        QVERIFY(P().Beenden);
        QVERIFY(f->Engine()->TimerHerz->isActive());
    }

    // The store cannot be written: the real modal message, and the window stays there and
    // usable while the heartbeat and the status timer tick behind the box; once the store can
    // be written a close ends it.
    void schliessenOhneEinstellungen()
    {
        TwMiniQuorvel::ModaleBox = nullptr;
        TwMiniQuorvel *f = u->erzeugen();
        const QPointer<TwMiniQuorvel> fenster(f);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QFile sperre(u->dir.path() + QStringLiteral("/datei"));
        QVERIFY(sperre.open(QIODevice::WriteOnly));
        sperre.close();
        u->einstellungenNach(sperre.fileName() + QStringLiteral("/unter"));

        QString titel, text;
        int boxen = 0;
        std::function<void()> beantworten = [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal) {
                QTimer::singleShot(20, this, beantworten);
                return;
            }
            auto *box = qobject_cast<QMessageBox *>(modal);
            ++boxen;
            if (box) {
                titel = box->windowTitle();
                text = box->text();
            }
            // The timers run behind the open box for a while before it is answered.
            QTimer::singleShot(1500, modal, [modal] {
                if (auto *b = qobject_cast<QMessageBox *>(modal))
                    b->button(QMessageBox::Ok)->click();
                else
                    modal->close();
            });
        };
        QTimer::singleShot(0, this, beantworten);
        QVERIFY(!f->close());
        QCOMPARE(boxen, 1);
        QCOMPARE(titel, QCoreApplication::applicationName());
        QCOMPARE(text, QStringLiteral("Fehler beim Schreiben der Einstellungen (ZIR\\MiniQuorvel)"));

        // After OK: the window is there and usable, and no second box follows.
        QTest::qWait(1000);
        QVERIFY(fenster);
        QVERIFY(f->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(boxen, 1);
        QVERIFY(!P().Beenden);
        QVERIFY(!f->EndeTimer->isActive());
        QVERIFY(f->WochenProgramme->isEnabled());
        f->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("WPR\t00\t"));
        // The heartbeat takes commands again.
        QVERIFY(QTest::qWaitFor([&] { return P().AktuellerBefehl && P().AktuellerBefehl->Name == Q_WochPrgRd.Name; }, 3000));

        u->einstellungenNach(u->dir.path() + QStringLiteral("/zweiter"));
        QVERIFY(f->close());
        QVERIFY(!f->isVisible());
        QCOMPARE(u->einstellung(QStringLiteral("QorAdresse")).toString(), QStringLiteral("0600"));
    }

    // ---- buttons and menu ----

    void fensterKnoepfe()
    {
        TwMiniQuorvel *f = u->erzeugen();
        const auto sichtbar = [] {
            QWidgetList l;
            for (QWidget *w : QApplication::topLevelWidgets())
                if (w->isVisible())
                    l << w;
            return l;
        };
        // Without the editors the buttons do nothing: no window appears.
        QVERIFY(sichtbar().isEmpty());
        f->OpenGaerProg->click();
        f->OpenNivorell->click();
        QVERIFY(sichtbar().isEmpty());
        TwQuorvelGaerProg gaer;
        TwQuorvelNivorell nivorell;
        QVERIFY(gaer.isHidden() && nivorell.isHidden());
        f->OpenGaerProg->click();
        QVERIFY(gaer.isVisible());
        QVERIFY(nivorell.isHidden());
        f->OpenNivorell->click();
        QVERIFY(nivorell.isVisible());

        f->OfenShow->click();
        QVERIFY(f->BefehlsFenster()->isVisible());
    }

    void neuIniLesen()
    {
        TwMiniQuorvel *f = u->erzeugen();
        P().ShowTextTime = -5;
        P().MaxGroesseErr = -5;
        f->NewIniReadBtn->click();
        QCOMPARE(P().ShowTextTime, GetShowTextTime());
        QCOMPARE(P().ShowErrTime, GetShowErrTime());
        QCOMPARE(P().MaxGroesseErr, GetMaxGroesseErr());
        QCOMPARE(P().TCPWinPort, GetTCPWinPort());
        QCOMPARE(P().TCPServerTimeOut, GetTCPServerTimeOut());
        QVERIFY(QFile::exists(P().ServerIniDatei));
    }

    void infoBox()
    {
        TwMiniQuorvel *f = u->erzeugen();
        f->Info2->trigger();   // no about box: nothing
        TAboutBox box;
        P().AboutBox = &box;
        bool modal = false;
        QTimer::singleShot(0, this, [&] {
            modal = QApplication::activeModalWidget() == &box;
            box.reject();
        });
        f->Info2->trigger();
        P().AboutBox = nullptr;
        QVERIFY(modal);
    }
};

QTEST_MAIN(TestHauptfenster)
#include "tst_hauptfenster.moc"
