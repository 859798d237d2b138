// Filling a report-style list of branches.
#include "scheme/ui/branch_list_view.h"

#include <QtWidgets/QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

struct ThreeBranches
{
    ThreeBranches()
    {
        ClearAllItems(t);
        for (int b : {2, 4, 6}) {
            CreateNode(t, b);
            CreateNode(t, b + 1);
            CreateBranch(t, b);
            t.BranchStartNode[b] = static_cast<std::int16_t>(b);
            t.BranchEndNode[b] = static_cast<std::int16_t>(b + 1);
            SetBranchName(t, b, QStringLiteral("В%1").arg(b));
        }
    }
    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
};

} // namespace

TEST(FillBranchList, ListsAcceptedBranchesInTheSetsColumns)
{
    ThreeBranches net;
    QTreeWidget view;
    // Number and name, start node, flow.
    const int n = FillBranchList(&view, [](int b) { return b != 4; }, 0x0001 | 0x0004 | 0x0100, net.t);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(view.columnCount(), 3);
    EXPECT_EQ(view.headerItem()->text(1), "Нач. уз.");
    ASSERT_EQ(view.topLevelItemCount(), 2);
    EXPECT_EQ(view.topLevelItem(0)->text(0), "(2). В2");
    EXPECT_EQ(view.topLevelItem(1)->text(1), "6");
    EXPECT_EQ(view.topLevelItem(1)->text(2), "0,00");
}

TEST(FillBranchList, EmptySetAndSetWithoutNames)
{
    ThreeBranches net;
    QTreeWidget view;
    EXPECT_EQ(FillBranchList(&view, [](int) { return true; }, 0, net.t), 0);
    EXPECT_EQ(view.topLevelItemCount(), 0);

    // Without the name column every cell stays under its own caption.
    EXPECT_EQ(FillBranchList(&view, [](int) { return true; }, 0x0004 | 0x0008, net.t), 3);
    EXPECT_EQ(view.headerItem()->text(0), "Нач. уз.");
    EXPECT_EQ(view.topLevelItem(0)->text(0), "2");
    EXPECT_EQ(view.topLevelItem(0)->text(1), "3");
}
