#pragma once
// The loop method's passes written out member by member, as the method states
// them, for checking the solver's own faster passes against them.
#include "calc/mesh_solver.h"

#include <cmath>

// The passes on the network's meshes, into q; the pass at which they settle,
// 0 when none of the first MaxPasses does, −1 when the network has no meshes
// to pass over.
inline int MethodPasses(TNetworkTables &t, TTable<double> &q)
{
    TMeshSolver solver(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode,
                       t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, q);
    if (!solver.JoinSurfaceNodes() || !solver.TopologyIsSound())
        return -1;
    solver.BuildAdjacencyLists();
    if (!solver.FindRootBranch() || !solver.BuildSpanningTree() || !solver.InitChordFlows() || !solver.BuildMeshes())
        return -1;
    for (int pass = 1; pass <= MaxPasses; ++pass) {
        bool settled = true;
        for (int k = 0; k < solver.MeshCount(); ++k) {
            double residual = 0;
            double slope = 0;
            for (const MeshMember *m = solver.MeshBegin(k); m != solver.MeshEnd(k); ++m) {
                const double r = t.BranchR[m->Branch];
                const double h = t.BranchAuxDepression[m->Branch];
                const double flow = q[m->Branch];
                residual += m->Direction == 1 ? r * flow * std::fabs(flow) - h : h - r * flow * std::fabs(flow);
                slope += r * std::fabs(flow);
            }
            const double dq = residual / (2 * (static_cast<double>(MinResistance) + slope));
            for (const MeshMember *m = solver.MeshBegin(k); m != solver.MeshEnd(k); ++m)
                q[m->Branch] += m->Direction == 1 ? -dq : dq;
            if (std::fabs(residual) > static_cast<double>(ResidualTolerance)
                || std::fabs(dq) > static_cast<double>(FlowTolerance))
                settled = false;
        }
        if (settled)
            return pass;
    }
    return 0;
}
