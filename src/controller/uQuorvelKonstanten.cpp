#include "controller/uQuorvelKonstanten.h"

#include "support/Sammlung.h"
#include "support/uProgramm.h"

#include <cmath>
#include <limits>

namespace {
NeuerBefehl befehl(const char *name, const char *wort, quint8 maxVersuche, qint32 timeout)
{
    NeuerBefehl b;
    b.Name = QString::fromLatin1(name);
    b.Befehl = QString::fromLatin1(wort);
    b.MaxVersuche = maxVersuche;
    b.Timeout = timeout;
    return b;
}
} // namespace

const NeuerBefehl BefehlAktuell = befehl("BefehlAktuell", "", 0, 0);
const NeuerBefehl Q_None = befehl("Q_None", "", 0, 0);
const NeuerBefehl Q_GaerRecSave = befehl("Q_GaerRecSave", "GRSave", 0, 30000);
const NeuerBefehl Q_GaerRecRest = befehl("Q_GaerRecRest", "GRRest", 0, 30000);
const NeuerBefehl Q_NVRecSave = befehl("Q_NVRecSave", "NVSave", 0, 30000);
const NeuerBefehl Q_NVRecRest = befehl("Q_NVRecRest", "NVRest", 0, 30000);
const NeuerBefehl Q_RSCancel = befehl("Q_RSCancel", "RSCancel", 0, 0);
const NeuerBefehl Q_Status = befehl("Q_Status", "PST", 10, 2000);
const NeuerBefehl Q_GaerProgRd = befehl("Q_GaerProgRd", "GPR", 3, 10000);
const NeuerBefehl Q_GaerProgWr = befehl("Q_GaerProgWr", "GPW", 3, 10000);
const NeuerBefehl Q_NivorellRd = befehl("Q_NivorellRd", "NVR", 3, 10000);
const NeuerBefehl Q_NivorellWr = befehl("Q_NivorellWr", "NVW", 3, 10000);
const NeuerBefehl Q_WochPrgRd = befehl("Q_WochPrgRd", "WPR", 3, 10000);
const NeuerBefehl Q_WochPrgWr = befehl("Q_WochPrgWr", "WPW", 3, 10000);
const NeuerBefehl Q_TimeRd = befehl("Q_TimeRd", "DTR", 3, 1000);
const NeuerBefehl Q_TimeWr = befehl("Q_TimeWr", "DTW", 3, 2000);
const NeuerBefehl Q_FirmWare = befehl("Q_FirmWare", "FWR", 3, 1000);
const NeuerBefehl Q_Stoer = befehl("Q_Stoer", "STO", 0, 2000);

const std::array<const NeuerBefehl *, 17> &AlleBefehle()
{
    static const std::array<const NeuerBefehl *, 17> alle = {
        &Q_None,       &Q_GaerRecSave, &Q_GaerRecRest, &Q_NVRecSave,  &Q_NVRecRest, &Q_RSCancel,
        &Q_Status,     &Q_GaerProgRd,  &Q_GaerProgWr,  &Q_NivorellRd, &Q_NivorellWr, &Q_WochPrgRd,
        &Q_WochPrgWr,  &Q_TimeRd,      &Q_TimeWr,      &Q_FirmWare,   &Q_Stoer};
    return alle;
}

void GaerProgLayoutSetzen(bool ab352)
{
    Programm &p = P();
    p.FirmwareAb352 = ab352;
    p.GaerProgFelder = ab352 ? 14 : 13;
    p.GaerProgLaenge = ab352 ? 56 : 52;
}

// --- Wire codecs ----------------------------------------------------------------------------

namespace {
constexpr qint32 NichtProgrammiert = 65535;
constexpr QLatin1String FFFF("FFFF");

QString hex32(qint32 wert)
{
    return QString::asprintf("%.4X", unsigned(quint32(wert)));
}

// Scaled raw value. Inside the 32-bit range it is written like a plain value (a negative one as
// its 32-bit two's complement, eight digits); outside it keeps all its bits, so that it can never
// shrink to a four-digit field.
QString skaliertZuHex(const QString &text)
{
    const qint32 wert = GanzzahlOder(text, NichtProgrammiert);
    if (wert == NichtProgrammiert)
        return QString(FFFF);
    const qint64 roh = 5 * (qint64(wert) + 80);
    if (roh >= std::numeric_limits<qint32>::min() && roh <= std::numeric_limits<qint32>::max())
        return hex32(qint32(roh));
    return QString::asprintf("%.4llX", static_cast<unsigned long long>(roh));
}

QString hexZuSkaliert(const QString &hex)
{
    if (hex == FFFF)
        return hex;
    const double wert = double(HexZuInt(hex)) * 0.2 - 80.0;
    return QString::number(qint64(std::nearbyint(wert)));
}

QString feld(const QString &text, int nr) // nr counts from 1
{
    return text.mid(qsizetype(nr - 1) * 4, 4);
}
} // namespace

QString ZahlZuHex(const QString &Zahl)
{
    return hex32(GanzzahlOder(Zahl, NichtProgrammiert));
}

QString TempZuHex(const QString &Temp)
{
    return skaliertZuHex(Temp);
}

QString FeuchteZuHex(const QString &Feuchte)
{
    return skaliertZuHex(Feuchte);
}

QString HexZuZahl(const QString &Hex)
{
    return QString::number(HexZuInt(Hex));
}

QString HexZuTemp(const QString &Hex)
{
    return hexZuSkaliert(Hex);
}

QString HexZuFeuchte(const QString &Hex)
{
    return hexZuSkaliert(Hex);
}

QString NivorellZuHex(const TQorNivorell &Prog)
{
    QString text = ZahlZuHex(Prog.Nr);
    for (const TQorProgElement &s : Prog.Schritte)
        text += ZahlZuHex(s.Zeit) + TempZuHex(s.Temp) + FeuchteZuHex(s.Feu);
    return text.size() == 100 ? text : QString();
}

TQorNivorell HexZuNivorell(const QString &Hex)
{
    TQorNivorell prog;
    if (Hex.size() < 100)
        return prog;
    prog.Nr = HexZuZahl(feld(Hex, 1));
    for (int i = 0; i < 8; ++i) {
        TQorProgElement &s = prog.Schritte[size_t(i)];
        s.Zeit = HexZuZahl(feld(Hex, 2 + 3 * i));
        s.Temp = HexZuTemp(feld(Hex, 3 + 3 * i));
        s.Feu = HexZuFeuchte(feld(Hex, 4 + 3 * i));
    }
    return prog;
}

QString GaerProgZuHex(const TQorGaerProg &Prog)
{
    const Programm &p = P();
    QString text = ZahlZuHex(Prog.Nr) + ZahlZuHex(Prog.Sch.Zeit) + TempZuHex(Prog.Sch.Temp)
                   + TempZuHex(Prog.GU.Temp) + ZahlZuHex(Prog.GV.Zeit) + TempZuHex(Prog.GV.Temp)
                   + FeuchteZuHex(Prog.GV.Feu) + ZahlZuHex(Prog.GA.Zeit) + TempZuHex(Prog.GA.Temp)
                   + FeuchteZuHex(Prog.GA.Feu);
    if (p.FirmwareAb352)
        text += ZahlZuHex(Prog.AB.Zeit);
    text += TempZuHex(Prog.AB.Temp) + FeuchteZuHex(Prog.AB.Feu) + ZahlZuHex(Prog.Backofenvorlauf);
    return text.size() == p.GaerProgLaenge ? text : QString();
}

TQorGaerProg HexZuGaerProg(const QString &Hex)
{
    TQorGaerProg prog;
    prog.Nr = HexZuZahl(feld(Hex, 1));
    prog.Sch.Zeit = HexZuZahl(feld(Hex, 2));
    prog.Sch.Temp = HexZuTemp(feld(Hex, 3));
    prog.GU.Temp = HexZuTemp(feld(Hex, 4));
    prog.GV.Zeit = HexZuZahl(feld(Hex, 5));
    prog.GV.Temp = HexZuTemp(feld(Hex, 6));
    prog.GV.Feu = HexZuFeuchte(feld(Hex, 7));
    prog.GA.Zeit = HexZuZahl(feld(Hex, 8));
    prog.GA.Temp = HexZuTemp(feld(Hex, 9));
    prog.GA.Feu = HexZuFeuchte(feld(Hex, 10));
    int n = 11;
    if (Hex.size() == Programm::GaerProgMaxLaenge && P().FirmwareAb352)
        prog.AB.Zeit = HexZuZahl(feld(Hex, n++));
    else
        prog.AB.Zeit = QStringLiteral("0");
    prog.AB.Temp = HexZuTemp(feld(Hex, n++));
    prog.AB.Feu = HexZuFeuchte(feld(Hex, n++));
    prog.Backofenvorlauf = HexZuZahl(feld(Hex, n));
    return prog;
}

QString WochPrgZuHex(const TQorWochPrg &Prog)
{
    QString text;
    for (const TQorTagPrg &t : Prog)
        text += ZahlZuHex(t.PRG) + ZahlZuHex(t.BetArt) + ZahlZuHex(t.EndTag) + ZahlZuHex(t.EndZeit);
    return text.size() == 112 ? text : QString();
}

TQorWochPrg HexZuWochPrg(const QString &Hex)
{
    TQorWochPrg prog;
    if (Hex.size() != 112)
        return prog;
    for (int d = 0; d < 7; ++d) {
        TQorTagPrg &t = prog[size_t(d)];
        t.PRG = HexZuZahl(feld(Hex, 4 * d + 1));
        t.BetArt = HexZuZahl(feld(Hex, 4 * d + 2));
        t.EndTag = HexZuZahl(feld(Hex, 4 * d + 3));
        t.EndZeit = HexZuZahl(feld(Hex, 4 * d + 4));
    }
    return prog;
}

// --- Text tables ----------------------------------------------------------------------------

QString BetriebsartName(qint32 Betriebsart)
{
    switch (Betriebsart) {
    case 0: return QStringLiteral("Aus");
    case 1: return QStringLiteral("SCH-GU");
    case 2: return QStringLiteral("GU-Dauerbetrieb");
    case 3: return QStringLiteral("GV-Dauerbetrieb");
    case 4: return QStringLiteral("GA-Dauerbetrieb");
    case 5: return QStringLiteral("SCH-GV Auto");
    case 6: return QStringLiteral("GV-GA Auto");
    case 7: return QStringLiteral("SCH-GA Auto");
    case 8: return QStringLiteral("Nivorell");
    default: return QStringLiteral("Error");
    }
}

QString PhasenName(qint32 Phase)
{
    switch (Phase) {
    case 0: return QStringLiteral("Aus");
    case 1: return QStringLiteral("Schocken");
    case 2: return QStringLiteral("Gärunterbrechen");
    case 3: return QStringLiteral("Gärverzögern");
    case 4: return QStringLiteral("Gären");
    case 5: return QStringLiteral("Fertig");
    case 6: return QStringLiteral("Absteifen");
    case 7: return QStringLiteral("Nivorell");
    default: return QStringLiteral("Error");
    }
}

QString StoerungText(qint32 Code)
{
    switch (Code) {
    case 1: return QStringLiteral("Raumfühler Kurzschluss");
    case 2: return QStringLiteral("Raumfühler Bruch");
    case 3: return QStringLiteral("Verdampferfühler 1 Kurzschluss");
    case 4: return QStringLiteral("Verdampferfühler 1 Bruch");
    case 5: return QStringLiteral("Verd.2 / Raum 2 Fühler Kurzschluss");
    case 6: return QStringLiteral("Verd.2 / Raum 2 Fühler Bruch");
    case 7: return QStringLiteral("Feuchtefühler Kurzschluss");
    case 8: return QStringLiteral("Feuchtefühler Bruch");
    case 10: return QStringLiteral("Niederdruckfühler Bruch");
    case 12: return QStringLiteral("Hochdruckfühler Bruch");
    case 13: return QStringLiteral("Verdampferfühler 3 Kurzschluss");
    case 14: return QStringLiteral("Verdampferfühler 3 Bruch");
    case 15: return QStringLiteral("Maschinenraumfühler Kurzschluss");
    case 16: return QStringLiteral("Maschinenraumfühler Bruch");
    case 20: return QStringLiteral("Abtauzeit überschritten");
    case 21: return QStringLiteral("Netzausfall");
    case 22: return QStringLiteral("Tür offen");
    case 23: return QStringLiteral("Temperaturüberwachung");
    case 26: return QStringLiteral("Backofen Störung");
    case 27: return QStringLiteral("Maschinenraum überhitzt");
    case 32: return QStringLiteral("Sicherheitskette Kompressor A");
    case 33: return QStringLiteral("Sicherheitskette Kompressor B");
    case 34: return QStringLiteral("Überhitzung Verdampfer 1");
    case 35: return QStringLiteral("Überhitzung Verdampfer 2");
    case 39: return QStringLiteral("Motorstörung Kompressor A");
    case 47: return QStringLiteral("Überhitzung Verdampfer 3");
    case 59: return QStringLiteral("Motorstörung Kompressor B");
    case 60: return QStringLiteral("Modem nicht bereit");
    case 61: return QStringLiteral("Telefonnummer fehlt");
    case 89: return QStringLiteral("Steuerung meldet sich nicht");
    case 99: return QStringLiteral("Test Störung");
    default: return QStringLiteral("Unbekannte Störung");
    }
}

// --- Time normaliser ------------------------------------------------------------------------

namespace {
bool istUhrzeit(const QString &s) // exactly "hh:mm" with hours 0..23 and minutes 0..59
{
    if (s.size() != 5 || s.at(2) != QLatin1Char(':'))
        return false;
    for (int i : {0, 1, 3, 4})
        if (s.at(i) < QLatin1Char('0') || s.at(i) > QLatin1Char('9'))
            return false;
    const int stunden = (s.at(0).unicode() - u'0') * 10 + (s.at(1).unicode() - u'0');
    const int minuten = (s.at(3).unicode() - u'0') * 10 + (s.at(4).unicode() - u'0');
    return stunden <= 23 && minuten <= 59;
}
} // namespace

QString ZeitVervollstaendigen(const QString &Zeit)
{
    QString s = Zeit;
    s.remove(QLatin1Char(' '));
    // Position of the first ':' counted from 1, 0 when there is none.
    const auto p = [&s] { return s.indexOf(QLatin1Char(':')) + 1; };
    if (p() == 0 && s.size() > 4)
        s.truncate(4);
    if (p() == 3 && s.size() > 5)
        s.truncate(5);
    if (p() == 2)
        s.prepend(QLatin1Char('0'));
    if (p() == 3 && s.size() == 4)
        s.insert(3, QLatin1Char('0'));
    if (p() == 0 && s.size() == 3)
        s = s.left(2) + QLatin1Char(':') + s.mid(2) + QLatin1Char('0');
    if (p() == 0 && s.size() == 4)
        s.insert(2, QLatin1Char(':'));
    if (p() == 0 && s.size() == 2)
        s += QLatin1String(":00");
    if (p() == 0 && s.size() == 1)
        s = QLatin1Char('0') + s + QLatin1String(":00");
    return s;
}

QString ZeitNormieren(const QString &Zeit)
{
    const QString s = ZeitVervollstaendigen(Zeit);
    if (s != QLatin1String("24:00") && s.size() == 5 && !istUhrzeit(s))
        return QString();
    return s;
}
