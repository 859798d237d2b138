#pragma once
// Small free functions shared by the shell, the drawing code and the dialogs.
#include "platform/geometry.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <algorithm>
#include <cstdint>

inline QString IfThenStr(bool flag, const QString &a, const QString &b) { return flag ? a : b; }
inline int IfThenInt(bool flag, int a, int b) { return flag ? a : b; }
inline double IfThenFloat(bool flag, double a, double b) { return flag ? a : b; }

// Upper case for Latin a..z only; every other character stays.
QString UpperCaseAscii(const QString &text);
// The text without its blanks (code 32 only).
QString StripSpaces(const QString &text);
// Characters that file names cannot hold (" * / : < > ? \ |) become blanks,
// or the replacement given.
QString ReplaceFileNameChars(const QString &text, QChar replacement = u' ');
// A non-empty folder text gets a trailing path separator; empty stays empty.
QString AddTrailingSlash(const QString &folder);
// The text up to and including its last slash or backslash; empty when none.
QString ExtractFolder(const QString &path);
// OEM (866) bytes to ANSI (1251) bytes and back; the length is kept.
QByteArray OemToAnsiText(const QByteArray &text);
QByteArray AnsiToOemText(const QByteArray &text);

// Edges included.
bool PointInRect(TPoint p, const TRect &r);
std::int64_t SquaredDistance(std::int64_t x1, std::int64_t y1, std::int64_t x2, std::int64_t y2);
TRect InflateRectBy(int dx, int dy, const TRect &r);
// Grows the rectangle by round(width × factor) and round(height × factor) on each side.
TRect WidenRect(const TRect &r, double factor);
// The corner of the box (x, y, width, height) nearest to p; ties keep the earlier corner.
TPoint NearestRectCorner(int x, int y, int width, int height, TPoint p);
// Squared distance of p3 from the line p1-p2 through distance; true when the
// foot of the perpendicular lies within the segment. A segment of zero
// length gives 0 and false.
bool SegmentDistance2(TPoint p1, TPoint p2, TPoint p3, double &distance);
// The foot of the perpendicular from p3 on the line p1-p2, rounded; only for
// segments of non-zero length.
TPoint FootOnLine(TDoublePoint p1, TDoublePoint p2, TDoublePoint p3);
// (value − base) / base × 100, with fixed answers where base is 0.
double PercentDifference(double base, double value);
// value moved to the nearest multiple of step; halves move up, negative values toward zero.
double SnapToStep(double value, double step);

template <typename List>
void ReverseList(List &list)
{
    std::reverse(list.begin(), list.end());
}

// Every comma of the text becomes a point.
QString CommaToPoint(const QString &text);
// x with a point and the given decimals, right-aligned in a field of width
// characters (no padding for a width of 0 or less).
QString FormatFixedStr(double x, int width, int decimals);
// Reads a number typed with a point or a comma. A text that is no number, or a
// number outside min..max, is reported in a warning (the range written by
// FormatFixedStr with width and decimals), value keeps its old content and
// the result is false.
bool StrInD(const QString &text, double &value, double min, double max, int width, int decimals);
