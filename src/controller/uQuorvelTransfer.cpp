#include "controller/uQuorvelTransfer.h"

#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "support/uProgramm.h"

#include <algorithm>

namespace {

constexpr qint32 GaerLeseFrames = 5;
constexpr qint32 NvLeseFrames = 8;
constexpr qint32 NvFelder = 25;
constexpr qint32 NvLaenge = 100;
constexpr qint32 WochLaenge = 112;
constexpr qint32 WochFelder = 28;
constexpr qint32 Blocklaenge = 16;

const QString TopicMeldung = QStringLiteral("MELDUNG");
const QString Fortschritt = QStringLiteral("RestoreFortschritt=");
const QString SendACK = QStringLiteral("SendACK");

struct ArtDaten
{
    TransferGruppe gruppe;
    QString prefix;
    QString topicEinzel;
    QString topicListe;
    QString fehlerLesen;
    QString fehlerSenden;
    QString okEinzel;
    QString okListe;
};

const ArtDaten &Gaer()
{
    static const ArtDaten d{TransferGruppe::GaerProgramm,
                            QStringLiteral("Gaer-PrgNr."),
                            QStringLiteral("QORGAERPROG"),
                            QStringLiteral("QORGAERLISTE"),
                            QStringLiteral("Fehler bei GaerProgramme lesen!"),
                            QStringLiteral("Fehler bei GaerProgramme senden!"),
                            QStringLiteral("GaerProgramm erfolgreich übertragen"),
                            QStringLiteral("GaerProgramm-Liste erfolgreich übertragen")};
    return d;
}

const ArtDaten &Nivorell()
{
    static const ArtDaten d{TransferGruppe::NivorellProgramm,
                            QStringLiteral("Nivorell PrgNr."),
                            QStringLiteral("QORNIVORELL"),
                            QStringLiteral("QORNIVOLISTE"),
                            QStringLiteral("Fehler bei NivorellProgramme lesen!"),
                            QStringLiteral("Fehler bei NivorellProgramme senden!"),
                            QStringLiteral("NivorellProgramm erfolgreich übertragen"),
                            QStringLiteral("NivorellProgramm-Liste erfolgreich übertragen")};
    return d;
}

QString Nr2(qint32 k)
{
    return QStringLiteral("%1").arg(k, 2, 10, QLatin1Char('0'));
}

// Step 1 .. n of the frame that BlockNr names.
qint32 Schritt(qint32 frames)
{
    return ((P().BlockNr - 1) % frames + frames) % frames + 1;
}

} // namespace

QuorvelTransfer::QuorvelTransfer(QuorvelService *service) : QObject(service), mService(service)
{
    setObjectName(QStringLiteral("QuorvelTransfer"));
}

QuorvelTransfer::~QuorvelTransfer()
{
    // The service side may outlive its transfer object: its entries must not point here.
    if (mService) {
        QuorvelDekoder &d = mService->Dekoder;
        d.WoPrgLesenAntwort = nullptr;
        d.WoPrgSendenAntwort = nullptr;
        d.GaerLesenAntwort = nullptr;
        d.GaerSendenAntwort = nullptr;
        d.NvLesenAntwort = nullptr;
        d.NvSendenAntwort = nullptr;
    }
}

QuorvelTransfer *QuorvelTransfer::Fuer(QuorvelService *service)
{
    if (!service)
        return nullptr;
    if (auto *t = service->findChild<QuorvelTransfer *>(QString(), Qt::FindDirectChildrenOnly))
        return t;
    return new QuorvelTransfer(service);
}

void QuorvelTransfer::Einsetzen()
{
    if (!mService)
        return;
    QuorvelDekoder &d = mService->Dekoder;
    d.WoPrgLesenAntwort = [this](const QString &x) { return WoPrgLesenAntwort(x); };
    d.WoPrgSendenAntwort = [this](const QString &x) { return WoPrgSendenAntwort(x); };
    d.GaerLesenAntwort = [this](qint32 k, const QString &x) { return GaerLesenAntwort(k, x); };
    d.GaerSendenAntwort = [this](qint32 k, const QString &x) { return GaerSendenAntwort(k, x); };
    d.NvLesenAntwort = [this](qint32 k, const QString &x) { return NvLesenAntwort(k, x); };
    d.NvSendenAntwort = [this](qint32 k, const QString &x) { return NvSendenAntwort(k, x); };
}

// ---- shared steps --------------------------------------------------------------------------

void QuorvelTransfer::Ergebnis(const QString &Topic, const QString &Text)
{
    if (MeldungAnHauptfenster) {
        MeldungAnHauptfenster(0, Topic, Text);
        return;
    }
    if (mService && mService->Engine())
        emit mService->Engine()->ErgebnisVerteilen(0, Topic, Text);
}

void QuorvelTransfer::Memo(const QString &Text)
{
    if (mService)
        mService->MeldungMemoZeile(Text);
}

bool QuorvelTransfer::Sichtbar(TransferGruppe g) const
{
    return GruppeSichtbar && GruppeSichtbar(g);
}

void QuorvelTransfer::WarteEnde()
{
    if (mService)
        mService->FensterWarteZustand(0, true, false);
}

qint32 QuorvelTransfer::BlockAnhaengen(QString &Puffer, qint32 R, const QString &Daten)
{
    const qsizetype L = Daten.size();
    if (L == 0)
        return -1;
    // The rest of the record: everything is kept, the buffer is cut afterwards.
    if (Puffer.size() + L >= R) {
        Puffer += Daten;
        return 0;
    }
    const qint32 gruppen = qint32(L / Blocklaenge);
    if (gruppen == 0) {
        // The controller sends the block from its start again: a part of it is not kept.
        if (mKurzerBlock != P().BlockNr) {
            mKurzerBlock = P().BlockNr;
            mKurzeAntworten = 0;
        }
        if (++mKurzeAntworten > MaxKurzeAntworten)
            return -1;
        return 0;
    }
    Puffer += Daten.left(gruppen * Blocklaenge);
    return gruppen;
}

// ---- weekly program -----------------------------------------------------------------------

bool QuorvelTransfer::WoPrgLesenAntwort(const QString &Daten)
{
    const QString fehler = QStringLiteral("Fehler bei Wochenprogramme lesen!");
    QuorvelBefehl *cmd = P().AktuellerBefehl;
    if (!mService || !cmd) {
        Memo(fehler);
        return false;
    }
    if (P().BlockNr == 1) {
        if (Daten.size() != Blocklaenge) {
            Memo(fehler);
            return false;
        }
        mKurzerBlock = -1;
        WochPuffer = Daten;
        cmd->WochPrgBlockLesen(2);
        return true;
    }
    const qint32 weiter = BlockAnhaengen(WochPuffer, WochLaenge, Daten);
    if (weiter < 0) {
        Memo(fehler);
        return false;
    }
    if (WochPuffer.size() < WochLaenge) {
        cmd->WochPrgBlockLesen(P().BlockNr + weiter);
        return true;
    }
    WochPuffer.truncate(WochLaenge);
    WarteEnde();
    Ergebnis(QStringLiteral("QORWOCHPROG"), WochPuffer);
    if (WoPrgAnzeigen)
        WoPrgAnzeigen(HexZuWochPrg(WochPuffer));
    return true;
}

bool QuorvelTransfer::WoPrgSendenAntwort(const QString &Daten)
{
    QuorvelBefehl *cmd = P().AktuellerBefehl;
    if (!mService || !cmd || Daten.size() != 4) {
        Memo(QStringLiteral("Fehler bei Wochenprogramme senden!"));
        return false;
    }
    if (P().BlockNr < WochFelder) {
        cmd->WochPrgBlockSenden(QString(), P().BlockNr + 1);
        return true;
    }
    WarteEnde();
    Ergebnis(QStringLiteral("QORWOCHPROG"), SendACK);
    if (Sichtbar(TransferGruppe::WochenProgramme))
        Memo(QStringLiteral("Programm erfolgreich übertragen"));
    return true;
}

// ---- programs -----------------------------------------------------------------------------

bool QuorvelTransfer::GaerLesenAntwort(qint32 Position, const QString &Daten)
{
    return Lesen(Art::Gaer, Position, Daten);
}

bool QuorvelTransfer::GaerSendenAntwort(qint32 Position, const QString &Daten)
{
    return Senden(Art::Gaer, Position, Daten);
}

bool QuorvelTransfer::NvLesenAntwort(qint32 Position, const QString &Daten)
{
    return Lesen(Art::Nivorell, Position, Daten);
}

bool QuorvelTransfer::NvSendenAntwort(qint32 Position, const QString &Daten)
{
    return Senden(Art::Nivorell, Position, Daten);
}

bool QuorvelTransfer::Lesen(Art art, qint32 k, const QString &Daten)
{
    const bool gaer = art == Art::Gaer;
    const ArtDaten &a = gaer ? Gaer() : Nivorell();
    QuorvelBefehl *cmd = P().AktuellerBefehl;
    if (!mService || !cmd || k < 0 || k > 10 || (k > 0 && P().Abbruch)) {
        Memo(a.fehlerLesen);
        return false;
    }
    const qint32 F = gaer ? GaerLeseFrames : NvLeseFrames;
    const qint32 R = gaer ? qint32(P().GaerProgLaenge) : NvLaenge;
    QString &puffer = gaer ? mService->GaerPuffer : mService->NvPuffer;
    QString &liste = gaer ? mService->GaerListPuffer : mService->NvListPuffer;
    auto blockLesen = [&](qint32 nr, qint32 n) {
        if (gaer)
            cmd->GaerProgBlockLesen(quint8(nr), n);
        else
            cmd->NivorellBlockLesen(quint8(nr), n);
    };

    if (Schritt(F) == 1) {
        if (Daten.size() != 4) {
            Memo(a.fehlerLesen);
            return false;
        }
        mKurzerBlock = -1;
        puffer.clear();
        if (k == 1)
            liste.clear();
        blockLesen(0, P().BlockNr + 1);
        return true;
    }

    const qint32 weiter = BlockAnhaengen(puffer, R, Daten);
    if (weiter < 0) {
        Memo(a.fehlerLesen);
        return false;
    }
    if (puffer.size() < R) {
        blockLesen(0, P().BlockNr + weiter);
        return true;
    }
    puffer.truncate(R);
    const bool sichtbar = Sichtbar(a.gruppe);

    if (k == 0) {
        const QString text = puffer;
        WarteEnde();
        Ergebnis(a.topicEinzel, text);
        if (sichtbar) {
            if (gaer && GaerProgAnzeigen)
                GaerProgAnzeigen(HexZuGaerProg(text));
            else if (!gaer && NvAnzeigen)
                NvAnzeigen(HexZuNivorell(text));
        }
        return true;
    }

    liste += puffer;
    if (k < 10) {
        puffer.clear();
        if (sichtbar)
            Memo(a.prefix + Nr2(k) + QStringLiteral(" gelesen."));
        Ergebnis(TopicMeldung, Fortschritt + QString::number(k));
        P().BlockNr = k * F;
        blockLesen(k + 1, k * F + 1);
        return true;
    }

    const QString text = liste;
    WarteEnde();
    Ergebnis(a.topicListe, text);
    if (sichtbar) {
        if (gaer && GaerListeAnzeigen) {
            std::array<TQorGaerProg, 10> l;
            for (int i = 0; i < 10; ++i)
                l[i] = HexZuGaerProg(text.mid(i * R, R));
            GaerListeAnzeigen(l);
        } else if (!gaer && NvListeAnzeigen) {
            std::array<TQorNivorell, 10> l;
            for (int i = 0; i < 10; ++i)
                l[i] = HexZuNivorell(text.mid(i * R, R));
            NvListeAnzeigen(l);
        }
    }
    return true;
}

bool QuorvelTransfer::Senden(Art art, qint32 k, const QString &Daten)
{
    const bool gaer = art == Art::Gaer;
    const ArtDaten &a = gaer ? Gaer() : Nivorell();
    QuorvelBefehl *cmd = P().AktuellerBefehl;
    if (!mService || !cmd || k < 0 || k > 10 || (k > 0 && P().Abbruch) || Daten.size() != 4) {
        Memo(a.fehlerSenden);
        return false;
    }
    const qint32 N = gaer ? std::max<qint32>(1, P().GaerProgFelder) : NvFelder;
    auto blockSenden = [&](qint32 liste, qint32 n) {
        if (gaer)
            cmd->GaerProgBlockSenden(quint8(liste), QString(), n);
        else
            cmd->NivorellBlockSenden(quint8(liste), QString(), n);
    };

    if (Schritt(N) < N) {
        blockSenden(0, P().BlockNr + 1);
        return true;
    }
    const bool sichtbar = Sichtbar(a.gruppe);
    if (k == 0) {
        WarteEnde();
        Ergebnis(a.topicEinzel, SendACK);
        if (sichtbar)
            Memo(a.okEinzel);
        return true;
    }
    if (k < 10) {
        blockSenden(k + 1, P().BlockNr + 1);
        if (sichtbar)
            Memo(a.prefix + Nr2(k) + QStringLiteral(" gesendet."));
        Ergebnis(TopicMeldung, Fortschritt + QString::number(k));
        return true;
    }
    WarteEnde();
    Ergebnis(a.topicListe, SendACK);
    if (sichtbar)
        Memo(a.okListe);
    return true;
}
