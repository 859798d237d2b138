#pragma once
// The check that every solved network must pass, for the tests and the
// benchmark: flows balance at every node, and every mesh of the solve obeys
// the loop law within the method's tolerance.
//
// A pass settles when every mesh's residual, taken before its own correction,
// is within 0.03 mm w.c. and its correction within 0.01 m³/s. The meshes after
// it in that pass still move the branches it shares with them, so afterwards a
// mesh obeys the loop law within 0.03 plus what those later corrections can
// change: for a branch moved by s in all, 2·R·|Q|·s + R·s². The check repeats
// the solve step by step (it must give the same flows to the bit), takes the
// corrections of its last pass and allows exactly that.
#include "calc/mesh_solver.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

// The largest flow imbalance at a node other than the surface, m³/s.
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

struct TLoopLawCheck
{
    bool SameFlows = false;    // the repeated solve gave t's flows
    double WorstResidual = 0;  // mm w.c.
    double WorstExcess = 0;    // residual over its allowance, worst mesh; at most 1 when the law holds
    int Meshes = 0;
};

// For a network that CalcAirDistribution solved on t's own arrays.
inline TLoopLawCheck CheckLoopLaw(TNetworkTables &t)
{
    TLoopLawCheck check;
    auto flows = std::make_unique<TTable<double>>();
    TMeshSolver solver(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode,
                       t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, *flows);
    if (!solver.JoinSurfaceNodes() || !solver.HasDraughtSource() || !solver.TopologyIsSound())
        return check;
    solver.BuildAdjacencyLists();
    if (!solver.FindRootBranch() || !solver.BuildSpanningTree() || !solver.InitChordFlows()
        || !solver.BuildMeshes() || !solver.IterateMeshes())
        return check;
    check.SameFlows = std::equal(flows->begin(), flows->end(), t.BranchQ.begin());
    check.Meshes = solver.MeshCount();

    // How far the corrections after each mesh moved each branch: walking the
    // meshes backwards, a branch's sum holds the corrections of later meshes.
    const std::vector<double> &corrections = solver.LastPassCorrections();
    std::vector<double> movedLater(TableSize, 0.0);
    const double residualTolerance = static_cast<double>(ResidualTolerance);
    for (int k = solver.MeshCount() - 1; k >= 0; --k) {
        double residual = 0;
        double allowance = residualTolerance;
        for (const MeshMember *m = solver.MeshBegin(k); m != solver.MeshEnd(k); ++m) {
            const double r = t.BranchR[m->Branch];
            const double q = t.BranchQ[m->Branch];
            const double s = movedLater[m->Branch];
            residual += m->Direction * (r * q * std::fabs(q) - t.BranchAuxDepression[m->Branch]);
            allowance += 2 * std::fabs(r * q) * s + std::fabs(r) * s * s;
        }
        for (const MeshMember *m = solver.MeshBegin(k); m != solver.MeshEnd(k); ++m)
            movedLater[m->Branch] += std::fabs(corrections[k]);
        check.WorstResidual = std::max(check.WorstResidual, std::fabs(residual));
        check.WorstExcess = std::max(check.WorstExcess, std::fabs(residual) / allowance);
    }
    return check;
}
