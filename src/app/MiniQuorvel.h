#pragma once

#include <QString>

class SystemSignale;
class TwMiniQuorvel;

// The main program: signals caught, program-wide values and application made, then its run.
int MiniQuorvelMain(int argc, char *argv[]);
// The run with those in place: start-up in the program folder Ordner, window creation in
// order, message loop; the loop's result. A signal that Signale caught before is acted upon.
int MiniQuorvelLauf(SystemSignale &Signale, const QString &Ordner);

// Closing Hauptfenster ends the message loop, whatever other windows are still open; a quit
// of the application closes Hauptfenster instead of every window.
void HauptfensterBeendetProgramm(TwMiniQuorvel *Hauptfenster);
