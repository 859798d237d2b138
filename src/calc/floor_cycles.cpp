#include "calc/floor_cycles.h"

#include <Eigen/Cholesky>
#include <Eigen/Core>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Newton steps on a group end once none moves a flow by more than this
// (m³/s), far below what the solve promises, or after MaxGroupSteps: from the
// largest flow on the floor down to this takes some 35 halvings.
constexpr double GroupFlowTolerance = 1e-13;
constexpr int MaxGroupSteps = 60;
// A flow of exactly zero still gets a slope, so that a cycle whose flows all
// vanish keeps a positive definite system; its residual is zero then too.
constexpr double LeastFlow = 1e-30;

} // namespace

int TFloorCycles::Find(int node)
{
    while (m_parent[node] != node) {
        m_parent[node] = m_parent[m_parent[node]];
        node = m_parent[node];
    }
    return node;
}

double TFloorCycles::Settle(const std::vector<int> &candidates, const TTable<std::int16_t> &begin,
                            const TTable<std::int16_t> &end, const TTable<double> &r, const TTable<double> &h,
                            TTable<double> &q, int nodeCount)
{
    if (candidates.size() < 2 && std::none_of(candidates.begin(), candidates.end(),
                                              [&](int b) { return begin[b] == end[b]; }))
        return 0;
    const std::size_t nodes = static_cast<std::size_t>(nodeCount) + 2;
    if (m_parent.size() != nodes) {
        m_parent.resize(nodes);
        std::iota(m_parent.begin(), m_parent.end(), 0);
        m_treeBranch.assign(nodes, 0);
        m_depth.assign(nodes, -1);
    }
    FindCycles(candidates, begin, end);
    // Leave the work arrays as found for the next call.
    for (int n : m_touched) {
        m_parent[n] = n;
        m_treeBranch[n] = 0;
        m_depth[n] = -1;
    }
    m_touched.clear();

    const int cycles = static_cast<int>(m_cycleGroup.size());
    std::vector<int> order(static_cast<std::size_t>(cycles));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return m_cycleGroup[a] < m_cycleGroup[b]; });
    double moved = 0;
    std::vector<int> group;
    for (std::size_t i = 0; i < order.size();) {
        group.clear();
        const int id = m_cycleGroup[order[i]];
        for (; i < order.size() && m_cycleGroup[order[i]] == id; ++i)
            group.push_back(order[i]);
        if (static_cast<int>(group.size()) <= MaxGroupCycles)
            moved = std::max(moved, SettleGroup(group, r, h, q));
    }
    return moved;
}

// A spanning forest of the candidates' own graph; every candidate that closes a
// cycle in it gives the cycle through the forest, and the cycles of one tree of
// the forest form a group.
void TFloorCycles::FindCycles(const std::vector<int> &candidates, const TTable<std::int16_t> &begin,
                              const TTable<std::int16_t> &end)
{
    m_members.clear();
    m_cycleStart.assign(1, 0);
    m_cycleGroup.clear();
    std::vector<int> chords, forest;
    for (int b : candidates) {
        const int u = begin[b], v = end[b];
        m_touched.push_back(u);
        m_touched.push_back(v);
        const int a = Find(u), c = Find(v);
        if (a == c) {
            chords.push_back(b);
        } else {
            m_parent[a] = c;
            forest.push_back(b);
        }
    }
    if (chords.empty())
        return;
    // Root every tree of the forest, breadth first from the first node met.
    std::vector<std::vector<int>> incident;
    std::vector<int> slot(m_parent.size(), -1);
    for (int b : forest)
        for (int n : {static_cast<int>(begin[b]), static_cast<int>(end[b])}) {
            if (slot[n] < 0) {
                slot[n] = static_cast<int>(incident.size());
                incident.emplace_back();
            }
            incident[slot[n]].push_back(b);
        }
    std::vector<int> queue;
    for (int b : forest) {
        const int root = begin[b];
        if (m_depth[root] >= 0)
            continue;
        m_depth[root] = 0;
        queue.assign(1, root);
        for (std::size_t k = 0; k < queue.size(); ++k) {
            const int x = queue[k];
            for (int t : incident[slot[x]]) {
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
        m_cycleGroup.push_back(Find(begin[c]));
    }
}

// Newton's method on the circulations x of a group's cycles: the content
// Σ (R·|Q|³/3 − H·Q) of their branches is least where every cycle obeys the loop law,
// its gradient is the cycles' residuals and its Hessian Σ 2·R·|Q| over the
// branches two cycles share. Each step is taken whole unless it would raise
// the content, then halved until it does not.
double TFloorCycles::SettleGroup(const std::vector<int> &cycles, const TTable<double> &r, const TTable<double> &h,
                                 TTable<double> &q)
{
    const int n = static_cast<int>(cycles.size());
    if (m_local.size() < q.size())
        m_local.assign(q.size(), -1);
    std::vector<int> branches;
    for (int k : cycles)
        for (int i = m_cycleStart[k]; i < m_cycleStart[k + 1]; ++i)
            if (m_local[m_members[i].Branch] < 0) {
                m_local[m_members[i].Branch] = static_cast<int>(branches.size());
                branches.push_back(m_members[i].Branch);
            }
    // By local branch, the cycles through it with their signs.
    std::vector<std::vector<std::pair<int, int>>> through(branches.size());
    for (int k = 0; k < n; ++k)
        for (int i = m_cycleStart[cycles[k]]; i < m_cycleStart[cycles[k] + 1]; ++i)
            through[m_local[m_members[i].Branch]].emplace_back(k, m_members[i].Sign);
    const std::size_t count = branches.size();
    std::vector<double> start(count), slope(count), step(count), trial(count);
    for (std::size_t j = 0; j < count; ++j)
        start[j] = q[branches[j]];
    Eigen::MatrixXd hessian(n, n);
    Eigen::VectorXd residual(n);
    Eigen::LLT<Eigen::MatrixXd, Eigen::Lower> factor(n);
    // The change of a branch's content when its flow moves from `from` to `to`.
    const auto gain = [&](std::size_t j, double from, double to) {
        const double a = std::fabs(from), c = std::fabs(to);
        return r[branches[j]] * (c * c * c - a * a * a) / 3 - h[branches[j]] * (to - from);
    };
    for (int iteration = 0; iteration < MaxGroupSteps; ++iteration) {
        hessian.setZero();
        residual.setZero();
        for (std::size_t j = 0; j < count; ++j) {
            const double flow = q[branches[j]];
            const double rb = r[branches[j]];
            slope[j] = 2 * rb * std::max(std::fabs(flow), LeastFlow);
            for (const auto &[k, sk] : through[j]) {
                residual(k) += sk * (rb * flow * std::fabs(flow) - h[branches[j]]);
                for (const auto &[l, sl] : through[j])
                    if (l <= k)
                        hessian(k, l) += sk * sl * slope[j];
            }
        }
        // A group whose system the rounding leaves singular stays as it is.
        factor.compute(hessian);
        if (factor.info() != Eigen::Success)
            break;
        const Eigen::VectorXd x = factor.solve(residual);
        if (!x.allFinite())
            break;
        double largest = 0;
        for (std::size_t j = 0; j < count; ++j) {
            step[j] = 0;
            for (const auto &[k, sk] : through[j])
                step[j] -= sk * x(k);
            largest = std::max(largest, std::fabs(step[j]));
        }
        // The whole step, or the first of its halves that does not raise the content.
        double alpha = 1;
        bool lower = false;
        for (int halving = 0; halving < 30; ++halving) {
            double change = 0;
            for (std::size_t j = 0; j < count; ++j) {
                trial[j] = q[branches[j]] + alpha * step[j];
                change += gain(j, q[branches[j]], trial[j]);
            }
            lower = change <= 0;
            if (lower)
                break;
            alpha /= 2;
        }
        if (!lower)
            break;
        for (std::size_t j = 0; j < count; ++j)
            q[branches[j]] = trial[j];
        if (alpha * largest <= GroupFlowTolerance)
            break;
    }
    double moved = 0;
    for (std::size_t j = 0; j < count; ++j) {
        moved = std::max(moved, std::fabs(q[branches[j]] - start[j]));
        m_local[branches[j]] = -1;
    }
    return moved;
}
