// The record sources and values that the report managers over the network share.
#include "calc/network_report.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::vector<int> Walk(TfrDataset &ds, const int &current)
{
    std::vector<int> seen;
    for (ds.First(); !ds.Eof() && seen.size() < 100; ds.Next())
        seen.push_back(current);
    return seen;
}

} // namespace

TEST(NetworkReportSources, NodesBranchesAndTheCrossTable)
{
    auto tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    ClearAllItems(t);
    for (int n = 2; n <= 23; ++n)
        CreateNode(t, n);
    DestroyNode(t, 5);
    for (const int b : {2, 3, 7}) {
        CreateBranch(t, b);
        t.BranchStartNode[b] = 2;
        t.BranchEndNode[b] = static_cast<std::int16_t>(b + 10);
    }
    t.NodeIsSurface[4] = 1;
    TNetworkReportSources s(t);

    std::vector<int> nodes = Walk(s.udNodeSource, s.CurrentNode);
    ASSERT_EQ(nodes.size(), 21u);
    EXPECT_EQ(nodes.front(), 2); // no record of the missing node 1
    EXPECT_EQ(std::count(nodes.begin(), nodes.end(), 5), 0);
    EXPECT_EQ(Walk(s.udBranchSource, s.CurrentBranch), (std::vector<int>{2, 3, 7}));

    // Ten nodes a row: the cell of node n stands in row n div 10, column n mod 10.
    std::vector<std::vector<int>> rows;
    for (s.udNodeCrossTabRows.First(); !s.udNodeCrossTabRows.Eof() && rows.size() < 10; s.udNodeCrossTabRows.Next())
        rows.push_back(Walk(s.udNodeCrossTabColumns, s.CurrentNode));
    ASSERT_EQ(rows.size(), 3u);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 10; ++c)
            EXPECT_EQ(rows[r][c], 10 * r + c);

    Variant v;
    s.CurrentNode = 4;
    s.CurrentBranch = 7;
    ASSERT_TRUE(s.GetValue(QStringLiteral("УзПоверхн"), v));
    EXPECT_EQ(v.ToString(), QStringLiteral("Да"));
    ASSERT_TRUE(s.GetValue(QStringLiteral("КодВетви"), v));
    EXPECT_EQ(v.ToString(), QStringLiteral("2-17"));
    s.CurrentNode = 5;
    s.NodePressures[5] = 12;
    ASSERT_TRUE(s.GetValue(QStringLiteral("ДавленУзл"), v));
    EXPECT_EQ(v.ToDouble(), 0.0); // a missing node has no pressure
    EXPECT_FALSE(s.GetValue(QStringLiteral("Нечто"), v));
}
