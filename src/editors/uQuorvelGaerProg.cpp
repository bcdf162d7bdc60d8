#include "editors/uQuorvelGaerProg.h"

#include "support/uProgramm.h"

TwQuorvelGaerProg::TwQuorvelGaerProg(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("wQuorvelGaerProg"));
    setWindowTitle(QStringLiteral("Gär-Programme"));
    if (ProgrammVorhanden())
        P().wQuorvelGaerProg = this;
}

TwQuorvelGaerProg::~TwQuorvelGaerProg()
{
    if (ProgrammVorhanden() && P().wQuorvelGaerProg == this)
        P().wQuorvelGaerProg = nullptr;
}

void TwQuorvelGaerProg::Freigeben(bool On)
{
    mGesperrt = !On;
}

void TwQuorvelGaerProg::ProgrammEmpfangen(const QString &Text)
{
    mGesperrt = false;
    ProgrammAnzeigen(HexZuGaerProg(Text));
}

void TwQuorvelGaerProg::ListeEmpfangen(const QString &Text)
{
    mGesperrt = false;
    const int laenge = P().GaerProgLaenge;
    for (int i = 0; i < 10; ++i)
        mListe[size_t(i)] = HexZuGaerProg(Text.mid(i * laenge, laenge));
    mAuswahl = 0;
    mAktuell = mListe[0];
}

void TwQuorvelGaerProg::Fortschritt(qint32 Prozent)
{
    mFortschritt = Prozent;
}

void TwQuorvelGaerProg::ProgrammAnzeigen(const TQorGaerProg &Prog)
{
    bool ok = false;
    const int nr = Prog.Nr.toInt(&ok);
    if (ok && nr >= 1 && nr <= 10) {
        mListe[size_t(nr - 1)] = Prog;
        mAuswahl = nr - 1;
    }
    mAktuell = Prog;
}
