#include "emergency/route_speed.h"
#include "small_network.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(RouteSpeed, TableHoldsTenGridsInCodeOrder)
{
    EXPECT_EQ(SpeedTable.front().Code, 10);
    EXPECT_EQ(SpeedTable.front().Speed10, 101);
    EXPECT_EQ(SpeedTable[49].Code, 11);
    EXPECT_EQ(SpeedTable[6 * 49].Code, 40);
    EXPECT_EQ(SpeedTable[6 * 49 + 15].Code, 41);
    const TSpeedRow &last = SpeedTable.back();
    EXPECT_EQ(last.Code, 49);
    EXPECT_EQ(last.Height10, 12);
    EXPECT_EQ(last.Slope, 60);
    EXPECT_EQ(last.Speed10, 80);
}

TEST(RouteSpeed, SpeedsByCodeSlopeAndHeight)
{
    struct Case
    {
        int code;
        double slope, height, speed;
    };
    const Case cases[] = {
        {10, 12.5, 1.0, 16.9}, // reconnaissance moving down
        {11, 12.5, 1.0, 15.6}, // the same moving up
        {10, 12.6, 1.0, 14.7}, // next slope class
        {31, 70, 2.5, 1.8},
        {49, 0, 0.6, 12},      // evacuation through a low longwall on the level
        {48, -1, 0.6, 12},     // an unknown slope counts as level
        {41, 45, 1.79, 20},
        {41, 45.1, 1.8, 10},
        {42, 0, 1.0, NoSpeedRow}, // no grid for the code
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(MoveSpeed(c.code, c.slope, c.height), c.speed) << c.code << " " << c.slope << " " << c.height;
}

TEST(RouteSpeed, ClassBoundsAreInclusiveBelowCode40AndStrictFrom40)
{
    EXPECT_DOUBLE_EQ(HeightClass(10, 0.7), 0.6);
    EXPECT_DOUBLE_EQ(HeightClass(10, 0.71), 0.8);
    EXPECT_DOUBLE_EQ(HeightClass(10, 1.86), 1.7);
    EXPECT_DOUBLE_EQ(HeightClass(10, 1.87), 2.0);
    EXPECT_DOUBLE_EQ(HeightClass(40, 1.19), 0.7);
    EXPECT_DOUBLE_EQ(HeightClass(40, 1.2), 1.2);
    EXPECT_DOUBLE_EQ(HeightClass(41, 1.8), 1.8);
    EXPECT_DOUBLE_EQ(HeightClass(48, 0.69), 0.5);
    EXPECT_DOUBLE_EQ(HeightClass(49, 0.7), 0.7);
    EXPECT_DOUBLE_EQ(HeightClass(49, 1.2), 1.2);
    EXPECT_EQ(SlopeClass(10, 5), 0);
    EXPECT_EQ(SlopeClass(10, 17.5), 15);
    EXPECT_EQ(SlopeClass(10, 55.1), 70);
    EXPECT_EQ(SlopeClass(40, 15), 10);
    EXPECT_EQ(SlopeClass(40, 25.1), 30);
}

TEST(RouteSpeed, MoveTimeUsesTheRisingCodeUnlessDescending)
{
    // 100 m at 10 degrees by the altitudes, 1.0 m high: class 10.
    const double dz = 100 * std::sin(10 * std::acos(-1.0) / 180);
    EXPECT_NEAR(MoveTime(10, 100, AngleNotGiven, 1.0, dz, 0), 100 / 16.9, 1e-12);
    EXPECT_NEAR(MoveTime(10, 100, AngleNotGiven, 1.0, 0, dz), 100 / 15.6, 1e-12);
    // Level: the +1 code, which at class 0 gives the same speed.
    EXPECT_NEAR(MoveTime(10, 100, AngleNotGiven, 1.0, -50, -50), 100 / 22.6, 1e-12);
    EXPECT_EQ(MoveTime(10, 0, 45, 1.0, 10, 0), 0);
}

TEST(RouteSpeed, NetworkTimesSlowSmokeForTheSquadsOnly)
{
    TSmallNetwork net;
    for (int n = 1; n <= 4; ++n)
        net.Node(n, false, -100);
    net.Branch(1, 1, 2);
    net.Branch(2, 2, 3);
    net.Branch(3, 3, 4);
    auto &t = net.t;
    for (int b = 1; b <= 3; ++b) {
        t.BranchHeight[b] = 1.0;
        t.BranchLength[b] = 226; // 10 minutes on the level
    }
    t.BranchType[3] = btLongwall;
    t.BranchHeight[3] = 0.6;
    t.BranchLength[3] = 120;
    const TGasZoneList zone{1, 2}; // fire in 1, smoke in 2
    TTravelTimes times;
    ComputeTimes(t, rtReconnaissance, zone, times);
    EXPECT_NEAR(times.Forward[1], 10, 1e-9);
    EXPECT_NEAR(times.Forward[2], 12.048, 1e-3);
    EXPECT_NEAR(times.Backward[2], 12.048, 1e-3);
    ComputeTimes(t, rtEvacuation, zone, times);
    EXPECT_NEAR(times.Forward[3], 10, 1e-9); // longwall code, 12 m/min
    EXPECT_NEAR(times.Forward[2], 226 / 30.0, 1e-9);
}

TEST(ImpassableList, ReasonsOfEachBranch)
{
    TSmallNetwork net;
    auto &t = net.t;
    net.Node(1, false, -100);
    net.Node(2, false, -200);
    net.Node(3, false, 0);
    struct Case
    {
        int b, from, to, type;
        double height, angle;
        bool listed, slope, low, kind;
    };
    // Branch 1 to 2 drops 100 m; lengths make the slopes.
    const Case cases[] = {
        {1, 1, 2, 0, 2, AngleNotGiven, true, true, false, false},   // 100 m over 101 m: about 80 degrees
        {2, 1, 2, 12, 2, AngleNotGiven, false, false, false, false}, // the same as a ladder
        {3, 1, 3, 0, 2, 75, false, false, false, false},            // an end at 0: the stored 75 counts
        {4, 1, 3, 0, 2, AngleNotGiven, true, true, false, false},   // stored unset, altitude 0: 361
        {5, 1, 3, 0, 0.59, 10, true, false, true, false},
        {6, 1, 3, 0, 0.6, 10, false, false, false, false},
        {7, 1, 3, 0, 0, 10, false, false, false, false},            // height not given
        {8, 1, 3, 11, 2, 10, true, false, false, true},             // cage shaft
        {9, 1, 3, 21, 2, 10, true, false, false, true},             // ventilation pipe
        {10, 1, 3, 3, 2, 10, false, false, false, false},
        {11, 1, 2, 0, 2, AngleNotGiven, true, true, false, false},  // 50 m for a 100 m drop: not determinable
    };
    for (const Case &c : cases) {
        net.Branch(c.b, c.from, c.to);
        t.BranchType[c.b] = std::uint8_t(c.type);
        t.BranchHeight[c.b] = c.height;
        t.BranchAngle[c.b] = c.angle;
        t.BranchLength[c.b] = 100;
    }
    t.BranchLength[1] = t.BranchLength[2] = 101;
    t.BranchLength[11] = 50;
    const TBdBranchList list = GetBdBranches(t, {});
    for (const Case &c : cases) {
        const auto it = std::find_if(list.begin(), list.end(), [&](const TBdBranch &e) { return e.Branch == c.b; });
        ASSERT_EQ(it != list.end(), c.listed) << c.b;
        if (it == list.end())
            continue;
        EXPECT_EQ(it->Slope, c.slope) << c.b;
        EXPECT_EQ(it->Height, c.low) << c.b;
        EXPECT_EQ(it->Type, c.kind) << c.b;
    }
    EXPECT_EQ(BdReasonText(*list.begin()), QStringLiteral("угол наклона больше 75 гр."));
}

TEST(ImpassableList, FireBranchComesFirstAndAgainWithItsOwnReason)
{
    TSmallNetwork net;
    auto &t = net.t;
    net.Branch(1, 1, 2);
    net.Branch(2, 2, 3);
    net.Branch(3, 3, 4);
    for (int b = 1; b <= 3; ++b) {
        t.BranchHeight[b] = 2;
        t.BranchAngle[b] = 0;
    }
    t.BranchHeight[3] = 0.5;
    TBdBranchList list = GetBdBranches(t, {2, 1});
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Branch, 2);
    EXPECT_EQ(BdReasonText(list[0]), QStringLiteral(" пожар"));
    EXPECT_EQ(list[1].Branch, 3);

    list = GetBdBranches(t, {3, 1});
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Branch, 3);
    EXPECT_EQ(BdReasonText(list[0]), QStringLiteral(" высота меньше 0.6; пожар"));
    EXPECT_EQ(list[1].Branch, 3);
    EXPECT_FALSE(list[1].Fire);
    TBdBranch all{4, true, true, true, true};
    EXPECT_EQ(BdReasonText(all), QStringLiteral("угол наклона больше 75 гр.; высота меньше 0.6; выработка непроходима; пожар"));
}
