#pragma once

// The command engine: queue, heartbeat, wait state, reception, reply check, failure and retry.
// QuorvelEngine holds the main window's side, QuorvelService the service window's side.
// Neither needs a widget; the windows show what the signals tell.

#include "controller/uQuorvelKonstanten.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QStringListModel>

#include <functional>

class QTimer;
class QuorvelBefehl;
class QuorvelEngine;
class QuorvelPort;

// Decoder entry points; an empty entry accepts the reply and ends the command.
struct QuorvelDekoder
{
    std::function<bool(const QString &Daten)> StatusAntwort;
    std::function<bool(const QString &Daten)> StoerAntwort;
    std::function<qint32(const QString &Daten)> FirmwareAntwort;   // accepted when above 0
    std::function<bool(const QString &Daten)> ZeitSendenAntwort;
    std::function<bool(const QString &Daten)> WoPrgLesenAntwort;
    std::function<bool(const QString &Daten)> WoPrgSendenAntwort;
    std::function<bool(qint32 Position, const QString &Daten)> GaerLesenAntwort;
    std::function<bool(qint32 Position, const QString &Daten)> GaerSendenAntwort;
    std::function<bool(qint32 Position, const QString &Daten)> NvLesenAntwort;
    std::function<bool(qint32 Position, const QString &Daten)> NvSendenAntwort;
};

class QuorvelService : public QObject
{
    Q_OBJECT
public:
    explicit QuorvelService(QuorvelEngine *engine);
    ~QuorvelService() override;

    QuorvelEngine *Engine() const { return mEngine; }

    // Makes the seventeen command objects and enters them in BefehlsTabelle.
    void Init(qint32 Nummer, const QString &Adresse);
    void BefehlAnlegen(const NeuerBefehl &Rec);
    // The object made for a constant (by name), or nullptr.
    QuorvelBefehl *Objekt(const NeuerBefehl &Rec) const;

    // Appends a queue line unless an equal one is queued.
    void MakroHinzufuegen(const QString &Zeile);
    QStringList MakrosListe() const { return mMakros.stringList(); }
    QStringListModel *Makros() { return &mMakros; }

    void FensterWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten);

    // Message lines of the service window's QorMeldung memo (at most 1001 lines).
    void MeldungMemoZeile(const QString &Text);
    void QorMeldungLeeren();
    const QStringList &QorMeldung() const { return mQorMeldung; }

    qint32 Nummer = 0;
    QString Adresse;
    QList<QuorvelBefehl *> Befehle;

    // Transfer buffers: the text still to be sent during a write.
    QString NvPuffer;
    QString GaerPuffer;
    QString NvListPuffer;
    QString GaerListPuffer;

    QuorvelDekoder Dekoder;

signals:
    void QorMeldungZeile(const QString &Text);
    void QorMeldungGeleert();

private:
    QuorvelEngine *mEngine;
    QStringListModel mMakros;
    QStringList mQorMeldung;
};

class QuorvelEngine : public QObject
{
    Q_OBJECT
public:
    // The port stays owned by the caller and must outlive the engine.
    explicit QuorvelEngine(QuorvelPort *port, QObject *parent = nullptr);
    ~QuorvelEngine() override;

    QuorvelService *Service() const { return mService; }
    QuorvelService *BefehlsFenster() const { return mService; }
    QuorvelPort *Port() const { return mPort; }

    // Switches TimerHerz and StatusTimer on (end of the main window's creation).
    void Starten();

    // The address field and the echo option of the main window.
    QString Adresse() const { return mAdresse; }
    void setAdresse(const QString &a) { mAdresse = a; }
    bool MitEchoRS485() const { return mMitEcho; }
    void setMitEchoRS485(bool an) { mMitEcho = an; }

    // Command entry, queue, wait state.
    void Kommando(const QString &Topic, const QString &Text);
    void BefehlEinreihen(const QString &Nummernfeld, const NeuerBefehl &Befehl, const QString &TabDaten);
    void NaechsterBefehl();
    void SetWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten);
    void ServiceFensterErzeugen(qint32 Nummer);

    // Lets the port settle for up to 500 ms.
    void PortWarten();

    // Timer handlers.
    void TimerHerzTimer();
    void StatusTimerTimer();
    void TimeOut1Timer();
    void TimeOut2Timer();
    void ComWaitTimerTimer();

    // Reception and reply check.
    void ComPortTriggerAvail(int Count);
    void ZeileEmpfangen(const QString &Zeile);
    bool AntwortPruefen(const QString &Zeile);
    void BefehlFehlgeschlagen(QuorvelBefehl *Cmd, const QString &Fehler);

    // Used by the command objects while sending.
    void FrameTimeoutStarten(qint32 Intervall);
    void EmpfangBeginnen(qint32 EchoLaenge);
    void FrameGesendet(const QString &Frame) { emit GesendetZeile(Frame); }
    // Counts the frame time-outs armed, i.e. the frames attempted.
    quint64 SendeZaehler() const { return mSendeZaehler; }

    QTimer *TimerHerz;
    QTimer *StatusTimer;
    QTimer *TimeOut1;
    QTimer *TimeOut2;
    QTimer *ComWaitTimer;

    // Receive state: the line being gathered and the echo counters.
    QString EmpfangsPuffer;
    qint32 EmpfangsZaehler = 0;
    qint32 EchoLaenge = 0;
    // A line is gathered up to this many characters; longer ones lose what came before.
    static constexpr int MaxZeilenLaenge = 4096;

    // "Now" of the error lines: short date and long time.
    static QString JetztText();

signals:
    void GesendetZeile(const QString &Text);
    void EmpfangenZeile(const QString &Text);
    void FehlerZeile(const QString &Text);
    void LastErrorSetzen(const QString &Text);
    void ErgebnisVerteilen(qint32 Nummer, const QString &Topic, const QString &Text);
    // The heartbeat or the status timer found Beenden set.
    void HauptfensterSchliessen();
    // A modal box with an OK button (service mode only).
    void Meldungsbox(const QString &Caption, const QString &Text);

private:
    void PortGetrennt(const QString &Text);
    void BefehlAufgeben(QuorvelBefehl *Cmd, const QString &Fehler);

    QuorvelPort *mPort;
    QuorvelService *mService = nullptr;
    QuorvelBefehl *mAnfangsBefehl = nullptr;
    QString mAdresse = QStringLiteral("0600");
    bool mMitEcho = false;
    quint64 mSendeZaehler = 0;
};
