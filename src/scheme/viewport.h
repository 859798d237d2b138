#pragma once
// Which piece of the scheme sheet the view shows and at what scale: the zoom,
// the two pixel offsets and the zoom step with its per-step drawing sizes.
// screen = Round(scheme × Zoom − Scroll), halves to even. The main window
// holds one; printing holds its own for the printer.
#include "platform/geometry.h"

#include <QtCore/QString>

#include <array>

constexpr int ZoomStepCount = 14;
constexpr int LastZoomStep = ZoomStepCount - 1;

extern const std::array<double, ZoomStepCount> ZoomFactors;
extern const std::array<int, ZoomStepCount> LabelFontSizes;     // points
extern const std::array<int, ZoomStepCount> NodeRadii;          // pixels
extern const std::array<int, ZoomStepCount> ThickBranchWidths;  // pixels
extern const std::array<double, ZoomStepCount> ArrowSizes;
extern const std::array<int, ZoomStepCount> ArrowShaftWidths;   // pixels
// Names of the steps in the scale list (they are not percentages of the factors).
extern const std::array<QString, ZoomStepCount> ZoomStepNames;

// Keys that scroll the view.
enum TScrollKey { skHome, skLeft, skRight, skUp, skDown };

// Pixels from the view's edges within which a click scrolls instead of acting.
constexpr int EdgeMarginX = 8;
constexpr int EdgeMarginY = 20;

struct TViewport
{
    double Zoom = ZoomFactors[LastZoomStep];
    double ScrollX = 0;
    double ScrollY = 0;
    int ZoomStep = LastZoomStep;
    TPoint LastMouse;  // last pointer position over the view, pixels

    // The view of a new document: step 13, no offsets.
    void Reset();

    int ScreenX(double x) const;
    int ScreenY(double y) const;
    int MouseSchemeX() const;
    int MouseSchemeY() const;
    // The pointer in scheme units, snapped to the grid when snapping is on.
    int SnappedMouseX(bool snapToGrid, int gridStep) const;
    int SnappedMouseY(bool snapToGrid, int gridStep) const;

    // The scheme point at the centre of a view of width w and height h.
    TPoint GetViewCenter(int w, int h) const;
    // Direct writes: the offsets may become negative.
    void CenterOn(int x, int y, int w, int h);
    // Negative values store 0.
    void SetScrollX(double v);
    void SetScrollY(double v);

    // The scheme rectangle seen through a canvas with the given clip rectangle.
    TRect VisibleSchemeRect(const TRect &clip) const;

    // Fits the scheme rectangle r into the clip rectangle with a 3 % margin;
    // the zoom becomes continuous and the step 0. A rectangle of zero width
    // or height is fitted by its other side; a single point keeps the zoom of
    // the last step and is centred.
    void FitRect(TRect r, const TRect &clip);

    // Keyboard scrolling: half a view per key at zoom 1.
    void KeyScroll(TScrollKey key, int w, int h);

    // A click at (x, y) near the view's edges scrolls the view instead.
    static bool NearEdge(int x, int y, int w, int h);
    // The cursor number for a pointer at (x, y): an edge arrow near the
    // edges, else the tool's own cursor.
    static int EdgeCursor(int x, int y, int w, int h, int toolMode);
};
