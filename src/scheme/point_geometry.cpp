#include "scheme/point_geometry.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr long double Pi = std::numbers::pi_v<long double>;

// The arithmetic unit refuses arguments beyond 2^63; such angles count as 0.
long double SafeCos(long double a) { return std::fabs(a) < 9.2e18L ? std::cos(a) : 0.0L; }
long double SafeSin(long double a) { return std::fabs(a) < 9.2e18L ? std::sin(a) : 0.0L; }

int RoundEven(long double v) { return static_cast<int>(std::nearbyint(v)); }

} // namespace

int LargerInt(int a, int b) { return a >= b ? a : b; }
int SmallerInt(int a, int b) { return b < a ? b : a; }
int SignOf(long double v) { return v >= 0 ? 1 : -1; }
TPoint MakePoint(int x, int y) { return {x, y}; }
void SwapPoints(TPoint &a, TPoint &b) { std::swap(a, b); }
TPoint MidPoint(TPoint a, TPoint b) { return {(a.X + b.X) / 2, (a.Y + b.Y) / 2}; }

long double PointDistance(TPoint a, TPoint b)
{
    const long double dx = static_cast<long double>(b.X) - a.X;
    const long double dy = static_cast<long double>(b.Y) - a.Y;
    return std::sqrt(dx * dx + dy * dy);
}

int TruncatedDistance(TPoint a, TPoint b)
{
    const int dx = b.X - a.X;
    const int dy = b.Y - a.Y;
    return static_cast<int>(std::sqrt(static_cast<long double>(dx * dx + dy * dy)));
}

long double SegmentSlopeAngle(TPoint a, TPoint b)
{
    if (a.X != b.X)
        return std::atan(static_cast<long double>(b.Y - a.Y) / static_cast<long double>(a.X - b.X));
    return b.Y > a.Y ? Pi / 2 : -Pi / 2;
}

long double DirectionAngle(TPoint a, TPoint b)
{
    if (a.X != b.X) {
        const long double theta = std::atan(static_cast<long double>(b.Y - a.Y) / static_cast<long double>(b.X - a.X));
        return a.X < b.X ? theta + Pi : theta;
    }
    return b.Y < a.Y ? Pi / 2 : 3 * Pi / 2;
}

TPoint OffsetPolar(TPoint p, int len, long double angle)
{
    return {RoundEven(p.X - SafeCos(angle) * len), RoundEven(p.Y - SafeSin(angle) * len)};
}

TPoint OffsetPolar2(TPoint p, int len1, int len2, long double angle1, long double angle2)
{
    return {RoundEven(p.X - SafeCos(angle1) * len1 - SafeCos(angle2) * len2),
            RoundEven(p.Y - SafeSin(angle1) * len1 - SafeSin(angle2) * len2)};
}
