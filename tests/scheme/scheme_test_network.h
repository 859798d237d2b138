#pragma once
// Small networks for the drawing tests: nodes and straight branches placed
// by hand in scheme units.
#include "model/network.h"

inline int AddTestNode(TNetworkTables &t, int n, int x, int y)
{
    CreateNode(t, n);
    t.NodeX[n] = static_cast<std::int16_t>(x);
    t.NodeY[n] = static_cast<std::int16_t>(y);
    return n;
}

// Branch n from node a to node b with its end points as its point list.
inline int AddTestBranch(TNetworkTables &t, int n, int a, int b, int kind = 0)
{
    CreateBranch(t, n);
    t.BranchStartNode[n] = static_cast<std::int16_t>(a);
    t.BranchEndNode[n] = static_cast<std::int16_t>(b);
    t.BranchType[n] = static_cast<std::uint8_t>(kind);
    t.BranchLabelFlags[n] = 0;
    InsertBranchEdgeTurns(t, n);
    return n;
}
