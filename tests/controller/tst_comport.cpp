// The serial port component on a pseudo-terminal: line settings, reading and writing, the
// failures it raises, and a device that goes away and comes back.

#include "controller/ComPort.h"
#include "ptyleitung.h"
#include "support/uProgramm.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <ctime>
#include <memory>

class TestComPort : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> programm;
    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<PtyLeitung> leitung;
    QuorvelSimulator *sim = nullptr;
    PtySimulator *pty = nullptr;
    std::unique_ptr<ComPort> port;

    // Everything the port has received within ms, read byte by byte.
    QByteArray empfangen(int ms)
    {
        QByteArray b;
        (void)QTest::qWaitFor(
            [&] {
                try {
                    for (;;)
                        b += port->ReadChar();
                } catch (const ComPortFehler &) {
                }
                return b.endsWith('\r');
            },
            ms);
        return b;
    }

private slots:
    void init()
    {
        programm = std::make_unique<Programm>();
        dir = std::make_unique<QTemporaryDir>();
        P().Programmverzeichnis = dir->path() + QLatin1Char('/');
        leitung = std::make_unique<PtyLeitung>(dir->path(), 5);
        QVERIFY2(leitung->laeuft(), qPrintable(leitung->fehler()));
        sim = leitung->sim.get();
        pty = leitung->pty.get();
        port = std::make_unique<ComPort>();
        port->setComNumber(5);
    }
    void cleanup()
    {
        port.reset();
        pty = nullptr;
        sim = nullptr;
        leitung.reset();
        dir.reset();
        programm.reset();
    }

    // 9600 baud, 8 data bits, no parity, one stop bit, no flow control; a pty refuses RS-485
    // direction control, which is no failure.
    void leitungseinstellungen()
    {
        port->setOpen(true);
        QVERIFY(port->Open());
        QCOMPARE(port->Geraet(), pty->linkPfad());
        QVERIFY(!port->RS485Aktiv());

        const int fd = ::open(pty->slavePfad().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        QVERIFY(fd >= 0);
        termios t{};
        QCOMPARE(::tcgetattr(fd, &t), 0);
        ::close(fd);
        QCOMPARE(cfgetospeed(&t), speed_t(B9600));
        QCOMPARE(cfgetispeed(&t), speed_t(B9600));
        QCOMPARE(t.c_cflag & CSIZE, tcflag_t(CS8));
        QVERIFY(!(t.c_cflag & PARENB));
        QVERIFY(!(t.c_cflag & CSTOPB));
        QVERIFY(!(t.c_cflag & CRTSCTS));
        QVERIFY(!(t.c_iflag & (IXON | IXOFF)));
    }

    // A frame out, the reply in: the notification tells how many bytes wait, ReadChar takes
    // them one by one and raises once none is left.
    void schreibenUndLesen()
    {
        QSignalSpy da(port.get(), &QuorvelPort::OnTriggerAvail);
        port->WriteString(QStringLiteral("06005810170000001C\r"));   // opens by itself
        QVERIFY(port->Open());
        QVERIFY(da.wait(3000));
        QVERIFY(da.first().first().toInt() > 0);
        QVERIFY(da.first().first().toInt() <= ComPort::PufferGroesse);
        const QByteArray antwort = empfangen(3000);
        QCOMPARE(antwort.left(6), QByteArray("060058"));
        QCOMPARE(antwort.size(), 83);
        QVERIFY_THROWS_EXCEPTION(ComPortFehler, port->ReadChar());
        QCOMPARE(sim->empfangeneFrames().size(), 1);
    }

    void fehler()
    {
        // Closed, without opening on demand.
        port->setAutoOpen(false);
        QVERIFY_THROWS_EXCEPTION(ComPortFehler, port->WriteString(QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(ComPortFehler, port->ReadChar());
        QVERIFY_THROWS_EXCEPTION(ComPortFehler, port->ProcessPending());
        // A number without a device.
        port->setComNumber(100);
        QVERIFY_THROWS_EXCEPTION(ComPortFehler, port->setOpen(true));
        QVERIFY(!port->Open());
        // More than the transmit buffer takes at once.
        port->setComNumber(5);
        port->setOpen(true);
        QVERIFY_THROWS_EXCEPTION(ComPortFehler, port->WriteString(QString(ComPort::PufferGroesse + 1, QLatin1Char('A'))));
        port->ProcessPending();
    }

    // Unplugged: closed once, reported once, no busy loop; plugged in again: the next write
    // opens the port and the controller answers.
    void geraetWegUndWieder()
    {
        QSignalSpy getrennt(port.get(), &QuorvelPort::Getrennt);
        port->WriteString(QStringLiteral("06005810170000001C\r"));
        QVERIFY(!empfangen(3000).isEmpty());
        pty->schliessen();
        QVERIFY(getrennt.wait(3000));
        QVERIFY(!port->Open());
        const std::clock_t cpu = std::clock();
        QTest::qWait(1000);
        QVERIFY(double(std::clock() - cpu) / CLOCKS_PER_SEC < 0.5);
        QCOMPARE(getrennt.size(), 1);

        QVERIFY_THROWS_EXCEPTION(ComPortFehler, port->WriteString(QStringLiteral("06005810170000001C\r")));
        QVERIFY2(pty->neuStarten(), qPrintable(pty->fehler()));
        port->WriteString(QStringLiteral("06005810170000001C\r"));
        QVERIFY(port->Open());
        QCOMPARE(empfangen(3000).size(), 83);
        QCOMPARE(getrennt.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestComPort)
#include "tst_comport.moc"
