#include "scheme/scheme_render.h"

#include "model/helpers.h"
#include "platform/exceptions.h"
#include "platform/numbers.h"
#include "scheme/canvas_helpers.h"
#include "scheme/scheme_print.h"

#include <cmath>
#include <cstdlib>

namespace {

// Places in the scheme colour table that the drawing reads.
enum : int {
    scBackground = 0, scBranch = 1, scNode = 2, scGrid = 3, scMainFan = 8, scLocalFan = 9, scDoor = 12,
    scNodeLabels = 13, scBranchLabels = 14, scFireWaterPipe = 15, scConveyor = 16, scElectricCables = 17,
    scCompressedAir = 18, scDegassingPipe = 19,
};

constexpr TColor clWindow = static_cast<TColor>(0x80000005);

// Branch kinds the drawing treats apart.
enum : int {
    bkInternalLeak = 1, bkMainFan = 2, bkLeakDoor = 3, bkChamber = 4, bkLongwall = 7, bkLocalFan = 8,
    bkExternalLeak = 14, bkExternalLeakDoor = 16, bkLeakBetweenSections = 20, bkVentDuct = 21,
};

bool IsLeakKind(int kind)
{
    return kind == bkInternalLeak || kind == bkExternalLeak || kind == bkLeakBetweenSections || kind == bkVentDuct;
}

int RoundInt(double v) { return static_cast<int>(Round(v)); }

const TTurnList *Turns(const TNetworkTables &t, int n)
{
    const auto &turns = t.BranchTurns[n];
    return turns ? &*turns : nullptr;
}

[[noreturn]] void TurnsIntegrityFails()
{
    throw Exception(QStringLiteral("Internal Error.\rBranch turns integrity fails, TurnsCount <= 1\r"
                                   "Please report this error to the program's maintainers."));
}

// Clears the guard however the drawing ends, so that a failed pass does not
// leave every later paint blank.
class TGuardHold
{
public:
    explicit TGuardHold(TPaintGuard &guard) : m_guard(guard) { m_guard.Active = true; }
    ~TGuardHold() { m_guard.Active = false; }
    TGuardHold(const TGuardHold &) = delete;
    TGuardHold &operator=(const TGuardHold &) = delete;

private:
    TPaintGuard &m_guard;
};

QString Percent(double base, double value) { return FormatFixed(PercentDifference(base, value), 1) + u'%'; }

} // namespace

TRect BranchFirstSegment(const TNetworkTables &t, int n)
{
    if (!BranchExist(t, n))
        return {0, 0, 200, 200};
    const TTurnList *turns = Turns(t, n);
    if (!turns || turns->size() <= 1)
        TurnsIntegrityFails();
    return {(*turns)[0].X, (*turns)[0].Y, (*turns)[1].X, (*turns)[1].Y};
}

TRect BranchLastSegment(const TNetworkTables &t, int n)
{
    if (!BranchExist(t, n))
        return {0, 0, 200, 200};
    const TTurnList *turns = Turns(t, n);
    if (!turns || turns->size() <= 1)
        TurnsIntegrityFails();
    const std::size_t last = turns->size() - 1;
    return {(*turns)[last - 1].X, (*turns)[last - 1].Y, (*turns)[last].X, (*turns)[last].Y};
}

std::vector<QString> BranchLabelLines(const TNetworkTables &t, int n, const TViewChecks &checks)
{
    const unsigned flags = static_cast<std::uint16_t>(t.BranchLabelFlags[n]);
    std::vector<QString> lines;
    if ((flags & ~unsigned(lfName)) == 0)
        return lines;
    const auto baseline = [&](const char *name, double base, double value) {
        lines.push_back(QString::fromUtf8(name) + QStringLiteral("\"=") + FormatFixed(base, name[0] == 'R' ? 5 : 2)
                        + QStringLiteral(" (") + Percent(base, value) + u')');
    };
    if (flags & lfNumber)
        lines.push_back(QString::number(n));
    if (flags & lfR) {
        lines.push_back(QStringLiteral("R=") + FormatBranchR(t, n));
        if (checks.FixQHR)
            baseline("R", t.BranchRBaseline[n], t.BranchR[n]);
    }
    if (flags & lfDepression) {
        lines.push_back(QStringLiteral("h=") + FormatBranchDepression(t, n));
        if (checks.FixQHR)
            baseline("h", t.BranchHBaseline[n], BranchDepression(t, n));
    }
    if (flags & lfAuxDepression)
        lines.push_back(QStringLiteral("dh=") + FormatBranchAuxDepression(t, n));
    if (flags & lfQ) {
        // With the arrows shown the direction is on the scheme, so the sign goes.
        lines.push_back(QStringLiteral("Q=")
                        + (checks.Arrows ? FormatFixedPD(std::fabs(t.BranchQ[n]), 7, 2) : FormatBranchQ(t, n)));
        if (checks.FixQHR)
            baseline("Q", t.BranchQBaseline[n], t.BranchQ[n]);
    }
    if (flags & lfAngle)
        lines.push_back(QStringLiteral("Угол=") + FormatBranchAngle(t, n));
    if (flags & lfPeople)
        lines.push_back(QStringLiteral("Люди=%1").arg(t.BranchPeople[n]));
    if (flags & lfHeight)
        lines.push_back(QStringLiteral("Выс.=") + FormatBranchHeight(t, n));
    if (flags & lfAlpha)
        lines.push_back(QStringLiteral("Alpha=") + FormatWD(t.BranchAlpha[n], 2, 4));
    if (flags & lfArea)
        lines.push_back(QStringLiteral("S=") + FormatBranchArea(t, n));
    if (flags & lfLength)
        lines.push_back(QStringLiteral("L=") + FormatBranchLength(t, n));
    if (flags & lfStartTemp)
        lines.push_back(QStringLiteral("TN=") + FormatBranchStartTemp(t, n));
    if (flags & lfEndTemp)
        lines.push_back(QStringLiteral("TK=") + FormatBranchEndTemp(t, n));
    if (flags & lfPLAPosition)
        lines.push_back(QStringLiteral("ПЛА=%1").arg(t.BranchPLAPosition[n]));
    return lines;
}

std::vector<QString> NodeLabelLines(const TNetworkTables &t, int n, double pressure, const TViewChecks &checks)
{
    std::vector<QString> lines;
    if (checks.NodeNumbers)
        lines.push_back(QString::number(n));
    if (checks.NodeAltitudes)
        lines.push_back(QStringLiteral("H: ") + FloatToStr(t.NodeAltitude[n]));
    if (checks.NodePressures)
        lines.push_back(QStringLiteral("P: ") + FormatFixedPD(pressure, 7, 2));
    return lines;
}

TSchemeRenderer::TSchemeRenderer(const TNetworkTables &t, const TBranchColors &colors, const TViewport &view,
                                 const TSchemeDrawSettings &settings, const TSchemeOverlays &overlays)
    : m_t(t), m_colors(colors), m_view(view), m_settings(settings), m_overlays(overlays)
{
}

void TSchemeRenderer::Redraw(TCanvas &canvas, int width, int height, TSize screen, TPaintGuard &guard)
{
    canvas.Pen = TPen{};
    canvas.Brush = TBrush{};
    canvas.Brush.Color = m_settings.ShowSheet ? clGray : SchemeColor(scBackground);
    canvas.Rectangle(0, 0, width, height);
    if (m_settings.ShowSheet && m_settings.Switches.Sheet) {
        canvas.Brush.Color = SchemeColor(scBackground);
        TRect r{SX(0), SY(0), SX(m_settings.SheetWidth), SY(m_settings.SheetHeight)};
        r.Left = std::max(r.Left, 0);
        r.Top = std::max(r.Top, 0);
        r.Right = std::min(r.Right, screen.cx);
        r.Bottom = std::min(r.Bottom, screen.cy);
        canvas.Rectangle(r);
        DrawSunkenFrame(canvas, InflateRectBy(-1, -1, r));
    }
    PaintScheme(canvas, guard);
}

int TPixelSizes::operator()(double screenPixels) const { return RoundInt(screenPixels * Scale); }

double PixelScale(const TCanvas &canvas, const TSchemeDrawSettings &settings)
{
    if (settings.DrawTarget != dtPrinter || canvas.PixelsPerInchX() <= 0)
        return 1;
    return static_cast<double>(canvas.PixelsPerInchX()) / ScreenPixelsPerInch;
}

TPixelSizes PixelSizesFor(const TCanvas &canvas, const TViewport &view, const TSchemeDrawSettings &settings)
{
    TPixelSizes sizes;
    sizes.Scale = PixelScale(canvas, settings);
    // At the screen's own resolution the page's step is the screen's already.
    sizes.Step = sizes.Scale == 1 ? view.ZoomStep : NearestZoomIndex(view.Zoom / sizes.Scale);
    return sizes;
}

void SetSchemeDefaultFont(TCanvas &canvas, const TSchemeDrawSettings &settings, int zoomStep)
{
    canvas.Font.Name = settings.FontName;
    canvas.Font.Charset = settings.Charset;
    canvas.Font.Size = LabelFontSizes[static_cast<std::size_t>(zoomStep)];
    canvas.Font.Height = 0;
    canvas.Font.Style = 0;
}

void TSchemeRenderer::SetDefaultFont(TCanvas &canvas) const
{
    SetSchemeDefaultFont(canvas, m_settings, m_view.ZoomStep);
}

bool TSchemeRenderer::PaintScheme(TCanvas &canvas, TPaintGuard &guard)
{
    if (guard.Active)
        return false;
    const TGuardHold hold(guard);
    const TDrawSwitches &on = m_settings.Switches;
    const TViewChecks &checks = m_settings.Checks;

    SetDefaultFont(canvas);
    if (on.Text && checks.Texts && m_overlays.DrawTexts)
        m_overlays.DrawTexts(canvas, m_view, m_settings);
    SetDefaultFont(canvas);
    if (on.Branch)
        for (int n = 1; n <= MaxItems; ++n)
            if (BranchExist(m_t, n))
                DrawBranch(canvas, n);
    canvas.Brush = TBrush{};
    canvas.Brush.Color = SchemeColor(scNode);
    canvas.Pen = TPen{};
    SetDefaultFont(canvas);
    if (on.Node && checks.NodeShow) {
        const TPixelSizes px = PixelSizesFor(canvas, m_view, m_settings);
        const int radius = px(NodeRadii[static_cast<std::size_t>(px.Step)]);
        for (int n = 1; n <= MaxItems; ++n)
            if (m_t.NodeNo[n] == n && IsPlacedNode(m_t, n))
                DrawNode(canvas, n, radius);
    }
    SetDefaultFont(canvas);
    if (on.Grid)
        DrawGrid(canvas);
    SetDefaultFont(canvas);
    if (on.Fans)
        DrawMainFans(canvas);
    SetDefaultFont(canvas);
    if (on.Vmps)
        DrawLocalFans(canvas);
    SetDefaultFont(canvas);
    if (on.Door)
        DrawDoors(canvas);
    SetDefaultFont(canvas);
    if (on.Arrow)
        DrawFlowArrows(canvas);
    SetDefaultFont(canvas);
    if (on.NBall)
        DrawNodeLabelsPass(canvas);
    SetDefaultFont(canvas);
    if (on.BBall)
        DrawBranchLabelsPass(canvas);
    SetDefaultFont(canvas);
    if (on.Pla && checks.PLA && m_overlays.DrawBalloons)
        m_overlays.DrawBalloons(canvas, m_view, m_settings);
    SetDefaultFont(canvas);
    if (on.Phones && checks.Phones && m_overlays.DrawPhones)
        m_overlays.DrawPhones(canvas, m_view, m_settings);
    return true;
}

void TSchemeRenderer::DrawBranch(TCanvas &canvas, int n)
{
    if (!BranchExist(m_t, n))
        return;
    CurrentBranch = n;
    const bool thick = m_settings.Checks.ThickBranches;
    const TTurnList *turns = Turns(m_t, n);
    if (!turns)
        return;
    const int kind = m_t.BranchType[n];
    const bool reversal = m_settings.Checks.ReversalZone && (m_t.BranchFlags[n] & bfReversalZone);
    const TPixelSizes px = PixelSizesFor(canvas, m_view, m_settings);
    const int bandWidth = px(ThickBranchWidths[static_cast<std::size_t>(px.Step)]);
    TColor color = clNone;
    for (std::size_t k = 1; k < turns->size(); ++k) {
        const TTurn &a = (*turns)[k - 1];
        const TTurn &b = (*turns)[k];
        if (IsLeakKind(kind)) {
            // Leakages stay thin white broken lines whatever the mode.
            color = reversal ? clRed : clWhite;
            canvas.Pen.Style = kind == bkLeakBetweenSections ? TPenStyle::psDash : TPenStyle::psDot;
            canvas.Brush.Style = TBrushStyle::bsSolid;
            canvas.Brush.Color = SchemeColor(scBackground);
            DrawBranchSegment(canvas, n, false, 1, a.X, a.Y, b.X, b.Y, color);
        } else {
            color = reversal ? clRed : m_colors[static_cast<std::size_t>(n)];
            canvas.Pen.Style = TPenStyle::psSolid;
            DrawBranchSegment(canvas, n, thick, bandWidth, a.X, a.Y, b.X, b.Y, color);
        }
    }
    if (m_settings.Switches.BSymb && m_settings.Checks.Symbols && m_overlays.DrawBranchSymbols && turns->size() > 1)
        m_overlays.DrawBranchSymbols(canvas, m_view, m_settings, n, thick, color);
    if (m_settings.Checks.MoveTool && turns->size() > 2) {
        canvas.Pen.Style = TPenStyle::psSolid;
        canvas.Pen.Color = SchemeColor(scNode);
        canvas.Pen.Width = 1;
        for (std::size_t k = 1; k + 1 < turns->size(); ++k) {
            const TTurn &p = (*turns)[k];
            canvas.Ellipse(SX(p.X - 1.0), SY(p.Y - 1.0), SX(p.X + 1.0), SY(p.Y + 1.0));
        }
    }
}

void TSchemeRenderer::DrawBranchSegment(TCanvas &canvas, int n, bool thick, int width, int x1, int y1, int x2,
                                        int y2, TColor color)
{
    const int flags = m_t.BranchFlags[n];
    double ux = 0, uy = 0;
    if (thick || flags != 0) {
        // In doubles: a scheme file's extreme coordinates overflow an int difference.
        const double dx = static_cast<double>(x2) - x1;
        const double dy = static_cast<double>(y2) - y1;
        const double length = std::sqrt(dx * dx + dy * dy);
        if (length == 0)
            return;
        ux = dx / length;
        uy = dy / length;
    }
    const int sx1 = SX(x1), sy1 = SY(y1), sx2 = SX(x2), sy2 = SY(y2);
    if (!thick) {
        canvas.Pen.Color = color;
        canvas.Pen.Width = 1;
        canvas.MoveTo(sx1, sy1);
        canvas.LineTo(sx2, sy2);
    } else {
        // Two black edges outside a band of the branch's colour. A longwall's
        // dashed edge stays one pixel: only thin pens keep their dashes.
        const TPixelSizes px = PixelSizesFor(canvas, m_view, m_settings);
        const bool longwall = m_t.BranchType[n] == bkLongwall;
        canvas.Pen.Width = px(2);
        canvas.Pen.Color = clBlack;
        if (longwall) {
            canvas.Pen.Width = 1;
            canvas.Pen.Style = TPenStyle::psDash;
            canvas.Brush.Color = clWhite;
        }
        const int ox = RoundInt(width * 1.15 * uy / 2);
        const int oy = RoundInt(width * 1.15 * ux / 2);
        canvas.MoveTo(Shifted(sx1, -ox), Shifted(sy1, oy));
        canvas.LineTo(Shifted(sx2, -ox), Shifted(sy2, oy));
        if (longwall) {
            canvas.Pen.Style = TPenStyle::psSolid;
            canvas.Pen.Width = px(1);
            canvas.Brush.Color = clGray;
        }
        canvas.MoveTo(Shifted(sx1, ox), Shifted(sy1, -oy));
        canvas.LineTo(Shifted(sx2, ox), Shifted(sy2, -oy));
        canvas.Pen.Width = width;
        canvas.Pen.Color = color;
        canvas.MoveTo(sx1, sy1);
        canvas.LineTo(sx2, sy2);
    }
    canvas.Pen.Width = 1;
    const TViewChecks &checks = m_settings.Checks;
    const struct
    {
        bool Shown;
        int Bit;
        double Offset;  // scheme units, so the lines spread apart as the zoom grows
        int Color;
    } symbols[] = {
        {checks.FireWaterPipe, bfFireWaterPipe, 1.2, scFireWaterPipe},
        {checks.Conveyor, bfConveyor, 1.4, scConveyor},
        {checks.ElectricCables, bfElectricCables, 1.6, scElectricCables},
        {checks.CompressedAirPipe, bfCompressedAirPipe, 1.8, scCompressedAir},
        {checks.DegassingPipe, bfDegassingPipe, 2.0, scDegassingPipe},
    };
    for (const auto &s : symbols) {
        if (!s.Shown || !(flags & s.Bit))
            continue;
        canvas.Pen.Color = SchemeColor(s.Color);
        canvas.MoveTo(SX(x1 + s.Offset * uy), SY(y1 - s.Offset * ux));
        canvas.LineTo(SX(x2 + s.Offset * uy), SY(y2 - s.Offset * ux));
    }
}

void TSchemeRenderer::DrawNode(TCanvas &canvas, int n, int radius)
{
    const int x = m_t.NodeX[n];
    const int y = m_t.NodeY[n];
    if (m_t.NodeIsSurface[n]) {
        // The surface: a solid line with a dotted one under it.
        const TPixelSizes px = PixelSizesFor(canvas, m_view, m_settings);
        const int left = Shifted(SX(x - 4.0), -px(3));
        const int right = Shifted(SX(x + 4.0), px(3));
        canvas.MoveTo(left, Shifted(SY(y), -px(1)));
        canvas.LineTo(right, Shifted(SY(y), -px(1)));
        const TBrush brush = SaveBrush(canvas);
        canvas.Pen.Style = TPenStyle::psDot;
        canvas.Brush.Color = SchemeColor(scBackground);
        canvas.MoveTo(left, SY(y));
        canvas.LineTo(right, SY(y));
        canvas.Pen.Style = TPenStyle::psSolid;
        RestoreBrush(canvas, brush);
    }
    canvas.Ellipse(Shifted(SX(x), -radius), Shifted(SY(y), -radius), Shifted(SX(x), radius), Shifted(SY(y), radius));
}

void TSchemeRenderer::DrawGrid(TCanvas &canvas)
{
    // The grid belongs to the screen only: a printed page never shows it.
    if (!m_settings.GridIsOn || m_settings.DrawTarget != dtScreen)
        return;
    const int step = m_settings.GridStep;
    if (step <= 0 || m_view.Zoom <= 0)
        return;
    const TRect clip = canvas.ClipRect();
    const int width = clip.Width();
    const int height = clip.Height();
    const int nx = static_cast<int>(std::trunc(width / (step * m_view.Zoom))) + 1;
    const int ny = static_cast<int>(std::trunc(height / (step * m_view.Zoom))) + 1;
    // Cells smaller than about 3 pixels would only grey the scheme.
    if (width / 3 < nx || height / 3 < ny)
        return;
    const int x0 = (RoundInt(m_view.ScrollX / m_view.Zoom) / step) * step;
    const int y0 = (RoundInt(m_view.ScrollY / m_view.Zoom) / step) * step;
    const TColor color = SchemeColor(scGrid);
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i)
            canvas.SetPixel(SX(x0 + i * step), SY(y0 + j * step), color);
}

void TSchemeRenderer::DrawMainFanSymbol(TCanvas &canvas, int x, int y)
{
    const int a = RoundInt(4 * m_view.Zoom);
    const int b = RoundInt(2 * m_view.Zoom);
    canvas.Polygon({{x, Shifted(y, -a)}, {Shifted(x, 2 * std::int64_t{a}), Shifted(y, -a)}, {Shifted(x, a), y}});
    canvas.Ellipse(Shifted(x, -a), Shifted(y, -a), Shifted(x, a), Shifted(y, a));
    canvas.Ellipse(Shifted(x, -b), Shifted(y, -b), Shifted(x, b), Shifted(y, b));
}

void TSchemeRenderer::DrawLocalFanSymbol(TCanvas &canvas, int x, int y)
{
    const TPixelSizes px = PixelSizesFor(canvas, m_view, m_settings);
    const int d = px(2 * NodeRadii[static_cast<std::size_t>(px.Step)]);
    canvas.Ellipse(Shifted(x, -d), Shifted(y, -d), Shifted(x, d), Shifted(y, d));
    canvas.MoveTo(Shifted(x, -d), y);
    canvas.LineTo(Shifted(x, d), y);
    canvas.MoveTo(x, Shifted(y, -d));
    canvas.LineTo(x, Shifted(y, d));
}

void TSchemeRenderer::DrawMainFans(TCanvas &canvas)
{
    const TCanvasToolsKeeper keep(canvas);
    canvas.Pen.Color = clBlack;
    canvas.Pen.Width = 1;
    canvas.Brush.Color = SchemeColor(scMainFan);
    for (int n = 1; n <= MaxItems; ++n) {
        if (!BranchExist(m_t, n) || m_t.BranchType[n] != bkMainFan)
            continue;
        const int end = m_t.BranchEndNode[n];
        DrawMainFanSymbol(canvas, SX(m_t.NodeX[end]), SY(m_t.NodeY[end]));
    }
}

void TSchemeRenderer::DrawLocalFans(TCanvas &canvas)
{
    const TCanvasToolsKeeper keep(canvas);
    canvas.Pen.Color = clBlack;
    canvas.Pen.Width = 1;
    canvas.Brush.Color = SchemeColor(scLocalFan);
    for (int n = 1; n <= MaxItems; ++n) {
        if (!BranchExist(m_t, n) || m_t.BranchType[n] != bkLocalFan)
            continue;
        const TRect s = BranchFirstSegment(m_t, n);
        DrawLocalFanSymbol(canvas, SX(s.Left + 0.1 * (s.Right - s.Left)), SY(s.Top + 0.1 * (s.Bottom - s.Top)));
    }
}

void TSchemeRenderer::DrawDoorMark(TCanvas &canvas, const TRect &s)
{
    const double dx = s.Right - s.Left;
    const double dy = s.Bottom - s.Top;
    const double length = std::sqrt(dx * dx + dy * dy);
    if (length == 0)
        return;
    const double mx = (s.Left + s.Right) / 2.0;
    const double my = (s.Top + s.Bottom) / 2.0;
    const double u = 3 * dy / length;
    const double v = 3 * dx / length;
    canvas.MoveTo(SX(mx - u), SY(my + v));
    canvas.LineTo(SX(mx + u), SY(my - v));
}

void TSchemeRenderer::DrawDoors(TCanvas &canvas)
{
    // In thick mode the band hides the bar, so there is none.
    if (m_settings.Checks.ThickBranches)
        return;
    const TPen pen = SavePen(canvas);
    canvas.Pen.Color = SchemeColor(scDoor);
    for (int n = 1; n <= MaxItems; ++n) {
        if (!BranchExist(m_t, n))
            continue;
        const int kind = m_t.BranchType[n];
        if (kind == bkLeakDoor || kind == bkChamber || kind == bkExternalLeakDoor)
            DrawDoorMark(canvas, BranchFirstSegment(m_t, n));
    }
    RestorePen(canvas, pen);
}

void TSchemeRenderer::DrawFlowArrows(TCanvas &canvas)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchExist(m_t, n) && (m_t.BranchLabelFlags[n] & lfArrow))
            DrawFlowArrow(canvas, n);
}

void TSchemeRenderer::DrawFlowArrow(TCanvas &canvas, int n)
{
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = m_t.BranchIsFresh[n] ? clRed : clBlue;
    canvas.Pen.Color = clBlack;
    const TRect s = BranchLastSegment(m_t, n);
    const TPixelSizes px = PixelSizesFor(canvas, m_view, m_settings);
    const double size = ArrowSizes[static_cast<std::size_t>(px.Step)] * px.Scale;
    if (m_t.BranchQ[n] > 0)
        DrawArrowHead(canvas, SX(s.Left), SY(s.Top), SX(s.Right), SY(s.Bottom), size);
    else
        DrawArrowHead(canvas, SX(s.Right), SY(s.Bottom), SX(s.Left), SY(s.Top), size);
}

void TSchemeRenderer::DrawArrowHead(TCanvas &canvas, int x1, int y1, int x2, int y2, double size)
{
    const double s =
        size * (m_settings.DrawTarget == dtPrinter ? m_settings.Switches.ArrowPrint : m_settings.Switches.ArrowDraw);
    // In doubles: a scheme file's extreme coordinates overflow an int
    // difference; points past the int range stay at its ends.
    const double dx = static_cast<double>(x2) - x1;
    const double dy = static_cast<double>(y2) - y1;
    const double length = std::sqrt(dx * dx + dy * dy);
    const TPixelSizes px = PixelSizesFor(canvas, m_view, m_settings);
    if (0.4 * length < px(13))
        return;
    const double mx = x1 + 0.55 * dx;
    const double my = y1 + 0.55 * dy;
    // u along the flow, v across it.
    const auto at = [&](double u, double v) {
        return TPoint{ClampToInt(Round(mx + u * dx / length - v * dy / length)),
                      ClampToInt(Round(my + u * dy / length + v * dx / length))};
    };
    canvas.Pen.Color = canvas.Brush.Color;
    canvas.Pen.Width = px(ArrowShaftWidths[static_cast<std::size_t>(px.Step)]);
    canvas.Pen.Style = TPenStyle::psSolid;
    const TPoint shaftStart = at(-3 * s, 0);
    const TPoint shaftEnd = at(-10 * s, 0);
    canvas.MoveTo(shaftStart.X, shaftStart.Y);
    canvas.LineTo(shaftEnd.X, shaftEnd.Y);
    canvas.Pen.Width = 1;
    canvas.Pen.Color = clBlack;
    canvas.Polygon({at(0, 0), at(-3 * s, -s), at(-3 * s, s)});
    canvas.Pen.Color = clBlack;
}

void TSchemeRenderer::DrawNodeLabelsPass(TCanvas &canvas)
{
    canvas.Font.Color = clBlack;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = SchemeColor(scNodeLabels);
    std::vector<double> pressures(TableSize, 0.0);
    if (m_settings.Checks.NodePressures && m_overlays.NodePressures) {
        if (!m_overlays.NodePressures(pressures) || pressures.size() < std::size_t(TableSize))
            pressures.assign(TableSize, 0.0);
    }
    for (int n = 1; n <= MaxItems; ++n)
        if (m_t.NodeNo[n] == n)
            DrawNodeLabel(canvas, n, pressures[static_cast<std::size_t>(n)]);
}

void TSchemeRenderer::DrawNodeLabel(TCanvas &canvas, int n, double pressure)
{
    const TViewChecks &c = m_settings.Checks;
    if (!c.NodeNumbers && !c.NodeAltitudes && !c.NodePressures)
        return;
    DrawCallout(canvas, {Shifted(SX(m_t.NodeX[n]), 16), Shifted(SY(m_t.NodeY[n]), -16)}, NodeLabelLines(m_t, n, pressure, c));
}

void TSchemeRenderer::DrawBranchLabelsPass(TCanvas &canvas)
{
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = SchemeColor(scBranchLabels);
    canvas.Font.Color = clBlack;
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchExist(m_t, n))
            DrawBranchLabels(canvas, n);
    canvas.Brush.Color = clWindow;
}

void TSchemeRenderer::DrawBranchLabels(TCanvas &canvas, int n)
{
    const std::vector<QString> lines = BranchLabelLines(m_t, n, m_settings.Checks);
    // A leader without a box would point at nothing, so the arrow and name
    // bits, which write no line, draw neither.
    if (lines.empty())
        return;
    const TRect s = BranchFirstSegment(m_t, n);
    // The middle in a wider type: far-off points may be any ints.
    const TPoint anchor{SX(static_cast<double>((std::int64_t{s.Left} + s.Right) / 2)),
                        SY(static_cast<double>((std::int64_t{s.Top} + s.Bottom) / 2))};
    const TRect box = DrawTextBox(canvas, {Shifted(anchor.X, 10), Shifted(anchor.Y, -10)}, lines);
    const TPoint corner = NearestRectCorner(box.Left, box.Top, box.Width(), box.Height(), anchor);
    canvas.MoveTo(anchor.X, anchor.Y);
    canvas.LineTo(corner.X, corner.Y);
}
