#pragma once

// The ten program slots of an editor, for any record type with a text number Nr: wire texts,
// the received list cut into its slots, swapping and pasting (each slot numbered by its row).

#include <QString>
#include <QStringList>

#include <array>
#include <utility>

template <typename Rec>
using TProgrammListe = std::array<Rec, 10>;

// The wire texts of slots 1..10.
template <typename Rec>
QStringList ListenRecords(const TProgrammListe<Rec> &Liste, QString (*ZuHex)(const Rec &))
{
    QStringList records;
    for (const Rec &p : Liste)
        records << ZuHex(p);
    return records;
}

// A received list by position: Laenge characters a slot; slots past the end of the text
// decode an empty text.
template <typename Rec>
void ListeAusText(TProgrammListe<Rec> &Liste, const QString &Text, int Laenge, Rec (*AusHex)(const QString &))
{
    QString rest = Text;
    for (Rec &p : Liste) {
        const QString stueck = rest.left(Laenge);
        rest.remove(0, stueck.size());
        p = AusHex(stueck);
    }
}

// Slots a and b (1..10) swapped, each numbered by its row.
template <typename Rec>
void ListenPlaetzeTauschen(TProgrammListe<Rec> &Liste, int a, int b)
{
    std::swap(Liste[size_t(a - 1)], Liste[size_t(b - 1)]);
    Liste[size_t(a - 1)].Nr = QString::number(a);
    Liste[size_t(b - 1)].Nr = QString::number(b);
}

// Slot r (1..10) := Ablage, numbered r.
template <typename Rec>
void ListenPlatzEinfuegen(TProgrammListe<Rec> &Liste, int r, const Rec &Ablage)
{
    Rec p = Ablage;
    p.Nr = QString::number(r);
    Liste[size_t(r - 1)] = p;
}
