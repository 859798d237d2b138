// The depressiogram's route through a longwall: which branches it takes on
// each side, the points of its curves and the refusals.
#include "calc/depressiogram.h"

#include "four_branches.h"
#include "calc/solver.h"
#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DepressiogramTest : public ::testing::Test
{
protected:
    DepressiogramTest()
    {
        MakeFourBranches(t);
        for (int b = 1; b <= 4; ++b)
            t.BranchLength[b] = 100;
        t.BranchType[2] = 7;
    }
    std::unique_ptr<TDepressiogram> Open()
    {
        EXPECT_EQ(CalcTablesAir(t), crSolved);
        auto d = std::make_unique<TDepressiogram>(t);
        d->FillLongwallList();
        return d;
    }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
};

} // namespace

TEST_F(DepressiogramTest, RouteRunsFromTheSurfaceThroughTheLongwallAndBack)
{
    auto d = Open();
    ASSERT_EQ(d->LongwallItems, QStringList{QStringLiteral("%1  (№ 2)").arg(GetBranchName(t, 2))});
    EXPECT_TRUE(d->Choose(0).isEmpty());
    EXPECT_EQ(d->RouteBranches, (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(d->FreshRows, 2);
    EXPECT_EQ(d->RowKind(0), rkFresh);
    EXPECT_EQ(d->RowKind(1), rkLongwall);
    EXPECT_EQ(d->RowKind(2), rkOutgoing);
    EXPECT_EQ(d->RouteRow(0)[9], "Свежая");
    EXPECT_EQ(d->RouteRow(2)[9], "Исходящая");
    EXPECT_EQ(d->RouteRow(1).mid(2, 2), (QStringList{"2", "3"}));
    EXPECT_EQ(d->RouteRow(1)[6], FormatFixed(0.05 * t.BranchQ[2] * t.BranchQ[2], 1));
    EXPECT_EQ(d->Caption, QStringLiteral("Депрессиограмма через %1 ( N 2)").arg(GetBranchName(t, 2)));

    // Fresh: the surface, the node before the longwall, the longwall's end.
    ASSERT_EQ(d->Fresh.size(), 3u);
    EXPECT_EQ(d->Fresh[0].Label, "1");
    EXPECT_EQ(d->Fresh[2].Label, "3");
    EXPECT_NEAR(d->Fresh[2].X, 0.2, 1e-12);
    ASSERT_EQ(d->Whole.size(), 4u);
    EXPECT_EQ(d->Whole[1].Label, "Лава");
    EXPECT_EQ(d->Whole[2].Label, "Лава");
    EXPECT_EQ(d->Whole[3].Label, "4");
    EXPECT_NEAR(d->Whole.back().X, 0.3, 1e-12);
    EXPECT_NEAR(d->Whole.back().Y, 200, 0.5);
    ASSERT_EQ(d->Outgoing.size(), 2u);
    EXPECT_EQ(d->Outgoing[0].X, 0);
    EXPECT_EQ(d->Outgoing[0].Y, d->FreshDepression);
    EXPECT_EQ(d->OutgoingItems[0], QStringLiteral("%1 (N 2)").arg(GetBranchName(t, 2)));

    // Choosing again gives the same route, not a longer one.
    d->Choose(0);
    EXPECT_EQ(d->RouteBranches, (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(d->Whole.size(), 4u);

    QString v;
    EXPECT_TRUE(d->ReportValue(3, "Номер", "", v));
    EXPECT_EQ(v, "    4");
    EXPECT_FALSE(d->ReportValue(4, "Номер", "", v));
}

TEST_F(DepressiogramTest, RefusalsAreTold)
{
    // Fed only through a development face: no fresh route, the outgoing one stands.
    t.BranchType[1] = 10;
    auto d = Open();
    EXPECT_EQ(d->Choose(0), QStringList{"Не найден путь на свежей !..."});
    EXPECT_EQ(d->Outgoing.size(), 2u);

    t.BranchType[2] = 0;
    d = Open();
    EXPECT_TRUE(d->Longwalls.empty());

    EXPECT_EQ(BranchesWithoutLength(t), 0);
    t.BranchLength[3] = 0;
    t.BranchLength[1] = 0;
    t.BranchType[1] = 20;  // a connection needs no length
    EXPECT_EQ(BranchesWithoutLength(t), 1);
    EXPECT_EQ(NoLengthMessage(1), "Не задана длина 1 ветвей!!!\r\rПоэтому задание СНИМАЕТСЯ...");
}

TEST_F(DepressiogramTest, AWalkThatNeverReachesTheSurfaceIsIncomplete)
{
    // The outgoing air leaves node 3 only through a duct to the surface.
    t.BranchType[4] = 21;
    auto d = Open();
    EXPECT_EQ(d->Choose(0), QStringList{"Не найден путь на исходящей !..."});
    t.BranchType[4] = 0;
    t.NodeIsSurface[1] = 0;
    CreateNode(t, 5);
    t.NodeIsSurface[5] = 1;
    CreateBranch(t, 5);
    t.BranchStartNode[5] = 5;
    t.BranchEndNode[5] = 1;
    t.BranchR[5] = 0.01;
    t.BranchLength[5] = 100;
    t.BranchType[5] = 1;  // a leakage is no part of the route
    d = Open();
    EXPECT_EQ(d->Choose(0), QStringList{"Не найден узел поверхности на свежей !..."});
}

TEST_F(DepressiogramTest, AWeakerWayStraightFromTheSurfaceDoesNotEndTheRoute)
{
    // Node 2 gets a little air straight from the surface at 1 (branch 6, met
    // first at the node) and most through node 5 (branch 5, fed by branch 1
    // from the surface at 6).
    CreateNode(t, 5);
    CreateNode(t, 6);
    t.NodeIsSurface[6] = 1;
    const auto branch = [&](int b, int from, int to, double r) {
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchR[b] = r;
        t.BranchLength[b] = 100;
    };
    branch(1, 6, 5, 0.01);
    branch(5, 5, 2, 0.01);
    branch(6, 1, 2, 1);
    auto d = Open();
    ASSERT_GT(t.BranchQ[5], t.BranchQ[6]);
    EXPECT_TRUE(d->Choose(0).isEmpty());
    EXPECT_EQ(std::vector<int>(d->RouteBranches.begin(), d->RouteBranches.begin() + d->FreshRows),
              (std::vector<int>{1, 5, 2}));
    EXPECT_EQ(d->Fresh.front().Label, "6");
}
