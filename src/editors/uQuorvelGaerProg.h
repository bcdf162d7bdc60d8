#pragma once

// The proofing-program editor: a list of ten proofing programs, one of them in thirteen value
// editors; read and write one program or the list, files *.QGP / *.QGR, copy, paste, move, and
// the layout switch "Firmware > 352". The common editor mechanics are in TProgrammEditor.

#include "controller/uQuorvelKonstanten.h"
#include "editors/uProgrammEditor.h"

#include <QAbstractSpinBox>
#include <QMessageBox>
#include <QString>

#include <array>
#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;

// A spin edit for whole numbers without limits whose text is taken unchanged: "FFFF", "-----"
// or an empty text stay as they are; the arrows step a whole number by one.
class TZahlenEdit : public QAbstractSpinBox
{
    Q_OBJECT
public:
    explicit TZahlenEdit(QWidget *parent = nullptr);
    QString Text() const;
    void TextSetzen(const QString &Text);
    void stepBy(int Schritte) override;
    QValidator::State validate(QString &, int &) const override { return QValidator::Acceptable; }
    // The edit line inside.
    QLineEdit *Zeile() const { return lineEdit(); }

protected:
    StepEnabled stepEnabled() const override;
    // Typing takes digits and signs only; a shown "FFFF" can still be deleted.
    void keyPressEvent(QKeyEvent *Ereignis) override;
};

class TwQuorvelGaerProg : public TProgrammEditor
{
    Q_OBJECT
public:
    // Kommando: the command entry that takes the editor's requests.
    explicit TwQuorvelGaerProg(TKommandoEintrag Kommando = {}, QWidget *parent = nullptr);
    ~TwQuorvelGaerProg() override;

    // Router entry points.
    void Freigeben(bool On) { FreigabeSetzen(On); }
    // Unlock, decode, show (into the slot of its number when 1 to 10).
    void ProgrammEmpfangen(const QString &Text);
    void Fortschritt(qint32 Prozent) { FortschrittMeldung(Prozent); }
    // Stores a program in the slot of its own number (1..10) and selects that row; shows it.
    void ProgrammAnzeigen(const TQorGaerProg &Prog);
    // The program in the value editors, numbered with the selected row.
    TQorGaerProg ProgrammAusFeldern() const;
    // All thirteen value editors emptied.
    void FelderLoeschen() override;
    // Layout switch: runs whenever the box changes.
    void Firmware_ab_352Click();
    // Default program of a new list in slot Nr.
    static TQorGaerProg StandardProgramm(int Nr);

    void Sperren() { FreigabeSetzen(false); }
    const std::array<TQorGaerProg, 10> &Liste() const { return Programme; }
    // Selected row as list index (0..9).
    int AuswahlZeile() const { return Zeile() - 1; }
    // The program shown last.
    TQorGaerProg Aktuell() const { return mAktuell; }
    const TQorGaerProg &Ablage() const { return mAblage; }

    // The Yes/No/Cancel warning of the layout switch; tests put an answer in its place.
    std::function<QMessageBox::StandardButton(const QString &Caption, const QString &Text)> Warnung;

    QGroupBox *GaerProgramm = nullptr;
    QCheckBox *Firmware_ab_352 = nullptr;
    TZahlenEdit *P_SchTemp = nullptr, *P_SchZeit = nullptr, *P_GuTemp = nullptr;
    TZahlenEdit *P_GvTemp = nullptr, *P_GvFeu = nullptr, *P_GvZeit = nullptr;
    TZahlenEdit *P_GaTemp = nullptr, *P_GaFeu = nullptr, *P_GaZeit = nullptr;
    TZahlenEdit *P_AbTemp = nullptr, *P_AbFeu = nullptr, *P_AbZeit = nullptr;
    TZahlenEdit *P_BVorl = nullptr;
    // The buttons under the names the handlers know them by.
    QPushButton *LesenGaer = nullptr, *SendenGaer = nullptr, *LadenGaer = nullptr, *SpeichernGaer = nullptr;
    QPushButton *LesenGaer_S = nullptr, *SendenGaer_S = nullptr, *LadenGaer_S = nullptr, *SpeichernGaer_S = nullptr;

protected:
    void StandardListeSetzen() override;
    void SlotAnzeigen(int r) override;
    void FelderInSlot(int r) override;
    QString FelderRecord() override;
    QStringList SlotRecords() const override;
    void ListeAusText(const QString &Text) override;
    void ListenZeileSetzen(int r, const QString &Zeile) override;
    void EinzelZeileAnzeigen(const QString &Zeile) override;
    void SlotsTauschen(int a, int b) override;
    void AblageKopieren(int r) override;
    bool AblageLeer() const override { return mAblage.Nr.isEmpty(); }
    void AblageEinfuegen(int r) override;
    void AbbrechenClick() override;
    void showEvent(QShowEvent *Ereignis) override;
    bool eventFilter(QObject *Objekt, QEvent *Ereignis) override;

private:
    TZahlenEdit *Editor(const QString &Name, int Zeile, int Spalte);

    std::array<TQorGaerProg, 10> Programme;
    TQorGaerProg mAblage;
    TQorGaerProg mAktuell;
    QList<TZahlenEdit *> mEditoren;
    bool mWarnungOffen = false;
};
