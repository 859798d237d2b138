#include "calc/ui/frm_pres.h"

#include "calc/node_pressures.h"
#include "calc/ui/frm_reports1.h"
#include "platform/guard.h"
#include "platform/ui/column_fit.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

namespace {
const int PressureColumnWidths[] = {45, 44, 46, 47, 46, 44, 46, 46, 50, 48, 50};
}

void FillNodeCrossGrid(QTableWidget &grid, const std::vector<QString> &texts, int maxNode)
{
    grid.clearContents();
    grid.setColumnCount(11);
    grid.setRowCount(maxNode / 10 + 2);
    auto set = [&grid](int row, int column, const QString &text) {
        auto *item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        if (row == 0 || column == 0)
            item->setBackground(grid.palette().button());
        grid.setItem(row, column, item);
    };
    set(0, 0, QString());
    for (int c = 1; c <= 10; ++c)
        set(0, c, QString::number(c - 1));
    for (int row = 1; row < grid.rowCount(); ++row) {
        const int base = (row - 1) * 10;
        set(row, 0, QString::number(base));
        for (int c = 1; c <= 10; ++c) {
            const int n = base + c - 1;
            set(row, c, n >= 1 && n <= MaxItems ? texts[static_cast<std::size_t>(n)] : QString());
        }
    }
    WidenColumnsToContents(grid);
}

TfrmPres::TfrmPres(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPres"));
    setWindowTitle(QStringLiteral("Давление в узлах, ДаПа"));
    StringGrid2 = new QTableWidget(this);
    StringGrid2->setObjectName(QStringLiteral("StringGrid2"));
    StringGrid2->setColumnCount(11);
    StringGrid2->horizontalHeader()->hide();
    StringGrid2->verticalHeader()->hide();
    StringGrid2->verticalHeader()->setDefaultSectionSize(18);
    StringGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < 11; ++c)
        StringGrid2->setColumnWidth(c, PressureColumnWidths[c]);
    bbtPrn = new QPushButton(QStringLiteral("Печать..."), this);
    bbtPrn->setObjectName(QStringLiteral("bbtPrn"));
    btnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(bbtPrn, &QPushButton::clicked, this,
            [this] { GuardedCall([this] { PreviewNetworkTemplate(this, NodeCrossTableTemplate); }); });

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(bbtPrn);
    bottom->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid2, 1);
    layout->addLayout(bottom);
    FillPressureTable();
    int width = 0;
    for (int c = 0; c < 11; ++c)
        width += StringGrid2->columnWidth(c);
    resize(width + 40, 480);
}

void TfrmPres::FillPressureTable()
{
    TTraversalWorkArrays &w = TraversalWorkArrays;
    w.BuildAdjacency();
    BuildFlowLayers(w);
    PropagatePressures(w);
    FillNodeCrossGrid(*StringGrid2, PressureCellTexts(w), w.MaxNode);
    ExtractPressures(w);
    w.ReleaseAdjacency();
}

bool RunNodePressures(QWidget *owner, TNetworkTables &t)
{
    if (!CalcAir(owner, t))
        return false;
    TraversalWorkArrays.TakeSnapshot(t);
    TfrmPres form(owner);
    return form.exec() == QDialog::Accepted;
}
