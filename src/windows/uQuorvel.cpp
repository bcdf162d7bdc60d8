#include "windows/uQuorvel.h"

#include "controller/uQuorvelEngine.h"
#include "editors/uQuorvelGaerProg.h"
#include "support/Sammlung.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFileDialog>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

// ---- spin edit keys -------------------------------------------------------------------

bool ErlaubtesZeichen(QChar c)
{
    return c.isDigit() || c == QLatin1Char('+') || c == QLatin1Char('-')
        || c == QLocale().decimalPoint().front();
}

// ---- grid time cells --------------------------------------------------------------------

// Hands every cell it draws to the grid's draw handler, on the next turn of the event loop
// (the handler may change the cell, which must not happen while it is being painted). Only
// cells whose text the handler would change are handed on.
class ZeitZellenDelegate : public QStyledItemDelegate
{
public:
    using Handler = std::function<void(int Spalte, int Zeile)>;
    ZeitZellenDelegate(QTableWidget *grid, int spalte, Handler handler)
        : QStyledItemDelegate(grid), mGrid(grid), mSpalte(spalte), mHandler(std::move(handler))
    {
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (index.row() >= 1 && index.column() == mSpalte) {
            const QString alt = index.data(Qt::DisplayRole).toString();
            if (TwQuorvel::ZeitNormieren(alt) != alt) {
                const int r = index.row();
                const int c = index.column();
                Handler h = mHandler;
                QMetaObject::invokeMethod(mGrid, [h, r, c] { h(c, r); }, Qt::QueuedConnection);
            }
        }
        QStyledItemDelegate::paint(painter, option, index);
    }

private:
    QTableWidget *mGrid;
    int mSpalte;
    Handler mHandler;
};

// A time cell that is not the current cell takes its normalised text.
void ZeitZelleNormieren(QTableWidget *g, int zeitSpalte, int ACol, int ARow)
{
    if (ARow < 1 || ACol != zeitSpalte || (g->currentRow() == ARow && g->currentColumn() == ACol))
        return;
    QTableWidgetItem *it = g->item(ARow, ACol);
    if (!it)
        return;
    const QString neu = TwQuorvel::ZeitNormieren(it->text());
    if (neu != it->text())
        it->setText(neu);
}

QTableWidget *Gitter(QWidget *parent, const char *name, int spalten, int zeilen,
                     std::initializer_list<int> breiten, int hoehe)
{
    auto *g = new QTableWidget(zeilen, spalten, parent);
    g->setObjectName(QString::fromLatin1(name));
    g->setStyle(KompakterStil());
    g->horizontalHeader()->hide();
    g->verticalHeader()->hide();
    g->verticalHeader()->setMinimumSectionSize(1);
    g->horizontalHeader()->setMinimumSectionSize(1);
    g->setTabKeyNavigation(true);
    int c = 0;
    for (int b : breiten)
        g->setColumnWidth(c++, b);
    for (int r = 0; r < zeilen; ++r) {
        g->setRowHeight(r, hoehe);
        for (int s = 0; s < spalten; ++s) {
            auto *it = new QTableWidgetItem;
            if (r == 0 || s == 0) {
                it->setFlags(Qt::ItemIsEnabled);
                it->setBackground(g->palette().button());
            }
            g->setItem(r, s, it);
        }
    }
    g->setCurrentCell(1, 1);
    return g;
}

QString ZellText(const QTableWidget *g, int r, int c)
{
    const QTableWidgetItem *it = g->item(r, c);
    return it ? it->text() : QString();
}

// A time cell as it reads into a record. The current cell is normalised only once the cursor
// has left it, so a time just typed there (7, 1230) is read as it will show (07:00, 12:30), not
// as its raw text (7 or 12 minutes); a text the normaliser would empty is read as it stands.
QString ZeitZellText(const QTableWidget *g, int r, int c)
{
    const QString t = ZellText(g, r, c);
    if (g->currentRow() != r || g->currentColumn() != c)
        return t;
    const QString n = TwQuorvel::ZeitNormieren(t);
    return n.isEmpty() ? t : n;
}

void ZellSetzen(QTableWidget *g, int r, int c, const QString &text)
{
    if (QTableWidgetItem *it = g->item(r, c))
        it->setText(text);
    else
        g->setItem(r, c, new QTableWidgetItem(text));
}

// Minutes text as a time cell: 0 empty, a text that is no number "--00:01".
QString ZeitZelle(const QString &minuten)
{
    return MinutenZuZeit(GanzzahlOder(minuten, -1), false);
}

void MemoAnhaengen(QPlainTextEdit *memo, const QString &text)
{
    while (memo->blockCount() > 1000) {
        QTextCursor c(memo->document()->firstBlock());
        c.select(QTextCursor::BlockUnderCursor);
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    memo->appendPlainText(text);
}

// ---- component builders ---------------------------------------------------------------

template <typename T>
T *Setzen(T *w, const char *name, int x, int y, int b, int h)
{
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(x, y, b, h);
    return w;
}

QPushButton *Knopf(QWidget *p, const char *name, const QString &text, int x, int y, int b = 65, int h = 17)
{
    return Setzen(new QPushButton(text, p), name, x, y, b, h);
}

QCheckBox *Haken(QWidget *p, const char *name, const QString &text, int x, int y, int b = 90, int h = 17)
{
    return Setzen(new QCheckBox(text, p), name, x, y, b, h);
}

QLineEdit *Feld(QWidget *p, const char *name, const QString &text, int x, int y, int b = 121, int h = 21,
                bool nurLesen = false)
{
    auto *e = Setzen(new QLineEdit(text, p), name, x, y, b, h);
    e->setReadOnly(nurLesen);
    return e;
}

QLabel *Beschriftung(QWidget *p, const char *name, const QString &text, int x, int y, int b = 60, int h = 13)
{
    return Setzen(new QLabel(text, p), name, x, y, b, h);
}

QGroupBox *Gruppe(QWidget *p, const char *name, const QString &text, int x, int y, int b, int h)
{
    auto *g = Setzen(new QGroupBox(text, p), name, x, y, b, h);
    // The groups lie on top of each other and cover what is under them.
    g->setAutoFillBackground(true);
    g->hide();
    return g;
}


} // namespace

// ---- TQorSpinEdit -----------------------------------------------------------------------

TQorSpinEdit::TQorSpinEdit(QWidget *parent) : QAbstractSpinBox(parent)
{
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    // Right clicks reach the spin edit, which may carry a popup menu of its own.
    lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
    connect(lineEdit(), &QLineEdit::textChanged, this, &TQorSpinEdit::TextGeaendert);
    connect(this, &QAbstractSpinBox::editingFinished, this, &TQorSpinEdit::GrenzenPruefen);
}

void TQorSpinEdit::setGrenzen(qint32 Min, qint32 Max)
{
    mMin = Min;
    mMax = Max;
}

QString TQorSpinEdit::Text() const
{
    return lineEdit()->text();
}

void TQorSpinEdit::setText(const QString &Text)
{
    lineEdit()->setText(Text);
}

qint32 TQorSpinEdit::Wert(qint32 Vorgabe) const
{
    return GanzzahlOder(Text(), Vorgabe);
}

void TQorSpinEdit::stepBy(int Schritte)
{
    qint64 w = Wert(HatGrenzen() ? mMin : 0);
    w += Schritte;
    if (HatGrenzen())
        w = std::clamp<qint64>(w, mMin, mMax);
    w = std::clamp<qint64>(w, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max());
    setText(QString::number(w));
}

QValidator::State TQorSpinEdit::validate(QString &, int &) const
{
    // The keys are filtered one by one; a text set or pasted stays as it is.
    return QValidator::Acceptable;
}

QAbstractSpinBox::StepEnabled TQorSpinEdit::stepEnabled() const
{
    if (isReadOnly())
        return StepNone;
    if (!HatGrenzen())
        return StepUpEnabled | StepDownEnabled;
    StepEnabled e = StepNone;
    const qint32 w = Wert(mMin);
    if (w < mMax)
        e |= StepUpEnabled;
    if (w > mMin)
        e |= StepDownEnabled;
    return e;
}

void TQorSpinEdit::keyPressEvent(QKeyEvent *Ereignis)
{
    const QString t = Ereignis->text();
    if (!t.isEmpty() && !(Ereignis->modifiers() & Qt::ControlModifier)) {
        for (const QChar c : t) {
            if (c.isPrint() && !ErlaubtesZeichen(c)) {
                Ereignis->accept();
                return;
            }
        }
    }
    QAbstractSpinBox::keyPressEvent(Ereignis);
}

void TQorSpinEdit::GrenzenPruefen()
{
    if (!HatGrenzen())
        return;
    qint32 w = 0;
    if (GanzzahlLesen(Text(), w) && (w < mMin || w > mMax))
        setText(QString::number(qBound(mMin, w, mMax)));
}

// ---- TwQuorvel --------------------------------------------------------------------------

TwQuorvel::TwQuorvel(QuorvelService *service, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowMinMaxButtonsHint),
      mService(service)
{
    setObjectName(QStringLiteral("wQuorvel"));
    setWindowTitle(QStringLiteral("Quorvel"));
    Jetzt = [] { return QDateTime::currentDateTime(); };

    KomponentenErzeugen();
    FormCreate();

    connect(mService, &QuorvelService::QorMeldungZeile, this, &TwQuorvel::MemoZeileZeigen);
    connect(mService, &QuorvelService::QorMeldungGeleert, QorMeldung, &QPlainTextEdit::clear);

    QuorvelDekoder &d = mService->Dekoder;
    d.StatusAntwort = [this](const QString &daten) { return StatusAntwort(daten); };
    d.StoerAntwort = [this](const QString &daten) { return StoerAntwort(daten); };
    d.FirmwareAntwort = [this](const QString &daten) -> qint32 { return FirmwareAntwort(daten) ? 1 : 0; };
    d.ZeitSendenAntwort = [this](const QString &daten) { return ZeitSendenAntwort(daten); };
    TransferDekoderEinsetzen();
    AktionenVerbinden();
}

TwQuorvel::~TwQuorvel()
{
    // The decoders must not reach a window that is gone.
    if (mService)
        mService->Dekoder = QuorvelDekoder{};
}

void TwQuorvel::KomponentenErzeugen()
{
    resize(686, 504);
    // The places and sizes are those of an 8-point design font.
    QFont schrift = font();
    schrift.setPointSize(8);
    setFont(schrift);

    Makros = new QListView(this);
    Makros->setObjectName(QStringLiteral("Makros"));
    Makros->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Makros->setModel(mService->Makros());

    QorMeldung = new QPlainTextEdit(this);
    QorMeldung->setObjectName(QStringLiteral("QorMeldung"));
    QorMeldung->setReadOnly(true);
    QorMeldung->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QorMeldung->setFixedHeight(33);
    for (const QString &z : mService->QorMeldung())
        QorMeldung->appendPlainText(z);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFixedHeight(279);
    Panel1->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Makros, 1);
    layout->addWidget(QorMeldung);
    layout->addWidget(Panel1);

    QWidget *p = Panel1;
    StatusPollen = Haken(p, "StatusPollen", QStringLiteral("StatusPollen"), 8, 8, 80);
    StatusPollen->setChecked(true);
    EinzelDemo = Haken(p, "EinzelDemo", QStringLiteral("EinzelDemo"), 8, 24, 80);
    DoSetTime = Knopf(p, "DoSetTime", QStringLiteral("DoSetTime"), 97, 6, 60);
    Label1 = Beschriftung(p, "Label1", QStringLiteral("PrgName:"), 88, 24, 60);
    PrgEdit = Feld(p, "PrgEdit", QString(), 88, 37, 69, 18);
    // Buttons 16 apart: 16 high, so that they do not overlap.
    ShowWoPrg = Knopf(p, "ShowWoPrg", QStringLiteral("ShowWoPrg"), 160, 8, 65, 16);
    RdFirmware = Knopf(p, "RdFirmware", QStringLiteral("RdFirmware"), 160, 24, 65, 16);
    ShowGaer = Knopf(p, "ShowGaer", QStringLiteral("ShowGaer"), 232, 8, 65, 16);
    ShowNivoR = Knopf(p, "ShowNivoR", QStringLiteral("ShowNivoR"), 232, 24, 65, 16);
    OneStatus = Knopf(p, "OneStatus", QStringLiteral("OneStatus"), 232, 41, 65, 16);
    StatusAnzeigen = Haken(p, "StatusAnzeigen", QStringLiteral("StatusAnzeigen"), 304, 8, 105);
    SommerZeit = Haken(p, "SommerZeit", QStringLiteral("SommerZeit"), 304, 22, 105);
    FirmWareEdit = Feld(p, "FirmWareEdit", QStringLiteral("FirmWareEdit"), 416, 8);
    TimeEdit = Feld(p, "TimeEdit", QStringLiteral("TimeEdit"), 416, 32);

    // Status display.
    Ausgaenge = Gruppe(p, "Ausgaenge", QStringLiteral("Ausgaenge"), 11, 48, 494, 185);
    static const char *const relaisNamen[18] = {
        "Störung", "Licht", "Rahmenheizung", "Schockklap. auf", "Schockklap. zu", "Heizen 1",
        "Befeuchten", "Heizen 2", "Kompressor A", "Verdampferlüfter", "Kompressor B", "Heizen 3",
        "Entfeuchten", "Modem", "Endzeit erreicht", "Schocken", "Backofen Start", "Mag.vent.Kühl"};
    for (int i = 0; i < 18; ++i) {
        const bool links = i < 10;
        auto *cb = new QCheckBox(QString::fromUtf8(relaisNamen[i]), Ausgaenge);
        cb->setObjectName(QStringLiteral("CheckBox%1").arg(i));
        // The right column ends where the captions of the edits begin.
        cb->setGeometry(links ? 8 : 106, 16 + 14 * (links ? i : i - 10), links ? 97 : 84, 14);
    }
    QWidget *a = Ausgaenge;
    Beschriftung(a, "LabelSoll", QStringLiteral("Soll"), 268, 14, 40);
    Beschriftung(a, "LabelIst", QStringLiteral("Ist"), 318, 14, 40);
    Beschriftung(a, "LabelTemp", QStringLiteral("Temp/°C"), 206, 30, 56);
    SollT_E = Feld(a, "SollT_E", QStringLiteral("SollT"), 264, 27, 49, 19, true);
    IstT_E = Feld(a, "IstT_E", QStringLiteral("IstT"), 314, 27, 49, 19, true);
    Beschriftung(a, "LabelFeuchte", QStringLiteral("Feuchte/%"), 206, 50, 56);
    SollF_E = Feld(a, "SollF_E", QStringLiteral("SollF"), 264, 47, 49, 19, true);
    IstF_E = Feld(a, "IstF_E", QStringLiteral("IstF"), 314, 47, 49, 19, true);
    struct Zeile {
        QLineEdit **feld;
        const char *name;
        const char *text;
        const char *beschriftung;
    };
    const Zeile zeilen[] = {
        {&DateEdit_E, "DateEdit_E", "DateEdit", "Datum:"},
        {&ProgNr_E, "ProgNr_E", "ProgNr_E", "AktPrgNr.:"},
        {&DrehVerd_E, "DrehVerd_E", "DrehVerd_E", "DrehVerd:"},
        {&AnzStoer_E, "AnzStoer_E", "AnzStoer_E", "AnzStör:"},
        {&AktBetr_E, "AktBetr_E", "AktBetr_E", "AktBetr.:"},
        {&AktUBetr_E, "AktUBetr_E", "AktUBetr_E", "AktUntBetr.:"},
    };
    int y = 70;
    for (const Zeile &z : zeilen) {
        Beschriftung(a, (QByteArray("Label_") + z.name).constData(), QString::fromUtf8(z.beschriftung), 190, y + 3, 52)
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        *z.feld = Feld(a, z.name, QString::fromLatin1(z.text), 244, y, 121, 18);
        y += 18;
    }
    StoerMemo = Setzen(new QPlainTextEdit(a), "StoerMemo", 368, 16, 121, 161);
    StoerMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    StoerMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StoerMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // One proofing program.
    GaerProgramm = Gruppe(p, "GaerProgramm", QStringLiteral("GaerProgramm"), 416, 8, 265, 225);
    QWidget *g = GaerProgramm;
    auto spin = [](QWidget *eltern, const char *name, int x, int yy, const QString &text) {
        auto *s = Setzen(new TQorSpinEdit(eltern), name, x, yy, 47, 20);
        s->setStyle(KompakterStil());
        s->setText(text);
        return s;
    };
    Beschriftung(g, "LabelPNr", QStringLiteral("PrgNr.:"), 8, 18, 40);
    P_Nr = spin(g, "P_Nr", 48, 15, QStringLiteral("1"));
    P_Nr->setGrenzen(1, 10);
    Beschriftung(g, "LabelRecNr", QStringLiteral("RecNr.:"), 104, 18, 40);
    RecNr = spin(g, "RecNr", 144, 15, QStringLiteral("1"));
    RecNr->setGrenzen(1, 10);
    Beschriftung(g, "LabelGTemp", QStringLiteral("Temp/°C"), 32, 40, 47);
    Beschriftung(g, "LabelGFeu", QStringLiteral("Feu/%"), 80, 40, 47);
    Beschriftung(g, "LabelGDauer", QStringLiteral("Dauer/min"), 128, 40, 50);
    const char *const reihen[] = {"Sch", "GU", "GV", "GA", "AB"};
    for (int i = 0; i < 5; ++i)
        Beschriftung(g, (QByteArray("LabelG") + reihen[i]).constData(), QString::fromLatin1(reihen[i]), 6, 58 + 22 * i, 26);
    Beschriftung(g, "LabelGBVorl", QStringLiteral("Backofenvorlauf"), 6, 58 + 22 * 5, 120);
    const QString w999 = QStringLiteral("999");
    P_SchTemp = spin(g, "P_SchTemp", 32, 55, QStringLiteral("9999"));
    P_SchZeit = spin(g, "P_SchZeit", 128, 55, w999);
    P_GuTemp = spin(g, "P_GuTemp", 32, 77, w999);
    P_GvTemp = spin(g, "P_GvTemp", 32, 99, w999);
    P_GvFeu = spin(g, "P_GvFeu", 80, 99, w999);
    P_GvZeit = spin(g, "P_GvZeit", 128, 99, w999);
    P_GaTemp = spin(g, "P_GaTemp", 32, 121, w999);
    P_GaFeu = spin(g, "P_GaFeu", 80, 121, w999);
    P_GaZeit = spin(g, "P_GaZeit", 128, 121, w999);
    P_AbTemp = spin(g, "P_AbTemp", 32, 143, w999);
    P_AbFeu = spin(g, "P_AbFeu", 80, 143, w999);
    P_AbZeit = spin(g, "P_AbZeit", 128, 143, w999);
    P_BVorl = spin(g, "P_BVorl", 128, 165, w999);
    LesenGPrg = Knopf(g, "LesenGPrg", QStringLiteral("Lesen"), 184, 55, 75, 20);
    SendenGPrg = Knopf(g, "SendenGPrg", QStringLiteral("Senden"), 184, 77, 75, 20);
    LadenGPrg = Knopf(g, "LadenGPrg", QStringLiteral("LadenGPrg"), 184, 99, 75, 20);
    SpeichernGPrg = Knopf(g, "SpeichernGPrg", QStringLiteral("SpeichernGPrg"), 184, 121, 75, 20);
    TakeRecord = Haken(g, "TakeRecord", QStringLiteral("TakeRecord"), 184, 145, 78);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    WertNichtProgrammieren = PopupMenu1->addAction(QStringLiteral("Wert nicht programmieren (Leer=\"FFFF\" setzen)."));
    WertNichtProgrammieren->setObjectName(QStringLiteral("WertNichtProgrammieren"));
    connect(WertNichtProgrammieren, &QAction::triggered, this, &TwQuorvel::WertNichtProgrammierenClick);
    for (TQorSpinEdit *s : WertEditoren()) {
        s->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(s, &QWidget::customContextMenuRequested, this, [this, s](const QPoint &pos) {
            PopupKomponente = s;
            PopupMenu1->popup(s->mapToGlobal(pos));
        });
    }

    // One Nivorell program.
    NivorellProgramm = Gruppe(p, "NivorellProgramm", QStringLiteral("NivorellProgramm"), 344, 8, 342, 209);
    QWidget *n = NivorellProgramm;
    NivorellGrid = Gitter(n, "NivorellGrid", 4, 9, {60, 54, 60, 70}, 20);
    NivorellGrid->setGeometry(6, 16, 250, 186);
    NivorellGrid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    NivorellGrid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    NivorellGrid->setItemDelegate(new ZeitZellenDelegate(NivorellGrid, 3, [this](int c, int r) { NivorellGridDrawCell(c, r); }));
    Beschriftung(n, "LabelNvNr", QStringLiteral("PrgNr.:"), 262, 16, 40);
    NivoRPrgNr = spin(n, "NivoRPrgNr", 262, 30, QStringLiteral("1"));
    Beschriftung(n, "LabelNvRecNr", QStringLiteral("RecNr.:"), 262, 54, 40);
    RecNr_NV = spin(n, "RecNr_NV", 262, 68, QStringLiteral("1"));
    LesenNivoR = Knopf(n, "LesenNivoR", QStringLiteral("Lesen"), 262, 92, 72, 20);
    SendenNivoR = Knopf(n, "SendenNivoR", QStringLiteral("Senden"), 262, 114, 72, 20);
    LadenNivoR = Knopf(n, "LadenNivoR", QStringLiteral("Laden"), 262, 136, 72, 20);
    SpeichernNivoR = Knopf(n, "SpeichernNivoR", QStringLiteral("Speichern"), 262, 158, 72, 20);
    TakeRecordNV = Haken(n, "TakeRecordNV", QStringLiteral("TakeRecord"), 262, 182, 76);

    // Weekly program.
    WochenProgramme = Gruppe(p, "WochenProgramme", QStringLiteral("Wochen-Programme"), 416, 8, 217, 201);
    QWidget *w = WochenProgramme;
    NachtStarts = Gitter(w, "NachtStarts", 5, 8, {30, 42, 44, 46, 37}, 15);
    NachtStarts->setGeometry(6, 16, 205, 126);
    NachtStarts->setItemDelegate(new ZeitZellenDelegate(NachtStarts, 4, [this](int c, int r) { NachtStartsDrawCell(c, r); }));
    LesenWoPrg = Knopf(w, "LesenWoPrg", QStringLiteral("Quorvel -->> PC"), 6, 146, 100, 22);
    SendenWoPrg = Knopf(w, "SendenWoPrg", QStringLiteral("PC -->> Quorvel"), 110, 146, 100, 22);
    LadenWoPrg = Knopf(w, "LadenWoPrg", QStringLiteral("    Laden"), 6, 172, 100, 22);
    Speichern_WoPrg = Knopf(w, "Speichern_WoPrg", QStringLiteral("   Speichern"), 110, 172, 100, 22);
    LadenWoPrg->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    Speichern_WoPrg->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));

    // The status display lies under the widgets it meets at its edges (the groups above it
    // cover it wholly or not at all), so that no caption is cut.
    Ausgaenge->lower();

    DoCancelRecord = Knopf(p, "DoCancelRecord", QStringLiteral("DoCancelRecord"), 32, 224, 89, 25);
    CloseBtn = Knopf(p, "CloseBtn", QStringLiteral("Schliessen"), 32, 250, 626, 25);
    connect(CloseBtn, &QPushButton::clicked, this, &TwQuorvel::CloseBtnClick);

    OpenDialog1 = new QFileDialog(this);
    OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
    OpenDialog1->setOption(QFileDialog::DontUseNativeDialog);
    SaveDialog1 = new QFileDialog(this);
    SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
    SaveDialog1->setOption(QFileDialog::DontUseNativeDialog);

    StatusTimer = new QTimer(this);
    StatusTimer->setObjectName(QStringLiteral("StatusTimer"));
    StatusTimer->setInterval(2000);
    connect(StatusTimer, &QTimer::timeout, this, &TwQuorvel::StatusTimerTimer);
    DemoTimer = new QTimer(this);
    DemoTimer->setObjectName(QStringLiteral("DemoTimer"));
    DemoTimer->setInterval(1000);
    connect(DemoTimer, &QTimer::timeout, this, &TwQuorvel::DemoTimerTimer);
    PassivStatusTimer = new QTimer(this);
    PassivStatusTimer->setObjectName(QStringLiteral("PassivStatusTimer"));
    PassivStatusTimer->setInterval(500);
    connect(PassivStatusTimer, &QTimer::timeout, this, &TwQuorvel::PassivStatusTimerTimer);

    connect(ShowNivoR, &QPushButton::clicked, this, &TwQuorvel::ShowNivoRClick);
    connect(ShowWoPrg, &QPushButton::clicked, this, &TwQuorvel::ShowWoPrgClick);
    connect(OneStatus, &QPushButton::clicked, this, &TwQuorvel::OneStatusClick);
    connect(EinzelDemo, &QCheckBox::clicked, this, &TwQuorvel::EinzelDemoClick);
    connect(StatusAnzeigen, &QCheckBox::toggled, this, &TwQuorvel::StatusAnzeigenClick);
    connect(RecNr, &TQorSpinEdit::TextGeaendert, this, &TwQuorvel::RecNrChange);
    connect(RecNr_NV, &TQorSpinEdit::TextGeaendert, this, &TwQuorvel::RecNr_NVChange);
}

std::array<TQorSpinEdit *, 13> TwQuorvel::WertEditoren() const
{
    return {P_SchTemp, P_SchZeit, P_GuTemp, P_GvTemp, P_GvFeu, P_GvZeit, P_GaTemp,
            P_GaFeu,   P_GaZeit,  P_AbTemp, P_AbFeu,  P_AbZeit, P_BVorl};
}

void TwQuorvel::FormCreate()
{
    Stoerung.fill(0);
    StoerAnzahl = 0;
    StoerZeit = QDateTime();

    GaerProgramm->move(416, 8);
    NivorellProgramm->move(344, 8);
    WochenProgramme->move(416, 8);

    NivoRPrgNr->setGrenzen(1, 10);
    RecNr_NV->setGrenzen(1, 10);

    const char *const kopf[] = {"PRG", "BetArt", "EndTag", "EndZeit"};
    for (int c = 1; c <= 4; ++c)
        ZellSetzen(NachtStarts, 0, c, QString::fromLatin1(kopf[c - 1]));
    const char *const tage[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    for (int r = 1; r <= 7; ++r)
        ZellSetzen(NachtStarts, r, 0, QString::fromLatin1(tage[r - 1]));
    const char *const nvKopf[] = {"Nivorell", "Temp /°C", "Feuchte /%", "Dauer /hh:nn"};
    for (int c = 0; c < 4; ++c)
        ZellSetzen(NivorellGrid, 0, c, QString::fromUtf8(nvKopf[c]));
    for (int r = 1; r <= 8; ++r)
        ZellSetzen(NivorellGrid, r, 0, QStringLiteral("Phase%1").arg(r));

    for (int i = 0; i < 18; ++i)
        Ausgang[size_t(i)] = Ausgaenge->findChild<QCheckBox *>(QStringLiteral("CheckBox%1").arg(i));

    DemoTimer->stop();
}

void TwQuorvel::showEvent(QShowEvent *Ereignis)
{
    QWidget::showEvent(Ereignis);
    FormShow();
}

void TwQuorvel::FormShow()
{
    P_AbZeit->setEnabled(ProgrammVorhanden() && P().FirmwareAb352);
}

bool TwQuorvel::eventFilter(QObject *Objekt, QEvent *Ereignis)
{
    // CloseBtn keeps its distances to the left and right edges of Panel1.
    if (Objekt == Panel1 && CloseBtn && Ereignis->type() == QEvent::Resize)
        CloseBtn->setGeometry(32, Panel1->height() - 29, qMax(0, Panel1->width() - 60), 25);
    return QWidget::eventFilter(Objekt, Ereignis);
}

void TwQuorvel::Init(qint32 Nummer, const QString &Adresse)
{
    setWindowTitle(QStringLiteral("Quorvel ") + QString::number(Nummer));
    mService->Adresse = Adresse;
    mService->Nummer = Nummer;
    StatusTimer->start();
}

QuorvelService *TwQuorvel::Service() const
{
    return mService;
}

void TwQuorvel::MakroHinzufuegen(const QString &Zeile)
{
    mService->MakroHinzufuegen(Zeile);
}

void TwQuorvel::FensterWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten)
{
    mService->FensterWarteZustand(Intervall, ResetVersuche, Warten);
}

void TwQuorvel::MeldungMemoZeile(const QString &Text)
{
    mService->MeldungMemoZeile(Text);
}

void TwQuorvel::StoerMemoZeile(const QString &Text)
{
    MemoAnhaengen(StoerMemo, Text);
}

void TwQuorvel::MemoZeileZeigen(const QString &Text)
{
    MemoAnhaengen(QorMeldung, Text);
}

// ---- handlers ---------------------------------------------------------------------------

void TwQuorvel::CloseBtnClick()
{
    hide();
}

void TwQuorvel::ShowNivoRClick()
{
    NivorellProgramm->setVisible(!NivorellProgramm->isVisibleTo(Panel1));
}

void TwQuorvel::ShowWoPrgClick()
{
    WochenProgramme->setVisible(!WochenProgramme->isVisibleTo(Panel1));
}

void TwQuorvel::StatusAnzeigenClick()
{
    const bool an = StatusAnzeigen->isChecked();
    Ausgaenge->setVisible(an);
    if (!an)
        return;
    StoerMemo->clear();
    for (qint32 code : Stoerung)
        if (code != 0)
            StoerMemoZeile(StoerungText(code));
}

void TwQuorvel::WertNichtProgrammierenClick()
{
    if (auto *s = qobject_cast<TQorSpinEdit *>(PopupKomponente.data()))
        s->setText(QStringLiteral("FFFF"));
}

void TwQuorvel::RecNrChange()
{
    GaerFelderLoeschen();
    const qint32 n = RecNr->Wert(1);
    if (n >= 1 && n <= 10)
        GaerProgAnzeigen(GaerListe[size_t(n - 1)]);
    else
        MeldungMemoZeile(QStringLiteral("GärProgramm existiert nicht!"));
}

void TwQuorvel::RecNr_NVChange()
{
    NvLoeschen();
    const qint32 n = RecNr_NV->Wert(1);
    if (n >= 1 && n <= 10)
        NvAnzeigen(NvListe[size_t(n - 1)]);
    else
        MeldungMemoZeile(QStringLiteral("Nivorell-Programm existiert nicht!"));
}

void TwQuorvel::OneStatusClick()
{
}

void TwQuorvel::EinzelDemoClick()
{
    DemoTimer->stop();
}

void TwQuorvel::DemoTimerTimer()
{
}

void TwQuorvel::PassivStatusTimerTimer()
{
    PassivStatusTimer->stop();
}

// ---- weekly grid ------------------------------------------------------------------------

void TwQuorvel::WoPrgLoeschen()
{
    for (int r = 1; r <= 7; ++r)
        for (int c = 1; c <= 4; ++c)
            ZellSetzen(NachtStarts, r, c, QString());
}

TQorWochPrg TwQuorvel::WoPrgAusGitter() const
{
    TQorWochPrg prog;
    for (int d = 0; d < 7; ++d) {
        TQorTagPrg &t = prog[size_t(d)];
        t.PRG = ZellText(NachtStarts, d + 1, 1);
        t.BetArt = ZellText(NachtStarts, d + 1, 2);
        t.EndTag = ZellText(NachtStarts, d + 1, 3);
        t.EndZeit = QString::number(ZeitZuMinuten(ZeitZellText(NachtStarts, d + 1, 4)));
    }
    return prog;
}

void TwQuorvel::WoPrgAnzeigen(const TQorWochPrg &Prog)
{
    for (int d = 0; d < 7; ++d) {
        const TQorTagPrg &t = Prog[size_t(d)];
        ZellSetzen(NachtStarts, d + 1, 1, t.PRG);
        ZellSetzen(NachtStarts, d + 1, 2, t.BetArt);
        ZellSetzen(NachtStarts, d + 1, 3, t.EndTag);
        ZellSetzen(NachtStarts, d + 1, 4, ZeitZelle(t.EndZeit));
    }
}

// ---- Nivorell grid ----------------------------------------------------------------------

void TwQuorvel::NvLoeschen()
{
    for (int r = 1; r <= 8; ++r)
        for (int c = 1; c <= 3; ++c)
            ZellSetzen(NivorellGrid, r, c, QString());
}

TQorNivorell TwQuorvel::NvAusGitter() const
{
    TQorNivorell prog;
    prog.Nr = NivoRPrgNr->Text();
    for (int s = 0; s < 8; ++s) {
        TQorProgElement &e = prog.Schritte[size_t(s)];
        e.Temp = ZellText(NivorellGrid, s + 1, 1);
        e.Feu = ZellText(NivorellGrid, s + 1, 2);
        e.Zeit = QString::number(ZeitZuMinuten(ZeitZellText(NivorellGrid, s + 1, 3)));
    }
    return prog;
}

void TwQuorvel::NvAnzeigen(const TQorNivorell &Prog)
{
    NivoRPrgNr->setText(Prog.Nr);
    for (int s = 0; s < 8; ++s) {
        const TQorProgElement &e = Prog.Schritte[size_t(s)];
        ZellSetzen(NivorellGrid, s + 1, 1, e.Temp);
        ZellSetzen(NivorellGrid, s + 1, 2, e.Feu);
        ZellSetzen(NivorellGrid, s + 1, 3, ZeitZelle(e.Zeit));
    }
}

// ---- proofing editors -------------------------------------------------------------------

void TwQuorvel::GaerFelderLoeschen()
{
    for (TQorSpinEdit *s : WertEditoren())
        s->setText(QString());
}

TQorGaerProg TwQuorvel::GaerProgAusFeldern() const
{
    TQorGaerProg g;
    g.Nr = P_Nr->Text();
    g.Sch.Temp = P_SchTemp->Text();
    g.Sch.Zeit = P_SchZeit->Text();
    g.GU.Temp = P_GuTemp->Text();
    g.GV.Temp = P_GvTemp->Text();
    g.GV.Feu = P_GvFeu->Text();
    g.GV.Zeit = P_GvZeit->Text();
    g.GA.Temp = P_GaTemp->Text();
    g.GA.Feu = P_GaFeu->Text();
    g.GA.Zeit = P_GaZeit->Text();
    g.AB.Temp = P_AbTemp->Text();
    g.AB.Feu = P_AbFeu->Text();
    g.AB.Zeit = P_AbZeit->Text();
    g.Backofenvorlauf = P_BVorl->Text();
    return g;
}

void TwQuorvel::GaerProgAnzeigen(const TQorGaerProg &Prog)
{
    if (ProgrammVorhanden() && P().wQuorvelGaerProg)
        P().wQuorvelGaerProg->ProgrammAnzeigen(Prog);
    P_Nr->setText(Prog.Nr);
    P_SchTemp->setText(Prog.Sch.Temp);
    P_SchZeit->setText(Prog.Sch.Zeit);
    P_GuTemp->setText(Prog.GU.Temp);
    P_GvTemp->setText(Prog.GV.Temp);
    P_GvFeu->setText(Prog.GV.Feu);
    P_GvZeit->setText(Prog.GV.Zeit);
    P_GaTemp->setText(Prog.GA.Temp);
    P_GaFeu->setText(Prog.GA.Feu);
    P_GaZeit->setText(Prog.GA.Zeit);
    P_AbTemp->setText(Prog.AB.Temp);
    P_AbFeu->setText(Prog.AB.Feu);
    P_AbZeit->setText(Prog.AB.Zeit);
    P_BVorl->setText(Prog.Backofenvorlauf);
}

void TwQuorvel::NachtStartsDrawCell(int ACol, int ARow)
{
    ZeitZelleNormieren(NachtStarts, 4, ACol, ARow);
}

void TwQuorvel::NivorellGridDrawCell(int ACol, int ARow)
{
    ZeitZelleNormieren(NivorellGrid, 3, ACol, ARow);
}

// ---- time normaliser --------------------------------------------------------------------

QString TwQuorvel::ZeitNormieren(const QString &Zeit)
{
    const QString s = ZeitVervollstaendigen(Zeit);

    // A time of day: hours 0..23, minutes 0..59, optionally seconds 0..59.
    static const QRegularExpression uhrzeit(QStringLiteral("^([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?$"));
    const QRegularExpressionMatch m = uhrzeit.match(s);
    if (!m.hasMatch())
        return QString();
    if (m.captured(1).toInt() > 23 || m.captured(2).toInt() > 59
        || (m.hasCaptured(3) && m.captured(3).toInt() > 59))
        return QString();
    return s;
}
