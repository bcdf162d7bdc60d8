#include "app/MiniQuorvel.h"

#include "support/uProgramm.h"

#include <QApplication>
#include <QMainWindow>

int MiniQuorvelMain(int argc, char *argv[])
{
    Programm programm;
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("MiniQuorvel"));
    QMainWindow fenster;
    fenster.setWindowTitle(QStringLiteral("MiniQuorvel"));
    fenster.show();
    return app.exec();
}
