#include "model/branch_values.h"
#include "model/geometry_queries.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class Geometry : public ::testing::Test
{
protected:
    void Node(int n, int x, int y)
    {
        CreateNode(t, n);
        t.NodeX[n] = static_cast<std::int16_t>(x);
        t.NodeY[n] = static_cast<std::int16_t>(y);
    }
    void Branch(int b, int from, int to, TTurnList inner = {})
    {
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchTurns[b] = inner;
        InsertBranchEdgeTurns(t, b);
    }
    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
};

} // namespace

TEST_F(Geometry, NodeHitsUseAnOpenBox)
{
    Node(1, 100, 100);
    Node(2, 102, 100);
    EXPECT_EQ(HitNode(t, 104, 100), 2);  // both in reach: the higher number
    int branch = 0, turn = 0;
    EXPECT_EQ(HitNodeOrTurn(t, 101, 100, branch, turn), 1); // the lower one
    EXPECT_EQ(branch, -1);
    EXPECT_EQ(HitNode(t, 96, 100), -1);   // exactly 4 left of node 1
    EXPECT_EQ(HitNode(t, 97, 100), 1);
    t.NodeX[1] = UnplacedX;
    t.NodeY[1] = UnplacedY;
    EXPECT_EQ(HitNode(t, UnplacedX, UnplacedY), -1);
}

TEST_F(Geometry, BendPointsAndBranchSegments)
{
    Node(1, 0, 0);
    Node(2, 100, 0);
    Branch(5, 1, 2, {TTurn(5, 50, 50)});
    int branch = 0, turn = 0;
    EXPECT_EQ(HitNodeOrTurn(t, 52, 48, branch, turn), -1);
    EXPECT_EQ(branch, 5);
    EXPECT_EQ(turn, 1);

    TPoint foot{-1, -1};
    // Zoom 2: tolerance 2 units (squared below 4).
    EXPECT_EQ(HitBranch(t, 2, 26, 24, foot), 5);
    EXPECT_EQ(foot, (TPoint{25, 25}));
    foot = {-1, -1};
    EXPECT_EQ(HitBranch(t, 2, 27, 24, foot), -1); // about 2.1 units off
    EXPECT_EQ(foot, (TPoint{-1, -1}));
    EXPECT_EQ(HitBranch(t, 0.85, 27, 24, foot), 5); // about 4.7 units at 0.85
    // Beyond the end of a segment, on its line.
    EXPECT_EQ(HitBranch(t, 2, -10, -10, foot), -1);
}

TEST_F(Geometry, HitListsStopAtTheLimit)
{
    for (int n = 1; n <= 40; ++n)
        Node(n, 10, 10);
    THitList list(31);
    FindNodesAt(t, 10, 10, list);
    EXPECT_EQ(list.Count(), 31);
    THitList phones(5);
    const TPoint at[] = {{10, 10}, {50, 50}, {11, 9}};
    FindPhonesAt(at, 10, 10, phones);
    EXPECT_EQ(phones.Codes(), (std::vector<std::int32_t>{HitPhoneBase + 0, HitPhoneBase + 2}));
    THitList texts(5);
    const TRect rects[] = {{0, 0, 10, 10}, {11, 11, 20, 20}};
    FindTextsAt(rects, 10, 10, texts);
    EXPECT_EQ(texts.Codes(), (std::vector<std::int32_t>{HitTextBase}));
}

TEST_F(Geometry, SchemeBoundsAndRectangleSelection)
{
    Node(1, 10, 10);
    EXPECT_EQ(SchemeBounds(t), (TRect{0, 0, 1500, 1000}));
    Node(2, 200, 100);
    Node(3, 50, 300);
    Branch(1, 1, 2, {TTurn(1, 400, -20)});
    Branch(2, 2, 3);
    EXPECT_EQ(SchemeBounds(t), (TRect{9, -21, 401, 301}));

    TBranchColors colors{};
    SelectBranchesInRect(t, colors, {0, 0, 200, 100});
    EXPECT_TRUE(IsBranchSelected(t, 1));
    EXPECT_FALSE(IsBranchSelected(t, 2));
    EXPECT_EQ(colors[1], SelectionColor);
}
