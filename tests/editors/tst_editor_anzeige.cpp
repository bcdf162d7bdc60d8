// What both editors draw: the names list keeps its numbers and names in view whatever selects
// a row, and a locked editor stays legible.

#include "editor_umgebung.h"
#include "dialogtippen.h"
#include "kontrast.h"

#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "support/uOberflaeche.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTableWidget>
#include <QtTest>

#include <cmath>

namespace {

// Pixels of text drawn in black on the light cells: how much of the names shows.
int Schriftpixel(const QImage &Bild, const QRect &Bereich)
{
    int n = 0;
    const QRect r = Bereich.intersected(Bild.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (QColor(Bild.pixel(x, y)).lightness() < 110)
                ++n;
    return n;
}

// The part of the list's viewport where rows 5 and 6 (never selected below) are drawn.
QRect ZeilenBereich(QTableWidget *Liste)
{
    const QRect a = Liste->visualRect(Liste->model()->index(5, 0));
    const QRect b = Liste->visualRect(Liste->model()->index(6, 1));
    return a.united(b).intersected(Liste->viewport()->rect());
}

// Each disabled text of the window with the place it is drawn at, in the window's picture.
QList<QPair<QString, QRect>> GesperrteTexte(TProgrammEditor *Fenster)
{
    QList<QPair<QString, QRect>> texte;
    auto ort = [Fenster](QWidget *w, const QRect &r) { return QRect(w->mapTo(Fenster, r.topLeft()), r.size()); };
    // What lies under the shown progress panel is not seen.
    const QRect verdeckt = Fenster->FortschrittPanel->isVisible()
                               ? ort(Fenster->FortschrittPanel, Fenster->FortschrittPanel->rect()) : QRect();
    for (QWidget *w : Fenster->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isEnabled() || verdeckt.intersects(ort(w, w->rect())))
            continue;
        const QString name = w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
        if (auto *l = qobject_cast<QLabel *>(w); l && !l->text().isEmpty()) {
            texte.append({name + QStringLiteral(" \"") + l->text() + QLatin1Char('"'), ort(l, l->contentsRect())});
        } else if (auto *c = qobject_cast<QCheckBox *>(w)) {
            QStyleOptionButton opt;
            opt.initFrom(c);
            texte.append({name, ort(c, c->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, c))});
        } else if (auto *b = qobject_cast<QPushButton *>(w)) {
            texte.append({name, ort(b, b->rect().adjusted(4, 4, -4, -4))});
        } else if (auto *g = qobject_cast<QGroupBox *>(w); g && !g->title().isEmpty()) {
            QStyleOptionGroupBox opt;
            opt.initFrom(g);
            opt.text = g->title();
            opt.subControls = QStyle::SC_GroupBoxLabel;
            opt.lineWidth = 1;
            texte.append({name, ort(g, g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g))});
        } else if (auto *e = qobject_cast<QLineEdit *>(w); e && !e->text().isEmpty()) {
            texte.append({name + QStringLiteral(" \"") + e->text() + QLatin1Char('"'), ort(e, e->rect().adjusted(2, 2, -2, -2))});
        } else if (auto *t = qobject_cast<QTableWidget *>(w)) {
            for (int z = 0; z < t->rowCount(); ++z)
                for (int sp = 0; sp < t->columnCount(); ++sp)
                    if (QTableWidgetItem *i = t->item(z, sp); i && !i->text().isEmpty())
                        texte.append({QStringLiteral("%1 cell %2,%3").arg(name).arg(z).arg(sp),
                                      ort(t->viewport(), t->visualItemRect(i).adjusted(1, 1, -1, -1)
                                                             .intersected(t->viewport()->rect()))});
        }
    }
    QMenuBar *leiste = Fenster->menuBar();
    for (QAction *a : leiste->actions())
        if (!a->isEnabled())
            texte.append({QStringLiteral("menu ") + a->text(), ort(leiste, leiste->actionGeometry(a).adjusted(2, 2, -2, -2))});
    return texte;
}

} // namespace

class TestEditorAnzeige : public QObject
{
    Q_OBJECT
    std::unique_ptr<EditorUmgebung<TwQuorvelGaerProg>> gaer;
    std::unique_ptr<EditorUmgebung<TwQuorvelNivorell>> nivorell;

    // The editor of a row, made with its fixture (one at a time: the program-wide values are one).
    TProgrammEditor *editor(const QString &Art)
    {
        if (Art == QLatin1String("Gaer")) {
            gaer = std::make_unique<EditorUmgebung<TwQuorvelGaerProg>>();
            return gaer->fenster.get();
        }
        nivorell = std::make_unique<EditorUmgebung<TwQuorvelNivorell>>();
        return nivorell->fenster.get();
    }

private slots:
    void initTestCase() { OberflaecheEinrichten(); }
    void cleanup()
    {
        nivorell.reset();
        gaer.reset();
    }

    // A click on a name, the arrow keys and a row chosen by the program leave column 0 and the
    // start of the names in view: the names' text is drawn as before.
    void namenBleibenSichtbar_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("wahl");
        for (const char *art : {"Gaer", "Nivorell"})
            for (const char *wahl : {"click on a name", "click on a number", "arrow down", "row chosen", "move down"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(art), QLatin1String(wahl))))
                    << art << wahl;
    }
    void namenBleibenSichtbar()
    {
        QFETCH(QString, art);
        QFETCH(QString, wahl);
        TProgrammEditor *e = editor(art);
        e->show();
        QVERIFY(QTest::qWaitForWindowExposed(e));
        QTableWidget *liste = e->NamenListe;
        const int vorher = Schriftpixel(liste->viewport()->grab().toImage(), ZeilenBereich(liste));
        QVERIFY2(vorher > 40, qPrintable(QString::number(vorher)));

        if (wahl.startsWith(QLatin1String("click"))) {
            const int spalte = wahl.endsWith(QLatin1String("name")) ? 1 : 0;
            const QRect zelle = liste->visualRect(liste->model()->index(4, spalte)).intersected(liste->viewport()->rect());
            QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, zelle.center());
            QCOMPARE(e->Zeile(), 4);
        } else if (wahl == QLatin1String("arrow down")) {
            QTest::mouseClick(liste->viewport(), Qt::LeftButton, {},
                              liste->visualRect(liste->model()->index(1, 1)).intersected(liste->viewport()->rect()).center());
            QTest::keyClick(liste, Qt::Key_Down);
            QCOMPARE(e->Zeile(), 2);
        } else if (wahl == QLatin1String("row chosen")) {
            e->ZeileWaehlen(10);
        } else {
            e->NachUntenClick();
        }
        // A view scrolls to a clicked cell only after the double-click time.
        QTest::qWait(QApplication::doubleClickInterval() + 300);
        const int nachher = Schriftpixel(liste->viewport()->grab().toImage(), ZeilenBereich(liste));
        QVERIFY2(nachher >= vorher * 9 / 10, qPrintable(QStringLiteral("%1 -> %2").arg(vorher).arg(nachher)));
        QCOMPARE(liste->horizontalScrollBar()->value(), 0);
    }

    // The open dialogs return a name typed for a file that does not exist; the read then fails
    // with the box that names the file, and a list load leaves the list cleared.
    void oeffnenFehlendeDatei_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<bool>("liste");
        QTest::addColumn<QString>("datei");
        QTest::newRow("Gaer, list") << "Gaer" << true << "fehlt.QGR";
        QTest::newRow("Gaer, single") << "Gaer" << false << "fehlt.QGP";
        QTest::newRow("Nivorell, list") << "Nivorell" << true << "fehlt.NVR";
        QTest::newRow("Nivorell, single") << "Nivorell" << false << "fehlt.NVP";
    }
    void oeffnenFehlendeDatei()
    {
        QFETCH(QString, art);
        QFETCH(bool, liste);
        QFETCH(QString, datei);
        TProgrammEditor *e = editor(art);
        e->Dateidialog = nullptr; // the real dialog
        e->DialogOrdner = art == QLatin1String("Gaer") ? gaer->dir.path() : nivorell->dir.path();
        QStringList fehler;
        DateiFehlerBox = [&fehler](QWidget *, const QString &, const QString &Text) { fehler << Text; };
        e->show();
        QVERIFY(QTest::qWaitForWindowExposed(e));
        bool getippt = false;
        NameEintippen(this, datei, getippt);
        (liste ? e->LadenListe : e->LadenEinzeln)->click();
        QVERIFY(getippt);
        const QString pfad = QDir(e->DialogOrdner).filePath(datei);
        QCOMPARE(fehler.size(), 1);
        QVERIFY2(fehler.first().startsWith(OeffnenFehler(pfad, QString())), qPrintable(fehler.first()));
        QVERIFY(fehler.first().size() > OeffnenFehler(pfad, QString()).size()); // with the reason
        if (liste) {
            QVERIFY(!e->SendenListe->isEnabled());
            QVERIFY(e->Name(1) != QStringLiteral("Programm 01"));
        } else {
            QCOMPARE(e->Name(1), QStringLiteral("Programm 01"));
        }
    }

    // While a request runs, every disabled text of the editor stays legible on what is drawn
    // behind it: 3:1 or more, measured in the window's picture.
    void gesperrtLesbar_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("anfrage");
        for (const char *art : {"Gaer", "Nivorell"})
            for (const char *anfrage : {"list read", "single read", "list write", "single write"})
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(art), QLatin1String(anfrage))))
                    << art << anfrage;
        QTest::newRow("Nivorell, waiting after Abbrechen") << "Nivorell" << "list read, Abbrechen";
    }
    void gesperrtLesbar()
    {
        QFETCH(QString, art);
        QFETCH(QString, anfrage);
        TProgrammEditor *e = editor(art);
        e->show();
        QVERIFY(QTest::qWaitForWindowExposed(e));
        const bool liste = anfrage.startsWith(QLatin1String("list"));
        if (anfrage.contains(QLatin1String("read")))
            (liste ? e->LesenListe : e->LesenEinzeln)->click();
        else
            (liste ? e->SendenListe : e->SendenEinzeln)->click();
        if (anfrage.endsWith(QLatin1String("Abbrechen")))
            e->Cancel->click();
        QVERIFY(e->Gesperrt());
        QVERIFY(!e->SperrGruppe->isEnabled());
        QCoreApplication::processEvents();

        const QImage bild = e->grab().toImage();
        const QList<QPair<QString, QRect>> texte = GesperrteTexte(e);
        QVERIFY(texte.size() >= 10);
        QStringList schwach;
        for (const auto &[name, ort] : texte) {
            const double k = GezeichneterKontrast(bild, ort);
            if (k < 3.0)
                schwach << QStringLiteral("%1: %2 on %3, %4:1").arg(name, QString(), Grundfarbe(bild, ort).name())
                               .arg(k, 0, 'f', 2);
        }
        QVERIFY2(schwach.isEmpty(), qPrintable(QLatin1Char('\n') + schwach.join(QLatin1Char('\n'))));

        // Unlocked again, the group has the window's look.
        e->FreigabeSetzen(true);
        QCOMPARE(e->SperrGruppe->palette(), e->palette());
        QVERIFY(!e->SperrGruppe->autoFillBackground());
    }
};

QTEST_MAIN(TestEditorAnzeige)
#include "tst_editor_anzeige.moc"
