#include "emergency/fire_depression.h"

#include "model/network.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A difference of altitudes counts only when the working rises more than 5 %.
constexpr double SlopeThreshold = 0.05;
// Flame temperature of the burning zone, K.
constexpr double FlameTemperature = 1273;
// Air at 0 °C more likely means "not measured"; room temperature is taken.
constexpr double DefaultAirTemperature = 298;

double AirTemperatureK(double t)
{
    return std::fabs(t) <= 0.05 ? DefaultAirTemperature : t + 273;
}

int MinutesOf(int fireTime)
{
    return std::clamp(fireTime, 1, MaxFireTime);
}

double HeatCoefficient(double s, double q)
{
    return 0.01 * (1.51 * s / q + 1.21) / std::sqrt(s);
}

// Thermal depression of a burning length x with the gas temperatures behind
// the fire (tf) and at the branch end (te).
double Depression(double x, double angle, double t0, double tf, double te, double k)
{
    const double c = t0 / FlameTemperature;
    const double sinA = std::sin(angle * std::numbers::pi / 180);
    return 1.2 * x * sinA * ((1 - c) + (std::log(tf / t0) * (1 - c / 10) - std::log(te / t0)) / (k * x));
}

} // namespace

int VentType(int l, double zStart, double zEnd, double q)
{
    const double d = zStart - zEnd;
    double e = 0;
    if (l != 0 && std::fabs(d / l) > SlopeThreshold)
        e = static_cast<double>(Round(d));
    const double p = e * q;
    if (p > 0)
        return vtDescending;
    if (p < 0)
        return vtAscending;
    return vtHorizontal;
}

double SlopeByAltitudes(int l, double z1, double z2)
{
    if (l == 0)
        return -1.0;
    const double s = std::fabs(z1 - z2) / l;
    if (s > 1)
        return -1.0;
    if (1 - s <= 0.01)
        return 90.0;
    return std::atan(s / std::sqrt(1 - s * s)) * 180 / std::numbers::pi;
}

double BranchSlope(int l, double zStart, double zEnd, double storedAngle)
{
    const double e = SlopeByAltitudes(l, zStart, zEnd);
    const bool stored = storedAngle < AngleNotGiven;
    if (e == -1.0)
        return stored ? storedAngle : -1.0;
    if (!stored)
        return e;
    return std::fabs(storedAngle - e) < 3 ? storedAngle : e;
}

void FireDepression(TFireSeries &series, int l, double s, double angle, double q, double t, int fireTime)
{
    series.Clear();
    q = std::fabs(q);
    angle = std::fabs(angle);
    if (!(s > 0) || q == 0)
        return;
    const double t0 = AirTemperatureK(t);
    const int nMax = MinutesOf(fireTime);
    const double k = HeatCoefficient(s, q);
    for (int n = 1; n <= nMax; ++n) {
        const double x = (q / s + 4.15) * n / 15;
        if (l <= x)
            break;
        const double tf = FlameTemperature - (FlameTemperature - t0) * std::exp(-10 * k * x);
        const double te = t0 + (tf - t0) * std::exp(-k * (l - x));
        series.Append(Depression(x, angle, t0, tf, te, k));
    }
}

void FireDepressionLoaded(TFireSeries &series, TFireLoadRec &rec, int l, double s, double angle,
                          double q, double t, int fireTime)
{
    series.Clear();
    q = std::fabs(q);
    angle = std::fabs(angle);
    CalcFireLoad(rec, q, s);
    if (!(s > 0) || q == 0 || rec.BurnTime <= 0)
        return;
    const double t0 = AirTemperatureK(t);
    const int nMax = MinutesOf(fireTime);
    const double kL = rec.HeatCoeff;
    const double k = HeatCoefficient(s, q);
    for (int n = 1; n <= nMax; ++n) {
        double xE = 0;
        double xF = 0;
        if (FireFront(rec, l, xE, xF, n))
            break;
        // Nothing burning yet (or any more): no length to divide by.
        if (!(xE > 0))
            break;
        const double tf = FlameTemperature - (FlameTemperature - t0) * std::exp(-10 * kL * xE);
        const double te = t0 + (tf - t0) * std::exp(-k * (l - xF));
        series.Append(Depression(xE, angle, t0, tf, te, k));
    }
}
