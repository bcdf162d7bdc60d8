#include "fensterpassung.h"
#include "support/uOberflaeche.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(std::function<void(QWidget *)>)

// The fit check of the window tests must find what a user would see cut or overprinted, and
// nothing else.
class TestFensterpassung : public QObject
{
    Q_OBJECT

    using Aufbau = std::function<void(QWidget *)>;

    template <class T> static T *neu(QWidget *eltern, const char *name, QRect ort)
    {
        auto *w = new T(eltern);
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(ort);
        return w;
    }
    static QLabel *label(QWidget *eltern, const char *name, const QString &text, QRect ort)
    {
        auto *l = neu<QLabel>(eltern, name, ort);
        l->setText(text);
        return l;
    }
    static QTableWidget *tabelle(QWidget *eltern, int breite)
    {
        auto *t = neu<QTableWidget>(eltern, "Tabelle", QRect(0, 0, 2 * breite + 4, 80));
        t->setRowCount(2);
        t->setColumnCount(2);
        t->setHorizontalHeaderLabels({QStringLiteral("Anfang"), QStringLiteral("EndZeit")});
        t->verticalHeader()->hide();
        t->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        t->setColumnWidth(0, breite);
        t->setColumnWidth(1, breite);
        t->setItem(0, 1, new QTableWidgetItem(QStringLiteral("24:00")));
        return t;
    }

private slots:
    void initTestCase() { OberflaecheEinrichten(); }

    void fehler_data()
    {
        QTest::addColumn<Aufbau>("aufbau");
        // Names the report must mention; empty: the window fits.
        QTest::addColumn<QStringList>("namen");

        QTest::newRow("everything fits") << Aufbau([](QWidget *f) {
            label(f, "Weit", QStringLiteral("Endzeit erreicht"), QRect(8, 8, 200, 20));
            neu<QCheckBox>(f, "Haken", QRect(8, 30, 200, 20))->setText(QStringLiteral("Verdampferlüfter"));
            neu<QPushButton>(f, "Knopf", QRect(8, 52, 200, 25))->setText(QStringLiteral("Schliessen"));
            neu<QLineEdit>(f, "Zeile", QRect(8, 80, 121, 21))->setText(QStringLiteral("65535"));
            auto *g = neu<QGroupBox>(f, "Gruppe", QRect(220, 8, 160, 100));
            g->setTitle(QStringLiteral("Wochen-Programme"));
            label(g, "InGruppe", QStringLiteral("Datum:"), QRect(8, 30, 100, 20));
            tabelle(f, 70)->move(8, 110);
        }) << QStringList{};

        QTest::newRow("label too narrow") << Aufbau([](QWidget *f) {
            label(f, "ZuSchmal", QStringLiteral("Donnerstag"), QRect(8, 8, 20, 20));
        }) << QStringList{QStringLiteral("ZuSchmal")};
        QTest::newRow("label too low") << Aufbau([](QWidget *f) {
            label(f, "ZuNiedrig", QStringLiteral("Datum:"), QRect(8, 8, 100, 5));
        }) << QStringList{QStringLiteral("ZuNiedrig")};
        QTest::newRow("two labels overlap") << Aufbau([](QWidget *f) {
            label(f, "Oben", QStringLiteral("Endzeit erreicht"), QRect(8, 8, 150, 16));
            label(f, "Unten", QStringLiteral("Datum:"), QRect(20, 14, 100, 16));
        }) << QStringList{QStringLiteral("Oben"), QStringLiteral("Unten")};
        QTest::newRow("wide label ending under an edit") << Aufbau([](QWidget *f) {
            label(f, "Lang", QStringLiteral("Verdampferlüfter"), QRect(8, 8, 150, 20));
            neu<QLineEdit>(f, "Feld", QRect(40, 8, 100, 20));
        }) << QStringList{QStringLiteral("Lang"), QStringLiteral("Feld")};
        QTest::newRow("check box text cut") << Aufbau([](QWidget *f) {
            neu<QCheckBox>(f, "Rahmenheizung", QRect(8, 8, 50, 14))->setText(QStringLiteral("Rahmenheizung"));
        }) << QStringList{QStringLiteral("Rahmenheizung")};
        QTest::newRow("button text cut") << Aufbau([](QWidget *f) {
            neu<QPushButton>(f, "Knopf", QRect(8, 8, 30, 25))->setText(QStringLiteral("Quorvel -->> PC"));
        }) << QStringList{QStringLiteral("Knopf")};
        QTest::newRow("group title cut") << Aufbau([](QWidget *f) {
            neu<QGroupBox>(f, "Gruppe", QRect(8, 8, 40, 60))->setTitle(QStringLiteral("Wochen-Programme"));
        }) << QStringList{QStringLiteral("Gruppe")};
        QTest::newRow("child on a group title") << Aufbau([](QWidget *f) {
            auto *g = neu<QGroupBox>(f, "Gruppe", QRect(8, 8, 200, 80));
            g->setTitle(QStringLiteral("Ausgaenge"));
            neu<QLineEdit>(g, "AufTitel", QRect(4, 0, 100, 20));
        }) << QStringList{QStringLiteral("AufTitel")};
        QTest::newRow("label over a label inside a see-through group") << Aufbau([](QWidget *f) {
            auto *g = neu<QGroupBox>(f, "Gruppe", QRect(8, 8, 200, 80));
            label(g, "Innen", QStringLiteral("Datum:"), QRect(8, 30, 100, 16));
            label(f, "Drueber", QStringLiteral("Endzeit erreicht"), QRect(0, 36, 150, 16));
        }) << QStringList{QStringLiteral("Innen"), QStringLiteral("Drueber")};
        QTest::newRow("label reaching out of its group") << Aufbau([](QWidget *f) {
            auto *g = neu<QGroupBox>(f, "Gruppe", QRect(8, 8, 100, 80));
            label(g, "Hinaus", QStringLiteral("Endzeit erreicht"), QRect(60, 30, 120, 20));
        }) << QStringList{QStringLiteral("Hinaus")};
        // A wrapped text is judged by the lines it breaks into, not by its length in one line.
        QTest::newRow("wrapped label inside a narrow parent") << Aufbau([](QWidget *f) {
            auto *p = neu<QWidget>(f, "Panel", QRect(0, 0, 177, 70));
            label(p, "Umbruch", QStringLiteral("sek wird automatisch OK       gewählt"), QRect(50, 2, 120, 28))
                ->setWordWrap(true);
        }) << QStringList{};
        QTest::newRow("wrapped label reaching out of its parent") << Aufbau([](QWidget *f) {
            auto *p = neu<QWidget>(f, "Panel", QRect(0, 0, 120, 70));
            label(p, "Umbruch", QStringLiteral("sek wird automatisch OK       gewählt"), QRect(50, 2, 120, 28))
                ->setWordWrap(true);
        }) << QStringList{QStringLiteral("Umbruch")};
        QTest::newRow("second wrapped line over a label") << Aufbau([](QWidget *f) {
            label(f, "Umbruch", QStringLiteral("sek wird automatisch OK       gewählt"), QRect(8, 8, 120, 50))
                ->setWordWrap(true);
            label(f, "Darunter", QStringLiteral("Datum:"), QRect(8, 42, 100, 14));
        }) << QStringList{QStringLiteral("Umbruch"), QStringLiteral("Darunter")};
        QTest::newRow("edit value cut") << Aufbau([](QWidget *f) {
            neu<QLineEdit>(f, "Wert", QRect(8, 8, 20, 21))->setText(QStringLiteral("65535"));
        }) << QStringList{QStringLiteral("Wert")};
        QTest::newRow("spin box value cut") << Aufbau([](QWidget *f) {
            auto *s = neu<QSpinBox>(f, "Spin", QRect(8, 8, 30, 21));
            s->setRange(0, 99999);
            s->setValue(65535);
        }) << QStringList{QStringLiteral("Spin")};
        QTest::newRow("combo box text cut") << Aufbau([](QWidget *f) {
            auto *c = neu<QComboBox>(f, "Auswahl", QRect(8, 8, 40, 21));
            c->addItem(QStringLiteral("Garverzögerung"));
        }) << QStringList{QStringLiteral("Auswahl")};
        QTest::newRow("table cell and header cut") << Aufbau([](QWidget *f) { tabelle(f, 16); })
                                                   << QStringList{QStringLiteral("Zelle (0, 1)"),
                                                                  QStringLiteral("Spaltenkopf 1")};
        QTest::newRow("cell cut by a view without scroll bars") << Aufbau([](QWidget *f) {
            tabelle(f, 70)->resize(100, 80);
        }) << QStringList{QStringLiteral("Tabelle: Zelle (0, 1)")};
        QTest::newRow("tab text squeezed") << Aufbau([](QWidget *f) {
            auto *t = neu<QTabWidget>(f, "Reiter", QRect(8, 8, 90, 60));
            t->setUsesScrollButtons(false);
            t->setElideMode(Qt::ElideRight);
            t->addTab(new QWidget, QStringLiteral("Gär-Programme"));
            t->addTab(new QWidget, QStringLiteral("Nivorell-Programme"));
        }) << QStringList{QStringLiteral("Reiter/QTabBar: Reiter 1")};
        QTest::newRow("see-through group over an edit") << Aufbau([](QWidget *f) {
            neu<QLineEdit>(f, "Darunter", QRect(8, 8, 121, 21))->setText(QStringLiteral("FirmWareEdit"));
            neu<QGroupBox>(f, "Gruppe", QRect(0, 0, 200, 100))->setTitle(QStringLiteral("Wochen-Programme"));
        }) << QStringList{QStringLiteral("Darunter"), QStringLiteral("Gruppe")};
        QTest::newRow("opaque group wholly covering an edit") << Aufbau([](QWidget *f) {
            neu<QLineEdit>(f, "Darunter", QRect(8, 8, 121, 21))->setText(QStringLiteral("FirmWareEdit"));
            auto *g = neu<QGroupBox>(f, "Gruppe", QRect(0, 0, 200, 100));
            g->setTitle(QStringLiteral("Wochen-Programme"));
            g->setAutoFillBackground(true);
        }) << QStringList{};
        QTest::newRow("opaque group covering part of an edit") << Aufbau([](QWidget *f) {
            neu<QLineEdit>(f, "Darunter", QRect(100, 8, 121, 21))->setText(QStringLiteral("FirmWareEdit"));
            auto *g = neu<QGroupBox>(f, "Gruppe", QRect(0, 0, 150, 100));
            g->setTitle(QStringLiteral("Wochen-Programme"));
            g->setAutoFillBackground(true);
        }) << QStringList{QStringLiteral("Darunter")};
        QTest::newRow("hidden widgets do not count") << Aufbau([](QWidget *f) {
            label(f, "Versteckt", QStringLiteral("Donnerstag"), QRect(8, 8, 20, 20))->hide();
        }) << QStringList{};
    }
    void fehler()
    {
        QFETCH(Aufbau, aufbau);
        QFETCH(QStringList, namen);
        QWidget fenster;
        fenster.setObjectName(QStringLiteral("Fenster"));
        fenster.resize(400, 300);
        aufbau(&fenster);
        fenster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fenster));
        const QStringList gefunden = Passungsfehler(&fenster);
        const QString bericht = gefunden.join(QLatin1Char('\n'));
        if (namen.isEmpty())
            QVERIFY2(gefunden.isEmpty(), qPrintable(bericht));
        else
            QVERIFY2(!gefunden.isEmpty(), "nothing reported");
        for (const QString &name : namen)
            QVERIFY2(bericht.contains(name), qPrintable(name + QStringLiteral(" missing in:\n") + bericht));
    }

    // A window that is not shown cannot be judged, and says so.
    void ungezeigtesFenster()
    {
        QWidget fenster;
        fenster.setObjectName(QStringLiteral("Fenster"));
        const QStringList gefunden = Passungsfehler(&fenster);
        QCOMPARE(gefunden.size(), 1);
        QVERIFY(gefunden.first().startsWith(QStringLiteral("Fenster:")));
    }
};

QTEST_MAIN(TestFensterpassung)
#include "tst_fensterpassung.moc"
