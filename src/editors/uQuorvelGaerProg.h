#pragma once

// The proofing-program editor. For now it holds only what the result router and the service
// window hand it: the lock, the programs received and the list of ten.

#include "controller/uQuorvelKonstanten.h"

#include <QString>
#include <QWidget>

#include <array>

class TwQuorvelGaerProg : public QWidget
{
    Q_OBJECT
public:
    explicit TwQuorvelGaerProg(QWidget *parent = nullptr);
    ~TwQuorvelGaerProg() override;

    // Router entry points.
    void Freigeben(bool On);
    void ProgrammEmpfangen(const QString &Text);
    void ListeEmpfangen(const QString &Text);
    void Fortschritt(qint32 Prozent);
    // Stores a program in the list slot of its own number (1..10) and selects it.
    void ProgrammAnzeigen(const TQorGaerProg &Prog);

    bool Gesperrt() const { return mGesperrt; }
    void Sperren() { mGesperrt = true; }
    const std::array<TQorGaerProg, 10> &Liste() const { return mListe; }
    // Row of the list selected last (0..9), -1 before any.
    int AuswahlZeile() const { return mAuswahl; }
    TQorGaerProg Aktuell() const { return mAktuell; }
    qint32 LetzterFortschritt() const { return mFortschritt; }

private:
    bool mGesperrt = false;
    std::array<TQorGaerProg, 10> mListe;
    TQorGaerProg mAktuell;
    int mAuswahl = -1;
    qint32 mFortschritt = -1;
};
