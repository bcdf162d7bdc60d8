#pragma once

// The service window: the command queue Makros and the message memo QorMeldung of the engine's
// service side. The rest of the window is added around these.

#include "controller/uQuorvelKonstanten.h"

#include <QString>
#include <QWidget>

#include <array>

class QCheckBox;
class QGroupBox;
class QListView;
class QPlainTextEdit;
class QuorvelService;
class QuorvelBefehl;

class TwQuorvel : public QWidget
{
    Q_OBJECT
public:
    // The service side stays owned by the engine.
    explicit TwQuorvel(QuorvelService *service, QWidget *parent = nullptr);
    ~TwQuorvel() override;

    // Caption "Quorvel <Nummer>"; the command objects are the engine's (made at its creation).
    void Init(qint32 Nummer, const QString &Adresse);

    QuorvelService *Service() const { return mService; }
    void MakroHinzufuegen(const QString &Zeile);
    void FensterWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten);
    void MeldungMemoZeile(const QString &Text);

    QListView *Makros;
    QPlainTextEdit *QorMeldung;

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

private:
    void MemoZeileZeigen(const QString &Text);

    QuorvelService *mService;

    // >>> private: program and weekly-program transfer decoders
    // <<<
};
