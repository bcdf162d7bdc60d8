// The weekly program and the clock from the main window's buttons to the controller and back:
// the real engine, the service window's decoders and the router, against the simulator on a
// pseudo-terminal.

#include "testtexte.h"
#include "ptyfenster_umgebung.h"

#include "controller/ComPort.h"
#include "controller/uQuorvelKonstanten.h"
#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uShowbox.h"
#include "windows/uQuorvel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// A weekly program inside the cell rules; Versatz varies program number and end time.
QString Woche(int Versatz)
{
    QString s;
    for (int d = 0; d < 7; ++d)
        s += Hex4((d + Versatz) % 10 + 1) + Hex4(d % 8 + 1) + Hex4(d % 7 + 1) + Hex4(d * 97 + Versatz);
    return s;
}

QByteArray Lesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Caption and first two lines of every visible message box.
QStringList Boxen()
{
    QStringList b;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *box = qobject_cast<TwShowbox *>(w); box && box->isVisible())
            b << box->windowTitle() + QLatin1Char('|') + box->Label1->text() + QLatin1Char('|') + box->Label2->text()
                     + QLatin1Char('|') + box->Label3->text();
    return b;
}

} // namespace

class TestWochenprogrammPty : public QObject
{
    Q_OBJECT

    std::unique_ptr<PtyFensterumgebung> u;
    QuorvelSimulator *sim = nullptr;
    TwMiniQuorvel *fenster = nullptr;
    QString dialogAntwort;

    bool entsperrtAbwarten(int ms = 20000)
    {
        return QTest::qWaitFor([this] { return fenster->WochenProgramme->isEnabled(); }, ms);
    }

private slots:
    void init()
    {
        u = std::make_unique<PtyFensterumgebung>(7);
        QVERIFY2(u->leitung.laeuft(), qPrintable(u->leitung.fehler()));
        sim = u->sim;
        fenster = u->anschliessen();
        QVERIFY(u->angeschlossen());
        dialogAntwort.clear();
        fenster->Dateidialog = [this](const TwMiniQuorvel::TDateiDialog &) { return dialogAntwort; };
    }
    void cleanup()
    {
        if (u)
            u->fenster.reset();
        fenster = nullptr;
        sim = nullptr;
        ShowboxenFreigeben();
        u.reset();
    }

    // Read, then save at once: the file holds exactly the 112 characters the controller has.
    void lesenUndSpeichern()
    {
        const QString woche = Woche(3);
        sim->setWochenprogramm(woche.toLatin1());
        fenster->LesenWoPrg->click();
        QVERIFY(!fenster->WochenProgramme->isEnabled());
        QVERIFY(entsperrtAbwarten());
        QVERIFY(fenster->CheckTimer->isActive());
        QCOMPARE(fenster->NachtStarts->item(7, 2)->text(), QString::number((6 + 3) % 10 + 1));
        dialogAntwort = u->dir.path() + QStringLiteral("/gelesen.QWP");
        fenster->Speichern_WoPrg->click();
        QCOMPARE(Lesen(dialogAntwort), (woche + QStringLiteral("\r\n")).toLatin1());
        // Data that was read is simply shown.
        QVERIFY(Boxen().isEmpty());
    }

    // Open a file and write it: the controller holds the file's line afterwards.
    void oeffnenUndSchreiben()
    {
        sim->setWochenprogramm(Woche(0).toLatin1());
        const QString pfad = u->dir.path() + QStringLiteral("/neu.QWP");
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write((Woche(5) + QStringLiteral("\r\nRest\r\n")).toLatin1());
        f.close();
        dialogAntwort = pfad;
        fenster->LadenWoPrg->click();
        fenster->SendenWoPrg->click();
        QVERIFY(!fenster->WochenProgramme->isEnabled());
        QVERIFY(entsperrtAbwarten());
        QCOMPARE(QString::fromLatin1(sim->wochenprogramm()), Woche(5));
        QVERIFY(QTest::qWaitFor([] { return !Boxen().isEmpty(); }, 2000));
        QCOMPARE(Boxen(), QStringList{QStringLiteral("Meldung||Wochenprogramme|erfolgreich übertragen!")});
    }

    // A controller that never answers: after the engine's tries the grid stays empty, the
    // controls are unlocked and the failure is shown.
    void lesenOhneAntwort()
    {
        sim->setWochenprogramm(Woche(1).toLatin1());
        fenster->WochPrgEmpfangen(Woche(2));
        sim->stoerungEinplanen(QuorvelSimulator::KeineAntwort, 100);
        fenster->LesenWoPrg->click();
        QVERIFY(entsperrtAbwarten(30000));
        fenster->NachtStarts->setCurrentCell(7, 4);
        for (int z = 1; z <= 7; ++z)
            for (int s = 1; s <= 3; ++s)
                QCOMPARE(fenster->NachtStarts->item(z, s)->text(), QString());
        QCOMPARE(Boxen(), QStringList{QStringLiteral("FEHLER|Übertragung der Wochenprogramme|fehlgeschlagen!!|")});
    }

    // The clock: not locked by the request, confirmed, the summer flag on the controller.
    void uhrStellen()
    {
        fenster->SommerZeit->setChecked(true);
        fenster->SetTime->click();
        QVERIFY(fenster->Uhrzeit->isEnabled());
        QVERIFY(QTest::qWaitFor([] { return !Boxen().isEmpty(); }, 20000));
        QCOMPARE(Boxen(), QStringList{QStringLiteral("Uhrzeit stellen|Uhr wurde gestellt.!||")});
        QCOMPARE(sim->uhrRegister(QuorvelSimulator::RegSommer352), QByteArray("0001"));
        QVERIFY(fenster->CheckTimer->isActive());
    }
};

QTEST_MAIN(TestWochenprogrammPty)
#include "tst_wochenprogramm_pty.moc"
