#include "windows/uMiniQuorvel.h"

#include "controller/ComPort.h"
#include "controller/uQuorvelBefehle.h"
#include "controller/uQuorvelEngine.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"
#include "windows/uQuorvel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QListWidget *Liste(QWidget *parent, const char *name)
{
    auto *l = new QListWidget(parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QGroupBox *Gruppe(QWidget *parent, const char *name, const QString &titel, QWidget *inhalt)
{
    auto *g = new QGroupBox(titel, parent);
    g->setObjectName(QString::fromLatin1(name));
    auto *l = new QVBoxLayout(g);
    l->addWidget(inhalt);
    return g;
}

} // namespace

TwMiniQuorvel::TwMiniQuorvel(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("wMiniQuorvel"));
    if (ProgrammVorhanden())
        P().wMiniQuorvel = this;
    P().ModulName = QStringLiteral("MiniQuorvel");
    setWindowTitle(P().ModulName);
    resize(671, 732);

    auto *mitte = new QWidget(this);
    mitte->setObjectName(QStringLiteral("Fensterpanel"));
    setCentralWidget(mitte);

    MitEchoRS485 = new QCheckBox(QStringLiteral("MitEchoRS485"), mitte);
    MitEchoRS485->setObjectName(QStringLiteral("MitEchoRS485"));
    QuorvelAdrEdit = new QLineEdit(QStringLiteral("0600"), mitte);
    QuorvelAdrEdit->setObjectName(QStringLiteral("QuorvelAdrEdit"));
    QuorvelAdrEdit->setMaxLength(4);
    LBout = Liste(mitte, "LBout");
    LBIn = Liste(mitte, "LBIn");
    LBError = Liste(mitte, "LBError");
    LastError = new QLabel(QStringLiteral("LastError"), mitte);
    LastError->setObjectName(QStringLiteral("LastError"));
    LastError->setMaximumWidth(300);

    auto *raster = new QGridLayout(mitte);
    auto *com = new QGroupBox(QStringLiteral("Schnittstelle"), mitte);
    com->setObjectName(QStringLiteral("ComBox"));
    (new QVBoxLayout(com))->addWidget(MitEchoRS485);
    auto *adr = new QGroupBox(QStringLiteral("Quorvel-Adr"), mitte);
    adr->setObjectName(QStringLiteral("QuorvelBox"));
    (new QVBoxLayout(adr))->addWidget(QuorvelAdrEdit);
    raster->addWidget(com, 0, 0);
    raster->addWidget(adr, 0, 1);
    raster->addWidget(Gruppe(mitte, "Befehl_Box", QStringLiteral("Befehl vom PC:"), LBout), 1, 0, 1, 2);
    raster->addWidget(Gruppe(mitte, "AntwortBox", QStringLiteral("Antwort der Steuerung:"), LBIn), 2, 0, 1, 2);
    raster->addWidget(Gruppe(mitte, "FehlerBox", QStringLiteral("Fehler:"), LBError), 3, 0, 1, 2);
    raster->addWidget(LastError, 4, 0, 1, 2);

    mComPort = new ComPort(this);
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
    connect(mEngine, &QuorvelEngine::HauptfensterSchliessen, this, &QWidget::close);
    connect(mEngine, &QuorvelEngine::Meldungsbox, this, [this](const QString &caption, const QString &text) {
        QMessageBox::critical(this, caption, text, QMessageBox::Ok);
    });

    ServiceFensterErzeugen(0);
    P().Beenden = false;
    mEngine->Starten();
}

TwMiniQuorvel::~TwMiniQuorvel()
{
    delete mServiceFenster;
    mServiceFenster = nullptr;
    delete mEngine;
    mEngine = nullptr;
    if (ProgrammVorhanden() && P().wMiniQuorvel == this)
        P().wMiniQuorvel = nullptr;
}

void TwMiniQuorvel::ServiceFensterErzeugen(qint32 Nummer)
{
    // The engine made the service side and its command objects; the window shows them.
    mServiceFenster = new TwQuorvel(mEngine->Service(), this);
    mServiceFenster->Init(Nummer, Nummer == 0 ? QStringLiteral("xxxx") : QuorvelAdrEdit->text());
}

void TwMiniQuorvel::Kommando(const QString &Topic, const QString &Text)
{
    mEngine->Kommando(Topic, Text);
}

void TwMiniQuorvel::PortWarten()
{
    mEngine->PortWarten();
}

void TwMiniQuorvel::ListenZeile(QListWidget *liste, const QString &Text)
{
    while (liste->count() > 1000)
        delete liste->takeItem(0);
    liste->addItem(Text);
    liste->setCurrentRow(liste->count() - 1);
}

void TwMiniQuorvel::GesendetZeile(const QString &Text)
{
    ListenZeile(LBout, Text);
}

void TwMiniQuorvel::EmpfangenZeile(const QString &Text)
{
    ListenZeile(LBIn, Text);
}

void TwMiniQuorvel::FehlerZeile(const QString &Text)
{
    ListenZeile(LBError, Text);
}

void TwMiniQuorvel::closeEvent(QCloseEvent *event)
{
    P().Beenden = true;
    mEngine->TimerHerz->stop();
    if (mComPort->Open()) {
        try {
            mComPort->setOpen(false);
        } catch (const std::exception &) {
            ErrSchreiben(P().ModulName, QStringLiteral("PacketCloseError"));
        }
    }
    event->accept();
}

void TwMiniQuorvel::BedienungFreigeben(bool)
{
}

void TwMiniQuorvel::FortschrittZeigen(qint32)
{
}

void TwMiniQuorvel::FortschrittAktualisieren(qint32)
{
}
