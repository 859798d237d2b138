// The solver against an independent Newton solver on a seeded corpus of
// generated networks: random ones of up to some 250 branches and mine-like
// ones, among them networks still unsettled after the method's 200 passes.
#include "generated_network.h"
#include "method_passes.h"
#include "newton_reference.h"
#include "quad_reference.h"
#include "solver_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

struct TCorpusCase
{
    const char *Kind;
    unsigned Seed;
};

void Generate(TNetworkTables &t, const TCorpusCase &c)
{
    const std::string kind = c.Kind;
    if (kind == "random")
        MakeRandomNetwork(t, 8 + 3 * c.Seed, 16 + 8 * c.Seed, c.Seed);
    else if (kind == "mine")
        MakeMineNetwork(t, 4 + 2 * c.Seed, c.Seed, 1 + c.Seed % 3);
    else if (kind == "hard mine")
        MakeMineNetwork(t, 40 + 10 * c.Seed, c.Seed, 1);
    else
        MakeGridNetwork(t, 100 + 150 * c.Seed);
}

// Each case's network, generated and solved.
class Corpus : public ::testing::TestWithParam<TCorpusCase>
{
protected:
    void SetUp() override
    {
        Generate(t, GetParam());
        ASSERT_EQ(CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode,
                                      t.BranchEndNode, t.NodeIsSurface, t.BranchR, t.BranchAuxDepression,
                                      t.BranchQ, &stats),
                  crSolved);
    }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    TSolveStats stats;
};

std::vector<TCorpusCase> Cases()
{
    std::vector<TCorpusCase> cases;
    for (unsigned seed = 1; seed <= 30; ++seed)
        cases.push_back({"random", seed});
    for (unsigned seed = 1; seed <= 8; ++seed)
        cases.push_back({"mine", seed});
    for (unsigned seed = 1; seed <= 3; ++seed)
        cases.push_back({"hard mine", seed});
    for (unsigned seed = 1; seed <= 4; ++seed)
        cases.push_back({"grid", seed});
    return cases;
}

} // namespace

// Where the passes settle, flows may still be off by what the stopping test
// lets through: a loop residual of 0.03 mm w.c. in a mesh of small resistance
// is a sizeable flow. Measured in depression, R·Q·|Q|, each branch stays
// within a few residual tolerances. After the extended solve the flows are
// those of a converged Newton method, so they agree within 1e-6 m³/s.
TEST_P(Corpus, AgreesWithNewtonWithinTheTolerance)
{
    ASSERT_TRUE(stats.Settling == stSettled || stats.Settling == stExtended);
    EXPECT_LT(WorstImbalance(t), 1e-9);
    ExpectLoopLaw(t);

    const TReferenceResult reference = SolveByNewton(t);
    ASSERT_TRUE(reference.Converged) << reference.WorstLoopResidual;
    const double depressionTolerance = 3 * static_cast<double>(ResidualTolerance);
    for (int b = 1; b <= MaxBranchNo(t); ++b) {
        const double q = t.BranchQ[b];
        const double expected = reference.Q[b];
        if (stats.Settling == stExtended) {
            EXPECT_NEAR(q, expected, 1e-6) << "branch " << b;
        } else {
            const double r = t.BranchR[b];
            EXPECT_NEAR(r * q * std::fabs(q), r * expected * std::fabs(expected), depressionTolerance)
                << "branch " << b << ": Q " << q << ", expected " << expected;
        }
    }
}

namespace {

// Solves t and checks it against the method's own passes: where they settle,
// the solver must have run exactly those passes and give their flows to the
// last bit; where they do not, it must have gone on to the extended solve.
// The pass at which the method settles, 0 when it does not.
int ExpectTheMethodsPasses(TNetworkTables &t)
{
    TSolveStats stats;
    EXPECT_EQ(CalcTablesAir(t, &stats), crSolved);
    auto flows = std::make_unique<TTable<double>>();
    TTable<double> &q = *flows;
    const int settledAt = MethodPasses(t, q);
    EXPECT_GE(settledAt, 0);
    if (settledAt <= 0) {
        EXPECT_NE(stats.Settling, stSettled);
        return settledAt;
    }
    EXPECT_EQ(stats.Settling, stSettled);
    EXPECT_EQ(stats.Passes, settledAt);
    int differing = 0;
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        if (std::memcmp(&q[b], &t.BranchQ[b], sizeof(double)) != 0 && ++differing <= 3)
            ADD_FAILURE() << "branch " << b << ": " << t.BranchQ[b] << ", the method's passes give " << q[b];
    EXPECT_EQ(differing, 0);
    return settledAt;
}

} // namespace

// The solver runs its passes on flat arrays with R·|Q|·Q in place of R·Q·|Q|.
TEST_P(Corpus, SettledFlowsAreThoseOfTheMethodsPasses)
{
    ExpectTheMethodsPasses(t);
}

INSTANTIATE_TEST_SUITE_P(Seeded, Corpus, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<TCorpusCase> &info) {
                             std::string name = info.param.Kind;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name + "_" + std::to_string(info.param.Seed);
                         });

// The hardest of the corpus: the method's own passes leave it unsettled, and
// the extended solve follows all of them.
TEST(Corpus, HardMineNeedsTheExtendedSolve)
{
    auto holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    MakeMineNetwork(t, 60, 1, 1);
    TSolveStats stats;
    ASSERT_EQ(CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode,
                                  t.BranchEndNode, t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, t.BranchQ,
                                  &stats),
              crSolved);
    EXPECT_EQ(stats.Settling, stExtended);
    EXPECT_GT(stats.Passes, MaxPasses);
    EXPECT_GT(stats.NewtonSteps, 0);
    EXPECT_LT(CheckLoopLaw(t).WorstResidual, static_cast<double>(ResidualTolerance));
}

// Generated networks whose passes settle late within MaxPasses.
TEST(Corpus, LateSettlingNetworksRunAllTheirPasses)
{
    struct TLate
    {
        int Panels;
        unsigned Seed;
        int Fans, Intakes, SettledAt;
    };
    const TLate cases[] = {
        {58, 8366, 3, 2, 168}, {29, 2165, 1, 2, 175}, {33, 1957, 1, 2, 190}, {60, 5000, 3, 2, 192},
        {26, 9342, 1, 1, 186}, {34, 3718, 2, 1, 198}, {30, 4038, 1, 3, 199}, {32, 2856, 1, 2, 195},
    };
    auto holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    for (const TLate &c : cases) {
        SCOPED_TRACE(c.Seed);
        MakeMineNetwork(t, c.Panels, c.Seed, c.Fans, c.Intakes);
        EXPECT_EQ(ExpectTheMethodsPasses(t), c.SettledAt);
    }
    const int nodes = 8 + 3871 * 7 % 900;
    MakeRandomNetwork(t, nodes, 2 * nodes + nodes / 2, 3871);
    EXPECT_EQ(ExpectTheMethodsPasses(t), 173);
}

namespace {

// Reads a network written as text: "N <nodes>", a line "node <n> <1 on the
// surface, else 0>" for each, "B <branches>", then "branch <b> <from> <to> <R> <H>".
bool ReadNetworkText(TNetworkTables &t, const std::string &path)
{
    ClearAllItems(t);
    std::ifstream in(path);
    std::string line, word;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        fields >> word;
        if (word == "node") {
            int n = 0, surface = 0;
            if (!(fields >> n >> surface))
                return false;
            CreateNode(t, n);
            t.NodeIsSurface[n] = surface != 0;
        } else if (word == "branch") {
            int b = 0, from = 0, to = 0;
            double r = 0, h = 0;
            if (!(fields >> b >> from >> to >> r >> h))
                return false;
            CreateBranch(t, b);
            t.BranchStartNode[b] = static_cast<std::int16_t>(from);
            t.BranchEndNode[b] = static_cast<std::int16_t>(to);
            t.BranchR[b] = r;
            t.BranchAuxDepression[b] = h;
        }
    }
    return MaxBranchNo(t) > 0;
}

} // namespace

// Networks whose passes stall, or even rise, for tens of passes and then fall
// steeply to settle late, and networks still millions of tolerances from
// settling at pass 60 that settle by pass 190. A look ahead from the passes'
// course would take them for networks that never settle; they must run all
// their passes all the same.
TEST(Corpus, StallThenFallNetworksRunAllTheirPasses)
{
    struct TStall
    {
        const char *File;
        int SettledAt;
    };
    const TStall cases[] = {
        {"switch-v1.txt", 198},
        {"switch-v2.txt", 196},
        {"late-fall-1.txt", 152},
        {"late-fall-2.txt", 147},
        {"late-fall-3.txt", 188},
    };
    auto holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    for (const TStall &c : cases) {
        SCOPED_TRACE(c.File);
        ASSERT_TRUE(ReadNetworkText(t, std::string(TUNVEX_FIXTURES "/solver/") + c.File));
        EXPECT_EQ(ExpectTheMethodsPasses(t), c.SettledAt);
    }
}

namespace {

// Puts a Wheatstone bridge beside branch b: two paths of two branches from its
// start node to its end node, each of ten times its resistance, and a cross
// branch between their middles. With `skew` 0 the bridge is balanced and no
// air crosses; a small skew makes the cross flow tiny but not zero. Returns the
// cross branch.
int AddBridge(TNetworkTables &t, int b, double skew)
{
    const int from = t.BranchStartNode[b];
    const int to = t.BranchEndNode[b];
    const int x = MaxNodeNo(t) + 1;
    const int y = x + 1;
    CreateNode(t, x);
    CreateNode(t, y);
    const double r = 10 * t.BranchR[b];
    const struct { int From, To; double R; } parts[] = {
        {from, x, r}, {x, to, r}, {from, y, r * (1 + skew)}, {y, to, r}, {x, y, r}};
    int branch = MaxBranchNo(t);
    for (const auto &part : parts) {
        CreateBranch(t, ++branch);
        t.BranchStartNode[branch] = static_cast<std::int16_t>(part.From);
        t.BranchEndNode[branch] = static_cast<std::int16_t>(part.To);
        t.BranchR[branch] = part.R;
        t.BranchAuxDepression[branch] = 0;
    }
    return branch;
}

} // namespace

// The Newton finish stops when the shrinking of its steps bounds how far any
// flow can still move. Flows near zero, which the loop law hardly sees, must
// be as close to the solution as the others: here the cross branches of
// bridges, balanced and nearly balanced, beside the busiest underground
// branches of a network whose passes do not settle.
TEST(Corpus, NewtonFinishKeepsFlowsNearZeroWithinItsBound)
{
    auto holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    for (const double skew : {0.0, 1e-5, 1e-4}) {
        SCOPED_TRACE(skew);
        MakeMineNetwork(t, 60, 1, 1);
        ASSERT_EQ(CalcTablesAir(t), crSolved);
        const std::vector<int> busiest = BusiestBranches(t, 15);
        std::vector<int> crosses;
        for (int k = 0; k < 3; ++k)
            crosses.push_back(AddBridge(t, busiest[static_cast<std::size_t>(k) * 7], skew));

        TSolveStats stats;
        ASSERT_EQ(CalcTablesAir(t, &stats), crSolved);
        EXPECT_EQ(stats.Settling, stExtended);
        EXPECT_LE(stats.NewtonSteps, 30);
        const TReferenceResult reference = SolveByNewton(t);
        ASSERT_TRUE(reference.Converged);
        int nearZero = 0;
        for (int b = 1; b <= MaxBranchNo(t); ++b) {
            EXPECT_NEAR(t.BranchQ[b], reference.Q[b], 1e-6) << "branch " << b;
            nearZero += std::fabs(reference.Q[b]) < 1e-3;
        }
        for (int cross : crosses)
            EXPECT_LT(std::fabs(reference.Q[cross]), 1e-3) << "cross branch " << cross;
        EXPECT_GE(nearZero, 3);
    }
}

// On full-size networks whose passes do not settle, the Newton finish ends by
// its own rule, far before its cap: the benchmarks' networks and those that
// took the longest under a rule that waited for flows near zero to stop moving.
TEST(Corpus, NewtonFinishEndsByItsRuleOnFullSizeNetworks)
{
    struct TFullSize
    {
        unsigned Seed;
        int Fans, Intakes;
    };
    const TFullSize cases[] = {{1, 1, 2}, {1, 7, 2}, {2, 2, 3}, {6, 2, 1}, {10, 4, 1}, {2, 1, 1}};
    auto holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    for (const TFullSize &c : cases) {
        SCOPED_TRACE(testing::Message() << "seed " << c.Seed << ", " << c.Fans << " fans, " << c.Intakes << " intakes");
        MakeMineNetwork(t, MineNetworkPanels(5000), c.Seed, c.Fans, c.Intakes);
        TSolveStats stats;
        ASSERT_EQ(CalcTablesAir(t, &stats), crSolved);
        EXPECT_EQ(stats.Settling, stExtended);
        EXPECT_GT(stats.NewtonSteps, 0);
        EXPECT_LE(stats.NewtonSteps, 30);
        EXPECT_LT(CheckLoopLaw(t).WorstResidual, static_cast<double>(ResidualTolerance));
    }
}

namespace {

struct TFinishCase
{
    const char *Name;
    std::function<void(TNetworkTables &)> Build;
    int NearZero;  // flows under 1e-6 m³/s at least, in the reference
    int FloorCycles = -1;  // cycles of the largest group settled apart, more than this
};

// The unsettled networks the fixtures grow from: a random one of 150
// branches, a mine-like one of some 1,000 and the full-size one of the
// benchmarks. The additions that need flows see those of a first solve.
void SmallNetwork(TNetworkTables &t)
{
    MakeRandomNetwork(t, 60, 150, 3);
}

void SolvedMine(TNetworkTables &t, int panels)
{
    MakeMineNetwork(t, panels, 1, 1);
    ASSERT_EQ(CalcTablesAir(t), crSolved);
}

void StiffSoftPairs(TNetworkTables &t, int count)
{
    for (int b : BusiestBranches(t, count))
        AddParallelPair(t, t.BranchEndNode[b], 0.002, 5);
}

const TFinishCase FinishCases[] = {
    {"parallel pair", [](TNetworkTables &t) {
         SmallNetwork(t);
         AddParallelPair(t, 10, 0.0031, 0.0025);
     }, 2},
    {"two pairs on one node", [](TNetworkTables &t) {
         SmallNetwork(t);
         AddParallelPair(t, 10, 0.0031, 0.0025);
         AddParallelPair(t, 10, 0.004, 0.0018);
     }, 4},
    {"pair with a weak fan in one branch", [](TNetworkTables &t) {
         SmallNetwork(t);
         AddParallelPair(t, 10, 0.0031, 0.0025);
         t.BranchAuxDepression[MaxBranchNo(t)] = 1e-8;
     }, 0},
    {"stiff and soft pairs beside the busiest branches", [](TNetworkTables &t) {
         SolvedMine(t, 60);
         StiffSoftPairs(t, 4);
     }, 8},
    {"local fan cancelling a busy branch's drop", [](TNetworkTables &t) {
         SolvedMine(t, 60);
         AddCancellingFan(t, BusiestBranches(t, 1)[0], 0.5);
     }, 1},
    {"full size", [](TNetworkTables &t) { MakeMineNetwork(t, MineNetworkPanels(5000), 1, 1); }, 0},
    {"full size with pairs, stiff and soft pairs and a cancelling fan", [](TNetworkTables &t) {
         SolvedMine(t, MineNetworkPanels(4900));
         const std::vector<int> busiest = BusiestBranches(t, 6);
         AddCancellingFan(t, busiest[5], 0.5);
         AddParallelPair(t, t.BranchStartNode[busiest[3]], 0.0031, 0.0025);
         AddParallelPair(t, t.BranchStartNode[busiest[3]], 0.004, 0.0018);
         StiffSoftPairs(t, 2);
     }, 9},
    {"pairs with a branch below the least resistance, one without any in the tree", [](TNetworkTables &t) {
         SmallNetwork(t);
         AddParallelPair(t, 10, 1e-6, 0.0031);
         AddParallelPair(t, 20, 1e-9, 0.0025);
         AddParallelPair(t, 30, 0.004, 0);  // the second branch joins the tree
     }, 6},
    {"300 parallel branches to a dead-end node", [](TNetworkTables &t) {
         SmallNetwork(t);
         AddParallelBranches(t, 10, 300, 0.003);
     }, 300, 298},
    {"full size with a region of 325 cycles where a weak fan hardly moves the air", [](TNetworkTables &t) {
         SolvedMine(t, MineNetworkPanels(4300));
         const int first = AddDeadEndGrid(t, t.BranchEndNode[BusiestBranches(t, 1)[0]], 19, 0.01);
         t.BranchAuxDepression[first + 100] = 1e-8;
     }, 30, 300},
    {"dead-end grid of 257 cycles", [](TNetworkTables &t) {
         SolvedMine(t, 60);
         AddDeadEndGrid(t, t.BranchEndNode[BusiestBranches(t, 1)[0]], 17, 0.01);
     }, 544, 256},
};

} // namespace

// The Newton finish of networks whose passes do not settle, against a
// reference converged in quadruple precision (and, for the small ones, the
// dense one): every flow within 1e-6 m³/s, flows near zero included, in at
// most 30 steps. Twin branches that join a node to the network carry no air,
// yet their circulation sits on the Newton steps' slope floor, where those
// steps alone move it by a few per cent a step.
TEST(Corpus, NewtonFinishFindsEveryFlowNearZeroIncluded)
{
    auto holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    for (const TFinishCase &c : FinishCases) {
        SCOPED_TRACE(c.Name);
        c.Build(t);
        TSolveStats stats;
        ASSERT_EQ(CalcTablesAir(t, &stats), crSolved);
        EXPECT_EQ(stats.Settling, stExtended);
        EXPECT_LE(stats.NewtonSteps, 30);
        EXPECT_GT(stats.FloorCycles, c.FloorCycles);
        EXPECT_LT(WorstImbalance(t), 1e-9);
        EXPECT_LT(CheckLoopLaw(t).WorstResidual, static_cast<double>(ResidualTolerance));

        const TQuadReference reference = SolveQuadReference(t);
        ASSERT_TRUE(reference.Converged) << reference.LastMove;
        int nearZero = 0;
        for (int b = 1; b <= MaxBranchNo(t); ++b) {
            EXPECT_NEAR(t.BranchQ[b], reference.Q[b], 1e-6) << "branch " << b;
            nearZero += BranchExist(t, b) && std::fabs(reference.Q[b]) < 1e-6;
        }
        EXPECT_GE(nearZero, c.NearZero);
        if (BranchCount(t) < 400) {
            const TReferenceResult dense = SolveByNewton(t);
            ASSERT_TRUE(dense.Converged);
            for (int b = 1; b <= MaxBranchNo(t); ++b)
                EXPECT_NEAR(dense.Q[b], reference.Q[b], 1e-9) << "branch " << b;
        }
    }
}
