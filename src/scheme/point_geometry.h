#pragma once
// Integer points and angles in pixel space (y grows downward), as the scheme
// drawing, the built-in symbols and the symbol links use them.
#include "platform/geometry.h"

int LargerInt(int a, int b);
int SmallerInt(int a, int b);
int SignOf(long double v);
TPoint MakePoint(int x, int y);
void SwapPoints(TPoint &a, TPoint &b);
// Halves cut toward zero.
TPoint MidPoint(TPoint a, TPoint b);
long double PointDistance(TPoint a, TPoint b);
int TruncatedDistance(TPoint a, TPoint b);
// Slope of the segment with the y axis upward, in −π/2..π/2; direction is lost.
long double SegmentSlopeAngle(TPoint a, TPoint b);
// Angle of the vector from b to a.
long double DirectionAngle(TPoint a, TPoint b);
// p moved by len against (cos angle, sin angle): OffsetPolar(a, len,
// DirectionAngle(a, b)) lies len units from a towards b.
TPoint OffsetPolar(TPoint p, int len, long double angle);
TPoint OffsetPolar2(TPoint p, int len1, int len2, long double angle1, long double angle2);
