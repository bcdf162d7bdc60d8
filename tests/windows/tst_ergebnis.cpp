// The result router: which window gets a result, what it unlocks, which box it shows and in
// which order, and how progress reaches the three receivers.

#include "testtexte.h"
#include "hauptfenster_umgebung.h"

#include "controller/uQuorvelEngine.h"
#include "controller/uQuorvelKonstanten.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "support/uKonstanten.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"
#include "windows/uMiniQuorvel.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <limits>
#include <memory>

namespace {

QString Felder(int anzahl, int start)
{
    QString s;
    for (int i = 0; i < anzahl; ++i)
        s += Hex4(start + i);
    return s;
}

// A weekly program inside the cell rules, so that the grid shows it unchanged.
QString Woche()
{
    QString s;
    for (int d = 0; d < 7; ++d)
        s += Hex4(d + 1) + Hex4(d % 8 + 1) + Hex4(d % 7 + 1) + Hex4(d * 97 + 1);
    return s;
}

// One box as it was when it appeared, with the state of the receivers at that moment.
struct Box
{
    QString caption;
    QStringList zeilen;
    bool rot = false;
    QString zustand;
};

// Records every message box when it is shown.
class BoxSchreiber : public QObject
{
public:
    std::function<QString()> zustand;
    QList<Box> boxen;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            if (auto *b = qobject_cast<TwShowbox *>(o)) {
                Box box;
                box.caption = b->windowTitle();
                box.zeilen = QStringList{b->Label1->text(), b->Label2->text(), b->Label3->text(), b->Label4->text()};
                box.rot = b->Label1->palette().color(QPalette::WindowText) == QColor(Qt::red);
                box.zustand = zustand ? zustand() : QString();
                boxen << box;
            }
        return false;
    }
};

} // namespace

class TestErgebnis : public QObject
{
    Q_OBJECT

    std::unique_ptr<Hauptfensterumgebung> u;
    TwMiniQuorvel *fenster = nullptr;
    std::unique_ptr<TwQuorvelNivorell> nivo;
    std::unique_ptr<TwQuorvelGaerProg> gaer;
    std::unique_ptr<BoxSchreiber> schreiber;

    // "h", "g", "n": main window, proofing editor, Nivorell editor unlocked; "w": watchdog runs.
    QString zustand() const
    {
        QString z;
        if (fenster->WochenProgramme->isEnabled())
            z += QLatin1Char('h');
        if (gaer && !gaer->Gesperrt())
            z += QLatin1Char('g');
        if (nivo && !nivo->Gesperrt())
            z += QLatin1Char('n');
        if (fenster->CheckTimer->isActive())
            z += QLatin1Char('w');
        return z;
    }
    // Everything locked, the watchdog running with a marker interval, the date field red.
    void allesSperren()
    {
        fenster->BedienungFreigeben(false);
        gaer->Sperren();
        nivo->Sperren();
        fenster->CheckTimer->start(12345);
        TwMiniQuorvel::FeldRot(fenster->DateEdit_E, true);
    }
    bool datumRot() const { return fenster->DateEdit_E->palette().color(QPalette::Base) == QColor(Qt::red); }

private slots:
    void init()
    {
        u = std::make_unique<Hauptfensterumgebung>();
        QVERIFY(u->dir.isValid());
        fenster = u->erzeugen();
        fenster->Engine()->TimerHerz->stop();
        fenster->Engine()->StatusTimer->stop();
        nivo = std::make_unique<TwQuorvelNivorell>(fenster->KommandoEintrag());
        gaer = std::make_unique<TwQuorvelGaerProg>(fenster->KommandoEintrag());
        schreiber = std::make_unique<BoxSchreiber>();
        schreiber->zustand = [this] { return zustand(); };
        qApp->installEventFilter(schreiber.get());
    }
    void cleanup()
    {
        qApp->removeEventFilter(schreiber.get());
        schreiber.reset();
        gaer.reset();
        nivo.reset();
        u->fenster.reset();
        fenster = nullptr;
        ShowboxenFreigeben();
        u.reset();
    }

    // Outcome texts: the box of each topic, who is unlocked, and whether before or after the box.
    void ausgang_data()
    {
        QTest::addColumn<int>("nummer");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("zeilen");
        QTest::addColumn<bool>("rot");
        QTest::addColumn<QString>("beiBox");   // state while the box appears
        QTest::addColumn<QString>("danach");   // state afterwards
        const QString f = QStringLiteral("fehlgeschlagen!!");
        const QString e = QStringLiteral("erfolgreich übertragen!");
        QTest::newRow("clock failed") << 0 << "QUORVELTIME" << "SendNAK" << "FEHLER"
                                      << QStringList{"Übertragung der Uhrzeit", f, "", ""} << true << "" << "hw";
        QTest::newRow("clock set") << 0 << "QUORVELTIME" << "SendACK" << "Uhrzeit stellen"
                                   << QStringList{"Uhr wurde gestellt.!", "", "", ""} << false << "" << "hw";
        QTest::newRow("proofing program failed")
            << 0 << "QORGAERPROG" << "SendNAK" << "FEHLER" << QStringList{"Übertragung der Gaerprogramme", f, "", ""}
            << true << "gw" << "gw";
        QTest::newRow("proofing program sent") << 0 << "QORGAERPROG" << "SendACK" << "Meldung"
                                               << QStringList{"Gaerprogramm", e, "", ""} << false << "gw" << "gw";
        QTest::newRow("proofing list failed")
            << 0 << "QORGAERLISTE" << "SendNAK" << "FEHLER" << QStringList{"Übertragung der Gärprogramme", f, "", ""}
            << true << "gw" << "gw";
        QTest::newRow("proofing list sent") << 0 << "QORGAERLISTE" << "SendACK" << "Meldung"
                                            << QStringList{"Gärprogramm", e, "", ""} << false << "gw" << "gw";
        QTest::newRow("Nivorell program failed")
            << 0 << "QORNIVORELL" << "SendNAK" << "FEHLER"
            << QStringList{"Übertragung der Nivorellprogramme", f, "", ""} << true << "nw" << "nw";
        QTest::newRow("Nivorell program sent") << 0 << "QORNIVORELL" << "SendACK" << "Meldung"
                                               << QStringList{"NivorellProgramm", e, "", ""} << false << "nw" << "nw";
        QTest::newRow("Nivorell list failed, same text as one program")
            << 0 << "QORNIVOLISTE" << "SendNAK" << "FEHLER"
            << QStringList{"Übertragung der Nivorellprogramme", f, "", ""} << true << "nw" << "nw";
        QTest::newRow("Nivorell list sent") << 0 << "QORNIVOLISTE" << "SendACK" << "Meldung"
                                            << QStringList{"Nivorell-Programm", e, "", ""} << false << "nw" << "nw";
        QTest::newRow("weekly program failed")
            << 0 << "QORWOCHPROG" << "SendNAK" << "FEHLER"
            << QStringList{"Übertragung der Wochenprogramme", f, "", ""} << true << "hw" << "hw";
        QTest::newRow("weekly program sent") << 0 << "QORWOCHPROG" << "SendACK" << "Meldung"
                                             << QStringList{"", "Wochenprogramme", e, ""} << false << "hw" << "hw";
        // Case of outcome and topic does not matter; the controller number has no effect.
        QTest::newRow("lower-case outcome") << 3 << "QORWOCHPROG" << "sendack" << "Meldung"
                                            << QStringList{"", "Wochenprogramme", e, ""} << false << "hw" << "hw";
        QTest::newRow("mixed-case outcome") << -1 << "QORNIVOLISTE" << "SENDnak" << "FEHLER"
                                            << QStringList{"Übertragung der Nivorellprogramme", f, "", ""} << true
                                            << "nw" << "nw";
        QTest::newRow("lower-case topic") << 99 << "quorveltime" << "SendACK" << "Uhrzeit stellen"
                                          << QStringList{"Uhr wurde gestellt.!", "", "", ""} << false << "" << "hw";
        QTest::newRow("mixed-case topic") << 1 << "QorGaerListe" << "sendNAK" << "FEHLER"
                                          << QStringList{"Übertragung der Gärprogramme", f, "", ""} << true << "gw"
                                          << "gw";
    }
    void ausgang()
    {
        QFETCH(int, nummer);
        QFETCH(QString, topic);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(QStringList, zeilen);
        QFETCH(bool, rot);
        QFETCH(QString, beiBox);
        QFETCH(QString, danach);
        fenster->WochPrgEmpfangen(Felder(28, 1));
        const QString gitter = WochPrgZuHex(fenster->WochPrgAusGitter());
        allesSperren();
        QVERIFY(datumRot());
        QSignalSpy spy(fenster, &TwMiniQuorvel::Ergebnis);

        fenster->ErgebnisVerteilen(nummer, topic, text);

        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().at(0).toInt(), nummer);
        QCOMPARE(spy.first().at(1).toString(), topic);
        QCOMPARE(spy.first().at(2).toString(), text);
        QCOMPARE(schreiber->boxen.size(), 1);
        const Box &b = schreiber->boxen.first();
        QCOMPARE(b.caption, caption);
        QCOMPARE(b.zeilen, zeilen);
        QCOMPARE(b.rot, rot);
        QCOMPARE(b.zustand, beiBox);
        QCOMPARE(zustand(), danach);
        const bool haupt = danach.contains(QLatin1Char('h'));
        // The main window's rows give the date field its colour back and re-arm the watchdog;
        // the editors' rows leave both alone.
        QCOMPARE(datumRot(), !haupt);
        QCOMPARE(fenster->CheckTimer->interval(), haupt ? P().CheckTimerSekunden * 1000 : 12345);
        // An outcome never touches the weekly grid.
        QCOMPARE(WochPrgZuHex(fenster->WochPrgAusGitter()), gitter);
    }

    // Data texts go to their receivers without a box; an empty data text changes nothing.
    void daten_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("danach");
        QTest::addColumn<bool>("datumRot");
        QTest::newRow("weekly program") << "QORWOCHPROG" << Woche() << "hw" << false;
        QTest::newRow("weekly program, lower-case topic") << "qorwochprog" << Woche() << "hw" << false;
        QTest::newRow("empty weekly program") << "QORWOCHPROG" << "" << "" << false;
        QTest::newRow("clock data") << "QUORVELTIME" << "0001" << "" << false;
        QTest::newRow("proofing program") << "QORGAERPROG" << Felder(14, 0x100) << "gw" << true;
        QTest::newRow("empty proofing program") << "QORGAERPROG" << "" << "w" << true;
        QTest::newRow("proofing list") << "QORGAERLISTE" << Felder(140, 1) << "gw" << true;
        QTest::newRow("Nivorell program") << "QORNIVORELL" << Felder(25, 0x200) << "nw" << true;
        QTest::newRow("empty Nivorell list") << "QORNIVOLISTE" << "" << "w" << true;
        QTest::newRow("Nivorell list") << "QORNIVOLISTE" << Felder(250, 1) << "nw" << true;
    }
    void daten()
    {
        QFETCH(QString, topic);
        QFETCH(QString, text);
        QFETCH(QString, danach);
        QFETCH(bool, datumRot);
        allesSperren();
        const TQorGaerProg gaerVorher = gaer->Aktuell();
        const TQorNivorell nivoVorher = nivo->Aktuell();

        fenster->ErgebnisVerteilen(0, topic, text);
        // Received lists are decoded from a posted event, after the router's call.
        if (topic.toUpper() == QLatin1String("QORNIVOLISTE") && !text.isEmpty())
            QVERIFY(nivo->Gesperrt());
        QCoreApplication::sendPostedEvents();

        QVERIFY(schreiber->boxen.isEmpty());
        QCOMPARE(zustand(), danach);
        QCOMPARE(this->datumRot(), datumRot);
        const QString t = topic.toUpper();
        if (t == QLatin1String("QORWOCHPROG") && !text.isEmpty()) {
            fenster->NachtStarts->setCurrentCell(7, 4);
            QCOMPARE(WochPrgZuHex(fenster->WochPrgAusGitter()), text);
        }
        QCOMPARE(gaer->Aktuell() == gaerVorher, !t.startsWith(QLatin1String("QORGAER")) || text.isEmpty());
        QCOMPARE(nivo->Aktuell() == nivoVorher, !t.startsWith(QLatin1String("QORNIVO")) || text.isEmpty());
        if (t == QLatin1String("QORGAERLISTE"))
            QCOMPARE(gaer->Liste()[9], HexZuGaerProg(text.mid(9 * 56, 56)));
        if (t == QLatin1String("QORNIVOLISTE") && !text.isEmpty())
            QCOMPARE(nivo->Liste()[9], HexZuNivorell(text.mid(900, 100)));
        if (t == QLatin1String("QORGAERPROG") && !text.isEmpty())
            QCOMPARE(gaer->Aktuell(), HexZuGaerProg(text));
    }

    // Progress: the number after the first 19 characters times ten, to all three receivers.
    void fortschritt_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("prozent");
        QTest::newRow("7") << "MELDUNG" << "RestoreFortschritt=7" << 70;
        QTest::newRow("10") << "MELDUNG" << "RestoreFortschritt=10" << 100;
        QTest::newRow("1, lower-case topic") << "meldung" << "RestoreFortschritt=1" << 10;
        QTest::newRow("no number") << "MELDUNG" << "RestoreFortschritt=" << 0;
        QTest::newRow("garbage") << "MELDUNG" << "RestoreFortschritt=7x" << 0;
        QTest::newRow("short text") << "MELDUNG" << "Restore=7" << 0;
        QTest::newRow("empty") << "MELDUNG" << "" << 0;
        QTest::newRow("any 19 characters in front") << "MELDUNG" << "xxxxxxxxxxxxxxxxxxx4" << 40;
        QTest::newRow("huge number stays in range") << "MELDUNG" << "RestoreFortschritt=2000000000"
                                                    << std::numeric_limits<qint32>::max();
    }
    void fortschritt()
    {
        QFETCH(QString, topic);
        QFETCH(QString, text);
        QFETCH(int, prozent);
        allesSperren();
        fenster->FortschrittPanel->show();
        fenster->Gauge1->setValue(33);

        fenster->ErgebnisVerteilen(0, topic, text);

        QCOMPARE(gaer->LetzterFortschritt(), prozent);
        QCOMPARE(nivo->LetzterFortschritt(), prozent);
        if (prozent == 100) {
            // The main window hides its panel at 100 % and resets the gauge.
            QVERIFY(fenster->FortschrittPanel->isHidden());
            QCOMPARE(fenster->Gauge1->value(), 0);
        } else {
            QVERIFY(!fenster->FortschrittPanel->isHidden());
            QCOMPARE(fenster->Gauge1->value(), qMin(prozent, 100));
        }
        // Progress unlocks nothing, shows no box and leaves the watchdog alone.
        QVERIFY(schreiber->boxen.isEmpty());
        QCOMPARE(zustand(), QStringLiteral("w"));
        QCOMPARE(fenster->CheckTimer->interval(), 12345);
    }

    void fortschrittOhneEditoren()
    {
        gaer.reset();
        nivo.reset();
        QVERIFY(!P().wQuorvelGaerProg && !P().wQuorvelNivorell);
        fenster->FortschrittPanel->show();
        fenster->ErgebnisVerteilen(0, QStringLiteral("MELDUNG"), QStringLiteral("RestoreFortschritt=3"));
        QCOMPARE(fenster->Gauge1->value(), 30);
        // Outcomes for a missing editor still report.
        fenster->ErgebnisVerteilen(0, QStringLiteral("QORNIVORELL"), QStringLiteral("SendNAK"));
        fenster->ErgebnisVerteilen(0, QStringLiteral("QORGAERPROG"), Felder(14, 1));
        QCOMPARE(schreiber->boxen.size(), 1);
        QCOMPARE(schreiber->boxen.first().caption, QStringLiteral("FEHLER"));
    }

    // Any other topic: a red box with at most 50 characters of the text, nothing else changes.
    void unbekannt_data()
    {
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("zeile");
        const QString lang = QStringLiteral("0\tQ_Stoer\t2:TIMEOUT und noch viel mehr Text, der abgeschnitten wird");
        QTest::newRow("given-up fault read") << "QUORVELFEHLER" << lang << lang.left(50);
        QTest::newRow("exactly 50") << "QUORVELFEHLER" << lang.left(50) << lang.left(50);
        QTest::newRow("unknown topic") << "IRGENDWAS" << "SendACK" << "SendACK";
        QTest::newRow("topic with umlaut") << "QORWOCHPRÖG" << "SendACK" << "SendACK";
        QTest::newRow("empty topic") << "" << "" << "";
        QTest::newRow("BEFEHL is no result topic") << "BEFEHL" << "WPR\t00\t" << "WPR\t00\t";
    }
    void unbekannt()
    {
        QFETCH(QString, topic);
        QFETCH(QString, text);
        QFETCH(QString, zeile);
        allesSperren();
        fenster->ErgebnisVerteilen(0, topic, text);
        QCOMPARE(schreiber->boxen.size(), 1);
        const Box &b = schreiber->boxen.first();
        QCOMPARE(b.caption, QStringLiteral("TopicErrorQuorvel"));
        QVERIFY(b.rot);
        QCOMPARE(b.zeilen.join(QString()), zeile.remove(QStringLiteral("\r\n")));
        QCOMPARE(zustand(), QStringLiteral("w"));
        QVERIFY(datumRot());
    }

    void fehlerMelden()
    {
        QSignalSpy spy(fenster, &TwMiniQuorvel::Ergebnis);
        fenster->QuorvelFehlerMelden(QStringLiteral("0\tQ_FirmWare\t:TIMEOUT"));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.first().at(0).toInt(), 0);
        QCOMPARE(spy.first().at(1).toString(), QStringLiteral("QUORVELFEHLER"));
        QCOMPARE(schreiber->boxen.size(), 1);
        QCOMPARE(schreiber->boxen.first().caption, QStringLiteral("TopicErrorQuorvel"));
        QCOMPARE(schreiber->boxen.first().zeilen.first(), QStringLiteral("0\tQ_FirmWare\t:TIMEOUT"));
    }

    // A weekly read: locked from the click, the grid filled and unlocked by the result; a failed
    // read leaves the grid empty.
    void wochenLesenAblauf()
    {
        fenster->WochPrgEmpfangen(Felder(28, 1));
        fenster->LesenWoPrgClick();
        QVERIFY(!fenster->WochenProgramme->isEnabled());
        QVERIFY(!fenster->CheckTimer->isActive());
        fenster->ErgebnisVerteilen(0, QStringLiteral("QORWOCHPROG"), QStringLiteral("SendNAK"));
        QVERIFY(fenster->WochenProgramme->isEnabled());
        QVERIFY(fenster->CheckTimer->isActive());
        fenster->NachtStarts->setCurrentCell(7, 4);
        for (const TQorTagPrg &t : fenster->WochPrgAusGitter())
            QCOMPARE(t, (TQorTagPrg{QString(), QString(), QString(), QStringLiteral("0")}));
    }
};

QTEST_MAIN(TestErgebnis)
#include "tst_ergebnis.moc"
