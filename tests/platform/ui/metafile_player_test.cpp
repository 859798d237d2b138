#include "platform/metafile.h"
#include "platform/ui/metafile_player.h"

#include "metafile_builder.h"

#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr std::uint32_t Red = 0x0000FF, Green = 0x00FF00, Blue = 0xFF0000, Yellow = 0x00FFFF, Cyan = 0xFFFF00,
                        Magenta = 0xFF00FF, Black = 0;

// One picture in a window of 100 x 50 units (times k): a cyan ground over
// the whole frame; a red rectangle, a green ellipse and a yellow triangle
// along the top; a wide blue line, a black text and a magenta bitmap along
// the bottom. Shapes have no outline.
QByteArray Wmf(bool placeable, bool window)
{
    TWmfBuilder b;
    if (window)
        b.Window(0, 0, 100, 50);
    b.Pen(5, 0, 0).Select(0);                             // no outline: slot 0
    b.Brush(0, Cyan).Select(1).Rectangle(0, 0, 100, 50);   // slot 1
    b.Delete(1).Brush(0, Red).Select(1).Rectangle(5, 5, 30, 25);
    b.Delete(1).Brush(0, Green).Select(1).Ellipse(35, 5, 60, 25);
    b.Delete(1).Brush(0, Yellow).Select(1).Polygon({{65, 5}, {95, 5}, {80, 25}});
    b.Pen(0, 4, Blue).Select(2).MoveTo(5, 35).LineTo(30, 35);
    b.Record(0x0102, {1}).Font(-16, 204, "Arial").Select(3).TextOut(35, 28, "\xD8\xD8"); // "ШШ", transparent
    b.StretchDib(QRect(65, 30, 30, 18), SolidDib(2, 2, Magenta), 2, 2);
    return placeable ? b.Placeable(QRect(0, 0, 100, 50), 96, 4) : b.Plain(4);
}

QByteArray Emf()
{
    // Drawn at ten times the units, brought back by the anisotropic mapping.
    TEmfBuilder b;
    b.Record(17, {8}).Record(9, {1000, 500}).Record(11, {100, 50});
    b.Select(0x80000008); // the stock null pen
    b.Brush(1, 0, Cyan).Select(1).Rectangle(0, 0, 1000, 500);
    b.Brush(2, 0, Red).Select(2).Rectangle(50, 50, 300, 250);
    b.Brush(3, 0, Green).Select(3).Ellipse(350, 50, 600, 250);
    b.Brush(4, 0, Yellow).Select(4).Polygon16({{650, 50}, {950, 50}, {800, 250}});
    b.Pen(5, 0, 40, Blue).Select(5).MoveTo(50, 350).LineTo(300, 350);
    b.Record(18, {1}).Font(6, -160, QStringLiteral("Arial")).Select(6).TextOutW(350, 280, QStringLiteral("ШШ"));
    b.StretchDIBits(QRect(650, 300, 300, 180), SolidDib(2, 2, Magenta), 2, 2);
    return b.Bytes(QRect(0, 0, 100, 50), QRect(0, 0, 10001, 5001), {254, 254}, {254, 254}, 8);
}

QColor Colour(std::uint32_t ref) { return QColor(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF); }

// Played on a white 200 x 100 image into the target (20, 10, 160, 80).
QImage Played(const QByteArray &bytes, bool *result = nullptr)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    const bool played = PlayMetafile(painter, bytes, QRectF(20, 10, 160, 80));
    if (result)
        *result = played;
    return image;
}

// Where a point of the 100 x 50 window lands in the target.
QPoint On(double x, double y) { return QPoint(int(20 + x * 1.6), int(10 + y * 1.6)); }

} // namespace

// The same picture as a placeable WMF, a plain one that sets its window, and
// an EMF with its own mapping: each frame lands on the target and every kind
// of record draws where and in the colour it says.
TEST(MetafilePlayer, DrawsShapesTextAndBitmapsWithTheFrameOnTheTarget)
{
    const struct
    {
        const char *Name;
        QByteArray Bytes;
    } cases[] = {
        {"placeable WMF", Wmf(true, false)},
        {"plain WMF with its window", Wmf(false, true)},
        {"EMF", Emf()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        bool played = false;
        const QImage image = Played(c.Bytes, &played);
        EXPECT_TRUE(played);
        const auto at = [&image](QPoint p) { return QColor(image.pixel(p)); };
        // The frame fills the target exactly, nothing falls outside.
        EXPECT_EQ(at({21, 11}), Colour(Cyan));
        EXPECT_EQ(at({178, 88}), Colour(Cyan));
        EXPECT_EQ(at({19, 50}), QColor(Qt::white));
        EXPECT_EQ(at({100, 9}), QColor(Qt::white));
        EXPECT_EQ(at({181, 50}), QColor(Qt::white));
        EXPECT_EQ(at({100, 91}), QColor(Qt::white));
        // The red rectangle's left edge at 5 units: 28 pixels.
        EXPECT_EQ(at({26, 34}), Colour(Cyan));
        EXPECT_EQ(at({30, 34}), Colour(Red));
        EXPECT_EQ(at(On(17, 15)), Colour(Red));
        EXPECT_EQ(at(On(47, 15)), Colour(Green));
        EXPECT_EQ(at(On(36, 6)), Colour(Cyan)); // outside the ellipse, in its box's corner
        EXPECT_EQ(at(On(80, 10)), Colour(Yellow));
        EXPECT_EQ(at(On(67, 22)), Colour(Cyan)); // beside the triangle's point
        EXPECT_EQ(at(On(17, 35)), Colour(Blue));
        EXPECT_EQ(at(On(17, 38)), Colour(Cyan));  // the pen is 4 units wide
        EXPECT_EQ(at(On(80, 39)), Colour(Magenta));
        // The text: dark glyphs below its top-left corner, on the ground
        // (transparent background).
        int dark = 0;
        for (int y = On(0, 28).y(); y < On(0, 44).y(); ++y)
            for (int x = On(35, 0).x(); x < On(60, 0).x(); ++x)
                dark += qGray(image.pixel(x, y)) < 60;
        EXPECT_GT(dark, 30);
        EXPECT_EQ(at(On(34, 30)), Colour(Cyan));
    }
}

// Damaged streams draw what came before the damage (a red ground) and say
// so; none reads past its bytes or loops.
TEST(MetafilePlayer, DamagedStreamsDrawWhatCameBeforeAndReturnFalse)
{
    const auto wmf = [](const std::function<void(TWmfBuilder &)> &damage) {
        TWmfBuilder b;
        b.Window(0, 0, 100, 50).Brush(0, Red).Select(0).Rectangle(0, 0, 100, 50);
        damage(b);
        return b.Plain(1);
    };
    const auto emf = [](const std::function<void(TEmfBuilder &)> &damage) {
        TEmfBuilder b;
        b.Brush(1, 0, Red).Select(1).Rectangle(0, 0, 100, 50);
        damage(b);
        return b.Bytes(QRect(0, 0, 100, 50), QRect(0, 0, 10000, 5000), {254, 254}, {254, 254}, 2);
    };
    QByteArray hugeDib = SolidDib(2, 2, Magenta);
    hugeDib.replace(4, 8, QByteArray::fromHex("a0860100a0860100")); // 100000 x 100000
    QByteArray cutWmf = wmf([](TWmfBuilder &) {});
    cutWmf.chop(6); // the end record
    const struct
    {
        const char *Name;
        QByteArray Bytes;
        bool Ground; // the red ground was read before the damage
    } cases[] = {
        {"WMF header cut", Wmf(true, false).left(30), false},
        {"EMF header cut", Emf().left(60), false},
        {"WMF record of size 0", wmf([](TWmfBuilder &b) { b.Raw(QByteArray::fromHex("000000001304")); }), true},
        {"WMF record past the end", wmf([](TWmfBuilder &b) { b.Raw(QByteArray::fromHex("e80300001304")); }), true},
        {"WMF without its end record", cutWmf, true},
        {"WMF polygon counting past its record",
         wmf([](TWmfBuilder &b) { b.Record(0x0324, {1000, 0, 0, 10, 10, 20, 0}); }), true},
        {"WMF poly-polygon counting past its record",
         wmf([](TWmfBuilder &b) { b.Record(0x0538, {2, 3, 60000, 0, 0, 10, 10, 20, 0}); }), true},
        {"WMF object index out of the table", wmf([](TWmfBuilder &b) { b.Select(7); }), true},
        {"WMF text longer than its record", wmf([](TWmfBuilder &b) { b.Record(0x0521, {30000, 0x4141}); }), true},
        {"WMF bitmap of huge dimensions",
         wmf([&](TWmfBuilder &b) { b.StretchDib(QRect(0, 0, 10, 10), hugeDib, 2, 2); }), true},
        {"WMF bitmap cut short",
         wmf([&](TWmfBuilder &b) { b.StretchDib(QRect(0, 0, 10, 10), SolidDib(20, 20, Magenta).left(100), 2, 2); }), true},
        {"WMF saving without end",
         wmf([](TWmfBuilder &b) {
             for (int i = 0; i < 5000; ++i)
                 b.Record(0x001E, std::initializer_list<int>{});
         }),
         true},
        {"EMF record of size 0", emf([](TEmfBuilder &b) { b.Raw(QByteArray::fromHex("2b00000000000000")); }), true},
        {"EMF record shorter than its fields", emf([](TEmfBuilder &b) { b.Record(43, {1, 2}); }), true},
        {"EMF polygon counting past its record", emf([](TEmfBuilder &b) { b.Record(3, {0, 0, 0, 0, 0x7FFFFFFF, 1, 2}); }),
         true},
        {"EMF poly-polygon counts past the total",
         emf([](TEmfBuilder &b) { b.Record(8, {0, 0, 0, 0, 2, 3, 2, 0xFFFFFFFF, 0, 0, 1, 1, 2, 2}); }), true},
        {"EMF handle out of the table", emf([](TEmfBuilder &b) { b.Select(9); }), true},
        {"EMF pen into handle 0", emf([](TEmfBuilder &b) { b.Pen(0, 0, 1, Blue); }), true},
        {"EMF text whose string lies past the record",
         emf([](TEmfBuilder &b) {
             b.Record(84, {0, 0, 0, 0, 1, 0, 0, 10, 10, 0x40000000, 76, 0, 0, 0, 0, 0, 0});
         }),
         true},
        {"EMF bitmap offsets past the record",
         emf([](TEmfBuilder &b) {
             b.Record(81, {0, 0, 0, 0, 0, 0, 0, 0, 2, 2, 80, 40, 0x7FFFFFF0, 16, 0, 0x00CC0020, 10, 10});
         }),
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        bool played = true;
        const QImage image = Played(c.Bytes, &played);
        EXPECT_FALSE(played);
        EXPECT_EQ(QColor(image.pixel(100, 50)), c.Ground ? QColor(Qt::red) : QColor(Qt::white));
    }
}

// The frame and the size on a 96-dpi screen, as picture objects place the
// picture: the placeable box at its units per inch, a plain file's window
// (or what it draws), an EMF's frame in hundredths of a millimetre.
TEST(MetafileFrame, ComesFromTheHeaderTheWindowOrTheDrawing)
{
    TWmfBuilder drawn;
    drawn.Rectangle(10, 20, 50, 40).Ellipse(30, 30, 70, 45);
    TWmfBuilder nothing;
    nothing.Record(0x0102, {1});
    TWmfBuilder metric;
    metric.Record(0x0103, {3}).Window(0, 0, 2540, 1270);
    const struct
    {
        const char *Name;
        QByteArray Bytes;
        QRectF Logical;
        TSize Pixels;
    } cases[] = {
        {"placeable at 1440 per inch", TWmfBuilder().Placeable(QRect(-100, 0, 1440, 720), 1440, 0),
         QRectF(-100, 0, 1440, 720), {96, 48}},
        {"plain with its window", Wmf(false, true), QRectF(0, 0, 100, 50), {100, 50}},
        {"plain in hundredths of a millimetre", metric.Plain(0), QRectF(0, 0, 2540, 1270), {96, 48}},
        {"plain, by what it draws", drawn.Plain(0), QRectF(10, 20, 60, 25), {60, 25}},
        {"plain drawing nothing", nothing.Plain(0), QRectF(), {0, 0}},
        {"EMF", TEmfBuilder().Bytes(QRect(0, 0, 97, 49), QRect(0, 0, 2541, 1271), {960, 480}, {254, 127}),
         QRectF(0, 0, 96, 48), {96, 48}},
        {"EMF without a reference device: its bounds", TEmfBuilder().Bytes(QRect(5, 5, 40, 30), QRect(), {0, 0}, {0, 0}),
         QRectF(5, 5, 40, 30), {40, 30}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        const std::optional<TMetafileFrame> frame = ReadMetafileFrame(c.Bytes);
        ASSERT_TRUE(frame.has_value());
        EXPECT_NEAR(frame->Logical.left(), c.Logical.left(), 0.05);
        EXPECT_NEAR(frame->Logical.top(), c.Logical.top(), 0.05);
        EXPECT_NEAR(frame->Logical.width(), c.Logical.width(), 0.05);
        EXPECT_NEAR(frame->Logical.height(), c.Logical.height(), 0.05);
        EXPECT_EQ(frame->Pixels, c.Pixels);
    }
    EXPECT_FALSE(ReadMetafileFrame("not a metafile").has_value());
    EXPECT_EQ(MetafileKind(Emf()), QStringLiteral("EMF"));
    EXPECT_EQ(MetafileKind(Wmf(false, true)), QStringLiteral("WMF"));
    EXPECT_EQ(MetafileKind(QByteArray(60, '\1')), QString());
}
