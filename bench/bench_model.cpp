// The table scans that every command runs: counts, incidence lists, topology.
#include "generated_network.h"
#include "model/topology.h"

#include <benchmark/benchmark.h>

static void BM_BuildNodeBranchLists(benchmark::State &state)
{
    static TNetworkTables t;
    MakeGridNetwork(t, static_cast<int>(state.range(0)));
    for (auto _ : state)
        BuildNodeBranchLists(t);
}
BENCHMARK(BM_BuildNodeBranchLists)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);

static void BM_TopologyChecks(benchmark::State &state)
{
    static TNetworkTables t;
    MakeGridNetwork(t, static_cast<int>(state.range(0)));
    BuildNodeBranchLists(t);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindDeadEndNodes(t));
        benchmark::DoNotOptimize(ClassifyNodes(t));
    }
}
BENCHMARK(BM_TopologyChecks)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMicrosecond);
