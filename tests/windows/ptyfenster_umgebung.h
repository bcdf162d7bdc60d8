#pragma once

// The main-window fixture with the controller simulator on a pseudo-terminal behind COM<n>:
// the window takes that port from the user store, as a returning operator's program does.

#include "hauptfenster_umgebung.h"
#include "ptyleitung.h"

#include "controller/ComPort.h"
#include "windows/uQuorvel.h"

#include <QCheckBox>

struct PtyFensterumgebung : Hauptfensterumgebung
{
    PtyLeitung leitung;
    QuorvelSimulator *sim;
    PtySimulator *pty;

    explicit PtyFensterumgebung(int ComNummer = 7)
        : leitung(prog(), ComNummer), sim(leitung.sim.get()), pty(leitung.pty.get())
    {
        einstellungSetzen(QStringLiteral("COMPORT"), leitung.portName());
    }
    ~PtyFensterumgebung() { fenster.reset(); }

    // The main window on the simulator's port. Without Polling only the traffic under test
    // goes on the line: both status-poll boxes are unticked.
    TwMiniQuorvel *anschliessen(bool Polling = false)
    {
        TwMiniQuorvel *f = erzeugen();
        if (!Polling) {
            f->AlleStatusPollen->setChecked(false);
            f->BefehlsFenster()->StatusPollen->setChecked(false);
        }
        return f;
    }
    // The window is on the simulator's port.
    bool angeschlossen() const { return fenster && fenster->Port()->ComNumber() == leitung.com; }
};
