#include "calc/reversal.h"

#include "calc/solver.h"
#include "platform/prompt.h"

#include <algorithm>
#include <utility>

namespace {

// The result code is not examined: the walks work on whatever flows the table holds.
void Solve(TNetworkTables &t, const TTable<std::int16_t> &start, const TTable<std::int16_t> &end)
{
    CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, start, end, t.NodeIsSurface, t.BranchR,
                        t.BranchAuxDepression, t.BranchQ);
}

} // namespace

bool ReverseNegativeBranches(TNetworkTables &t, const TTable<std::int16_t> &StartNodes,
                             const TTable<std::int16_t> &EndNodes, TReversalFlags &Flags)
{
    Flags.fill(0);
    bool turned = false;
    int pass = 0;
    do {
        turned = false;
        for (int b = 1; b <= MaxItems; ++b) {
            if (!BranchExist(t, b) || !(t.BranchQ[b] < 0))
                continue;
            std::swap(t.BranchStartNode[b], t.BranchEndNode[b]);
            Flags[b] ^= 1;
            turned = true;
        }
        if (turned)
            Solve(t, t.BranchStartNode, t.BranchEndNode);
        ++pass;
    } while (turned && pass < MaxReversalWalks);
    if (!turned)
        return true;
    ShowMessageBox(LookupText(QStringLiteral("В данном случае выполнить \"развернуть все\" невозможно.")),
                   QString(), mb::Ok);
    Flags.fill(0);
    t.BranchStartNode = StartNodes;
    t.BranchEndNode = EndNodes;
    return false;
}

bool TurnReversedBranches(TNetworkTables &t, const TReversalHost &host)
{
    const TTable<std::int16_t> startNodes = t.BranchStartNode;
    const TTable<std::int16_t> endNodes = t.BranchEndNode;
    Solve(t, startNodes, endNodes);
    // The flows of the drawn directions, for when the turning is not kept.
    const TTable<double> flows = t.BranchQ;

    TReversalFlags flags{};
    if (!ReverseNegativeBranches(t, startNodes, endNodes, flags))
        t.BranchQ = flows;

    if (host.ShowTable && host.ShowTable()) {
        bool kept = false;
        for (int b = 1; b <= MaxItems; ++b) {
            if (!flags[b])
                continue;
            if (auto &turns = t.BranchTurns[b])
                std::reverse(turns->begin(), turns->end());
            if (host.BranchChanged)
                host.BranchChanged(b);
            kept = true;
        }
        return kept;
    }
    t.BranchStartNode = startNodes;
    t.BranchEndNode = endNodes;
    t.BranchQ = flows;
    return false;
}
