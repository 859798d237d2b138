#pragma once
// Integer points and rectangles as the drawing code and files use them:
// rectangles by their four edges, not by width and height.
#include <cstdint>

// A coordinate worked out in a wider type, brought back into int: an extreme
// coordinate of a damaged file saturates instead of overflowing.
inline int ClampToInt(std::int64_t value)
{
    return value > INT32_MAX ? INT32_MAX : (value < INT32_MIN ? INT32_MIN : static_cast<int>(value));
}

// A coordinate moved by an offset, held at the range's ends: a coordinate
// already clamped there does not wrap round when a drawing steps past it.
inline int Shifted(int coordinate, std::int64_t by) { return ClampToInt(std::int64_t{coordinate} + by); }

struct TPoint
{
    int X = 0;
    int Y = 0;
    friend bool operator==(const TPoint &, const TPoint &) = default;
};

struct TRect
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return ClampToInt(std::int64_t{Right} - Left); }
    int Height() const { return ClampToInt(std::int64_t{Bottom} - Top); }
    friend bool operator==(const TRect &, const TRect &) = default;
};

// Widens r to hold the point: an x left of it moves the left edge, otherwise
// one right of it the right edge; y likewise.
inline void WidenRect(TRect &r, int x, int y)
{
    if (x < r.Left)
        r.Left = x;
    else if (x > r.Right)
        r.Right = x;
    if (y < r.Top)
        r.Top = y;
    else if (y > r.Bottom)
        r.Bottom = y;
}

struct TDoublePoint
{
    double X = 0;
    double Y = 0;
};
