// The fire model on networks that the solver solves.
#include "emergency/fire_detection.h"
#include "emergency/gas_zone.h"
#include "small_network.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A small mine: an intake shaft, a longwall and a development face in
// parallel with a bypass, and a return shaft with the main fan.
//   1: 1→2 intake shaft      2: 2→3 longwall        3: 3→5
//   4: 2→4 development face  5: 4→5                 6: 5→6 return shaft, fan
//   7: 2→5 bypass
struct TMine : TSmallNetwork
{
    TMine()
    {
        Node(1, true, 0);
        Node(2, false, -200);
        Node(3, false, -180);
        Node(4, false, -200);
        Node(5, false, -190);
        Node(6, true, 0);
        Branch(1, 1, 2, 0, 0.005);
        Branch(2, 2, 3, 0, 0.05);
        Branch(3, 3, 5, 0, 0.02);
        Branch(4, 2, 4, 0, 0.08);
        Branch(5, 4, 5, 0, 0.02);
        Branch(6, 5, 6, 0, 0.005, 150);
        Branch(7, 2, 5, 0, 0.1);
        t.BranchType[2] = btLongwall;
        t.BranchType[4] = btDevelopmentFace;
        for (int b = 1; b <= 7; ++b)
            t.BranchIsFresh[b] = 1;
    }
};

// Intake 1→2, the fire branch A (2→3) beside a parallel branch B (2→3) of
// resistance rb, and the return 3→4 with a fan.
struct TParallel : TSmallNetwork
{
    static constexpr int A = 2;
    static constexpr int B = 3;
    explicit TParallel(double rb, double rise)
    {
        Node(1, true, 0);
        Node(2, false, -300);
        Node(3, false, -300 + rise);
        Node(4, true, 0);
        Branch(1, 1, 2, 0, 0.01);
        Branch(A, 2, 3, 0, 0.05);
        Branch(B, 2, 3, 0, rb);
        Branch(4, 3, 4, 0, 0.01, 100);
        t.BranchLength[A] = 200;
    }
};

std::vector<int> Exhaust(const TNetworkTables &t)
{
    std::vector<int> list;
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        if (BranchExist(t, b) && t.BranchIsFresh[b] == 0)
            list.push_back(b);
    return list;
}

} // namespace

TEST(FreshAir, FlagsForEachChoiceOfSources)
{
    struct Case { TGasSourceTypeSet set; std::vector<int> exhaust; };
    const Case cases[] = {
        {TypeBit(btLongwall), {2, 3, 6}},
        {TypeBit(btDevelopmentFace), {4, 5, 6}},
        {TypeBit(btLongwall) | TypeBit(btDevelopmentFace), {2, 3, 4, 5, 6}},
        {0, {}},
    };
    EXPECT_EQ(TypeBit(btLongwall) | TypeBit(btDevelopmentFace), 1152u);
    for (const Case &c : cases) {
        TMine mine;
        std::vector<int> changed;
        ASSERT_EQ(GasSourceZone(mine.t, c.set, TableArrays(mine.t), changed), crSolved);
        EXPECT_EQ(Exhaust(mine.t), c.exhaust) << c.set;
        EXPECT_EQ(changed, c.exhaust) << c.set; // every branch started fresh
        EXPECT_GT(mine.t.BranchQ[2], 0);         // the flows were solved on the tables
    }
}

TEST(FreshAir, OnlyChangedFlagsAreReported)
{
    TMine mine;
    std::vector<int> changed;
    GasSourceZone(mine.t, TypeBit(btLongwall), TableArrays(mine.t), changed);
    GasSourceZone(mine.t, TypeBit(btDevelopmentFace), TableArrays(mine.t), changed);
    // The longwall's branches are fresh again; the return shaft stays exhaust unreported.
    EXPECT_EQ(changed, (std::vector<int>{2, 3, 4, 5}));
    EXPECT_EQ(Exhaust(mine.t), (std::vector<int>{4, 5, 6}));
}

TEST(FreshAir, FailedSolveChangesNothing)
{
    TMine mine;
    mine.t.BranchIsFresh[2] = 0;
    mine.t.NodeIsSurface[6] = 0;
    std::vector<int> changed{99};
    EXPECT_EQ(GasSourceZone(mine.t, TypeBit(btDevelopmentFace), TableArrays(mine.t), changed), crNoSurfaceLink);
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(Exhaust(mine.t), (std::vector<int>{2}));
}

TEST(FreshAir, ExhaustColouring)
{
    TMine mine;
    std::vector<int> changed;
    GasSourceZone(mine.t, TypeBit(btLongwall), TableArrays(mine.t), changed);
    TSchemeColors palette{};
    for (int i = 0; i < SchemeColorCount; ++i)
        palette[i] = 100 + i;
    TBranchColors colors{};
    colors.fill(1);
    ShowGasSourceZone(colors, palette, mine.t, TypeBit(btLongwall));
    EXPECT_EQ(colors[1], 1);
    EXPECT_EQ(colors[2], palette[sciFire]);
    EXPECT_EQ(colors[3], palette[sciRouteInSmoke]);
    EXPECT_EQ(colors[4], 1);
    EXPECT_EQ(colors[6], palette[sciRouteInSmoke]);
}

TEST(Reversal, FireBesideAnOpenParallelReversesSoon)
{
    // With B nearly free of resistance, little depression is left across the closed A.
    TParallel net(0.001, 100);
    ASSERT_TRUE(CalcAir(nullptr, net.t)); // the series needs the normal flow
    int minute = 0;
    double hcr = 0;
    TFireSeries series;
    ASSERT_TRUE(CalcUpsetTime(net.t, TParallel::A, TableArrays(net.t), {}, minute, hcr, series));
    ASSERT_GE(minute, 1);
    EXPECT_DOUBLE_EQ(hcr, series[minute]);
    EXPECT_DOUBLE_EQ(net.t.BranchR[TParallel::A], 0.05);
    const double critical = 999 * net.t.BranchQ[TParallel::A] * net.t.BranchQ[TParallel::A];
    EXPECT_GE(std::fabs(series[minute]), critical);
    if (minute > 1) {
        EXPECT_LT(std::fabs(series[minute - 1]), critical);
    }
}

TEST(Reversal, HorizontalFireNeverReverses)
{
    TParallel net(0.001, 0);
    ASSERT_TRUE(CalcAir(nullptr, net.t));
    int minute = 42;
    double hcr = 0;
    TFireSeries series;
    EXPECT_FALSE(CalcUpsetTime(net.t, TParallel::A, TableArrays(net.t), {}, minute, hcr, series));
    EXPECT_EQ(minute, 42);
    EXPECT_GT(hcr, 0);
    EXPECT_DOUBLE_EQ(hcr, 999 * net.t.BranchQ[TParallel::A] * net.t.BranchQ[TParallel::A]);
    EXPECT_DOUBLE_EQ(net.t.BranchR[TParallel::A], 0.05);

    int count = -1;
    double hmax = -1;
    EXPECT_FALSE(CalcUpsetTimeEx(net.t, TParallel::A, TableArrays(net.t), {}, count, minute, hmax, hcr));
    EXPECT_EQ(minute, 0);
    EXPECT_EQ(count, DefaultFireTime);
    EXPECT_DOUBLE_EQ(hmax, 0);
}

TEST(Reversal, ResistanceIsRestoredWhenTheSolveFails)
{
    TParallel net(0.001, 100);
    net.t.NodeIsSurface[4] = 0;
    int minute = 0;
    double hcr = 0;
    TFireSeries series;
    CalcUpsetTime(net.t, TParallel::A, TableArrays(net.t), {}, minute, hcr, series);
    EXPECT_DOUBLE_EQ(net.t.BranchR[TParallel::A], 0.05);
}

TEST(Reversal, DescendingFireTurnsTheSmokeBack)
{
    // A runs from node 2 at -300 m down to node 3 at -400 m: descending ventilation.
    TParallel net(0.001, -100);
    const double normalH = net.t.BranchAuxDepression[TParallel::A];
    ASSERT_TRUE(CalcAir(nullptr, net.t));
    ASSERT_EQ(VentType(200, -300, -400, net.t.BranchQ[TParallel::A]), vtDescending);

    int count = 0, minute = 0;
    double hrev = 0;
    TZoneEntryList zone;
    ZoneAfterUpset(net.t, TParallel::A, vtDescending, TableArrays(net.t), {}, count, minute, hrev, zone);
    ASSERT_GE(minute, 1);
    EXPECT_EQ(count, DefaultFireTime);
    EXPECT_NE(hrev, 0);
    EXPECT_LT(net.t.BranchAuxDepression[TParallel::A], normalH); // against the flow
    EXPECT_LT(net.t.BranchQ[TParallel::A], 0);                    // reversed
    // The smoke now leaves A at node 2 and runs on through B and the return.
    EXPECT_EQ(ZoneBranches(zone), (TGasZoneList{TParallel::A, TParallel::B, 4}));
}

TEST(Reversal, ZoneUnderTheFlowsAsTheyAre)
{
    TMine mine;
    ASSERT_TRUE(CalcAir(nullptr, mine.t));
    const TTable<double> before = mine.t.BranchQ;
    int count = -1, minute = -1;
    double hrev = -1;
    TZoneEntryList zone;
    ZoneAfterUpset(mine.t, 2, 0, TableArrays(mine.t), {}, count, minute, hrev, zone);
    EXPECT_EQ(zone, (TZoneEntryList{2, 3, 6}));
    EXPECT_EQ(minute, 0);
    EXPECT_EQ(hrev, 0);
    EXPECT_EQ(mine.t.BranchQ, before);
}

TEST(Detection, RulesOnHandMadeFlows)
{
    // Fire in 1 (1→2); the smoke reaches node 4 by 2→4 directly and by 2→3→4.
    TSmallNetwork net;
    net.Node(5, true);
    net.Branch(1, 1, 2, 5);  // 100 m × 10 m² / 5 m³/s = 200 s
    net.Branch(2, 2, 4, 1);  // 1000 s
    net.Branch(3, 2, 3, 4);  // 250 s
    net.Branch(4, 3, 4, 4);  // 250 s
    net.Branch(5, 4, 5, 5);  // 200 s
    TZoneWalker walker(net.t);
    TSmokeItems items;

    // Nobody in the zone and no main fan: no detection.
    TraceSmoke(walker, net.t, 1, net.t.BranchQ, items);
    EXPECT_EQ(EarliestDetection(net.t, items), (TDetectionRecord{1, 200, 0, 0, 0}));

    // The two paths into node 4: the shorter (200 + 250 + 250 s) is kept.
    TZoneEntryList zone;
    walker.GasZone(1, net.t.BranchQ, zone);
    std::vector<double> times;
    SmokeTimes(net.t, net.t.BranchQ, zone, times);
    TNodeArrivals arrivals;
    NodeArrivalTimes(net.t, net.t.BranchQ, zone, times, arrivals);
    EXPECT_DOUBLE_EQ(arrivals[4].Time, 700);
    EXPECT_EQ(arrivals[4].Branch, 4);

    // The main fan in the return detects, upstream of it the node's earliest time.
    net.t.BranchType[5] = btMainFan;
    TraceSmoke(walker, net.t, 1, net.t.BranchQ, items);
    EXPECT_EQ(EarliestDetection(net.t, items), (TDetectionRecord{1, 200, 5, 700, 900}));

    // People right downstream of the fire: found first, at the fire branch's passage time.
    net.t.BranchPeople[3] = 2;
    TraceSmoke(walker, net.t, 1, net.t.BranchQ, items);
    EXPECT_EQ(EarliestDetection(net.t, items), (TDetectionRecord{1, 200, 3, 200, 450}));
}

TEST(Detection, AllFiresOfAMine)
{
    TMine mine;
    mine.t.BranchType[6] = btMainFan;
    mine.t.BranchType[7] = 14; // an outside leak
    TDetectionResults results;
    ASSERT_EQ(CalcFireDetectionTimes(mine.t, results), crSolved);
    ASSERT_EQ(results.size(), static_cast<std::size_t>(TableSize));
    for (int b : {1, 2, 3, 4, 5}) {
        EXPECT_EQ(results[b].FireBranch, b);
        EXPECT_EQ(results[b].DetectBranch, 6) << b; // the main fan sees every fire
    }
    EXPECT_EQ(results[6], TDetectionRecord{}); // the main fan and the leak are no fire places
    EXPECT_EQ(results[7], TDetectionRecord{});

    mine.t.NodeIsSurface[1] = 0;
    EXPECT_EQ(CalcFireDetectionTimes(mine.t, results), crNoSurfaceLink);
    EXPECT_TRUE(results.empty());
}

TEST(Detection, ExcludedKindsOfFireBranch)
{
    for (int type = 0; type < BranchTypeCount; ++type)
        EXPECT_EQ(PossibleFireBranch(type), type != 1 && type != 2 && type != 14 && type != 21) << type;
}
