// The operator's round trips from the main window against the simulator on a pseudo-terminal:
// read the weekly program, change a cell, write it back; set the clock in both firmware families.

#include "testtexte.h"
#include "windows/ptyfenster_umgebung.h"

#include "controller/ComPort.h"
#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uShowbox.h"
#include "windows/uQuorvel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {

// Day d: program d+1, mode 2, end day 1, end time 06:00 + d hours.
QString Woche()
{
    QString s;
    for (int d = 0; d < 7; ++d)
        s += Hex4(d + 1) + Hex4(2) + Hex4(1) + Hex4(360 + 60 * d);
    return s;
}

int Boxen()
{
    int n = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (qobject_cast<TwShowbox *>(w) && w->isVisible())
            ++n;
    return n;
}

} // namespace

class TestWocheUhrPty : public QObject
{
    Q_OBJECT

    std::unique_ptr<PtyFensterumgebung> u;
    QuorvelSimulator *sim = nullptr;
    TwMiniQuorvel *fenster = nullptr;

    void starten(bool alteFirmware)
    {
        u = std::make_unique<PtyFensterumgebung>(9);
        QVERIFY2(u->leitung.laeuft(), qPrintable(u->leitung.fehler()));
        sim = u->sim;
        sim->setAlteFirmware(alteFirmware);
        fenster = u->anschliessen();
        QVERIFY(u->angeschlossen());
    }

private slots:
    void cleanup()
    {
        if (u)
            u->fenster.reset();
        fenster = nullptr;
        sim = nullptr;
        ShowboxenFreigeben();
        u.reset();
    }

    // What the operator changes in the grid is what the controller holds afterwards; nothing
    // else of the program changes on the way.
    void wochenprogrammAendernUndSchreiben()
    {
        starten(false);
        sim->setWochenprogramm(Woche().toLatin1());
        fenster->LesenWoPrg->click();
        QVERIFY(QTest::qWaitFor([this] { return fenster->WochenProgramme->isEnabled(); }, 20000));
        QCOMPARE(fenster->NachtStarts->item(3, 2)->text(), QStringLiteral("3"));   // Wednesday, PRG

        // Wednesday gets program 9 and end time 21:15, typed as the operator does.
        fenster->NachtStarts->item(3, 2)->setText(QStringLiteral("9"));
        fenster->NachtStarts->item(3, 4)->setText(QStringLiteral("21:15"));
        fenster->NachtStarts->setCurrentCell(1, 1);
        fenster->SendenWoPrg->click();
        QVERIFY(QTest::qWaitFor([this] { return fenster->WochenProgramme->isEnabled(); }, 20000));

        QString erwartet = Woche();
        erwartet.replace(2 * 16, 4, Hex4(9));
        erwartet.replace(2 * 16 + 12, 4, Hex4(21 * 60 + 15));
        QCOMPARE(QString::fromLatin1(sim->wochenprogramm()), erwartet);
    }

    void uhrStellen_data()
    {
        QTest::addColumn<bool>("alteFirmware");
        QTest::addColumn<bool>("sommer");
        QTest::newRow("V352, Sommer") << false << true;
        QTest::newRow("V352, Winter") << false << false;
        QTest::newRow("V351, Sommer") << true << true;
        QTest::newRow("V351, Winter") << true << false;
    }
    // The clock registers of the controller's firmware family receive the PC's time and the
    // summer flag; the other family's registers stay untouched.
    void uhrStellen()
    {
        QFETCH(bool, alteFirmware);
        QFETCH(bool, sommer);
        starten(alteFirmware);
        fenster->SommerZeit->setChecked(sommer);
        const QDateTime vorher = QDateTime::currentDateTime();
        fenster->SetTime->click();
        QVERIFY(QTest::qWaitFor([] { return Boxen() > 0; }, 20000));
        const QDateTime nachher = QDateTime::currentDateTime();

        const int basis = alteFirmware ? QuorvelSimulator::RegUhrAlt : QuorvelSimulator::RegUhr352;
        const int sommerReg = alteFirmware ? QuorvelSimulator::RegSommerAlt : QuorvelSimulator::RegSommer352;
        const QByteArray hhmm = sim->uhrRegister(basis);
        QVERIFY2(hhmm == vorher.toString(QStringLiteral("HHmm")).toLatin1()
                     || hhmm == nachher.toString(QStringLiteral("HHmm")).toLatin1(),
                 hhmm.constData());
        const QByteArray ddmm = sim->uhrRegister(basis + 1);
        QVERIFY(ddmm == vorher.toString(QStringLiteral("ddMM")).toLatin1()
                || ddmm == nachher.toString(QStringLiteral("ddMM")).toLatin1());
        QCOMPARE(sim->uhrRegister(basis + 2), QByteArray::number(nachher.date().year()));
        QCOMPARE(sim->uhrRegister(sommerReg), sommer ? QByteArray("0001") : QByteArray("0000"));

        // No write went to a clock register of the other family.
        const QList<int> andere = alteFirmware
                                      ? QList<int>{0x0809, 0x080A, 0x080B, QuorvelSimulator::RegSommer352}
                                      : QList<int>{0x0B01, 0x0B02, 0x0B03, QuorvelSimulator::RegSommerAlt};
        int schreibFrames = 0;
        for (const QByteArray &f : sim->empfangeneFrames()) {
            if (f.mid(6, 2) != "11")
                continue;
            ++schreibFrames;
            QVERIFY2(!andere.contains(f.mid(8, 4).toInt(nullptr, 16)), f.constData());
        }
        QCOMPARE(schreibFrames, 4);
    }
};

QTEST_MAIN(TestWocheUhrPty)
#include "tst_woche_uhr_pty.moc"
