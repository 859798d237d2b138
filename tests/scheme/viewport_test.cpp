#include "scheme/viewport.h"

#include <gtest/gtest.h>

TEST(Viewport, MappingRoundsHalvesToEvenAndScrollNeverNegative)
{
    TViewport v;
    v.Zoom = 1;
    EXPECT_EQ(v.ScreenX(2.5), 2);
    EXPECT_EQ(v.ScreenX(3.5), 4);
    v.SetScrollX(-5);
    EXPECT_EQ(v.ScrollX, 0);
    v.KeyScroll(skLeft, 800, 600);
    EXPECT_EQ(v.ScrollX, 0);
    v.KeyScroll(skRight, 800, 600);
    EXPECT_EQ(v.ScrollX, 400);
    v.CenterOn(10, 10, 800, 600);
    EXPECT_LT(v.ScrollX, 0); // centring may put the origin inside the view
    v.KeyScroll(skHome, 800, 600);
    EXPECT_EQ(v.ScrollY, 0);
}

TEST(Viewport, SnappingAndEdges)
{
    TViewport v;
    v.Zoom = 1;
    const std::pair<int, int> cases[] = {{14, 10}, {15, 20}, {-7, 0}, {-17, -10}};
    for (auto [x, expected] : cases) {
        v.LastMouse = {x, 0};
        EXPECT_EQ(v.SnappedMouseX(true, 10), expected) << x;
        EXPECT_EQ(v.SnappedMouseX(false, 10), x);
    }
    EXPECT_FALSE(TViewport::NearEdge(8, 300, 800, 600));
    EXPECT_TRUE(TViewport::NearEdge(7, 300, 800, 600));
    EXPECT_EQ(TViewport::EdgeCursor(2, 2, 800, 600, 1), 16);
    EXPECT_EQ(TViewport::EdgeCursor(799, 599, 800, 600, 1), 18);
    EXPECT_EQ(TViewport::EdgeCursor(400, 300, 800, 600, 5), 5);
}

TEST(Viewport, FitRectIncludingDegenerateRectangles)
{
    TViewport v;
    const TRect clip{0, 0, 999, 499};
    v.FitRect({0, 0, 1000, 1000}, clip);
    EXPECT_EQ(v.ZoomStep, 0);
    EXPECT_DOUBLE_EQ(v.Zoom, 500.0 / 1060);
    EXPECT_DOUBLE_EQ(v.ScrollX, -30 * v.Zoom);

    // All nodes on one vertical line: fitted by the height alone.
    v.FitRect({100, 0, 100, 1000}, clip);
    EXPECT_TRUE(std::isfinite(v.Zoom));
    EXPECT_DOUBLE_EQ(v.Zoom, 500.0 / 1060);

    v.FitRect({50, 60, 50, 60}, clip);
    EXPECT_DOUBLE_EQ(v.Zoom, ZoomFactors[LastZoomStep]);
    EXPECT_EQ(v.GetViewCenter(1000, 500), (TPoint{50, 60}));
}
