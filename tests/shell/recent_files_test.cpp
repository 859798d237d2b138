#include "platform/settings_store.h"
#include "shell/options_set.h"
#include "shell/recent_files.h"
#include "temp_config.h"

#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("/opt/tunvex/bin/tunvex");

QString ListKey() { return SettingsKey(Key) + QStringLiteral("\\RecentFiles"); }

} // namespace

TEST(RecentFiles, AddKeepsTenNewestWithoutRepeats)
{
    TRecentFiles r;
    for (int i = 0; i < 12; ++i)
        r.Add(QStringLiteral("/m/%1.mine").arg(i));
    r.Add(QStringLiteral("/m/5.mine"));
    ASSERT_EQ(r.Items().size(), MaxRecentFiles);
    EXPECT_EQ(r.Items().first(), "/m/5.mine");
    EXPECT_EQ(r.Items()[1], "/m/11.mine");
    EXPECT_EQ(r.Items().count("/m/5.mine"), 1);
    EXPECT_FALSE(r.Items().contains("/m/1.mine"));
}

TEST(RecentFiles, MenuSkipsMissingFilesAndShortensTheStartFolder)
{
    TRecentFiles r;
    r.SetItems({"/start/a.mine", "/gone.mine", "/other/b.mine"});
    const auto entries = r.MenuEntries("/start", [](const QString &f) { return f != "/gone.mine"; });
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Caption, "&1 a.mine");
    EXPECT_EQ(entries[0].Index, 0);
    EXPECT_EQ(entries[1].Caption, "&3 /other/b.mine");
    EXPECT_EQ(entries[1].Index, 2);
}

TEST(RecentFiles, SavedListReadsBack)
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

TEST(RecentFiles, DamagedListMeansNoRecentFiles)
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
