#pragma once

// The main window: it holds the serial port, the command engine with its timers, the address
// field, the echo option and the traffic lists, and it owns the service window.

#include "support/uDateiDialog.h"

#include <QDateTime>
#include <QLocale>
#include <QMainWindow>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class ComPort;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTimer;
class QuorvelEngine;
class TwQuorvel;

class TwMiniQuorvel : public QMainWindow
{
    Q_OBJECT
public:
    explicit TwMiniQuorvel(QWidget *parent = nullptr);
    ~TwMiniQuorvel() override;

    QuorvelEngine *Engine() const { return mEngine; }
    ComPort *Port() const { return mComPort; }
    TwQuorvel *BefehlsFenster() const { return mServiceFenster; }

    // The command entry of every window.
    void Kommando(const QString &Topic, const QString &Text);
    // Kommando as a function, for the windows made to hand their requests to it.
    std::function<void(const QString &Topic, const QString &Text)> KommandoEintrag()
    {
        return [this](const QString &Topic, const QString &Text) { Kommando(Topic, Text); };
    }
    void PortWarten();

    // Traffic lists.
    void GesendetZeile(const QString &Text);
    void EmpfangenZeile(const QString &Text);
    void FehlerZeile(const QString &Text);

    // The result router: every result of the engine arrives here and leaves as Ergebnis.
    void ErgebnisVerteilen(qint32 Nummer, const QString &Topic, const QString &Text);

    // Creation steps after the components exist.
    void FormCreate();

    // Port list, port choice and port test.
    void PortListeFuellen();
    void ComportBoxChange();
    // The address value 1..65535 of an upper-case hex text, else -1.
    static qint32 AdresseGueltig(const QString &Text);
    void QuorvelAdrEditExit();

    // True when one of the arguments is the service word, in any case of a..z.
    static bool ServiceWortGefunden(const QStringList &Argumente);

    // Settings of the user store (key ZIR / MiniQuorvel).
    static constexpr const char *EinstellungenFirma = "ZIR";
    static constexpr const char *EinstellungenAnwendung = "MiniQuorvel";
    void EinstellungenLaden();
    // False when the store could not be written.
    bool EinstellungenSpeichern();
    void IniEinstellungenLesen();

    // Service panel, menu and buttons.
    void FormKeyDown(int Key, Qt::KeyboardModifiers Shift);
    void OfenShowClick();
    void NewIniReadBtnClick();
    void Info2Click();
    void OpenGaerProgClick();
    void OpenNivorellClick();

    // Shutdown.
    bool FormCloseQuery();
    // False when the settings could not be written; the window then stays open. Ended by the
    // system, it is never false: that failure goes to the error log.
    bool FormClose();
    void EndeTimerTimer();
    // The system ends the program (shutdown, end of session, terminal closed): open boxes and
    // dialogs give way as to Esc, and the window closes as by its close box.
    void SystemEnde();

    // Status display, lists, clock, watchdog.
    void StatusAnzeigeLeeren();
    void FehlerListeKopf();
    void ClearBtnClick();
    void AnzStoer_EChange();
    void UhrTimerTimer();
    void CheckTimerTimer();
    // Weekday name, three blanks, date and time of Zeitpunkt, as the PC clock shows it.
    static QString PCZeitText(const QDateTime &Zeitpunkt, const QLocale &Ort = QLocale::system());
    // Widest line measure so far of LBout, LBIn, LBError.
    const std::array<qint32, 3> &Breite() const { return mBreite; }
    // Marks an edit red or gives it back the normal window colour.
    static void FeldRot(QLineEdit *Feld, bool Rot);

    // The modal box with an OK button (port test, address check, engine boxes). When set, it
    // stands in for the modal box.
    static inline std::function<void(QWidget *Eltern, const QString &Caption, const QString &Text)> ModaleBox;
    static void ModaleBoxZeigen(QWidget *Eltern, const QString &Caption, const QString &Text);

    QGroupBox *VezuvodBox = nullptr;
    QGroupBox *ComBox = nullptr;
    QComboBox *ComportBox = nullptr;
    QGroupBox *QuorvelBox = nullptr;
    QFrame *TabControl1 = nullptr;
    QPushButton *OpenNivorell = nullptr;
    QPushButton *OpenGaerProg = nullptr;
    QFrame *FortschrittPanel = nullptr;
    QProgressBar *Gauge1 = nullptr;
    QPushButton *Ausblenden = nullptr;
    QPushButton *Cancel = nullptr;
    QFrame *Fensterpanel = nullptr;
    QGroupBox *Befehl_Box = nullptr;
    QGroupBox *AntwortBox = nullptr;
    QGroupBox *FehlerBox = nullptr;
    QSplitter *FAktSplitter = nullptr;
    QSplitter *DDESplitter = nullptr;
    QFrame *Panel1 = nullptr;
    QPushButton *AnzeigenLoeschen = nullptr;
    QCheckBox *Tracking = nullptr;
    QLabel *LastAnswer = nullptr;
    QFrame *DebugPanel = nullptr;
    QPushButton *OfenShow = nullptr;
    QPushButton *NewIniReadBtn = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QMenuBar *MainMenu1 = nullptr;
    QAction *Info2 = nullptr;
    QLineEdit *PCZeit = nullptr;
    QTimer *UhrTimer = nullptr;
    QTimer *EndeTimer = nullptr;

    QLineEdit *QuorvelAdrEdit;
    QCheckBox *MitEchoRS485;
    QListWidget *LBout;
    QListWidget *LBIn;
    QListWidget *LBError;
    QLabel *LastError;

    // Status display; the service window's status decoder writes into it.
    QLineEdit *IstT_E = nullptr;
    QLineEdit *SollT_E = nullptr;
    QLineEdit *IstF_E = nullptr;
    QLineEdit *SollF_E = nullptr;
    QLineEdit *AktBetr_E = nullptr;
    QLineEdit *AktUBetr_E = nullptr;
    QLineEdit *ProgNr_E = nullptr;
    QLineEdit *DrehVerd_E = nullptr;
    QLineEdit *AnzStoer_E = nullptr;
    QLineEdit *DateEdit_E = nullptr;
    std::array<QCheckBox *, 18> Relais{};
    QCheckBox *AlleStatusPollen = nullptr;

    // Lock of the weekly-program, status and clock controls, watchdog, progress panel.
    class QGroupBox *Uhrzeit = nullptr;
    class QGroupBox *WochenProgramme = nullptr;
    class QGroupBox *Status = nullptr;
    class QTimer *CheckTimer = nullptr;
    void BedienungFreigeben(bool On);
    void FortschrittZeigen(qint32 Prozent);
    void FortschrittAktualisieren(qint32 Prozent);

    // >>> weekly program, its file, clock setting, result router (uMiniQuorvelWoche.cpp, uErgebnis.cpp)
    // Fills the groups WochenProgramme and Uhrzeit with the weekly-program and clock controls.
    void WochPrgBereichErzeugen();

    class QTableWidget *NachtStarts = nullptr;
    class QPushButton *LesenWoPrg = nullptr;
    class QPushButton *SendenWoPrg = nullptr;
    class QPushButton *LadenWoPrg = nullptr;
    class QPushButton *Speichern_WoPrg = nullptr;
    class QPushButton *SetTime = nullptr;
    class QCheckBox *SommerZeit = nullptr;

    // Button handlers.
    void LesenWoPrgClick();
    void SendenWoPrgClick();
    void LadenWoPrgClick();
    void Speichern_WoPrgClick();
    void SetTimeClick();

    // A weekly program received from the controller (112 characters).
    void WochPrgEmpfangen(const QString &Text);
    void WochPrgGitterLeeren();
    // The weekly-program record (TQorWochPrg of the controller constants).
    using TWochPrg = std::array<struct TQorTagPrg, 7>;
    void WochPrgAnzeigen(const TWochPrg &Prog);
    TWochPrg WochPrgAusGitter() const;

    // Normalises cell (Spalte, Zeile) of rows 1..7 unless it is the grid's current cell.
    void NachtStartsDrawCell(int Spalte, int Zeile);
    // Passes the key to GridEnterWeiter (Enter moves on to the next cell).
    void NachtStartsKeyPress(QChar &Key);
    void NachtStartsMouseMove(int X, int Y);
    // Blank-free decimal text clamped to Min..Max; the empty text when it is no whole number.
    static QString ZellWertBegrenzen(const QString &Text, qint32 Min, qint32 Max);

    // Hint texts of the weekly grid; line breaks are single line feeds.
    struct TBetriebsartHinweis
    {
        QString Lang;
        QString Kurz;
        QString EndTag;
    };
    // The mode texts for an oven type (EndTag stays empty).
    static TBetriebsartHinweis BetriebsartTexte(const QString &Ofen);
    // Highest operating mode of column 1 for an oven type.
    static qint32 BetriebsartMax(const QString &Ofen);
    void HinweiseBilden();
    // The show-hint step: acts only for NachtStarts (its viewport included); sets HintText and
    // the grid's hint for the cell under (MausX, MausY). False when the hint is another's.
    bool HinweisZeigen(QObject *Control, QString &HintText);
    const TBetriebsartHinweis &HinweisBetriebsarten() const { return mHinweis; }
    // The grid's hint, long text "|" short text (or the end-day text).
    QString NachtStartsHint() const { return mNachtStartsHint; }
    int MausX = 0;
    int MausY = 0;
    static const QString OfenTyp;

    // The file dialogs (see support/uDateiDialog.h). Dateidialog, when set, stands in for the
    // modal dialog and returns the chosen path (empty: cancelled).
    using TDateiDialog = ::TDateiDialog;
    TDateiDialogErsatz Dateidialog;

    // The weekly-program file: one line of 112 characters with CR LF. Both return false and set
    // Fehler to the message for the user when the file cannot be read or written; saving
    // replaces an existing file only once the new one is complete.
    // Reading yields the file's first line in Zeilen (empty list: the file holds no line).
    static bool WochPrgDateiLesen(const QString &Pfad, QStringList &Zeilen, QString &Fehler);
    static bool WochPrgDateiSchreiben(const QString &Pfad, const QString &Zeile, QString &Fehler);

    // Result router.
    void QuorvelFehlerMelden(const QString &Text);
    // <<<

signals:
    void Ergebnis(qint32 Nummer, const QString &Topic, const QString &Text);
    // The close went through: settings written, port closed.
    void Geschlossen();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *Objekt, QEvent *Ereignis) override;

private:
    void KomponentenErzeugen();
    void ServiceFensterErzeugen(qint32 Nummer);
    void ListenZeile(QListWidget *liste, qint32 &Breite, const QString &Text);

    ComPort *mComPort = nullptr;
    QuorvelEngine *mEngine = nullptr;
    TwQuorvel *mServiceFenster = nullptr;
    qint32 PortNummer = 1;
    std::array<qint32, 3> mBreite{};
    bool mImSchliessen = false;   // the close handler runs (its error box may be open)
    bool mGeschlossen = false;    // the close went through; later requests find nothing to do
    bool mSystemEnde = false;     // ended by the system: no box waits for an answer
    QString mGueltigeAdresse;     // the address before the field was edited; Esc brings it back

    // >>> private: weekly program, its file, clock setting, result router
    // Draw rule of every cell but the current one.
    void NachtStartsNormieren();
    // The file failure box, caught by ModaleBox like the window's other boxes.
    void DateiFehlerZeigen(const QString &Text);
    // Request text "keyword TAB 00 TAB data" to Kommando under BEFEHL.
    void WochPrgAnfrage(const QString &Befehl, const QString &Daten);
    void DatumNormalfarbe();
    void FortschrittVerteilen(const QString &Text);

    TBetriebsartHinweis mHinweis;
    QString mNachtStartsHint;
    bool mNormiertGerade = false;
    // <<<
};
