// The fire model on the sample mine that a new user opens first.
#include "emergency/fire_detection.h"
#include "emergency/gas_zone.h"
#include "sample_mine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

class SampleMine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LoadSampleMine(t);
        ASSERT_FALSE(HasFatalFailure());
        for (int b = 1; b <= MaxBranchNo(t); ++b) {
            if (t.BranchType[b] == btLongwall)
                longwalls.push_back(b);
            if (t.BranchName[b] == QStringLiteral("Вентиляционный ствол"))
                returnShaft = b;
            if (t.BranchName[b] == QStringLiteral("Клетевой ствол"))
                intakeShaft = b;
        }
        ASSERT_FALSE(longwalls.empty());
        ASSERT_NE(returnShaft, 0);
        ASSERT_NE(intakeShaft, 0);
    }

    std::unique_ptr<TNetworkTables> tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    std::vector<int> longwalls;
    int returnShaft = 0;
    int intakeShaft = 0;
};

bool Contains(const TGasZoneList &zone, int b) { return std::find(zone.begin(), zone.end(), b) != zone.end(); }

} // namespace

TEST_F(SampleMine, FireInALongwall)
{
    TFireLoadRec load;
    SetFireLoadDefaults(load);
    const auto normalQ = std::make_unique<TTable<double>>(t.BranchQ);
    const auto normalH = std::make_unique<TTable<double>>(t.BranchAuxDepression);
    for (const int b : longwalls) {
        for (const TFireLoadRec *withLoad : std::initializer_list<const TFireLoadRec *>{nullptr, &load}) {
            // The model works on copies, as the fire modelling window does.
            auto r = std::make_unique<TTable<double>>(t.BranchR);
            auto h = std::make_unique<TTable<double>>(t.BranchAuxDepression);
            auto q = std::make_unique<TTable<double>>(t.BranchQ);
            const TFlowArrays copies{*r, *h, *q};
            const TFireOptions options{withLoad, DefaultFireTime};
            const int mode = VentType(t.BranchLength[b], t.NodeAltitude[t.BranchStartNode[b]],
                                      t.NodeAltitude[t.BranchEndNode[b]], t.BranchQ[b]);

            int count = 0, minute = 0;
            double hmax = 0, hcr = 0;
            const bool upset = CalcUpsetTimeEx(t, b, copies, options, count, minute, hmax, hcr);
            EXPECT_GT(count, 0) << "longwall " << b;
            EXPECT_NE(hmax, 0) << "longwall " << b;
            EXPECT_EQ(upset, minute > 0) << "longwall " << b;
            EXPECT_GT(hcr, 0) << "longwall " << b;
            EXPECT_EQ(*r, t.BranchR);

            double hrev = 0;
            TZoneEntryList zone;
            ZoneAfterUpset(t, b, mode, copies, options, count, minute, hrev, zone);
            const TGasZoneList branches = ZoneBranches(zone);
            EXPECT_EQ(branches.front(), b);
            EXPECT_TRUE(Contains(branches, returnShaft)) << "longwall " << b << " mode " << mode;
            EXPECT_FALSE(Contains(branches, intakeShaft)) << "longwall " << b;
            // The model worked on the copies only.
            EXPECT_EQ(t.BranchQ, *normalQ);
            EXPECT_EQ(t.BranchAuxDepression, *normalH);
        }
    }
}

TEST_F(SampleMine, FreshAndExhaustAir)
{
    std::vector<int> changed;
    ASSERT_EQ(GasSourceZone(t, TypeBit(btLongwall) | TypeBit(btDevelopmentFace), TableArrays(t), changed), crSolved);
    EXPECT_EQ(t.BranchIsFresh[returnShaft], 0);
    EXPECT_EQ(t.BranchIsFresh[intakeShaft], 1);
    for (const int b : longwalls)
        EXPECT_EQ(t.BranchIsFresh[b], 0) << b;
}

TEST_F(SampleMine, DetectionTimes)
{
    TDetectionResults results;
    ASSERT_EQ(CalcFireDetectionTimes(t, results), crSolved);
    for (const int b : longwalls) {
        EXPECT_EQ(results[b].FireBranch, b);
        EXPECT_GT(results[b].FireTime, 0) << b;
    }
    // Somebody at the top of the return shaft sees the smoke of every longwall fire.
    t.BranchPeople[returnShaft] = 1;
    ASSERT_EQ(CalcFireDetectionTimes(t, results), crSolved);
    for (const int b : longwalls) {
        EXPECT_NE(results[b].DetectBranch, 0) << b;
        EXPECT_GT(results[b].DetectUpTime, results[b].FireTime) << b;
        EXPECT_GT(results[b].DetectDownTime, results[b].DetectUpTime) << b;
    }
}
