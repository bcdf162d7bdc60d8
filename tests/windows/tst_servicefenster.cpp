// The service window: components, start state, the record grids and editors, the time
// normaliser of its grids, list browsing, the popup for "FFFF" and the show toggles.

#include "anzeigetexte.h"
#include "servicefenster_umgebung.h"

#include "editors/uQuorvelGaerProg.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

QString Beschriftung(const QWidget *w)
{
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    if (auto *e = qobject_cast<const QLineEdit *>(w))
        return e->text();
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *s = qobject_cast<const TQorSpinEdit *>(w))
        return s->Text();
    return QStringLiteral("<?>");
}

QStringList MemoZeilen(const QPlainTextEdit *m)
{
    const QString t = m->toPlainText();
    return t.isEmpty() ? QStringList() : t.split(QLatin1Char('\n'));
}

TQorGaerProg GaerProgramm(int nr)
{
    TQorGaerProg g;
    const QString n = QString::number(nr);
    g.Nr = n;
    g.Sch = {QStringLiteral("-") + n, QString(), QStringLiteral("1") + n};
    g.GU = {QStringLiteral("2") + n, QString(), QString()};
    g.GV = {QStringLiteral("3") + n, QStringLiteral("4") + n, QStringLiteral("5") + n};
    g.GA = {QStringLiteral("6") + n, QStringLiteral("7") + n, QStringLiteral("8") + n};
    g.AB = {QStringLiteral("9") + n, QStringLiteral("FFFF"), QStringLiteral("x") + n};
    g.Backofenvorlauf = QStringLiteral("10") + n;
    return g;
}

TQorNivorell NvProgramm(int nr)
{
    TQorNivorell p;
    p.Nr = QString::number(nr);
    for (int s = 0; s < 8; ++s)
        p.Schritte[size_t(s)] = {QString::number(nr * 10 + s), QString::number(50 + s), QString::number(60 * s + nr)};
    return p;
}

} // namespace

class TestServicefenster : public QObject
{
    Q_OBJECT
    std::unique_ptr<ServiceUmgebung> u;
    std::unique_ptr<TwQuorvelGaerProg> editor;

    TwQuorvel *f() const { return u->fenster.get(); }

    // Shows the window with the group of the grid, so that its cells are drawn.
    void Zeigen(QGroupBox *gruppe)
    {
        gruppe->show();
        f()->show();
        QVERIFY(QTest::qWaitForWindowExposed(f()));
    }

    // Cell (row, column) written, the window shown and drawn, then read back.
    void ZeitZelleTabelle()
    {
        QTest::addColumn<QString>("minuten");
        QTest::addColumn<QString>("zelle");
        QTest::addColumn<QString>("vorher");     // read back before the cell was drawn
        QTest::addColumn<QString>("gezeichnet"); // the cell once drawn
        QTest::addColumn<QString>("nachher");    // read back after that
        QTest::newRow("0 min") << "0" << "" << "0" << "" << "0";
        QTest::newRow("90 min") << "90" << "01:30" << "90" << "01:30" << "90";
        QTest::newRow("1439 min") << "1439" << "23:59" << "1439" << "23:59" << "1439";
        QTest::newRow("1440 min") << "1440" << "24:00" << "1440" << "" << "0";
        QTest::newRow("1500 min") << "1500" << "25:00" << "1500" << "" << "0";
        QTest::newRow("65535 min (FFFF)") << "65535" << "1092:15" << "65535" << "" << "0";
        QTest::newRow("empty field") << "" << "--00:01" << "1" << "" << "0";
        QTest::newRow("no number") << "FFFF" << "--00:01" << "1" << "" << "0";
        QTest::newRow("negative") << "-5" << "--00:05" << "5" << "" << "0";
    }

private slots:
    void init()
    {
        u = std::make_unique<ServiceUmgebung>();
        editor = std::make_unique<TwQuorvelGaerProg>();
    }
    void cleanup()
    {
        editor.reset();
        u.reset();
    }

    // ---- components -----------------------------------------------------------------

    void komponenten_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPoint>("ort");
        QTest::addColumn<QSize>("groesse");   // empty: not fixed
        const QSize frei;
        QTest::newRow("StatusPollen") << "StatusPollen" << "StatusPollen" << QPoint(8, 8) << frei;
        QTest::newRow("EinzelDemo") << "EinzelDemo" << "EinzelDemo" << QPoint(8, 24) << frei;
        QTest::newRow("DoSetTime") << "DoSetTime" << "DoSetTime" << QPoint(97, 6) << frei;
        QTest::newRow("Label1") << "Label1" << "PrgName:" << QPoint(88, 24) << frei;
        QTest::newRow("PrgEdit") << "PrgEdit" << "" << QPoint(88, 37) << frei;
        QTest::newRow("ShowWoPrg") << "ShowWoPrg" << "ShowWoPrg" << QPoint(160, 8) << frei;
        QTest::newRow("RdFirmware") << "RdFirmware" << "RdFirmware" << QPoint(160, 24) << frei;
        QTest::newRow("ShowGaer") << "ShowGaer" << "ShowGaer" << QPoint(232, 8) << frei;
        QTest::newRow("ShowNivoR") << "ShowNivoR" << "ShowNivoR" << QPoint(232, 24) << frei;
        QTest::newRow("OneStatus") << "OneStatus" << "OneStatus" << QPoint(232, 41) << frei;
        QTest::newRow("StatusAnzeigen") << "StatusAnzeigen" << "StatusAnzeigen" << QPoint(304, 8) << frei;
        QTest::newRow("SommerZeit") << "SommerZeit" << "SommerZeit" << QPoint(304, 22) << frei;
        QTest::newRow("FirmWareEdit") << "FirmWareEdit" << "FirmWareEdit" << QPoint(416, 8) << frei;
        QTest::newRow("TimeEdit") << "TimeEdit" << "TimeEdit" << QPoint(416, 32) << frei;
        QTest::newRow("Ausgaenge") << "Ausgaenge" << "Ausgaenge" << QPoint(11, 48) << QSize(494, 185);
        QTest::newRow("GaerProgramm") << "GaerProgramm" << "GaerProgramm" << QPoint(416, 8) << QSize(265, 225);
        QTest::newRow("NivorellProgramm") << "NivorellProgramm" << "NivorellProgramm" << QPoint(344, 8) << QSize(342, 209);
        QTest::newRow("WochenProgramme") << "WochenProgramme" << "Wochen-Programme" << QPoint(416, 8) << QSize(217, 201);
        QTest::newRow("DoCancelRecord") << "DoCancelRecord" << "DoCancelRecord" << QPoint(32, 224) << QSize(89, 25);
        QTest::newRow("CloseBtn") << "CloseBtn" << "Schliessen" << QPoint(32, 250) << QSize(626, 25);
        QTest::newRow("CheckBox0") << "CheckBox0" << "Störung" << QPoint(8, 16) << frei;
        QTest::newRow("CheckBox3") << "CheckBox3" << "Schockklap. auf" << QPoint(8, 58) << frei;
        QTest::newRow("CheckBox9") << "CheckBox9" << "Verdampferlüfter" << QPoint(8, 142) << frei;
        QTest::newRow("CheckBox10") << "CheckBox10" << "Kompressor B" << QPoint(106, 16) << frei;
        QTest::newRow("CheckBox16") << "CheckBox16" << "Backofen Start" << QPoint(106, 100) << frei;
        QTest::newRow("CheckBox17") << "CheckBox17" << "Mag.vent.Kühl" << QPoint(106, 114) << frei;
        QTest::newRow("StoerMemo") << "StoerMemo" << "<?>" << QPoint(368, 16) << QSize(121, 161);
        QTest::newRow("SollT_E") << "SollT_E" << "SollT" << QPoint(-1, -1) << QSize(49, -1);
        QTest::newRow("IstF_E") << "IstF_E" << "IstF" << QPoint(-1, -1) << QSize(49, -1);
        QTest::newRow("DateEdit_E") << "DateEdit_E" << "DateEdit" << QPoint(-1, -1) << QSize(121, -1);
        QTest::newRow("AktUBetr_E") << "AktUBetr_E" << "AktUBetr_E" << QPoint(-1, -1) << QSize(121, -1);
        QTest::newRow("P_SchTemp") << "P_SchTemp" << "9999" << QPoint(32, -1) << QSize(47, -1);
        QTest::newRow("P_GvFeu") << "P_GvFeu" << "999" << QPoint(80, -1) << QSize(47, -1);
        QTest::newRow("P_BVorl") << "P_BVorl" << "999" << QPoint(128, -1) << QSize(47, -1);
        QTest::newRow("P_Nr") << "P_Nr" << "1" << QPoint(-1, -1) << frei;
        QTest::newRow("RecNr") << "RecNr" << "1" << QPoint(-1, -1) << frei;
        QTest::newRow("LesenGPrg") << "LesenGPrg" << "Lesen" << QPoint(-1, -1) << frei;
        QTest::newRow("SendenGPrg") << "SendenGPrg" << "Senden" << QPoint(-1, -1) << frei;
        QTest::newRow("LadenGPrg") << "LadenGPrg" << "LadenGPrg" << QPoint(-1, -1) << frei;
        QTest::newRow("SpeichernGPrg") << "SpeichernGPrg" << "SpeichernGPrg" << QPoint(-1, -1) << frei;
        QTest::newRow("TakeRecord") << "TakeRecord" << "TakeRecord" << QPoint(-1, -1) << frei;
        QTest::newRow("NivoRPrgNr") << "NivoRPrgNr" << "1" << QPoint(-1, -1) << frei;
        QTest::newRow("RecNr_NV") << "RecNr_NV" << "1" << QPoint(-1, -1) << frei;
        QTest::newRow("LesenNivoR") << "LesenNivoR" << "Lesen" << QPoint(-1, -1) << frei;
        QTest::newRow("SendenNivoR") << "SendenNivoR" << "Senden" << QPoint(-1, -1) << frei;
        QTest::newRow("LadenNivoR") << "LadenNivoR" << "Laden" << QPoint(-1, -1) << frei;
        QTest::newRow("SpeichernNivoR") << "SpeichernNivoR" << "Speichern" << QPoint(-1, -1) << frei;
        QTest::newRow("TakeRecordNV") << "TakeRecordNV" << "TakeRecord" << QPoint(-1, -1) << frei;
        QTest::newRow("LesenWoPrg") << "LesenWoPrg" << "Quorvel -->> PC" << QPoint(-1, -1) << frei;
        QTest::newRow("SendenWoPrg") << "SendenWoPrg" << "PC -->> Quorvel" << QPoint(-1, -1) << frei;
        QTest::newRow("LadenWoPrg") << "LadenWoPrg" << "    Laden" << QPoint(-1, -1) << frei;
        QTest::newRow("Speichern_WoPrg") << "Speichern_WoPrg" << "   Speichern" << QPoint(-1, -1) << frei;
    }
    void komponenten()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QPoint, ort);
        QFETCH(QSize, groesse);
        const QList<QWidget *> treffer = f()->findChildren<QWidget *>(name);
        QCOMPARE(treffer.size(), 1);
        QWidget *w = treffer.first();
        QCOMPARE(Beschriftung(w), text);
        if (ort.x() >= 0)
            QCOMPARE(w->x(), ort.x());
        if (ort.y() >= 0)
            QCOMPARE(w->y(), ort.y());
        if (groesse.width() >= 0)
            QCOMPARE(w->width(), groesse.width());
        if (groesse.height() >= 0)
            QCOMPARE(w->height(), groesse.height());
    }

    void startZustand()
    {
        QCOMPARE(f()->windowTitle(), QStringLiteral("Quorvel 0"));
        // Minimise and maximise only, no close box; the window chooses its buttons itself.
        QVERIFY(f()->windowFlags() & Qt::CustomizeWindowHint);
        QVERIFY(!(f()->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(f()->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(f()->windowFlags() & Qt::WindowMaximizeButtonHint);
        for (QGroupBox *g : {f()->Ausgaenge, f()->GaerProgramm, f()->NivorellProgramm, f()->WochenProgramme}) {
            QVERIFY(!g->isVisibleTo(f()));
            QCOMPARE(g->parentWidget(), static_cast<QWidget *>(f()->Panel1));
        }
        QVERIFY(f()->StatusPollen->isChecked());
        for (QCheckBox *c : {f()->StatusAnzeigen, f()->SommerZeit, f()->TakeRecord, f()->TakeRecordNV, f()->EinzelDemo})
            QVERIFY(!c->isChecked());
        for (TQorSpinEdit *s : {f()->P_Nr, f()->RecNr, f()->NivoRPrgNr, f()->RecNr_NV}) {
            QCOMPARE(s->Minimum(), 1);
            QCOMPARE(s->Maximum(), 10);
        }
        QCOMPARE(f()->P_SchTemp->Minimum(), f()->P_SchTemp->Maximum());
        for (int i = 0; i < 18; ++i)
            QCOMPARE(f()->Ausgang[size_t(i)]->objectName(), QStringLiteral("CheckBox%1").arg(i));
        QCOMPARE(f()->Stoerung, (std::array<qint32, 8>{}));
        QCOMPARE(f()->StoerAnzahl, 0);
        QVERIFY(f()->GaerProg == TQorGaerProg{});
        QVERIFY(f()->NvListe[9] == TQorNivorell{});
        QVERIFY(f()->StatusTimer->isActive());
        QCOMPARE(f()->StatusTimer->interval(), 2000);
        QVERIFY(!f()->DemoTimer->isActive());
        QCOMPARE(f()->DemoTimer->interval(), 1000);
        QVERIFY(!f()->PassivStatusTimer->isActive());
        QCOMPARE(f()->PassivStatusTimer->interval(), 500);
        QCOMPARE(f()->PopupMenu1->objectName(), QStringLiteral("PopupMenu1"));
        QCOMPARE(f()->WertNichtProgrammieren->text(),
                 QStringLiteral("Wert nicht programmieren (Leer=\"FFFF\" setzen)."));
        QCOMPARE(f()->WertNichtProgrammieren->objectName(), QStringLiteral("WertNichtProgrammieren"));
        QCOMPARE(f()->StoerMemo->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(f()->QorMeldung->height(), 33);
        QCOMPARE(f()->Makros->objectName(), QStringLiteral("Makros"));
        QVERIFY(f()->findChild<QObject *>(QStringLiteral("OpenDialog1")));
        QVERIFY(f()->findChild<QObject *>(QStringLiteral("SaveDialog1")));
        QVERIFY(f()->IstT_E->isReadOnly() && f()->SollF_E->isReadOnly());
    }

    void gitterAufbau()
    {
        QTableWidget *w = f()->NachtStarts;
        QCOMPARE(w->columnCount(), 5);
        QCOMPARE(w->rowCount(), 8);
        QCOMPARE((QList<int>{w->columnWidth(0), w->columnWidth(1), w->columnWidth(2), w->columnWidth(3), w->columnWidth(4)}),
                 (QList<int>{30, 42, 44, 46, 37}));
        QCOMPARE(w->rowHeight(3), 15);
        QCOMPARE((QStringList{Zelle(w, 0, 1), Zelle(w, 0, 2), Zelle(w, 0, 3), Zelle(w, 0, 4)}),
                 (QStringList{"PRG", "BetArt", "EndTag", "EndZeit"}));
        QStringList tage;
        for (int r = 1; r <= 7; ++r)
            tage << Zelle(w, r, 0);
        QCOMPARE(tage, (QStringList{"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"}));
        QVERIFY(w->tabKeyNavigation());

        QTableWidget *n = f()->NivorellGrid;
        QCOMPARE(n->columnCount(), 4);
        QCOMPARE(n->rowCount(), 9);
        QCOMPARE((QList<int>{n->columnWidth(0), n->columnWidth(1), n->columnWidth(2), n->columnWidth(3)}),
                 (QList<int>{60, 54, 60, 70}));
        QCOMPARE(n->rowHeight(8), 20);
        QCOMPARE((QStringList{Zelle(n, 0, 0), Zelle(n, 0, 1), Zelle(n, 0, 2), Zelle(n, 0, 3)}),
                 (QStringList{"Nivorell", "Temp /°C", "Feuchte /%", "Dauer /hh:nn"}));
        QCOMPARE(Zelle(n, 1, 0), QStringLiteral("Phase1"));
        QCOMPARE(Zelle(n, 8, 0), QStringLiteral("Phase8"));
        QCOMPARE(n->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(n->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);

        // Fixed row and column are not editable, the others are.
        for (QTableWidget *g : {w, n}) {
            QVERIFY(!(g->item(0, 1)->flags() & Qt::ItemIsEditable));
            QVERIFY(!(g->item(2, 0)->flags() & Qt::ItemIsEditable));
            QVERIFY(g->item(2, 2)->flags() & Qt::ItemIsEditable);
            QCOMPARE(Zelle(g, 3, 2), QString());
        }
    }

    // Captions without a name of their own: found by their text inside their group, and
    // standing beside (same row, to the left) or above (same column) what they caption.
    void beschriftungen_data()
    {
        QTest::addColumn<QString>("gruppe");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("links");   // false: above
        QTest::addColumn<QStringList>("komponenten");
        QTest::newRow("Soll") << "Ausgaenge" << "Soll" << false << QStringList{"SollT_E", "SollF_E"};
        QTest::newRow("Ist") << "Ausgaenge" << "Ist" << false << QStringList{"IstT_E", "IstF_E"};
        QTest::newRow("Temp row") << "Ausgaenge" << "Temp/°C" << true << QStringList{"SollT_E", "IstT_E"};
        QTest::newRow("Feuchte row") << "Ausgaenge" << "Feuchte/%" << true << QStringList{"SollF_E", "IstF_E"};
        QTest::newRow("Datum") << "Ausgaenge" << "Datum:" << true << QStringList{"DateEdit_E"};
        QTest::newRow("AktPrgNr") << "Ausgaenge" << "AktPrgNr.:" << true << QStringList{"ProgNr_E"};
        QTest::newRow("DrehVerd") << "Ausgaenge" << "DrehVerd:" << true << QStringList{"DrehVerd_E"};
        QTest::newRow("AnzStör") << "Ausgaenge" << "AnzStör:" << true << QStringList{"AnzStoer_E"};
        QTest::newRow("AktBetr") << "Ausgaenge" << "AktBetr.:" << true << QStringList{"AktBetr_E"};
        QTest::newRow("AktUntBetr") << "Ausgaenge" << "AktUntBetr.:" << true << QStringList{"AktUBetr_E"};
        QTest::newRow("P_Nr") << "GaerProgramm" << "PrgNr.:" << true << QStringList{"P_Nr"};
        QTest::newRow("RecNr") << "GaerProgramm" << "RecNr.:" << true << QStringList{"RecNr"};
        QTest::newRow("Temp column") << "GaerProgramm" << "Temp/°C" << false
                                     << QStringList{"P_SchTemp", "P_GuTemp", "P_GvTemp", "P_GaTemp", "P_AbTemp"};
        QTest::newRow("Feu column") << "GaerProgramm" << "Feu/%" << false << QStringList{"P_GvFeu", "P_GaFeu", "P_AbFeu"};
        QTest::newRow("Dauer column") << "GaerProgramm" << "Dauer/min" << false
                                      << QStringList{"P_SchZeit", "P_GvZeit", "P_GaZeit", "P_AbZeit", "P_BVorl"};
        QTest::newRow("Sch row") << "GaerProgramm" << "Sch" << true << QStringList{"P_SchTemp", "P_SchZeit"};
        QTest::newRow("GU row") << "GaerProgramm" << "GU" << true << QStringList{"P_GuTemp"};
        QTest::newRow("GV row") << "GaerProgramm" << "GV" << true << QStringList{"P_GvTemp", "P_GvFeu", "P_GvZeit"};
        QTest::newRow("GA row") << "GaerProgramm" << "GA" << true << QStringList{"P_GaTemp", "P_GaFeu", "P_GaZeit"};
        QTest::newRow("AB row") << "GaerProgramm" << "AB" << true << QStringList{"P_AbTemp", "P_AbFeu", "P_AbZeit"};
        QTest::newRow("Backofenvorlauf row") << "GaerProgramm" << "Backofenvorlauf" << true << QStringList{"P_BVorl"};
        QTest::newRow("NivoRPrgNr") << "NivorellProgramm" << "PrgNr.:" << false << QStringList{"NivoRPrgNr"};
        QTest::newRow("RecNr_NV") << "NivorellProgramm" << "RecNr.:" << false << QStringList{"RecNr_NV"};
    }
    void beschriftungen()
    {
        QFETCH(QString, gruppe);
        QFETCH(QString, text);
        QFETCH(bool, links);
        QFETCH(QStringList, komponenten);
        auto *g = f()->findChild<QGroupBox *>(gruppe);
        QVERIFY(g);
        QList<QLabel *> treffer;
        for (QLabel *l : g->findChildren<QLabel *>())
            if (l->text() == text)
                treffer << l;
        QCOMPARE(treffer.size(), 1);
        const QRect b = treffer.first()->geometry();
        for (const QString &name : komponenten) {
            auto *w = g->findChild<QWidget *>(name);
            QVERIFY2(w, qPrintable(name));
            const QRect k = w->geometry();
            if (links) {
                QVERIFY2(b.right() < k.left(), qPrintable(name));
                QVERIFY2(b.center().y() >= k.top() && b.center().y() <= k.bottom(), qPrintable(name));
            } else {
                QVERIFY2(b.bottom() < k.top(), qPrintable(name));
                QVERIFY2(b.left() <= k.right() && k.left() <= b.right(), qPrintable(name));
            }
        }
    }

    // The program groups share their place and cover the firmware and time edits.
    void gruppenUeberlagern()
    {
        f()->show();
        QVERIFY(QTest::qWaitForWindowExposed(f()));
        QWidget *p = f()->Panel1;
        const QPoint firmware = f()->FirmWareEdit->geometry().center();
        const QPoint zeit = f()->TimeEdit->geometry().center();
        QCOMPARE(p->childAt(firmware), static_cast<QWidget *>(f()->FirmWareEdit));
        f()->GaerProgramm->show();
        QTest::mouseClick(f()->ShowWoPrg, Qt::LeftButton);
        QVERIFY(f()->GaerProgramm->isVisibleTo(f()) && f()->WochenProgramme->isVisibleTo(f()));
        QCOMPARE(f()->GaerProgramm->pos(), f()->WochenProgramme->pos());
        for (const QPoint &punkt : {firmware, zeit}) {
            QWidget *oben = p->childAt(punkt);
            QVERIFY(oben);
            QVERIFY(oben != f()->FirmWareEdit && oben != f()->TimeEdit);
        }
        // Hidden again, the edits show through.
        f()->GaerProgramm->hide();
        QTest::mouseClick(f()->ShowWoPrg, Qt::LeftButton);
        QCOMPARE(p->childAt(zeit), static_cast<QWidget *>(f()->TimeEdit));
    }

    // ---- window handlers ------------------------------------------------------------

    void schliessenVersteckt()
    {
        f()->show();
        QVERIFY(QTest::qWaitForWindowExposed(f()));
        QTest::mouseClick(f()->CloseBtn, Qt::LeftButton);
        QVERIFY(!f()->isVisible());
        QVERIFY(f()->StatusTimer->isActive());
        // Closing it any other way only hides it as well.
        f()->show();
        QVERIFY(f()->close());
        QVERIFY(!f()->isVisible());
        QVERIFY(!f()->testAttribute(Qt::WA_DeleteOnClose));
    }

    void schliessenKnopfVerankert()
    {
        f()->show();
        QVERIFY(QTest::qWaitForWindowExposed(f()));
        f()->resize(800, 504);
        QTRY_COMPARE(f()->CloseBtn->width(), 740);
        QCOMPARE(f()->CloseBtn->x(), 32);
        QCOMPARE(f()->CloseBtn->y(), f()->Panel1->height() - 29);
    }

    void formShowAbZeit_data()
    {
        QTest::addColumn<bool>("ab352");
        QTest::newRow("56 characters") << true;
        QTest::newRow("52 characters") << false;
    }
    void formShowAbZeit()
    {
        QFETCH(bool, ab352);
        GaerProgLayoutSetzen(ab352);
        f()->show();
        QCOMPARE(f()->P_AbZeit->isEnabled(), ab352);
        f()->hide();
        GaerProgLayoutSetzen(!ab352);
        f()->show();
        QCOMPARE(f()->P_AbZeit->isEnabled(), !ab352);
        // The value is read all the same.
        f()->P_AbZeit->setText(QStringLiteral("12"));
        QCOMPARE(f()->GaerProgAusFeldern().AB.Zeit, QStringLiteral("12"));
    }

    void umschalten()
    {
        f()->NvAnzeigen(NvProgramm(4));
        QTest::mouseClick(f()->ShowNivoR, Qt::LeftButton);
        QVERIFY(f()->NivorellProgramm->isVisibleTo(f()));
        QTest::mouseClick(f()->ShowNivoR, Qt::LeftButton);
        QVERIFY(!f()->NivorellProgramm->isVisibleTo(f()));
        QCOMPARE(f()->NvAusGitter(), NvProgramm(4));
        QTest::mouseClick(f()->ShowWoPrg, Qt::LeftButton);
        QVERIFY(f()->WochenProgramme->isVisibleTo(f()));
        QVERIFY(!f()->GaerProgramm->isVisibleTo(f()));
        QTest::mouseClick(f()->ShowWoPrg, Qt::LeftButton);
        QVERIFY(!f()->WochenProgramme->isVisibleTo(f()));
        // Handlers without effect.
        QTest::mouseClick(f()->OneStatus, Qt::LeftButton);
        f()->DemoTimer->start();
        QTest::mouseClick(f()->EinzelDemo, Qt::LeftButton);
        QVERIFY(!f()->DemoTimer->isActive());
        f()->PassivStatusTimer->start();
        f()->PassivStatusTimerTimer();
        QVERIFY(!f()->PassivStatusTimer->isActive());
        QCOMPARE(f()->TimeEdit->text(), QStringLiteral("TimeEdit"));
    }

    void statusAnzeigenKlick()
    {
        QTest::mouseClick(f()->StatusAnzeigen, Qt::LeftButton);
        QVERIFY(f()->Ausgaenge->isVisibleTo(f()));
        QVERIFY(MemoZeilen(f()->StoerMemo).isEmpty());
        QTest::mouseClick(f()->StatusAnzeigen, Qt::LeftButton);
        QVERIFY(!f()->Ausgaenge->isVisibleTo(f()));

        f()->Stoerung = {0, 0x05, 0, 0x12, 0, 0, 0, 0x31};
        f()->StoerMemoZeile(QStringLiteral("alt"));
        QTest::mouseClick(f()->StatusAnzeigen, Qt::LeftButton);
        const QStringList soll{StoerungText(0x05), StoerungText(0x12), StoerungText(0x31)};
        QCOMPARE(MemoZeilen(f()->StoerMemo), soll);
        QTest::mouseClick(f()->StatusAnzeigen, Qt::LeftButton);
        QCOMPARE(MemoZeilen(f()->StoerMemo), soll);
        QTest::mouseClick(f()->StatusAnzeigen, Qt::LeftButton);
        QCOMPARE(MemoZeilen(f()->StoerMemo), soll);
    }

    // ---- weekly grid ----------------------------------------------------------------

    void wochenGitter_data() { ZeitZelleTabelle(); }
    void wochenGitter()
    {
        QFETCH(QString, minuten);
        QFETCH(QString, zelle);
        QFETCH(QString, vorher);
        QFETCH(QString, gezeichnet);
        QFETCH(QString, nachher);
        TQorWochPrg w;
        for (int d = 0; d < 7; ++d)
            w[size_t(d)] = {QString::number(d + 1), QString::number(d % 4), QString::number(7 - d), QStringLiteral("30")};
        w[2].EndZeit = minuten;
        f()->WoPrgAnzeigen(w);
        QTableWidget *g = f()->NachtStarts;
        QCOMPARE(Zelle(g, 3, 4), zelle);
        // Program number first, then the mode (the other way round from the main window).
        QCOMPARE((QStringList{Zelle(g, 1, 1), Zelle(g, 1, 2), Zelle(g, 1, 3), Zelle(g, 1, 4)}),
                 (QStringList{"1", "0", "7", "00:30"}));
        QCOMPARE(Zelle(g, 1, 0), QStringLiteral("Mo"));
        TQorWochPrg zurueck = f()->WoPrgAusGitter();
        QCOMPARE(zurueck[2].EndZeit, vorher);
        QCOMPARE(zurueck[6], (TQorTagPrg{"7", "2", "1", "30"}));

        Zeigen(f()->WochenProgramme);
        QTRY_COMPARE(Zelle(g, 3, 4), gezeichnet);
        QCOMPARE(f()->WoPrgAusGitter()[2].EndZeit, nachher);
        QCOMPARE(Zelle(g, 1, 4), QStringLiteral("00:30"));
    }

    void wochenGitterLoeschen()
    {
        TQorWochPrg w;
        for (TQorTagPrg &t : w)
            t = {"1", "2", "3", "600"};
        f()->WoPrgAnzeigen(w);
        f()->WoPrgLoeschen();
        for (int r = 1; r <= 7; ++r)
            for (int c = 1; c <= 4; ++c)
                QCOMPARE(Zelle(f()->NachtStarts, r, c), QString());
        QCOMPARE(Zelle(f()->NachtStarts, 0, 4), QStringLiteral("EndZeit"));
        QCOMPARE(Zelle(f()->NachtStarts, 7, 0), QStringLiteral("So"));
        // An empty grid reads back with end times of 0.
        QCOMPARE(f()->WoPrgAusGitter()[0], (TQorTagPrg{"", "", "", "0"}));
    }

    // ---- Nivorell grid --------------------------------------------------------------

    void nivorellGitter_data() { ZeitZelleTabelle(); }
    void nivorellGitter()
    {
        QFETCH(QString, minuten);
        QFETCH(QString, zelle);
        QFETCH(QString, vorher);
        QFETCH(QString, gezeichnet);
        QFETCH(QString, nachher);
        TQorNivorell p = NvProgramm(3);
        p.Schritte[4].Zeit = minuten;
        f()->NvAnzeigen(p);
        QTableWidget *g = f()->NivorellGrid;
        QCOMPARE(f()->NivoRPrgNr->Text(), QStringLiteral("3"));
        QCOMPARE(Zelle(g, 5, 3), zelle);
        // Duration in the last column.
        QCOMPARE((QStringList{Zelle(g, 2, 1), Zelle(g, 2, 2), Zelle(g, 2, 3)}), (QStringList{"31", "51", "01:03"}));
        TQorNivorell soll = p;
        soll.Schritte[4].Zeit = vorher;
        QCOMPARE(f()->NvAusGitter(), soll);

        Zeigen(f()->NivorellProgramm);
        QTRY_COMPARE(Zelle(g, 5, 3), gezeichnet);
        soll.Schritte[4].Zeit = nachher;
        QCOMPARE(f()->NvAusGitter(), soll);
    }

    void nivorellGitterLoeschen()
    {
        f()->NvAnzeigen(NvProgramm(2));
        f()->NvLoeschen();
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 3; ++c)
                QCOMPARE(Zelle(f()->NivorellGrid, r, c), QString());
        QCOMPARE(f()->NivoRPrgNr->Text(), QStringLiteral("2"));
        QCOMPARE(Zelle(f()->NivorellGrid, 0, 3), QStringLiteral("Dauer /hh:nn"));
        QCOMPARE(f()->NvAusGitter().Schritte[0], (TQorProgElement{"", "", "0"}));
    }

    // ---- time normaliser ------------------------------------------------------------

    void zeitNormieren_data()
    {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("soll");
        QTest::newRow("7") << "7" << "07:00";
        QTest::newRow("12") << "12" << "12:00";
        QTest::newRow("123") << "123" << "12:30";
        QTest::newRow("1234") << "1234" << "12:34";
        QTest::newRow("12345") << "12345" << "12:34";
        QTest::newRow("7:30") << "7:30" << "07:30";
        QTest::newRow("12:5") << "12:5" << "12:05";
        QTest::newRow("0:0") << "0:0" << "00:00";
        QTest::newRow("blanks") << "8 : 15" << "08:15";
        QTest::newRow("blanks around") << " 0930 " << "09:30";
        QTest::newRow("830 (hour 83)") << "830" << "";
        QTest::newRow("24:00") << "24:00" << "";
        QTest::newRow("2400") << "2400" << "";
        QTest::newRow("23:59") << "23:59" << "23:59";
        QTest::newRow("00:00") << "00:00" << "00:00";
        QTest::newRow("12:60") << "12:60" << "";
        QTest::newRow("1:234") << "1:234" << "";
        QTest::newRow("12:30:45") << "12:30:45" << "12:30";
        QTest::newRow("1:30:45 keeps seconds") << "1:30:45" << "01:30:45";
        QTest::newRow("1:30:75") << "1:30:75" << "";
        QTest::newRow("100:00") << "100:00" << "";
        QTest::newRow("1092:15") << "1092:15" << "";
        QTest::newRow("8:305") << "8:305" << "";
        QTest::newRow("08:305 cut to 5") << "08:305" << "08:30";
        QTest::newRow("--00:01") << "--00:01" << "";
        QTest::newRow("letters") << "ab" << "";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("colon only") << ":" << "";
    }
    void zeitNormieren()
    {
        QFETCH(QString, eingabe);
        QFETCH(QString, soll);
        QCOMPARE(TwQuorvel::ZeitNormieren(eingabe), soll);
        // Steps 1 to 9 are shared with the codecs' normaliser: on a valid "hh:mm" both agree.
        if (soll.size() == 5)
            QCOMPARE(::ZeitNormieren(eingabe), soll);
    }

    void zeitNormierenUnterschiedZumCodec()
    {
        QCOMPARE(::ZeitNormieren(QStringLiteral("24:00")), QStringLiteral("24:00"));
        QCOMPARE(TwQuorvel::ZeitNormieren(QStringLiteral("24:00")), QString());
        QCOMPARE(::ZeitNormieren(QStringLiteral("100:00")), QStringLiteral("100:00"));
        QCOMPARE(TwQuorvel::ZeitNormieren(QStringLiteral("100:00")), QString());
    }

    // Typed cells are normalised once drawn, except the current one; a hidden grid is not drawn.
    void zeichnenNormiert()
    {
        QTableWidget *g = f()->NachtStarts;
        const QStringList eingaben{"7", "123", "8 : 15", "830", "12:30:45", "24:00", "1234"};
        const QStringList soll{"07:00", "12:30", "08:15", "", "12:30", "", "12:34"};
        for (int r = 1; r <= 7; ++r)
            g->item(r, 4)->setText(eingaben[r - 1]);
        g->item(2, 3)->setText(QStringLiteral("830"));   // not a time column
        g->setCurrentCell(7, 4);

        // The window is shown, the weekly group is not: nothing is drawn.
        f()->show();
        QVERIFY(QTest::qWaitForWindowExposed(f()));
        QTest::qWait(50);
        QCOMPARE(Zelle(g, 1, 4), QStringLiteral("7"));

        f()->WochenProgramme->show();
        QTRY_COMPARE(Zelle(g, 1, 4), soll[0]);
        for (int r = 1; r <= 6; ++r)
            QCOMPARE(Zelle(g, r, 4), soll[r - 1]);
        QCOMPARE(Zelle(g, 7, 4), QStringLiteral("1234"));   // the current cell
        QCOMPARE(Zelle(g, 2, 3), QStringLiteral("830"));
        QCOMPARE(Zelle(g, 0, 4), QStringLiteral("EndZeit"));

        // The cursor leaves the cell: drawn again, it is normalised.
        g->setCurrentCell(1, 1);
        QTRY_COMPARE(Zelle(g, 7, 4), QStringLiteral("12:34"));

        // The Nivorell grid, hidden all the while, kept its text.
        f()->NivorellGrid->item(1, 3)->setText(QStringLiteral("7"));
        QTest::qWait(50);
        QCOMPARE(Zelle(f()->NivorellGrid, 1, 3), QStringLiteral("7"));
        QCOMPARE(f()->NvAusGitter().Schritte[0].Zeit, QStringLiteral("7"));
        f()->WochenProgramme->hide();
        f()->NivorellProgramm->show();
        QTRY_COMPARE(Zelle(f()->NivorellGrid, 1, 3), QStringLiteral("07:00"));
        QCOMPARE(f()->NvAusGitter().Schritte[0].Zeit, QStringLiteral("420"));
    }

    void zeichenHandler_data()
    {
        QTest::addColumn<bool>("woche");
        QTest::addColumn<int>("spalte");
        QTest::addColumn<int>("zeile");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("soll");
        QTest::newRow("weekly time cell") << true << 4 << 1 << "7" << "07:00";
        QTest::newRow("weekly last row") << true << 4 << 7 << "24:00" << "";
        QTest::newRow("weekly other column") << true << 3 << 1 << "7" << "7";
        QTest::newRow("weekly header") << true << 4 << 0 << "7" << "7";
        QTest::newRow("weekly current cell") << true << 4 << 2 << "7" << "7";
        QTest::newRow("Nivorell time cell") << false << 3 << 8 << "1234" << "12:34";
        QTest::newRow("Nivorell first column") << false << 1 << 1 << "1234" << "1234";
        QTest::newRow("Nivorell fixed column") << false << 0 << 1 << "1234" << "1234";
        QTest::newRow("Nivorell current cell") << false << 3 << 2 << "1234" << "1234";
    }
    void zeichenHandler()
    {
        QFETCH(bool, woche);
        QFETCH(int, spalte);
        QFETCH(int, zeile);
        QFETCH(QString, text);
        QFETCH(QString, soll);
        QTableWidget *g = woche ? f()->NachtStarts : f()->NivorellGrid;
        g->setCurrentCell(2, woche ? 4 : 3);
        g->item(zeile, spalte)->setText(text);
        if (woche)
            f()->NachtStartsDrawCell(spalte, zeile);
        else
            f()->NivorellGridDrawCell(spalte, zeile);
        QCOMPARE(Zelle(g, zeile, spalte), soll);
    }

    // ---- proofing editors -----------------------------------------------------------

    void gaerProgrammAnzeigenUndLesen()
    {
        TQorGaerProg g = GaerProgramm(4);
        g.Sch.Feu = QStringLiteral("99");
        g.GU.Feu = QStringLiteral("98");
        g.GU.Zeit = QStringLiteral("97");
        f()->GaerProgAnzeigen(g);
        QCOMPARE(f()->P_Nr->Text(), QStringLiteral("4"));
        QCOMPARE(f()->P_SchTemp->Text(), QStringLiteral("-4"));
        QCOMPARE(f()->P_AbFeu->Text(), QStringLiteral("FFFF"));
        QCOMPARE(f()->P_AbZeit->Text(), QStringLiteral("x4"));
        QCOMPARE(f()->P_BVorl->Text(), QStringLiteral("104"));
        // Handed to the proofing editor first, in the slot of its number.
        QCOMPARE(editor->Liste()[3], g);
        QCOMPARE(editor->AuswahlZeile(), 3);

        TQorGaerProg soll = g;
        soll.Sch.Feu.clear();
        soll.GU.Feu.clear();
        soll.GU.Zeit.clear();
        QCOMPARE(f()->GaerProgAusFeldern(), soll);

        f()->GaerFelderLoeschen();
        TQorGaerProg leer;
        leer.Nr = QStringLiteral("4");
        QCOMPARE(f()->GaerProgAusFeldern(), leer);
    }

    void gaerProgrammOhneEditor()
    {
        editor.reset();
        QVERIFY(!P().wQuorvelGaerProg);
        f()->GaerProgAnzeigen(GaerProgramm(2));
        QCOMPARE(f()->GaerProgAusFeldern().GV.Feu, QStringLiteral("42"));
    }

    // ---- list browsing --------------------------------------------------------------

    void recNrBlaettern_data()
    {
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<int>("eintrag");   // 0: nothing shown
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("10") << "10" << 10;
        QTest::newRow("1") << "1" << 1;
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("11") << "11" << 0;
        QTest::newRow("-2") << "-2" << 0;
        QTest::newRow("empty") << "" << 1;
    }
    void recNrBlaettern()
    {
        QFETCH(QString, getippt);
        QFETCH(int, eintrag);
        for (int i = 0; i < 10; ++i) {
            f()->GaerListe[size_t(i)] = GaerProgramm(i + 1);
            f()->NvListe[size_t(i)] = NvProgramm(i + 1);
        }
        f()->GaerProgramm->show();
        f()->show();
        f()->P_GvTemp->setText(QStringLiteral("555"));
        f()->NivorellGrid->item(1, 1)->setText(QStringLiteral("555"));

        // Typed, as the user does: first the old text goes, then the new one comes.
        for (TQorSpinEdit *s : {f()->RecNr, f()->RecNr_NV}) {
            s->setFocus();
            s->selectAll();
            QTest::keyClick(s, Qt::Key_Backspace);
            QTest::keyClicks(s, getippt);
            QCOMPARE(s->Text(), getippt);
        }
        if (eintrag > 0) {
            QCOMPARE(f()->GaerProgAusFeldern().GV, GaerProgramm(eintrag).GV);
            QCOMPARE(f()->P_Nr->Text(), QString::number(eintrag));
            QCOMPARE(f()->NvAusGitter(), NvProgramm(eintrag));
            QCOMPARE(editor->Liste()[size_t(eintrag - 1)], GaerProgramm(eintrag));
        } else {
            QCOMPARE(f()->GaerProgAusFeldern().GV, (TQorProgElement{}));
            QCOMPARE(f()->NvAusGitter().Schritte[0], (TQorProgElement{"", "", "0"}));
            QCOMPARE(u->service()->QorMeldung().last(), QStringLiteral("Nivorell-Programm existiert nicht!"));
            QVERIFY(u->service()->QorMeldung().contains(QStringLiteral("GärProgramm existiert nicht!")));
        }
        // The lists are not touched.
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(f()->GaerListe[size_t(i)], GaerProgramm(i + 1));
            QCOMPARE(f()->NvListe[size_t(i)], NvProgramm(i + 1));
        }
    }

    void recNrVerlassenKlemmt()
    {
        f()->GaerListe[9] = GaerProgramm(10);
        f()->GaerListe[0] = GaerProgramm(1);
        f()->RecNr->setText(QStringLiteral("11"));
        QCOMPARE(u->service()->QorMeldung().last(), QStringLiteral("GärProgramm existiert nicht!"));
        emit f()->RecNr->editingFinished();
        QCOMPARE(f()->RecNr->Text(), QStringLiteral("10"));
        QCOMPARE(f()->P_BVorl->Text(), QStringLiteral("1010"));
        f()->RecNr->setText(QStringLiteral("0"));
        emit f()->RecNr->editingFinished();
        QCOMPARE(f()->RecNr->Text(), QStringLiteral("1"));
        QCOMPARE(f()->P_BVorl->Text(), QStringLiteral("101"));
    }

    // Browsing pushes each entry into the proofing editor under the entry's own number.
    void blaetternFuelltEditor()
    {
        TQorGaerProg g = GaerProgramm(7);
        f()->GaerListe[2] = g;
        f()->RecNr->setText(QStringLiteral("3"));
        QCOMPARE(editor->Liste()[6], g);
        QCOMPARE(editor->Liste()[2], TwQuorvelGaerProg::StandardProgramm(3));
        // The shown entry is a copy.
        f()->P_GaFeu->setText(QStringLiteral("1"));
        QCOMPARE(f()->GaerListe[2], g);
    }

    void spinPfeile()
    {
        f()->show();
        f()->RecNr->setText(QStringLiteral("10"));
        f()->RecNr->stepUp();
        QCOMPARE(f()->RecNr->Text(), QStringLiteral("10"));
        f()->RecNr->stepDown();
        QCOMPARE(f()->RecNr->Text(), QStringLiteral("9"));
        f()->P_GvTemp->setText(QStringLiteral("FFFF"));
        f()->P_GvTemp->stepUp();
        QCOMPARE(f()->P_GvTemp->Text(), QStringLiteral("1"));
        f()->P_GvTemp->setText(QStringLiteral("-999999"));
        f()->P_GvTemp->stepDown();
        QCOMPARE(f()->P_GvTemp->Text(), QStringLiteral("-1000000"));
    }

    // ---- not programmed -------------------------------------------------------------

    void wertNichtProgrammieren()
    {
        f()->GaerProgramm->show();
        f()->show();
        QVERIFY(QTest::qWaitForWindowExposed(f()));
        TQorSpinEdit *s = f()->P_GvFeu;
        QCOMPARE(s->contextMenuPolicy(), Qt::CustomContextMenu);
        emit s->customContextMenuRequested(QPoint(2, 2));
        f()->PopupMenu1->hide();
        f()->WertNichtProgrammieren->trigger();
        QCOMPARE(s->Text(), QStringLiteral("FFFF"));

        // Leaving the editor keeps it; it is carried to the program and onto the wire.
        s->setFocus();
        f()->P_GaFeu->setFocus();
        QFocusEvent aus(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(s, &aus);
        QCOMPARE(s->Text(), QStringLiteral("FFFF"));
        const TQorGaerProg g = f()->GaerProgAusFeldern();
        QCOMPARE(g.GV.Feu, QStringLiteral("FFFF"));
        GaerProgLayoutSetzen(true);
        const QString hex = GaerProgZuHex(g);
        QCOMPARE(hex.size(), 56);
        // The seventh field is the GV humidity; the design value 999 next to it is a number.
        QCOMPARE(hex.mid(24, 4), QStringLiteral("FFFF"));
        QCOMPARE(hex.mid(28, 4), ZahlZuHex(QStringLiteral("999")));

        // Only a spin edit takes it.
        f()->PopupKomponente = f()->PrgEdit;
        f()->WertNichtProgrammieren->trigger();
        QCOMPARE(f()->PrgEdit->text(), QString());
    }

    // Every value editor carries the popup and takes "FFFF" from it; the number editors do not.
    void popupAufAllenWertEditoren()
    {
        const QStringList wertEditoren{"P_SchTemp", "P_SchZeit", "P_GuTemp", "P_GvTemp", "P_GvFeu",
                                       "P_GvZeit",  "P_GaTemp",  "P_GaFeu",  "P_GaZeit", "P_AbTemp",
                                       "P_AbFeu",   "P_AbZeit",  "P_BVorl"};
        for (const QString &name : wertEditoren) {
            auto *s = f()->findChild<TQorSpinEdit *>(name);
            QVERIFY2(s, qPrintable(name));
            QCOMPARE(s->contextMenuPolicy(), Qt::CustomContextMenu);
            emit s->customContextMenuRequested(QPoint(1, 1));
            f()->PopupMenu1->hide();
            f()->WertNichtProgrammieren->trigger();
            QVERIFY2(s->Text() == QLatin1String("FFFF"), qPrintable(name));
        }
        const TQorGaerProg g = f()->GaerProgAusFeldern();
        for (const TQorProgElement &e : {g.GV, g.GA, g.AB})
            QCOMPARE(e, (TQorProgElement{"FFFF", "FFFF", "FFFF"}));
        QCOMPARE(g.Sch, (TQorProgElement{"FFFF", "", "FFFF"}));
        QCOMPARE(g.GU, (TQorProgElement{"FFFF", "", ""}));
        QCOMPARE(g.Backofenvorlauf, QStringLiteral("FFFF"));
        QCOMPARE(g.Nr, QStringLiteral("1"));
        for (TQorSpinEdit *s : {f()->P_Nr, f()->RecNr, f()->NivoRPrgNr, f()->RecNr_NV})
            QVERIFY2(s->contextMenuPolicy() != Qt::CustomContextMenu, qPrintable(s->objectName()));
    }

    void tastenNurZiffern()
    {
        f()->GaerProgramm->show();
        f()->show();
        TQorSpinEdit *s = f()->P_GaTemp;
        s->setFocus();
        s->selectAll();
        QTest::keyClick(s, Qt::Key_Backspace);
        QTest::keyClicks(s, QStringLiteral("-1a2F+x"));
        QCOMPARE(s->Text(), QStringLiteral("-12+"));
        s->setText(QStringLiteral("FFFF"));
        QTest::keyClick(s, Qt::Key_End);
        QTest::keyClick(s, Qt::Key_Backspace);
        QCOMPARE(s->Text(), QStringLiteral("FFF"));
    }
};

QTEST_MAIN(TestServicefenster)
#include "tst_servicefenster.moc"
