// Node pressures from the surface along the flows, their cross-table texts,
// and the report manager's sources and values over the network.
#include "calc/node_pressures.h"
#include "calc/report_manager.h"
#include "four_branches.h"
#include "platform/prompt.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<TNetworkTables> FourBranches()
{
    auto t = std::make_unique<TNetworkTables>();
    MakeFourBranches(*t);
    return t;
}

} // namespace

TEST(NodePressures, FollowTheFlowsFromTheSurface)
{
    auto t = FourBranches();
    std::vector<double> p(TableSize, -7.0);
    ASSERT_TRUE(ComputeNodePressures(*t, p));
    EXPECT_NEAR(p[2], -47.06, 0.01);
    EXPECT_NEAR(p[3], -105.88, 0.01);
    EXPECT_EQ(p[1], 0.0);
    EXPECT_EQ(p[4], 0.0);
    EXPECT_EQ(p[5], 0.0); // above the highest node
}

TEST(NodePressures, AFailedSolveLeavesTheCallersArray)
{
    TScriptedPrompt prompt;
    auto t = FourBranches();
    // A dead end does not solve.
    CreateNode(*t, 5);
    CreateBranch(*t, 5);
    t->BranchStartNode[5] = 2;
    t->BranchEndNode[5] = 5;
    t->BranchR[5] = 0.1;
    std::vector<double> p(TableSize, -7.0);
    EXPECT_FALSE(ComputeNodePressures(*t, p));
    EXPECT_FALSE(prompt.Asked.empty());
    EXPECT_EQ(p[2], -7.0);
    EXPECT_EQ(p.size(), std::size_t(TableSize));
}

TEST(NodePressures, UnreachedAndDetachedNodesAndAnIntakeFan)
{
    auto t = FourBranches();
    ASSERT_EQ(CalcTablesAir(*t), crSolved);
    // Air from node 5 to node 6 that nothing brings to node 5; node 7 has no branch.
    for (int n : {5, 6, 7})
        CreateNode(*t, n);
    CreateBranch(*t, 5);
    t->BranchStartNode[5] = 5;
    t->BranchEndNode[5] = 6;
    t->BranchR[5] = 0.1;
    t->BranchQ[5] = 3;
    std::vector<double> p;
    NodePressuresOfSolved(*t, p);
    EXPECT_EQ(p[5], 0.0);
    EXPECT_EQ(p[6], 0.0);
    EXPECT_EQ(p[7], DetachedNodePressure);

    // A fan on a branch drawn towards the surface whose negative H drives the
    // air from the surface into the mine raises its node by |H|.
    auto f = FourBranches();
    f->BranchAuxDepression[4] = 0;
    std::swap(f->BranchStartNode[1], f->BranchEndNode[1]);
    f->BranchAuxDepression[1] = -200;
    ASSERT_EQ(CalcTablesAir(*f), crSolved);
    NodePressuresOfSolved(*f, p);
    const double q = f->BranchQ[1];
    ASSERT_LT(q, 0.0);
    EXPECT_NEAR(p[2], 200 - 0.01 * q * q, 1e-9);
}

TEST(NodePressures, EachSurfaceNodeIsQueuedOnce)
{
    // A surface node with far more branch ends than the queue has places.
    auto t = std::make_unique<TNetworkTables>();
    ClearAllItems(*t);
    CreateNode(*t, 1);
    CreateNode(*t, 2);
    t->NodeIsSurface[1] = t->NodeIsSurface[2] = 1;
    for (int b = 1; b <= MaxItems; ++b) {
        CreateBranch(*t, b);
        t->BranchStartNode[b] = 1;
        t->BranchEndNode[b] = 2;
        t->BranchQ[b] = 1;
    }
    TTraversalWorkArrays &w = TraversalWorkArrays;
    w.TakeSnapshot(*t);
    w.BuildAdjacency();
    BuildFlowLayers(w);
    EXPECT_EQ(w.QueueCount, 2);
    EXPECT_EQ(w.LayerCount, 1);
    w.ReleaseAdjacency();
}

TEST(NodeCrossTexts, PressuresAndAltitudes)
{
    auto t = FourBranches();
    CreateNode(*t, 12); // no branch: no pressure text
    ASSERT_EQ(CalcTablesAir(*t), crSolved);
    TTraversalWorkArrays &w = TraversalWorkArrays;
    w.TakeSnapshot(*t);
    w.BuildAdjacency();
    BuildFlowLayers(w);
    PropagatePressures(w);
    const std::vector<QString> p = PressureCellTexts(w);
    w.ReleaseAdjacency();
    EXPECT_EQ(p[1], QStringLiteral("0.0"));
    EXPECT_EQ(p[2], QStringLiteral("-47,1"));
    EXPECT_EQ(p[12], QString());

    t->NodeAltitude[2] = 10000;
    t->NodeAltitude[3] = -312.75;
    DestroyNode(*t, 4);
    const std::vector<QString> a = AltitudeCellTexts(*t);
    EXPECT_EQ(a[2], QStringLiteral(" ?"));
    EXPECT_EQ(a[3], QStringLiteral("-312,8"));
    EXPECT_EQ(a[4], QString());
}

TEST(ReportManagerData, BranchListCategoriesAndValues)
{
    auto t = FourBranches();
    t->BranchType[2] = 7;  // longwall
    t->BranchType[3] = 3;  // an internal leak
    t->BranchQ[3] = 5;
    t->BranchStartNode[4] = 12;
    CreateNode(*t, 12);
    CreateNode(*t, 40);
    t->BranchEndNode[4] = 40;
    TReportManagerData d(*t);
    EXPECT_EQ(d.Sources.Branches, (std::vector<int>{1, 2, 3, 4}));

    // A category source gives one record listing its branches, then leaves the list empty.
    TfrDataset &leaks = d.CategorySources[5].Dataset;
    ASSERT_EQ(leaks.Name, QStringLiteral("udVnutrUt"));
    int records = 0;
    for (leaks.First(); !leaks.Eof(); leaks.Next()) {
        ++records;
        EXPECT_EQ(d.Sources.Branches, std::vector<int>{3});
    }
    EXPECT_EQ(records, 1);
    EXPECT_TRUE(d.Sources.Branches.empty());
    EXPECT_EQ(d.SelectReportCategory(7), 1);

    QString text;
    d.Sources.CurrentBranch = 4;
    Variant v;
    ASSERT_TRUE(d.GetValue(QStringLiteral("КодВетви"), v));
    EXPECT_EQ(v.ToString(), QStringLiteral("12-40"));
    ASSERT_TRUE(d.UserFunction(QStringLiteral("QВнутрУт"), text));
    EXPECT_EQ(text, QStringLiteral("5,00"));

    t->BranchR[4] = 0;
    ASSERT_TRUE(d.UserFunction(QStringLiteral("РезервВетви"), text));
    EXPECT_EQ(text, QString());
    t->BranchR[4] = 0.01;
    t->BranchQ[4] = 10;
    t->BranchAuxDepression[4] = 0;
    ASSERT_TRUE(d.UserFunction(QStringLiteral("РезервВетви"), text));
    EXPECT_EQ(text, QStringLiteral("4,14")); // sqrt((1 + 1) / 0.01) - 10

    v = 17;
    EXPECT_FALSE(d.GetValue(QStringLiteral("НетТакого"), v));
    EXPECT_EQ(v.ToString(), QStringLiteral("17"));
    text = QStringLiteral("x");
    EXPECT_FALSE(d.UserFunction(QStringLiteral("НетТакой"), text));
    EXPECT_EQ(text, QStringLiteral("x"));
}
