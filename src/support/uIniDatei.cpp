#include "support/uIniDatei.h"

#include "platform/OrdnerSperre.h"
#include "support/uDateiSchreiben.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

#include <limits>
#include <time.h>

namespace {

const char *const Kommentar[] = {
    "#   ACHTUNG: Diese Datei wird von den Solvanor-Programmen selbst gepflegt.",
    "#   Bitte nicht von Hand bearbeiten! Fehlende Eintraege werden beim naechsten",
    "#   Lesen mit ihren Vorgabewerten ergaenzt, Kommentarzeilen mit Semikolon und",
    "#   Leerzeilen gehen beim Zurueckschreiben verloren.",
    "#   Aenderungen nur nach Ruecksprache mit dem Service vornehmen.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   Aufbau der Datei",
    "#   -----------------------------------------------------------------------------------------------",
    "#   Jede Sektion beginnt mit ihrem Namen in eckigen Klammern. Darunter stehen",
    "#   die Schluessel, je Zeile ein Name, ein Gleichheitszeichen und der Wert.",
    "#   Gross- und Kleinschreibung der Namen wird nicht unterschieden. Zahlen",
    "#   koennen dezimal oder hexadezimal mit vorangestelltem Dollarzeichen, x oder",
    "#   0x angegeben werden. Zeiten sind in Millisekunden angegeben, soweit beim",
    "#   Schluessel nichts anderes steht.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [VERSION]",
    "#   -----------------------------------------------------------------------------------------------",
    "#   INI-Version            Stand des Dateiaufbaus, Form V.nnn.nnn. Ist der",
    "#                          Stand aelter als der des Programms, wird der Kopf",
    "#                          dieser Datei neu geschrieben und der Stand erhoeht.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [Solvanor]",
    "#   -----------------------------------------------------------------------------------------------",
    "#   Filialnummer           Nummer der Filiale im Filialnetz, 1 bis 9999.",
    "#   Filialname             Anzeigename der Filiale in Listen und Ausdrucken.",
    "#   Mandant                Mandantennummer der Zentrale, Vorgabe 1.",
    "#   Sprache                Sprache der Oberflaeche: DE, EN, FR oder NL.",
    "#   Datenverzeichnis       Ordner der Tagesdaten, leer fuer den Programmordner.",
    "#   Sicherungsverzeichnis  Ordner der naechtlichen Datensicherung.",
    "#   SicherungsTage         Anzahl der aufbewahrten Sicherungen, Vorgabe 14.",
    "#   Startverzoegerung      Wartezeit nach dem Start in Sekunden, Vorgabe 10.",
    "#   AutoStart              1 startet den Server mit der Windows-Anmeldung.",
    "#   Protokollstufe         0 aus, 1 Fehler, 2 Meldungen, 3 alle Vorgaenge.",
    "#   Waehrung               Waehrungszeichen fuer Preise, Vorgabe EUR.",
    "#   Kassenanbindung        1 meldet Verkaeufe an das Kassensystem weiter.",
    "#   Zentralabgleich        Abstand des Abgleichs mit der Zentrale in Minuten.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [MULTIFERNANZEIGE]",
    "#   -----------------------------------------------------------------------------------------------",
    "#   Anzahl                 Zahl der angeschlossenen Fernanzeigen, 0 bis 16.",
    "#   Anzeige01 ... Anzeige16",
    "#                          Adresse und Anschluss der Fernanzeige, zum Beispiel",
    "#                          COM3:12 fuer Busadresse 12 an der dritten Schnittstelle.",
    "#   Wechselzeit            Anzeigedauer einer Seite in Sekunden, Vorgabe 8.",
    "#   Helligkeit             Helligkeit der Anzeigen in Prozent, 10 bis 100.",
    "#   Lauftext               Text, der in Pausen als Laufschrift erscheint.",
    "#   NachtAus               Uhrzeit hh:mm, zu der die Anzeigen dunkel schalten.",
    "#   NachtEin               Uhrzeit hh:mm, zu der die Anzeigen wieder angehen.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [Messages]",
    "#   -----------------------------------------------------------------------------------------------",
    "#   ShowTextTime           Anzeigedauer der selbstschliessenden Hinweisfenster",
    "#                          in Millisekunden, Vorgabe 3000.",
    "#   ShowErrTime            Anzeigedauer der selbstschliessenden Fehlerfenster",
    "#                          in Millisekunden, Vorgabe 5000.",
    "#   MaxZeilenZahlLog_Datei Hoechstzahl der Zeilen einer Protokolldatei,",
    "#                          5000 bis 10000, Vorgabe 5000.",
    "#   MaxZeilenZahlErr_Datei Hoechstzahl der Zeilen einer Fehlerdatei,",
    "#                          5000 bis 10000, Vorgabe 5000.",
    "#   MaxGroesseErr_Datei(kB)",
    "#                          Groesse einer Fehlerdatei in Kilobyte, ab der sie",
    "#                          in die Sicherung mit der Endung .BAK verschoben wird.",
    "#                          Vorgabe 500, hoechstens 1000; 0 schaltet das",
    "#                          Verschieben ab.",
    "#   Die Fehlerdateien liegen im Ordner log unter dem Programmordner, je",
    "#   Wochentag in einem eigenen Unterordner von 1_Monday bis 7_Sunday.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [TemperaturEinheit]",
    "#   -----------------------------------------------------------------------------------------------",
    "#   Einheit                C fuer Grad Celsius, F fuer Grad Fahrenheit.",
    "#   Nachkommastellen       Angezeigte Nachkommastellen, 0 oder 1.",
    "#   Korrektur              Ausgleich des Fuehlers in Zehntelgrad, -50 bis 50.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [RLX]",
    "#   -----------------------------------------------------------------------------------------------",
    "#   Aktiv                  1 schaltet die Anbindung der RLX-Kuehlraeume ein.",
    "#   Anzahl                 Zahl der Kuehlraeume, 1 bis 32.",
    "#   Abfragezeit            Abstand der Zustandsabfragen in Sekunden.",
    "#   Grafikordner           Ordner der Verlaufsgrafiken, Vorgabe Grafik\\RLX.",
    "#   Aufzeichnung           Tage, die die Verlaufsdaten aufbewahrt werden.",
    "#   Alarmgrenze            Abweichung vom Sollwert in Grad, ab der ein Alarm",
    "#                          gemeldet wird.",
    "#   Alarmverzoegerung      Minuten, die eine Abweichung anstehen muss.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [Taskplaner]",
    "#   -----------------------------------------------------------------------------------------------",
    "#   Aktiv                  1 fuehrt die geplanten Aufgaben aus.",
    "#   Aufgabe01 ... Aufgabe32",
    "#                          Uhrzeit, Wochentage und Befehl einer Aufgabe, durch",
    "#                          Semikolon getrennt, zum Beispiel 04:30;12345;SYNC.",
    "#   Nachholen              1 holt Aufgaben nach, die verpasst wurden, waehrend",
    "#                          der Rechner ausgeschaltet war.",
    "#   Pruefzeit              Abstand der Pruefung auf faellige Aufgaben in",
    "#                          Sekunden, Vorgabe 30.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [TCPIP]",
    "#   -----------------------------------------------------------------------------------------------",
    "#   TCPServerTimeOut       Wartezeit des Servers auf eine Antwort der",
    "#                          Gegenstelle in Millisekunden, Vorgabe 400.",
    "#   TCPWinPort             Port, an dem der Server auf Verbindungen der",
    "#                          Arbeitsplaetze wartet, Vorgabe 4096.",
    "#   TCPServerAdresse       Name oder Adresse des Zentralrechners.",
    "#   TCPServerPort          Port des Zentralrechners, Vorgabe 4097.",
    "#   Wiederholungen         Verbindungsversuche, bevor ein Fehler gemeldet",
    "#                          wird, Vorgabe 3.",
    "#   KeepAlive              Abstand der Lebenszeichen in Sekunden, 0 schaltet",
    "#                          sie ab.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [ProgrammListen]",
    "#   -----------------------------------------------------------------------------------------------",
    "#   Listenordner           Ordner der Programmlisten der Backstationen.",
    "#   Abgleich               1 gleicht die Listen beim Start mit der Zentrale ab.",
    "#   Abgleichzeit           Uhrzeit hh:mm des taeglichen Abgleichs.",
    "#   Sicherung              1 legt vor jedem Abgleich eine Kopie der Listen an.",
    "#   Sortierung             0 nach Nummer, 1 nach Name, 2 nach Warengruppe.",
    "#",
    "#   -----------------------------------------------------------------------------------------------",
    "#   [Einstellungen]",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Fensterposition        Lage und Groesse des Hauptfensters beim Start.",
    "#   Schriftgroesse         Schriftgroesse der Listen in Punkt, Vorgabe 10.",
    "#   Bestaetigung           1 fragt vor dem Loeschen eines Eintrags nach.",
    "#   Kennwort               Verschluesseltes Kennwort der Serviceebene.",
    "#   Sperrzeit              Minuten ohne Eingabe, nach denen die Serviceebene",
    "#                          gesperrt wird.",
    "#   Ton                    1 gibt bei Fehlern einen Signalton aus.",
    "#",
    "#   ----------------------------------------------------------------------------------------------",
    "#   [BeschickerRS]",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Schnittstelle          Serielle Schnittstelle der Beschickeranlage.",
    "#   Baudrate               Uebertragungsgeschwindigkeit, Vorgabe 9600.",
    "#   Adresse                Busadresse der Beschickersteuerung.",
    "#   Echo                   1, wenn die Schnittstelle gesendete Zeichen",
    "#                          zurueckliefert.",
    "#   Antwortzeit            Wartezeit auf eine Antwort in Millisekunden.",
    "#   Versuche               Wiederholungen eines gestoerten Telegramms.",
    "#",
    "#   ----------------------------------------------------------------------------------------------",
    "#   [KVD]",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Aktiv                  1 schaltet die Anbindung der KVD-Steuerungen ein.",
    "#   Anzahl                 Zahl der Steuerungen am Bus, 1 bis 32.",
    "#   Schnittstelle          Serielle Schnittstelle des Busses.",
    "#   Programmordner         Ordner der Backprogramme, Vorgabe Backprogramme\\KVD.",
    "#   Uhrabgleich            1 stellt die Uhren der Steuerungen taeglich.",
    "#",
    "#   ----------------------------------------------------------------------------------------------",
    "#   [LM]",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Aktiv                  1 schaltet die Anbindung der LM-Steuerungen ein.",
    "#   Anzahl                 Zahl der Steuerungen, 1 bis 16.",
    "#   Schnittstelle          Serielle Schnittstelle oder TCP-Adresse.",
    "#   Programmordner         Ordner der Backprogramme, Vorgabe Backprogramme\\LM.",
    "#   Abfragezeit            Abstand der Zustandsabfragen in Sekunden.",
    "#",
    "#   ----------------------------------------------------------------------------------------------",
    "#   [LX2100-Server]",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Aktiv                  1 startet den Dienst fuer die LX2100-Oefen.",
    "#   Serveradresse          Name oder Adresse des LX2100-Rechners.",
    "#   Serverport             Port des LX2100-Dienstes, Vorgabe 5020.",
    "#   Programmordner         Ordner der Backprogramme, Vorgabe Backprogramme\\LX.",
    "#   Ladomirordner          Ordner der Ladomir-Programme, Vorgabe",
    "#                          Backprogramme\\Ladomir.",
    "#   Uebernahme             1 uebernimmt geaenderte Programme ohne Rueckfrage.",
    "#   Zeitabgleich           1 gleicht die Uhr der Oefen mit diesem Rechner ab.",
    "#",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Hinweise zum Betrieb",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Die Datei wird von allen Solvanor-Programmen dieses Rechners gemeinsam",
    "#   benutzt. Jedes Programm liest nur die Schluessel, die es braucht, und",
    "#   ergaenzt fehlende Schluessel seiner Sektionen mit den Vorgabewerten.",
    "#   Die Datei wird bei jedem Lesen ganz geladen und ganz zurueckgeschrieben;",
    "#   eine Aenderung von Hand wird daher beim naechsten Lesen wirksam, kann aber",
    "#   von einem gleichzeitig laufenden Programm ueberschrieben werden.",
    "#   Vor einer Aenderung sollten deshalb alle Solvanor-Programme beendet sein.",
    "#   Werte, die nicht gelesen werden koennen, werden durch die Vorgaben ersetzt",
    "#   und im Fehlerprotokoll des lesenden Programms vermerkt.",
    "#   Zahlen ausserhalb ihrer Grenzen werden auf die naechste Grenze gesetzt.",
    "#   Leere Werte gelten als vorhanden und werden nicht ersetzt.",
    "#",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Versionsgeschichte des Dateiaufbaus",
    "#   ----------------------------------------------------------------------------------------------",
    "#   V.001.000  Erste Fassung mit den Sektionen Solvanor und Messages.",
    "#   V.001.004  Sektion MULTIFERNANZEIGE fuer die Filialfernanzeigen.",
    "#   V.001.007  Sektion TemperaturEinheit; Umstellung auf Fahrenheit.",
    "#   V.001.010  Sektion RLX fuer die Kuehlraumueberwachung.",
    "#   V.001.012  Sektion Taskplaner fuer zeitgesteuerte Aufgaben.",
    "#   V.001.015  Sektion TCPIP; die Arbeitsplaetze verbinden sich ueber das Netz.",
    "#   V.001.017  Sektion ProgrammListen fuer den Abgleich mit der Zentrale.",
    "#   V.001.019  Sektion Einstellungen mit den Werten der Oberflaeche.",
    "#   V.001.020  Sektion BeschickerRS fuer die Beschickeranlagen.",
    "#   V.001.021  Sektionen KVD und LM fuer die Ofensteuerungen.",
    "#   V.001.023  Messages: Grenzen der Protokoll- und Fehlerdateien.",
    "#   V.001.024  Messages: Groesse der Fehlerdateien in Kilobyte.",
    "#   V.001.025  Sektion LX2100-Server; neuer Dateikopf mit diesem Text.",
    "#",
    "#   Beim Umstellen einer aelteren Datei wird ihr alter Kopf durch diesen",
    "#   ersetzt; alle uebrigen Sektionen bleiben mit ihren Werten erhalten.",
    "#",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Ordner unter dem Programmordner",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Backprogramme\\Quorvel  Programme der Quorvel-Gaersteuerungen.",
    "#   Backprogramme\\KVD      Programme der KVD-Steuerungen.",
    "#   Backprogramme\\LM       Programme der LM-Steuerungen.",
    "#   Backprogramme\\LX       Programme der LX2100-Oefen.",
    "#   Backprogramme\\Ladomir  Programme der Ladomir-Anlagen.",
    "#   Grafik                 Grafiken der Oberflaeche.",
    "#   Grafik\\RLX             Verlaufsgrafiken der Kuehlraeume.",
    "#   log                    Fehlerdateien, je Wochentag ein Unterordner.",
    "#",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Fehlermeldungen beim Lesen dieser Datei",
    "#   ----------------------------------------------------------------------------------------------",
    "#   Solvanor-INI-Error 01  Die Datei fehlte und konnte nicht angelegt werden.",
    "#   Solvanor-INI-Error 02  Die neu angelegte Datei konnte nicht geschlossen",
    "#                          werden.",
    "#   Solvanor-INI-Error 03  Die Datei konnte nicht gelesen, umgestellt oder",
    "#                          zurueckgeschrieben werden. Es gelten die Vorgaben.",
    "#",
    "#   Datensicherung",
    "#   Vor einem Update der Solvanor-Programme wird eine Kopie dieser Datei mit",
    "#   der Endung .SIK im Programmordner angelegt. Sie kann bei Bedarf unter dem",
    "#   urspruenglichen Namen zurueckkopiert werden. Eine Datei ohne Kopf oder",
    "#   ohne Sektion VERSION wird beim naechsten Lesen neu aufgebaut; ihre",
    "#   Sektionen bleiben dabei erhalten.",
    "#",
    "#   Bei Fragen wenden Sie sich bitte an den Service.",
    "#",
    "#   ----------------------------------------------------------------------------------------------",
};

const char *const NeueAbschnitte[] = {"Solvanor", "MULTIFERNANZEIGE", "Messages", "TemperaturEinheit",
                                      "RLX", "Taskplaner", "TCPIP", "ProgrammListen", "Einstellungen",
                                      "BeschickerRS", "KVD", "LM", "LX2100-Server"};

const QLatin1String Umbruch("\r\n");
// Loads and write-backs of one read before it leaves the file to a writer that keeps changing it.
constexpr int IniSchreibversuche = 5;
const QLatin1String Fehlt("#ERR");
// An empty file is far more often another program's save in progress than a file meant to be
// empty: only one that has stood empty this long is made anew.
constexpr qint64 LeerGestandenMs = 5000;
// How long a read waits for a save in progress before it gives its default.
constexpr int SpeichernWarteMs = 150;

// Trims blanks and control characters at both ends.
QString Beschnitten(const QString &s)
{
    qsizetype a = 0, e = s.size();
    while (a < e && s.at(a).unicode() <= ' ')
        ++a;
    while (e > a && s.at(e - 1).unicode() <= ' ')
        --e;
    return s.mid(a, e - a);
}

QStringList Zeilen(const QString &text)
{
    QStringList zeilen;
    qsizetype anfang = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            zeilen.append(text.mid(anfang, i - anfang));
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            anfang = i + 1;
        }
    }
    if (anfang < text.size())
        zeilen.append(text.mid(anfang));
    return zeilen;
}

// Control characters other than TAB have no place in a settings line.
QString OhneSteuerzeichen(const QString &s)
{
    QString r;
    r.reserve(s.size());
    for (const QChar c : s)
        if ((c.unicode() >= 0x20 && c.unicode() != 0x7F) || c == QLatin1Char('\t'))
            r += c;
    return r;
}

struct Abschnitt
{
    QString Name;
    QStringList Zeilen;
};

// The memory copy of the file.
class IniSpeicher
{
public:
    void Laden(const QString &text)
    {
        for (const QString &roh : Zeilen(text)) {
            const QString z = Beschnitten(OhneSteuerzeichen(roh));
            if (z.isEmpty() || z.startsWith(QLatin1Char(';')))
                continue;
            if (z.startsWith(QLatin1Char('[')) && z.endsWith(QLatin1Char(']')) && z.size() >= 2) {
                m_abschnitte.append({Beschnitten(z.mid(1, z.size() - 2)), {}});
                continue;
            }
            if (m_abschnitte.isEmpty())
                continue;
            const qsizetype gleich = z.indexOf(QLatin1Char('='));
            if (gleich >= 0)
                m_abschnitte.last().Zeilen.append(Beschnitten(z.left(gleich)) + QLatin1Char('=')
                                                  + Beschnitten(z.mid(gleich + 1)));
            else
                m_abschnitte.last().Zeilen.append(z);
        }
    }

    QString Lesen(const QString &section, const QString &key, const QString &vorgabe) const
    {
        const Abschnitt *a = Finden(section);
        if (!a)
            return vorgabe;
        const qsizetype i = Zeile(*a, key);
        return i < 0 ? vorgabe : a->Zeilen.at(i).mid(a->Zeilen.at(i).indexOf(QLatin1Char('=')) + 1);
    }

    void Schreiben(const QString &section, const QString &key, const QString &wert)
    {
        Abschnitt *a = nullptr;
        for (Abschnitt &kandidat : m_abschnitte)
            if (kandidat.Name.compare(section, Qt::CaseInsensitive) == 0) {
                a = &kandidat;
                break;
            }
        if (!a) {
            m_abschnitte.append({section, {}});
            a = &m_abschnitte.last();
        }
        const QString zeile = key + QLatin1Char('=') + wert;
        const qsizetype i = Zeile(*a, key);
        if (i < 0)
            a->Zeilen.append(zeile);
        else
            a->Zeilen[i] = zeile;
    }

    QByteArray Text() const
    {
        QString text;
        for (const Abschnitt &a : m_abschnitte) {
            text += QLatin1Char('[') + a.Name + QLatin1Char(']') + Umbruch;
            for (const QString &z : a.Zeilen)
                text += z + Umbruch;
            text += Umbruch;
        }
        return text.toLatin1();
    }

    QString ErsterName() const { return m_abschnitte.isEmpty() ? QString() : m_abschnitte.first().Name; }

private:
    const Abschnitt *Finden(const QString &name) const
    {
        for (const Abschnitt &a : m_abschnitte)
            if (a.Name.compare(name, Qt::CaseInsensitive) == 0)
                return &a;
        return nullptr;
    }

    static qsizetype Zeile(const Abschnitt &a, const QString &key)
    {
        for (qsizetype i = 0; i < a.Zeilen.size(); ++i) {
            const QString &z = a.Zeilen.at(i);
            const qsizetype gleich = z.indexOf(QLatin1Char('='));
            if (gleich >= 0 && QStringView(z).left(gleich).compare(key, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    QList<Abschnitt> m_abschnitte;
};

// A file that is no settings text: control bytes other than TAB, CR and LF, or no section
// line. A last line without its line break, as many editors save a file, is a settings line.
bool KeineEinstellungsdatei(const QByteArray &daten)
{
    if (daten.isEmpty())
        return false;
    for (const char c : daten) {
        const uchar b = uchar(c);
        if ((b < 0x20 && b != '\t' && b != '\r' && b != '\n') || b == 0x7F)
            return true;
    }
    for (const QString &roh : Zeilen(QString::fromLatin1(daten))) {
        const QString z = Beschnitten(roh);
        if (z.size() >= 2 && z.startsWith(QLatin1Char('[')) && z.endsWith(QLatin1Char(']')))
            return false;
    }
    return true;
}

// Milliseconds since the file's content was last written; negative for a time ahead of now.
qint64 SeitGeschrieben(const DateiStand &Stand)
{
    timespec jetzt{};
    ::clock_gettime(CLOCK_REALTIME, &jetzt);
    return qint64(jetzt.tv_sec - Stand.Geschrieben.tv_sec) * 1000 + (jetzt.tv_nsec - Stand.Geschrieben.tv_nsec) / 1000000;
}

// Another program is saving the file: it holds it open for writing, or has just emptied it.
bool ImSpeichern(const DateiStand &Stand)
{
    if (Stand.InArbeit)
        return true;
    if (!Stand.Inhalt.isEmpty())
        return false;
    const qint64 ms = SeitGeschrieben(Stand);
    return ms < 0 || ms < LeerGestandenMs;
}

// Keeps a file that is no settings text whole beside it before it is first rewritten.
bool UnlesbareDateiSichern(const QString &datei, const QByteArray &daten)
{
    if (!KeineEinstellungsdatei(daten))
        return true;
    const QString sicherung = datei + QStringLiteral(".BAK");
    if (!DateiSchreiben(sicherung, daten))
        return false;
    ErrSchreiben(P().ModulName, QFileInfo(datei).fileName() + QStringLiteral(" nicht lesbar, unverändert gesichert als ")
                                    + QFileInfo(sicherung).fileName());
    return true;
}

QString DateiName()
{
    QString name = P().ServerIniDatei;
    DateinameBereinigen(name);
    return name;
}

// A file made meanwhile by another program is as good as one made here.
void NeueDateiAnlegen(const QString &datei)
{
    if (DateiErstellen(datei, IniNeueDatei(QDateTime::currentDateTime())) != Erstellung::Fehler)
        return;
    // a file that could not be created cannot be closed either
    ErrSchreiben(P().ModulName, QStringLiteral("Solvanor-INI-Error 01"));
    ErrSchreiben(P().ModulName, QStringLiteral("Solvanor-INI-Error 02"));
}

// Puts the current header in front of an older file's sections and sets the current version.
// Works on the written-back form of the memory copy, which is what a write-back and a read
// of the file would give; the file is written once, by the caller.
void Umstellen(IniSpeicher &speicher, const QString &alteVersion)
{
    QString text = QString::fromLatin1(speicher.Text());
    // Only the old header section gives way to the new header; any other first section is kept.
    if (speicher.ErsterName().compare(QLatin1String("Solvanor.Ini"), Qt::CaseInsensitive) == 0) {
        const qsizetype schnitt = text.indexOf(QStringLiteral("\r\n["));
        text = schnitt < 0 ? QString() : text.mid(schnitt + 2);
    }

    QString neu = IniKopf(QDateTime::currentDateTime()).join(Umbruch) + Umbruch;
    if (alteVersion == Fehlt)
        neu += QStringLiteral("[VERSION]\r\nINI-Version=") + QLatin1String(IniVersionAktuell) + Umbruch;
    neu += text + Umbruch;

    speicher = IniSpeicher();
    speicher.Laden(neu);
    speicher.Schreiben(QStringLiteral("VERSION"), QStringLiteral("INI-Version"), QLatin1String(IniVersionAktuell));
}

qint32 Zahl(const QString &section, const QString &key, qint32 vorgabe)
{
    qint32 wert = 0;
    return IniGanzzahl(IniWertLesen(section, key, QString::number(vorgabe)), wert) ? wert : vorgabe;
}

qint32 Zeilengrenze(const QString &key)
{
    return qBound(5000, Zahl(QStringLiteral("Messages"), key, 5000), 10000);
}

} // namespace

const QStringList &IniKopfKommentar()
{
    static const QStringList zeilen = [] {
        QStringList l;
        for (const char *z : Kommentar)
            l.append(QString::fromLatin1(z));
        return l;
    }();
    return zeilen;
}

QStringList IniKopf(const QDateTime &Zeitpunkt)
{
    QStringList kopf;
    kopf << QStringLiteral("[Solvanor.Ini]") << QStringLiteral("# ") + QString(84, QLatin1Char('-'))
         << QStringLiteral("#   Solvanor 2004 IniFile -  Created ") + DatumZeitText(Zeitpunkt) + QLatin1Char('.')
         << QStringLiteral("#   ") + QString(54, QLatin1Char('-')) << QStringLiteral("#");
    kopf += IniKopfKommentar();
    return kopf;
}

QByteArray IniNeueDatei(const QDateTime &Zeitpunkt)
{
    QStringList zeilen = IniKopf(Zeitpunkt);
    zeilen << QStringLiteral("[VERSION]") << QStringLiteral("INI-Version=") + QLatin1String(IniVersionAktuell)
           << QString();
    for (const char *a : NeueAbschnitte)
        zeilen << QLatin1Char('[') + QLatin1String(a) + QLatin1Char(']') << QString();
    zeilen << QString();
    return (zeilen.join(Umbruch) + Umbruch).toLatin1();
}

QString IniWertLesen(const QString &Section, const QString &Key, const QString &Default)
{
    const QString datei = DateiName();
    const auto fehler = [&] {
        ErrSchreiben(P().ModulName, QStringLiteral("Solvanor-INI-Error 03"));
        return Default;
    };
    // Instances of this program take turns on the file from the load to the write-back.
    const OrdnerSperre sperre(QFileInfo(datei).absolutePath());
    if (sperre.ErstmalsAufgegeben())
        ErrSchreiben(P().ModulName, SperreAufgegebenText(QFileInfo(datei).absolutePath()));
    QString wert = Default;
    for (int versuch = 0; versuch < IniSchreibversuche; ++versuch) {
        // Nothing is written over a file that was not read whole: only a file that the open
        // does not find is made anew, and only where none has appeared since.
        DateiStand stand;
        Lesung lesung = Lesung::Fehler;
        // Another program's save in progress is waited for a moment; one that takes longer
        // leaves the file to it, and the read gives its default.
        const QDeadlineTimer frist(SpeichernWarteMs);
        for (;;) {
            lesung = DateiLesen(datei, stand);
            if (lesung == Lesung::Fehlt) {
                NeueDateiAnlegen(datei);
                lesung = DateiLesen(datei, stand);
            }
            if (lesung != Lesung::Gelesen || !ImSpeichern(stand))
                break;
            if (frist.hasExpired())
                return Default;
            QThread::msleep(10);
        }
        if (lesung == Lesung::Fehler)
            return fehler();
        // Other programs share the file: what cannot be read as settings is kept, or not rewritten.
        if (!UnlesbareDateiSichern(datei, stand.Inhalt))
            return fehler();
        IniSpeicher speicher;
        // A file that has stood empty for a while is made anew, as a missing one is.
        speicher.Laden(QString::fromLatin1(stand.Inhalt.isEmpty() ? IniNeueDatei(QDateTime::currentDateTime())
                                                                  : stand.Inhalt));
        const QString version = speicher.Lesen(QStringLiteral("VERSION"), QStringLiteral("INI-Version"), Fehlt);
        if (IniVersionVergleichen(version) < 0)
            Umstellen(speicher, version);

        wert = speicher.Lesen(Section, Key, Fehlt);
        if (wert == Fehlt) {
            wert = Default;
            speicher.Schreiben(Section, Key, Default);
        }
        const QByteArray text = speicher.Text();
        if (lesung == Lesung::Fehlt) {
            // Still missing: made only where no other program has made one meanwhile, else
            // the change goes into that one.
            const Erstellung e = DateiErstellen(datei, text);
            if (e == Erstellung::Fehler)
                return fehler();
            if (e == Erstellung::Erstellt)
                return wert;
            continue;
        }
        // Written only over the file that was loaded; one that another program has replaced or
        // changed meanwhile is loaded again and the change made to its text.
        switch (DateiErsetzenWennUnveraendert(datei, text, stand)) {
        case Ersetzung::Ersetzt:
            return wert;
        case Ersetzung::Fehler:
            return fehler();
        case Ersetzung::Geaendert:
            break;
        }
    }
    // The file keeps changing under this read: the other program's text stays, and a later read
    // adds what is missing.
    return wert;
}

int IniVersionVergleichen(const QString &Version)
{
    if (Version == QLatin1String(IniVersionAktuell))
        return 0;
    if (Version.size() != 9 || !Version.startsWith(QLatin1String("V.")) || Version.mid(2).indexOf(QLatin1Char('.')) != 3)
        return -99;
    qint32 haupt = 0, neben = 0;
    if (!IniGanzzahl(Version.mid(2, 3), haupt) || !IniGanzzahl(Version.mid(6, 3), neben) || haupt < 0
        || haupt > 255 || neben < 0 || neben > 255)
        return -99;
    const int wert = haupt * 256 + neben;
    const int aktuell = 1 * 256 + 25;
    return wert > aktuell ? 1 : (wert == aktuell ? 0 : -1);
}

bool IniGanzzahl(const QString &Text, qint32 &Wert)
{
    QStringView s(Text);
    bool negativ = false;
    if (!s.isEmpty() && (s.front() == QLatin1Char('-') || s.front() == QLatin1Char('+'))) {
        negativ = s.front() == QLatin1Char('-');
        s = s.mid(1);
    }
    int basis = 10;
    if (s.startsWith(QLatin1Char('$')) || s.startsWith(QLatin1Char('x'), Qt::CaseInsensitive)) {
        basis = 16;
        s = s.mid(1);
    } else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        basis = 16;
        s = s.mid(2);
    }
    if (s.isEmpty())
        return false;
    qint64 betrag = 0;
    for (const QChar c : s) {
        const int ziffer = c.isDigit() && c.unicode() < 128 ? c.unicode() - '0'
                           : (basis == 16 && c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'))
                               ? c.toLower().unicode() - 'a' + 10
                               : -1;
        if (ziffer < 0)
            return false;
        betrag = betrag * basis + ziffer;
        if (betrag > qint64(std::numeric_limits<qint32>::max()) + 1)
            return false;
    }
    const qint64 wert = negativ ? -betrag : betrag;
    if (wert > std::numeric_limits<qint32>::max())
        return false;
    Wert = qint32(wert);
    return true;
}

qint32 GetShowTextTime()
{
    return Zahl(QStringLiteral("Messages"), QStringLiteral("ShowTextTime"), 3000);
}

qint32 GetShowErrTime()
{
    return Zahl(QStringLiteral("Messages"), QStringLiteral("ShowErrTime"), 5000);
}

qint32 GetMaxZeilenLog()
{
    return Zeilengrenze(QStringLiteral("MaxZeilenZahlLog_Datei"));
}

qint32 GetMaxZeilenErr()
{
    return Zeilengrenze(QStringLiteral("MaxZeilenZahlErr_Datei"));
}

qint64 GetMaxGroesseErr()
{
    // 64-bit product: large settings must not wrap around into small or negative limits.
    const qint64 bytes = qint64(Zahl(QStringLiteral("Messages"), QStringLiteral("MaxGroesseErr_Datei(kB)"), 500)) * 1024;
    return qMin<qint64>(bytes, 1024000);
}

qint32 GetTCPServerTimeOut()
{
    return Zahl(QStringLiteral("TCPIP"), QStringLiteral("TCPServerTimeOut"), 400);
}

qint32 GetTCPWinPort()
{
    return Zahl(QStringLiteral("TCPIP"), QStringLiteral("TCPWinPort"), 4096);
}
