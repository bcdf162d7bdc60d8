#pragma once

// What the window tests read off the screen: grid cells and the self-closing message boxes.

#include "support/uShowbox.h"

#include <QApplication>
#include <QLabel>
#include <QStringList>
#include <QTableWidget>

// Text of cell (r, c), empty where the cell has no item.
inline QString Zelle(const QTableWidget *g, int r, int c)
{
    const QTableWidgetItem *it = g->item(r, c);
    return it ? it->text() : QString();
}

// Each message box on the screen as "caption|first line|second line".
inline QStringList Boxen()
{
    QStringList l;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *b = qobject_cast<TwShowbox *>(w); b && b->isVisible())
            l << b->windowTitle() + QLatin1Char('|') + b->Label1->text() + QLatin1Char('|') + b->Label2->text();
    return l;
}
