#pragma once

// TProgrammEditor: what the proofing-program and the Nivorell-program editor have in common.
//
// It builds and runs:
//   - the top panel (named by the editor) with the names grid NamenListe: rows 1 to 10 for
//     slots 1 to 10, column 0 the row number, column 1 the name cell ("Programm 01", the mark
//     "** " in front after an edit, the editor's cleared name after a failed list load);
//   - the groups ListeBox and SingleBox with the eight buttons Lesen<K>, Senden<K>, Laden<K>,
//     Speichern<K> and the same with "_S" (<K> = TEditorArt::Kennung, e.g. "Gaer", "NivoR");
//   - FortschrittPanel with Gauge1, Ausblenden and Cancel ("Abbrechen");
//   - the timer TimeOut, the hidden text table SpracheBox (texts 3 and 4 make the time-out box);
//   - MainMenu1 with File1 and Bearbeiten1, and PopupMenu1 (opened by a right click on a row);
//   - the busy lock (FreigabeSetzen) with the program-wide hourglass cursor, the progress
//     (FortschrittZeigen, FortschrittMeldung), the time-out box;
//   - the requests (LesenClick, SendenClick: lock and hand "keyword TAB 00 TAB data" under
//     "BEFEHL" to the command entry the editor was made with); a program that cannot be encoded
//     is not sent (box "Programm n enthält ungültige Werte!");
//   - the received list: ListeEmpfangen keeps the text and queues ListeDekodieren;
//   - copy, paste and move of slots with their name cells;
//   - the four file handlers (LadenClick, SpeichernClick) on the program-file module.
//
// A derived editor:
//   1. passes its TEditorArt to the constructor, then builds its program group inside Panel and
//      sets SperrGruppe to it (the lock greys and disables it), fills SpracheBox, and calls
//      NeueListe() at the end of its constructor;
//   2. implements the hooks below (slots of its own record type live in the derived class);
//   3. calls FelderVerlassen() when its value editors are left (stores and marks the row);
//   4. gives the router's entry points its own names (e.g. Freigeben -> FreigabeSetzen).
// Tests replace Dateidialog (file dialogs); file failures go through DateiFehlerZeigen
// (support/uDateiDialog.h), the time-out box through ShowErr.

#include "editors/uProgrammDatei.h"
#include "support/uDateiDialog.h"

#include <QMainWindow>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QGroupBox;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

// The command entry that takes an editor's requests: topic ("BEFEHL") and request text.
using TKommandoEintrag = std::function<void(const QString &Topic, const QString &Text)>;

class TProgrammEditor : public QMainWindow
{
    Q_OBJECT
public:
    struct TEditorArt
    {
        QString Kennung;          // component names: Lesen<Kennung>, Lesen<Kennung>_S, ...
        QString PanelName;        // the top panel
        QString GeleertName;      // name cell after NamenLoeschen
        int TimeOutMs = 30000;
        QSize Client;             // client area below the menu
        QPoint NamenOrt;          // NamenListe inside the top panel
        TProgrammDateiArt EinzelDatei = TProgrammDateiArt::GaerProgramm;
        TProgrammDateiArt ListenDatei = TProgrammDateiArt::GaerListe;
        QString ListeLesen, EinzelLesen, ListeSchreiben, EinzelSchreiben;   // request keywords
    };

    // Kommando takes the requests; without one they go nowhere.
    TProgrammEditor(const TEditorArt &Art, TKommandoEintrag Kommando, QWidget *parent = nullptr);
    ~TProgrammEditor() override;

    // --- list and names ---------------------------------------------------------------------
    // Default list, names rebuilt, slot 1 shown, list valid.
    void NeueListe();
    // Names "Programm 01" .. "Programm 10" (drops all marks).
    void NamenAnzeigen();
    // Names set to the cleared name; list invalid.
    void NamenLoeschen();
    // Enables the list write and save (buttons and menu entries).
    void ListeAktiv(bool On);
    // The selected row, 1 to 10.
    int Zeile() const;
    // Makes row r (1 to 10) the selected one without running the click handler.
    void ZeileWaehlen(int r);
    QString Name(int r) const;
    void NameSetzen(int r, const QString &Name);
    // Puts "** " in front of row r's name once.
    void Markieren(int r);
    // Leave handler of the value editors: slot of the selected row := editors, row marked.
    void FelderVerlassen();
    // Click on a row: editors emptied, the row's slot shown.
    void NamenListeClick();

    // --- lock, progress, time-out -----------------------------------------------------------
    void FreigabeSetzen(bool On);
    bool Gesperrt() const { return mGesperrt; }
    // Panel shown with the gauge at Prozent; 100 stops the time-out and hides the panel.
    void FortschrittZeigen(int Prozent);
    // A progress message: restarts a running time-out, moves a shown gauge.
    void FortschrittMeldung(int Prozent);
    qint32 LetzterFortschritt() const { return mFortschritt; }
    void AusblendenClick();
    void TimeOutTimer();

    // --- requests and results ---------------------------------------------------------------
    void LesenClick(bool Liste);
    void SendenClick(bool Liste);
    // Hands "Befehl TAB 00 TAB Daten" to the command entry under "BEFEHL".
    void Anfrage(const QString &Befehl, const QString &Daten);
    // Keeps the text and queues ListeDekodieren (once while one is pending).
    void ListeEmpfangen(const QString &Text);
    // Unlock, slots from the kept text, names rebuilt, slot 1 shown, list valid.
    void ListeDekodieren();

    // --- copy, paste, move ------------------------------------------------------------------
    void KopierenClick();
    void EinfuegenClick();
    void NachObenClick();
    void NachUntenClick();

    // --- files --------------------------------------------------------------------------------
    void LadenClick(bool Liste);
    void SpeichernClick(bool Liste);

    // Stand-in for tests: the file dialogs.
    TDateiDialogErsatz Dateidialog;
    // The start folder of both dialogs, taken when the window is made.
    QString DialogOrdner;

    // Components.
    QWidget *Flaeche = nullptr;          // client area
    QWidget *Panel = nullptr;
    QGroupBox *SperrGruppe = nullptr;    // set by the derived editor
    QTableWidget *NamenListe = nullptr;
    QGroupBox *ListeBox = nullptr;
    QGroupBox *SingleBox = nullptr;
    QPushButton *LesenListe = nullptr, *SendenListe = nullptr, *LadenListe = nullptr, *SpeichernListe = nullptr;
    QPushButton *LesenEinzeln = nullptr, *SendenEinzeln = nullptr, *LadenEinzeln = nullptr, *SpeichernEinzeln = nullptr;
    QWidget *FortschrittPanel = nullptr;
    QProgressBar *Gauge1 = nullptr;
    QPushButton *Ausblenden = nullptr;
    QPushButton *Cancel = nullptr;
    QListWidget *SpracheBox = nullptr;
    QTimer *TimeOut = nullptr;
    QMenu *File1 = nullptr;
    QMenu *Bearbeiten1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *NeueListe1 = nullptr, *Listeffnen1 = nullptr, *ListeSpeichernunter1 = nullptr, *ffnen1 = nullptr,
            *Backprogrammspeichern1 = nullptr, *ListeEmpfangen1 = nullptr, *ListeSendenan1 = nullptr,
            *BPrgEmpfangen1 = nullptr, *BPrgSendenan1 = nullptr, *FensterSchlieen1 = nullptr;
    QAction *Backprogrammkopieren1 = nullptr, *Backprogrammeinfgen1 = nullptr, *Nachoben1 = nullptr,
            *Nachunten1 = nullptr;
    QAction *Kopieren1 = nullptr, *Einfgen1 = nullptr, *Nachoben2 = nullptr, *Nachunten2 = nullptr;

    // Opens PopupMenu1 at the given screen place (tests replace it).
    std::function<void(const QPoint &Ort)> PopupOeffnen;
    // Screen place of the pop-up for a right click at Maus (grid coordinates).
    QPoint PopupOrt(const QPoint &Maus) const;
    // Gives the value editors the pop-up and its Ctrl+C / Ctrl+V in place of their own.
    void PopupFuerEditor(QWidget *Editor);

protected:
    // --- hooks of the derived editor ------------------------------------------------------
    virtual void StandardListeSetzen() = 0;                      // default programs, Nr 1..10
    virtual void FelderLoeschen() = 0;                           // value editors emptied
    virtual void SlotAnzeigen(int r) = 0;                        // ProgrammAnzeigen(slot r)
    virtual void FelderInSlot(int r) = 0;                        // slot r := program from the editors
    virtual QString FelderRecord() = 0;                          // wire text of the editors' program
    virtual QStringList SlotRecords() const = 0;                 // wire texts of slots 1..10
    virtual void ListeAusText(const QString &Text) = 0;          // a received list, by position
    virtual void ListenZeileSetzen(int r, const QString &Zeile) = 0;   // slot r from a file line
    virtual void EinzelZeileAnzeigen(const QString &Zeile) = 0;  // decode and ProgrammAnzeigen
    virtual void SlotsTauschen(int a, int b) = 0;                // swap, each numbered by its row
    virtual void AblageKopieren(int r) = 0;
    virtual bool AblageLeer() const = 0;
    virtual void AblageEinfuegen(int r) = 0;                     // slot r := buffer with Nr r
    virtual void AbbrechenClick() = 0;                           // "Abbrechen"

    bool eventFilter(QObject *Objekt, QEvent *Ereignis) override;
    void closeEvent(QCloseEvent *Ereignis) override;

    TEditorArt mArt;

private:
    QPushButton *Knopf(QWidget *Eltern, const QString &Name, const QString &Text, int x);
    // False with the box "Programm n enthält ungültige Werte!" + Folge when a program of
    // Records could not be encoded (empty text).
    bool RecordsGueltig(const QStringList &Records, bool Liste, const QString &Folge);
    void Verschieben(int Von, int Nach);

    TKommandoEintrag mKommando;
    bool mGesperrt = false;
    bool mEigeneSanduhr = false;
    QString mEmpfang;
    bool mDekodierenAusstehend = false;
    QString mAblageName;
    qint32 mFortschritt = -1;
    bool mZeileSetzen = false;
};

// The program-wide hourglass: on sets it, off restores the normal cursor whoever set it.
void ProgrammSanduhr(bool On);
