#pragma once

// The controller simulator on a pseudo-terminal: the program reaches it as its serial port
// <program folder>/ports/COM<n>. Shared by every test that drives the real serial code.

#include "simulator/PtySimulator.h"
#include "simulator/QuorvelSimulator.h"

#include <QString>

#include <memory>

struct PtyLeitung
{
    std::unique_ptr<QuorvelSimulator> sim;
    std::unique_ptr<PtySimulator> pty;
    int com = 0;

    // A controller with the address "0600"; laeuft() tells whether its line is up.
    PtyLeitung(const QString &Programmverzeichnis, int ComNummer) : com(ComNummer)
    {
        sim = std::make_unique<QuorvelSimulator>(QStringLiteral("0600"));
        pty = std::make_unique<PtySimulator>(sim.get());
        mGestartet = pty->starten(Programmverzeichnis, ComNummer);
    }
    ~PtyLeitung()
    {
        pty.reset();
        sim.reset();
    }
    PtyLeitung(const PtyLeitung &) = delete;
    PtyLeitung &operator=(const PtyLeitung &) = delete;

    bool laeuft() const { return mGestartet; }
    QString fehler() const { return pty->fehler(); }
    QString portName() const { return QStringLiteral("COM%1").arg(com); }

private:
    bool mGestartet = false;
};
