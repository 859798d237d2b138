// The fresh and exhaust air command from the main window's menu, on the sample mine.
#include "emergency/ui/frm_gaz_sourse.h"
#include "platform/prompt.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QTemporaryDir>
#include "modal.h"
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

TEST(FreshRecalcCommand, RecoloursTheSampleMine)
{
    QTemporaryDir config, folder;
    qputenv("TUNVEX_CONFIG_DIR", config.path().toUtf8());
    TScriptedPrompt prompt;
    ClearAllItems(Net);
    {
        TfrmMain w({QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine")}, folder.path());
        w.FormActivate();
        ASSERT_GT(BranchCount(Net), 0);
        ASSERT_FALSE(w.Document().Modified());
        for (int b = 1; b <= MaxBranchNo(Net); ++b)
            Net.BranchIsFresh[b] = 1;

        InstallFreshRecalcCommand(w);
        QAction *command = w.Action(QStringLiteral("TaskFreshRecalc"));
        ASSERT_TRUE(command->isEnabled());
        bool bothOffered = false;
        WhenModal([&] {
            ASSERT_NE(frmGazSourse, nullptr);
            bothOffered = frmGazSourse->chkLongwalls->isChecked() && frmGazSourse->chkFaces->isChecked();
            QTest::mouseClick(frmGazSourse->btnOk, Qt::LeftButton);
        });
        command->trigger();
        EXPECT_TRUE(bothOffered);
        EXPECT_TRUE(prompt.Asked.empty());

        const auto &colors = w.Document().BranchColors;
        const TSchemeColors &palette = w.Options().Colors;
        int exhaust = 0;
        for (int b = 1; b <= MaxBranchNo(Net); ++b) {
            if (!BranchExist(Net, b))
                continue;
            const int type = Net.BranchType[b];
            if (type == btLongwall || type == btDevelopmentFace)
                EXPECT_EQ(colors[b], palette[sciFire]) << b;
            else if (Net.BranchIsFresh[b] == 0)
                EXPECT_EQ(colors[b], palette[sciRouteInSmoke]) << b;
            else
                EXPECT_EQ(colors[b], palette[sciBranch]) << b;
            exhaust += Net.BranchIsFresh[b] == 0;
        }
        EXPECT_GT(exhaust, 4);
        EXPECT_LT(exhaust, BranchCount(Net));
        EXPECT_TRUE(w.Document().Modified());
    }
    ClearAllItems(Net);
}
