#include "support/uTestShow.h"

#include "platform/uPlattform.h"
#include "support/Sammlung.h"
#include "support/Version.h"
#include "support/uProgramm.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString Englisch = QStringLiteral("For internal test purposes only!");

} // namespace

QString ReleaseTeil(const QString &VersionText)
{
    QString rest = VersionText;
    QString teil;
    TeilString(QLatin1Char('.'), rest, teil);
    TeilString(QLatin1Char('.'), rest, teil);
    TeilString(QLatin1Char(' '), rest, teil);
    return teil;
}

bool VersionshinweisFaellig(const QString &VersionText, const QStringList &Argumente)
{
    if (ReleaseTeil(VersionText) == QLatin1String("0"))
        return false;
    for (const QString &a : Argumente)
        if (a.toUpper() == QLatin1String("VOXIM"))
            return false;
    return true;
}

TTestShow::TTestShow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , Argumente(QCoreApplication::arguments())
{
    setObjectName(QStringLiteral("TestShow"));
    setFixedSize(366, 215);

    Label1 = new QLabel(QStringLiteral("Testversion"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("Bitte nur zu internen Tests verwenden!"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    for (auto [l, px] : {std::pair{Label1, 19}, std::pair{Label2, 13}}) {
        QFont f = l->font();
        f.setBold(true);
        f.setPixelSize(px);
        l->setFont(f);
        l->setAlignment(Qt::AlignCenter);
        l->setStyleSheet(QStringLiteral("color: red"));
    }
    Panel2 = new QLabel(QStringLiteral("Es handelt sich um eine interne Version."), this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setAlignment(Qt::AlignCenter);
    Panel2->hide();
    Button1 = new QPushButton(QStringLiteral("Fenster schließen"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(Button1, &QPushButton::clicked, this, &TTestShow::Button1Click);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addSpacing(9);
    layout->addWidget(Panel2);
    layout->addStretch();
    auto *leiste = new QWidget(this);
    leiste->setFixedHeight(56);
    auto *leisteLayout = new QHBoxLayout(leiste);
    leisteLayout->addStretch();
    leisteLayout->addWidget(Button1);
    leisteLayout->addStretch();
    layout->addWidget(leiste);

    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        if (const QScreen *s = QGuiApplication::primaryScreen())
            move(s->availableGeometry().center() - rect().center());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TTestShow::Timer1Timer);
    BlinkTimer = new QTimer(this);
    BlinkTimer->setObjectName(QStringLiteral("BlinkTimer"));
    BlinkTimer->setInterval(2000);
    connect(BlinkTimer, &QTimer::timeout, this, &TTestShow::BlinkTimerTimer);
    Timer1->start();
}

void TTestShow::Timer1Timer()
{
    setWindowTitle(QCoreApplication::applicationName());
    Timer1->stop();
    const QString version = ProgrammVorhanden() && P().fVersion ? P().fVersion->VersionText : QString();
    bool faellig = false;
    if (ReleaseTeil(version) != QLatin1String("0")) {
        Panel2->setText(Panel2->text() + QStringLiteral(" (") + version + QLatin1Char(')'));
        Panel2->show();
        BlinkTimer->start();
        faellig = true;
    }
    if (faellig && !VersionshinweisFaellig(version, Argumente))
        faellig = false;
    if (faellig) {
        show();
        Piepton();
    } else {
        close();
    }
}

void TTestShow::BlinkTimerTimer()
{
    if (Label2->text() != Englisch) {
        m_gemerkt = Label2->text();
        Label2->setText(Englisch);
    } else {
        Label2->setText(m_gemerkt);
    }
    if (isVisible())
        Button1->setFocus();
}

void TTestShow::Button1Click()
{
    close();
}
