#include "platform/canvas.h"

#include <gtest/gtest.h>

TEST(RecordingCanvas, KeepsCallsWithTheStateInForce)
{
    TRecordingCanvas canvas;
    canvas.CharWidth = 7;
    canvas.Pen.Color = clRed;
    canvas.MoveTo(1, 2);
    canvas.LineTo(5, 6);
    canvas.SetClipRect({0, 0, 10, 10});
    canvas.Font.Style = fs::Bold;
    canvas.SetTextJustification(5, 2);
    canvas.TextOut(3, 4, QStringLiteral("а б в"));
    ASSERT_EQ(canvas.Ops.size(), 2u);
    EXPECT_EQ(canvas.Ops[0].Points, (std::vector<TPoint>{{1, 2}, {5, 6}}));
    EXPECT_EQ(canvas.Ops[0].Pen.Color, clRed);
    EXPECT_EQ(canvas.PenPos(), (TPoint{5, 6}));
    const auto *text = canvas.FindText(QStringLiteral("а б в"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->At, (TPoint{3, 4}));
    EXPECT_EQ(text->Clip, (TRect{0, 0, 10, 10}));
    EXPECT_EQ(text->Font.Style, fs::Bold);
    EXPECT_EQ(text->JustifyExtra, 5);
    EXPECT_EQ(canvas.TextExtent(QStringLiteral("абв")), (TSize{21, 13}));
}

TEST(RecordingCanvas, FontHeightFromPointsOrPixels)
{
    TRecordingCanvas screen;
    screen.Font.Size = 10;
    EXPECT_EQ(screen.FontPixelHeight(), 13);
    screen.Font.Height = -20;
    EXPECT_EQ(screen.FontPixelHeight(), 20);
    TRecordingCanvas printer(600, 600, true);
    printer.Font.Size = 8;
    EXPECT_EQ(printer.FontPixelHeight(), 67);
    // Half the em height when no advance is set: 13 / 2 = 6.5 rounds to 6.
    EXPECT_EQ(screen.TextWidth(QStringLiteral("x")), 10);
}

TEST(Canvas, SystemColoursResolve)
{
    EXPECT_EQ(ColorToRGB(clBtnFace), clSilver);
    EXPECT_EQ(ColorToRGB(clBtnShadow), clGray);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), clWhite);
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
}
