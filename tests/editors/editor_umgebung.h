#pragma once

// Fixture of the editor tests: fresh program-wide values with a temporary program folder, the
// requests, file dialogs, file failure boxes and message boxes caught instead of sent or shown.

#include "support/uKonstanten.h"
#include "support/uProgramm.h"
#include "support/uShowbox.h"
#include "editors/uProgrammEditor.h"
#include "support/uDateiDialog.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include <memory>

// One self-closing box as shown: caption and its non-empty lines.
struct GezeigteBox
{
    QString caption;
    QStringList zeilen;
};

// The boxes of ShowText / ShowErr that are open now.
inline QList<GezeigteBox> OffeneBoxen()
{
    QList<GezeigteBox> boxen;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *b = qobject_cast<TwShowbox *>(w); b && b->isVisible()) {
            GezeigteBox box{b->windowTitle(), {}};
            for (QLabel *l : {b->Label1, b->Label2, b->Label3, b->Label4})
                if (!l->text().isEmpty())
                    box.zeilen << l->text();
            boxen << box;
        }
    return boxen;
}

// Each open box as "caption|line|line...".
inline QStringList OffeneBoxTexte()
{
    QStringList texte;
    for (const GezeigteBox &b : OffeneBoxen())
        texte << (QStringList{b.caption} + b.zeilen).join(QLatin1Char('|'));
    return texte;
}

template<typename Fenster>
struct EditorUmgebung
{
    QTemporaryDir dir;
    std::unique_ptr<Programm> programm;
    std::unique_ptr<Fenster> fenster;
    QStringList befehle;                 // request texts handed to the command entry
    QList<TDateiDialog> dialoge;         // dialogs opened
    QString dialogAntwort;               // the path the next dialog returns (empty: cancelled)
    QStringList dateiFehler;             // texts of the file failure boxes

    EditorUmgebung()
    {
        programm = std::make_unique<Programm>();
        PfadeInitialisieren(dir.path() + QStringLiteral("/prog/"));
        DateiFehlerBox = [this](QWidget *, const QString &, const QString &Text) { dateiFehler << Text; };
        fenster = std::make_unique<Fenster>([this](const QString &Topic, const QString &Text) {
            if (Topic == QLatin1String("BEFEHL"))
                befehle << Text;
        });
        fenster->Dateidialog = [this](const TDateiDialog &d) {
            dialoge << d;
            return dialogAntwort;
        };
    }
    ~EditorUmgebung()
    {
        fenster.reset();
        ShowboxenFreigeben();
        DateiFehlerBox = nullptr;
        ProgrammSanduhr(false);
        programm.reset();
    }

    QString pfad(const QString &Name) const { return dir.filePath(Name); }
};
