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

// Closing the main window ends the program, whatever other windows are still open.
class Hauptfensterwache : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Close) {
            const QPointer<QWidget> w(static_cast<QWidget *>(o));
            // exit, not quit: quit asks every window to close first, and the editors, which
            // only hide when closed, would refuse it and keep the program running windowless.
            QTimer::singleShot(0, qApp, [w] {
                if (w && !w->isVisible())
                    QCoreApplication::exit(0);
            });
        }
        return false;
    }
};

} // namespace

void HauptfensterBeendetProgramm(QWidget *Hauptfenster)
{
    Hauptfenster->installEventFilter(new Hauptfensterwache(Hauptfenster));
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
    auto wQuorvelNivorell = std::make_unique<TwQuorvelNivorell>(); // 6. TwQuorvelNivorell
    auto wQuorvelGaerProg = std::make_unique<TwQuorvelGaerProg>(); // 7. TwQuorvelGaerProg

    const int ergebnis = app.exec();

    ShowboxenFreigeben();
    P().AboutBox = nullptr;
    P().TestShow = nullptr;
    P().fVersion = nullptr;
    return ergebnis;
}
