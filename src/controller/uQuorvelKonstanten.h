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

// --- Wire codecs ----------------------------------------------------------------------------
// A wire field is four upper-case hex digits; "FFFF" marks a value that is not programmed.
// Plain fields carry the number itself; temperatures and humidities are sent as 5 * (value + 80).

// Decimal text to a plain field; a text that is not a whole number counts as 65535 ("FFFF").
QString ZahlZuHex(const QString &Zahl);
// Temperature / humidity text to a scaled field; "FFFF" for 65535 or a text that is no number.
QString TempZuHex(const QString &Temp);
QString FeuchteZuHex(const QString &Feuchte);
// Plain field to decimal text ("FFFF" gives "65535", an invalid field "-1").
QString HexZuZahl(const QString &Hex);
// Scaled field to decimal text, rounded; "FFFF" stays "FFFF", an invalid field gives "-80".
QString HexZuTemp(const QString &Hex);
QString HexZuFeuchte(const QString &Hex);

// Record texts: Nivorell program 100 characters, proofing program GaerProgLaenge (56 or 52)
// characters, weekly program 112 characters. An encoder returns the empty text when its
// result would have another length.
QString NivorellZuHex(const TQorNivorell &Prog);
// At least 100 characters (the rest is ignored), else a record with all fields empty.
TQorNivorell HexZuNivorell(const QString &Hex);
QString GaerProgZuHex(const TQorGaerProg &Prog);
// A text of GaerProgMaxLaenge characters is read in the layout chosen by FirmwareAb352, any
// other text in the 52-character layout; AB.Zeit is "0" whenever it is not carried.
TQorGaerProg HexZuGaerProg(const QString &Hex);
QString WochPrgZuHex(const TQorWochPrg &Prog);
// Exactly 112 characters, else a record with all fields empty.
TQorWochPrg HexZuWochPrg(const QString &Hex);

// --- Text tables ----------------------------------------------------------------------------
QString BetriebsartName(qint32 Betriebsart);
QString PhasenName(qint32 Phase);
QString StoerungText(qint32 Code);

// Typed time text to "hh:mm": blanks removed, missing digits and colon completed; "24:00" is
// kept, a 5-character result that is no valid time of day gives the empty text.
QString ZeitNormieren(const QString &Zeit);
// The completing steps of ZeitNormieren alone, without the check of the result.
QString ZeitVervollstaendigen(const QString &Zeit);
