#include "calc/sparse_cholesky.h"

#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <algorithm>
#include <cmath>

// The lower triangle in compressed columns; the solver reads only that half.
struct TSparseCholesky::TImpl
{
    using TMatrix = Eigen::SparseMatrix<double, Eigen::ColMajor, int>;
    TMatrix Matrix;
    Eigen::SimplicialLDLT<TMatrix, Eigen::Lower> Factorization;
    std::vector<int> Diagonal;  // where each diagonal entry is stored
    int Size = -1;
    std::vector<std::pair<int, int>> Couplings;  // as given to the last SetPattern
    mutable Eigen::VectorXd Work;

    double &Entry(int row, int col)
    {
        const int *rows = Matrix.innerIndexPtr();
        const int begin = Matrix.outerIndexPtr()[col];
        const int end = Matrix.outerIndexPtr()[col + 1];
        const int *found = std::lower_bound(rows + begin, rows + end, row);
        return Matrix.valuePtr()[found - rows];
    }
};

TSparseCholesky::TSparseCholesky() : m(std::make_unique<TImpl>()) {}

TSparseCholesky::~TSparseCholesky() = default;

void TSparseCholesky::SetPattern(int n, const std::vector<std::pair<int, int>> &couplings)
{
    if (n == m->Size && couplings == m->Couplings)
        return;
    m->Size = n;
    m->Couplings = couplings;
    std::vector<Eigen::Triplet<double, int>> entries;
    entries.reserve(static_cast<std::size_t>(n) + couplings.size());
    for (int i = 0; i < n; ++i)
        entries.emplace_back(i, i, 0.0);
    for (const auto &[i, j] : couplings)
        if (i != j)
            entries.emplace_back(std::max(i, j), std::min(i, j), 0.0);
    m->Matrix.resize(n, n);
    m->Matrix.setFromTriplets(entries.begin(), entries.end());
    m->Matrix.makeCompressed();
    m->Diagonal.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        m->Diagonal[i] = static_cast<int>(&m->Entry(i, i) - m->Matrix.valuePtr());
    m->Factorization.analyzePattern(m->Matrix);
    m->Work.resize(n);
}

void TSparseCholesky::Clear()
{
    std::fill(m->Matrix.valuePtr(), m->Matrix.valuePtr() + m->Matrix.nonZeros(), 0.0);
}

void TSparseCholesky::AddDiagonal(int i, double value)
{
    m->Matrix.valuePtr()[m->Diagonal[i]] += value;
}

void TSparseCholesky::AddCoupling(int i, int j, double value)
{
    m->Entry(std::max(i, j), std::min(i, j)) += value;
}

bool TSparseCholesky::Factor()
{
    m->Factorization.factorize(m->Matrix);
    if (m->Factorization.info() != Eigen::Success)
        return false;
    // LDLᵀ also factors indefinite matrices; the pressure system must be positive definite.
    const auto d = m->Factorization.vectorD();
    for (Eigen::Index i = 0; i < d.size(); ++i)
        if (!(d[i] > 0) || !std::isfinite(d[i]))
            return false;
    return true;
}

void TSparseCholesky::Solve(std::vector<double> &b) const
{
    const auto n = static_cast<Eigen::Index>(b.size());
    m->Work = m->Factorization.solve(Eigen::Map<const Eigen::VectorXd>(b.data(), n));
    std::copy(m->Work.data(), m->Work.data() + n, b.begin());
}
