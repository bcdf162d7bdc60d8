#pragma once

// The service window: command queue, message memo, status display with outputs and faults,
// the editors of one proofing program, the grids of one Nivorell program and of the weekly
// program, and the buttons of the service requests.

#include "controller/uQuorvelKonstanten.h"
#include "support/uDateiDialog.h"

#include <QAbstractSpinBox>
#include <QDateTime>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>

class QAction;
class QCheckBox;
class QFileDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimer;
class QuorvelService;
class QuorvelBefehl;

// Spin edit that keeps its text as typed or set: the empty text and "FFFF" (value not
// programmed) stay as they are. Keys take digits, a sign and the decimal separator only.
// With limits (Min < Max) the arrows stay inside them and leaving clamps a number outside.
class TQorSpinEdit : public QAbstractSpinBox
{
    Q_OBJECT
public:
    explicit TQorSpinEdit(QWidget *parent = nullptr);

    void setGrenzen(qint32 Min, qint32 Max);
    qint32 Minimum() const { return mMin; }
    qint32 Maximum() const { return mMax; }
    QString Text() const;
    void setText(const QString &Text);
    // The text as a whole number, Vorgabe when it is none.
    qint32 Wert(qint32 Vorgabe) const;

    void stepBy(int Schritte) override;
    QValidator::State validate(QString &Eingabe, int &Pos) const override;

signals:
    void TextGeaendert(const QString &Text);

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent *Ereignis) override;

private:
    bool HatGrenzen() const { return mMin < mMax; }
    void GrenzenPruefen();

    qint32 mMin = 0;
    qint32 mMax = 0;
};

// Hands a result to the main window's result router (the number is passed on unchanged).
void MeldungAnHauptfenster(qint32 Nummer, const QString &Topic, const QString &Text);

class TwQuorvel : public QWidget
{
    Q_OBJECT
public:
    // The service side stays owned by the engine.
    explicit TwQuorvel(QuorvelService *service, QWidget *parent = nullptr);
    ~TwQuorvel() override;

    // Caption "Quorvel <Nummer>", starts StatusTimer; the command objects are the engine's.
    void Init(qint32 Nummer, const QString &Adresse);

    QuorvelService *Service() const;
    void MakroHinzufuegen(const QString &Zeile);
    void FensterWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten);
    // One line to QorMeldung / StoerMemo, after cutting the memo back to 1000 lines.
    void MeldungMemoZeile(const QString &Text);
    void StoerMemoZeile(const QString &Text);

    // Handlers of the form.
    void FormCreate();
    void FormShow();
    void CloseBtnClick();
    void ShowNivoRClick();
    void ShowWoPrgClick();
    void StatusAnzeigenClick();
    void WertNichtProgrammierenClick();
    void RecNrChange();
    void RecNr_NVChange();
    void OneStatusClick();
    void EinzelDemoClick();
    void DemoTimerTimer();
    void PassivStatusTimerTimer();
    // A cell of the grid was drawn: a time cell other than the current one is normalised.
    void NachtStartsDrawCell(int ACol, int ARow);
    void NivorellGridDrawCell(int ACol, int ARow);

    // Records to and from the editors and grids.
    void WoPrgLoeschen();
    TQorWochPrg WoPrgAusGitter() const;
    void NvLoeschen();
    TQorNivorell NvAusGitter() const;
    void GaerFelderLoeschen();
    TQorGaerProg GaerProgAusFeldern() const;
    // Time cells of the two grids: like ZeitNormieren of the codecs, but every result that is
    // no valid time of day (24:00 included) becomes empty.
    static QString ZeitNormieren(const QString &Zeit);

    // Status poll and the status, fault, firmware and clock replies.
    void StatusTimerTimer();
    bool StatusAntwort(const QString &Daten);
    void StoerungenPruefen(const QString &Anzahl);
    bool StoerAntwort(const QString &Daten);
    bool FirmwareAntwort(const QString &Daten);
    bool ZeitSendenAntwort(const QString &Daten);

    // Upper area.
    QListView *Makros;
    QPlainTextEdit *QorMeldung;
    QFrame *Panel1 = nullptr;

    // Panel1.
    QCheckBox *EinzelDemo = nullptr;
    QPushButton *DoSetTime = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *PrgEdit = nullptr;
    QPushButton *ShowWoPrg = nullptr;
    QPushButton *RdFirmware = nullptr;
    QPushButton *ShowGaer = nullptr;
    QPushButton *ShowNivoR = nullptr;
    QPushButton *OneStatus = nullptr;
    QCheckBox *SommerZeit = nullptr;
    QLineEdit *FirmWareEdit = nullptr;
    QLineEdit *TimeEdit = nullptr;
    QGroupBox *Ausgaenge = nullptr;
    QPushButton *DoCancelRecord = nullptr;
    QPushButton *CloseBtn = nullptr;

    // Ausgaenge.
    std::array<QCheckBox *, 18> Ausgang{};
    QLineEdit *SollT_E = nullptr;
    QLineEdit *IstT_E = nullptr;
    QLineEdit *SollF_E = nullptr;
    QLineEdit *IstF_E = nullptr;
    QLineEdit *DateEdit_E = nullptr;
    QLineEdit *ProgNr_E = nullptr;
    QLineEdit *DrehVerd_E = nullptr;
    QLineEdit *AnzStoer_E = nullptr;
    QLineEdit *AktBetr_E = nullptr;
    QLineEdit *AktUBetr_E = nullptr;
    QPlainTextEdit *StoerMemo = nullptr;

    // GaerProgramm.
    TQorSpinEdit *P_Nr = nullptr;
    TQorSpinEdit *RecNr = nullptr;
    TQorSpinEdit *P_SchTemp = nullptr;
    TQorSpinEdit *P_SchZeit = nullptr;
    TQorSpinEdit *P_GuTemp = nullptr;
    TQorSpinEdit *P_GvTemp = nullptr;
    TQorSpinEdit *P_GvFeu = nullptr;
    TQorSpinEdit *P_GvZeit = nullptr;
    TQorSpinEdit *P_GaTemp = nullptr;
    TQorSpinEdit *P_GaFeu = nullptr;
    TQorSpinEdit *P_GaZeit = nullptr;
    TQorSpinEdit *P_AbTemp = nullptr;
    TQorSpinEdit *P_AbFeu = nullptr;
    TQorSpinEdit *P_AbZeit = nullptr;
    TQorSpinEdit *P_BVorl = nullptr;
    QPushButton *LesenGPrg = nullptr;
    QPushButton *SendenGPrg = nullptr;
    QPushButton *LadenGPrg = nullptr;
    QPushButton *SpeichernGPrg = nullptr;
    QCheckBox *TakeRecord = nullptr;

    // NivorellProgramm.
    QTableWidget *NivorellGrid = nullptr;
    TQorSpinEdit *NivoRPrgNr = nullptr;
    TQorSpinEdit *RecNr_NV = nullptr;
    QPushButton *LesenNivoR = nullptr;
    QPushButton *SendenNivoR = nullptr;
    QPushButton *LadenNivoR = nullptr;
    QPushButton *SpeichernNivoR = nullptr;
    QCheckBox *TakeRecordNV = nullptr;

    // WochenProgramme.
    QTableWidget *NachtStarts = nullptr;
    QPushButton *LesenWoPrg = nullptr;
    QPushButton *SendenWoPrg = nullptr;
    QPushButton *LadenWoPrg = nullptr;
    QPushButton *Speichern_WoPrg = nullptr;

    // Popup of the value editors, dialogs, timers.
    QMenu *PopupMenu1 = nullptr;
    QAction *WertNichtProgrammieren = nullptr;
    QFileDialog *OpenDialog1 = nullptr;
    QFileDialog *SaveDialog1 = nullptr;
    QTimer *StatusTimer = nullptr;
    QTimer *DemoTimer = nullptr;
    QTimer *PassivStatusTimer = nullptr;
    // The value editor on which PopupMenu1 was opened last.
    QPointer<QWidget> PopupKomponente;

    // Fault state: code of fault i in Stoerung[i - 1] (0 = none).
    std::array<qint32, 8> Stoerung{};
    qint32 StoerAnzahl = 0;
    QDateTime StoerZeit;          // invalid until the first fault reads are queued
    QString FirmwareTeil;
    qint32 FirmwareNr = 0;
    // "Now" of the fault re-read rule.
    std::function<QDateTime()> Jetzt;

    // Shared with the transfer decoders: the three program groups (their visibility gates the
    // decoders' memo lines and list displays), the records and the display routines.
    QGroupBox *GaerProgramm = nullptr;
    QGroupBox *NivorellProgramm = nullptr;
    QGroupBox *WochenProgramme = nullptr;
    QCheckBox *StatusAnzeigen = nullptr;
    QCheckBox *StatusPollen = nullptr;
    TQorGaerProg GaerProg;
    std::array<TQorGaerProg, 10> GaerListe;
    TQorNivorell NvProg;
    std::array<TQorNivorell, 10> NvListe;
    TQorWochPrg WochPrg;
    void WoPrgAnzeigen(const TQorWochPrg &Prog);
    void NvAnzeigen(const TQorNivorell &Prog);
    void GaerProgAnzeigen(const TQorGaerProg &Prog);

    // >>> program and weekly-program transfer decoders (uQuorvelTransfer.cpp)
    // Enters the six transfer decoders in the service side's decoder table.
    void TransferDekoderEinsetzen();
    // <<<

    // >>> request and file buttons (uQuorvelAktionen.cpp)
    void LesenGPrgClick();
    void SendenGPrgClick();
    void LesenNivoRClick();
    void SendenNivoRClick();
    void LesenWoPrgClick();
    void SendenWoPrgClick();
    void DoSetTimeClick();
    void RdFirmwareClick();
    void DoCancelRecordClick();
    void ShowGaerClick();
    void LadenGPrgClick();
    void SpeichernGPrgClick();
    void LadenNivoRClick();
    void SpeichernNivoRClick();
    void LadenWoPrgClick();
    void Speichern_WoPrgClick();
    // Stands in for the modal file dialogs when set.
    TDateiDialogErsatz Dateidialog;
    // Start folder of the file dialogs: "Programme" in the program folder, or the program
    // folder itself while "Programme" does not exist.
    static QString DateiOrdner();
    // Request text "keyword TAB nn TAB data" to the main window's Kommando under BEFEHL.
    void Anfrage(const NeuerBefehl &Befehl, const QString &Daten);
    // <<<

protected:
    void showEvent(QShowEvent *Ereignis) override;
    bool eventFilter(QObject *Objekt, QEvent *Ereignis) override;

private:
    void MemoZeileZeigen(const QString &Text);
    void KomponentenErzeugen();
    void AusgaengeFaerben(bool Fehler);
    std::array<TQorSpinEdit *, 13> WertEditoren() const;

    QPointer<QuorvelService> mService;

    // >>> private: program and weekly-program transfer decoders
    // <<<
    // >>> private: request and file buttons
    void AktionenVerbinden();
    QString DateiOeffnen(const QString &Filter, const QString &Endung);
    QString DateiSpeichern(const QString &Filter, const QString &Endung, const QString &Name);
    // The proofing and the Nivorell side: one read, send, load and save for both.
    template <typename Rec> struct TProgrammSeite;
    TProgrammSeite<TQorGaerProg> GaerSeite();
    TProgrammSeite<TQorNivorell> NvSeite();
    template <typename Rec> void ProgrammLesen(const TProgrammSeite<Rec> &S);
    template <typename Rec> void ProgrammSenden(const TProgrammSeite<Rec> &S);
    template <typename Rec> void ProgrammDateiLaden(const TProgrammSeite<Rec> &S);
    template <typename Rec> void ProgrammDateiSpeichern(const TProgrammSeite<Rec> &S);
    QString mLadeName;   // file name chosen last in a load dialog
    // <<<
};
