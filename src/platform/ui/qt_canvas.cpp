#include "platform/ui/qt_canvas.h"

#include "platform/metafile.h"
#include "platform/numbers.h"
#include "platform/ui/metafile_player.h"

#include <QtGui/QFontMetrics>
#include <QtGui/QPainterPath>
#include <QtGui/QPaintDevice>

#include <QtCore/QHash>

#include <algorithm>
#include <climits>
#include <cstdlib>

QColor TColorToQColor(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

TColor QColorToTColor(const QColor &color)
{
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QFont MakeQFont(const TFont &font, int ppiY)
{
    QFont qfont(font.Name);
    qfont.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferMatch));
    qfont.setKerning(false);
    qfont.setBold(font.Style & fs::Bold);
    qfont.setItalic(font.Style & fs::Italic);
    qfont.setUnderline(font.Style & fs::Underline);
    qfont.setStrikeOut(font.Style & fs::StrikeOut);
    int em;
    if (font.Height < 0) {
        em = -font.Height;
    } else if (font.Height > 0) {
        // A cell height: scale the em so that ascent + descent comes out at it.
        QFont probe = qfont;
        probe.setPixelSize(100);
        const QFontMetrics fm(probe);
        const int cell = fm.ascent() + fm.descent();
        em = cell > 0 ? static_cast<int>(Round(font.Height * 100.0 / cell)) : font.Height;
    } else {
        em = static_cast<int>(Round(font.Size * ppiY / 72.0));
    }
    qfont.setPixelSize(std::max(1, em));
    return qfont;
}

TQtCanvas::TQtCanvas(QImage *image, int ppiX, int ppiY)
    : m_image(image), m_device(image), m_ppiX(ppiX), m_ppiY(ppiY), m_printer(false)
{
    if (m_image->format() != QImage::Format_RGB32)
        *m_image = m_image->convertToFormat(QImage::Format_RGB32);
    m_painter = std::make_unique<QPainter>(m_image);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, false);
}

TQtCanvas::TQtCanvas(QPaintDevice *device, bool printer)
    : m_device(device), m_ppiX(device->logicalDpiX()), m_ppiY(device->logicalDpiY()), m_printer(printer)
{
    m_painter = std::make_unique<QPainter>(device);
    m_painter->setRenderHint(QPainter::Antialiasing, false);
    m_painter->setRenderHint(QPainter::TextAntialiasing, false);
}

TQtCanvas::~TQtCanvas() { End(); }

void TQtCanvas::End()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

void TQtCanvas::ApplyMode()
{
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    if (m_image) {
        if (Pen.Mode == TPenMode::pmXor)
            mode = QPainter::RasterOp_SourceXorDestination;
        else if (Pen.Mode == TPenMode::pmNotXor)
            mode = QPainter::RasterOp_NotSourceXorDestination;
    }
    m_painter->setCompositionMode(mode);
}

QPen TQtCanvas::MakeQPen() const
{
    if (!PenVisible())
        return QPen(Qt::NoPen);
    QPen pen(TColorToQColor(Pen.Color));
    if (Pen.Width <= 1) {
        // One-pixel lines leave their last point unpainted, as polylines
        // in Xor mode need (a shared vertex is painted once).
        pen.setWidth(0);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        switch (Pen.Style) {
        case TPenStyle::psDash: pen.setDashPattern({18, 6}); break;
        case TPenStyle::psDot: pen.setDashPattern({3, 3}); break;
        case TPenStyle::psDashDot: pen.setDashPattern({9, 6, 3, 6}); break;
        case TPenStyle::psDashDotDot: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
        default: break;
        }
    } else {
        pen.setWidth(Pen.Width);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    return pen;
}

QBrush TQtCanvas::MakeQBrush() const
{
    switch (Brush.Style) {
    case TBrushStyle::bsClear:
        return Qt::NoBrush;
    case TBrushStyle::bsChecker: {
        QImage tile(8, 8, QImage::Format_RGB32);
        const QRgb even = TColorToQColor(Brush.Color).rgb();
        const QRgb odd = TColorToQColor(Brush.CheckerColor).rgb();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                tile.setPixel(x, y, (x + y) % 2 == 0 ? even : odd);
        return QBrush(tile);
    }
    case TBrushStyle::bsSolid:
        break;
    }
    return QBrush(TColorToQColor(Brush.Color));
}

void TQtCanvas::StrokePath(const QPainterPath &path)
{
    if (!PenVisible())
        return;
    ApplyMode();
    m_painter->setBrush(Qt::NoBrush);
    const bool styled = Pen.Style != TPenStyle::psSolid && Pen.Width <= 1;
    if (styled && Brush.Style == TBrushStyle::bsSolid) {
        QPen gap(TColorToQColor(Brush.Color));
        gap.setWidth(0);
        gap.setCapStyle(Qt::FlatCap);
        m_painter->setPen(gap);
        m_painter->drawPath(path);
    }
    m_painter->setPen(MakeQPen());
    m_painter->drawPath(path);
}

void TQtCanvas::LineTo(int x, int y)
{
    if (PenVisible() && TPoint{x, y} != m_penPos) {
        QPainterPath path;
        path.moveTo(m_penPos.X, m_penPos.Y);
        path.lineTo(x, y);
        StrokePath(path);
    }
    m_penPos = {x, y};
}

void TQtCanvas::Polyline(const std::vector<TPoint> &points)
{
    if (points.size() < 2)
        return;
    QPainterPath path;
    path.moveTo(points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i].X, points[i].Y);
    StrokePath(path);
}

namespace {

// An edge far outside any device, held at half the int range so that the
// widths and the one-pixel steps below cannot overflow; what shows on the
// device is the same.
int HeldEdge(int value) { return std::clamp(value, INT_MIN / 2, INT_MAX / 2); }

} // namespace

void TQtCanvas::Rectangle(int left, int top, int right, int bottom)
{
    left = HeldEdge(left);
    top = HeldEdge(top);
    right = HeldEdge(right);
    bottom = HeldEdge(bottom);
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1)
        return;
    ApplyMode();
    if (BrushVisible()) {
        // As on the device-context model: without a pen the filled area is
        // one pixel narrower and lower.
        const QRect inner = PenVisible() ? QRect(left + 1, top + 1, right - left - 2, bottom - top - 2)
                                         : QRect(left, top, right - left - 1, bottom - top - 1);
        if (inner.width() > 0 && inner.height() > 0)
            m_painter->fillRect(inner, MakeQBrush());
    }
    if (PenVisible()) {
        QPainterPath path;
        path.addRect(QRectF(left, top, right - left - 1, bottom - top - 1));
        if (Pen.Width <= 1 && right - left >= 2 && bottom - top >= 2) {
            // Each edge once, so that Xor does not hit the corners twice.
            QPainterPath edges;
            edges.moveTo(left, top);
            edges.lineTo(right - 1, top);
            edges.lineTo(right - 1, bottom - 1);
            edges.lineTo(left, bottom - 1);
            edges.lineTo(left, top);
            StrokePath(edges);
        } else {
            StrokePath(path);
        }
    }
}

void TQtCanvas::Ellipse(int left, int top, int right, int bottom)
{
    left = HeldEdge(left);
    top = HeldEdge(top);
    right = HeldEdge(right);
    bottom = HeldEdge(bottom);
    if (right < left)
        std::swap(left, right);
    if (bottom < top)
        std::swap(top, bottom);
    const QRect box(left, top, right - left - 1, bottom - top - 1);
    ApplyMode();
    if (BrushVisible()) {
        m_painter->setPen(Qt::NoPen);
        m_painter->setBrush(MakeQBrush());
        m_painter->drawEllipse(box);
    }
    QPainterPath path;
    path.addEllipse(box);
    StrokePath(path);
}

void TQtCanvas::Polygon(const std::vector<TPoint> &points)
{
    if (points.empty())
        return;
    QPolygon polygon;
    for (const TPoint &p : points)
        polygon << QPoint(p.X, p.Y);
    ApplyMode();
    if (BrushVisible()) {
        m_painter->setPen(Qt::NoPen);
        m_painter->setBrush(MakeQBrush());
        m_painter->drawPolygon(polygon, Qt::OddEvenFill);
    }
    QPainterPath path;
    path.moveTo(points[0].X, points[0].Y);
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i].X, points[i].Y);
    path.lineTo(points[0].X, points[0].Y);
    StrokePath(path);
}

void TQtCanvas::FillRect(const TRect &r)
{
    if (!BrushVisible() || r.Width() <= 0 || r.Height() <= 0)
        return;
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->fillRect(QRect(r.Left, r.Top, r.Width(), r.Height()), MakeQBrush());
}

void TQtCanvas::SetPixel(int x, int y, TColor color)
{
    if (m_clip && !(x >= m_clip->Left && x < m_clip->Right && y >= m_clip->Top && y < m_clip->Bottom))
        return;
    if (m_image) {
        if (m_image->valid(x, y))
            m_image->setPixel(x, y, TColorToQColor(color).rgb());
        return;
    }
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->fillRect(QRect(x, y, 1, 1), TColorToQColor(color));
}

TColor TQtCanvas::GetPixel(int x, int y) const
{
    if (!m_image || !m_image->valid(x, y))
        return clNone;
    return QColorToTColor(QColor(m_image->pixel(x, y)));
}

namespace {

// A text as the painter inks it in one font: its advance, its cell height
// and the inked pixels as runs relative to the cell's top-left corner.
struct TTextMask
{
    struct TRun
    {
        int Y, X, Length;
    };
    int Width = 0;
    int Cell = 0;
    bool HasRuns = false;
    std::vector<TRun> Runs;
};

// Per font (name, size, style, resolution) the texts met so far. Only the
// user-interface thread draws, so one cache serves every canvas.
QHash<QString, QHash<QString, TTextMask>> &TextMasks()
{
    static QHash<QString, QHash<QString, TTextMask>> masks;
    return masks;
}

// Bounds the memory a long session of previews and redraws can take; when
// full, the cache starts afresh.
constexpr int MaxTextMasks = 100000;

TTextMask &MaskOf(const QString &fontKey, const QString &text, const QFontMetrics &fm)
{
    static int count = 0;
    auto &all = TextMasks();
    auto font = all.find(fontKey);
    if (font != all.end()) {
        auto it = font->find(text);
        if (it != font->end())
            return *it;
    }
    if (++count > MaxTextMasks) {
        all.clear();
        count = 1;
    }
    TTextMask mask;
    mask.Width = fm.horizontalAdvance(text);
    mask.Cell = fm.ascent() + fm.descent();
    return *all[fontKey].insert(text, mask);
}

// Inks the text once on a scratch image and keeps what the painter set.
void BuildRuns(TTextMask &mask, const QString &text, const QFont &font, const QFontMetrics &fm)
{
    const int pad = fm.height() + 4;
    QImage scratch(mask.Width + 2 * pad, mask.Cell + 2 * pad, QImage::Format_RGB32);
    scratch.fill(Qt::white);
    {
        QPainter painter(&scratch);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(pad, pad + fm.ascent(), text);
    }
    const QRgb white = QColor(Qt::white).rgb();
    for (int y = 0; y < scratch.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(scratch.constScanLine(y));
        for (int x = 0; x < scratch.width();) {
            if (line[x] == white) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < scratch.width() && line[x] != white)
                ++x;
            mask.Runs.push_back({y - pad, start - pad, x - start});
        }
    }
    mask.HasRuns = true;
}

} // namespace

const QFont &TQtCanvas::CurrentQFont()
{
    if (!m_cachedFont || !(*m_cachedFont == Font)) {
        m_cachedFont = Font;
        m_qfont = MakeQFont(Font, m_ppiY);
        m_metrics.emplace(m_qfont, m_device);
        m_fontCacheKey = QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                             .arg(Font.Name)
                             .arg(m_qfont.pixelSize())
                             .arg(Font.Style)
                             .arg(Font.Charset)
                             .arg(m_ppiX)
                             .arg(m_ppiY)
                             .arg(m_device ? m_device->devType() : 0);
    }
    return m_qfont;
}

bool TQtCanvas::DrawCachedText(int x, int y, const QString &text)
{
    if (!m_image || Font.Orientation != 0 || (m_justifyCount > 0 && m_justifyExtra != 0))
        return false;
    const QFont &qfont = CurrentQFont();
    TTextMask &mask = MaskOf(m_fontCacheKey, text, *m_metrics);
    const TRect bounds = m_clip ? TRect{std::max(0, m_clip->Left), std::max(0, m_clip->Top),
                                        std::min(m_image->width(), m_clip->Right),
                                        std::min(m_image->height(), m_clip->Bottom)}
                                : TRect{0, 0, m_image->width(), m_image->height()};
    // Clipped before inking. A text wholly outside draws nothing; one larger
    // than the image is left to the painter, which inks only what is inside,
    // rather than inked whole on a scratch image of its full extent.
    const qint64 pad = m_metrics->height() + 4;
    if (qint64(x) + mask.Width + pad <= bounds.Left || qint64(x) - pad >= bounds.Right ||
        qint64(y) + mask.Cell + pad <= bounds.Top || qint64(y) - pad >= bounds.Bottom)
        return true;
    if (!mask.HasRuns && (mask.Width > m_image->width() || mask.Cell > m_image->height()))
        return false;
    if (!mask.HasRuns)
        BuildRuns(mask, text, qfont, *m_metrics);
    const auto span = [&](int row, int left, int length, QRgb color) {
        if (row < bounds.Top || row >= bounds.Bottom)
            return;
        const int from = std::max(left, bounds.Left);
        const int to = std::min(left + length, bounds.Right);
        if (from >= to)
            return;
        auto *line = reinterpret_cast<QRgb *>(m_image->scanLine(row));
        std::fill(line + from, line + to, color);
    };
    if (Brush.Style == TBrushStyle::bsSolid) {
        const QRgb fill = TColorToQColor(Brush.Color).rgb();
        for (int row = y; row < y + mask.Cell; ++row)
            span(row, x, mask.Width, fill);
    } else if (Brush.Style != TBrushStyle::bsClear) {
        m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        m_painter->fillRect(QRect(x, y, mask.Width, mask.Cell), MakeQBrush());
    }
    const QRgb ink = TColorToQColor(Font.Color).rgb();
    for (const TTextMask::TRun &run : mask.Runs)
        span(y + run.Y, x + run.X, run.Length, ink);
    return true;
}

const QFontMetrics &TQtCanvas::CurrentMetrics()
{
    CurrentQFont();
    return *m_metrics;
}

void TQtCanvas::DrawTextAt(int x, int y, const QString &text, bool cached)
{
    if (cached && DrawCachedText(x, y, text))
        return;
    m_painter->setFont(CurrentQFont());
    const QFontMetrics &fm = CurrentMetrics();
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->save();
    m_painter->translate(x, y);
    if (Font.Orientation != 0)
        m_painter->rotate(-Font.Orientation / 10.0);
    const int cell = fm.ascent() + fm.descent();
    const auto pieces = JustifiedPieces(text);
    if (Brush.Style != TBrushStyle::bsClear) {
        const int end = pieces.back().Offset + fm.horizontalAdvance(pieces.back().Text);
        m_painter->fillRect(QRect(0, 0, end, cell), MakeQBrush());
    }
    m_painter->setPen(TColorToQColor(Font.Color));
    for (const auto &piece : pieces)
        m_painter->drawText(piece.Offset, fm.ascent(), piece.Text);
    m_painter->restore();
}

void TQtCanvas::TextOut(int x, int y, const QString &text)
{
    if (!text.isEmpty())
        DrawTextAt(x, y, text);
}

void TQtCanvas::TextRect(const TRect &clip, int x, int y, const QString &text)
{
    if (text.isEmpty())
        return;
    m_painter->save();
    m_painter->setClipRect(QRect(clip.Left, clip.Top, clip.Width(), clip.Height()), Qt::IntersectClip);
    DrawTextAt(x, y, text, false);
    m_painter->restore();
}

TSize TQtCanvas::TextExtent(const QString &text)
{
    const QFontMetrics &fm = CurrentMetrics();
    const TTextMask &mask = MaskOf(m_fontCacheKey, text, fm);
    return {mask.Width, mask.Cell};
}

void TQtCanvas::SetClipRect(const TRect &r)
{
    m_clip = r;
    m_painter->setClipRect(QRect(r.Left, r.Top, r.Width(), r.Height()));
}

void TQtCanvas::ClearClipRect()
{
    m_clip.reset();
    m_painter->setClipping(false);
}

TRect TQtCanvas::ClipRect() const
{
    if (m_clip)
        return *m_clip;
    return {0, 0, m_device->width(), m_device->height()};
}

void TQtCanvas::StretchDraw(const TRect &r, const TCanvasImage &image)
{
    if (MetafileType(image.Data) != TMetafileType::None) {
        PlayMetafile(*m_painter, image.Data, QRectF(r.Left, r.Top, r.Width(), r.Height()));
        return;
    }
    QImage decoded = QImage::fromData(image.Data);
    if (decoded.isNull())
        return;
    m_painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_painter->drawImage(QRect(r.Left, r.Top, r.Width(), r.Height()), decoded);
}
