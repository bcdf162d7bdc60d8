#pragma once

// The serial port of the main window: 9600 8N1 without flow control, DTR and RTS low, RS-485
// direction control where the driver offers it, 4096-byte buffers. Failures raise ComPortFehler.

#include "controller/uQuorvelPort.h"

#include <QSerialPort>
#include <QString>

class ComPort : public QuorvelPort
{
    Q_OBJECT
public:
    static constexpr int PufferGroesse = 4096;

    explicit ComPort(QObject *parent = nullptr);
    ~ComPort() override;

    // Port number n of "COMn"; the next open uses it.
    int ComNumber() const { return mComNumber; }
    void setComNumber(int nummer) { mComNumber = nummer; }
    qint32 Baud() const { return mBaud; }
    void setBaud(qint32 baud) { mBaud = baud; }
    bool RS485Mode() const { return mRS485; }
    void setRS485Mode(bool an) { mRS485 = an; }

    bool Open() const override;
    void setOpen(bool offen) override;
    bool AutoOpen() const override { return mAutoOpen; }
    void setAutoOpen(bool an) override { mAutoOpen = an; }
    void WriteString(const QString &text) override;
    char ReadChar() override;
    void ProcessPending() override;

    // Device path of the last open.
    QString Geraet() const { return mGeraet; }
    // True when the last open switched the driver to RS-485 direction control.
    bool RS485Aktiv() const { return mRS485Aktiv; }

private:
    void Oeffnen();
    void DatenDa();
    void Fehler(QSerialPort::SerialPortError fehler);

    QSerialPort mPort;
    int mComNumber = 7;
    qint32 mBaud = 9600;
    bool mRS485 = true;
    bool mRS485Aktiv = false;
    bool mAutoOpen = true;
    QString mGeraet;
};
