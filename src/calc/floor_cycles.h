#pragma once
// Circulations around cycles of branches that carry almost no air.
//
// The Newton steps on the node pressures give every branch a slope 2·R·|Q| of
// at least a floor, so that the pressure system stays positive definite and
// well conditioned. A circulation round a cycle
// whose branches all sit on that floor (twin dead-end headings, a pair joined
// to the network at one node) then moves by only R·Q²/floor a step, a few per
// cent of its distance from zero, however many steps are run.
//
// Round such a cycle the pressures cancel: its loop residual is the sum of its
// branches' own R·Q·|Q| − H, small numbers summed without any pressure. So these
// circulations are settled apart, by Newton steps at the branches' true
// slopes on the cycles alone, with the flows of all other branches held: at
// the true slope Newton's method at least halves a flow's distance from zero
// each step and converges quadratically onto any other solution.
#include "model/network.h"

#include <cstdint>
#include <vector>

class TFloorCycles
{
public:
    // `candidates` are the branches whose slope lies below the floor and that
    // have a resistance; `begin` and `end` their end nodes, numbers from 1 to
    // nodeCount + 1. Finds the cycles that these branches form among
    // themselves and settles each group of cycles that share branches. Only
    // circulations change q, so the balance of every node stays as it was.
    // Returns the largest change of a flow.
    double Settle(const std::vector<int> &candidates, const TTable<std::int16_t> &begin,
                  const TTable<std::int16_t> &end, const TTable<double> &r, const TTable<double> &h,
                  TTable<double> &q, int nodeCount);

    // At most this many cycles are settled together: a larger group is left to
    // the pressure steps (a network whose air stands still over a whole region).
    static constexpr int MaxGroupCycles = 256;

private:
    struct TMember
    {
        int Branch;
        int Sign;  // +1 when the cycle passes the branch from its start node to its end node
    };
    int Find(int node);
    void FindCycles(const std::vector<int> &candidates, const TTable<std::int16_t> &begin,
                    const TTable<std::int16_t> &end);
    double SettleGroup(const std::vector<int> &cycles, const TTable<double> &r, const TTable<double> &h,
                       TTable<double> &q);

    std::vector<int> m_parent;  // union-find over nodes
    std::vector<int> m_touched;
    std::vector<int> m_treeBranch, m_depth;  // by node: the branch towards its forest root
    std::vector<TMember> m_members;          // the cycles' members, one cycle after another
    std::vector<int> m_cycleStart;
    std::vector<int> m_cycleGroup;
    std::vector<int> m_local;  // by branch: its index within the group being settled, or −1
};
