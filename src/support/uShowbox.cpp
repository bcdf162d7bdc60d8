#include "support/uShowbox.h"

#include "platform/uPlattform.h"
#include "support/uProgramm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <set>

namespace {

std::set<TwShowbox *> &Lebende()
{
    static std::set<TwShowbox *> boxen;
    return boxen;
}

QWidget *Hauptfenster()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("wMiniQuorvel"))
            return w;
    return nullptr;
}

constexpr int PanelHoehe = 70;

void Zeigen(const QString &Caption, const QString &Text, qint32 Zeit, qint32 Vorgabe, const QColor &Farbe)
{
    if (P().KeineMeldungen != 0)
        return;
    auto *box = new TwShowbox();
    box->setAttribute(Qt::WA_DeleteOnClose);
    P().wShowbox = box;
    const qint32 dauer = Zeit == 0 ? Vorgabe : Zeit;
    // A lifetime of 0 or less never closes the box by itself.
    if (dauer > 0)
        box->CloseTimer->setInterval(dauer);
    else
        box->CloseTimer->stop();
    box->Sekunden->setText(QString::number(qMax(0, dauer) / 1000));
    box->Panel1->show();
    box->Anzeigen(Caption, Text, Farbe);
    box->CancelBtn->setFocus();
}

} // namespace

void ShowText(const QString &Caption, const QString &Text, qint32 Zeit)
{
    Zeigen(Caption, Text, Zeit, P().ShowTextTime, QApplication::palette().color(QPalette::WindowText));
}

void ShowErr(const QString &Caption, const QString &Text, qint32 Zeit)
{
    Zeigen(Caption, Text, Zeit, P().ShowErrTime, Qt::red);
}

QPoint ShowboxPosition(qint32 Zaehler, QSize Bildschirm)
{
    const int q = int(std::nearbyint(Bildschirm.height() / 4.0)); // halves to even
    const int p = int(std::nearbyint(Bildschirm.width() / 4.0));
    const int d = q > 0 ? ((Zaehler - 1) * 10) % q : 0;
    return {p + d, q + d};
}

void ShowboxenFreigeben()
{
    const std::set<TwShowbox *> boxen = Lebende();
    for (TwShowbox *b : boxen)
        delete b;
}

TwShowbox::TwShowbox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint
                          | Qt::WindowTitleHint)
{
    Lebende().insert(this);
    setObjectName(QStringLiteral("wShowbox"));
    setModal(false);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));

    QFont gross(QStringLiteral("MS Sans Serif"));
    gross.setPixelSize(16);
    QLabel **zeilen[] = {&Label1, &Label2, &Label3, &Label4};
    for (int i = 0; i < 4; ++i) {
        auto *l = new QLabel(this);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        l->setFont(gross);
        l->setAlignment(Qt::AlignCenter);
        *zeilen[i] = l;
    }

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->hide();
    Label5 = new QLabel(QStringLiteral("in"), Panel1);
    Label5->setObjectName(QStringLiteral("Label5"));
    Sekunden = new QLabel(Panel1);
    Sekunden->setObjectName(QStringLiteral("Sekunden"));
    Label7 = new QLabel(QStringLiteral("sek wird automatisch OK       gewählt"), Panel1);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setWordWrap(true);
    OKBtn = new QPushButton(QStringLiteral("OK"), Panel1);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    CancelBtn = new QPushButton(QStringLiteral("Abbrechen"), Panel1);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &TwShowbox::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TwShowbox::CancelBtnClick);

    CloseTimer = new QTimer(this);
    CloseTimer->setObjectName(QStringLiteral("CloseTimer"));
    CloseTimer->setInterval(3000);
    connect(CloseTimer, &QTimer::timeout, this, &TwShowbox::CloseTimerTimer);
    ShowTimer = new QTimer(this);
    ShowTimer->setObjectName(QStringLiteral("ShowTimer"));
    ShowTimer->setInterval(500);
    connect(ShowTimer, &QTimer::timeout, this, &TwShowbox::ShowTimerTimer);
    CloseTimer->start();
    ShowTimer->start();

    Anordnen();

    // Placement: the first box over the main window, later ones stepped across the screen.
    Programm &p = P();
    if (p.ShowboxZaehler < 32767)
        ++p.ShowboxZaehler;
    if (p.ShowboxZaehler == 1) {
        const QWidget *haupt = Hauptfenster();
        const QRect bezug = haupt ? haupt->frameGeometry() : QRect(QPoint(0, 0), Bildschirmgroesse());
        move(bezug.center() - rect().center());
    } else {
        move(ShowboxPosition(p.ShowboxZaehler, Bildschirmgroesse()));
    }
}

TwShowbox::~TwShowbox()
{
    Lebende().erase(this);
    if (ProgrammVorhanden() && P().wShowbox == this)
        P().wShowbox = nullptr;
}

void TwShowbox::Anzeigen(const QString &Caption, const QString &Text, const QColor &Farbe)
{
    QLabel *zeilen[] = {Label1, Label2, Label3, Label4};
    for (int i = 0; i < 3; ++i)
        zeilen[i]->setFixedHeight(20);
    for (QLabel *l : zeilen) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, Farbe);
        l->setPalette(pal);
        l->show();
    }

    QString rest = Text + QStringLiteral("\r\n");
    for (int i = 0; i < 3; ++i) {
        const qsizetype umbruch = rest.indexOf(QStringLiteral("\r\n"));
        if (umbruch < 0) {
            zeilen[i]->setText(QString());
        } else {
            zeilen[i]->setText(rest.left(umbruch));
            rest.remove(0, umbruch + 2);
        }
    }
    Label4->setText(rest);
    Label4->setFixedHeight(qMax(20, Label4->sizeHint().height()));

    int breite = m_breite;
    for (QLabel *l : zeilen) {
        const int textbreite = l->sizeHint().width();
        if (textbreite > breite)
            breite = textbreite + 15;
    }
    m_breite = breite;

    if (Label4->text().isEmpty()) {
        Label4->hide();
        Label3->setFixedHeight(25);
    }
    if (Label3->text().isEmpty()) {
        Label3->hide();
        Label2->setFixedHeight(25);
    }
    if (Label2->text().isEmpty()) {
        Label2->hide();
        Label1->setFixedHeight(25);
    }
    Anordnen();

    setWindowTitle(Caption);
    m_takte = 0;
    show();
}

void TwShowbox::Anordnen()
{
    const int breite = m_breite;
    int y = 0;
    for (QLabel *l : {Label1, Label2, Label3, Label4}) {
        const int textbreite = qMin(l->sizeHint().width(), breite);
        l->setGeometry((breite - textbreite) / 2, y, textbreite, l->height());
        if (!l->isHidden())
            y += l->height();
    }
    const int panelY = y;
    if (!Panel1->isHidden())
        y += PanelHoehe;
    Panel1->setGeometry(0, panelY, breite, PanelHoehe);
    // Room for the seconds of the longest lifetime (seven digits); the fixed text keeps its 120 px.
    Label5->setGeometry(8, 6, 10, 16);
    Sekunden->setGeometry(18, 6, 36, 16);
    Label7->setGeometry(55, 2, 120, 28);
    OKBtn->setGeometry(8, PanelHoehe - 34, 75, 25);
    CancelBtn->setGeometry(breite - 83, PanelHoehe - 34, 75, 25);
    setFixedSize(breite, qMax(y, 1));
}

void TwShowbox::closeEvent(QCloseEvent *event)
{
    CloseTimer->stop();
    ShowTimer->stop();
    QDialog::closeEvent(event);
}

void TwShowbox::done(int r)
{
    CloseTimer->stop();
    ShowTimer->stop();
    QDialog::done(r);
    if (testAttribute(Qt::WA_DeleteOnClose))
        deleteLater();
}

void TwShowbox::CloseTimerTimer()
{
    CloseTimer->stop();
    close();
}

void TwShowbox::ShowTimerTimer()
{
    ++m_takte;
    if (m_takte % 2 == 1) {
        bool ok = false;
        const int s = Sekunden->text().toInt(&ok);
        // The countdown stops at 0 for boxes that close late or never by themselves.
        Sekunden->setText(QString::number(qMax(0, (ok ? s : 0) - 1)));
    }
}

void TwShowbox::OKBtnClick()
{
    CloseTimer->stop();
    close();
}

void TwShowbox::CancelBtnClick()
{
    CloseTimer->stop();
    close();
}
