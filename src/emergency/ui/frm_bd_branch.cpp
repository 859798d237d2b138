#include "emergency/ui/frm_bd_branch.h"

#include "platform/ui/column_fit.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

TfrmBdBranch::TfrmBdBranch(QWidget *owner, const TNetworkTables &t, const TBdBranchList &list) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Непроходимые выработки"));
    Grid = new QTableWidget(int(list.size()), 5, this);
    Grid->setHorizontalHeaderLabels({QStringLiteral("Ветвь"), QStringLiteral("Н.узел"), QStringLiteral("К.узел"),
                                     QStringLiteral("Название"), QStringLiteral("Причина")});
    Grid->verticalHeader()->setVisible(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int r = 0; r < int(list.size()); ++r) {
        const TBdBranch &e = list[std::size_t(r)];
        const int b = e.Branch;
        const QStringList cells{QString::number(b), QString::number(ValidItemIndex(b) ? t.BranchStartNode[b] : 0),
                                QString::number(ValidItemIndex(b) ? t.BranchEndNode[b] : 0), GetBranchName(t, b),
                                BdReasonText(e)};
        for (int c = 0; c < cells.size(); ++c)
            Grid->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    Grid->resizeColumnsToContents();
    Grid->horizontalHeader()->setStretchLastSection(true);
    btnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Grid, 1);
    layout->addLayout(buttons);
    // Wide enough for every column, so that the reason after a long name is
    // in sight.
    const QMargins margins = layout->contentsMargins();
    resize(std::max(760, WidthOfAllColumns(*Grid) + margins.left() + margins.right()), 420);
}
