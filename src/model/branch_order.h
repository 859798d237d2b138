#pragma once
// The order of branches in a report: sort items that list branches by branch
// number or by the pair of their end nodes.
#include "model/network.h"

#include <cstdint>
#include <vector>

// Sort item of one branch: key = start node × 5000 + end node.
struct TRectPrn
{
    std::int32_t Key = 0;
    std::int32_t Branch = 0;
};
using TRectPrnList = std::vector<TRectPrn>;

// Appends the sort item of branch n.
void AddRectPrn(const TNetworkTables &t, int n, TRectPrnList &list);
// 1 when a's key (branch number) is greater, 0 when equal, -1 when smaller.
int CompareRectPrnByNodes(const TRectPrn &a, const TRectPrn &b);
int CompareRectPrnByNumber(const TRectPrn &a, const TRectPrn &b);
// Orders by the pair of end nodes when reportStyle is not 0 ("По узлам"), else
// keeps the list's order. Branches with equal keys keep no fixed order.
void SortRectPrnForReport(TRectPrnList &list, int reportStyle);
