#pragma once

// Program-wide values. main creates exactly one Programm; every test creates a fresh one.
// Code reaches the current instance through P(). Each subsystem keeps its values in its own
// section below; pointers name objects that live elsewhere and are owned elsewhere.

#include <QList>
#include <QString>
#include <QtGlobal>

class QuorvelBefehl;
class QuorvelEngine;
class TwMiniQuorvel;
class TwQuorvel;
class TwShowbox;
class TfVersion;
class TTestShow;
class TAboutBox;
class TwQuorvelNivorell;
class TwQuorvelGaerProg;

struct Programm
{
    Programm();
    ~Programm();
    Programm(const Programm &) = delete;
    Programm &operator=(const Programm &) = delete;

    // --- Application support -------------------------------------------------------------
    QString Programmverzeichnis;   // executable folder, with trailing separator
    QString ServerIniDatei;
    QString BackprogrammeQuorvel;
    QString ModulName;
    bool ServiceModus = false;
    // Error-log size limit in bytes: the settings file's default until the setting is read, so
    // that errors while reading it never move a day's log aside.
    qint64 MaxGroesseErr = 500 * 1024;
    qint32 ShowTextTime = 0;
    qint32 ShowErrTime = 0;
    qint32 KeineMeldungen = 0;
    qint32 MaxZeilenLog = 0;              // [Messages] line limits, kept but not used
    qint32 MaxZeilenErr = 0;
    qint32 TCPWinPort = 0;                // [TCPIP] values, kept but not used
    qint32 TCPServerTimeOut = 0;
    qint32 ShowboxZaehler = 0;            // boxes created since start, up to 32767
    TwShowbox *wShowbox = nullptr;
    int StatusPollSekunden = 1;
    int CheckTimerSekunden = 90;

    // --- Controller protocol ---------------------------------------------------------------
    bool FirmwareAb352 = true;
    quint8 GaerProgFelder = 14;
    quint8 GaerProgLaenge = 56;
    static constexpr quint8 GaerProgMaxLaenge = 56;
    bool FirmwareGelesenAb352 = false;
    bool UhrNachFirmware = false;
    QuorvelBefehl *AktuellerBefehl = nullptr;   // not owned
    qint32 BlockNr = 0;
    QList<QuorvelBefehl *> BefehlsTabelle;       // not owned; searched by keyword and name
    bool Abbruch = false;
    bool Wartet = false;
    bool Beenden = false;
    QuorvelEngine *Engine = nullptr;            // not owned; the command engine of the main window

    // --- Windows ---------------------------------------------------------------------------
    TwMiniQuorvel *wMiniQuorvel = nullptr;
    TfVersion *fVersion = nullptr;
    TTestShow *TestShow = nullptr;
    TAboutBox *AboutBox = nullptr;
    TwQuorvelNivorell *wQuorvelNivorell = nullptr;
    TwQuorvelGaerProg *wQuorvelGaerProg = nullptr;
};

// The current program-wide values; there must be a live Programm.
Programm &P();
// True while a Programm exists.
bool ProgrammVorhanden();
