// The program as an operator runs it: the main window with its service window, on a serial
// port that leads over a pseudo-terminal to the simulated controller.

#include "testtexte.h"
#include "controller/ComPort.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"
#include "windows/uMiniQuorvel.h"
#include "windows/uQuorvel.h"
#include "windows/ptyfenster_umgebung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// A lively record: mode 3 phase 4, program 12, 20 °C of 21 °C, 75 % of 80 %, Thursday
// 10.12.2026 09:15 winter time. The first relay word has bits 0, 1, 5, 6 and 10 set (bit 10 is
// no output), the second bits 7 and 8 (bit 8 is no output).
const QByteArray Satz = QByteArray("0000") + "0003" + "0004" + "000C" + "01F4" + "01F9" + "0307" + "0320" + "0004"
                      + "10122026" + "0915" + "0000" + "0463" + "0180" + "0050";

// Outputs that record switches on.
const QList<int> AusgaengeAn = {0, 1, 5, 6, 17};

// Read requests of one register in the frame log.
int Lesungen(const QList<QByteArray> &frames, int reg)
{
    const QByteArray kopf = "10" + Hex4(reg).toLatin1();
    int n = 0;
    for (const QByteArray &f : frames)
        if (f.mid(6, 6) == kopf)
            ++n;
    return n;
}

int StatusLesungen(const QList<QByteArray> &frames)
{
    return Lesungen(frames, QuorvelSimulator::RegStatus);
}

int StoerLesungen(const QList<QByteArray> &frames, int nr)
{
    return Lesungen(frames, QuorvelSimulator::RegStoerung1 + 5 * (nr - 1));
}

QStringList MemoZeilen(const QPlainTextEdit *memo)
{
    const QString text = memo->toPlainText();
    return text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
}

bool Rot(const QLineEdit *e)
{
    return e->palette().color(QPalette::Base) == QColor(Qt::red);
}

} // namespace

class TestProgrammPty : public QObject
{
    Q_OBJECT
    std::unique_ptr<PtyFensterumgebung> u;
    QuorvelSimulator *sim = nullptr;
    TwMiniQuorvel *fenster = nullptr;
    std::unique_ptr<TwQuorvelNivorell> nivorell;
    std::unique_ptr<TwQuorvelGaerProg> gaerProg;
    QStringList boxen;

    static QSettings Speicher()
    {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("ZIR"),
                         QStringLiteral("MiniQuorvel"));
    }

    // The windows in the order of the program's start; the main window is shown at once.
    void programmStarten()
    {
        fenster = u->erzeugen();
        fenster->show();
        nivorell = std::make_unique<TwQuorvelNivorell>(fenster->KommandoEintrag());
        gaerProg = std::make_unique<TwQuorvelGaerProg>(fenster->KommandoEintrag());
    }

    // The service window as the operator opens it: the hidden panel, its button, the display box.
    TwQuorvel *serviceFensterOeffnen()
    {
        QTest::keyClick(fenster->QuorvelAdrEdit, Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
        if (!fenster->OfenShow->isVisible())
            return nullptr;
        QTest::mouseClick(fenster->OfenShow, Qt::LeftButton);
        TwQuorvel *s = fenster->BefehlsFenster();
        if (!s || !s->isVisible())
            return nullptr;
        if (!s->StatusAnzeigen->isChecked())
            QTest::mouseClick(s->StatusAnzeigen, Qt::LeftButton);
        return s->StatusAnzeigen->isChecked() ? s : nullptr;
    }

    bool warteAufStatus(int ms = 6000)
    {
        return QTest::qWaitFor([&] { return StatusLesungen(sim->empfangeneFrames()) > 0; }, ms);
    }

    // Closes the main window and checks that the port falls silent.
    void schliessenUndStille()
    {
        QVERIFY(fenster->close());
        QVERIFY(!fenster->isVisible());
        QVERIFY(!fenster->Port()->Open());
        // The next status tick finds the program closing and hides the service window.
        QVERIFY(QTest::qWaitFor([&] { return !fenster->BefehlsFenster()->isVisible(); }, 3000));
        sim->frameLogLoeschen();
        QTest::qWait(1500);
        QCOMPARE(sim->empfangeneFrames(), QList<QByteArray>());
        QVERIFY(!fenster->Port()->Open());
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(QStringLiteral("MiniQuorvel"));
    }
    void init()
    {
        u = std::make_unique<PtyFensterumgebung>(7);
        QVERIFY2(u->leitung.laeuft(), qPrintable(u->leitung.fehler()));
        sim = u->sim;
        sim->setStatus(Satz);
        boxen.clear();
        TwMiniQuorvel::ModaleBox = [this](QWidget *, const QString &c, const QString &t) { boxen << c + QLatin1Char('|') + t; };
    }
    void cleanup()
    {
        gaerProg.reset();
        nivorell.reset();
        fenster = nullptr;
        sim = nullptr;
        u.reset();
    }

    // A returning operator: the stored port. The status is polled about every second and shown
    // in both windows; a changed fault count reads the faults once and lists their texts; the
    // close writes the settings and leaves the line silent.
    void laufenderBetrieb()
    {
        {
            QSettings s = Speicher();
            s.setValue(QStringLiteral("COMPORT"), QStringLiteral("COM7"));
            s.setValue(QStringLiteral("QorAdresse"), QStringLiteral("0600"));
        }
        programmStarten();
        QCOMPARE(fenster->ComportBox->currentText(), QStringLiteral("COM7"));
        QCOMPARE(fenster->Port()->ComNumber(), 7);
        TwQuorvel *service = serviceFensterOeffnen();
        QVERIFY(service);

        // Polling: the first request after about two seconds, then about one a second.
        QVERIFY(warteAufStatus());
        sim->frameLogLoeschen();
        QTest::qWait(3500);
        const int polls = StatusLesungen(sim->empfangeneFrames());
        QVERIFY2(polls >= 2 && polls <= 6, qPrintable(QString::number(polls)));
        QCOMPARE(sim->empfangeneFrames().size(), polls);

        // The main window shows the record in its own formats.
        QCOMPARE(fenster->AnzStoer_E->text(), QStringLiteral("0000"));
        QVERIFY(!Rot(fenster->AnzStoer_E));
        QCOMPARE(fenster->AktBetr_E->text(), QStringLiteral("3:GV-Dauerbetrieb"));
        QCOMPARE(fenster->AktUBetr_E->text(), QStringLiteral("4:Gären"));
        QCOMPARE(fenster->ProgNr_E->text(), QStringLiteral("12"));
        QCOMPARE(fenster->IstT_E->text(), QStringLiteral("20"));
        QCOMPARE(fenster->SollT_E->text(), QStringLiteral("21"));
        QCOMPARE(fenster->IstF_E->text(), QStringLiteral("75"));
        QCOMPARE(fenster->SollF_E->text(), QStringLiteral("80"));
        QCOMPARE(fenster->DrehVerd_E->text(), QStringLiteral("0050"));
        QCOMPARE(fenster->DateEdit_E->text(), QStringLiteral("10.12.2026_09:15, Winter"));
        // The service window shows the fields as received.
        QCOMPARE(service->AnzStoer_E->text(), QStringLiteral("0000"));
        QCOMPARE(service->AktBetr_E->text(), QStringLiteral("0003"));
        QCOMPARE(service->AktUBetr_E->text(), QStringLiteral("0004"));
        QCOMPARE(service->ProgNr_E->text(), QStringLiteral("12"));
        QCOMPARE(service->IstT_E->text(), QStringLiteral("20"));
        QCOMPARE(service->SollF_E->text(), QStringLiteral("80"));
        QCOMPARE(service->DateEdit_E->text(), QStringLiteral("4_10.12.2026_09:15_0"));
        QCOMPARE(service->PrgEdit->text(), QStringLiteral("GärPrg_12"));
        for (int i = 0; i < 18; ++i) {
            const bool an = AusgaengeAn.contains(i);
            QVERIFY2(fenster->Relais[size_t(i)]->isChecked() == an, qPrintable(QString::number(i)));
            QVERIFY2(service->Ausgang[size_t(i)]->isChecked() == an, qPrintable(QString::number(i)));
        }
        QVERIFY(MemoZeilen(service->StoerMemo).isEmpty());

        // Two faults appear: each is read once and its text listed.
        sim->frameLogLoeschen();
        sim->setStoercode(1, 3);
        sim->setStoercode(2, 22);
        sim->setStoerAnzahl(2);
        const QStringList texte = {QStringLiteral("Warte auf neue"), QStringLiteral("Verdampferfühler 1 Kurzschluss"),
                                   QStringLiteral("Tür offen")};
        QVERIFY(QTest::qWaitFor([&] { return MemoZeilen(service->StoerMemo) == texte; }, 5000));
        QCOMPARE(fenster->AnzStoer_E->text(), QStringLiteral("0002"));
        QVERIFY(Rot(fenster->AnzStoer_E));
        QCOMPARE(service->AnzStoer_E->text(), QStringLiteral("0002"));
        // Two more polls with the same count read nothing again.
        const int bisher = StatusLesungen(sim->empfangeneFrames());
        QVERIFY(QTest::qWaitFor([&] { return StatusLesungen(sim->empfangeneFrames()) >= bisher + 2; }, 5000));
        const QList<QByteArray> frames = sim->empfangeneFrames();
        QCOMPARE(StoerLesungen(frames, 1), 1);
        QCOMPARE(StoerLesungen(frames, 2), 1);
        QCOMPARE(frames.size(), StatusLesungen(frames) + 2);
        QCOMPARE(MemoZeilen(service->StoerMemo), texte);

        // The faults are gone: the list empties and the count loses its colour.
        sim->setStoercode(1, 0);
        sim->setStoercode(2, 0);
        sim->setStoerAnzahl(0);
        QVERIFY(QTest::qWaitFor([&] { return fenster->AnzStoer_E->text() == QLatin1String("0000"); }, 5000));
        QVERIFY(!Rot(fenster->AnzStoer_E));
        QVERIFY(MemoZeilen(service->StoerMemo).isEmpty());

        // Nothing went wrong on the line.
        QCOMPARE(fenster->LBError->count(), 1);
        QVERIFY(fenster->LBIn->count() >= polls + 2);
        QCOMPARE(boxen, QStringList());

        // Close: the settings are written, the port closed, the line silent.
        Speicher().clear();
        schliessenUndStille();
        QVERIFY(!QTest::currentTestFailed());
        QSettings s = Speicher();
        QCOMPARE(s.value(QStringLiteral("COMPORT")).toString(), QStringLiteral("COM7"));
        QCOMPARE(s.value(QStringLiteral("QorAdresse")).toString(), QStringLiteral("0600"));
        QCOMPARE(s.value(QStringLiteral("Echo")).toInt(), 0);
        QVERIFY(s.contains(QStringLiteral("PrgVerzeichnis")));
        QCOMPARE(boxen, QStringList());
    }

    // A first start on a port that is gone: the operator picks the simulator's port from the
    // list, and that choice is polled and kept for the next start.
    void portImFeldGewaehlt()
    {
        Speicher().setValue(QStringLiteral("COMPORT"), QStringLiteral("COM100"));
        programmStarten();
        QCOMPARE(fenster->Port()->ComNumber(), 100);
        const int index = fenster->ComportBox->findText(QStringLiteral("COM7"));
        QVERIFY(index >= 0);
        fenster->ComportBox->setCurrentIndex(index);
        QCOMPARE(fenster->ComportBox->currentText(), QStringLiteral("COM7"));
        QCOMPARE(fenster->Port()->ComNumber(), 7);
        QCOMPARE(boxen, QStringList());

        QVERIFY(warteAufStatus());
        QVERIFY(QTest::qWaitFor([&] { return fenster->AktBetr_E->text() == QLatin1String("3:GV-Dauerbetrieb"); }, 3000));
        QCOMPARE(fenster->DateEdit_E->text(), QStringLiteral("10.12.2026_09:15, Winter"));

        schliessenUndStille();
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(Speicher().value(QStringLiteral("COMPORT")).toString(), QStringLiteral("COM7"));
        QCOMPARE(boxen, QStringList());
    }
};

QTEST_MAIN(TestProgrammPty)
#include "tst_programm_pty.moc"
