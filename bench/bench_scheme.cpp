// A full redraw of the scheme as the main window does it: background, sheet
// and every pass on a screen-sized image, with branch labels and flow arrows,
// at the zoom that fits the whole network. Redraws repeat the same labels,
// so after the first one their texts come from the canvas's mask cache.
#include "generated_network.h"
#include "model/geometry_queries.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/builtin_symbols.h"
#include "scheme/scheme_render.h"

#include <benchmark/benchmark.h>

#include <QtGui/QGuiApplication>

namespace {

// Text needs the font database, which lives in the GUI application.
void EnsureGuiApplication()
{
    static int argc = 1;
    static char name[] = "bench_scheme";
    static char *argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static QGuiApplication app(argc, argv);
    }
}

void BM_RedrawScheme(benchmark::State &state)
{
    EnsureGuiApplication();
    static TNetworkTables t;
    MakeGridNetwork(t, static_cast<int>(state.range(0)));
    for (int n = 1; n <= MaxItems; ++n) {
        if (!BranchExist(t, n))
            continue;
        t.BranchQ[n] = 10.0 + n % 17;
        t.BranchLabelFlags[n] = static_cast<std::int16_t>(lfNumber | lfQ | lfArrow);
        t.BranchIsFresh[n] = n % 2;
    }
    static TBranchColors colors;
    colors.fill(0xFF0000);
    TSchemeDrawSettings settings;
    settings.Colors.fill(0xC0C0C0);
    settings.Colors[1] = 0xFF0000;
    settings.ShowSheet = true;
    settings.GridIsOn = true;
    settings.SheetWidth = 3000;
    settings.SheetHeight = 3000;
    QImage image(1280, 900, QImage::Format_RGB32);
    TViewport view;
    view.FitRect(SchemeBounds(t), {0, 0, image.width(), image.height()});
    TPaintGuard guard;
    for (auto _ : state) {
        TQtCanvas canvas(&image);
        TSchemeRenderer(t, colors, view, settings).Redraw(canvas, image.width(), image.height(), {1920, 1080}, guard);
    }
}

// The same redraw in thick mode with a built-in symbol in the middle of
// every branch, the seventeen kinds in turn. Budget: 100 ms at 5,000 branches.
void BM_RedrawThickWithSymbols(benchmark::State &state)
{
    EnsureGuiApplication();
    static TNetworkTables t;
    MakeGridNetwork(t, static_cast<int>(state.range(0)));
    static TBranchSymbolList symbols;
    if (symbols.Count() == 0)
        RegisterBuiltinSymbols(symbols);
    TLinkList links;
    for (int n = 1; n <= MaxItems; ++n) {
        if (!BranchExist(t, n))
            continue;
        t.BranchLength[n] = 100;
        links.push_back(TLink(n, 50, symbols.GetItem(n % BuiltinSymbolCount).Name));
    }
    static TBranchColors colors;
    colors.fill(0xFF0000);
    TSchemeDrawSettings settings;
    settings.Colors.fill(0xC0C0C0);
    settings.Checks.ThickBranches = true;
    QImage image(1280, 900, QImage::Format_RGB32);
    TViewport view;
    view.FitRect(SchemeBounds(t), {0, 0, image.width(), image.height()});
    TSchemeOverlays overlays;
    overlays.DrawBranchSymbols = [&](TCanvas &canvas, const TViewport &v, const TSchemeDrawSettings &s, int branch,
                                     bool thick, TColor color) {
        DrawBranchSymbols(canvas, {t, links, symbols, v, s}, branch, thick, color);
    };
    TPaintGuard guard;
    for (auto _ : state) {
        TQtCanvas canvas(&image);
        TSchemeRenderer(t, colors, view, settings, overlays)
            .Redraw(canvas, image.width(), image.height(), {1920, 1080}, guard);
    }
}

} // namespace

BENCHMARK(BM_RedrawScheme)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawThickWithSymbols)->Arg(5000)->Unit(benchmark::kMillisecond);
