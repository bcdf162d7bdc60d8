#include "app/MiniQuorvel.h"

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
#include <QPointer>
#include <QThreadPool>
#include <QTimer>

#include <memory>

namespace {

// Closing the main window ends the program, whatever other windows are still open; a quit of
// the application (a desktop session ending, say) closes the main window, so the program ends
// through its shutdown or, when that refuses, goes on as it was.
class Hauptfensterwache : public QObject
{
public:
    explicit Hauptfensterwache(QWidget *Hauptfenster) : QObject(Hauptfenster), mHauptfenster(Hauptfenster) {}

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        // Installed on the application too, it sees the events of every object.
        if (o == qApp && e->type() == QEvent::Quit && mHauptfenster->isVisible()) {
            mHauptfenster->close();
            return true;
        }
        if (o == mHauptfenster && e->type() == QEvent::Close) {
            const QPointer<QWidget> w(static_cast<QWidget *>(o));
            // exit, not quit: quit would ask every other window to close first.
            QTimer::singleShot(0, qApp, [w] {
                if (w && !w->isVisible())
                    QCoreApplication::exit(0);
            });
        }
        return false;
    }

private:
    QWidget *mHauptfenster;
};

} // namespace

void HauptfensterBeendetProgramm(QWidget *Hauptfenster)
{
    auto *wache = new Hauptfensterwache(Hauptfenster);
    Hauptfenster->installEventFilter(wache);
    qApp->installEventFilter(wache);
}

int MiniQuorvelMain(int argc, char *argv[])
{
    Programm programm;
    QApplication app(argc, argv);
    OberflaecheEinrichten();
    // Painting spreads large fills over the global thread pool; for the small updates of a
    // polling window, waking eight threads every second costs more than it saves.
    QThreadPool::globalInstance()->setMaxThreadCount(1);

    PfadeInitialisieren();
    app.setApplicationName(QStringLiteral("MiniQuorvel"));
    app.setQuitOnLastWindowClosed(false);

    // The windows, in this order; the first one is the main window and is visible at once.
    auto wMiniQuorvel = std::make_unique<TwMiniQuorvel>();      // 1. TwMiniQuorvel
    HauptfensterBeendetProgramm(wMiniQuorvel.get());
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

    const int ergebnis = app.exec();

    ShowboxenFreigeben();
    P().AboutBox = nullptr;
    P().TestShow = nullptr;
    P().fVersion = nullptr;
    return ergebnis;
}
