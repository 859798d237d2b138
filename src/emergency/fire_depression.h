#pragma once
// Thermal depression of a fire in an inclined working, minute by minute, and
// the ventilation type and slope of a branch that the fire model uses.
// Depressions are in mm water column, lengths in metres, areas in m², flows
// in m³/s, temperatures in °C, slopes in degrees, time in minutes.
#include "emergency/fire_load.h"

#include <vector>

// The fire-time setting: minutes of a series.
constexpr int MinFireTime = 10;
constexpr int MaxFireTime = 360;
constexpr int DefaultFireTime = 90;

// One thermal-depression series: the value after n minutes of flaming
// combustion, n = 1..Count(). It never holds more than MaxFireTime values.
class TFireSeries
{
public:
    int Count() const { return static_cast<int>(m_values.size()); }
    bool Empty() const { return m_values.empty(); }
    // Minute n, 1-based.
    double operator[](int n) const { return m_values[static_cast<std::size_t>(n - 1)]; }
    // The last (largest) value; 0 when the series is empty.
    double Last() const { return m_values.empty() ? 0.0 : m_values.back(); }
    void Clear() { m_values.clear(); }
    void Append(double value) { m_values.push_back(value); }

private:
    std::vector<double> m_values;
};

// Ventilation types of a branch.
enum TVentType : int { vtDescending = -1, vtHorizontal = 0, vtAscending = 1 };

// −1 descending (the air flows from the higher end down), +1 ascending,
// 0 near-horizontal or unknown.
int VentType(int l, double zStart, double zEnd, double q);
// Slope in degrees from the altitudes of the ends; −1 when it cannot be computed.
double SlopeByAltitudes(int l, double z1, double z2);
// The slope that the fire model uses: the altitudes' slope, or the stored
// angle when it is given and lies within 3 degrees of it or the altitudes
// give none.
double BranchSlope(int l, double zStart, double zEnd, double storedAngle);

// The series of a fire without fire load in a branch of length l, area s,
// slope angle, flow q and start temperature t; at most fireTime values.
// Without flow or area the series is empty.
void FireDepression(TFireSeries &series, int l, double s, double angle, double q, double t,
                    int fireTime = DefaultFireTime);
// The same with the fire load of rec; CalcFireLoad recomputes rec first.
void FireDepressionLoaded(TFireSeries &series, TFireLoadRec &rec, int l, double s, double angle,
                          double q, double t, int fireTime = DefaultFireTime);
