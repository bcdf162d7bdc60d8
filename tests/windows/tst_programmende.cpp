// Closing the main window ends the message loop, also while editors are open; a refused close
// does not end it.

#include "hauptfenster_umgebung.h"

#include "app/MiniQuorvel.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"

#include <QFile>
#include <QTimer>
#include <QtTest>

class TestProgrammende : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { OberflaecheEinrichten(); }

    void schliessen_data()
    {
        QTest::addColumn<bool>("editoren");
        QTest::addColumn<bool>("einstellungenSchreibbar");
        QTest::addColumn<bool>("endet");
        QTest::newRow("alone") << false << true << true;
        QTest::newRow("both editors open") << true << true << true;
        QTest::newRow("close refused, editors open") << true << false << false;
    }
    void schliessen()
    {
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
        if (!einstellungenSchreibbar) {
            // The user store lies below a plain file: writing it fails, the close is refused.
            QFile sperre(u.dir.path() + QStringLiteral("/datei"));
            QVERIFY(sperre.open(QIODevice::WriteOnly));
            sperre.close();
            u.einstellungenNach(sperre.fileName() + QStringLiteral("/unter"));
        }

        // The program's own message loop, as the main program runs it.
        QTimer::singleShot(0, f, [f] { f->close(); });
        QTimer sonst;
        sonst.setSingleShot(true);
        connect(&sonst, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        sonst.start(3000);
        const int ergebnis = QCoreApplication::exec();
        QCOMPARE(ergebnis, endet ? 0 : 99);
        QCOMPARE(f->isVisible(), !endet);
        // An editor is never asked to close by the end of the program.
        QCOMPARE(gaer.isVisible(), editoren);
        QCOMPARE(nivorell.isVisible(), editoren);
    }
};

QTEST_MAIN(TestProgrammende)
#include "tst_programmende.moc"
