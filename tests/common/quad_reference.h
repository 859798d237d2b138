#pragma once
// A reference air distribution for networks of any size the tables hold, to
// check the production solver against, flows near zero included. Newton's
// method on the node pressures with every branch at its true slope 2·R·|Q|
// (floored only far below any flow that matters) and the flows and pressures
// carried in quadruple precision: a flow near zero is then resolved to far
// below 1e-9 m³/s although the pressures around it are hundreds of mm w.c.
// Each pressure system is factored in long double and refined in quadruple
// precision. It starts from the flows in the tables and runs until no flow
// moves by more than 1e-13 m³/s: at the true slopes each step near the
// solution at least halves every flow's distance from it, so that what is
// left is at most the last move.
#include "model/network.h"

#include <vector>

struct TQuadReference
{
    bool Converged = false;
    int Steps = 0;
    double LastMove = 0;         // the largest change of a flow in the last step, m³/s
    std::vector<double> Q;       // by branch number; 0 for branches outside the surface's part
};

// Every surface node is one node, the reference of pressures; only branches
// connected to the surface take part. t is not changed.
TQuadReference SolveQuadReference(const TNetworkTables &t);
