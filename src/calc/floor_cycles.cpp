#include "calc/floor_cycles.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Newton steps on a group end once none moves a flow by more than this
// (m³/s), a thousandth of what the pressure steps leave a flow, or after
// MaxGroupSteps: from the largest flow on the floor down to this would take
// some 25 halvings. Below it, rounding and the slope floor keep steps of a
// few 1e-11 going for several steps more without any gain that matters.
constexpr double GroupFlowTolerance = 1e-10;
constexpr int MaxGroupSteps = 60;
// A branch's slope in the settling is taken as at least this (mm w.c. per
// m³/s): a branch without resistance, or without flow, then still has a
// finite conductance 1/slope, and the conductances of one system span at most
// some ten decades, which its factorisation resolves. A flow whose true slope
// lies below this is under 5e-11 m³/s on a branch of the least resistance or
// more, and a cycle's step takes the sum of its branches' slopes, so the floor
// holds back no circulation that matters round a cycle through such a branch.
constexpr double LeastSlope = 1e-15;

} // namespace

int TFloorCycles::Find(int node)
{
    while (m_parent[node] != node) {
        m_parent[node] = m_parent[m_parent[node]];
        node = m_parent[node];
    }
    return node;
}

namespace {

// Studies solve one network many times over, on several threads at once: each
// thread keeps the system of its last settling, whose analysis serves again
// while the cycles' nodes stay the same.
TSparseCholesky &ThreadFloorSystem()
{
    thread_local TSparseCholesky system;
    return system;
}

} // namespace

TFloorCycles::TFloorCycles() : m_system(ThreadFloorSystem()) {}

double TFloorCycles::Settle(const std::vector<int> &candidates, const TTable<std::int16_t> &begin,
                            const TTable<std::int16_t> &end, const TTable<double> &r, const TTable<double> &h,
                            TTable<double> &q, int nodeCount, double tolerance)
{
    // The same candidates as the last call's form the same cycles.
    if (candidates != m_candidates || m_candidates.empty()) {
        m_candidates = candidates;
        m_largestGroup = 0;
        m_cycleGroup.clear();
        if (candidates.size() < 2 && std::none_of(candidates.begin(), candidates.end(),
                                                  [&](int b) { return begin[b] == end[b]; }))
            return 0;
        const std::size_t nodes = static_cast<std::size_t>(nodeCount) + 2;
        if (m_parent.size() != nodes) {
            m_parent.resize(nodes);
            std::iota(m_parent.begin(), m_parent.end(), 0);
            m_treeBranch.assign(nodes, 0);
            m_depth.assign(nodes, -1);
            m_nodeIndex.assign(nodes, -1);
            m_firstIncident.assign(nodes, 0);
        }
        if (m_local.size() < q.size())
            m_local.assign(q.size(), -1);
        FindCycles(candidates, begin, end, r);
        if (!m_cycleGroup.empty())
            PrepareSystem(begin, end);
        // Leave the work arrays as found for the next call.
        for (int n : m_touched) {
            m_parent[n] = n;
            m_treeBranch[n] = 0;
            m_depth[n] = -1;
            m_nodeIndex[n] = -1;
        }
        m_touched.clear();
        for (int b : m_branches)
            m_local[b] = -1;
    }
    return m_cycleGroup.empty() ? 0 : SettleAll(r, h, q, std::max(tolerance, GroupFlowTolerance));
}

// A spanning forest of the candidates' own graph; every candidate that closes a
// cycle in it gives the cycle through the forest. Branches without resistance
// enter the forest first: one that closes a loop of such branches alone is
// left out, as a loop without resistance has no circulation to settle on (fans
// drive it without end, and without them any circulation obeys the loop law).
// Every cycle found then passes a branch with resistance.
void TFloorCycles::FindCycles(const std::vector<int> &candidates, const TTable<std::int16_t> &begin,
                              const TTable<std::int16_t> &end, const TTable<double> &r)
{
    m_members.clear();
    m_cycleStart.assign(1, 0);
    m_cycleGroup.clear();
    std::vector<int> &chords = m_chords, &forest = m_forest;
    chords.clear();
    forest.clear();
    for (const bool withResistance : {false, true})
        for (int b : candidates) {
            if ((r[b] > 0) != withResistance)
                continue;
            const int u = begin[b], v = end[b];
            m_touched.push_back(u);
            m_touched.push_back(v);
            const int a = Find(u), c = Find(v);
            if (a != c) {
                m_parent[a] = c;
                forest.push_back(b);
            } else if (withResistance) {
                chords.push_back(b);
            }
        }
    if (chords.empty())
        return;
    // Root every tree of the forest, breadth first from the first node met;
    // each node's forest branches in the order of the candidates.
    m_incident.clear();
    for (int b : forest) {
        m_incident.emplace_back(begin[b], b);
        m_incident.emplace_back(end[b], b);
    }
    std::stable_sort(m_incident.begin(), m_incident.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t k = m_incident.size(); k-- > 0;)
        m_firstIncident[m_incident[k].first] = static_cast<int>(k);
    std::vector<int> &queue = m_queue;
    for (int b : forest) {
        const int root = begin[b];
        if (m_depth[root] >= 0)
            continue;
        m_depth[root] = 0;
        queue.assign(1, root);
        for (std::size_t k = 0; k < queue.size(); ++k) {
            const int x = queue[k];
            for (auto i = static_cast<std::size_t>(m_firstIncident[x]); i < m_incident.size() && m_incident[i].first == x; ++i) {
                const int t = m_incident[i].second;
                const int y = begin[t] == x ? end[t] : begin[t];
                if (m_depth[y] < 0) {
                    m_depth[y] = m_depth[x] + 1;
                    m_treeBranch[y] = t;
                    queue.push_back(y);
                }
            }
        }
    }
    // Each chord's cycle runs along the chord from its start node to its end
    // node and back to the start through the forest.
    for (int c : chords) {
        m_members.push_back({c, 1});
        int x = end[c], y = begin[c];
        while (x != y) {
            if (m_depth[x] >= m_depth[y]) {
                const int t = m_treeBranch[x];
                const bool along = begin[t] == x;
                m_members.push_back({t, along ? 1 : -1});
                x = along ? end[t] : begin[t];
            } else {
                const int t = m_treeBranch[y];
                const bool towards = end[t] == y;  // the cycle reaches y along t
                m_members.push_back({t, towards ? 1 : -1});
                y = towards ? begin[t] : end[t];
            }
        }
        m_cycleStart.push_back(static_cast<int>(m_members.size()));
        m_cycleGroup.push_back(0);
    }
}

// The branches on the cycles and the pressure system over their nodes. The
// branches that join at nodes form a group, and one node of each group is its
// reference, without an unknown; cycles that meet only through branches on no
// cycle fall into separate groups, each with a reference of its own.
void TFloorCycles::PrepareSystem(const TTable<std::int16_t> &begin, const TTable<std::int16_t> &end)
{
    m_branches.clear();
    for (const TMember &m : m_members)
        if (m_local[m.Branch] < 0) {
            m_local[m.Branch] = static_cast<int>(m_branches.size());
            m_branches.push_back(m.Branch);
        }
    for (int n : m_touched)
        m_parent[n] = n;
    for (int b : m_branches) {
        const int a = Find(begin[b]), c = Find(end[b]);
        if (a != c)
            m_parent[a] = c;
    }
    // Group numbers go to the roots through m_depth, reset afterwards with the rest.
    for (int n : m_touched)
        m_depth[n] = -1;
    const std::size_t count = m_branches.size();
    m_branchGroup.resize(count);
    m_from.resize(count);
    m_to.resize(count);
    m_groups = 0;
    m_unknowns = 0;
    const auto unknown = [&](int node) {
        if (m_nodeIndex[node] < 0 && Find(node) != node)
            m_nodeIndex[node] = m_unknowns++;
        return m_nodeIndex[node];
    };
    m_couplings.clear();
    for (std::size_t j = 0; j < count; ++j) {
        const int b = m_branches[j];
        const int root = Find(begin[b]);
        if (m_depth[root] < 0)
            m_depth[root] = m_groups++;
        m_branchGroup[j] = m_depth[root];
        m_from[j] = unknown(begin[b]);
        m_to[j] = unknown(end[b]);
        if (m_from[j] >= 0 && m_to[j] >= 0 && m_from[j] != m_to[j])
            m_couplings.emplace_back(m_from[j], m_to[j]);
    }
    m_memberLocal.resize(m_members.size());
    for (std::size_t i = 0; i < m_members.size(); ++i)
        m_memberLocal[i] = m_local[m_members[i].Branch];
    std::vector<int> cycles(static_cast<std::size_t>(m_groups), 0);
    for (std::size_t k = 0; k < m_cycleGroup.size(); ++k) {
        m_cycleGroup[k] = m_branchGroup[m_local[m_members[m_cycleStart[k]].Branch]];
        m_largestGroup = std::max(m_largestGroup, ++cycles[m_cycleGroup[k]]);
    }
}

// Newton's method on the circulations of the cycles: the content
// Σ (R·|Q|³/3 − H·Q) of their branches is least where every cycle obeys the
// loop law. Each step solves for the pressures p of the cycles' nodes, with
// the branches at their true slopes G = 2·R·|Q|, such that the flows
// Q − (R·Q·|Q| − H − p_i + p_j)/G balance at every node as before. That step
// is a circulation, the same as the step on the cycles' own circulations, but
// its system has the sparsity of the network, however many cycles share a
// branch. The step is carried onto the flows through the cycles (each chord's
// change is its cycle's), so that rounding never unbalances a node.
//
// Where no air passes a group, its flows go to zero, and there Newton's step
// only halves them: the law R·Q·|Q| is of the second degree, so the step
// from Q goes to Q/2. Twice the step then lands on zero at once. So each group
// takes twice its step where that lowers its content more than the step
// itself, else the whole step unless that would raise its content, else the
// first of its halves that does not. Near a solution with air, twice the step
// overshoots by as much as the step gains, and the whole step is taken. A
// group ends once its steps move no flow by more than the tolerance.
double TFloorCycles::SettleAll(const TTable<double> &r, const TTable<double> &h, TTable<double> &q, double tolerance)
{
    const std::size_t count = m_branches.size();
    const std::size_t groups = static_cast<std::size_t>(m_groups);
    m_start.resize(count);
    for (std::size_t j = 0; j < count; ++j)
        m_start[j] = q[m_branches[j]];
    m_slope.resize(count);
    m_gradient.resize(count);
    m_step.resize(count);
    m_trial.resize(count);
    m_done.assign(groups, 0);
    m_accepted.resize(groups);
    m_alpha.resize(groups);
    m_change.resize(groups);
    m_doubled.resize(groups);
    m_largest.resize(groups);
    if (m_unknowns > 0)
        m_system.SetPattern(m_unknowns, m_couplings);
    // The change of a branch's content when its flow moves from `from` to `to`.
    const auto gain = [&](std::size_t j, double from, double to) {
        const double a = std::fabs(from), c = std::fabs(to);
        return r[m_branches[j]] * (c * c * c - a * a * a) / 3 - h[m_branches[j]] * (to - from);
    };
    for (int iteration = 0; iteration < MaxGroupSteps; ++iteration) {
        m_system.Clear();
        m_pressure.assign(static_cast<std::size_t>(m_unknowns), 0.0);
        for (std::size_t j = 0; j < count; ++j) {
            const int b = m_branches[j];
            const double flow = q[b];
            m_slope[j] = std::max(2 * r[b] * std::fabs(flow), LeastSlope);
            m_gradient[j] = r[b] * flow * std::fabs(flow) - h[b];
            const int i = m_from[j], k = m_to[j];
            if (i == k)
                continue;
            const double w = 1 / m_slope[j];
            const double pushed = w * m_gradient[j];
            if (i >= 0) {
                m_system.AddDiagonal(i, w);
                m_pressure[i] += pushed;
            }
            if (k >= 0) {
                m_system.AddDiagonal(k, w);
                m_pressure[k] -= pushed;
            }
            if (i >= 0 && k >= 0)
                m_system.AddCoupling(i, k, -w);
        }
        // A system that the rounding leaves singular leaves the flows as they are.
        if (m_unknowns > 0) {
            if (!m_system.Factor())
                break;
            m_system.Solve(m_pressure);
        }
        std::fill(m_step.begin(), m_step.end(), 0.0);
        for (std::size_t k = 0; k + 1 < m_cycleStart.size(); ++k) {
            if (m_done[m_cycleGroup[k]])
                continue;
            const int first = m_cycleStart[k], last = m_cycleStart[k + 1];
            const auto c = static_cast<std::size_t>(m_memberLocal[first]);
            const double drop = (m_from[c] >= 0 ? m_pressure[m_from[c]] : 0) - (m_to[c] >= 0 ? m_pressure[m_to[c]] : 0);
            const double x = m_from[c] == m_to[c] ? -m_gradient[c] / m_slope[c] : (drop - m_gradient[c]) / m_slope[c];
            for (int i = first; i < last; ++i)
                m_step[m_memberLocal[i]] += m_members[i].Sign * x;
        }
        bool finite = true;
        std::fill(m_largest.begin(), m_largest.end(), 0.0);
        for (std::size_t j = 0; j < count; ++j) {
            finite = finite && std::isfinite(m_step[j]);
            m_largest[m_branchGroup[j]] = std::max(m_largest[m_branchGroup[j]], std::fabs(m_step[j]));
        }
        if (!finite)
            break;
        // Twice the step, where it lowers the content more than the step
        // itself; else the whole step, or the first of its halves that does
        // not raise the content; group by group.
        std::fill(m_doubled.begin(), m_doubled.end(), 0.0);
        for (std::size_t j = 0; j < count; ++j) {
            const int g = m_branchGroup[j];
            if (!m_done[g])
                m_doubled[g] += gain(j, q[m_branches[j]], q[m_branches[j]] + 2 * m_step[j]);
        }
        std::fill(m_alpha.begin(), m_alpha.end(), 1.0);
        std::copy(m_done.begin(), m_done.end(), m_accepted.begin());
        for (int halving = 0; halving < 30; ++halving) {
            std::fill(m_change.begin(), m_change.end(), 0.0);
            for (std::size_t j = 0; j < count; ++j) {
                const int g = m_branchGroup[j];
                if (m_accepted[g])
                    continue;
                m_trial[j] = q[m_branches[j]] + m_alpha[g] * m_step[j];
                m_change[g] += gain(j, q[m_branches[j]], m_trial[j]);
            }
            bool all = true;
            for (std::size_t g = 0; g < groups; ++g) {
                if (m_accepted[g])
                    continue;
                if (halving == 0 && m_doubled[g] < m_change[g] && m_doubled[g] <= 0) {
                    m_alpha[g] = 2;
                    m_accepted[g] = 2;
                } else if (m_change[g] <= 0) {
                    m_accepted[g] = 2;
                } else {
                    m_alpha[g] /= 2;
                }
                all = all && m_accepted[g];
            }
            if (all)
                break;
        }
        bool going = false;
        for (std::size_t j = 0; j < count; ++j) {
            const int g = m_branchGroup[j];
            if (!m_done[g] && m_accepted[g] == 2)
                q[m_branches[j]] = m_alpha[g] == 2 ? q[m_branches[j]] + 2 * m_step[j] : m_trial[j];
        }
        for (std::size_t g = 0; g < groups; ++g) {
            if (m_done[g])
                continue;
            // A group whose content no half of the step lowers stays as it is.
            m_done[g] = m_accepted[g] != 2 || m_alpha[g] * m_largest[g] <= tolerance;
            going = going || !m_done[g];
        }
        if (!going)
            break;
    }
    double moved = 0;
    for (std::size_t j = 0; j < count; ++j)
        moved = std::max(moved, std::fabs(q[m_branches[j]] - m_start[j]));
    return moved;
}
