#pragma once
// Small networks built by hand, solved on their own tables, with the checks
// that every solved network must pass: flows balance at every node and every
// mesh of the solve obeys the loop law within the method's tolerance.
#include "calc/mesh_solver.h"
#include "calc/solver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

// Flows balance at every node but the surface, which every surface node joins.
inline double WorstImbalance(const TNetworkTables &t)
{
    std::vector<double> balance(TableSize, 0.0);
    for (int b = 1; b <= MaxBranchNo(t); ++b) {
        if (!BranchExist(t, b))
            continue;
        balance[t.BranchStartNode[b]] -= t.BranchQ[b];
        balance[t.BranchEndNode[b]] += t.BranchQ[b];
    }
    double worst = 0;
    for (int n = 1; n <= MaxNodeNo(t); ++n)
        if (NodeExist(t, n) && !t.NodeIsSurface[n])
            worst = std::max(worst, std::fabs(balance[n]));
    return worst;
}

// The worst loop residual over the meshes of a solve of t's own arrays, the
// meshes rebuilt by the solver's steps and evaluated on t's flows.
inline double WorstMeshResidual(TNetworkTables &t)
{
    TTable<double> scratch{};
    TMeshSolver solver(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode,
                       t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, scratch);
    if (!solver.HasBranches() || !solver.JoinSurfaceNodes() || !solver.HasDraughtSource()
        || !solver.TopologyIsSound())
        return NAN;
    solver.BuildAdjacencyLists();
    if (!solver.FindRootBranch() || !solver.BuildSpanningTree() || !solver.InitChordFlows()
        || !solver.BuildMeshes())
        return NAN;
    scratch = t.BranchQ;
    double worst = 0;
    for (int k = 0; k < solver.MeshCount(); ++k)
        worst = std::max(worst, std::fabs(solver.MeshResidual(k)));
    return worst;
}

// A mesh settles when its residual is within 0.03; the corrections of the
// meshes after it in the last pass (each under 0.01 m³/s) may move it a little.
constexpr double LoopLawTolerance = 0.03;

class SolverFixture : public ::testing::Test
{
protected:
    void Node(int n, bool surface = false)
    {
        CreateNode(t, n);
        t.NodeIsSurface[n] = surface;
    }
    void Branch(int b, int from, int to, double r, double h = 0)
    {
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchR[b] = r;
        t.BranchAuxDepression[b] = h;
    }
    void Reset() { ClearAllItems(t); }
    CalcResult Solve()
    {
        return CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode,
                                   t.BranchEndNode, t.NodeIsSurface, t.BranchR, t.BranchAuxDepression,
                                   t.BranchQ, &stats);
    }
    void ExpectContinuity() { EXPECT_LT(WorstImbalance(t), 1e-9); }
    void ExpectSettledLoops() { EXPECT_LE(WorstMeshResidual(t), LoopLawTolerance); }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    TSolveStats stats;
};
