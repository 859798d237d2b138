#pragma once
// Turning round the reversed branches: a branch whose computed flow is
// negative carries air against its drawn direction. Every such branch gets
// its end nodes swapped and the network is solved again until no flow is
// negative; the turned directions stay only when the user confirms.
#include "model/network.h"

#include <array>
#include <cstdint>
#include <functional>

// One flag per branch place: set exactly when the branch's direction at the
// end of the turning differs from its direction at the start.
using TReversalFlags = std::array<std::uint8_t, TableSize>;

// The most walks over the branches before the turning is given up.
constexpr int MaxReversalWalks = 5;

// The turning loop on the tables' start and end nodes, solving after each
// walk that turned a branch. When the last walk still turned one, says so,
// clears the flags and puts the nodes back from StartNodes and EndNodes;
// false then.
bool ReverseNegativeBranches(TNetworkTables &t, const TTable<std::int16_t> &StartNodes,
                             const TTable<std::int16_t> &EndNodes, TReversalFlags &Flags);

// What the command needs of the windows.
struct TReversalHost
{
    // Shows the air distribution table; true when it was closed with OK.
    std::function<bool()> ShowTable;
    // A turned branch was kept: the document changed.
    std::function<void(int b)> BranchChanged;
};

// The whole command. On OK every turned branch gets its bend points reversed
// and is reported changed; otherwise the start and end nodes and the flows
// are put back as they were solved before the turning, so that the flows
// always match the directions. True when turned branches were kept.
bool TurnReversedBranches(TNetworkTables &t, const TReversalHost &host);
