#include "support/uAbout.h"

#include "support/Version.h"
#include "support/uProgramm.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

TAboutBox::TAboutBox(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("Info"));
    setModal(true);

    ProgramIcon = new QLabel(this);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setFixedSize(32, 32);
    ProgramIcon->setPixmap(QApplication::windowIcon().isNull()
                               ? style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32)
                               : QApplication::windowIcon().pixmap(32, 32));
    ProductName = new QLabel(QStringLiteral("MiniQuorvel"), this);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    ProductName->setAlignment(Qt::AlignCenter);
    Version = new QLabel(this);
    Version->setObjectName(QStringLiteral("Version"));
    Comments = new QLabel(QStringLiteral("Programm zum Daten-Empfang der Quorvel-Steuerung"), this);
    Comments->setObjectName(QStringLiteral("Comments"));
    Comments->setWordWrap(true);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto *oben = new QGridLayout;
    oben->addWidget(ProgramIcon, 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignTop);
    oben->addWidget(ProductName, 0, 1);
    oben->addWidget(Version, 1, 1);
    oben->addWidget(Comments, 2, 0, 1, 2);
    auto *knopf = new QHBoxLayout;
    knopf->addStretch();
    knopf->addWidget(OKButton);
    knopf->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(oben);
    layout->addLayout(knopf);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
    // The new version line may change the box's size: take it before centring.
    layout()->activate();
    if (const QScreen *s = screen())
        move(pos() + s->geometry().center() - frameGeometry().center());
}

void TAboutBox::FormShow()
{
    const QString text = ProgrammVorhanden() && P().fVersion ? P().fVersion->VersionText : QStringLiteral("0.0.0.0");
    Version->setText(QStringLiteral("Version ") + text);
}
