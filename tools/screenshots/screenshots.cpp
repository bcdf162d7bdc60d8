// mq-screenshots [FOLDER]: starts the simulated controller on a pseudo-terminal, lets the
// program's windows poll it until they show live status and faults, and saves both windows as
// FOLDER/hauptfenster.png and FOLDER/servicefenster.png (FOLDER: docs/bilder); then the
// Nivorell editor reads its list from it and is saved with its graph as FOLDER/nivorell.png,
// and the proofing-program editor reads its list and is saved as FOLDER/gaerprogramme.png.
//
// Everything lives in a temporary folder: the program folder with its port link and the user
// settings store. Meant for QT_QPA_PLATFORM=offscreen.

#include "controller/uQuorvelKonstanten.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"
#include "support/uDateiSchreiben.h"
#include "support/uKonstanten.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "windows/uMiniQuorvel.h"
#include "windows/uQuorvel.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <functional>

namespace {

constexpr int ComNummer = 5;

// Program 4 in the proofing phase: 24 °C of 26 °C, 78 % of 80 %, Wednesday 09.12.2026 14:30
// winter time; Störung, Licht, Heizen 1, Befeuchten, Verdampferlüfter and Mag.vent.Kühl on.
const QByteArray Satz = QByteArray("0000") + "0003" + "0004" + "0004" + "0208" + "0212" + "0316" + "0320" + "0003"
                      + "09122026" + "1430" + "0000" + "0263" + "0080" + "0046";

void Fehler(const QString &text)
{
    std::fprintf(stderr, "mq-screenshots: %s\n", qPrintable(text));
}

// Runs the event loop until Bedingung holds or ms have passed.
bool WartenBis(const std::function<bool()> &Bedingung, int ms)
{
    QDeadlineTimer frist(ms);
    while (!Bedingung()) {
        if (frist.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

bool Speichern(QWidget *w, const QString &pfad)
{
    // Encoded first, then written whole: a full disk keeps the old picture.
    QByteArray png;
    QBuffer puffer(&png);
    QString grund;
    if (!puffer.open(QIODevice::WriteOnly) || !w->grab().save(&puffer, "PNG") || !DateiSchreiben(pfad, png, &grund)) {
        Fehler(QStringLiteral("%1 kann nicht geschrieben werden").arg(pfad)
               + (grund.isEmpty() ? QString() : QStringLiteral(": ") + grund));
        return false;
    }
    std::printf("%s\n", qPrintable(pfad));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    Programm programm;
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("MiniQuorvel"));
    OberflaecheEinrichten();
    const QStringList argumente = app.arguments().mid(1);
    const QString ziel = argumente.value(0, QStringLiteral("docs/bilder"));
    if (!QDir().mkpath(ziel)) {
        Fehler(QStringLiteral("Ordner %1 fehlt").arg(ziel));
        return 1;
    }

    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        Fehler(QStringLiteral("kein temporärer Ordner"));
        return 1;
    }
    const QString prog = tmp.path() + QStringLiteral("/prog/");
    QDir().mkpath(prog);
    PfadeInitialisieren(prog);
    // A settings store of its own, never the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, tmp.path() + QStringLiteral("/einstellungen"));
    TwMiniQuorvel::ModaleBox = [](QWidget *, const QString &caption, const QString &text) {
        Fehler(caption + QStringLiteral(": ") + text);
    };

    QuorvelSimulator sim(QStringLiteral("0600"));
    sim.setStatus(Satz);
    sim.setStoercode(1, 22);
    sim.setStoercode(2, 1);
    sim.setStoerAnzahl(-1);
    PtySimulator pty(&sim);
    if (!pty.starten(prog, ComNummer)) {
        Fehler(pty.fehler());
        return 1;
    }

    TwMiniQuorvel fenster;
    fenster.show();
    // The port as the operator picks it.
    const int index = fenster.ComportBox->findText(QStringLiteral("COM%1").arg(ComNummer));
    if (index < 0) {
        Fehler(QStringLiteral("COM%1 fehlt in der Liste").arg(ComNummer));
        return 1;
    }
    fenster.ComportBox->setCurrentIndex(index);

    TwQuorvel *service = fenster.BefehlsFenster();
    fenster.OfenShowClick();
    service->StatusAnzeigen->setChecked(true);
    service->move(fenster.frameGeometry().topRight());

    // Live: a few status replies and both fault texts.
    const bool live = WartenBis(
        [&] {
            const QString memo = service->StoerMemo->toPlainText();
            return fenster.LBIn->count() >= 5 && memo.contains(StoerungText(22)) && memo.contains(StoerungText(1))
                && fenster.AnzStoer_E->text() == QLatin1String("0002");
        },
        20000);
    if (!live) {
        Fehler(QStringLiteral("keine Statusanzeige von der Steuerung"));
        return 1;
    }

    // The weekly program, read in the service window's group; the main window shows it too.
    service->ShowWoPrg->click();
    service->LesenWoPrg->click();
    const bool woche = WartenBis(
        [&] {
            const QTableWidgetItem *z = service->NachtStarts->item(1, 1);
            return z && !z->text().isEmpty() && fenster.WochenProgramme->isEnabled();
        },
        20000);
    if (!woche) {
        Fehler(QStringLiteral("kein Wochenprogramm von der Steuerung"));
        return 1;
    }

    const bool ok = Speichern(&fenster, ziel + QStringLiteral("/hauptfenster.png"))
                 && Speichern(service, ziel + QStringLiteral("/servicefenster.png"));

    // The Nivorell editor with its graph, its list read from the controller with its own button.
    const int nv[8][3] = {{-10, 70, 120}, {-10, 70, 240}, {5, 75, 60}, {18, 80, 90},
                          {28, 85, 120}, {32, 85, 60}, {4, 80, 0}, {4, 80, 0}};
    for (int nr = 1; nr <= 10; ++nr) {
        TQorNivorell p;
        p.Nr = QString::number(nr);
        for (int k = 0; k < 8; ++k)
            p.Schritte[size_t(k)] = {QString::number(nv[k][0]), QString::number(nv[k][1]), QString::number(nv[k][2])};
        sim.setNivorellProgramm(nr, NivorellZuHex(p).toLatin1());
    }
    TwQuorvelNivorell nivorell(fenster.KommandoEintrag());
    nivorell.show();
    nivorell.LesenListe->click();
    if (!WartenBis([&] { return !nivorell.Gesperrt(); }, 30000)) {
        Fehler(QStringLiteral("keine Nivorell-Liste von der Steuerung"));
        return 1;
    }
    WartenBis([] { return false; }, 300); // the duration cells drawn
    const bool nvOk = ok && Speichern(&nivorell, ziel + QStringLiteral("/nivorell.png"));

    // The proofing-program editor with the controller's list, read with its own button.
    for (int nr = 1; nr <= 10; ++nr) {
        TQorGaerProg p = TwQuorvelGaerProg::StandardProgramm(nr);
        p.GV.Zeit = QString::number(300 + 30 * nr);
        p.GA.Temp = QString::number(28 + nr % 4);
        sim.setGaerProgramm(nr, GaerProgZuHex(p).toLatin1());
    }
    TwQuorvelGaerProg gaer(fenster.KommandoEintrag());
    gaer.show();
    gaer.LesenGaer->click();
    if (!WartenBis([&] { return !gaer.Gesperrt(); }, 30000)) {
        Fehler(QStringLiteral("keine Gär-Liste von der Steuerung"));
        return 1;
    }
    const bool gaerOk = nvOk && Speichern(&gaer, ziel + QStringLiteral("/gaerprogramme.png"));
    fenster.close();
    TwMiniQuorvel::ModaleBox = nullptr;
    return gaerOk ? 0 : 1;
}
