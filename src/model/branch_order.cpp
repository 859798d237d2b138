#include "model/branch_order.h"

#include <algorithm>

void AddRectPrn(const TNetworkTables &t, int n, TRectPrnList &list)
{
    list.push_back({t.BranchStartNode[n] * MaxItems + t.BranchEndNode[n], n});
}

int CompareRectPrnByNodes(const TRectPrn &a, const TRectPrn &b)
{
    return a.Key > b.Key ? 1 : a.Key == b.Key ? 0 : -1;
}

int CompareRectPrnByNumber(const TRectPrn &a, const TRectPrn &b)
{
    return a.Branch > b.Branch ? 1 : a.Branch == b.Branch ? 0 : -1;
}

void SortRectPrnForReport(TRectPrnList &list, int reportStyle)
{
    if (reportStyle != 0)
        std::sort(list.begin(), list.end(),
                  [](const TRectPrn &a, const TRectPrn &b) { return CompareRectPrnByNodes(a, b) < 0; });
}
