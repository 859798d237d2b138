// The recent-files list in the settings of an installation.
#include "platform/settings_store.h"
#include "shell/options_set.h"
#include "shell/recent_files.h"
#include "temp_config.h"

#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("/opt/tunvex/bin/tunvex");

QString ListKey() { return SettingsKey(Key) + QStringLiteral("\\RecentFiles"); }

} // namespace

TEST(RecentFilesSettings, SavedListReadsBack)
{
    TTempConfig config;
    TRecentFiles saved;
    saved.SetItems({"/m/Шахта 1.mine", "/m/b.mine"});
    saved.Save(Key);

    TRecentFiles loaded;
    loaded.SetItems({"stale"});
    loaded.Load(Key);
    EXPECT_EQ(loaded.Items(), saved.Items());

    // An installation without a list starts with none.
    loaded.Load(QStringLiteral("/elsewhere/tunvex"));
    EXPECT_TRUE(loaded.IsEmpty());
}

TEST(RecentFilesSettings, DamagedListMeansNoRecentFiles)
{
    TTempConfig config;
    {
        TSettingsStore store;
        ASSERT_TRUE(store.OpenKey(ListKey(), true));
        store.WriteString("File0", "/m/a.mine");
        store.WriteInteger("File1", 7);
    }
    TRecentFiles r;
    r.Load(Key);
    EXPECT_TRUE(r.IsEmpty());
}
