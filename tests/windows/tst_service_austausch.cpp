// Files exchanged between the service window and the other windows: what one saves, the
// other loads unchanged.

#include "hauptfenster_umgebung.h"
#include "testtexte.h"

#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "support/uShowbox.h"
#include "windows/uQuorvel.h"

#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

namespace {

QString WocheHex()
{
    QString t;
    for (int d = 0; d < 7; ++d)
        t += Hex4(d + 2) + Hex4(1) + Hex4(7 - d) + Hex4(300 + 25 * d);
    return t;
}

} // namespace

class TestServiceAustausch : public QObject
{
    Q_OBJECT

    std::unique_ptr<Hauptfensterumgebung> u;
    std::unique_ptr<TwQuorvelNivorell> nivorell;
    std::unique_ptr<TwQuorvelGaerProg> gaer;
    TwMiniQuorvel *haupt = nullptr;
    TwQuorvel *s = nullptr;
    QString datei;

private slots:
    void init()
    {
        u = std::make_unique<Hauptfensterumgebung>();
        haupt = u->erzeugen();
        s = haupt->BefehlsFenster();
        datei = u->dir.path() + QStringLiteral("/w.QWP");
        const auto ersatz = [this](const TDateiDialog &) { return datei; };
        haupt->Dateidialog = ersatz;
        s->Dateidialog = ersatz;
        nivorell = std::make_unique<TwQuorvelNivorell>(haupt->KommandoEintrag());
        nivorell->Dateidialog = ersatz;
        gaer = std::make_unique<TwQuorvelGaerProg>(haupt->KommandoEintrag());
        gaer->Dateidialog = ersatz;
    }
    void cleanup()
    {
        gaer.reset();
        nivorell.reset();
        ShowboxenFreigeben();
        haupt = nullptr;
        s = nullptr;
        u.reset();
    }

    // The weekly program: service window to main window and back.
    void wochenprogramm()
    {
        const TQorWochPrg woche = HexZuWochPrg(WocheHex());
        s->WoPrgAnzeigen(woche);
        s->Speichern_WoPrg->click();
        haupt->LadenWoPrg->click();
        QCOMPARE(haupt->WochPrgAusGitter(), woche);

        TQorWochPrg anders = woche;
        anders[3].PRG = QStringLiteral("9");
        anders[6].EndZeit = QStringLiteral("1200");
        haupt->WochPrgAnzeigen(anders);
        haupt->Speichern_WoPrg->click();
        s->LadenWoPrg->click();
        QCOMPARE(s->WoPrgAusGitter(), anders);
        QCOMPARE(s->WochPrg, anders);
        QVERIFY(u->boxen.isEmpty());
    }

    // Proofing lists and single programs: service window to editor and back.
    void gaerprogramme()
    {
        datei = u->dir.path() + QStringLiteral("/l.QGR");
        for (int i = 0; i < 10; ++i)
            s->GaerListe[size_t(i)] = HexZuGaerProg(GaerHex(i + 1, 100));
        s->TakeRecord->setChecked(true);
        s->SpeichernGPrg->click();
        gaer->LadenGaer->click();
        QVERIFY(gaer->Liste() == s->GaerListe);

        for (int i = 0; i < 10; ++i)
            s->GaerListe[size_t(i)] = TQorGaerProg{};
        gaer->ProgrammAnzeigen(HexZuGaerProg(GaerHex(3, 200)));
        gaer->SpeichernGaer->click();
        s->LadenGPrg->click();
        QCOMPARE(s->GaerListe[2], HexZuGaerProg(GaerHex(3, 200)));
        QCOMPARE(s->GaerListe[9], HexZuGaerProg(GaerHex(10, 100)));

        // One program: the editor places it by the number inside, the window shows it.
        datei = u->dir.path() + QStringLiteral("/p.QGP");
        s->TakeRecord->setChecked(false);
        s->GaerProgAnzeigen(HexZuGaerProg(GaerHex(6, 300)));
        s->SpeichernGPrg->click();
        gaer->ProgrammAnzeigen(HexZuGaerProg(GaerHex(6, 100)));
        gaer->LadenGaer_S->click();
        QCOMPARE(gaer->Liste()[5], HexZuGaerProg(GaerHex(6, 300)));

        gaer->ProgrammAnzeigen(HexZuGaerProg(GaerHex(8, 400)));
        gaer->SpeichernGaer_S->click();
        s->LadenGPrg->click();
        QCOMPARE(s->P_Nr->Text(), QStringLiteral("8"));
        QCOMPARE(s->GaerProg, HexZuGaerProg(GaerHex(8, 400)));
        QVERIFY(u->boxen.isEmpty());
    }

    // Nivorell lists and single programs: service window to editor and back.
    void nivorellprogramme()
    {
        datei = u->dir.path() + QStringLiteral("/l.NVR");
        for (int i = 0; i < 10; ++i)
            s->NvListe[size_t(i)] = HexZuNivorell(NvHex(i + 1, 100));
        s->TakeRecordNV->setChecked(true);
        s->SpeichernNivoR->click();
        nivorell->LadenClick(true);
        QVERIFY(nivorell->Liste() == s->NvListe);

        nivorell->ProgrammAnzeigen(HexZuNivorell(NvHex(2, 200)));
        nivorell->SpeichernClick(true);
        s->NvListe = {};
        s->LadenNivoR->click();
        QCOMPARE(s->NvListe[1], HexZuNivorell(NvHex(2, 200)));
        QCOMPARE(s->NvListe[9], HexZuNivorell(NvHex(10, 100)));

        datei = u->dir.path() + QStringLiteral("/p.NVP");
        s->TakeRecordNV->setChecked(false);
        s->NvAnzeigen(HexZuNivorell(NvHex(7, 300)));
        s->SpeichernNivoR->click();
        nivorell->LadenClick(false);
        QCOMPARE(nivorell->Liste()[6], HexZuNivorell(NvHex(7, 300)));

        nivorell->ProgrammAnzeigen(HexZuNivorell(NvHex(5, 400)));
        nivorell->SpeichernClick(false);
        s->LadenNivoR->click();
        QCOMPARE(s->NivoRPrgNr->Text(), QStringLiteral("5"));
        QCOMPARE(s->NvProg, HexZuNivorell(NvHex(5, 400)));
        QVERIFY(u->boxen.isEmpty());
    }
};

QTEST_MAIN(TestServiceAustausch)
#include "tst_service_austausch.moc"
