#pragma once

// Enter handling for the editable grids (QTableWidget laid out as a string grid: row 0 and
// column 0 are the fixed caption cells).

#include <QChar>

class QObject;

// Called from a grid's key-press handling. When Sender is a QTableWidget and Key is Enter
// (character 13), Key becomes character 0 (the grid must not see it) and the current cell
// moves one column to the right, from the last column to column 1 of the next row, and from
// the last cell back to column 1 of row 1. Anything else is left alone.
void GridEnterWeiter(QObject *Sender, QChar &Key);
