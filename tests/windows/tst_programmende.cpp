// Closing the main window ends the message loop, also while editors are open; a refused close
// does not end it.

#include "hauptfenster_umgebung.h"

#include "app/MiniQuorvel.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"

#include "controller/ComPort.h"

#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

class TestProgrammende : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { OberflaecheEinrichten(); }

    // The main window closed by the user, or the application told to quit (a desktop session
    // ending): both end the message loop through the main window's shutdown, also while the
    // editors are open; a close refused by the main window ends nothing.
    void schliessen_data()
    {
        QTest::addColumn<bool>("beenden");        // QCoreApplication::quit instead of the close box
        QTest::addColumn<bool>("editoren");
        QTest::addColumn<bool>("einstellungenSchreibbar");
        QTest::addColumn<bool>("endet");
        QTest::newRow("close, alone") << false << false << true << true;
        QTest::newRow("close, both editors open") << false << true << true << true;
        QTest::newRow("close refused, editors open") << false << true << false << false;
        QTest::newRow("quit, alone") << true << false << true << true;
        QTest::newRow("quit, both editors open") << true << true << true << true;
        QTest::newRow("quit refused, editors open") << true << true << false << false;
    }
    void schliessen()
    {
        QFETCH(bool, beenden);
        QFETCH(bool, editoren);
        QFETCH(bool, einstellungenSchreibbar);
        QFETCH(bool, endet);
        Hauptfensterumgebung u;
        TwMiniQuorvel *f = u.erzeugen();
        HauptfensterBeendetProgramm(f);
        TwQuorvelGaerProg gaer;
        TwQuorvelNivorell nivorell;
        f->show();
        if (editoren) {
            gaer.show();
            nivorell.show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->QuorvelAdrEdit->setText(QStringLiteral("0701"));
        if (!einstellungenSchreibbar) {
            // The user store lies below a plain file: writing it fails, the close is refused.
            QFile sperre(u.dir.path() + QStringLiteral("/datei"));
            QVERIFY(sperre.open(QIODevice::WriteOnly));
            sperre.close();
            u.einstellungenNach(sperre.fileName() + QStringLiteral("/unter"));
        }

        // The program's own message loop, as the main program runs it.
        if (beenden)
            QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
        else
            QTimer::singleShot(0, f, [f] { f->close(); });
        QTimer sonst;
        sonst.setSingleShot(true);
        connect(&sonst, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        sonst.start(3000);
        const int ergebnis = QCoreApplication::exec();
        QCOMPARE(ergebnis, endet ? 0 : 99);
        QCOMPARE(f->isVisible(), !endet);
        if (endet) {
            // Through the main window's shutdown: settings written, port closed, no command runs.
            QCOMPARE(u.einstellung(QStringLiteral("QorAdresse")).toString(), QStringLiteral("0701"));
            QVERIFY(P().Beenden);
            QVERIFY(!f->Port()->Open());
        }
        // Closing the main window leaves the editors as they are.
        if (!beenden || !endet) {
            QCOMPARE(gaer.isVisible(), editoren && (!beenden || !endet));
            QCOMPARE(nivorell.isVisible(), editoren && (!beenden || !endet));
        }
    }
};

QTEST_MAIN(TestProgrammende)
#include "tst_programmende.moc"
