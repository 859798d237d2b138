// Filling the natural draught window's branch table with every branch of a
// network of the system's full size, after a calculation.
#include "calc/natural_draught.h"
#include "calc/ui/frm_het.h"
#include "generated_network.h"
#include "platform/prompt.h"

#include <QtWidgets/QApplication>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void BM_HetBranchTableFill(benchmark::State &state)
{
    int argc = 1;
    char name[] = "bench_het_window";
    char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TScriptedPrompt prompt;  // the reversal warnings
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(5000), 2, 15, 15);
    AddAltitudesAndTemperatures(*t);
    auto s = std::make_unique<HetStudyTables>();
    TfrmHet form(nullptr, *t, *s);
    if (form.Calc().Open() != 0) {
        state.SkipWithError("the network did not solve");
        return;
    }
    form.FormShow();
    form.BtbStartClick();
    // Every fill starts from an empty table, as after a filter with few rows.
    for (auto _ : state) {
        state.PauseTiming();
        form.TablT->setRowCount(0);
        state.ResumeTiming();
        form.PrintTablT();
    }
    state.counters["rows"] = form.TablT->rowCount();
}
BENCHMARK(BM_HetBranchTableFill)->Unit(benchmark::kMillisecond);

} // namespace
