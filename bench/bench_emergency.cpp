// Fire-detection times: one contamination-zone walk per possible fire branch
// on top of one solve of the network.
#include "emergency/fire_detection.h"
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
