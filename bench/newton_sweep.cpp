// Not a benchmark: a sweep, run by hand, of the Newton finish over generated
// networks whose loop passes do not settle, each against the quadruple
// precision reference. Prints, per family, the Newton steps (range and mean),
// how many networks reached the cap, and the worst difference from the
// reference on flows near zero (|Q| < 1e-3 m³/s) and on the others.
//
// With "studies", counts instead the Newton steps of every solve of the boost
// search and of the short-circuiting study on the unsettled 5,000-branch
// network of the benchmarks; with "studies pairs", on that network with the
// additions of BM_SolveMineHardTwinPairs.
//
// With "fingerprints", prints for each of some 1,200 generated networks whose
// passes settle a fingerprint of its flows' bits, to compare between builds.
//
//   newton_sweep [networks per family] [part of a family's name]
//   newton_sweep studies [pairs]
//   newton_sweep fingerprints
#include "calc/mesh_solver.h"
#include "calc/solver.h"
#include "generated_network.h"
#include "quad_reference.h"
#include "short_circuit_mine.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <random>
#include <string>

namespace {

struct TFamily
{
    const char *Name;
    // Builds network number s into t; false when it is not one to measure.
    std::function<bool(TNetworkTables &, unsigned)> Build;
};

bool Unsettled(TNetworkTables &t)
{
    TSolveStats stats;
    return CalcTablesAir(t, &stats) == crSolved && stats.Settling != stSettled;
}

// An unsettled random network of 150 to 600 branches, solved.
bool SmallUnsettled(TNetworkTables &t, unsigned s)
{
    const int nodes = 60 + static_cast<int>(s * 37 % 180);
    MakeRandomNetwork(t, nodes, nodes * 5 / 2, 7000 + s);
    return Unsettled(t);
}

bool FullSize(TNetworkTables &t, unsigned s)
{
    const int branches = 4000 + static_cast<int>(s * 211 % 1000);
    MakeMineNetwork(t, MineNetworkPanels(branches), s, 1 + static_cast<int>(s % 3), 1 + static_cast<int>(s / 3 % 3));
    return Unsettled(t);
}

// Resistances and fan depressions bent by random factors: stiff and soft
// branches side by side.
bool FullSizeBent(TNetworkTables &t, unsigned s)
{
    const int branches = 4000 + static_cast<int>(s * 211 % 1000);
    MakeMineNetwork(t, MineNetworkPanels(branches), s, 1 + static_cast<int>(s % 7), 1 + static_cast<int>(s / 7 % 3));
    std::mt19937 random(s);
    std::normal_distribution<double> bend(0, 1 + s % 3);
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        t.BranchR[b] *= std::exp(bend(random));
    return Unsettled(t);
}

const TFamily Families[] = {
    {"small + pair", [](TNetworkTables &t, unsigned s) {
         if (!SmallUnsettled(t, s))
             return false;
         AddParallelPair(t, 1 + static_cast<int>(s * 13 % MaxNodeNo(t)), 0.0031, 0.0025);
         return true;
     }},
    {"small + two pairs on a node", [](TNetworkTables &t, unsigned s) {
         if (!SmallUnsettled(t, s))
             return false;
         const int node = 1 + static_cast<int>(s * 13 % MaxNodeNo(t));
         AddParallelPair(t, node, 0.0031, 0.0025);
         AddParallelPair(t, node, 0.004, 0.0018);
         return true;
     }},
    {"small + pairs below the least resistance", [](TNetworkTables &t, unsigned s) {
         if (!SmallUnsettled(t, s))
             return false;
         AddParallelPair(t, 1 + static_cast<int>(s * 13 % MaxNodeNo(t)), 1e-6, 0.0031);
         AddParallelPair(t, 1 + static_cast<int>(s * 17 % MaxNodeNo(t)), 1e-9, 0.0025);
         AddParallelPair(t, 1 + static_cast<int>(s * 19 % MaxNodeNo(t)), 0.004, 0);
         return true;
     }},
    {"small + 300 parallel dead-end branches", [](TNetworkTables &t, unsigned s) {
         if (!SmallUnsettled(t, s))
             return false;
         AddParallelBranches(t, 1 + static_cast<int>(s * 13 % MaxNodeNo(t)), 300, 0.003);
         return true;
     }},
    {"1,000 branches + dead-end 17 x 17 grid", [](TNetworkTables &t, unsigned s) {
         MakeMineNetwork(t, 60, s, 1);
         if (!Unsettled(t))
             return false;
         AddDeadEndGrid(t, t.BranchEndNode[BusiestBranches(t, 1)[0]], 17, 0.01);
         return true;
     }},
    {"2,400 branches + five dead-end 16 x 16 grids", [](TNetworkTables &t, unsigned s) {
         MakeMineNetwork(t, MineNetworkPanels(2400), s, 1);
         if (!Unsettled(t))
             return false;
         for (int b : BusiestBranches(t, 5))
             AddDeadEndGrid(t, t.BranchEndNode[b], 16, 0.01);
         return true;
     }},
    {"full size", FullSize},
    {"full size, resistances bent", FullSizeBent},
    {"full size + stiff/soft pairs by the busiest", [](TNetworkTables &t, unsigned s) {
         if (!FullSize(t, s))
             return false;
         for (int b : BusiestBranches(t, 4))
             AddParallelPair(t, t.BranchEndNode[b], 0.002, 5);
         return true;
     }},
    {"full size + pairs and a cancelling fan", [](TNetworkTables &t, unsigned s) {
         if (!FullSize(t, s))
             return false;
         const std::vector<int> busiest = BusiestBranches(t, 20);
         AddCancellingFan(t, busiest[s % busiest.size()], 0.5);
         AddParallelPair(t, t.BranchStartNode[busiest[3]], 0.0031, 0.0025);
         AddParallelPair(t, t.BranchStartNode[busiest[3]], 0.004, 0.0018);
         return true;
     }},
};

// The Newton steps of the solves counted.
std::atomic<long> SolveCount{0}, StepCount{0}, MostSteps{0}, CappedSolves{0}, UnsettledSolves{0};

void Count(const TSolveStats &stats)
{
    if (stats.Settling == stSettled)
        return;
    ++SolveCount;
    StepCount += stats.NewtonSteps;
    long most = MostSteps.load();
    while (stats.NewtonSteps > most && !MostSteps.compare_exchange_weak(most, stats.NewtonSteps)) {}
    CappedSolves += stats.NewtonSteps >= MaxNewtonSteps;
    UnsettledSolves += stats.Settling == stUnsettled;
}

CalcResult CountingSolve(TNetworkTables &t, int branches, int nodes, const TTable<std::int16_t> &no,
                         const TTable<std::int16_t> &begin, const TTable<std::int16_t> &end,
                         const TTable<std::uint8_t> &surface, const TTable<double> &r, const TTable<double> &h,
                         TTable<double> &q, TSolveStats *)
{
    TSolveStats stats;
    const CalcResult code = CalcAirDistribution(t, branches, nodes, no, begin, end, surface, r, h, q, &stats);
    Count(stats);
    return code;
}

void Report(const char *what)
{
    std::printf("%s: %ld solves that needed the Newton finish, %ld steps in all (mean %.2f, most %ld), %ld at the "
                "cap, %ld unsettled\n",
                what, SolveCount.load(), StepCount.load(),
                SolveCount ? static_cast<double>(StepCount) / static_cast<double>(SolveCount) : 0.0,
                MostSteps.load(), CappedSolves.load(), UnsettledSolves.load());
    std::fflush(stdout);
    SolveCount = StepCount = MostSteps = CappedSolves = UnsettledSolves = 0;
}

// Two pairs of twin dead-end branches on one node and a local fan cancelling
// a busy branch's drop, added to a solved network.
void AddTwinPairs(TNetworkTables &t)
{
    const std::vector<int> busiest = BusiestBranches(t, 4);
    AddCancellingFan(t, busiest[0], 0.5);
    AddParallelPair(t, t.BranchStartNode[busiest[3]], 0.0031, 0.0025);
    AddParallelPair(t, t.BranchStartNode[busiest[3]], 0.004, 0.0018);
    SolveOwnTables(t);
}

// The networks of BM_BoostSearchMineHard/5000 and BM_ShortCircuitMineHard/5000,
// with twin pairs when asked.
void CountStudySteps(bool pairs)
{
    auto tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    MakeMineNetwork(t, MineNetworkPanels(pairs ? 4990 : 5000), 1, 1);
    SolveOwnTables(t);
    if (pairs)
        AddTwinPairs(t);
    const std::vector<int> candidates = BoostCandidates(t);
    TBoostState state;
    RunBoostSearch(
        t, candidates[candidates.size() / 2], state, {},
        [](TNetworkTables &copy) {
            return CountingSolve(copy, MaxBranchNo(copy), MaxNodeNo(copy), copy.BranchNo, copy.BranchStartNode,
                                 copy.BranchEndNode, copy.NodeIsSurface, copy.BranchR, copy.BranchAuxDepression,
                                 copy.BranchQ, nullptr);
        },
        3);
    Report("boost search");

    if (!MakeShortCircuitMine(t, pairs ? 4990 : 5000, 1, 1, 2))
        return;
    if (pairs)
        AddTwinPairs(t);
    auto study = std::make_unique<TShortCircuitStudy>(t);
    study->Solve = CountingSolve;
    study->SelectShortCircuitPaths();
    study->ShortCircuitAll();
    Report("short-circuiting study");
}

// FNV-1a over the bits of every flow.
std::uint64_t Fingerprint(const TNetworkTables &t)
{
    std::uint64_t hash = 14695981039346656037ull;
    const auto *bytes = reinterpret_cast<const unsigned char *>(t.BranchQ.data());
    for (std::size_t i = 0; i < sizeof(double) * TableSize; ++i)
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

void PrintFingerprints()
{
    auto tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    for (unsigned s = 1; s <= 400; ++s)
        for (int kind = 0; kind < 3; ++kind) {
            if (kind == 0)
                MakeMineNetwork(t, 4 + static_cast<int>(s * 37 % 308), s, 1 + static_cast<int>(s % 7),
                                1 + static_cast<int>(s / 3 % 3));
            else if (kind == 1)
                MakeRandomNetwork(t, 8 + static_cast<int>(s * 7 % 900), 2 * (8 + static_cast<int>(s * 7 % 900)), s);
            else
                MakeMineNetwork(t, 20 + static_cast<int>(s * 13 % 80), s, 1 + static_cast<int>(s % 3),
                                1 + static_cast<int>(s / 3 % 3));
            TSolveStats stats;
            const CalcResult code = CalcTablesAir(t, &stats);
            if (code == crSolved && stats.Settling == stSettled)
                std::printf("%d %u %016llx\n", kind, s, static_cast<unsigned long long>(Fingerprint(t)));
        }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && std::string(argv[1]) == "fingerprints") {
        PrintFingerprints();
        return 0;
    }
    if (argc > 1 && std::string(argv[1]) == "studies") {
        CountStudySteps(argc > 2 && std::string(argv[2]) == "pairs");
        return 0;
    }
    const int perFamily = argc > 1 ? std::atoi(argv[1]) : 12;
    auto tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    const std::string only = argc > 2 ? argv[2] : "";
    for (const TFamily &family : Families) {
        if (std::string(family.Name).find(only) == std::string::npos)
            continue;
        int networks = 0, capped = 0, unsettled = 0, minSteps = 1 << 30, maxSteps = 0, over = 0;
        double sumSteps = 0, worstNearZero = 0, worstOther = 0;
        for (unsigned s = 1; networks < perFamily && s < 2000; ++s) {
            if (!family.Build(t, s))
                continue;
            TSolveStats stats;
            if (CalcTablesAir(t, &stats) != crSolved || stats.Settling == stSettled)
                continue;
            ++networks;
            const TQuadReference reference = SolveQuadReference(t);
            if (!reference.Converged)
                std::printf("  %s %u: the reference did not converge (%d steps, last move %g)\n", family.Name, s,
                            reference.Steps, reference.LastMove);
            double nearZero = 0, other = 0;
            for (int b = 1; b <= MaxBranchNo(t); ++b) {
                if (!BranchExist(t, b))
                    continue;
                const double d = std::fabs(t.BranchQ[b] - reference.Q[b]);
                double &worst = std::fabs(reference.Q[b]) < 1e-3 ? nearZero : other;
                worst = std::max(worst, d);
            }
            minSteps = std::min(minSteps, stats.NewtonSteps);
            maxSteps = std::max(maxSteps, stats.NewtonSteps);
            sumSteps += stats.NewtonSteps;
            capped += stats.NewtonSteps >= MaxNewtonSteps;
            unsettled += stats.Settling == stUnsettled;
            over += std::max(nearZero, other) > 1e-6;
            worstNearZero = std::max(worstNearZero, nearZero);
            worstOther = std::max(worstOther, other);
            std::printf("  %s %u: %d branches, %d steps, largest floor group %d, near zero %.2g, others %.2g%s\n",
                        family.Name, s, BranchCount(t), stats.NewtonSteps, stats.FloorCycles, nearZero, other,
                        stats.Settling == stUnsettled ? ", unsettled" : "");
            std::fflush(stdout);
        }
        std::printf("%s: %d networks, steps %d to %d (mean %.1f), %d at the cap, %d unsettled, %d off by more "
                    "than 1e-6; worst difference near zero %.2g, elsewhere %.2g\n",
                    family.Name, networks, minSteps, maxSteps, networks ? sumSteps / networks : 0.0, capped,
                    unsettled, over, worstNearZero, worstOther);
        std::fflush(stdout);
    }
    return 0;
}
