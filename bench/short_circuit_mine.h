#pragma once
// The mine-like network on which the benchmarks and the sweep run the
// short-circuiting study.
#include "calc/short_circuit.h"
#include "calc/vent_boost.h"
#include "generated_network.h"

// Gives a mine-like network its kinds: every panel's longwall, its regulator
// and its three leaking stoppings a door. The panels' own branches are built
// last, 14 each: the longwall eighth, the regulator ninth and the stoppings last.
inline bool MakeShortCircuitMine(TNetworkTables &t, int branches, unsigned seed, int fans, int intakes)
{
    // The tables may hold fewer panels than asked: count those built (the
    // intake shafts, the fans of two branches each, the far stopping, 16 per panel).
    MakeMineNetwork(t, MineNetworkPanels(branches), seed, fans, intakes);
    const int panels = (MaxBranchNo(t) - intakes - 2 * fans - 1) / 16;
    const int first = MaxBranchNo(t) - 14 * panels + 1;
    for (int i = 0; i < panels; ++i) {
        const int base = first + 14 * i;
        t.BranchType[base + 7] = sckLongwall;
        t.BranchType[base + 8] = sckRegulator;
        for (int k = 11; k <= 13; ++k)
            t.BranchType[base + k] = sckDoor;
        if (t.BranchR[base + 8] < 0.5 || t.BranchR[base + 8] > 5 || t.BranchR[base + 13] < 20)
            return false;
    }
    return SolveOwnTables(t) == crSolved;
}
