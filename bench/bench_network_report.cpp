// The report manager's standard report ("Стандартный отчет без сетки") built
// into pages over a generated mine of some 5,000 branches, as "Просмотр..."
// builds it before the preview: two passes over every branch, with the
// manager's values.
#include "calc/report_manager.h"
#include "calc/solver.h"
#include "platform/canvas.h"
#include "report/engine.h"
#include "report/report.h"
#include "generated_network.h"
#include "stability_templates.h"

#include <benchmark/benchmark.h>

#include <memory>

static void BM_BuildStandardReport(benchmark::State &state)
{
    auto t = std::make_unique<TNetworkTables>();
    MakeMineNetwork(*t, MineNetworkPanels(static_cast<int>(state.range(0))), 1);
    if (CalcTablesAir(*t) != crSolved) {
        state.SkipWithError("the network did not solve");
        return;
    }
    TRecordingCanvas measure;
    measure.CharWidth = 6;
    SetWorkCanvas(&measure);
    TfrEngineScope engine;
    TfrHeadlessProgress progress;
    TfrProgress *previous = SetReportProgress(&progress);
    {
        TReportManagerData data(*t);
        data.Sources.MineTitle = QStringLiteral("Шахта");
        data.SelectAllBranches();
        TfrReport report;
        report.Name = QStringLiteral("frMain");
        report.OwnerName = QStringLiteral("frmReports1");
        report.ShowProgress = false;
        report.OnGetValue = [&data](const QString &name, Variant &value) { data.GetValue(name, value); };
        report.OnUserFunction = [&data](const QString &name, const Variant &, const Variant &, const Variant &,
                                        QString &value) { data.UserFunction(name, value); };
        for (TfrDataset *ds : data.Datasets())
            Engine().Components.Register(report.OwnerName, ds);
        MakeStandardReportTemplate(report);
        for (auto _ : state) {
            report.PrepareReport();
            benchmark::DoNotOptimize(report.PreparedPages.Count());
        }
        state.counters["branches"] = BranchCount(*t);
        state.counters["sheets"] = report.PreparedPages.Count();
        if (Engine().ExpressionError)
            state.SkipWithError("the template has an expression error");
    }
    SetReportProgress(previous);
    SetWorkCanvas(nullptr);
}
BENCHMARK(BM_BuildStandardReport)->Arg(5000)->Unit(benchmark::kMillisecond);
