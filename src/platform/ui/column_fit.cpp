#include "platform/ui/column_fit.h"

#include <QtCore/QAbstractItemModel>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QScrollBar>

#include <algorithm>

namespace {

template <typename TView>
void Widen(TView &view)
{
    if (!view.model())
        return;
    for (int c = 0; c < view.model()->columnCount(); ++c) {
        const int designed = view.columnWidth(c);
        view.resizeColumnToContents(c);
        view.setColumnWidth(c, std::max(designed, view.columnWidth(c)));
    }
}

} // namespace

void WidenColumnsToContents(QTableView &view) { Widen(view); }

void WidenColumnsToContents(QTreeView &view) { Widen(view); }

int WidthOfAllColumns(const QTableView &view)
{
    int width = 2 * view.frameWidth() + view.verticalScrollBar()->sizeHint().width();
    if (!view.verticalHeader()->isHidden())
        width += view.verticalHeader()->width();
    return width + view.horizontalHeader()->length();
}
