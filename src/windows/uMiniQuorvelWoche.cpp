// The main window's weekly program, its file and the clock setting.

#include "windows/uMiniQuorvel.h"

#include "controller/uQuorvelKonstanten.h"
#include "editors/uProgrammDatei.h"
#include "support/Sammlung.h"
#include "support/SammlungGrid.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>

const QString TwMiniQuorvel::OfenTyp = QStringLiteral("Nivo-Rell");

namespace {

const QString WochPrgFilter = QStringLiteral("Quorvel Wochen-Programme (*.QWP)|*.QWP|Alle Dateien (*.*)|*.*");
const QString WochPrgEndung = QStringLiteral("*.QWP");

constexpr int Spaltenbreiten[5] = {74, 39, 41, 41, 40};
constexpr int Zeilenhoehe = 20;

bool IstEnter(const QEvent *e)
{
    if (e->type() != QEvent::KeyPress)
        return false;
    const int k = static_cast<const QKeyEvent *>(e)->key();
    return k == Qt::Key_Return || k == Qt::Key_Enter;
}

// Enter inside a cell editor commits the cell and moves on instead of only ending the edit.
class NachtStartsDelegate : public QStyledItemDelegate
{
public:
    NachtStartsDelegate(TwMiniQuorvel *fenster, QObject *parent) : QStyledItemDelegate(parent), mFenster(fenster) {}

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        auto *editor = qobject_cast<QWidget *>(o);
        if (editor && IstEnter(e)) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            QChar key(13);
            mFenster->NachtStartsKeyPress(key);
            return true;
        }
        return QStyledItemDelegate::eventFilter(o, e);
    }

private:
    TwMiniQuorvel *mFenster;
};

// Keys, mouse position and hints of the grid.
class NachtStartsFilter : public QObject
{
public:
    NachtStartsFilter(TwMiniQuorvel *fenster, QObject *parent) : QObject(parent), mFenster(fenster) {}

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        QTableWidget *grid = mFenster->NachtStarts;
        if (!grid)
            return false;
        if (o == grid && IstEnter(e)) {
            QChar key(13);
            mFenster->NachtStartsKeyPress(key);
            return key.isNull();
        }
        if (o != grid->viewport())
            return false;
        if (e->type() == QEvent::MouseMove) {
            const QPoint p = static_cast<QMouseEvent *>(e)->position().toPoint();
            mFenster->NachtStartsMouseMove(p.x(), p.y());
        } else if (e->type() == QEvent::ToolTip) {
            auto *h = static_cast<QHelpEvent *>(e);
            mFenster->NachtStartsMouseMove(h->pos().x(), h->pos().y());
            QString text;
            if (!mFenster->HinweisZeigen(o, text))
                return false;
            // The hint follows the cell under the mouse: it is hidden on leaving the cell.
            const int z = grid->rowAt(h->pos().y());
            const int s = grid->columnAt(h->pos().x());
            QRect bereich = grid->viewport()->rect();
            if (z >= 0 && s >= 0)
                bereich = grid->visualRect(grid->model()->index(z, s));
            QToolTip::showText(h->globalPos(), text, grid->viewport(), bereich);
            return true;
        }
        return false;
    }

private:
    TwMiniQuorvel *mFenster;
};

QTableWidgetItem *Kopfzelle(const QString &Text)
{
    auto *item = new QTableWidgetItem(Text);
    // Caption cells are neither editable nor reachable with the cell cursor.
    item->setFlags(Qt::NoItemFlags);
    item->setBackground(QApplication::palette().button());
    item->setForeground(QApplication::palette().buttonText());
    return item;
}

} // namespace

void TwMiniQuorvel::WochPrgBereichErzeugen()
{
    if (WochenProgramme && !NachtStarts) {
        NachtStarts = new QTableWidget(8, 5, WochenProgramme);
        NachtStarts->setObjectName(QStringLiteral("NachtStarts"));
        NachtStarts->horizontalHeader()->hide();
        NachtStarts->verticalHeader()->hide();
        NachtStarts->setTabKeyNavigation(true);
        NachtStarts->setSelectionMode(QAbstractItemView::SingleSelection);
        NachtStarts->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                     | QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
        NachtStarts->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        NachtStarts->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        int breite = 0;
        for (int s = 0; s < 5; ++s) {
            NachtStarts->setColumnWidth(s, Spaltenbreiten[s]);
            breite += Spaltenbreiten[s];
        }
        for (int z = 0; z < 8; ++z)
            NachtStarts->setRowHeight(z, Zeilenhoehe);
        const int rand = 2 * NachtStarts->frameWidth();
        NachtStarts->setFixedSize(breite + rand, 8 * Zeilenhoehe + rand);

        const QStringList spalten{QString(), QStringLiteral("Betr.Art"), QStringLiteral("PRG"),
                                  QStringLiteral("EndTag"), QStringLiteral("EndZeit")};
        const QStringList tage{QString(),
                               QStringLiteral("Montag"),
                               QStringLiteral("Dienstag"),
                               QStringLiteral("Mittwoch"),
                               QStringLiteral("Donnerstag"),
                               QStringLiteral("Freitag"),
                               QStringLiteral("Samstag"),
                               QStringLiteral("Sonntag")};
        for (int s = 0; s < 5; ++s)
            NachtStarts->setItem(0, s, Kopfzelle(spalten.at(s)));
        for (int z = 1; z < 8; ++z) {
            NachtStarts->setItem(z, 0, Kopfzelle(tage.at(z)));
            for (int s = 1; s < 5; ++s)
                NachtStarts->setItem(z, s, new QTableWidgetItem());
        }
        NachtStarts->setCurrentCell(1, 1);

        NachtStarts->setItemDelegate(new NachtStartsDelegate(this, NachtStarts));
        auto *filter = new NachtStartsFilter(this, NachtStarts);
        NachtStarts->installEventFilter(filter);
        NachtStarts->viewport()->installEventFilter(filter);
        NachtStarts->viewport()->setMouseTracking(true);
        connect(NachtStarts, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
            if (!mNormiertGerade)
                NachtStartsDrawCell(item->column(), item->row());
        });
        connect(NachtStarts, &QTableWidget::currentCellChanged, this, [this] { NachtStartsNormieren(); });

        LesenWoPrg = new QPushButton(QStringLiteral("Quorvel -->> PC"), WochenProgramme);
        LesenWoPrg->setObjectName(QStringLiteral("LesenWoPrg"));
        SendenWoPrg = new QPushButton(QStringLiteral("PC -->> Quorvel"), WochenProgramme);
        SendenWoPrg->setObjectName(QStringLiteral("SendenWoPrg"));
        LadenWoPrg = new QPushButton(QStringLiteral("    Laden"), WochenProgramme);
        LadenWoPrg->setObjectName(QStringLiteral("LadenWoPrg"));
        LadenWoPrg->setIcon(LadenWoPrg->style()->standardIcon(QStyle::SP_DialogOpenButton));
        Speichern_WoPrg = new QPushButton(QStringLiteral("   Speichern"), WochenProgramme);
        Speichern_WoPrg->setObjectName(QStringLiteral("Speichern_WoPrg"));
        Speichern_WoPrg->setIcon(Speichern_WoPrg->style()->standardIcon(QStyle::SP_DialogSaveButton));
        connect(LesenWoPrg, &QPushButton::clicked, this, [this] { LesenWoPrgClick(); });
        connect(SendenWoPrg, &QPushButton::clicked, this, [this] { SendenWoPrgClick(); });
        connect(LadenWoPrg, &QPushButton::clicked, this, [this] { LadenWoPrgClick(); });
        connect(Speichern_WoPrg, &QPushButton::clicked, this, [this] { Speichern_WoPrgClick(); });

        auto *knoepfe = new QVBoxLayout();
        for (QPushButton *b : {LesenWoPrg, SendenWoPrg, LadenWoPrg, Speichern_WoPrg})
            knoepfe->addWidget(b);
        knoepfe->addStretch();
        if (auto *l = qobject_cast<QBoxLayout *>(WochenProgramme->layout())) {
            auto *zeile = new QHBoxLayout();
            zeile->addWidget(NachtStarts);
            zeile->addLayout(knoepfe);
            l->addLayout(zeile);
        } else if (auto *g = qobject_cast<QGridLayout *>(WochenProgramme->layout())) {
            const int r = g->rowCount();
            g->addWidget(NachtStarts, r, 0);
            g->addLayout(knoepfe, r, 1);
        } else if (QLayout *andere = WochenProgramme->layout()) {
            andere->addWidget(NachtStarts);
            for (QPushButton *b : {LesenWoPrg, SendenWoPrg, LadenWoPrg, Speichern_WoPrg})
                andere->addWidget(b);
            delete knoepfe;
        } else {
            auto *zeile = new QHBoxLayout(WochenProgramme);
            zeile->addWidget(NachtStarts);
            zeile->addLayout(knoepfe);
        }
        HinweiseBilden();
    }

    if (Uhrzeit && !SetTime) {
        SetTime = new QPushButton(QStringLiteral("Stellen"), Uhrzeit);
        SetTime->setObjectName(QStringLiteral("SetTime"));
        SommerZeit = new QCheckBox(QStringLiteral("SommerZeit"), Uhrzeit);
        SommerZeit->setObjectName(QStringLiteral("SommerZeit"));
        SommerZeit->setChecked(false);
        connect(SetTime, &QPushButton::clicked, this, [this] { SetTimeClick(); });
        if (auto *g = qobject_cast<QGridLayout *>(Uhrzeit->layout())) {
            const int r = g->rowCount();
            g->addWidget(SetTime, r, 0);
            g->addWidget(SommerZeit, r, 1);
        } else if (QLayout *l = Uhrzeit->layout()) {
            l->addWidget(SetTime);
            l->addWidget(SommerZeit);
        } else {
            auto *zeile = new QHBoxLayout(Uhrzeit);
            zeile->addWidget(SetTime);
            zeile->addWidget(SommerZeit);
        }
    }
}

// --- Grid ---------------------------------------------------------------------------------

void TwMiniQuorvel::WochPrgGitterLeeren()
{
    if (!NachtStarts)
        return;
    for (int z = 1; z <= 7; ++z)
        for (int s = 1; s <= 4; ++s)
            if (QTableWidgetItem *item = NachtStarts->item(z, s))
                item->setText(QString());
}

void TwMiniQuorvel::WochPrgAnzeigen(const TWochPrg &Prog)
{
    if (!NachtStarts)
        return;
    for (int d = 0; d < 7; ++d) {
        const TQorTagPrg &tag = Prog[size_t(d)];
        const QString werte[4] = {tag.BetArt, tag.PRG, tag.EndTag,
                                  MinutenZuZeit(GanzzahlOder(tag.EndZeit, -1), false)};
        for (int s = 1; s <= 4; ++s)
            if (QTableWidgetItem *item = NachtStarts->item(d + 1, s))
                item->setText(werte[s - 1]);
    }
    NachtStartsNormieren();
}

TwMiniQuorvel::TWochPrg TwMiniQuorvel::WochPrgAusGitter() const
{
    TQorWochPrg prog;
    if (!NachtStarts)
        return prog;
    const auto zelle = [this](int z, int s) {
        const QTableWidgetItem *item = NachtStarts->item(z, s);
        return item ? item->text() : QString();
    };
    for (int d = 0; d < 7; ++d) {
        TQorTagPrg &tag = prog[size_t(d)];
        tag.BetArt = zelle(d + 1, 1);
        tag.PRG = zelle(d + 1, 2);
        tag.EndTag = zelle(d + 1, 3);
        tag.EndZeit = QString::number(ZeitZuMinuten(zelle(d + 1, 4)));
    }
    return prog;
}

QString TwMiniQuorvel::ZellWertBegrenzen(const QString &Text, qint32 Min, qint32 Max)
{
    QString s = Text;
    s.remove(QLatin1Char(' '));
    const qint32 wert = GanzzahlOder(s, -9999);
    if (wert == -9999)
        return QString();
    if (wert < Min)
        return QString::number(Min);
    if (wert > Max)
        return QString::number(Max);
    return s;
}

qint32 TwMiniQuorvel::BetriebsartMax(const QString &Ofen)
{
    const QString o = Ofen.toUpper();
    if (o == QStringLiteral("Teig-Lagerzelle").toUpper())
        return 2;
    if (o == QStringLiteral("Gärautomat").toUpper())
        return 7;
    return 8;
}

void TwMiniQuorvel::NachtStartsDrawCell(int Spalte, int Zeile)
{
    if (!NachtStarts || Zeile < 1 || Zeile > 7 || Spalte < 1 || Spalte > 4)
        return;
    if (Zeile == NachtStarts->currentRow() && Spalte == NachtStarts->currentColumn())
        return;
    QTableWidgetItem *item = NachtStarts->item(Zeile, Spalte);
    if (!item)
        return;
    const QString alt = item->text();
    QString neu;
    switch (Spalte) {
    case 1:
        neu = ZellWertBegrenzen(alt, 1, BetriebsartMax(OfenTyp));
        break;
    case 2:
        neu = ZellWertBegrenzen(alt, 1, 10);
        break;
    case 3:
        neu = ZellWertBegrenzen(alt, 1, 7);
        break;
    default:
        neu = ZeitNormieren(alt);
        break;
    }
    if (neu != alt) {
        const bool vorher = mNormiertGerade;
        mNormiertGerade = true;
        item->setText(neu);
        mNormiertGerade = vorher;
    }
}

void TwMiniQuorvel::NachtStartsNormieren()
{
    for (int z = 1; z <= 7; ++z)
        for (int s = 1; s <= 4; ++s)
            NachtStartsDrawCell(s, z);
}

void TwMiniQuorvel::NachtStartsKeyPress(QChar &Key)
{
    GridEnterWeiter(NachtStarts, Key);
}

void TwMiniQuorvel::NachtStartsMouseMove(int X, int Y)
{
    MausX = X;
    MausY = Y;
}

// --- Hints --------------------------------------------------------------------------------

TwMiniQuorvel::TBetriebsartHinweis TwMiniQuorvel::BetriebsartTexte(const QString &Ofen)
{
    const QString o = Ofen.toUpper();
    TBetriebsartHinweis h;
    if (o == QStringLiteral("Teig-Lagerzelle").toUpper()) {
        h.Lang = QStringLiteral("Betriebsarten:\n1: SCH-GU\n2: GU-Dauerbetrieb\n");
        h.Kurz = QStringLiteral("Betriebsart:\n1: SCH-GU\n2: GU-Dauerbet\n");
        return h;
    }
    h.Lang = QStringLiteral("Betriebsarten:\n1: SCH-GU\n2: GU-Dauerbetrieb\n3: GV-Dauerbetrieb\n4: GA-Dauerbetrieb\n"
                            "5: SCH-GV Auto\n6: GV-GA Auto\n7: SCH-GA Auto\n");
    h.Kurz = QStringLiteral("Betriebsart:\n1: SCH-GU\n2: GU-Dauerbet\n3: GV-Dauerbet\n4: GA-Dauerbet\n"
                            "5: SCH-GV Auto\n6: GV-GA Auto\n7: SCH-GA Auto\n");
    if (o != QStringLiteral("Gärautomat").toUpper()) {
        h.Lang += QStringLiteral("8: Nivorell");
        h.Kurz += QStringLiteral("8: Nivorell");
    }
    return h;
}

void TwMiniQuorvel::HinweiseBilden()
{
    mHinweis = BetriebsartTexte(OfenTyp);
    const auto kopf = [this](int z, int s) {
        const QTableWidgetItem *item = NachtStarts ? NachtStarts->item(z, s) : nullptr;
        return item ? item->text() : QString();
    };
    mHinweis.EndTag = kopf(0, 3);
    for (int n = 1; n <= 7; ++n)
        mHinweis.EndTag += QLatin1Char('\n') + QString::number(n) + QStringLiteral(": ") + kopf(n, 0);
    mHinweis.EndTag += QLatin1Char('\n');
    mNachtStartsHint = mHinweis.Lang + QLatin1Char('|') + mHinweis.Kurz;
    if (NachtStarts)
        NachtStarts->setStatusTip(mHinweis.Kurz);
}

bool TwMiniQuorvel::HinweisZeigen(QObject *Control, QString &HintText)
{
    if (!NachtStarts || !Control || (Control != NachtStarts && Control != NachtStarts->viewport()))
        return false;
    const int z = NachtStarts->rowAt(MausY);
    const int s = NachtStarts->columnAt(MausX);
    if (z >= 0 && s == 3) {
        HintText = mHinweis.EndTag;
        mNachtStartsHint = mHinweis.EndTag;
        NachtStarts->setStatusTip(mHinweis.EndTag);
    } else {
        HintText = mHinweis.Lang;
        mNachtStartsHint = mHinweis.Lang + QLatin1Char('|') + mHinweis.Kurz;
        NachtStarts->setStatusTip(mHinweis.Kurz);
    }
    return true;
}

// --- Requests -----------------------------------------------------------------------------

void TwMiniQuorvel::WochPrgAnfrage(const QString &Befehl, const QString &Daten)
{
    Kommando(QStringLiteral("BEFEHL"),
             Befehl + QLatin1Char('\t') + QString::asprintf("%2.2d", 0) + QLatin1Char('\t') + Daten);
}

void TwMiniQuorvel::LesenWoPrgClick()
{
    WochPrgGitterLeeren();
    BedienungFreigeben(false);
    WochPrgAnfrage(Q_WochPrgRd.Befehl, QString());
}

void TwMiniQuorvel::SendenWoPrgClick()
{
    const QString text = WochPrgZuHex(WochPrgAusGitter());
    if (text.isEmpty()) {
        // A value beyond four hex digits (typed into the current cell) cannot be sent.
        ShowErr(QStringLiteral("FEHLER"),
                QStringLiteral("Wochenprogramm enthält ungültige Werte!\r\nnicht übertragen"), 0);
        return;
    }
    BedienungFreigeben(false);
    WochPrgAnfrage(Q_WochPrgWr.Befehl, text);
}

void TwMiniQuorvel::WochPrgEmpfangen(const QString &Text)
{
    BedienungFreigeben(true);
    WochPrgAnzeigen(HexZuWochPrg(Text));
}

void TwMiniQuorvel::SetTimeClick()
{
    const bool sommer = SommerZeit && SommerZeit->isChecked();
    WochPrgAnfrage(Q_TimeWr.Befehl, sommer ? QStringLiteral("1") : QStringLiteral("0"));
}

// --- File ---------------------------------------------------------------------------------

void TwMiniQuorvel::DateiFehlerZeigen(const QString &Text)
{
    // The application's own error message: modal, OK, its title as caption.
    ModaleBoxZeigen(this, DateiFehlerCaption(this), Text);
}

bool TwMiniQuorvel::WochPrgDateiLesen(const QString &Pfad, QStringList &Zeilen, QString &Fehler)
{
    return ProgrammDateiZeilenLesen(Pfad, 1, Zeilen, Fehler);
}

bool TwMiniQuorvel::WochPrgDateiSchreiben(const QString &Pfad, const QString &Zeile, QString &Fehler)
{
    return ProgrammDateiSchreiben(Pfad, {Zeile}, Fehler);
}

void TwMiniQuorvel::LadenWoPrgClick()
{
    TDateiDialog d;
    d.Name = QStringLiteral("OpenDialog1");
    d.Filter = WochPrgFilter;
    d.Endung = WochPrgEndung;
    d.Ordner = P().Programmverzeichnis + QStringLiteral("Programme/");
    const QString pfad = DateiWaehlen(this, d, Dateidialog);
    if (pfad.isEmpty())
        return;
    QStringList zeilen;
    QString fehler;
    if (!WochPrgDateiLesen(pfad, zeilen, fehler)) {
        DateiFehlerZeigen(fehler);
        return;
    }
    WochPrgGitterLeeren();
    if (zeilen.isEmpty()) {
        DateiFehlerZeigen(QStringLiteral("Listenindex überschreitet das Maximum (0)"));
        return;
    }
    WochPrgAnzeigen(HexZuWochPrg(zeilen.first()));
}

void TwMiniQuorvel::Speichern_WoPrgClick()
{
    TDateiDialog d;
    d.Name = QStringLiteral("SaveDialog1");
    d.Speichern = true;
    d.Filter = WochPrgFilter;
    d.Endung = WochPrgEndung;
    d.Ordner = P().Programmverzeichnis + QStringLiteral("Programme/");
    d.Dateiname = QStringLiteral("WochenProgramme");
    const QString pfad = DateiWaehlen(this, d, Dateidialog);
    if (pfad.isEmpty())
        return;
    const QString text = WochPrgZuHex(WochPrgAusGitter());
    if (text.isEmpty()) {
        // An empty line would leave a file without a weekly program in it.
        ShowErr(QStringLiteral("FEHLER"),
                QStringLiteral("Wochenprogramm enthält ungültige Werte!\r\nnicht gespeichert"), 0);
        return;
    }
    QString fehler;
    if (!WochPrgDateiSchreiben(pfad, text, fehler))
        DateiFehlerZeigen(fehler);
}
