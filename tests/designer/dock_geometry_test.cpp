#include "designer/dock_geometry.h"

#include <gtest/gtest.h>

namespace {

// A top dock 600 wide holding toolbars of 100 x 26 at the given places.
TDockGeometry TopDock(std::vector<std::pair<int, int>> places)
{
    TDockGeometry d;
    d.Align = TDockAlign::Top;
    d.Width = 600;
    for (auto [x, y] : places)
        d.Items.push_back({x, y, 100, 26, true});
    d.Height = 1000; // found by ArrangeRows
    int far = 0;
    for (auto &i : d.Items)
        far = std::max(far, i.Top + i.Height);
    d.Height = far + 1;
    ArrangeRows(d);
    return d;
}

} // namespace

TEST(DockGeometry, ThicknessFollowsRows)
{
    EXPECT_EQ(TopDock({}).Height, 1);
    EXPECT_EQ(TopDock({{0, 0}, {100, 0}}).Height, 27);
    EXPECT_EQ(TopDock({{0, 0}, {0, 26}}).Height, 53);
    EXPECT_EQ(TopDock({{0, 0}, {0, 26}, {0, 52}}).Height, 79);
}

TEST(DockGeometry, EmptiedMiddleRowCloses)
{
    TDockGeometry d = TopDock({{0, 0}, {0, 26}, {0, 52}});
    EXPECT_EQ(TryMove(d, 1, 200, 0), TMoveResult::Moved);
    EXPECT_EQ(d.Height, 53);
    EXPECT_EQ(d.Items[1].Top, 0);
    EXPECT_EQ(d.Items[2].Top, 26);
}

TEST(DockGeometry, DragAlongTheDock)
{
    struct Case
    {
        int x;
        bool canFloat;
        TMoveResult result;
        int left;
    } cases[] = {
        {-10, true, TMoveResult::Moved, 0},
        {-20, true, TMoveResult::Moved, 0},
        {-21, true, TMoveResult::TearOff, 200},
        {-21, false, TMoveResult::Moved, 0},
        {900, true, TMoveResult::Moved, 500},
        {5000, true, TMoveResult::Moved, 500},
    };
    for (const Case &c : cases) {
        TDockGeometry d = TopDock({{200, 0}});
        EXPECT_EQ(TryMove(d, 0, c.x, 0, c.canFloat), c.result) << c.x;
        EXPECT_EQ(d.Items[0].Left, c.left) << c.x;
    }
}

TEST(DockGeometry, OtherToolbarsPushAlong)
{
    TDockGeometry d = TopDock({{0, 0}, {300, 0}});
    EXPECT_EQ(TryMove(d, 0, 250, 0), TMoveResult::Moved);
    EXPECT_EQ(d.Items[0].Left, 200);
}

TEST(DockGeometry, RowDownPastTheLastOpensARowOrFloats)
{
    TDockGeometry shared = TopDock({{0, 0}, {200, 0}});
    EXPECT_EQ(TryMove(shared, 1, 200, 26), TMoveResult::Moved);
    EXPECT_EQ(shared.Height, 53);
    EXPECT_EQ(shared.Items[1].Top, 26);

    TDockGeometry alone = TopDock({{0, 0}});
    EXPECT_EQ(TryMove(alone, 0, 0, 26), TMoveResult::TearOff);

    TDockGeometry up = TopDock({{0, 0}, {200, 0}});
    EXPECT_EQ(TryMove(up, 1, 200, -26), TMoveResult::TearOff);
}

TEST(DockGeometry, DockingFromAFloatWindow)
{
    TDockGeometry top;
    top.Align = TDockAlign::Top;
    top.Width = 800;
    top.Height = 27;
    TDockGeometry left;
    left.Align = TDockAlign::Left;
    left.Top = 27;
    left.Width = 27;
    left.Height = 500;
    const std::vector<TDockGeometry> docks{top, left};

    EXPECT_FALSE(DockUnderPoint(docks, 10, 100, 150, 26, TfrOrientation::toHorzOnly));
    const auto t = DockUnderPoint(docks, 10, 100, 150, 26, TfrOrientation::toAny);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Dock, 1);
    EXPECT_EQ(t->X, 26);
    EXPECT_EQ(t->Y, 73);
    const auto onTop = DockUnderPoint(docks, 780, 5, 150, 26, TfrOrientation::toAny);
    ASSERT_TRUE(onTop);
    EXPECT_EQ(onTop->X, 650);
    EXPECT_EQ(onTop->Y, 26);
    EXPECT_FALSE(DockUnderPoint(docks, 400, 400, 150, 26, TfrOrientation::toAny));
}

TEST(DockGeometry, TurningKeepsButtonOrder)
{
    TToolBarShape bar;
    bar.Lengths = {11, 22, 22, 8, 22};
    FitLength(bar);
    EXPECT_EQ(bar.Width, 89);
    MatchOrientation(bar, false);
    EXPECT_EQ(bar.Height, 89);
    EXPECT_EQ(bar.Width, 26);
    const auto rects = ChildRects(bar);
    ASSERT_EQ(rects.size(), 5u);
    EXPECT_EQ(rects[1].Top, 12);
    EXPECT_EQ(rects[2].Top, 34);
    EXPECT_EQ(rects[4].Top, 64);
    EXPECT_EQ(rects[4].Left, 1);
}

TEST(DockGeometry, BottomDockGrowsKeepingItsEdge)
{
    TDockGeometry d;
    d.Align = TDockAlign::Bottom;
    d.Top = 600;
    d.Width = 800;
    d.Height = 1;
    const TDockItem p = EdgePlacement(d, 100, 26);
    d.Items.push_back(p);
    ArrangeRows(d);
    EXPECT_EQ(d.Height, 27);
    EXPECT_EQ(d.Top + d.Height, 601);
    EXPECT_EQ(d.Items[0].Top, 1);
}
