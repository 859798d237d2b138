#pragma once
// A second, independent air-distribution solver used only to check the
// production one: the flows are circulations on the fundamental cycles of a
// breadth-first tree from the joined surface, and Newton's method with a line
// search minimises the network's content Σ (R·|Q|³/3 − H·Q), whose minimum
// under continuity is the air distribution. Dense algebra, so for networks of
// a few hundred meshes; converged far beyond the production tolerance.
#include "model/network.h"

#include <vector>

struct TReferenceResult
{
    bool Converged = false;
    int Iterations = 0;
    double WorstLoopResidual = 0;  // over its own cycles, mm w.c.; converged below 1e-9
    std::vector<double> Q;         // by branch number
};

// Solves the network of t (every surface node joined into one; every branch
// must be connected to the surface). Returns flows; t is not changed.
TReferenceResult SolveByNewton(const TNetworkTables &t);
