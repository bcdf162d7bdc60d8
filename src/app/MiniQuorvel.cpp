#include "app/MiniQuorvel.h"

#include "platform/SystemSignale.h"
#include "platform/uPlattform.h"
#include "support/Version.h"
#include "support/uAbout.h"
#include "support/uKonstanten.h"
#include "support/uOberflaeche.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"
#include "support/uTestShow.h"
#include "editors/uQuorvelGaerProg.h"
#include "editors/uQuorvelNivorell.h"
#include "windows/uMiniQuorvel.h"

#include <QApplication>
#include <QFileInfo>
#include <QThreadPool>

#include <memory>

namespace {

// Closing the main window ends the program, whatever other windows are still open; a quit of
// the application (a desktop session ending, say) closes the main window, so the program ends
// through its shutdown or, when that refuses, goes on as it was.
class Hauptfensterwache : public QObject
{
public:
    explicit Hauptfensterwache(TwMiniQuorvel *Hauptfenster) : QObject(Hauptfenster), mHauptfenster(Hauptfenster)
    {
        // Once the close has gone through, also one that had to wait for a box; exit, not
        // quit: quit would ask every other window to close first.
        connect(Hauptfenster, &TwMiniQuorvel::Geschlossen, qApp, [] { QCoreApplication::exit(0); },
                Qt::QueuedConnection);
    }

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (o == qApp && e->type() == QEvent::Quit && mHauptfenster->isVisible()) {
            mHauptfenster->close();
            return true;
        }
        return false;
    }

private:
    TwMiniQuorvel *mHauptfenster;
};

} // namespace

void HauptfensterBeendetProgramm(TwMiniQuorvel *Hauptfenster)
{
    qApp->installEventFilter(new Hauptfensterwache(Hauptfenster));
}

int MiniQuorvelMain(int argc, char *argv[])
{
    // Caught before anything else: from here on a shutdown signal is kept until the main
    // window acts on it. One that came earlier ended the program by its default action.
    SystemSignale signale;
    Programm programm;
    QApplication app(argc, argv);
    return MiniQuorvelLauf(signale, QFileInfo(AusfuehrbareDatei()).absolutePath());
}

int MiniQuorvelLauf(SystemSignale &Signale, const QString &Ordner)
{
    OberflaecheEinrichten();
    // Painting spreads large fills over the global thread pool; for the small updates of a
    // polling window, waking eight threads every second costs more than it saves.
    QThreadPool::globalInstance()->setMaxThreadCount(1);

    PfadeInitialisieren(Ordner);
    qApp->setApplicationName(QStringLiteral("MiniQuorvel"));
    qApp->setQuitOnLastWindowClosed(false);

    // The windows, in this order; the first one is the main window and is visible at once.
    auto wMiniQuorvel = std::make_unique<TwMiniQuorvel>();      // 1. TwMiniQuorvel
    HauptfensterBeendetProgramm(wMiniQuorvel.get());
    // Ended by the system, the program ends through the main window's shutdown, as by its close
    // box; a signal that came during the start-up is acted upon once the message loop runs.
    QObject::connect(&Signale, &SystemSignale::Ende, wMiniQuorvel.get(), &TwMiniQuorvel::SystemEnde);
    wMiniQuorvel->show();
    auto fVersion = std::make_unique<TfVersion>();              // 2. TfVersion
    P().fVersion = fVersion.get();
    auto TestShow = std::make_unique<TTestShow>();              // 3. TTestShow
    P().TestShow = TestShow.get();
    P().wShowbox = new TwShowbox();                             // 4. TwShowbox, box 1, never shown
    auto AboutBox = std::make_unique<TAboutBox>();              // 5. TAboutBox
    P().AboutBox = AboutBox.get();
    auto wQuorvelNivorell = std::make_unique<TwQuorvelNivorell>(wMiniQuorvel->KommandoEintrag()); // 6.
    auto wQuorvelGaerProg = std::make_unique<TwQuorvelGaerProg>(wMiniQuorvel->KommandoEintrag()); // 7.

    const int ergebnis = QCoreApplication::exec();

    ShowboxenFreigeben();
    P().AboutBox = nullptr;
    P().TestShow = nullptr;
    P().fVersion = nullptr;
    return ergebnis;
}
