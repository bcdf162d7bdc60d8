#pragma once

// The look of the program's windows: application font and Qt's German texts.

#include <QString>

class QStyle;

// The application font's family and size: the window places and sizes are made for it.
inline constexpr const char *Anwendungsschrift = "Liberation Sans Narrow";
inline constexpr int AnwendungsschriftPunkte = 8;

// Sets the application font and loads Qt's German translations (file dialogs, standard
// buttons). Needs a QApplication; a second call changes nothing. When the font or the
// translations are missing, a warning names the Debian package (scripts/deps.sh installs
// both) and the program goes on with the default font or the English texts.
void OberflaecheEinrichten();

// True when Qt's German translations were loaded by OberflaecheEinrichten.
bool QtUebersetzungGeladen();

// A style for spin edits and grids at design widths: spin buttons 10 px wide and a cell text
// margin of 2 px, so that five digits or a grid caption fit where the design puts them. One for
// the program, following the application style; set it with QWidget::setStyle.
QStyle *KompakterStil();

class QWidget;

// The silver of a locked group.
inline constexpr unsigned GesperrtGrund = 0xC0C0C0;
// Disabled text of a locked group: legible on the silver and on a red field (3:1 and more).
inline constexpr unsigned GesperrtSchrift = 0x333333;

// Locked: the group turns silver and its disabled texts stay legible on it; unlocked: its
// normal look again. Enabling and disabling are the caller's.
void GesperrtDarstellen(QWidget *Gruppe, bool Gesperrt);

// Disabled text of a window's buttons and menus: grey, legible on the button face and the
// window (3:1 and more).
inline constexpr unsigned DeaktiviertSchrift = 0x6E6E6E;
void DeaktiviertLesbar(QWidget *Fenster);

// Closes every open modal box and dialog, the innermost first, as Esc would; one that does not
// go by Esc is rejected, and a modal window that is no dialog is closed or, refusing, hidden.
// Their callers then go on as after a cancel.
void ModaleFensterAbbrechen();
