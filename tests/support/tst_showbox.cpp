#include "fensterpassung.h"
#include "platform/uPlattform.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <limits>
#include <memory>

// The self-closing message box.
class TestShowbox : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programm> m_programm;

    // The start-up box, so that every box shown is a second or later one.
    static void ersteBox() { (new TwShowbox())->setAttribute(Qt::WA_DeleteOnClose); }
    static void tick(TwShowbox *b) { QVERIFY(QMetaObject::invokeMethod(b, "ShowTimerTimer")); }

private slots:
    void initTestCase() { OberflaecheEinrichten(); }

    void init()
    {
        m_programm = std::make_unique<Programm>();
        ersteBox();
    }
    void cleanup()
    {
        ShowboxenFreigeben();
        m_programm.reset();
    }

    // Heights are those of the shown lines.
    void zeilen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("texte");
        QTest::addColumn<QList<bool>>("sichtbar");
        QTest::addColumn<QList<int>>("hoehen");
        QTest::newRow("one line") << "eins" << QStringList{"eins", "", "", ""} << QList<bool>{true, false, false, false}
                                  << QList<int>{25, 20, 20, 20};
        QTest::newRow("two lines") << "eins\r\nzwei" << QStringList{"eins", "zwei", "", ""}
                                   << QList<bool>{true, true, false, false} << QList<int>{20, 25, 20, 20};
        QTest::newRow("three lines") << "a\r\nb\r\nc" << QStringList{"a", "b", "c", ""}
                                     << QList<bool>{true, true, true, false} << QList<int>{20, 20, 25, 20};
        QTest::newRow("five lines") << "a\r\nb\r\nc\r\nd\r\ne" << QStringList{"a", "b", "c", "d\r\ne\r\n"}
                                    << QList<bool>{true, true, true, true} << QList<int>{20, 20, 20, -1};
        QTest::newRow("second empty") << "a\r\n\r\nc" << QStringList{"a", "", "c", ""}
                                      << QList<bool>{true, false, true, false} << QList<int>{25, 25, 25, 20};
        QTest::newRow("empty text") << "" << QStringList{"", "", "", ""} << QList<bool>{true, false, false, false}
                                    << QList<int>{25, 20, 20, 20};
        QTest::newRow("lone line feed stays") << "a\nb" << QStringList{"a\nb", "", "", ""}
                                              << QList<bool>{true, false, false, false} << QList<int>{25, 20, 20, 20};
    }
    void zeilen()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, texte);
        QFETCH(QList<bool>, sichtbar);
        QFETCH(QList<int>, hoehen);
        ShowText(QStringLiteral("Titel"), text, 3000);
        TwShowbox *b = P().wShowbox;
        QVERIFY(b && b->isVisible());
        QCOMPARE(b->windowTitle(), QStringLiteral("Titel"));
        const QLabel *l[] = {b->Label1, b->Label2, b->Label3, b->Label4};
        int hoehe = 0;
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(l[i]->text(), texte.at(i));
            QCOMPARE(!l[i]->isHidden(), sichtbar.at(i));
            if (sichtbar.at(i) && hoehen.at(i) > 0)
                QCOMPARE(l[i]->height(), hoehen.at(i));
            if (sichtbar.at(i)) {
                QCOMPARE(l[i]->y(), hoehe);
                hoehe += l[i]->height();
            }
        }
        QVERIFY(b->Panel1->isVisible());
        QCOMPARE(b->Panel1->y(), hoehe);
        QCOMPARE(b->height(), hoehe + 70);
    }

    void breite()
    {
        ShowText(QStringLiteral("T"), QStringLiteral("kurz"), 3000);
        QCOMPARE(P().wShowbox->width(), 177);
        const QString lang(80, QLatin1Char('W'));
        ShowText(QStringLiteral("T"), QStringLiteral("kurz\r\n") + lang, 3000);
        TwShowbox *b = P().wShowbox;
        QCOMPARE(b->width(), b->Label2->sizeHint().width() + 15);
        for (const QLabel *l : {b->Label1, b->Label2})
            QVERIFY(qAbs(l->geometry().center().x() - b->width() / 2) <= 1);
    }

    void farbeUndVorgaben()
    {
        P().ShowTextTime = 1234;
        P().ShowErrTime = 5678;
        ShowText(QStringLiteral("T"), QStringLiteral("x"), 0);
        QCOMPARE(P().wShowbox->CloseTimer->interval(), 1234);
        QCOMPARE(P().wShowbox->Label1->palette().color(QPalette::WindowText),
                 QApplication::palette().color(QPalette::WindowText));
        ShowErr(QStringLiteral("T"), QStringLiteral("x"), 0);
        QCOMPARE(P().wShowbox->CloseTimer->interval(), 5678);
        QCOMPARE(P().wShowbox->Label1->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(P().wShowbox->Sekunden->text(), QStringLiteral("5"));
        ShowErr(QStringLiteral("T"), QStringLiteral("x"), 700);
        QCOMPARE(P().wShowbox->CloseTimer->interval(), 700);
        QCOMPARE(P().wShowbox->Sekunden->text(), QStringLiteral("0"));
    }

    // Every line, the countdown and the fixed text show whole in the application font, from the
    // shortest message to the longest line and lifetime.
    void passung_data()
    {
        QTest::addColumn<bool>("fehler");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("zeit");
        QTest::newRow("clock set") << false << "Uhr wurde gestellt.!" << 3000;
        QTest::newRow("transfer failed") << true << "Übertragung der Nivorellprogramme\r\nfehlgeschlagen!!" << 5000;
        QTest::newRow("empty first line") << false << "\r\nWochenprogramme\r\nerfolgreich übertragen!" << 3000;
        QTest::newRow("time-out") << true << "Timeout bei Übertragung!!" << 5000;
        QTest::newRow("empty text") << false << "" << 3000;
        QTest::newRow("50 wide letters") << true << QString(50, QLatin1Char('W')) << 5000;
        QTest::newRow("five lines, longest last")
            << true << "Zeile 1\r\nZeile 2\r\nZeile 3\r\nZeile 4\r\n" + QString(40, QChar(0xC4)) << 5000;
        QTest::newRow("longest lifetime") << false << "x" << int(std::numeric_limits<qint32>::max());
    }
    void passung()
    {
        QFETCH(bool, fehler);
        QFETCH(QString, text);
        QFETCH(int, zeit);
        (fehler ? ShowErr : ShowText)(QStringLiteral("Meldung"), text, zeit);
        TwShowbox *b = P().wShowbox;
        QVERIFY(QTest::qWaitForWindowExposed(b));
        const QStringList f = Passungsfehler(b);
        QVERIFY2(f.isEmpty(), qPrintable(f.join(QLatin1Char('\n'))));
        QCOMPARE(b->Sekunden->text(), QString::number(zeit / 1000));
        // The fixed text breaks after "OK" into its two lines.
        const QFontMetrics fm = b->Label7->fontMetrics();
        const auto breite = [&fm](const QString &t) {
            return fm.boundingRect(QRect(0, 0, 1000, 100), Qt::TextSingleLine, t).width();
        };
        QVERIFY(breite(QStringLiteral("sek wird automatisch OK")) <= b->Label7->width());
        QVERIFY(breite(QStringLiteral("sek wird automatisch OK gewählt")) > b->Label7->width());
        QVERIFY(b->Label7->geometry().right() < b->Panel1->width());
    }

    void countdown_data()
    {
        QTest::addColumn<int>("zeit");
        QTest::addColumn<QStringList>("anzeigen");
        QTest::newRow("3000") << 3000 << QStringList{"3", "2", "2", "1", "1", "0"};
        QTest::newRow("4500") << 4500 << QStringList{"4", "3", "3", "2", "2", "1", "1", "0", "0"};
        QTest::newRow("below 1000") << 999 << QStringList{"0", "0"};
    }
    void countdown()
    {
        QFETCH(int, zeit);
        QFETCH(QStringList, anzeigen);
        ShowText(QStringLiteral("T"), QStringLiteral("x"), zeit);
        TwShowbox *b = P().wShowbox;
        b->ShowTimer->stop();
        QCOMPARE(b->CloseTimer->interval(), zeit);
        QVERIFY(b->CloseTimer->isActive());
        QCOMPARE(b->Sekunden->text(), anzeigen.first());
        for (qsizetype i = 1; i < anzeigen.size(); ++i) {
            tick(b);
            QCOMPARE(b->Sekunden->text(), anzeigen.at(i));
        }
    }

    void schliesstSichSelbst()
    {
        ShowText(QStringLiteral("T"), QStringLiteral("x"), 3000);
        QPointer<TwShowbox> b = P().wShowbox;
        QStringList gesehen{b->Sekunden->text()};
        QElapsedTimer uhr;
        uhr.start();
        while (b && uhr.elapsed() < 20000) {
            QTest::qWait(50);
            if (b && b->Sekunden->text() != gesehen.last())
                gesehen << b->Sekunden->text();
        }
        QVERIFY(!b);
        QCOMPARE(gesehen, (QStringList{"3", "2", "1", "0"}));
        QVERIFY(uhr.elapsed() >= 2000);
        QVERIFY(!P().wShowbox);
    }

    void ohneVorgabeKeinEnde()
    {
        // the defaults are 0 until the main window has read them
        ShowText(QStringLiteral("T"), QStringLiteral("x"), 0);
        TwShowbox *b = P().wShowbox;
        QVERIFY(!b->CloseTimer->isActive());
        QCOMPARE(b->Sekunden->text(), QStringLiteral("0"));
        for (int i = 0; i < 3; ++i)
            tick(b);
        QCOMPARE(b->Sekunden->text(), QStringLiteral("0"));
        QTest::qWait(700);
        QVERIFY(b->isVisible());
        QCOMPARE(b->Sekunden->text(), QStringLiteral("0"));
    }

    void position_data()
    {
        QTest::addColumn<int>("zaehler");
        QTest::addColumn<QSize>("bildschirm");
        QTest::addColumn<QPoint>("ecke");
        QTest::newRow("box 2") << 2 << QSize(1024, 768) << QPoint(266, 202);
        QTest::newRow("box 3") << 3 << QSize(1024, 768) << QPoint(276, 212);
        QTest::newRow("box 20") << 20 << QSize(1024, 768) << QPoint(256 + 190, 192 + 190);
        QTest::newRow("box 21") << 21 << QSize(1024, 768) << QPoint(264, 200);
        QTest::newRow("halves to even") << 2 << QSize(1026, 770) << QPoint(266, 202);
        QTest::newRow("halves up to even") << 2 << QSize(1030, 774) << QPoint(268, 204);
        QTest::newRow("no screen") << 5 << QSize(0, 0) << QPoint(0, 0);
    }
    void position()
    {
        QFETCH(int, zaehler);
        QFETCH(QSize, bildschirm);
        QFETCH(QPoint, ecke);
        QCOMPARE(ShowboxPosition(zaehler, bildschirm), ecke);
    }

    void platzierung()
    {
        QCOMPARE(P().ShowboxZaehler, 1);
        for (int n = 2; n <= 4; ++n) {
            ShowText(QStringLiteral("T"), QString::number(n), 3000);
            QCOMPARE(P().ShowboxZaehler, n);
            QCOMPARE(P().wShowbox->pos(), ShowboxPosition(n, Bildschirmgroesse()));
        }
        P().ShowboxZaehler = 32766;
        ShowText(QStringLiteral("T"), QStringLiteral("x"), 3000);
        ShowText(QStringLiteral("T"), QStringLiteral("x"), 3000);
        QCOMPARE(P().ShowboxZaehler, 32767);
    }

    void ersteBoxUeberHauptfenster()
    {
        ShowboxenFreigeben();
        P().ShowboxZaehler = 0;
        QWidget haupt;
        haupt.setObjectName(QStringLiteral("wMiniQuorvel"));
        haupt.setGeometry(100, 80, 400, 300);
        haupt.show();
        auto *b = new TwShowbox();
        QCOMPARE(P().ShowboxZaehler, 1);
        QVERIFY(qAbs(b->frameGeometry().center().x() - haupt.frameGeometry().center().x()) <= 1);
        QVERIFY(qAbs(b->frameGeometry().center().y() - haupt.frameGeometry().center().y()) <= 1);
        QVERIFY(!b->isVisible());
        delete b;
    }

    void knoepfeSchliessen_data()
    {
        QTest::addColumn<QString>("weg");
        QTest::newRow("Enter") << "Enter";
        QTest::newRow("OK") << "OK";
        QTest::newRow("Abbrechen") << "Abbrechen";
    }
    void knoepfeSchliessen()
    {
        QFETCH(QString, weg);
        ShowText(QStringLiteral("T"), QStringLiteral("x"), 60000);
        QPointer<TwShowbox> b = P().wShowbox;
        QSignalSpy abbrechen(b->CancelBtn, &QPushButton::clicked);
        if (weg == QLatin1String("Enter")) {
            QVERIFY(QTest::qWaitForWindowActive(b));
            QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(b->CancelBtn));
            QTest::keyClick(b->CancelBtn, Qt::Key_Return);
            QCOMPARE(abbrechen.count(), 1);
        } else {
            (weg == QLatin1String("OK") ? b->OKBtn : b->CancelBtn)->click();
        }
        QVERIFY(b->isHidden());
        QVERIFY(!b->CloseTimer->isActive());
        QVERIFY(!b->ShowTimer->isActive());
        QTRY_VERIFY(!b);
    }

    void keineMeldungen()
    {
        P().KeineMeldungen = 1;
        TwShowbox *vorher = P().wShowbox;
        ShowText(QStringLiteral("T"), QStringLiteral("x"), 3000);
        ShowErr(QStringLiteral("T"), QStringLiteral("x"), 3000);
        QCOMPARE(P().wShowbox, vorher);
        QCOMPARE(P().ShowboxZaehler, 1);
    }

    void mehrereGleichzeitig()
    {
        ShowText(QStringLiteral("A"), QStringLiteral("a"), 60000);
        QPointer<TwShowbox> a = P().wShowbox;
        ShowErr(QStringLiteral("B"), QStringLiteral("b"), 60000);
        QPointer<TwShowbox> b = P().wShowbox;
        QVERIFY(a != b);
        a->OKBtn->click();
        QTRY_VERIFY(!a);
        QVERIFY(b && b->isVisible());
        QCOMPARE(P().wShowbox, b.data());
    }
};

QTEST_MAIN(TestShowbox)
#include "tst_showbox.moc"
