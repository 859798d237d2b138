#include "calc/fixed_depression.h"
#include "platform/prompt.h"

#include "generated_network.h"
#include "solver_fixture.h"

#include <gtest/gtest.h>

#include <QtCore/QStringList>

#include <algorithm>
#include <cmath>

namespace {

class FixedDepression : public SolverFixture
{
protected:
    void Fixed(int b, double depression) { t.BranchFixedDepression[b] = depression; }
    FixedDeprResult SolveFixed()
    {
        return CalcAirFixedDepression(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode,
                                      t.BranchEndNode, t.NodeIsSurface, t.BranchR, t.BranchAuxDepression,
                                      t.BranchFixedDepression, t.BranchQ, &meshes, &stats);
    }
    // A fan from surface node 1 to node 3, two parallel branches 4 and 5
    // from 3 to 4, and the return from 4 to surface node 2.
    void Regulated()
    {
        Node(1, true);
        Node(2, true);
        Node(3);
        Node(4);
        Branch(1, 1, 3, 0.01, 200);
        Branch(2, 4, 2, 0.01);
        Branch(4, 3, 4, 0.1);
        Branch(5, 3, 4, 0.3);
        Fixed(5, 50);
    }
    QStringList meshes;
};

// Numbers of a mesh text, sorted.
std::vector<int> Numbers(const QString &text)
{
    std::vector<int> numbers;
    for (const QString &part : text.split(QStringLiteral(", ")))
        numbers.push_back(part.toInt());
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace

// The parallel branch takes the fixed 50 mm w.c.; the fan's 200 is shared
// by the two ends (0.01·Q² each) and the pair.
TEST_F(FixedDepression, FindsTheResistanceThatTakesTheDepression)
{
    Regulated();
    ASSERT_EQ(SolveFixed(), fdSolved);
    const double total = std::sqrt(150 / 0.02);
    const double open = std::sqrt(50 / 0.1);
    EXPECT_NEAR(t.BranchQ[1], total, 0.05);
    EXPECT_NEAR(t.BranchQ[4], open, 0.05);
    EXPECT_NEAR(t.BranchQ[5], total - open, 0.05);
    EXPECT_NEAR(t.BranchR[5] * t.BranchQ[5] * t.BranchQ[5], 50, 1e-9);
    EXPECT_NEAR(t.BranchR[5], 50 / ((total - open) * (total - open)), 1e-4);
    // Every other resistance, and every depression, as before.
    EXPECT_EQ(t.BranchR[1], 0.01);
    EXPECT_EQ(t.BranchR[4], 0.1);
    EXPECT_EQ(t.BranchAuxDepression[1], 200);
    EXPECT_EQ(t.BranchAuxDepression[5], 0);
    ExpectContinuity();
}

TEST_F(FixedDepression, WithoutFixedDepressionsRefuses)
{
    Regulated();
    Fixed(5, 0.000009);
    // A stray value at a free place is no fixed depression of the network.
    Fixed(17, 40);
    EXPECT_EQ(SolveFixed(), fdNoFixedDepression);
    Fixed(5, 0.00001);  // the threshold counts
    EXPECT_EQ(SolveFixed(), fdSolved);

    // Dead ends are reported before missing fixed depressions.
    Fixed(5, 0);
    Node(9);
    Branch(9, 4, 9, 0.1);
    EXPECT_EQ(SolveFixed(), fdTopologyErrors);
}

// A loop of fixed branches has nothing to take its depressions: eight in one
// mesh still count as without resistance, nine do not.
TEST_F(FixedDepression, MeshWithoutResistance)
{
    for (int ring : {8, 9}) {
        SCOPED_TRACE(ring);
        Reset();
        meshes.clear();
        Node(1, true);
        Node(2, true);
        for (int n = 3; n < 3 + ring; ++n)
            Node(n);
        Branch(1, 1, 3, 0.1, 200);
        Branch(2, 2 + ring, 2, 0.2);
        int b = 3;
        std::vector<int> ringBranches;
        for (int n = 3; n < 2 + ring; ++n, ++b) {
            Branch(b, n, n + 1, 0.5);
            Fixed(b, 5);
            ringBranches.push_back(b);
        }
        Branch(b, 3, 2 + ring, 0.5);  // closes the ring
        Fixed(b, 5 * (ring - 1));
        ringBranches.push_back(b);
        const auto r = t.BranchR;
        const FixedDeprResult result = SolveFixed();
        if (ring == 8) {
            EXPECT_EQ(result, fdMeshWithoutResistance);
            ASSERT_EQ(meshes.size(), 1);
            EXPECT_EQ(Numbers(meshes[0]), ringBranches);
        } else {
            EXPECT_NE(result, fdMeshWithoutResistance);
            EXPECT_TRUE(meshes.isEmpty());
        }
        if (result != fdSolved) {
            EXPECT_EQ(t.BranchR, r);
        }
    }
}

// A fixed branch in a part of the network that the tree never reaches has
// no flow to give it a resistance: the solve fails and changes nothing.
TEST_F(FixedDepression, FixedBranchWithoutFlowFails)
{
    Regulated();
    Node(6);
    Node(7);
    Branch(6, 6, 7, 0.5);
    Branch(7, 7, 6, 0.5);
    Fixed(7, 20);
    const auto r = t.BranchR;
    const auto h = t.BranchAuxDepression;
    EXPECT_EQ(SolveFixed(), fdCalcFailed);
    EXPECT_EQ(t.BranchR, r);
    EXPECT_EQ(t.BranchAuxDepression, h);
}

TEST_F(FixedDepression, RunOnTheTablesShowsFailures)
{
    TScriptedPrompt prompt;
    Regulated();
    EXPECT_TRUE(RunFixedDepressionAir(nullptr, t));
    EXPECT_TRUE(prompt.Asked.empty());
    Fixed(5, 0);
    EXPECT_FALSE(RunFixedDepressionAir(nullptr, t));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Расчет невозможен. Не заданы фиксированные депрессии."));
}

// Regulators of a mine that the loop passes alone do not settle: the extended
// solve carries the fixed depressions too.
TEST_F(FixedDepression, HardMineWithFixedRegulators)
{
    MakeMineNetwork(t, 60, 1, 1);
    std::vector<int> regulators;
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        if (t.BranchR[b] >= 0.5 && t.BranchR[b] <= 5 && t.BranchAuxDepression[b] == 0 && regulators.size() < 6
            && b % 5 == 0) {
            Fixed(b, 4);
            regulators.push_back(b);
        }
    ASSERT_FALSE(regulators.empty());
    ASSERT_EQ(SolveFixed(), fdSolved);
    EXPECT_NE(stats.Settling, stUnsettled);
    for (int b : regulators)
        EXPECT_NEAR(t.BranchR[b] * t.BranchQ[b] * t.BranchQ[b], 4, 1e-9) << b;
    ExpectContinuity();
}
