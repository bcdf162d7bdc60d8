#pragma once

// Reply decoders of the program and weekly-program transfers: they sequence the frames of a
// transfer through the block builders of the running command and turn the completed texts into
// results. They work on the service side's transfer buffers; the service window supplies the
// visibility of its groups and the display of what was read through the hooks below.

#include "controller/uQuorvelEngine.h"
#include "controller/uQuorvelKonstanten.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <functional>


enum class TransferGruppe { GaerProgramm, NivorellProgramm, WochenProgramme };

class QuorvelTransfer : public QObject
{
    Q_OBJECT
public:
    // Lives as a child of the service side, as long as its decoder table.
    explicit QuorvelTransfer(QuorvelService *service);
    ~QuorvelTransfer() override;

    // The service side's transfer object, made on first use.
    static QuorvelTransfer *Fuer(QuorvelService *service);

    // Enters the six decoders in the service side's decoder table.
    void Einsetzen();

    bool WoPrgLesenAntwort(const QString &Daten);
    bool WoPrgSendenAntwort(const QString &Daten);
    bool GaerLesenAntwort(qint32 Position, const QString &Daten);
    bool GaerSendenAntwort(qint32 Position, const QString &Daten);
    bool NvLesenAntwort(qint32 Position, const QString &Daten);
    bool NvSendenAntwort(qint32 Position, const QString &Daten);

    // Weekly-program characters received so far.
    QString WochPuffer;

    // A reply shorter than a block is not kept; the same block is asked for again so many
    // times before the reply is refused.
    static constexpr int MaxKurzeAntworten = 3;

    // Hooks of the service window. Without a result hook results leave through the engine's
    // ErgebnisVerteilen signal; a missing visibility hook counts every group as hidden.
    std::function<void(qint32 Nummer, const QString &Topic, const QString &Text)> MeldungAnHauptfenster;
    std::function<bool(TransferGruppe Gruppe)> GruppeSichtbar;
    std::function<void(const TQorWochPrg &Prog)> WoPrgAnzeigen;
    std::function<void(const TQorGaerProg &Prog)> GaerProgAnzeigen;
    std::function<void(const TQorNivorell &Prog)> NvAnzeigen;
    std::function<void(const std::array<TQorGaerProg, 10> &Liste)> GaerListeAnzeigen;
    std::function<void(const std::array<TQorNivorell, 10> &Liste)> NvListeAnzeigen;

private:
    enum class Art { Gaer, Nivorell };

    bool Lesen(Art art, qint32 k, const QString &Daten);
    bool Senden(Art art, qint32 k, const QString &Daten);
    // Appends the whole 16-character groups of a read block (all of it when it completes the
    // record) and returns the number of blocks to advance; -1 refuses the reply.
    qint32 BlockAnhaengen(QString &Puffer, qint32 R, const QString &Daten);

    void Ergebnis(const QString &Topic, const QString &Text);
    void Memo(const QString &Text);
    bool Sichtbar(TransferGruppe g) const;
    void WarteEnde();

    QPointer<QuorvelService> mService;
    qint32 mKurzeAntworten = 0;
    qint32 mKurzerBlock = -1;
};
