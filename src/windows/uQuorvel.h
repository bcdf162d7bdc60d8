#pragma once

// The service window: the command queue Makros and the message memo QorMeldung of the engine's
// service side. The rest of the window is added around these.

#include <QString>
#include <QWidget>

class QListView;
class QPlainTextEdit;
class QuorvelService;
class QuorvelBefehl;

class TwQuorvel : public QWidget
{
    Q_OBJECT
public:
    // The service side stays owned by the engine.
    explicit TwQuorvel(QuorvelService *service, QWidget *parent = nullptr);
    ~TwQuorvel() override;

    // Caption "Quorvel <Nummer>"; the command objects are the engine's (made at its creation).
    void Init(qint32 Nummer, const QString &Adresse);

    QuorvelService *Service() const { return mService; }
    void MakroHinzufuegen(const QString &Zeile);
    void FensterWarteZustand(qint32 Intervall, bool ResetVersuche, bool Warten);
    void MeldungMemoZeile(const QString &Text);

    QListView *Makros;
    QPlainTextEdit *QorMeldung;

private:
    void MemoZeileZeigen(const QString &Text);

    QuorvelService *mService;
};
