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
    ExpectSettledLoops();
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
    ExpectContinuity();
    ExpectSettledLoops();
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
