// Air speed control: limits by kind, speeds, limit texts, row marks and filters.
#include "calc/speed_control.h"

#include <gtest/gtest.h>

#include <memory>

TEST(SpeedLimits, DefaultsByKind)
{
    const struct
    {
        int Type;
        double Min, Max;
    } cases[] = {
        {7, 0.25, 4},  {10, 0.15, 4},  {4, -100, 6},  {11, 0.15, 8},  {12, 0.15, 8},
        {15, 0.15, 8}, {13, 0.15, 12}, {24, 0.15, 1000}, {25, 0.15, 15}, {26, 0.15, 15},
        {0, 0.15, 6},  {23, 0.15, 6},  {27, 0.15, 6},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(DefaultMinSpeed(c.Type), c.Min) << c.Type;
        EXPECT_EQ(DefaultMaxSpeed(c.Type), c.Max) << c.Type;
    }
    EXPECT_EQ(TypeCodeOfName(QStringLiteral("Лава")), 7);
    EXPECT_EQ(TypeCodeOfName(QStringLiteral("нет такого")), 27);
}

namespace {

class SpeedTableTest : public ::testing::Test
{
protected:
    SpeedTableTest() { ClearAllItems(t); }

    // A branch of the given kind with flow q through a section of area s and its kind's limits.
    void Branch(int b, int type, double q, double s)
    {
        for (int n : {b, b + 1})
            if (!NodeExist(t, n))
                CreateNode(t, n);
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(b);
        t.BranchEndNode[b] = static_cast<std::int16_t>(b + 1);
        t.BranchType[b] = static_cast<std::uint8_t>(type);
        t.BranchQ[b] = q;
        t.BranchArea[b] = s;
        t.BranchMinSpeed[b] = DefaultMinSpeed(type);
        t.BranchMaxSpeed[b] = DefaultMaxSpeed(type);
    }
    std::vector<int> Rows() const { return {table.SpeedRows.begin(), table.SpeedRows.end()}; }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    TSpeedTable table{t};
};

} // namespace

TEST_F(SpeedTableTest, SpeedsLimitsAndMarks)
{
    Branch(1, 0, -10, 5);     // 2 m/s, within 0.15..6
    Branch(3, 7, 1, 10);      // longwall at 0.1 m/s: below 0.25
    Branch(5, 0, 70, 10);     // 7 m/s: above 6
    Branch(7, 4, 0.1, 10);    // chamber: not regulated below
    Branch(9, 24, 200, 1);    // borehole: not limited above
    Branch(11, 0, 10, 0);     // no section: no speed
    Branch(13, 2, 10, 5);     // main fan: not controlled
    Branch(15, 0, 0, 5);      // no minimum of its own: its kind's 0.15
    t.BranchMinSpeed[15] = -1;
    table.ComputeSpeeds();

    EXPECT_EQ(Rows(), (std::vector<int>{1, 3, 5, 7, 9, 15}));
    EXPECT_EQ(table.Speeds[1], 2);
    EXPECT_EQ(table.Speeds[11], NoSpeed);
    EXPECT_EQ(table.Speeds[13], NoSpeed);
    EXPECT_EQ(table.Speeds[2], NoSpeed);

    EXPECT_EQ(table.State(1), ssNormal);
    EXPECT_EQ(table.State(3), ssBelowMin);
    EXPECT_EQ(table.State(5), ssAboveMax);
    EXPECT_EQ(table.State(7), ssNormal);
    EXPECT_EQ(table.State(9), ssNormal);
    EXPECT_EQ(table.State(15), ssBelowMin);

    EXPECT_EQ(table.BranchRow(1), (QStringList{"1. " + GetBranchName(t, 1), "1", "2", "2,00", "-10,00", "5,0",
                                               "0,15", "6,00"}));
    EXPECT_EQ(table.BranchRow(7)[6], "не регл.");
    EXPECT_EQ(table.BranchRow(9)[7], "не огр.");
    EXPECT_EQ(table.BranchRow(15)[6], "0,15");
    EXPECT_EQ(MinSpeedText(t, 13), "не контр.");
    EXPECT_EQ(MaxSpeedText(t, 13), "не контр.");
}

TEST_F(SpeedTableTest, Filters)
{
    Branch(1, 0, 10, 5);
    Branch(3, 7, 1, 10);
    Branch(5, 0, 70, 10);
    Branch(7, 7, 50, 10);
    Branch(9, 0, 5, 10);
    Branch(11, 2, 5, 10);
    t.BranchGasLayerControl[3] = 1;
    t.BranchGasLayerControl[9] = 1;   // 0.5 m/s
    t.BranchGasLayerControl[1] = 1;   // 2 m/s: fast enough
    table.ComputeSpeeds();
    const QStringList items = table.FilterItems();
    ASSERT_GE(items.size(), 5);
    EXPECT_EQ(items[0], "1-11");
    EXPECT_EQ(items[3], "Контроль слоевого скопления");
    EXPECT_EQ(items.size(), 4 + 27 - 7);
    EXPECT_FALSE(items.contains("ВГП"));

    const struct
    {
        int Index;
        QString Text;
        std::vector<int> Rows;
    } cases[] = {
        {sfBelowMin, items[1], {3}},
        {sfAboveMax, items[2], {5, 7}},
        {sfGasLayer, items[3], {3, 9}},
        {sfRange, items[0], {1, 3, 5, 7, 9}},
        {-1, "9, 1-3, 11, 9, 6000", {9, 1, 3, 9}},
        {-1, "5-3", {}},
        {static_cast<int>(items.indexOf("Лава")), "Лава", {3, 7}},
    };
    for (const auto &c : cases) {
        table.ApplyFilter(c.Index, c.Text);
        EXPECT_EQ(Rows(), c.Rows) << c.Text.toStdString();
    }
}

TEST_F(SpeedTableTest, TypedRowsAreBounded)
{
    Branch(1, 0, 10, 5);
    table.ComputeSpeeds();
    QString text;
    for (int i = 0; i < 6000; ++i)
        text += QStringLiteral("1 ");
    table.ApplyFilter(-1, text);
    EXPECT_EQ(table.SpeedRowCount(), MaxItems);
}
