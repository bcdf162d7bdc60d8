#pragma once

// Controller records, command constants and (further below) wire codecs and text tables.

#include <QString>
#include <QtGlobal>

#include <array>

struct TQorProgElement
{
    QString Temp;
    QString Feu;
    QString Zeit;
    bool operator==(const TQorProgElement &) const = default;
};

struct TQorGaerProg
{
    QString Nr;
    TQorProgElement Sch;
    TQorProgElement GU;
    TQorProgElement GV;
    TQorProgElement GA;
    TQorProgElement AB;
    QString Backofenvorlauf;
    bool operator==(const TQorGaerProg &) const = default;
};

struct TQorNivorell
{
    QString Nr;
    std::array<TQorProgElement, 8> Schritte;
    bool operator==(const TQorNivorell &) const = default;
};

struct TQorTagPrg
{
    QString PRG;
    QString BetArt;
    QString EndTag;
    QString EndZeit;
    bool operator==(const TQorTagPrg &) const = default;
};

using TQorWochPrg = std::array<TQorTagPrg, 7>;

struct NeuerBefehl
{
    QString Name;
    QString Befehl;
    quint16 Nummer = 0;
    quint8 Zusatz = 0;
    quint8 MaxVersuche = 0;
    QString Zusatztext;
    qint32 Timeout = 0;
};

// The command table. BefehlAktuell is the placeholder of the current command; Q_None to Q_Stoer
// are the seventeen commands, in the order in which each service window creates its objects.
extern const NeuerBefehl BefehlAktuell;
extern const NeuerBefehl Q_None;
extern const NeuerBefehl Q_GaerRecSave;
extern const NeuerBefehl Q_GaerRecRest;
extern const NeuerBefehl Q_NVRecSave;
extern const NeuerBefehl Q_NVRecRest;
extern const NeuerBefehl Q_RSCancel;
extern const NeuerBefehl Q_Status;
extern const NeuerBefehl Q_GaerProgRd;
extern const NeuerBefehl Q_GaerProgWr;
extern const NeuerBefehl Q_NivorellRd;
extern const NeuerBefehl Q_NivorellWr;
extern const NeuerBefehl Q_WochPrgRd;
extern const NeuerBefehl Q_WochPrgWr;
extern const NeuerBefehl Q_TimeRd;
extern const NeuerBefehl Q_TimeWr;
extern const NeuerBefehl Q_FirmWare;
extern const NeuerBefehl Q_Stoer;

// Q_None .. Q_Stoer in table order.
const std::array<const NeuerBefehl *, 17> &AlleBefehle();

// Proofing-program layout: switches FirmwareAb352, GaerProgFelder and GaerProgLaenge together
// (True, 14, 56 or False, 13, 52) in the current program-wide values.
void GaerProgLayoutSetzen(bool ab352);
