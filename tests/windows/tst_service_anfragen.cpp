// The service window's request buttons: what each one queues in both list modes, what it
// empties first, which request it refuses, and the abort, firmware and ShowGaer buttons.

#include "fensterpassung.h"
#include "servicefenster_umgebung.h"
#include "anzeigetexte.h"
#include "testtexte.h"

#include "editors/uQuorvelGaerProg.h"
#include "support/uShowbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

#include <memory>

class TestServiceAnfragen : public QObject
{
    Q_OBJECT

    std::unique_ptr<ServiceUmgebung> u;
    std::unique_ptr<TwQuorvelGaerProg> editor;

    TwQuorvel *f() const { return u->fenster.get(); }

    // The window as a technician leaves it before pressing a button: every editor and grid
    // filled, both lists stored, numbers chosen.
    void fuellen()
    {
        u->standardGaerEingeben();
        TwQuorvel *w = f();
        w->NivoRPrgNr->setText(QStringLiteral("3"));
        for (int s = 0; s < 8; ++s) {
            w->NivorellGrid->item(s + 1, 1)->setText(QString::number(20 + s));
            w->NivorellGrid->item(s + 1, 2)->setText(QString::number(50 + s));
            w->NivorellGrid->item(s + 1, 3)->setText(QString::asprintf("%02d:%02d", (25 * (s + 1)) / 60, (25 * (s + 1)) % 60));
        }
        for (int d = 0; d < 7; ++d) {
            w->NachtStarts->item(d + 1, 1)->setText(QString::number(d + 1));
            w->NachtStarts->item(d + 1, 2)->setText(QStringLiteral("2"));
            w->NachtStarts->item(d + 1, 3)->setText(QString::number(d));
            w->NachtStarts->item(d + 1, 4)->setText(QStringLiteral("06:30"));
        }
        for (int i = 0; i < 10; ++i) {
            w->GaerListe[size_t(i)] = HexZuGaerProg(GaerHex(i + 1));
            w->NvListe[size_t(i)] = HexZuNivorell(NvHex(i + 1));
        }
    }

    static QString NvGitterHex()
    {
        QString t = Hex4(3);
        for (int s = 0; s < 8; ++s)
            t += Hex4(25 * (s + 1)) + Hex4((20 + s + 80) * 5) + Hex4((50 + s + 80) * 5);
        return t;
    }
    static QString WocheHex()
    {
        QString t;
        for (int d = 0; d < 7; ++d)
            t += Hex4(d + 1) + Hex4(2) + Hex4(d) + Hex4(390);
        return t;
    }
    // Entries 1 to 10 of GaerHex or NvHex in a row.
    static QString Liste(QString (*eintrag)(int, int))
    {
        QString t;
        for (int nr = 1; nr <= 10; ++nr)
            t += eintrag(nr, 100);
        return t;
    }

private slots:
    void init()
    {
        u = std::make_unique<ServiceUmgebung>();
        editor = std::make_unique<TwQuorvelGaerProg>();
        fuellen();
    }
    void cleanup()
    {
        ShowboxenFreigeben();
        editor.reset();
        u.reset();
    }

    void anfrage_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<bool>("liste");
        QTest::addColumn<bool>("sommer");
        QTest::addColumn<QString>("zeile");

        const auto z = [](const char *name, const QString &daten) {
            return QStringLiteral("0\t") + QString::fromLatin1(name) + QLatin1Char('\t') + daten;
        };
        QTest::newRow("Gär lesen") << "LesenGPrg" << false << false << z("Q_GaerProgRd", QStringLiteral("1"));
        QTest::newRow("Gär-Liste lesen") << "LesenGPrg" << true << false << z("Q_GaerRecSave", QString());
        QTest::newRow("Gär senden") << "SendenGPrg" << false << false << z("Q_GaerProgWr", StandardGaer1Hex56);
        QTest::newRow("Gär-Liste senden") << "SendenGPrg" << true << false << z("Q_GaerRecRest", Liste(GaerHex));
        QTest::newRow("Nivorell lesen") << "LesenNivoR" << false << false << z("Q_NivorellRd", QStringLiteral("3"));
        QTest::newRow("Nivorell-Liste lesen") << "LesenNivoR" << true << false << z("Q_NVRecSave", QString());
        QTest::newRow("Nivorell senden") << "SendenNivoR" << false << false << z("Q_NivorellWr", NvGitterHex());
        QTest::newRow("Nivorell-Liste senden") << "SendenNivoR" << true << false << z("Q_NVRecRest", Liste(NvHex));
        QTest::newRow("Woche lesen") << "LesenWoPrg" << false << false << z("Q_WochPrgRd", QString());
        QTest::newRow("Woche senden") << "SendenWoPrg" << false << false << z("Q_WochPrgWr", WocheHex());
        QTest::newRow("Uhr Winter") << "DoSetTime" << false << false << z("Q_TimeWr", QStringLiteral("0"));
        QTest::newRow("Uhr Sommer") << "DoSetTime" << false << true << z("Q_TimeWr", QStringLiteral("1"));
        QTest::newRow("Firmware") << "RdFirmware" << false << false << z("Q_FirmWare", QString());
        QTest::newRow("Abbruch") << "DoCancelRecord" << false << false << z("Q_RSCancel", QString());
    }
    // Each button queues exactly its command with its data; the list boxes choose the list.
    void anfrage()
    {
        QFETCH(QString, knopf);
        QFETCH(bool, liste);
        QFETCH(bool, sommer);
        QFETCH(QString, zeile);
        f()->TakeRecord->setChecked(liste);
        f()->TakeRecordNV->setChecked(liste);
        f()->SommerZeit->setChecked(sommer);
        f()->findChild<QPushButton *>(knopf)->click();
        QCOMPARE(u->makros(), QStringList{zeile});
    }

    // The main window's summer box plays no part; the window's own box counts.
    void uhrNimmtEigenenSommerHaken()
    {
        f()->SommerZeit->setChecked(true);
        f()->DoSetTime->click();
        f()->SommerZeit->setChecked(false);
        f()->DoSetTime->click();
        QCOMPARE(u->makros(), (QStringList{QStringLiteral("0\tQ_TimeWr\t1"), QStringLiteral("0\tQ_TimeWr\t0")}));
    }

    // In the 52-character layout the program goes out without its AB duration.
    void gaerSendenKurzesLayout()
    {
        GaerProgLayoutSetzen(false);
        f()->SendenGPrg->click();
        QCOMPARE(u->makros(), QStringList{QStringLiteral("0\tQ_GaerProgWr\t") + StandardGaer1Hex52});
        QCOMPARE(f()->GaerProg.Nr, QStringLiteral("1"));
        QCOMPARE(f()->GaerProg.GV.Feu, QStringLiteral("75"));
    }

    void lesenLeert_data()
    {
        QTest::addColumn<bool>("liste");
        QTest::newRow("einzeln") << false;
        QTest::newRow("Liste") << true;
    }
    // "Lesen" empties the editors and grids in both modes; the program numbers stay.
    void lesenLeert()
    {
        QFETCH(bool, liste);
        f()->TakeRecord->setChecked(liste);
        f()->TakeRecordNV->setChecked(liste);
        f()->P_Nr->setText(QStringLiteral("6"));
        f()->LesenGPrg->click();
        QCOMPARE(f()->P_Nr->Text(), QStringLiteral("6"));
        QCOMPARE(f()->P_SchTemp->Text(), QString());
        QCOMPARE(f()->P_BVorl->Text(), QString());

        f()->LesenNivoR->click();
        QCOMPARE(f()->NivoRPrgNr->Text(), QStringLiteral("3"));
        for (int r = 1; r <= 8; ++r)
            for (int c = 1; c <= 3; ++c)
                QCOMPARE(Zelle(f()->NivorellGrid, r, c), QString());

        f()->LesenWoPrg->click();
        for (int r = 1; r <= 7; ++r)
            for (int c = 1; c <= 4; ++c)
                QCOMPARE(Zelle(f()->NachtStarts, r, c), QString());
    }

    // With TakeRecord ticked, what the editors show of an entry is not sent: the stored list
    // goes out unchanged, entries never filled as programs of "FFFF" only.
    void listeUnveraendert()
    {
        f()->TakeRecord->setChecked(true);
        f()->RecNr->setText(QStringLiteral("2"));
        QCOMPARE(f()->P_GvTemp->Text(), f()->GaerListe[1].GV.Temp);
        f()->P_GvTemp->setText(QStringLiteral("33"));
        f()->GaerListe[9] = TQorGaerProg{};
        f()->SendenGPrg->click();
        const QString gesendet = u->makros().value(0).section(QLatin1Char('\t'), 2);
        QCOMPARE(gesendet.size(), 560);
        QCOMPARE(gesendet.left(504), Liste(GaerHex).left(504));
        QCOMPARE(gesendet.mid(504), QString(QStringLiteral("FFFF")).repeated(14));
        QCOMPARE(f()->GaerListe[1], HexZuGaerProg(GaerHex(2)));

        f()->TakeRecordNV->setChecked(true);
        f()->RecNr_NV->setText(QStringLiteral("4"));
        f()->NivorellGrid->item(1, 1)->setText(QStringLiteral("1"));
        f()->SendenNivoR->click();
        QCOMPARE(u->makros().value(1), QStringLiteral("0\tQ_NVRecRest\t") + Liste(NvHex));
    }

    void ungueltigAbgelehnt_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<bool>("liste");
        QTest::addColumn<QString>("zeile1");
        QTest::newRow("Gär") << "SendenGPrg" << false << QStringLiteral("Gärprogramm");
        QTest::newRow("Gär-Liste") << "SendenGPrg" << true << QStringLiteral("Gär-Record, Programm 7");
        QTest::newRow("Nivorell") << "SendenNivoR" << false << QStringLiteral("Nivorellprogramm");
        QTest::newRow("Nivorell-Liste") << "SendenNivoR" << true << QStringLiteral("Nivorell-Record, Programm 7");
        QTest::newRow("Woche") << "SendenWoPrg" << false << QStringLiteral("Wochenprogramm");
    }
    // A value beyond its four-character field would make the wire text empty: the request is
    // refused with a red box and nothing is queued.
    void ungueltigAbgelehnt()
    {
        QFETCH(QString, knopf);
        QFETCH(bool, liste);
        QFETCH(QString, zeile1);
        f()->TakeRecord->setChecked(liste);
        f()->TakeRecordNV->setChecked(liste);
        f()->P_GaZeit->setText(QStringLiteral("70000"));
        f()->GaerListe[6].GA.Zeit = QStringLiteral("70000");
        f()->NivorellGrid->item(2, 2)->setText(QStringLiteral("-200"));
        f()->NvListe[6].Schritte[1].Feu = QStringLiteral("-200");
        f()->NachtStarts->item(4, 1)->setText(QStringLiteral("65536"));
        f()->findChild<QPushButton *>(knopf)->click();
        QVERIFY(u->makros().isEmpty());
        QCOMPARE(Boxen(), QStringList{QStringLiteral("FEHLER|") + zeile1 + QStringLiteral("|enthält ungültige Werte!")});
        // The box shows its text lines whole.
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *b = qobject_cast<TwShowbox *>(w); b && b->isVisible())
                for (const QString &f : Passungsfehler(b))
                    QVERIFY2(!QRegularExpression(QStringLiteral("^Label[1-4]\\b")).match(f).hasMatch(), qPrintable(f));
    }

    void zeitZelleMitCursor_data()
    {
        QTest::addColumn<bool>("woche");
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<int>("minuten");
        QTest::newRow("Nivorell 7") << false << "7" << 420;
        QTest::newRow("Nivorell 123") << false << "123" << 750;
        QTest::newRow("Nivorell 7:30") << false << "7:30" << 450;
        QTest::newRow("Nivorell 1092:15 vom Draht") << false << "1092:15" << 65535;
        QTest::newRow("Woche 1230") << true << "1230" << 750;
        QTest::newRow("Woche 8 : 15") << true << "8 : 15" << 495;
        QTest::newRow("Woche 24:00") << true << "24:00" << 1440;
        QTest::newRow("Woche --00:01") << true << "--00:01" << 1;
    }
    // "Senden" while the cell cursor still stands in the time cell just typed: the time goes
    // out as the cell shows it once the cursor leaves, not as its raw text reads (7 would be
    // 7 minutes, 1230 would be 12). A text the normaliser would empty is read as it stands.
    void zeitZelleMitCursor()
    {
        QFETCH(bool, woche);
        QFETCH(QString, getippt);
        QFETCH(int, minuten);
        QTableWidget *g = woche ? f()->NachtStarts : f()->NivorellGrid;
        const int spalte = woche ? 4 : 3;
        g->item(1, spalte)->setText(getippt);
        g->setCurrentCell(1, spalte);
        (woche ? f()->SendenWoPrg : f()->SendenNivoR)->click();
        const QString gesendet = u->makros().value(0).section(QLatin1Char('\t'), 2);
        QCOMPARE(gesendet.mid(woche ? 12 : 4, 4), Hex4(minuten));
        QCOMPARE(gesendet.mid(16), (woche ? WocheHex() : NvGitterHex()).mid(16));
        QCOMPARE(g->item(1, spalte)->text(), getippt);
    }

    // The field empties at once and stays empty while no reply has come.
    void firmwareLeert()
    {
        f()->FirmWareEdit->setText(QStringLiteral("V352"));
        f()->RdFirmware->click();
        QCOMPARE(f()->FirmWareEdit->text(), QString());
    }

    // The abort flag is set at once, even while no command runs.
    void abbruchOhneLauf()
    {
        QVERIFY(!P().Wartet);
        P().Abbruch = false;
        f()->DoCancelRecord->click();
        QVERIFY(P().Abbruch);
    }

    // ShowGaer shows the proofing editor (a shown one stays shown) and toggles the group.
    void showGaer()
    {
        QVERIFY(editor->isHidden());
        f()->ShowGaer->click();
        QVERIFY(!editor->isHidden());
        QVERIFY(f()->GaerProgramm->isVisibleTo(f()->Panel1));
        f()->ShowGaer->click();
        QVERIFY(!editor->isHidden());
        QVERIFY(!f()->GaerProgramm->isVisibleTo(f()->Panel1));

        editor.reset();
        f()->ShowGaer->click();
        QVERIFY(f()->GaerProgramm->isVisibleTo(f()->Panel1));
    }
};

QTEST_MAIN(TestServiceAnfragen)
#include "tst_service_anfragen.moc"
