// Program and weekly-program transfers: frame sequence, block arithmetic, list position,
// progress, results, memo lines, retries, abort and refused replies.

#include "testtexte.h"
#include "controller/uQuorvelTransfer.h"
#include "engine_umgebung.h"
#include "simulator/QuorvelSimulator.h"

#include <QElapsedTimer>
#include <functional>
#include <QtTest>

namespace {

// Wire text of a program: field 0 is its number, the others differ per program and field.
QString ProgText(int nr, int felder, int basis)
{
    QString t = Hex4(nr);
    for (int i = 1; i < felder; ++i)
        t += Hex4(basis + nr * 0x100 + i);
    return t;
}

// A block of 16 equal hex digits, i = 1 .. 15.
QString Block(int i)
{
    return QString(16, QLatin1Char("0123456789ABCDEF"[i & 15]));
}

QString Register(const QByteArray &frame)
{
    return QString::fromLatin1(frame.mid(8, 4));
}

struct Gemeldet
{
    QString topic;
    QString text;
    qsizetype frames;   // frames sent when the result came
};

} // namespace

class TestTransfer : public QObject
{
    Q_OBJECT
    std::unique_ptr<EngineUmgebung> u;
    std::unique_ptr<QuorvelSimulator> sim;
    QuorvelTransfer *t = nullptr;
    QList<Gemeldet> gemeldet;
    QStringList memo;   // every memo line, also those a retry empties again
    bool gaerSichtbar = false;
    bool nvSichtbar = false;
    bool wocheSichtbar = false;
    QList<TQorGaerProg> gaerGezeigt;
    QList<TQorNivorell> nvGezeigt;
    QList<TQorWochPrg> wocheGezeigt;
    int gaerListen = 0;
    int nvListen = 0;
    std::array<TQorGaerProg, 10> gaerListe;
    std::array<TQorNivorell, 10> nvListe;
    qsizetype weitergereicht = 0;

    QList<QByteArray> &frames() { return u->port.frames; }

    // Runs the engine against the simulator until fertig() holds.
    bool laufen(const std::function<bool()> &fertig, int ms = 10000)
    {
        QElapsedTimer uhr;
        uhr.start();
        // The check comes first: a frame just written is not yet with the controller.
        while (uhr.elapsed() < ms) {
            if (fertig())
                return true;
            while (weitergereicht < frames().size())
                sim->empfangen(frames()[weitergereicht++]);
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return fertig();
    }
    bool bisFertig(int ms = 10000)
    {
        return laufen([this] { return !P().Wartet && !sim->sendetNoch(); }, ms);
    }

    // A scripted reply to the last frame: its register, its function as the code.
    void antworten(const QString &daten, const QString &code = {})
    {
        const QByteArray &f = frames().last();
        const QString roh = daten.size() > 19 ? QStringLiteral("0000") + daten : daten;
        u->port.liefern(Antwort(Register(f), roh, code.isEmpty() ? QString::fromLatin1(f.mid(6, 2)) : code));
    }

    QStringList fortschritt() const
    {
        QStringList l;
        for (const Gemeldet &g : gemeldet)
            if (g.topic == QLatin1String("MELDUNG"))
                l << g.text;
        return l;
    }
    QList<Gemeldet> ergebnisse() const
    {
        QList<Gemeldet> l;
        for (const Gemeldet &g : gemeldet)
            if (g.topic != QLatin1String("MELDUNG"))
                l << g;
        return l;
    }
    static QStringList Fortschritte(int von, int bis)
    {
        QStringList l;
        for (int k = von; k <= bis; ++k)
            l << QStringLiteral("RestoreFortschritt=") + QString::number(k);
        return l;
    }

    void simulatorFuellen()
    {
        for (int nr = 1; nr <= 10; ++nr) {
            sim->setGaerProgramm(nr, ProgText(nr, 14, 0x1000).toLatin1());
            sim->setNivorellProgramm(nr, ProgText(nr, 25, 0x4000).toLatin1());
        }
        QString woche;
        for (int i = 0; i < 28; ++i)
            woche += Hex4(0x0700 + i);
        sim->setWochenprogramm(woche.toLatin1());
    }

private slots:
    void init()
    {
        u = std::make_unique<EngineUmgebung>();
        sim = std::make_unique<QuorvelSimulator>(QStringLiteral("0600"));
        connect(sim.get(), &QuorvelSimulator::senden, this, [this](const QByteArray &b) { u->port.liefern(b); });
        simulatorFuellen();
        weitergereicht = 0;
        gemeldet.clear();
        memo.clear();
        gaerSichtbar = nvSichtbar = wocheSichtbar = false;
        gaerGezeigt.clear();
        nvGezeigt.clear();
        wocheGezeigt.clear();
        gaerListen = nvListen = 0;

        t = QuorvelTransfer::Fuer(u->service());
        QVERIFY(t);
        QCOMPARE(QuorvelTransfer::Fuer(u->service()), t);
        t->Einsetzen();
        t->GruppeSichtbar = [this](TransferGruppe g) {
            return g == TransferGruppe::GaerProgramm ? gaerSichtbar
                 : g == TransferGruppe::NivorellProgramm ? nvSichtbar
                                                         : wocheSichtbar;
        };
        t->GaerProgAnzeigen = [this](const TQorGaerProg &p) { gaerGezeigt << p; };
        t->NvAnzeigen = [this](const TQorNivorell &p) { nvGezeigt << p; };
        t->WoPrgAnzeigen = [this](const TQorWochPrg &p) { wocheGezeigt << p; };
        t->GaerListeAnzeigen = [this](const std::array<TQorGaerProg, 10> &l) { ++gaerListen; gaerListe = l; };
        t->NvListeAnzeigen = [this](const std::array<TQorNivorell, 10> &l) { ++nvListen; nvListe = l; };
        // Results take the engine's road when no hook is set: that is what is checked here.
        connect(u->engine.get(), &QuorvelEngine::ErgebnisVerteilen, this,
                [this](qint32, const QString &tp, const QString &tx) { gemeldet << Gemeldet{tp, tx, frames().size()}; });
        connect(u->service(), &QuorvelService::QorMeldungZeile, this, [this](const QString &z) { memo << z; });
    }
    void cleanup()
    {
        sim.reset();
        u.reset();
    }

    // Writes of one program and of lists: frame count, progress points, result, memory.
    void schreiben_data()
    {
        QTest::addColumn<QString>("kennung");
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<int>("proProgramm");   // frames per program
        QTest::addColumn<int>("programme");     // 1 for a single program
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("okZeile");
        QTest::newRow("proofing list 14 fields") << "GRRest" << true << 14 << 10 << "QORGAERLISTE"
                                                 << "GaerProgramm-Liste erfolgreich übertragen";
        QTest::newRow("proofing list 13 fields") << "GRRest" << false << 13 << 10 << "QORGAERLISTE"
                                                 << "GaerProgramm-Liste erfolgreich übertragen";
        QTest::newRow("Nivorell list") << "NVRest" << true << 25 << 10 << "QORNIVOLISTE"
                                       << "NivorellProgramm-Liste erfolgreich übertragen";
        QTest::newRow("proofing single 14") << "GPW" << true << 14 << 1 << "QORGAERPROG"
                                            << "GaerProgramm erfolgreich übertragen";
        QTest::newRow("proofing single 13") << "GPW" << false << 13 << 1 << "QORGAERPROG"
                                            << "GaerProgramm erfolgreich übertragen";
        QTest::newRow("Nivorell single") << "NVW" << true << 25 << 1 << "QORNIVORELL"
                                         << "NivorellProgramm erfolgreich übertragen";
        QTest::newRow("weekly") << "WPW" << true << 28 << 1 << "QORWOCHPROG" << "Programm erfolgreich übertragen";
    }
    void schreiben()
    {
        QFETCH(QString, kennung);
        QFETCH(bool, ab352);
        QFETCH(int, proProgramm);
        QFETCH(int, programme);
        QFETCH(QString, topic);
        QFETCH(QString, okZeile);
        GaerProgLayoutSetzen(ab352);
        const bool gaer = kennung.startsWith(QLatin1Char('G'));
        const bool woche = kennung == QLatin1String("WPW");
        gaerSichtbar = nvSichtbar = wocheSichtbar = true;

        QString text;
        if (woche) {
            for (int i = 0; i < 28; ++i)
                text += Hex4(0x0A00 + i);
        } else {
            for (int nr = 1; nr <= programme; ++nr)
                text += ProgText(programme == 1 ? 3 : nr, proProgramm, gaer ? 0x2000 : 0x6000);
        }
        u->anfordern(kennung + QStringLiteral("\t00\t") + text);
        QVERIFY(bisFertig());

        QCOMPARE(frames().size(), qsizetype(proProgramm * programme));
        const QStringList progress = fortschritt();
        QCOMPARE(progress, programme == 10 ? Fortschritte(1, 9) : QStringList());
        for (const Gemeldet &g : gemeldet)
            if (g.topic == QLatin1String("MELDUNG"))
                QCOMPARE(g.frames, qsizetype(proProgramm * g.text.mid(19).toInt() + 1));   // next program begun
        QCOMPARE(ergebnisse().size(), 1);
        QCOMPARE(ergebnisse().first().topic, topic);
        QCOMPARE(ergebnisse().first().text, QStringLiteral("SendACK"));
        QCOMPARE(ergebnisse().first().frames, qsizetype(proProgramm * programme));

        // Each frame carries the next field; the controller holds what was sent.
        for (int i = 0; i < frames().size(); ++i)
            QCOMPARE(QString::fromLatin1(frames()[i].mid(12, 4)), text.mid(4 * i, 4));
        if (woche) {
            QCOMPARE(QString::fromLatin1(sim->wochenprogramm()), text);
        } else {
            for (int p = 0; p < programme; ++p) {
                const int nr = programme == 1 ? 3 : p + 1;
                const QByteArray ist = gaer ? sim->gaerProgramm(nr) : sim->nivorellProgramm(nr);
                QCOMPARE(QString::fromLatin1(ist.left(proProgramm * 4)), text.mid(p * proProgramm * 4, proProgramm * 4));
            }
        }

        QStringList zeilen;
        const QString prefix = gaer ? QStringLiteral("Gaer-PrgNr.") : QStringLiteral("Nivorell PrgNr.");
        if (programme == 10)
            for (int k = 1; k <= 9; ++k)
                zeilen << prefix + QStringLiteral("%1 gesendet.").arg(k, 2, 10, QLatin1Char('0'));
        zeilen << okZeile;
        QCOMPARE(u->service()->QorMeldung(), zeilen);
        QVERIFY(u->fehler.isEmpty());
    }

    // Reads of lists and of single programs against the controller's memory.
    void lesen_data()
    {
        QTest::addColumn<QString>("anfrage");
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<int>("frames");
        QTest::addColumn<QString>("topic");
        QTest::newRow("proofing list 56") << "GRSave\t00\t" << true << 50 << "QORGAERLISTE";
        QTest::newRow("proofing list 52") << "GRSave\t00\t" << false << 50 << "QORGAERLISTE";
        QTest::newRow("Nivorell list") << "NVSave\t00\t" << true << 80 << "QORNIVOLISTE";
        QTest::newRow("proofing single 56") << "GPR\t00\t7" << true << 5 << "QORGAERPROG";
        QTest::newRow("proofing single 52") << "GPR\t00\t7" << false << 5 << "QORGAERPROG";
        QTest::newRow("Nivorell single") << "NVR\t00\t10" << true << 8 << "QORNIVORELL";
        QTest::newRow("weekly") << "WPR\t00\t" << true << 7 << "QORWOCHPROG";
    }
    void lesen()
    {
        QFETCH(QString, anfrage);
        QFETCH(bool, ab352);
        QFETCH(int, frames);
        QFETCH(QString, topic);
        GaerProgLayoutSetzen(ab352);
        const bool liste = anfrage.contains(QLatin1String("Save"));
        const bool gaer = anfrage.startsWith(QLatin1Char('G'));
        const bool woche = anfrage.startsWith(QLatin1Char('W'));
        const int R = woche ? 112 : gaer ? P().GaerProgLaenge : 100;
        // Hidden groups: no memo lines, no display; the weekly grid is filled all the same.
        u->anfordern(anfrage);
        QVERIFY(bisFertig());

        QString erwartet;
        if (woche) {
            erwartet = QString::fromLatin1(sim->wochenprogramm());
        } else {
            const int nr = anfrage.section(QLatin1Char('\t'), 2).toInt();
            for (int p = liste ? 1 : nr; p <= (liste ? 10 : nr); ++p)
                erwartet += QString::fromLatin1((gaer ? sim->gaerProgramm(p) : sim->nivorellProgramm(p)).left(R));
        }
        QCOMPARE(erwartet.size(), (liste ? 10 : 1) * R);
        QCOMPARE(this->frames().size(), qsizetype(frames));
        QCOMPARE(ergebnisse().size(), 1);
        QCOMPARE(ergebnisse().first().topic, topic);
        QCOMPARE(ergebnisse().first().text, erwartet);
        QCOMPARE(fortschritt(), liste ? Fortschritte(1, 9) : QStringList());
        const int F = frames / (liste ? 10 : 1);
        for (const Gemeldet &g : gemeldet)
            if (g.topic == QLatin1String("MELDUNG"))
                QCOMPARE(g.frames, qsizetype(F * g.text.mid(19).toInt()));   // before program k+1
        // Every program starts with the write of its number.
        for (int p = 0; p < frames / F && !woche; ++p)
            QCOMPARE(QString::fromLatin1(this->frames()[p * F].mid(6, 10)),
                     QStringLiteral("11") + (gaer ? QStringLiteral("0300") : QStringLiteral("1600"))
                         + Hex4(liste ? p + 1 : anfrage.section(QLatin1Char('\t'), 2).toInt()));
        QVERIFY(u->service()->QorMeldung().isEmpty());
        QCOMPARE(gaerGezeigt.size() + nvGezeigt.size() + gaerListen + nvListen, 0);
        QCOMPARE(wocheGezeigt.size(), woche ? 1 : 0);
        if (woche)
            QCOMPARE(WochPrgZuHex(wocheGezeigt.first()), erwartet);
        QVERIFY(u->fehler.isEmpty());
    }

    // With the group shown: memo lines per program and the decoded list or program.
    void lesenSichtbar_data()
    {
        QTest::addColumn<QString>("anfrage");
        QTest::newRow("proofing list") << "GRSave\t00\t";
        QTest::newRow("Nivorell list") << "NVSave\t00\t";
        QTest::newRow("proofing single") << "GPR\t00\t4";
        QTest::newRow("Nivorell single") << "NVR\t00\t4";
    }
    void lesenSichtbar()
    {
        QFETCH(QString, anfrage);
        gaerSichtbar = nvSichtbar = true;
        const bool gaer = anfrage.startsWith(QLatin1Char('G'));
        const bool liste = anfrage.contains(QLatin1String("Save"));
        u->anfordern(anfrage);
        QVERIFY(bisFertig());
        QStringList zeilen;
        for (int k = 1; liste && k <= 9; ++k)
            zeilen << (gaer ? QStringLiteral("Gaer-PrgNr.") : QStringLiteral("Nivorell PrgNr."))
                          + QStringLiteral("%1 gelesen.").arg(k, 2, 10, QLatin1Char('0'));
        QCOMPARE(u->service()->QorMeldung(), zeilen);
        if (liste) {
            QCOMPARE(gaer ? gaerListen : nvListen, 1);
            for (int i = 0; i < 10; ++i) {
                // The same record as the controller's text decodes to (the codecs round).
                if (gaer)
                    QCOMPARE(GaerProgZuHex(gaerListe[i]), GaerProgZuHex(HexZuGaerProg(QString::fromLatin1(sim->gaerProgramm(i + 1)))));
                else
                    QCOMPARE(NivorellZuHex(nvListe[i]), NivorellZuHex(HexZuNivorell(QString::fromLatin1(sim->nivorellProgramm(i + 1)))));
            }
        } else if (gaer) {
            QCOMPARE(gaerGezeigt.size(), 1);
            QCOMPARE(GaerProgZuHex(gaerGezeigt.first()), GaerProgZuHex(HexZuGaerProg(QString::fromLatin1(sim->gaerProgramm(4)))));
        } else {
            QCOMPARE(nvGezeigt.size(), 1);
            QCOMPARE(NivorellZuHex(nvGezeigt.first()), NivorellZuHex(HexZuNivorell(QString::fromLatin1(sim->nivorellProgramm(4)))));
        }
    }

    // Block arithmetic with scripted replies: the registers asked for, the result, refusals.
    void bloecke_data()
    {
        QTest::addColumn<QString>("anfrage");
        QTest::addColumn<bool>("ab352");
        QTest::addColumn<QStringList>("antwortListe");   // data of the replies, in order
        QTest::addColumn<QStringList>("registerListe");    // registers of all frames sent
        QTest::addColumn<QString>("ergebnis");        // result text; empty: none
        QTest::addColumn<QString>("fehler");          // memo error line; empty: none

        const QString b1 = Block(1), b2 = Block(2), b3 = Block(3), b4 = Block(4), b5 = Block(5),
                      b6 = Block(6), b7 = Block(7);
        QTest::newRow("proofing 56: 4,16x4 cut to 56")
            << "GPR\t00\t2" << true << QStringList{"0002", b1, b2, b3, b4}
            << QStringList{"0300", "0300", "0304", "0308", "030C"} << (b1 + b2 + b3 + b4).left(56) << "";
        QTest::newRow("proofing 52: 4,16x4 cut to 52")
            << "GPR\t00\t2" << false << QStringList{"0002", b1, b2, b3, b4}
            << QStringList{"0300", "0300", "0304", "0308", "030C"} << (b1 + b2 + b3 + b4).left(52) << "";
        QTest::newRow("Nivorell: 4,16x7 cut to 100")
            << "NVR\t00\t5" << true << QStringList{"0005", b1, b2, b3, b4, b5, b6, b7}
            << QStringList{"1600", "1600", "1604", "1608", "160C", "1610", "1614", "1618"}
            << (b1 + b2 + b3 + b4 + b5 + b6 + b7).left(100) << "";
        QTest::newRow("weekly: 16x7")
            << "WPR\t00\t" << true << QStringList{b1, b2, b3, b4, b5, b6, b7}
            << QStringList{"0600", "0604", "0608", "060C", "0610", "0614", "0618"}
            << b1 + b2 + b3 + b4 + b5 + b6 + b7 << "";
        QTest::newRow("weekly: 32 at block 2 skips to block 4")
            << "WPR\t00\t" << true << QStringList{b1, b2 + b3, b4, b5, b6, b7}
            << QStringList{"0600", "0604", "060C", "0610", "0614", "0618"} << b1 + b2 + b3 + b4 + b5 + b6 + b7 << "";
        // The controller sends block 3 again from its start: the short fragment is not kept.
        QTest::newRow("Nivorell: 4 at block 3 asks block 3 again")
            << "NVR\t00\t5" << true << QStringList{"0005", b1, b2.left(4), b2, b3, b4, b5, b6, b7}
            << QStringList{"1600", "1600", "1604", "1604", "1608", "160C", "1610", "1614", "1618"}
            << (b1 + b2 + b3 + b4 + b5 + b6 + b7).left(100) << "";
        QTest::newRow("weekly: 12 at block 5 asks block 5 again")
            << "WPR\t00\t" << true << QStringList{b1, b2, b3, b4, b5.left(12), b5, b6, b7}
            << QStringList{"0600", "0604", "0608", "060C", "0610", "0610", "0614", "0618"}
            << b1 + b2 + b3 + b4 + b5 + b6 + b7 << "";
        // A short last fragment that completes the record is kept.
        QTest::newRow("proofing 52: 4 at the last block completes")
            << "GPR\t00\t2" << false << QStringList{"0002", b1, b2, b3, b4.left(4)}
            << QStringList{"0300", "0300", "0304", "0308", "030C"} << b1 + b2 + b3 + b4.left(4) << "";
        QTest::newRow("proofing: empty block refused")
            << "GPR\t00\t2" << true << QStringList{"0002", b1, ""}
            << QStringList{"0300", "0300", "0304", "0300"} << "" << "Fehler bei GaerProgramme lesen!";
        QTest::newRow("Nivorell: 8 at the number write refused")
            << "NVR\t00\t5" << true << QStringList{"00050005"}
            << QStringList{"1600", "1600"} << "" << "Fehler bei NivorellProgramme lesen!";
        QTest::newRow("weekly: 4 at block 1 refused")
            << "WPR\t00\t" << true << QStringList{"0700"}
            << QStringList{"0600", "0600"} << "" << "Fehler bei Wochenprogramme lesen!";
        QTest::newRow("weekly: empty at block 3 refused")
            << "WPR\t00\t" << true << QStringList{b1, b2, ""}
            << QStringList{"0600", "0604", "0608", "0600"} << "" << "Fehler bei Wochenprogramme lesen!";
        QTest::newRow("proofing: short block four times refused")
            << "GPR\t00\t2" << true << QStringList{"0002", "0001", "0001", "0001", "0001"}
            << QStringList{"0300", "0300", "0300", "0300", "0300", "0300"} << "" << "Fehler bei GaerProgramme lesen!";
        QTest::newRow("write: 8 characters refused")
            << "GPW\t00\t" + ProgText(2, 14, 0) << true << QStringList{"0002", "00010001"}
            << QStringList{"0300", "0301", "0300"} << "" << "Fehler bei GaerProgramme senden!";
        QTest::newRow("write: empty refused")
            << "NVW\t00\t" + ProgText(2, 25, 0) << true << QStringList{""}
            << QStringList{"1600", "1600"} << "" << "Fehler bei NivorellProgramme senden!";
        QTest::newRow("weekly write: 8 refused")
            << "WPW\t00\t" + QString(112, QLatin1Char('1')) << true << QStringList{"1111", "11111111"}
            << QStringList{"0600", "0601", "0600"} << "" << "Fehler bei Wochenprogramme senden!";
    }
    void bloecke()
    {
        QFETCH(QString, anfrage);
        QFETCH(bool, ab352);
        QFETCH(QStringList, antwortListe);
        QFETCH(QStringList, registerListe);
        QFETCH(QString, ergebnis);
        QFETCH(QString, fehler);
        GaerProgLayoutSetzen(ab352);
        u->anfordern(anfrage);
        for (const QString &a : std::as_const(antwortListe))
            antworten(a);

        QStringList ist;
        for (const QByteArray &f : std::as_const(frames()))
            ist << Register(f);
        QCOMPARE(ist, registerListe);
        if (ergebnis.isEmpty()) {
            QVERIFY(ergebnisse().isEmpty());
            QVERIFY(P().Wartet);   // a refusal restarted the command from its first frame
            QCOMPARE(memo, QStringList{fehler});
            QCOMPARE(u->fehler.size(), 1);
            QVERIFY(u->fehler.first().endsWith(QLatin1Char(':')));
        } else {
            QVERIFY(!P().Wartet);
            QCOMPARE(ergebnisse().size(), 1);
            QCOMPARE(ergebnisse().first().text, ergebnis);
            QVERIFY(memo.isEmpty());
        }
    }

    // Odd lengths never pass the line check; called directly they are refused without a frame.
    void direktAbgelehnt_data()
    {
        QTest::addColumn<int>("decoder");
        QTest::addColumn<QString>("daten");
        QTest::addColumn<QString>("fehler");
        QTest::newRow("proofing write 3") << 0 << "ABC" << "Fehler bei GaerProgramme senden!";
        QTest::newRow("proofing write 5") << 0 << "ABCDE" << "Fehler bei GaerProgramme senden!";
        QTest::newRow("Nivorell write 3") << 1 << "ABC" << "Fehler bei NivorellProgramme senden!";
        QTest::newRow("Nivorell write 5") << 1 << "ABCDE" << "Fehler bei NivorellProgramme senden!";
        QTest::newRow("weekly write 5") << 2 << "ABCDE" << "Fehler bei Wochenprogramme senden!";
        QTest::newRow("proofing number write 3") << 3 << "ABC" << "Fehler bei GaerProgramme lesen!";
        QTest::newRow("weekly block 1 of 15") << 4 << QString(15, QLatin1Char('1')) << "Fehler bei Wochenprogramme lesen!";
    }
    void direktAbgelehnt()
    {
        QFETCH(int, decoder);
        QFETCH(QString, daten);
        QFETCH(QString, fehler);
        static const char *const start[] = {"GRRest", "NVRest", "WPW", "GRSave", "WPR"};
        QString text = decoder == 0 ? QString(560, QLatin1Char('1')) : decoder == 1 ? QString(1000, QLatin1Char('1'))
                                                                   : QString(112, QLatin1Char('1'));
        u->anfordern(QString::fromLatin1(start[decoder]) + QStringLiteral("\t00\t") + (decoder < 3 ? text : QString()));
        QCOMPARE(frames().size(), 1);
        bool ok = true;
        switch (decoder) {
        case 0: ok = t->GaerSendenAntwort(1, daten); break;
        case 1: ok = t->NvSendenAntwort(1, daten); break;
        case 2: ok = t->WoPrgSendenAntwort(daten); break;
        case 3: ok = t->GaerLesenAntwort(1, daten); break;
        default: ok = t->WoPrgLesenAntwort(daten); break;
        }
        QVERIFY(!ok);
        QCOMPARE(frames().size(), 1);
        QCOMPARE(memo, QStringList{fehler});
        QVERIFY(gemeldet.isEmpty());
    }

    // A failed try restarts a list at program 1; nothing is lost, the result is whole.
    void wiederholung_data()
    {
        QTest::addColumn<QString>("kennung");
        QTest::addColumn<int>("stoerung");   // QuorvelSimulator::Stoerung
        QTest::addColumn<QByteArray>("param");
        QTest::addColumn<int>("beiFrame");   // the disturbed reply
        QTest::addColumn<int>("proProgramm");
        QTest::newRow("proofing list write, 85") << "GRRest" << int(QuorvelSimulator::StatusCode) << QByteArray("85") << 40 << 14;
        QTest::newRow("Nivorell list write, checksum") << "NVRest" << int(QuorvelSimulator::FalschePruefsumme) << QByteArray() << 130 << 25;
        QTest::newRow("Nivorell list write, short reply") << "NVRest" << int(QuorvelSimulator::FalscheLaenge) << QByteArray("4") << 26 << 25;
        QTest::newRow("proofing list read, no reply") << "GRSave" << int(QuorvelSimulator::KeineAntwort) << QByteArray() << 23 << 5;
        QTest::newRow("Nivorell list read, 88") << "NVSave" << int(QuorvelSimulator::StatusCode) << QByteArray("88") << 75 << 8;
        QTest::newRow("Nivorell list read, short block") << "NVSave" << int(QuorvelSimulator::FalscheLaenge) << QByteArray("4") << 12 << 8;
    }
    void wiederholung()
    {
        QFETCH(QString, kennung);
        QFETCH(int, stoerung);
        QFETCH(QByteArray, param);
        QFETCH(int, beiFrame);
        QFETCH(int, proProgramm);
        const bool schreiben = kennung.endsWith(QLatin1String("Rest"));
        const bool gaer = kennung.startsWith(QLatin1Char('G'));
        QString text;
        for (int nr = 1; schreiben && nr <= 10; ++nr)
            text += ProgText(nr, proProgramm, 0x3000);
        u->anfordern(kennung + QStringLiteral("\t00\t") + text);
        QVERIFY(laufen([&] { return frames().size() >= beiFrame; }));
        sim->stoerungEinplanen(QuorvelSimulator::Stoerung(stoerung), 1, param);
        if (stoerung == QuorvelSimulator::KeineAntwort) {
            QVERIFY(laufen([&] { return frames().size() >= beiFrame && sim->geplanteStoerungen() == 0; }));
            u->engine->TimeOut2Timer();
        }
        QVERIFY(bisFertig());

        // A short block in a read is asked for again, not counted as a failure.
        const bool nochmal = !schreiben && stoerung == QuorvelSimulator::FalscheLaenge;
        const int lauf = 10 * proProgramm;
        QCOMPARE(frames().size(), qsizetype(nochmal ? lauf + 1 : beiFrame + lauf));
        QCOMPARE(u->fehler.size(), nochmal ? 0 : 1);
        if (!nochmal) {
            // The frame after the failure is block 1 of program 1.
            const QByteArray neu = frames()[beiFrame];
            QCOMPARE(Register(neu), gaer ? QStringLiteral("0300") : QStringLiteral("1600"));
            QCOMPARE(QString::fromLatin1(neu.mid(12, 4)), Hex4(1));
            const int vorher = (beiFrame - 1) / proProgramm;
            QCOMPARE(fortschritt(), Fortschritte(1, vorher) + Fortschritte(1, 9));
        } else {
            QCOMPARE(fortschritt(), Fortschritte(1, 9));
        }
        QCOMPARE(ergebnisse().size(), 1);
        if (schreiben) {
            QCOMPARE(ergebnisse().first().text, QStringLiteral("SendACK"));
            for (int nr = 1; nr <= 10; ++nr)
                QCOMPARE(QString::fromLatin1(gaer ? sim->gaerProgramm(nr) : sim->nivorellProgramm(nr)),
                         text.mid((nr - 1) * proProgramm * 4, proProgramm * 4));
        } else {
            QString erwartet;
            for (int nr = 1; nr <= 10; ++nr)
                erwartet += QString::fromLatin1(gaer ? sim->gaerProgramm(nr) : sim->nivorellProgramm(nr));
            QCOMPARE(ergebnisse().first().text, erwartet);
        }
    }

    // Abort during a list: the next reply is refused, nothing more is sent or reported.
    void abbruch_data()
    {
        QTest::addColumn<QString>("kennung");
        QTest::addColumn<int>("nachFrames");
        QTest::addColumn<QString>("fehler");
        QTest::newRow("proofing list read, at a number write") << "GRSave" << 15 << "Fehler bei GaerProgramme lesen!";
        QTest::newRow("proofing list read, at a block") << "GRSave" << 13 << "Fehler bei GaerProgramme lesen!";
        QTest::newRow("Nivorell list read, first frame") << "NVSave" << 0 << "Fehler bei NivorellProgramme lesen!";
        QTest::newRow("Nivorell list read, last program") << "NVSave" << 79 << "Fehler bei NivorellProgramme lesen!";
        QTest::newRow("proofing list write") << "GRRest" << 30 << "Fehler bei GaerProgramme senden!";
        QTest::newRow("Nivorell list write") << "NVRest" << 100 << "Fehler bei NivorellProgramme senden!";
    }
    void abbruch()
    {
        QFETCH(QString, kennung);
        QFETCH(int, nachFrames);
        QFETCH(QString, fehler);
        QString text;
        const bool gaer = kennung.startsWith(QLatin1Char('G'));
        for (int nr = 1; kennung.endsWith(QLatin1String("Rest")) && nr <= 10; ++nr)
            text += ProgText(nr, gaer ? 14 : 25, 0x5000);
        u->anfordern(kennung + QStringLiteral("\t00\t") + text);
        // Hold the reply to frame nachFrames + 1 back until the abort is requested.
        QVERIFY(laufen([&] { return frames().size() >= nachFrames + 1; }));
        weitergereicht = frames().size();   // this frame is not answered yet
        const qsizetype gesendet = frames().size();
        const QList<Gemeldet> bisher = gemeldet;
        gaerSichtbar = nvSichtbar = true;
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("RSCancel\t00\t"));
        QVERIFY(P().Abbruch);
        sim->empfangen(frames().last());
        QVERIFY(bisFertig());

        QCOMPARE(frames().size(), gesendet);
        QCOMPARE(gemeldet.size(), bisher.size());
        QCOMPARE(memo.last(), fehler);
        QCOMPARE(u->fehlerMit(QStringLiteral("Benutzerabbruch!")), 1);
        QCOMPARE(u->fehler.size(), 1);
        QVERIFY(!P().Abbruch);
        QCOMPARE(P().AktuellerBefehl, u->objekt(Q_None));
        // The queued abort line starts nothing and does not set the flag again.
        u->engine->TimerHerzTimer();
        QCOMPARE(frames().size(), gesendet);
        QVERIFY(!P().Abbruch);
    }

    // Abort flag and a single program: only list transfers look at it.
    void abbruchEinzelprogramm()
    {
        u->anfordern(QStringLiteral("NVR\t00\t2"));
        P().Abbruch = true;
        QVERIFY(bisFertig());
        QCOMPARE(ergebnisse().size(), 1);
        QCOMPARE(ergebnisse().first().text, QString::fromLatin1(sim->nivorellProgramm(2)));
        QVERIFY(P().Abbruch);
    }

    // An abort ends only the transfer under way when it is asked for: a single read started
    // after it, whose first reply has a wrong checksum, is retried and brings its program.
    void abbruchNurFuerLaufendeUebertragung_data()
    {
        QTest::addColumn<QString>("laufend");   // under way when the abort comes (empty: nothing)
        QTest::addColumn<int>("abbrueche");     // "Benutzerabbruch!" lines it gives
        QTest::newRow("list read, aborted") << "GRSave\t00\t" << 1;
        QTest::newRow("single read, completes") << "NVR\t00\t2" << 0;
        QTest::newRow("nothing under way") << QString() << 0;
    }
    void abbruchNurFuerLaufendeUebertragung()
    {
        QFETCH(QString, laufend);
        QFETCH(int, abbrueche);
        if (!laufend.isEmpty()) {
            u->anfordern(laufend);
            // The reply to the third frame waits until the abort is requested.
            QVERIFY(laufen([&] { return frames().size() >= 3; }));
            weitergereicht = frames().size();
        }
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("RSCancel\t00\t"));
        if (!laufend.isEmpty())
            sim->empfangen(frames().last());
        QVERIFY(bisFertig());
        QCOMPARE(u->fehlerMit(QStringLiteral("Benutzerabbruch!")), abbrueche);
        QCOMPARE(ergebnisse().size(), abbrueche ? 0 : laufend.isEmpty() ? 0 : 1);
        u->engine->TimerHerzTimer();   // takes the abort line
        QVERIFY(u->makros().isEmpty());
        QVERIFY(!P().Wartet);

        const qsizetype vorher = frames().size();
        sim->stoerungEinplanen(QuorvelSimulator::FalschePruefsumme);
        u->anfordern(QStringLiteral("GPR\t00\t3"));
        QVERIFY(bisFertig());
        QCOMPARE(u->fehlerMit(QStringLiteral("ChksmFehler Empfang!")), 1);
        QCOMPARE(u->fehlerMit(QStringLiteral("Benutzerabbruch!")), abbrueche);
        // The first frame went out twice: once more for the retry.
        QCOMPARE(frames().at(vorher + 1), frames().at(vorher));
        QCOMPARE(ergebnisse().last().topic, QStringLiteral("QORGAERPROG"));
        QCOMPARE(ergebnisse().last().text, QString::fromLatin1(sim->gaerProgramm(3)));
        QVERIFY(!P().Abbruch);
    }

    // Three refused tries give the list up with SendNAK from the failure path, no progress 100.
    void aufgabe()
    {
        u->anfordern(QStringLiteral("GRSave\t00\t"));
        sim->stoerungEinplanen(QuorvelSimulator::FalscheLaenge, 3, "4");   // empty number-write replies
        QVERIFY(bisFertig());
        QCOMPARE(frames().size(), 3);
        QCOMPARE(ergebnisse().size(), 1);
        QCOMPARE(ergebnisse().first().topic, QStringLiteral("QORGAERLISTE"));
        QCOMPARE(ergebnisse().first().text, QStringLiteral("SendNAK"));
        QCOMPARE(memo, QStringList({"Fehler bei GaerProgramme lesen!", "Fehler bei GaerProgramme lesen!",
                                    "Fehler bei GaerProgramme lesen!", "GaerRecordError"}));
        QVERIFY(fortschritt().isEmpty());
    }

    // The decoders give way when their transfer object goes; the table is then empty again.
    void objektWeg()
    {
        QVERIFY(u->service()->Dekoder.NvLesenAntwort);
        delete t;
        t = nullptr;
        QVERIFY(!u->service()->Dekoder.NvLesenAntwort);
        QVERIFY(!u->service()->Dekoder.WoPrgSendenAntwort);
    }
};

QTEST_GUILESS_MAIN(TestTransfer)
#include "tst_transfer.moc"
