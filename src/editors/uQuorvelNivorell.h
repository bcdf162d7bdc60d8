#pragma once

// The Nivorell-program editor: a list of ten Nivorell programs, one of them edited in the
// step grid and drawn as a graph below the buttons. The list, names, lock, progress, requests,
// files, copy, paste and move are those of TProgrammEditor.

#include "controller/uQuorvelKonstanten.h"
#include "editors/uNivorellGrafik.h"
#include "editors/uProgrammEditor.h"

#include <QString>

#include <array>

class QGroupBox;
class QPushButton;
class QTableWidget;
class TNivorellGitter;
class TNivorellMalflaeche;

class TwQuorvelNivorell : public TProgrammEditor
{
    Q_OBJECT
public:
    // Kommando: the command entry that takes the editor's requests.
    explicit TwQuorvelNivorell(TKommandoEintrag Kommando = {}, QWidget *parent = nullptr);
    ~TwQuorvelNivorell() override;

    // Router entry points.
    void ProgrammEmpfangen(const QString &Text);
    void Bereit(bool On) { FreigabeSetzen(On); }
    void FortschrittMelden(qint32 Prozent) { FortschrittMeldung(Prozent); }

    // Components of this editor.
    QGroupBox *NivorellProgramm = nullptr;
    QTableWidget *NivorellGrid = nullptr;
    QPushButton *ShowGrafik = nullptr;
    QWidget *PaintBox1 = nullptr;   // the graph's surface

    // Step grid: key handler (Enter moves on; Enter, Tab and a swallowed key store), leave
    // handler (store, mark, redraw) and draw handler (durations normalised).
    void NivorellGridKeyPress(QChar &Key);
    void NivorellGridExit();
    void NivorellGridDrawCell(int ACol, int ARow);
    void ShowGrafikClick() { GrafikZeichnen(); }

    // Shows a program: into the slot of its number (1 to 10, that row selected), into the step
    // grid, and draws the graph.
    void ProgrammAnzeigen(const TQorNivorell &Rec);
    // The program in the step grid, numbered with the selected row.
    TQorNivorell GridZuProgramm() const;

    // Draws the program of the selected row anew.
    void GrafikZeichnen();
    // The drawing as last computed, and the axis ranges (they only ever widen).
    const NivorellGrafik &Grafik() const { return mGrafik; }
    const NivorellAchsen &Achsen() const { return mAchsen; }
    // The drawing of the selected row's program at a paint-box size.
    NivorellGrafik GrafikBerechnen(QSize Groesse);

    const std::array<TQorNivorell, 10> &Liste() const { return ProgListe; }
    // The program the step grid shows.
    TQorNivorell Aktuell() const { return GridZuProgramm(); }
    void Sperren() { FreigabeSetzen(false); }

protected:
    void StandardListeSetzen() override;
    void FelderLoeschen() override;
    void SlotAnzeigen(int r) override;
    void FelderInSlot(int r) override;
    QString FelderRecord() override;
    QStringList SlotRecords() const override;
    void ListeAusText(const QString &Text) override;
    void ListenZeileSetzen(int r, const QString &Zeile) override;
    void EinzelZeileAnzeigen(const QString &Zeile) override;
    void SlotsTauschen(int a, int b) override;
    void AblageKopieren(int r) override;
    bool AblageLeer() const override;
    void AblageEinfuegen(int r) override;
    void AbbrechenClick() override;

    bool eventFilter(QObject *Objekt, QEvent *Ereignis) override;

private:
    void GridLeeren();
    void MalflaecheSetzen();

    TNivorellGitter *mGitter = nullptr;   // NivorellGrid
    std::array<TQorNivorell, 10> ProgListe;
    TQorNivorell Ablage;
    QColor StiftFarbe = Qt::black;
    NivorellAchsen mAchsen;
    NivorellGrafik mGrafik;
    QFont mGrafikSchrift;
    bool mSpeichertGerade = false;
    QMetaObject::Connection mFokusVerbindung;

    friend class TNivorellMalflaeche;
};
