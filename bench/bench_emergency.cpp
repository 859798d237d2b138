// Fire-detection times: one contamination-zone walk per possible fire branch
// on top of one solve of the network; route searches during a fire.
#include "emergency/fire_detection.h"
#include "emergency/route_search.h"
#include "generated_network.h"

#include <benchmark/benchmark.h>

#include <memory>

static void BM_FireDetectionTimes(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeGridNetwork(*t, static_cast<int>(state.range(0)));
    // Somebody works in every tenth branch, so that most fires are detected.
    for (int b = 1; b <= MaxBranchNo(*t); b += 10)
        t->BranchPeople[b] = 1;
    TDetectionResults results;
    for (auto _ : state) {
        if (CalcFireDetectionTimes(*t, results) != crSolved)
            state.SkipWithError("the network did not solve");
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["branches"] = BranchCount(*t);
}
BENCHMARK(BM_FireDetectionTimes)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

static void BM_ZoneWalkFromIntake(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeGridNetwork(*t, static_cast<int>(state.range(0)));
    CalcAir(nullptr, *t);
    TZoneWalker walker(*t);
    TZoneEntryList zone;
    const int intake = MaxBranchNo(*t) - 1; // the generator adds the intake shaft next to last
    for (auto _ : state) {
        walker.GasZone(intake, t->BranchQ, zone);
        benchmark::DoNotOptimize(zone.data());
    }
    state.counters["entries"] = static_cast<double>(zone.size());
}
BENCHMARK(BM_ZoneWalkFromIntake)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

// One route search per task from an intake node of the grid, with a fire in
// the middle of the network and its smoke zone; times, lists, search and route.
static void BM_RouteSearch(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeGridNetwork(*t, static_cast<int>(state.range(0)));
    CalcAir(nullptr, *t);
    const int branches = MaxBranchNo(*t);
    for (int b = 1; b <= branches; ++b) {
        t->BranchHeight[b] = 2.5;
        t->BranchArea[b] = 10;
        t->BranchAngle[b] = 0;
    }
    for (int n = 1; n <= MaxNodeNo(*t); ++n)
        t->NodeAltitude[n] = -300 - (n % 7);
    TZoneWalker walker(*t);
    TZoneEntryList zone;
    walker.GasZone(branches / 2, t->BranchQ, zone);
    TRouteSearch search(*t);
    search.Task = static_cast<int>(state.range(1));
    search.SmokeZone = ZoneBranches(zone);
    search.Impassable = GetBdBranches(*t, search.SmokeZone);
    const int start = t->BranchStartNode[1];
    const int end = t->BranchEndNode[branches / 3];
    std::size_t steps = 0;
    for (auto _ : state) {
        search.BuildAdjacency();
        const TRouteList route = search.ComputeRoute(start, end);
        steps = route.Steps.size();
        benchmark::DoNotOptimize(route.Steps.data());
    }
    state.counters["steps"] = static_cast<double>(steps);
    state.counters["zone"] = static_cast<double>(search.SmokeZone.size());
}
BENCHMARK(BM_RouteSearch)
    ->ArgsProduct({{100, 1000, 5000}, {rtReconnaissance, rtLiquidation, rtTransport, rtEvacuation}})
    ->Unit(benchmark::kMillisecond);

// The stability studies judge each inclined working with one solve of the
// network; compare their time per working with BM_SolveInclined.
#include "emergency/stability.h"

namespace {

// The grid network with its nodes on five levels 30 m apart, so that many
// workings are inclined; every working long and wide enough to be judged.
std::unique_ptr<TNetworkTables> InclinedNetwork(int branches)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeGridNetwork(*t, branches);
    for (int n = 1; n <= MaxNodeNo(*t); ++n)
        t->NodeAltitude[n] = -30.0 * (n % 5);
    for (int b = 1; b <= MaxBranchNo(*t); ++b) {
        t->BranchLength[b] = 200;
        t->BranchArea[b] = 10;
        t->BranchAngle[b] = AngleNotGiven;
        t->BranchStartTemp[b] = 20;
    }
    return t;
}

} // namespace

static void BM_SolveInclined(benchmark::State &state)
{
    const auto t = InclinedNetwork(static_cast<int>(state.range(0)));
    for (auto _ : state)
        if (CalcTablesAir(*t) != crSolved)
            state.SkipWithError("the network did not solve");
}
BENCHMARK(BM_SolveInclined)->Arg(1000)->Unit(benchmark::kMillisecond);

static void BM_DescendingStability(benchmark::State &state)
{
    const auto t = InclinedNetwork(static_cast<int>(state.range(0)));
    TDescendingStability study;
    TStudyProgress progress;
    for (auto _ : state)
        if (ComputeDescendingStability(*t, study, {}, progress) != crSolved)
            state.SkipWithError("the network did not solve");
    state.counters["workings"] = study.Count();
    state.counters["per working"] = benchmark::Counter(study.Count(), benchmark::Counter::kIsIterationInvariantRate
                                                                          | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DescendingStability)->Arg(1000)->Unit(benchmark::kMillisecond);

static void BM_AscendingStability(benchmark::State &state)
{
    const auto t = InclinedNetwork(static_cast<int>(state.range(0)));
    CalcTablesAir(*t);
    TAscendingStability study;
    TStudyProgress progress;
    for (auto _ : state)
        ComputeAscendingStability(*t, study, DefaultFireTime, progress);
    state.counters["workings"] = study.Count();
    state.counters["per working"] = benchmark::Counter(study.Count(), benchmark::Counter::kIsIterationInvariantRate
                                                                          | benchmark::Counter::kInvert);
}
BENCHMARK(BM_AscendingStability)->Arg(1000)->Unit(benchmark::kMillisecond);
