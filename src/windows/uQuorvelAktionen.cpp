// The service window's request buttons, clock, firmware and abort, and its file buttons.

#include "windows/uQuorvel.h"

#include "controller/uQuorvelEngine.h"
#include "editors/uProgrammDatei.h"
#include "editors/uQuorvelGaerProg.h"
#include "support/Sammlung.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"
#include "windows/uMiniQuorvel.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// The request is refused: a value does not fit its four-character field.
void Ablehnen(const QString &Was)
{
    ShowErr(QStringLiteral("FEHLER"), Was + QStringLiteral("\r\nenthält ungültige Werte!\r\nnicht übertragen"), 0);
}

// The wire texts of a list joined in list order; empty when one entry has none (Nr: its
// place, 1..10).
template <typename Liste, typename Kodierer>
QString ListeKodieren(const Liste &L, Kodierer Zu, int &Nr)
{
    QString text;
    for (size_t i = 0; i < L.size(); ++i) {
        const QString t = Zu(L[i]);
        if (t.isEmpty()) {
            Nr = int(i) + 1;
            return QString();
        }
        text += t;
    }
    Nr = 0;
    return text;
}

// False, with the box the editors show, when the single program could not be encoded: an
// empty line would load back as another program. Nummer: its number.
bool EinzelZeileGueltig(const QStringList &Zeilen, const QString &Nummer)
{
    if (Zeilen.size() < 2 || !Zeilen.at(1).isEmpty())
        return true;
    ShowErr(QStringLiteral("FEHLER"), QStringLiteral("Programm %1 enthält ungültige Werte!\r\nnicht gespeichert")
                                          .arg(GanzzahlOder(Nummer, 0)), 0);
    return false;
}

const QString WochPrgFilter = QStringLiteral("Quorvel Wochen-Programme (*.QWP)|*.QWP|Alle Dateien (*.*)|*.*");
const QString WochPrgEndung = QStringLiteral("*.QWP");

// Value of a number spin edit: its text as a number, 1 when it is none.
qint32 SpinWert(const TQorSpinEdit *s)
{
    return s->Wert(1);
}

// Line 1 of a single-program file into the number spin edit, brought into 1..10 as the spin
// edit does with a number set from outside (a line that is no number counts -1).
void NummerZeileSetzen(TQorSpinEdit *s, const QString &Zeile)
{
    s->setText(QString::number(qBound(1, GanzzahlOder(Zeile, -1), 10)));
}

// Entry 1 chosen without its change handler: the caller shows it once.
void ErsterEintrag(TQorSpinEdit *s)
{
    const QSignalBlocker sperre(s);
    s->setText(QStringLiteral("1"));
}

} // namespace

void TwQuorvel::AktionenVerbinden()
{
    const auto knopf = [this](QPushButton *b, void (TwQuorvel::*handler)()) {
        connect(b, &QPushButton::clicked, this, handler);
    };
    knopf(LesenGPrg, &TwQuorvel::LesenGPrgClick);
    knopf(SendenGPrg, &TwQuorvel::SendenGPrgClick);
    knopf(LesenNivoR, &TwQuorvel::LesenNivoRClick);
    knopf(SendenNivoR, &TwQuorvel::SendenNivoRClick);
    knopf(LesenWoPrg, &TwQuorvel::LesenWoPrgClick);
    knopf(SendenWoPrg, &TwQuorvel::SendenWoPrgClick);
    knopf(DoSetTime, &TwQuorvel::DoSetTimeClick);
    knopf(RdFirmware, &TwQuorvel::RdFirmwareClick);
    knopf(DoCancelRecord, &TwQuorvel::DoCancelRecordClick);
    knopf(ShowGaer, &TwQuorvel::ShowGaerClick);
    knopf(LadenGPrg, &TwQuorvel::LadenGPrgClick);
    knopf(SpeichernGPrg, &TwQuorvel::SpeichernGPrgClick);
    knopf(LadenNivoR, &TwQuorvel::LadenNivoRClick);
    knopf(SpeichernNivoR, &TwQuorvel::SpeichernNivoRClick);
    knopf(LadenWoPrg, &TwQuorvel::LadenWoPrgClick);
    knopf(Speichern_WoPrg, &TwQuorvel::Speichern_WoPrgClick);
}

void TwQuorvel::Anfrage(const NeuerBefehl &Befehl, const QString &Daten)
{
    const QString text = Befehl.Befehl + QLatin1Char('\t')
                       + QString::asprintf("%2.2d", int(mService ? mService->Nummer : 0)) + QLatin1Char('\t')
                       + Daten;
    if (ProgrammVorhanden() && P().wMiniQuorvel) {
        P().wMiniQuorvel->Kommando(QStringLiteral("BEFEHL"), text);
        return;
    }
    // Without a main window the engine's command entry takes the request.
    if (QuorvelEngine *e = mService ? mService->Engine() : nullptr)
        e->Kommando(QStringLiteral("BEFEHL"), text);
}

// ---- requests ---------------------------------------------------------------------------

// What the request and file buttons of one side work on.
template <typename Rec>
struct TwQuorvel::TProgrammSeite
{
    QCheckBox *ListenWahl;                  // ticked: the whole list
    TQorSpinEdit *Nummer;                   // number of the single program
    TQorSpinEdit *Eintrag;                  // list entry shown
    std::array<Rec, 10> &Liste;
    Rec &Prog;
    // Requests and the names of the refusal box.
    const NeuerBefehl &ListeLesen, &EinzelLesen, &ListeSchreiben, &EinzelSchreiben;
    QString ListenName, EinzelName;
    // Files.
    TProgrammDateiArt EinzelDatei, ListenDatei;
    bool (*ListeDateiLesen)(const QString &, std::array<Rec, 10> &, QString &);
    QStringList (*ListenZeilen)(const std::array<Rec, 10> &);
    // Codec and the side's fields.
    Rec (*AusHex)(const QString &);
    QString (*ZuHex)(const Rec &);
    void (TwQuorvel::*Loeschen)();
    void (TwQuorvel::*Anzeigen)(const Rec &);
    Rec (TwQuorvel::*AusFeldern)() const;
};

TwQuorvel::TProgrammSeite<TQorGaerProg> TwQuorvel::GaerSeite()
{
    return {TakeRecord,     P_Nr,           RecNr,
            GaerListe,      GaerProg,
            Q_GaerRecSave,  Q_GaerProgRd,   Q_GaerRecRest,  Q_GaerProgWr,
            QStringLiteral("Gär-Record"),   QStringLiteral("Gärprogramm"),
            TProgrammDateiArt::GaerProgramm, TProgrammDateiArt::GaerListe,
            GaerListeLesen, GaerListeZeilen,
            HexZuGaerProg,  GaerProgZuHex,
            &TwQuorvel::GaerFelderLoeschen, &TwQuorvel::GaerProgAnzeigen, &TwQuorvel::GaerProgAusFeldern};
}

TwQuorvel::TProgrammSeite<TQorNivorell> TwQuorvel::NvSeite()
{
    return {TakeRecordNV,       NivoRPrgNr,     RecNr_NV,
            NvListe,            NvProg,
            Q_NVRecSave,        Q_NivorellRd,   Q_NVRecRest,    Q_NivorellWr,
            QStringLiteral("Nivorell-Record"), QStringLiteral("Nivorellprogramm"),
            TProgrammDateiArt::NivorellProgramm, TProgrammDateiArt::NivorellListe,
            NivorellListeLesen, NivorellListeZeilen,
            HexZuNivorell,      NivorellZuHex,
            &TwQuorvel::NvLoeschen, &TwQuorvel::NvAnzeigen, &TwQuorvel::NvAusGitter};
}

template <typename Rec>
void TwQuorvel::ProgrammLesen(const TProgrammSeite<Rec> &S)
{
    (this->*S.Loeschen)();
    if (S.ListenWahl->isChecked())
        Anfrage(S.ListeLesen, QString());
    else
        Anfrage(S.EinzelLesen, S.Nummer->Text());
}

template <typename Rec>
void TwQuorvel::ProgrammSenden(const TProgrammSeite<Rec> &S)
{
    if (S.ListenWahl->isChecked()) {
        // The stored entries as they are, whatever the editors show.
        int nr = 0;
        const QString text = ListeKodieren(S.Liste, S.ZuHex, nr);
        if (text.isEmpty()) {
            Ablehnen(S.ListenName + QStringLiteral(", Programm %1").arg(nr));
            return;
        }
        Anfrage(S.ListeSchreiben, text);
        return;
    }
    S.Prog = (this->*S.AusFeldern)();
    const QString text = S.ZuHex(S.Prog);
    if (text.isEmpty()) {
        Ablehnen(S.EinzelName);
        return;
    }
    Anfrage(S.EinzelSchreiben, text);
}

void TwQuorvel::LesenGPrgClick()
{
    ProgrammLesen(GaerSeite());
}

void TwQuorvel::SendenGPrgClick()
{
    ProgrammSenden(GaerSeite());
}

void TwQuorvel::LesenNivoRClick()
{
    ProgrammLesen(NvSeite());
}

void TwQuorvel::SendenNivoRClick()
{
    ProgrammSenden(NvSeite());
}

void TwQuorvel::LesenWoPrgClick()
{
    WoPrgLoeschen();
    Anfrage(Q_WochPrgRd, QString());
}

void TwQuorvel::SendenWoPrgClick()
{
    WochPrg = WoPrgAusGitter();
    const QString text = WochPrgZuHex(WochPrg);
    if (text.isEmpty()) {
        Ablehnen(QStringLiteral("Wochenprogramm"));
        return;
    }
    Anfrage(Q_WochPrgWr, text);
}

void TwQuorvel::DoSetTimeClick()
{
    Anfrage(Q_TimeWr, SommerZeit->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void TwQuorvel::RdFirmwareClick()
{
    FirmWareEdit->clear();
    Anfrage(Q_FirmWare, QString());
}

void TwQuorvel::DoCancelRecordClick()
{
    Anfrage(Q_RSCancel, QString());
}

void TwQuorvel::ShowGaerClick()
{
    if (ProgrammVorhanden() && P().wQuorvelGaerProg)
        P().wQuorvelGaerProg->show();
    GaerProgramm->setVisible(!GaerProgramm->isVisibleTo(Panel1));
}

// ---- files ------------------------------------------------------------------------------

QString TwQuorvel::DateiOrdner()
{
    const QString basis = ProgrammVorhanden() ? P().Programmverzeichnis : QString();
    const QString programme = basis + QStringLiteral("Programme/");
    return QFileInfo(programme).isDir() ? programme : basis;
}

QString TwQuorvel::DateiOeffnen(const QString &Filter, const QString &Endung)
{
    TDateiDialog d;
    d.Name = QStringLiteral("OpenDialog1");
    d.Filter = Filter;
    d.Endung = Endung;
    d.Ordner = DateiOrdner();
    d.Dateiname = mLadeName;
    const QString pfad = DateiWaehlen(this, d, Dateidialog);
    if (!pfad.isEmpty())
        mLadeName = QFileInfo(pfad).fileName();
    return pfad;
}

QString TwQuorvel::DateiSpeichern(const QString &Filter, const QString &Endung, const QString &Name)
{
    TDateiDialog d;
    d.Name = QStringLiteral("SaveDialog1");
    d.Speichern = true;
    d.Filter = Filter;
    d.Endung = Endung;
    d.Ordner = DateiOrdner();
    d.Dateiname = Name;
    return DateiWaehlen(this, d, Dateidialog);
}

template <typename Rec>
void TwQuorvel::ProgrammDateiLaden(const TProgrammSeite<Rec> &S)
{
    const bool liste = S.ListenWahl->isChecked();
    const TProgrammDateiArt art = liste ? S.ListenDatei : S.EinzelDatei;
    const QString pfad = DateiOeffnen(ProgrammDateiFilter(art), ProgrammDateiEndung(art));
    if (pfad.isEmpty())
        return;
    QString fehler;
    if (liste) {
        // Places read before a missing line keep what was read.
        if (!S.ListeDateiLesen(pfad, S.Liste, fehler)) {
            DateiFehlerZeigen(this, fehler);
            return;
        }
        S.Nummer->setText(QStringLiteral("1"));
        ErsterEintrag(S.Eintrag);
        (this->*S.Loeschen)();
        S.Prog = S.Liste[0];
        (this->*S.Anzeigen)(S.Prog);
        return;
    }
    QStringList zeilen;
    if (!ProgrammDateiZeilenLesen(pfad, EinzelZeilenAnzahl, zeilen, fehler)) {
        DateiFehlerZeigen(this, fehler);
        return;
    }
    if (zeilen.isEmpty()) {
        DateiFehlerZeigen(this, ListenindexFehler(0));
        return;
    }
    NummerZeileSetzen(S.Nummer, zeilen.at(0));
    (this->*S.Loeschen)();
    if (zeilen.size() < EinzelZeilenAnzahl) {
        DateiFehlerZeigen(this, ListenindexFehler(1));
        return;
    }
    S.Prog = S.AusHex(zeilen.at(1));
    (this->*S.Anzeigen)(S.Prog);
}

template <typename Rec>
void TwQuorvel::ProgrammDateiSpeichern(const TProgrammSeite<Rec> &S)
{
    const bool liste = S.ListenWahl->isChecked();
    const TProgrammDateiArt art = liste ? S.ListenDatei : S.EinzelDatei;
    const QString nummer = ProgrammNummerText(SpinWert(S.Nummer));
    const QString pfad = DateiSpeichern(ProgrammDateiFilter(art), ProgrammDateiEndung(art),
                                        ProgrammDateiVorschlag(art, nummer));
    if (pfad.isEmpty())
        return;
    QStringList zeilen;
    if (liste) {
        zeilen = S.ListenZeilen(S.Liste);
    } else {
        S.Prog = (this->*S.AusFeldern)();
        zeilen = EinzelDateiZeilen(nummer, S.ZuHex(S.Prog));
    }
    if (!liste && !EinzelZeileGueltig(zeilen, nummer))
        return;
    QString fehler;
    if (!ProgrammDateiSchreiben(pfad, zeilen, fehler)) {
        DateiFehlerZeigen(this, fehler);
        return;
    }
    // A list is saved whole; a program that could not be encoded stands as an empty line.
    if (const QList<int> leer = liste ? LeereProgramme(zeilen.mid(1)) : QList<int>(); !leer.isEmpty())
        ShowErr(QStringLiteral("FEHLER"), LeerGespeichertText(leer), 0);
}

void TwQuorvel::LadenGPrgClick()
{
    ProgrammDateiLaden(GaerSeite());
}

void TwQuorvel::SpeichernGPrgClick()
{
    ProgrammDateiSpeichern(GaerSeite());
}

void TwQuorvel::LadenNivoRClick()
{
    ProgrammDateiLaden(NvSeite());
}

void TwQuorvel::SpeichernNivoRClick()
{
    ProgrammDateiSpeichern(NvSeite());
}

void TwQuorvel::LadenWoPrgClick()
{
    const QString pfad = DateiOeffnen(WochPrgFilter, WochPrgEndung);
    if (pfad.isEmpty())
        return;
    QStringList zeilen;
    QString fehler;
    if (!TwMiniQuorvel::WochPrgDateiLesen(pfad, zeilen, fehler)) {
        DateiFehlerZeigen(this, fehler);
        return;
    }
    WoPrgLoeschen();
    if (zeilen.isEmpty()) {
        DateiFehlerZeigen(this, ListenindexFehler(0));
        return;
    }
    WochPrg = HexZuWochPrg(zeilen.at(0));
    WoPrgAnzeigen(WochPrg);
}

void TwQuorvel::Speichern_WoPrgClick()
{
    const QString pfad = DateiSpeichern(WochPrgFilter, WochPrgEndung, QStringLiteral("WochenProgramme"));
    if (pfad.isEmpty())
        return;
    WochPrg = WoPrgAusGitter();
    const QString text = WochPrgZuHex(WochPrg);
    if (text.isEmpty()) {
        // As in the main window: a file without a weekly program in it is not written.
        ShowErr(QStringLiteral("FEHLER"),
                QStringLiteral("Wochenprogramm\r\nenthält ungültige Werte!\r\nnicht gespeichert"), 0);
        return;
    }
    QString fehler;
    if (!TwMiniQuorvel::WochPrgDateiSchreiben(pfad, text, fehler))
        DateiFehlerZeigen(this, fehler);
}
