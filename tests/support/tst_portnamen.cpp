#include "platform/PortNamen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

class TestPortNamen : public QObject
{
    Q_OBJECT
private slots:
    void standardgeraete_data();
    void standardgeraete();
    void linkGehtVor();
    void vorhanden();
};

void TestPortNamen::standardgeraete_data()
{
    QTest::addColumn<int>("nummer");
    QTest::addColumn<QString>("geraet");
    QTest::newRow("COM1") << 1 << QStringLiteral("/dev/ttyS0");
    QTest::newRow("COM32") << 32 << QStringLiteral("/dev/ttyS31");
    QTest::newRow("COM33") << 33 << QStringLiteral("/dev/ttyUSB0");
    QTest::newRow("COM64") << 64 << QStringLiteral("/dev/ttyUSB31");
    QTest::newRow("COM65") << 65 << QStringLiteral("/dev/ttyACM0");
    QTest::newRow("COM96") << 96 << QStringLiteral("/dev/ttyACM31");
    QTest::newRow("COM97 nur Link") << 97 << QString();
    QTest::newRow("COM128 nur Link") << 128 << QString();
    QTest::newRow("COM0") << 0 << QString();
    QTest::newRow("COM129") << 129 << QString();
    QTest::newRow("negativ") << -1 << QString();
}

void TestPortNamen::standardgeraete()
{
    QFETCH(int, nummer);
    QFETCH(QString, geraet);
    QTemporaryDir dir;   // a program folder without ports/
    QVERIFY(dir.isValid());
    QCOMPARE(ComGeraet(nummer, dir.path()), geraet);
    QCOMPARE(ComGeraet(nummer, QString()), geraet);
}

void TestPortNamen::linkGehtVor()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("ports")));
    const QString ports = dir.filePath(QStringLiteral("ports/"));

    QVERIFY(QFile::link(QStringLiteral("/dev/null"), ports + QStringLiteral("COM3")));
    QCOMPARE(ComGeraet(3, dir.path()), ports + QStringLiteral("COM3"));
    QCOMPARE(ComGeraet(4, dir.path()), QStringLiteral("/dev/ttyS3"));

    // Links reach the numbers without a standard device, and a dangling one still names the port.
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("fehlt")), ports + QStringLiteral("COM128")));
    QCOMPARE(ComGeraet(128, dir.path()), ports + QStringLiteral("COM128"));
    // A plain node counts as well; out of range stays empty.
    QFile datei(ports + QStringLiteral("COM40"));
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.close();
    QCOMPARE(ComGeraet(40, dir.path()), ports + QStringLiteral("COM40"));
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), ports + QStringLiteral("COM129")));
    QCOMPARE(ComGeraet(129, dir.path()), QString());
}

void TestPortNamen::vorhanden()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("ports")));
    const QString ports = dir.filePath(QStringLiteral("ports/"));

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
    char slave[128] = {};
    QVERIFY(::ptsname_r(master, slave, sizeof slave) == 0);

    QVERIFY(QFile::link(QString::fromLocal8Bit(slave), ports + QStringLiteral("COM100")));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("fehlt")), ports + QStringLiteral("COM101")));
    QVERIFY(QFile::link(dir.path(), ports + QStringLiteral("COM102")));
    QFile datei(ports + QStringLiteral("COM103"));
    QVERIFY(datei.open(QIODevice::WriteOnly));
    datei.close();

    QVERIFY(ComVorhanden(100, dir.path()));     // link to a terminal
    QVERIFY(!ComVorhanden(101, dir.path()));    // dangling link
    QVERIFY(!ComVorhanden(102, dir.path()));    // directory
    QVERIFY(!ComVorhanden(103, dir.path()));    // plain file
    QVERIFY(!ComVorhanden(104, dir.path()));    // nothing at all
    QVERIFY(!ComVorhanden(0, dir.path()));

    // The pair gone, the same link no longer counts.
    ::close(master);
    QVERIFY(!ComVorhanden(100, dir.path()));
}

QTEST_GUILESS_MAIN(TestPortNamen)
#include "tst_portnamen.moc"
