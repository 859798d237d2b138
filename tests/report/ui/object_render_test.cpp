#include "platform/ui/qt_canvas.h"
#include "report/report_document.h"
#include "report/ui/work_canvas.h"

#include "metafile_builder.h"

#include <QtCore/QBuffer>
#include <QtGui/QFontInfo>
#include <QtGui/QImage>

#include <gtest/gtest.h>

#include <climits>

namespace {

class TextRendering : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InstallWorkCanvas();
        SetCurrentDocument(&Report);
        EngineMode = 1;
    }
    void TearDown() override
    {
        RemoveWorkCanvas();
        EngineMode = 0;
    }
    TfrEngineScope Engine;
    TfrReportDocument Report;
};

} // namespace

TEST_F(TextRendering, ArialIsMetricCompatibleAndLinesAreFifteenPixels)
{
    TFont arial;
    arial.Height = -13;
    // The templates' Arial must come out with Arial's widths (Liberation Sans).
    EXPECT_EQ(QFontInfo(MakeQFont(arial, 96)).family(), QStringLiteral("Liberation Sans"));
    TfrMemoView memo;
    memo.Width = 300;
    memo.Lines = {QStringLiteral("Один"), QStringLiteral("Два"), QStringLiteral("Три")};
    EXPECT_EQ(memo.MeasureHeight(), 47);
}

TEST_F(TextRendering, TextObjectInksWhereTheCanvasPutsIt)
{
    QImage image(400, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TQtCanvas canvas(&image);
        TfrMemoView memo;
        memo.Left = 50;
        memo.Top = 40;
        memo.Width = 200;
        memo.Height = 60;
        memo.Adjust = adjust::Right | adjust::VCentre;
        memo.FrameTyp = frame::All;
        memo.FillColor = 0x00FFFF; // yellow
        memo.Lines = {QStringLiteral("Расход воздуха")};
        memo.Draw(canvas);
    }
    // Fill inside, frame on the edges, the text right-aligned in the middle.
    EXPECT_EQ(QColor(image.pixel(55, 45)), QColor(255, 255, 0));
    EXPECT_EQ(QColor(image.pixel(50, 70)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(250, 70)), QColor(Qt::black));
    EXPECT_EQ(QColor(image.pixel(251, 70)), QColor(Qt::white));
    // The glyphs are the dark pixels inside the frame.
    int minX = INT_MAX, maxX = -1, minY = INT_MAX, maxY = -1;
    for (int y = 42; y < 98; ++y)
        for (int x = 52; x < 248; ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    ASSERT_GE(maxX, 0);
    // Right edge: Left + Width - 1 - inset 2 = 247, less the glyph's side bearing.
    EXPECT_LE(maxX, 247);
    EXPECT_GE(maxX, 243);
    // One line of 17 in a 60-high object: placed from 40 + 21 + 1 = 62 down.
    EXPECT_GE(minY, 62);
    EXPECT_LE(maxY, 62 + 15);
    EXPECT_GT(maxX - minX, 60);
}

namespace {

// A picture object at (10, 10) of the size and flags given, drawn on a blue
// 100 x 60 image.
QImage DrawnPicture(const TfrPicture &content, int width, int height, std::uint16_t flagWord)
{
    QImage image(100, 60, QImage::Format_RGB32);
    image.fill(Qt::blue);
    TQtCanvas canvas(&image);
    TfrPictureView picture;
    picture.Left = 10;
    picture.Top = 10;
    picture.Width = width;
    picture.Height = height;
    picture.Flags = flagWord;
    picture.Picture = content;
    picture.Draw(canvas);
    canvas.End();
    return image;
}

} // namespace

TEST_F(TextRendering, BitmapPicturesStretchIntoTheirFrame)
{
    // A 2 x 1 bitmap: red, then white (rows of BGR, padded to 4 bytes).
    TfrStream bmp;
    bmp.WriteBytes("BM");
    for (std::int32_t v : {14 + 40 + 8, 0, 14 + 40, 40, 2, 1})
        bmp.WriteValue<std::int32_t>(v);
    bmp.WriteValue<std::int16_t>(1);
    bmp.WriteValue<std::int16_t>(24);
    for (int i = 0; i < 6; ++i)
        bmp.WriteValue<std::int32_t>(0);
    bmp.WriteBytes(QByteArray("\x00\x00\xFF\xFF\xFF\xFF\x00\x00", 8));

    const QImage image = DrawnPicture({TfrPicture::gkBitmap, bmp.Data()}, 40, 20, flags::Stretched);
    EXPECT_EQ(QColor(image.pixel(15, 20)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(45, 20)), QColor(Qt::white));
    EXPECT_EQ(QColor(image.pixel(5, 5)), QColor(Qt::blue));
}

// A PNG that a template holds under the bitmap kind, as the picture editor
// once kept it, is drawn as the canvas reads it, at the size its header gives.
TEST_F(TextRendering, APngKeptUnderTheBitmapKindIsDrawn)
{
    QImage png(20, 10, QImage::Format_RGB32);
    png.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(png.save(&buffer, "PNG"));

    const QImage image = DrawnPicture({TfrPicture::gkBitmap, bytes}, 60, 40, 0);
    EXPECT_EQ(QColor(image.pixel(15, 15)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(28, 18)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(40, 15)), QColor(Qt::blue));
}

// A metafile is drawn like the bitmaps: at the size its frame gives, here
// stretched into its object keeping its proportions and centred.
TEST_F(TextRendering, MetafilePicturesAreDrawnKeepingTheirAspect)
{
    TWmfBuilder square;
    square.Window(0, 0, 10, 10).Brush(0, 0x0000FF).Select(0).Rectangle(0, 0, 10, 10);
    const TfrPicture picture{TfrPicture::gkMetafile, square.Plain(1)};
    EXPECT_EQ(picture.Size(), (TSize{10, 10}));

    const QImage image = DrawnPicture(picture, 80, 40, flags::Stretched | flags::PictureKeepAspect | flags::PictureCentre);
    // 40 x 40 in the middle of the 80 x 40 object at (10, 10).
    EXPECT_EQ(QColor(image.pixel(32, 12)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(68, 48)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(27, 30)), QColor(Qt::blue));
    EXPECT_EQ(QColor(image.pixel(72, 30)), QColor(Qt::blue));
}
