#pragma once
// The geometry of editing a page with the mouse, without a window: grid
// snapping and the grid-sized mouse step, handles and which one a drag
// holds, resizing one object or a whole selection in proportion, the edge
// two selected objects share, the rectangles that new objects and lines
// take, rubber selection, and the bounds of a multiple selection.
#include "platform/geometry.h"

#include <vector>

class TfrPage;
class TfrView;

// The grid as the designer's options set it.
struct TGrid
{
    int Size = 4;
    bool Align = true;
};

// Truncates toward zero to the grid when aligning.
TPoint SnapToGrid(int x, int y, const TGrid &grid);
// Rounds to the nearest grid line (halves to even).
TPoint RoundToGrid(int x, int y, const TGrid &grid);
// A mouse step is taken only once it reaches a grid size along either axis,
// and then only in whole grid sizes (toward zero); false when refused, so
// the caller keeps its last point and small moves add up.
bool GridStep(int &dx, int &dy, const TGrid &grid);
// The nearest object corner closer than one grid size, if any.
bool SnapToCorner(const TfrPage &page, int &x, int &y, int gridSize);
// The point is on the handle at (hx, hy) with tolerance e.
bool AtHandle(int hx, int hy, int px, int py, int e);

// Cursors of the surface; the sizing ones and the split decide what a drag does.
enum class TSurfaceCursor { Default, Cross, Pencil, SizeNWSE, SizeNESW, SizeNS, SizeWE, HSplit };

// The handle of one selected object under the point (e = 2), tested in the
// order top-left, bottom-right, top-right, bottom-left, top, bottom, left, right.
TSurfaceCursor HandleCursor(const TfrView &view, int x, int y);
// The handle a single-object resize holds: 1 top-left, 2 bottom-right,
// 3 top-right, 4 bottom-left, 5 left, 6 right, 7 top, 8 bottom. Decided on
// the first step from the press point and kept (`corner`) for the drag.
int DecideResizeCorner(TSurfaceCursor cursor, int corner, const TfrView &view, int pressX, int pressY);
// Moves the held edges by the step; sizes may go negative during the drag.
void ResizeByCorner(TfrView &view, int corner, int dx, int dy);
// After the drag: a negative size becomes positive and its edge moves back.
void NormalizeObject(TfrView &view);

// Scales every selected object from its SavedRect so that the selection's
// saved bounds become `rubber`, anchored at leftTop; edges round half to even.
void ResizeInProportion(TfrPage &page, const TRect &rubber, const TRect &saved, TPoint leftTop);

// The edge two selected objects share, under the mouse.
struct TSplitInfo
{
    TRect Line;      // zero width, from the top to the bottom of the object under the mouse
    int EdgeX = 0;   // the edge at the press
    TfrView *LeftObject = nullptr;
    TfrView *RightObject = nullptr;
};
bool FindSharedEdge(const TfrPage &page, int x, int y, TSplitInfo &split);
// Moves the shared edge by d unless either object would lose all its width.
bool MoveSharedEdge(TSplitInfo &split, int d);

TRect NormalizeRect(const TRect &r);

// Left, top, width and height of a new object.
struct TBox
{
    int Left = 0, Top = 0, Width = 0, Height = 0;
    friend bool operator==(const TBox &, const TBox &) = default;
};
// A line drawn from the rubber rectangle's first corner to its second.
TBox LineFromRubber(const TRect &rubber);
// What the line tool draws while dragging: only the longer axis.
TRect RubberLineEnd(const TRect &rubber);

// The preview rectangle that follows the mouse with an insertion tool armed.
TRect InsertionPreview(int x, int y, bool bandTool, int pageWidth, const TGrid &grid, int fontSize);
// The rectangle a new object takes at the release: a click takes the
// preview's place and size; the rectangle is normalised and cut down to the
// grid; a flat one becomes 40 x 40, or the default text size for text.
TBox InsertionBox(const TRect &rubber, const TRect &preview, bool textObject, const TGrid &grid, int fontSize);
void PlaceView(TfrView &view, const TBox &box);
// Gives a new object the defaults of new objects (the last formatting used).
void ApplyNewObjectDefaults(TfrView &view);

// Selects every object (bands too) that meets the rectangle, either way
// round; returns how many were newly selected and counts them in SelectedCount.
int RubberSelect(TfrPage &page, const TRect &rubber);
// The one selected band takes along every non-band object wholly inside it;
// returns how many joined the selection.
int SelectBandContents(TfrPage &page);

// The bounds of a multiple selection: each selected object's SavedRect,
// the object with the right-most (then lowest) bottom-right corner, the
// smallest left and top; RubberRect = SavedRect = those bounds.
// Below two selected objects nothing but the reset.
void ComputeSelectionBounds(TfrPage &page, int &rightBottom, TPoint &leftTop);
