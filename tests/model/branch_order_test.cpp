// The report order of branch lists.
#include "model/branch_order.h"

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
