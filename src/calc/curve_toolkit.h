#pragma once
// Characteristic curves given by measured points: the least-squares parabola
// H = A − b·Q², the natural cubic spline through the points, the grid-step
// rule and frame of a plot, and the routines that draw or sample a curve.
// The fan editor plots fan characteristics (flow Q against pressure H) with
// it, the characteristic print samples them, and the support graphs draw
// specific resistance against cross-section area. "Flow" and "pressure"
// below name the horizontal and the vertical quantity.
//
// All drawing goes through a canvas painting an image without antialiasing:
// the support graphs find the chosen curve again by its pure red pixels.
#include "platform/canvas.h"

#include <QtCore/QString>

#include <array>
#include <cstdint>
#include <vector>

// Room for points of one characteristic in memory.
constexpr int CurvePointCapacity = 102;
constexpr int MaxCurvePointIndex = CurvePointCapacity - 1;

// One characteristic: points 0 to LastIndex of Q and H, and the second
// derivatives M of the spline through them once BuildSpline has run.
struct TFanCurve
{
    // 1 for every characteristic created in the fan editor; carried
    // unchanged through the catalogue file.
    std::uint8_t Flag = 0;
    // Number of points − 1; drawn and stored only when 1 or more.
    std::int32_t LastIndex = 0;
    std::array<double, CurvePointCapacity> M{};
    std::array<double, CurvePointCapacity> Q{};
    std::array<double, CurvePointCapacity> H{};

    friend bool operator==(const TFanCurve &, const TFanCurve &) = default;
};

void ClearFanCurve(TFanCurve &curve);

// Label format of an axis: fixed notation, Precision significant digits and
// Decimals decimals.
struct TAxisLabelFormat
{
    std::uint8_t Precision = 5;
    std::uint8_t Decimals = 1;
};

// A point marker of the fan editor while points are entered: its caption
// ("0" to "25"), the point's place in the point list (−1 for a free marker)
// and where it is drawn.
struct TPointMarker
{
    QString Caption;
    std::int32_t Position = -1;
    double Q = -1;
    double H = -1;
    bool Visible = false;
    // Set by PlacePointShape: the pixel the marker is centred on and its
    // colours (both white while the point is outside the displayed window).
    TPoint Centre;
    TColor PenColor = clRed;
    TColor BrushColor = clRed;
};

constexpr int PointMarkerCount = 26;
using TPointMarkers = std::array<TPointMarker, PointMarkerCount>;

// The state of one plot: the windows that plot are modal and never open
// together, so the program keeps one (PlotState) for its whole run.
struct TPlotState
{
    // Plot rectangle on the image, pixels.
    std::uint16_t Left = 0;
    std::uint16_t Right = 0;
    std::uint16_t Top = 0;
    std::uint16_t Bottom = 0;
    // Size of the letter "W" on the image's canvas.
    std::uint16_t CharWidth = 0;
    std::uint16_t CharHeight = 0;
    // The displayed window.
    double QStart = 0;
    double QEnd = 0;
    double HStart = 0;
    double HEnd = 0;
    // The full ranges start at 0 and end here; the pan steps are a tenth of them.
    double QFull = 0;
    double HFull = 0;
    double QPanStep = 0;
    double HPanStep = 0;
    // Set by DrawGraphFrame.
    double QPerPixel = 0;
    double HPerPixel = 0;
    TAxisLabelFormat QFormat;
    TAxisLabelFormat HFormat;
    QString QCaption;
    QString HCaption;
    // The flow range in which the current characteristic is used.
    double QminWork = 0;
    double QmaxWork = 0;
    // The last fitted parabola H = A − b·Q².
    double A = 0;
    double b = 0;
    TPoint LastPlaced;
    double LastPlacedQ = 0;
    double LastPlacedH = 0;
    TPoint LastReadout;
    double LastReadoutQ = 0;
    double LastReadoutH = 0;
};

extern TPlotState PlotState;

// Both full ranges (from 0), the displayed window over them and the pan steps.
void SetFullRanges(TPlotState &plot, double qFull, double hFull);

// The least-squares parabola over the points: A, b and the working range
// (the points' flow range). With fewer than two points nothing changes; with
// all points at one flow there is no parabola and A and b keep their values.
// b never falls below 1e-5.
void FitParabola(TPlotState &plot, const TFanCurve &curve);
// The same over the visible markers, when at least two points are entered.
void FitParabolaToShapes(TPlotState &plot, const TPointMarkers &markers, int enteredCount);

// Sorts the points by Q (with their H) and fills M. Two points at one flow
// leave M at 0, and the curve is then drawn as straight pieces.
void BuildSpline(TFanCurve &curve);
// The spline on interval i (from point i − 1 to point i) at t.
double SplineSegmentValue(const TFanCurve &curve, int i, double t);

// The first grid step s of the step table with 10·s ≥ range. Ranges above
// ten times the table's largest step go on with steps 1, 2, 2.5 and 5 times a
// power of ten; 0 for a range that is not a finite number.
double AxisStep(double range);

// Pixel of a value (valid for values inside the displayed window).
int PlotX(const TPlotState &plot, double q);
int PlotY(const TPlotState &plot, double h);
bool InsideWindow(const TPlotState &plot, double q, double h);

// Computes the plot rectangle and scales, and draws the background, frame,
// axes, grid, labels and captions on an image of the given size.
void DrawGraphFrame(TCanvas &canvas, int imageWidth, int imageHeight, TPlotState &plot);
// A curve 1 pixel wide and black: up to three points as their least-squares
// parabola (which sets A, b and the working range), more as the spline.
void PlotCurve(TCanvas &canvas, TPlotState &plot, TFanCurve &curve);
// The same 2 pixels wide, red over the working range, which for four or
// more points becomes the falling tail of the curve from its last peak.
void PlotWorkingCurve(TCanvas &canvas, TPlotState &plot, TFanCurve &curve);

struct TCurveSample
{
    double Q = 0;
    double H = 0;
};
constexpr int MaxCurveSamples = 1001;
// The samples PlotCurve would draw, as values, for the chart print. A plot so
// wide that there would be more than MaxCurveSamples keeps that many, spread
// evenly over the curve with its first and last.
std::vector<TCurveSample> SampleCurve(TPlotState &plot, TFanCurve &curve);

// Centres the marker on its point's pixel (remembered as the last placed
// point), sets its colours (white outside the window) and writes its caption
// in penColor centred over it.
void PlacePointShape(TCanvas &canvas, TPlotState &plot, TPointMarker &marker, TColor penColor, TColor brushColor,
                     int markerHeight = 6);

// Q and H at a pixel, remembered as the last readout point; false (nothing
// remembered) outside the plot rectangle.
bool CursorReadout(TPlotState &plot, int x, int y);
