#include "newton_reference.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace {

struct TCycleTerm
{
    int Branch;
    int Sign;
};

// Dense Cholesky solve of a symmetric positive definite system, in place.
bool CholeskySolve(std::vector<double> &a, std::vector<double> &b, int n)
{
    for (int j = 0; j < n; ++j) {
        double d = a[j * n + j];
        for (int k = 0; k < j; ++k)
            d -= a[j * n + k] * a[j * n + k];
        if (!(d > 0))
            return false;
        d = std::sqrt(d);
        a[j * n + j] = d;
        for (int i = j + 1; i < n; ++i) {
            double s = a[i * n + j];
            for (int k = 0; k < j; ++k)
                s -= a[i * n + k] * a[j * n + k];
            a[i * n + j] = s / d;
        }
    }
    for (int i = 0; i < n; ++i) {
        double s = b[i];
        for (int k = 0; k < i; ++k)
            s -= a[i * n + k] * b[k];
        b[i] = s / a[i * n + i];
    }
    for (int i = n - 1; i >= 0; --i) {
        double s = b[i];
        for (int k = i + 1; k < n; ++k)
            s -= a[k * n + i] * b[k];
        b[i] = s / a[i * n + i];
    }
    return true;
}

} // namespace

TReferenceResult SolveByNewton(const TNetworkTables &t)
{
    TReferenceResult result;
    result.Q.assign(TableSize, 0.0);
    const int surface = 0;  // every surface node is this one
    const auto place = [&](int node) { return t.NodeIsSurface[node] ? surface : node; };

    std::vector<int> branches;
    std::vector<std::vector<int>> incident(TableSize);
    for (int b = 1; b <= MaxItems; ++b)
        if (BranchExist(t, b)) {
            branches.push_back(b);
            incident[place(t.BranchStartNode[b])].push_back(b);
            incident[place(t.BranchEndNode[b])].push_back(b);
        }

    // Breadth-first tree from the surface.
    std::vector<int> parentBranch(TableSize, 0), depth(TableSize, -1);
    std::vector<bool> inTree(TableSize, false);
    std::deque<int> queue{surface};
    depth[surface] = 0;
    while (!queue.empty()) {
        const int u = queue.front();
        queue.pop_front();
        for (int b : incident[u]) {
            const int a = place(t.BranchStartNode[b]);
            const int v = a == u ? place(t.BranchEndNode[b]) : a;
            if (depth[v] < 0) {
                depth[v] = depth[u] + 1;
                parentBranch[v] = b;
                inTree[b] = true;
                queue.push_back(v);
            }
        }
    }

    // A cycle per chord: the chord from start to end, then the tree back from end to start.
    std::vector<std::vector<TCycleTerm>> cycles;
    for (int c : branches) {
        if (inTree[c])
            continue;
        std::vector<TCycleTerm> cycle{{c, 1}};
        int from = place(t.BranchEndNode[c]);
        int to = place(t.BranchStartNode[c]);
        std::vector<TCycleTerm> tail;
        // Walking from `from` up the tree runs along the cycle; walking from
        // `to` up runs against it.
        while (from != to) {
            if (depth[from] >= depth[to]) {
                const int b = parentBranch[from];
                const bool along = place(t.BranchStartNode[b]) == from;
                cycle.push_back({b, along ? 1 : -1});
                from = along ? place(t.BranchEndNode[b]) : place(t.BranchStartNode[b]);
            } else {
                const int b = parentBranch[to];
                const bool startsHere = place(t.BranchStartNode[b]) == to;
                tail.push_back({b, startsHere ? -1 : 1});
                to = startsHere ? place(t.BranchEndNode[b]) : place(t.BranchStartNode[b]);
            }
        }
        cycle.insert(cycle.end(), tail.rbegin(), tail.rend());
        cycles.push_back(std::move(cycle));
    }

    const int n = static_cast<int>(cycles.size());
    std::vector<double> q(static_cast<std::size_t>(n), 1.0);
    const auto flows = [&](const std::vector<double> &x) {
        std::vector<double> flow(TableSize, 0.0);
        for (int k = 0; k < n; ++k)
            for (const TCycleTerm &term : cycles[k])
                flow[term.Branch] += term.Sign * x[k];
        return flow;
    };
    const auto content = [&](const std::vector<double> &flow) {
        double sum = 0;
        for (int b : branches)
            sum += t.BranchR[b] * std::pow(std::fabs(flow[b]), 3) / 3 - t.BranchAuxDepression[b] * flow[b];
        return sum;
    };

    // The loop law hardly sees flows near zero, so the steps also go on until
    // the circulations stop moving.
    double lastMove = HUGE_VAL;
    for (result.Iterations = 0; result.Iterations < 200; ++result.Iterations) {
        const std::vector<double> flow = flows(q);
        std::vector<double> gradient(static_cast<std::size_t>(n), 0.0);
        std::vector<double> hessian(static_cast<std::size_t>(n) * n, 0.0);
        std::vector<double> weight(TableSize, 0.0);
        // The true slope: a floor much above zero would leave a circulation
        // that no branch's resistance holds (twin dead-end branches) creeping
        // towards zero instead of halving its distance each step. In the
        // space of the cycles small slopes harm no conditioning; the floor
        // only keeps a branch without flow from a zero weight.
        for (int b : branches)
            weight[b] = std::max(2 * t.BranchR[b] * std::fabs(flow[b]), 1e-20);
        double worst = 0;
        for (int k = 0; k < n; ++k) {
            for (const TCycleTerm &term : cycles[k]) {
                const int b = term.Branch;
                gradient[k] += term.Sign * (t.BranchR[b] * flow[b] * std::fabs(flow[b]) - t.BranchAuxDepression[b]);
            }
            worst = std::max(worst, std::fabs(gradient[k]));
        }
        result.WorstLoopResidual = worst;
        if (worst < 1e-9 && lastMove < 1e-11) {
            result.Converged = true;
            break;
        }
        // Hessian of the content: Σ over branches of weight × (its signs in k and l).
        std::vector<std::vector<std::pair<int, int>>> byBranch(TableSize);
        for (int k = 0; k < n; ++k)
            for (const TCycleTerm &term : cycles[k])
                byBranch[term.Branch].push_back({k, term.Sign});
        for (int b : branches)
            for (const auto &[k, sk] : byBranch[b])
                for (const auto &[l, sl] : byBranch[b])
                    hessian[static_cast<std::size_t>(k) * n + l] += weight[b] * sk * sl;
        std::vector<double> step = gradient;
        if (!CholeskySolve(hessian, step, n))
            break;
        const double before = content(flow);
        double alpha = 1;
        std::vector<double> trial(q.size());
        // Close to the solution the content changes by less than its rounding:
        // there the full step, which converges quadratically, is taken as it is.
        const int tries = worst > 1e-3 ? 40 : 1;
        for (int halvings = 0; halvings < tries; ++halvings, alpha /= 2) {
            for (int k = 0; k < n; ++k)
                trial[k] = q[k] - alpha * step[k];
            if (content(flows(trial)) <= before)
                break;
        }
        lastMove = 0;
        for (int k = 0; k < n; ++k)
            lastMove = std::max(lastMove, std::fabs(trial[k] - q[k]));
        q = trial;
    }
    const std::vector<double> flow = flows(q);
    for (int b : branches)
        result.Q[b] = flow[b];
    return result;
}
