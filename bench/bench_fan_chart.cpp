// A fan chart as the fan editor redraws it on every zoom, pan and dragged
// point: the frame and the largest type the catalogue holds (16
// characteristics of 15 points), the current one as the working curve, on
// an image of the editor's size. A redraw must not be seen to pause.
#include "calc/curve_toolkit.h"
#include "platform/ui/qt_canvas.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QImage>

#include <benchmark/benchmark.h>

#include <array>

namespace {

std::array<TFanCurve, 16> LargestType()
{
    std::array<TFanCurve, 16> curves{};
    for (int k = 0; k < 16; ++k) {
        TFanCurve &c = curves[k];
        c.LastIndex = 14;
        for (int i = 0; i <= 14; ++i) {
            const double x = 0.2 + i * 0.8 / 14;
            c.Q[i] = (60 + 8 * k) * x;
            c.H[i] = (150 + 12 * k) * (0.85 + 0.9 * x - 1.35 * x * x);
        }
    }
    return curves;
}

void BM_FanChartRedraw(benchmark::State &state)
{
    int argc = 1;
    char name[] = "bench_fan_chart";
    char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::array<TFanCurve, 16> curves = LargestType();
    TPlotState plot;
    SetFullRanges(plot, 198, 363);
    plot.QCaption = QStringLiteral("Q,m3/с");
    plot.HCaption = QStringLiteral("H,даПа");
    QImage image(760, 500, QImage::Format_RGB32);
    for (auto _ : state) {
        TQtCanvas canvas(&image);
        DrawGraphFrame(canvas, image.width(), image.height(), plot);
        for (TFanCurve &c : curves)
            PlotCurve(canvas, plot, c);
        FitParabola(plot, curves[7]);
        PlotWorkingCurve(canvas, plot, curves[7]);
    }
}
BENCHMARK(BM_FanChartRedraw)->Unit(benchmark::kMillisecond);

} // namespace
