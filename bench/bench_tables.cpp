// Filling the branch table editor as it opens: the filter, the texts of
// every row, and the grid taking them, on generated networks.
#include "generated_network.h"
#include "scheme/ui/frm_mine_tab.h"

#include <benchmark/benchmark.h>

#include <QtWidgets/QApplication>

namespace {

void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "bench_tables";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QApplication app(argc, argv);
    }
}

void BM_FillBranchTable(benchmark::State &state)
{
    EnsureApplication();
    static TNetworkTables t;
    const int branches = MakeGridNetwork(t, static_cast<int>(state.range(0)));
    TfrmMineTab form(t, {});
    for (auto _ : state) {
        form.Open(btfAll, {});
        benchmark::DoNotOptimize(form.Table().RowCount());
    }
    state.counters["branches"] = branches;
}
BENCHMARK(BM_FillBranchTable)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace
