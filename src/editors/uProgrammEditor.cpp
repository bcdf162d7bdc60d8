#include "editors/uProgrammEditor.h"

#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

namespace {

constexpr int NamenZeilenhoehe = 20;
const QString Markierung = QStringLiteral("** ");

QTableWidgetItem *Zelle(const QString &Text, bool Fest)
{
    auto *item = new QTableWidgetItem(Text);
    if (Fest) {
        // The fixed row 0: neither selectable nor reachable with the cell cursor.
        item->setFlags(Qt::NoItemFlags);
        item->setBackground(QApplication::palette().button());
        item->setForeground(QApplication::palette().buttonText());
    } else {
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    return item;
}

// The names grid: wider columns than it shows, selected by whole rows. Bringing a cell into
// view scrolls only to its row; column 0 and the start of the names stay in view.
class TNamenListe : public QTableWidget
{
public:
    using QTableWidget::QTableWidget;
    void scrollTo(const QModelIndex &Index, ScrollHint Hinweis = EnsureVisible) override
    {
        QTableWidget::scrollTo(Index.sibling(Index.row(), 0), Hinweis);
    }
};

bool IstKopierenOderEinfuegen(QKeyEvent *k)
{
    return k->matches(QKeySequence::Copy) || k->matches(QKeySequence::Paste);
}

} // namespace

void ProgrammSanduhr(bool On)
{
    if (On) {
        if (QApplication::overrideCursor())
            QApplication::changeOverrideCursor(Qt::WaitCursor);
        else
            QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
    }
}

TProgrammEditor::TProgrammEditor(const TEditorArt &Art, TKommandoEintrag Kommando, QWidget *parent)
    : QMainWindow(parent), mArt(Art), mKommando(std::move(Kommando))
{
    setWindowFlag(Qt::WindowStaysOnTopHint);
    DeaktiviertLesbar(this);
    DialogOrdner = ProgrammVorhanden() ? P().BackprogrammeQuorvel : QString();

    Flaeche = new QWidget(this);
    Flaeche->setObjectName(QStringLiteral("Flaeche"));
    setCentralWidget(Flaeche);
    const int breite = Art.Client.width();

    Panel = new QWidget(Flaeche);
    Panel->setObjectName(Art.PanelName);
    Panel->setGeometry(0, 0, breite, 241);

    NamenListe = new TNamenListe(11, 2, Panel);
    NamenListe->setObjectName(QStringLiteral("NamenListe"));
    NamenListe->setGeometry(Art.NamenOrt.x(), Art.NamenOrt.y(), 196, 234);
    NamenListe->horizontalHeader()->hide();
    NamenListe->verticalHeader()->hide();
    NamenListe->setColumnWidth(0, 50);
    NamenListe->setColumnWidth(1, 249);
    for (int z = 0; z < 11; ++z)
        NamenListe->setRowHeight(z, NamenZeilenhoehe);
    NamenListe->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    NamenListe->setSelectionBehavior(QAbstractItemView::SelectRows);
    NamenListe->setSelectionMode(QAbstractItemView::SingleSelection);
    NamenListe->setEditTriggers(QAbstractItemView::NoEditTriggers);
    NamenListe->setFocusPolicy(Qt::ClickFocus); // no tab stop
    NamenListe->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    NamenListe->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    NamenListe->setItem(0, 0, Zelle(QString(), true));
    NamenListe->setItem(0, 1, Zelle(QString(), true));
    for (int z = 1; z <= 10; ++z) {
        NamenListe->setItem(z, 0, Zelle(QString::number(z), false));
        NamenListe->setItem(z, 1, Zelle(QString(), false));
    }
    NamenListe->setToolTip(QStringLiteral("Klicken: Wählen des Programms.\r\nRechte Maustaste: Programme verschieben etc."));
    NamenListe->viewport()->installEventFilter(this);
    connect(NamenListe, &QTableWidget::currentCellChanged, this, [this](int z, int, int alt, int) {
        if (!mZeileSetzen && z >= 1 && z != alt)
            NamenListeClick();
    });
    connect(NamenListe, &QTableWidget::cellClicked, this, [this](int z, int) {
        if (z >= 1 && !mZeileSetzen)
            NamenListeClick();
    });
    connect(NamenListe, &QTableWidget::cellDoubleClicked, this, [this](int z, int) {
        if (z >= 1)
            NamenListeClick();
    });

    ListeBox = new QGroupBox(QStringLiteral("Programm-Liste (Record):"), Flaeche);
    ListeBox->setObjectName(QStringLiteral("ListeBox"));
    ListeBox->setGeometry(0, 241, breite, 57);
    SingleBox = new QGroupBox(QStringLiteral("Einzelnes Programm: "), Flaeche);
    SingleBox->setObjectName(QStringLiteral("SingleBox"));
    SingleBox->setGeometry(0, 298, breite, 57);
    const QString k = Art.Kennung;
    LesenListe = Knopf(ListeBox, QStringLiteral("Lesen") + k, QStringLiteral("Quorvel -->> PC"), 8);
    SendenListe = Knopf(ListeBox, QStringLiteral("Senden") + k, QStringLiteral("PC -->> Quorvel"), 136);
    LadenListe = Knopf(ListeBox, QStringLiteral("Laden") + k, QStringLiteral("    Öffnen"), 272);
    SpeichernListe = Knopf(ListeBox, QStringLiteral("Speichern") + k, QStringLiteral("   Speichern"), 400);
    LesenEinzeln = Knopf(SingleBox, QStringLiteral("Lesen") + k + QStringLiteral("_S"), QStringLiteral("Quorvel -->> PC"), 8);
    SendenEinzeln = Knopf(SingleBox, QStringLiteral("Senden") + k + QStringLiteral("_S"), QStringLiteral("PC -->> Quorvel"), 136);
    LadenEinzeln = Knopf(SingleBox, QStringLiteral("Laden") + k + QStringLiteral("_S"), QStringLiteral("    Öffnen"), 272);
    SpeichernEinzeln = Knopf(SingleBox, QStringLiteral("Speichern") + k + QStringLiteral("_S"), QStringLiteral("   Speichern"), 400);
    connect(LesenListe, &QPushButton::clicked, this, [this] { LesenClick(true); });
    connect(LesenEinzeln, &QPushButton::clicked, this, [this] { LesenClick(false); });
    connect(SendenListe, &QPushButton::clicked, this, [this] { SendenClick(true); });
    connect(SendenEinzeln, &QPushButton::clicked, this, [this] { SendenClick(false); });
    connect(LadenListe, &QPushButton::clicked, this, [this] { LadenClick(true); });
    connect(LadenEinzeln, &QPushButton::clicked, this, [this] { LadenClick(false); });
    connect(SpeichernListe, &QPushButton::clicked, this, [this] { SpeichernClick(true); });
    connect(SpeichernEinzeln, &QPushButton::clicked, this, [this] { SpeichernClick(false); });

    FortschrittPanel = new QWidget(Flaeche);
    FortschrittPanel->setObjectName(QStringLiteral("FortschrittPanel"));
    FortschrittPanel->setAutoFillBackground(true);
    FortschrittPanel->setGeometry(5, ListeBox->y() + 7, 516, 97);
    Gauge1 = new QProgressBar(FortschrittPanel);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Gauge1->setGeometry(16, 8, 481, 25);
    Ausblenden = new QPushButton(QStringLiteral("Ausblenden"), FortschrittPanel);
    Ausblenden->setObjectName(QStringLiteral("Ausblenden"));
    Ausblenden->setGeometry(80, 48, 75, 25);
    Cancel = new QPushButton(QStringLiteral("Abbrechen"), FortschrittPanel);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setGeometry(368, 48, 75, 25);
    connect(Ausblenden, &QPushButton::clicked, this, [this] { AusblendenClick(); });
    connect(Cancel, &QPushButton::clicked, this, [this] { AbbrechenClick(); });
    FortschrittPanel->hide();
    FortschrittPanel->raise();

    SpracheBox = new QListWidget(Flaeche);
    SpracheBox->setObjectName(QStringLiteral("SpracheBox"));
    SpracheBox->hide();

    TimeOut = new QTimer(this);
    TimeOut->setObjectName(QStringLiteral("TimeOut"));
    TimeOut->setInterval(Art.TimeOutMs);
    TimeOut->setSingleShot(false);
    TimeOut->setTimerType(Qt::PreciseTimer); // a restart by progress gives a full period
    connect(TimeOut, &QTimer::timeout, this, [this] { TimeOutTimer(); });

    // Menus.
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    auto eintrag = [this](QMenu *Menue, const QString &Name, const QString &Text, std::function<void()> Tun) {
        QAction *a = Menue->addAction(Text);
        a->setObjectName(Name);
        connect(a, &QAction::triggered, this, [Tun] { Tun(); });
        return a;
    };
    File1 = menuBar()->addMenu(QStringLiteral("&Datei"));
    File1->setObjectName(QStringLiteral("File1"));
    NeueListe1 = eintrag(File1, QStringLiteral("NeueListe1"), QStringLiteral("Neue Liste"), [this] { NeueListe(); });
    Listeffnen1 = eintrag(File1, QStringLiteral("Listeffnen1"), QStringLiteral("Liste Öffnen"), [this] { LadenClick(true); });
    ListeSpeichernunter1 = eintrag(File1, QStringLiteral("ListeSpeichernunter1"), QStringLiteral("Liste Speichern &unter..."),
                                   [this] { SpeichernClick(true); });
    ffnen1 = eintrag(File1, QStringLiteral("ffnen1"), QStringLiteral("&Programm Öffnen..."), [this] { LadenClick(false); });
    ffnen1->setToolTip(QStringLiteral("Eine bestehende Datei öffnen"));
    ffnen1->setStatusTip(QStringLiteral("Eine bestehende Datei öffnen"));
    Backprogrammspeichern1 = eintrag(File1, QStringLiteral("Backprogrammspeichern1"), QStringLiteral("Programm speichern unter..."),
                                     [this] { SpeichernClick(false); });
    File1->addSeparator();
    ListeEmpfangen1 = eintrag(File1, QStringLiteral("ListeEmpfangen1"), QStringLiteral("Liste empfangen .."), [this] { LesenClick(true); });
    ListeSendenan1 = eintrag(File1, QStringLiteral("ListeSendenan1"), QStringLiteral("Liste senden an .."), [this] { SendenClick(true); });
    BPrgEmpfangen1 = eintrag(File1, QStringLiteral("BPrgEmpfangen1"), QStringLiteral("Programm empfangen .."), [this] { LesenClick(false); });
    BPrgSendenan1 = eintrag(File1, QStringLiteral("BPrgSendenan1"), QStringLiteral("Programm senden an .."), [this] { SendenClick(false); });
    File1->addSeparator();
    FensterSchlieen1 = eintrag(File1, QStringLiteral("FensterSchlieen1"), QStringLiteral("&Schließen"), [this] { hide(); });

    Bearbeiten1 = menuBar()->addMenu(QStringLiteral("Bearbeiten"));
    Bearbeiten1->setObjectName(QStringLiteral("Bearbeiten1"));
    Backprogrammkopieren1 = eintrag(Bearbeiten1, QStringLiteral("Backprogrammkopieren1"), QStringLiteral("Programm kopieren"),
                                    [this] { KopierenClick(); });
    Backprogrammeinfgen1 = eintrag(Bearbeiten1, QStringLiteral("Backprogrammeinfgen1"), QStringLiteral("Programm einfügen"),
                                   [this] { EinfuegenClick(); });
    Nachoben1 = eintrag(Bearbeiten1, QStringLiteral("Nachoben1"), QStringLiteral("Programm nach oben"), [this] { NachObenClick(); });
    Nachunten1 = eintrag(Bearbeiten1, QStringLiteral("Nachunten1"), QStringLiteral("Programm nach unten"), [this] { NachUntenClick(); });

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Kopieren1 = eintrag(PopupMenu1, QStringLiteral("Kopieren1"), QStringLiteral("Kopieren"), [this] { KopierenClick(); });
    Kopieren1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    Einfgen1 = eintrag(PopupMenu1, QStringLiteral("Einfgen1"), QStringLiteral("Einfügen"), [this] { EinfuegenClick(); });
    Einfgen1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    // The shortcuts act only inside the value editors that carry the pop-up (PopupFuerEditor).
    Kopieren1->setShortcutContext(Qt::WidgetShortcut);
    Einfgen1->setShortcutContext(Qt::WidgetShortcut);
    Nachoben2 = eintrag(PopupMenu1, QStringLiteral("Nachoben2"), QStringLiteral("Nach oben"), [this] { NachObenClick(); });
    Nachunten2 = eintrag(PopupMenu1, QStringLiteral("Nachunten2"), QStringLiteral("Nach unten"), [this] { NachUntenClick(); });

    resize(breite, Art.Client.height() + menuBar()->sizeHint().height());
    mZeileSetzen = true;
    NamenListe->setCurrentCell(1, 0);
    mZeileSetzen = false;
}

TProgrammEditor::~TProgrammEditor()
{
    if (mEigeneSanduhr)
        ProgrammSanduhr(false);
}

QPushButton *TProgrammEditor::Knopf(QWidget *Eltern, const QString &Name, const QString &Text, int x)
{
    auto *b = new QPushButton(Text, Eltern);
    b->setObjectName(Name);
    b->setGeometry(x, 22, 113, 25);
    return b;
}

void TProgrammEditor::closeEvent(QCloseEvent *Ereignis)
{
    // Closing only hides the window (it is never deleted), and the list stays. The close is
    // accepted, so that a quit of the application, which closes every window first, goes on.
    Ereignis->accept();
}

// --- list and names -------------------------------------------------------------------------

void TProgrammEditor::NeueListe()
{
    StandardListeSetzen();
    NamenAnzeigen();
    SlotAnzeigen(1);
    ListeAktiv(true);
}

void TProgrammEditor::NamenAnzeigen()
{
    for (int r = 1; r <= 10; ++r) {
        NamenListe->item(r, 0)->setText(QString::number(r));
        NameSetzen(r, QStringLiteral("Programm ") + ProgrammNummerText(r));
    }
}

void TProgrammEditor::NamenLoeschen()
{
    for (int r = 1; r <= 10; ++r) {
        NamenListe->item(r, 0)->setText(QString::number(r));
        NameSetzen(r, mArt.GeleertName);
    }
    ListeAktiv(false);
}

void TProgrammEditor::ListeAktiv(bool On)
{
    SendenListe->setEnabled(On);
    SpeichernListe->setEnabled(On);
    ListeSpeichernunter1->setEnabled(On);
    ListeSendenan1->setEnabled(On);
}

int TProgrammEditor::Zeile() const
{
    const int z = NamenListe->currentRow();
    return z >= 1 && z <= 10 ? z : 1;
}

void TProgrammEditor::ZeileWaehlen(int r)
{
    if (r < 1 || r > 10)
        return;
    mZeileSetzen = true;
    NamenListe->setCurrentCell(r, NamenListe->currentColumn() < 0 ? 0 : NamenListe->currentColumn());
    mZeileSetzen = false;
}

QString TProgrammEditor::Name(int r) const
{
    return r >= 1 && r <= 10 ? NamenListe->item(r, 1)->text() : QString();
}

void TProgrammEditor::NameSetzen(int r, const QString &Name)
{
    if (r >= 1 && r <= 10)
        NamenListe->item(r, 1)->setText(Name);
}

void TProgrammEditor::Markieren(int r)
{
    if (!Name(r).startsWith(Markierung))
        NameSetzen(r, Markierung + Name(r));
}

void TProgrammEditor::FelderVerlassen()
{
    const int r = Zeile();
    FelderInSlot(r);
    Markieren(r);
}

void TProgrammEditor::NamenListeClick()
{
    FelderLoeschen();
    // Showing a clicked row never reports an error.
    try {
        SlotAnzeigen(Zeile());
    } catch (...) {
    }
}

bool TProgrammEditor::eventFilter(QObject *Objekt, QEvent *Ereignis)
{
    if (Objekt == NamenListe->viewport() && Ereignis->type() == QEvent::MouseButtonPress) {
        auto *m = static_cast<QMouseEvent *>(Ereignis);
        if (m->button() == Qt::RightButton) {
            const QPoint maus = m->position().toPoint();
            const int z = NamenListe->rowAt(maus.y());
            if (z >= 1 && z <= 10) {
                ZeileWaehlen(z);
                const QPoint ort = PopupOrt(maus + NamenListe->viewport()->pos());
                if (PopupOeffnen)
                    PopupOeffnen(ort);
                else
                    PopupMenu1->popup(ort);
            }
            return true;
        }
        return false;
    }
    // Value editors that carry the pop-up: it replaces their own menu but never opens by itself,
    // so a right click there shows nothing; its Ctrl+C / Ctrl+V act instead of their own.
    if (Objekt->property("mqPopup").toBool()) {
        switch (Ereignis->type()) {
        case QEvent::ContextMenu:
            return true;
        case QEvent::ShortcutOverride: {
            auto *k = static_cast<QKeyEvent *>(Ereignis);
            if (IstKopierenOderEinfuegen(k)) {
                k->accept();
                return true;
            }
            break;
        }
        case QEvent::KeyPress: {
            auto *k = static_cast<QKeyEvent *>(Ereignis);
            if (IstKopierenOderEinfuegen(k)) {
                if (k->matches(QKeySequence::Copy)) {
                    if (Kopieren1->isEnabled())
                        KopierenClick();
                } else if (Einfgen1->isEnabled()) {
                    EinfuegenClick();
                }
                return true;
            }
            break;
        }
        default:
            break;
        }
    }
    return QMainWindow::eventFilter(Objekt, Ereignis);
}

QPoint TProgrammEditor::PopupOrt(const QPoint &Maus) const
{
    const QPoint fenster = frameGeometry().topLeft();
    return fenster + NamenListe->pos() + QPoint(10, 100) + Maus;
}

void TProgrammEditor::PopupFuerEditor(QWidget *Editor)
{
    QList<QWidget *> teile{Editor};
    teile += Editor->findChildren<QWidget *>();
    for (QWidget *w : teile) {
        w->setProperty("mqPopup", true);
        w->setContextMenuPolicy(Qt::DefaultContextMenu);
        w->installEventFilter(this);
    }
}

// --- lock, progress, time-out ---------------------------------------------------------------

void TProgrammEditor::FreigabeSetzen(bool On)
{
    QList<QPushButton *> knoepfe{LesenListe, SendenListe, LadenListe, SpeichernListe,
                                 LesenEinzeln, SendenEinzeln, LadenEinzeln, SpeichernEinzeln};
    QList<QAction *> popup{Kopieren1, Einfgen1, Nachoben2, Nachunten2};
    if (!On) {
        GesperrtDarstellen(SperrGruppe, true);
        ProgrammSanduhr(true);
        mEigeneSanduhr = true;
        if (SperrGruppe)
            SperrGruppe->setEnabled(false);
        if (!TimeOut->isActive())
            TimeOut->start();
        for (QPushButton *b : knoepfe)
            b->setEnabled(false);
        File1->menuAction()->setEnabled(false);
        Bearbeiten1->menuAction()->setEnabled(false);
        for (QAction *a : popup)
            a->setEnabled(false);
        mGesperrt = true;
    } else {
        GesperrtDarstellen(SperrGruppe, false);
        FortschrittZeigen(100);
        ProgrammSanduhr(false);
        mEigeneSanduhr = false;
        if (SperrGruppe)
            SperrGruppe->setEnabled(true);
        for (QPushButton *b : knoepfe)
            b->setEnabled(true);
        File1->menuAction()->setEnabled(true);
        Bearbeiten1->menuAction()->setEnabled(true);
        for (QAction *a : popup)
            a->setEnabled(true);
        TimeOut->stop();
        mGesperrt = false;
    }
}

void TProgrammEditor::FortschrittZeigen(int Prozent)
{
    FortschrittPanel->show();
    FortschrittPanel->raise();
    Gauge1->setValue(qBound(0, Prozent, 100));
    if (Prozent == 100) {
        TimeOut->stop();
        FortschrittPanel->hide();
        Gauge1->setValue(0);
    }
}

void TProgrammEditor::FortschrittMeldung(int Prozent)
{
    mFortschritt = Prozent;
    if (TimeOut->isActive())
        TimeOut->start(); // a fresh period
    if (FortschrittPanel->isVisibleTo(Flaeche)) {
        Gauge1->setValue(qBound(0, Prozent, 100));
        if (Prozent == 100) {
            FortschrittPanel->hide();
            Gauge1->setValue(0);
        }
    }
}

void TProgrammEditor::AusblendenClick()
{
    FortschrittPanel->hide();
}

void TProgrammEditor::TimeOutTimer()
{
    TimeOut->stop();
    const QString caption = SpracheBox->count() > 3 ? SpracheBox->item(3)->text() : QStringLiteral("Fehler");
    const QString text = SpracheBox->count() > 4 ? SpracheBox->item(4)->text() : QStringLiteral("Timeout bei Übertragung");
    ShowErr(caption, text + QStringLiteral("!!"), 0);
    FreigabeSetzen(true);
}

// --- requests and results -------------------------------------------------------------------

void TProgrammEditor::Anfrage(const QString &Befehl, const QString &Daten)
{
    const QString text = Befehl + QLatin1Char('\t') + QString::asprintf("%2.2d", 0) + QLatin1Char('\t') + Daten;
    if (mKommando)
        mKommando(QStringLiteral("BEFEHL"), text);
}

void TProgrammEditor::LesenClick(bool Liste)
{
    FelderLoeschen();
    QString befehl = mArt.EinzelLesen;
    QString daten = QString::number(Zeile());
    if (Liste) {
        FortschrittZeigen(1);
        befehl = mArt.ListeLesen;
        daten.clear();
    }
    FreigabeSetzen(false);
    Anfrage(befehl, daten);
}

bool TProgrammEditor::RecordsGueltig(const QStringList &Records, bool Liste, const QString &Folge)
{
    const qsizetype leer = Records.indexOf(QString());
    if (leer < 0)
        return true;
    const int nummer = Liste ? int(leer) + 1 : Zeile();
    ShowErr(QStringLiteral("FEHLER"),
            QStringLiteral("Programm %1 enthält ungültige Werte!\r\n").arg(nummer) + Folge, 0);
    return false;
}

void TProgrammEditor::SendenClick(bool Liste)
{
    const QStringList records = Liste ? SlotRecords() : QStringList{FelderRecord()};
    // An empty text would shift the list on the controller or write a broken program.
    if (!RecordsGueltig(records, Liste, QStringLiteral("nicht übertragen")))
        return;
    QString befehl = mArt.EinzelSchreiben;
    if (Liste) {
        FortschrittZeigen(1);
        befehl = mArt.ListeSchreiben;
    }
    FreigabeSetzen(false);
    Anfrage(befehl, records.join(QString()));
}

void TProgrammEditor::ListeEmpfangen(const QString &Text)
{
    mEmpfang = Text;
    // One decoding for the text kept last: a second call before it ran must not decode the
    // consumed, empty text over the slots.
    if (mDekodierenAusstehend)
        return;
    mDekodierenAusstehend = true;
    QMetaObject::invokeMethod(this, &TProgrammEditor::ListeDekodieren, Qt::QueuedConnection);
}

void TProgrammEditor::ListeDekodieren()
{
    mDekodierenAusstehend = false;
    FreigabeSetzen(true);
    const QString text = mEmpfang;
    mEmpfang.clear();
    ListeAusText(text);
    NamenAnzeigen();
    SlotAnzeigen(1);
    ListeAktiv(true);
}

// --- copy, paste, move ----------------------------------------------------------------------

void TProgrammEditor::KopierenClick()
{
    const int r = Zeile();
    AblageKopieren(r);
    mAblageName = Name(r);
}

void TProgrammEditor::EinfuegenClick()
{
    if (AblageLeer())
        return;
    const int r = Zeile();
    AblageEinfuegen(r);
    NameSetzen(r, mAblageName);
    SlotAnzeigen(r);
}

void TProgrammEditor::Verschieben(int Von, int Nach)
{
    SlotsTauschen(Von, Nach);
    const QString name = Name(Von);
    NameSetzen(Von, Name(Nach));
    NameSetzen(Nach, name);
    SlotAnzeigen(Nach);
}

void TProgrammEditor::NachObenClick()
{
    const int r = Zeile();
    if (r > 1)
        Verschieben(r, r - 1);
}

void TProgrammEditor::NachUntenClick()
{
    const int r = Zeile();
    if (r < 10)
        Verschieben(r, r + 1);
}

// --- files ----------------------------------------------------------------------------------

void TProgrammEditor::LadenClick(bool Liste)
{
    TDateiDialog d;
    d.Name = QStringLiteral("OpenDialog1");
    d.Filter = ProgrammDateiFilter(Liste ? mArt.ListenDatei : mArt.EinzelDatei);
    d.Endung = ProgrammDateiEndung(Liste ? mArt.ListenDatei : mArt.EinzelDatei);
    d.Ordner = DialogOrdner;
    const QString pfad = DateiWaehlen(this, d, Dateidialog);
    if (pfad.isEmpty())
        return;
    QStringList zeilen;
    QString fehler;
    if (Liste) {
        FelderLoeschen();
        NamenLoeschen();
        if (!ProgrammDateiZeilenLesen(pfad, ListenZeilenAnzahl, zeilen, fehler)) {
            DateiFehlerZeigen(this, fehler);
            return;
        }
        for (int r = 1; r <= 10; ++r) {
            if (r >= zeilen.size()) {
                DateiFehlerZeigen(this, ListenindexFehler(r));
                return;
            }
            ListenZeileSetzen(r, zeilen.at(r));
        }
        FelderLoeschen();
        SlotAnzeigen(1);
        NamenAnzeigen();
        ListeAktiv(true);
    } else {
        if (!ProgrammDateiZeilenLesen(pfad, EinzelZeilenAnzahl, zeilen, fehler)) {
            DateiFehlerZeigen(this, fehler);
            return;
        }
        FelderLoeschen();
        if (zeilen.size() < EinzelZeilenAnzahl) {
            DateiFehlerZeigen(this, ListenindexFehler(1));
            return;
        }
        EinzelZeileAnzeigen(zeilen.at(1));
    }
}

void TProgrammEditor::SpeichernClick(bool Liste)
{
    const int r = Zeile();
    const QString nummer = ProgrammNummerText(r);
    const QStringList records = Liste ? SlotRecords() : QStringList{FelderRecord()};
    // A single program that cannot be encoded is not saved: nothing else would be. A list is,
    // with such a program as an empty line, and a box names it.
    if (!Liste && !RecordsGueltig(records, Liste, QStringLiteral("nicht gespeichert")))
        return;
    TDateiDialog d;
    d.Name = QStringLiteral("SaveDialog1");
    d.Speichern = true;
    d.Filter = ProgrammDateiFilter(Liste ? mArt.ListenDatei : mArt.EinzelDatei);
    d.Endung = ProgrammDateiEndung(Liste ? mArt.ListenDatei : mArt.EinzelDatei);
    d.Dateiname = ProgrammDateiVorschlag(Liste ? mArt.ListenDatei : mArt.EinzelDatei, nummer);
    d.Ordner = DialogOrdner;
    const QString pfad = DateiWaehlen(this, d, Dateidialog);
    if (pfad.isEmpty())
        return;
    const QStringList zeilen = Liste ? ListenDateiZeilen(records) : EinzelDateiZeilen(nummer, records.first());
    QString fehler;
    if (!ProgrammDateiSchreiben(pfad, zeilen, fehler)) {
        DateiFehlerZeigen(this, fehler);
        return;
    }
    if (!Liste)
        return;
    NamenAnzeigen();
    if (const QList<int> leer = LeereProgramme(records); !leer.isEmpty())
        ShowErr(QStringLiteral("FEHLER"), LeerGespeichertText(leer), 0);
}
