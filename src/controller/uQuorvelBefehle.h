#pragma once

// The command object: one controller command, its request frames and its reply dispatch.

#include "controller/uQuorvelKonstanten.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <functional>

class QuorvelService;

class QuorvelBefehl : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ name CONSTANT)
public:
    // Create: Rec gives name, keyword and try limit (at least 3).
    QuorvelBefehl(const NeuerBefehl &Rec, qint32 Index, const QString &Adresse,
                  QObject *parent = nullptr);
    static QuorvelBefehl *Create(const NeuerBefehl &Rec, qint32 Index, const QString &Adresse,
                                 QObject *parent = nullptr);

    QString name() const { return Name; }

    QString Name;
    quint16 Nummer = 0;
    quint8 Versuche = 0;
    quint8 MaxVersuche = 3;
    QString Zeile;
    qint32 Index = 0;
    qint32 Parameter = 0;
    QString Adresse;
    QString Daten;
    QString Kennung;
    NeuerBefehl Befehl;
    QString SendeRest;
    QString GaerSendeRest;
    QString SommerZeit;
    // The PC clock that a clock write sends; the system clock when empty.
    std::function<QDateTime()> Uhr;

    // Starts the command: becomes the current command, begins the wait, sends the first frame.
    void Ausfuehren(qint32 Parameter, const QString &Daten);
    // Address + "58" + payload + checksum + CR; keeps the address used.
    QString TelegrammBilden(const QString &Payload);
    // Arms the frame time-out (at least 1000 ms) and writes one frame.
    void Senden(const QString &Payload, qint32 FrameTimeout);

    // Block builders. A block number outside a builder's range sends nothing.
    void StatusLesen();
    void StoerungLesen(qint32 n);
    void FirmwareLesen(qint32 n);
    void UhrBlockSenden(const QString &Flag, qint32 n);
    void WochPrgBlockLesen(qint32 n);
    void WochPrgBlockSenden(const QString &Text, qint32 n);
    void NivorellBlockLesen(quint8 ProgNr, qint32 n);
    void NivorellBlockSenden(quint8 k, const QString &Text, qint32 n);
    void GaerProgBlockLesen(quint8 ProgNr, qint32 n);
    void GaerProgBlockSenden(quint8 k, const QString &Text, qint32 n);

    // Hands a checked reply's data to the decoder of this command's keyword.
    bool AntwortVerteilen(const QString &Daten);

private:
    void Lesen(quint16 Register, qint32 FrameTimeout);
    void Schreiben(quint16 Register, const QString &Datenwort, qint32 FrameTimeout);
    // Frame n of a program read of Frames frames at Basis: step 1 writes the program number,
    // the others read the blocks after it.
    void ProgrammBlockLesen(quint16 Basis, qint32 Frames, quint8 ProgNr, qint32 n, qint32 LeseTimeout);
    // Frame n of a program write of Felder fields at Basis: the first field of a program takes
    // the program's text (for list program k its piece of the list of Laenge-character texts);
    // each frame sends the first word of what is left in Puffer, which Rest mirrors.
    void ProgrammBlockSenden(quint16 Basis, qint32 Felder, qint32 Laenge, QString &Puffer, QString &ListPuffer,
                             QString &Rest, quint8 k, const QString &Text, qint32 n, qint32 FrameTimeout);
};

// Begins or ends the wait state of the engine (the main window's SetWarteZustand).
void BefehlWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten);

// The service side of the engine; the address is ignored.
QuorvelService *ServiceFensterHolen(const QString &Adresse);

// Byte sum of the text modulo 256 as two upper-case hex digits.
QString PruefsummeText(const QString &Text);
