// Loading and saving schemes of 100, 1,000 and 5,000 nodes and as many
// branches, every branch with two bend points and a name.
#include "model/scheme_file.h"

#include <QtCore/QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

void MakeScheme(TNetworkTables &t, int items)
{
    ClearAllItems(t);
    constexpr int columns = 100;
    for (int n = 1; n <= items; ++n) {
        CreateNode(t, n);
        t.NodeX[n] = static_cast<std::int16_t>(100 * ((n - 1) % columns));
        t.NodeY[n] = static_cast<std::int16_t>(100 * ((n - 1) / columns));
        t.NodeAltitude[n] = -200 - n % 50;
        t.NodeIsSurface[n] = n == 1 || n == items;
    }
    for (int b = 1; b <= items; ++b) {
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(b);
        t.BranchEndNode[b] = static_cast<std::int16_t>(b % items + 1);
        t.BranchR[b] = 0.01 + b % 7 * 0.001;
        t.BranchLength[b] = 120;
        t.BranchArea[b] = 12.5;
        t.BranchName[b] = QStringLiteral("Штрек %1").arg(b);
        InsertBranchEdgeTurns(t, b);
        auto &turns = *t.BranchTurns[b];
        turns.insert(turns.begin() + 1, {TTurn(b, turns.front().X + 30, turns.front().Y + 20),
                                         TTurn(b, turns.front().X + 60, turns.front().Y + 20)});
    }
}

std::unique_ptr<TNetworkTables> NewTables()
{
    auto t = std::make_unique<TNetworkTables>();
    ClearAllItems(*t);
    return t;
}

} // namespace

static void BM_WriteMineFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.mine"));
    auto t = NewTables();
    MakeScheme(*t, static_cast<int>(state.range(0)));
    TSchemeDocument doc;
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteMineFile(path, *t, doc, {}));
}
BENCHMARK(BM_WriteMineFile)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

static void BM_ReadMineFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.mine"));
    {
        auto t = NewTables();
        MakeScheme(*t, static_cast<int>(state.range(0)));
        TSchemeDocument doc;
        WriteMineFile(path, *t, doc, {});
    }
    const auto reset = NewTables();
    auto t = NewTables();
    for (auto _ : state) {
        state.PauseTiming(); // the document reset belongs to the caller
        *t = *reset;
        TSchemeDocument doc;
        state.ResumeTiming();
        ReadMineFile(path, *t, doc);
    }
}
BENCHMARK(BM_ReadMineFile)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
