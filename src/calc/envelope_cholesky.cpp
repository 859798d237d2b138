#include "calc/envelope_cholesky.h"

#include <algorithm>
#include <cmath>

namespace {

using TGraph = std::vector<std::vector<int>>;

// Breadth-first levels from start; returns the nodes in visiting order and
// the number of levels.
int LevelWalk(const TGraph &g, int start, std::vector<int> &level, std::vector<int> &order)
{
    order.clear();
    level[start] = 0;
    order.push_back(start);
    int depth = 0;
    for (std::size_t head = 0; head < order.size(); ++head) {
        const int v = order[head];
        for (int w : g[v])
            if (level[w] < 0) {
                level[w] = level[v] + 1;
                depth = std::max(depth, level[w]);
                order.push_back(w);
            }
    }
    return depth;
}

// A node far from everything in its component, where the ordering starts.
int PseudoPeripheral(const TGraph &g, int start)
{
    std::vector<int> level(g.size(), -1);
    std::vector<int> order;
    int depth = LevelWalk(g, start, level, order);
    for (int round = 0; round < 5; ++round) {
        int best = start;
        for (int v : order)
            if (level[v] == depth && (best == start || g[v].size() < g[best].size()))
                best = v;
        for (int v : order)
            level[v] = -1;
        const int newDepth = LevelWalk(g, best, level, order);
        if (newDepth <= depth) {
            start = best;
            break;
        }
        start = best;
        depth = newDepth;
    }
    return start;
}

} // namespace

void TEnvelopeCholesky::SetPattern(int n, const std::vector<std::pair<int, int>> &couplings)
{
    m_n = n;
    TGraph g(static_cast<std::size_t>(n));
    for (const auto &[i, j] : couplings)
        if (i != j) {
            g[i].push_back(j);
            g[j].push_back(i);
        }
    for (auto &list : g) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }

    // Cuthill-McKee per component, neighbours by rising degree, then reversed.
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(n));
    std::vector<bool> seen(static_cast<std::size_t>(n), false);
    for (int s = 0; s < n; ++s) {
        if (seen[s])
            continue;
        const int root = PseudoPeripheral(g, s);
        std::size_t head = order.size();
        order.push_back(root);
        seen[root] = true;
        for (; head < order.size(); ++head) {
            std::vector<int> next;
            for (int w : g[order[head]])
                if (!seen[w]) {
                    seen[w] = true;
                    next.push_back(w);
                }
            std::sort(next.begin(), next.end(), [&](int a, int b) { return g[a].size() < g[b].size(); });
            order.insert(order.end(), next.begin(), next.end());
        }
    }
    std::reverse(order.begin(), order.end());
    m_newIndex.assign(static_cast<std::size_t>(n), 0);
    for (int k = 0; k < n; ++k)
        m_newIndex[order[k]] = k;

    m_first.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        m_first[k] = k;
    for (int v = 0; v < n; ++v)
        for (int w : g[v]) {
            const int row = std::max(m_newIndex[v], m_newIndex[w]);
            const int col = std::min(m_newIndex[v], m_newIndex[w]);
            m_first[row] = std::min(m_first[row], col);
        }
    m_rowStart.resize(static_cast<std::size_t>(n) + 1);
    m_rowStart[0] = 0;
    for (int k = 0; k < n; ++k)
        m_rowStart[k + 1] = m_rowStart[k] + static_cast<std::size_t>(k - m_first[k] + 1);
    m_values.assign(m_rowStart[n], 0.0);
    m_work.resize(static_cast<std::size_t>(n));
}

void TEnvelopeCholesky::Clear()
{
    std::fill(m_values.begin(), m_values.end(), 0.0);
}

double &TEnvelopeCholesky::At(int row, int col)
{
    return m_values[m_rowStart[row] + static_cast<std::size_t>(col - m_first[row])];
}

void TEnvelopeCholesky::AddDiagonal(int i, double value)
{
    const int k = m_newIndex[i];
    At(k, k) += value;
}

void TEnvelopeCholesky::AddCoupling(int i, int j, double value)
{
    const int a = m_newIndex[i];
    const int b = m_newIndex[j];
    At(std::max(a, b), std::min(a, b)) += value;
}

bool TEnvelopeCholesky::Factor()
{
    for (int i = 0; i < m_n; ++i) {
        const int fi = m_first[i];
        double *rowI = m_values.data() + m_rowStart[i] - fi;  // rowI[k] is L(i, k)
        for (int j = fi; j < i; ++j) {
            const int fj = m_first[j];
            const double *rowJ = m_values.data() + m_rowStart[j] - fj;
            double s = rowI[j];
            for (int k = std::max(fi, fj); k < j; ++k)
                s -= rowI[k] * rowJ[k];
            rowI[j] = s / rowJ[j];
        }
        double d = rowI[i];
        for (int k = fi; k < i; ++k)
            d -= rowI[k] * rowI[k];
        if (!(d > 0) || !std::isfinite(d))
            return false;
        rowI[i] = std::sqrt(d);
    }
    return true;
}

void TEnvelopeCholesky::Solve(std::vector<double> &b) const
{
    std::vector<double> &y = m_work;
    for (int v = 0; v < m_n; ++v)
        y[m_newIndex[v]] = b[v];
    for (int i = 0; i < m_n; ++i) {
        const int fi = m_first[i];
        const double *rowI = m_values.data() + m_rowStart[i] - fi;
        double s = y[i];
        for (int k = fi; k < i; ++k)
            s -= rowI[k] * y[k];
        y[i] = s / rowI[i];
    }
    for (int i = m_n - 1; i >= 0; --i) {
        const int fi = m_first[i];
        const double *rowI = m_values.data() + m_rowStart[i] - fi;
        y[i] /= rowI[i];
        for (int k = fi; k < i; ++k)
            y[k] -= rowI[k] * y[i];
    }
    for (int v = 0; v < m_n; ++v)
        b[v] = y[m_newIndex[v]];
}
