// Branch list columns and the report order of branch lists.
#include "shell/branch_list.h"

#include <gtest/gtest.h>

#include <memory>

TEST(RectPrn, KeysOrderByStartThenEndNode)
{
    auto t = std::make_unique<TNetworkTables>();
    const struct
    {
        int Branch, Start, End;
    } branches[] = {{1, 12, 8}, {2, 12, 7}, {3, 11, 4999}, {4, 12, 7}};
    TRectPrnList list;
    for (const auto &b : branches) {
        t->BranchStartNode[b.Branch] = static_cast<std::int16_t>(b.Start);
        t->BranchEndNode[b.Branch] = static_cast<std::int16_t>(b.End);
        AddRectPrn(*t, b.Branch, list);
    }
    EXPECT_EQ(list[1].Key, 60007);
    EXPECT_EQ(list[0].Key, 60008);
    EXPECT_EQ(list[2].Key, 59999);
    EXPECT_EQ(CompareRectPrnByNodes(list[1], list[0]), -1);
    EXPECT_EQ(CompareRectPrnByNodes(list[1], list[3]), 0);
    EXPECT_EQ(CompareRectPrnByNodes(list[1], list[2]), 1);
    EXPECT_EQ(CompareRectPrnByNumber(list[1], list[0]), 1);

    TRectPrnList byNumber = list;
    SortRectPrnForReport(byNumber, 0);
    EXPECT_EQ(byNumber[0].Branch, 1);
    EXPECT_EQ(byNumber[3].Branch, 4);
    SortRectPrnForReport(list, 1);
    EXPECT_EQ(list[0].Branch, 3);
    EXPECT_EQ(list[3].Branch, 1);
}

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
