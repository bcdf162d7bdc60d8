#pragma once

// The Nivorell-program editor. For now it holds only what the result router hands it: the
// lock, the program received and the list of ten.

#include "controller/uQuorvelKonstanten.h"

#include <QString>
#include <QWidget>

#include <array>

class TwQuorvelNivorell : public QWidget
{
    Q_OBJECT
public:
    explicit TwQuorvelNivorell(QWidget *parent = nullptr);
    ~TwQuorvelNivorell() override;

    // Router entry points.
    void Bereit(bool On);
    void ProgrammEmpfangen(const QString &Text);
    void ListeEmpfangen(const QString &Text);
    void FortschrittMelden(qint32 Prozent);

    bool Gesperrt() const { return mGesperrt; }
    void Sperren() { mGesperrt = true; }
    const std::array<TQorNivorell, 10> &Liste() const { return mListe; }
    TQorNivorell Aktuell() const { return mAktuell; }
    qint32 LetzterFortschritt() const { return mFortschritt; }

private:
    bool mGesperrt = false;
    std::array<TQorNivorell, 10> mListe;
    TQorNivorell mAktuell;
    qint32 mFortschritt = -1;
};
