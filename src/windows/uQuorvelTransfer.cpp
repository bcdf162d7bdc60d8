// The service window's program and weekly-program transfer decoders.

#include "windows/uQuorvel.h"

#include "controller/uQuorvelEngine.h"
#include "controller/uQuorvelTransfer.h"

#include <QGroupBox>
#include <QPointer>
#include <QSignalBlocker>

namespace {

// The group's own Visible setting, whether or not the window is on the screen.
bool Sichtbar(const QWidget *g)
{
    if (!g)
        return false;
    return g->parentWidget() ? g->isVisibleTo(g->parentWidget()) : !g->isHidden();
}

// Entry 1 chosen without its change handler: the caller shows it once.
void ErsterEintrag(TQorSpinEdit *RecNr)
{
    if (!RecNr)
        return;
    const QSignalBlocker sperre(RecNr);
    RecNr->setText(QStringLiteral("1"));
}

} // namespace

void TwQuorvel::TransferDekoderEinsetzen()
{
    QuorvelTransfer *t = QuorvelTransfer::Fuer(Service());
    if (!t)
        return;
    const QPointer<TwQuorvel> w(this);

    t->MeldungAnHauptfenster = [](qint32 Nummer, const QString &Topic, const QString &Text) {
        ::MeldungAnHauptfenster(Nummer, Topic, Text);
    };
    t->GruppeSichtbar = [w](TransferGruppe g) {
        if (!w)
            return false;
        switch (g) {
        case TransferGruppe::GaerProgramm:
            return Sichtbar(w->GaerProgramm);
        case TransferGruppe::NivorellProgramm:
            return Sichtbar(w->NivorellProgramm);
        case TransferGruppe::WochenProgramme:
            return Sichtbar(w->WochenProgramme);
        }
        return false;
    };
    t->WoPrgAnzeigen = [w](const TQorWochPrg &Prog) {
        if (w)
            w->WoPrgAnzeigen(Prog);
    };
    t->GaerProgAnzeigen = [w](const TQorGaerProg &Prog) {
        if (w)
            w->GaerProgAnzeigen(Prog);
    };
    t->NvAnzeigen = [w](const TQorNivorell &Prog) {
        if (w)
            w->NvAnzeigen(Prog);
    };
    t->GaerListeAnzeigen = [w](const std::array<TQorGaerProg, 10> &Liste) {
        if (!w)
            return;
        w->GaerListe = Liste;
        ErsterEintrag(w->RecNr);
        w->GaerProgAnzeigen(w->GaerListe[0]);
    };
    t->NvListeAnzeigen = [w](const std::array<TQorNivorell, 10> &Liste) {
        if (!w)
            return;
        w->NvListe = Liste;
        ErsterEintrag(w->RecNr_NV);
        w->NvAnzeigen(w->NvListe[0]);
    };
    t->Einsetzen();
}
