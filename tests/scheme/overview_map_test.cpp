#include "scheme/overview_map.h"

#include "scheme_test_network.h"

#include <gtest/gtest.h>

namespace {
using Op = TRecordingCanvas::TOpKind;

class OverviewMapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AddTestNode(T, 1, 100, 100);
        AddTestNode(T, 2, 500, 300);
        AddTestBranch(T, 1, 1, 2);
        View.Zoom = 1;
    }

    // Frames drawn in a colour, as the four corners of their outline.
    std::vector<TPoint> FramePoints(TColor color) const
    {
        std::vector<TPoint> points;
        for (const auto &op : Canvas.Ops)
            if (op.Kind == Op::LineTo && op.Pen.Color == color)
                points.push_back(op.Points.front());
        return points;
    }

    TNetworkTables T{};
    TViewport View;
    TRecordingCanvas Canvas;
    TOverviewMap Map;
};

} // namespace

TEST_F(OverviewMapTest, AFarScrolledViewWidensTheWorldAndStaysFramedInside)
{
    const TRect clip{0, 0, 200, 100};
    EXPECT_EQ(OverviewWorldRect(T, View, clip), (TRect{0, 0, 501, 301}));
    View.ScrollX = 3000;
    View.ScrollY = 1000;
    const TRect world = OverviewWorldRect(T, View, clip);
    EXPECT_EQ(world, (TRect{99, 99, 3201, 1101}));
    Map.Draw(Canvas, 128, 80, T, world, View.VisibleSchemeRect(clip), false, 1500, 1000);
    EXPECT_DOUBLE_EQ(Map.Scale, 128.0 / 3102);
    EXPECT_TRUE(FramePoints(clBlue).empty());  // no sheet frame while the sheet is hidden
    const std::vector<TPoint> red = FramePoints(clRed);
    ASSERT_EQ(red.size(), 4u);
    for (const TPoint &p : red) {
        EXPECT_GE(p.X, 0);
        EXPECT_LE(p.X, 128);
        EXPECT_GE(p.Y, 0);
        EXPECT_LE(p.Y, 80);
    }
    // The branch shrinks into the map's left corner.
    const auto branch = std::find_if(Canvas.Ops.begin(), Canvas.Ops.end(), [](const auto &op) { return op.Kind == Op::Polyline; });
    ASSERT_NE(branch, Canvas.Ops.end());
    EXPECT_EQ(branch->Points, (std::vector<TPoint>{{0, 0}, {16, 8}}));
}

TEST_F(OverviewMapTest, MapAndSchemePointsRoundTripAndAnEmptyMapIgnoresClicks)
{
    Map.Draw(Canvas, 130, 80, T, {0, 0, 501, 301}, {0, 0, 200, 100}, true, 1500, 1000);
    EXPECT_EQ(FramePoints(clBlue).size(), 4u);
    TPoint p;
    ASSERT_TRUE(Map.SchemePoint(Map.MapX(500), Map.MapY(300), p));
    EXPECT_NEAR(p.X, 500, 1 / Map.Scale);
    EXPECT_NEAR(p.Y, 300, 1 / Map.Scale);

    TOverviewMap empty;
    empty.Draw(Canvas, 0, 0, T, {0, 0, 501, 301}, {0, 0, 10, 10}, false, 1500, 1000);
    EXPECT_FALSE(empty.SchemePoint(10, 10, p));
}
