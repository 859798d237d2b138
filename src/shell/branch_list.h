#pragma once
// Presenting sets of branches: the columns a branch list can show, with their
// captions and cell texts, and the sort items that order a list of branches
// for a report, by branch number or by the pair of end nodes.
#include "model/network.h"

#include <QtCore/QString>

#include <cstdint>
#include <vector>

// A 16-bit set of columns; bit k chooses column k.
using TBranchColumns = std::uint16_t;
constexpr int BranchColumnCount = 16;

enum TColumnAlignment { caLeft, caCentre, caRight };

// Caption and alignment of column k (0 to 15).
QString BranchColumnCaption(int k);
TColumnAlignment BranchColumnAlignment(int k);
// The text of column k for branch n.
QString BranchColumnText(const TNetworkTables &t, int k, int n);

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
