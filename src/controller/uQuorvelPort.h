#pragma once

// What the command engine needs of a serial port. ComPort is the real one; tests use fakes.

#include <QObject>
#include <QString>

#include <stdexcept>

// A failed port operation; raised to the caller.
class ComPortFehler : public std::runtime_error
{
public:
    explicit ComPortFehler(const QString &text) : std::runtime_error(text.toStdString()) {}
    QString Text() const { return QString::fromStdString(what()); }
};

class QuorvelPort : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~QuorvelPort() override = default;

    virtual bool Open() const = 0;
    virtual void setOpen(bool offen) = 0;                 // raises ComPortFehler
    virtual bool AutoOpen() const = 0;
    virtual void setAutoOpen(bool an) = 0;
    virtual void WriteString(const QString &text) = 0;    // raises ComPortFehler
    virtual char ReadChar() = 0;                          // raises ComPortFehler when nothing waits
    virtual void ProcessPending() = 0;                    // raises ComPortFehler while it cannot

signals:
    // Bytes have arrived; Count of them wait unread. Delivered on the UI thread.
    void OnTriggerAvail(int Count);
    // The device went away; the port has been closed. Sent once per loss.
    void Getrennt(const QString &Text);
};
