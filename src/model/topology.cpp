#include "model/topology.h"

TErrorNodeList FindDeadEndNodes(const TNetworkTables &t)
{
    TErrorNodeList result;
    const int last = MaxNodeNo(t);
    for (int n = 1; n <= last; ++n) {
        if (!NodeExist(t, n) || t.NodeIsSurface[n])
            continue;
        const auto &list = t.NodeBranchLists[n];
        if (list && list->size() == 1)
            result.emplace_back(n, *list);
    }
    return result;
}

TNodeClasses ClassifyNodes(const TNetworkTables &t)
{
    TNodeClasses result;
    const int lastNode = MaxNodeNo(t);
    for (int n = 1; n <= lastNode; ++n) {
        const auto &list = t.NodeBranchLists[n];
        if (!list || list->empty())
            continue;
        std::size_t entering = 0;
        for (const TBranchToNode &entry : *list)
            if (entry.Direction == TBranchToNode::Entering)
                ++entering;
        const std::size_t leaving = list->size() - entering;
        if (list->size() > 4)
            result.MoreThanFour.emplace_back(n, *list);
        if (entering == 0 && !t.NodeIsSurface[n])
            result.OnlyLeaving.emplace_back(n, *list);
        if (leaving == 0 && !t.NodeIsSurface[n])
            result.OnlyEntering.emplace_back(n, *list);
    }

    // Marks every node any branch number names; this gives the same list as
    // comparing each node with every branch, in one pass over the branches.
    std::vector<bool> touched(TableSize, false);
    const int lastBranch = MaxBranchNo(t);
    for (int b = 1; b <= lastBranch; ++b) {
        for (int node : {int(t.BranchStartNode[b]), int(t.BranchEndNode[b])})
            if (node >= 0 && node < TableSize)
                touched[node] = true;
    }
    for (int n = 1; n <= lastNode; ++n)
        if (NodeExist(t, n) && !touched[n])
            result.FreeNodes.push_back(n);
    return result;
}
