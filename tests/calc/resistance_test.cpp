// Resistance from geometry, from alpha, from a door's window, and the
// resistance block over small tables.
#include "calc/resistance.h"
#include "calc/resistance_block.h"
#include "platform/prompt.h"

#include <gtest/gtest.h>

#include <memory>

TEST(Resistance, Formulas)
{
    struct TCase
    {
        const char *Name;
        double Value;
        double Expected;
    };
    const TCase cases[] = {
        {"square section", SectionResistance(100, 9, 10, SectionShapeFactors[0].Factor), 0.0016461},
        {"circular section", SectionResistance(100, 9, 10, SectionShapeFactors[3].Factor), 0.0014650},
        {"no length", SectionResistance(0, 9, 10, 4), 0},
        {"no shape", SectionResistance(100, 9, 10, 0), 0},
        {"by alpha", CalcRByAlpha(9, 100, 12), 0.000386 * 12 * 100 * 3 / 729},
        {"window 2 in 10", RegulatorResistance(10, 2), 0.0273569},
        {"window 5 in 10", RegulatorResistance(10, 5), 0.0026349},
        {"window 6 in 10", RegulatorResistance(10, 6), 0.0007846},
        {"window of the whole section", RegulatorResistance(10, 10), 0},
        {"no window", RegulatorResistance(10, 0), 0},
    };
    for (const TCase &c : cases)
        EXPECT_NEAR(c.Value, c.Expected, 5e-8) << c.Name;
    EXPECT_NEAR(CalcRByAlpha(9, 100, 12), 0.0019062, 5e-8);
}

namespace {

// Branches 1 to 6 between nodes 1 and 2, each showing one of the block's rules.
class RBlock : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int n : {1, 2})
            CreateNode(t, n);
        for (int b = 1; b <= 6; ++b) {
            CreateBranch(t, b);
            t.BranchStartNode[b] = 1;
            t.BranchEndNode[b] = 2;
            t.BranchName[b] = QStringLiteral("Ветвь %1").arg(b);
        }
        // 1: a given R with everything else given too.
        Set(1, 0.5, 25, 50, 12, 100, 9);
        // 2: measured.
        Set(2, 0, 25, 50, 12, 100, 9);
        // 3: computed (no measured flow).
        Set(3, 0, 25, 0, 12, 100, 9);
        // 4: a negative measured flow with a positive depression.
        Set(4, 0, 25, -50, 12, 100, 9);
        // 5: nothing known.
        Set(5, 0, 0, 0, 0, 0, 0);
        // 6: given again, so that OK has something to leave alone.
        Set(6, 0.02, 0, 0, 0, 0, 0);
    }

    void Set(int b, double r, double h, double q, double alpha, int length, double area)
    {
        t.BranchR[b] = r;
        t.BranchMeasuredDepression[b] = h;
        t.BranchMeasuredFlow[b] = q;
        t.BranchAlpha[b] = alpha;
        t.BranchLength[b] = static_cast<std::int16_t>(length);
        t.BranchArea[b] = area;
    }

    bool SameTables(const TNetworkTables &other) const
    {
        return t.BranchR == other.BranchR && t.BranchMeasuredDepression == other.BranchMeasuredDepression
               && t.BranchMeasuredFlow == other.BranchMeasuredFlow && t.BranchAlpha == other.BranchAlpha
               && t.BranchLength == other.BranchLength && t.BranchArea == other.BranchArea;
    }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    TScriptedPrompt prompt;
};

} // namespace

TEST_F(RBlock, EachBranchTakesItsSource)
{
    TRBlock block(RBlockArraysOf(t));
    ASSERT_TRUE(block.CheckTopology());
    block.ComputeResistances();
    EXPECT_TRUE(prompt.Asked.empty());
    ASSERT_EQ(block.RowCount(), 6);

    EXPECT_EQ(block.CellText(rcMeasuredR, 0), QStringLiteral(" 0,00000"));
    EXPECT_EQ(block.CellText(rcComputedR, 0), QStringLiteral(" 0,00000"));
    EXPECT_DOUBLE_EQ(block.MeasuredR(2), 0.01);
    EXPECT_EQ(block.ComputedR(2), 0);
    EXPECT_NEAR(block.ComputedR(3), 0.0019062, 5e-8);
    EXPECT_EQ(block.MeasuredR(3), 0);

    EXPECT_TRUE(block.IsIncompleteRow(3));
    EXPECT_TRUE(block.IsIncompleteRow(4));
    EXPECT_FALSE(block.IsIncompleteRow(2));
    EXPECT_EQ(block.IncompleteCount, 2);
    EXPECT_EQ(block.IncompleteList,
              (QStringList{QStringLiteral("Ветвь N   4: Ветвь 4"), QStringLiteral("Ветвь N   5: Ветвь 5")}));

    // The row's texts in the columns' formats.
    const QStringList row2{QStringLiteral("  2"), QStringLiteral("  1"), QStringLiteral("  2"),
                           QStringLiteral(" 0,00000"), QStringLiteral(" 0,01000"), QStringLiteral(" 0,00000"),
                           QStringLiteral("  25,0"), QStringLiteral("  50,0"), QStringLiteral("    12,0"),
                           QStringLiteral("   100"), QStringLiteral(" 9,0"), QStringLiteral("Ветвь 2")};
    for (int c = 0; c < RBlockColumnCount; ++c)
        EXPECT_EQ(block.CellText(c, 1), row2[c]) << c;

    // With every branch complete the list says so.
    t.BranchMeasuredFlow[4] = 0;
    t.BranchAlpha[5] = 10;
    t.BranchLength[5] = 50;
    t.BranchArea[5] = 4;
    TRBlock complete(RBlockArraysOf(t));
    complete.ComputeResistances();
    EXPECT_EQ(complete.IncompleteList, QStringList{QStringLiteral("Такие ветви отсутствуют")});
}

TEST_F(RBlock, NoBranchOrBrokenTopologyStops)
{
    {
        auto empty = std::make_unique<TNetworkTables>();
        TRBlock block(RBlockArraysOf(*empty));
        EXPECT_FALSE(block.CheckTopology());
    }
    t.BranchEndNode[3] = 0;
    TRBlock block(RBlockArraysOf(t));
    EXPECT_FALSE(block.CheckTopology());
    ASSERT_EQ(prompt.Asked.size(), 2u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("В схеме нет ни одной ветви!\r\rЗадание СНИМАЕТСЯ!..."));
    EXPECT_EQ(prompt.Asked[1].Text,
              QStringLiteral("В схеме 1 ветвей\rс неполной топологией!\r\rЗадание СНИМАЕТСЯ!..."));
    EXPECT_EQ(prompt.Asked[1].Flags, mb::Ok | mb::IconWarning);
}

TEST_F(RBlock, TypedValuesAreCheckedAndOutOfRangeResultsPutBack)
{
    TRBlock block(RBlockArraysOf(t));
    ASSERT_TRUE(block.CheckTopology());
    block.ComputeResistances();

    EXPECT_FALSE(block.SetCellText(rcMeasuredH, 1, QStringLiteral("abc")));
    EXPECT_FALSE(block.SetCellText(rcMeasuredH, 1, QStringLiteral("1001")));
    EXPECT_FALSE(block.SetCellText(rcActualR, 1, QStringLiteral("-1")));
    EXPECT_FALSE(block.SetCellText(rcMeasuredR, 1, QStringLiteral("1")));
    ASSERT_EQ(prompt.Asked.size(), 3u);
    EXPECT_EQ(prompt.Asked[0].Text,
              QStringLiteral("Число abc\rНАБРАНО НЕВЕРНО!!!\r\rПОВТОРИТЕ ВВОД ВНИМАТЕЛЬНЕЙ!..."));
    EXPECT_EQ(prompt.Asked[1].Text, QStringLiteral("Соблюдайте ограничения значений,\rздесь ожидается положительное "
                                                   "число,\rне превышающее 1000,0 \r\rПОВТОРИТЕ ВВОД ВНИМАТЕЛЬНЕЙ!..."));
    EXPECT_EQ(prompt.Asked[2].Text, QStringLiteral("Соблюдайте ограничения значений,\rздесь ожидается положительное "
                                                   "число,\rне превышающее 999,00000 \r\rПОВТОРИТЕ ВВОД ВНИМАТЕЛЬНЕЙ!..."));
    EXPECT_EQ(block.CellText(rcMeasuredH, 1), QStringLiteral("  25,0"));

    // H = 1000 over Q = 0,5 gives 4000 kilomurgues: warned, H and Q of the
    // opening come back.
    prompt.Asked.clear();
    EXPECT_TRUE(block.SetCellText(rcMeasuredH, 1, QStringLiteral("1000")));
    EXPECT_TRUE(block.SetCellText(rcMeasuredQ, 1, QStringLiteral("0,5")));
    block.ComputeResistances();
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("По данным измерений сопротивление ветви 2\rравно 4000,00000 кмюрг, "
                                                   "-\rвне допустимого диапазона 0.00001...999!\r\rУточните измеренные "
                                                   "параметры H и Q!..."));
    EXPECT_EQ(block.MeasuredR(2), 0);
    EXPECT_EQ(block.CellText(rcMeasuredH, 1), QStringLiteral("  25,0"));
    EXPECT_EQ(block.CellText(rcMeasuredQ, 1), QStringLiteral("  50,0"));

    // A computed R below the range puts alpha, length and area back.
    prompt.Asked.clear();
    EXPECT_TRUE(block.SetCellText(rcLength, 2, QStringLiteral("1,5")));
    EXPECT_EQ(block.CellText(rcLength, 2), QStringLiteral("     2"));
    EXPECT_TRUE(block.SetCellText(rcAlpha, 2, QStringLiteral("0,01")));
    EXPECT_TRUE(block.SetCellText(rcArea, 2, QStringLiteral("90")));
    block.ComputeResistances();
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith(QStringLiteral("По данным расчета сопротивление ветви 3\r")));
    EXPECT_TRUE(prompt.Asked[0].Text.endsWith(QStringLiteral("Уточните исходные параметры альфа, L и S!")));
    EXPECT_EQ(block.CellText(rcLength, 2), QStringLiteral("   100"));
    EXPECT_EQ(block.CellText(rcAlpha, 2), QStringLiteral("    12,0"));
    EXPECT_EQ(block.CellText(rcArea, 2), QStringLiteral(" 9,0"));

    // An empty text is 0.
    EXPECT_TRUE(block.SetCellText(rcActualR, 0, QString()));
    EXPECT_EQ(block.CellText(rcActualR, 0), QStringLiteral(" 0,00000"));
}

TEST_F(RBlock, OkAfterTypingFillsTheResistances)
{
    TRBlock block(RBlockArraysOf(t));
    ASSERT_TRUE(block.CheckTopology());
    block.ComputeResistances();
    block.Edited = true;
    block.ApplyOk();
    EXPECT_TRUE(block.WriteBack());
    EXPECT_EQ(t.BranchR[1], 0.5);
    EXPECT_DOUBLE_EQ(t.BranchR[2], 0.01);
    EXPECT_NEAR(t.BranchR[3], 0.0019062, 5e-8);
    EXPECT_EQ(t.BranchR[4], 0);
    EXPECT_EQ(t.BranchR[5], 0);
    EXPECT_EQ(t.BranchR[6], 0.02);
}

TEST_F(RBlock, OkWithoutTypingAndCancelLeaveTheTables)
{
    const auto before = std::make_unique<TNetworkTables>(t);
    {
        TRBlock block(RBlockArraysOf(t));
        ASSERT_TRUE(block.CheckTopology());
        block.ComputeResistances();
        block.ApplyOk();
        EXPECT_FALSE(block.WriteBack());
        EXPECT_TRUE(SameTables(*before));
    }
    TRBlock block(RBlockArraysOf(t));
    ASSERT_TRUE(block.CheckTopology());
    block.ComputeResistances();
    block.Edited = true;
    ASSERT_TRUE(block.SetCellText(rcActualR, 4, QStringLiteral("3")));
    ASSERT_TRUE(block.SetCellText(rcLength, 4, QStringLiteral("70")));
    block.ComputeResistances();
    block.ApplyOk();
    block.RestoreOpening();
    EXPECT_FALSE(block.WriteBack());
    EXPECT_TRUE(SameTables(*before));
}
