#include "calc/sparse_cholesky.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>
#include <vector>

namespace {

// A pressure system as the solver builds one: a conductance per coupling,
// added to both nodes' diagonals, and a leak to the reference at some nodes.
struct TSystem
{
    int Size = 0;
    std::vector<std::pair<int, int>> Couplings;
    std::vector<double> Conductance;
    std::vector<double> Leak;

    void Fill(TSparseCholesky &system) const
    {
        system.Clear();
        for (int i = 0; i < Size; ++i)
            system.AddDiagonal(i, Leak[i]);
        for (std::size_t k = 0; k < Couplings.size(); ++k) {
            const auto [i, j] = Couplings[k];
            system.AddDiagonal(i, Conductance[k]);
            system.AddDiagonal(j, Conductance[k]);
            system.AddCoupling(i, j, -Conductance[k]);
        }
    }

    // The largest |A·x − b|.
    double Residual(const std::vector<double> &x, const std::vector<double> &b) const
    {
        std::vector<double> ax(static_cast<std::size_t>(Size));
        for (int i = 0; i < Size; ++i)
            ax[i] = Leak[i] * x[i];
        for (std::size_t k = 0; k < Couplings.size(); ++k) {
            const auto [i, j] = Couplings[k];
            ax[i] += Conductance[k] * (x[i] - x[j]);
            ax[j] += Conductance[k] * (x[j] - x[i]);
        }
        double worst = 0;
        for (int i = 0; i < Size; ++i)
            worst = std::max(worst, std::fabs(ax[i] - b[i]));
        return worst;
    }
};

// A grid of side × side nodes whose numbering is shuffled, so that the
// fill-reducing order differs from the given one, with conductances over
// several decades.
TSystem ShuffledGrid(int side, unsigned seed)
{
    std::mt19937 random(seed);
    TSystem s;
    s.Size = side * side;
    std::vector<int> number(static_cast<std::size_t>(s.Size));
    for (int i = 0; i < s.Size; ++i)
        number[i] = i;
    std::shuffle(number.begin(), number.end(), random);
    std::uniform_real_distribution<double> decade(-4, 4);
    for (int r = 0; r < side; ++r)
        for (int c = 0; c < side; ++c) {
            const int n = number[r * side + c];
            if (c + 1 < side)
                s.Couplings.emplace_back(n, number[r * side + c + 1]);
            if (r + 1 < side)
                s.Couplings.emplace_back(number[(r + 1) * side + c], n);  // either way round
        }
    for (std::size_t k = 0; k < s.Couplings.size(); ++k)
        s.Conductance.push_back(std::pow(10.0, decade(random)));
    s.Leak.assign(static_cast<std::size_t>(s.Size), 0.0);
    s.Leak[number[0]] = 1;  // the grid's one link to the reference
    return s;
}

} // namespace

// The solution satisfies the system given in the caller's numbering, also
// when the same pattern comes again with other values (its analysis kept)
// and after another pattern in between.
TEST(SparseCholesky, SolvesInTheCallersNumberingAcrossRefills)
{
    TSparseCholesky system;
    TSystem first = ShuffledGrid(12, 1);
    TSystem other = ShuffledGrid(7, 2);
    TSystem again = first;  // the same pattern, other values
    for (double &g : again.Conductance)
        g = 1 / g;
    for (TSystem *s : {&first, &again, &other, &first}) {
        system.SetPattern(s->Size, s->Couplings);
        s->Fill(system);
        ASSERT_TRUE(system.Factor());
        std::vector<double> b(static_cast<std::size_t>(s->Size));
        for (int i = 0; i < s->Size; ++i)
            b[i] = std::sin(i + 1.0);
        std::vector<double> x = b;
        system.Solve(x);
        EXPECT_LT(s->Residual(x, b), 1e-9);
    }
}

// A negative diagonal makes the system indefinite, which LDLᵀ would factor
// all the same: it is not taken as positive definite.
TEST(SparseCholesky, RefusesAnIndefiniteSystem)
{
    TSparseCholesky system;
    TSystem s = ShuffledGrid(5, 3);
    system.SetPattern(s.Size, s.Couplings);
    s.Fill(system);
    EXPECT_TRUE(system.Factor());
    s.Leak[7] = -1e6;
    s.Fill(system);
    EXPECT_FALSE(system.Factor());
}
