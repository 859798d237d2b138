#include "scheme/branch_symbols.h"

#include "model/helpers.h"
#include "platform/codepage.h"
#include "platform/guard.h"
#include "platform/numbers.h"

#include <QtCore/QDir>
#include <QtCore/QLibrary>

#include <climits>
#include <cmath>
#include <optional>

namespace api = tunvex_api;

namespace {

QString TextOf(const char *text)
{
    return text ? DecodeCp1251(QByteArray(text)) : QString();
}

int RoundInt(double v)
{
    return static_cast<int>(Round(v));
}

// The drawing functions behind a handle. A library cannot take an exception
// back across the C boundary, so each one stops any here.
template <typename F>
void Guarded(F &&f)
{
    try {
        f();
    } catch (...) {
    }
}

TPenStyle PenStyleOf(std::int32_t style)
{
    return style >= 0 && style <= 5 ? static_cast<TPenStyle>(style) : TPenStyle::psSolid;
}

void DcSetPen(api::TunvexSymbolDC *dc, std::int32_t color, std::int32_t width, std::int32_t style)
{
    TCanvas &c = TSymbolDC::CanvasOf(dc);
    c.Pen.Color = color;
    c.Pen.Width = width;
    c.Pen.Style = PenStyleOf(style);
}

void DcSetBrush(api::TunvexSymbolDC *dc, std::int32_t color, std::int32_t style)
{
    TCanvas &c = TSymbolDC::CanvasOf(dc);
    c.Brush.Color = color;
    c.Brush.Style = style == 1 ? TBrushStyle::bsClear : TBrushStyle::bsSolid;
}

void DcSetFont(api::TunvexSymbolDC *dc, const char *name, std::int32_t height, std::int32_t size, std::int32_t style,
               std::int32_t color)
{
    Guarded([&] {
        TFont &f = TSymbolDC::CanvasOf(dc).Font;
        if (name && *name)
            f.Name = TextOf(name);
        f.Height = height;
        if (size > 0)
            f.Size = size;
        f.Style = static_cast<unsigned>(style) & (fs::Bold | fs::Italic | fs::Underline | fs::StrikeOut);
        f.Color = color;
    });
}

void DcMoveTo(api::TunvexSymbolDC *dc, std::int32_t x, std::int32_t y)
{
    TSymbolDC::CanvasOf(dc).MoveTo(x, y);
}

void DcLineTo(api::TunvexSymbolDC *dc, std::int32_t x, std::int32_t y)
{
    Guarded([&] { TSymbolDC::CanvasOf(dc).LineTo(x, y); });
}

void DcPolygon(api::TunvexSymbolDC *dc, const api::TunvexPoint *points, std::int32_t count)
{
    if (!points || count < 2)
        return;
    Guarded([&] {
        std::vector<TPoint> ps(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i)
            ps[static_cast<std::size_t>(i)] = {points[i].X, points[i].Y};
        TSymbolDC::CanvasOf(dc).Polygon(ps);
    });
}

void DcRectangle(api::TunvexSymbolDC *dc, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
{
    Guarded([&] { TSymbolDC::CanvasOf(dc).Rectangle(l, t, r, b); });
}

void DcEllipse(api::TunvexSymbolDC *dc, std::int32_t l, std::int32_t t, std::int32_t r, std::int32_t b)
{
    Guarded([&] { TSymbolDC::CanvasOf(dc).Ellipse(l, t, r, b); });
}

void DcTextOut(api::TunvexSymbolDC *dc, std::int32_t x, std::int32_t y, const char *text)
{
    Guarded([&] { TSymbolDC::CanvasOf(dc).TextOut(x, y, TextOf(text)); });
}

void DcTextExtent(api::TunvexSymbolDC *dc, const char *text, std::int32_t *width, std::int32_t *height)
{
    TSize size;
    Guarded([&] { size = TSymbolDC::CanvasOf(dc).TextExtent(TextOf(text)); });
    if (width)
        *width = size.cx;
    if (height)
        *height = size.cy;
}

const api::TunvexDrawFunctions DrawFunctions = {DcSetPen,    DcSetBrush,  DcSetFont, DcMoveTo,  DcLineTo,
                                                DcPolygon,   DcRectangle, DcEllipse, DcTextOut, DcTextExtent};

} // namespace

TSymbolDC::TSymbolDC(TCanvas &canvas) : Public{&DrawFunctions}, Canvas(&canvas)
{
}

TCanvas &TSymbolDC::CanvasOf(api::TunvexSymbolDC *dc)
{
    static_assert(std::is_standard_layout_v<TSymbolDC>);
    return *reinterpret_cast<TSymbolDC *>(dc)->Canvas;
}

// ---- The list -----------------------------------------------------------------

TBranchSymbolList::TBranchSymbolList(const QString &folder)
{
    const QString path = AddTrailingSlash(folder);
    // An empty setting names no folder, not the current one.
    if (path.isEmpty())
        return;
    const QStringList files =
        QDir(path).entryList({QStringLiteral("*.so")}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &file : files) {
        auto library = std::make_unique<QLibrary>(path + file);
        // Every symbol resolved now: a library that needs a function the
        // program lacks fails here instead of in the middle of a drawing.
        library->setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (library->load())
            AddLibrary(std::move(library));
    }
}

TBranchSymbolList::~TBranchSymbolList()
{
    UnloadAll();
}

bool TBranchSymbolList::AddLibrary(std::unique_ptr<QLibrary> library)
{
    TBranchSymbol s;
    s.Module = library.get();
    s.GetSymbolName = reinterpret_cast<api::TGetSymbolName>(library->resolve("GetSymbolName"));
    s.GetSymbolDescription = reinterpret_cast<api::TGetSymbolDescription>(library->resolve("GetSymbolDescription"));
    s.DrawSymbol1 = reinterpret_cast<api::TDrawSymbol1>(library->resolve("DrawSymbol1"));
    s.DrawSymbol2 = reinterpret_cast<api::TDrawSymbol2>(library->resolve("DrawSymbol2"));
    if (!s.GetSymbolName || !s.GetSymbolDescription || !s.DrawSymbol1 || !s.DrawSymbol2) {
        library->unload();
        return false;
    }
    // A library whose name or description throws is skipped and named; the
    // scan goes on with the next file.
    const char *name = nullptr;
    const char *failed = "GetSymbolName";
    std::optional<QString> error;
    try {
        name = s.GetSymbolName();
        failed = "GetSymbolDescription";
        s.Description = TextOf(name ? s.GetSymbolDescription() : nullptr);
    } catch (...) {
        error = CurrentExceptionText();
    }
    if (!name || error) {
        const QString file = library->fileName();
        library->unload();
        if (error) {
            const QString text = QStringLiteral("Библиотека символов \"%1\" не подключена: %2 завершилась с ошибкой.");
            m_refusals.push_back({LookupText(text).arg(file, QLatin1String(failed)) + QStringLiteral("\n\n") + *error,
                                  ApplicationTitle, mb::Ok | mb::IconError});
        }
        return false;
    }
    s.Name = TextOf(name);
    m_items.push_back(std::move(s));
    m_libraries.push_back(std::move(library));
    return true;
}

void TBranchSymbolList::Add(api::TGetSymbolName name, api::TGetSymbolDescription description,
                            api::TDrawSymbol2 draw)
{
    TBranchSymbol s;
    s.GetSymbolName = name;
    s.GetSymbolDescription = description;
    s.DrawSymbol2 = draw;
    s.Name = TextOf(name());
    s.Description = TextOf(description());
    m_items.push_back(std::move(s));
}

const TBranchSymbol *TBranchSymbolList::FindByName(const QString &name) const
{
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it)
        if (it->Name == name)
            return &*it;
    return nullptr;
}

QStringList TBranchSymbolList::Names() const
{
    QStringList names;
    for (const TBranchSymbol &s : m_items)
        names << s.Name;
    return names;
}

void TBranchSymbolList::UnloadAll()
{
    m_items.clear();
    for (const auto &library : m_libraries)
        library->unload();
    m_libraries.clear();
}

// ---- Drawing the links --------------------------------------------------------

void CallDrawSymbol(TCanvas &canvas, const TBranchSymbol &symbol, const api::TunvexPoint (&corners)[4], TColor color)
{
    TSymbolDC dc(canvas);
    try {
        symbol.DrawSymbol2(dc.Handle(), &corners[0], &corners[1], &corners[2], &corners[3], color);
    } catch (...) {
        // A symbol that fails is left out; the next link is drawn as usual.
    }
    canvas.Pen.Width = 1;
    canvas.Pen.Color = clBlack;
}

void DrawLinkSymbol(TCanvas &canvas, const TBranchSymbol &symbol, const TSchemeDrawSettings &settings,
                    int zoomStep, int side, TPoint p0, TPoint p1, double dseg, double segLength, TColor color)
{
    const bool printer = settings.DrawTarget == dtPrinter;
    // In doubles: the points of a far-off branch may be any ints.
    const double dx = static_cast<double>(p1.X) - p0.X;
    const double dy = static_cast<double>(p1.Y) - p0.Y;
    const double length = std::sqrt(dx * dx + dy * dy);
    // A segment shorter than a few pixels has no room on the screen; one of
    // no length has no direction at all.
    const int lengthPx = static_cast<int>(std::min<double>(length, INT_MAX));
    if (length == 0 || (!printer && lengthPx < MinSymbolSegmentPixels))
        return;
    double fx = dx / length, fy = dy / length;
    if (dx == 0)
        fx = 0, fy = dy > 0 ? 1 : -1;
    // To the right of the direction of travel, y growing downwards.
    const double nx = -fy, ny = fx;
    const int s =
        std::min(side, printer ? RoundInt(MaxPrinterSymbolSide * PixelScale(canvas, settings)) : MaxScreenSymbolSide);
    const double along = static_cast<double>(Round(lengthPx * dseg / segLength));
    const double qx = static_cast<double>(RoundInt(p0.X + along * fx));
    const double qy = static_cast<double>(RoundInt(p0.Y + along * fy));
    const int h = s / 2;
    const auto corner = [&](double f, double n) -> api::TunvexPoint {
        return {RoundInt(qx + h * f * fx + h * n * nx), RoundInt(qy + h * f * fy + h * n * ny)};
    };
    const api::TunvexPoint corners[4] = {corner(1, -1), corner(-1, -1), corner(1, 1), corner(-1, 1)};
    SetSchemeDefaultFont(canvas, settings, zoomStep);
    if (s >= 2 && dseg <= segLength)
        CallDrawSymbol(canvas, symbol, corners, color);
    canvas.Pen.Width = 1;
    canvas.Pen.Color = clBlack;
}

void DrawBranchSymbols(TCanvas &canvas, const TBranchSymbolDrawing &d, int branch, bool thick, TColor color)
{
    if (!thick || d.Links.empty())
        return;
    const TNetworkTables &t = d.Tables;
    const double L = t.BranchLength[branch];
    const auto &turns = t.BranchTurns[branch];
    if (L == 0 || !turns || turns->size() < 2)
        return;
    const TTurnList &points = *turns;
    double total = 0;
    // cum[i]: the drawn length up to point i.
    std::vector<double> cum(points.size(), 0.0);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double dx = static_cast<double>(points[i].X) - points[i - 1].X;
        const double dy = static_cast<double>(points[i].Y) - points[i - 1].Y;
        total += std::sqrt(dx * dx + dy * dy);
        cum[i] = total;
    }
    if (total == 0)
        return;
    const TPixelSizes px = PixelSizesFor(canvas, d.View, d.Settings);
    const int side = px(ThickBranchWidths[static_cast<std::size_t>(px.Step)]);
    for (const TLink &link : d.Links) {
        if (link.Branch != branch)
            continue;
        const TBranchSymbol *symbol = d.Symbols.FindByName(link.Name);
        if (!symbol)
            continue;
        const double at = link.Distance / L;
        for (std::size_t i = 1; i < points.size(); ++i) {
            if (!(cum[i - 1] / total < at && at < cum[i] / total))
                continue;
            const TTurn &a = points[i - 1];
            const TTurn &b = points[i];
            const TPoint p0{d.View.ScreenX(a.X), d.View.ScreenY(a.Y)};
            const TPoint p1{d.View.ScreenX(b.X), d.View.ScreenY(b.Y)};
            DrawLinkSymbol(canvas, *symbol, d.Settings, d.View.ZoomStep, side, p0, p1,
                           link.Distance - cum[i - 1] * L / total, L * (cum[i] - cum[i - 1]) / total, color);
            break;
        }
    }
}
