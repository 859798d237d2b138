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
#include "calc/sparse_cholesky.h"
#include "model/network.h"

#include <cstdint>
#include <utility>
#include <vector>

class TFloorCycles
{
public:
    TFloorCycles();
    TFloorCycles(const TFloorCycles &) = delete;
    TFloorCycles &operator=(const TFloorCycles &) = delete;

    // `candidates` are the branches whose slope lies below the floor, or
    // whose flow the step halved on its way to zero, with a resistance of 0
    // or more; `begin` and `end` their end nodes, numbers from
    // 1 to nodeCount + 1. Finds the cycles that these branches form among
    // themselves and settles all of them together, whatever their number,
    // until no step moves a flow by more than `tolerance` (or by more than
    // the cycles' own least tolerance, where that is larger).
    // Only circulations change q, so the balance of every node stays as it
    // was. Returns the largest change of a flow. The cycles are kept for the
    // next call, so one object serves one network's end nodes only.
    double Settle(const std::vector<int> &candidates, const TTable<std::int16_t> &begin,
                  const TTable<std::int16_t> &end, const TTable<double> &r, const TTable<double> &h,
                  TTable<double> &q, int nodeCount, double tolerance);

    // The cycles of the largest group that the last Settle found: cycles that
    // share branches or nodes form one group.
    int LargestGroup() const { return m_largestGroup; }

private:
    struct TMember
    {
        int Branch;
        int Sign;  // +1 when the cycle passes the branch from its start node to its end node
    };
    int Find(int node);
    void FindCycles(const std::vector<int> &candidates, const TTable<std::int16_t> &begin,
                    const TTable<std::int16_t> &end, const TTable<double> &r);
    void PrepareSystem(const TTable<std::int16_t> &begin, const TTable<std::int16_t> &end);
    double SettleAll(const TTable<double> &r, const TTable<double> &h, TTable<double> &q, double tolerance);

    std::vector<int> m_parent;  // union-find over nodes
    std::vector<int> m_touched;
    std::vector<int> m_treeBranch, m_depth;  // by node: the branch towards its forest root
    std::vector<int> m_candidates;  // as given to the last Settle
    std::vector<int> m_chords, m_forest, m_queue;
    std::vector<std::pair<int, int>> m_incident;  // forest branches by node, as (node, branch)
    std::vector<int> m_firstIncident;             // by node: its first entry in m_incident
    std::vector<TMember> m_members;               // the cycles' members, one cycle after another
    std::vector<int> m_cycleStart;
    std::vector<int> m_cycleGroup;  // by cycle: its group
    int m_largestGroup = 0;

    // The settling's system: the branches on the cycles, each with its group
    // and its end nodes' unknowns (−1 for a group's own reference node).
    std::vector<int> m_local;      // by branch: its index among m_branches, or −1
    std::vector<int> m_nodeIndex;  // by node: its unknown, −1 when none
    std::vector<int> m_branches, m_branchGroup, m_from, m_to;
    std::vector<int> m_memberLocal;  // by member of a cycle: its branch's index among m_branches
    std::vector<std::pair<int, int>> m_couplings;
    int m_unknowns = 0;
    int m_groups = 0;
    TSparseCholesky &m_system;  // the thread's, shared by the solves it runs one after another
    std::vector<double> m_slope, m_gradient, m_pressure, m_step, m_trial, m_start;
    std::vector<double> m_alpha, m_change, m_doubled, m_largest;
    std::vector<char> m_done, m_accepted;
};
