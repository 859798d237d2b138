#include "quad_reference.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <algorithm>
#include <deque>

namespace {

using TQuad = __float128;
using TMatrix = Eigen::SparseMatrix<long double, Eigen::ColMajor, int>;
using TVector = Eigen::Matrix<long double, Eigen::Dynamic, 1>;

TQuad Abs(TQuad x)
{
    return x < 0 ? -x : x;
}

// Below any slope that a flow of interest has (2·R·|Q| of 1e-10 m³/s at the
// least resistance is 2e-15); it only keeps a branch without flow or
// resistance from dividing by zero.
constexpr double SlopeFloor = 1e-15;
constexpr double StopMove = 1e-13;
constexpr int MaxSteps = 400;
constexpr int MaxRefinements = 40;

} // namespace

TQuadReference SolveQuadReference(const TNetworkTables &t)
{
    TQuadReference result;
    result.Q.assign(TableSize, 0.0);
    const auto place = [&](int node) { return t.NodeIsSurface[node] ? 0 : node; };
    std::vector<std::vector<int>> incident(TableSize);
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        if (BranchExist(t, b)) {
            incident[place(t.BranchStartNode[b])].push_back(b);
            incident[place(t.BranchEndNode[b])].push_back(b);
        }
    // The surface's part of the network, breadth first.
    std::vector<bool> reached(TableSize, false);
    std::deque<int> queue{0};
    reached[0] = true;
    std::vector<int> branches;
    std::vector<bool> taken(TableSize, false);
    while (!queue.empty()) {
        const int u = queue.front();
        queue.pop_front();
        for (int b : incident[u]) {
            if (!taken[b]) {
                taken[b] = true;
                branches.push_back(b);
            }
            for (int v : {place(t.BranchStartNode[b]), place(t.BranchEndNode[b])})
                if (!reached[v]) {
                    reached[v] = true;
                    queue.push_back(v);
                }
        }
    }
    std::vector<int> index(TableSize, -1);
    int n = 0;
    for (int node = 1; node < TableSize; ++node)
        if (reached[node])
            index[node] = n++;
    const std::size_t count = branches.size();
    std::vector<int> from(count), to(count);
    std::vector<TQuad> q(count), r(count), h(count);
    for (std::size_t k = 0; k < count; ++k) {
        const int b = branches[k];
        from[k] = index[place(t.BranchStartNode[b])];
        to[k] = index[place(t.BranchEndNode[b])];
        q[k] = t.BranchQ[b];
        r[k] = t.BranchR[b];
        h[k] = t.BranchAuxDepression[b];
    }

    Eigen::SimplicialLDLT<TMatrix, Eigen::Lower> factorization;
    bool analysed = false;
    std::vector<Eigen::Triplet<long double, int>> entries;
    std::vector<TQuad> slope(count), loss(count), rhs(n), p(n), residual(n);
    TVector work(n);
    for (result.Steps = 0; result.Steps < MaxSteps; ++result.Steps) {
        std::fill(rhs.begin(), rhs.end(), TQuad(0));
        entries.clear();
        for (int i = 0; i < n; ++i)
            entries.emplace_back(i, i, 0.0L);
        for (std::size_t k = 0; k < count; ++k) {
            slope[k] = std::max(2 * r[k] * Abs(q[k]), TQuad(SlopeFloor));
            loss[k] = r[k] * q[k] * Abs(q[k]) - h[k];
            const TQuad flow = q[k] - loss[k] / slope[k];
            const auto w = static_cast<long double>(1 / slope[k]);
            const int i = from[k], j = to[k];
            if (i == j)
                continue;
            if (i >= 0) {
                rhs[i] -= flow;
                entries.emplace_back(i, i, w);
            }
            if (j >= 0) {
                rhs[j] += flow;
                entries.emplace_back(j, j, w);
            }
            if (i >= 0 && j >= 0)
                entries.emplace_back(std::max(i, j), std::min(i, j), -w);
        }
        TMatrix matrix(n, n);
        matrix.setFromTriplets(entries.begin(), entries.end());
        if (!analysed) {
            factorization.analyzePattern(matrix);
            analysed = true;
        }
        factorization.factorize(matrix);
        if (factorization.info() != Eigen::Success)
            return result;
        // Pressures refined until the corrections vanish in quadruple precision.
        std::fill(p.begin(), p.end(), TQuad(0));
        for (int refinement = 0; refinement < MaxRefinements; ++refinement) {
            residual = rhs;
            for (std::size_t k = 0; k < count; ++k) {
                const int i = from[k], j = to[k];
                if (i == j)
                    continue;
                const TQuad x = (i >= 0 ? p[i] : 0) - (j >= 0 ? p[j] : 0);
                const TQuad flow = x / slope[k];
                if (i >= 0)
                    residual[i] -= flow;
                if (j >= 0)
                    residual[j] += flow;
            }
            for (int i = 0; i < n; ++i)
                work[i] = static_cast<long double>(residual[i]);
            work = factorization.solve(work);
            TQuad largest = 0, change = 0;
            for (int i = 0; i < n; ++i) {
                p[i] += work[i];
                largest = std::max(largest, Abs(p[i]));
                change = std::max(change, Abs(TQuad(work[i])));
            }
            if (change <= largest * TQuad(1e-32))
                break;
        }
        TQuad moved = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const int i = from[k], j = to[k];
            const TQuad drop = i == j ? TQuad(0) : (i >= 0 ? p[i] : 0) - (j >= 0 ? p[j] : 0);
            const TQuad change = (drop - loss[k]) / slope[k];
            q[k] += change;
            moved = std::max(moved, Abs(change));
        }
        result.LastMove = static_cast<double>(moved);
        if (!(result.LastMove < 1e10))
            return result;
        if (moved < StopMove) {
            result.Converged = true;
            ++result.Steps;
            break;
        }
    }
    for (std::size_t k = 0; k < count; ++k)
        result.Q[branches[k]] = static_cast<double>(q[k]);
    return result;
}
