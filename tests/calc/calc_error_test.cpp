#include "calc/fixed_depression.h"
#include "calc/solver.h"
#include "platform/prompt.h"

#include "solver_fixture.h"

#include <gtest/gtest.h>

namespace {

// Installs hooks that record what they were asked to open, and removes them.
class CalcErrors : public SolverFixture
{
protected:
    CalcErrors()
    {
        CalcErrorHooks.ShowTopologyReport = [this](QObject *) { opened << QStringLiteral("topology"); };
        CalcErrorHooks.ShowZeroResistanceBranches = [this](QObject *) { opened << QStringLiteral("zero R"); };
        CalcErrorHooks.ShowBranchRange = [this](QObject *, const QString &range) {
            opened << range;
            return opened.size() < rangesBeforeCancel;
        };
    }
    ~CalcErrors() override { CalcErrorHooks = {}; }

    TScriptedPrompt prompt;
    QStringList opened;
    int rangesBeforeCancel = 100;
};

} // namespace

TEST_F(CalcErrors, EachCodeShowsItsMessage)
{
    const std::vector<std::pair<int, QString>> cases = {
        {1, QStringLiteral("Расчет невозможен. Число ветвей в шахте 0.")},
        {2, QStringLiteral("Расчет невозможен. Недостаточно связи с поверхностью.")},
        {4, QStringLiteral("Расчет невозможен. Сопротивления всех ветвей 0.")},
        {5, QStringLiteral("Расчет невозможен. В сети отсутствует источник тяги.")},
        {6, QStringLiteral("Расчет невозможен. В ряде ветвей не заданы сопротивления.")},
    };
    for (const auto &[code, text] : cases) {
        prompt.Asked.clear();
        ShowCalcError(nullptr, code, t);
        ASSERT_EQ(prompt.Asked.size(), 1u) << code;
        EXPECT_EQ(prompt.Asked[0].Text, text);
        EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("ОШИБКА"));
        EXPECT_EQ(prompt.Asked[0].Flags & mb::IconMask, mb::IconError);
    }
    EXPECT_EQ(opened, QStringList{QStringLiteral("zero R")});  // after the code-6 box

    prompt.Asked.clear();
    ShowCalcError(nullptr, 3, t);
    ShowCalcError(nullptr, 0, t);
    ShowCalcError(nullptr, 7, t);
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_EQ(opened.last(), QStringLiteral("topology"));
}

// Until the topology report exists, the box names the dead ends.
TEST_F(CalcErrors, DeadEndsAreNamedWithoutTheReport)
{
    CalcErrorHooks.ShowTopologyReport = nullptr;
    Node(1, true);
    Node(2, true);
    Node(3);
    Node(4);
    Node(7);
    Branch(1, 1, 3, 0.1, 100);
    Branch(2, 3, 2, 0.1);
    Branch(3, 3, 4, 0.1);
    Branch(4, 3, 7, 0.1);
    EXPECT_FALSE(CalcAir(nullptr, t));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Расчет невозможен. Нарушение связности в узлах: 4, 7."));
}

TEST_F(CalcErrors, CalcAirSolvesTheTablesOrShowsWhyNot)
{
    EXPECT_FALSE(CalcAir(nullptr, t));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Расчет невозможен. Число ветвей в шахте 0."));

    Node(1, true);
    Node(2, true);
    Branch(1, 1, 2, 0.25, 100);
    EXPECT_TRUE(CalcAir(nullptr, t));
    EXPECT_NEAR(t.BranchQ[1], 20, 0.01);
    EXPECT_EQ(prompt.Asked.size(), 1u);
}

TEST_F(CalcErrors, FixedDepressionMessages)
{
    ShowFixedDepressionError(nullptr, 8, {}, t);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Расчет невозможен. Не заданы фиксированные депрессии."));
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("ОШИБКА"));

    ShowFixedDepressionError(nullptr, 2, {}, t);
    EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral("Расчет невозможен. Недостаточно связи с поверхностью."));

    // Each mesh in the text, then in the branch table until the user cancels one.
    rangesBeforeCancel = 2;
    prompt.Asked.clear();
    ShowFixedDepressionError(nullptr, 7, {QStringLiteral("3, 4"), QStringLiteral("8, 9, 10"), QStringLiteral("12")}, t);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text,
              QStringLiteral("Расчет невозможен. Рекомендуется упростить сеть,\r задайте сопротивление минимум в "
                             "одной ветви контура: 3, 4\r8, 9, 10\r12\r\r"));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("3, 4"), QStringLiteral("8, 9, 10")}));
}
