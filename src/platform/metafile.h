#pragma once
// Windows metafiles as report templates keep them: the two kinds (the
// 16-bit WMF, with or without its placeable header, and the 32-bit EMF), a
// checked walk over their records, and the area a picture covers. Drawing
// them is the player's work (ui/metafile_player.h); this part needs no
// painter, so the report engine can size a picture without one.
//
// Every read here is checked against the bytes there are: a damaged file
// ends the walk where the damage starts, never reads past its buffer.
#include "platform/canvas.h"

#include <QtCore/QByteArray>
#include <QtCore/QRectF>
#include <QtCore/QString>

#include <cstdint>
#include <functional>
#include <optional>

enum class TMetafileType { None, Wmf, Emf };

// The kind told by the content: an enhanced metafile starts with its header
// record (" EMF" at 40); a WMF with the placeable key or a memory or disk
// header of nine words.
TMetafileType MetafileType(const QByteArray &bytes);
// The same as "EMF" or "WMF", empty for anything else (the words the
// designer shows).
QString MetafileKind(const QByteArray &bytes);

// A record's parameters, read little-endian. A read past their end gives 0
// and clears Ok, so a handler reads what it needs and checks once.
class TMetafileParams
{
public:
    TMetafileParams(const char *data, qsizetype size) : m_data(data), m_size(size) {}

    qsizetype Size() const { return m_size; }
    const char *Data() const { return m_data; }
    bool Ok() const { return m_ok; }
    void Fail() { m_ok = false; }
    // True when count items of itemSize bytes fit from at on.
    bool Holds(qsizetype at, std::uint64_t count, qsizetype itemSize) const
    {
        return at >= 0 && at <= m_size && itemSize > 0 && count <= static_cast<std::uint64_t>((m_size - at) / itemSize);
    }

    std::uint8_t U8(qsizetype at);
    std::uint16_t U16(qsizetype at);
    std::int16_t I16(qsizetype at) { return static_cast<std::int16_t>(U16(at)); }
    std::uint32_t U32(qsizetype at);
    std::int32_t I32(qsizetype at) { return static_cast<std::int32_t>(U32(at)); }
    float F32(qsizetype at);
    // size bytes from at, empty (and Ok cleared) when they are not all there.
    QByteArray Bytes(qsizetype at, qsizetype size);

private:
    bool Has(qsizetype at, qsizetype size);

    const char *m_data;
    qsizetype m_size;
    bool m_ok = true;
};

// One record: the WMF function or EMF type, and the parameters after the
// record's size and type fields.
struct TMetafileRecord
{
    std::uint32_t Type = 0;
    TMetafileParams Params;
};

// Where a stream's records begin, with what its header tells.
struct TMetafileHeader
{
    TMetafileType Type = TMetafileType::None;
    qsizetype FirstRecord = 0;
    // WMF: the placeable header's box in logical units and units per inch.
    std::optional<QRectF> PlaceableBox;
    int UnitsPerInch = 0;
    // WMF: the size of the object table the header asks for.
    int ObjectCount = 0;
    // EMF: bounds in reference-device pixels, frame in 0.01 mm (both
    // inclusive), the reference device in pixels and millimetres, handles.
    QRectF Bounds;
    QRectF Frame;
    QSizeF DevicePixels;
    QSizeF DeviceMillimeters;
    int HandleCount = 0;
};

// The header, or nothing when the bytes are no metafile or their header is cut.
std::optional<TMetafileHeader> ReadMetafileHeader(const QByteArray &bytes);

// Calls visit for each record after the header until the end record; stops
// early when visit returns false. False when the stream is damaged (a record
// size too small or past the end, no end record) or visit stopped it.
bool ForEachMetafileRecord(const QByteArray &bytes, const TMetafileHeader &header,
                           const std::function<bool(TMetafileRecord &)> &visit);

// The area a metafile covers and its size on a 96-dpi screen.
struct TMetafileFrame
{
    // In the picture's own units: a WMF's placeable box, else its window
    // (SetWindowOrg/SetWindowExt), else the bounds of what it draws; an
    // EMF's frame in reference-device pixels.
    QRectF Logical;
    // 0 when not known.
    TSize Pixels;
};

std::optional<TMetafileFrame> ReadMetafileFrame(const QByteArray &bytes);

// WMF record functions and EMF record types the walk and the player know.
namespace wmf {
constexpr std::uint16_t Eof = 0x0000;
constexpr std::uint16_t SaveDC = 0x001E;
constexpr std::uint16_t CreatePalette = 0x00F7;
constexpr std::uint16_t SetBkMode = 0x0102;
constexpr std::uint16_t SetMapMode = 0x0103;
constexpr std::uint16_t SetRop2 = 0x0104;
constexpr std::uint16_t SetPolyFillMode = 0x0106;
constexpr std::uint16_t RestoreDC = 0x0127;
constexpr std::uint16_t SelectObject = 0x012D;
constexpr std::uint16_t SetTextAlign = 0x012E;
constexpr std::uint16_t DibCreatePatternBrush = 0x0142;
constexpr std::uint16_t DeleteObject = 0x01F0;
constexpr std::uint16_t CreatePatternBrush = 0x01F9;
constexpr std::uint16_t SetBkColor = 0x0201;
constexpr std::uint16_t SetTextColor = 0x0209;
constexpr std::uint16_t SetWindowOrg = 0x020B;
constexpr std::uint16_t SetWindowExt = 0x020C;
constexpr std::uint16_t SetViewportOrg = 0x020D;
constexpr std::uint16_t SetViewportExt = 0x020E;
constexpr std::uint16_t OffsetWindowOrg = 0x020F;
constexpr std::uint16_t LineTo = 0x0213;
constexpr std::uint16_t MoveTo = 0x0214;
constexpr std::uint16_t CreatePenIndirect = 0x02FA;
constexpr std::uint16_t CreateFontIndirect = 0x02FB;
constexpr std::uint16_t CreateBrushIndirect = 0x02FC;
constexpr std::uint16_t Polygon = 0x0324;
constexpr std::uint16_t Polyline = 0x0325;
constexpr std::uint16_t ScaleWindowExt = 0x0410;
constexpr std::uint16_t ExcludeClipRect = 0x0415;
constexpr std::uint16_t IntersectClipRect = 0x0416;
constexpr std::uint16_t Ellipse = 0x0418;
constexpr std::uint16_t Rectangle = 0x041B;
constexpr std::uint16_t SetPixel = 0x041F;
constexpr std::uint16_t TextOut = 0x0521;
constexpr std::uint16_t PolyPolygon = 0x0538;
constexpr std::uint16_t RoundRect = 0x061C;
constexpr std::uint16_t PatBlt = 0x061D;
constexpr std::uint16_t CreateRegion = 0x06FF;
constexpr std::uint16_t Arc = 0x0817;
constexpr std::uint16_t Pie = 0x081A;
constexpr std::uint16_t Chord = 0x0830;
constexpr std::uint16_t ExtTextOut = 0x0A32;
constexpr std::uint16_t DibBitBlt = 0x0940;
constexpr std::uint16_t DibStretchBlt = 0x0B41;
constexpr std::uint16_t StretchDib = 0x0F43;
} // namespace wmf

namespace emr {
constexpr std::uint32_t Header = 1;
constexpr std::uint32_t PolyBezier = 2;
constexpr std::uint32_t Polygon = 3;
constexpr std::uint32_t Polyline = 4;
constexpr std::uint32_t PolyBezierTo = 5;
constexpr std::uint32_t PolylineTo = 6;
constexpr std::uint32_t PolyPolyline = 7;
constexpr std::uint32_t PolyPolygon = 8;
constexpr std::uint32_t SetWindowExtEx = 9;
constexpr std::uint32_t SetWindowOrgEx = 10;
constexpr std::uint32_t SetViewportExtEx = 11;
constexpr std::uint32_t SetViewportOrgEx = 12;
constexpr std::uint32_t Eof = 14;
constexpr std::uint32_t SetPixelV = 15;
constexpr std::uint32_t SetMapMode = 17;
constexpr std::uint32_t SetBkMode = 18;
constexpr std::uint32_t SetPolyFillMode = 19;
constexpr std::uint32_t SetTextAlign = 22;
constexpr std::uint32_t SetTextColor = 24;
constexpr std::uint32_t SetBkColor = 25;
constexpr std::uint32_t MoveToEx = 27;
constexpr std::uint32_t ExcludeClipRect = 29;
constexpr std::uint32_t IntersectClipRect = 30;
constexpr std::uint32_t SaveDC = 33;
constexpr std::uint32_t RestoreDC = 34;
constexpr std::uint32_t SetWorldTransform = 35;
constexpr std::uint32_t ModifyWorldTransform = 36;
constexpr std::uint32_t SelectObject = 37;
constexpr std::uint32_t CreatePen = 38;
constexpr std::uint32_t CreateBrushIndirect = 39;
constexpr std::uint32_t DeleteObject = 40;
constexpr std::uint32_t Ellipse = 42;
constexpr std::uint32_t Rectangle = 43;
constexpr std::uint32_t RoundRect = 44;
constexpr std::uint32_t Arc = 45;
constexpr std::uint32_t Chord = 46;
constexpr std::uint32_t Pie = 47;
constexpr std::uint32_t LineTo = 54;
constexpr std::uint32_t SetArcDirection = 57;
constexpr std::uint32_t BeginPath = 59;
constexpr std::uint32_t EndPath = 60;
constexpr std::uint32_t CloseFigure = 61;
constexpr std::uint32_t FillPath = 62;
constexpr std::uint32_t StrokeAndFillPath = 63;
constexpr std::uint32_t StrokePath = 64;
constexpr std::uint32_t SelectClipPath = 67;
constexpr std::uint32_t AbortPath = 68;
constexpr std::uint32_t BitBlt = 76;
constexpr std::uint32_t StretchBlt = 77;
constexpr std::uint32_t StretchDIBits = 81;
constexpr std::uint32_t ExtCreateFontIndirectW = 82;
constexpr std::uint32_t ExtTextOutA = 83;
constexpr std::uint32_t ExtTextOutW = 84;
constexpr std::uint32_t PolyBezier16 = 85;
constexpr std::uint32_t Polygon16 = 86;
constexpr std::uint32_t Polyline16 = 87;
constexpr std::uint32_t PolyBezierTo16 = 88;
constexpr std::uint32_t PolylineTo16 = 89;
constexpr std::uint32_t PolyPolyline16 = 90;
constexpr std::uint32_t PolyPolygon16 = 91;
constexpr std::uint32_t CreateDibPatternBrushPt = 94;
constexpr std::uint32_t ExtCreatePen = 95;
} // namespace emr
