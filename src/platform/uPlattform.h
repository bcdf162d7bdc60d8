#pragma once

// Small stand-ins for the operating-system services the support module uses.

#include <QSize>
#include <QString>

// Full path of the running executable.
QString AusfuehrbareDatei();
// Width and height of the primary screen in pixels (0 x 0 without a screen).
QSize Bildschirmgroesse();
// The default beep; counted so that callers can be checked.
void Piepton();
int PieptonZaehler();
// Renames Von to Nach, replacing an existing Nach in one step.
bool DateiErsetzen(const QString &Von, const QString &Nach);
// Runs the events waiting at this moment, if an application object exists.
void NachrichtenVerarbeiten();
