// Totals of rubrics and the texts of measured values.
#include "journal_fixture.h"

#include <gtest/gtest.h>

TEST(Journal, NewObjectsStartAsTheDialogsExpect)
{
    TKerstal j(QStringLiteral("Новый"));
    EXPECT_FALSE(j.Modified);
    EXPECT_EQ(j.Count(), 0);
    EXPECT_EQ(j.VJBegins, j.VJEnds);
    EXPECT_GT(j.VJBegins, EncodeDate(2020, 1, 1));
    TRubric *r = j.Add(std::make_unique<TRubric>(&j));
    EXPECT_EQ(r->Name, QStringLiteral("Задайте название рубрики"));
    EXPECT_EQ(r->Remarks, QStringLiteral("Вставьте здесь произвольные комментарии"));
    ASSERT_EQ(r->Count(), 1);
    EXPECT_EQ(r->Items(0)->Rubric, r);
    EXPECT_EQ(j.TotalRecords(), 1);
}

TEST(Journal, MineIntakeTotalComesFromTheLastMineIntakeRubricBefore)
{
    TKerstal j(QStringLiteral("j"));
    AddRubric(j, QStringLiteral("утечки до"), rtInnerLeakage, {{50, 0}});
    AddRubric(j, QStringLiteral("шахта 1"), rtMineIntake, {{1000, 0}, {1000, 0}});
    AddRubric(j, QStringLiteral("утечки 1"), rtInnerLeakage, {{100, 0}, {50, 0}});
    AddRubric(j, QStringLiteral("шахта 2"), rtMineIntake, {{3000, 0}});
    AddRubric(j, QStringLiteral("обычная"), rtOrdinary, {{7, 9}});
    AddRubric(j, QStringLiteral("утечки 2"), rtInnerLeakage, {{300, 0}});
    AddRubric(j, QStringLiteral("внешние"), rtOuterLeakage, {{4000, 0}, {200, 0}});
    AddRubric(j, QStringLiteral("внешние без записей"), rtOuterLeakage);

    EXPECT_EQ(j.MineIntakeTotal(0), 0);
    EXPECT_EQ(j.LeakagePercent(0), 0); // before any mine intake
    EXPECT_EQ(j.MineIntakeTotal(2), 2000);
    EXPECT_DOUBLE_EQ(j.LeakagePercent(2), 7.5);
    EXPECT_EQ(j.MineIntakeTotal(5), 3000);
    EXPECT_DOUBLE_EQ(j.LeakagePercent(5), 10);
    EXPECT_EQ(j.Items(6)->MainFanSupply(), 4000);
    EXPECT_DOUBLE_EQ(j.LeakagePercent(6), 105);
    EXPECT_EQ(j.LeakagePercent(7), 0);
    EXPECT_EQ(j.LeakagePercent(4), 0);
    EXPECT_EQ(j.Items(4)->OutTotal(), 9);
    EXPECT_EQ(j.TotalRecords(), 10);
}

TEST(Journal, ValuesAtTheirEmptyConditionPrintEmpty)
{
    TBranchRecord m;
    for (const auto &format : {FormatNumber, FormatOut, FormatSec, FormatSpeed, FormatTemperature, FormatWaternity})
        EXPECT_EQ(format(m), QString());
    m = {-12, QString(), 5.25, -300, 0.125, -3.04, 1e-8};
    EXPECT_EQ(FormatNumber(m), QStringLiteral("-12"));
    EXPECT_EQ(FormatOut(m), QStringLiteral("-300"));
    EXPECT_EQ(FormatSec(m), QStringLiteral("5,2"));
    EXPECT_EQ(FormatSpeed(m), QStringLiteral("0,12"));
    EXPECT_EQ(FormatTemperature(m), QStringLiteral("-3,0"));
    EXPECT_EQ(FormatWaternity(m), QString());
    m.Temperature = 0.0;
    EXPECT_EQ(FormatTemperature(m), QString());
}

TEST(Journal, FileNameHelpers)
{
    struct Case { QString name, added, removed; };
    const Case cases[] = {
        {QStringLiteral("abc"), QStringLiteral("abc.WVJ"), QStringLiteral("abc")},
        {QStringLiteral("x.wvj"), QStringLiteral("x.wvj"), QStringLiteral("x")},
        {QStringLiteral("Журнал.Wvj"), QStringLiteral("Журнал.Wvj"), QStringLiteral("Журнал")},
        {QStringLiteral("a.WVJ.txt"), QStringLiteral("a.WVJ.txt.WVJ"), QStringLiteral("a.WVJ.txt")},
        {QString(), QStringLiteral(".WVJ"), QString()},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(AddFileExt(c.name, JournalExt), c.added) << c.name.toStdString();
        EXPECT_EQ(RemoveFileExt(c.name, JournalExt), c.removed) << c.name.toStdString();
    }
    EXPECT_EQ(CleanFileName(QStringLiteral("Шахта: 1*2 \\/?|<>\".тест")), QStringLiteral("Шахта_ 1_2 _______.тест"));
}
