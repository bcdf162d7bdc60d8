// The service window's status poll and its status, fault, firmware and clock replies.

#include "windows/uQuorvel.h"

#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "support/Sammlung.h"
#include "support/uProgramm.h"
#include "windows/uMiniQuorvel.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringListModel>
#include <QTimer>

#include <exception>

namespace {

TwMiniQuorvel *Hauptfenster()
{
    return ProgrammVorhanden() ? P().wMiniQuorvel : nullptr;
}

void Schreiben(QLineEdit *e, const QString &text)
{
    // An unchanged field is left alone: no repaint every second.
    if (e && e->text() != text)
        e->setText(text);
}

void Haken(QCheckBox *cb, bool an)
{
    if (cb)
        cb->setChecked(an);
}

// Output i: bits 0..9 of the first relay word, then bits 0..7 of the second.
bool AusgangAn(int i, qint32 grund, qint32 zusatz)
{
    return i < 10 ? (grund >> i) & 1 : (zusatz >> (i - 10)) & 1;
}

} // namespace

void MeldungAnHauptfenster(qint32 Nummer, const QString &Topic, const QString &Text)
{
    if (TwMiniQuorvel *h = Hauptfenster()) {
        h->ErgebnisVerteilen(Nummer, Topic, Text);
        return;
    }
    // Without a main window the engine's result signal is the router's entry.
    if (ProgrammVorhanden() && P().Engine)
        emit P().Engine->ErgebnisVerteilen(Nummer, Topic, Text);
}

// ---- status poll ------------------------------------------------------------------------

void TwQuorvel::StatusTimerTimer()
{
    TwMiniQuorvel *h = Hauptfenster();
    const bool alle = !h || !h->AlleStatusPollen || h->AlleStatusPollen->isChecked();
    if (!alle || !StatusPollen->isChecked())
        return;
    StatusTimer->stop();
    if (P().Beenden) {
        hide();
        return;
    }
    StatusTimer->setInterval(P().StatusPollSekunden * 1000);

    QStringListModel *makros = mService->Makros();
    if (makros->rowCount() > 200)
        makros->removeRows(25, makros->rowCount() - 25);

    const QString zeile = QString::number(mService->Nummer) + QLatin1Char('\t') + Q_Status.Name;
    if (!makros->stringList().contains(zeile))
        MakroHinzufuegen(zeile);
    StatusTimer->start();
}

// ---- status reply -----------------------------------------------------------------------

bool TwQuorvel::StatusAntwort(const QString &Daten)
{
    if (Daten.size() != 64)
        return true;
    try {
        const QString anzsto = Daten.mid(0, 4);
        const QString aktbet = Daten.mid(4, 4);
        const QString aktube = Daten.mid(8, 4);
        const QString prNr = HexZuZahl(Daten.mid(12, 4));
        const QString temp = HexZuTemp(Daten.mid(16, 4));
        const QString temps = HexZuTemp(Daten.mid(20, 4));
        const QString feu = HexZuFeuchte(Daten.mid(24, 4));
        const QString feus = HexZuFeuchte(Daten.mid(28, 4));
        const QString tag = Daten.mid(32, 4);
        const QString datum = Daten.mid(36, 8);
        const QString zeit = Daten.mid(44, 4);
        const QString sommer = Daten.mid(48, 4);
        const QString relgru = Daten.mid(52, 4);
        const QString relzus = Daten.mid(56, 4);
        const QString drever = Daten.mid(60, 4);

        const QString datumZeit = datum.mid(0, 2) + QLatin1Char('.') + datum.mid(2, 2) + QLatin1Char('.')
                                + datum.mid(4, 4) + QLatin1Char('_') + zeit.mid(0, 2) + QLatin1Char(':')
                                + zeit.mid(2, 2);
        const QString sommerText = QString::number(GanzzahlOder(sommer, -1));
        const QString dt = QString::number(GanzzahlOder(tag, -1)) + QLatin1Char('_') + datumZeit
                         + QLatin1Char('_') + sommerText;
        const QString prgName = (aktbet == QLatin1String("0008") ? QStringLiteral("Nivorell_")
                                                                 : QStringLiteral("GärPrg_"))
                              + prNr;

        const bool anzeigen = StatusAnzeigen->isChecked();
        if (anzeigen) {
            DateEdit_E->setText(dt);
            AnzStoer_E->setText(anzsto);
            AktBetr_E->setText(aktbet);
            AktUBetr_E->setText(aktube);
            DrehVerd_E->setText(drever);
            ProgNr_E->setText(prNr);
            IstT_E->setText(temp);
            SollT_E->setText(temps);
            IstF_E->setText(feu);
            SollF_E->setText(feus);
        }
        PrgEdit->setText(prgName);

        TwMiniQuorvel *h = Hauptfenster();
        if (h) {
            QString suffix;
            if (dt.endsWith(QLatin1String("-1")))
                suffix.clear();
            else if (dt.endsWith(QLatin1Char('1')))
                suffix = QStringLiteral(", Sommer");
            else
                suffix = QStringLiteral(", Winter");
            // Date and time without the weekday, whatever its width.
            Schreiben(h->DateEdit_E, datumZeit + suffix);
            Schreiben(h->AnzStoer_E, anzsto);
            const qint32 m = GanzzahlOder(aktbet, -1);
            Schreiben(h->AktBetr_E, QString::number(m) + QLatin1Char(':') + BetriebsartName(m));
            const qint32 ph = GanzzahlOder(aktube, -1);
            Schreiben(h->AktUBetr_E, QString::number(ph) + QLatin1Char(':') + PhasenName(ph));
            Schreiben(h->ProgNr_E, prNr);
            Schreiben(h->DrehVerd_E, drever);
            Schreiben(h->IstT_E, temp);
            Schreiben(h->SollT_E, temps);
            Schreiben(h->IstF_E, feu);
            Schreiben(h->SollF_E, feus);
        }

        const qint32 grund = HexZuInt(relgru);
        const qint32 zusatz = HexZuInt(relzus);
        if (grund == -1 || zusatz == -1) {
            AusgaengeFaerben(true);
        } else {
            AusgaengeFaerben(false);
            for (int i = 0; i < 18; ++i) {
                const bool an = AusgangAn(i, grund, zusatz);
                if (h)
                    Haken(h->Relais[size_t(i)], an);
                if (anzeigen)
                    Haken(Ausgang[size_t(i)], an);
            }
        }

        StoerungenPruefen(anzsto);
    } catch (const std::exception &) {
    }
    return true;
}

void TwQuorvel::AusgaengeFaerben(bool Fehler)
{
    QPalette pal = Ausgaenge->palette();
    pal.setColor(QPalette::Window, Fehler ? QColor(Qt::red) : QApplication::palette().color(QPalette::Button));
    Ausgaenge->setAutoFillBackground(true);
    Ausgaenge->setPalette(pal);
}

// ---- faults -----------------------------------------------------------------------------

void TwQuorvel::StoerungenPruefen(const QString &Anzahl)
{
    const qint32 n = HexZuInt(Anzahl);
    if (n == 0) {
        StoerAnzahl = 0;
        if (StatusAnzeigen->isChecked())
            StoerMemo->clear();
        Stoerung.fill(0);
        return;
    }
    if (n < 0)
        return;
    const QDateTime jetzt = Jetzt ? Jetzt() : QDateTime::currentDateTime();
    if (n == StoerAnzahl && StoerZeit.isValid() && jetzt <= StoerZeit.addSecs(20 * 60))
        return;

    StoerAnzahl = n;
    for (qint32 i = n + 1; i <= 8; ++i)
        Stoerung[size_t(i - 1)] = 0;
    if (StatusAnzeigen->isChecked()) {
        StoerMemo->clear();
        StoerMemoZeile(QStringLiteral("Warte auf neue"));
    }
    StoerZeit = jetzt;
    QuorvelEngine *e = mService ? mService->Engine() : nullptr;
    if (!e)
        return;
    const QString nummer = QString::asprintf("%2.2d", int(mService->Nummer));
    for (qint32 i = 1; i <= qMin(n, 8); ++i)
        e->Kommando(QStringLiteral("BEFEHL"), Q_Stoer.Befehl + QLatin1Char('\t') + nummer
                                                  + QLatin1Char('\t') + QString::number(i));
}

bool TwQuorvel::StoerAntwort(const QString &Daten)
{
    const qint32 nr = P().BlockNr;
    if ((Daten.size() != 4 && Daten.size() != 16) || nr < 1 || nr > 8)
        return false;
    const qint32 code = HexZuInt(Daten);
    Stoerung[size_t(nr - 1)] = code;
    if (StatusAnzeigen->isChecked())
        StoerMemoZeile(StoerungText(code));
    return true;
}

// ---- firmware and clock -----------------------------------------------------------------

bool TwQuorvel::FirmwareAntwort(const QString &Daten)
{
    QuorvelBefehl *cmd = P().AktuellerBefehl;
    if (P().BlockNr == 1) {
        if (Daten.size() != 4) {
            MeldungMemoZeile(QStringLiteral("Fehler bei Firmware lesen!"));
            return false;
        }
        FirmwareTeil = Daten;
        if (cmd)
            cmd->FirmwareLesen(2);
        return true;
    }

    if (!P().UhrNachFirmware)
        FensterWarteZustand(0, true, false);
    const qint32 a = HexZuInt(FirmwareTeil);
    const qint32 b = HexZuInt(Daten.left(4));
    // A register that is no hex text gives the codes 0 and 255.
    const auto zeichen = [](qint32 code) { return QChar(char16_t(code & 0xFF)); };
    QString text;
    text += zeichen(a / 256);
    text += zeichen(a % 256);
    text += zeichen(b / 256);
    text += zeichen(b % 256);
    FirmwareTeil.clear();
    FirmWareEdit->setText(text);
    FirmwareNr = GanzzahlOder(text.mid(1, 3), 352);
    P().FirmwareGelesenAb352 = FirmwareNr >= 352;
    if (P().UhrNachFirmware && cmd)
        cmd->UhrBlockSenden(cmd->SommerZeit, 1);
    return true;
}

bool TwQuorvel::ZeitSendenAntwort(const QString &Daten)
{
    if (Daten.size() != 4) {
        MeldungMemoZeile(QStringLiteral("Fehler bei Datum senden!"));
        return false;
    }
    const qint32 nr = P().BlockNr;
    QuorvelBefehl *cmd = P().AktuellerBefehl;
    if (nr >= 1 && nr <= 3) {
        if (!cmd)
            return false;
        cmd->UhrBlockSenden(cmd->SommerZeit, nr + 1);
        return true;
    }
    if (nr == 4) {
        FensterWarteZustand(0, true, false);
        MeldungAnHauptfenster(0, QStringLiteral("QUORVELTIME"), QStringLiteral("SendACK"));
        MeldungMemoZeile(QStringLiteral("Uhrzeit und Datum erfolgreich übertragen"));
        return true;
    }
    // No clock block of this number was sent: accepting would leave the command waiting.
    return false;
}
