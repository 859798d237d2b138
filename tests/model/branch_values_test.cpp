#include "model/branch_values.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class BranchValues : public ::testing::Test
{
protected:
    void Chain(int b, int from, int to, int type = 0, int people = 0)
    {
        for (int n : {from, to})
            CreateNode(t, n);
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchType[b] = static_cast<std::uint8_t>(type);
        t.BranchPeople[b] = static_cast<std::int16_t>(people);
    }
    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
};

} // namespace

TEST_F(BranchValues, TextsAndDepression)
{
    Chain(1, 1, 2);
    t.BranchStartTemp[1] = -40;
    EXPECT_EQ(FormatBranchStartTemp(t, 1), QString());
    t.BranchStartTemp[1] = -39.9;
    EXPECT_EQ(FormatBranchStartTemp(t, 1), QStringLiteral("-39,9"));
    t.BranchR[1] = 2;
    t.BranchQ[1] = 3;
    t.BranchAuxDepression[1] = -10;
    EXPECT_DOUBLE_EQ(BranchDepression(t, 1), 8);
    EXPECT_EQ(FormatBranchDepression(t, 1), QStringLiteral("8,00"));
    EXPECT_EQ(FormatBranchR(t, 1), QStringLiteral("2,00000"));
    t.BranchLength[1] = 125;
    EXPECT_EQ(FormatBranchLength(t, 1), QStringLiteral("125,0"));
}

TEST_F(BranchValues, SelectionRestoresTheStandardColour)
{
    Chain(1, 1, 2);
    TBranchColors colors{};
    colors[1] = 0x00FF00;
    ToggleBranchSelection(t, colors, 1, 0x123456);
    EXPECT_TRUE(IsBranchSelected(t, 1));
    EXPECT_EQ(colors[1], SelectionColor);
    ToggleBranchSelection(t, colors, 1, 0x123456);
    EXPECT_EQ(colors[1], 0x123456);

    SelectBranch(t, colors, 1);
    DestroyBranch(t, 1);
    t.BranchFlags[1] = bfSelected; // a bit left behind in a free place
    EXPECT_TRUE(AnyBranchSelected(t));
    EXPECT_EQ(SelectedBranchCount(t), 0);
}

TEST_F(BranchValues, PLAPositionColours)
{
    Chain(1, 1, 2);
    Chain(2, 2, 3);
    t.BranchPLAPosition[1] = 4;
    t.BranchPLAPosition[2] = 4;
    TBranchColors colors{};
    SetPLAPositionColor(t, 4, 0x0000FF, true, colors);
    EXPECT_EQ(colors[2], 0x0000FF);
    EXPECT_EQ(GetPLAPositionColor(t, 4), 0x0000FF);
    EXPECT_EQ(FindBranchByPLAPosition(t, 4), 1);
    EXPECT_EQ(FindBranchByPLAPosition(t, 9), 0);
}

TEST_F(BranchValues, TraceUpstreamStopsAtLeakagesAndEndsOnLoops)
{
    // 1 -> 2 -> 3 -> 4, and a loop 4 -> 1; branch 5 (a leakage) feeds node 3.
    Chain(1, 1, 2);
    Chain(2, 2, 3, 0, 3); // people
    Chain(3, 3, 4);
    Chain(4, 4, 1);
    Chain(5, 5, 3, 1);
    TBranchMarks marks{};
    marks[5] = 7;
    TraceUpstream(t, 3, 1, marks);
    EXPECT_EQ(marks[3], 2); // the loop brings the people mark back round: the later visit decides
    EXPECT_EQ(marks[2], 2);
    EXPECT_EQ(marks[1], 2); // upstream of people
    EXPECT_EQ(marks[4], 2);
    EXPECT_EQ(marks[5], 7); // leakage without people: left alone
}
