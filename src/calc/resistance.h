#pragma once
// Resistance of an airway from what is known about it: its geometry and the
// coefficient alpha, the reference graphs of specific resistance by support
// type, and a door with a window in it. Resistances are in kilomurgues,
// alpha is entered multiplied by 10 000.
#include "calc/curve_toolkit.h"

#include <QtCore/QString>

#include <array>
#include <cstdint>

// R = 0.000386 · alpha · L · √S / S³ (the perimeter of a typical section).
double CalcRByAlpha(double S, double L, double alpha);

// Cross-section shapes, in the order of the shape choice: the perimeter is
// factor · √S.
struct TSectionShape
{
    const char *Name;
    double Factor;
};
constexpr int SectionShapeCount = 5;
extern const std::array<TSectionShape, SectionShapeCount> SectionShapeFactors;

// R = alpha · P · L / S³ / 10⁴ with P = factor · √S; 0 unless L, S, alpha and
// the factor are all positive.
double SectionResistance(int L, double S, double alpha, double factor);

// The resistance a door with a window of area s adds to an airway of area S.
double RegulatorResistance(double S, double s);

// The support graphs: specific resistance (murgues × 100 per metre) against
// the cross-section area, one curve of 13 points per support type.
constexpr int SupportTypeCount = 8;
constexpr int SupportCurvePoints = 13;
constexpr double SupportAreaMin = 5;
constexpr double SupportAreaMax = 16;
constexpr double SupportRMax = 14;
extern const std::array<double, SupportCurvePoints> SupportCurveAreas;
extern const std::array<std::array<double, SupportCurvePoints>, SupportTypeCount> SupportTypeCurves;
extern const std::array<const char *, SupportTypeCount> SupportTypeNames;

using TSupportCurves = std::array<TFanCurve, SupportTypeCount>;

// The curves and the plot window (area 5 to 16, specific resistance 0 to 14).
void LoadSupportCurves(TPlotState &plot, TSupportCurves &curves);

// Draws the frame, the title, every curve thin and black, and the chosen
// type's curve (0 to 7; −1 for none) 2 pixels wide in pure red.
void DrawResistanceGraphs(TCanvas &canvas, int width, int height, TPlotState &plot, TSupportCurves &curves,
                          int type);

// Resistance of an airway of length L for a pixel of the plot.
double GraphResistanceAt(const TPlotState &plot, int y, int L);
// Area for a pixel column of the plot.
double GraphAreaAt(const TPlotState &plot, int x);

// Reading the chosen curve at area S: the column of S, scanned upwards from
// just above the bottom edge for the first pure red pixel (the top edge when
// there is none), gives the resistance for length L.
struct TGraphReading
{
    int X = 0;
    int Y = 0;
    double R = 0;
};
TGraphReading ReadGraphResistance(const TCanvas &canvas, const TPlotState &plot, double S, int L);

// The blue cross, 2 pixels wide with arms of 6 pixels, at a read point.
void DrawGraphCross(TCanvas &canvas, int x, int y);
