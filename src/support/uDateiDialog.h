#pragma once

// The file dialogs of all windows: one description of the dialog, the modal Qt dialog made
// from it (or a stand-in that tests put in its place), and the box of a file failure.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

struct TDateiDialog
{
    QString Name;          // objectName of the dialog, e.g. OpenDialog1 or SaveDialog1
    bool Speichern = false;
    QString Filter;        // "description|pattern|description|pattern"
    QString Endung;        // default extension, e.g. "*.QGP"
    QString Ordner;        // start folder; ignored when it does not exist
    QString Dateiname;     // proposed name (save dialogs)
};

// Stands in for the modal dialog; returns the chosen path, empty when cancelled.
using TDateiDialogErsatz = std::function<QString(const TDateiDialog &)>;

// A "description|pattern|..." filter as Qt name filters.
QStringList QtFilter(const QString &Filter);

// The path chosen in the dialog, or by Ersatz when it is set; empty when cancelled. Save
// dialogs ask before they overwrite an existing file; open dialogs also return the name of a
// file that does not exist. Both add the default extension to a name typed without one.
QString DateiWaehlen(QWidget *Eltern, const TDateiDialog &Dialog, const TDateiDialogErsatz &Ersatz = {});

// The box of a file that cannot be read or written: modal, OK, the application's title (or
// the window's) as caption. DateiFehlerBox, when set, stands in for the box.
inline std::function<void(QWidget *Eltern, const QString &Caption, const QString &Text)> DateiFehlerBox;
QString DateiFehlerCaption(QWidget *Eltern);
void DateiFehlerZeigen(QWidget *Eltern, const QString &Text);
