#pragma once

// The system's request to end the program, as a desktop sends it at shutdown or at the end of
// a session: here the signals SIGTERM (shutdown, session end), SIGHUP (its terminal closed)
// and SIGINT (Ctrl+C). While a SystemSignale lives, each of them that was not ignored when it
// was made is caught; it may be made before the application object. The handler only notes the
// signal; Ende is emitted in the event loop, and only once something is connected to it: a
// signal that comes before is kept until then. One object at a time catches; a second one made
// meanwhile catches nothing.

#include <QList>
#include <QMetaMethod>
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

protected:
    void connectNotify(const QMetaMethod &Signal) override;

private:
    void Lesen();

    bool mEigen = false; // this object holds the pair
    QSocketNotifier *mMelder = nullptr; // made once Ende has a receiver
    QList<int> mGefangen;
    QList<struct sigaction> mVorher; // one for each signal caught
};
