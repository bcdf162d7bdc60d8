// Results reaching the proofing-program editor through the main window's result router: by
// topic only, whoever asked, also after the editor's time-out.

#include "editor_umgebung.h"
#include "testtexte.h"
#include "controller/uQuorvelEngine.h"
#include "controller/uQuorvelKonstanten.h"
#include "editors/uQuorvelGaerProg.h"
#include "support/uOberflaeche.h"
#include "windows/hauptfenster_umgebung.h"

#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

QString Liste(int Basis)
{
    QString text;
    for (int nr = 1; nr <= 10; ++nr) {
        TQorGaerProg g = TwQuorvelGaerProg::StandardProgramm(nr);
        g.GV.Temp = QString::number(Basis + nr);
        text += GaerProgZuHex(g);
    }
    return text;
}

} // namespace

class TestGaerProgErgebnis : public QObject
{
    Q_OBJECT
    std::unique_ptr<Hauptfensterumgebung> u;
    TwMiniQuorvel *haupt = nullptr;
    std::unique_ptr<TwQuorvelGaerProg> gaer;
    QStringList befehle;

    void routen(const QString &Topic, const QString &Text) { haupt->ErgebnisVerteilen(0, Topic, Text); }

private slots:
    void initTestCase()
    {
        OberflaecheEinrichten();
    }
    void init()
    {
        u = std::make_unique<Hauptfensterumgebung>();
        haupt = u->erzeugen();
        haupt->Engine()->TimerHerz->stop();
        haupt->Engine()->StatusTimer->stop();
        befehle.clear();
        gaer = std::make_unique<TwQuorvelGaerProg>([this](const QString &, const QString &t) { befehle << t; });
    }
    void cleanup()
    {
        gaer.reset();
        ShowboxenFreigeben();
        ProgrammSanduhr(false);
        haupt = nullptr;
        u.reset();
    }

    // After the time-out, the late results of the same transfer still act: the acknowledgement
    // shows its box, a late list replaces the slots and rebuilds the names.
    void spaeteErgebnisse()
    {
        gaer->SendenGaer_S->click();
        gaer->TimeOutTimer();
        QVERIFY(!gaer->Gesperrt());
        QCOMPARE(OffeneBoxTexte(), QStringList{"Fehler|Timeout bei Übertragung!!"});
        routen(QStringLiteral("QORGAERPROG"), QStringLiteral("SendACK"));
        QVERIFY(!gaer->Gesperrt());
        QVERIFY(OffeneBoxTexte().contains(QStringLiteral("Meldung|Gaerprogramm|erfolgreich übertragen!")));

        gaer->Markieren(3);
        gaer->LesenGaer->click();
        gaer->TimeOutTimer();
        routen(QStringLiteral("QORGAERLISTE"), Liste(100));
        QCoreApplication::processEvents();
        QCOMPARE(gaer->Liste()[4].GV.Temp, QStringLiteral("105"));
        QCOMPARE(gaer->Name(3), QStringLiteral("Programm 03"));
        QVERIFY(!gaer->Gesperrt());
    }

    // A transfer the service window started: its results reach the editor, locked or not.
    void ergebnisseVonAnderen_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("box");
        Programm werte; // the encoder reads the layout
        QTest::newRow("Liste") << "QORGAERLISTE" << Liste(200) << QString();
        QTest::newRow("Programm 6") << "QORGAERPROG" << Liste(300).mid(5 * 56, 56) << QString();
        QTest::newRow("Liste NAK") << "QORGAERLISTE" << "SendNAK" << "FEHLER|Übertragung der Gärprogramme|fehlgeschlagen!!";
        QTest::newRow("Liste ACK") << "QORGAERLISTE" << "SendACK" << "Meldung|Gärprogramm|erfolgreich übertragen!";
        QTest::newRow("Programm NAK") << "QORGAERPROG" << "SendNAK" << "FEHLER|Übertragung der Gaerprogramme|fehlgeschlagen!!";
    }
    void ergebnisseVonAnderen()
    {
        QFETCH(QString, topic);
        QFETCH(QString, text);
        QFETCH(QString, box);
        gaer->ZeileWaehlen(2);
        gaer->Markieren(2);
        gaer->Sperren(); // stands for the editor's own earlier request still running
        routen(topic, text);
        QCoreApplication::processEvents();
        QVERIFY(!gaer->Gesperrt());
        QCOMPARE(OffeneBoxTexte(), box.isEmpty() ? QStringList() : QStringList{box});
        if (topic == QLatin1String("QORGAERLISTE") && box.isEmpty()) {
            QCOMPARE(gaer->Liste()[9].GV.Temp, QStringLiteral("210"));
            QCOMPARE(gaer->Name(2), QStringLiteral("Programm 02"));
            QCOMPARE(gaer->Zeile(), 1);
        } else if (box.isEmpty()) {
            QCOMPARE(gaer->Liste()[5].GV.Temp, QStringLiteral("306"));
            QCOMPARE(gaer->Zeile(), 6);
            QCOMPARE(gaer->Name(2), QStringLiteral("** Programm 02"));
        } else {
            QCOMPARE(gaer->Liste()[1], TwQuorvelGaerProg::StandardProgramm(2));
        }
    }

    // Progress of any list transfer (here a Nivorell list) restarts a running time-out and
    // moves the gauge while the panel shows.
    void fortschrittAnderer()
    {
        gaer->LesenGaer->click();
        QTest::qWait(1500);
        QVERIFY(gaer->TimeOut->remainingTime() < 29000);
        routen(QStringLiteral("MELDUNG"), QStringLiteral("RestoreFortschritt=3"));
        QVERIFY(gaer->TimeOut->remainingTime() > 29000);
        QCOMPARE(gaer->Gauge1->value(), 30);
        gaer->Ausblenden->click();
        routen(QStringLiteral("MELDUNG"), QStringLiteral("RestoreFortschritt=4"));
        QCOMPARE(gaer->Gauge1->value(), 30);
        QVERIFY(gaer->Gesperrt());
    }
};

QTEST_MAIN(TestGaerProgErgebnis)
#include "tst_gaerprog_ergebnis.moc"
