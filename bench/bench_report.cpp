// Building a report of 5,000 records with groups in two passes: a group
// header and footer per 50 records, a master header repeated on every
// sheet, a page footer with the page count and a sum in the footers; then
// exporting the built report through each filter.
#include "report/report.h"
#include "report/report_page.h"

#include <QtCore/QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void AddBand(TfrPage &page, int kind, int top, const QString &source, std::uint16_t flagWord, const QString &name)
{
    auto band = std::make_unique<TfrBandView>();
    band->SetBandType(kind);
    band->Top = top;
    band->Height = 20;
    band->Width = 700;
    band->FormatText = source;
    band->Flags = flagWord;
    band->Name = name;
    page.TemplateObjects.push_back(std::move(band));
}

void AddMemo(TfrPage &page, int left, int top, int width, const QString &text)
{
    auto memo = std::make_unique<TfrMemoView>();
    memo->Left = left;
    memo->Top = top;
    memo->Width = width;
    memo->Height = 17;
    memo->Lines = QStringList{text};
    memo->FrameTyp = frame::All;
    page.TemplateObjects.push_back(std::move(memo));
}

// The grouped report over the data set, built on the bench's form.
void SetUpGroupedReport(TfrReport &report, TfrUserDataset &rows, int records)
{
    rows.Name = QStringLiteral("Rows");
    rows.RangeEnd = reCount;
    rows.RangeEndCount = records;
    Engine().Components.Register(QStringLiteral("frmBench"), &rows);
    report.Name = QStringLiteral("frReport1");
    report.OwnerName = QStringLiteral("frmBench");
    report.TwoPassBuild = true;
    report.OnGetValue = [&rows](const QString &name, Variant &value) {
        if (name.compare(QLatin1String("GROUP"), Qt::CaseInsensitive) == 0)
            value = Variant(rows.RecordNo / 50);
        else if (name.compare(QLatin1String("Q"), Qt::CaseInsensitive) == 0)
            value = Variant(rows.RecordNo * 0.5);
        else if (name.compare(QLatin1String("Branch"), Qt::CaseInsensitive) == 0)
            value = Variant(QStringLiteral("Штрек %1").arg(rows.RecordNo + 1));
    };
    report.TemplatePages.Add();
    TfrPage &page = report.TemplatePages.GetPage(0);
    AddBand(page, btPageFooter, 900, {}, flags::OnFirstPage | flags::OnLastPage, QStringLiteral("PageFooter1"));
    AddMemo(page, 10, 900, 200, QStringLiteral("Страница [PAGE#] из [TOTALPAGES]"));
    AddBand(page, btMasterHeader, 10, {}, flags::RepeatOnPages, QStringLiteral("MasterHeader1"));
    AddMemo(page, 10, 10, 300, QStringLiteral("Выработка"));
    AddMemo(page, 310, 10, 100, QStringLiteral("Q, м3/с"));
    AddBand(page, btGroupHeader, 40, QStringLiteral("GROUP"), 0, QStringLiteral("GroupHeader1"));
    AddMemo(page, 10, 40, 300, QStringLiteral("Участок [GROUP]"));
    AddBand(page, btMasterData, 70, QStringLiteral("Rows"), 0, QStringLiteral("MasterData1"));
    AddMemo(page, 10, 70, 50, QStringLiteral("[LINE#]"));
    AddMemo(page, 60, 70, 250, QStringLiteral("[Branch]"));
    AddMemo(page, 310, 70, 100, QStringLiteral("[Q]"));
    AddBand(page, btGroupFooter, 100, {}, 0, QStringLiteral("GroupFooter1"));
    AddMemo(page, 310, 100, 100, QStringLiteral("[SUM(Q, MasterData1)]"));
}

// The engine, a fixed-advance work canvas and a windowless progress for one run.
struct TBenchEngine
{
    TBenchEngine()
    {
        measure.CharWidth = 6;
        SetWorkCanvas(&measure);
        previous = SetReportProgress(&progress);
    }
    ~TBenchEngine()
    {
        SetReportProgress(previous);
        SetWorkCanvas(nullptr);
    }
    TRecordingCanvas measure;
    TfrEngineScope engine;
    TfrHeadlessProgress progress;
    TfrProgress *previous = nullptr;
};

void BuildGroupedReport(benchmark::State &state)
{
    TBenchEngine bench;
    TfrUserDataset rows;
    TfrReport report;
    SetUpGroupedReport(report, rows, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        report.PrepareReport();
        benchmark::DoNotOptimize(report.PreparedPages.Count());
    }
    state.counters["sheets"] = report.PreparedPages.Count();
}

// Exports through the filter of the registry entry given as the second argument.
void ExportGroupedReport(benchmark::State &state)
{
    TBenchEngine bench;
    TfrUserDataset rows;
    TfrReport report;
    SetUpGroupedReport(report, rows, static_cast<int>(state.range(0)));
    report.PrepareReport();
    const TfrExportFilterInfo &filter = ExportFilterRegistry().at(state.range(1));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("export") + filter.Mask.mid(1));
    for (auto _ : state)
        report.ExportTo(filter.FilterClass, file);
    state.SetLabel(filter.Mask.toStdString());
    state.counters["sheets"] = report.PreparedPages.Count();
}

} // namespace

BENCHMARK(BuildGroupedReport)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportGroupedReport)->ArgsProduct({{5000}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond);
