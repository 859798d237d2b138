#include "platform/ui/qt_canvas.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>
#include <QtGui/QPdfWriter>

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <climits>

namespace {

QImage WhiteImage(int w = 60, int h = 40)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

TColor At(const QImage &image, int x, int y) { return QColorToTColor(QColor(image.pixel(x, y))); }

} // namespace

TEST(QtCanvas, ColourConversionKeepsTheByteOrder)
{
    EXPECT_EQ(TColorToQColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(TColorToQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(TColorToQColor(clBtnFace), QColor(192, 192, 192));
    EXPECT_EQ(QColorToTColor(QColor(1, 2, 3)), 0x030201);
}

TEST(QtCanvas, LinesAndRectanglesLeaveTheirLastPixel)
{
    QImage image = WhiteImage();
    {
        TQtCanvas canvas(&image);
        canvas.MoveTo(2, 2);
        canvas.LineTo(12, 2);
        canvas.Brush.Color = clRed;
        canvas.Rectangle(20, 10, 30, 20);
    }
    EXPECT_EQ(At(image, 2, 2), clBlack);
    EXPECT_EQ(At(image, 11, 2), clBlack);
    EXPECT_EQ(At(image, 12, 2), clWhite);
    // Outline on 20..29 and 10..19, brush inside, nothing on the exclusive edges.
    EXPECT_EQ(At(image, 20, 10), clBlack);
    EXPECT_EQ(At(image, 29, 19), clBlack);
    EXPECT_EQ(At(image, 25, 15), clRed);
    EXPECT_EQ(At(image, 30, 15), clWhite);
    EXPECT_EQ(At(image, 25, 20), clWhite);
}

// A rectangle or an ellipse whose edges lie at the ends of the int range
// (a coordinate clamped there) covers the whole image instead of wrapping
// round to nothing.
TEST(QtCanvas, ShapesWithEdgesAtTheRangesEndsCoverTheImage)
{
    for (const bool ellipse : {false, true}) {
        QImage image = WhiteImage();
        {
            TQtCanvas canvas(&image);
            canvas.Pen.Style = TPenStyle::psClear;
            canvas.Brush.Color = clRed;
            if (ellipse)
                canvas.Ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
            else
                canvas.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
        }
        for (const auto &[x, y] : {std::pair{0, 0}, std::pair{30, 20}, std::pair{59, 39}})
            EXPECT_EQ(At(image, x, y), clRed) << ellipse << " at " << x << "," << y;
    }
}

TEST(QtCanvas, XorAndNotXorDrawnTwiceRestoreTheImage)
{
    QImage image = WhiteImage(80, 60);
    {
        TQtCanvas canvas(&image);
        canvas.Brush.Color = 0x00FF80;
        canvas.Ellipse(5, 5, 40, 30);
        canvas.MoveTo(0, 59);
        canvas.LineTo(79, 0);
    }
    const QImage before = image.copy();
    for (TPenMode mode : {TPenMode::pmXor, TPenMode::pmNotXor}) {
        for (int width : {1, 5}) {
            for (TPenStyle style : {TPenStyle::psSolid, TPenStyle::psDot}) {
                TQtCanvas canvas(&image);
                canvas.Pen.Mode = mode;
                canvas.Pen.Width = width;
                canvas.Pen.Style = style;
                canvas.Pen.Color = 0x123456;
                canvas.Brush.Color = 0x654321;
                for (int pass = 0; pass < 2; ++pass) {
                    canvas.Polyline({{3, 3}, {50, 20}, {10, 50}, {70, 55}});
                    canvas.Rectangle(10, 10, 60, 45);
                    canvas.Ellipse(20, 5, 75, 50);
                    canvas.Polygon({{5, 55}, {40, 2}, {75, 55}});
                    canvas.MoveTo(1, 1);
                    canvas.LineTo(78, 58);
                }
            }
        }
    }
    EXPECT_EQ(image, before);
}

TEST(QtCanvas, DottedGapsTakeTheBrushColourUnlessTheBrushIsClear)
{
    for (bool clear : {false, true}) {
        QImage image = WhiteImage();
        {
            TQtCanvas canvas(&image);
            canvas.Pen.Style = TPenStyle::psDot;
            canvas.Brush.Color = clRed;
            if (clear)
                canvas.Brush.Style = TBrushStyle::bsClear;
            canvas.MoveTo(0, 5);
            canvas.LineTo(50, 5);
        }
        int black = 0, red = 0, white = 0;
        for (int x = 0; x < 48; ++x) {
            const TColor c = At(image, x, 5);
            black += c == clBlack;
            red += c == clRed;
            white += c == clWhite;
        }
        EXPECT_GT(black, 10);
        EXPECT_EQ(red > 10, !clear);
        EXPECT_EQ(white > 10, clear);
    }
}

TEST(QtCanvas, WidePensHaveRoundCaps)
{
    QImage image = WhiteImage();
    {
        TQtCanvas canvas(&image);
        canvas.Pen.Width = 9;
        canvas.MoveTo(20, 20);
        canvas.LineTo(40, 20);
    }
    EXPECT_EQ(At(image, 30, 16), clBlack);
    // The cap reaches beyond the end point, but rounded: not the square's corner.
    EXPECT_EQ(At(image, 43, 20), clBlack);
    EXPECT_EQ(At(image, 44, 24), clWhite);
}

TEST(QtCanvas, TextSitsBelowAndRightOfItsPointAndFontsFollowTheResolution)
{
    QImage image = WhiteImage(200, 60);
    TQtCanvas canvas(&image);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Size = 10;
    const TSize extent = canvas.TextExtent(QStringLiteral("ЖЖЖ"));
    EXPECT_EQ(canvas.FontPixelHeight(), 13);
    EXPECT_GT(extent.cx, 20);
    EXPECT_GE(extent.cy, 13);
    canvas.TextOut(50, 20, QStringLiteral("ЖЖЖ"));
    canvas.End();
    int minX = 1000, minY = 1000, maxX = -1, maxY = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (At(image, x, y) != clWhite) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
                maxX = std::max(maxX, x);
                maxY = std::max(maxY, y);
            }
    EXPECT_GE(minX, 50);
    EXPECT_LE(minX, 52);
    EXPECT_GE(minY, 20);
    EXPECT_LE(minY, 24);
    EXPECT_LE(maxX, 50 + extent.cx);
    EXPECT_LT(maxY, 20 + extent.cy);

    QImage printerLike = WhiteImage(10, 10);
    TQtCanvas fine(&printerLike, 600, 600);
    EXPECT_EQ(fine.FontPixelHeight(), 83);
}

TEST(QtCanvas, ClippingKeepsPaintInside)
{
    QImage image = WhiteImage();
    {
        TQtCanvas canvas(&image);
        canvas.SetClipRect({10, 10, 20, 20});
        EXPECT_EQ(canvas.ClipRect(), (TRect{10, 10, 20, 20}));
        canvas.Brush.Color = clBlue;
        canvas.FillRect({0, 0, 60, 40});
        canvas.ClearClipRect();
        EXPECT_EQ(canvas.ClipRect(), (TRect{0, 0, 60, 40}));
    }
    EXPECT_EQ(At(image, 15, 15), clBlue);
    EXPECT_EQ(At(image, 9, 15), clWhite);
    EXPECT_EQ(At(image, 20, 15), clWhite);
}

TEST(QtCanvas, HugeTextInksOnlyWhatTheImageShowsInTheTimeOfANormalOne)
{
    // Inked whole first, this text would take a scratch image of about a
    // gigabyte and seconds.
    const QString text(8, QChar(u'Ж'));
    QImage image = WhiteImage(200, 100), beside = WhiteImage(200, 100);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    QElapsedTimer timer;
    timer.start();
    for (QImage *target : {&image, &beside}) {
        TQtCanvas canvas(target);
        canvas.Font.Size = 2400;
        canvas.Brush.Color = clSilver;
        // Over the image (above the letters, in their cell), then wholly beside it.
        if (target == &image)
            canvas.TextOut(-100, -100, text);
        else
            canvas.TextOut(300, -100, text);
        canvas.End();
    }
    EXPECT_LT(timer.elapsed(), 2000);
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 256 * 1024) << "kilobytes more at the peak";
    EXPECT_EQ(At(image, 0, 0), clSilver);
    EXPECT_EQ(At(image, 199, 99), clSilver);
    EXPECT_EQ(beside, WhiteImage(200, 100));
}

TEST(QtCanvas, TurnedTextReadsUpwardsFromItsPoint)
{
    QImage image = WhiteImage(60, 120);
    TQtCanvas canvas(&image);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Orientation = 900;
    const TSize extent = canvas.TextExtent(QStringLiteral("ЖЖЖЖ"));
    canvas.TextOut(20, 100, QStringLiteral("ЖЖЖЖ"));
    canvas.End();
    int minY = 1000, maxY = -1, minX = 1000, maxX = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (At(image, x, y) != clWhite) {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_LE(maxY, 100);
    EXPECT_GE(minY, 100 - extent.cx - 1);
    EXPECT_GE(minX, 20);
    EXPECT_LE(maxX, 20 + extent.cy);
}

TEST(QtCanvas, PdfWriterPaintsAtItsOwnResolution)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.pdf"));
    {
        QPdfWriter writer(file);
        writer.setResolution(300);
        TQtCanvas canvas(&writer);
        EXPECT_TRUE(canvas.IsPrinter());
        EXPECT_EQ(canvas.PixelsPerInchY(), 300);
        EXPECT_EQ(canvas.FontPixelHeight(), 42);
        canvas.Pen.Mode = TPenMode::pmXor; // painted as Copy on paper
        canvas.Rectangle(100, 100, 600, 300);
        canvas.TextOut(120, 120, QStringLiteral("Лист 1"));
        EXPECT_GT(canvas.TextWidth(QStringLiteral("Лист 1")), 42);
    }
    EXPECT_GT(QFileInfo(file).size(), 500);
}

TEST(QtCanvas, TextsFromTheMaskCacheInkAsThePainterDoes)
{
    const QString texts[] = {QStringLiteral("Q=12,50"), QStringLiteral("Ёж fi ffl Wy"), QStringLiteral("ПЛА=7"),
                             QStringLiteral(" ")};
    for (unsigned style : {0u, fs::Bold | fs::Italic, fs::Underline | fs::StrikeOut}) {
        for (bool clear : {false, true}) {
            // Level text through TextOut may come from the cache; TextRect always
            // goes through the painter. Both pictures must agree pixel for pixel,
            // also where a clip rectangle cuts the texts, and when drawn again.
            QImage cached = WhiteImage(220, 120), painted = WhiteImage(220, 120);
            for (int pass = 0; pass < 2; ++pass) {
                for (QImage *image : {&cached, &painted}) {
                    TQtCanvas canvas(image);
                    canvas.Font.Size = 9;
                    canvas.Font.Style = style;
                    canvas.Font.Color = 0x2040C0;
                    canvas.Brush.Color = 0x80FFFF;
                    if (clear)
                        canvas.Brush.Style = TBrushStyle::bsClear;
                    canvas.SetClipRect({5, 3, 200, 100});
                    for (int i = 0; i < 4; ++i) {
                        const int x = 2 + i * 7, y = 1 + i * 25;
                        if (image == &cached)
                            canvas.TextOut(x, y, texts[i]);
                        else
                            canvas.TextRect({0, 0, 220, 120}, x, y, texts[i]);
                    }
                }
            }
            EXPECT_EQ(cached, painted) << style << clear;
        }
    }
}
