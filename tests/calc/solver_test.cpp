#include "calc/mesh_solver.h"
#include "calc/solver.h"
#include "platform/prompt.h"

#include "solver_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Solver : public SolverFixture
{
};

} // namespace

// Each refusal with the smallest network that shows it; the order of the tests
// decides which code wins when a network has several faults.
TEST_F(Solver, RefusalCodes)
{
    EXPECT_EQ(Solve(), crNoBranches);

    // One branch end on the surface.
    Node(1, true);
    Node(2);
    Node(3);
    Branch(1, 1, 2, 0.1, 100);
    Branch(2, 2, 3, 0.1);
    Branch(3, 3, 2, 0.1);
    EXPECT_EQ(Solve(), crNoSurfaceLink);

    // No fan, and a dead end at node 4: the missing draught source is reported first.
    Reset();
    Node(1, true);
    Node(2, true);
    Node(3);
    Node(4);
    Branch(1, 1, 3, 0.1);
    Branch(2, 3, 2, 0.1);
    Branch(3, 3, 4, 0.1);
    EXPECT_EQ(Solve(), crNoDraughtSource);
    t.BranchAuxDepression[1] = 100;
    EXPECT_EQ(Solve(), crTopologyErrors);

    // Every resistance at or below 0.00001, or at 10000 and above.
    Reset();
    Node(1, true);
    Node(2, true);
    Node(3);
    Branch(1, 1, 3, 0.00001 / 2, 100);
    Branch(2, 3, 2, 10000);
    EXPECT_EQ(Solve(), crNoResistance);
    t.BranchR[2] = 9999;
    EXPECT_EQ(Solve(), crSolved);
}

TEST_F(Solver, RefusalsLeaveFlowsAlone)
{
    Node(1, true);
    Node(2);
    Branch(1, 1, 2, 0.1, 100);
    Branch(2, 2, 2, 0.1);
    t.BranchQ[1] = 7;
    EXPECT_EQ(Solve(), crNoSurfaceLink);
    EXPECT_EQ(t.BranchQ[1], 7);
}

// A chord without resistance and without a strong fan cannot start its flow.
TEST_F(Solver, ChordWithoutResistanceFails)
{
    Node(1, true);
    Node(2, true);
    Node(3);
    Branch(1, 1, 3, 0.1, 100);
    Branch(2, 3, 2, 0);    // parallel to 3; not at the head of the surface chain, so never picked
    Branch(3, 3, 2, 0.2);
    EXPECT_EQ(Solve(), crCalcFailed);
    t.BranchR[2] = -0.5;
    EXPECT_EQ(Solve(), crCalcFailed);
    t.BranchR[2] = 0;
    t.BranchAuxDepression[2] = 60;  // a chord with a strong fan starts from H / 3
    EXPECT_EQ(Solve(), crSolved);
}

TEST_F(Solver, SurfaceToSurfaceBranchTakesItsOwnDepression)
{
    Node(1, true);
    Node(2, true);
    Branch(1, 1, 2, 0.04, 100);
    ASSERT_EQ(Solve(), crSolved);
    EXPECT_NEAR(t.BranchQ[1], std::sqrt(100 / 0.04), 0.01);
}

TEST_F(Solver, SeriesAndParallelClosedForms)
{
    // Intake 1, fan branch 1 to node 3, then two parallel airways 3 -> 4, then 4 to the surface.
    Node(1, true);
    Node(2, true);
    Node(3);
    Node(4);
    Branch(1, 1, 3, 0.02, 200);
    Branch(2, 3, 4, 0.09);
    Branch(3, 3, 4, 0.36);
    Branch(4, 4, 2, 0.03);
    ASSERT_EQ(Solve(), crSolved);
    // Parallel: 1/√Rp = 1/√0.09 + 1/√0.36 = 1/0.3 + 1/0.6 = 5, so Rp = 0.04.
    const double total = std::sqrt(200 / (0.02 + 0.04 + 0.03));
    EXPECT_NEAR(t.BranchQ[1], total, 0.02);
    EXPECT_NEAR(t.BranchQ[4], total, 0.02);
    EXPECT_NEAR(t.BranchQ[2], total * 2 / 3, 0.02);
    EXPECT_NEAR(t.BranchQ[3], total / 3, 0.02);
}

// Branch 6 and the loop branch 7 sit apart from the part that holds the root.
TEST_F(Solver, UnreachedBranchesKeepNoFlow)
{
    Node(1, true);
    Node(2, true);
    Node(3);
    Node(5);
    Node(6);
    Branch(1, 1, 3, 0.02, 200);
    Branch(2, 3, 2, 0.05);
    Branch(3, 3, 2, 0.07);
    Branch(6, 5, 6, 0.5);
    Branch(7, 6, 5, 0.5, 30);
    t.BranchQ[6] = 5;
    ASSERT_EQ(Solve(), crSolved);
    EXPECT_EQ(t.BranchQ[6], 0);
    EXPECT_EQ(t.BranchQ[7], 0);
    EXPECT_GT(t.BranchQ[1], 0);
}

TEST(Adjacency, ChainsListBranchEndsInDecreasingNumber)
{
    auto t = std::make_unique<TNetworkTables>();
    // Branch 2 is a loop at node 1; branch 3 has no start node, branch 4 an end beyond the nodes.
    const std::vector<std::array<int, 3>> branches = {{1, 1, 2}, {2, 1, 1}, {3, 0, 2}, {4, 2, 9}, {5, 2, 1}};
    for (const auto &[b, from, to] : branches) {
        t->BranchNo[b] = static_cast<std::int16_t>(b);
        t->BranchStartNode[b] = static_cast<std::int16_t>(from);
        t->BranchEndNode[b] = static_cast<std::int16_t>(to);
    }
    TAdjacency adjacency;
    int used = 0;
    BuildAdjacency(t->BranchNo, t->BranchStartNode, t->BranchEndNode, 3, 5, adjacency, used);
    const auto chain = [&](int node) {
        std::vector<std::pair<int, int>> items;
        for (AdjacencyItem *item = adjacency[node].Head; item; item = item->Next)
            items.emplace_back(item->Branch, item->Side);
        return items;
    };
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(chain(1), (P{{5, 1}, {2, 1}, {2, -1}, {1, -1}}));
    EXPECT_EQ(chain(2), (P{{5, -1}, {1, 1}}));
    EXPECT_EQ(used, 2);
    ASSERT_GE(adjacency.size(), 5u);  // nodes 1 to NodeCount + 1

    UnlinkAdjacency(5, adjacency[1].Head);
    UnlinkAdjacency(2, adjacency[1].Head);
    EXPECT_EQ(chain(1), (P{{2, -1}, {1, -1}}));
    FreeAdjacency(3, adjacency);
    EXPECT_EQ(adjacency[1].Head, nullptr);
}

// Surface 1; the fan branch 1 is the root. Node 2 joins by branch 1, node 3 by
// branch 2 (0.02 beats the parallel 0.5 and the return's 0.03); then branch 4
// and branch 3 close the tree, in the order of node 3's chain.
TEST_F(Solver, ChordsAndMeshesFollowTheTree)
{
    Node(1, true);
    Node(2);
    Node(3);
    Branch(1, 1, 2, 0.01, 100);
    Branch(2, 2, 3, 0.02);
    Branch(3, 3, 1, 0.03);
    Branch(4, 2, 3, 0.5);
    auto flows = std::make_unique<TTable<double>>();
    TMeshSolver solver(t, 4, 3, t.BranchNo, t.BranchStartNode, t.BranchEndNode, t.NodeIsSurface, t.BranchR,
                       t.BranchAuxDepression, *flows);
    // A single surface node with two branch ends is enough surface.
    ASSERT_TRUE(solver.JoinSurfaceNodes());
    solver.BuildAdjacencyLists();
    ASSERT_TRUE(solver.FindRootBranch());
    EXPECT_EQ(solver.RootBranch(), 1);
    ASSERT_TRUE(solver.BuildSpanningTree());
    EXPECT_EQ(solver.StartNode(), solver.VirtualSurfaceNode());
    EXPECT_EQ(std::vector<std::int16_t>(solver.Chords()), (std::vector<std::int16_t>{4, 3}));
    ASSERT_TRUE(solver.InitChordFlows());
    ASSERT_TRUE(solver.BuildMeshes());
    const auto mesh = [&](int k) {
        std::vector<std::pair<int, int>> members;
        for (const MeshMember *m = solver.MeshBegin(k); m != solver.MeshEnd(k); ++m)
            members.emplace_back(m->Branch, m->Direction);
        return members;
    };
    using P = std::vector<std::pair<int, int>>;
    EXPECT_EQ(mesh(0), (P{{4, 1}, {2, -1}}));
    EXPECT_EQ(mesh(1), (P{{3, 1}, {2, 1}, {1, 1}}));
    // The starting flows already balance at every node.
    EXPECT_DOUBLE_EQ((*flows)[1], 3 / std::sqrt(0.03));
    EXPECT_DOUBLE_EQ((*flows)[2], 3 / std::sqrt(0.03) - 3 / std::sqrt(0.5));
}

TEST_F(Solver, RootIsTheLowestNumberedLeastResistance)
{
    Node(1, true);
    Node(2, true);
    Node(3);
    Node(4);
    Branch(1, 1, 3, 0.2, 100);
    Branch(2, 3, 4, 0.05);
    Branch(3, 3, 4, 0.05);
    Branch(4, 4, 2, 10000);  // never the root, however small the others
    Branch(5, 4, 2, 0.00001);  // a stored 0.00001 counts as above the threshold
    auto flows = std::make_unique<TTable<double>>();
    const auto root = [&] {
        TMeshSolver solver(t, 5, 4, t.BranchNo, t.BranchStartNode, t.BranchEndNode, t.NodeIsSurface,
                           t.BranchR, t.BranchAuxDepression, *flows);
        solver.JoinSurfaceNodes();
        return solver.FindRootBranch() ? solver.RootBranch() : 0;
    };
    EXPECT_EQ(root(), 5);
    t.BranchR[5] = 0.000009;
    EXPECT_EQ(root(), 2);
    t.BranchR[2] = t.BranchR[3] = t.BranchR[1] = 20000;
    t.BranchR[5] = 0;
    EXPECT_EQ(root(), 0);
}

// A surface-to-surface branch with a resistance below the threshold heads the
// surface node's chain. Taken first it would become the surface's own tree
// branch; it must become a chord whose mesh is itself alone.
TEST_F(Solver, LoopAtTheStartNodeBecomesAChord)
{
    Node(1, true);
    Node(2, true);
    Node(3);
    Branch(1, 1, 3, 0.1, 100);
    Branch(2, 3, 2, 0.2);
    Branch(3, 1, 2, 0.000001);
    auto flows = std::make_unique<TTable<double>>();
    TMeshSolver solver(t, 3, 3, t.BranchNo, t.BranchStartNode, t.BranchEndNode, t.NodeIsSurface, t.BranchR,
                       t.BranchAuxDepression, *flows);
    ASSERT_TRUE(solver.JoinSurfaceNodes());
    solver.BuildAdjacencyLists();
    ASSERT_TRUE(solver.FindRootBranch());
    ASSERT_TRUE(solver.BuildSpanningTree());
    EXPECT_EQ(solver.Adjacency()[solver.StartNode()].TreeBranch, 0);
    ASSERT_FALSE(solver.Chords().empty());
    EXPECT_EQ(solver.Chords().front(), 3);

    ASSERT_EQ(Solve(), crSolved);
    EXPECT_NEAR(t.BranchQ[1], std::sqrt(100 / 0.3), 0.05);
}

// Node 5000 leaves the virtual surface node the number 5001.
TEST_F(Solver, HighestNodeNumberStillLeavesRoomForTheSurface)
{
    Node(4998, true);
    Node(4999, true);
    Node(5000);
    Branch(1, 4998, 5000, 0.02, 150);
    Branch(2, 5000, 4999, 0.04);
    Branch(3, 5000, 4999, 0.16);
    ASSERT_EQ(Solve(), crSolved);
    EXPECT_NEAR(t.BranchQ[1], std::sqrt(150 / (0.02 + 0.04 * 4 / 9)), 0.02);
}

// Branches with an end outside the nodes take no part; the rest solves.
TEST_F(Solver, BranchesWithoutValidEndsAreLeftOut)
{
    Node(1, true);
    Node(2, true);
    Node(3);
    Branch(1, 1, 3, 0.02, 150);
    Branch(2, 3, 2, 0.04);
    Branch(3, 3, 0, 0.001);
    Branch(4, 0, 3, 0.001);
    Branch(5, 3, 4000, 0.001);
    Branch(6, -7, 3, 0.001);
    ASSERT_EQ(Solve(), crSolved);
    EXPECT_NEAR(t.BranchQ[1], std::sqrt(150 / 0.06), 0.02);
    for (int b : {3, 4, 5, 6})
        EXPECT_EQ(t.BranchQ[b], 0) << b;
}

TEST_F(Solver, NonFiniteFlowsFail)
{
    Node(1, true);
    Node(2, true);
    Node(3);
    Branch(1, 1, 3, 0.02, 150);
    Branch(2, 3, 2, 0.04);
    Branch(3, 3, 2, 0.05, 1e300);  // a chord starting at H / 3 that overflows R·Q·|Q|
    EXPECT_EQ(Solve(), crCalcFailed);
    t.BranchAuxDepression[3] = NAN;
    EXPECT_EQ(Solve(), crCalcFailed);
}

// Two branches without resistance in a loop with a fan between them: no
// flow settles it. The solve still ends, says so, and keeps finite flows.
TEST_F(Solver, LoopWithoutResistanceStaysUnsettled)
{
    Node(1, true);
    Node(2, true);
    Node(3);
    Node(4);
    Branch(1, 1, 3, 0.1, 100);
    Branch(2, 3, 4, 0, 60);
    Branch(3, 3, 4, 0);
    Branch(4, 4, 2, 0.1);
    ASSERT_EQ(Solve(), crSolved);
    EXPECT_EQ(stats.Settling, stUnsettled);
    EXPECT_GT(stats.NewtonSteps, 0);
    EXPECT_LE(stats.NewtonSteps, 30);
    for (int b = 1; b <= 4; ++b)
        EXPECT_TRUE(std::isfinite(t.BranchQ[b]));

    // Two fans without resistance driving air round a loop of their own
    // beside a working: the flows run away and only rounding lowers the
    // residual from step to step.
    Branch(2, 3, 4, 0.05);
    Branch(3, 3, 4, 0, 60);
    Branch(5, 4, 3, 0, 60);
    ASSERT_EQ(Solve(), crSolved);
    EXPECT_EQ(stats.Settling, stUnsettled);
    EXPECT_LE(stats.NewtonSteps, 30);
    for (int b = 1; b <= 5; ++b)
        EXPECT_TRUE(std::isfinite(t.BranchQ[b]));
}
