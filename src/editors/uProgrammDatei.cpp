#include "editors/uProgrammDatei.h"

#include "support/uDateiSchreiben.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstring>

QString ProgrammDateiFilter(TProgrammDateiArt Art)
{
    switch (Art) {
    case TProgrammDateiArt::GaerProgramm:
        return QStringLiteral("Quorvel Gärprogramme (*.QGP)|*.QGP|Alle Dateien (*.*)|*.*");
    case TProgrammDateiArt::GaerListe:
        return QStringLiteral("Quorvel Gär-Record (*.QGR)|*.QGR|Alle Dateien (*.*)|*.*");
    case TProgrammDateiArt::NivorellProgramm:
        return QStringLiteral("Quorvel Nivorell Programme (*.NVP)|*.NVP|Alle Dateien (*.*)|*.*");
    case TProgrammDateiArt::NivorellListe:
        return QStringLiteral("Quorvel Nivorell Programm-Records (*.NVR)|*.NVR|Alle Dateien (*.*)|*.*");
    }
    return QString();
}

QString ProgrammDateiEndung(TProgrammDateiArt Art)
{
    switch (Art) {
    case TProgrammDateiArt::GaerProgramm: return QStringLiteral("*.QGP");
    case TProgrammDateiArt::GaerListe: return QStringLiteral("*.QGR");
    case TProgrammDateiArt::NivorellProgramm: return QStringLiteral("*.NVP");
    case TProgrammDateiArt::NivorellListe: return QStringLiteral("*.NVR");
    }
    return QString();
}

QString ProgrammDateiVorschlag(TProgrammDateiArt Art, const QString &NummerText)
{
    switch (Art) {
    case TProgrammDateiArt::GaerProgramm:
    case TProgrammDateiArt::NivorellProgramm:
        return QStringLiteral("Programm") + NummerText;
    case TProgrammDateiArt::GaerListe: return QStringLiteral("GaerPrgRecord");
    case TProgrammDateiArt::NivorellListe: return QStringLiteral("NivorellPrgRecord");
    }
    return QString();
}

QString ProgrammNummerText(int Nummer)
{
    return QString::asprintf("%.2d", Nummer);
}

QStringList EinzelDateiZeilen(const QString &NummerText, const QString &Record)
{
    return {NummerText, Record};
}

QStringList ListenDateiZeilen(const QStringList &Records)
{
    return QStringList{QStringLiteral("Init")} + Records;
}

QStringList GaerListeZeilen(const std::array<TQorGaerProg, 10> &Liste)
{
    QStringList records;
    for (const TQorGaerProg &p : Liste)
        records << GaerProgZuHex(p);
    return ListenDateiZeilen(records);
}

QStringList NivorellListeZeilen(const std::array<TQorNivorell, 10> &Liste)
{
    QStringList records;
    for (const TQorNivorell &p : Liste)
        records << NivorellZuHex(p);
    return ListenDateiZeilen(records);
}

QByteArray ProgrammDateiText(const QStringList &Zeilen)
{
    QByteArray text;
    for (const QString &z : Zeilen)
        text += z.toLatin1() + "\r\n";
    return text;
}

QList<int> LeereProgramme(const QStringList &Records)
{
    QList<int> plaetze;
    for (qsizetype i = 0; i < Records.size(); ++i)
        if (Records.at(i).isEmpty())
            plaetze << int(i) + 1;
    return plaetze;
}

QString LeerGespeichertText(const QList<int> &Plaetze)
{
    QStringList nummern;
    for (int p : Plaetze)
        nummern << QString::number(p);
    if (nummern.size() == 1)
        return QStringLiteral("Programm %1 enthält ungültige Werte!\r\nleer gespeichert").arg(nummern.first());
    return QStringLiteral("Programme %1 enthalten ungültige Werte!\r\nleer gespeichert").arg(nummern.join(QStringLiteral(", ")));
}

QString OeffnenFehler(const QString &Pfad, const QString &Grund)
{
    return QStringLiteral("Datei %1 kann nicht geöffnet werden. %2").arg(QDir::toNativeSeparators(Pfad), Grund);
}

QString ErstellenFehler(const QString &Pfad, const QString &Grund)
{
    return QStringLiteral("Datei \"%1\" kann nicht erstellt werden. %2").arg(QDir::toNativeSeparators(Pfad), Grund);
}

QString ListenindexFehler(int Index)
{
    return QStringLiteral("Listenindex überschreitet das Maximum (%1)").arg(Index);
}

bool ProgrammDateiSchreiben(const QString &Pfad, const QStringList &Zeilen, QString &Fehler)
{
    QString grund;
    if (DateiSchreiben(Pfad, ProgrammDateiText(Zeilen), &grund))
        return true;
    Fehler = ErstellenFehler(Pfad, grund);
    return false;
}

bool ProgrammDateiZeilenLesen(const QString &Pfad, int Anzahl, QStringList &Zeilen, QString &Fehler)
{
    Zeilen.clear();
    QFile f(Pfad);
    // A folder opens on some systems; it is no file to read.
    const QFileInfo info(Pfad);
    if (info.isDir()) {
        Fehler = OeffnenFehler(Pfad, QStringLiteral("Ist ein Verzeichnis"));
        return false;
    }
    // A pipe would wait for a writer when opened, a device never end.
    if (info.exists() && !info.isFile()) {
        Fehler = OeffnenFehler(Pfad, QStringLiteral("Ist keine gewöhnliche Datei"));
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        Fehler = OeffnenFehler(Pfad, f.errorString());
        return false;
    }
    if (Anzahl <= 0)
        return true;

    QByteArray zeile;          // the current line, cut to ZeilenHoechstlaenge
    bool inZeile = false;      // characters of a line not yet ended were read
    bool nachCr = false;       // the last byte was CR: a following LF belongs to it
    qint64 gelesen = 0;
    char puffer[65536];
    auto zeileFertig = [&]() {
        Zeilen << QString::fromLatin1(zeile);
        zeile.clear();
        inZeile = false;
    };
    while (Zeilen.size() < Anzahl && gelesen < LeseHoechstens) {
        const qint64 n = f.read(puffer, qint64(sizeof puffer));
        if (n < 0) {
            Fehler = OeffnenFehler(Pfad, f.errorString());
            Zeilen.clear();
            return false;
        }
        if (n == 0)
            break;
        gelesen += n;
        const char *p = puffer;
        const char *ende = puffer + n;
        while (p < ende && Zeilen.size() < Anzahl) {
            if (nachCr && *p == '\n') {
                nachCr = false;
                ++p;
                continue;
            }
            nachCr = false;
            // Up to the next line end in this block.
            const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(ende - p)));
            const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(cr ? cr - p : ende - p)));
            const char *bruch = lf ? lf : cr;
            const char *stueckEnde = bruch ? bruch : ende;
            const qsizetype platz = ZeilenHoechstlaenge - zeile.size();
            if (platz > 0)
                zeile.append(p, qMin<qsizetype>(platz, stueckEnde - p));
            if (stueckEnde > p)
                inZeile = true;
            if (!bruch) {
                p = ende;
                break;
            }
            zeileFertig();
            nachCr = *bruch == '\r';
            p = bruch + 1;
        }
    }
    if (Zeilen.size() < Anzahl && inZeile && gelesen < LeseHoechstens)
        zeileFertig(); // a last line without an end
    return true;
}

namespace {

// Reads the program lines Erste .. Erste + Anzahl - 1 and hands each to Nimm(place, line).
template<typename F>
bool ProgrammZeilenLesen(const QString &Pfad, int Erste, int Anzahl, QString &Fehler, F Nimm)
{
    QStringList zeilen;
    if (!ProgrammDateiZeilenLesen(Pfad, Erste + Anzahl, zeilen, Fehler))
        return false;
    for (int i = Erste; i < Erste + Anzahl; ++i) {
        if (i >= zeilen.size()) {
            Fehler = ListenindexFehler(i);
            return false;
        }
        Nimm(i - Erste, zeilen.at(i));
    }
    return true;
}

} // namespace

bool GaerEinzelLesen(const QString &Pfad, TQorGaerProg &Prog, QString &Fehler)
{
    return ProgrammZeilenLesen(Pfad, 1, 1, Fehler, [&](int, const QString &z) { Prog = HexZuGaerProg(z); });
}

bool GaerListeLesen(const QString &Pfad, std::array<TQorGaerProg, 10> &Liste, QString &Fehler)
{
    return ProgrammZeilenLesen(Pfad, 1, 10, Fehler,
                               [&](int i, const QString &z) { Liste[size_t(i)] = HexZuGaerProg(z); });
}

bool NivorellEinzelLesen(const QString &Pfad, TQorNivorell &Prog, QString &Fehler)
{
    return ProgrammZeilenLesen(Pfad, 1, 1, Fehler, [&](int, const QString &z) { Prog = HexZuNivorell(z); });
}

bool NivorellListeLesen(const QString &Pfad, std::array<TQorNivorell, 10> &Liste, QString &Fehler)
{
    return ProgrammZeilenLesen(Pfad, 1, 10, Fehler,
                               [&](int i, const QString &z) { Liste[size_t(i)] = HexZuNivorell(z); });
}
