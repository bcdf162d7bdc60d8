// Reply reception, checking, failure and retry.

#include "engine_umgebung.h"

#include <QtTest>

namespace {

// A line with the right checksum: the 12 head characters, then the data.
QByteArray Zeile(const QString &koerper)
{
    return (koerper + PruefsummeText(koerper) + QLatin1Char('\r')).toLatin1();
}

} // namespace

class TestAntwort : public QObject
{
    Q_OBJECT
    std::unique_ptr<EngineUmgebung> u;
    QStringList daten;   // what the weekly-read decoder got

    void wochenLeserEinsetzen(bool annehmen = true)
    {
        u->service()->Dekoder.WoPrgLesenAntwort = [this, annehmen](const QString &d) {
            daten << d;
            if (annehmen)
                u->service()->FensterWarteZustand(0, true, false);
            return annehmen;
        };
    }
    QString wprZeile() const { return QStringLiteral("0\tQ_WochPrgRd\t"); }

private slots:
    void init()
    {
        u = std::make_unique<EngineUmgebung>();
        daten.clear();
    }
    void cleanup() { u.reset(); }

    void laenge_data()
    {
        QTest::addColumn<QString>("koerper");     // without checksum and CR
        QTest::addColumn<bool>("angenommen");
        QTest::addColumn<QString>("erwartet");    // data to the decoder, or the error text
        const QString k = QStringLiteral("060058100600");
        const QString d16 = QStringLiteral("0123456789ABCDEF");
        QTest::newRow("19: 4 data") << k + "0007" << true << "0007";
        QTest::newRow("31: 16 data") << k + d16 << true << d16;
        QTest::newRow("35: last 16 of 20") << k + "WXYZ" + d16 << true << d16;
        QTest::newRow("39: 0000 after trim") << k + "WXYZ0000" + d16 << true << d16;
        QTest::newRow("39: no 0000") << k + "WXYZ1111" + d16 << true << "1111" + d16;
        QTest::newRow("83: status 64") << k + "0010" + QString(64, 'S') << true << QString(64, 'S');
        QTest::newRow("15: empty data") << k << true << "";
        QTest::newRow("23: 8 data") << k + "12345678" << true << "12345678";
        QTest::newRow("18") << k + "000" << false << "Falsche Länge: 18";
        QTest::newRow("20") << k + "00000" << false << "Falsche Länge: 20";
    }
    void laenge()
    {
        QFETCH(QString, koerper);
        QFETCH(bool, angenommen);
        QFETCH(QString, erwartet);
        wochenLeserEinsetzen();
        u->anfordern(QStringLiteral("WPR\t00\t"));
        const QByteArray z = Zeile(koerper);
        u->port.liefern(z);
        if (angenommen) {
            QCOMPARE(daten, QStringList{erwartet});
            QCOMPARE(u->empfangen, QStringList{QString::fromLatin1(z)});
            QVERIFY(u->fehler.isEmpty());
            QVERIFY(!P().Wartet);
        } else {
            QVERIFY(daten.isEmpty());
            QVERIFY(u->empfangen.isEmpty());
            QCOMPARE(u->fehler.size(), 1);
            QVERIFY2(u->fehler[0].endsWith(QStringLiteral("__") + wprZeile() + ":" + erwartet), qPrintable(u->fehler[0]));
            QVERIFY(u->lastError[0].endsWith(QStringLiteral("-") + wprZeile() + ":" + erwartet));
            QCOMPARE(u->port.frames.size(), 2);   // retried from the first frame
        }
    }

    void pruefsumme_data()
    {
        QTest::addColumn<QByteArray>("zeile");
        const QByteArray gut = Antwort(QStringLiteral("0600"), QStringLiteral("0000"));
        QByteArray klein = gut;
        for (int i = klein.size() - 3; i < klein.size() - 1; ++i)
            klein[i] = char(QChar::toLower(uint(uchar(klein[i]))));
        QByteArray falsch = gut;
        falsch[falsch.size() - 2] = falsch[falsch.size() - 2] == '0' ? '1' : '0';
        QTest::newRow("3 chars") << QByteArray("0A\r");
        QTest::newRow("7 chars") << QByteArray("060058\r");
        QTest::newRow("11 chars") << QByteArray("0600581006\r");
        QTest::newRow("wrong") << falsch;
        QTest::newRow("not hex") << (gut.left(gut.size() - 3) + "G1\r");
        // 0600 58 10 0600 0000 has the checksum 1A.
        if (klein != gut)
            QTest::newRow("lower case") << klein;
    }
    void pruefsumme()
    {
        QFETCH(QByteArray, zeile);
        wochenLeserEinsetzen();
        u->anfordern(QStringLiteral("WPR\t00\t"));
        u->port.liefern(zeile);
        QVERIFY(daten.isEmpty());
        QCOMPARE(u->fehler.size(), 1);
        QVERIFY2(u->fehler[0].endsWith(wprZeile() + ":ChksmFehler Empfang!"), qPrintable(u->fehler[0]));
    }

    void kleinePruefsummeHatBuchstaben()
    {
        // Makes sure the lower-case row above exists.
        const QByteArray gut = Antwort(QStringLiteral("0600"), QStringLiteral("0000"));
        const QByteArray pruef = gut.mid(gut.size() - 3, 2);
        QVERIFY(pruef.toLower() != pruef);
    }

    void statusCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::newRow("81") << "81" << "Wrong password!";
        QTest::newRow("82") << "82" << "Wrong type of controller!";
        QTest::newRow("83") << "83" << "Wrong checksum!";
        QTest::newRow("84") << "84" << "Contains no allowable signs!";
        QTest::newRow("85") << "85" << "Write to Eprom is not possible!";
        QTest::newRow("86") << "86" << "Wrong End sign!";
        QTest::newRow("87") << "87" << "timeout!";
        QTest::newRow("88") << "88" << "Wrong Function code!";
        QTest::newRow("80 passes") << "80" << "";
        QTest::newRow("89 passes") << "89" << "";
    }
    void statusCodes()
    {
        QFETCH(QString, code);
        QFETCH(QString, text);
        wochenLeserEinsetzen();
        u->anfordern(QStringLiteral("WPR\t00\t"));
        u->port.liefern(Antwort(QStringLiteral("0600"), QStringLiteral("0000"), code));
        if (text.isEmpty()) {
            QCOMPARE(daten.size(), 1);
            QVERIFY(u->fehler.isEmpty());
            return;
        }
        QVERIFY(daten.isEmpty());
        QCOMPARE(u->fehler.size(), 1);
        QVERIFY(u->fehler[0].endsWith(wprZeile() + ":" + text));
        QCOMPARE(u->port.frames.size(), 2);
        QCOMPARE(u->port.frames[1], u->port.frames[0]);
        QCOMPARE(u->objekt(Q_WochPrgRd)->Versuche, quint8(1));
    }

    void ausrufezeichen()
    {
        wochenLeserEinsetzen();
        u->anfordern(QStringLiteral("WPR\t00\t"));
        const QByteArray z = Antwort(QStringLiteral("0600"), QStringLiteral("0123456789ABCDEF"));
        u->port.liefern("!" + z);
        QCOMPARE(daten, QStringList{QStringLiteral("0123456789ABCDEF")});
        QCOMPARE(u->empfangen, QStringList{QString::fromLatin1(z)});
    }

    void ohneWartenIgnoriert()
    {
        wochenLeserEinsetzen();
        u->port.liefern(Antwort(QStringLiteral("0600"), QStringLiteral("0000")));
        u->port.liefern("Unsinn\r");
        QVERIFY(daten.isEmpty());
        QVERIFY(u->empfangen.isEmpty());
        QVERIFY(u->fehler.isEmpty());
    }

    void dreiFehlversuche()
    {
        wochenLeserEinsetzen();
        u->service()->MeldungMemoZeile(QStringLiteral("alt"));
        u->anfordern(QStringLiteral("WPR\t00\t"));
        for (int i = 0; i < 3; ++i)
            u->engine->TimeOut2Timer();
        QCOMPARE(u->port.frames.size(), 3);
        QCOMPARE(u->fehler.size(), 3);
        for (const QString &f : u->fehler)
            QVERIFY(f.endsWith(wprZeile() + ":TIMEOUT"));
        QCOMPARE(u->errLogMit(QStringLiteral("0: Befehl 3* fehlgeschlagen Q_WochPrgRd")), 1);
        QCOMPARE(u->ergebnisse.size(), 1);
        QCOMPARE(u->ergebnisse[0].nummer, 0);
        QCOMPARE(u->ergebnisse[0].topic, QStringLiteral("QORWOCHPROG"));
        QCOMPARE(u->ergebnisse[0].text, QStringLiteral("SendNAK"));
        QCOMPARE(u->service()->QorMeldung(), QStringList{QStringLiteral("WochProgrammError")});
        QCOMPARE(P().AktuellerBefehl, u->objekt(Q_None));
        QCOMPARE(u->objekt(Q_WochPrgRd)->Versuche, quint8(0));
        QVERIFY(!P().Wartet);
        QVERIFY(u->engine->TimerHerz->isActive());
        // A late reply finds nothing waiting.
        u->port.liefern(Antwort(QStringLiteral("0600"), QStringLiteral("0123456789ABCDEF")));
        QVERIFY(daten.isEmpty());
    }

    void aufgebenThemen_data()
    {
        QTest::addColumn<QString>("anfrage");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("memo");
        QTest::newRow("GPR") << "GPR\t00\t1" << "QORGAERPROG" << "SendNAK" << "GaerProgrammError";
        QTest::newRow("GPW") << "GPW\t00\tx" << "QORGAERPROG" << "SendNAK" << "GaerProgrammError";
        QTest::newRow("GRSave") << "GRSave\t00\t" << "QORGAERLISTE" << "SendNAK" << "GaerRecordError";
        QTest::newRow("GRRest") << "GRRest\t00\tx" << "QORGAERLISTE" << "SendNAK" << "GaerRecordError";
        QTest::newRow("NVR") << "NVR\t00\t1" << "QORNIVORELL" << "SendNAK" << "NivorellError";
        QTest::newRow("NVW") << "NVW\t00\tx" << "QORNIVORELL" << "SendNAK" << "NivorellError";
        QTest::newRow("NVSave") << "NVSave\t00\t" << "QORNIVOLISTE" << "SendNAK" << "Nivorell-Record-Error";
        QTest::newRow("NVRest") << "NVRest\t00\tx" << "QORNIVOLISTE" << "SendNAK" << "Nivorell-Record-Error";
        QTest::newRow("WPW") << "WPW\t00\tx" << "QORWOCHPROG" << "SendNAK" << "WochProgrammError";
        QTest::newRow("DTW") << "DTW\t00\t1" << "QUORVELTIME" << "SendNAK" << "TimeError";
        QTest::newRow("STO") << "STO\t00\t2" << "QUORVELFEHLER" << "0\tQ_Stoer\t2:TIMEOUT" << "";
        QTest::newRow("FWR") << "FWR\t00\t" << "QUORVELFEHLER" << "0\tQ_FirmWare\t:TIMEOUT" << "";
    }
    void aufgebenThemen()
    {
        QFETCH(QString, anfrage);
        QFETCH(QString, topic);
        QFETCH(QString, text);
        QFETCH(QString, memo);
        u->anfordern(anfrage);
        for (int i = 0; i < 3; ++i)
            u->engine->TimeOut2Timer();
        QCOMPARE(u->ergebnisse.size(), 1);
        QCOMPARE(u->ergebnisse[0].topic, topic);
        QCOMPARE(u->ergebnisse[0].text, text);
        QCOMPARE(u->service()->QorMeldung(), memo.isEmpty() ? QStringList() : QStringList{memo});
        QVERIFY(!P().Wartet);
    }

    void statusZweimalFehlgeschlagen()
    {
        u->anfordern(QStringLiteral("PST\t00\t"));
        u->engine->TimeOut2Timer();
        QVERIFY(u->fehler.isEmpty());   // once: nothing
        QVERIFY(!P().Wartet);
        QCOMPARE(u->port.frames.size(), 1);   // not repeated
        u->anfordern(QStringLiteral("PST\t00\t"));
        u->port.liefern("kaputt!\r");
        QCOMPARE(u->fehler.size(), 1);
        QVERIFY(u->fehler[0].endsWith(QStringLiteral("__0\tQ_Status\t:Falsche Länge: 8")));
        QCOMPARE(u->lastError.size(), 1);
        QVERIFY(!P().Wartet);
        QCOMPARE(u->port.frames.size(), 2);
        u->anfordern(QStringLiteral("PST\t00\t"));
        u->engine->TimeOut2Timer();
        QCOMPARE(u->fehler.size(), 1);   // third failure: still one line
        QVERIFY(u->ergebnisse.isEmpty());
        QVERIFY(u->errLog().isEmpty());
        // A status reply resets the count.
        u->anfordern(QStringLiteral("PST\t00\t"));
        u->port.liefern(Antwort(QStringLiteral("1700"), QStringLiteral("0010") + QString(64, QLatin1Char('0'))));
        QCOMPARE(u->objekt(Q_Status)->Versuche, quint8(0));
    }

    void statusUndStoerungEndenVorDemDekoder_data()
    {
        QTest::addColumn<QString>("anfrage");
        QTest::newRow("PST") << "PST\t00\t";
        QTest::newRow("STO") << "STO\t00\t1";
    }
    void statusUndStoerungEndenVorDemDekoder()
    {
        QFETCH(QString, anfrage);
        bool warteteNoch = true;
        auto dek = [&](const QString &) {
            warteteNoch = P().Wartet;
            return true;
        };
        u->service()->Dekoder.StatusAntwort = dek;
        u->service()->Dekoder.StoerAntwort = dek;
        P().AktuellerBefehl = u->objekt(Q_Status);
        u->anfordern(anfrage);
        P().AktuellerBefehl->Versuche = 1;
        u->port.liefern(Antwort(QStringLiteral("1700"), QStringLiteral("0000")));
        QVERIFY(!warteteNoch);
        QCOMPARE(P().AktuellerBefehl->Versuche, quint8(0));
    }

    void abgelehnteStoerungWiederholt()
    {
        u->service()->Dekoder.StoerAntwort = [](const QString &) { return false; };
        u->anfordern(QStringLiteral("STO\t00\t4"));
        u->port.liefern(Antwort(QStringLiteral("3010"), QStringLiteral("0000")));
        QCOMPARE(u->fehler.size(), 1);
        QVERIFY(u->fehler[0].endsWith(QStringLiteral("0\tQ_Stoer\t4:")));
        QVERIFY(P().Wartet);
        QCOMPARE(u->port.frames.size(), 2);
        QCOMPARE(u->port.frames[1].mid(8, 4), QByteArray("3010"));
    }

    // A refused fault or firmware reply is a failed try like any other: after the third the
    // read is given up, and the status request queued meanwhile goes out next.
    void abgelehnteAntwortGibtAuf_data()
    {
        QTest::addColumn<QString>("anfrage");
        QTest::addColumn<QString>("register_");
        QTest::addColumn<QString>("fehlerText");
        QTest::newRow("fault read") << "STO\t00\t4" << "3010" << "0\tQ_Stoer\t4:";
        QTest::newRow("firmware read") << "FWR\t00\t" << "0B11" << "0\tQ_FirmWare\t:";
    }
    void abgelehnteAntwortGibtAuf()
    {
        QFETCH(QString, anfrage);
        QFETCH(QString, register_);
        QFETCH(QString, fehlerText);
        u->service()->Dekoder.StoerAntwort = [](const QString &) { return false; };
        u->service()->Dekoder.FirmwareAntwort = [](const QString &) { return 0; };
        u->anfordern(anfrage);
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("PST\t00\t"));
        for (int versuch = 1; versuch <= 3; ++versuch) {
            QCOMPARE(u->port.frames.size(), versuch);
            QCOMPARE(u->port.frames.last().mid(8, 4), register_.toLatin1());
            u->port.liefern(Antwort(register_, QStringLiteral("12345678")));
            QCOMPARE(u->fehler.size(), versuch);
            // The status request waits while the read is retried.
            u->engine->TimerHerzTimer();
            if (versuch < 3)
                QVERIFY(P().Wartet);
        }
        QCOMPARE(u->ergebnisse.size(), 1);
        QCOMPARE(u->ergebnisse[0].topic, QStringLiteral("QUORVELFEHLER"));
        QCOMPARE(u->ergebnisse[0].text, fehlerText);
        QCOMPARE(u->port.frames.size(), 4);
        QCOMPARE(u->port.frames.last().mid(8, 4), QByteArray("1700"));
        QVERIFY(u->makros().isEmpty());
    }

    void firmwareNullAbgelehnt()
    {
        u->service()->Dekoder.FirmwareAntwort = [](const QString &) { return 0; };
        u->anfordern(QStringLiteral("FWR\t00\t"));
        u->port.liefern(Antwort(QStringLiteral("0B11"), QStringLiteral("0000")));
        QCOMPARE(u->fehler.size(), 1);
        QCOMPARE(u->port.frames.size(), 2);
    }

    void uhrZuerstFirmwareDekoder()
    {
        int firmware = 0, zeit = 0;
        u->service()->Dekoder.FirmwareAntwort = [&](const QString &) { ++firmware; return 352; };
        u->service()->Dekoder.ZeitSendenAntwort = [&](const QString &) { ++zeit; return true; };
        u->anfordern(QStringLiteral("DTW\t00\t0"));
        u->port.liefern(Antwort(QStringLiteral("0B11"), QStringLiteral("5633")));
        QCOMPARE(firmware, 1);
        P().UhrNachFirmware = false;
        u->port.liefern(Antwort(QStringLiteral("0809"), QStringLiteral("1200")));
        QCOMPARE(zeit, 1);
    }

    void listenPosition_data()
    {
        QTest::addColumn<QString>("anfrage");
        QTest::addColumn<int>("block");
        QTest::addColumn<int>("position");
        QTest::newRow("GRSave 1") << "GRSave\t00\t" << 1 << 1;
        QTest::newRow("GRSave 10") << "GRSave\t00\t" << 10 << 2;
        QTest::newRow("GRSave 11") << "GRSave\t00\t" << 11 << 3;
        QTest::newRow("GRRest 14") << "GRRest\t00\tx" << 14 << 1;
        QTest::newRow("GRRest 15") << "GRRest\t00\tx" << 15 << 2;
        QTest::newRow("NVSave 9") << "NVSave\t00\t" << 9 << 2;
        QTest::newRow("NVRest 26") << "NVRest\t00\tx" << 26 << 2;
        QTest::newRow("GPR") << "GPR\t00\t3" << 3 << 0;
        QTest::newRow("NVW") << "NVW\t00\tx" << 30 << 0;
    }
    void listenPosition()
    {
        QFETCH(QString, anfrage);
        QFETCH(int, block);
        QFETCH(int, position);
        int erhalten = -1;
        auto dek = [&](qint32 pos, const QString &) {
            erhalten = pos;
            return true;
        };
        QuorvelDekoder &d = u->service()->Dekoder;
        d.GaerLesenAntwort = d.GaerSendenAntwort = d.NvLesenAntwort = d.NvSendenAntwort = dek;
        u->anfordern(anfrage);
        P().BlockNr = block;
        u->port.liefern(Antwort(QStringLiteral("0300"), QStringLiteral("0000")));
        QCOMPARE(erhalten, position);
    }

    void abbruch_data()
    {
        QTest::addColumn<QString>("anfrage");
        QTest::newRow("list read") << "NVSave\t00\t";
        QTest::newRow("status request") << "PST\t00\t";
        QTest::newRow("weekly read") << "WPR\t00\t";
    }
    void abbruch()
    {
        QFETCH(QString, anfrage);
        u->anfordern(anfrage);
        QuorvelBefehl *b = P().AktuellerBefehl;
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("RSCancel\t00\t"));
        QVERIFY(P().Abbruch);
        u->port.liefern("x\r");
        QVERIFY(!P().Abbruch);
        QVERIFY(!P().Wartet);
        QCOMPARE(u->fehler.size(), 1);
        QVERIFY(u->fehler[0].endsWith(QStringLiteral("__Benutzerabbruch!")));
        QVERIFY(u->ergebnisse.isEmpty());
        QVERIFY(u->errLog().isEmpty());
        QCOMPARE(u->port.frames.size(), 1);
        QCOMPARE(P().AktuellerBefehl, u->objekt(Q_None));
        QCOMPARE(b->Versuche, quint8(0));   // its next run has all its tries
        QVERIFY(u->engine->TimerHerz->isActive());
    }

    // An aborted command run again has all its tries: the failure the abort ended counts not.
    void abgebrochenerBefehlHatAlleVersuche()
    {
        u->anfordern(QStringLiteral("WPR\t00\t"));
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("RSCancel\t00\t"));
        u->engine->TimeOut2Timer();
        u->engine->TimerHerzTimer();   // takes the abort line
        QVERIFY(u->ergebnisse.isEmpty());
        u->anfordern(QStringLiteral("WPR\t00\t"));
        u->engine->TimeOut2Timer();
        u->engine->TimeOut2Timer();
        QVERIFY(u->ergebnisse.isEmpty());
        u->engine->TimeOut2Timer();
        QCOMPARE(u->ergebnisse.size(), 1);
        QCOMPARE(u->ergebnisse[0].text, QStringLiteral("SendNAK"));
    }

    void echo_data()
    {
        QTest::addColumn<bool>("mitEcho");
        QTest::addColumn<bool>("echoKommt");
        QTest::addColumn<bool>("angenommen");
        QTest::newRow("echo on, echoing line") << true << true << true;
        QTest::newRow("echo off, plain line") << false << false << true;
        QTest::newRow("echo on, no echo") << true << false << false;
        // The echo itself then passes as the reply.
        QTest::newRow("echo off, echoing line") << false << true << true;
    }
    void echo()
    {
        QFETCH(bool, mitEcho);
        QFETCH(bool, echoKommt);
        QFETCH(bool, angenommen);
        wochenLeserEinsetzen();
        u->engine->setMitEchoRS485(mitEcho);
        u->anfordern(QStringLiteral("WPR\t00\t"));
        const QByteArray antwort = Antwort(QStringLiteral("0600"), QStringLiteral("0123456789ABCDEF"));
        const QByteArray bytes = (echoKommt ? u->port.frames[0] : QByteArray()) + antwort;
        // In two pieces, split inside the echo.
        u->port.liefern(bytes.left(7));
        u->port.liefern(bytes.mid(7));
        QCOMPARE(daten.size(), angenommen ? 1 : 0);
        if (angenommen)
            QVERIFY(u->fehler.isEmpty());
        else
            QVERIFY(!u->fehler.isEmpty());
    }

    // A CR LF reply gives an extra line of one character that fails the next frame's try.
    void crLf()
    {
        u->service()->Dekoder.WoPrgLesenAntwort = [this](const QString &d) {
            daten << d;
            u->objekt(Q_WochPrgRd)->WochPrgBlockLesen(P().BlockNr + 1);
            return true;
        };
        u->anfordern(QStringLiteral("WPR\t00\t"));
        QByteArray a = Antwort(QStringLiteral("0600"), QStringLiteral("0123456789ABCDEF"));
        u->port.liefern(a + "\n");
        QCOMPARE(daten.size(), 1);
        QCOMPARE(u->fehler.size(), 1);
        QVERIFY(u->fehler[0].endsWith(wprZeile() + ":Falsche Länge: 1"));
        QCOMPARE(u->port.frames.size(), 3);   // block 2, then the retry from block 1
        QCOMPARE(u->port.frames[2], u->port.frames[0]);
    }

    void abgelehnteAntwortOhneFehlertext()
    {
        wochenLeserEinsetzen(false);
        u->anfordern(QStringLiteral("WPR\t00\t"));
        u->port.liefern(Antwort(QStringLiteral("0600"), QStringLiteral("0123456789ABCDEF")));
        QCOMPARE(u->fehler.size(), 1);
        QVERIFY(u->fehler[0].endsWith(QStringLiteral("__") + wprZeile() + ":"));
        QCOMPARE(u->empfangen.size(), 1);
    }

    void ohneDekoderAngenommen()
    {
        u->anfordern(QStringLiteral("NVR\t00\t2"));
        u->port.liefern(Antwort(QStringLiteral("1600"), QStringLiteral("0002")));
        QVERIFY(!P().Wartet);
        QVERIFY(u->fehler.isEmpty());
        QCOMPARE(u->empfangen.size(), 1);
    }

    void lesefehler()
    {
        u->anfordern(QStringLiteral("WPR\t00\t"));
        u->port.eingang = "abc";
        u->port.lesefehlerNach = 1;
        emit u->port.OnTriggerAvail(100000);
        QCOMPARE(u->fehler, QStringList{QStringLiteral("Quorvel: COMPort-Buffer is Empty?!")});
        QCOMPARE(u->errLogMit(QStringLiteral("Quorvel: COMPort-Buffer is Empty?!")), 1);
        QCOMPARE(u->engine->EmpfangsPuffer, QStringLiteral("a"));
    }

    void dekoderFehlerBeendetSchleife()
    {
        u->service()->Dekoder.WoPrgLesenAntwort = [](const QString &) -> bool {
            throw std::runtime_error("kaputt");
        };
        u->anfordern(QStringLiteral("WPR\t00\t"));
        u->port.liefern(Antwort(QStringLiteral("0600"), QStringLiteral("0123456789ABCDEF")) + "Rest");
        QCOMPARE(u->fehler, QStringList{QStringLiteral("Quorvel: COMPort-Trigger-Error!")});
        QCOMPARE(u->errLogMit(QStringLiteral("Quorvel: COMPort-Trigger-Error!")), 1);
        QCOMPARE(u->port.eingang, QByteArray("Rest"));   // the loop ended there
        // The try still ends by its frame time-out.
        QVERIFY(P().Wartet);
        QVERIFY(u->engine->TimeOut2->isActive());
    }

    void zeitueberschreitungBeimBeenden()
    {
        u->anfordern(QStringLiteral("WPR\t00\t"));
        P().Beenden = true;
        u->engine->TimeOut2Timer();
        QVERIFY(u->fehler.isEmpty());
        QCOMPARE(u->port.frames.size(), 1);
        QVERIFY(!u->engine->TimeOut2->isActive());
    }

    // With the real frame time-out: a silent controller gives up after three tries.
    void echteZeitueberschreitung()
    {
        u->engine->Starten();
        u->engine->Kommando(QStringLiteral("BEFEHL"), QStringLiteral("NVR\t00\t1"));
        QVERIFY(QTest::qWaitFor([&] { return !u->ergebnisse.isEmpty(); }, 15000));
        QCOMPARE(u->port.frames.size(), 3);
        QCOMPARE(u->ergebnisse[0].topic, QStringLiteral("QORNIVORELL"));
        QCOMPARE(u->fehlerMit(QStringLiteral(":TIMEOUT")), 3);
    }
};

QTEST_GUILESS_MAIN(TestAntwort)
#include "tst_antwort.moc"
