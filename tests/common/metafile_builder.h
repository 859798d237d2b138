#pragma once
// Windows metafiles built record by record, for tests of the player, of
// picture sizes and of the windows that show pictures.
#include <QtCore/QByteArray>
#include <QtCore/QPoint>
#include <QtCore/QRect>
#include <QtCore/QtEndian>

#include <cstdint>
#include <initializer_list>
#include <vector>

// Little-endian values appended to a byte array.
class TLeBytes
{
public:
    TLeBytes &U16(int v) { return Put<quint16>(static_cast<quint16>(v)); }
    TLeBytes &U32(std::int64_t v) { return Put<quint32>(static_cast<quint32>(v)); }
    TLeBytes &Words(std::initializer_list<int> words)
    {
        for (int w : words)
            U16(w);
        return *this;
    }
    TLeBytes &Longs(std::initializer_list<std::int64_t> values)
    {
        for (std::int64_t v : values)
            U32(v);
        return *this;
    }
    TLeBytes &Raw(const QByteArray &bytes)
    {
        Bytes += bytes;
        return *this;
    }
    // Zeros up to a multiple of n bytes.
    TLeBytes &Pad(int n)
    {
        while (Bytes.size() % n)
            Bytes += '\0';
        return *this;
    }
    QByteArray Bytes;

private:
    template <class T> TLeBytes &Put(T v)
    {
        const T le = qToLittleEndian(v);
        Bytes.append(reinterpret_cast<const char *>(&le), sizeof le);
        return *this;
    }
};

// A bottom-up 24-bit bitmap of one colour (0x00BBGGRR), header and pixels.
inline QByteArray SolidDib(int width, int height, std::uint32_t color)
{
    TLeBytes dib;
    dib.Longs({40, width, height}).Words({1, 24}).Longs({0, 0, 0, 0, 0, 0});
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            dib.Raw(QByteArray(1, char((color >> 16) & 0xFF)) + char((color >> 8) & 0xFF) + char(color & 0xFF));
        dib.Pad(4);
    }
    return dib.Bytes;
}

class TWmfBuilder
{
public:
    // A record of 16-bit words, or of the bytes given (padded to a word).
    TWmfBuilder &Record(int function, std::initializer_list<int> words)
    {
        TLeBytes params;
        params.Words(words);
        return Record(function, params.Bytes);
    }
    TWmfBuilder &Record(int function, QByteArray params)
    {
        if (params.size() % 2)
            params += '\0';
        TLeBytes r;
        r.U32(3 + params.size() / 2).U16(function).Raw(params);
        m_records += r.Bytes;
        return *this;
    }
    // Bytes as they are: damaged records.
    TWmfBuilder &Raw(const QByteArray &bytes)
    {
        m_records += bytes;
        return *this;
    }

    TWmfBuilder &Window(int x, int y, int width, int height)
    {
        return Record(0x020B, {y, x}).Record(0x020C, {height, width});
    }
    TWmfBuilder &Pen(int style, int width, std::uint32_t color)
    {
        return Record(0x02FA, {style, width, 0, int(color & 0xFFFF), int(color >> 16)});
    }
    TWmfBuilder &Brush(int style, std::uint32_t color, int hatch = 0)
    {
        return Record(0x02FC, {style, int(color & 0xFFFF), int(color >> 16), hatch});
    }
    // escapement in tenths of a degree counter-clockwise.
    TWmfBuilder &Font(int height, int charset, const QByteArray &face, int escapement = 0)
    {
        TLeBytes p;
        p.Words({height, 0, escapement, escapement, 400, 0, charset << 8, 0, 0}).Raw(face + '\0');
        return Record(0x02FB, p.Bytes);
    }
    TWmfBuilder &Select(int index) { return Record(0x012D, {index}); }
    TWmfBuilder &Delete(int index) { return Record(0x01F0, {index}); }
    TWmfBuilder &Rectangle(int l, int t, int r, int b) { return Record(0x041B, {b, r, t, l}); }
    TWmfBuilder &Ellipse(int l, int t, int r, int b) { return Record(0x0418, {b, r, t, l}); }
    TWmfBuilder &Polygon(std::initializer_list<QPoint> points)
    {
        TLeBytes p;
        p.U16(int(points.size()));
        for (const QPoint &pt : points)
            p.Words({pt.x(), pt.y()});
        return Record(0x0324, p.Bytes);
    }
    TWmfBuilder &MoveTo(int x, int y) { return Record(0x0214, {y, x}); }
    TWmfBuilder &LineTo(int x, int y) { return Record(0x0213, {y, x}); }
    TWmfBuilder &TextOut(int x, int y, const QByteArray &text)
    {
        TLeBytes p;
        p.U16(int(text.size())).Raw(text).Pad(2).Words({y, x});
        return Record(0x0521, p.Bytes);
    }
    TWmfBuilder &StretchDib(const QRect &dest, const QByteArray &dib, int srcWidth, int srcHeight)
    {
        TLeBytes p;
        p.U32(0x00CC0020).Words({0, srcHeight, srcWidth, 0, 0, dest.height(), dest.width(), dest.y(), dest.x()}).Raw(dib);
        return Record(0x0F43, p.Bytes);
    }

    // A plain WMF: the header of nine words, the records and the end record.
    QByteArray Plain(int objects) const
    {
        const QByteArray body = m_records + QByteArray::fromHex("030000000000");
        TLeBytes h;
        h.Words({1, 9, 0x0300}).U32((18 + body.size()) / 2).U16(objects).U32(0).U16(0);
        return h.Bytes + body;
    }
    // The same after a placeable header with the box and units per inch given.
    QByteArray Placeable(const QRect &box, int inch, int objects) const
    {
        TLeBytes h;
        h.U32(0x9AC6CDD7u).U16(0).Words({box.left(), box.top(), box.left() + box.width(), box.top() + box.height(), inch})
            .U32(0);
        int sum = 0;
        for (int i = 0; i < 20; i += 2)
            sum ^= qFromLittleEndian<quint16>(h.Bytes.constData() + i);
        h.U16(sum);
        return h.Bytes + Plain(objects);
    }

private:
    QByteArray m_records;
};

class TEmfBuilder
{
public:
    TEmfBuilder &Record(std::uint32_t type, const QByteArray &params)
    {
        TLeBytes r;
        r.U32(type).U32(8 + params.size()).Raw(params);
        m_records += r.Bytes;
        ++m_count;
        return *this;
    }
    TEmfBuilder &Record(std::uint32_t type, std::initializer_list<std::int64_t> values)
    {
        TLeBytes p;
        p.Longs(values);
        return Record(type, p.Bytes);
    }
    TEmfBuilder &Raw(const QByteArray &bytes)
    {
        m_records += bytes;
        return *this;
    }

    TEmfBuilder &Pen(int handle, int style, int width, std::uint32_t color)
    {
        return Record(38, {handle, style, width, 0, color});
    }
    TEmfBuilder &Brush(int handle, int style, std::uint32_t color, int hatch = 0)
    {
        return Record(39, {handle, style, color, hatch});
    }
    TEmfBuilder &Font(int handle, int height, const QString &face)
    {
        TLeBytes p;
        p.Longs({handle, height, 0, 0, 0, 400}).Longs({0, 0});
        for (int i = 0; i < 32; ++i)
            p.U16(i < face.size() ? face[i].unicode() : 0);
        return Record(82, p.Bytes);
    }
    TEmfBuilder &Select(std::int64_t handle) { return Record(37, {handle}); }
    TEmfBuilder &Rectangle(int l, int t, int r, int b) { return Record(43, {l, t, r, b}); }
    TEmfBuilder &Ellipse(int l, int t, int r, int b) { return Record(42, {l, t, r, b}); }
    TEmfBuilder &Polygon16(std::initializer_list<QPoint> points)
    {
        TLeBytes p;
        p.Longs({0, 0, 0, 0, std::int64_t(points.size())});
        for (const QPoint &pt : points)
            p.Words({pt.x(), pt.y()});
        return Record(86, p.Bytes);
    }
    TEmfBuilder &MoveTo(int x, int y) { return Record(27, {x, y}); }
    TEmfBuilder &LineTo(int x, int y) { return Record(54, {x, y}); }
    TEmfBuilder &TextOutW(int x, int y, const QString &text)
    {
        TLeBytes p;
        // bounds, graphics mode, scales, reference, count, string offset,
        // options, rectangle, offset of the advances (none)
        p.Longs({0, 0, 0, 0, 1, 0, 0, x, y, text.size(), 8 + 68, 0, 0, 0, 0, 0, 0});
        for (QChar c : text)
            p.U16(c.unicode());
        p.Pad(4);
        return Record(84, p.Bytes);
    }
    TEmfBuilder &StretchDIBits(const QRect &dest, const QByteArray &dib, int srcWidth, int srcHeight)
    {
        TLeBytes p;
        p.Longs({0, 0, 0, 0, dest.x(), dest.y(), 0, 0, srcWidth, srcHeight, 80, 40, 120, dib.size() - 40, 0, 0x00CC0020,
                 dest.width(), dest.height()})
            .Raw(dib);
        return Record(81, p.Bytes);
    }

    // Header (bounds in pixels and frame in 0.01 mm, both inclusive; the
    // reference device), the records and the end record.
    QByteArray Bytes(const QRect &bounds, const QRect &frame, QSize devicePixels = {254, 254},
                     QSize deviceMillimeters = {254, 254}, int handles = 8) const
    {
        const QByteArray end = QByteArray::fromHex("0e00000014000000000000001000000014000000");
        TLeBytes h;
        h.Longs({1, 88, bounds.left(), bounds.top(), bounds.right(), bounds.bottom(), frame.left(), frame.top(),
                 frame.right(), frame.bottom(), 0x464D4520, 0x10000, 88 + m_records.size() + end.size(), m_count + 2})
            .Words({handles, 0})
            .Longs({0, 0, 0, devicePixels.width(), devicePixels.height(), deviceMillimeters.width(),
                    deviceMillimeters.height()});
        return h.Bytes + m_records + end;
    }

private:
    QByteArray m_records;
    int m_count = 0;
};
