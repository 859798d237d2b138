#include "scheme/viewport.h"

#include "model/helpers.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

const std::array<double, ZoomStepCount> ZoomFactors = {0.85, 1.1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 16, 20, 26};
const std::array<int, ZoomStepCount> LabelFontSizes = {4, 6, 8, 8, 8, 8, 8, 8, 8, 8, 8, 10, 10, 10};
const std::array<int, ZoomStepCount> NodeRadii = {2, 2, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16};
const std::array<int, ZoomStepCount> ThickBranchWidths = {2, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 24, 28, 32};
const std::array<double, ZoomStepCount> ArrowSizes = {0.85, 1.1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4};
const std::array<int, ZoomStepCount> ArrowShaftWidths = {1, 1, 2, 3, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
const std::array<QString, ZoomStepCount> ZoomStepNames = {
    QStringLiteral("   50%"), QStringLiteral(" 100%"), QStringLiteral(" 200%"), QStringLiteral(" 300%"),
    QStringLiteral(" 400%"),  QStringLiteral(" 500%"), QStringLiteral(" 600%"), QStringLiteral(" 700%"),
    QStringLiteral(" 800%"),  QStringLiteral(" 900%"), QStringLiteral("1000%"), QStringLiteral("1100%"),
    QStringLiteral("1200%"),  QStringLiteral("1300%"),
};

namespace {
int RoundInt(double v) { return static_cast<int>(Round(v)); }
} // namespace

void TViewport::Reset()
{
    ZoomStep = LastZoomStep;
    Zoom = ZoomFactors[LastZoomStep];
    ScrollX = 0;
    ScrollY = 0;
}

// A point far off the screen stays at the int range's end on its own side,
// rather than wrapping round to the other.
int TViewport::ScreenX(double x) const { return ClampToInt(Round(x * Zoom - ScrollX)); }
int TViewport::ScreenY(double y) const { return ClampToInt(Round(y * Zoom - ScrollY)); }
int TViewport::MouseSchemeX() const { return RoundInt((LastMouse.X + ScrollX) / Zoom); }
int TViewport::MouseSchemeY() const { return RoundInt((LastMouse.Y + ScrollY) / Zoom); }

int TViewport::SnappedMouseX(bool snapToGrid, int gridStep) const
{
    return snapToGrid && gridStep > 0 ? RoundInt(SnapToStep(MouseSchemeX(), gridStep)) : MouseSchemeX();
}

int TViewport::SnappedMouseY(bool snapToGrid, int gridStep) const
{
    return snapToGrid && gridStep > 0 ? RoundInt(SnapToStep(MouseSchemeY(), gridStep)) : MouseSchemeY();
}

TPoint TViewport::GetViewCenter(int w, int h) const
{
    return {RoundInt((ScrollX + w / 2) / Zoom), RoundInt((ScrollY + h / 2) / Zoom)};
}

void TViewport::CenterOn(int x, int y, int w, int h)
{
    ScrollX = x * Zoom - w / 2;
    ScrollY = y * Zoom - h / 2;
}

void TViewport::SetScrollX(double v) { ScrollX = v < 0 ? 0 : v; }
void TViewport::SetScrollY(double v) { ScrollY = v < 0 ? 0 : v; }

TRect TViewport::VisibleSchemeRect(const TRect &clip) const
{
    return {RoundInt(ScrollX / Zoom), RoundInt(ScrollY / Zoom), RoundInt((ScrollX + clip.Right - clip.Left + 1) / Zoom),
            RoundInt((ScrollY + clip.Bottom - clip.Top + 1) / Zoom)};
}

void TViewport::FitRect(TRect r, const TRect &clip)
{
    const int mx = RoundInt((r.Right - r.Left) * 0.03);
    r.Left -= mx;
    r.Right += mx;
    const int my = RoundInt((r.Bottom - r.Top) * 0.03);
    r.Top -= my;
    r.Bottom += my;
    const int w = clip.Right - clip.Left + 1;
    const int h = clip.Bottom - clip.Top + 1;
    ZoomStep = 0;
    const int width = r.Right - r.Left;
    const int height = r.Bottom - r.Top;
    if (width <= 0 && height <= 0) {
        // Nothing to fit: show the point at the largest step, centred.
        Zoom = ZoomFactors[LastZoomStep];
        CenterOn(r.Left, r.Top, w, h);
        return;
    }
    const double kx = width > 0 ? double(w) / width : INFINITY;
    const double ky = height > 0 ? double(h) / height : INFINITY;
    Zoom = ky > kx ? kx : ky;
    ScrollX = r.Left * Zoom;
    ScrollY = r.Top * Zoom;
}

void TViewport::KeyScroll(TScrollKey key, int w, int h)
{
    const double dx = w / (2 * Zoom);
    const double dy = h / (2 * Zoom);
    switch (key) {
    case skHome: SetScrollX(0); SetScrollY(0); break;
    case skLeft: SetScrollX(ScrollX - dx); break;
    case skRight: SetScrollX(ScrollX + dx); break;
    case skUp: SetScrollY(ScrollY - dy); break;
    case skDown: SetScrollY(ScrollY + dy); break;
    }
}

bool TViewport::NearEdge(int x, int y, int w, int h)
{
    return x > w - EdgeMarginX || x < EdgeMarginX || y > h - EdgeMarginY || y < EdgeMarginY;
}

int TViewport::EdgeCursor(int x, int y, int w, int h, int toolMode)
{
    const bool top = y < EdgeMarginY;
    const bool bottom = y > h - EdgeMarginY;
    const bool left = x < EdgeMarginX;
    const bool right = x > w - EdgeMarginX;
    if (top && left) return 16;
    if (top && right) return 15;
    if (bottom && left) return 17;
    if (bottom && right) return 18;
    if (top) return 13;
    if (bottom) return 14;
    if (left) return 12;
    if (right) return 11;
    return toolMode;
}
