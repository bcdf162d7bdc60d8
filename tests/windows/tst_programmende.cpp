// Closing the main window ends the message loop, also while editors are open; a refused close
// does not end it.

#include "hauptfenster_umgebung.h"

#include "app/MiniQuorvel.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"

#include "controller/ComPort.h"
#include "platform/SystemSignale.h"
#include "support/uDateiDialog.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <csignal>

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

    // Ended by the system: the signal, caught as the main program catches it, comes while the
    // window is idle or while a box or a dialog waits for an answer. The boxes and dialogs give
    // way, and the message loop ends through the main window's shutdown; a store that cannot be
    // written is logged instead of shown and keeps nothing open.
    void systemEnde_data()
    {
        QTest::addColumn<QString>("offen"); // what waits for an answer when the signal comes
        QTest::addColumn<bool>("einstellungenSchreibbar");
        QTest::newRow("idle") << "" << true;
        QTest::newRow("message box open") << "box" << true;
        QTest::newRow("file dialog open") << "dialog" << true;
        QTest::newRow("store not writable") << "" << false;
        QTest::newRow("close box of a store not writable open") << "close" << false;
    }
    void systemEnde()
    {
        QFETCH(QString, offen);
        QFETCH(bool, einstellungenSchreibbar);
        Hauptfensterumgebung u;
        TwMiniQuorvel::ModaleBox = nullptr; // the real boxes
        // As in the main program: only the main window's shutdown ends the loop.
        qApp->setQuitOnLastWindowClosed(false);
        const auto zurueck = qScopeGuard([] { qApp->setQuitOnLastWindowClosed(true); });
        TwMiniQuorvel *f = u.erzeugen();
        HauptfensterBeendetProgramm(f);
        SystemSignale signale;
        QVERIFY(signale.Gefangen().contains(SIGTERM));
        connect(&signale, &SystemSignale::Ende, f, &TwMiniQuorvel::SystemEnde);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->QuorvelAdrEdit->setText(QStringLiteral("0702"));
        if (!einstellungenSchreibbar) {
            QFile sperre(u.dir.path() + QStringLiteral("/datei"));
            QVERIFY(sperre.open(QIODevice::WriteOnly));
            sperre.close();
            u.einstellungenNach(sperre.fileName() + QStringLiteral("/unter"));
        }

        if (offen == QLatin1String("box"))
            QTimer::singleShot(0, f, [f] {
                TwMiniQuorvel::ModaleBoxZeigen(f, QStringLiteral("ERROR"), QStringLiteral("Bitte eine gültige Quorvel-Adresse eintragen"));
            });
        else if (offen == QLatin1String("dialog"))
            QTimer::singleShot(0, f, [f] {
                TDateiDialog d;
                d.Name = QStringLiteral("OpenDialog1");
                DateiWaehlen(f, d);
            });
        else if (offen == QLatin1String("close"))
            QTimer::singleShot(0, f, [f] { f->close(); });
        // The signal once that waits, seen as a user sees it.
        QString gesehen;
        std::function<void()> senden = [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!offen.isEmpty() && (!modal || !modal->isVisible())) {
                QTimer::singleShot(20, this, senden);
                return;
            }
            gesehen = modal ? QString::fromLatin1(modal->metaObject()->className()) : QString();
            ::raise(SIGTERM);
        };
        QTimer::singleShot(0, this, senden);
        QTimer sonst;
        sonst.setSingleShot(true);
        connect(&sonst, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        sonst.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);

        QCOMPARE(gesehen, offen.isEmpty()                      ? QString()
                          : offen == QLatin1String("dialog") ? QStringLiteral("QFileDialog")
                                                             : QStringLiteral("QMessageBox"));
        QVERIFY(!f->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(P().Beenden);
        QVERIFY(!f->Port()->Open());
        const QString fehler = QStringLiteral("Fehler beim Schreiben der Einstellungen (ZIR\\MiniQuorvel)");
        if (einstellungenSchreibbar)
            QCOMPARE(u.einstellung(QStringLiteral("QorAdresse")).toString(), QStringLiteral("0702"));
        QCOMPARE(u.fehlerLog().contains(QStringLiteral(": ") + fehler), !einstellungenSchreibbar);
    }

    // A shutdown signal that comes while the program starts, before its main window can act
    // on it: raised before the start-up, or during the start-up's processing of events. The
    // program's run ends through the main window's shutdown, with the store written.
    void signalImStart_data()
    {
        QTest::addColumn<bool>("imEreignislauf");
        QTest::newRow("before the start-up") << false;
        QTest::newRow("during the start-up's processing of events") << true;
    }
    void signalImStart()
    {
        QFETCH(bool, imEreignislauf);
        Hauptfensterumgebung u;
        u.einstellungSetzen(QStringLiteral("QorAdresse"), QStringLiteral("0703"));
        SystemSignale signale;
        QVERIFY(signale.Gefangen().contains(SIGTERM));
        bool vorDemHauptfenster = false;
        if (imEreignislauf)
            QMetaObject::invokeMethod(
                qApp,
                [&] {
                    vorDemHauptfenster = !P().wMiniQuorvel;
                    ::raise(SIGTERM);
                },
                Qt::QueuedConnection);
        else
            ::raise(SIGTERM);
        QTimer sonst;
        sonst.setSingleShot(true);
        connect(&sonst, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        sonst.start(10000);

        QCOMPARE(MiniQuorvelLauf(signale, u.prog()), 0);
        if (imEreignislauf)
            QVERIFY(vorDemHauptfenster);
        QVERIFY(P().Beenden);
        QVERIFY(!P().wMiniQuorvel);
        QCOMPARE(u.einstellung(QStringLiteral("QorAdresse")).toString(), QStringLiteral("0703"));
        QVERIFY(u.einstellung(QStringLiteral("COMPORT")).isValid());
        qApp->setQuitOnLastWindowClosed(true);
    }
};

QTEST_MAIN(TestProgrammende)
#include "tst_programmende.moc"
