#include "controller/ComPort.h"

#include "platform/PortNamen.h"
#include "support/uProgramm.h"

#ifdef Q_OS_LINUX
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

ComPort::ComPort(QObject *parent) : QuorvelPort(parent)
{
    setObjectName(QStringLiteral("ComPort"));
    connect(&mPort, &QSerialPort::readyRead, this, &ComPort::DatenDa);
    connect(&mPort, &QSerialPort::errorOccurred, this, &ComPort::Fehler);
}

ComPort::~ComPort()
{
    disconnect(&mPort, nullptr, this, nullptr);
    if (mPort.isOpen())
        mPort.close();
}

bool ComPort::Open() const
{
    return mPort.isOpen();
}

void ComPort::setOpen(bool offen)
{
    if (offen) {
        if (!mPort.isOpen())
            Oeffnen();
    } else if (mPort.isOpen()) {
        mPort.close();
    }
}

void ComPort::Oeffnen()
{
    const QString verzeichnis = ProgrammVorhanden() ? P().Programmverzeichnis : QString();
    mGeraet = ComGeraet(mComNumber, verzeichnis);
    if (mGeraet.isEmpty())
        throw ComPortFehler(QStringLiteral("COM%1: keine solche Schnittstelle").arg(mComNumber));
    mPort.setPortName(mGeraet);
    mPort.setBaudRate(mBaud);
    mPort.setDataBits(QSerialPort::Data8);
    mPort.setParity(QSerialPort::NoParity);
    mPort.setStopBits(QSerialPort::OneStop);
    mPort.setFlowControl(QSerialPort::NoFlowControl);
    mPort.setReadBufferSize(PufferGroesse);
    if (!mPort.open(QIODevice::ReadWrite)) {
        const QString text = QStringLiteral("COM%1: %2").arg(mComNumber).arg(mPort.errorString());
        mPort.clearError();
        throw ComPortFehler(text);
    }
    // A pseudo-terminal has no modem lines: that is not a failure.
    mPort.setDataTerminalReady(false);
    mPort.setRequestToSend(false);
    mPort.clearError();

    mRS485Aktiv = false;
#ifdef Q_OS_LINUX
    if (mRS485) {
        struct serial_rs485 rs485 = {};
        rs485.flags = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
        // Drivers without direction control refuse (ENOTTY, EINVAL): normal, nothing to report.
        mRS485Aktiv = ::ioctl(int(mPort.handle()), TIOCSRS485, &rs485) == 0;
    }
#endif
}

void ComPort::WriteString(const QString &text)
{
    if (!mPort.isOpen()) {
        if (!mAutoOpen)
            throw ComPortFehler(QStringLiteral("COM%1 ist nicht geöffnet").arg(mComNumber));
        Oeffnen();
    }
    const QByteArray bytes = text.toLatin1();
    if (mPort.bytesToWrite() + bytes.size() > PufferGroesse)
        throw ComPortFehler(QStringLiteral("COM%1: Sendepuffer voll").arg(mComNumber));
    if (mPort.write(bytes) != bytes.size())
        throw ComPortFehler(QStringLiteral("COM%1: %2").arg(mComNumber).arg(mPort.errorString()));
}

char ComPort::ReadChar()
{
    char c = 0;
    if (!mPort.isOpen() || !mPort.getChar(&c))
        throw ComPortFehler(QStringLiteral("COM%1: nichts empfangen").arg(mComNumber));
    return c;
}

void ComPort::ProcessPending()
{
    if (!mPort.isOpen())
        throw ComPortFehler(QStringLiteral("COM%1 ist nicht geöffnet").arg(mComNumber));
    mPort.flush();
}

void ComPort::DatenDa()
{
    const qint64 n = mPort.bytesAvailable();
    if (n > 0)
        emit OnTriggerAvail(int(qMin<qint64>(n, PufferGroesse)));
}

void ComPort::Fehler(QSerialPort::SerialPortError fehler)
{
    switch (fehler) {
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
    case QSerialPort::DeviceNotFoundError:
        break;
    default:
        // Modem lines on a pseudo-terminal, time-outs and the like: nothing lost.
        return;
    }
    if (!mPort.isOpen())
        return;
    // The device is gone: close once, report once; the next write opens it again.
    const QString text = QStringLiteral("COM%1: Verbindung unterbrochen (%2)")
                             .arg(mComNumber)
                             .arg(mPort.errorString());
    mPort.close();
    mPort.clearError();
    emit Getrennt(text);
}
