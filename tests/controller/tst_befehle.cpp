// Command objects and request frames.

#include "engine_umgebung.h"

#include <QDateTime>
#include <QtTest>

Q_DECLARE_METATYPE(const NeuerBefehl *)

namespace {

QString Frame(const QString &payload, const QString &adresse = QStringLiteral("0600"))
{
    const QString z = adresse + QStringLiteral("58") + payload;
    return z + PruefsummeText(z) + QLatin1Char('\r');
}

QString Payload(const QByteArray &frame)
{
    return QString::fromLatin1(frame.mid(6, frame.size() - 9));
}

QString Register(const QByteArray &frame)
{
    return QString::fromLatin1(frame.mid(8, 4));
}

QString Datenwort(const QByteArray &frame)
{
    return QString::fromLatin1(frame.mid(12, frame.size() - 15));
}

} // namespace

class TestBefehle : public QObject
{
    Q_OBJECT
    std::unique_ptr<EngineUmgebung> u;

private slots:
    void init() { u = std::make_unique<EngineUmgebung>(); }
    void cleanup() { u.reset(); }

    void create_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("max");
        QTest::newRow("status") << Q_Status.Name << 10;
        QTest::newRow("weekly read") << Q_WochPrgRd.Name << 3;
        QTest::newRow("fault (limit 0)") << Q_Stoer.Name << 3;
        QTest::newRow("none") << Q_None.Name << 3;
    }
    void create()
    {
        QFETCH(QString, name);
        QFETCH(int, max);
        QuorvelBefehl *b = nullptr;
        for (QuorvelBefehl *x : P().BefehlsTabelle)
            if (x->Name == name)
                b = x;
        QVERIFY(b);
        QCOMPARE(int(b->MaxVersuche), max);
        QCOMPARE(b->property("Name").toString(), name);
        QCOMPARE(b->Adresse, QStringLiteral("xxxx"));
        QCOMPARE(b->Versuche, quint8(0));
    }

    void tabelleInReihenfolge()
    {
        QCOMPARE(P().BefehlsTabelle.size(), 17);
        QCOMPARE(P().BefehlsTabelle, u->service()->Befehle);
        for (int i = 0; i < 17; ++i)
            QCOMPARE(P().BefehlsTabelle[i]->Name, AlleBefehle()[i]->Name);
        QCOMPARE(P().AktuellerBefehl->Name, BefehlAktuell.Name);
    }

    void ersterFrameWochenprogramm()
    {
        u->anfordern(QStringLiteral("WPR\t00\t"));
        QCOMPARE(u->port.frames.size(), 1);
        QCOMPARE(u->port.frames[0], QByteArray("06005810060000001A\r"));
        QCOMPARE(u->gesendet, QStringList{QStringLiteral("06005810060000001A\r")});
        QVERIFY(P().Wartet);
        QCOMPARE(P().AktuellerBefehl, u->objekt(Q_WochPrgRd));
        QCOMPARE(P().AktuellerBefehl->Zeile, QStringLiteral("0\tQ_WochPrgRd\t"));
        QVERIFY(u->engine->TimeOut1->isActive());
        QCOMPARE(u->engine->TimeOut1->interval(), Q_WochPrgRd.Timeout);
        QVERIFY(u->port.autoOpen);
    }

    // Builders with their registers, functions, data words and effective frame time-outs.
    void bloecke_data()
    {
        QTest::addColumn<QString>("builder");
        QTest::addColumn<int>("prog");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("payload");   // empty: nothing sent
        QTest::addColumn<int>("timeout");

        QTest::newRow("status") << "Status" << 0 << 0 << "1017000000" << 1000;
        QTest::newRow("fault 1") << "Stoer" << 0 << 1 << "1030010000" << 1000;
        QTest::newRow("fault 2") << "Stoer" << 0 << 2 << "1030060000" << 1000;
        QTest::newRow("fault 8") << "Stoer" << 0 << 8 << "1030240000" << 1000;
        QTest::newRow("fault 0") << "Stoer" << 0 << 0 << "" << 0;
        QTest::newRow("fault 9") << "Stoer" << 0 << 9 << "" << 0;
        QTest::newRow("firmware 1") << "Firmware" << 0 << 1 << "100B110000" << 1000;
        QTest::newRow("firmware 2") << "Firmware" << 0 << 2 << "100B120000" << 1000;
        QTest::newRow("firmware 3") << "Firmware" << 0 << 3 << "" << 0;
        QTest::newRow("weekly read 1") << "WochLesen" << 0 << 1 << "1006000000" << 1000;
        QTest::newRow("weekly read 2") << "WochLesen" << 0 << 2 << "1006040000" << 1000;
        QTest::newRow("weekly read 7") << "WochLesen" << 0 << 7 << "1006180000" << 1000;
        QTest::newRow("weekly read 8") << "WochLesen" << 0 << 8 << "" << 0;
        QTest::newRow("nivorell prog 5") << "NvLesen" << 5 << 1 << "1116000005" << 1000;
        QTest::newRow("nivorell step 2") << "NvLesen" << 5 << 2 << "1016000000" << 1000;
        QTest::newRow("nivorell step 8") << "NvLesen" << 5 << 8 << "1016180000" << 1000;
        QTest::newRow("nivorell next prog") << "NvLesen" << 2 << 9 << "1116000002" << 1000;
        QTest::newRow("proofing prog 10") << "GaerLesen" << 10 << 1 << "110300000A" << 1000;
        QTest::newRow("proofing step 2") << "GaerLesen" << 10 << 2 << "1003000000" << 1000;
        QTest::newRow("proofing step 5") << "GaerLesen" << 10 << 5 << "10030C0000" << 1000;
        QTest::newRow("proofing next prog") << "GaerLesen" << 3 << 6 << "1103000003" << 1000;
        QTest::newRow("weekly write 1") << "WochSenden" << 0 << 1 << "1106000001" << 1000;
        QTest::newRow("nivorell write 1") << "NvSenden" << 0 << 1 << "1116000001" << 1000;
        QTest::newRow("proofing write 1") << "GaerSenden" << 0 << 1 << "1103000001" << 2000;
    }
    void bloecke()
    {
        QFETCH(QString, builder);
        QFETCH(int, prog);
        QFETCH(int, n);
        QFETCH(QString, payload);
        QFETCH(int, timeout);

        QuorvelBefehl *b = u->objekt(Q_WochPrgRd);
        QTimer *t2 = u->engine->TimeOut2;
        t2->setInterval(4321);
        P().BlockNr = -7;
        const QString text = QStringLiteral("0001").repeated(30);
        if (builder == QLatin1String("Status"))
            b->StatusLesen();
        else if (builder == QLatin1String("Stoer"))
            b->StoerungLesen(n);
        else if (builder == QLatin1String("Firmware"))
            b->FirmwareLesen(n);
        else if (builder == QLatin1String("WochLesen"))
            b->WochPrgBlockLesen(n);
        else if (builder == QLatin1String("NvLesen"))
            b->NivorellBlockLesen(quint8(prog), n);
        else if (builder == QLatin1String("GaerLesen"))
            b->GaerProgBlockLesen(quint8(prog), n);
        else if (builder == QLatin1String("WochSenden"))
            b->WochPrgBlockSenden(text, n);
        else if (builder == QLatin1String("NvSenden"))
            b->NivorellBlockSenden(0, text, n);
        else if (builder == QLatin1String("GaerSenden"))
            b->GaerProgBlockSenden(0, text, n);

        if (payload.isEmpty()) {
            QVERIFY(u->port.frames.isEmpty());
            QCOMPARE(t2->interval(), 4321);
            QVERIFY(!t2->isActive());
            return;
        }
        QCOMPARE(u->port.frames.size(), 1);
        QCOMPARE(QString::fromLatin1(u->port.frames[0]), Frame(payload));
        QCOMPARE(u->port.frames[0].size(), 19);
        QVERIFY(t2->isActive());
        QCOMPARE(t2->interval(), timeout);
        QCOMPARE(P().BlockNr, builder == QLatin1String("Status") ? -7 : n);
        QCOMPARE(u->engine->EchoLaenge, 19);
        QCOMPARE(u->engine->EmpfangsZaehler, 0);
    }

    void wochenprogrammSchreiben()
    {
        QString text;
        for (int i = 0; i < 28; ++i)
            text += QStringLiteral("%1").arg(i, 4, 16, QLatin1Char('0')).toUpper();
        QuorvelBefehl *b = u->objekt(Q_WochPrgWr);
        b->WochPrgBlockSenden(text, 1);
        for (int n = 2; n <= 28; ++n)
            b->WochPrgBlockSenden(QStringLiteral("ZZZZ"), n);   // later blocks ignore the text
        QCOMPARE(u->port.frames.size(), 28);
        for (int n = 1; n <= 28; ++n) {
            const QByteArray &f = u->port.frames[n - 1];
            QCOMPARE(Register(f), QStringLiteral("%1").arg(0x0600 + n - 1, 4, 16, QLatin1Char('0')).toUpper());
            QCOMPARE(Datenwort(f), text.mid(4 * (n - 1), 4));
            QCOMPARE(f.mid(6, 2), QByteArray("11"));
        }
        QCOMPARE(u->service()->NvPuffer, text.right(4));
        QCOMPARE(b->SendeRest, text.right(4));
        QVERIFY(u->engine->TimeOut2->isActive());
        QCOMPARE(u->engine->TimeOut2->interval(), 1000);
    }

    void nivorellListeSchreiben()
    {
        QString liste;
        for (int k = 1; k <= 10; ++k)
            for (int i = 0; i < 25; ++i)
                liste += QStringLiteral("%1%2").arg(k, 2, 10, QLatin1Char('0')).arg(i, 2, 10, QLatin1Char('0'));
        QCOMPARE(liste.size(), 1000);
        QuorvelBefehl *b = u->objekt(Q_NVRecRest);
        b->NivorellBlockSenden(1, liste, 1);
        for (int n = 2; n <= 25; ++n)
            b->NivorellBlockSenden(0, QString(), n);
        b->NivorellBlockSenden(2, QString(), 26);
        b->NivorellBlockSenden(0, QString(), 27);
        QCOMPARE(u->port.frames.size(), 27);
        QCOMPARE(u->service()->NvListPuffer, liste);
        QCOMPARE(Datenwort(u->port.frames[0]), QStringLiteral("0100"));
        QCOMPARE(Register(u->port.frames[24]), QStringLiteral("1618"));
        QCOMPARE(Datenwort(u->port.frames[24]), QStringLiteral("0124"));
        QCOMPARE(Register(u->port.frames[25]), QStringLiteral("1600"));
        QCOMPARE(Datenwort(u->port.frames[25]), QStringLiteral("0200"));
        QCOMPARE(Datenwort(u->port.frames[26]), QStringLiteral("0201"));
        QCOMPARE(b->SendeRest, liste.mid(104, 96));
    }

    void gaerListeSchreiben52()
    {
        GaerProgLayoutSetzen(false);
        QCOMPARE(P().GaerProgFelder, quint8(13));
        QString liste;
        for (int k = 1; k <= 10; ++k)
            for (int i = 0; i < 13; ++i)
                liste += QStringLiteral("%1%2").arg(k, 2, 10, QLatin1Char('0')).arg(i, 2, 10, QLatin1Char('0'));
        QCOMPARE(liste.size(), 520);
        QuorvelBefehl *b = u->objekt(Q_GaerRecRest);
        b->GaerProgBlockSenden(1, liste, 1);
        for (int n = 2; n <= 13; ++n)
            b->GaerProgBlockSenden(0, QString(), n);
        b->GaerProgBlockSenden(2, QString(), 14);
        QCOMPARE(u->port.frames.size(), 14);
        for (int n = 1; n <= 13; ++n) {
            QCOMPARE(Register(u->port.frames[n - 1]), QStringLiteral("03%1").arg(n - 1, 2, 16, QLatin1Char('0')).toUpper());
            QCOMPARE(Datenwort(u->port.frames[n - 1]), liste.mid(4 * (n - 1), 4));
        }
        QCOMPARE(Register(u->port.frames[13]), QStringLiteral("0300"));
        QCOMPARE(Datenwort(u->port.frames[13]), liste.mid(52, 4));
        QCOMPARE(u->service()->GaerListPuffer, liste);
        QCOMPARE(b->GaerSendeRest, liste.mid(52, 52));
        QCOMPARE(u->engine->TimeOut2->interval(), 2000);
    }

    void kurzerTextGibtKurzesDatenwort()
    {
        u->objekt(Q_GaerProgWr)->GaerProgBlockSenden(0, QStringLiteral("12"), 1);
        QCOMPARE(u->port.frames.size(), 1);
        QCOMPARE(Datenwort(u->port.frames[0]), QStringLiteral("12"));
        QCOMPARE(u->port.frames[0].size(), 17);
    }

    void uhr_data()
    {
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<QString>("sommer");
        QTest::addColumn<QStringList>("register_");
        QTest::addColumn<QString>("sommerwort");
        QTest::newRow("352 summer") << true << "1" << QStringList{"0809", "080A", "080B", "080C"} << "0001";
        QTest::newRow("old winter") << false << "0" << QStringList{"0B01", "0B02", "0B03", "0B13"} << "0000";
        QTest::newRow("other flag") << true << "x" << QStringList{"0809", "080A", "080B", "080C"} << "0000";
    }
    void uhr()
    {
        QFETCH(bool, ab352);
        QFETCH(QString, sommer);
        QFETCH(QStringList, register_);
        QFETCH(QString, sommerwort);
        P().FirmwareGelesenAb352 = ab352;
        P().UhrNachFirmware = false;
        QuorvelBefehl *b = u->objekt(Q_TimeWr);
        // 4 March 2026, 05:06: a swap of day and month or of hours and minutes shows.
        b->Uhr = [] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)); };
        for (int n = 1; n <= 4; ++n)
            b->UhrBlockSenden(n == 1 ? sommer : QStringLiteral("1"), n);
        b->UhrBlockSenden(QString(), 5);
        QCOMPARE(u->port.frames.size(), 4);
        QCOMPARE(b->SommerZeit, sommer);
        for (int n = 0; n < 4; ++n) {
            QCOMPARE(Register(u->port.frames[n]), register_[n]);
            QCOMPARE(u->port.frames[n].mid(6, 2), QByteArray("11"));
        }
        QCOMPARE(Datenwort(u->port.frames[0]), QStringLiteral("0506"));
        QCOMPARE(Datenwort(u->port.frames[1]), QStringLiteral("0403"));
        QCOMPARE(Datenwort(u->port.frames[2]), QStringLiteral("2026"));
        QCOMPARE(Datenwort(u->port.frames[3]), sommerwort);
        QCOMPARE(u->engine->TimeOut2->interval(), 1000);
    }

    void uhrNachFirmwareBehaeltSommerzeit()
    {
        u->anfordern(QStringLiteral("DTW\t00\t1"));
        QuorvelBefehl *b = u->objekt(Q_TimeWr);
        QVERIFY(P().UhrNachFirmware);
        QCOMPARE(Register(u->port.frames[0]), QStringLiteral("0B11"));
        b->UhrBlockSenden(QString(), 1);
        QVERIFY(!P().UhrNachFirmware);
        QCOMPARE(b->SommerZeit, QStringLiteral("1"));
    }

    void adresseJedesMalNeu()
    {
        QuorvelBefehl *b = u->objekt(Q_WochPrgRd);
        b->WochPrgBlockLesen(1);
        u->engine->setAdresse(QStringLiteral("0A01"));
        b->WochPrgBlockLesen(2);
        QCOMPARE(QString::fromLatin1(u->port.frames[1]), Frame(QStringLiteral("1006040000"), QStringLiteral("0A01")));
        QCOMPARE(b->Adresse, QStringLiteral("0A01"));
    }

    void qorMeldungBeimStart_data()
    {
        QTest::addColumn<QString>("anfrage");
        QTest::addColumn<bool>("bleibt");
        QTest::newRow("status keeps") << "PST\t00\t" << true;
        QTest::newRow("weekly read empties") << "WPR\t00\t" << false;
    }
    void qorMeldungBeimStart()
    {
        QFETCH(QString, anfrage);
        QFETCH(bool, bleibt);
        u->service()->MeldungMemoZeile(QStringLiteral("alt"));
        u->anfordern(anfrage);
        QCOMPARE(u->port.frames.size(), 1);
        QCOMPARE(u->service()->QorMeldung().size(), bleibt ? 1 : 0);
    }

    void beendenStartetNichts()
    {
        P().Beenden = true;
        u->objekt(Q_WochPrgRd)->Ausfuehren(0, QString());
        QVERIFY(u->port.frames.isEmpty());
        QVERIFY(!P().Wartet);
        QVERIFY(!u->engine->TimeOut1->isActive());
    }

    void ohneErstenSchrittKeinStart_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("time read") << Q_TimeRd.Name;
        QTest::newRow("none") << Q_None.Name;
    }
    void ohneErstenSchrittKeinStart()
    {
        QFETCH(QString, name);
        for (QuorvelBefehl *b : P().BefehlsTabelle)
            if (b->Name == name)
                b->Ausfuehren(0, QString());
        QVERIFY(!P().Wartet);
        QVERIFY(u->port.frames.isEmpty());
    }

    // A fault read outside slots 1 to 8 sends nothing but still ends its try.
    void stoerungOhneFrameEndetImTimeout()
    {
        u->anfordern(QStringLiteral("STO\t00\t0"));
        QVERIFY(u->port.frames.isEmpty());
        QVERIFY(P().Wartet);
        QVERIFY(u->engine->TimeOut2->isActive());
        for (int i = 0; i < 3; ++i)
            u->engine->TimeOut2Timer();
        QVERIFY(!P().Wartet);
        QCOMPARE(u->ergebnisse.size(), 1);
        QCOMPARE(u->ergebnisse[0].topic, QStringLiteral("QUORVELFEHLER"));
    }

    // The object's own start, as a retry runs it: only a list transfer clears the flag.
    void listeStartLoeschtAbbruch_data()
    {
        QTest::addColumn<const NeuerBefehl *>("befehl");
        QTest::addColumn<QString>("daten");
        QTest::addColumn<bool>("geloescht");
        QTest::newRow("GRSave") << &Q_GaerRecSave << QString() << true;
        QTest::newRow("GRRest") << &Q_GaerRecRest << "x" << true;
        QTest::newRow("NVSave") << &Q_NVRecSave << QString() << true;
        QTest::newRow("NVRest") << &Q_NVRecRest << "x" << true;
        QTest::newRow("single read keeps") << &Q_NivorellRd << "3" << false;
    }
    void listeStartLoeschtAbbruch()
    {
        QFETCH(const NeuerBefehl *, befehl);
        QFETCH(QString, daten);
        QFETCH(bool, geloescht);
        P().Abbruch = true;
        u->objekt(*befehl)->Ausfuehren(0, daten);
        QCOMPARE(u->port.frames.size(), 1);
        QCOMPARE(P().Abbruch, !geloescht);
    }

    void wiederholungLaedtListeNeu()
    {
        const QString liste = QStringLiteral("ABCD").repeated(250);
        u->anfordern(QStringLiteral("NVRest\t00\t") + liste);
        QuorvelBefehl *b = u->objekt(Q_NVRecRest);
        for (int n = 2; n <= 5; ++n)
            b->NivorellBlockSenden(0, QString(), n);
        u->service()->NvListPuffer = QStringLiteral("kaputt");
        u->engine->TimeOut2Timer();
        QCOMPARE(u->port.frames.size(), 6);
        QCOMPARE(Payload(u->port.frames.last()), QStringLiteral("111600ABCD"));
        QCOMPARE(u->service()->NvListPuffer, liste);
        QCOMPARE(P().BlockNr, 1);
        QCOMPARE(b->Versuche, quint8(1));
    }

    void schreibfehlerEinmalWiederholt_data()
    {
        QTest::addColumn<int>("fehler");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QStringList>("log");
        QTest::newRow("first fails") << 1 << 1 << QStringList{"Senden2 Comport1:already open!"};
        QTest::newRow("both fail") << 2 << 0
                                   << QStringList{"Senden2 Comport1:already open!",
                                                  "Wiederholung Senden2 Comport1:already open!"};
    }
    void schreibfehlerEinmalWiederholt()
    {
        QFETCH(int, fehler);
        QFETCH(int, frames);
        QFETCH(QStringList, log);
        u->port.schreibFehler = fehler;
        u->anfordern(QStringLiteral("WPR\t00\t"));
        QCOMPARE(u->port.frames.size(), frames);
        QCOMPARE(u->gesendet.size(), frames);
        const QStringList zeilen = u->errLog();
        QCOMPARE(zeilen.size(), log.size());
        for (int i = 0; i < log.size(); ++i)
            QVERIFY2(zeilen[i].endsWith(QStringLiteral(": ") + log[i]), qPrintable(zeilen[i]));
        // The frame time-out still ends the try.
        QVERIFY(u->engine->TimeOut2->isActive());
        QVERIFY(P().Wartet);
    }
};

QTEST_GUILESS_MAIN(TestBefehle)
#include "tst_befehle.moc"
