#include "platform/metafile.h"

#include "platform/geometry.h"
#include "platform/numbers.h"

#include <QtCore/QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr std::uint32_t PlaceableKey = 0x9AC6CDD7u;
constexpr qsizetype PlaceableSize = 22;
constexpr qsizetype WmfHeaderSize = 18;
constexpr qsizetype EmfHeaderMinimum = 88;
constexpr std::uint32_t EmfSignature = 0x464D4520u; // " EMF"

std::uint16_t U16At(const QByteArray &bytes, qsizetype at)
{
    return at >= 0 && at + 2 <= bytes.size() ? qFromLittleEndian<quint16>(bytes.constData() + at) : 0;
}

std::uint32_t U32At(const QByteArray &bytes, qsizetype at)
{
    return at >= 0 && at + 4 <= bytes.size() ? qFromLittleEndian<quint32>(bytes.constData() + at) : 0;
}

std::int32_t I32At(const QByteArray &bytes, qsizetype at) { return static_cast<std::int32_t>(U32At(bytes, at)); }

bool WmfHeaderAt(const QByteArray &bytes, qsizetype at)
{
    return bytes.size() >= at + WmfHeaderSize && (U16At(bytes, at) == 1 || U16At(bytes, at) == 2) && U16At(bytes, at + 2) == 9;
}

// A length in some unit brought to 96-dpi pixels, held within int.
int Pixels(double length) { return std::isfinite(length) ? ClampToInt(Round(std::clamp(length, -4e9, 4e9))) : 0; }

// Millimetres per logical unit of a fixed mapping mode; 0 for the modes
// whose units the window sets.
double MillimetersPerUnit(int mapMode)
{
    switch (mapMode) {
    case 2: return 0.1;             // MM_LOMETRIC
    case 3: return 0.01;            // MM_HIMETRIC
    case 4: return 0.254;           // MM_LOENGLISH
    case 5: return 0.0254;          // MM_HIENGLISH
    case 6: return 25.4 / 1440.0;   // MM_TWIPS
    default: return 0;
    }
}

// The box around the points seen so far.
struct TBounds
{
    double Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool Any = false;
    void Add(double x, double y)
    {
        Left = Any ? std::min(Left, x) : x;
        Right = Any ? std::max(Right, x) : x;
        Top = Any ? std::min(Top, y) : y;
        Bottom = Any ? std::max(Bottom, y) : y;
        Any = true;
    }
};

// Widens box by the points a WMF drawing record touches.
void AddDrawnPoints(std::uint16_t function, TMetafileParams &p, TBounds &box)
{
    const auto add = [&box](double x, double y) { box.Add(x, y); };
    // Parameters stored last first: (bottom, right, top, left) at from.
    const auto rect = [&](qsizetype from) {
        add(p.I16(from + 6), p.I16(from + 4));
        add(p.I16(from + 2), p.I16(from));
    };
    const auto blit = [&](qsizetype x, qsizetype y, qsizetype width, qsizetype height) {
        add(p.I16(x), p.I16(y));
        add(p.I16(x) + p.I16(width), p.I16(y) + p.I16(height));
    };
    switch (function) {
    case wmf::MoveTo:
    case wmf::LineTo: add(p.I16(2), p.I16(0)); break;
    case wmf::Rectangle:
    case wmf::Ellipse: rect(0); break;
    case wmf::RoundRect: rect(4); break;
    case wmf::Arc:
    case wmf::Pie:
    case wmf::Chord: rect(8); break;
    case wmf::SetPixel: add(p.I16(6), p.I16(4)); break;
    case wmf::Polygon:
    case wmf::Polyline: {
        const int count = p.I16(0);
        if (count < 0 || !p.Holds(2, static_cast<std::uint64_t>(count), 4))
            return;
        for (int i = 0; i < count; ++i)
            add(p.I16(2 + 4 * i), p.I16(4 + 4 * i));
        break;
    }
    case wmf::PolyPolygon: {
        const int polygons = p.U16(0);
        if (!p.Holds(2, polygons, 2))
            return;
        std::uint64_t points = 0;
        for (int i = 0; i < polygons; ++i)
            points += p.U16(2 + 2 * i);
        const qsizetype from = 2 + 2 * qsizetype{polygons};
        if (!p.Holds(from, points, 4))
            return;
        for (std::uint64_t i = 0; i < points; ++i)
            add(p.I16(from + 4 * qsizetype(i)), p.I16(from + 4 * qsizetype(i) + 2));
        break;
    }
    case wmf::TextOut: {
        const int length = p.I16(0);
        if (length >= 0) {
            const qsizetype at = 2 + ((length + 1) & ~1);
            add(p.I16(at + 2), p.I16(at));
        }
        break;
    }
    case wmf::ExtTextOut: add(p.I16(2), p.I16(0)); break;
    // Bitmaps: the destination's x, y, width and height at the offsets given.
    case wmf::StretchDib: blit(20, 18, 16, 14); break;
    case wmf::DibStretchBlt: blit(18, 16, 14, 12); break;
    case wmf::DibBitBlt: blit(14, 12, 10, 8); break;
    default: break;
    }
}

std::optional<TMetafileFrame> WmfFrame(const QByteArray &bytes, const TMetafileHeader &header)
{
    if (header.PlaceableBox) {
        const double inch = header.UnitsPerInch;
        return TMetafileFrame{*header.PlaceableBox,
                              {Pixels(std::abs(header.PlaceableBox->width()) * 96.0 / inch),
                               Pixels(std::abs(header.PlaceableBox->height()) * 96.0 / inch)}};
    }
    // A plain WMF leaves its size to whoever plays it; the window it sets
    // (or failing that what it draws) is the best word on it.
    std::optional<QPointF> origin, extent;
    TBounds drawn;
    int mapMode = 0;
    ForEachMetafileRecord(bytes, header, [&](TMetafileRecord &record) {
        TMetafileParams &p = record.Params;
        if (record.Type == wmf::SetWindowOrg && !origin)
            origin = QPointF(p.I16(2), p.I16(0));
        else if (record.Type == wmf::SetWindowExt && !extent)
            extent = QPointF(p.I16(2), p.I16(0));
        else if (record.Type == wmf::SetMapMode && !extent)
            mapMode = p.U16(0);
        else if (!extent)
            AddDrawnPoints(static_cast<std::uint16_t>(record.Type), p, drawn);
        return true;
    });
    QRectF logical;
    if (extent && extent->x() != 0 && extent->y() != 0) {
        logical = QRectF(origin.value_or(QPointF()), QSizeF(extent->x(), extent->y()));
    } else if (drawn.Right > drawn.Left && drawn.Bottom > drawn.Top) {
        logical = QRectF(QPointF(drawn.Left, drawn.Top), QPointF(drawn.Right, drawn.Bottom));
    } else {
        return TMetafileFrame{};
    }
    const double mm = MillimetersPerUnit(mapMode);
    const double toPixels = mm > 0 ? mm * 96.0 / 25.4 : 1.0;
    return TMetafileFrame{logical, {Pixels(std::abs(logical.width()) * toPixels), Pixels(std::abs(logical.height()) * toPixels)}};
}

std::optional<TMetafileFrame> EmfFrame(const TMetafileHeader &header)
{
    const QRectF &frame = header.Frame;
    const QSizeF &device = header.DevicePixels;
    const QSizeF &mm = header.DeviceMillimeters;
    if (frame.width() > 0 && frame.height() > 0 && device.width() > 0 && device.height() > 0 && mm.width() > 0
        && mm.height() > 0) {
        const double sx = device.width() / (mm.width() * 100.0);
        const double sy = device.height() / (mm.height() * 100.0);
        const QRectF logical(frame.left() * sx, frame.top() * sy, frame.width() * sx, frame.height() * sy);
        return TMetafileFrame{logical, {Pixels(frame.width() * 96.0 / 2540.0), Pixels(frame.height() * 96.0 / 2540.0)}};
    }
    // Without a usable frame the bounds, inclusive, stand for it.
    const QRectF &bounds = header.Bounds;
    const QRectF logical(bounds.left(), bounds.top(), bounds.width() + 1, bounds.height() + 1);
    if (logical.width() <= 0 || logical.height() <= 0)
        return TMetafileFrame{};
    return TMetafileFrame{logical, {Pixels(logical.width()), Pixels(logical.height())}};
}

} // namespace

TMetafileType MetafileType(const QByteArray &bytes)
{
    if (bytes.size() >= 44 && U32At(bytes, 0) == 1 && U32At(bytes, 40) == EmfSignature)
        return TMetafileType::Emf;
    if (bytes.size() >= PlaceableSize && U32At(bytes, 0) == PlaceableKey)
        return TMetafileType::Wmf;
    if (WmfHeaderAt(bytes, 0))
        return TMetafileType::Wmf;
    return TMetafileType::None;
}

QString MetafileKind(const QByteArray &bytes)
{
    switch (MetafileType(bytes)) {
    case TMetafileType::Emf: return QStringLiteral("EMF");
    case TMetafileType::Wmf: return QStringLiteral("WMF");
    case TMetafileType::None: break;
    }
    return QString();
}

bool TMetafileParams::Has(qsizetype at, qsizetype size)
{
    if (at >= 0 && at <= m_size && size <= m_size - at)
        return true;
    m_ok = false;
    return false;
}

std::uint8_t TMetafileParams::U8(qsizetype at) { return Has(at, 1) ? static_cast<std::uint8_t>(m_data[at]) : 0; }

std::uint16_t TMetafileParams::U16(qsizetype at) { return Has(at, 2) ? qFromLittleEndian<quint16>(m_data + at) : 0; }

std::uint32_t TMetafileParams::U32(qsizetype at) { return Has(at, 4) ? qFromLittleEndian<quint32>(m_data + at) : 0; }

float TMetafileParams::F32(qsizetype at)
{
    const std::uint32_t bits = U32(at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return std::isfinite(value) ? value : 0.0f;
}

QByteArray TMetafileParams::Bytes(qsizetype at, qsizetype size)
{
    return size >= 0 && Has(at, size) ? QByteArray(m_data + at, size) : QByteArray();
}

std::optional<TMetafileHeader> ReadMetafileHeader(const QByteArray &bytes)
{
    TMetafileHeader header;
    header.Type = MetafileType(bytes);
    switch (header.Type) {
    case TMetafileType::None:
        return std::nullopt;
    case TMetafileType::Wmf: {
        qsizetype at = 0;
        if (U32At(bytes, 0) == PlaceableKey) {
            const auto i16 = [&bytes](qsizetype a) { return static_cast<std::int16_t>(U16At(bytes, a)); };
            header.PlaceableBox = QRectF(QPointF(i16(6), i16(8)), QPointF(i16(10), i16(12)));
            header.UnitsPerInch = U16At(bytes, 14) ? U16At(bytes, 14) : 1440;
            at = PlaceableSize;
            if (!WmfHeaderAt(bytes, at))
                return std::nullopt;
        }
        header.ObjectCount = U16At(bytes, at + 10);
        header.FirstRecord = at + 2 * qsizetype{U16At(bytes, at + 2)};
        return header;
    }
    case TMetafileType::Emf: {
        const std::uint32_t size = U32At(bytes, 4);
        if (bytes.size() < EmfHeaderMinimum || size < EmfHeaderMinimum || size > static_cast<std::uint32_t>(bytes.size()))
            return std::nullopt;
        const auto rect = [&bytes](qsizetype a) {
            return QRectF(QPointF(I32At(bytes, a), I32At(bytes, a + 4)), QPointF(I32At(bytes, a + 8), I32At(bytes, a + 12)));
        };
        header.Bounds = rect(8);
        header.Frame = rect(24);
        header.HandleCount = U16At(bytes, 56);
        header.DevicePixels = QSizeF(I32At(bytes, 72), I32At(bytes, 76));
        header.DeviceMillimeters = QSizeF(I32At(bytes, 80), I32At(bytes, 84));
        header.FirstRecord = size;
        return header;
    }
    }
    return std::nullopt;
}

bool ForEachMetafileRecord(const QByteArray &bytes, const TMetafileHeader &header,
                           const std::function<bool(TMetafileRecord &)> &visit)
{
    const bool wmf = header.Type == TMetafileType::Wmf;
    const qsizetype headSize = wmf ? 6 : 8;
    qsizetype at = header.FirstRecord;
    while (at >= 0 && at + headSize <= bytes.size()) {
        // A WMF counts its records in 16-bit words, an EMF in bytes; a size
        // smaller than the record's own fields would loop or read backwards.
        const std::uint64_t size = wmf ? 2ull * U32At(bytes, at) : U32At(bytes, at + 4);
        if (size < static_cast<std::uint64_t>(headSize) || size > static_cast<std::uint64_t>(bytes.size() - at))
            return false;
        const std::uint32_t type = wmf ? U16At(bytes, at + 4) : U32At(bytes, at);
        if ((wmf && type == wmf::Eof) || (!wmf && type == emr::Eof))
            return true;
        TMetafileRecord record{type, TMetafileParams(bytes.constData() + at + headSize, static_cast<qsizetype>(size) - headSize)};
        if (!visit(record))
            return false;
        at += static_cast<qsizetype>(size);
    }
    return false;
}

std::optional<TMetafileFrame> ReadMetafileFrame(const QByteArray &bytes)
{
    const std::optional<TMetafileHeader> header = ReadMetafileHeader(bytes);
    if (!header)
        return std::nullopt;
    return header->Type == TMetafileType::Wmf ? WmfFrame(bytes, *header) : EmfFrame(*header);
}
