#include "platform/ui/metafile_player.h"

#include "platform/codepage.h"
#include "platform/metafile.h"
#include "platform/ui/qt_canvas.h"

#include <QtCore/QtEndian>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPolygonF>
#include <QtGui/QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <variant>
#include <vector>

namespace {

// Limits that keep a damaged file from asking for the impossible.
constexpr int MaxSavedStates = 1024;
constexpr int MaxObjects = 65536;
constexpr int MaxDibSide = 32768;
constexpr std::int64_t MaxDibPixels = 64ll * 1024 * 1024;

// Text alignment bits (TA_*), background modes, fill modes, options.
constexpr std::uint32_t TaUpdateCp = 1;
constexpr std::uint32_t TaHorizontal = 6; // TA_RIGHT 2, TA_CENTER 6
constexpr std::uint32_t TaRight = 2;
constexpr std::uint32_t TaVertical = 24;  // TA_BOTTOM 8, TA_BASELINE 24
constexpr std::uint32_t TaBottom = 8;
constexpr std::uint32_t EtoOpaque = 0x2;
constexpr std::uint32_t EtoClipped = 0x4;
constexpr std::uint32_t EtoGlyphIndex = 0x10;
constexpr std::uint32_t EtoNoRect = 0x100;
constexpr std::uint32_t EtoPdy = 0x2000;
constexpr int BkOpaque = 2;
constexpr int FillWinding = 2;

// Pen and brush styles.
constexpr int PsNull = 5;
constexpr int PsUserStyle = 7;
constexpr int PsEndcapSquare = 0x100;
constexpr int PsEndcapFlat = 0x200;
constexpr int PsJoinBevel = 0x1000;
constexpr int PsJoinMiter = 0x2000;
constexpr int PsGeometric = 0x10000;
constexpr int BsNull = 1;
constexpr int BsHatched = 2;
constexpr int BsPattern = 3;
constexpr int BsDibPattern = 5;
constexpr int BsDibPatternPt = 6;

struct TGdiPen
{
    int Style = 0;
    double Width = 0; // logical units; 0 for one device pixel
    QColor Color = Qt::black;
    QList<qreal> Dashes;
    bool Null() const { return (Style & 0xF) == PsNull; }
};

struct TGdiBrush
{
    int Style = 0;
    QColor Color = Qt::white;
    int Hatch = 0;
    QImage Pattern;
    bool Null() const { return Style == BsNull; }
};

struct TGdiFont
{
    QString Face = QStringLiteral("Arial");
    double Height = 0; // logical units: negative the em height, positive the cell
    int Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Charset = 1;
    double Escapement = 0; // tenths of a degree counter-clockwise
};

// A palette or region: takes its slot in the table, draws nothing.
struct TGdiOther
{
};

using TGdiObject = std::variant<std::monostate, TGdiOther, TGdiPen, TGdiBrush, TGdiFont>;

// What SaveDC keeps.
struct TDcState
{
    TGdiPen Pen;
    TGdiBrush Brush;
    TGdiFont Font;
    QColor TextColor = Qt::black;
    QColor BkColor = Qt::white;
    int BkMode = BkOpaque;
    std::uint32_t TextAlign = 0;
    Qt::FillRule FillRule = Qt::OddEvenFill;
    int MapMode = 1;
    QPointF WindowOrg;
    QPointF WindowExt{1, 1};
    QPointF ViewportOrg;
    QPointF ViewportExt{1, 1};
    QTransform World;
    QPainterPath Clip; // in the painter's coordinates
    QPointF Position;
    bool Clockwise = false;
};

QColor ColorRef(std::uint32_t value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

// Text of 8-bit records in the font's character set. Russian and the
// system default read as 1251, the page of the systems these files come
// from; OEM as 866; the rest as Western 1252.
QString DecodeText(QByteArray bytes, int charset)
{
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        bytes.truncate(nul);
    switch (charset) {
    case 1:
    case 204: return DecodeCp1251(bytes);
    case 255: return DecodeCp866(bytes);
    default: return DecodeCp1252(bytes);
    }
}

// Millimetres per logical unit of the fixed mapping modes; 0 for the others.
double MillimetersPerUnit(int mapMode)
{
    switch (mapMode) {
    case 2: return 0.1;
    case 3: return 0.01;
    case 4: return 0.254;
    case 5: return 0.0254;
    case 6: return 25.4 / 1440.0;
    default: return 0;
    }
}

// A device-independent bitmap (its header and colour table in info, its
// pixels in bits) decoded through an in-memory bitmap file. damaged is set
// when the header asks for more than there is.
QImage DibImage(const QByteArray &info, const QByteArray &bits, bool &damaged)
{
    if (info.size() < 12) {
        damaged = true;
        return {};
    }
    const auto u16 = [&info](int at) { return qFromLittleEndian<quint16>(info.constData() + at); };
    const auto u32 = [&info](int at) { return qFromLittleEndian<quint32>(info.constData() + at); };
    const std::uint32_t headerSize = u32(0);
    std::int64_t width = 0, height = 0;
    int bpp = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = u16(4);
        height = u16(6);
        bpp = u16(10);
    } else if (headerSize >= 40 && headerSize <= static_cast<std::uint32_t>(info.size())) {
        width = static_cast<qint32>(u32(4));
        height = static_cast<qint32>(u32(8));
        bpp = u16(14);
        compression = u32(16);
    } else {
        damaged = true;
        return {};
    }
    height = std::abs(height);
    if (width <= 0 || height <= 0 || width > MaxDibSide || height > MaxDibSide || width * height > MaxDibPixels
        || !(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)) {
        damaged = true;
        return {};
    }
    // Uncompressed rows are padded to four bytes; a file that holds fewer
    // is cut short.
    if ((compression == 0 || compression == 3) && bits.size() < ((width * bpp + 31) / 32) * 4 * height) {
        damaged = true;
        return {};
    }
    QByteArray file("BM");
    const auto put32 = [&file](std::uint32_t v) {
        const quint32 le = qToLittleEndian(v);
        file.append(reinterpret_cast<const char *>(&le), 4);
    };
    put32(static_cast<std::uint32_t>(14 + info.size() + bits.size()));
    put32(0);
    put32(static_cast<std::uint32_t>(14 + info.size()));
    file += info;
    file += bits;
    return QImage::fromData(file, "BMP");
}

// A WMF's DIB as one block: split after its header and colour table.
QImage PackedDibImage(const QByteArray &dib, bool &damaged)
{
    if (dib.size() < 12) {
        damaged = true;
        return {};
    }
    const std::uint32_t headerSize = qFromLittleEndian<quint32>(dib.constData());
    qsizetype colors = 0;
    if (headerSize == 12) {
        const int bpp = qFromLittleEndian<quint16>(dib.constData() + 10);
        colors = bpp <= 8 ? (qsizetype{1} << bpp) * 3 : 0;
    } else if (headerSize >= 40 && dib.size() >= 40) {
        const int bpp = qFromLittleEndian<quint16>(dib.constData() + 14);
        const std::uint32_t compression = qFromLittleEndian<quint32>(dib.constData() + 16);
        const std::uint32_t used = qFromLittleEndian<quint32>(dib.constData() + 32);
        colors = (used ? qsizetype{used} : (bpp <= 8 ? qsizetype{1} << std::min(bpp, 8) : 0)) * 4;
        if (compression == 3 && headerSize == 40)
            colors += 12;
    } else {
        damaged = true;
        return {};
    }
    const qsizetype infoSize = headerSize + colors;
    if (infoSize > dib.size()) {
        damaged = true;
        return {};
    }
    return DibImage(dib.left(infoSize), dib.mid(infoSize), damaged);
}

// The composition of a blit's raster operation (its index byte): copy, and
// for the usual mask operations the blend that gives the same result on
// black-and-white masks, on printers as well as on images.
QPainter::CompositionMode BlitMode(std::uint32_t rop)
{
    switch ((rop >> 16) & 0xFF) {
    case 0x88: return QPainter::CompositionMode_Multiply;   // source AND destination
    case 0xEE: return QPainter::CompositionMode_Screen;     // source OR destination
    case 0x66: return QPainter::CompositionMode_Difference; // source XOR destination
    default: return QPainter::CompositionMode_SourceOver;
    }
}

class TMetafilePlayer
{
public:
    TMetafilePlayer(QPainter &painter, const TMetafileHeader &header, const QRectF &frame, const QRectF &target)
        : m_painter(painter), m_header(header), m_frame(frame), m_target(target), m_outer(painter.transform())
    {
        m_wmf = header.Type == TMetafileType::Wmf;
        m_objects.resize(static_cast<size_t>(std::clamp(m_wmf ? header.ObjectCount : header.HandleCount, 0, MaxObjects)));
        QPainterPath base;
        base.addRect(target);
        if (painter.hasClipping())
            base = base.intersected(painter.clipPath());
        m_base = base;
        m_state.Clip = base;
        if (m_wmf) {
            m_state.WindowOrg = frame.topLeft();
            m_state.WindowExt = QPointF(frame.width(), frame.height());
        }
        UpdateTransform();
        ApplyClip();
    }

    bool Record(TMetafileRecord &record)
    {
        const bool sound = m_wmf ? WmfRecord(static_cast<std::uint16_t>(record.Type), record.Params)
                                 : EmfRecord(record.Type, record.Params);
        return sound && record.Params.Ok() && !m_damaged;
    }

private:
    // ------------------------------------------------------------ mapping

    void UpdateTransform()
    {
        const TDcState &s = m_state;
        QTransform page;
        if (m_wmf) {
            page = Map(s.WindowOrg, s.WindowExt, m_target.topLeft(), QPointF(m_target.width(), m_target.height()));
        } else {
            // Logical space through the world transform and the mapping mode
            // to the reference device, whose frame lands on the target.
            QPointF window = s.WindowExt, viewport = s.ViewportExt;
            if (const double mm = MillimetersPerUnit(s.MapMode); mm > 0) {
                const QSizeF &px = m_header.DevicePixels, &size = m_header.DeviceMillimeters;
                window = QPointF(1, 1);
                viewport = size.width() > 0 && size.height() > 0
                               ? QPointF(px.width() / size.width() * mm, -px.height() / size.height() * mm)
                               : QPointF(96 / 25.4 * mm, -96 / 25.4 * mm);
            } else if (s.MapMode == 1) {
                window = viewport = QPointF(1, 1);
            } else if (s.MapMode == 7 && window.x() != 0 && window.y() != 0) {
                // Isotropic: the smaller scale both ways, each keeping its sign.
                const double sx = viewport.x() / window.x(), sy = viewport.y() / window.y();
                const double scale = std::min(std::abs(sx), std::abs(sy));
                window = QPointF(1, 1);
                viewport = QPointF(std::copysign(scale, sx), std::copysign(scale, sy));
            }
            const QTransform toDevice = Map(s.WindowOrg, window, s.ViewportOrg, viewport);
            const QTransform toTarget =
                Map(m_frame.topLeft(), QPointF(m_frame.width(), m_frame.height()), m_target.topLeft(),
                    QPointF(m_target.width(), m_target.height()));
            page = s.World * toDevice * toTarget;
        }
        m_transform = page;
        const double det = page.determinant();
        m_valid = std::isfinite(det) && det != 0 && std::isfinite(page.dx()) && std::isfinite(page.dy());
        m_scale = m_valid ? std::sqrt(std::abs(det)) : 0;
    }

    // The mapping of a window (origin, extent) onto a viewport.
    static QTransform Map(const QPointF &org, const QPointF &ext, const QPointF &vorg, const QPointF &vext)
    {
        const double sx = ext.x() != 0 ? vext.x() / ext.x() : 0;
        const double sy = ext.y() != 0 ? vext.y() / ext.y() : 0;
        return QTransform(sx, 0, 0, sy, vorg.x() - org.x() * sx, vorg.y() - org.y() * sy);
    }

    void ApplyClip()
    {
        m_painter.setTransform(m_outer);
        m_painter.setClipPath(m_state.Clip, Qt::ReplaceClip);
    }

    void ClipWith(const QPainterPath &logical, int mode)
    {
        if (!m_valid)
            return;
        const QPainterPath path = m_transform.map(logical);
        QPainterPath &clip = m_state.Clip;
        switch (mode) {
        case 1: clip = clip.intersected(path); break;                      // RGN_AND
        case 2: clip = clip.united(path).intersected(m_base); break;       // RGN_OR
        case 3: clip = (clip.united(path) - clip.intersected(path)).intersected(m_base); break; // RGN_XOR
        case 4: clip = clip.subtracted(path); break;                       // RGN_DIFF
        case 5: clip = path.intersected(m_base); break;                    // RGN_COPY
        default: return;
        }
        ApplyClip();
    }

    static QPainterPath RectPath(const QRectF &r)
    {
        QPainterPath path;
        path.addRect(r.normalized());
        return path;
    }

    // ------------------------------------------------------------ state

    void SaveDC()
    {
        if (m_saved.size() >= MaxSavedStates) {
            m_damaged = true;
            return;
        }
        m_saved.push_back(m_state);
    }

    void RestoreDC(std::int64_t which)
    {
        // Negative: so many levels back; positive: the level of that number.
        const std::int64_t level = which < 0 ? std::int64_t(m_saved.size()) + which : which - 1;
        if (which == 0 || level < 0 || level >= std::int64_t(m_saved.size()))
            return;
        m_state = m_saved[size_t(level)];
        m_saved.resize(size_t(level));
        UpdateTransform();
        ApplyClip();
    }

    // The lowest free slot, as the WMF object table fills; false when full.
    // No slot below m_firstFree is free, so a long run of objects never
    // deleted costs no search from the start each time.
    bool Create(TGdiObject object)
    {
        auto free = std::find_if(m_objects.begin() + std::min(m_firstFree, m_objects.size()), m_objects.end(),
                                 [](const TGdiObject &o) { return std::holds_alternative<std::monostate>(o); });
        if (free == m_objects.end()) {
            // The header's count is a promise some writers do not keep.
            if (m_objects.size() >= MaxObjects)
                return false;
            m_objects.emplace_back();
            free = m_objects.end() - 1;
        }
        *free = std::move(object);
        m_firstFree = size_t(free - m_objects.begin()) + 1;
        return true;
    }

    bool CreateAt(std::uint32_t index, TGdiObject object)
    {
        if (index == 0 || index >= m_objects.size())
            return false;
        m_objects[index] = std::move(object);
        return true;
    }

    bool Select(std::uint32_t index)
    {
        if (!m_wmf && (index & 0x80000000u))
            return SelectStock(index & 0x7FFFFFFF);
        if (index >= m_objects.size())
            return false;
        const TGdiObject &o = m_objects[index];
        if (const auto *pen = std::get_if<TGdiPen>(&o))
            m_state.Pen = *pen;
        else if (const auto *brush = std::get_if<TGdiBrush>(&o))
            m_state.Brush = *brush;
        else if (const auto *font = std::get_if<TGdiFont>(&o))
            m_state.Font = *font;
        return true;
    }

    bool SelectStock(std::uint32_t n)
    {
        static const int grey[] = {0xFF, 0xC0, 0x80, 0x40, 0x00};
        if (n <= 4) {
            m_state.Brush = TGdiBrush{0, QColor(grey[n], grey[n], grey[n]), 0, {}};
        } else if (n == 5) {
            m_state.Brush = TGdiBrush{BsNull, Qt::white, 0, {}};
        } else if (n == 6 || n == 7) {
            m_state.Pen = TGdiPen{0, 0, n == 6 ? Qt::white : Qt::black, {}};
        } else if (n == 8) {
            m_state.Pen = TGdiPen{PsNull, 0, Qt::black, {}};
        } else if (n >= 10 && n <= 17 && n != 15) {
            m_state.Font = TGdiFont{};
        } else if (n == 18) {
            m_state.Brush = TGdiBrush{};
        } else if (n == 19) {
            m_state.Pen = TGdiPen{};
        }
        return true;
    }

    bool Delete(std::uint32_t index)
    {
        if (index >= m_objects.size() || (!m_wmf && index == 0))
            return m_wmf ? false : (index & 0x80000000u) != 0; // deleting a stock object is harmless
        m_objects[index] = std::monostate{};
        m_firstFree = std::min(m_firstFree, size_t(index));
        return true;
    }

    // ------------------------------------------------------------ drawing

    QPen MakePen() const
    {
        const TGdiPen &p = m_state.Pen;
        if (p.Null())
            return Qt::NoPen;
        const bool thin = p.Width <= 0 || p.Width * m_scale < 1.5;
        QPen pen(p.Color, thin ? 0 : p.Width);
        pen.setCapStyle((p.Style & PsEndcapFlat) ? Qt::FlatCap : (p.Style & PsEndcapSquare) ? Qt::SquareCap : Qt::RoundCap);
        pen.setJoinStyle((p.Style & PsJoinMiter) ? Qt::MiterJoin : (p.Style & PsJoinBevel) ? Qt::BevelJoin : Qt::RoundJoin);
        if (thin) {
            pen.setCapStyle(Qt::FlatCap);
            pen.setJoinStyle(Qt::MiterJoin);
        }
        switch (p.Style & 0xF) {
        case 1: pen.setDashPattern({18, 6}); break;
        case 2: pen.setDashPattern({3, 3}); break;
        case 3: pen.setDashPattern({9, 6, 3, 6}); break;
        case 4: pen.setDashPattern({9, 3, 3, 3, 3, 3}); break;
        case PsUserStyle:
            if (!p.Dashes.isEmpty())
                pen.setDashPattern(p.Dashes);
            break;
        default: break;
        }
        return pen;
    }

    QBrush MakeBrush() const
    {
        const TGdiBrush &b = m_state.Brush;
        if (b.Null())
            return Qt::NoBrush;
        if (!b.Pattern.isNull())
            return QBrush(b.Pattern);
        if (b.Style == BsHatched) {
            static const Qt::BrushStyle hatch[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                   Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
            return QBrush(b.Color, b.Hatch >= 0 && b.Hatch < 6 ? hatch[b.Hatch] : Qt::SolidPattern);
        }
        return QBrush(b.Color);
    }

    void UsePainterMapping()
    {
        m_painter.setTransform(m_transform * m_outer);
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    // A shape outlined with the pen and, when closed, filled with the brush;
    // between BeginPath and EndPath it goes into the path instead.
    void Draw(QPainterPath path, bool fill, bool stroke = true)
    {
        if (m_inPath) {
            m_path.addPath(path);
            return;
        }
        if (!m_valid)
            return;
        UsePainterMapping();
        path.setFillRule(m_state.FillRule);
        if (fill && !m_state.Brush.Null()) {
            if (m_state.Brush.Style == BsHatched && m_state.BkMode == BkOpaque)
                m_painter.fillPath(path, m_state.BkColor);
            m_painter.fillPath(path, MakeBrush());
        }
        if (stroke && !m_state.Pen.Null())
            m_painter.strokePath(path, MakePen());
    }

    void LineTo(const QPointF &to)
    {
        if (m_inPath) {
            if (m_path.elementCount() == 0 || m_path.currentPosition() != m_state.Position)
                m_path.moveTo(m_state.Position);
            m_path.lineTo(to);
        } else {
            QPainterPath path(m_state.Position);
            path.lineTo(to);
            Draw(path, false);
        }
        m_state.Position = to;
    }

    void MoveTo(const QPointF &to)
    {
        m_state.Position = to;
        if (m_inPath)
            m_path.moveTo(to);
    }

    void Poly(const QPolygonF &points, bool closed)
    {
        if (points.isEmpty())
            return;
        QPainterPath path;
        path.addPolygon(points);
        if (closed)
            path.closeSubpath();
        Draw(path, closed);
    }

    // Lines or Bézier segments from the current position (the "To" records).
    void PolyTo(const QPolygonF &points, bool bezier)
    {
        QPainterPath path(m_state.Position);
        if (m_inPath) {
            if (m_path.elementCount() == 0 || m_path.currentPosition() != m_state.Position)
                m_path.moveTo(m_state.Position);
        }
        QPainterPath &into = m_inPath ? m_path : path;
        if (bezier) {
            for (qsizetype i = 0; i + 2 < points.size(); i += 3)
                into.cubicTo(points[i], points[i + 1], points[i + 2]);
        } else {
            for (const QPointF &p : points)
                into.lineTo(p);
        }
        const qsizetype last = bezier ? (points.size() / 3) * 3 - 1 : points.size() - 1;
        if (last >= 0)
            m_state.Position = points[last];
        if (!m_inPath)
            Draw(path, false);
    }

    void Bezier(const QPolygonF &points)
    {
        if (points.isEmpty())
            return;
        QPainterPath path(points[0]);
        for (qsizetype i = 1; i + 2 < points.size(); i += 3)
            path.cubicTo(points[i], points[i + 1], points[i + 2]);
        Draw(path, false);
    }

    void PolyPoly(const std::vector<QPolygonF> &polygons, bool closed)
    {
        QPainterPath path;
        for (const QPolygonF &polygon : polygons) {
            if (polygon.isEmpty())
                continue;
            path.addPolygon(polygon);
            if (closed)
                path.closeSubpath();
        }
        Draw(path, closed);
    }

    // Counter-clockwise (or, when set so, clockwise) from the radial
    // through start to the radial through end.
    void ArcShape(const QRectF &box, const QPointF &start, const QPointF &end, int kind)
    {
        const QRectF r = box.normalized();
        if (r.width() <= 0 || r.height() <= 0)
            return;
        const QPointF c = r.center();
        const double rx = r.width() / 2, ry = r.height() / 2;
        const auto angle = [&](const QPointF &p) {
            return std::atan2((c.y() - p.y()) * rx, (p.x() - c.x()) * ry) * 180.0 / std::numbers::pi;
        };
        const double a1 = angle(start), a2 = angle(end);
        double sweep = a2 - a1;
        if (m_state.Clockwise) {
            while (sweep >= 0)
                sweep -= 360;
        } else {
            while (sweep <= 0)
                sweep += 360;
        }
        QPainterPath path;
        if (kind == 2) // pie
            path.moveTo(c);
        else
            path.arcMoveTo(r, a1);
        path.arcTo(r, a1, sweep);
        if (kind != 0)
            path.closeSubpath();
        Draw(path, kind != 0);
    }

    void FillRect(const QRectF &r, const QBrush &brush)
    {
        if (!m_valid || m_inPath)
            return;
        UsePainterMapping();
        m_painter.fillRect(r.normalized(), brush);
    }

    void PatBlt(const QRectF &r, std::uint32_t rop)
    {
        switch ((rop >> 16) & 0xFF) {
        case 0xF0: // the brush
            if (!m_state.Brush.Null())
                FillRect(r, MakeBrush());
            break;
        case 0x00: FillRect(r, Qt::black); break;
        case 0xFF: FillRect(r, Qt::white); break;
        default: break;
        }
    }

    void Pixel(const QPointF &at, const QColor &color)
    {
        if (!m_valid || m_inPath)
            return;
        const QPointF p = m_transform.map(at);
        m_painter.setTransform(m_outer);
        m_painter.fillRect(QRectF(std::floor(p.x()), std::floor(p.y()), 1, 1), color);
    }

    // The part src of the image in the logical rectangle dest; a negative
    // width or height of dest mirrors it.
    void Image(QImage image, const QRectF &dest, QRectF src, bool bottomUp, std::uint32_t rop)
    {
        if (image.isNull() || !m_valid || m_inPath)
            return;
        if (src.width() <= 0 || src.height() <= 0)
            src = QRectF(0, 0, image.width(), image.height());
        else if (bottomUp) // the source's y counts from the bitmap's bottom row
            src.moveTop(image.height() - src.top() - src.height());
        image = image.mirrored(dest.width() < 0, dest.height() < 0);
        if (dest.width() < 0)
            src.moveLeft(image.width() - src.left() - src.width());
        if (dest.height() < 0)
            src.moveTop(image.height() - src.top() - src.height());
        const QRectF onTarget = m_transform.mapRect(dest.normalized());
        m_painter.setTransform(m_outer);
        m_painter.setCompositionMode(BlitMode(rop));
        m_painter.drawImage(onTarget, image, src);
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }

    void Text(QPointF at, const QString &text, std::optional<QRectF> rect, std::uint32_t options,
              const std::vector<double> &dx)
    {
        if (!m_valid || m_inPath)
            return;
        const TDcState &s = m_state;
        if (s.TextAlign & TaUpdateCp)
            at = s.Position;
        if (rect && (options & EtoOpaque))
            FillRect(*rect, s.BkColor);
        if (text.isEmpty())
            return;
        // Glyphs stay upright whichever way the mapping turns the axes: the
        // font is sized and the text placed on the target's axes.
        const double sx = std::hypot(m_transform.m11(), m_transform.m12());
        const double sy = std::hypot(m_transform.m21(), m_transform.m22());
        TFont font;
        font.Name = s.Font.Face.isEmpty() ? QStringLiteral("Arial") : s.Font.Face;
        const double height = s.Font.Height != 0 ? s.Font.Height * sy : -13;
        font.Height = static_cast<int>(std::clamp(std::round(height), -4000.0, 4000.0));
        if (font.Height == 0)
            font.Height = -1;
        font.Style = (s.Font.Weight >= 600 ? fs::Bold : 0) | (s.Font.Italic ? fs::Italic : 0)
                     | (s.Font.Underline ? fs::Underline : 0) | (s.Font.StrikeOut ? fs::StrikeOut : 0);
        const QFont qfont = MakeQFont(font, 96);
        const QFontMetricsF metrics(qfont);
        double width = 0;
        const bool spaced = dx.size() == size_t(text.size());
        if (spaced) {
            for (double d : dx)
                width += d * sx;
        } else {
            width = metrics.horizontalAdvance(text);
        }
        double x = 0;
        if ((s.TextAlign & TaHorizontal) == TaHorizontal)
            x = -width / 2;
        else if ((s.TextAlign & TaHorizontal) == TaRight)
            x = -width;
        double baseline = metrics.ascent();
        if ((s.TextAlign & TaVertical) == TaVertical)
            baseline = 0;
        else if ((s.TextAlign & TaVertical) == TaBottom)
            baseline = -metrics.descent();

        m_painter.save();
        if (rect && (options & EtoClipped)) {
            UsePainterMapping();
            m_painter.setClipRect(rect->normalized(), Qt::IntersectClip);
        }
        const QPointF origin = m_transform.map(at);
        QTransform place;
        place.translate(origin.x(), origin.y());
        place.rotate(-s.Font.Escapement / 10.0);
        m_painter.setTransform(place * m_outer);
        m_painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        if (s.BkMode == BkOpaque)
            m_painter.fillRect(QRectF(x, baseline - metrics.ascent(), width, metrics.ascent() + metrics.descent()), s.BkColor);
        m_painter.setFont(qfont);
        m_painter.setPen(s.TextColor);
        if (spaced) {
            double offset = x;
            for (qsizetype i = 0; i < text.size(); ++i) {
                m_painter.drawText(QPointF(offset, baseline), QString(text[i]));
                offset += dx[size_t(i)] * sx;
            }
        } else {
            m_painter.drawText(QPointF(x, baseline), text);
        }
        m_painter.restore();
        if (s.TextAlign & TaUpdateCp) {
            const double along = m_transform.m11() != 0 ? width / m_transform.m11() : 0;
            m_state.Position.rx() += (s.TextAlign & TaHorizontal) == TaRight ? -along : along;
        }
    }

    void EndPathOp(bool fill, bool stroke)
    {
        m_inPath = false;
        QPainterPath path = m_path;
        m_path = QPainterPath();
        Draw(path, fill, stroke);
    }

    // ------------------------------------------------------------ WMF

    static QPointF PointS(TMetafileParams &p, qsizetype at) { return QPointF(p.I16(at), p.I16(at + 2)); }
    // Four values stored last first: bottom, right, top, left.
    static QRectF ReversedRect(TMetafileParams &p, qsizetype at)
    {
        return QRectF(QPointF(p.I16(at + 6), p.I16(at + 4)), QPointF(p.I16(at + 2), p.I16(at)));
    }
    // Two values stored last first: y, x.
    static QPointF ReversedPoint(TMetafileParams &p, qsizetype at) { return QPointF(p.I16(at + 2), p.I16(at)); }

    bool WmfPoints(TMetafileParams &p, qsizetype at, std::uint64_t count, QPolygonF &points)
    {
        if (!p.Holds(at, count, 4))
            return false;
        points.reserve(qsizetype(count));
        for (std::uint64_t i = 0; i < count; ++i)
            points << PointS(p, at + 4 * qsizetype(i));
        return true;
    }

    bool WmfText(TMetafileParams &p, bool extended)
    {
        if (!extended) {
            const int length = p.I16(0);
            if (length < 0 || !p.Holds(2, std::uint64_t(length), 1))
                return false;
            const qsizetype after = 2 + ((length + 1) & ~1);
            Text(ReversedPoint(p, after), DecodeText(p.Bytes(2, length), m_state.Font.Charset), std::nullopt, 0, {});
            return true;
        }
        const QPointF at = ReversedPoint(p, 0);
        const int length = p.I16(4);
        const std::uint32_t options = p.U16(6);
        qsizetype from = 8;
        std::optional<QRectF> rect;
        if (options & (EtoOpaque | EtoClipped)) {
            rect = QRectF(QPointF(p.I16(8), p.I16(10)), QPointF(p.I16(12), p.I16(14)));
            from = 16;
        }
        if (length < 0 || !p.Holds(from, std::uint64_t(length), 1))
            return false;
        std::vector<double> dx;
        const qsizetype dxAt = from + ((length + 1) & ~1);
        if (p.Holds(dxAt, std::uint64_t(length), 2)) {
            dx.reserve(size_t(length));
            for (int i = 0; i < length; ++i)
                dx.push_back(p.I16(dxAt + 2 * i));
        }
        Text(at, DecodeText(p.Bytes(from, length), m_state.Font.Charset), rect, options, dx);
        return true;
    }

    bool WmfRecord(std::uint16_t function, TMetafileParams &p)
    {
        TDcState &s = m_state;
        switch (function) {
        case wmf::SetWindowOrg:
            s.WindowOrg = ReversedPoint(p, 0);
            UpdateTransform();
            break;
        case wmf::SetWindowExt:
            s.WindowExt = ReversedPoint(p, 0);
            UpdateTransform();
            break;
        case wmf::OffsetWindowOrg:
            s.WindowOrg += ReversedPoint(p, 0);
            UpdateTransform();
            break;
        case wmf::ScaleWindowExt: {
            const int yDenom = p.I16(0), yNum = p.I16(2), xDenom = p.I16(4), xNum = p.I16(6);
            if (xDenom != 0 && yDenom != 0) {
                s.WindowExt = QPointF(s.WindowExt.x() * xNum / xDenom, s.WindowExt.y() * yNum / yDenom);
                UpdateTransform();
            }
            break;
        }
        case wmf::SaveDC: SaveDC(); break;
        case wmf::RestoreDC: RestoreDC(p.I16(0)); break;
        case wmf::CreatePenIndirect: {
            TGdiPen pen{p.U16(0), double(p.I16(2)), ColorRef(p.U32(6)), {}};
            return p.Ok() && Create(pen);
        }
        case wmf::CreateBrushIndirect: {
            TGdiBrush brush{p.U16(0), ColorRef(p.U32(2)), p.U16(6), {}};
            if (brush.Style == BsPattern || brush.Style == BsDibPattern || brush.Style == BsDibPatternPt)
                brush.Style = 0; // a pattern without its bitmap: its colour stands in
            return p.Ok() && Create(brush);
        }
        case wmf::DibCreatePatternBrush: {
            TGdiBrush brush{0, Qt::gray, 0, {}};
            if (p.U16(0) != BsPattern && p.Size() > 4) {
                bool damaged = false;
                brush.Pattern = PackedDibImage(p.Bytes(4, p.Size() - 4), damaged);
            }
            return p.Ok() && Create(brush);
        }
        case wmf::CreateFontIndirect: {
            TGdiFont font;
            font.Height = p.I16(0);
            font.Escapement = p.I16(4);
            font.Weight = p.I16(8);
            font.Italic = p.U8(10);
            font.Underline = p.U8(11);
            font.StrikeOut = p.U8(12);
            font.Charset = p.U8(13);
            if (p.Size() > 18)
                font.Face = DecodeText(p.Bytes(18, std::min<qsizetype>(32, p.Size() - 18)), 204).trimmed();
            return p.Ok() && Create(font);
        }
        case wmf::CreatePalette:
        case wmf::CreatePatternBrush:
        case wmf::CreateRegion:
            return Create(TGdiOther{});
        case wmf::SelectObject: return Select(p.U16(0));
        case wmf::DeleteObject: return Delete(p.U16(0));
        case wmf::SetTextColor: s.TextColor = ColorRef(p.U32(0)); break;
        case wmf::SetBkColor: s.BkColor = ColorRef(p.U32(0)); break;
        case wmf::SetBkMode: s.BkMode = p.U16(0); break;
        case wmf::SetTextAlign: s.TextAlign = p.U16(0); break;
        case wmf::SetPolyFillMode: s.FillRule = p.U16(0) == FillWinding ? Qt::WindingFill : Qt::OddEvenFill; break;
        case wmf::MoveTo: MoveTo(ReversedPoint(p, 0)); break;
        case wmf::LineTo: LineTo(ReversedPoint(p, 0)); break;
        case wmf::Polyline:
        case wmf::Polygon: {
            const int count = p.I16(0);
            QPolygonF points;
            if (count < 0 || !WmfPoints(p, 2, std::uint64_t(count), points))
                return false;
            Poly(points, function == wmf::Polygon);
            break;
        }
        case wmf::PolyPolygon: {
            const int count = p.U16(0);
            if (!p.Holds(2, std::uint64_t(count), 2))
                return false;
            std::vector<QPolygonF> polygons(static_cast<size_t>(count));
            qsizetype at = 2 + 2 * qsizetype{count};
            for (int i = 0; i < count; ++i) {
                const int n = p.U16(2 + 2 * i);
                if (!WmfPoints(p, at, std::uint64_t(n), polygons[size_t(i)]))
                    return false;
                at += 4 * qsizetype{n};
            }
            PolyPoly(polygons, true);
            break;
        }
        case wmf::Rectangle: {
            QPainterPath path;
            path.addRect(ReversedRect(p, 0).normalized());
            Draw(path, true);
            break;
        }
        case wmf::RoundRect: {
            const double h = p.I16(0), w = p.I16(2);
            QPainterPath path;
            path.addRoundedRect(ReversedRect(p, 4).normalized(), std::abs(w) / 2, std::abs(h) / 2);
            Draw(path, true);
            break;
        }
        case wmf::Ellipse: {
            QPainterPath path;
            path.addEllipse(ReversedRect(p, 0).normalized());
            Draw(path, true);
            break;
        }
        case wmf::Arc:
        case wmf::Pie:
        case wmf::Chord:
            ArcShape(ReversedRect(p, 8), ReversedPoint(p, 4), ReversedPoint(p, 0),
                     function == wmf::Arc ? 0 : function == wmf::Pie ? 2 : 1);
            break;
        case wmf::SetPixel: Pixel(ReversedPoint(p, 4), ColorRef(p.U32(0))); break;
        case wmf::TextOut: return WmfText(p, false);
        case wmf::ExtTextOut: return WmfText(p, true);
        case wmf::PatBlt:
            PatBlt(QRectF(p.I16(10), p.I16(8), p.I16(6), p.I16(4)), p.U32(0));
            break;
        case wmf::StretchDib: {
            const QRectF dest(p.I16(20), p.I16(18), p.I16(16), p.I16(14));
            const QRectF src(p.I16(12), p.I16(10), p.I16(8), p.I16(6));
            return WmfDib(p, 22, dest, src, p.U32(0), p.U16(4));
        }
        case wmf::DibStretchBlt:
            if (p.Size() <= 22) {
                PatBlt(QRectF(p.I16(20), p.I16(18), p.I16(16), p.I16(14)), p.U32(0));
                break;
            }
            return WmfDib(p, 20, QRectF(p.I16(18), p.I16(16), p.I16(14), p.I16(12)),
                          QRectF(p.I16(10), p.I16(8), p.I16(6), p.I16(4)), p.U32(0), 0);
        case wmf::DibBitBlt:
            if (p.Size() <= 18) {
                PatBlt(QRectF(p.I16(16), p.I16(14), p.I16(12), p.I16(10)), p.U32(0));
                break;
            }
            return WmfDib(p, 16, QRectF(p.I16(14), p.I16(12), p.I16(10), p.I16(8)),
                          QRectF(p.I16(6), p.I16(4), p.I16(10), p.I16(8)), p.U32(0), 0);
        case wmf::IntersectClipRect: ClipWith(RectPath(ReversedRect(p, 0)), 1); break;
        case wmf::ExcludeClipRect: ClipWith(RectPath(ReversedRect(p, 0)), 4); break;
        default: break; // mapping modes, viewport, raster modes and the rest: nothing to draw
        }
        return true;
    }

    bool WmfDib(TMetafileParams &p, qsizetype at, const QRectF &dest, const QRectF &src, std::uint32_t rop, int usage)
    {
        if (usage != 0) // colours as palette indices: nothing to show them with
            return true;
        bool damaged = false;
        const QByteArray dib = p.Bytes(at, p.Size() - at);
        const QImage image = PackedDibImage(dib, damaged);
        if (damaged)
            return false;
        const bool bottomUp = dib.size() >= 12 && (qFromLittleEndian<quint32>(dib.constData()) == 12
                                                     || qFromLittleEndian<qint32>(dib.constData() + 8) > 0);
        Image(image, dest, src, bottomUp, rop);
        return true;
    }

    // ------------------------------------------------------------ EMF

    static QPointF PointL(TMetafileParams &p, qsizetype at) { return QPointF(p.I32(at), p.I32(at + 4)); }
    static QRectF RectL(TMetafileParams &p, qsizetype at) { return QRectF(PointL(p, at), PointL(p, at + 8)); }

    // count points from at, 32-bit or 16-bit.
    static bool EmfPoints(TMetafileParams &p, qsizetype at, std::uint64_t count, bool small, QPolygonF &points)
    {
        const int size = small ? 4 : 8;
        if (!p.Holds(at, count, size))
            return false;
        points.reserve(qsizetype(count));
        for (std::uint64_t i = 0; i < count; ++i) {
            const qsizetype a = at + size * qsizetype(i);
            points << (small ? QPointF(p.I16(a), p.I16(a + 2)) : PointL(p, a));
        }
        return true;
    }

    // Bytes the record names by an offset from its start (the parameters
    // start 8 bytes in).
    static QByteArray EmfBlock(TMetafileParams &p, std::uint32_t offset, std::uint32_t size, bool &damaged)
    {
        if (size == 0)
            return {};
        if (offset < 8 || !p.Holds(qsizetype(offset) - 8, size, 1)) {
            damaged = true;
            return {};
        }
        return p.Bytes(qsizetype(offset) - 8, qsizetype(size));
    }

    bool EmfDib(TMetafileParams &p, qsizetype infoAt, const QRectF &dest, const QRectF &src, std::uint32_t rop,
                std::uint32_t usage)
    {
        const std::uint32_t offInfo = p.U32(infoAt), cbInfo = p.U32(infoAt + 4);
        const std::uint32_t offBits = p.U32(infoAt + 8), cbBits = p.U32(infoAt + 12);
        if (cbInfo == 0) { // no bitmap: the brush or a plain colour
            PatBlt(dest, rop);
            return true;
        }
        if (usage != 0)
            return true;
        bool damaged = false;
        const QByteArray info = EmfBlock(p, offInfo, cbInfo, damaged);
        const QByteArray bits = EmfBlock(p, offBits, cbBits, damaged);
        if (damaged)
            return false;
        const QImage image = DibImage(info, bits, damaged);
        if (damaged)
            return false;
        const bool bottomUp = qFromLittleEndian<quint32>(info.constData()) == 12
                              || (info.size() >= 12 && qFromLittleEndian<qint32>(info.constData() + 8) > 0);
        Image(image, dest, src, bottomUp, rop);
        return true;
    }

    bool EmfText(TMetafileParams &p, bool wide)
    {
        const QPointF at = PointL(p, 28);
        const std::uint32_t chars = p.U32(36);
        const std::uint32_t offString = p.U32(40);
        const std::uint32_t options = p.U32(44);
        std::optional<QRectF> rect;
        qsizetype dxField = 48;
        if (!(options & EtoNoRect)) {
            rect = RectL(p, 48);
            dxField = 64;
        }
        const std::uint32_t offDx = p.U32(dxField);
        if (!p.Ok())
            return false;
        bool damaged = false;
        if (wide && chars > 0x7FFFFFFFu)
            return false;
        const QByteArray bytes = EmfBlock(p, offString, wide ? 2 * chars : chars, damaged);
        if (damaged)
            return false;
        QString text;
        if (wide) {
            text = QString(qsizetype(chars), Qt::Uninitialized);
            for (std::uint32_t i = 0; i < chars; ++i)
                text[qsizetype(i)] = QChar(qFromLittleEndian<quint16>(bytes.constData() + 2 * qsizetype(i)));
            if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0)
                text.truncate(nul);
        } else {
            text = DecodeText(bytes, m_state.Font.Charset);
        }
        std::vector<double> dx;
        const int step = (options & EtoPdy) ? 8 : 4;
        if (offDx >= 8 && p.Holds(qsizetype(offDx) - 8, chars, step)) {
            dx.reserve(chars);
            for (std::uint32_t i = 0; i < chars; ++i)
                dx.push_back(p.I32(qsizetype(offDx) - 8 + step * qsizetype(i)));
        }
        if (options & EtoGlyphIndex) // glyph numbers of a font we do not have
            text.clear();
        Text(at, text, rect, options, dx);
        return true;
    }

    bool EmfRecord(std::uint32_t type, TMetafileParams &p)
    {
        TDcState &s = m_state;
        switch (type) {
        case emr::SetWindowExtEx:
            s.WindowExt = PointL(p, 0);
            UpdateTransform();
            break;
        case emr::SetWindowOrgEx:
            s.WindowOrg = PointL(p, 0);
            UpdateTransform();
            break;
        case emr::SetViewportExtEx:
            s.ViewportExt = PointL(p, 0);
            UpdateTransform();
            break;
        case emr::SetViewportOrgEx:
            s.ViewportOrg = PointL(p, 0);
            UpdateTransform();
            break;
        case emr::SetMapMode:
            s.MapMode = int(p.U32(0));
            UpdateTransform();
            break;
        case emr::SaveDC: SaveDC(); break;
        case emr::RestoreDC: RestoreDC(p.I32(0)); break;
        case emr::SetWorldTransform:
        case emr::ModifyWorldTransform: {
            const QTransform x(p.F32(0), p.F32(4), p.F32(8), p.F32(12), p.F32(16), p.F32(20));
            const std::uint32_t mode = type == emr::SetWorldTransform ? 4 : p.U32(24);
            switch (mode) {
            case 1: s.World = QTransform(); break;
            case 2: s.World = x * s.World; break; // the new transform applies first
            case 3: s.World = s.World * x; break;
            case 4: s.World = x; break;
            default: break;
            }
            UpdateTransform();
            break;
        }
        case emr::CreatePen: {
            TGdiPen pen{int(p.U32(4)), double(p.I32(8)), ColorRef(p.U32(16)), {}};
            return p.Ok() && CreateAt(p.U32(0), pen);
        }
        case emr::ExtCreatePen: {
            const std::uint32_t style = p.U32(20);
            TGdiPen pen{int(style), (style & PsGeometric) ? double(p.U32(24)) : 0.0, ColorRef(p.U32(32)), {}};
            if (p.U32(28) == BsNull)
                pen.Style = PsNull;
            const std::uint32_t entries = p.U32(40);
            if ((style & 0xF) == PsUserStyle && entries > 0 && entries <= 16 && p.Holds(44, entries, 4)) {
                const double unit = pen.Width > 0 ? pen.Width : 1;
                for (std::uint32_t i = 0; i < entries; ++i)
                    pen.Dashes << std::max(1.0, p.U32(44 + 4 * qsizetype(i)) / unit);
                if (pen.Dashes.size() % 2) { // an odd list repeats with dashes and gaps swapped
                    const QList<qreal> once = pen.Dashes;
                    pen.Dashes << once;
                }
            }
            return p.Ok() && CreateAt(p.U32(0), pen);
        }
        case emr::CreateBrushIndirect: {
            TGdiBrush brush{int(p.U32(4)), ColorRef(p.U32(8)), int(p.U32(12)), {}};
            if (brush.Style != BsNull && brush.Style != BsHatched)
                brush.Style = 0;
            return p.Ok() && CreateAt(p.U32(0), brush);
        }
        case emr::CreateDibPatternBrushPt: {
            bool damaged = false;
            const QByteArray info = EmfBlock(p, p.U32(8), p.U32(12), damaged);
            const QByteArray bits = EmfBlock(p, p.U32(16), p.U32(20), damaged);
            TGdiBrush brush{0, Qt::gray, 0, {}};
            if (!damaged)
                brush.Pattern = DibImage(info, bits, damaged);
            return p.Ok() && !damaged && CreateAt(p.U32(0), brush);
        }
        case emr::ExtCreateFontIndirectW: {
            TGdiFont font;
            font.Height = p.I32(4);
            font.Escapement = p.I32(12);
            font.Weight = p.I32(20);
            font.Italic = p.U8(24);
            font.Underline = p.U8(25);
            font.StrikeOut = p.U8(26);
            font.Charset = p.U8(27);
            QString face;
            for (int i = 0; i < 32 && p.Holds(32 + 2 * i, 1, 2); ++i) {
                const char16_t c = p.U16(32 + 2 * i);
                if (c == 0)
                    break;
                face += QChar(c);
            }
            if (!face.isEmpty())
                font.Face = face;
            return p.Ok() && CreateAt(p.U32(0), font);
        }
        case emr::SelectObject: return Select(p.U32(0));
        case emr::DeleteObject: return Delete(p.U32(0));
        case emr::SetTextColor: s.TextColor = ColorRef(p.U32(0)); break;
        case emr::SetBkColor: s.BkColor = ColorRef(p.U32(0)); break;
        case emr::SetBkMode: s.BkMode = int(p.U32(0)); break;
        case emr::SetTextAlign: s.TextAlign = p.U32(0); break;
        case emr::SetPolyFillMode: s.FillRule = p.U32(0) == FillWinding ? Qt::WindingFill : Qt::OddEvenFill; break;
        case emr::SetArcDirection: s.Clockwise = p.U32(0) == 2; break;
        case emr::MoveToEx: MoveTo(PointL(p, 0)); break;
        case emr::LineTo: LineTo(PointL(p, 0)); break;
        case emr::SetPixelV: Pixel(PointL(p, 0), ColorRef(p.U32(8))); break;
        case emr::PolyBezier:
        case emr::Polygon:
        case emr::Polyline:
        case emr::PolyBezierTo:
        case emr::PolylineTo:
        case emr::PolyBezier16:
        case emr::Polygon16:
        case emr::Polyline16:
        case emr::PolyBezierTo16:
        case emr::PolylineTo16: {
            const bool small = type >= emr::PolyBezier16;
            const std::uint32_t kind = small ? type - emr::PolyBezier16 + emr::PolyBezier : type;
            QPolygonF points;
            if (!EmfPoints(p, 20, p.U32(16), small, points))
                return false;
            switch (kind) {
            case emr::PolyBezier: Bezier(points); break;
            case emr::Polygon: Poly(points, true); break;
            case emr::Polyline: Poly(points, false); break;
            case emr::PolyBezierTo: PolyTo(points, true); break;
            case emr::PolylineTo: PolyTo(points, false); break;
            default: break;
            }
            break;
        }
        case emr::PolyPolyline:
        case emr::PolyPolygon:
        case emr::PolyPolyline16:
        case emr::PolyPolygon16: {
            const bool small = type == emr::PolyPolyline16 || type == emr::PolyPolygon16;
            const std::uint32_t polys = p.U32(16), total = p.U32(20);
            if (!p.Holds(24, polys, 4))
                return false;
            const qsizetype pointsAt = 24 + 4 * qsizetype(polys);
            std::uint64_t sum = 0;
            for (std::uint32_t i = 0; i < polys; ++i)
                sum += p.U32(24 + 4 * qsizetype(i));
            if (sum > total || !p.Holds(pointsAt, total, small ? 4 : 8))
                return false;
            std::vector<QPolygonF> polygons(polys);
            qsizetype at = pointsAt;
            for (std::uint32_t i = 0; i < polys; ++i) {
                const std::uint32_t n = p.U32(24 + 4 * qsizetype(i));
                EmfPoints(p, at, n, small, polygons[i]);
                at += qsizetype(n) * (small ? 4 : 8);
            }
            PolyPoly(polygons, type == emr::PolyPolygon || type == emr::PolyPolygon16);
            break;
        }
        case emr::Rectangle: {
            QPainterPath path;
            path.addRect(RectL(p, 0).normalized());
            Draw(path, true);
            break;
        }
        case emr::RoundRect: {
            QPainterPath path;
            path.addRoundedRect(RectL(p, 0).normalized(), std::abs(p.I32(16)) / 2.0, std::abs(p.I32(20)) / 2.0);
            Draw(path, true);
            break;
        }
        case emr::Ellipse: {
            QPainterPath path;
            path.addEllipse(RectL(p, 0).normalized());
            Draw(path, true);
            break;
        }
        case emr::Arc:
        case emr::Chord:
        case emr::Pie:
            ArcShape(RectL(p, 0), PointL(p, 16), PointL(p, 24), type == emr::Arc ? 0 : type == emr::Pie ? 2 : 1);
            break;
        case emr::BeginPath:
            m_inPath = true;
            m_path = QPainterPath();
            break;
        case emr::EndPath: m_inPath = false; break;
        case emr::AbortPath:
            m_inPath = false;
            m_path = QPainterPath();
            break;
        case emr::CloseFigure: m_path.closeSubpath(); break;
        case emr::FillPath: EndPathOp(true, false); break;
        case emr::StrokePath: EndPathOp(false, true); break;
        case emr::StrokeAndFillPath: EndPathOp(true, true); break;
        case emr::SelectClipPath:
            m_inPath = false;
            ClipWith(m_path, int(p.U32(0)));
            m_path = QPainterPath();
            break;
        case emr::IntersectClipRect: ClipWith(RectPath(RectL(p, 0)), 1); break;
        case emr::ExcludeClipRect: ClipWith(RectPath(RectL(p, 0)), 4); break;
        case emr::ExtTextOutW: return EmfText(p, true);
        case emr::ExtTextOutA: return EmfText(p, false);
        case emr::StretchDIBits:
            return EmfDib(p, 40, QRectF(p.I32(16), p.I32(20), p.I32(64), p.I32(68)),
                          QRectF(p.I32(24), p.I32(28), p.I32(32), p.I32(36)), p.U32(60), p.U32(56));
        case emr::BitBlt:
        case emr::StretchBlt: {
            const QRectF dest(p.I32(16), p.I32(20), p.I32(24), p.I32(28));
            const QRectF src(p.I32(36), p.I32(40), type == emr::StretchBlt ? p.I32(92) : p.I32(24),
                             type == emr::StretchBlt ? p.I32(96) : p.I32(28));
            return EmfDib(p, 76, dest, src, p.U32(32), p.U32(72));
        }
        default: break;
        }
        return true;
    }

    QPainter &m_painter;
    const TMetafileHeader &m_header;
    QRectF m_frame;
    QRectF m_target;
    QTransform m_outer;
    bool m_wmf = true;
    TDcState m_state;
    std::vector<TDcState> m_saved;
    std::vector<TGdiObject> m_objects;
    size_t m_firstFree = 0;
    QPainterPath m_base;
    QTransform m_transform;
    double m_scale = 0;
    bool m_valid = false;
    bool m_damaged = false;
    bool m_inPath = false;
    QPainterPath m_path;
};

} // namespace

bool PlayMetafile(QPainter &painter, const QByteArray &bytes, const QRectF &target)
{
    const std::optional<TMetafileHeader> header = ReadMetafileHeader(bytes);
    const std::optional<TMetafileFrame> frame = ReadMetafileFrame(bytes);
    if (!header || !frame)
        return false;
    if (frame->Logical.width() == 0 || frame->Logical.height() == 0 || target.isEmpty())
        return true; // nothing known to map: nothing drawn
    painter.save();
    bool played = false;
    {
        TMetafilePlayer player(painter, *header, frame->Logical, target);
        played = ForEachMetafileRecord(bytes, *header, [&player](TMetafileRecord &record) { return player.Record(record); });
    }
    painter.restore();
    return played;
}

QImage MetafileImage(const QByteArray &bytes, const QSize &size)
{
    if (MetafileType(bytes) == TMetafileType::None || size.isEmpty())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    PlayMetafile(painter, bytes, QRectF(0, 0, size.width(), size.height()));
    return image;
}
