#pragma once
// Columns that show their whole texts. The widths the windows were laid out
// with were chosen for a narrower face than the screen's; they stay the least
// a column gets, and a header or cell that needs more widens its column.
#include <QtWidgets/QTableView>
#include <QtWidgets/QTreeView>

void WidenColumnsToContents(QTableView &view);
void WidenColumnsToContents(QTreeView &view);

// The width the view needs to show every column side by side, with room for
// its vertical scroll bar.
int WidthOfAllColumns(const QTableView &view);
