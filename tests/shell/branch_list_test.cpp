// Branch list columns.
#include "shell/branch_list.h"

#include <gtest/gtest.h>

#include <memory>

TEST(BranchColumns, CaptionsAndCells)
{
    auto holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    ClearAllItems(t);
    CreateNode(t, 2);
    CreateNode(t, 5);
    CreateBranch(t, 9);
    t.BranchStartNode[9] = 2;
    t.BranchEndNode[9] = 5;
    t.BranchType[9] = 7;
    t.BranchQ[9] = 12.5;
    t.BranchPeople[9] = 4;
    t.BranchIsFresh[9] = 1;
    t.BranchPLAPosition[9] = 17;
    SetBranchName(t, 9, QStringLiteral("Лава 1"));

    const struct
    {
        int Column;
        const char *Caption, *Cell;
    } cases[] = {
        {0, "Ветвь №, название", "(9). Лава 1"}, {1, "Тип", "Лава"}, {2, "Нач. уз.", "2"},
        {3, "Кон. уз.", "5"}, {8, "Расход", "12,50"}, {13, "Людей", "4"}, {14, "Свежая", "+"},
        {15, "Поз. ПЛА", "17"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(BranchColumnCaption(c.Column), QString::fromUtf8(c.Caption));
        EXPECT_EQ(BranchColumnText(t, c.Column, 9), QString::fromUtf8(c.Cell)) << c.Column;
    }
    EXPECT_EQ(BranchColumnAlignment(0), caLeft);
    EXPECT_EQ(BranchColumnAlignment(1), caCentre);
    EXPECT_EQ(BranchColumnAlignment(5), caRight);

    t.BranchIsFresh[9] = 0;
    t.BranchName[9].clear();
    EXPECT_EQ(BranchColumnText(t, 14, 9), "-");
    EXPECT_EQ(BranchColumnText(t, 0, 9), " >>> Эта ветвь без названия? <<<");
}
