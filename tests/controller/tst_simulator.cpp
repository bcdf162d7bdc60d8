#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"
#include "platform/PortNamen.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <ctime>
#include <iterator>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

using Sim = QuorvelSimulator;

namespace {

// Everything the simulator sends, as one text and as the chunks it came in.
struct Leitung
{
    explicit Leitung(Sim &sim)
    {
        QObject::connect(&sim, &Sim::senden, &sim, [this](const QByteArray &b) {
            rx += b;
            stuecke.append(b);
        });
    }
    QByteArray rx;
    QList<QByteArray> stuecke;
};

// Test-side checksum, independent of the simulator's.
QByteArray mitSumme(const QByteArray &text)
{
    unsigned summe = 0;
    for (const char c : text)
        summe += static_cast<unsigned char>(c);
    return text + QByteArray::number(summe % 256, 16).toUpper().rightJustified(2, '0') + '\r';
}

QByteArray lesenFrame(int reg)
{
    return mitSumme("06005810" + QByteArray::number(reg, 16).toUpper().rightJustified(4, '0') + "0000");
}

QByteArray schreibFrame(int reg, const QByteArray &wort)
{
    return mitSumme("06005811" + QByteArray::number(reg, 16).toUpper().rightJustified(4, '0') + wort);
}

// Lets the event loop run long enough for a reply that is not coming.
void stille()
{
    QTest::qWait(50);
}

double prozessCpuMs()
{
    timespec ts {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

// Reads from the program side of the pty until a CR arrived, running the event loop meanwhile.
QByteArray ptyLesen(int fd, int ms = 3000)
{
    QByteArray daten;
    QElapsedTimer uhr;
    uhr.start();
    while (!daten.endsWith('\r') && uhr.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        pollfd p {fd, POLLIN, 0};
        if (::poll(&p, 1, 5) > 0 && (p.revents & POLLIN)) {
            char puffer[256];
            const ssize_t n = ::read(fd, puffer, sizeof puffer);
            if (n > 0)
                daten.append(puffer, qsizetype(n));
        }
    }
    return daten;
}

int ptyOeffnen(const QString &pfad)
{
    return ::open(QFile::encodeName(pfad).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
}

bool ptySchreiben(int fd, const QByteArray &bytes)
{
    return ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
}

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT
private slots:
    void antworten_data();
    void antworten();
    void adressfilter();
    void stoerungen_data();
    void stoerungen();
    void stoerungenNacheinander();
    void verzoegerung();
    void programmbereiche();
    void gaerProgrammAlteFirmware();
    void uhrBeiderFirmwarefamilien();
    void stoerungsspeicherUndStatus();
    void zeilenUndFrameLog();
    void echoModus();
    void zufallsEingabe();
    void pacingVerteiltBytes();
    void ptyRundreise();
    void ptyGeraetVerschwindetUndKommtWieder();
    void ptyMitQSerialPort();
};

void TestSimulator::antworten_data()
{
    QTest::addColumn<QByteArray>("anfrage");
    QTest::addColumn<QByteArray>("antwort");   // empty: no reply

    // Reads: block of four program registers, status, single registers.
    QTest::newRow("Wochenprogramm Block 1") << QByteArray("06005810060000001A\r") << QByteArray("06005810060000010001000201686D\r");
    QTest::newRow("Wochenprogramm Block 7") << QByteArray("060058100618000023\r") << QByteArray("060058100618000700010001021C82\r");
    QTest::newRow("Status 68 Zeichen")
        << QByteArray("06005810170000001C\r")
        << QByteArray("06005810170000100000000300040001020D021203070320000309122026143000000162000000507E\r");
    QTest::newRow("Firmware 1") << QByteArray("060058100B11000028\r") << QByteArray("060058100B11563339\r");
    QTest::newRow("Firmware 2") << QByteArray("060058100B12000029\r") << QByteArray("060058100B12353236\r");
    QTest::newRow("Stoerung 1") << QByteArray("060058103001000018\r") << QByteArray("060058103001000018\r");
    QTest::newRow("Gaerprogramm Block 1") << QByteArray("060058100300000017\r") << QByteArray("0600581003000001001E015E019AA4\r");
    QTest::newRow("Gaerprogramm Block 4 mit Fuellworten") << QByteArray("06005810030C00002A\r") << QByteArray("06005810030C02EE001E00000000AC\r");
    QTest::newRow("Nivorell Block 7 mit Fuellworten") << QByteArray("060058101618000024\r") << QByteArray("060058101618030200000000000069\r");
    // Writes answer with the word written.
    QTest::newRow("Nivorell Programmnummer") << QByteArray("06005811160000031F\r") << QByteArray("06005811160000031F\r");
    QTest::newRow("Uhr 352") << QByteArray("06005811080910152D\r") << QByteArray("06005811080910152D\r");
    QTest::newRow("Wochenprogramm schreiben") << QByteArray("06005811060500FF4C\r") << QByteArray("06005811060500FF4C\r");
    // The controller's error codes.
    QTest::newRow("83 falsche Pruefsumme") << QByteArray("06005810060000001B\r") << QByteArray("060058830600000024\r");
    QTest::newRow("83 Pruefsumme klein") << QByteArray("06005810060000001a\r") << QByteArray("060058830600000024\r");
    QTest::newRow("82 Typ") << QByteArray("06005910060000001B\r") << QByteArray("060058820600000023\r");
    QTest::newRow("88 Funktion") << QByteArray("06005812060000001C\r") << QByteArray("060058880600000029\r");
    QTest::newRow("84 Register") << QByteArray("060058100G0000002B\r") << QByteArray("06005884000000001F\r");
    QTest::newRow("84 Programmnummer 11") << QByteArray("060058110300000B2A\r") << QByteArray("060058840300000022\r");
    QTest::newRow("84 Uhr nicht dezimal") << QByteArray("0600581108091A0038\r") << QByteArray("060058840809000030\r");
    QTest::newRow("85 Status schreiben") << QByteArray("06005811170000001D\r") << QByteArray("060058851700000028\r");
    QTest::newRow("86 zu kurz") << QByteArray("060058100600000EA\r") << QByteArray("060058860600000027\r");
    QTest::newRow("86 zu lang") << QByteArray("060058100600000004A\r") << QByteArray("060058860600000027\r");
    // Silence.
    QTest::newRow("unbekanntes Register") << QByteArray("06005810123400001E\r") << QByteArray();
    QTest::newRow("andere Adresse") << QByteArray("06015810060000001B\r") << QByteArray();
    QTest::newRow("Uhr alte Familie bei V352") << QByteArray("060058110B0110152F\r") << QByteArray();
    QTest::newRow("leere Zeile") << QByteArray("\r") << QByteArray();
}

void TestSimulator::antworten()
{
    QFETCH(QByteArray, anfrage);
    QFETCH(QByteArray, antwort);
    Sim sim;
    Leitung l(sim);
    sim.empfangen(anfrage);
    QVERIFY(l.rx.isEmpty());   // never inside empfangen()
    if (antwort.isEmpty()) {
        stille();
        QCOMPARE(l.rx, QByteArray());
    } else {
        QTRY_COMPARE(l.rx, antwort);
        QCOMPARE(l.stuecke.size(), 1);
    }
    QCOMPARE(sim.empfangeneFrames(), QList<QByteArray>{anfrage});
}

void TestSimulator::adressfilter()
{
    Sim sim(QStringLiteral("0A12"));
    Leitung l(sim);
    sim.stoerungEinplanen(Sim::FalschePruefsumme);
    sim.empfangen("06005810060000001A\r");
    stille();
    QCOMPARE(l.rx, QByteArray());
    QCOMPARE(sim.geplanteStoerungen(), 1);   // a frame for another address uses no fault
    sim.stoerungenVerwerfen();
    sim.empfangen("0A1258100600000028\r");
    QTRY_COMPARE(l.rx, QByteArray("0A125810060000010001000201687B\r"));

    l.rx.clear();
    sim.setAdresse(QStringLiteral("0600"));
    sim.empfangen("0A1258100600000028\r");
    sim.empfangen("06005810060000001A\r");
    QTRY_COMPARE(l.rx, QByteArray("06005810060000010001000201686D\r"));
}

void TestSimulator::stoerungen_data()
{
    QTest::addColumn<int>("art");
    QTest::addColumn<QByteArray>("param");
    QTest::addColumn<QByteArray>("antwort");

    const QByteArray anfrage("06005810060000001A\r");
    QTest::newRow("keine Antwort") << int(Sim::KeineAntwort) << QByteArray() << QByteArray();
    QTest::newRow("falsche Pruefsumme") << int(Sim::FalschePruefsumme) << QByteArray()
                                        << QByteArray("06005810060000010001000201686E\r");
    QTest::newRow("falsche Laenge") << int(Sim::FalscheLaenge) << QByteArray()
                                    << QByteArray("06005810060000010001000201635\r");
    QTest::newRow("CR LF") << int(Sim::CrLf) << QByteArray() << QByteArray("06005810060000010001000201686D\r\n");
    QTest::newRow("Echo vor Antwort") << int(Sim::EchoVorAntwort) << QByteArray()
                                      << anfrage + "06005810060000010001000201686D\r";
    const char *mitCode[8] = {"060058810600000100010002016875\r", "060058820600000100010002016876\r",
                              "060058830600000100010002016877\r", "060058840600000100010002016878\r",
                              "060058850600000100010002016879\r", "06005886060000010001000201687A\r",
                              "06005887060000010001000201687B\r", "06005888060000010001000201687C\r"};
    for (int i = 0; i < 8; ++i) {
        const QByteArray code = QByteArray::number(81 + i);
        QTest::newRow(("Status " + code).constData()) << int(Sim::StatusCode) << code << QByteArray(mitCode[i]);
    }
}

void TestSimulator::stoerungen()
{
    QFETCH(int, art);
    QFETCH(QByteArray, param);
    QFETCH(QByteArray, antwort);
    Sim sim;
    Leitung l(sim);
    QSignalSpy gebildet(&sim, &Sim::antwortGebildet);
    sim.stoerungEinplanen(Sim::Stoerung(art), 1, param);
    sim.empfangen("06005810060000001A\r");
    if (antwort.isEmpty()) {
        stille();
        QCOMPARE(gebildet.size(), 0);
    }
    QTRY_COMPARE(l.rx, antwort);
    QCOMPARE(sim.geplanteStoerungen(), 0);

    // Only the next reply was disturbed.
    l.rx.clear();
    sim.empfangen("06005810060000001A\r");
    QTRY_COMPARE(l.rx, QByteArray("06005810060000010001000201686D\r"));
}

void TestSimulator::stoerungenNacheinander()
{
    Sim sim;
    Leitung l(sim);
    sim.stoerungEinplanen(Sim::KeineAntwort, 2);
    sim.stoerungEinplanen(Sim::FalschePruefsumme);
    QCOMPARE(sim.geplanteStoerungen(), 3);
    for (int i = 0; i < 4; ++i)
        sim.empfangen("06005810060000001A\r");
    QTRY_COMPARE(l.rx, QByteArray("06005810060000010001000201686E\r06005810060000010001000201686D\r"));
    QCOMPARE(sim.empfangeneFrames().size(), 4);

    // A lost reply does not undo the write.
    l.rx.clear();
    sim.stoerungEinplanen(Sim::KeineAntwort);
    sim.empfangen(schreibFrame(0x0300, "0004"));
    stille();
    QCOMPARE(l.rx, QByteArray());
    QCOMPARE(sim.gaerProgrammNummer(), 4);
}

void TestSimulator::verzoegerung()
{
    Sim sim;
    Leitung l(sim);
    sim.stoerungEinplanen(Sim::Verzoegerung, 1, "300");
    QElapsedTimer uhr;
    uhr.start();
    sim.empfangen("06005810060000001A\r");
    QTRY_COMPARE_WITH_TIMEOUT(l.rx, QByteArray("06005810060000010001000201686D\r"), 10000);
    QVERIFY2(uhr.elapsed() >= 290, QByteArray::number(uhr.elapsed()).constData());
}

void TestSimulator::programmbereiche()
{
    Sim sim;
    Leitung l(sim);
    const QByteArray prog1 = sim.gaerProgramm(1);
    QCOMPARE(prog1, QByteArray("0001001E015E019A026201A903200078020D0339000A01F402EE001E"));

    // A proofing write as the program sends it: 14 fields, the first selects the area.
    const QByteArray neu("0007003C014A0190FFFF01A9032000780212033900140203FFFF000F");
    for (int i = 0; i < 14; ++i)
        sim.empfangen(schreibFrame(0x0300 + i, neu.mid(4 * i, 4)));
    QTRY_COMPARE(l.rx.count('\r'), 14);
    QCOMPARE(sim.gaerProgrammNummer(), 7);
    QCOMPARE(sim.gaerProgramm(7), neu);
    QCOMPARE(sim.gaerProgramm(1), prog1);

    // Read back: program-number write, then four blocks.
    l.rx.clear();
    sim.empfangen(schreibFrame(0x0300, "0007"));
    for (int b = 0; b < 4; ++b)
        sim.empfangen(lesenFrame(0x0300 + 4 * b));
    QTRY_COMPARE(l.rx.count('\r'), 5);
    const QList<QByteArray> zeilen = l.rx.split('\r');
    QByteArray gelesen;
    for (int i = 1; i <= 4; ++i) {
        QCOMPARE(zeilen[i].size(), 30);
        gelesen += zeilen[i].mid(12, 16);
    }
    QCOMPARE(gelesen.left(56), neu);

    // A refused program number keeps the area.
    l.rx.clear();
    sim.empfangen(schreibFrame(0x0300, "0000"));
    sim.empfangen(schreibFrame(0x0300, "FFFF"));
    sim.empfangen(schreibFrame(0x0305, "abcd"));
    QTRY_COMPARE(l.rx.count('\r'), 3);
    QCOMPARE(l.rx.mid(6, 2), QByteArray("84"));
    QCOMPARE(sim.gaerProgrammNummer(), 7);
    QCOMPARE(sim.gaerProgramm(7), neu);
    // Beyond the 14 proofing fields there is nothing to write.
    l.rx.clear();
    sim.empfangen(schreibFrame(0x030E, "0001"));
    stille();
    QCOMPARE(l.rx, QByteArray());

    // Nivorell: the area follows its own program-number register.
    const QByteArray nv10 = sim.nivorellProgramm(10);
    sim.empfangen(schreibFrame(0x1600, "0002"));
    sim.empfangen(schreibFrame(0x1618, "0123"));
    QTRY_COMPARE(l.rx.count('\r'), 2);
    QCOMPARE(sim.nivorellProgrammNummer(), 2);
    QCOMPARE(sim.nivorellProgramm(2).right(4), QByteArray("0123"));
    QCOMPARE(sim.nivorellProgramm(10), nv10);
    QCOMPARE(sim.gaerProgrammNummer(), 7);

    // Weekly program: one register per write.
    sim.empfangen(schreibFrame(0x061B, "05A0"));
    QTRY_COMPARE(l.rx.count('\r'), 3);
    QCOMPARE(sim.wochenprogramm().size(), 112);
    QCOMPARE(sim.wochenprogramm().right(4), QByteArray("05A0"));

    // Setters store the raw words.
    sim.setNivorellProgramm(3, QByteArray(100, 'F'));
    QCOMPARE(sim.nivorellProgramm(3), QByteArray(100, 'F'));
    sim.setGaerProgramm(11, "0001");
    QCOMPARE(sim.gaerProgramm(11), QByteArray());
}

// The older firmware (V351) keeps proofing programs of 13 fields (52 characters, no "AB"
// duration) of its own: register $030D is not there, a read returns the 52 characters.
void TestSimulator::gaerProgrammAlteFirmware()
{
    Sim sim;
    Leitung l(sim);
    const QByteArray neu352 = sim.gaerProgramm(1);
    sim.setAlteFirmware(true);
    const QByteArray prog1 = sim.gaerProgramm(1);
    // The standard program without its duration field (field 11).
    QCOMPARE(prog1, QByteArray("0001001E015E019A026201A903200078020D033901F402EE001E"));

    const QByteArray neu("0007003C014A0190FFFF01A9032000780212033902030226000F");
    for (int i = 0; i < 13; ++i)
        sim.empfangen(schreibFrame(0x0300 + i, neu.mid(4 * i, 4)));
    QTRY_COMPARE(l.rx.count('\r'), 13);
    QCOMPARE(sim.gaerProgramm(7), neu);
    // A fourteenth field does not exist.
    l.rx.clear();
    sim.empfangen(schreibFrame(0x030D, "0001"));
    stille();
    QCOMPARE(l.rx, QByteArray());
    QCOMPARE(sim.gaerProgramm(7), neu);

    // Read back: the last block holds the 13th field, then filler words.
    sim.empfangen(schreibFrame(0x0300, "0007"));
    sim.empfangen(lesenFrame(0x030C));
    QTRY_COMPARE(l.rx.count('\r'), 2);
    QCOMPARE(l.rx.split('\r')[1].mid(12, 16), QByteArray("000F000000000000"));

    // The newer family's programs are untouched.
    sim.setAlteFirmware(false);
    QCOMPARE(sim.gaerProgramm(1), neu352);
    QCOMPARE(sim.gaerProgramm(7).size(), 56);
}

void TestSimulator::uhrBeiderFirmwarefamilien()
{
    Sim sim;
    Leitung l(sim);
    QVERIFY(!sim.alteFirmware());
    sim.empfangen(schreibFrame(0x0809, "1015"));
    sim.empfangen(schreibFrame(0x080A, "1012"));
    sim.empfangen(schreibFrame(0x080B, "2026"));
    sim.empfangen(schreibFrame(0x080C, "0001"));
    QTRY_COMPARE(l.rx.count('\r'), 4);
    QCOMPARE(sim.uhrRegister(0x0809), QByteArray("1015"));
    QCOMPARE(sim.uhrRegister(0x080A), QByteArray("1012"));
    QCOMPARE(sim.uhrRegister(0x080B), QByteArray("2026"));
    QCOMPARE(sim.uhrRegister(0x080C), QByteArray("0001"));
    QCOMPARE(sim.uhrRegister(0x0B13), QByteArray());
    // The status shows the new clock: Thursday 10.12.2026 10:15, summer time.
    QCOMPARE(sim.status().mid(32, 20), QByteArray("00041012202610150001"));

    // Older firmware: the other registers, and only those.
    l.rx.clear();
    sim.setAlteFirmware(true);
    QVERIFY(sim.alteFirmware());
    sim.empfangen(lesenFrame(0x0B12));
    QTRY_COMPARE(l.rx, mitSumme("060058100B123531"));
    l.rx.clear();
    sim.empfangen(schreibFrame(0x080C, "0000"));
    stille();
    QCOMPARE(l.rx, QByteArray());
    sim.empfangen(schreibFrame(0x0B01, "0705"));
    sim.empfangen(schreibFrame(0x0B02, "0101"));
    sim.empfangen(schreibFrame(0x0B03, "2027"));
    sim.empfangen(schreibFrame(0x0B13, "0000"));
    QTRY_COMPARE(l.rx.count('\r'), 4);
    QCOMPARE(sim.uhrRegister(0x0B01), QByteArray("0705"));
    QCOMPARE(sim.uhrRegister(0x0B02), QByteArray("0101"));
    QCOMPARE(sim.uhrRegister(0x0B03), QByteArray("2027"));
    QCOMPARE(sim.uhrRegister(0x0B13), QByteArray("0000"));
    QCOMPARE(sim.uhrRegister(0x080C), QByteArray("0001"));   // untouched
    QCOMPARE(sim.status().mid(32, 20), QByteArray("00050101202707050000"));

    // Firmware registers set by hand decide the family by their number.
    sim.setFirmwareRegister(1, "5634");
    sim.setFirmwareRegister(2, "3030");   // "V400"
    QVERIFY(!sim.alteFirmware());
}

void TestSimulator::stoerungsspeicherUndStatus()
{
    Sim sim;
    Leitung l(sim);
    QCOMPARE(sim.status(), Sim::standardStatus());
    QCOMPARE(sim.status().size(), 64);
    sim.setStoercode(1, 22);
    sim.setStoercode(3, 99);
    sim.setStoercode(9, 5);   // no such slot
    QCOMPARE(sim.stoerAnzahl(), 2);
    QCOMPARE(sim.status().left(4), QByteArray("0002"));
    for (int i = 1; i <= 8; ++i)
        sim.empfangen(lesenFrame(0x3001 + 5 * (i - 1)));
    QTRY_COMPARE(l.rx.count('\r'), 8);
    const QList<QByteArray> zeilen = l.rx.split('\r');
    QCOMPARE(zeilen[0] + '\r', mitSumme("0600581030010016"));
    QCOMPARE(zeilen[2].mid(12, 4), QByteArray("0063"));
    QCOMPARE(zeilen[7].mid(8, 8), QByteArray("30240000"));
    // Registers between the fault codes are not the fault list.
    l.rx.clear();
    sim.empfangen(lesenFrame(0x3002));
    stille();
    QCOMPARE(l.rx, QByteArray());

    sim.setStoerAnzahl(10);
    QCOMPARE(sim.status().left(4), QByteArray("000A"));
    sim.setStoerAnzahl(-1);
    sim.setStoercode(1, 0);
    QCOMPARE(sim.status().left(4), QByteArray("0001"));

    // A record set whole is sent as given, even a broken one.
    QByteArray satz = Sim::standardStatus();
    satz.replace(52, 4, "00G0");
    satz.replace(0, 4, "0003");
    sim.setStatus(satz);
    QCOMPARE(sim.stoerAnzahl(), 3);
    sim.empfangen(lesenFrame(0x1700));
    QTRY_COMPARE(l.rx, mitSumme("0600581017000010" + satz));
    sim.setStatus(satz.left(60));
    l.rx.clear();
    sim.empfangen(lesenFrame(0x1700));
    QTRY_COMPARE(l.rx.size(), 79);
}

void TestSimulator::zeilenUndFrameLog()
{
    Sim sim;
    Leitung l(sim);
    // Byte by byte, then two frames in one chunk, with junk lines between.
    const QByteArray frame("06005810060000001A\r");
    for (const char c : frame)
        sim.empfangen(QByteArray(1, c));
    const QByteArray junk("\n\x00\xFF!\r", 5);
    sim.empfangen(junk + frame + "060058100618000023\r");
    QTRY_COMPARE(l.rx, QByteArray("06005810060000010001000201686D\r06005810060000010001000201686D\r"
                                  "060058100618000700010001021C82\r"));
    const QList<QByteArray> log = sim.empfangeneFrames();
    QCOMPARE(log, (QList<QByteArray>{frame, junk, frame, "060058100618000023\r"}));

    // A line far beyond the longest frame is dropped whole; the next frame is answered.
    l.rx.clear();
    sim.frameLogLoeschen();
    sim.empfangen(QByteArray(100000, '0'));
    sim.empfangen(QByteArray(100, 'x') + "\r" + frame);
    QTRY_COMPARE(l.rx, QByteArray("06005810060000010001000201686D\r"));
    QCOMPARE(sim.empfangeneFrames(), QList<QByteArray>{frame});
}

void TestSimulator::echoModus()
{
    Sim sim;
    sim.setEcho(true);
    Leitung l(sim);
    const QByteArray frame("06005810060000001A\r");
    sim.empfangen(frame.left(7));
    sim.empfangen(frame.mid(7));
    QTRY_COMPARE(l.rx, frame + "06005810060000010001000201686D\r");
    // The line echoes what it carries, whoever it is for.
    l.rx.clear();
    sim.empfangen("06015810060000001B\r");
    QTRY_COMPARE(l.rx, QByteArray("06015810060000001B\r"));
    stille();
    QCOMPARE(l.rx, QByteArray("06015810060000001B\r"));
}

void TestSimulator::zufallsEingabe()
{
    // Seeded noise, CRs and stray frame fragments: the memory stays sane, a real frame is answered.
    Sim sim;
    Leitung l(sim);
    QRandomGenerator zufall(4711);
    const QByteArray stuecke[] = {"0600", "58", "11", "0300", "1600", "0809", "\r", "FFFF", "0000", "1A"};
    for (int runde = 0; runde < 2000; ++runde) {
        QByteArray bytes;
        const int n = int(zufall.bounded(1, 64));
        for (int i = 0; i < n; ++i) {
            if (zufall.bounded(3) == 0)
                bytes += stuecke[zufall.bounded(int(std::size(stuecke)))];
            else
                bytes += char(zufall.bounded(256));
        }
        sim.empfangen(bytes);
    }
    QTest::qWait(20);
    QVERIFY(sim.gaerProgrammNummer() >= 1 && sim.gaerProgrammNummer() <= 10);
    QVERIFY(sim.nivorellProgrammNummer() >= 1 && sim.nivorellProgrammNummer() <= 10);
    for (int i = 1; i <= 10; ++i) {
        QCOMPARE(sim.gaerProgramm(i).size(), 56);
        QCOMPARE(sim.nivorellProgramm(i).size(), 100);
    }
    QCOMPARE(sim.wochenprogramm().size(), 112);
    QCOMPARE(sim.status().size(), 64);
    for (const QByteArray &f : sim.empfangeneFrames())
        QVERIFY(f.endsWith('\r') && f.size() <= Sim::MaxZeile + 1);

    l.rx.clear();
    sim.empfangen("\r06005810060000001A\r");
    QTRY_VERIFY(l.rx.endsWith("06005810060000010001000201686D\r"));

    // Unasked bytes go out as they are, behind the reply.
    l.rx.clear();
    sim.empfangen("06005810060000001A\r");
    sim.rohSenden(QByteArray("\0\0!xyz", 6));
    QTRY_COMPARE(l.rx, QByteArray("06005810060000010001000201686D\r\0\0!xyz", 37));
}

void TestSimulator::pacingVerteiltBytes()
{
    Sim sim;
    sim.setPacing(true);
    Leitung l(sim);
    QElapsedTimer uhr;
    uhr.start();
    for (int i = 0; i < 5; ++i)
        sim.empfangen("06005810170000001C\r");
    const QByteArray eine("06005810170000100000000300040001020D021203070320000309122026143000000162000000507E\r");
    QTRY_COMPARE_WITH_TIMEOUT(l.rx.size(), 5 * eine.size(), 20000);
    // 415 bytes at 9600 baud take at least 432 ms.
    QVERIFY2(uhr.elapsed() >= 400, QByteArray::number(uhr.elapsed()).constData());
    QCOMPARE(l.rx, eine.repeated(5));
    QVERIFY2(l.stuecke.size() >= 2, QByteArray::number(l.stuecke.size()).constData());
    QVERIFY(!sim.sendetNoch());
}

void TestSimulator::ptyRundreise()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Sim sim;
    PtySimulator pty(&sim);
    QVERIFY2(pty.starten(dir.path(), 5), qPrintable(pty.fehler()));
    const QString link = dir.filePath(QStringLiteral("ports/COM5"));
    QCOMPARE(pty.linkPfad(), link);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(QFileInfo(link).symLinkTarget(), pty.slavePfad());
    QCOMPARE(ComGeraet(5, dir.path()), link);
    QVERIFY(ComVorhanden(5, dir.path()));

    int fd = ptyOeffnen(link);
    QVERIFY(fd >= 0);
    QVERIFY(ptySchreiben(fd, "06005810060000001A\r"));
    QCOMPARE(ptyLesen(fd), QByteArray("06005810060000010001000201686D\r"));
    QCOMPARE(sim.empfangeneFrames(), QList<QByteArray>{"06005810060000001A\r"});

    // The program closes its port and opens it again: the master keeps working and idles.
    ::close(fd);
    const double cpuVorher = prozessCpuMs();
    QTest::qWait(500);
    const double cpu = prozessCpuMs() - cpuVorher;
    QVERIFY2(cpu < 250, QByteArray::number(cpu).constData());
    fd = ptyOeffnen(link);
    QVERIFY(fd >= 0);
    QVERIFY(ptySchreiben(fd, "06005810170000001C\r"));
    QCOMPARE(ptyLesen(fd).size(), 83);
    ::close(fd);
}

void TestSimulator::ptyGeraetVerschwindetUndKommtWieder()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Sim sim;
    PtySimulator pty(&sim);
    QVERIFY2(pty.starten(dir.path(), 97), qPrintable(pty.fehler()));
    const QString link = dir.filePath(QStringLiteral("ports/COM97"));
    const QString ersterSlave = pty.slavePfad();
    int fd = ptyOeffnen(link);
    QVERIFY(fd >= 0);

    pty.schliessen();
    QVERIFY(!pty.laeuft());
    pollfd p {fd, POLLIN, 0};
    QVERIFY(::poll(&p, 1, 1000) > 0);
    QVERIFY(p.revents & (POLLHUP | POLLERR));
    char c;
    QVERIFY(::read(fd, &c, 1) <= 0);
    ::close(fd);
    // The link stays but leads nowhere, also when the old pts number comes back for another pty.
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(!QFileInfo(link).exists());
    QCOMPARE(ComGeraet(97, dir.path()), link);
    QVERIFY(!ComVorhanden(97, dir.path()));
    QVERIFY(ptyOeffnen(link) < 0);
    sim.empfangen("06005810060000001A\r");   // replies into a closed pty go nowhere
    QTest::qWait(20);

    QVERIFY2(pty.neuStarten(), qPrintable(pty.fehler()));
    QCOMPARE(QFileInfo(link).symLinkTarget(), pty.slavePfad());
    QVERIFY(ComVorhanden(97, dir.path()));
    Q_UNUSED(ersterSlave);
    fd = ptyOeffnen(link);
    QVERIFY(fd >= 0);
    QVERIFY(ptySchreiben(fd, "06005810060000001A\r"));
    QCOMPARE(ptyLesen(fd), QByteArray("06005810060000010001000201686D\r"));
    ::close(fd);

    // The link goes with the simulator.
    {
        PtySimulator zweiter(&sim);
        QVERIFY(zweiter.starten(dir.path(), 6));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("ports/COM6"))).isSymLink());
    }
    QVERIFY(!QFileInfo(dir.filePath(QStringLiteral("ports/COM6"))).isSymLink());
    QVERIFY(!pty.starten(dir.path(), 129));
}

void TestSimulator::ptyMitQSerialPort()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    Sim sim;
    sim.setPacing(true);
    PtySimulator pty(&sim);
    QVERIFY2(pty.starten(dir.path(), 7), qPrintable(pty.fehler()));

    QSerialPort port;
    port.setPortName(ComGeraet(7, dir.path()));
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    port.setBaudRate(9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);

    port.write("06005810170000001C\r");
    QByteArray rx;
    QTRY_VERIFY_WITH_TIMEOUT((rx += port.readAll()).endsWith('\r'), 10000);
    QCOMPARE(rx.size(), 83);

    // The device vanishes under the open port. QSerialPort reports it as a read error again
    // and again while the port stays open; closing it (outside its own signal) ends that.
    int fehlerZahl = 0;
    bool schliessenGeplant = false;
    const auto verbindung = connect(&port, &QSerialPort::errorOccurred, this, [&](QSerialPort::SerialPortError e) {
        if (e != QSerialPort::ReadError && e != QSerialPort::ResourceError)
            return;
        ++fehlerZahl;
        if (!schliessenGeplant) {
            schliessenGeplant = true;
            QTimer::singleShot(0, &port, [&port] { port.close(); });
        }
    });
    pty.schliessen();
    QTRY_VERIFY_WITH_TIMEOUT(!port.isOpen(), 5000);
    const int fehlerBeimSchliessen = fehlerZahl;
    QVERIFY(fehlerBeimSchliessen >= 1);
    QTest::qWait(200);
    QCOMPARE(fehlerZahl, fehlerBeimSchliessen);
    disconnect(verbindung);
    QVERIFY(!port.open(QIODevice::ReadWrite));

    QVERIFY(pty.neuStarten());
    QVERIFY2(port.open(QIODevice::ReadWrite), qPrintable(port.errorString()));
    rx.clear();
    port.write("06005810060000001A\r");
    QTRY_VERIFY_WITH_TIMEOUT((rx += port.readAll()).endsWith('\r'), 10000);
    QCOMPARE(rx, QByteArray("06005810060000010001000201686D\r"));
}

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
