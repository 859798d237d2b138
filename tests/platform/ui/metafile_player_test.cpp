#include "platform/metafile.h"
#include "platform/ui/metafile_player.h"

#include "metafile_builder.h"

#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <gtest/gtest.h>

#include <functional>
#include <random>

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

namespace {

// The box around the pixels darker than mid grey, or an empty one.
QRect Ink(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

QImage PlayedOneToOne(const QByteArray &bytes)
{
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EXPECT_TRUE(PlayMetafile(painter, bytes, QRectF(0, 0, 100, 100)));
    return image;
}

} // namespace

// Arcs turn counter-clockwise from their start radial to their end radial
// unless the picture says clockwise; texts stand on their point as the
// alignment says, and a turned font reads upwards.
TEST(MetafilePlayer, PiesTurnAsTheirDirectionSaysAndTextsStandOnTheirPoint)
{
    // From three o'clock to twelve in a circle round (50, 50).
    TWmfBuilder wmf;
    wmf.Window(0, 0, 100, 100).Pen(5, 0, 0).Select(0).Brush(0, Black).Select(1);
    wmf.Record(0x081A, {10, 50, 50, 90, 90, 90, 10, 10});
    TEmfBuilder emf;
    emf.Select(0x80000008).Select(0x80000004).Record(57, {2}).Record(47, {10, 10, 90, 90, 90, 50, 50, 10});
    const QImage counter = PlayedOneToOne(wmf.Plain(2));
    const QImage clockwise = PlayedOneToOne(emf.Bytes(QRect(0, 0, 100, 100), QRect(0, 0, 10001, 10001), {254, 254},
                                                      {254, 254}, 2));
    for (const QPoint p : {QPoint(65, 35), QPoint(35, 35), QPoint(35, 65), QPoint(65, 65)}) {
        SCOPED_TRACE(p.x() * 1000 + p.y());
        const bool upperRight = p == QPoint(65, 35);
        EXPECT_EQ(qGray(counter.pixel(p)) < 128, upperRight);
        EXPECT_EQ(qGray(clockwise.pixel(p)) < 128, !upperRight);
    }

    // Centred on its baseline point; then turned a quarter from its top-left.
    TWmfBuilder centred;
    centred.Window(0, 0, 100, 100).Record(0x0102, {1}).Font(-20, 0, "Arial").Select(0).Record(0x012E, {6 | 24});
    centred.TextOut(50, 60, "WW");
    const QRect level = Ink(PlayedOneToOne(centred.Plain(1)));
    ASSERT_FALSE(level.isEmpty());
    EXPECT_NEAR(level.center().x(), 50, 2);
    EXPECT_LE(level.bottom(), 60);
    EXPECT_GE(level.bottom(), 57);
    EXPECT_GT(level.width(), 25);
    TWmfBuilder turned;
    turned.Window(0, 0, 100, 100).Record(0x0102, {1}).Font(-20, 0, "Arial", 900).Select(0).TextOut(20, 90, "WW");
    const QRect up = Ink(PlayedOneToOne(turned.Plain(1)));
    ASSERT_FALSE(up.isEmpty());
    EXPECT_GE(up.left(), 20);
    EXPECT_LE(up.right(), 40);
    EXPECT_LE(up.bottom(), 90);
    EXPECT_GT(up.height(), 25);
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

// Pictures damaged at random, a few places at a time: each plays to its end
// or to its damage without reading past its bytes (the sanitizer run watches
// that), and most damage is noticed.
TEST(MetafilePlayer, RandomDamageEndsCleanly)
{
    const QByteArray good[] = {Wmf(true, false), Emf()};
    std::mt19937 rng(20261211);
    const auto pick = [&rng](qsizetype n) { return qsizetype(rng() % std::uint32_t(n)); };
    int failed = 0;
    for (int round = 0; round < 3000; ++round) {
        QByteArray bad = good[round % 2];
        for (int k = 0, n = 1 + int(pick(4)); k < n && !bad.isEmpty(); ++k) {
            const qsizetype at = pick(bad.size());
            switch (pick(4)) {
            case 0: bad[at] = char(rng()); break;
            case 1: // a count, size or index turned large or small
                if (at + 4 <= bad.size()) {
                    const quint32 v = qToLittleEndian<quint32>(pick(2) ? rng() : rng() % 0x100);
                    bad.replace(at, 4, reinterpret_cast<const char *>(&v), 4);
                }
                break;
            case 2: bad.truncate(at); break;
            default: bad.insert(at, bad.mid(pick(bad.size()), 16)); break;
            }
        }
        bool played = true;
        Played(bad, &played);
        failed += !played;
        ReadMetafileFrame(bad);
    }
    EXPECT_GT(failed, 1500);
}
