#include "editors/uQuorvelNivorell.h"

#include "editors/uProgrammListe.h"

#include "support/Sammlung.h"
#include "support/SammlungGrid.h"
#include "support/uProgramm.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {

constexpr int ZeitSpalte = 1;
// Top of the paint box: below the top panel and the two button groups.
constexpr int MalflaecheOben = 241 + 57 + 57;

// Texts of SpracheBox.
enum Sprache { TextTemperatur = 0, TextFeuchte = 1, TextPhase = 2, TextStd = 5 };

QString Zelle(const QTableWidget *g, int r, int c)
{
    const QTableWidgetItem *it = g->item(r, c);
    return it ? it->text() : QString();
}

void ZelleSetzen(QTableWidget *g, int r, int c, const QString &text)
{
    if (QTableWidgetItem *it = g->item(r, c))
        it->setText(text);
    else
        g->setItem(r, c, new QTableWidgetItem(text));
}

// Key code of an event as the key handler sees it: Enter 13, Tab 9, else its first character.
QChar Zeichen(const QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QChar(9);
    default:
        return e->text().isEmpty() ? QChar(0xFFFF) : e->text().front();
    }
}

} // namespace

// The step grid: its keys go to the window's key handler first, also while a cell is edited.
class TNivorellGitter : public QTableWidget
{
public:
    TNivorellGitter(TwQuorvelNivorell *Fenster, QWidget *Eltern) : QTableWidget(9, 4, Eltern), mFenster(Fenster) {}

    // Takes over the text of an open cell editor.
    void EingabeUebernehmen()
    {
        if (state() != QAbstractItemView::EditingState)
            return;
        if (QWidget *editor = indexWidget(currentIndex()))
            commitData(editor);
    }

    // Key press in the grid or in its cell editor; true when the key is used up.
    bool Taste(QKeyEvent *e, bool ImEditor)
    {
        QChar k = Zeichen(e);
        if (k != QChar(13) && k != QChar(9))
            return false;
        EingabeUebernehmen();
        if (k == QChar(13) && ImEditor)
            setFocus(); // closes the cell editor, its text taken
        mFenster->NivorellGridKeyPress(k);
        return k == QChar(0);
    }

protected:
    void keyPressEvent(QKeyEvent *e) override
    {
        if (Taste(e, false)) {
            e->accept();
            return;
        }
        QTableWidget::keyPressEvent(e);
    }

private:
    TwQuorvelNivorell *mFenster;
};

namespace {

// Hands every duration cell it draws whose text the normaliser would change to the window's
// draw handler, on the next turn of the event loop (never while painting); its cell editors
// send Enter and Tab through the grid's key handling.
class NivorellZellen : public QStyledItemDelegate
{
public:
    NivorellZellen(TwQuorvelNivorell *Fenster, TNivorellGitter *Grid)
        : QStyledItemDelegate(Grid), mFenster(Fenster), mGrid(Grid)
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.column() == ZeitSpalte && index.row() >= 1 && index.row() <= 8) {
            const QString alt = index.data(Qt::DisplayRole).toString();
            if (ZeitNormieren(alt) != alt) {
                const QPointer<TwQuorvelNivorell> f = mFenster;
                const int r = index.row();
                QMetaObject::invokeMethod(
                    mFenster,
                    [f, r] {
                        if (f)
                            f->NivorellGridDrawCell(ZeitSpalte, r);
                    },
                    Qt::QueuedConnection);
            }
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

protected:
    bool eventFilter(QObject *Editor, QEvent *e) override
    {
        if (e->type() == QEvent::KeyPress && mGrid->Taste(static_cast<QKeyEvent *>(e), true))
            return true;
        return QStyledItemDelegate::eventFilter(Editor, e);
    }

private:
    TwQuorvelNivorell *mFenster;
    TNivorellGitter *mGrid;
};

} // namespace

// The graph's surface: every paint draws the selected row's program anew.
class TNivorellMalflaeche : public QWidget
{
public:
    TNivorellMalflaeche(TwQuorvelNivorell *Fenster, QWidget *Eltern) : QWidget(Eltern), mFenster(Fenster)
    {
        setObjectName(QStringLiteral("PaintBox1"));
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        mFenster->mGrafik = mFenster->GrafikBerechnen(size());
        QPainter m(this);
        GrafikMalen(m, mFenster->mGrafik, mFenster->mGrafikSchrift);
    }

private:
    TwQuorvelNivorell *mFenster;
};

namespace {

TProgrammEditor::TEditorArt NivorellArt()
{
    TProgrammEditor::TEditorArt a;
    a.Kennung = QStringLiteral("NivoR");
    a.PanelName = QStringLiteral("NVPanel");
    a.GeleertName = QStringLiteral("*    --");
    a.TimeOutMs = 15000;
    a.Client = QSize(531, 635);
    a.NamenOrt = QPoint(317, 6);
    a.EinzelDatei = TProgrammDateiArt::NivorellProgramm;
    a.ListenDatei = TProgrammDateiArt::NivorellListe;
    a.ListeLesen = Q_NVRecSave.Befehl;
    a.EinzelLesen = Q_NivorellRd.Befehl;
    a.ListeSchreiben = Q_NVRecRest.Befehl;
    a.EinzelSchreiben = Q_NivorellWr.Befehl;
    return a;
}

} // namespace

TwQuorvelNivorell::TwQuorvelNivorell(TKommandoEintrag Kommando, QWidget *parent)
    : TProgrammEditor(NivorellArt(), std::move(Kommando), parent)
{
    setObjectName(QStringLiteral("wQuorvelNivorell"));
    setWindowTitle(QStringLiteral("Nivorell"));
    if (ProgrammVorhanden())
        P().wQuorvelNivorell = this;
    mGrafikSchrift = GrafikSchrift();

    NivorellProgramm = new QGroupBox(QStringLiteral("NivorellProgramm"), Panel);
    NivorellProgramm->setObjectName(QStringLiteral("NivorellProgramm"));
    NivorellProgramm->setGeometry(3, 1, 302, 239);
    SperrGruppe = NivorellProgramm;

    mGitter = new TNivorellGitter(this, NivorellProgramm);
    NivorellGrid = mGitter;
    NivorellGrid->setObjectName(QStringLiteral("NivorellGrid"));
    NivorellGrid->setGeometry(5, 32, 284, 193);
    NivorellGrid->horizontalHeader()->hide();
    NivorellGrid->verticalHeader()->hide();
    NivorellGrid->horizontalHeader()->setMinimumSectionSize(1);
    NivorellGrid->verticalHeader()->setMinimumSectionSize(1);
    NivorellGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    NivorellGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    NivorellGrid->setTabKeyNavigation(true);
    NivorellGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    NivorellGrid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked
                                  | QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    const int breiten[4] = {60, 84, 60, 70};
    for (int c = 0; c < 4; ++c)
        NivorellGrid->setColumnWidth(c, breiten[c]);
    for (int r = 0; r < 9; ++r) {
        NivorellGrid->setRowHeight(r, 20);
        for (int c = 0; c < 4; ++c) {
            auto *it = new QTableWidgetItem;
            if (r == 0 || c == 0) {
                // Fixed cells: the cell cursor never stops on them, neither by Tab nor by a click.
                it->setFlags(Qt::NoItemFlags);
                it->setBackground(QApplication::palette().button());
                it->setForeground(QApplication::palette().buttonText());
            }
            NivorellGrid->setItem(r, c, it);
        }
    }
    NivorellGrid->setItemDelegate(new NivorellZellen(this, mGitter));
    NivorellGrid->setCurrentCell(1, 1);
    // Leaving the grid (its cell editor included) for another control of this window stores
    // the program; the lock disabling the grid, another window or a menu taking the focus is
    // no leave.
    mFokusVerbindung = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *alt, QWidget *neu) {
        const auto imGitter = [this](QWidget *w) { return w && (w == NivorellGrid || NivorellGrid->isAncestorOf(w)); };
        if (imGitter(alt) && !imGitter(neu) && NivorellGrid->isEnabled() && neu && neu->window() == this)
            NivorellGridExit();
    });

    ShowGrafik = new QPushButton(QStringLiteral("ShowGrafik"), NivorellProgramm);
    ShowGrafik->setObjectName(QStringLiteral("ShowGrafik"));
    // One pixel lower than the grid's top edge, so that the two do not overlap.
    ShowGrafik->setGeometry(8, 16, 75, 16);
    ShowGrafik->hide();
    connect(ShowGrafik, &QPushButton::clicked, this, [this] { ShowGrafikClick(); });

    PaintBox1 = new TNivorellMalflaeche(this, Flaeche);
    Flaeche->installEventFilter(this);
    MalflaecheSetzen();
    FortschrittPanel->raise();

    // Creation, in this order.
    SpracheBox->clear();
    SpracheBox->addItems({QStringLiteral("Temperatur in °C"), QStringLiteral("rel.Feuchte in %"), QStringLiteral("Phase"),
                          QStringLiteral("Fehler"), QStringLiteral("Timeout bei Übertragung"), QStringLiteral("Std")});
    if (ProgrammVorhanden() && P().ServiceModus)
        ShowGrafik->show();
    StiftFarbe = Qt::black;
    const QStringList kopf{QStringLiteral("Nivorell"), QStringLiteral("Dauer /hh:nn"), QStringLiteral("Temp /°C"),
                           QStringLiteral("Feuchte /%")};
    for (int c = 0; c < 4; ++c)
        ZelleSetzen(NivorellGrid, 0, c, kopf.at(c));
    for (int r = 1; r <= 8; ++r)
        ZelleSetzen(NivorellGrid, r, 0, QStringLiteral("Phase") + QString::number(r));
    Ablage = TQorNivorell{};
    mAchsen = NivorellAchsen{};
    NeueListe();
}

TwQuorvelNivorell::~TwQuorvelNivorell()
{
    // The widgets go after this part of the window: their focus changes must not reach it.
    disconnect(mFokusVerbindung);
    if (ProgrammVorhanden() && P().wQuorvelNivorell == this)
        P().wQuorvelNivorell = nullptr;
}

bool TwQuorvelNivorell::eventFilter(QObject *Objekt, QEvent *Ereignis)
{
    if (Objekt == Flaeche && Ereignis->type() == QEvent::Resize)
        MalflaecheSetzen();
    return TProgrammEditor::eventFilter(Objekt, Ereignis);
}

void TwQuorvelNivorell::MalflaecheSetzen()
{
    // The paint box fills the client area below the button groups.
    PaintBox1->setGeometry(0, MalflaecheOben, Flaeche->width(), qMax(0, Flaeche->height() - MalflaecheOben));
}

// ---- program and step grid -----------------------------------------------------------------

void TwQuorvelNivorell::StandardListeSetzen()
{
    const int werte[4][3] = {{8, 80, 30}, {20, 80, 30}, {20, 80, 180}, {4, 80, 360}};
    TQorNivorell p;
    for (int k = 0; k < 8; ++k) {
        TQorProgElement &s = p.Schritte[size_t(k)];
        const int *w = werte[qMin(k, 3)];
        s.Temp = QString::number(w[0]);
        s.Feu = QString::number(w[1]);
        s.Zeit = k < 4 ? QString::number(w[2]) : QString();
    }
    for (int i = 1; i <= 10; ++i) {
        p.Nr = QString::number(i);
        ProgListe[size_t(i - 1)] = p;
    }
}

void TwQuorvelNivorell::GridLeeren()
{
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 3; ++c)
            ZelleSetzen(NivorellGrid, r, c, QString());
}

void TwQuorvelNivorell::FelderLoeschen()
{
    GridLeeren();
}

void TwQuorvelNivorell::ProgrammAnzeigen(const TQorNivorell &Rec)
{
    const qint32 n = GanzzahlOder(Rec.Nr, -1);
    if (n >= 1 && n <= 10) {
        ProgListe[size_t(n - 1)] = Rec;
        ZeileWaehlen(n);
    }
    for (int k = 1; k <= 8; ++k) {
        const TQorProgElement &s = Rec.Schritte[size_t(k - 1)];
        ZelleSetzen(NivorellGrid, k, 1, MinutenZuZeit(GanzzahlOder(s.Zeit, 0), false));
        ZelleSetzen(NivorellGrid, k, 2, s.Temp);
        ZelleSetzen(NivorellGrid, k, 3, s.Feu);
    }
    GrafikZeichnen();
}

void TwQuorvelNivorell::SlotAnzeigen(int r)
{
    ProgrammAnzeigen(ProgListe[size_t(qBound(1, r, 10) - 1)]);
}

TQorNivorell TwQuorvelNivorell::GridZuProgramm() const
{
    TQorNivorell p;
    p.Nr = QString::number(Zeile());
    for (int k = 1; k <= 8; ++k) {
        TQorProgElement &s = p.Schritte[size_t(k - 1)];
        s.Zeit = QString::number(ZeitZuMinuten(Zelle(NivorellGrid, k, 1)));
        s.Temp = Zelle(NivorellGrid, k, 2);
        s.Feu = Zelle(NivorellGrid, k, 3);
    }
    return p;
}

void TwQuorvelNivorell::FelderInSlot(int r)
{
    ProgListe[size_t(qBound(1, r, 10) - 1)] = GridZuProgramm();
}

void TwQuorvelNivorell::NivorellGridExit()
{
    // A store can close the cell editor, which leaves the grid once more.
    if (mSpeichertGerade)
        return;
    mSpeichertGerade = true;
    mGitter->EingabeUebernehmen();
    FelderVerlassen();
    GrafikZeichnen();
    mSpeichertGerade = false;
}

void TwQuorvelNivorell::NivorellGridKeyPress(QChar &Key)
{
    GridEnterWeiter(NivorellGrid, Key);
    if (Key == QChar(0) || Key == QChar(9) || Key == QChar(13))
        NivorellGridExit();
}

void TwQuorvelNivorell::NivorellGridDrawCell(int ACol, int ARow)
{
    if (ACol != ZeitSpalte || ARow < 1 || ARow > 8)
        return;
    if (NivorellGrid->currentRow() == ARow && NivorellGrid->currentColumn() == ACol)
        return;
    const QString t = Zelle(NivorellGrid, ARow, ACol);
    const QString n = ZeitNormieren(t);
    if (n == t)
        return;
    ZelleSetzen(NivorellGrid, ARow, ACol, n);
    NivorellGridExit();
}

// ---- records, lists, copy buffer -----------------------------------------------------------

QString TwQuorvelNivorell::FelderRecord()
{
    return NivorellZuHex(GridZuProgramm());
}

QStringList TwQuorvelNivorell::SlotRecords() const
{
    return ListenRecords(ProgListe, NivorellZuHex);
}

void TwQuorvelNivorell::ListeAusText(const QString &Text)
{
    ::ListeAusText(ProgListe, Text, 100, HexZuNivorell);
}

void TwQuorvelNivorell::ListenZeileSetzen(int r, const QString &Zeile)
{
    ProgListe[size_t(qBound(1, r, 10) - 1)] = HexZuNivorell(Zeile);
}

void TwQuorvelNivorell::EinzelZeileAnzeigen(const QString &Zeile)
{
    ProgrammAnzeigen(HexZuNivorell(Zeile));
}

void TwQuorvelNivorell::SlotsTauschen(int a, int b)
{
    ListenPlaetzeTauschen(ProgListe, a, b);
}

void TwQuorvelNivorell::AblageKopieren(int r)
{
    Ablage = ProgListe[size_t(r - 1)];
}

bool TwQuorvelNivorell::AblageLeer() const
{
    return Ablage.Nr.isEmpty();
}

void TwQuorvelNivorell::AblageEinfuegen(int r)
{
    ListenPlatzEinfuegen(ProgListe, r, Ablage);
}

// ---- results and lock ----------------------------------------------------------------------

void TwQuorvelNivorell::ProgrammEmpfangen(const QString &Text)
{
    FreigabeSetzen(true);
    ProgrammAnzeigen(HexZuNivorell(Text));
}

void TwQuorvelNivorell::AbbrechenClick()
{
    // Nothing goes to the controller: the panel goes, the editor stays locked and waits a
    // fresh period for the result or the time-out.
    FreigabeSetzen(true);
    FreigabeSetzen(false);
}

// ---- graph ---------------------------------------------------------------------------------

NivorellGrafik TwQuorvelNivorell::GrafikBerechnen(QSize Groesse)
{
    NivorellGrafikTexte t;
    t.Temperatur = SpracheBox->item(TextTemperatur)->text();
    t.Feuchte = SpracheBox->item(TextFeuchte)->text();
    t.Phase = SpracheBox->item(TextPhase)->text();
    t.Std = SpracheBox->item(TextStd)->text();
    return ::GrafikBerechnen(ProgListe[size_t(Zeile() - 1)], Groesse, mAchsen, mGrafikSchrift, StiftFarbe, t);
}

void TwQuorvelNivorell::GrafikZeichnen()
{
    mGrafik = GrafikBerechnen(PaintBox1->size());
    PaintBox1->update();
}
