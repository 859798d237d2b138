#include "calc/curve_toolkit.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <limits>

TPlotState PlotState;

namespace {

// 7 is missing between 6 and 8 and 110 stands between 100 and 150: the
// grids of old charts were drawn with these steps.
constexpr std::array<double, 45> AxisStepTable{
    0.01, 0.02, 0.03, 0.04, 0.05, 0.06, 0.07, 0.08, 0.09, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6,
    0.7,  0.8,  0.9,  1,    2,    3,    4,    5,    6,    8,   10,  15,  20,  25,  30,
    40,   50,   100,  110,  150,  200,  250,  300,  400,  500, 800, 1000, 1500, 2000, 2500};

// b of a rising or flat set of points.
constexpr double MinParabolaB = 1e-5;

// Sampling walks pixel by pixel over the displayed window only, so a loop
// runs about as many times as the plot is wide; this bounds it whatever the
// numbers.
constexpr double MaxSampleSteps = 1e6;

// Grid lines that land on the window's end despite rounding still count.
constexpr double GridTolerance = 1e-9;

int LastPoint(const TFanCurve &curve) { return std::min(curve.LastIndex, MaxCurvePointIndex); }

bool UsableScale(double perPixel) { return perPixel > 0 && std::isfinite(perPixel); }

int ClampedPixel(double value)
{
    constexpr double limit = 1e9;
    if (!(value > -limit))
        return static_cast<int>(-limit);
    if (!(value < limit))
        return static_cast<int>(limit);
    return static_cast<int>(value);
}

std::uint16_t ToUInt16(int value) { return static_cast<std::uint16_t>(std::clamp(value, 0, 65535)); }

// The first index k ≥ minK at which from + k·step may reach start (a little
// before, the samples outside the window are dropped anyway).
double FirstStepNear(double from, double start, double step, double minK)
{
    const double k = std::floor((start - from) / step) - 1;
    return std::isfinite(k) ? std::max(minK, k) : minK;
}

struct TSampler
{
    const TPlotState &Plot;
    std::vector<TCurveSample> Samples;

    void Add(double q, double h)
    {
        if (InsideWindow(Plot, q, h))
            Samples.push_back({q, h});
    }
};

// The samples of a curve as the plot routines take them: up to three points
// the fitted parabola from the first to the last point's flow, more the
// spline interval by interval, both one pixel's flow apart.
std::vector<TCurveSample> CollectSamples(TPlotState &plot, TFanCurve &curve, bool working)
{
    TSampler sampler{plot, {}};
    const int n = LastPoint(curve);
    // A single point has no curve; the parabola of an earlier curve is not it.
    if (n < 1 || !UsableScale(plot.QPerPixel))
        return {};
    const double step = plot.QPerPixel;
    if (n <= 2) {
        FitParabola(plot, curve);
        const double from = plot.QminWork;
        for (double k = FirstStepNear(from, plot.QStart, step, 0), count = 0; count < MaxSampleSteps; ++k, ++count) {
            const double q = from + k * step;
            if (q > plot.QEnd)
                break;
            sampler.Add(q, plot.A - plot.b * q * q);
            if (q >= plot.QmaxWork)
                break;
        }
        return sampler.Samples;
    }
    BuildSpline(curve);
    if (working) {
        plot.QmaxWork = curve.Q[n];
        int k = 0;
        for (int i = n - 1; i >= 0; --i) {
            if (curve.H[i] <= curve.H[i + 1]) {
                k = i + 1;
                break;
            }
        }
        plot.QminWork = curve.Q[k];
    }
    for (int i = 1; i <= n; ++i) {
        sampler.Add(curve.Q[i - 1], curve.H[i - 1]);
        if (curve.Q[i] <= curve.Q[i - 1])
            continue;
        const double from = curve.Q[i - 1];
        for (double k = FirstStepNear(from, plot.QStart, step, 1), count = 0; count < MaxSampleSteps; ++k, ++count) {
            const double t = from + k * step;
            if (t > plot.QEnd)
                break;
            sampler.Add(t, SplineSegmentValue(curve, i, t));
            if (t >= curve.Q[i])
                break;
        }
    }
    return sampler.Samples;
}

void DrawFlowGrid(TCanvas &canvas, TPlotState &plot)
{
    const double step = AxisStep(plot.QEnd - plot.QStart);
    if (!(step > 0) || !UsableScale(plot.QPerPixel))
        return;
    const double tolerance = step * GridTolerance;
    int counter = 1;
    for (int i = 0; i <= 1000; ++i) {
        const double v = plot.QStart + i * step;
        if (v > plot.QEnd + tolerance)
            break;
        const int x = PlotX(plot, v);
        canvas.MoveTo(x, plot.Bottom);
        canvas.LineTo(x, plot.Top);
        ++counter;
        // Every second line, from the first, is labelled; the last step's
        // width stays free for the caption.
        if (counter == 2 && v <= plot.QEnd - step + tolerance) {
            counter = 0;
            canvas.MoveTo(x, plot.Bottom + 4);
            canvas.LineTo(x, plot.Top);
            for (const int dx : {-1, 1}) {
                canvas.MoveTo(x + dx, plot.Bottom);
                canvas.LineTo(x + dx, plot.Bottom - 5);
            }
            const QString label = FormatFixedPD(v, plot.QFormat.Precision, plot.QFormat.Decimals);
            canvas.TextOut(x - canvas.TextWidth(label) / 2, plot.Bottom + plot.CharHeight / 2, label);
        }
    }
}

void DrawPressureGrid(TCanvas &canvas, TPlotState &plot)
{
    const double step = AxisStep(plot.HEnd - plot.HStart);
    if (!(step > 0) || !UsableScale(plot.HPerPixel))
        return;
    const double tolerance = step * GridTolerance;
    for (int i = 0; i <= 1000; ++i) {
        const double v = plot.HStart + i * step;
        if (v > plot.HEnd + tolerance)
            break;
        const int y = PlotY(plot, v);
        canvas.MoveTo(plot.Left, y);
        canvas.LineTo(plot.Right, y);
        if (v <= plot.HEnd - step + tolerance) {
            canvas.MoveTo(plot.Left - 3, y);
            canvas.LineTo(plot.Right, y);
            for (const int dy : {-1, 1}) {
                canvas.MoveTo(plot.Left, y + dy);
                canvas.LineTo(plot.Left + 5, y + dy);
            }
            const QString label = FormatFixedPD(v, plot.HFormat.Precision, plot.HFormat.Decimals);
            const TSize size = canvas.TextExtent(label);
            canvas.TextOut(plot.Left - plot.CharWidth / 2 - size.cx, y - size.cy / 2, label);
        }
    }
}

} // namespace

void ClearFanCurve(TFanCurve &curve) { curve = TFanCurve{}; }

void SetFullRanges(TPlotState &plot, double qFull, double hFull)
{
    plot.QFull = qFull;
    plot.HFull = hFull;
    plot.QStart = 0;
    plot.QEnd = qFull;
    plot.HStart = 0;
    plot.HEnd = hFull;
    plot.QPanStep = qFull / 10;
    plot.HPanStep = hFull / 10;
}

namespace {

// The parabola of the least squares over points given one by one.
struct TParabolaSums
{
    double N = 0, S2 = 0, S4 = 0, SH = 0, SQ2H = 0;
    double Qmin = 10000, Qmax = -1;

    void Add(double q, double h)
    {
        Qmin = std::min(Qmin, q);
        Qmax = std::max(Qmax, q);
        const double q2 = q * q;
        S2 += q2;
        S4 += q2 * q2;
        SH += h;
        SQ2H += q2 * h;
    }

    void Apply(TPlotState &plot) const
    {
        plot.QminWork = Qmin;
        plot.QmaxWork = Qmax;
        const double c = S4 * N - S2 * S2;
        if (c == 0)
            return;
        const double a = (S4 * SH - S2 * SQ2H) / c;
        const double b = (SH * S2 - SQ2H * N) / c;
        if (!std::isfinite(a) || !std::isfinite(b))
            return;
        plot.A = a;
        plot.b = b < MinParabolaB ? MinParabolaB : b;
    }
};

} // namespace

void FitParabola(TPlotState &plot, const TFanCurve &curve)
{
    const int n = LastPoint(curve);
    if (n <= 0)
        return;
    TParabolaSums sums;
    sums.N = n + 1;
    for (int i = 0; i <= n; ++i)
        sums.Add(curve.Q[i], curve.H[i]);
    sums.Apply(plot);
}

void FitParabolaToShapes(TPlotState &plot, const TPointMarkers &markers, int enteredCount)
{
    if (enteredCount < 2)
        return;
    TParabolaSums sums;
    sums.N = enteredCount;
    for (const TPointMarker &m : markers)
        if (m.Visible)
            sums.Add(m.Q, m.H);
    sums.Apply(plot);
}

void BuildSpline(TFanCurve &curve)
{
    curve.M.fill(0);
    const int n = LastPoint(curve);
    for (int i = 0; i < n; ++i) {
        int smallest = i + 1;
        for (int j = i + 2; j <= n; ++j)
            if (curve.Q[j] < curve.Q[smallest])
                smallest = j;
        if (curve.Q[smallest] < curve.Q[i]) {
            std::swap(curve.Q[smallest], curve.Q[i]);
            std::swap(curve.H[smallest], curve.H[i]);
        }
    }
    if (n <= 1)
        return;
    std::array<double, CurvePointCapacity> h{}, p{}, q{};
    for (int i = 0; i < n; ++i) {
        h[i] = curve.Q[i + 1] - curve.Q[i];
        // An interval of no length has no spline through it.
        if (!(h[i] > 0))
            return;
    }
    for (int i = 1; i <= n - 1; ++i) {
        const double lambda = h[i] / (h[i] + h[i - 1]);
        const double mu = 1 - lambda;
        const double d = 6 * ((curve.H[i + 1] - curve.H[i]) / h[i] - (curve.H[i] - curve.H[i - 1]) / h[i - 1])
                         / (h[i - 1] + h[i]);
        const double denominator = mu * p[i - 1] + 2;
        p[i] = -lambda / denominator;
        q[i] = (d - mu * q[i - 1]) / denominator;
    }
    for (int i = n - 1; i >= 1; --i)
        curve.M[i] = p[i] * curve.M[i + 1] + q[i];
}

double SplineSegmentValue(const TFanCurve &curve, int i, double t)
{
    const double q0 = curve.Q[i - 1], q1 = curve.Q[i];
    const double h = q1 - q0;
    if (!(h > 0))
        return curve.H[i];
    const double m0 = curve.M[i - 1], m1 = curve.M[i];
    const double a = q1 - t, c = t - q0;
    return m0 * a * a * a / (6 * h) + m1 * c * c * c / (6 * h) + (curve.H[i - 1] - m0 * h * h / 6) * a / h
           + (curve.H[i] - m1 * h * h / 6) * c / h;
}

double AxisStep(double range)
{
    if (!std::isfinite(range))
        return 0;
    for (const double s : AxisStepTable)
        if (10 * s >= range)
            return s;
    for (double decade = 1000;; decade *= 10)
        for (const double f : {1.0, 2.0, 2.5, 5.0})
            if (10 * f * decade >= range)
                return f * decade;
}

int PlotX(const TPlotState &plot, double q)
{
    if (!UsableScale(plot.QPerPixel))
        return plot.Left;
    return plot.Left + ClampedPixel(std::trunc((q - plot.QStart) / plot.QPerPixel));
}

int PlotY(const TPlotState &plot, double h)
{
    if (!UsableScale(plot.HPerPixel))
        return plot.Bottom;
    return plot.Bottom - ClampedPixel(std::trunc((h - plot.HStart) / plot.HPerPixel));
}

bool InsideWindow(const TPlotState &plot, double q, double h)
{
    return plot.QStart <= q && q <= plot.QEnd && plot.HStart <= h && h <= plot.HEnd;
}

void DrawGraphFrame(TCanvas &canvas, int imageWidth, int imageHeight, TPlotState &plot)
{
    canvas.Pen = TPen{};
    canvas.Brush = TBrush{};
    canvas.Font.Color = clBlack;
    const TSize w = canvas.TextExtent(QStringLiteral("W"));
    plot.CharWidth = ToUInt16(w.cx);
    plot.CharHeight = ToUInt16(w.cy);
    plot.Left = ToUInt16(canvas.TextWidth(QStringLiteral("=500.55")));
    plot.Right = ToUInt16(std::max<int>(imageWidth - canvas.TextWidth(QStringLiteral("HH=500.5")), plot.Left + 1));
    plot.Top = ToUInt16(3 * w.cy);
    plot.Bottom = ToUInt16(std::max<int>(imageHeight - 4 * w.cy, plot.Top + 1));

    canvas.Rectangle(0, 0, imageWidth, imageHeight);
    // The frame passes through the columns and rows that the window's ends map to.
    canvas.Rectangle(plot.Left, plot.Top, plot.Right + 1, plot.Bottom + 1);
    canvas.Pen.Width = 2;
    canvas.MoveTo(plot.Left, plot.Top);
    canvas.LineTo(plot.Left, plot.Bottom);
    canvas.MoveTo(plot.Left, plot.Bottom);
    canvas.LineTo(plot.Right, plot.Bottom);
    canvas.Pen.Width = 1;
    canvas.Brush.Style = TBrushStyle::bsClear;

    plot.QPerPixel = (plot.QEnd - plot.QStart) / (plot.Right - plot.Left);
    plot.HPerPixel = (plot.HEnd - plot.HStart) / (plot.Bottom - plot.Top);
    DrawFlowGrid(canvas, plot);
    DrawPressureGrid(canvas, plot);

    canvas.TextOut(plot.Right - canvas.TextWidth(plot.QCaption), plot.Bottom + plot.CharHeight / 2, plot.QCaption);
    canvas.TextOut(plot.Left - canvas.TextWidth(plot.HCaption), plot.Top + plot.CharHeight / 2, plot.HCaption);
    canvas.Brush.Style = TBrushStyle::bsSolid;
}

void PlotCurve(TCanvas &canvas, TPlotState &plot, TFanCurve &curve)
{
    const std::vector<TCurveSample> samples = CollectSamples(plot, curve, false);
    if (samples.size() < 2)
        return;
    std::vector<TPoint> pixels;
    pixels.reserve(samples.size());
    for (const TCurveSample &s : samples)
        pixels.push_back({PlotX(plot, s.Q), PlotY(plot, s.H)});
    canvas.Pen = TPen{};
    canvas.Polyline(pixels);
}

void PlotWorkingCurve(TCanvas &canvas, TPlotState &plot, TFanCurve &curve)
{
    const std::vector<TCurveSample> samples = CollectSamples(plot, curve, true);
    if (samples.size() < 2)
        return;
    const int xFrom = PlotX(plot, plot.QminWork);
    const int xTo = PlotX(plot, plot.QmaxWork);
    canvas.Pen = TPen{};
    canvas.Pen.Width = 2;
    canvas.MoveTo(PlotX(plot, samples[0].Q), PlotY(plot, samples[0].H));
    for (std::size_t i = 1; i < samples.size(); ++i) {
        const int x = PlotX(plot, samples[i].Q);
        canvas.Pen.Color = x >= xFrom && x <= xTo ? clRed : clBlack;
        canvas.LineTo(x, PlotY(plot, samples[i].H));
    }
    canvas.Pen = TPen{};
}

std::vector<TCurveSample> SampleCurve(TPlotState &plot, TFanCurve &curve)
{
    std::vector<TCurveSample> samples = CollectSamples(plot, curve, false);
    if (samples.size() <= MaxCurveSamples)
        return samples;
    std::vector<TCurveSample> kept;
    kept.reserve(MaxCurveSamples);
    const double spread = double(samples.size() - 1) / (MaxCurveSamples - 1);
    for (int j = 0; j < MaxCurveSamples; ++j)
        kept.push_back(samples[static_cast<std::size_t>(std::llround(j * spread))]);
    return kept;
}

void PlacePointShape(TCanvas &canvas, TPlotState &plot, TPointMarker &marker, TColor penColor, TColor brushColor,
                     int markerHeight)
{
    const int x = PlotX(plot, marker.Q);
    const int y = PlotY(plot, marker.H);
    plot.LastPlaced = {x, y};
    plot.LastPlacedQ = marker.Q;
    plot.LastPlacedH = marker.H;
    marker.Centre = {x, y};
    if (!InsideWindow(plot, marker.Q, marker.H))
        penColor = brushColor = clWhite;
    marker.PenColor = penColor;
    marker.BrushColor = brushColor;
    canvas.Font.Color = penColor;
    canvas.Brush.Style = TBrushStyle::bsClear;
    const TSize size = canvas.TextExtent(marker.Caption);
    canvas.TextOut(x - size.cx / 2, y - 3 * markerHeight / 4 - size.cy, marker.Caption);
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Font.Color = clBlack;
}

bool CursorReadout(TPlotState &plot, int x, int y)
{
    if (x < plot.Left || x > plot.Right || y < plot.Top || y > plot.Bottom)
        return false;
    plot.LastReadout = {x, y};
    plot.LastReadoutQ = (x - plot.Left) * plot.QPerPixel + plot.QStart;
    plot.LastReadoutH = (plot.Bottom - y) * plot.HPerPixel + plot.HStart;
    return true;
}
