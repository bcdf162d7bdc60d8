// The main window's displays: traffic lists, status display, fault count, PC clock, lock,
// watchdog and progress panel.

#include "hauptfenster_umgebung.h"

#include "support/Sammlung.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QtTest>

#include <ctime>
#include <functional>

namespace {

const QColor Silber(0xC0, 0xC0, 0xC0);

bool Rot(const QLineEdit *e)
{
    return e->palette().color(QPalette::Base) == QColor(Qt::red);
}

} // namespace

class TestHauptfensterAnzeige : public QObject
{
    Q_OBJECT
    std::unique_ptr<Hauptfensterumgebung> u;
    TwMiniQuorvel *f = nullptr;

    QListWidget *liste(int n) const
    {
        QListWidget *l[] = {f->LBout, f->LBIn, f->LBError};
        return l[n];
    }
    void zeile(int n, const QString &text)
    {
        if (n == 0)
            f->GesendetZeile(text);
        else if (n == 1)
            f->EmpfangenZeile(text);
        else
            f->FehlerZeile(text);
    }
    static int Mass(const QListWidget *l, const QString &text) { return l->font().pointSize() * int(text.size()); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init()
    {
        u = std::make_unique<Hauptfensterumgebung>();
        f = u->erzeugen();
    }
    void cleanup()
    {
        f = nullptr;
        u.reset();
    }

    // At most 1000 old lines stay; with Tracking off no line is taken.
    void kappung_data()
    {
        QTest::addColumn<int>("liste");
        QTest::addColumn<int>("vorher");
        QTest::addColumn<bool>("tracking");
        QTest::addColumn<int>("anzahl");
        QTest::addColumn<QString>("erste");
        for (int n = 0; n < 3; ++n) {
            const QByteArray l = QByteArray::number(n);
            QTest::newRow("liste " + l + ", 999") << n << 999 << true << 1000 << QStringLiteral("Z0");
            QTest::newRow("liste " + l + ", 1000") << n << 1000 << true << 1001 << QStringLiteral("Z0");
            QTest::newRow("liste " + l + ", 1001") << n << 1001 << true << 1001 << QStringLiteral("Z1");
            QTest::newRow("liste " + l + ", 1005") << n << 1005 << true << 1001 << QStringLiteral("Z5");
            QTest::newRow("liste " + l + ", ohne tracking") << n << 1001 << false << 1001 << QStringLiteral("Z0");
        }
    }
    void kappung()
    {
        QFETCH(int, liste);
        QFETCH(int, vorher);
        QFETCH(bool, tracking);
        QFETCH(int, anzahl);
        QFETCH(QString, erste);
        QListWidget *l = this->liste(liste);
        l->clear();
        for (int i = 0; i < vorher; ++i)
            l->addItem(QStringLiteral("Z%1").arg(i));
        f->Tracking->setChecked(tracking);
        zeile(liste, QStringLiteral("neu"));
        QCOMPARE(l->count(), anzahl);
        QCOMPARE(l->item(0)->text(), erste);
        if (tracking) {
            QCOMPARE(l->item(l->count() - 1)->text(), QStringLiteral("neu"));
            QCOMPARE(l->currentRow(), l->count() - 1);
        } else {
            QCOMPARE(l->item(l->count() - 1)->text(), QStringLiteral("Z%1").arg(vorher - 1));
        }
    }

    // The horizontal extent follows the widest line so far, also without Tracking, and never shrinks.
    void breite_data()
    {
        QTest::addColumn<int>("liste");
        QTest::addColumn<bool>("tracking");
        for (int n = 0; n < 3; ++n) {
            QTest::newRow(("liste " + QByteArray::number(n)).constData()) << n << true;
            QTest::newRow(("liste " + QByteArray::number(n) + " ohne tracking").constData()) << n << false;
        }
    }
    void breite()
    {
        QFETCH(int, liste);
        QFETCH(bool, tracking);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        QListWidget *l = this->liste(liste);
        const int kopf = Mass(f->LBError, f->LBError->item(0)->text());
        l->clear();
        f->Tracking->setChecked(tracking);
        const QString lang(300, QLatin1Char('X'));
        // The error list has measured its header line already.
        const int vorher = f->Breite()[size_t(liste)];
        QCOMPARE(vorher, liste == 2 ? kopf : 0);
        zeile(liste, QStringLiteral("kurz"));
        QCOMPARE(f->Breite()[size_t(liste)], qMax(vorher, Mass(l, QStringLiteral("kurz"))));
        zeile(liste, lang);
        const int breit = Mass(l, lang);
        // The design font measures 8 per character.
        QCOMPARE(breit, 8 * 300);
        QCOMPARE(f->Breite()[size_t(liste)], breit);
        zeile(liste, QStringLiteral("ab"));
        QCOMPARE(f->Breite()[size_t(liste)], breit);
        QCOMPARE(l->property("horizontalExtent").toInt(), breit);
        QVERIFY(l->horizontalScrollBar()->maximum() >= breit - l->viewport()->width());
        QCOMPARE(l->count(), tracking ? 3 : 0);
        // The other lists keep their own measure.
        for (int n = 0; n < 3; ++n)
            if (n != liste)
                QVERIFY(f->Breite()[size_t(n)] < breit);

        f->ClearBtnClick();
        QCOMPARE(f->Breite()[size_t(liste)], breit);
        zeile(liste, QStringLiteral("x"));
        QCOMPARE(l->property("horizontalExtent").toInt(), breit);
    }

    // Long and many lines on a shown window: the lists settle, the window stays idle.
    void ruhigMitLangenZeilen()
    {
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        f->Tracking->setChecked(true);
        // Widths around the list's own: the scroll bars come and go while the lines arrive.
        for (int i = 0; i < 40; ++i) {
            zeile(0, QString(19, QLatin1Char('0')));
            zeile(1, QString(60 + i, QLatin1Char('1')));
            zeile(2, QString(20 + 3 * i, QLatin1Char('2')));
            QTest::qWait(5);
        }
        QTest::qWait(200);
        const std::clock_t cpu = std::clock();
        QTest::qWait(1000);
        const double sekunden = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        QVERIFY2(sekunden < 0.5, qPrintable(QString::number(sekunden)));
    }

    // A new line costs the same in a full list as in an empty one: the lines are measured
    // once each, not all of them again at every new line (the view's layout after a new line
    // only looks up the stored sizes).
    void neueZeileMisstNichtAlles_data()
    {
        QTest::addColumn<int>("liste");
        QTest::newRow("LBout") << 0;
        QTest::newRow("LBIn") << 1;
        QTest::newRow("LBError") << 2;
    }
    void neueZeileMisstNichtAlles()
    {
        QFETCH(int, liste);
        struct Zaehler : QStyledItemDelegate
        {
            using QStyledItemDelegate::QStyledItemDelegate;
            mutable int messungen = 0;
            mutable int anfragen = 0;
            // messungen: the lines whose text is measured; anfragen: every size asked for,
            // look-ups of a stored size included.
            QSize sizeHint(const QStyleOptionViewItem &o, const QModelIndex &i) const override
            {
                ++anfragen;
                if (!i.data(Qt::SizeHintRole).isValid())
                    ++messungen;
                return QStyledItemDelegate::sizeHint(o, i);
            }
        };
        QListWidget *l = this->liste(liste);
        auto *zaehler = new Zaehler(l);
        l->setItemDelegate(zaehler);
        f->show();
        QVERIFY(QTest::qWaitForWindowExposed(f));
        for (int i = 0; i < 1010; ++i)
            zeile(liste, QStringLiteral("Zeile %1 ").arg(i) + QString(i % 70, QLatin1Char('x')));
        QCOMPARE(l->count(), 1001);
        QTest::qWait(50);
        zaehler->messungen = 0;
        zaehler->anfragen = 0;
        for (int i = 0; i < 10; ++i) {
            zeile(liste, QStringLiteral("neu %1").arg(i));
            QTest::qWait(20);   // the view lays its lines out between two lines
        }
        QCOMPARE(l->count(), 1001);
        QVERIFY2(zaehler->messungen <= 20, qPrintable(QString::number(zaehler->messungen)));
        // Laying the lines out asks no line of the full list for its size.
        QVERIFY2(zaehler->anfragen <= 10 * 20, qPrintable(QString::number(zaehler->anfragen)));
        QCOMPARE(l->item(1000)->text(), QStringLiteral("neu 9"));
        // Every line is shown at its full width, also a longer one that comes later, and the
        // shorter ones before it are as wide.
        const QString lang = QStringLiteral("eine lange Zeile ") + QString(120, QLatin1Char('L'));
        zeile(liste, lang);
        QTest::qWait(20);
        const int breit = l->fontMetrics().horizontalAdvance(lang);
        QVERIFY(l->visualItemRect(l->item(1000)).width() >= breit);
        QVERIFY(l->visualItemRect(l->item(0)).width() >= breit);
        QVERIFY(l->visualItemRect(l->item(999)).width() >= l->fontMetrics().horizontalAdvance(QStringLiteral("neu 9")));
        QVERIFY(l->horizontalScrollBar()->maximum() >= breit - l->viewport()->width());
        // Shorter lines after it leave the long one whole.
        zeile(liste, QStringLiteral("kurz"));
        zeile(liste, QStringLiteral("k"));
        QTest::qWait(20);
        QCOMPARE(l->item(998)->text(), lang);
        QVERIFY(l->visualItemRect(l->item(998)).width() >= breit);
        QVERIFY(l->visualItemRect(l->item(1000)).width() >= breit);
    }

    void fehlerListeKopf()
    {
        const QString kopf = QStringLiteral("Fehlermeldungen. Server \"MiniQuorvel\"-")
                             + DatumText(QDate::currentDate());
        // the year in four digits
        QVERIFY(kopf.contains(QString::number(QDate::currentDate().year())));
        QCOMPARE(f->LBError->count(), 1);
        QCOMPARE(f->LBError->item(0)->text(), kopf);
        f->FehlerZeile(QStringLiteral("TIMEOUT"));
        f->FehlerZeile(QStringLiteral("noch einer"));
        f->FehlerListeKopf();
        QCOMPARE(f->LBError->count(), 1);
        QCOMPARE(f->LBError->item(0)->text(), kopf);
        f->setWindowTitle(QStringLiteral("Anders"));
        f->FehlerListeKopf();
        QVERIFY(f->LBError->item(0)->text().startsWith(QStringLiteral("Fehlermeldungen. Server \"Anders\"-")));
    }

    void anzeigenLeeren()
    {
        f->GesendetZeile(QStringLiteral("0600581006000000XX"));
        f->EmpfangenZeile(QStringLiteral("antwort"));
        f->FehlerZeile(QStringLiteral("fehler"));
        f->LastError->setText(QStringLiteral("10.12.2026 11:00:00 TIMEOUT"));
        const auto breite = f->Breite();
        f->AnzeigenLoeschen->click();
        QCOMPARE(f->LBout->count(), 0);
        QCOMPARE(f->LBIn->count(), 0);
        QCOMPARE(f->LBError->count(), 0);   // no header again
        QCOMPARE(f->LastError->text(), QStringLiteral("--"));
        QCOMPARE(f->LastAnswer->text(), QStringLiteral("--"));
        QCOMPARE(f->Breite(), breite);
    }

    void statusAnzeigeLeeren()
    {
        QLineEdit *felder[] = {f->IstT_E, f->SollT_E, f->IstF_E, f->SollF_E, f->AktBetr_E,
                               f->AktUBetr_E, f->ProgNr_E, f->DrehVerd_E, f->AnzStoer_E, f->DateEdit_E};
        for (QLineEdit *e : felder)
            e->setText(QStringLiteral("12"));
        for (QCheckBox *b : f->Relais)
            b->setChecked(true);
        f->StatusAnzeigeLeeren();
        for (QLineEdit *e : felder)
            QVERIFY2(e->text().isEmpty(), qPrintable(e->objectName()));
        for (QCheckBox *b : f->Relais)
            QVERIFY(!b->isChecked());
        QVERIFY(!Rot(f->AnzStoer_E));
    }

    // The fault count arrives as four hex digits: red from 1 up, also with letters.
    void stoerungsFarbe_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("rot");
        QTest::newRow("0000") << QStringLiteral("0000") << false;
        QTest::newRow("0001") << QStringLiteral("0001") << true;
        QTest::newRow("0003") << QStringLiteral("0003") << true;
        QTest::newRow("0009") << QStringLiteral("0009") << true;
        QTest::newRow("000A") << QStringLiteral("000A") << true;
        QTest::newRow("00FF") << QStringLiteral("00FF") << true;
        QTest::newRow("leer") << QString() << false;
        QTest::newRow("xyz") << QStringLiteral("xyz") << false;
    }
    void stoerungsFarbe()
    {
        QFETCH(QString, text);
        QFETCH(bool, rot);
        // From the other colour, so that both changes are seen.
        f->AnzStoer_E->setText(rot ? QStringLiteral("0000") : QStringLiteral("0002"));
        QCOMPARE(Rot(f->AnzStoer_E), !rot);
        f->AnzStoer_E->setText(text);
        QCOMPARE(Rot(f->AnzStoer_E), rot);
    }

    void pcZeit_data()
    {
        QTest::addColumn<QLocale>("ort");
        QTest::addColumn<QDateTime>("zeit");
        QTest::addColumn<QString>("text");
        const QLocale de(QLocale::German, QLocale::Germany);
        QTest::newRow("donnerstag") << de << QDateTime(QDate(2026, 12, 10), QTime(11, 40, 5))
                                    << "Donnerstag   10.12.2026 11:40:05";
        QTest::newRow("samstag") << de << QDateTime(QDate(2026, 12, 12), QTime(23, 59, 59))
                                 << "Samstag   12.12.2026 23:59:59";
        QTest::newRow("sonntag") << de << QDateTime(QDate(2026, 12, 13), QTime(0, 0, 1))
                                 << "Sonntag   13.12.2026 00:00:01";
        QTest::newRow("montag mitternacht") << de << QDateTime(QDate(2026, 12, 14), QTime(0, 0))
                                            << "Montag   14.12.2026";
        QTest::newRow("C locale") << QLocale::c() << QDateTime(QDate(2026, 12, 10), QTime(11, 40, 5))
                                  << "Donnerstag   10 Dec 2026 11:40:05";
    }
    void pcZeit()
    {
        QFETCH(QLocale, ort);
        QFETCH(QDateTime, zeit);
        QFETCH(QString, text);
        QCOMPARE(TwMiniQuorvel::PCZeitText(zeit, ort), text);
    }

    void uhrTimer()
    {
        f->PCZeit->clear();
        QVERIFY(QTest::qWaitFor([&] { return !f->PCZeit->text().isEmpty(); }, 3000));
        const int tag = QDate::currentDate().dayOfWeek() % 7 + 1;
        QVERIFY(f->PCZeit->text().startsWith(WochentagName(tag) + QStringLiteral("   ")));
    }

    void bedienungSperren()
    {
        f->CheckTimer->start();
        f->BedienungFreigeben(false);
        QVERIFY(!f->CheckTimer->isActive());
        for (QWidget *w : {static_cast<QWidget *>(f->WochenProgramme), static_cast<QWidget *>(f->Status),
                           static_cast<QWidget *>(f->Uhrzeit), static_cast<QWidget *>(f->TabControl1)})
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(!f->OpenGaerProg->isEnabled());
        QVERIFY(!f->OpenNivorell->isEnabled());
        for (QGroupBox *g : {f->WochenProgramme, f->Status, f->Uhrzeit})
            QCOMPARE(g->palette().color(QPalette::Window), Silber);
        // Port, address and lists stay in use.
        QVERIFY(f->ComportBox->isEnabled());
        QVERIFY(f->QuorvelAdrEdit->isEnabled());
        QVERIFY(f->LBout->isEnabled() && f->AnzeigenLoeschen->isEnabled());

        f->Gauge1->setValue(40);
        f->BedienungFreigeben(true);
        for (QWidget *w : {static_cast<QWidget *>(f->WochenProgramme), static_cast<QWidget *>(f->Status),
                           static_cast<QWidget *>(f->Uhrzeit), static_cast<QWidget *>(f->TabControl1)})
            QVERIFY(w->isEnabled());
        for (QGroupBox *g : {f->WochenProgramme, f->Status, f->Uhrzeit})
            QVERIFY(g->palette().color(QPalette::Window) != Silber);
        QVERIFY(f->CheckTimer->isActive());
        QCOMPARE(f->CheckTimer->interval(), 90000);
        QVERIFY(f->FortschrittPanel->isHidden());
        QCOMPARE(f->Gauge1->value(), 0);
    }

    // Armed by unlocking, it marks the date field, stays red under status texts, re-arms itself,
    // and locking stops it.
    void waechter()
    {
        P().CheckTimerSekunden = 1;
        f->DateEdit_E->setText(QStringLiteral("Do 10.12.2026 11:40"));
        f->BedienungFreigeben(true);
        QCOMPARE(f->CheckTimer->interval(), 1000);
        QVERIFY(!Rot(f->DateEdit_E));
        QVERIFY(QTest::qWaitFor([&] { return f->DateEdit_E->text() == QLatin1String("Steuerung nicht erreichbar"); },
                                10000));
        QVERIFY(Rot(f->DateEdit_E));
        QVERIFY(f->CheckTimer->isActive());
        QCOMPARE(f->CheckTimer->interval(), 1000);

        // A status reply replaces the text; the red stays; the mark comes again.
        f->DateEdit_E->setText(QStringLiteral("Do 10.12.2026 11:41"));
        QVERIFY(Rot(f->DateEdit_E));
        QVERIFY(QTest::qWaitFor([&] { return f->DateEdit_E->text() == QLatin1String("Steuerung nicht erreichbar"); },
                                10000));

        f->BedienungFreigeben(false);
        QVERIFY(!f->CheckTimer->isActive());
        QVERIFY(Rot(f->DateEdit_E));

        // Called directly it arms with the setting.
        P().CheckTimerSekunden = 90;
        f->CheckTimerTimer();
        QVERIFY(f->CheckTimer->isActive());
        QCOMPARE(f->CheckTimer->interval(), 90000);
    }

    void fortschritt()
    {
        struct Schritt
        {
            std::function<void()> Aufruf;
            bool Sichtbar;
            int Wert;
        };
        const Schritt schritte[] = {
            {[&] { f->FortschrittAktualisieren(40); }, false, 0},   // hidden: untouched
            {[&] { f->FortschrittZeigen(30); }, true, 30},
            {[&] { f->FortschrittAktualisieren(60); }, true, 60},
            {[&] { f->FortschrittAktualisieren(100); }, false, 0},
            {[&] { f->FortschrittAktualisieren(20); }, false, 0},
            {[&] { f->FortschrittZeigen(100); }, false, 0},
            {[&] { f->FortschrittZeigen(0); }, true, 0},
            {[&] { f->BedienungFreigeben(true); }, false, 0},
        };
        int i = 0;
        for (const Schritt &s : schritte) {
            s.Aufruf();
            QVERIFY2(f->FortschrittPanel->isHidden() != s.Sichtbar, qPrintable(QString::number(i)));
            QVERIFY2(f->Gauge1->value() == s.Wert, qPrintable(QString::number(i)));
            ++i;
        }
        QCOMPARE(f->FortschrittPanel->pos(), QPoint(96, 80));
    }
};

QTEST_MAIN(TestHauptfensterAnzeige)
#include "tst_hauptfenster_anzeige.moc"
