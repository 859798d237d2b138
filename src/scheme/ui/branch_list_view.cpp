#include "scheme/ui/branch_list_view.h"

#include "platform/ui/column_fit.h"

#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTreeWidget>

namespace {

constexpr int ColumnWidth = 80;

Qt::Alignment ToQt(TColumnAlignment a)
{
    switch (a) {
    case caCentre: return Qt::AlignHCenter | Qt::AlignVCenter;
    case caRight: return Qt::AlignRight | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

void SetupBranchColumns(QTreeWidget *view, TBranchColumns columns)
{
    QStringList captions;
    for (int k = 0; k < BranchColumnCount; ++k)
        if (columns & (1u << k))
            captions << BranchColumnCaption(k);
    view->setColumnCount(static_cast<int>(captions.size()));
    view->setHeaderLabels(captions);
    view->setRootIsDecorated(false);
    int column = 0;
    for (int k = 0; k < BranchColumnCount; ++k)
        if (columns & (1u << k)) {
            view->headerItem()->setTextAlignment(column, ToQt(BranchColumnAlignment(k)));
            view->setColumnWidth(column++, ColumnWidth);
        }
}

int FillBranchList(QTreeWidget *view, const std::function<bool(int branch)> &filter, TBranchColumns columns,
                   const TNetworkTables &t)
{
    view->setUpdatesEnabled(false);
    view->clear();
    SetupBranchColumns(view, columns);
    int added = 0;
    for (int n = 1; n <= MaxItems; ++n) {
        if (t.BranchNo[n] != n || !filter(n) || columns == 0)
            continue;
        auto *item = new QTreeWidgetItem(view);
        // Each cell goes under its own caption, also when the set has no
        // name column.
        int column = 0;
        for (int k = 0; k < BranchColumnCount; ++k) {
            if (!(columns & (1u << k)))
                continue;
            item->setText(column, BranchColumnText(t, k, n));
            item->setTextAlignment(column, ToQt(BranchColumnAlignment(k)));
            ++column;
        }
        ++added;
    }
    WidenColumnsToContents(*view);
    view->setUpdatesEnabled(true);
    return added;
}
