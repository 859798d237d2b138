#include "emergency/ui/frm_gaz_sourse.h"
#include "platform/prompt.h"
#include "../small_network.h"

#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include "modal.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Intake 1→2, longwall 2→3 (branch 2), a bypass 2→3, return 3→4 with the fan.
struct TLongwallMine : TSmallNetwork
{
    TLongwallMine()
    {
        Node(1, true);
        Node(4, true);
        Branch(1, 1, 2, 0, 0.01);
        Branch(2, 2, 3, 0, 0.05);
        Branch(3, 2, 3, 0, 0.05);
        Branch(4, 3, 4, 0, 0.01, 100);
        for (int b = 1; b <= 4; ++b)
            t.BranchIsFresh[b] = 1;
        t.BranchType[2] = btLongwall;
    }
};

// Runs the command with the dialog driven by `drive` once it is shown.
bool RunDriven(TNetworkTables &t, TFreshRecalcHost &host, std::function<void(TfrmGazSourse &)> drive)
{
    WhenModal([drive] {
        ASSERT_NE(frmGazSourse, nullptr);
        drive(*frmGazSourse);
    });
    return RunFreshRecalc(nullptr, t, host);
}

const QString NoSources = QStringLiteral("Расчет невозможен. Не заданы источники газовыделения.");

} // namespace

TEST(FreshRecalc, MineWithoutSourcesCannotBeMarked)
{
    TLongwallMine mine;
    mine.t.BranchType[2] = 0;
    TScriptedPrompt prompt;
    TFreshRecalcHost host;
    bool boxesOff = false;
    const bool done = RunDriven(mine.t, host, [&](TfrmGazSourse &d) {
        boxesOff = !d.chkLongwalls->isEnabled() && !d.chkLongwalls->isChecked() && !d.chkFaces->isEnabled()
                   && !d.chkFaces->isChecked();
        EXPECT_EQ(d.lblLongwalls->text(), QStringLiteral("Лавы - 0"));
        QTest::mouseClick(d.btnOk, Qt::LeftButton);
    });
    EXPECT_TRUE(boxesOff);
    EXPECT_FALSE(done);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, NoSources);
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("ОШИБКА"));
    EXPECT_EQ(frmGazSourse, nullptr);
}

TEST(FreshRecalc, LongwallsOnlyMarksTheirZoneAndRecolours)
{
    TLongwallMine mine;
    TScriptedPrompt prompt;
    TBranchColors colors{};
    std::vector<int> modified;
    TFreshRecalcHost host;
    host.ObjectChanged = [&](int b) { modified.push_back(b); };
    host.SetStandardColors = [&] { colors.fill(1); };
    host.Colors = &colors;
    for (int i = 0; i < SchemeColorCount; ++i)
        host.Palette[i] = 100 + i;

    TGasSourceTypeSet chosen = 0;
    const bool done = RunDriven(mine.t, host, [&](TfrmGazSourse &d) {
        EXPECT_EQ(d.lblFaces->text(), QStringLiteral("Подготовительные забои - 0"));
        EXPECT_FALSE(d.chkFaces->isEnabled());
        EXPECT_TRUE(d.chkLongwalls->isChecked());
        chosen = d.TypeSet();
        QTest::mouseClick(d.btnOk, Qt::LeftButton);
    });
    ASSERT_TRUE(done);
    EXPECT_EQ(chosen, 128u);
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_EQ(modified, (std::vector<int>{2, 4})); // the longwall itself and the return
    EXPECT_EQ(mine.t.BranchIsFresh[3], 1);
    EXPECT_EQ(colors[1], 1);
    EXPECT_EQ(colors[2], host.Palette[sciFire]);
    EXPECT_EQ(colors[4], host.Palette[sciRouteInSmoke]);
}

TEST(FreshRecalc, NoChoiceKeepsTheDialogOpenWhenSourcesExist)
{
    TLongwallMine mine;
    TScriptedPrompt prompt;
    TFreshRecalcHost host;
    bool stillOpen = false;
    const bool done = RunDriven(mine.t, host, [&](TfrmGazSourse &d) {
        d.chkLongwalls->setChecked(false);
        QTest::mouseClick(d.btnOk, Qt::LeftButton);
        stillOpen = d.isVisible();
        QTest::mouseClick(d.btnCancel, Qt::LeftButton);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(done);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, NoSources);
    EXPECT_EQ(mine.t.BranchIsFresh[2], 1);
}

TEST(FreshRecalc, FailedSolveIsShownAndLeavesTheMarking)
{
    TLongwallMine mine;
    mine.t.NodeIsSurface[4] = 0;
    TScriptedPrompt prompt;
    TBranchColors colors{};
    TFreshRecalcHost host;
    host.Colors = &colors;
    const bool done = RunDriven(mine.t, host, [&](TfrmGazSourse &d) { QTest::mouseClick(d.btnOk, Qt::LeftButton); });
    EXPECT_FALSE(done);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Расчет невозможен. Недостаточно связи с поверхностью."));
    EXPECT_EQ(mine.t.BranchIsFresh[2], 1);
    EXPECT_EQ(colors[2], 0);
}
