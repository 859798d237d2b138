#pragma once
// The geometry of the designer's docks and toolbars as plain rectangles, so
// that the rules of rows, moves and docking hold without any window: the
// dock and toolbar widgets copy their bounds in, run these, and copy back.
#include <optional>
#include <vector>

enum class TDockAlign { Top, Bottom, Left, Right };
enum class TfrOrientation { toAny, toVertOnly, toHorzOnly };

inline bool IsHorizontalDock(TDockAlign align) { return align == TDockAlign::Top || align == TDockAlign::Bottom; }

struct TDockItem
{
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = true;
};

// A dock along one edge: its bounds in the form and its toolbars in child order.
struct TDockGeometry
{
    TDockAlign Align = TDockAlign::Top;
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int RowSize = 26;
    std::vector<TDockItem> Items;

    int Thickness() const { return IsHorizontalDock(Align) ? Height : Width; }
};

// Closes empty rows and grows the dock to the toolbars that lie past it; the
// thickness becomes rows x RowSize + 1 (1 with no toolbar).
void ArrangeRows(TDockGeometry &dock);

enum class TMoveResult { Moved, Refused, TearOff };
// Moves toolbar `index` to the dock-relative (x, y), pushed along the dock
// past the others; TearOff when it is to float instead (the caller floats it
// and takes it out of the dock).
TMoveResult TryMove(TDockGeometry &dock, int index, int x, int y, bool canFloat = true);

struct TDockTarget
{
    int Dock = -1; // index into the docks given
    int X = 0, Y = 0;
};
// The dock under a point of the form (docks in child order) and where a
// toolbar of that size is placed in it, always opening a new row on the
// dock's inner side; none when no dock is there or the toolbar may not turn.
std::optional<TDockTarget> DockUnderPoint(const std::vector<TDockGeometry> &docks, int px, int py, int toolWidth,
                                          int toolHeight, TfrOrientation orientation);

// The position that opens a new row just inside the dock's inner edge.
TDockItem EdgePlacement(const TDockGeometry &dock, int toolWidth, int toolHeight);

// A toolbar's children as lengths along it, in order (the grip first).
struct TToolBarShape
{
    int Width = 0, Height = 26;
    bool Horizontal = true;
    std::vector<int> Lengths;
};
// Turns the toolbar to the direction (keeping the children's order) and
// gives the children's rectangles in it.
void MatchOrientation(TToolBarShape &bar, bool horizontal);
// The length becomes the sum of the children's lengths + 4.
void FitLength(TToolBarShape &bar);
std::vector<TDockItem> ChildRects(const TToolBarShape &bar);
