#pragma once

// Self-closing, non-modal message boxes.

#include <QColor>
#include <QDialog>
#include <QPoint>
#include <QSize>
#include <QString>

class QLabel;
class QPushButton;
class QTimer;
class QWidget;

void ShowText(const QString &Caption, const QString &Text, qint32 Zeit);
void ShowErr(const QString &Caption, const QString &Text, qint32 Zeit);

// Top-left corner of box number Zaehler (2 or later) on a screen of the given size.
QPoint ShowboxPosition(qint32 Zaehler, QSize Bildschirm);
// Deletes the boxes still alive (at the end of the program).
void ShowboxenFreigeben();

class TwShowbox : public QDialog
{
    Q_OBJECT
public:
    explicit TwShowbox(QWidget *parent = nullptr);
    ~TwShowbox() override;

    // Splits the text into the four lines, sizes and shows the box.
    void Anzeigen(const QString &Caption, const QString &Text, const QColor &Farbe);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QWidget *Panel1 = nullptr;
    QLabel *Label5 = nullptr;
    QLabel *Sekunden = nullptr;
    QLabel *Label7 = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
    QTimer *CloseTimer = nullptr;
    QTimer *ShowTimer = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void done(int r) override;

private slots:
    void CloseTimerTimer();
    void ShowTimerTimer();
    void OKBtnClick();
    void CancelBtnClick();

private:
    void Anordnen();
    int m_takte = 0;
    int m_breite = 177; // client width, grows with long lines
};
