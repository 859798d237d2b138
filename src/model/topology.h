#pragma once
// The probable topology errors of a network, read from the node incidence
// lists (BuildNodeBranchLists must have run). Directions are those of the
// branches as drawn, not of the air.
#include "model/network.h"

#include <vector>

// One node with a finding and a copy of its incidence list at check time.
struct TErrorNodes
{
    TErrorNodes(int node, const TNodeBranchList &incidence) : Node(node), Branches(incidence) {}
    int Node;
    TNodeBranchList Branches;
};

using TErrorNodeList = std::vector<TErrorNodes>;

// Existing non-surface nodes touched by exactly one branch; a non-empty list
// makes the solvers refuse.
TErrorNodeList FindDeadEndNodes(const TNetworkTables &t);

struct TNodeClasses
{
    TErrorNodeList MoreThanFour;   // five or more branches, surface nodes included
    TErrorNodeList OnlyLeaving;    // non-surface nodes that no branch enters
    TErrorNodeList OnlyEntering;   // non-surface nodes that no branch leaves
    std::vector<int> FreeNodes;    // existing nodes that no branch number touches
};

TNodeClasses ClassifyNodes(const TNetworkTables &t);
