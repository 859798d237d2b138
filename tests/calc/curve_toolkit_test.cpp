// The curve toolkit: the parabola and spline through measured points, the grid
// step, the plot frame and the curves as a fan chart draws them.
#include "calc/curve_toolkit.h"
#include "curve_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>

namespace {

TPointMarker Marker(const char *caption, int position, double q, double h, bool visible = true)
{
    TPointMarker m;
    m.Caption = QString::fromUtf8(caption);
    m.Position = position;
    m.Q = q;
    m.H = h;
    m.Visible = visible;
    return m;
}

// A frame over 0..qEnd and 0..hEnd on a recording canvas of 600 × 400.
TPlotState Framed(TRecordingCanvas &canvas, double qEnd, double hEnd)
{
    TPlotState plot;
    SetFullRanges(plot, qEnd, hEnd);
    plot.QCaption = QStringLiteral("Q,m3/с");
    plot.HCaption = QStringLiteral("H,даПа");
    DrawGraphFrame(canvas, 600, 400, plot);
    return plot;
}

std::vector<const TRecordingCanvas::TOp *> Lines(const TRecordingCanvas &canvas)
{
    std::vector<const TRecordingCanvas::TOp *> lines;
    for (const auto &op : canvas.Ops)
        if (op.Kind == TRecordingCanvas::TOpKind::LineTo)
            lines.push_back(&op);
    return lines;
}

} // namespace

TEST(CurveToolkit, FitParabola)
{
    struct Case
    {
        const char *Name;
        TFanCurve Points;
        double A, b, Qmin, Qmax;
    };
    const Case cases[] = {
        {"two points", Curve({{1, 100}, {2, 70}}), 110, 10, 1, 2},
        {"exact parabola", Curve({{0, 100}, {1, 90}, {2, 60}}), 100, 10, 0, 2},
        {"rising set", Curve({{1, 50}, {2, 60}, {3, 80}}), 4480.0 / 98, 1e-5, 1, 3},
    };
    for (const Case &c : cases) {
        TPlotState plot;
        FitParabola(plot, c.Points);
        EXPECT_NEAR(plot.A, c.A, 1e-9) << c.Name;
        EXPECT_NEAR(plot.b, c.b, 1e-12) << c.Name;
        EXPECT_EQ(plot.QminWork, c.Qmin) << c.Name;
        EXPECT_EQ(plot.QmaxWork, c.Qmax) << c.Name;
    }
}

TEST(CurveToolkit, FitParabolaKeepsItsValuesWithoutAParabola)
{
    TPlotState plot;
    plot.A = 7;
    plot.b = 3;
    FitParabola(plot, Curve({{5, 100}}));
    EXPECT_EQ(plot.A, 7);
    EXPECT_EQ(plot.b, 3);
    // All points at one flow: no least-squares parabola, and no division by 0.
    FitParabola(plot, Curve({{2, 100}, {2, 90}, {2, 80}}));
    EXPECT_EQ(plot.A, 7);
    EXPECT_EQ(plot.b, 3);
    EXPECT_EQ(plot.QminWork, 2);
    EXPECT_EQ(plot.QmaxWork, 2);
}

TEST(CurveToolkit, FitParabolaToShapesTakesOnlyVisibleMarkers)
{
    TPointMarkers markers;
    markers[3] = Marker("3", 0, 1, 100);
    markers[7] = Marker("7", 1, 2, 70);
    markers[9] = Marker("9", -1, 50, 5000, false);
    TPlotState plot;
    FitParabolaToShapes(plot, markers, 2);
    EXPECT_NEAR(plot.A, 110, 1e-9);
    EXPECT_NEAR(plot.b, 10, 1e-9);
}

TEST(CurveToolkit, BuildSplineSortsAndSolvesTheNaturalSpline)
{
    TFanCurve sorted = Curve({{3, 30}, {1, 10}, {2, 20}});
    BuildSpline(sorted);
    EXPECT_EQ((std::array<double, 3>{sorted.Q[0], sorted.Q[1], sorted.Q[2]}), (std::array<double, 3>{1, 2, 3}));
    EXPECT_EQ((std::array<double, 3>{sorted.H[0], sorted.H[1], sorted.H[2]}), (std::array<double, 3>{10, 20, 30}));

    // y = x² at 0..4: M1 = M3 = 18/7, M2 = 12/7, and the ends natural.
    TFanCurve square = Curve({{4, 16}, {0, 0}, {2, 4}, {1, 1}, {3, 9}});
    BuildSpline(square);
    EXPECT_EQ(square.M[0], 0);
    EXPECT_NEAR(square.M[1], 18.0 / 7, 1e-12);
    EXPECT_NEAR(square.M[2], 12.0 / 7, 1e-12);
    EXPECT_NEAR(square.M[3], 18.0 / 7, 1e-12);
    EXPECT_EQ(square.M[4], 0);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR(SplineSegmentValue(square, i, square.Q[i - 1]), square.H[i - 1], 1e-12);
        EXPECT_NEAR(SplineSegmentValue(square, i, square.Q[i]), square.H[i], 1e-12);
    }
    EXPECT_NEAR(SplineSegmentValue(square, 2, 1.5), 2.25, 0.1);

    // Two points at one flow: straight pieces, no division by 0.
    TFanCurve twin = Curve({{1, 10}, {2, 8}, {2, 7}, {3, 5}});
    BuildSpline(twin);
    for (int i = 0; i <= 3; ++i)
        EXPECT_EQ(twin.M[i], 0);
    EXPECT_TRUE(std::isfinite(SplineSegmentValue(twin, 2, 2)));
}

TEST(CurveToolkit, AxisStep)
{
    const std::pair<double, double> cases[] = {{10, 1},       {12, 2},        {27.5, 3},  {1000, 100},   {1200, 150},
                                               {0.05, 0.01},  {25000, 2500},  {30000, 5000}, {2e5, 2e4},
                                               {std::numeric_limits<double>::infinity(), 0},
                                               {std::numeric_limits<double>::quiet_NaN(), 0}};
    for (const auto &[range, step] : cases)
        EXPECT_EQ(AxisStep(range), step) << range;
}

TEST(CurveToolkit, FrameOfAFlowAxisTo27_5)
{
    TRecordingCanvas canvas;
    const TPlotState plot = Framed(canvas, 27.5, 100);
    ASSERT_GT(plot.Right, plot.Left);
    EXPECT_DOUBLE_EQ(plot.QPerPixel, 27.5 / (plot.Right - plot.Left));

    // Vertical grid lines from the bottom edge to the top, one per step of 3.
    std::vector<int> gridX;
    for (const auto *line : Lines(canvas))
        if (line->Points[0].Y == plot.Bottom && line->Points[1].Y == plot.Top && line->Points[0].X == line->Points[1].X)
            gridX.push_back(line->Points[0].X);
    std::vector<int> expected;
    for (int v = 0; v <= 27; v += 3)
        expected.push_back(PlotX(plot, v));
    EXPECT_EQ(gridX, expected);

    QStringList flowLabels;
    for (const auto &op : canvas.Ops)
        if (op.Kind == TRecordingCanvas::TOpKind::TextOut && op.At.Y == plot.Bottom + plot.CharHeight / 2
            && op.Text != plot.QCaption)
            flowLabels << op.Text;
    EXPECT_EQ(flowLabels, (QStringList{"0,0", "6,0", "12,0", "18,0", "24,0"}));
    EXPECT_TRUE(canvas.FindText(QStringLiteral("H,даПа")));
}

TEST(CurveToolkit, WorkingRangeIsTheFallingTail)
{
    struct Case
    {
        std::array<double, 4> H;
        double Qmin;
    };
    for (const Case &c : {Case{{50, 80, 70, 60}, 2}, Case{{80, 70, 60, 50}, 1}}) {
        TRecordingCanvas canvas;
        TPlotState plot = Framed(canvas, 5, 100);
        TFanCurve curve = Curve({{1, c.H[0]}, {2, c.H[1]}, {3, c.H[2]}, {4, c.H[3]}});
        canvas.Clear();
        PlotWorkingCurve(canvas, plot, curve);
        EXPECT_EQ(plot.QminWork, c.Qmin);
        EXPECT_EQ(plot.QmaxWork, 4);

        // Red exactly where the segment ends inside the working range's columns.
        const int xFrom = PlotX(plot, plot.QminWork), xTo = PlotX(plot, plot.QmaxWork);
        int red = 0, black = 0;
        for (const auto *line : Lines(canvas)) {
            const int x = line->Points[1].X;
            EXPECT_EQ(line->Pen.Color, x >= xFrom && x <= xTo ? clRed : clBlack) << x;
            EXPECT_EQ(line->Pen.Width, 2);
            (line->Pen.Color == clRed ? red : black) += 1;
        }
        EXPECT_GT(red, 50);
        EXPECT_EQ(black > 0, c.Qmin > 1);
    }
}

TEST(CurveToolkit, CurvesFollowTheirPoints)
{
    TRecordingCanvas canvas;
    TPlotState plot = Framed(canvas, 10, 100);
    canvas.Clear();
    // Three points: the parabola from the first flow to the last.
    TFanCurve parabola = Curve({{2, 96}, {4, 84}, {6, 64}});
    PlotCurve(canvas, plot, parabola);
    ASSERT_EQ(canvas.Ops.size(), 1u);
    const auto &pixels = canvas.Ops[0].Points;
    EXPECT_EQ(pixels.front().X, PlotX(plot, 2));
    EXPECT_NEAR(pixels.front().Y, PlotY(plot, 96), 1);
    EXPECT_GE(pixels.back().X, PlotX(plot, 6));
    EXPECT_NEAR(pixels.back().Y, PlotY(plot, 64), 1);
    EXPECT_EQ(canvas.Ops[0].Pen, TPen{});

    // Samples of the spline start at its first point and never leave the
    // window, though the curve does.
    TFanCurve spline = Curve({{1, 90}, {3, 85}, {5, 70}, {7, 40}, {9, 120}});
    const std::vector<TCurveSample> samples = SampleCurve(plot, spline);
    ASSERT_GT(samples.size(), 100u);
    for (const TCurveSample &s : samples)
        EXPECT_TRUE(InsideWindow(plot, s.Q, s.H));
    EXPECT_EQ(samples.front().Q, 1);
    EXPECT_LT(samples.back().Q, 9);
}

TEST(CurveToolkit, AwkwardPlotsNeitherHangNorOverrun)
{
    // A one-point curve has no parabola of its own to draw.
    TRecordingCanvas canvas;
    TPlotState plot = Framed(canvas, 10, 100);
    canvas.Clear();
    TFanCurve single = Curve({{5, 50}});
    PlotCurve(canvas, plot, single);
    EXPECT_TRUE(canvas.Ops.empty());

    // Points far beyond a small window are sampled only over the window.
    TFanCurve wide = Curve({{0, 90}, {1e12, 80}, {2e12, 70}, {3e12, 10}});
    PlotWorkingCurve(canvas, plot, wide);
    EXPECT_LT(canvas.Ops.size(), 1000u);

    // A plot wider than the sample buffers keeps 1001 samples, ends included.
    TRecordingCanvas wideCanvas;
    TPlotState widePlot;
    SetFullRanges(widePlot, 10, 100);
    DrawGraphFrame(wideCanvas, 6000, 400, widePlot);
    TFanCurve falling = Curve({{0, 100}, {2, 98}, {5, 80}, {10, 20}});
    const std::vector<TCurveSample> samples = SampleCurve(widePlot, falling);
    ASSERT_EQ(samples.size(), std::size_t(MaxCurveSamples));
    EXPECT_EQ(samples.front().Q, 0);
    EXPECT_NEAR(samples.back().Q, 10, widePlot.QPerPixel);

    // Frames over ranges without a grid step, or on a tiny image.
    for (const double end : {std::numeric_limits<double>::infinity(), 1e300, 0.0}) {
        TRecordingCanvas c;
        TPlotState p;
        SetFullRanges(p, end, end);
        DrawGraphFrame(c, 8, 8, p);
        TFanCurve curve = Curve({{0, 1}, {1, 0.5}, {2, 0.2}, {3, 0.1}});
        PlotCurve(c, p, curve);
        EXPECT_LT(c.Ops.size(), 100u) << end;
    }
}

TEST(CurveToolkit, MarkersAndReadout)
{
    TRecordingCanvas canvas;
    TPlotState plot = Framed(canvas, 10, 100);
    canvas.Clear();
    TPointMarker inside = Marker("4", 0, 5, 50);
    PlacePointShape(canvas, plot, inside, clRed, clRed);
    EXPECT_EQ(inside.Centre, (TPoint{PlotX(plot, 5), PlotY(plot, 50)}));
    EXPECT_EQ(plot.LastPlaced, inside.Centre);
    EXPECT_EQ(inside.PenColor, clRed);
    ASSERT_EQ(canvas.Ops.size(), 1u);
    EXPECT_EQ(canvas.Ops[0].Font.Color, clRed);
    EXPECT_LT(canvas.Ops[0].At.Y + canvas.TextHeight(QStringLiteral("4")), inside.Centre.Y);

    TPointMarker outside = Marker("5", 1, 12, 50);
    PlacePointShape(canvas, plot, outside, clBlue, clBlue);
    EXPECT_EQ(outside.PenColor, clWhite);
    EXPECT_EQ(outside.BrushColor, clWhite);

    ASSERT_TRUE(CursorReadout(plot, inside.Centre.X, inside.Centre.Y));
    EXPECT_NEAR(plot.LastReadoutQ, 5, plot.QPerPixel);
    EXPECT_NEAR(plot.LastReadoutH, 50, plot.HPerPixel);
    EXPECT_FALSE(CursorReadout(plot, plot.Left - 1, inside.Centre.Y));
    EXPECT_EQ(plot.LastReadout, inside.Centre);
}
