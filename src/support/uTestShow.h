#pragma once

// The version notice shown at start by test builds.

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;
class QTimer;

// The release number of a version text: the part between the second "." and the next blank.
QString ReleaseTeil(const QString &VersionText);
// A test build (release not "0", or no version) shows the notice unless an argument is the service word.
bool VersionshinweisFaellig(const QString &VersionText, const QStringList &Argumente);

class TTestShow : public QWidget
{
    Q_OBJECT
public:
    explicit TTestShow(QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Panel2 = nullptr;
    QPushButton *Button1 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *BlinkTimer = nullptr;

    // The command line the check looks at; the program's own at creation.
    QStringList Argumente;

public slots:
    void Timer1Timer();
    void BlinkTimerTimer();
    void Button1Click();

private:
    QString m_gemerkt;
};
