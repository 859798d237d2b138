#include "emergency/fire_depression.h"
#include "model/network.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(FireGeometry, VentType)
{
    struct Case { int l; double zStart, zEnd, q; int expected; };
    const Case cases[] = {
        {100, 110, 100, 5, vtDescending},   // air flows from the higher end down
        {100, 110, 100, -5, vtAscending},
        {300, 110, 100, 5, vtHorizontal},   // 10 / 300 = 0.033: too flat
        {100, 100, 110, 5, vtAscending},
        {0, 110, 100, 5, vtHorizontal},     // no length
        {5, 100.4, 100, 5, vtHorizontal},   // steep enough, but 0.4 m rounds to 0
        {10, 102.5, 100, 5, vtDescending},  // 2.5 rounds to 2, still a difference
        {100, 110, 100, 0, vtHorizontal},   // no flow
    };
    for (const Case &c : cases)
        EXPECT_EQ(VentType(c.l, c.zStart, c.zEnd, c.q), c.expected) << c.l << " " << c.zStart << " " << c.q;
}

TEST(FireGeometry, SlopeByAltitudes)
{
    EXPECT_DOUBLE_EQ(SlopeByAltitudes(100, 200, 100), 90.0);
    EXPECT_DOUBLE_EQ(SlopeByAltitudes(100, 100, 199.5), 90.0); // within 1 % of vertical
    EXPECT_DOUBLE_EQ(SlopeByAltitudes(100, 250, 100), -1.0);
    EXPECT_DOUBLE_EQ(SlopeByAltitudes(100, 100, 100), 0.0);
    EXPECT_DOUBLE_EQ(SlopeByAltitudes(0, 100, 90), -1.0);
    EXPECT_NEAR(SlopeByAltitudes(100, 150, 100), 30.0, 1e-12);
}

TEST(FireGeometry, BranchSlopePrefersStoredAngleCloseToAltitudes)
{
    const double tenDegrees = 100 * std::sin(10 * M_PI / 180); // rise of a 10° working 100 m long
    EXPECT_DOUBLE_EQ(BranchSlope(100, tenDegrees, 0, 12), 12);
    EXPECT_NEAR(BranchSlope(100, tenDegrees, 0, 14), 10, 1e-9);
    EXPECT_NEAR(BranchSlope(100, tenDegrees, 0, AngleNotGiven), 10, 1e-9);
    EXPECT_DOUBLE_EQ(BranchSlope(100, 500, 0, AngleNotGiven), -1);
    EXPECT_DOUBLE_EQ(BranchSlope(100, 500, 0, 25), 25);
    EXPECT_DOUBLE_EQ(BranchSlope(0, 0, 0, AngleNotGiven), -1);
}

TEST(FireDepression, SeriesOfAnInclinedWorking)
{
    TFireSeries s;
    FireDepression(s, 500, 10, 30, 20, 20);
    ASSERT_EQ(s.Count(), DefaultFireTime);
    EXPECT_NEAR(s[1], 7.446480254806667, 1e-9);
    EXPECT_NEAR(s[10], 51.52906915650912, 1e-9);
    EXPECT_NEAR(s.Last(), 132.89238458305198, 1e-9);

    // The sign of the flow and of the slope do not matter.
    TFireSeries mirrored;
    FireDepression(mirrored, 500, 10, -30, -20, 20);
    EXPECT_DOUBLE_EQ(mirrored.Last(), s.Last());
}

TEST(FireDepression, AirAtZeroDegreesIsTakenAsRoomTemperature)
{
    TFireSeries zero, room, cold;
    FireDepression(zero, 500, 10, 30, 20, 0);
    FireDepression(room, 500, 10, 30, 20, 25);  // 298 K
    FireDepression(cold, 500, 10, 30, 20, 0.1); // 273.1 K
    EXPECT_DOUBLE_EQ(zero[1], room[1]);
    EXPECT_NEAR(zero[1], 7.290728397242685, 1e-9);
    EXPECT_NE(cold[1], room[1]);
}

TEST(FireDepression, StopsWhenTheFireZoneReachesTheBranchEnd)
{
    // Q / S + 4.15 = 15: the fire zone is n metres long after n minutes.
    TFireSeries s;
    FireDepression(s, 5, 4, 30, 43.4, 20);
    EXPECT_EQ(s.Count(), 4); // at minute 5 the zone is exactly the branch: no value

    FireDepression(s, 1, 4, 30, 43.4, 20); // the first minute already reaches the end
    EXPECT_EQ(s.Count(), 0);
    EXPECT_DOUBLE_EQ(s.Last(), 0);

    // Never more values than the fire time asks for, up to the longest setting.
    FireDepression(s, 30000, 4, 30, 43.4, 20, MaxFireTime);
    EXPECT_EQ(s.Count(), MaxFireTime);
    FireDepression(s, 30000, 4, 30, 43.4, 20, MinFireTime);
    EXPECT_EQ(s.Count(), MinFireTime);
}

TEST(FireDepression, NoFlowOrNoAreaGivesAnEmptySeries)
{
    TFireSeries s;
    for (auto [area, flow] : {std::pair{0.0, 20.0}, std::pair{10.0, 0.0}, std::pair{-1.0, 20.0}}) {
        FireDepression(s, 500, area, 30, flow, 20);
        EXPECT_EQ(s.Count(), 0) << area << " " << flow;
        TFireLoadRec rec;
        SetFireLoadDefaults(rec);
        FireDepressionLoaded(s, rec, 500, area, 30, flow, 20);
        EXPECT_EQ(s.Count(), 0) << area << " " << flow;
    }
}

TEST(FireLoad, CalcFireLoadForEachVariant)
{
    struct Case { int variant; int burnTime; double frontTime, frontSpeed, heatCoeff; };
    const Case cases[] = {
        {flBelt, 5, 160.0, 1.3230429988974641, 0.0014412222911727435},
        {flBeltAndLagging, 22, 60.0, 0.6574170165086554, 0.007225798706769065},
        {flLagging, 20, 105.0, 0.9674880225335716, 0.005784576415596322},
        {flSupport, 29, 60.0, 0.706094950334875, 0.005784576415596322},
    };
    for (const Case &c : cases) {
        TFireLoadRec rec;
        SetFireLoadDefaults(rec);
        rec.Variant = c.variant;
        rec.Cables = 1;
        rec.Bars = 1;
        CalcFireLoad(rec, 20, 10);
        EXPECT_EQ(rec.BurnTime, c.burnTime) << c.variant;
        EXPECT_DOUBLE_EQ(rec.FrontTime, c.frontTime) << c.variant;
        EXPECT_NEAR(rec.FrontSpeed, c.frontSpeed, 1e-12) << c.variant;
        EXPECT_NEAR(rec.HeatCoeff, c.heatCoeff, 1e-15) << c.variant;
    }

    // The front time of an unknown variant is kept as it stood.
    TFireLoadRec rec;
    SetFireLoadDefaults(rec);
    rec.Variant = 7;
    rec.FrontTime = 33;
    CalcFireLoad(rec, 20, 10);
    EXPECT_DOUBLE_EQ(rec.FrontTime, 33);

    // Nothing to burn: no fire spreads, and nothing divides by zero.
    rec = TFireLoadRec{};
    rec.Variant = flLagging;
    CalcFireLoad(rec, 20, 0);
    EXPECT_EQ(rec.BurnTime, 0);
    EXPECT_EQ(rec.FrontSpeed, 0);
    EXPECT_EQ(rec.HeatCoeff, 0);
}

TEST(FireLoad, FrontStopsStrictlyPastTheBranchEnd)
{
    TFireLoadRec rec;
    rec.FrontSpeed = 1;
    rec.FrontTime = 0; // the front moves 1 m a minute
    rec.BurnTime = 3;
    double xE = 0, xF = 0;
    EXPECT_FALSE(FireFront(rec, 5, xE, xF, 5)); // exactly at the end: not past
    EXPECT_DOUBLE_EQ(xF, 5);
    EXPECT_DOUBLE_EQ(xE, 3); // what burnt in the first 2 minutes is out again
    EXPECT_TRUE(FireFront(rec, 5, xE, xF, 6));
    EXPECT_FALSE(FireFront(rec, 5, xE, xF, 2));
    EXPECT_DOUBLE_EQ(xE, xF);
}

TEST(FireLoad, LoadedSeries)
{
    TFireLoadRec rec;
    SetFireLoadDefaults(rec);
    TFireSeries s;
    FireDepressionLoaded(s, rec, 500, 10, 30, 20, 20);
    EXPECT_EQ(rec.BurnTime, 21); // recomputed for this branch
    ASSERT_EQ(s.Count(), DefaultFireTime);
    EXPECT_NEAR(s[1], 0.1391152082016488, 1e-9);
    EXPECT_NEAR(s.Last(), 99.12246540646115, 1e-9);

    // A short branch ends the series when the front passes its end.
    FireDepressionLoaded(s, rec, 50, 10, 30, 20, 20, MaxFireTime);
    ASSERT_EQ(s.Count(), 111);
    EXPECT_NEAR(s.Last(), 3.8416678696787416, 1e-9);
}

TEST(FireLoad, BurnTimeOfZeroGivesAnEmptySeries)
{
    // Only a little coal in a wide working: the load burns out within seconds.
    TFireLoadRec rec{};
    rec.Variant = 9; // nothing of the support or belt counts
    rec.Coal = 1;
    TFireSeries s;
    FireDepressionLoaded(s, rec, 500, 10, 30, 20, 20);
    EXPECT_EQ(rec.BurnTime, 0);
    EXPECT_EQ(s.Count(), 0);
}
