#include "simulator/QuorvelSimulator.h"

#include <QDate>
#include <QPointer>

namespace {

constexpr int MaxFrameLog = 100000;
// 10 bits per byte at 9600 baud.
constexpr double ByteZeitUs = 10.0 * 1000000.0 / 9600.0;

QByteArray wort(int wert)
{
    return QByteArray::number(qBound(0, wert, 0xFFFF), 16).toUpper().rightJustified(4, '0');
}

QByteArray pruefsumme(const QByteArray &text, int zusatz = 0)
{
    int summe = zusatz;
    for (const char c : text)
        summe += static_cast<unsigned char>(c);
    return QByteArray::number(summe & 0xFF, 16).toUpper().rightJustified(2, '0');
}

bool istHex4(const QByteArray &w)
{
    if (w.size() != 4)
        return false;
    for (const char c : w)
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
            return false;
    return true;
}

bool istDez4(const QByteArray &w)
{
    if (w.size() != 4)
        return false;
    for (const char c : w)
        if (c < '0' || c > '9')
            return false;
    return true;
}

int hexWert(const QByteArray &w)
{
    return istHex4(w) ? w.toInt(nullptr, 16) : -1;
}

// Wire field of a temperature or humidity.
QByteArray skaliert(int wert)
{
    return wort(5 * (wert + 80));
}

// Four words from word index, "0000" beyond the stored words.
QByteArray block(const QByteArray &text, int index)
{
    QByteArray daten;
    for (int i = index; i < index + 4; ++i) {
        const QByteArray w = text.mid(4 * i, 4);
        daten += w.size() == 4 ? w : QByteArray("0000");
    }
    return daten;
}

QByteArray aufLaenge(const QByteArray &text, int laenge)
{
    QByteArray t = text.left(laenge);
    while (t.size() < laenge)
        t += '0';
    return t;
}

QByteArray standardGaerProgramm(int nr)
{
    return wort(nr) + wort(30) + skaliert(-10) + skaliert(2) + wort(600 + 10 * nr) + skaliert(5) + skaliert(80)
        + wort(120) + skaliert(25) + skaliert(85) + wort(10) + skaliert(20) + skaliert(70) + wort(30);
}

// The same program in the older 13-field layout: without the "AB" duration (field 11).
QByteArray standardGaerProgrammAlt(int nr)
{
    return standardGaerProgramm(nr).remove(40, 4);
}

QByteArray standardNivorell(int nr)
{
    QByteArray t = wort(nr);
    for (int i = 0; i < 8; ++i)
        t += wort(30 + 10 * i + nr) + skaliert(-5 + 3 * i) + skaliert(60 + 2 * i);
    return t;
}

QByteArray standardWochenprogramm()
{
    QByteArray t;
    for (int tag = 0; tag < 7; ++tag)
        t += wort(tag + 1) + wort(1) + wort((tag + 1) % 7 + 1) + wort(360 + 30 * tag);
    return t;
}

} // namespace

QuorvelSimulator::QuorvelSimulator(const QString &adresse, QObject *parent)
    : QObject(parent), m_adresse(adresse)
{
    m_status = standardStatus();
    setAlteFirmware(false);
    m_wochPrg = standardWochenprogramm();
    for (int i = 0; i < ProgrammAnzahl; ++i) {
        m_gaer[i] = standardGaerProgramm(i + 1);
        m_gaerAlt[i] = standardGaerProgrammAlt(i + 1);
        m_nv[i] = standardNivorell(i + 1);
    }
    m_uhr.start();
    m_pumpe.setSingleShot(true);
    m_pumpe.setTimerType(Qt::PreciseTimer);
    connect(&m_pumpe, &QTimer::timeout, this, &QuorvelSimulator::pumpen);
}

QuorvelSimulator::~QuorvelSimulator() = default;

QByteArray QuorvelSimulator::standardStatus()
{
    // No faults, mode 3, phase 4, program 1, 25 °C of 26 °C, 75 % of 80 %, Wednesday
    // 09.12.2026 14:30 winter time, outputs Licht, Heizen 1, Befeuchten, Kompressor A.
    return QByteArray("0000") + "0003" + "0004" + "0001" + skaliert(25) + skaliert(26) + skaliert(75) + skaliert(80)
        + "0003" + "09122026" + "1430" + "0000" + "0162" + "0000" + "0050";
}

// --- Line -------------------------------------------------------------------------------------

void QuorvelSimulator::empfangen(const QByteArray &bytes)
{
    if (m_echo)
        ausgeben(bytes);
    for (const char c : bytes) {
        if (c == '\r') {
            if (m_zeileVerwerfen) {
                m_zeileVerwerfen = false;
                m_zeile.clear();
                continue;
            }
            const QByteArray frame = m_zeile + '\r';
            m_zeile.clear();
            zeileVerarbeiten(frame);
        } else if (m_zeileVerwerfen) {
            continue;
        } else if (m_zeile.size() >= MaxZeile) {
            m_zeile.clear();
            m_zeileVerwerfen = true;
        } else {
            m_zeile.append(c);
        }
    }
}

void QuorvelSimulator::zeileVerarbeiten(const QByteArray &frame)
{
    if (m_frames.size() >= MaxFrameLog)
        m_frames.removeFirst();
    m_frames.append(frame);
    emit frameEmpfangen(frame);
    antwortSenden(frame, antwortBilden(frame.chopped(1)));
}

QByteArray QuorvelSimulator::antwortBilden(const QByteArray &z)
{
    const QByteArray adresse = m_adresse.toLatin1();
    if (z.size() < 4 || z.left(4) != adresse)
        return {};

    const QByteArray reg = z.mid(8, 4);
    const auto zeile = [&](const QByteArray &code, const QByteArray &daten) {
        const QByteArray text = adresse + "58" + code + (istHex4(reg) ? reg : QByteArray("0000")) + daten;
        return text + pruefsumme(text) + '\r';
    };

    if (z.size() != 18)
        return zeile("86", "0000");
    if (z.mid(16, 2) != pruefsumme(z.left(16)))
        return zeile("83", "0000");
    if (z.mid(4, 2) != "58")
        return zeile("82", "0000");
    const QByteArray funktion = z.mid(6, 2);
    if (funktion != "10" && funktion != "11")
        return zeile("88", "0000");
    if (!istHex4(reg))
        return zeile("84", "0000");

    const int r = reg.toInt(nullptr, 16);
    const QByteArray daten = z.mid(12, 4);
    bool bekannt = false;
    if (funktion == "10") {
        const QByteArray gelesen = lesen(r, &bekannt);
        return bekannt ? zeile(funktion, gelesen) : QByteArray();
    }
    const QByteArray code = schreiben(r, daten, &bekannt);
    if (!bekannt)
        return {};
    return code.isEmpty() ? zeile(funktion, daten) : zeile(code, "0000");
}

QByteArray QuorvelSimulator::lesen(int r, bool *bekannt) const
{
    *bekannt = true;
    if (r == RegStatus)
        return "0010" + status();
    if (r >= RegStoerung1 && r < RegStoerung1 + 5 * StoerSlots && (r - RegStoerung1) % 5 == 0)
        return wort(m_stoercodes[(r - RegStoerung1) / 5]).rightJustified(m_stoerDatenLaenge, '0').right(m_stoerDatenLaenge);
    if (r == RegFirmware1 || r == RegFirmware2)
        return m_firmware[r - RegFirmware1];
    const bool alt = alteFirmware();
    if (!alt && r >= RegUhr352 && r <= RegSommer352)
        return m_uhr352[r - RegUhr352].isEmpty() ? QByteArray("0000") : m_uhr352[r - RegUhr352];
    if (alt && ((r >= RegUhrAlt && r < RegUhrAlt + 3) || r == RegSommerAlt)) {
        const int i = r == RegSommerAlt ? 3 : r - RegUhrAlt;
        return m_uhrAlt[i].isEmpty() ? QByteArray("0000") : m_uhrAlt[i];
    }
    if (r >= RegWochPrg && r < RegWochPrg + 28)
        return block(m_wochPrg, r - RegWochPrg);
    if (r >= RegGaerProg && r < RegGaerProg + 16)
        return block(gaerSpeicher()[m_gaerNr - 1], r - RegGaerProg);
    if (r >= RegNivorell && r < RegNivorell + 28)
        return block(m_nv[m_nvNr - 1], r - RegNivorell);
    *bekannt = false;
    return {};
}

QByteArray QuorvelSimulator::schreiben(int r, const QByteArray &w, bool *bekannt)
{
    *bekannt = true;
    if (r == RegStatus || r == RegFirmware1 || r == RegFirmware2
        || (r >= RegStoerung1 && r < RegStoerung1 + 5 * StoerSlots && (r - RegStoerung1) % 5 == 0))
        return "85";

    const bool alt = alteFirmware();
    int uhrFeld = -1;
    if (!alt && r >= RegUhr352 && r <= RegSommer352)
        uhrFeld = r - RegUhr352;
    else if (alt && r >= RegUhrAlt && r < RegUhrAlt + 3)
        uhrFeld = r - RegUhrAlt;
    else if (alt && r == RegSommerAlt)
        uhrFeld = 3;
    if (uhrFeld >= 0) {
        if (!istDez4(w))
            return "84";
        (alt ? m_uhrAlt : m_uhr352)[uhrFeld] = w;
        uhrInStatus(uhrFeld, w);
        return {};
    }

    const bool woche = r >= RegWochPrg && r < RegWochPrg + 28;
    const bool gaer = r >= RegGaerProg && r < RegGaerProg + gaerFelder();
    const bool nv = r >= RegNivorell && r < RegNivorell + 25;
    if (!woche && !gaer && !nv) {
        *bekannt = false;
        return {};
    }
    if (!istHex4(w))
        return "84";
    if (woche) {
        m_wochPrg.replace(4 * (r - RegWochPrg), 4, w);
        return {};
    }
    const int index = r - (gaer ? RegGaerProg : RegNivorell);
    int &nr = gaer ? m_gaerNr : m_nvNr;
    if (index == 0) {
        const int neu = hexWert(w);
        if (neu < 1 || neu > ProgrammAnzahl)
            return "84";
        nr = neu;
    }
    (gaer ? gaerSpeicher() : m_nv)[nr - 1].replace(4 * index, 4, w);
    return {};
}

void QuorvelSimulator::uhrInStatus(int feld, const QByteArray &w)
{
    if (m_status.size() != StatusLaenge)
        return;
    static constexpr int position[4] = {44, 36, 40, 48};   // hhmm, ddmm, yyyy, summer
    m_status.replace(position[feld], 4, w);
    const QDate datum(m_status.mid(40, 4).toInt(), m_status.mid(38, 2).toInt(), m_status.mid(36, 2).toInt());
    if (datum.isValid())
        m_status.replace(32, 4, QByteArray::number(datum.dayOfWeek()).rightJustified(4, '0'));
}

// --- Faults and output ---------------------------------------------------------------------------

void QuorvelSimulator::stoerungEinplanen(Stoerung art, int anzahlFrames, const QByteArray &param)
{
    if (anzahlFrames > 0)
        m_stoerungen.append({art, anzahlFrames, param});
}

int QuorvelSimulator::geplanteStoerungen() const
{
    int summe = 0;
    for (const Plan &p : m_stoerungen)
        summe += p.rest;
    return summe;
}

void QuorvelSimulator::antwortSenden(const QByteArray &frame, QByteArray antwort)
{
    if (antwort.isEmpty())
        return;
    int verzoegerung = 0;
    bool echoVorher = false;
    if (!m_stoerungen.isEmpty()) {
        const Plan plan = m_stoerungen.first();
        if (--m_stoerungen.first().rest <= 0)
            m_stoerungen.removeFirst();
        QByteArray text = antwort.chopped(3);   // without checksum and CR
        switch (plan.art) {
        case KeineAntwort:
            return;
        case FalschePruefsumme:
            antwort = text + pruefsumme(text, 1) + '\r';
            break;
        case FalscheLaenge:
            text.chop(qBound(1, plan.param.isEmpty() ? 1 : plan.param.toInt(), int(text.size())));
            antwort = text + pruefsumme(text) + '\r';
            break;
        case StatusCode:
            text.replace(6, 2, plan.param.size() == 2 ? plan.param : QByteArray("81"));
            antwort = text + pruefsumme(text) + '\r';
            break;
        case EchoVorAntwort:
            echoVorher = true;
            break;
        case CrLf:
            antwort += '\n';
            break;
        case Verzoegerung:
            verzoegerung = plan.param.isEmpty() ? 1000 : qMax(0, plan.param.toInt());
            break;
        }
    }
    emit antwortGebildet(antwort);
    if (echoVorher)
        ausgeben(frame);
    // At line speed the request itself holds the half-duplex line first: the reply can start
    // only once its last byte would have arrived.
    const qint64 anfrageUs = m_pacing ? qint64(double(frame.size()) * ByteZeitUs) : 0;
    ausgeben(antwort, verzoegerung, anfrageUs);
}

void QuorvelSimulator::ausgeben(const QByteArray &bytes, int verzoegerungMs, qint64 zusatzUs)
{
    if (bytes.isEmpty())
        return;
    Stueck s;
    s.daten = bytes;
    s.faelligUs = m_uhr.nsecsElapsed() / 1000 + qint64(verzoegerungMs) * 1000 + zusatzUs;
    m_ausgang.append(s);
    if (!m_pumpe.isActive())
        m_pumpe.start(0);
}

void QuorvelSimulator::pumpen()
{
    const QPointer<QuorvelSimulator> lebt(this);
    while (!m_ausgang.isEmpty()) {
        const qint64 jetzt = m_uhr.nsecsElapsed() / 1000;
        Stueck &s = m_ausgang.first();
        if (s.faelligUs > jetzt) {
            m_pumpe.start(int((s.faelligUs - jetzt + 999) / 1000));
            return;
        }
        QByteArray teil;
        if (!m_pacing) {
            teil = s.daten.mid(s.gesendet);
            m_ausgang.removeFirst();
            m_leitungFreiUs = jetzt;
        } else {
            if (s.startUs < 0)
                s.startUs = qMax(s.faelligUs, m_leitungFreiUs);
            const qsizetype faellig = qMin<qsizetype>(s.daten.size(), qsizetype(double(jetzt - s.startUs) / ByteZeitUs));
            if (faellig <= s.gesendet) {
                const qint64 naechster = s.startUs + qint64(double(s.gesendet + 1) * ByteZeitUs) + 1;
                m_pumpe.start(int(qMax<qint64>(1, (naechster - jetzt + 999) / 1000)));
                return;
            }
            teil = s.daten.mid(s.gesendet, faellig - s.gesendet);
            s.gesendet = faellig;
            if (faellig == s.daten.size()) {
                m_leitungFreiUs = s.startUs + qint64(double(s.daten.size()) * ByteZeitUs);
                m_ausgang.removeFirst();
            }
        }
        emit senden(teil);
        if (!lebt)
            return;
    }
}

// --- Memory --------------------------------------------------------------------------------------

QByteArray QuorvelSimulator::status() const
{
    if (m_stoerAnzahl == -2 || m_status.size() < 4)
        return m_status;
    QByteArray satz = m_status;
    satz.replace(0, 4, wort(stoerAnzahl()));
    return satz;
}

void QuorvelSimulator::setStatus(const QByteArray &satz)
{
    m_status = satz;
    m_stoerAnzahl = -2;
}

int QuorvelSimulator::stoercode(int nr) const
{
    return nr >= 1 && nr <= StoerSlots ? m_stoercodes[nr - 1] : 0;
}

void QuorvelSimulator::setStoercode(int nr, int code)
{
    if (nr >= 1 && nr <= StoerSlots)
        m_stoercodes[nr - 1] = code;
}

int QuorvelSimulator::stoerAnzahl() const
{
    if (m_stoerAnzahl >= 0)
        return m_stoerAnzahl;
    if (m_stoerAnzahl == -2)
        return hexWert(m_status.left(4));
    int n = 0;
    for (const int code : m_stoercodes)
        if (code != 0)
            ++n;
    return n;
}

void QuorvelSimulator::setStoerAnzahl(int anzahl)
{
    m_stoerAnzahl = anzahl >= 0 ? anzahl : -1;
}

QByteArray QuorvelSimulator::firmwareRegister(int nr) const
{
    return nr == 1 || nr == 2 ? m_firmware[nr - 1] : QByteArray();
}

void QuorvelSimulator::setFirmwareRegister(int nr, const QByteArray &wort)
{
    if (nr == 1 || nr == 2)
        m_firmware[nr - 1] = wort;
}

void QuorvelSimulator::setAlteFirmware(bool alt)
{
    m_firmware[0] = "5633";                 // "V3"
    m_firmware[1] = alt ? "3531" : "3532";  // "51" or "52"
}

bool QuorvelSimulator::alteFirmware() const
{
    // The firmware number is characters 2 to 4 of the four register bytes.
    const int a = hexWert(m_firmware[0]);
    const int b = hexWert(m_firmware[1]);
    if (a < 0 || b < 0)
        return false;
    const char ziffern[3] = {char(a & 0xFF), char(b >> 8), char(b & 0xFF)};
    int nummer = 0;
    for (const char c : ziffern) {
        if (c < '0' || c > '9')
            return false;
        nummer = nummer * 10 + (c - '0');
    }
    return nummer < 352;
}

QByteArray QuorvelSimulator::uhrRegister(int reg) const
{
    if (reg >= RegUhr352 && reg <= RegSommer352)
        return m_uhr352[reg - RegUhr352];
    if (reg >= RegUhrAlt && reg < RegUhrAlt + 3)
        return m_uhrAlt[reg - RegUhrAlt];
    if (reg == RegSommerAlt)
        return m_uhrAlt[3];
    return {};
}

void QuorvelSimulator::setWochenprogramm(const QByteArray &text)
{
    m_wochPrg = aufLaenge(text, WochPrgLaenge);
}

QByteArray QuorvelSimulator::gaerProgramm(int nr) const
{
    return nr >= 1 && nr <= ProgrammAnzahl ? gaerSpeicher()[nr - 1] : QByteArray();
}

void QuorvelSimulator::setGaerProgramm(int nr, const QByteArray &text)
{
    if (nr >= 1 && nr <= ProgrammAnzahl)
        gaerSpeicher()[nr - 1] = aufLaenge(text, 4 * gaerFelder());
}

QByteArray QuorvelSimulator::nivorellProgramm(int nr) const
{
    return nr >= 1 && nr <= ProgrammAnzahl ? m_nv[nr - 1] : QByteArray();
}

void QuorvelSimulator::setNivorellProgramm(int nr, const QByteArray &text)
{
    if (nr >= 1 && nr <= ProgrammAnzahl)
        m_nv[nr - 1] = aufLaenge(text, NivorellLaenge);
}
