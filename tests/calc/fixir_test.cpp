#include "calc/fixir.h"

#include "calc/vent_boost.h"
#include "four_branches.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class Fixir : public ::testing::Test
{
protected:
    void SetUp() override { MakeFourBranches(t); }
    // Opens the study on the network's own resistance and fixed-value tables.
    TFixirStudy &Open()
    {
        study = std::make_unique<TFixirStudy>(t);
        study->Open(t.BranchR, t.BranchRequiredFlow, t.BranchFixedDepression);
        study->FixirCount();
        return *study;
    }
    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    std::unique_ptr<TFixirStudy> study;
};

TEST_F(Fixir, Classification)
{
    struct Case
    {
        double R, Qf, Hf, H;
        double Rc, Hadd;
        bool FixedFlow, FixedDepression, NoInformation, ToCompute;
    };
    const Case cases[] = {
        {0, 2, 0, 5, 9005.0 / 4, 9005, true, false, false, true},
        {0, 0.5, 0, 0, 1000 / 0.25, 1000, true, false, false, true},
        {0, 6, 0, 0, 200000.0 / 36, 200000, true, false, false, true},
        {0, 10, 20, 0, 0.2, 0, true, false, false, true},
        {0, 0.001, 50, 0, 999, 0, true, false, false, true},
        {0, 0, 30, 12, 0.00001, -18, false, true, false, true},
        {0.3, 10, 20, 0, 0.2, 0, true, false, false, false},  // R > 0 is never computed
        {0, 0, 0, 0, 0, 0, false, false, true, false},
        // The unset markers are no data, not a required flow of 1e-7.
        {0, ValueNotGiven, ValueNotGiven, 0, 0, 0, false, false, true, false},
    };
    for (const Case &c : cases) {
        t.BranchR[3] = c.R;
        t.BranchRequiredFlow[3] = c.Qf;
        t.BranchFixedDepression[3] = c.Hf;
        t.BranchAuxDepression[3] = c.H;
        const FixirStudyTables &s = Open().Tables;
        SCOPED_TRACE(testing::Message() << "R " << c.R << " Qf " << c.Qf << " Hf " << c.Hf);
        EXPECT_DOUBLE_EQ(s.Rc[3], c.Rc);
        EXPECT_DOUBLE_EQ(s.Hadd[3], c.Hadd);
        EXPECT_EQ(s.FixedFlow[3] != 0, c.FixedFlow);
        EXPECT_EQ(s.FixedDepression[3] != 0, c.FixedDepression);
        EXPECT_EQ(s.NoInformation[3] != 0, c.NoInformation);
        EXPECT_EQ(s.ToCompute[3] != 0, c.ToCompute);
    }
}

TEST_F(Fixir, DerivesTheResistanceOfARequiredFlowOrDepression)
{
    t.BranchR[3] = 0;
    t.BranchRequiredFlow[3] = 30;
    TFixirStudy &s = Open();
    TFixirOutcome out = s.Start();
    EXPECT_TRUE(out.Computed);
    EXPECT_TRUE(out.Warning.isEmpty());
    EXPECT_NEAR(s.Tables.R[3], 0.0744, 0.0001);
    EXPECT_NEAR(s.Tables.Qc[3], 30.0, 0.05);
    EXPECT_EQ(s.Tables.DiscrepantCount, 0);
    EXPECT_TRUE(s.Row(3)[fcQc].startsWith(QStringLiteral("30,0")));
    // The derived resistance is no longer 0.
    out = s.Start();
    EXPECT_FALSE(out.Computed);
    EXPECT_TRUE(out.Warning.startsWith(QStringLiteral("Все значения сопротивлений заданы!\rРасчет НЕ ПРОИЗВОДИТСЯ!")));
    // Nothing reached the network before write-back.
    EXPECT_EQ(t.BranchR[3], 0);

    t.BranchRequiredFlow[3] = 0;
    t.BranchFixedDepression[3] = 40;
    TFixirStudy &d = Open();
    EXPECT_TRUE(d.Start().Computed);
    EXPECT_NEAR(d.Tables.R[3], 0.0200, 0.0001);
    EXPECT_NEAR(d.Row(3)[fcHc].replace(u',', u'.').toDouble(), 40, 0.1);
    TTable<double> r{}, qf{}, hf{};
    d.WriteBack(r, qf, hf);
    EXPECT_EQ(r[3], d.Tables.R[3]);
    EXPECT_EQ(hf[3], 40);
    EXPECT_EQ(r[1], 0.01);
}

TEST_F(Fixir, ImpossibleCalculationsRestoreTheWorkingTables)
{
    // A zero-resistance branch without data.
    t.BranchR[3] = 0;
    TFixirStudy &s = Open();
    TFixirOutcome out = s.Start();
    EXPECT_EQ(out.Warning,
              QStringLiteral("Расчет НЕВОЗМОЖЕН!\rИмеются ветви без информации для расчета!..."));
    EXPECT_EQ(out.List, flNoInformation);
    EXPECT_EQ(s.Rows(flNoInformation), std::vector<int>{3});

    // A required flow in a branch that no air reaches: no resistance gives
    // it one, and no division by its zero flow.
    for (int n : {5, 6})
        CreateNode(t, n);
    const auto island = [&](int b, int from, int to, double r) {
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchR[b] = r;
    };
    island(5, 5, 6, 0);
    island(6, 6, 5, 0.1);
    t.BranchR[3] = 0.05;
    t.BranchRequiredFlow[5] = 3;
    TFixirStudy &z = Open();
    out = z.Start();
    EXPECT_FALSE(out.Computed);
    EXPECT_EQ(out.List, flNegative);
    EXPECT_TRUE(out.Warning.startsWith(QStringLiteral("В данной сети обеспечить заданные\r")));
    EXPECT_EQ(z.Rows(flNegative), std::vector<int>{5});
    EXPECT_EQ(z.Tables.R[5], 0);
    EXPECT_EQ(z.Tables.H, z.Tables.HOpen);
}

TEST_F(Fixir, PreliminaryCheck)
{
    EXPECT_TRUE(Open().ContrInform());
    t.BranchAuxDepression[4] = 0.9;  // too little draught
    EXPECT_FALSE(Open().ContrInform());
    t.BranchAuxDepression[4] = 200;
    t.BranchEndNode[2] = 2;  // a loop
    EXPECT_FALSE(Open().ContrInform());
    t.BranchEndNode[2] = 0;  // a missing end
    EXPECT_FALSE(Open().ContrInform());
    ClearAllItems(t);
    EXPECT_FALSE(Open().ContrInform());
    EXPECT_EQ(FixirTopologyWarning(),
              QStringLiteral("В схема ОШИБКИ топологии или \rотсутствуют источники тяги !\rЗадание СНИМАЕТСЯ!..."));
}

TEST(FixirCell, Validation)
{
    const QString range = QStringLiteral("Число вне допустимого диапазона: \r от 0 до ");
    const QString notNumber = QStringLiteral("Число набрано неверно!\r(Пользуйтесь цифровыми клавишами,\r"
                                             "дробная часть отделяется от целой - запятой !)");
    struct Case
    {
        int Column;
        const char *Text;
        TFixirCellCheck Check;
        double Value;
        QString Message;
    };
    const Case cases[] = {
        {fcQf, "", fcValid, 0, {}},
        {fcQf, "      ", fcValid, 0, {}},
        {fcQf, "1,5", fcValid, 1.5, {}},
        {fcHf, "800", fcValid, 800, {}},
        {fcR, "9999", fcValid, 9999, {}},
        {fcQf, "-1", fcOutOfRange, 0, range + QStringLiteral("800,00 !")},
        {fcR, "10000", fcOutOfRange, 0, range + QStringLiteral("9999,00000 !")},
        {fcHf, "abc", fcNotANumber, 0, notNumber},
        {fcHf, "       ", fcNotANumber, 0, notNumber},
    };
    for (const Case &c : cases) {
        const TFixirCell cell = CheckFixirCell(c.Column, QString::fromUtf8(c.Text));
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(cell.Check, c.Check);
        EXPECT_EQ(cell.Value, c.Value);
        EXPECT_EQ(cell.Message, c.Message);
    }
}

TEST(FixirCell, ExactlyTenPerCentIsMet)
{
    EXPECT_FALSE(FixirDiscrepancy(11, 10) > FixirTolerance);
    EXPECT_TRUE(FixirDiscrepancy(11.01, 10) > FixirTolerance);
}

} // namespace
