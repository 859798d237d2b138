#include "designer/design_rules.h"

#include "designer/design_state.h"
#include "designer/designer_core.h"
#include "report/report_page.h"

#include <cmath>
#include <cstdlib>
#include <tuple>

TPoint SnapToGrid(int x, int y, const TGrid &grid)
{
    if (grid.Align && grid.Size > 0) {
        x = grid.Size * (x / grid.Size);
        y = grid.Size * (y / grid.Size);
    }
    return {x, y};
}

TPoint RoundToGrid(int x, int y, const TGrid &grid)
{
    if (grid.Size <= 0)
        return {x, y};
    const double g = grid.Size;
    return {int(std::nearbyint(x / g)) * grid.Size, int(std::nearbyint(y / g)) * grid.Size};
}

bool GridStep(int &dx, int &dy, const TGrid &grid)
{
    if (!grid.Align || grid.Size <= 0)
        return true;
    if (std::abs(dx) < grid.Size && std::abs(dy) < grid.Size)
        return false;
    dx -= dx % grid.Size;
    dy -= dy % grid.Size;
    return true;
}

bool SnapToCorner(const TfrPage &page, int &x, int &y, int gridSize)
{
    double best = gridSize;
    bool found = false;
    TPoint corner;
    for (const auto &v : page.TemplateObjects) {
        const TPoint corners[] = {{v->Left, v->Top},
                                  {v->Left + v->Width, v->Top},
                                  {v->Left + v->Width, v->Top + v->Height},
                                  {v->Left, v->Top + v->Height}};
        for (const TPoint &c : corners) {
            const double d = std::hypot(double(c.X - x), double(c.Y - y));
            if (d < best) {
                best = d;
                corner = c;
                found = true;
            }
        }
    }
    if (found) {
        x = corner.X;
        y = corner.Y;
    }
    return found;
}

bool AtHandle(int hx, int hy, int px, int py, int e)
{
    return hx - e <= px && px <= hx + e + 1 && hy - e <= py && py <= hy + e + 1;
}

TSurfaceCursor HandleCursor(const TfrView &v, int x, int y)
{
    const int e = 2;
    const int l = v.Left, t = v.Top, r = v.Left + v.Width, b = v.Top + v.Height;
    const int mx = v.Left + v.Width / 2, my = v.Top + v.Height / 2;
    if (AtHandle(l, t, x, y, e) || AtHandle(r, b, x, y, e))
        return TSurfaceCursor::SizeNWSE;
    if (AtHandle(r, t, x, y, e) || AtHandle(l, b, x, y, e))
        return TSurfaceCursor::SizeNESW;
    if (AtHandle(mx, t, x, y, e) || AtHandle(mx, b, x, y, e))
        return TSurfaceCursor::SizeNS;
    if (AtHandle(l, my, x, y, e) || AtHandle(r, my, x, y, e))
        return TSurfaceCursor::SizeWE;
    return TSurfaceCursor::Default;
}

int DecideResizeCorner(TSurfaceCursor cursor, int c, const TfrView &v, int px, int py)
{
    const int e = 3;
    switch (cursor) {
    case TSurfaceCursor::SizeNWSE:
        return c == 2 || (c != 1 && !AtHandle(v.Left, v.Top, px, py, e)) ? 2 : 1;
    case TSurfaceCursor::SizeNESW:
        return c == 4 || (c != 3 && !AtHandle(v.Left + v.Width, v.Top, px, py, e)) ? 4 : 3;
    case TSurfaceCursor::SizeWE:
        return c == 6 || (c != 5 && !AtHandle(v.Left, v.Top + v.Height / 2, px, py, e)) ? 6 : 5;
    case TSurfaceCursor::SizeNS:
        return c == 8 || (c != 7 && !AtHandle(v.Left + v.Width / 2, v.Top, px, py, e)) ? 8 : 7;
    default:
        return c;
    }
}

void ResizeByCorner(TfrView &v, int corner, int dx, int dy)
{
    switch (corner) {
    case 1: v.Left += dx; v.Width -= dx; v.Top += dy; v.Height -= dy; break;
    case 2: v.Width += dx; v.Height += dy; break;
    case 3: v.Top += dy; v.Width += dx; v.Height -= dy; break;
    case 4: v.Left += dx; v.Width -= dx; v.Height += dy; break;
    case 5: v.Left += dx; v.Width -= dx; break;
    case 6: v.Width += dx; break;
    case 7: v.Top += dy; v.Height -= dy; break;
    case 8: v.Height += dy; break;
    default: break;
    }
}

void NormalizeObject(TfrView &v)
{
    if (v.Width < 0) {
        v.Width = -v.Width;
        v.Left -= v.Width;
    }
    if (v.Height < 0) {
        v.Height = -v.Height;
        v.Top -= v.Height;
    }
}

void ResizeInProportion(TfrPage &page, const TRect &rubber, const TRect &saved, TPoint leftTop)
{
    // A selection with no width (or height) keeps its scale along that axis
    // rather than dividing by zero.
    const double kx = saved.Width() != 0 ? double(rubber.Width()) / saved.Width() : 1.0;
    const double ky = saved.Height() != 0 ? double(rubber.Height()) / saved.Height() : 1.0;
    const auto scale = [](int origin, int pos, int size, double k, std::int32_t &outPos, std::int32_t &outSize) {
        const double a = (pos - origin) * k;
        const double b = size * k;
        const double ra = std::nearbyint(a);
        outPos = int(ra) + origin;
        outSize = int(std::nearbyint(a + b) - ra);
    };
    for (auto &v : page.TemplateObjects) {
        if (!v->Selected)
            continue;
        const auto &s = v->SavedRect;
        scale(leftTop.X, s[0], s[2], kx, v->Left, v->Width);
        scale(leftTop.Y, s[1], s[3], ky, v->Top, v->Height);
    }
}

bool FindSharedEdge(const TfrPage &page, int x, int y, TSplitInfo &split)
{
    bool found = false;
    for (const auto &p : page.TemplateObjects) {
        if (!p->Selected || p->ReportObjectType == gtBand)
            continue;
        const int pl = p->Left, pr = p->Left + p->Width, pt = p->Top, pb = p->Top + p->Height;
        if (x < pl || x > pr || y < pt || y > pb)
            continue;
        for (const auto &q : page.TemplateObjects) {
            if (q == p || !q->Selected || q->ReportObjectType == gtBand)
                continue;
            if (q->Left + q->Width == pl && pl <= x && x <= pl + 2) {
                split = {{pl, pt, pl, pb}, pl, q.get(), p.get()};
                found = true;
            } else if (q->Left == pr && pr - 2 <= x && x <= pr) {
                split = {{pr, pt, pr, pb}, pr, p.get(), q.get()};
                found = true;
            }
        }
    }
    return found;
}

bool MoveSharedEdge(TSplitInfo &split, int d)
{
    if (!split.LeftObject || !split.RightObject)
        return false;
    if (split.LeftObject->Width + d <= 0 || split.RightObject->Width - d <= 0)
        return false;
    split.LeftObject->Width += d;
    split.RightObject->Left += d;
    split.RightObject->Width -= d;
    return true;
}

TRect NormalizeRect(const TRect &r)
{
    return {std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
            std::max(r.Top, r.Bottom)};
}

TBox LineFromRubber(const TRect &r)
{
    TBox b{r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top};
    if (b.Width < 0) {
        b.Width = -b.Width;
        if (std::abs(b.Height) < b.Width)
            b.Left = r.Right;
    }
    if (b.Height < 0) {
        b.Height = -b.Height;
        if (std::abs(b.Width) < b.Height)
            b.Top = r.Bottom;
    }
    return b;
}

TRect RubberLineEnd(const TRect &r)
{
    if (std::abs(r.Bottom - r.Top) >= std::abs(r.Right - r.Left))
        return {r.Left, r.Top, r.Left, r.Bottom};
    return {r.Left, r.Top, r.Right, r.Top};
}

TRect InsertionPreview(int x, int y, bool bandTool, int pageWidth, const TGrid &grid, int fontSize)
{
    const TPoint p = SnapToGrid(x, y, grid);
    int w = 0, h = 0;
    if (bandTool) {
        w = pageWidth;
        h = 40;
    } else {
        std::tie(w, h) = DefaultMemoSize(grid.Size, fontSize);
    }
    return {p.X, p.Y, p.X + w, p.Y + h};
}

TBox InsertionBox(const TRect &rubber, const TRect &preview, bool textObject, const TGrid &grid, int fontSize)
{
    TRect r = rubber.Left == rubber.Right && rubber.Top == rubber.Bottom ? preview : rubber;
    r = NormalizeRect(r);
    if (grid.Align && grid.Size > 0) {
        const auto cut = [&grid](int v) { return grid.Size * (v / grid.Size); };
        r = {cut(r.Left), cut(r.Top), cut(r.Right), cut(r.Bottom)};
    }
    TBox b{r.Left, r.Top, r.Width(), r.Height()};
    if (b.Width == 0 || b.Height == 0) {
        if (textObject)
            std::tie(b.Width, b.Height) = DefaultMemoSize(grid.Size, fontSize);
        else
            b.Width = b.Height = 40;
    }
    return b;
}

void PlaceView(TfrView &v, const TBox &box)
{
    v.Left = box.Left;
    v.Top = box.Top;
    v.Width = box.Width;
    v.Height = box.Height;
}

void ApplyNewObjectDefaults(TfrView &v)
{
    v.FrameWidth = LastFrameWidth;
    v.FrameColor = LastFrameColor;
    v.FillColor = LastFillColor;
    if (v.ReportObjectType != gtBand)
        v.FrameTyp = LastFrameTyp;
    if (auto *memo = dynamic_cast<TfrMemoView *>(&v)) {
        memo->FontName = LastFontName.left(32);
        memo->FontSize = LastFontSize;
        memo->FontColor = LastFontColor;
        memo->FontStyle = LastFontStyle;
        memo->Adjust = LastAdjust;
    }
}

int RubberSelect(TfrPage &page, const TRect &rubber)
{
    const TRect r = NormalizeRect(rubber);
    int added = 0;
    for (auto &v : page.TemplateObjects) {
        if (v->Selected)
            continue;
        if (v->Left <= r.Right && v->Left + v->Width >= r.Left && v->Top <= r.Bottom && v->Top + v->Height >= r.Top) {
            v->Selected = true;
            ++added;
        }
    }
    SelectedCount += added;
    return added;
}

int SelectBandContents(TfrPage &page)
{
    const int i = TopSelectedIndex(page);
    if (i < 0 || !page.TemplateObjects[i]->Selected)
        return 0;
    const TfrView &band = *page.TemplateObjects[i];
    int added = 0;
    for (auto &v : page.TemplateObjects) {
        if (v->Selected || v->ReportObjectType == gtBand)
            continue;
        if (v->Left >= band.Left && v->Left + v->Width <= band.Left + band.Width && v->Top >= band.Top
            && v->Top + v->Height <= band.Top + band.Height) {
            v->Selected = true;
            ++added;
        }
    }
    SelectedCount += added;
    return added;
}

void ComputeSelectionBounds(TfrPage &page, int &rightBottom, TPoint &leftTop)
{
    rightBottom = -1;
    leftTop = {10000, 10000};
    SelectionRectValid = false;
    if (SelectedCount < 2)
        return;
    const auto &objects = page.TemplateObjects;
    for (int i = 0; i < int(objects.size()); ++i) {
        TfrView &v = *objects[i];
        if (!v.Selected)
            continue;
        v.SavedRect = {v.Left, v.Top, v.Width, v.Height};
        if (rightBottom < 0) {
            rightBottom = i;
        } else {
            const TfrView &best = *objects[rightBottom];
            const int r = v.Left + v.Width, br = best.Left + best.Width;
            if (r > br || (r == br && v.Top + v.Height > best.Top + best.Height))
                rightBottom = i;
        }
        leftTop.X = std::min(leftTop.X, int(v.Left));
        leftTop.Y = std::min(leftTop.Y, int(v.Top));
    }
    if (rightBottom < 0)
        return;
    const TfrView &rb = *objects[rightBottom];
    RubberRect = SavedRect = {leftTop.X, leftTop.Y, rb.Left + rb.Width, rb.Top + rb.Height};
    SelectionRectValid = true;
}
