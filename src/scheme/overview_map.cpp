#include "scheme/overview_map.h"

#include "model/geometry_queries.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

TRect OverviewWorldRect(const TNetworkTables &t, const TViewport &view, const TRect &clip)
{
    const TRect bounds = SchemeBounds(t);
    const TRect visible = view.VisibleSchemeRect(clip);
    return {std::min(bounds.Left, visible.Left), std::min(bounds.Top, visible.Top),
            std::max(bounds.Right, visible.Right), std::max(bounds.Bottom, visible.Bottom)};
}

int TOverviewMap::MapX(int x) const { return static_cast<int>(std::trunc((double(x) - World.Left) * Scale)); }
int TOverviewMap::MapY(int y) const { return static_cast<int>(std::trunc((double(y) - World.Top) * Scale)); }

bool TOverviewMap::SchemePoint(int px, int py, TPoint &scheme) const
{
    if (!(Scale > 0) || !std::isfinite(Scale))
        return false;
    scheme = {static_cast<int>(Round(px / Scale + World.Left)), static_cast<int>(Round(py / Scale + World.Top))};
    return true;
}

namespace {

void FrameRect(TCanvas &canvas, const TRect &r, TColor color)
{
    canvas.Pen.Color = color;
    canvas.MoveTo(r.Left, r.Top);
    canvas.LineTo(r.Right - 1, r.Top);
    canvas.LineTo(r.Right - 1, r.Bottom - 1);
    canvas.LineTo(r.Left, r.Bottom - 1);
    canvas.LineTo(r.Left, r.Top);
}

} // namespace

void TOverviewMap::Draw(TCanvas &canvas, int width, int height, const TNetworkTables &t, const TRect &world,
                        const TRect &visible, bool showSheet, int sheetWidth, int sheetHeight)
{
    World = world;
    // A world of no width or height is scaled by its other side alone.
    const double kx = world.Width() > 0 ? double(width) / world.Width() : INFINITY;
    const double ky = world.Height() > 0 ? double(height) / world.Height() : INFINITY;
    Scale = std::min(kx, ky);
    if (!std::isfinite(Scale))
        Scale = 1;

    canvas.Pen = TPen{};
    canvas.Brush = TBrush{};
    canvas.Brush.Color = clSilver;
    canvas.Rectangle(-1, -1, width + 1, height + 1);

    std::vector<TPoint> points;
    for (int n = 1, last = MaxBranchNo(t); n <= last; ++n) {
        if (!BranchExist(t, n) || !t.BranchTurns[n])
            continue;
        points.clear();
        for (const TTurn &p : *t.BranchTurns[n])
            points.push_back({MapX(p.X), MapY(p.Y)});
        canvas.Polyline(points);
    }
    for (int n = 1, last = MaxNodeNo(t); n <= last; ++n)
        if (t.NodeNo[n] == n)
            canvas.SetPixel(MapX(t.NodeX[n]), MapY(t.NodeY[n]), clBlack);

    if (showSheet) {
        Sheet = {MapX(0), MapY(0), MapX(sheetWidth), MapY(sheetHeight)};
        FrameRect(canvas, Sheet, clBlue);
    }
    Visible = {MapX(visible.Left), MapY(visible.Top), MapX(visible.Right), MapY(visible.Bottom)};
    FrameRect(canvas, Visible, clRed);
    canvas.Pen.Color = clBlack;
}
