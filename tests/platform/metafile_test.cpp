#include "platform/metafile.h"

#include "metafile_builder.h"

#include <gtest/gtest.h>

// The frame and the size on a 96-dpi screen, as picture objects place the
// picture: the placeable box at its units per inch, a plain file's window
// (or what it draws), an EMF's frame in hundredths of a millimetre.
TEST(MetafileFrame, ComesFromTheHeaderTheWindowOrTheDrawing)
{
    TWmfBuilder drawn;
    drawn.Rectangle(10, 20, 50, 40).Ellipse(30, 30, 70, 45);
    TWmfBuilder nothing;
    nothing.Record(0x0102, {1});
    TWmfBuilder window;
    window.Window(-10, 0, 100, 50).Rectangle(0, 0, 500, 500);
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
        {"plain with its window", window.Plain(0), QRectF(-10, 0, 100, 50), {100, 50}},
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
    EXPECT_EQ(MetafileKind(TEmfBuilder().Bytes(QRect(0, 0, 1, 1), QRect())), QStringLiteral("EMF"));
    EXPECT_EQ(MetafileKind(window.Plain(0)), QStringLiteral("WMF"));
    EXPECT_EQ(MetafileKind(window.Placeable(QRect(0, 0, 1, 1), 96, 0)), QStringLiteral("WMF"));
    EXPECT_EQ(MetafileKind(QByteArray(60, '\1')), QString());
}
