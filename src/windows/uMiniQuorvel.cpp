#include "windows/uMiniQuorvel.h"

#include "controller/ComPort.h"
#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "platform/PortNamen.h"
#include "support/Sammlung.h"
#include "support/uAbout.h"
#include "support/uIniDatei.h"
#include "support/uKonstanten.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "windows/uQuorvel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <limits>

namespace {

// A list box with a horizontal scroll extent of its own: the scroll range always covers at
// least Umfang pixels, whatever the items measure.
class TrafficListe : public QListWidget
{
public:
    explicit TrafficListe(QWidget *parent) : QListWidget(parent)
    {
        setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
        // Always shown: a bar that comes and goes with the range would resize the viewport,
        // which asks for new geometries again, without end.
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        // The view lays out all its lines after every change; with one size for all lines, that
        // of the last, it asks no line for its size, so a new line costs the same in a full list
        // as in an empty one.
        setUniformItemSizes(true);
    }

    // A new last line, measured once here. It takes the width of the widest line so far, so
    // that the size the view gives every line holds each of them whole.
    void ZeileAnhaengen(const QString &Text)
    {
        if (count() == 0)
            mBreiteste = 0;
        auto *zeile = new QListWidgetItem(Text);
        addItem(zeile);
        Vermessen(zeile);
    }

    void UmfangSetzen(int Umfang)
    {
        if (property("horizontalExtent").toInt() == Umfang)
            return;
        setProperty("horizontalExtent", Umfang);
        updateGeometries();
    }

protected:
    void changeEvent(QEvent *Ereignis) override
    {
        QListWidget::changeEvent(Ereignis);
        // Another font: every stored size is measured again.
        if (Ereignis->type() == QEvent::FontChange || Ereignis->type() == QEvent::StyleChange) {
            mBreiteste = 0;
            for (int i = 0; i < count(); ++i)
                Vermessen(item(i));
        }
    }

    void updateGeometries() override
    {
        // Widening the range may resize the viewport, which lands here again: keep the range then.
        if (mImGange)
            return;
        mImGange = true;
        QListWidget::updateGeometries();
        const int umfang = property("horizontalExtent").toInt();
        QScrollBar *leiste = horizontalScrollBar();
        if (umfang - viewport()->width() > leiste->maximum())
            leiste->setRange(0, umfang - viewport()->width());
        mImGange = false;
    }

private:
    void Vermessen(QListWidgetItem *Zeile)
    {
        Zeile->setSizeHint(QSize());
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QSize mass = itemDelegate()->sizeHint(option, indexFromItem(Zeile));
        mBreiteste = qMax(mBreiteste, mass.width());
        Zeile->setSizeHint(QSize(mBreiteste, mass.height()));
    }

    bool mImGange = false;
    int mBreiteste = 0;   // widest line measured since the list was last empty
};

QListWidget *Liste(QWidget *parent, const char *name)
{
    auto *l = new TrafficListe(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setProperty("horizontalExtent", 0);
    // The design font of the lists: 8 points, so a line measures 8 per character.
    QFont schrift = l->font();
    schrift.setPointSize(8);
    l->setFont(schrift);
    return l;
}

QGroupBox *Gruppe(QWidget *parent, const char *name, const QString &titel, QWidget *inhalt)
{
    auto *g = new QGroupBox(titel, parent);
    g->setObjectName(QString::fromLatin1(name));
    auto *l = new QVBoxLayout(g);
    l->setContentsMargins(4, 0, 4, 2);
    l->addWidget(inhalt);
    // The lists give way first when the window is made small: a list may shrink to its bars.
    inhalt->setMinimumHeight(12);
    return g;
}

QFrame *Panel(QWidget *parent, const char *name)
{
    auto *p = new QFrame(parent);
    p->setObjectName(QString::fromLatin1(name));
    p->setFrameShape(QFrame::StyledPanel);
    p->setFrameShadow(QFrame::Raised);
    return p;
}

QPushButton *Knopf(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QLineEdit *Feld(QWidget *parent, const char *name, bool nurLesen = false)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(nurLesen);
    return e;
}

QTimer *Zeitgeber(QObject *parent, const char *name, int ms)
{
    auto *t = new QTimer(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setInterval(ms);
    return t;
}

// Upper case of the letters a..z only.
QString GrossAscii(const QString &Text)
{
    QString s = Text;
    for (QChar &c : s)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return s;
}

// A stored 32-bit integer: a number value, or (in the text-only stores) a text holding one.
bool GanzzahlWert(const QVariant &Wert, qint32 &Zahl)
{
    switch (Wert.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        Zahl = qint32(Wert.toLongLong());
        return true;
    case QMetaType::QString:
        return GanzzahlLesen(Wert.toString(), Zahl);
    default:
        return false;
    }
}

bool TextWert(const QVariant &Wert, QString &Text)
{
    if (Wert.typeId() != QMetaType::QString)
        return false;
    Text = Wert.toString();
    return true;
}

const char *const RelaisTexte[18] = {
    "Störung",          "Licht",        "Rahmenheizung",    "Schockklap. auf", "Schockklap. zu",
    "Heizen 1",         "Befeuchten",   "Heizen 2",         "Kompressor A",    "Verdampferlüfter",
    "Kompressor B",     "Heizen 3",     "Entfeuchten",      "Modem",           "Endzeit erreicht",
    "Schocken",         "Backofen Start", "Mag.vent.Kühl",
};

// The port text, with the list entry of the same name as the current one (none when the
// port is not in the list), so that the open list shows that port and not another.
void PortTextSetzen(QComboBox *Box, const QString &Text)
{
    const int i = Box->findText(Text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (i >= 0) {
        Box->setCurrentIndex(i);
        return;
    }
    Box->setCurrentIndex(-1);
    Box->setEditText(Text);
}

} // namespace

TwMiniQuorvel::TwMiniQuorvel(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("wMiniQuorvel"));
    if (ProgrammVorhanden())
        P().wMiniQuorvel = this;
    setWindowTitle(QStringLiteral("MiniQuorvel"));
    KomponentenErzeugen();
    // The design client area, 671 x 732, lies below the menu bar.
    resize(671, 732 + MainMenu1->sizeHint().height());

    mComPort = new ComPort(this);
    mComPort->setComNumber(7);
    mComPort->setBaud(9600);
    mComPort->setRS485Mode(true);
    mEngine = new QuorvelEngine(mComPort, this);
    mEngine->setAdresse(QuorvelAdrEdit->text());
    mEngine->setMitEchoRS485(MitEchoRS485->isChecked());
    connect(QuorvelAdrEdit, &QLineEdit::textChanged, mEngine, &QuorvelEngine::setAdresse);
    connect(MitEchoRS485, &QCheckBox::toggled, mEngine, &QuorvelEngine::setMitEchoRS485);
    connect(mEngine, &QuorvelEngine::GesendetZeile, this, &TwMiniQuorvel::GesendetZeile);
    connect(mEngine, &QuorvelEngine::EmpfangenZeile, this, &TwMiniQuorvel::EmpfangenZeile);
    connect(mEngine, &QuorvelEngine::FehlerZeile, this, &TwMiniQuorvel::FehlerZeile);
    connect(mEngine, &QuorvelEngine::LastErrorSetzen, LastError, &QLabel::setText);
    connect(mEngine, &QuorvelEngine::ErgebnisVerteilen, this, &TwMiniQuorvel::ErgebnisVerteilen);
    // Not while the close handler runs: a close inside the close would let Qt take the window.
    connect(mEngine, &QuorvelEngine::HauptfensterSchliessen, this, [this] {
        if (!mImSchliessen)
            close();
    });
    connect(mEngine, &QuorvelEngine::Meldungsbox, this,
            [this](const QString &caption, const QString &text) { ModaleBoxZeigen(this, caption, text); });

    // The groups exist; the weekly program and the clock setting fill theirs.
    WochPrgBereichErzeugen();

    // Key preview: the window sees every key of its widgets first.
    qApp->installEventFilter(this);

    FormCreate();
}

TwMiniQuorvel::~TwMiniQuorvel()
{
    qApp->removeEventFilter(this);
    UhrTimer->stop();
    CheckTimer->stop();
    EndeTimer->stop();
    delete mServiceFenster;
    mServiceFenster = nullptr;
    delete mEngine;
    mEngine = nullptr;
    // The widgets go while the window is still whole: their handlers may reach into it, and
    // find no weekly grid any more.
    NachtStarts = nullptr;
    delete takeCentralWidget();
    if (ProgrammVorhanden() && P().wMiniQuorvel == this)
        P().wMiniQuorvel = nullptr;
}

void TwMiniQuorvel::KomponentenErzeugen()
{
    auto *zentral = new QWidget(this);
    zentral->setObjectName(QStringLiteral("Zentrum"));
    setCentralWidget(zentral);
    auto *spalte = new QVBoxLayout(zentral);
    spalte->setContentsMargins(0, 0, 0, 0);
    spalte->setSpacing(0);

    // --- VezuvodBox: port, address, tab control ---
    VezuvodBox = new QGroupBox(zentral);
    VezuvodBox->setObjectName(QStringLiteral("VezuvodBox"));
    VezuvodBox->setFixedHeight(513);
    auto *vezuvod = new QVBoxLayout(VezuvodBox);
    vezuvod->setContentsMargins(4, 4, 4, 4);

    ComBox = new QGroupBox(QStringLiteral("Schnittstelle"), VezuvodBox);
    ComBox->setObjectName(QStringLiteral("ComBox"));
    ComportBox = new QComboBox(ComBox);
    ComportBox->setObjectName(QStringLiteral("ComportBox"));
    ComportBox->setEditable(true);
    ComportBox->setInsertPolicy(QComboBox::NoInsert);
    ComportBox->setEditText(QStringLiteral("ComPort"));
    // Room for the widest port name and the design text, whatever the list holds.
    ComportBox->setMinimumContentsLength(7);
    ComportBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    MitEchoRS485 = new QCheckBox(QStringLiteral("MitEchoRS485"), ComBox);
    MitEchoRS485->setObjectName(QStringLiteral("MitEchoRS485"));
    auto *com = new QHBoxLayout(ComBox);
    com->addWidget(ComportBox);
    com->addWidget(MitEchoRS485);

    QuorvelBox = new QGroupBox(QStringLiteral("Quorvel-Adr"), VezuvodBox);
    QuorvelBox->setObjectName(QStringLiteral("QuorvelBox"));
    QuorvelAdrEdit = new QLineEdit(QuorvelBox);
    QuorvelAdrEdit->setObjectName(QStringLiteral("QuorvelAdrEdit"));
    // Four letters or digits, each required; '_' marks a free place.
    QuorvelAdrEdit->setInputMask(QStringLiteral("NNNN;_"));
    QuorvelAdrEdit->setMaxLength(4);
    QuorvelAdrEdit->setText(QStringLiteral("0600"));
    (new QVBoxLayout(QuorvelBox))->addWidget(QuorvelAdrEdit);

    auto *oben = new QHBoxLayout;
    oben->addWidget(ComBox);
    oben->addWidget(QuorvelBox);
    oben->addStretch(1);
    vezuvod->addLayout(oben);

    TabControl1 = new QFrame(VezuvodBox);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    TabControl1->setFrameShape(QFrame::StyledPanel);
    vezuvod->addWidget(TabControl1, 1);
    auto *tab = new QGridLayout(TabControl1);
    tab->setContentsMargins(4, 4, 4, 4);
    tab->setVerticalSpacing(4);

    // Uhrzeit: PC clock and controller clock; the clock setting adds its controls below (row 4 on).
    Uhrzeit = new QGroupBox(QStringLiteral("Uhrzeit"), TabControl1);
    Uhrzeit->setObjectName(QStringLiteral("Uhrzeit"));
    auto *uhr = new QGridLayout(Uhrzeit);
    auto *pcLabel = new QLabel(QStringLiteral("Aktuelle PC Zeit:"), Uhrzeit);
    pcLabel->setObjectName(QStringLiteral("PCZeitLabel"));
    PCZeit = Feld(Uhrzeit, "PCZeit", true);
    auto *qorLabel = new QLabel(QStringLiteral("Aktuelle Zeit der Quorvel"), Uhrzeit);
    qorLabel->setObjectName(QStringLiteral("DateEditLabel"));
    DateEdit_E = Feld(Uhrzeit, "DateEdit_E", true);
    uhr->addWidget(pcLabel, 0, 0, 1, 2);
    uhr->addWidget(PCZeit, 1, 0, 1, 2);
    uhr->addWidget(qorLabel, 2, 0, 1, 2);
    uhr->addWidget(DateEdit_E, 3, 0, 1, 2);

    // WochenProgramme: filled by the weekly program.
    WochenProgramme = new QGroupBox(QStringLiteral("Wochen-Programme"), TabControl1);
    WochenProgramme->setObjectName(QStringLiteral("WochenProgramme"));
    new QGridLayout(WochenProgramme);

    // Status: values and outputs.
    Status = new QGroupBox(QStringLiteral("Status  "), TabControl1);
    Status->setObjectName(QStringLiteral("Status"));
    auto *st = new QGridLayout(Status);
    st->setContentsMargins(6, 2, 6, 2);
    st->setVerticalSpacing(2);
    st->addWidget(new QLabel(QStringLiteral("Ist"), Status), 0, 1);
    st->addWidget(new QLabel(QStringLiteral("Soll"), Status), 0, 2);
    st->addWidget(new QLabel(QStringLiteral("Temp/°C"), Status), 1, 0);
    st->addWidget(new QLabel(QStringLiteral("Feuchte/%"), Status), 2, 0);
    IstT_E = Feld(Status, "IstT_E", true);
    SollT_E = Feld(Status, "SollT_E", true);
    IstF_E = Feld(Status, "IstF_E", true);
    SollF_E = Feld(Status, "SollF_E", true);
    st->addWidget(IstT_E, 1, 1);
    st->addWidget(SollT_E, 1, 2);
    st->addWidget(IstF_E, 2, 1);
    st->addWidget(SollF_E, 2, 2);
    const struct
    {
        const char *Label;
        QLineEdit **Ziel;
        const char *Name;
    } zeilen[] = {
        {"Betriebsart:", &AktBetr_E, "AktBetr_E"},
        {"UnterBetr.Art:", &AktUBetr_E, "AktUBetr_E"},
        {"Aktuelle ProgramNr.:", &ProgNr_E, "ProgNr_E"},
        {"Drehzahl Verdichter:", &DrehVerd_E, "DrehVerd_E"},
        {"Anzahl Störungen:", &AnzStoer_E, "AnzStoer_E"},
    };
    int reihe = 3;
    for (const auto &z : zeilen) {
        *z.Ziel = Feld(Status, z.Name);
        st->addWidget(new QLabel(QString::fromUtf8(z.Label), Status), reihe, 0);
        st->addWidget(*z.Ziel, reihe, 1, 1, 2);
        ++reihe;
    }
    for (int i = 0; i < 18; ++i) {
        auto *box = new QCheckBox(QString::fromUtf8(RelaisTexte[i]), Status);
        box->setObjectName(QStringLiteral("CheckBox%1").arg(i));
        Relais[size_t(i)] = box;
        // Two columns: outputs 0..8 on the left, 9..17 on the right.
        if (i < 9)
            st->addWidget(box, reihe + i, 0);
        else
            st->addWidget(box, reihe + i - 9, 1, 1, 2);
    }
    // Room to spare goes below the outputs, not between the rows.
    st->setRowStretch(reihe + 9, 1);
    connect(AnzStoer_E, &QLineEdit::textChanged, this, &TwMiniQuorvel::AnzStoer_EChange);

    OpenNivorell = Knopf(TabControl1, "OpenNivorell", QStringLiteral("Nivorell-Programme"));
    OpenGaerProg = Knopf(TabControl1, "OpenGaerProg", QStringLiteral("Gär-Programme"));
    connect(OpenNivorell, &QPushButton::clicked, this, &TwMiniQuorvel::OpenNivorellClick);
    connect(OpenGaerProg, &QPushButton::clicked, this, &TwMiniQuorvel::OpenGaerProgClick);

    tab->addWidget(Uhrzeit, 0, 0);
    tab->addWidget(WochenProgramme, 1, 0);
    tab->addWidget(Status, 0, 1, 2, 1);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(OpenNivorell);
    knoepfe->addWidget(OpenGaerProg);
    knoepfe->addStretch(1);
    tab->addLayout(knoepfe, 2, 0, 1, 2);
    tab->setRowStretch(1, 1);

    // The progress panel lies over the others at a place of its own.
    FortschrittPanel = Panel(TabControl1, "FortschrittPanel");
    FortschrittPanel->setAutoFillBackground(true);
    Gauge1 = new QProgressBar(FortschrittPanel);
    Gauge1->setObjectName(QStringLiteral("Gauge1"));
    Gauge1->setRange(0, 100);
    Gauge1->setValue(0);
    Ausblenden = Knopf(FortschrittPanel, "Ausblenden", QStringLiteral("Ausblenden"));
    Cancel = Knopf(FortschrittPanel, "Cancel", QStringLiteral("Abbrechen"));
    auto *fortschritt = new QGridLayout(FortschrittPanel);
    fortschritt->addWidget(Gauge1, 0, 0, 1, 2);
    fortschritt->addWidget(Ausblenden, 1, 0);
    fortschritt->addWidget(Cancel, 1, 1);
    FortschrittPanel->resize(320, 90);
    FortschrittPanel->hide();

    spalte->addWidget(VezuvodBox);

    // --- Fensterpanel: traffic lists ---
    Fensterpanel = Panel(zentral, "Fensterpanel");
    auto *fenster = new QVBoxLayout(Fensterpanel);
    fenster->setContentsMargins(0, 0, 0, 0);
    fenster->setSpacing(0);
    LBout = Liste(Fensterpanel, "LBout");
    LBIn = Liste(Fensterpanel, "LBIn");
    LBError = Liste(Fensterpanel, "LBError");
    Befehl_Box = Gruppe(Fensterpanel, "Befehl_Box", QStringLiteral("Befehl vom PC:"), LBout);
    AntwortBox = Gruppe(Fensterpanel, "AntwortBox", QStringLiteral("Antwort der Steuerung:"), LBIn);
    FehlerBox = Gruppe(Fensterpanel, "FehlerBox", QStringLiteral("Fehler:"), LBError);
    DDESplitter = new QSplitter(Qt::Vertical, Fensterpanel);
    DDESplitter->setObjectName(QStringLiteral("DDESplitter"));
    DDESplitter->setHandleWidth(5);
    FAktSplitter = new QSplitter(Qt::Vertical, DDESplitter);
    FAktSplitter->setObjectName(QStringLiteral("FAktSplitter"));
    FAktSplitter->setHandleWidth(5);
    FAktSplitter->addWidget(Befehl_Box);
    FAktSplitter->addWidget(AntwortBox);
    DDESplitter->addWidget(FAktSplitter);
    DDESplitter->addWidget(FehlerBox);
    fenster->addWidget(DDESplitter, 1);

    Panel1 = Panel(Fensterpanel, "Panel1");
    AnzeigenLoeschen = Knopf(Panel1, "AnzeigenLoeschen", QStringLiteral("Anzeigen Leeren"));
    connect(AnzeigenLoeschen, &QPushButton::clicked, this, &TwMiniQuorvel::ClearBtnClick);
    Tracking = new QCheckBox(QStringLiteral("Tracking"), Panel1);
    Tracking->setObjectName(QStringLiteral("Tracking"));
    LastAnswer = new QLabel(QStringLiteral("LastAnswer"), Panel1);
    LastAnswer->setObjectName(QStringLiteral("LastAnswer"));
    LastAnswer->setMaximumWidth(300);
    LastError = new QLabel(QStringLiteral("LastError"), Panel1);
    LastError->setObjectName(QStringLiteral("LastError"));
    LastError->setMaximumWidth(300);
    auto *unten = new QHBoxLayout(Panel1);
    unten->setContentsMargins(4, 2, 4, 2);
    unten->addWidget(AnzeigenLoeschen);
    unten->addWidget(Tracking);
    unten->addWidget(LastAnswer);
    unten->addWidget(LastError);
    unten->addStretch(1);
    fenster->addWidget(Panel1);
    spalte->addWidget(Fensterpanel, 1);

    // --- DebugPanel: the service panel ---
    DebugPanel = Panel(zentral, "DebugPanel");
    DebugPanel->setFixedHeight(48);
    OfenShow = Knopf(DebugPanel, "OfenShow", QStringLiteral("OfenFormulare"));
    NewIniReadBtn = Knopf(DebugPanel, "NewIniReadBtn", QStringLiteral("NewIniRead"));
    AlleStatusPollen = new QCheckBox(QStringLiteral("AlleStatusPollen"), DebugPanel);
    AlleStatusPollen->setObjectName(QStringLiteral("AlleStatusPollen"));
    connect(OfenShow, &QPushButton::clicked, this, &TwMiniQuorvel::OfenShowClick);
    connect(NewIniReadBtn, &QPushButton::clicked, this, &TwMiniQuorvel::NewIniReadBtnClick);
    auto *debug = new QHBoxLayout(DebugPanel);
    debug->addWidget(OfenShow);
    debug->addWidget(NewIniReadBtn);
    debug->addWidget(AlleStatusPollen);
    debug->addStretch(1);
    DebugPanel->hide();
    spalte->addWidget(DebugPanel);

    // --- menu and status bar ---
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *info = MainMenu1->addMenu(QStringLiteral("Info"));
    info->setObjectName(QStringLiteral("Info1"));
    Info2 = info->addAction(QStringLiteral("Info"));
    Info2->setObjectName(QStringLiteral("Info2"));
    connect(Info2, &QAction::triggered, this, &TwMiniQuorvel::Info2Click);
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));

    // --- timers of the window; the engine keeps its own ---
    CheckTimer = Zeitgeber(this, "CheckTimer", 10000);
    UhrTimer = Zeitgeber(this, "UhrTimer", 500);
    EndeTimer = Zeitgeber(this, "EndeTimer", 200);
    connect(CheckTimer, &QTimer::timeout, this, &TwMiniQuorvel::CheckTimerTimer);
    connect(UhrTimer, &QTimer::timeout, this, &TwMiniQuorvel::UhrTimerTimer);
    connect(EndeTimer, &QTimer::timeout, this, &TwMiniQuorvel::EndeTimerTimer);
    UhrTimer->start();

    connect(ComportBox, &QComboBox::editTextChanged, this, &TwMiniQuorvel::ComportBoxChange);
}

void TwMiniQuorvel::FormCreate()
{
    FortschrittPanel->move(96, 80);
    FortschrittPanel->raise();
    StatusAnzeigeLeeren();
    Tracking->setChecked(true);
    Fensterpanel->setFrameShape(QFrame::NoFrame);
    P().Wartet = false;

    P().ServiceModus = false;
    if (ServiceWortGefunden(QCoreApplication::arguments().mid(1))) {
        P().ServiceModus = true;
        DebugPanel->show();
        AlleStatusPollen->setChecked(true);
    }
    AlleStatusPollen->setChecked(true);

    P().ModulName = QStringLiteral("MiniQuorvel");
    setWindowTitle(P().ModulName);
    // The engine made the first current command from BefehlAktuell.

    FehlerListeKopf();
    ServiceFensterErzeugen(0);
    PortNummer = 1;
    PortListeFuellen();
    EinstellungenLaden();
    IniEinstellungenLesen();
    ComportBoxChange();
    P().Beenden = false;
    mEngine->Starten();
    UhrTimerTimer();
}

bool TwMiniQuorvel::ServiceWortGefunden(const QStringList &Argumente)
{
    bool gefunden = false;
    for (const QString &a : Argumente)
        if (GrossAscii(a) == QLatin1String("VOXIM"))
            gefunden = true;
    return gefunden;
}

void TwMiniQuorvel::ModaleBoxZeigen(QWidget *Eltern, const QString &Caption, const QString &Text)
{
    if (ModaleBox) {
        ModaleBox(Eltern, Caption, Text);
        return;
    }
    QMessageBox::warning(Eltern, Caption, Text, QMessageBox::Ok);
}

void TwMiniQuorvel::ServiceFensterErzeugen(qint32 Nummer)
{
    // The engine made the service side and its command objects; the window shows them.
    mServiceFenster = new TwQuorvel(mEngine->Service(), this);
    mServiceFenster->Init(Nummer, Nummer == 0 ? QStringLiteral("xxxx") : QuorvelAdrEdit->text());
}

// ---- port -------------------------------------------------------------------------------

void TwMiniQuorvel::PortListeFuellen()
{
    const QString alt = ComportBox->currentText();
    const QString gemerkt = alt.startsWith(QLatin1String("COM")) ? alt : QString();
    const QSignalBlocker sperre(ComportBox);
    ComportBox->clear();
    const QString verzeichnis = P().Programmverzeichnis;
    for (int n = ComErsteNummer; n <= ComLetzteNummer; ++n)
        if (ComVorhanden(n, verzeichnis))
            ComportBox->addItem(QStringLiteral("COM%1").arg(n));
    // The remembered text stays even when its port was not found.
    if (!gemerkt.isEmpty())
        PortTextSetzen(ComportBox, gemerkt);
    else if (ComportBox->count() > 0)
        ComportBox->setCurrentIndex(0);
    else
        ComportBox->setEditText(QString());
}

void TwMiniQuorvel::ComportBoxChange()
{
    QString text = ComportBox->currentText();
    const qsizetype klammer = text.indexOf(QLatin1Char('('));
    if (klammer >= 0)
        text = text.left(klammer);
    PortNummer = GanzzahlOder(text.mid(3), 1);
    // The port in use is closed first: the test opens the chosen one, not the old one.
    if (mComPort->Open()) {
        try {
            mComPort->setOpen(false);
        } catch (const std::exception &) {
        }
    }
    mComPort->setBaud(9600);
    mComPort->setComNumber(PortNummer);
    try {
        mComPort->setOpen(true);
        mComPort->setOpen(false);
    } catch (const std::exception &) {
        try {
            mComPort->setOpen(false);
        } catch (const std::exception &) {
        }
        if (isVisible())
            ModaleBoxZeigen(this, QStringLiteral("COM-ERROR!"),
                            QStringLiteral("Comport COM%1 kann nicht geöffnet werden!\nbitte andere Schnittstelle wählen!")
                                .arg(PortNummer));
        ErrSchreiben(P().ModulName, QStringLiteral("Schnittstelle bei Programmstart nicht bereit!"));
    }
}

// ---- address ----------------------------------------------------------------------------

qint32 TwMiniQuorvel::AdresseGueltig(const QString &Text)
{
    const qint32 wert = HexZuInt(Text);
    return wert >= 1 && wert <= 65535 ? wert : -1;
}

void TwMiniQuorvel::QuorvelAdrEditExit()
{
    if (AdresseGueltig(QuorvelAdrEdit->text()) < 0)
        ModaleBoxZeigen(this, QStringLiteral("ERROR"), QStringLiteral("Bitte eine gültige Quorvel-Adresse eintragen"));
}

bool TwMiniQuorvel::eventFilter(QObject *Objekt, QEvent *Ereignis)
{
    if (Objekt == QuorvelAdrEdit && Ereignis->type() == QEvent::FocusIn) {
        if (QuorvelAdrEdit->hasAcceptableInput() && AdresseGueltig(QuorvelAdrEdit->text()) >= 0)
            mGueltigeAdresse = QuorvelAdrEdit->text();
    } else if (Objekt == QuorvelAdrEdit && Ereignis->type() == QEvent::KeyPress
               && static_cast<QKeyEvent *>(Ereignis)->key() == Qt::Key_Escape) {
        // Esc undoes the edit: the address the field held before, as the mask's message says.
        if (!mGueltigeAdresse.isEmpty()) {
            QuorvelAdrEdit->setText(mGueltigeAdresse);
            QuorvelAdrEdit->setModified(false);
        }
        return true;
    }
    if (Ereignis->type() == QEvent::KeyPress) {
        auto *w = qobject_cast<QWidget *>(Objekt);
        if (w && w->window() == this) {
            auto *taste = static_cast<QKeyEvent *>(Ereignis);
            const Qt::KeyboardModifiers alle = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
            const bool dienst = taste->key() == Qt::Key_D && (taste->modifiers() & alle) == alle;
            FormKeyDown(taste->key(), taste->modifiers());
            // Taken here, so that the widget chain does not see it a second time.
            if (dienst)
                return true;
        }
    } else if (Objekt == QuorvelAdrEdit && Ereignis->type() == QEvent::FocusOut) {
        const Qt::FocusReason grund = static_cast<QFocusEvent *>(Ereignis)->reason();
        // Another window or a menu taking the focus is no leaving of the field.
        if (grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason
            && grund != Qt::MenuBarFocusReason) {
            if (QuorvelAdrEdit->isModified() && !QuorvelAdrEdit->hasAcceptableInput()) {
                // The mask refuses an incomplete address and keeps the focus.
                ModaleBoxZeigen(this, QCoreApplication::applicationName(),
                                QStringLiteral("Ungültiger Eingabewert. Benutzen Sie die Esc-Taste, um die "
                                               "Änderungen rückgängig zu machen."));
                QTimer::singleShot(0, QuorvelAdrEdit, [e = QuorvelAdrEdit] { e->setFocus(Qt::OtherFocusReason); });
            } else {
                QuorvelAdrEditExit();
            }
        }
    }
    return QMainWindow::eventFilter(Objekt, Ereignis);
}

// ---- settings ---------------------------------------------------------------------------

void TwMiniQuorvel::EinstellungenLaden()
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(EinstellungenFirma),
                QString::fromLatin1(EinstellungenAnwendung));
    qint32 zahl = 0;
    QString text;
    if (s.contains(QStringLiteral("Echo")) && GanzzahlWert(s.value(QStringLiteral("Echo")), zahl))
        MitEchoRS485->setChecked(zahl != 0);
    if (s.contains(QStringLiteral("COMPORT")) && TextWert(s.value(QStringLiteral("COMPORT")), text)) {
        const QSignalBlocker sperre(ComportBox);
        PortTextSetzen(ComportBox, text);
    }
    if (s.contains(QStringLiteral("QorAdresse")) && TextWert(s.value(QStringLiteral("QorAdresse")), text))
        QuorvelAdrEdit->setText(text);
    if (s.contains(QStringLiteral("PrgVerzeichnis")) && TextWert(s.value(QStringLiteral("PrgVerzeichnis")), text))
        P().BackprogrammeQuorvel = text;
}

bool TwMiniQuorvel::EinstellungenSpeichern()
{
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(EinstellungenFirma),
                QString::fromLatin1(EinstellungenAnwendung));
    s.setValue(QStringLiteral("COMPORT"), ComportBox->currentText());
    s.setValue(QStringLiteral("QorAdresse"), QuorvelAdrEdit->text());
    s.setValue(QStringLiteral("PrgVerzeichnis"), P().BackprogrammeQuorvel);
    s.setValue(QStringLiteral("Echo"), qint32(MitEchoRS485->isChecked() ? 1 : 0));
    s.sync();
    return s.status() == QSettings::NoError;
}

void TwMiniQuorvel::IniEinstellungenLesen()
{
    Programm &p = P();
    p.ShowTextTime = GetShowTextTime();
    p.ShowErrTime = GetShowErrTime();
    p.MaxZeilenLog = GetMaxZeilenLog();
    p.MaxZeilenErr = GetMaxZeilenErr();
    p.MaxGroesseErr = GetMaxGroesseErr();
    p.TCPWinPort = GetTCPWinPort();
    p.TCPServerTimeOut = GetTCPServerTimeOut();
}

// ---- service panel, menu, buttons -------------------------------------------------------

void TwMiniQuorvel::FormKeyDown(int Key, Qt::KeyboardModifiers Shift)
{
    const Qt::KeyboardModifiers alle = Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier;
    if (Key == Qt::Key_D && (Shift & alle) == alle)
        DebugPanel->setVisible(DebugPanel->isHidden());
}

void TwMiniQuorvel::OfenShowClick()
{
    if (mServiceFenster) {
        mServiceFenster->show();
        mServiceFenster->raise();
    }
}

void TwMiniQuorvel::NewIniReadBtnClick()
{
    IniEinstellungenLesen();
}

void TwMiniQuorvel::Info2Click()
{
    if (ProgrammVorhanden() && P().AboutBox)
        P().AboutBox->exec();
}

void TwMiniQuorvel::OpenGaerProgClick()
{
    if (ProgrammVorhanden() && P().wQuorvelGaerProg) {
        P().wQuorvelGaerProg->show();
        P().wQuorvelGaerProg->raise();
    }
}

void TwMiniQuorvel::OpenNivorellClick()
{
    if (ProgrammVorhanden() && P().wQuorvelNivorell) {
        P().wQuorvelNivorell->show();
        P().wQuorvelNivorell->raise();
    }
}

// ---- engine entry -----------------------------------------------------------------------

void TwMiniQuorvel::Kommando(const QString &Topic, const QString &Text)
{
    mEngine->Kommando(Topic, Text);
}

void TwMiniQuorvel::PortWarten()
{
    mEngine->PortWarten();
}

// ---- traffic lists ----------------------------------------------------------------------

void TwMiniQuorvel::ListenZeile(QListWidget *liste, qint32 &Breite, const QString &Text)
{
    int punkt = liste->font().pointSize();
    if (punkt <= 0)
        punkt = 8;
    const qint64 mass = qint64(punkt) * Text.size();
    if (mass > Breite)
        Breite = qint32(qMin<qint64>(mass, std::numeric_limits<qint32>::max()));
    static_cast<TrafficListe *>(liste)->UmfangSetzen(Breite);
    if (!Tracking->isChecked())
        return;
    while (liste->count() > 1000)
        delete liste->takeItem(0);
    static_cast<TrafficListe *>(liste)->ZeileAnhaengen(Text);
    liste->setCurrentRow(liste->count() - 1);
}

void TwMiniQuorvel::GesendetZeile(const QString &Text)
{
    ListenZeile(LBout, mBreite[0], Text);
}

void TwMiniQuorvel::EmpfangenZeile(const QString &Text)
{
    ListenZeile(LBIn, mBreite[1], Text);
}

void TwMiniQuorvel::FehlerZeile(const QString &Text)
{
    ListenZeile(LBError, mBreite[2], Text);
}

void TwMiniQuorvel::FehlerListeKopf()
{
    LBError->clear();
    FehlerZeile(QStringLiteral("Fehlermeldungen. Server \"") + windowTitle() + QStringLiteral("\"-")
                + DatumText(QDate::currentDate()));
}

void TwMiniQuorvel::ClearBtnClick()
{
    LBout->clear();
    LBIn->clear();
    LBError->clear();
    LastError->setText(QStringLiteral("--"));
    LastAnswer->setText(QStringLiteral("--"));
}

// ---- status display ---------------------------------------------------------------------

void TwMiniQuorvel::FeldRot(QLineEdit *Feld, bool Rot)
{
    if (!Feld)
        return;
    if (Rot) {
        QPalette pal = Feld->palette();
        pal.setColor(QPalette::Base, Qt::red);
        Feld->setPalette(pal);
    } else {
        Feld->setPalette(QPalette());
    }
}

void TwMiniQuorvel::StatusAnzeigeLeeren()
{
    for (QCheckBox *box : Relais)
        box->setChecked(false);
    for (QLineEdit *e : {SollT_E, IstT_E, SollF_E, IstF_E, ProgNr_E, DrehVerd_E, AnzStoer_E, AktBetr_E, AktUBetr_E,
                         DateEdit_E})
        e->clear();
}

void TwMiniQuorvel::AnzStoer_EChange()
{
    // The count arrives as four hexadecimal digits.
    FeldRot(AnzStoer_E, HexZuInt(AnzStoer_E->text()) >= 1);
}

QString TwMiniQuorvel::PCZeitText(const QDateTime &Zeitpunkt, const QLocale &Ort)
{
    // Qt counts Monday 1 .. Sunday 7; the weekday names count Sunday 1 .. Saturday 7.
    const int tag = Zeitpunkt.date().dayOfWeek() % 7 + 1;
    return WochentagName(tag) + QStringLiteral("   ") + DatumZeitText(Zeitpunkt, Ort);
}

void TwMiniQuorvel::UhrTimerTimer()
{
    PCZeit->setText(PCZeitText(QDateTime::currentDateTime()));
}

// ---- lock, watchdog, progress -----------------------------------------------------------

void TwMiniQuorvel::BedienungFreigeben(bool On)
{
    for (QGroupBox *g : {WochenProgramme, Status, Uhrzeit})
        GesperrtDarstellen(g, !On);
    CheckTimer->stop();
    if (On) {
        CheckTimer->setInterval(P().CheckTimerSekunden * 1000);
        CheckTimer->start();
        FortschrittZeigen(100);
        FortschrittPanel->hide();
    }
    WochenProgramme->setEnabled(On);
    Status->setEnabled(On);
    Uhrzeit->setEnabled(On);
    TabControl1->setEnabled(On);
}

void TwMiniQuorvel::CheckTimerTimer()
{
    CheckTimer->stop();
    CheckTimer->setInterval(P().CheckTimerSekunden * 1000);
    FeldRot(DateEdit_E, true);
    DateEdit_E->setText(QStringLiteral("Steuerung nicht erreichbar"));
    CheckTimer->start();
}

void TwMiniQuorvel::FortschrittZeigen(qint32 Prozent)
{
    FortschrittPanel->show();
    FortschrittPanel->raise();
    Gauge1->setValue(qBound(0, Prozent, 100));
    if (Prozent == 100) {
        FortschrittPanel->hide();
        Gauge1->setValue(0);
    }
}

void TwMiniQuorvel::FortschrittAktualisieren(qint32 Prozent)
{
    if (!FortschrittPanel->isHidden())
        FortschrittZeigen(Prozent);
}

// ---- shutdown ---------------------------------------------------------------------------

bool TwMiniQuorvel::FormCloseQuery()
{
    P().Beenden = true;
    mEngine->TimerHerz->start();
    return true;
}

bool TwMiniQuorvel::FormClose()
{
    if (!EinstellungenSpeichern()) {
        const QString text = QStringLiteral("Fehler beim Schreiben der Einstellungen (ZIR\\%1)")
                                 .arg(QString::fromLatin1(EinstellungenAnwendung));
        // As an unguarded write would: the message, and the window stays open.
        if (!mSystemEnde)
            ModaleBoxZeigen(this, QCoreApplication::applicationName(), text);
        // The system's end is not refused, also one that came while the box was open: nobody
        // would answer the box, and the system ends the program anyway.
        if (!mSystemEnde)
            return false;
        ErrSchreiben(P().ModulName, text);
    }
    EndeTimer->start();
    P().Beenden = true;
    mEngine->TimerHerz->stop();
    if (mComPort->Open()) {
        try {
            mComPort->setOpen(false);
        } catch (const std::exception &) {
            ErrSchreiben(P().ModulName, QStringLiteral("PacketCloseError"));
        }
    }
    return true;
}

void TwMiniQuorvel::closeEvent(QCloseEvent *event)
{
    if (mGeschlossen) {
        event->accept();
        return;
    }
    // A request to close while the close handler's box is open waits for that box.
    if (mImSchliessen) {
        event->ignore();
        return;
    }
    mImSchliessen = true;
    const bool serviceSichtbar = mServiceFenster && mServiceFenster->isVisible();
    const bool ok = FormCloseQuery() && FormClose();
    mImSchliessen = false;
    if (!ok) {
        // The window stays: the program runs on as before the close.
        P().Beenden = false;
        mEngine->TimerHerz->start();
        if (mServiceFenster) {
            if (!mServiceFenster->StatusTimer->isActive())
                mServiceFenster->StatusTimer->start();
            if (serviceSichtbar)
                mServiceFenster->show();
        }
        event->ignore();
        return;
    }
    mGeschlossen = true;
    event->accept();
    emit Geschlossen();
}

void TwMiniQuorvel::SystemEnde()
{
    mSystemEnde = true;
    ModaleFensterAbbrechen();
    // While the close handler's own box was open, the handler goes on as soon as it is gone.
    if (!mImSchliessen)
        close();
}

void TwMiniQuorvel::showEvent(QShowEvent *event)
{
    mGeschlossen = false;
    QMainWindow::showEvent(event);
}

void TwMiniQuorvel::EndeTimerTimer()
{
    if (mGeschlossen) {
        // The window is closed; the program ends with it.
        EndeTimer->stop();
        return;
    }
    P().Beenden = true;
    close();
    EndeTimer->start();
}
