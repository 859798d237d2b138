#include "calc/vent_boost.h"

#include "four_branches.h"
#include "generated_network.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

bool SameBytes(const TTable<double> &a, const TTable<double> &b)
{
    return std::memcmp(a.data(), b.data(), sizeof(a)) == 0;
}

class VentBoost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        MakeFourBranches(t);
        ASSERT_EQ(SolveOwnTables(t), crSolved);
    }
    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
};

TEST_F(VentBoost, FindsTheTwoPlacesAndLeavesTheNetworkAsItWas)
{
    const TTable<double> r = t.BranchR, q = t.BranchQ;
    for (int threads : {1, 3}) {
        std::vector<int> seen;
        TBoostState s;
        ASSERT_EQ(RunBoostSearch(
                      t, 2, s,
                      [&](const TBoostState &, const TBoostTrial &trial) {
                          seen.push_back(trial.Branch);
                          return true;
                      },
                      SolveOwnTables, threads),
                  crSolved);
        EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 4}));
        EXPECT_EQ(FormatBoostTargetFlow(s.Q0), QStringLiteral("34,30 м3/с"));
        EXPECT_EQ(s.BestBranch, 3);
        EXPECT_EQ(FormatBoostFlow(s.Best, s.Q0), QStringLiteral("45,90  м3/с (+11,60 м3/с = +33,8%)"));
        EXPECT_EQ(s.SecondBranch, 2);
        EXPECT_EQ(FormatBoostFlow(s.Second, s.Q0), QStringLiteral("10,26  м3/с (-24,03 м3/с = -70,1%)"));
        EXPECT_EQ(s.Tried, 4);
        EXPECT_FALSE(s.Stopped);
        EXPECT_TRUE(SameBytes(t.BranchR, r));
        EXPECT_TRUE(SameBytes(t.BranchQ, q));
    }
}

TEST_F(VentBoost, OnlyOrdinaryWorkingsAreTried)
{
    // Branch 5 alone qualifies: the second place still names the target at -1000.
    for (int b = 1; b <= 4; ++b)
        t.BranchType[b] = 3;
    CreateNode(t, 5);
    CreateBranch(t, 5);
    t.BranchStartNode[5] = 2;
    t.BranchEndNode[5] = 5;
    t.BranchR[5] = 0.1;
    CreateBranch(t, 6);
    t.BranchStartNode[6] = 5;
    t.BranchEndNode[6] = 3;
    t.BranchR[6] = 0.1;
    t.BranchType[6] = 4;
    TBoostState s;
    ASSERT_EQ(RunBoostSearch(t, 2, s, {}, SolveOwnTables, 2), crSolved);
    EXPECT_EQ(s.Tried, 1);
    EXPECT_EQ(s.BestBranch, 5);
    EXPECT_EQ(s.SecondBranch, 2);
    EXPECT_EQ(s.Second, BoostNoFlow);
}

TEST_F(VentBoost, StopEndsBetweenTrialsWithTheSequentialResult)
{
    const TTable<double> r = t.BranchR, q = t.BranchQ;
    TBoostState s;
    RunBoostSearch(
        t, 2, s, [](const TBoostState &state, const TBoostTrial &) { return state.Tried < 2; }, SolveOwnTables, 4);
    EXPECT_TRUE(s.Stopped);
    EXPECT_EQ(s.Tried, 2);
    // Trials 1 and 2 only: the target's own stopping is the best so far.
    EXPECT_EQ(s.BestBranch, 2);
    EXPECT_EQ(s.SecondBranch, 1);
    EXPECT_TRUE(SameBytes(t.BranchR, r));
    EXPECT_TRUE(SameBytes(t.BranchQ, q));
}

TEST_F(VentBoost, AFailingNetworkIsNotSearchedAndFailedTrialsAreNotCompared)
{
    t.BranchAuxDepression[4] = 0;
    TBoostState s;
    int calls = 0;
    const auto count = [&](const TBoostState &, const TBoostTrial &) { return ++calls > 0; };
    EXPECT_EQ(RunBoostSearch(t, 2, s, count), crNoDraughtSource);
    EXPECT_EQ(calls, 0);

    // A trial that fails leaves flows that answer nothing; it only counts.
    t.BranchAuxDepression[4] = 200;
    const TBoostSolve failInThree = [](TNetworkTables &c) {
        const CalcResult code = SolveOwnTables(c);
        if (c.BranchR[3] == BoostStoppingR) {
            c.BranchQ[2] = 1e6;
            return crCalcFailed;
        }
        return code;
    };
    for (int threads : {1, 4}) {
        RunBoostSearch(t, 2, s, count, failInThree, threads);
        EXPECT_EQ(s.Tried, 4);
        EXPECT_EQ(s.Failed, 1);
        EXPECT_EQ(s.FirstFailure, crCalcFailed);
        EXPECT_EQ(s.BestBranch, 2);
        EXPECT_NE(s.Best, 1e6);
    }
}

TEST(VentBoostCompare, TiesAndFallingFlows)
{
    struct Case
    {
        std::vector<TBoostTrial> Trials;
        int Best, Second;
    };
    const Case cases[] = {
        {{{5, 10.0}, {7, 10.0}}, 5, 7},             // equal flows keep the lower number best
        {{{5, 8.0}, {7, 9.0}, {9, 8.5}}, 7, 9},     // a better flow pushes the best down
        {{{4, 20.0}, {6, 25.0}}, 6, 4},
        {{{4, 3.0}, {6, 2.0}}, 4, 6},               // every stopping lowers the flow: the least loss wins
    };
    for (const Case &c : cases) {
        TBoostState s;
        s.Q0 = 30;
        s.BestBranch = 1;
        for (const TBoostTrial &trial : c.Trials)
            TakeBoostTrial(s, trial);
        EXPECT_EQ(s.BestBranch, c.Best);
        EXPECT_EQ(s.SecondBranch, c.Second);
    }
}

TEST(VentBoostText, FlowTexts)
{
    EXPECT_EQ(FormatBoostFlow(3.0, 30.0), QStringLiteral("3,00  м3/с (-27,00 м3/с = -90,0%)"));
    EXPECT_EQ(FormatBoostFlow(30.0, 30.0), QStringLiteral("30,00  м3/с (0,00 м3/с = 0,0%)"));
    EXPECT_EQ(FormatBoostFlow(-1000, 34.3), QStringLiteral("-1000,00  м3/с (-1034,30 м3/с = -3015,5%)"));
    // A target without flow before the search has no relative change.
    EXPECT_EQ(FormatBoostFlow(2.5, 0), QStringLiteral("2,50  м3/с (+2,50 м3/с)"));
}

TEST(VentBoostMine, ParallelTrialsGiveTheSequentialResult)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(400), 3, 4, 4);
    ASSERT_EQ(SolveOwnTables(*t), crSolved);
    const int target = BoostCandidates(*t)[40];
    std::vector<TBoostTrial> sequential, parallel;
    TBoostState a, b;
    RunBoostSearch(
        *t, target, a,
        [&](const TBoostState &, const TBoostTrial &trial) {
            sequential.push_back(trial);
            return true;
        },
        SolveOwnTables, 1);
    RunBoostSearch(
        *t, target, b,
        [&](const TBoostState &, const TBoostTrial &trial) {
            parallel.push_back(trial);
            return true;
        },
        SolveOwnTables, 5);
    ASSERT_EQ(sequential.size(), parallel.size());
    for (std::size_t i = 0; i < sequential.size(); ++i) {
        EXPECT_EQ(sequential[i].Branch, parallel[i].Branch);
        EXPECT_EQ(sequential[i].Q, parallel[i].Q) << "branch " << sequential[i].Branch;
    }
    EXPECT_EQ(a.BestBranch, b.BestBranch);
    EXPECT_EQ(a.SecondBranch, b.SecondBranch);
    EXPECT_EQ(a.Best, b.Best);
    EXPECT_EQ(a.Second, b.Second);
    EXPECT_GT(a.Best, a.Q0);
}

} // namespace
