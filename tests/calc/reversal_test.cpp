// Turning reversed branches round: OK keeps the turned directions, Cancel and
// a turning that does not settle put everything back.
#include "calc/reversal.h"
#include "calc/solver.h"
#include "platform/prompt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

class ReversalTest : public ::testing::Test
{
protected:
    ReversalTest() { ClearAllItems(t); }

    void Branch(int b, int from, int to, double r, double h = 0)
    {
        for (int n : {from, to})
            if (!NodeExist(t, n)) {
                CreateNode(t, n);
                t.NodeX[n] = static_cast<std::int16_t>(n * 10);
            }
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchR[b] = r;
        t.BranchAuxDepression[b] = h;
        InsertBranchEdgeTurns(t, b);
    }
    // Fan 1→2, then two ways from 2 to 3, the second drawn backwards (3→2), and 3→4 out.
    void ParallelWays()
    {
        Branch(1, 1, 2, 1, 100);
        Branch(2, 2, 3, 1);
        Branch(3, 3, 2, 2);
        Branch(4, 3, 4, 1);
        t.NodeIsSurface[1] = t.NodeIsSurface[4] = 1;
        t.BranchTurns[3]->insert(t.BranchTurns[3]->begin() + 1, TTurn(3, 50, 60));
    }
    // Two fans in series pushing against each other: whichever way they are
    // drawn, both flows come out negative, so the turning never settles.
    void OpposedFans()
    {
        Branch(1, 1, 2, 1, 10);
        Branch(2, 2, 3, 1, -30);
        Branch(5, 3, 4, 1);
        t.NodeIsSurface[1] = t.NodeIsSurface[4] = 1;
    }
    TReversalHost Host(bool ok)
    {
        TReversalHost host;
        host.ShowTable = [this, ok] {
            ++shown;
            flowsShown = t.BranchQ;
            return ok;
        };
        host.BranchChanged = [this](int b) { changed.push_back(b); };
        return host;
    }
    CalcResult Solve()
    {
        return CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode,
                                   t.BranchEndNode, t.NodeIsSurface, t.BranchR, t.BranchAuxDepression,
                                   t.BranchQ);
    }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    int shown = 0;
    TTable<double> flowsShown{};
    std::vector<int> changed;
    TScriptedPrompt prompt;
};

} // namespace

TEST_F(ReversalTest, OkKeepsTurnedBranchesWithTheirBendPoints)
{
    ParallelWays();
    EXPECT_TRUE(TurnReversedBranches(t, Host(true)));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(changed, std::vector<int>{3});
    EXPECT_EQ(t.BranchStartNode[3], 2);
    EXPECT_EQ(t.BranchEndNode[3], 3);
    for (int b = 1; b <= 4; ++b)
        EXPECT_GT(t.BranchQ[b], 0) << b;
    // The bend points run from the new start node again.
    const TTurnList &turns = *t.BranchTurns[3];
    ASSERT_EQ(turns.size(), 3u);
    EXPECT_EQ(turns.front().X, t.NodeX[2]);
    EXPECT_EQ(turns[1].X, 50);
    EXPECT_EQ(turns.back().X, t.NodeX[3]);
    EXPECT_TRUE(prompt.Asked.empty());
}

TEST_F(ReversalTest, CancelPutsBackDirectionsAndTheirFlows)
{
    ParallelWays();
    const auto before = std::make_unique<TNetworkTables>(t);
    EXPECT_FALSE(TurnReversedBranches(t, Host(false)));
    // The table showed the turned network.
    EXPECT_GT(flowsShown[3], 0);
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(t.BranchStartNode, before->BranchStartNode);
    EXPECT_EQ(t.BranchEndNode, before->BranchEndNode);
    const TTurnList &turns = *t.BranchTurns[3];
    ASSERT_EQ(turns.size(), 3u);
    EXPECT_EQ(turns.front().X, t.NodeX[3]);
    EXPECT_EQ(turns[1].X, 50);
    // The flows are those of the drawn directions.
    const TTable<double> kept = t.BranchQ;
    EXPECT_LT(kept[3], 0);
    ASSERT_EQ(Solve(), crSolved);
    for (int b = 1; b <= 4; ++b)
        EXPECT_NEAR(kept[b], t.BranchQ[b], 1e-9) << b;
}

TEST_F(ReversalTest, NothingNegativeTurnsNothing)
{
    ParallelWays();
    std::swap(t.BranchStartNode[3], t.BranchEndNode[3]);
    EXPECT_FALSE(TurnReversedBranches(t, Host(true)));
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(t.BranchStartNode[3], 2);
}

TEST_F(ReversalTest, UnsettledTurningIsGivenUp)
{
    OpposedFans();
    const auto before = std::make_unique<TNetworkTables>(t);
    ASSERT_EQ(Solve(), crSolved);
    ASSERT_LT(t.BranchQ[1], 0);
    ASSERT_LT(t.BranchQ[2], 0);
    const TTable<double> drawnFlows = t.BranchQ;

    EXPECT_FALSE(TurnReversedBranches(t, Host(true)));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, "В данном случае выполнить \"развернуть все\" невозможно.");
    EXPECT_EQ(prompt.Asked[0].Caption, "Zyr \"Ворбаль\"");  // a box without a caption of its own
    // The table still opens, on the drawn directions and their flows.
    EXPECT_EQ(shown, 1);
    EXPECT_NEAR(flowsShown[1], drawnFlows[1], 1e-9);
    EXPECT_TRUE(changed.empty());
    EXPECT_EQ(t.BranchStartNode, before->BranchStartNode);
    EXPECT_EQ(t.BranchEndNode, before->BranchEndNode);
}

TEST_F(ReversalTest, WalksStopAfterFive)
{
    OpposedFans();
    ASSERT_EQ(Solve(), crSolved);
    const TTable<std::int16_t> start = t.BranchStartNode, end = t.BranchEndNode;
    TReversalFlags flags{};
    flags[5] = 1;
    EXPECT_FALSE(ReverseNegativeBranches(t, start, end, flags));
    EXPECT_EQ(std::count(flags.begin(), flags.end(), 1), 0);
    EXPECT_EQ(prompt.Asked.size(), 1u);
}
