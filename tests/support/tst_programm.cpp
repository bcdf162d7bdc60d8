#include "support/uProgramm.h"

#include <QtTest>

// Each test starts with fresh program-wide values.
class TestProgramm : public QObject
{
    Q_OBJECT
private slots:
    void freshValuesPerInstance()
    {
        {
            Programm p;
            QVERIFY(ProgrammVorhanden());
            P().ModulName = QStringLiteral("X");
            P().FirmwareAb352 = false;
        }
        QVERIFY(!ProgrammVorhanden());
        Programm p;
        QVERIFY(P().ModulName.isEmpty());
        QVERIFY(P().FirmwareAb352);
        QCOMPARE(P().GaerProgLaenge, quint8(56));
        QCOMPARE(P().CheckTimerSekunden, 90);
    }
};

QTEST_GUILESS_MAIN(TestProgramm)
#include "tst_programm.moc"
