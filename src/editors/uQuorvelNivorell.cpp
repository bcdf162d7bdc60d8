#include "editors/uQuorvelNivorell.h"

#include "support/uProgramm.h"

TwQuorvelNivorell::TwQuorvelNivorell(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("wQuorvelNivorell"));
    setWindowTitle(QStringLiteral("Nivorell-Programme"));
    if (ProgrammVorhanden())
        P().wQuorvelNivorell = this;
}

TwQuorvelNivorell::~TwQuorvelNivorell()
{
    if (ProgrammVorhanden() && P().wQuorvelNivorell == this)
        P().wQuorvelNivorell = nullptr;
}

void TwQuorvelNivorell::Bereit(bool On)
{
    mGesperrt = !On;
}

void TwQuorvelNivorell::ProgrammEmpfangen(const QString &Text)
{
    mGesperrt = false;
    mAktuell = HexZuNivorell(Text);
    bool ok = false;
    const int nr = mAktuell.Nr.toInt(&ok);
    if (ok && nr >= 1 && nr <= 10)
        mListe[size_t(nr - 1)] = mAktuell;
}

void TwQuorvelNivorell::ListeEmpfangen(const QString &Text)
{
    mGesperrt = false;
    for (int i = 0; i < 10; ++i)
        mListe[size_t(i)] = HexZuNivorell(Text.mid(i * 100, 100));
    mAktuell = mListe[0];
}

void TwQuorvelNivorell::FortschrittMelden(qint32 Prozent)
{
    mFortschritt = Prozent;
}
