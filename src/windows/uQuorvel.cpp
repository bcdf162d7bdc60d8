#include "windows/uQuorvel.h"

#include "controller/uQuorvelEngine.h"

#include <QListView>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

TwQuorvel::TwQuorvel(QuorvelService *service, QWidget *parent)
    : QWidget(parent, Qt::Window), mService(service)
{
    setObjectName(QStringLiteral("wQuorvel"));
    setWindowTitle(QStringLiteral("Quorvel"));
    resize(700, 400);

    Makros = new QListView(this);
    Makros->setObjectName(QStringLiteral("Makros"));
    Makros->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Makros->setModel(mService->Makros());

    QorMeldung = new QPlainTextEdit(this);
    QorMeldung->setObjectName(QStringLiteral("QorMeldung"));
    QorMeldung->setReadOnly(true);
    QorMeldung->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QorMeldung->setFixedHeight(60);
    for (const QString &z : mService->QorMeldung())
        QorMeldung->appendPlainText(z);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Makros, 1);
    layout->addWidget(QorMeldung);

    connect(mService, &QuorvelService::QorMeldungZeile, this, &TwQuorvel::MemoZeileZeigen);
    connect(mService, &QuorvelService::QorMeldungGeleert, QorMeldung, &QPlainTextEdit::clear);
    TransferDekoderEinsetzen();
}

TwQuorvel::~TwQuorvel() = default;

void TwQuorvel::Init(qint32 Nummer, const QString &Adresse)
{
    setWindowTitle(QStringLiteral("Quorvel ") + QString::number(Nummer));
    mService->Adresse = Adresse;
    mService->Nummer = Nummer;
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

void TwQuorvel::MemoZeileZeigen(const QString &Text)
{
    // At most 1000 lines before the new one, oldest first out.
    while (QorMeldung->blockCount() > 1000) {
        QTextCursor c(QorMeldung->document()->firstBlock());
        c.select(QTextCursor::BlockUnderCursor);
        c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    QorMeldung->appendPlainText(Text);
}

void TwQuorvel::WoPrgAnzeigen(const TQorWochPrg &Prog)
{
    WochPrg = Prog;
}

void TwQuorvel::NvAnzeigen(const TQorNivorell &Prog)
{
    NvProg = Prog;
}

void TwQuorvel::GaerProgAnzeigen(const TQorGaerProg &Prog)
{
    GaerProg = Prog;
}
