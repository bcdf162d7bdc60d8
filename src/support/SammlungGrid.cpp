#include "support/SammlungGrid.h"

#include <QTableWidget>

void GridEnterWeiter(QObject *Sender, QChar &Key)
{
    auto *grid = qobject_cast<QTableWidget *>(Sender);
    if (!grid)
        return;
    if (Key != QChar(13))
        return;
    Key = QChar(0);
    const int zeile = grid->currentRow();
    const int spalte = grid->currentColumn();
    if (zeile < 0 || spalte < 0)
        return; // no cell cursor to move on from
    if (spalte < grid->columnCount() - 1)
        grid->setCurrentCell(zeile, spalte + 1);
    else if (zeile < grid->rowCount() - 1)
        grid->setCurrentCell(zeile + 1, 1);
    else
        grid->setCurrentCell(1, 1);
}
