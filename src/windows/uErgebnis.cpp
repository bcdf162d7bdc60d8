// The result router of the main window.

#include "windows/uMiniQuorvel.h"

#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "support/Sammlung.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"

#include <QLineEdit>
#include <QTimer>

#include <limits>

namespace {

// Upper case of the letters a to z only.
QString AsciiGross(const QString &Text)
{
    QString s = Text;
    for (QChar &c : s)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return s;
}

QString Zeilen(std::initializer_list<const char16_t *> teile)
{
    QStringList z;
    for (const char16_t *t : teile)
        z << QString::fromUtf16(t);
    return z.join(QStringLiteral("\r\n"));
}

const QString Fehler = QStringLiteral("FEHLER");
const QString Meldung = QStringLiteral("Meldung");

// Length of "RestoreFortschritt=" in front of the number of programs done.
constexpr qsizetype FortschrittVorsatz = 19;

} // namespace

void TwMiniQuorvel::DatumNormalfarbe()
{
    if (DateEdit_E)
        FeldRot(DateEdit_E, false);
}

void TwMiniQuorvel::FortschrittVerteilen(const QString &Text)
{
    const qint64 n = GanzzahlOder(Text.mid(FortschrittVorsatz), 0);
    const qint32 prozent = qint32(qBound(qint64(std::numeric_limits<qint32>::min()), n * 10,
                                                 qint64(std::numeric_limits<qint32>::max())));
    // A receiver that fails keeps neither the others nor the caller from going on.
    try {
        FortschrittAktualisieren(prozent);
    } catch (...) {
    }
    try {
        if (TwQuorvelNivorell *nv = P().wQuorvelNivorell)
            nv->FortschrittMelden(prozent);
    } catch (...) {
    }
    try {
        if (TwQuorvelGaerProg *gp = P().wQuorvelGaerProg)
            gp->Fortschritt(prozent);
    } catch (...) {
    }
}

void TwMiniQuorvel::ErgebnisVerteilen(qint32 Nummer, const QString &Topic, const QString &Text)
{
    emit Ergebnis(Nummer, Topic, Text);

    const QString topic = AsciiGross(Topic);
    const QString text = AsciiGross(Text);
    const bool nak = text == QLatin1String("SENDNAK");
    const bool ack = text == QLatin1String("SENDACK");
    const bool daten = !nak && !ack && !Text.isEmpty();
    TwQuorvelGaerProg *gaer = P().wQuorvelGaerProg;
    TwQuorvelNivorell *nivo = P().wQuorvelNivorell;
    const auto gaerFrei = [gaer] {
        if (gaer)
            gaer->Freigeben(true);
    };
    const auto nivoFrei = [nivo] {
        if (nivo)
            nivo->Bereit(true);
    };

    if (topic == QLatin1String("QUORVELTIME")) {
        DatumNormalfarbe();
        if (CheckTimer)
            CheckTimer->stop();
        if (nak) {
            ShowErr(Fehler, Zeilen({u"Übertragung der Uhrzeit", u"fehlgeschlagen!!"}), 0);
            BedienungFreigeben(true);
        } else if (ack) {
            ShowText(QStringLiteral("Uhrzeit stellen"), QStringLiteral("Uhr wurde gestellt.!"), 0);
            BedienungFreigeben(true);
        }
    } else if (topic == QLatin1String("QORGAERPROG")) {
        if (nak) {
            gaerFrei();
            ShowErr(Fehler, Zeilen({u"Übertragung der Gaerprogramme", u"fehlgeschlagen!!"}), 0);
        } else if (ack) {
            gaerFrei();
            ShowText(Meldung, Zeilen({u"Gaerprogramm", u"erfolgreich übertragen!"}), 0);
        } else if (daten && gaer) {
            gaer->ProgrammEmpfangen(Text);
        }
    } else if (topic == QLatin1String("QORGAERLISTE")) {
        if (nak) {
            gaerFrei();
            ShowErr(Fehler, Zeilen({u"Übertragung der Gärprogramme", u"fehlgeschlagen!!"}), 0);
        } else if (ack) {
            gaerFrei();
            ShowText(Meldung, Zeilen({u"Gärprogramm", u"erfolgreich übertragen!"}), 0);
        } else if (daten && gaer) {
            gaer->ListeEmpfangen(Text);
        }
    } else if (topic == QLatin1String("QORNIVORELL")) {
        if (nak) {
            nivoFrei();
            ShowErr(Fehler, Zeilen({u"Übertragung der Nivorellprogramme", u"fehlgeschlagen!!"}), 0);
        } else if (ack) {
            nivoFrei();
            ShowText(Meldung, Zeilen({u"NivorellProgramm", u"erfolgreich übertragen!"}), 0);
        } else if (daten && nivo) {
            nivo->ProgrammEmpfangen(Text);
        }
    } else if (topic == QLatin1String("QORNIVOLISTE")) {
        if (nak) {
            nivoFrei();
            ShowErr(Fehler, Zeilen({u"Übertragung der Nivorellprogramme", u"fehlgeschlagen!!"}), 0);
        } else if (ack) {
            nivoFrei();
            ShowText(Meldung, Zeilen({u"Nivorell-Programm", u"erfolgreich übertragen!"}), 0);
        } else if (daten && nivo) {
            nivo->ListeEmpfangen(Text);
        }
    } else if (topic == QLatin1String("QORWOCHPROG")) {
        DatumNormalfarbe();
        if (CheckTimer)
            CheckTimer->stop();
        if (nak) {
            BedienungFreigeben(true);
            ShowErr(Fehler, Zeilen({u"Übertragung der Wochenprogramme", u"fehlgeschlagen!!"}), 0);
        } else if (ack) {
            BedienungFreigeben(true);
            ShowText(Meldung, Zeilen({u"", u"Wochenprogramme", u"erfolgreich übertragen!"}), 0);
        } else if (daten) {
            WochPrgEmpfangen(Text);
        }
    } else if (topic == QLatin1String("MELDUNG")) {
        FortschrittVerteilen(Text);
    } else {
        ShowErr(QStringLiteral("TopicErrorQuorvel"), Text.left(50), 0);
    }
}

void TwMiniQuorvel::QuorvelFehlerMelden(const QString &Text)
{
    ErgebnisVerteilen(0, QStringLiteral("QUORVELFEHLER"), Text);
}
