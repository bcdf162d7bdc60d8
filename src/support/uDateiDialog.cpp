#include "support/uDateiDialog.h"

#include "support/uProgramm.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

QStringList QtFilter(const QString &Filter)
{
    const QStringList teile = Filter.split(QLatin1Char('|'));
    QStringList filter;
    for (int i = 0; i + 1 < teile.size(); i += 2) {
        const QString &text = teile.at(i);
        const QString &muster = teile.at(i + 1);
        filter << (text.contains(QLatin1Char('(')) ? text : text + QStringLiteral(" (") + muster + QLatin1Char(')'));
    }
    return filter;
}

QString DateiWaehlen(QWidget *Eltern, const TDateiDialog &Dialog, const TDateiDialogErsatz &Ersatz)
{
    if (Ersatz)
        return Ersatz(Dialog);
    QFileDialog dlg(Eltern);
    dlg.setObjectName(Dialog.Name);
    dlg.setNameFilters(QtFilter(Dialog.Filter));
    QString endung = Dialog.Endung;
    endung.remove(QLatin1Char('*'));
    if (endung.startsWith(QLatin1Char('.')))
        endung.remove(0, 1);
    dlg.setDefaultSuffix(endung);
    if (QFileInfo(Dialog.Ordner).isDir())
        dlg.setDirectory(Dialog.Ordner);
    dlg.setAcceptMode(Dialog.Speichern ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Open dialogs return a name that does not exist too: the read then reports the failure.
    dlg.setFileMode(QFileDialog::AnyFile);
    if (!Dialog.Dateiname.isEmpty())
        dlg.selectFile(Dialog.Dateiname);
    if (dlg.exec() != QDialog::Accepted)
        return QString();
    const QStringList dateien = dlg.selectedFiles();
    return dateien.isEmpty() ? QString() : dateien.first();
}

QString DateiFehlerCaption(QWidget *Eltern)
{
    if (ProgrammVorhanden() && !P().ModulName.isEmpty())
        return P().ModulName;
    if (Eltern && !Eltern->window()->windowTitle().isEmpty())
        return Eltern->window()->windowTitle();
    return QCoreApplication::applicationName();
}

void DateiFehlerZeigen(QWidget *Eltern, const QString &Text)
{
    const QString caption = DateiFehlerCaption(Eltern);
    if (DateiFehlerBox) {
        DateiFehlerBox(Eltern, caption, Text);
        return;
    }
    QMessageBox::warning(Eltern, caption, Text, QMessageBox::Ok);
}
