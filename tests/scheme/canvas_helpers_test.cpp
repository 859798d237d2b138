#include "scheme/canvas_helpers.h"

#include <gtest/gtest.h>

namespace {
using Op = TRecordingCanvas::TOpKind;

std::vector<const TRecordingCanvas::TOp *> OpsOf(const TRecordingCanvas &c, Op kind)
{
    std::vector<const TRecordingCanvas::TOp *> ops;
    for (const auto &op : c.Ops)
        if (op.Kind == kind)
            ops.push_back(&op);
    return ops;
}
} // namespace

TEST(CanvasHelpers, TextBoxIsAsWideAsTheWidestLineAndEmptyDrawsNothing)
{
    TRecordingCanvas c;
    c.CharWidth = 6;
    c.Font.Height = -10;
    const TRect box = DrawTextBox(c, {100, 50}, {QStringLiteral("Q=1,00"), QStringLiteral("R=0,50000")});
    EXPECT_EQ(box, (TRect{100, 50, 100 + 9 * 6 + 4, 50 + 2 * 10 + 2}));
    ASSERT_EQ(OpsOf(c, Op::Rectangle).size(), 1u);
    EXPECT_EQ(OpsOf(c, Op::Rectangle)[0]->Rect, box);
    ASSERT_EQ(c.Texts().size(), 2);
    EXPECT_EQ(c.FindText(QStringLiteral("R=0,50000"))->At, (TPoint{101, 61}));

    c.Clear();
    DrawTextBox(c, {0, 0}, {});
    EXPECT_TRUE(c.Ops.empty());
}

TEST(CanvasHelpers, CalloutCircleAndLeaderAroundTheBlockCentre)
{
    TRecordingCanvas c;
    c.CharWidth = 5;
    c.Font.Height = -10;
    // Block 2 × 5 + 4 = 14 wide and 12 high: centre (107, 56), radius round(√340) div 2 = 9.
    const TPoint centre = DrawCallout(c, {100, 50}, {QStringLiteral("12")});
    EXPECT_EQ(centre, (TPoint{107, 56}));
    const auto lines = OpsOf(c, Op::LineTo);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->Points, (std::vector<TPoint>{{84, 66}, {107, 56}}));
    const auto circles = OpsOf(c, Op::Ellipse);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0]->Rect, (TRect{98, 47, 116, 65}));

    c.Clear();
    DrawCallout(c, {100, 50}, {});
    EXPECT_TRUE(c.Ops.empty());
}

TEST(CanvasHelpers, FramesKeepThePenAndKeeperRestoresAfterAnError)
{
    TRecordingCanvas c;
    c.Pen.Color = clRed;
    c.Pen.Width = 3;
    DrawFrame(c, {10, 10, 20, 30});
    const auto lines = OpsOf(c, Op::LineTo);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0]->Points.front(), (TPoint{10, 30}));
    EXPECT_EQ(lines[1]->Points.back(), (TPoint{19, 10}));
    EXPECT_EQ(lines[0]->Pen.Color, clBlack);
    EXPECT_EQ(c.Pen.Color, clRed);
    EXPECT_EQ(c.Pen.Width, 3);

    c.Clear();
    DrawSunkenFrame(c, {0, 0, 10, 10});
    ASSERT_EQ(OpsOf(c, Op::LineTo).size(), 8u);
    EXPECT_EQ(c.Ops.front().Pen.Color, clBtnShadow);
    EXPECT_EQ(c.Pen.Color, clRed);

    try {
        const TCanvasToolsKeeper keep(c);
        c.Pen.Color = clBlue;
        c.Brush.Color = clBlue;
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(c.Pen.Color, clRed);
    EXPECT_EQ(c.Brush.Color, clWhite);
}
