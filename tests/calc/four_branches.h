#pragma once
// Surface nodes 1 and 4; 1→2 R 0.01, two parallel branches 2 and 3 from 2 to 3
// with R 0.05, and 3→4 R 0.02 with a fan of 200; every branch an ordinary
// working. Solved, each parallel branch carries 34.30 m³/s.
#include "model/network.h"

inline void MakeFourBranches(TNetworkTables &t)
{
    ClearAllItems(t);
    for (int n = 1; n <= 4; ++n) {
        CreateNode(t, n);
        t.NodeIsSurface[n] = n == 1 || n == 4;
    }
    const auto branch = [&](int b, int from, int to, double r, double h) {
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchR[b] = r;
        t.BranchAuxDepression[b] = h;
        t.BranchType[b] = 0;
    };
    branch(1, 1, 2, 0.01, 0);
    branch(2, 2, 3, 0.05, 0);
    branch(3, 2, 3, 0.05, 0);
    branch(4, 3, 4, 0.02, 200);
}
