#pragma once
// Integer points and rectangles as the drawing code and files use them:
// rectangles by their four edges, not by width and height.
#include <cstdint>

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
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TRect &, const TRect &) = default;
};

struct TDoublePoint
{
    double X = 0;
    double Y = 0;
};
