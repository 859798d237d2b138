#include "calc/resistance.h"

#include "platform/numbers.h"

#include <cmath>

const std::array<TSectionShape, SectionShapeCount> SectionShapeFactors{{
    {"квадратная", 4.0},
    {"арочная", 3.84},
    {"трапециевидная", 4.16},
    {"круглая", 3.56},
    {"сводчатая", 3.8},
}};

const std::array<double, SupportCurvePoints> SupportCurveAreas{5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 16.5};

const std::array<std::array<double, SupportCurvePoints>, SupportTypeCount> SupportTypeCurves{{
    {3.22, 1.76, 1.21, 0.9, 0.72, 0.58, 0.49, 0.4, 0.36, 0.31, 0.27, 0.22, 0.2},
    {6.99, 3.95, 2.64, 1.93, 1.48, 1.16, 0.94, 0.76, 0.63, 0.54, 0.45, 0.36, 0.31},
    {9.99, 6.18, 4.3, 3.18, 2.51, 1.97, 1.61, 1.3, 1.07, 0.9, 0.72, 0.58, 0.49},
    {10.3, 6.49, 4.66, 3.54, 2.78, 2.24, 1.84, 1.52, 1.25, 1.03, 0.85, 0.72, 0.67},
    {10.75, 6.94, 5.01, 3.81, 3, 2.37, 1.93, 1.57, 1.3, 1.07, 0.85, 0.76, 0.69},
    {11.73, 7.3, 5.19, 3.94, 3.09, 2.51, 2.06, 1.7, 1.43, 1.21, 0.9, 0.76, 0.69},
    {12.99, 8.64, 6.31, 4.79, 3.76, 2.96, 2.37, 1.93, 1.57, 1.25, 0.99, 0.76, 0.67},
    {13.97, 9.45, 6.94, 5.33, 4.21, 3.36, 2.73, 2.24, 1.84, 1.52, 1.21, 0.99, 0.9},
}};

const std::array<const char *, SupportTypeCount> SupportTypeNames{
    "1. Бетон, кирпич, бетониты",
    "2. Незакрепленная",
    "3. Метал. арки, расстояние между рамами 1 м",
    "4. Метал. арки, расстояние между рамами 0.5 м",
    "5. Дерево при калибре 2 или  ЖСБ с метал. верхн. при калибре 4",
    "6. Дерево при калибре 4",
    "7. Неполн. рамы  ЖСБ при кал. 4 ;  мет. арки (расст. между рам. 1м) с конвейером",
    "8. Мет. арки, расстояние между рамами 0.5 м с конвейером в выработке",
};

namespace {

// The graphs give murgues × 100 per metre; a resistance is in kilomurgues.
constexpr double SpecificToKilomurgues = 100000;

constexpr int CrossArm = 6;

} // namespace

double CalcRByAlpha(double S, double L, double alpha)
{
    return 0.000386 * alpha * L * std::sqrt(S) / (S * S * S);
}

double SectionResistance(int L, double S, double alpha, double factor)
{
    if (!(L > 0 && S > 0 && alpha > 0 && factor > 0))
        return 0;
    return std::sqrt(S) * (alpha * factor) * L / (S * S * S) / 10000;
}

double RegulatorResistance(double S, double s)
{
    // An area that is no area has no opening to narrow.
    if (!(S > 0 && s > 0))
        return 0;
    const double k = S / s;
    const double root = k >= 2 ? (k - 0.65) / (2.63 * S) : (k - 1) / (2.38 * S);
    return root * root;
}

void LoadSupportCurves(TPlotState &plot, TSupportCurves &curves)
{
    for (int i = 0; i < SupportTypeCount; ++i) {
        TFanCurve &c = curves[static_cast<std::size_t>(i)];
        ClearFanCurve(c);
        c.LastIndex = SupportCurvePoints - 1;
        for (int k = 0; k < SupportCurvePoints; ++k) {
            c.Q[static_cast<std::size_t>(k)] = SupportCurveAreas[static_cast<std::size_t>(k)];
            c.H[static_cast<std::size_t>(k)] = SupportTypeCurves[static_cast<std::size_t>(i)][static_cast<std::size_t>(k)];
        }
    }
    SetFullRanges(plot, SupportAreaMax, SupportRMax);
    plot.QStart = SupportAreaMin;
    plot.QFormat = {3, 1};
    plot.HFormat = {3, 1};
    plot.QCaption = QStringLiteral("S,м2");
    plot.HCaption.clear();
}

void DrawResistanceGraphs(TCanvas &canvas, int width, int height, TPlotState &plot, TSupportCurves &curves,
                          int type)
{
    DrawGraphFrame(canvas, width, height, plot);
    canvas.Brush.Style = TBrushStyle::bsClear;
    const QString title = QStringLiteral("Графики Rуд,мюрг*100");
    const TSize t = canvas.TextExtent(title);
    canvas.TextOut((plot.Left + plot.Right - t.cx) / 2, plot.Top - 2 * t.cy, title);
    const QString axis = QStringLiteral("Rуд");
    const TSize a = canvas.TextExtent(axis);
    canvas.TextOut(plot.Left - a.cx, plot.Top - a.cy, axis);
    canvas.Brush.Style = TBrushStyle::bsSolid;
    for (TFanCurve &c : curves)
        PlotCurve(canvas, plot, c);
    if (type >= 0 && type < SupportTypeCount)
        PlotWorkingCurve(canvas, plot, curves[static_cast<std::size_t>(type)]);
}

double GraphResistanceAt(const TPlotState &plot, int y, int L)
{
    return ((plot.Bottom - y) * plot.HPerPixel + plot.HStart) * L / SpecificToKilomurgues;
}

double GraphAreaAt(const TPlotState &plot, int x)
{
    return (x - plot.Left) * plot.QPerPixel + plot.QStart;
}

TGraphReading ReadGraphResistance(const TCanvas &canvas, const TPlotState &plot, double S, int L)
{
    TGraphReading r;
    r.X = plot.Left;
    if (plot.QPerPixel > 0 && std::isfinite(plot.QPerPixel)) {
        const double offset = std::clamp((S - plot.QStart) / plot.QPerPixel, -1e6, 1e6);
        r.X = plot.Left + static_cast<int>(Round(offset));
    }
    r.Y = plot.Top;
    for (int y = plot.Bottom - 1; y >= plot.Top; --y) {
        if (canvas.GetPixel(r.X, y) == clRed) {
            r.Y = y;
            break;
        }
    }
    r.R = GraphResistanceAt(plot, r.Y, L);
    return r;
}

void DrawGraphCross(TCanvas &canvas, int x, int y)
{
    canvas.Pen = TPen{};
    canvas.Pen.Color = clBlue;
    canvas.Pen.Width = 2;
    canvas.MoveTo(x - CrossArm, y);
    canvas.LineTo(x + CrossArm, y);
    canvas.MoveTo(x, y - CrossArm);
    canvas.LineTo(x, y + CrossArm);
    canvas.Pen = TPen{};
}
