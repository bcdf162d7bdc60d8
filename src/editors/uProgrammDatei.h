#pragma once

// Program files: one proofing or Nivorell program (*.QGP, *.NVP) or a list of ten (*.QGR,
// *.NVR). Plain single-byte text, one item per line, every line ended by CR LF.
//
//   single program:  line 1 the number ("%.2d"), line 2 the record text
//   list of ten:     line 1 "Init", lines 2 to 11 the record texts of places 1 to 10
//
// Readers take lines by position only; they test neither the extension, nor "Init", nor the
// number line. The record decoders judge the line lengths. No widgets here.
//
// Typical use (an editor's list load):
//   QStringList zeilen; QString fehler;
//   if (!ProgrammDateiZeilenLesen(pfad, ListenZeilenAnzahl, zeilen, fehler)) -> box(fehler)
//   for (int i = 1; i < ListenZeilenAnzahl; ++i) {
//       if (i >= zeilen.size()) -> box(ListenindexFehler(i)), stop (places read so far stay)
//       liste[i - 1] = HexZuGaerProg(zeilen.at(i));
//   }
// GaerListeLesen / NivorellListeLesen and the *EinzelLesen functions do exactly that.

#include "controller/uQuorvelKonstanten.h"

#include <QString>
#include <QStringList>

#include <array>

enum class TProgrammDateiArt { GaerProgramm, GaerListe, NivorellProgramm, NivorellListe };

// Lines a reader needs: a single-program file 2, a list file 11.
constexpr int EinzelZeilenAnzahl = 2;
constexpr int ListenZeilenAnzahl = 11;
// A read line is kept up to this many characters. Every record layout is judged by a length
// far below it ("exactly 56", "at least 100", "exactly 112"), so a cut line decodes exactly
// as the whole line would.
constexpr int ZeilenHoechstlaenge = 256;
// A read looks at no more than this many bytes of a file; lines not found within count as
// missing. Keeps endless or huge files from holding the program.
constexpr qint64 LeseHoechstens = 256LL * 1024 * 1024;

// Dialog filter "description|pattern|description|pattern" of the kind.
QString ProgrammDateiFilter(TProgrammDateiArt Art);
// Default extension of the kind ("*.QGP", "*.QGR", "*.NVP", "*.NVR").
QString ProgrammDateiEndung(TProgrammDateiArt Art);
// Name proposed when saving: "Programm" + NummerText for a single program, "GaerPrgRecord" or
// "NivorellPrgRecord" for a list (NummerText is then ignored).
QString ProgrammDateiVorschlag(TProgrammDateiArt Art, const QString &NummerText = QString());
// A program number as line 1 of a single-program file: "%.2d" ("01", "10", "123", "-1").
QString ProgrammNummerText(int Nummer);

// The lines of a file, without their ends.
QStringList EinzelDateiZeilen(const QString &NummerText, const QString &Record);
// "Init" and the ten record texts; a list of another size gives "Init" and what it holds.
QStringList ListenDateiZeilen(const QStringList &Records);
QStringList GaerListeZeilen(const std::array<TQorGaerProg, 10> &Liste);
QStringList NivorellListeZeilen(const std::array<TQorNivorell, 10> &Liste);
// The whole file text: each line Latin-1 and ended by CR LF.
QByteArray ProgrammDateiText(const QStringList &Zeilen);

// Places (1 to 10) of a list whose record text is empty: the encoder could not make it. Such a
// program is saved as an empty line.
QList<int> LeereProgramme(const QStringList &Records);
// The box text after a list save that held such programs: which were saved empty.
QString LeerGespeichertText(const QList<int> &Plaetze);

// Failure texts shown to the user.
QString OeffnenFehler(const QString &Pfad, const QString &Grund);
QString ErstellenFehler(const QString &Pfad, const QString &Grund);
// Index of the missing line, the first line counting 0.
QString ListenindexFehler(int Index);

// Writes the lines as a new file. An existing file of that name is replaced only once the
// new one is complete; on failure it stays as it was. In a folder that admits no new file a
// writable file is overwritten in place (see DateiSchreiben). False with Fehler set
// (ErstellenFehler) on failure.
bool ProgrammDateiSchreiben(const QString &Pfad, const QStringList &Zeilen, QString &Fehler);

// Reads the first Anzahl lines (fewer when the file has fewer). Lines end at CR, LF or CR LF;
// a last line without an end counts; lines are not trimmed; each is cut to
// ZeilenHoechstlaenge characters. False with Fehler set when the file cannot be opened or read.
bool ProgrammDateiZeilenLesen(const QString &Pfad, int Anzahl, QStringList &Zeilen, QString &Fehler);

// The editors' readers. A single-program file yields the program of its line 2 (line 1 is not
// read). A list file fills places 1 to 10 from lines 2 to 11 until the first missing line;
// the places before it keep what was read, the others are left alone. False with Fehler set on
// any failure (cannot open, missing line). Decoding uses the layout in force now.
bool GaerEinzelLesen(const QString &Pfad, TQorGaerProg &Prog, QString &Fehler);
bool GaerListeLesen(const QString &Pfad, std::array<TQorGaerProg, 10> &Liste, QString &Fehler);
bool NivorellEinzelLesen(const QString &Pfad, TQorNivorell &Prog, QString &Fehler);
bool NivorellListeLesen(const QString &Pfad, std::array<TQorNivorell, 10> &Liste, QString &Fehler);
