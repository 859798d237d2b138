#pragma once
// A symmetric positive definite system whose pattern is a network's node
// graph, solved by Cholesky on its envelope after a reverse Cuthill-McKee
// ordering. Mine networks are long and thin, so the envelope stays narrow and
// a factorisation costs little more than a few passes over the branches.
#include <cstddef>
#include <utility>
#include <vector>

class TEnvelopeCholesky
{
public:
    // n unknowns coupled by the pairs given (i != j; repeats are fine).
    void SetPattern(int n, const std::vector<std::pair<int, int>> &couplings);
    // Zeroes every value, keeping the pattern.
    void Clear();
    void AddDiagonal(int i, double value);
    // Adds value at (i, j) and (j, i); the pair must be in the pattern.
    void AddCoupling(int i, int j, double value);
    // False when the matrix is not positive definite.
    bool Factor();
    // Solves in place, b in the original numbering.
    void Solve(std::vector<double> &b) const;

private:
    double &At(int row, int col);

    int m_n = 0;
    std::vector<int> m_newIndex;        // original -> ordered
    std::vector<int> m_first;           // ordered row -> its first column in the envelope
    std::vector<std::size_t> m_rowStart;
    std::vector<double> m_values;       // row i: columns first[i] .. i
    mutable std::vector<double> m_work;
};
