#include "fensterpassung.h"
#include "platform/uPlattform.h"
#include "support/Version.h"
#include "support/uAbout.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "support/uTestShow.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <memory>

Q_DECLARE_METATYPE(std::optional<VersionsInfo>)

// Version text, about box and version notice.
class TestVersion : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> m_programm;
    std::unique_ptr<TfVersion> m_version;

    void version(const QString &text)
    {
        m_version = std::make_unique<TfVersion>();
        m_version->VersionText = text;
        P().fVersion = m_version.get();
    }

    static QString passung(QWidget *w)
    {
        return Passungsfehler(w).join(QLatin1Char('\n'));
    }

private slots:
    void initTestCase() { OberflaecheEinrichten(); }

    void init()
    {
        m_programm = std::make_unique<Programm>();
        QCoreApplication::setApplicationName(QStringLiteral("MiniQuorvel"));
    }
    void cleanup()
    {
        m_version.reset();
        m_programm.reset();
    }

    void versionsText_data()
    {
        QTest::addColumn<std::optional<VersionsInfo>>("info");
        QTest::addColumn<QString>("text");
        QTest::newRow("released") << std::optional<VersionsInfo>(VersionsInfo{2, 1, 0, 0}) << "2.1.0 [Build 0]";
        QTest::newRow("test build") << std::optional<VersionsInfo>(VersionsInfo{2, 1, 3, 7}) << "2.1.3 [Build 7]";
        QTest::newRow("large") << std::optional<VersionsInfo>(VersionsInfo{65535, 10, 255, 1234}) << "65535.10.255 [Build 1234]";
        QTest::newRow("none") << std::optional<VersionsInfo>() << "0.0.0.0";
    }
    void versionsText()
    {
        QFETCH(std::optional<VersionsInfo>, info);
        QFETCH(QString, text);
        QCOMPARE(VersionsText(info), text);
    }

    void dieserBuild()
    {
        // The version the build system gave this build, not the code's own reading of it.
        TfVersion f;
        QCOMPARE(f.VersionText, QStringLiteral(MQ_ERWARTETE_VERSION));
        QCOMPARE(f.ExtractVersionInfo(), QStringLiteral(MQ_ERWARTETE_VERSION));
        QVERIFY(!f.isVisible());
    }

    void hinweis_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QString>("release");
        QTest::addColumn<bool>("faellig");
        const QStringList ohne{"/opt/MiniQuorvel"};
        QTest::newRow("released") << "2.1.0 [Build 0]" << ohne << "0" << false;
        QTest::newRow("test build") << "2.1.3 [Build 7]" << ohne << "3" << true;
        QTest::newRow("no version") << "0.0.0.0" << ohne << "" << true;
        QTest::newRow("empty") << "" << ohne << "" << true;
        QTest::newRow("service word") << "2.1.3 [Build 7]" << QStringList{"/opt/MiniQuorvel", "VOXIM"} << "3" << false;
        QTest::newRow("service word lower case") << "2.1.3 [Build 7]" << QStringList{"/opt/MiniQuorvel", "voxim"} << "3" << false;
        QTest::newRow("service word, no version") << "0.0.0.0" << QStringList{"/opt/MiniQuorvel", "VoXiM"} << "" << false;
        QTest::newRow("service word as program") << "0.0.0.0" << QStringList{"voxim"} << "" << false;
        QTest::newRow("longer word") << "0.0.0.0" << QStringList{"/opt/MiniQuorvel", "VOXIMX"} << "" << true;
        QTest::newRow("released with service word") << "2.1.0 [Build 0]" << QStringList{"x", "VOXIM"} << "0" << false;
    }
    void hinweis()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, argumente);
        QFETCH(QString, release);
        QFETCH(bool, faellig);
        QCOMPARE(ReleaseTeil(text), release);
        QCOMPARE(VersionshinweisFaellig(text, argumente), faellig);
    }

    void aboutBox_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("released") << "2.1.0 [Build 0]";
        QTest::newRow("none") << "0.0.0.0";
    }
    void aboutBox()
    {
        QFETCH(QString, text);
        version(text);
        TAboutBox box;
        QCOMPARE(box.windowTitle(), QStringLiteral("Info"));
        QCOMPARE(box.ProductName->text(), QStringLiteral("MiniQuorvel"));
        QCOMPARE(box.Comments->text(), QStringLiteral("Programm zum Daten-Empfang der Quorvel-Steuerung"));
        QTimer::singleShot(0, &box, [&box] { box.OKButton->click(); });
        QCOMPARE(box.exec(), int(QDialog::Accepted));
        QCOMPARE(box.Version->text(), QStringLiteral("Version ") + text);
        // every showing sets the line again
        m_version->VersionText = QStringLiteral("9.9.9 [Build 9]");
        QTimer::singleShot(0, &box, [&box] { box.OKButton->click(); });
        box.exec();
        QCOMPARE(box.Version->text(), QStringLiteral("Version 9.9.9 [Build 9]"));
    }

    // The three windows show every text whole in the application font, with the usual and the
    // longest version texts.
    void passung_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("released") << "2.1.0 [Build 0]";
        QTest::newRow("test build") << "2.1.3 [Build 7]";
        QTest::newRow("no version") << "0.0.0.0";
        QTest::newRow("longest") << "65535.65535.65535 [Build 65535]";
    }
    void passung()
    {
        QFETCH(QString, text);
        version(text);
        const QRect bildschirm = QGuiApplication::primaryScreen()->geometry();

        // The about box grows with its version line and stays centred; shown first with a
        // short line, then with this one.
        TAboutBox box;
        m_version->VersionText = QStringLiteral("1.0.0 [Build 0]");
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        box.hide();
        m_version->VersionText = text;
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QCOMPARE(box.Version->text(), QStringLiteral("Version ") + text);
        QVERIFY2(passung(&box).isEmpty(), qPrintable(passung(&box)));
        QVERIFY(qAbs(box.frameGeometry().center().x() - bildschirm.center().x()) <= 1);
        QVERIFY(qAbs(box.frameGeometry().center().y() - bildschirm.center().y()) <= 1);
        box.hide();

        // The version form is never shown by the program; its design still fits.
        m_version->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_version.get()));
        QVERIFY2(passung(m_version.get()).isEmpty(), qPrintable(passung(m_version.get())));

        // The notice of a test build, with its German and its English second line.
        if (ReleaseTeil(text) == QLatin1String("0"))
            return;
        TTestShow t;
        t.Argumente = QStringList{QStringLiteral("/opt/MiniQuorvel")};
        QTRY_VERIFY(t.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&t));
        QCOMPARE(t.size(), QSize(366, 215));
        QVERIFY(t.Panel2->text().endsWith(QStringLiteral(" (") + text + QLatin1Char(')')));
        for (int i = 0; i < 2; ++i) {
            QVERIFY2(passung(&t).isEmpty(), qPrintable(t.Label2->text() + QLatin1Char('\n') + passung(&t)));
            t.BlinkTimerTimer();
        }
    }

    void notizWirdGezeigt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("zeile");
        QTest::newRow("test build") << "2.1.3 [Build 7]" << "Es handelt sich um eine interne Version. (2.1.3 [Build 7])";
        QTest::newRow("no version") << "0.0.0.0" << "Es handelt sich um eine interne Version. (0.0.0.0)";
    }
    void notizWirdGezeigt()
    {
        QFETCH(QString, text);
        QFETCH(QString, zeile);
        version(text);
        TTestShow t;
        t.Argumente = QStringList{QStringLiteral("/opt/MiniQuorvel")};
        QVERIFY(!t.isVisible());
        const int piepser = PieptonZaehler();
        QTRY_VERIFY(t.isVisible());
        QCOMPARE(PieptonZaehler(), piepser + 1);
        QVERIFY(!t.Timer1->isActive());
        QCOMPARE(t.windowTitle(), QStringLiteral("MiniQuorvel"));
        QVERIFY(t.Panel2->isVisible());
        QCOMPARE(t.Panel2->text(), zeile);
        QVERIFY(t.BlinkTimer->isActive());
        QCOMPARE(t.BlinkTimer->interval(), 2000);

        const QString deutsch = QStringLiteral("Bitte nur zu internen Tests verwenden!");
        QCOMPARE(t.Label2->text(), deutsch);
        t.BlinkTimerTimer();
        QCOMPARE(t.Label2->text(), QStringLiteral("For internal test purposes only!"));
        t.BlinkTimerTimer();
        QCOMPARE(t.Label2->text(), deutsch);

        t.Button1->click();
        QVERIFY(!t.isVisible());
        QTest::qWait(150);
        QVERIFY(!t.isVisible());
        QCOMPARE(PieptonZaehler(), piepser + 1);
    }

    void notizBleibtVerborgen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("argumente");
        QTest::newRow("released") << "2.1.0 [Build 0]" << QStringList{"/opt/MiniQuorvel"};
        QTest::newRow("service word") << "2.1.3 [Build 7]" << QStringList{"/opt/MiniQuorvel", "voxim"};
        QTest::newRow("service word, no version") << "0.0.0.0" << QStringList{"/opt/MiniQuorvel", "VOXIM"};
    }
    void notizBleibtVerborgen()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, argumente);
        version(text);
        TTestShow t;
        t.Argumente = argumente;
        const int piepser = PieptonZaehler();
        QTRY_VERIFY(!t.Timer1->isActive());
        QTest::qWait(50);
        QVERIFY(!t.isVisible());
        QCOMPARE(PieptonZaehler(), piepser);
        QCOMPARE(t.windowTitle(), QStringLiteral("MiniQuorvel"));
    }
};

QTEST_MAIN(TestVersion)
#include "tst_version.moc"
