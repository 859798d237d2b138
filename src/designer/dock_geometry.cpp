#include "designer/dock_geometry.h"

#include <algorithm>

namespace {

// Position across the dock (top of a horizontal dock's child, left of a vertical one's).
int &Across(TDockItem &c, bool horizontal) { return horizontal ? c.Top : c.Left; }
int AcrossLength(const TDockItem &c, bool horizontal) { return horizontal ? c.Height : c.Width; }

int NearEdge(const TDockItem &c, TDockAlign align)
{
    switch (align) {
    case TDockAlign::Top: return c.Top;
    case TDockAlign::Bottom: return c.Top + c.Height;
    case TDockAlign::Left: return c.Left;
    case TDockAlign::Right: return c.Left + c.Width;
    }
    return 0;
}

void SetThickness(TDockGeometry &dock, int t)
{
    // A bottom or right dock keeps its outer edge.
    switch (dock.Align) {
    case TDockAlign::Top: dock.Height = t; break;
    case TDockAlign::Left: dock.Width = t; break;
    case TDockAlign::Bottom: dock.Top += dock.Height - t; dock.Height = t; break;
    case TDockAlign::Right: dock.Left += dock.Width - t; dock.Width = t; break;
    }
}

} // namespace

void ArrangeRows(TDockGeometry &dock)
{
    if (dock.Items.empty()) {
        SetThickness(dock, 1);
        return;
    }
    const bool horizontal = IsHorizontalDock(dock.Align);
    const bool nearIsStart = dock.Align == TDockAlign::Top || dock.Align == TDockAlign::Left;
    const int old = dock.Thickness();
    int rows = old / dock.RowSize;
    int t = rows * dock.RowSize + 1;

    int j = 0;
    while (j < rows) {
        const int line = nearIsStart ? j * dock.RowSize : old - j * dock.RowSize;
        bool occupied = false;
        for (const TDockItem &c : dock.Items) {
            if (!c.Visible)
                continue;
            const int start = horizontal ? c.Top : c.Left;
            const int end = start + AcrossLength(c, horizontal);
            if (NearEdge(c, dock.Align) == line || (start < line && end > line))
                occupied = true;
        }
        if (occupied) {
            ++j;
            continue;
        }
        for (TDockItem &c : dock.Items)
            if (c.Visible && NearEdge(c, dock.Align) > line)
                Across(c, horizontal) -= dock.RowSize;
        --rows;
        t -= dock.RowSize;
        if (!nearIsStart)
            ++j;
    }

    if (nearIsStart) {
        for (const TDockItem &c : dock.Items) {
            const int far = horizontal ? c.Top + c.Height : c.Left + c.Width;
            if (c.Visible && far > t) {
                t = far + 1;
                break;
            }
        }
    } else {
        for (const TDockItem &c : dock.Items) {
            const int start = horizontal ? c.Top : c.Left;
            if (c.Visible && start < 0) {
                const int shift = 1 - start;
                for (TDockItem &d : dock.Items)
                    if (d.Visible)
                        Across(d, horizontal) += shift;
                t += shift;
                break;
            }
        }
        for (const TDockItem &c : dock.Items)
            if (c.Visible)
                t = std::max(t, horizontal ? c.Top + c.Height : c.Left + c.Width);
    }
    SetThickness(dock, t);
}

TMoveResult TryMove(TDockGeometry &dock, int index, int x, int y, bool canFloat)
{
    const bool horizontal = IsHorizontalDock(dock.Align);
    TDockItem &bar = dock.Items.at(index);
    // Along the dock is "a", across it "b": the same rules serve both directions.
    int a = horizontal ? x : y;
    int b = horizontal ? y : x;
    const int len = horizontal ? bar.Width : bar.Height;
    const int thick = horizontal ? bar.Height : bar.Width;
    const int dockLen = horizontal ? dock.Width : dock.Height;
    bool floating = false;
    int passes = 0;
    int changes = 0;
    do {
        changes = 0;
        ++passes;
        if (a < -20)
            floating = true;
        if (a < 0) {
            a = 0;
            ++changes;
        }
        if (a + len > dockLen) {
            a = dockLen - len;
            ++changes;
        }
        if (floating)
            break;
        for (int i = 0; i < int(dock.Items.size()); ++i) {
            const TDockItem &c = dock.Items[i];
            if (i == index || !c.Visible)
                continue;
            const int cb = horizontal ? c.Top : c.Left;
            const int cbEnd = cb + (horizontal ? c.Height : c.Width);
            if (!((cb <= b && b < cbEnd) || (b <= cb && cb < b + thick)))
                continue;
            const int ca = horizontal ? c.Left : c.Top;
            const int caEnd = ca + (horizontal ? c.Width : c.Height);
            if (ca <= a && a < caEnd) {
                a = caEnd;
                ++changes;
            }
            if (a < ca && ca < a + len) {
                a = ca - len;
                ++changes;
            }
        }
    } while (changes > 0 && !floating && passes < 4);

    if (!canFloat)
        floating = false;
    if (floating)
        return TMoveResult::TearOff;
    if (passes >= 3)
        return TMoveResult::Refused;

    const int across = horizontal ? dock.Height : dock.Width;
    const bool past = b + thick > across || b < 0;
    const int before = dock.Thickness();
    (horizontal ? bar.Left : bar.Top) = a;
    (horizontal ? bar.Top : bar.Left) = b;
    ArrangeRows(dock);
    if (past && canFloat && dock.Thickness() == before)
        return TMoveResult::TearOff;
    return TMoveResult::Moved;
}

std::optional<TDockTarget> DockUnderPoint(const std::vector<TDockGeometry> &docks, int px, int py, int toolWidth,
                                          int toolHeight, TfrOrientation orientation)
{
    for (int i = 0; i < int(docks.size()); ++i) {
        const TDockGeometry &d = docks[i];
        if (px < d.Left || px > d.Left + d.Width || py < d.Top || py > d.Top + d.Height)
            continue;
        const bool horizontal = IsHorizontalDock(d.Align);
        if ((orientation == TfrOrientation::toHorzOnly && !horizontal)
            || (orientation == TfrOrientation::toVertOnly && horizontal))
            return std::nullopt;
        TDockTarget t;
        t.Dock = i;
        if (!horizontal) {
            t.X = d.Align == TDockAlign::Right ? 1 - toolHeight : d.Width - 1;
            t.Y = std::max(0, std::min(py - d.Top, d.Height - toolHeight));
        } else {
            t.X = std::max(0, std::min(px - d.Left, d.Width - toolWidth));
            t.Y = d.Align == TDockAlign::Bottom ? 1 - toolHeight : d.Height - 1;
        }
        return t;
    }
    return std::nullopt;
}

TDockItem EdgePlacement(const TDockGeometry &dock, int toolWidth, int toolHeight)
{
    TDockItem p{0, 0, toolWidth, toolHeight, true};
    switch (dock.Align) {
    case TDockAlign::Top: p.Top = dock.Height - 1; break;
    case TDockAlign::Bottom: p.Top = 1 - toolHeight; break;
    case TDockAlign::Left: p.Left = dock.Width - 1; break;
    case TDockAlign::Right: p.Left = 1 - toolWidth; break;
    }
    return p;
}

void MatchOrientation(TToolBarShape &bar, bool horizontal)
{
    if (horizontal && bar.Width < bar.Height)
        std::swap(bar.Width, bar.Height);
    if (!horizontal && bar.Height < bar.Width)
        std::swap(bar.Width, bar.Height);
    bar.Horizontal = horizontal;
}

void FitLength(TToolBarShape &bar)
{
    int sum = 4;
    for (int l : bar.Lengths)
        sum += l;
    (bar.Horizontal ? bar.Width : bar.Height) = sum;
}

std::vector<TDockItem> ChildRects(const TToolBarShape &bar)
{
    // The client area lies 1 pixel inside the toolbar's edge.
    std::vector<TDockItem> rects;
    int pos = 1;
    const int across = (bar.Horizontal ? bar.Height : bar.Width) - 2;
    for (int l : bar.Lengths) {
        if (bar.Horizontal)
            rects.push_back({pos, 1, l, across, true});
        else
            rects.push_back({1, pos, across, l, true});
        pos += l;
    }
    return rects;
}
