#include "calc/sparse_cholesky.h"

#include <Eigen/OrderingMethods>
#include <Eigen/SparseCholesky>
#include <Eigen/SparseCore>

#include <algorithm>
#include <cmath>

// The matrix is kept already in its fill-reducing order, as the upper triangle
// in compressed columns: the form the factorisation reads as it stands. Left
// to order it itself, the factorisation would copy and permute every value
// at each refactoring, a third of the refactoring's work.
struct TSparseCholesky::TImpl
{
    using TMatrix = Eigen::SparseMatrix<double, Eigen::ColMajor, int>;
    TMatrix Matrix;
    Eigen::SimplicialLDLT<TMatrix, Eigen::Upper, Eigen::NaturalOrdering<int>> Factorization;
    std::vector<int> Position;  // by unknown: its place in the fill-reducing order
    std::vector<int> Diagonal;  // by unknown: where its diagonal entry is stored
    int Size = -1;
    std::vector<std::pair<int, int>> Couplings;  // as given to the last SetPattern
    mutable Eigen::VectorXd Work;

    // The stored entry of unknowns i and j (i may equal j).
    double &Entry(int i, int j)
    {
        const int row = std::min(Position[i], Position[j]);
        const int col = std::max(Position[i], Position[j]);
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
    // The order that least fills the factor, found on the whole symmetric pattern.
    std::vector<Eigen::Triplet<double, int>> entries;
    entries.reserve(static_cast<std::size_t>(n) + 2 * couplings.size());
    for (int i = 0; i < n; ++i)
        entries.emplace_back(i, i, 1.0);
    for (const auto &[i, j] : couplings)
        if (i != j) {
            entries.emplace_back(i, j, 1.0);
            entries.emplace_back(j, i, 1.0);
        }
    TImpl::TMatrix symmetric(n, n);
    symmetric.setFromTriplets(entries.begin(), entries.end());
    Eigen::PermutationMatrix<Eigen::Dynamic, Eigen::Dynamic, int> inverse;
    Eigen::AMDOrdering<int>()(symmetric, inverse);
    m->Position.resize(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        m->Position[static_cast<std::size_t>(inverse.indices()[k])] = k;

    entries.clear();
    for (int i = 0; i < n; ++i)
        entries.emplace_back(m->Position[i], m->Position[i], 0.0);
    for (const auto &[i, j] : couplings)
        if (i != j)
            entries.emplace_back(std::min(m->Position[i], m->Position[j]), std::max(m->Position[i], m->Position[j]), 0.0);
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
    m->Entry(i, j) += value;
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
    const std::size_t n = b.size();
    for (std::size_t i = 0; i < n; ++i)
        m->Work[m->Position[i]] = b[i];
    m->Work = m->Factorization.solve(m->Work);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = m->Work[m->Position[i]];
}
