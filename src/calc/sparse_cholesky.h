#pragma once
// A symmetric positive definite system whose pattern is a network's node
// graph, factored by a sparse LDLᵀ with a fill-reducing ordering. The pattern
// is analysed once; each factorisation then only refills the values.
#include <memory>
#include <utility>
#include <vector>

class TSparseCholesky
{
public:
    TSparseCholesky();
    ~TSparseCholesky();
    TSparseCholesky(const TSparseCholesky &) = delete;
    TSparseCholesky &operator=(const TSparseCholesky &) = delete;

    // n unknowns coupled by the pairs given (i != j; repeats are fine). The
    // same pattern given again, pair for pair, keeps its analysis.
    void SetPattern(int n, const std::vector<std::pair<int, int>> &couplings);
    // Zeroes every value, keeping the pattern.
    void Clear();
    void AddDiagonal(int i, double value);
    // Adds value at (i, j) and (j, i); the pair must be in the pattern.
    void AddCoupling(int i, int j, double value);
    // False when the matrix is not positive definite.
    bool Factor();
    // Solves in place.
    void Solve(std::vector<double> &b) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> m;
};
