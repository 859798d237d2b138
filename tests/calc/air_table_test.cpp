// The air distribution table's lists: categories, typed ranges, order, cells and totals.
#include "calc/air_table.h"
#include "calc/speed_control.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class AirTableTest : public ::testing::Test
{
protected:
    AirTableTest() { ClearAllItems(t); }

    void Branch(int b, int from, int to, int type, double q = 0, double r = 0, double h = 0)
    {
        for (int n : {from, to})
            if (!NodeExist(t, n))
                CreateNode(t, n);
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchType[b] = static_cast<std::uint8_t>(type);
        t.BranchQ[b] = q;
        t.BranchR[b] = r;
        t.BranchAuxDepression[b] = h;
    }
    std::vector<int> Listed(const TAirTable &table) const
    {
        return {table.SelectedBranches.begin(), table.SelectedBranches.end()};
    }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
};

} // namespace

TEST_F(AirTableTest, EveryTypeFallsInItsCategory)
{
    const struct
    {
        int Category;
        std::vector<int> Types;
    } cases[] = {
        {acInternalLeaks, {1, 3, 5, 20}}, {acExternalLeaks, {14, 16}}, {acMainFans, {2}},
        {acLongwalls, {7}},               {acDevelopmentFaces, {10}},  {acChambers, {4}},
        {acWorkings, {0, 6, 11, 12, 13, 18, 19, 22}},
        {acIntakeShafts, {15}},           {acLocalFans, {8}},          {acMaintained, {17}},
        {acStopeSections, {23}},
    };
    for (const auto &c : cases)
        for (int type = 0; type <= 27; ++type) {
            const bool expected = std::find(c.Types.begin(), c.Types.end(), type) != c.Types.end();
            EXPECT_EQ(TypeInAirCategory(type, c.Category), expected) << c.Category << " type " << type;
        }
    // Types 9, 21, 24, 25 and 26 are listed only among all branches.
    for (int type : {9, 21, 24, 25, 26}) {
        EXPECT_TRUE(TypeInAirCategory(type, acAllBranches));
        for (int c = acInternalLeaks; c <= acStopeSections; ++c)
            EXPECT_FALSE(TypeInAirCategory(type, c)) << type;
        EXPECT_EQ(BranchCategory(type), bcOther);
    }
    EXPECT_FALSE(TypeInAirCategory(0, acAllObjects));
}

TEST_F(AirTableTest, CategoriesListExistingBranchesWithTotals)
{
    Branch(1, 1, 2, 7, 10);
    Branch(2, 2, 3, 0, 5);
    Branch(3, 3, 4, 7, -2.5);
    Branch(4, 4, 9, 7, 100);
    DestroyNode(t, 9);  // branch 4 loses an end node: it no longer exists
    TAirTable table(t);
    table.ReportStyle = 0;

    EXPECT_EQ(table.SelectCategory(acLongwalls), 2);
    EXPECT_EQ(Listed(table), (std::vector<int>{1, 3}));
    ASSERT_TRUE(table.HasTotals());
    EXPECT_EQ(table.TotalsRow(),
              (QStringList{"Итого:", "", "", "7,50", "450,0", "", "", ""}));

    EXPECT_EQ(table.SelectCategory(acAllBranches), 3);
    EXPECT_FALSE(table.HasTotals());

    EXPECT_EQ(table.SelectCategory(acChambers), 0);
    EXPECT_FALSE(table.HasTotals());
}

TEST_F(AirTableTest, ReportStyleOrdersByEndNodes)
{
    // Keys: 12×5000+7 = 60007, 12×5000+8 = 60008, 11×5000+4999 = 59999.
    Branch(1, 12, 8, 0);
    Branch(2, 12, 7, 0);
    Branch(3, 11, 4999, 0);
    TAirTable table(t);
    table.ReportStyle = 1;
    table.SelectCategory(acWorkings);
    EXPECT_EQ(Listed(table), (std::vector<int>{3, 2, 1}));
    table.ReportStyle = 0;
    table.SelectCategory(acWorkings);
    EXPECT_EQ(Listed(table), (std::vector<int>{1, 2, 3}));
}

TEST_F(AirTableTest, TypedRanges)
{
    Branch(3, 1, 2, 0);
    Branch(4, 2, 3, 0);
    Branch(5, 3, 4, 0);
    Branch(5000, 4, 5, 0);
    TAirTable table(t);
    const struct
    {
        const char *Text;
        std::vector<int> Listed;
    } cases[] = {
        {"5-3", {}},
        {"3, 3", {3, 3}},
        {"5 3; 4", {5, 3, 4}},
        {"1..4", {3, 4}},
        {"4999-5003, 6000", {5000}},
        {"", {}},
        {"3, x, 4", {3, 4}},
        {"99999999999, 3", {}},
    };
    for (const auto &c : cases) {
        table.SelectRangeText(QString::fromUtf8(c.Text));
        EXPECT_EQ(Listed(table), c.Listed) << c.Text;
        EXPECT_EQ(table.Category(), acTypedText);
        EXPECT_FALSE(table.HasTotals()) << c.Text;
    }
}

TEST_F(AirTableTest, TypedListIsBoundedByTheTables)
{
    for (int b = 1; b <= MaxItems; ++b)
        Branch(b, 1, 2, 0);
    TAirTable table(t);
    EXPECT_EQ(table.SelectRangeText(QStringLiteral("1-5000, 1-5000")), MaxItems);
    EXPECT_EQ(table.SelectedBranches.back(), MaxItems);
}

TEST_F(AirTableTest, RowsAndTitles)
{
    Branch(7, 3, 4, 6, -2.5, 2, 30);
    SetBranchName(t, 7, QStringLiteral("Штрек"));
    Branch(8, 4, 5, 0, 1.25, 0.5, 0);
    t.BranchFixedDepression[7] = 12.5;
    t.BranchFixedDepression[8] = 0.00001;
    TAirTable table(t);

    // |30| − 2 × 2,5² = 17,5.
    EXPECT_EQ(table.BranchRow(7), (QStringList{"7. Штрек", "3", "4", "-2,50", "-150,0", "2,00000", "17,5", "30,00"}));
    table.FixedDepressionMode = true;
    EXPECT_EQ(table.BranchRow(7), (QStringList{"7. Штрек", "3", "4", "-2,50", "-150,0", "2,00000", " - ", "12,50"}));
    // A fixed depression of 0.00001 counts as none.
    EXPECT_EQ(table.BranchRow(8)[6], "0,8");
    EXPECT_EQ(table.BranchRow(8)[7], "0,00");

    EXPECT_EQ(table.MakeTitle(acAllBranches), " НОРМАЛЬНОЕ ВОЗДУХОРАСПРЕДЕЛЕНИЕ  (Фикс. депрессия)");
    table.FixedDepressionMode = false;
    EXPECT_EQ(table.MakeTitle(acAllBranches), " НОРМАЛЬНОЕ ВОЗДУХОРАСПРЕДЕЛЕНИЕ ");
    EXPECT_EQ(table.MakeTitle(acLongwalls), " НОРМАЛЬНОЕ ВОЗДУХОРАСПРЕДЕЛЕНИЕ : Лавы");
    EXPECT_EQ(table.MakeTitle(acAllObjects), " НОРМАЛЬНОЕ ВОЗДУХОРАСПРЕДЕЛЕНИЕ ");
}
