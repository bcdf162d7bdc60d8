#include "controller/uQuorvelBefehle.h"

#include "controller/uQuorvelEngine.h"
#include "controller/uQuorvelPort.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"

#include <QDateTime>
#include <QTimer>

#include <algorithm>

namespace {

QString Hex4(quint32 wert)
{
    return QStringLiteral("%1").arg(wert & 0xFFFF, 4, 16, QLatin1Char('0')).toUpper();
}

qint32 ZahlAusDaten(const QString &daten)
{
    bool ok = false;
    const qint32 n = daten.toInt(&ok, 10);
    return ok ? n : 0;
}

QuorvelEngine *Engine()
{
    return ProgrammVorhanden() ? P().Engine : nullptr;
}

} // namespace

QString PruefsummeText(const QString &Text)
{
    quint32 summe = 0;
    for (const QChar c : Text)
        summe += c.unicode() & 0xFF;
    return QStringLiteral("%1").arg(summe % 256, 2, 16, QLatin1Char('0')).toUpper();
}

QuorvelBefehl::QuorvelBefehl(const NeuerBefehl &Rec, qint32 Index_, const QString &Adresse_,
                             QObject *parent)
    : QObject(parent)
{
    Name = Rec.Name.left(255);
    setObjectName(Name);
    Versuche = 0;
    Adresse = Adresse_;
    Index = Index_;
    MaxVersuche = Rec.MaxVersuche > 3 ? Rec.MaxVersuche : 3;
    Befehl = Rec;
    Kennung = Rec.Befehl;
    Nummer = Rec.Nummer;
}

QuorvelBefehl *QuorvelBefehl::Create(const NeuerBefehl &Rec, qint32 Index, const QString &Adresse,
                                     QObject *parent)
{
    return new QuorvelBefehl(Rec, Index, Adresse, parent);
}

void QuorvelBefehl::Ausfuehren(qint32 Parameter_, const QString &Daten_)
{
    QuorvelEngine *e = Engine();
    if (!e || P().Beenden)
        return;

    const QString &k = Kennung;
    const bool hatErstenSchritt =
        k == Q_Status.Befehl || k == Q_GaerProgRd.Befehl || k == Q_GaerProgWr.Befehl
        || k == Q_GaerRecSave.Befehl || k == Q_GaerRecRest.Befehl || k == Q_NivorellRd.Befehl
        || k == Q_NivorellWr.Befehl || k == Q_NVRecSave.Befehl || k == Q_NVRecRest.Befehl
        || k == Q_WochPrgRd.Befehl || k == Q_WochPrgWr.Befehl || k == Q_TimeWr.Befehl
        || k == Q_FirmWare.Befehl || k == Q_Stoer.Befehl;
    // A command without a first frame would wait for ever: it is not started.
    if (!hatErstenSchritt)
        return;

    if (Name != Q_Status.Name) {
        if (QuorvelService *s = ServiceFensterHolen(QString()))
            s->QorMeldungLeeren();
    }
    Parameter = Parameter_;
    Daten = Daten_;
    P().AktuellerBefehl = this;
    BefehlWarteZustand(Befehl.Timeout, false, true);

    const quint64 vorher = e->SendeZaehler();
    const qint32 zahl = ZahlAusDaten(Daten);

    if (k == Q_Status.Befehl) {
        StatusLesen();
    } else if (k == Q_GaerProgRd.Befehl) {
        GaerProgBlockLesen(quint8(zahl), 1);
    } else if (k == Q_GaerProgWr.Befehl) {
        GaerProgBlockSenden(0, Daten, 1);
    } else if (k == Q_GaerRecSave.Befehl) {
        P().Abbruch = false;
        GaerProgBlockLesen(1, 1);
    } else if (k == Q_GaerRecRest.Befehl) {
        P().Abbruch = false;
        GaerProgBlockSenden(1, Daten, 1);
    } else if (k == Q_NivorellRd.Befehl) {
        NivorellBlockLesen(quint8(zahl), 1);
    } else if (k == Q_NivorellWr.Befehl) {
        NivorellBlockSenden(0, Daten, 1);
    } else if (k == Q_NVRecSave.Befehl) {
        P().Abbruch = false;
        NivorellBlockLesen(1, 1);
    } else if (k == Q_NVRecRest.Befehl) {
        P().Abbruch = false;
        NivorellBlockSenden(1, Daten, 1);
    } else if (k == Q_WochPrgRd.Befehl) {
        WochPrgBlockLesen(1);
    } else if (k == Q_WochPrgWr.Befehl) {
        WochPrgBlockSenden(Daten, 1);
    } else if (k == Q_TimeWr.Befehl) {
        SommerZeit = Daten;
        P().UhrNachFirmware = true;
        FirmwareLesen(1);
    } else if (k == Q_FirmWare.Befehl) {
        P().UhrNachFirmware = false;
        FirmwareLesen(1);
    } else if (k == Q_Stoer.Befehl) {
        StoerungLesen(zahl);
    }

    // A first step that built no frame (a fault number outside 1 to 8) still ends its try.
    if (e->SendeZaehler() == vorher && P().Wartet && P().AktuellerBefehl == this)
        e->FrameTimeoutStarten(1000);
}

QString QuorvelBefehl::TelegrammBilden(const QString &Payload)
{
    QuorvelEngine *e = Engine();
    Adresse = e ? e->Adresse() : Adresse;
    QString frame = Adresse + QStringLiteral("58") + Payload;
    frame += PruefsummeText(frame);
    frame += QLatin1Char('\r');
    return frame;
}

void QuorvelBefehl::Senden(const QString &Payload, qint32 FrameTimeout)
{
    QuorvelEngine *e = Engine();
    if (!e)
        return;
    e->FrameTimeoutStarten(FrameTimeout);
    QuorvelPort *port = e->Port();
    if (port && !port->AutoOpen())
        port->setAutoOpen(true);
    const QString frame = TelegrammBilden(Payload);
    e->EmpfangBeginnen(qint32(frame.length()));

    auto schreiben = [&]() {
        if (!port)
            throw ComPortFehler(QStringLiteral("kein Port"));
        port->WriteString(frame);
        e->FrameGesendet(frame);
    };
    try {
        schreiben();
    } catch (const std::exception &) {
        ErrSchreiben(P().ModulName, QStringLiteral("Senden2 Comport1:already open!"));
        e->PortWarten();
        try {
            schreiben();
        } catch (const std::exception &) {
            ErrSchreiben(P().ModulName, QStringLiteral("Wiederholung Senden2 Comport1:already open!"));
        }
    }
}

void QuorvelBefehl::Lesen(quint16 Register, qint32 FrameTimeout)
{
    Senden(QStringLiteral("10") + Hex4(Register) + QStringLiteral("0000"), FrameTimeout);
}

void QuorvelBefehl::Schreiben(quint16 Register, const QString &Datenwort, qint32 FrameTimeout)
{
    Senden(QStringLiteral("11") + Hex4(Register) + Datenwort, FrameTimeout);
}

void QuorvelBefehl::StatusLesen()
{
    Lesen(0x1700, 1000);
}

void QuorvelBefehl::StoerungLesen(qint32 n)
{
    P().BlockNr = n;
    if (n < 1 || n > 8)
        return;
    Lesen(quint16(0x3001 + 5 * (n - 1)), 1000);
}

void QuorvelBefehl::FirmwareLesen(qint32 n)
{
    P().BlockNr = n;
    if (n < 1 || n > 2)
        return;
    Lesen(quint16(0x0B10 + n), 1000);
}

void QuorvelBefehl::UhrBlockSenden(const QString &Flag, qint32 n)
{
    P().BlockNr = n;
    if (n < 1 || n > 4)
        return;
    if (n == 1) {
        if (P().UhrNachFirmware)
            P().UhrNachFirmware = false;
        else
            SommerZeit = Flag;
    }
    const bool ab352 = P().FirmwareGelesenAb352;
    const QDateTime jetzt = Uhr ? Uhr() : QDateTime::currentDateTime();
    quint16 reg = 0;
    QString wort;
    switch (n) {
    case 1:
        reg = quint16((ab352 ? 0x0809 : 0x0B01) + 0);
        wort = jetzt.toString(QStringLiteral("HHmm"));
        break;
    case 2:
        reg = quint16((ab352 ? 0x0809 : 0x0B01) + 1);
        wort = jetzt.toString(QStringLiteral("ddMM"));
        break;
    case 3:
        reg = quint16((ab352 ? 0x0809 : 0x0B01) + 2);
        wort = QStringLiteral("%1").arg(jetzt.date().year(), 4, 10, QLatin1Char('0'));
        break;
    default:
        reg = ab352 ? 0x080C : 0x0B13;
        wort = SommerZeit == QLatin1String("1") ? QStringLiteral("0001") : QStringLiteral("0000");
        break;
    }
    Schreiben(reg, wort, 200);
}

void QuorvelBefehl::WochPrgBlockLesen(qint32 n)
{
    P().BlockNr = n;
    if (n < 1 || n > 7)
        return;
    Lesen(quint16(0x0600 + 4 * (n - 1)), 1000);
}

void QuorvelBefehl::WochPrgBlockSenden(const QString &Text, qint32 n)
{
    P().BlockNr = n;
    if (n < 1 || n > 28)
        return;
    QuorvelService *s = ServiceFensterHolen(QString());
    if (!s)
        return;
    s->NvPuffer.remove(0, 4);
    if (n == 1)
        s->NvPuffer = Text;
    SendeRest = s->NvPuffer;
    Schreiben(quint16(0x0600 + n - 1), s->NvPuffer.left(4), 200);
}

void QuorvelBefehl::ProgrammBlockLesen(quint16 Basis, qint32 Frames, quint8 ProgNr, qint32 n, qint32 LeseTimeout)
{
    P().BlockNr = n;
    if (n < 1)
        return;
    const qint32 schritt = ((n - 1) % Frames) + 1;
    if (schritt == 1)
        Schreiben(Basis, Hex4(ProgNr), 300);
    else
        Lesen(quint16(Basis + 4 * (schritt - 2)), LeseTimeout);
}

void QuorvelBefehl::NivorellBlockLesen(quint8 ProgNr, qint32 n)
{
    ProgrammBlockLesen(0x1600, 8, ProgNr, n, 1000);
}

void QuorvelBefehl::ProgrammBlockSenden(quint16 Basis, qint32 Felder, qint32 Laenge, QString &Puffer,
                                        QString &ListPuffer, QString &Rest, quint8 k, const QString &Text,
                                        qint32 n, qint32 FrameTimeout)
{
    P().BlockNr = n;
    if (n < 1)
        return;
    const qint32 feld = (n - 1) % Felder;
    Puffer.remove(0, 4);
    if (feld == 0) {
        if (k == 0) {
            Puffer = Text;
        } else if (k <= 10) {
            if (k == 1)
                ListPuffer = Text;
            Puffer = ListPuffer.mid((k - 1) * Laenge, Laenge);
        }
    }
    Rest = Puffer;
    Schreiben(quint16(Basis + feld), Puffer.left(4), FrameTimeout);
}

void QuorvelBefehl::NivorellBlockSenden(quint8 k, const QString &Text, qint32 n)
{
    QuorvelService *s = ServiceFensterHolen(QString());
    if (!s) {
        P().BlockNr = n;
        return;
    }
    ProgrammBlockSenden(0x1600, 25, 100, s->NvPuffer, s->NvListPuffer, SendeRest, k, Text, n, 200);
}

void QuorvelBefehl::GaerProgBlockLesen(quint8 ProgNr, qint32 n)
{
    ProgrammBlockLesen(0x0300, 5, ProgNr, n, 300);
}

void QuorvelBefehl::GaerProgBlockSenden(quint8 k, const QString &Text, qint32 n)
{
    QuorvelService *s = ServiceFensterHolen(QString());
    if (!s) {
        P().BlockNr = n;
        return;
    }
    ProgrammBlockSenden(0x0300, std::max<qint32>(1, P().GaerProgFelder), P().GaerProgLaenge, s->GaerPuffer,
                        s->GaerListPuffer, GaerSendeRest, k, Text, n, 2000);
}

bool QuorvelBefehl::AntwortVerteilen(const QString &Daten_)
{
    QuorvelService *s = ServiceFensterHolen(QString());
    if (!s)
        return false;
    const QuorvelDekoder &d = s->Dekoder;
    const qint32 block = P().BlockNr;
    const QString &k = Kennung;

    // An entry no decoder fills yet accepts the reply and ends the command.
    auto fertig = [s]() {
        s->FensterWarteZustand(0, true, false);
        return true;
    };
    auto einfach = [&](const std::function<bool(const QString &)> &f) {
        return f ? f(Daten_) : fertig();
    };
    auto mitPosition = [&](const std::function<bool(qint32, const QString &)> &f, qint32 pos) {
        return f ? f(pos, Daten_) : fertig();
    };
    auto firmware = [&]() { return d.FirmwareAntwort ? d.FirmwareAntwort(Daten_) > 0 : fertig(); };

    // Status and fault replies end the wait before their decoder runs; the tries are reset only
    // when the decoder accepts, so a refused reply counts toward the try limit.
    auto vorherEnden = [&](const std::function<bool(const QString &)> &f) {
        BefehlWarteZustand(0, false, false);
        const bool angenommen = einfach(f);
        if (angenommen)
            Versuche = 0;
        return angenommen;
    };

    if (k == Q_Status.Befehl)
        return vorherEnden(d.StatusAntwort);
    if (k == Q_TimeWr.Befehl)
        return P().UhrNachFirmware ? firmware() : einfach(d.ZeitSendenAntwort);
    if (k == Q_FirmWare.Befehl)
        return firmware();
    if (k == Q_Stoer.Befehl)
        return vorherEnden(d.StoerAntwort);
    if (k == Q_GaerProgRd.Befehl)
        return mitPosition(d.GaerLesenAntwort, 0);
    if (k == Q_GaerProgWr.Befehl)
        return mitPosition(d.GaerSendenAntwort, 0);
    if (k == Q_GaerRecSave.Befehl)
        return mitPosition(d.GaerLesenAntwort, (block - 1) / 5 + 1);
    if (k == Q_GaerRecRest.Befehl)
        return mitPosition(d.GaerSendenAntwort,
                           (block - 1) / std::max<qint32>(1, P().GaerProgFelder) + 1);
    if (k == Q_NivorellRd.Befehl)
        return mitPosition(d.NvLesenAntwort, 0);
    if (k == Q_NivorellWr.Befehl)
        return mitPosition(d.NvSendenAntwort, 0);
    if (k == Q_NVRecSave.Befehl)
        return mitPosition(d.NvLesenAntwort, (block - 1) / 8 + 1);
    if (k == Q_NVRecRest.Befehl)
        return mitPosition(d.NvSendenAntwort, (block - 1) / 25 + 1);
    if (k == Q_WochPrgRd.Befehl)
        return einfach(d.WoPrgLesenAntwort);
    if (k == Q_WochPrgWr.Befehl)
        return einfach(d.WoPrgSendenAntwort);
    return false;
}

void BefehlWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten)
{
    if (QuorvelEngine *e = Engine())
        e->SetWarteZustand(Intervall, ResetVersuche, Warten);
}

QuorvelService *ServiceFensterHolen(const QString &)
{
    QuorvelEngine *e = Engine();
    return e ? e->Service() : nullptr;
}
