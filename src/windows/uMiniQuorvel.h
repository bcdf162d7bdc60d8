#pragma once

// The main window: it holds the serial port, the command engine with its timers, the address
// field, the echo option and the traffic lists, and it owns the service window.

#include <QMainWindow>
#include <QString>

#include <array>

class ComPort;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
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
    void PortWarten();

    // Traffic lists.
    void GesendetZeile(const QString &Text);
    void EmpfangenZeile(const QString &Text);
    void FehlerZeile(const QString &Text);

    // The result router: every result of the engine arrives here and leaves as Ergebnis.
    void ErgebnisVerteilen(qint32 Nummer, const QString &Topic, const QString &Text);

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
    // <<<

signals:
    void Ergebnis(qint32 Nummer, const QString &Topic, const QString &Text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void ServiceFensterErzeugen(qint32 Nummer);
    static void ListenZeile(QListWidget *liste, const QString &Text);

    ComPort *mComPort = nullptr;
    QuorvelEngine *mEngine = nullptr;
    TwQuorvel *mServiceFenster = nullptr;

    // >>> private: weekly program, its file, clock setting, result router
    // <<<
};
