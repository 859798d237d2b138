#pragma once
// Small networks built by hand and solved on their own tables. Every solve
// that succeeds is checked at once: flows balance at every node and every
// mesh obeys the loop law within the method's tolerance (loop_law.h).
#include "calc/mesh_solver.h"
#include "calc/solver.h"
#include "loop_law.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

inline void ExpectLoopLaw(TNetworkTables &t)
{
    const TLoopLawCheck check = CheckLoopLaw(t);
    EXPECT_TRUE(check.SameFlows);
    EXPECT_LE(check.WorstExcess, 1.0) << "worst residual " << check.WorstResidual;
}

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
        const CalcResult code = CalcTablesAir(t, &stats);
        if (code == crSolved && stats.Settling != stUnsettled) {
            ExpectContinuity();
            ExpectLoopLaw(t);
        }
        return code;
    }
    void ExpectContinuity() { EXPECT_LT(WorstImbalance(t), 1e-9); }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    TSolveStats stats;
};
