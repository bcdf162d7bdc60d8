#pragma once

// The system's request to end the program, as a desktop sends it at shutdown or at the end of
// a session: here the signals SIGTERM (shutdown, session end), SIGHUP (its terminal closed)
// and SIGINT (Ctrl+C). While a SystemSignale lives, each of them that was not ignored when it
// was made is caught. The handler only notes the signal; Ende is emitted in the event loop.
// One object at a time catches; a second one made meanwhile catches nothing.

#include <QList>
#include <QObject>

#include <csignal>

class QSocketNotifier;

class SystemSignale : public QObject
{
    Q_OBJECT

public:
    explicit SystemSignale(QObject *Eltern = nullptr);
    ~SystemSignale() override;
    SystemSignale(const SystemSignale &) = delete;
    SystemSignale &operator=(const SystemSignale &) = delete;

    // The signals caught, in the order SIGTERM, SIGHUP, SIGINT.
    QList<int> Gefangen() const { return mGefangen; }

signals:
    void Ende(int Signal);

private:
    void Lesen();

    QSocketNotifier *mMelder = nullptr;
    QList<int> mGefangen;
    QList<struct sigaction> mVorher; // one for each signal caught
};
