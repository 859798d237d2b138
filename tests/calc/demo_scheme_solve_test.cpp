// The sample mine that a new user opens first solves, and solves soundly.
#include "model/scheme_file.h"

#include "newton_reference.h"
#include "solver_fixture.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(DemoScheme, Solves)
{
    auto t = std::make_unique<TNetworkTables>();
    TSchemeDocument doc;
    ReadMineFile(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine"), *t, doc);
    TSolveStats stats;
    ASSERT_EQ(CalcAirDistribution(*t, MaxBranchNo(*t), MaxNodeNo(*t), t->BranchNo, t->BranchStartNode,
                                  t->BranchEndNode, t->NodeIsSurface, t->BranchR, t->BranchAuxDepression,
                                  t->BranchQ, &stats),
              crSolved);
    EXPECT_EQ(stats.Settling, stSettled);
    EXPECT_LT(WorstImbalance(*t), 1e-9);
    ExpectLoopLaw(*t);
    const TReferenceResult reference = SolveByNewton(*t);
    ASSERT_TRUE(reference.Converged);
    for (int b = 1; b <= MaxBranchNo(*t); ++b) {
        const double r = t->BranchR[b];
        const double q = t->BranchQ[b];
        EXPECT_NEAR(r * q * std::fabs(q), r * reference.Q[b] * std::fabs(reference.Q[b]),
                    3 * static_cast<double>(ResidualTolerance))
            << b;
    }
}
