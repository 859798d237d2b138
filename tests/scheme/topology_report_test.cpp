#include "scheme/topology_report.h"

#include "scheme_test_network.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Surface nodes 1 and 2; node 3 with three branches entering and two
// leaving; node 4 a dead end; node 9 free.
struct TopologyReport : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *Tables;

    void SetUp() override
    {
        for (int n : {1, 2, 3, 5, 6})
            AddTestNode(t, n, n * 10, 0);
        t.NodeIsSurface[1] = t.NodeIsSurface[2] = 1;
        AddTestBranch(t, 1, 1, 3);
        AddTestBranch(t, 2, 1, 3);
        AddTestBranch(t, 3, 5, 3);
        AddTestBranch(t, 4, 3, 2);
        AddTestBranch(t, 5, 3, 6);
        AddTestBranch(t, 6, 6, 2);
        AddTestBranch(t, 7, 1, 5);
        t.BranchName[4] = QStringLiteral("Ствол");
    }
};

TEST_F(TopologyReport, PagesListTheFindingsByKind)
{
    AddTestNode(t, 4, 40, 0);
    AddTestBranch(t, 8, 4, 6);
    AddTestNode(t, 9, 90, 70);
    t.NodeAltitude[9] = -12.5;
    TTopologyReport report(t);
    report.ShowTopologyPage(-1);
    EXPECT_EQ(report.ActivePage, tpDeadEnds);
    ASSERT_EQ(report.Rows.size(), 1u);
    EXPECT_EQ(report.Rows[0], (QStringList{QStringLiteral("4"), QStringLiteral("8"), t.BranchName[8]}));
    EXPECT_EQ(report.PageVisible, (std::array<bool, 5>{true, false, true, true, true}));

    report.PageChanging();
    report.PageChange(tpManyBranches);
    ASSERT_EQ(report.Rows.size(), 5u);
    int entering = 0;
    for (const QStringList &row : report.Rows) {
        EXPECT_EQ(row[0], QStringLiteral("3"));
        entering += row[3] == QStringLiteral("входит");
        EXPECT_TRUE(row[3] == QStringLiteral("входит") || row[3] == QStringLiteral("выходит"));
    }
    EXPECT_EQ(entering, 3);

    report.PageChange(tpFreeNodes);
    ASSERT_EQ(report.Rows.size(), 1u);
    EXPECT_EQ(report.Rows[0], (QStringList{QStringLiteral("9"), QStringLiteral("-12,5"), QStringLiteral("90"),
                                           QStringLiteral("70")}));
    report.SelectRow(0);
    EXPECT_EQ(report.SelNode, 9);
    EXPECT_EQ(report.SelBranch, 0);
}

TEST_F(TopologyReport, ANetworkWithoutFaultsHidesEveryPage)
{
    AddTestBranch(t, 8, 5, 6);  // node 3 keeps its five branches: that page only
    DestroyBranch(t, 2);
    TTopologyReport report(t);
    report.ShowTopologyPage(-1);
    EXPECT_EQ(report.ActivePage, -1);
    EXPECT_TRUE(report.Rows.empty());
    for (int page = 0; page < TopologyPageCount; ++page)
        EXPECT_FALSE(report.PageVisible[page]) << page;
}

TEST_F(TopologyReport, FixingTheOnlyFaultKeepsItsPageAndForgetsTheSelection)
{
    AddTestNode(t, 4, 40, 0);
    AddTestBranch(t, 8, 6, 4);  // node 4: a dead end that only takes air in
    TTopologyReport report(t);
    report.ShowTopologyPage(-1);
    report.PageChange(tpOnlyEntering);
    ASSERT_EQ(report.Rows.size(), 1u);
    report.SelectRow(0);
    EXPECT_EQ(report.SelNode, 4);
    EXPECT_EQ(report.SelBranch, 8);

    // The node made a surface node in its dialog: no fault is left.
    t.NodeIsSurface[4] = 1;
    report.ShowTopologyPage(report.ActivePage);
    EXPECT_EQ(report.ActivePage, tpOnlyEntering);
    EXPECT_TRUE(report.PageVisible[tpOnlyEntering]);
    EXPECT_FALSE(report.PageEnabled[tpOnlyEntering]);
    EXPECT_FALSE(report.PageVisible[tpDeadEnds]);
    EXPECT_TRUE(report.Rows.empty());
    EXPECT_EQ(report.SelNode, 0);
    EXPECT_EQ(report.SelBranch, 0);
}

} // namespace
