// The service window's request buttons, clock, firmware and abort, and its file buttons.

#include "windows/uQuorvel.h"

#include "controller/uQuorvelEngine.h"
#include "editors/uQuorvelGaerProg.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"
#include "windows/uMiniQuorvel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The request is refused: a value does not fit its four-character field.
void Ablehnen(const QString &Was)
{
    ShowErr(QStringLiteral("FEHLER"), Was + QStringLiteral("\r\nenthält ungültige Werte!\r\nnicht übertragen"), 0);
}

// The wire texts of a list joined in list order; empty when one entry has none (Nr: its
// place, 1..10).
template <typename Liste, typename Kodierer>
QString ListeKodieren(const Liste &L, Kodierer Zu, int &Nr)
{
    QString text;
    for (size_t i = 0; i < L.size(); ++i) {
        const QString t = Zu(L[i]);
        if (t.isEmpty()) {
            Nr = int(i) + 1;
            return QString();
        }
        text += t;
    }
    Nr = 0;
    return text;
}

} // namespace

void TwQuorvel::AktionenVerbinden()
{
    const auto knopf = [this](QPushButton *b, void (TwQuorvel::*handler)()) {
        connect(b, &QPushButton::clicked, this, handler);
    };
    knopf(LesenGPrg, &TwQuorvel::LesenGPrgClick);
    knopf(SendenGPrg, &TwQuorvel::SendenGPrgClick);
    knopf(LesenNivoR, &TwQuorvel::LesenNivoRClick);
    knopf(SendenNivoR, &TwQuorvel::SendenNivoRClick);
    knopf(LesenWoPrg, &TwQuorvel::LesenWoPrgClick);
    knopf(SendenWoPrg, &TwQuorvel::SendenWoPrgClick);
    knopf(DoSetTime, &TwQuorvel::DoSetTimeClick);
    knopf(RdFirmware, &TwQuorvel::RdFirmwareClick);
    knopf(DoCancelRecord, &TwQuorvel::DoCancelRecordClick);
    knopf(ShowGaer, &TwQuorvel::ShowGaerClick);
}

void TwQuorvel::Anfrage(const NeuerBefehl &Befehl, const QString &Daten)
{
    const QString text = Befehl.Befehl + QLatin1Char('\t')
                       + QString::asprintf("%2.2d", int(mService ? mService->Nummer : 0)) + QLatin1Char('\t')
                       + Daten;
    if (ProgrammVorhanden() && P().wMiniQuorvel) {
        P().wMiniQuorvel->Kommando(QStringLiteral("BEFEHL"), text);
        return;
    }
    // Without a main window the engine's command entry takes the request.
    if (QuorvelEngine *e = mService ? mService->Engine() : nullptr)
        e->Kommando(QStringLiteral("BEFEHL"), text);
}

// ---- requests ---------------------------------------------------------------------------

void TwQuorvel::LesenGPrgClick()
{
    GaerFelderLoeschen();
    if (TakeRecord->isChecked())
        Anfrage(Q_GaerRecSave, QString());
    else
        Anfrage(Q_GaerProgRd, P_Nr->Text());
}

void TwQuorvel::SendenGPrgClick()
{
    if (TakeRecord->isChecked()) {
        // The stored entries as they are, whatever the editors show.
        int nr = 0;
        const QString text = ListeKodieren(GaerListe, GaerProgZuHex, nr);
        if (text.isEmpty()) {
            Ablehnen(QStringLiteral("Gär-Record, Programm %1").arg(nr));
            return;
        }
        Anfrage(Q_GaerRecRest, text);
        return;
    }
    GaerProg = GaerProgAusFeldern();
    const QString text = GaerProgZuHex(GaerProg);
    if (text.isEmpty()) {
        Ablehnen(QStringLiteral("Gärprogramm"));
        return;
    }
    Anfrage(Q_GaerProgWr, text);
}

void TwQuorvel::LesenNivoRClick()
{
    NvLoeschen();
    if (TakeRecordNV->isChecked())
        Anfrage(Q_NVRecSave, QString());
    else
        Anfrage(Q_NivorellRd, NivoRPrgNr->Text());
}

void TwQuorvel::SendenNivoRClick()
{
    if (TakeRecordNV->isChecked()) {
        int nr = 0;
        const QString text = ListeKodieren(NvListe, NivorellZuHex, nr);
        if (text.isEmpty()) {
            Ablehnen(QStringLiteral("Nivorell-Record, Programm %1").arg(nr));
            return;
        }
        Anfrage(Q_NVRecRest, text);
        return;
    }
    NvProg = NvAusGitter();
    const QString text = NivorellZuHex(NvProg);
    if (text.isEmpty()) {
        Ablehnen(QStringLiteral("Nivorellprogramm"));
        return;
    }
    Anfrage(Q_NivorellWr, text);
}

void TwQuorvel::LesenWoPrgClick()
{
    WoPrgLoeschen();
    Anfrage(Q_WochPrgRd, QString());
}

void TwQuorvel::SendenWoPrgClick()
{
    WochPrg = WoPrgAusGitter();
    const QString text = WochPrgZuHex(WochPrg);
    if (text.isEmpty()) {
        Ablehnen(QStringLiteral("Wochenprogramm"));
        return;
    }
    Anfrage(Q_WochPrgWr, text);
}

void TwQuorvel::DoSetTimeClick()
{
    Anfrage(Q_TimeWr, SommerZeit->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void TwQuorvel::RdFirmwareClick()
{
    FirmWareEdit->clear();
    Anfrage(Q_FirmWare, QString());
}

void TwQuorvel::DoCancelRecordClick()
{
    Anfrage(Q_RSCancel, QString());
}

void TwQuorvel::ShowGaerClick()
{
    if (ProgrammVorhanden() && P().wQuorvelGaerProg)
        P().wQuorvelGaerProg->show();
    GaerProgramm->setVisible(!GaerProgramm->isVisibleTo(Panel1));
}
