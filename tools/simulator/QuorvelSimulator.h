#pragma once

// A Quorvel proofing controller on the serial line: it gathers the request frames that the PC
// sends, answers those addressed to it with reply lines and keeps the controller's memory
// (status, faults, firmware, clock, weekly program, proofing and Nivorell programs).
//
// Request frame: address(4) "58" function(2: "10" read, "11" write) register(4 hex) data(4)
// checksum(2 upper-case hex, byte sum mod 256) CR.
// Reply line: address(4) "58" code(2: the function, or "81".."88" on an error) register(4)
// data checksum(2) CR. Data: 4 characters for a single register and for every write, 16 for a
// block of four program registers, "0010" + the 64-character record for the status.
//
// The controller's answer to a bad request: checksum wrong "83", chars 5-6 not "58" "82",
// frame not 18 characters before CR "86", register or data not allowed "84", write to a
// read-only register "85", unknown function "88". Unknown registers and frames for another
// address get no reply.
//
// Replies leave through the signal senden(), always from the event loop (never inside
// empfangen()), all at once, or byte-paced at 9600 baud 8N1 when pacing is on.

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class QuorvelSimulator : public QObject
{
    Q_OBJECT
public:
    // Faults that can be planned for the next replies.
    enum Stoerung {
        KeineAntwort,       // the reply is lost (the frame itself is still carried out)
        FalschePruefsumme,  // the reply's checksum is off by one
        FalscheLaenge,      // the reply loses data characters (param: how many, default 1)
        StatusCode,         // the reply carries the status code param ("81".."88")
        EchoVorAntwort,     // the request bytes come back before the reply
        CrLf,               // the reply ends in CR LF
        Verzoegerung,       // the reply leaves after param milliseconds (default 1000)
    };
    Q_ENUM(Stoerung)

    // Registers.
    static constexpr int RegStatus = 0x1700;
    static constexpr int RegStoerung1 = 0x3001;   // fault i at RegStoerung1 + 5 * (i - 1)
    static constexpr int RegFirmware1 = 0x0B11;
    static constexpr int RegFirmware2 = 0x0B12;
    static constexpr int RegUhr352 = 0x0809;      // hhmm, ddmm, yyyy, summer at 0809..080C
    static constexpr int RegSommer352 = 0x080C;
    static constexpr int RegUhrAlt = 0x0B01;      // hhmm, ddmm, yyyy at 0B01..0B03
    static constexpr int RegSommerAlt = 0x0B13;   // summer word of the older firmware
    static constexpr int RegWochPrg = 0x0600;     // 28 words
    static constexpr int RegGaerProg = 0x0300;    // word 0 selects the program, 14 words (13 on V351)
    static constexpr int RegNivorell = 0x1600;    // word 0 selects the program, 25 words

    static constexpr int ProgrammAnzahl = 10;
    static constexpr int StoerSlots = 8;
    static constexpr int GaerProgLaenge = 56;      // 14 fields with the "AB" duration
    static constexpr int GaerProgLaengeAlt = 52;   // 13 fields, no "AB" duration: firmware V351
    static constexpr int NivorellLaenge = 100;
    static constexpr int WochPrgLaenge = 112;
    static constexpr int StatusLaenge = 64;

    explicit QuorvelSimulator(const QString &adresse = QStringLiteral("0600"), QObject *parent = nullptr);
    ~QuorvelSimulator() override;

    QString adresse() const { return m_adresse; }
    void setAdresse(const QString &adresse) { m_adresse = adresse; }

    // Bytes from the PC, in any chunking; a line ends in CR.
    void empfangen(const QByteArray &bytes);

    // 9600-baud byte pacing of everything sent.
    void setPacing(bool an) { m_pacing = an; }
    bool pacing() const { return m_pacing; }
    // Echo of every received byte, as an echoing RS-485 line does.
    void setEcho(bool an) { m_echo = an; }
    bool echo() const { return m_echo; }
    // Bytes toward the PC that answer nothing (noise, stray replies), behind what waits already.
    void rohSenden(const QByteArray &bytes, int verzoegerungMs = 0) { ausgeben(bytes, verzoegerungMs); }
    // True while bytes wait to be sent.
    bool sendetNoch() const { return !m_ausgang.isEmpty(); }

    // Fault injection: the faults are applied in the order planned, each to the next
    // anzahlFrames replies (frames for another address and ignored frames do not count).
    void stoerungEinplanen(Stoerung art, int anzahlFrames = 1, const QByteArray &param = {});
    void stoerungenVerwerfen() { m_stoerungen.clear(); }
    // Replies still to be disturbed.
    int geplanteStoerungen() const;

    // Status record as it is sent (64 characters unless set otherwise).
    QByteArray status() const;
    // Sets the record; it is sent as given, its fault count included, until setStoerAnzahl().
    void setStatus(const QByteArray &satz);
    static QByteArray standardStatus();

    // Fault codes of slots 1..8 (0 = none).
    int stoercode(int nr) const;
    void setStoercode(int nr, int code);
    // The fault count of the status record: follows the occupied slots by default.
    int stoerAnzahl() const;
    // anzahl >= 0: fixed count; anzahl < 0: follows the slots again.
    void setStoerAnzahl(int anzahl);

    // Data characters of a fault reply (4 at start); the code stands in the last four, a longer
    // reply is filled with "0" in front, a shorter one keeps the code's last digits.
    void setStoerDatenLaenge(int laenge) { m_stoerDatenLaenge = qMax(0, laenge); }

    // Firmware registers 1 and 2 (4 hex digits each); "5633" "3532" reads as "V352".
    QByteArray firmwareRegister(int nr) const;
    void setFirmwareRegister(int nr, const QByteArray &wort);
    // Older family ("V351": clock at 0B01..0B03 and 0B13) or the newer one ("V352").
    void setAlteFirmware(bool alt);
    bool alteFirmware() const;

    // Last word written to a clock register of either family; empty when never written.
    // Only the family of the current firmware answers; a clock write also sets the time, date,
    // summer flag and weekday of the status record.
    QByteArray uhrRegister(int reg) const;

    QByteArray wochenprogramm() const { return m_wochPrg; }
    void setWochenprogramm(const QByteArray &text);
    // Programs 1..10 as wire text: proofing programs of 56 characters, or 52 with the older
    // firmware (which keeps programs of its own), Nivorell programs of 100.
    QByteArray gaerProgramm(int nr) const;
    void setGaerProgramm(int nr, const QByteArray &text);
    QByteArray nivorellProgramm(int nr) const;
    void setNivorellProgramm(int nr, const QByteArray &text);
    // Program area selected by the last program-number write (1 at start).
    int gaerProgrammNummer() const { return m_gaerNr; }
    int nivorellProgrammNummer() const { return m_nvNr; }

    // Every line received (CR included), byte-exact, oldest first.
    QList<QByteArray> empfangeneFrames() const { return m_frames; }
    void frameLogLoeschen() { m_frames.clear(); }

    // Longest line kept while waiting for its CR; longer ones are dropped.
    static constexpr int MaxZeile = 1024;

signals:
    // Bytes toward the PC.
    void senden(const QByteArray &bytes);
    // A complete line from the PC, CR included.
    void frameEmpfangen(const QByteArray &frame);
    // A reply line as it goes out (after planned faults); not for a lost reply.
    void antwortGebildet(const QByteArray &antwort);

private:
    struct Plan {
        Stoerung art;
        int rest;
        QByteArray param;
    };
    struct Stueck {
        QByteArray daten;
        qint64 faelligUs = 0;   // not before (µs on m_uhr)
        qint64 startUs = -1;    // first byte on the line (pacing)
        qsizetype gesendet = 0;
    };

    void zeileVerarbeiten(const QByteArray &frame);
    QByteArray antwortBilden(const QByteArray &zeile);
    QByteArray lesen(int reg, bool *bekannt) const;
    QByteArray schreiben(int reg, const QByteArray &wort, bool *bekannt);
    void uhrInStatus(int feld, const QByteArray &wort);
    void antwortSenden(const QByteArray &frame, QByteArray antwort);
    void ausgeben(const QByteArray &bytes, int verzoegerungMs = 0, qint64 zusatzUs = 0);
    void pumpen();

    QString m_adresse;
    bool m_pacing = false;
    bool m_echo = false;

    QByteArray m_zeile;
    bool m_zeileVerwerfen = false;
    QList<QByteArray> m_frames;
    QList<Plan> m_stoerungen;

    QByteArray m_status;
    int m_stoerAnzahl = -1;          // -1: follows the slots
    int m_stoercodes[StoerSlots] = {};
    int m_stoerDatenLaenge = 4;
    QByteArray m_firmware[2];
    QByteArray m_uhr352[4];
    QByteArray m_uhrAlt[4];
    QByteArray m_wochPrg;
    // Proofing programs of the current family: 14 or 13 fields.
    int gaerFelder() const { return alteFirmware() ? GaerProgLaengeAlt / 4 : GaerProgLaenge / 4; }
    QByteArray *gaerSpeicher() { return alteFirmware() ? m_gaerAlt : m_gaer; }
    const QByteArray *gaerSpeicher() const { return alteFirmware() ? m_gaerAlt : m_gaer; }

    QByteArray m_gaer[ProgrammAnzahl];
    QByteArray m_gaerAlt[ProgrammAnzahl];
    QByteArray m_nv[ProgrammAnzahl];
    int m_gaerNr = 1;
    int m_nvNr = 1;

    QList<Stueck> m_ausgang;
    QTimer m_pumpe;
    QElapsedTimer m_uhr;
    qint64 m_leitungFreiUs = 0;
};
