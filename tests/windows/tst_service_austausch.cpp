// Files exchanged between the service window and the other windows: what one saves, the
// other loads unchanged.

#include "hauptfenster_umgebung.h"
#include "testtexte.h"

#include "support/uShowbox.h"
#include "windows/uQuorvel.h"

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
    }
    void cleanup()
    {
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
};

QTEST_MAIN(TestServiceAustausch)
#include "tst_service_austausch.moc"
