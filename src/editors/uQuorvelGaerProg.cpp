#include "editors/uQuorvelGaerProg.h"

#include "editors/uProgrammListe.h"

#include "support/uProgramm.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

TProgrammEditor::TEditorArt GaerArt()
{
    TProgrammEditor::TEditorArt a;
    a.Kennung = QStringLiteral("Gaer");
    a.PanelName = QStringLiteral("GaerPanel");
    a.GeleertName = QStringLiteral("    --");
    a.TimeOutMs = 30000;
    a.Client = QSize(561, 359);
    a.NamenOrt = QPoint(277, 6);
    a.EinzelDatei = TProgrammDateiArt::GaerProgramm;
    a.ListenDatei = TProgrammDateiArt::GaerListe;
    a.ListeLesen = Q_GaerRecSave.Befehl;
    a.EinzelLesen = Q_GaerProgRd.Befehl;
    a.ListeSchreiben = Q_GaerRecRest.Befehl;
    a.EinzelSchreiben = Q_GaerProgWr.Befehl;
    return a;
}

// Places in the program group: a caption column, then three value columns.
constexpr int ErsteZeileY = 34;
constexpr int ZeilenAbstand = 24;
constexpr int SpalteX[3] = {38, 97, 156};
constexpr int EditorBreite = 56;
constexpr int EditorHoehe = 21;

const QString NichtGetragen = QStringLiteral("-----");

} // namespace

// --- TZahlenEdit ------------------------------------------------------------------------------

TZahlenEdit::TZahlenEdit(QWidget *parent) : QAbstractSpinBox(parent)
{
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setAccelerated(true);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
}

QString TZahlenEdit::Text() const
{
    return lineEdit()->text();
}

void TZahlenEdit::TextSetzen(const QString &Text)
{
    lineEdit()->setText(Text);
}

void TZahlenEdit::stepBy(int Schritte)
{
    bool ok = false;
    const qlonglong wert = Text().trimmed().toLongLong(&ok);
    TextSetzen(QString::number((ok ? wert : 0) + Schritte));
    lineEdit()->selectAll();
}

void TZahlenEdit::keyPressEvent(QKeyEvent *Ereignis)
{
    const QString t = Ereignis->text();
    const bool befehl = Ereignis->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!befehl && t.size() == 1 && t.at(0).isPrint() && !t.at(0).isDigit() && t != QLatin1String("-")
        && t != QLatin1String("+")) {
        Ereignis->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(Ereignis);
}

QAbstractSpinBox::StepEnabled TZahlenEdit::stepEnabled() const
{
    if (isReadOnly() || !isEnabled())
        return StepNone;
    return StepUpEnabled | StepDownEnabled;
}

// --- TwQuorvelGaerProg --------------------------------------------------------------------------

TwQuorvelGaerProg::TwQuorvelGaerProg(TKommandoEintrag Kommando, QWidget *parent)
    : TProgrammEditor(GaerArt(), std::move(Kommando), parent)
{
    setObjectName(QStringLiteral("wQuorvelGaerProg"));
    setWindowTitle(QStringLiteral("GärProgramme"));

    LesenGaer = LesenListe;
    SendenGaer = SendenListe;
    LadenGaer = LadenListe;
    SpeichernGaer = SpeichernListe;
    LesenGaer_S = LesenEinzeln;
    SendenGaer_S = SendenEinzeln;
    LadenGaer_S = LadenEinzeln;
    SpeichernGaer_S = SpeichernEinzeln;

    GaerProgramm = new QGroupBox(QStringLiteral("GaerProgramm"), Panel);
    GaerProgramm->setObjectName(QStringLiteral("GaerProgramm"));
    GaerProgramm->setGeometry(39, 1, 217, 233);
    SperrGruppe = GaerProgramm;

    const QStringList spalten{QStringLiteral("Temp/°C"), QStringLiteral("Feu/%"), QStringLiteral("Dauer/min")};
    for (int s = 0; s < 3; ++s) {
        auto *l = new QLabel(spalten.at(s), GaerProgramm);
        l->setObjectName(QStringLiteral("Spalte%1").arg(s + 1));
        l->setGeometry(SpalteX[s], 16, EditorBreite, 16);
    }
    const QStringList zeilen{QStringLiteral("Sch"), QStringLiteral("GU"), QStringLiteral("GV"),
                             QStringLiteral("GA"), QStringLiteral("AB"), QStringLiteral("Backofenvorlauf")};
    for (int z = 0; z < zeilen.size(); ++z) {
        auto *l = new QLabel(zeilen.at(z), GaerProgramm);
        l->setObjectName(QStringLiteral("Zeile%1").arg(z + 1));
        // "Backofenvorlauf" has only the duration editor and takes the room of the other two.
        const int bis = z == zeilen.size() - 1 ? SpalteX[2] : SpalteX[0];
        l->setGeometry(6, ErsteZeileY + ZeilenAbstand * z + 2, bis - 8, 17);
    }
    P_SchTemp = Editor(QStringLiteral("P_SchTemp"), 0, 0);
    P_SchZeit = Editor(QStringLiteral("P_SchZeit"), 0, 2);
    P_GuTemp = Editor(QStringLiteral("P_GuTemp"), 1, 0);
    P_GvTemp = Editor(QStringLiteral("P_GvTemp"), 2, 0);
    P_GvFeu = Editor(QStringLiteral("P_GvFeu"), 2, 1);
    P_GvZeit = Editor(QStringLiteral("P_GvZeit"), 2, 2);
    P_GaTemp = Editor(QStringLiteral("P_GaTemp"), 3, 0);
    P_GaFeu = Editor(QStringLiteral("P_GaFeu"), 3, 1);
    P_GaZeit = Editor(QStringLiteral("P_GaZeit"), 3, 2);
    P_AbTemp = Editor(QStringLiteral("P_AbTemp"), 4, 0);
    P_AbFeu = Editor(QStringLiteral("P_AbFeu"), 4, 1);
    P_AbZeit = Editor(QStringLiteral("P_AbZeit"), 4, 2);
    P_BVorl = Editor(QStringLiteral("P_BVorl"), 5, 2);
    for (TZahlenEdit *e : {P_SchTemp, P_GuTemp, P_GvTemp, P_GvFeu, P_GaTemp, P_GaFeu, P_AbTemp, P_AbFeu, P_AbZeit})
        PopupFuerEditor(e);

    Firmware_ab_352 = new QCheckBox(QStringLiteral("Firmware > 352"), GaerProgramm);
    Firmware_ab_352->setObjectName(QStringLiteral("Firmware_ab_352"));
    Firmware_ab_352->setGeometry(8, ErsteZeileY + ZeilenAbstand * 6 + 8, 200, 19);
    Firmware_ab_352->setChecked(true);
    connect(Firmware_ab_352, &QCheckBox::toggled, this, [this] { Firmware_ab_352Click(); });

    // Creation steps.
    SpracheBox->clear();
    SpracheBox->addItems({QStringLiteral("Temperatur in °C"), QStringLiteral("rel.Feuchte in %"), QStringLiteral("Phase"),
                          QStringLiteral("Fehler"), QStringLiteral("Timeout bei Übertragung"),
                          QStringLiteral("Achtung: Diese Funktion ist nur"), QStringLiteral("für ältere Firmware vorgesehen!"),
                          QStringLiteral("Bei fehlerhafter Einstellung werden"),
                          QStringLiteral("Gärprogramme nicht korrekt dargestellt"), QStringLiteral("und übertragen!"),
                          QStringLiteral("Wirklich auf alte Firmware umstellen?"), QStringLiteral("Warnung")});
    mAblage = TQorGaerProg();
    NeueListe();

    if (ProgrammVorhanden())
        P().wQuorvelGaerProg = this;
}

TwQuorvelGaerProg::~TwQuorvelGaerProg()
{
    if (ProgrammVorhanden() && P().wQuorvelGaerProg == this)
        P().wQuorvelGaerProg = nullptr;
}

TZahlenEdit *TwQuorvelGaerProg::Editor(const QString &Name, int Zeile, int Spalte)
{
    auto *e = new TZahlenEdit(GaerProgramm);
    e->setObjectName(Name);
    e->setGeometry(SpalteX[Spalte], ErsteZeileY + ZeilenAbstand * Zeile, EditorBreite, EditorHoehe);
    e->installEventFilter(this);
    mEditoren << e;
    return e;
}

bool TwQuorvelGaerProg::eventFilter(QObject *Objekt, QEvent *Ereignis)
{
    if (Ereignis->type() == QEvent::FocusOut && mEditoren.contains(static_cast<TZahlenEdit *>(Objekt))) {
        // Leaving a value editor; a window switch, an opened menu or the lock disabling the
        // editor is no leave.
        const Qt::FocusReason grund = static_cast<QFocusEvent *>(Ereignis)->reason();
        if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason
            && static_cast<QWidget *>(Objekt)->isEnabled())
            FelderVerlassen();
    }
    return TProgrammEditor::eventFilter(Objekt, Ereignis);
}

void TwQuorvelGaerProg::showEvent(QShowEvent *Ereignis)
{
    P_AbZeit->setEnabled(P().FirmwareAb352);
    TProgrammEditor::showEvent(Ereignis);
}

TQorGaerProg TwQuorvelGaerProg::StandardProgramm(int Nr)
{
    TQorGaerProg g;
    g.Nr = QString::number(Nr);
    g.Sch = {QStringLiteral("-15"), QString(), QStringLiteral("60")};
    g.GU = {QStringLiteral("-10"), QString(), QString()};
    g.GV = {QStringLiteral("2"), QStringLiteral("75"), QStringLiteral("360")};
    g.GA = {QStringLiteral("30"), QStringLiteral("80"), QStringLiteral("180")};
    g.AB = {QStringLiteral("FFFF"), QStringLiteral("70"), QStringLiteral("0")};
    g.Backofenvorlauf = QStringLiteral("60");
    return g;
}

void TwQuorvelGaerProg::StandardListeSetzen()
{
    for (int i = 1; i <= 10; ++i)
        Programme[size_t(i - 1)] = StandardProgramm(i);
}

void TwQuorvelGaerProg::ProgrammAnzeigen(const TQorGaerProg &Prog)
{
    bool ok = false;
    int n = Prog.Nr.toInt(&ok);
    if (!ok)
        n = -1;
    if (n >= 1 && n <= 10) {
        Programme[size_t(n - 1)] = Prog;
        ZeileWaehlen(n);
    }
    mAktuell = Prog;
    P_SchTemp->TextSetzen(Prog.Sch.Temp);
    P_SchZeit->TextSetzen(Prog.Sch.Zeit);
    P_GuTemp->TextSetzen(Prog.GU.Temp);
    P_GvTemp->TextSetzen(Prog.GV.Temp);
    P_GvFeu->TextSetzen(Prog.GV.Feu);
    P_GvZeit->TextSetzen(Prog.GV.Zeit);
    P_GaTemp->TextSetzen(Prog.GA.Temp);
    P_GaFeu->TextSetzen(Prog.GA.Feu);
    P_GaZeit->TextSetzen(Prog.GA.Zeit);
    P_AbTemp->TextSetzen(Prog.AB.Temp);
    P_AbFeu->TextSetzen(Prog.AB.Feu);
    P_AbZeit->TextSetzen(Prog.AB.Zeit);
    P_BVorl->TextSetzen(Prog.Backofenvorlauf);
}

TQorGaerProg TwQuorvelGaerProg::ProgrammAusFeldern() const
{
    TQorGaerProg g;
    g.Nr = QString::number(Zeile());
    g.Sch.Temp = P_SchTemp->Text();
    g.Sch.Zeit = P_SchZeit->Text();
    g.GU.Temp = P_GuTemp->Text();
    g.GV = {P_GvTemp->Text(), P_GvFeu->Text(), P_GvZeit->Text()};
    g.GA = {P_GaTemp->Text(), P_GaFeu->Text(), P_GaZeit->Text()};
    g.AB = {P_AbTemp->Text(), P_AbFeu->Text(), P_AbZeit->Text()};
    g.Backofenvorlauf = P_BVorl->Text();
    return g;
}

void TwQuorvelGaerProg::FelderLoeschen()
{
    for (TZahlenEdit *e : std::as_const(mEditoren))
        e->TextSetzen(QString());
}

void TwQuorvelGaerProg::SlotAnzeigen(int r)
{
    if (r >= 1 && r <= 10)
        ProgrammAnzeigen(Programme[size_t(r - 1)]);
}

void TwQuorvelGaerProg::FelderInSlot(int r)
{
    if (r >= 1 && r <= 10)
        Programme[size_t(r - 1)] = ProgrammAusFeldern();
}

QString TwQuorvelGaerProg::FelderRecord()
{
    return GaerProgZuHex(ProgrammAusFeldern());
}

QStringList TwQuorvelGaerProg::SlotRecords() const
{
    return ListenRecords(Programme, GaerProgZuHex);
}

void TwQuorvelGaerProg::ListeAusText(const QString &Text)
{
    ::ListeAusText(Programme, Text, P().GaerProgLaenge, HexZuGaerProg);
}

void TwQuorvelGaerProg::ListenZeileSetzen(int r, const QString &Zeile)
{
    if (r >= 1 && r <= 10)
        Programme[size_t(r - 1)] = HexZuGaerProg(Zeile);
}

void TwQuorvelGaerProg::EinzelZeileAnzeigen(const QString &Zeile)
{
    ProgrammAnzeigen(HexZuGaerProg(Zeile));
}

void TwQuorvelGaerProg::SlotsTauschen(int a, int b)
{
    ListenPlaetzeTauschen(Programme, a, b);
}

void TwQuorvelGaerProg::AblageKopieren(int r)
{
    mAblage = Programme[size_t(r - 1)];
}

void TwQuorvelGaerProg::AblageEinfuegen(int r)
{
    ListenPlatzEinfuegen(Programme, r, mAblage);
}

void TwQuorvelGaerProg::AbbrechenClick()
{
    FreigabeSetzen(true);
    Anfrage(Q_RSCancel.Befehl, QString());
}

void TwQuorvelGaerProg::ProgrammEmpfangen(const QString &Text)
{
    FreigabeSetzen(true);
    ProgrammAnzeigen(HexZuGaerProg(Text));
}

void TwQuorvelGaerProg::Firmware_ab_352Click()
{
    if (Firmware_ab_352->isChecked()) {
        GaerProgLayoutSetzen(true);
        P_AbZeit->setEnabled(true);
        if (P_AbZeit->Text() == NichtGetragen)
            P_AbZeit->TextSetzen(QStringLiteral("0"));
        return;
    }
    QStringList zeilen;
    for (int i = 5; i <= 9; ++i)
        zeilen << SpracheBox->item(i)->text();
    zeilen << QString() << SpracheBox->item(10)->text();
    const QString caption = SpracheBox->item(11)->text();
    const QString text = zeilen.join(QStringLiteral("\r\n"));
    QMessageBox::StandardButton antwort;
    if (Warnung) {
        antwort = Warnung(caption, text);
    } else {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
        box.setObjectName(QStringLiteral("Warnung"));
        antwort = QMessageBox::StandardButton(box.exec());
    }
    if (antwort == QMessageBox::Yes) {
        GaerProgLayoutSetzen(false);
        P_AbZeit->setEnabled(false);
        P_AbZeit->TextSetzen(NichtGetragen);
    } else {
        // Ticked again: runs the ticked branch.
        Firmware_ab_352->setChecked(true);
    }
}
