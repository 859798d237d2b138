#pragma once
// The main window over the sample mine with the air distribution and fire
// commands, for the tests of the fire and route windows.
#include "calc/solver.h"
#include "calc/ui/air_commands.h"
#include "emergency/ui/frm_pojar.h"
#include "platform/prompt.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class SampleMainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TUNVEX_CONFIG_DIR", config.path().toUtf8());
        ClearAllItems(Net);
        w = std::make_unique<TfrmMain>(
            QStringList{QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine")}, folder.path());
        w->FormActivate();
        ASSERT_GT(BranchCount(Net), 0);
        InstallAirDistributionCommands(*w);
        InstallFireCommands(*w);
    }
    void TearDown() override
    {
        FreeFireWindow();
        w.reset();
        CalcErrorHooks = {};
    }

    QTemporaryDir config, folder;
    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> w;
};
