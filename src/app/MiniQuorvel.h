#pragma once

class TwMiniQuorvel;

// The main program: start-up, window creation in order, message loop.
int MiniQuorvelMain(int argc, char *argv[]);

// Closing Hauptfenster ends the message loop, whatever other windows are still open; a quit
// of the application closes Hauptfenster instead of every window.
void HauptfensterBeendetProgramm(TwMiniQuorvel *Hauptfenster);
