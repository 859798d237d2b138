// The network solver on generated networks of the sizes the system meets: a
// grid and mine-like networks that settle within the loop passes, and
// mine-like networks with few fans that need the extended solve: the passes in
// full, then the Newton finish. Each solved network must pass the loop law
// before it is timed. The studies that solve a network many times over are
// timed on both kinds: on unsettled networks every solve runs all its passes.
#include "calc/depressiogram.h"
#include "calc/fixir.h"
#include "calc/mesh_solver.h"
#include "calc/natural_draught.h"
#include "calc/short_circuit.h"
#include "calc/solver.h"
#include "calc/vent_boost.h"
#include "platform/prompt.h"
#include "generated_network.h"
#include "short_circuit_mine.h"
#include "loop_law.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <thread>

namespace {

CalcResult Solve(TNetworkTables &t, TSolveStats &stats)
{
    return CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode,
                               t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, t.BranchQ, &stats);
}

// `finish`, when given, is the settling the network must reach: within the
// passes, or only with the Newton finish.
void RunSolve(benchmark::State &state, TNetworkTables &t, TSettling finish = stNotRun)
{
    TSolveStats stats;
    if (Solve(t, stats) != crSolved || WorstImbalance(t) > 1e-9) {
        state.SkipWithError("the network did not solve");
        return;
    }
    if (finish != stNotRun && stats.Settling != finish) {
        state.SkipWithError(finish == stSettled ? "the passes did not settle" : "the solve did not end in the Newton finish");
        return;
    }
    const TLoopLawCheck check = CheckLoopLaw(t);
    if (!check.SameFlows || check.WorstExcess > 1) {
        state.SkipWithError("the network did not solve within the tolerance");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(Solve(t, stats));
    state.counters["branches"] = BranchCount(t);
    state.counters["passes"] = stats.Passes;
    state.counters["newton"] = stats.NewtonSteps;
    state.counters["floor cycles"] = stats.FloorCycles;
}

} // namespace

static void BM_SolveGrid(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeGridNetwork(*t, static_cast<int>(state.range(0)));
    RunSolve(state, *t);
}
BENCHMARK(BM_SolveGrid)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// Fifteen ventilation districts, each with its own intake shaft and main fan,
// settle within the loop passes.
static void BM_SolveMineSettling(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0))), 2, 15, 15);
    RunSolve(state, *t, stSettled);
}
BENCHMARK(BM_SolveMineSettling)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// One main fan at the end of a long return: still unsettled after 200 passes
// from some 600 branches on.
static void BM_SolveMineHard(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0))), 1, 1);
    RunSolve(state, *t, stExtended);
}
BENCHMARK(BM_SolveMineHard)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// The one-fan network with two pairs of twin dead-end branches on one node
// and a local fan cancelling a busy branch's drop: flows near zero whose
// cycles sit on the Newton steps' slope floor.
static void BM_SolveMineHardTwinPairs(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0)) - 10), 1, 1);
    if (SolveOwnTables(*t) != crSolved) {
        state.SkipWithError("the network did not solve");
        return;
    }
    const std::vector<int> busiest = BusiestBranches(*t, 4);
    AddCancellingFan(*t, busiest[0], 0.5);
    AddParallelPair(*t, t->BranchStartNode[busiest[3]], 0.0031, 0.0025);
    AddParallelPair(*t, t->BranchStartNode[busiest[3]], 0.004, 0.0018);
    RunSolve(state, *t, stExtended);
}
BENCHMARK(BM_SolveMineHardTwinPairs)->Arg(5000)->Unit(benchmark::kMillisecond);

// Five dead-end 16 × 16 grids of workings, each hung on one of the busiest
// branches' end nodes of a 2,400-branch one-fan network: 1,280 nodes without
// air whose 1,130 cycles sit on the Newton steps' slope floor.
static void BM_SolveMineHardDeadEndGrids(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0))), 1, 1);
    if (SolveOwnTables(*t) != crSolved) {
        state.SkipWithError("the network did not solve");
        return;
    }
    for (int b : BusiestBranches(*t, 5))
        AddDeadEndGrid(*t, t->BranchEndNode[b], 16, 0.01);
    RunSolve(state, *t, stExtended);
}
BENCHMARK(BM_SolveMineHardDeadEndGrids)->Arg(2400)->Unit(benchmark::kMillisecond);

// Seven main fans along the return, still only two intake shafts: at full
// size still unsettled after 200 passes (at 1,000 branches the passes settle).
static void BM_SolveMineHardSevenFans(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0))), 1, 7);
    RunSolve(state, *t, stExtended);
}
BENCHMARK(BM_SolveMineHardSevenFans)->Arg(5000)->Unit(benchmark::kMillisecond);

// The loop passes alone, on a settling mine-like network: each iteration
// starts the chord flows and the meshes again and runs the passes until they
// settle. The counter is the time of one mesh member's visit in a pass; the
// sum of a mesh's residual, one addition after another in the method's order,
// bounds it from below.
static void BM_MeshPassesMineSettling(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0))), 2, 15, 15);
    auto q = std::make_unique<TTable<double>>();
    TMeshSolver solver(*t, MaxBranchNo(*t), MaxNodeNo(*t), t->BranchNo, t->BranchStartNode, t->BranchEndNode,
                       t->NodeIsSurface, t->BranchR, t->BranchAuxDepression, *q);
    solver.JoinSurfaceNodes();
    solver.BuildAdjacencyLists();
    if (!solver.FindRootBranch() || !solver.BuildSpanningTree() || !solver.InitChordFlows()
        || !solver.BuildMeshes() || !solver.IterateMeshes() || solver.Stats.Settling != stSettled) {
        state.SkipWithError("the passes did not settle");
        return;
    }
    const int passes = solver.Stats.Passes;
    double members = 0;
    for (int k = 0; k < solver.MeshCount(); ++k)
        members += static_cast<double>(solver.MeshEnd(k) - solver.MeshBegin(k));
    for (auto _ : state) {
        solver.InitChordFlows();
        solver.BuildMeshes();
        benchmark::DoNotOptimize(solver.IterateMeshes());
    }
    state.counters["passes"] = passes;
    state.counters["members"] = members;
    state.counters["per member"] = benchmark::Counter(members * passes,
                                                     benchmark::Counter::kIsIterationInvariantRate
                                                         | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MeshPassesMineSettling)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

namespace {

// The boost search over every ordinary working of the network in t: one solve
// per candidate, the trials spread over the cores.
void TimeBoostSearch(benchmark::State &state, TNetworkTables &t)
{
    const std::vector<int> candidates = BoostCandidates(t);
    if (SolveOwnTables(t) != crSolved || candidates.empty()) {
        state.SkipWithError("the network did not solve");
        return;
    }
    const int target = candidates[candidates.size() / 2];
    TBoostState result;
    for (auto _ : state)
        benchmark::DoNotOptimize(RunBoostSearch(t, target, result));
    state.counters["branches"] = BranchCount(t);
    state.counters["candidates"] = result.Tried;
    state.counters["failed"] = result.Failed;
    state.counters["threads"] = std::thread::hardware_concurrency();
}

} // namespace

// On a settling mine-like network.
static void BM_BoostSearchMineSettling(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0))), 2, 15, 15);
    TimeBoostSearch(state, *t);
}
BENCHMARK(BM_BoostSearchMineSettling)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

// On the one-fan network whose passes do not settle: every trial runs all its
// passes and the Newton finish. Tens of seconds at full size, so timed once.
static void BM_BoostSearchMineHard(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0))), 1, 1);
    TSolveStats stats;
    if (Solve(*t, stats) != crSolved || stats.Settling != stExtended) {
        state.SkipWithError("the solve did not end in the Newton finish");
        return;
    }
    TimeBoostSearch(state, *t);
}
BENCHMARK(BM_BoostSearchMineHard)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// Resistances from fixed depressions: every tenth ordinary working of a
// settling mine-like network loses its resistance and keeps its depression as
// the fixed one; opening the study and the calculation cost about two solves.
static void BM_FixirMineSettling(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0))), 2, 15, 15);
    if (SolveOwnTables(*t) != crSolved) {
        state.SkipWithError("the network did not solve");
        return;
    }
    const std::vector<int> candidates = BoostCandidates(*t);
    for (std::size_t i = 0; i < candidates.size(); i += 10) {
        const int b = candidates[i];
        if (t->BranchQ[b] < 0.5)
            continue;
        t->BranchFixedDepression[b] = t->BranchR[b] * t->BranchQ[b] * t->BranchQ[b];
        t->BranchR[b] = 0;
    }
    auto study = std::make_unique<TFixirStudy>(*t);
    for (auto _ : state) {
        study->Open(t->BranchR, t->BranchRequiredFlow, t->BranchFixedDepression);
        study->FixirCount();
        if (!study->Start().Computed) {
            state.SkipWithError("the resistances were not found");
            return;
        }
    }
    state.counters["computed"] = study->Tables.ToComputeCount;
}
BENCHMARK(BM_FixirMineSettling)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

namespace {

// A settling mine-like network with altitudes and temperatures.
std::unique_ptr<TNetworkTables> MakeHetNetwork(int branches)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(branches), 2, 15, 15);
    AddAltitudesAndTemperatures(*t);
    return t;
}

} // namespace

// Opening the study (one solve), its checks and a calculation with node
// temperatures (two solves): a few solves' time.
static void BM_HetCalculate(benchmark::State &state)
{
    auto t = MakeHetNetwork(static_cast<int>(state.range(0)));
    auto s = std::make_unique<HetStudyTables>();
    THetCalc calc(*t, *s);
    TScriptedPrompt prompt;  // the reversal warnings
    for (auto _ : state) {
        if (calc.Open() != crSolved || calc.CheckData() != 0 || !calc.Calculate()) {
            state.SkipWithError("the study did not calculate");
            return;
        }
    }
    state.counters["branches"] = BranchCount(*t);
    state.counters["reduced"] = s->Reduced.Count;
    state.counters["increased"] = s->Increased.Count;
}
BENCHMARK(BM_HetCalculate)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// The rows and cell texts of the whole branch table after a calculation.
static void BM_HetBranchTableTexts(benchmark::State &state)
{
    auto t = MakeHetNetwork(static_cast<int>(state.range(0)));
    auto s = std::make_unique<HetStudyTables>();
    THetCalc calc(*t, *s);
    TScriptedPrompt prompt;  // the reversal warnings
    if (calc.Open() != crSolved || calc.CheckData() != 0 || !calc.Calculate()) {
        state.SkipWithError("the study did not calculate");
        return;
    }
    for (auto _ : state) {
        int cells = 0;
        for (const int b : calc.BranchRows())
            cells += static_cast<int>(calc.BranchRow(b).size());
        benchmark::DoNotOptimize(cells);
    }
}
BENCHMARK(BM_HetBranchTableTexts)->Arg(5000)->Unit(benchmark::kMillisecond);

namespace {

// The short-circuiting study on the network in t: one solve per regulator and
// leaking stopping, the paths spread over the cores.
void TimeShortCircuitStudy(benchmark::State &state, TNetworkTables &t)
{
    auto study = std::make_unique<TShortCircuitStudy>(t);
    study->SelectShortCircuitPaths();
    for (auto _ : state) {
        if (study->ShortCircuitAll() != 0) {
            state.SkipWithError("an opening did not solve");
            return;
        }
        study->FillResults();
    }
    state.counters["branches"] = BranchCount(t);
    state.counters["paths"] = static_cast<double>(study->Selection.Paths.size());
    state.counters["threads"] = std::thread::hardware_concurrency();
}

} // namespace

// On a settling mine-like network.
static void BM_ShortCircuitMineSettling(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    if (!MakeShortCircuitMine(*t, static_cast<int>(state.range(0)), 2, 15, 15)) {
        state.SkipWithError("the network did not solve");
        return;
    }
    TimeShortCircuitStudy(state, *t);
}
BENCHMARK(BM_ShortCircuitMineSettling)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

// On the one-fan network whose passes do not settle: every opening runs all
// its passes and the Newton finish. Seconds at full size, so timed once.
static void BM_ShortCircuitMineHard(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    TSolveStats stats;
    if (!MakeShortCircuitMine(*t, static_cast<int>(state.range(0)), 1, 1, 2) || Solve(*t, stats) != crSolved
        || stats.Settling != stExtended) {
        state.SkipWithError("the solve did not end in the Newton finish");
        return;
    }
    TimeShortCircuitStudy(state, *t);
}
BENCHMARK(BM_ShortCircuitMineHard)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// The depressiogram's route through the middle longwall, beyond the solve.
static void BM_DepressiogramRoute(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    if (!MakeShortCircuitMine(*t, static_cast<int>(state.range(0)), 2, 15, 15)) {
        state.SkipWithError("the network did not solve");
        return;
    }
    TDepressiogram d(*t);
    d.FillLongwallList();
    const int middle = static_cast<int>(d.Longwalls.size()) / 2;
    for (auto _ : state) {
        if (!d.Choose(middle).isEmpty()) {
            state.SkipWithError("no route");
            return;
        }
        for (int r = 0; r < d.RowCount(); ++r)
            benchmark::DoNotOptimize(d.RouteRow(r));
    }
    state.counters["rows"] = d.RowCount();
}
BENCHMARK(BM_DepressiogramRoute)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
