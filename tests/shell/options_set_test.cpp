#include "platform/paths.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "shell/options_set.h"
#include "temp_config.h"

#include <QtCore/QDir>
#include <QtCore/QFile>

#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("/opt/tunvex/bin/tunvex");

TOptionsSet ChangedSet()
{
    TOptionsSet o;
    for (int i = 0; i < SchemeColorCount; ++i)
        o.Colors[i] = 0x010203 * (i + 1);
    o.LoadPluginsAtStartup = false;
    o.GridIsOn = true;
    o.SnapToGrid = true;
    o.ShowSheet = true;
    o.RealTimeActive = true;
    o.NewObjectsIsFirstFree = false;
    o.FireTime = 120;
    o.GridStep = 25;
    o.SymbolsLocation = QStringLiteral("/s/Символы");
    o.MinesLocation = QStringLiteral("/s/Шахты");
    o.ReportsLocation = QStringLiteral("/s/Отчеты");
    o.FanLocations = QStringLiteral("/s/Вентиляторы");
    o.PluginsLocation = QStringLiteral("/s/Plugins");
    o.PLALocationFolder = QStringLiteral("/s/PLA");
    o.ReportStyle = 0;
    o.Password = QStringLiteral("Пароль 1");
    o.UseRussianSpeeds = true;
    o.AskPasswordAtStartup = true;
    o.MapOn = true;
    return o;
}

void ExpectSameSet(const TOptionsSet &a, const TOptionsSet &b)
{
    EXPECT_EQ(a.Colors, b.Colors);
    EXPECT_EQ(a.LoadPluginsAtStartup, b.LoadPluginsAtStartup);
    EXPECT_EQ(a.GridIsOn, b.GridIsOn);
    EXPECT_EQ(a.SnapToGrid, b.SnapToGrid);
    EXPECT_EQ(a.ShowSheet, b.ShowSheet);
    EXPECT_EQ(a.RealTimeActive, b.RealTimeActive);
    EXPECT_EQ(a.NewObjectsIsFirstFree, b.NewObjectsIsFirstFree);
    EXPECT_EQ(a.FireTime, b.FireTime);
    EXPECT_EQ(a.GridStep, b.GridStep);
    EXPECT_EQ(a.SymbolsLocation, b.SymbolsLocation);
    EXPECT_EQ(a.MinesLocation, b.MinesLocation);
    EXPECT_EQ(a.ReportsLocation, b.ReportsLocation);
    EXPECT_EQ(a.FanLocations, b.FanLocations);
    EXPECT_EQ(a.PluginsLocation, b.PluginsLocation);
    EXPECT_EQ(a.PLALocationFolder, b.PLALocationFolder);
    EXPECT_EQ(a.ReportStyle, b.ReportStyle);
    EXPECT_EQ(a.Password, b.Password);
    EXPECT_EQ(a.UseRussianSpeeds, b.UseRussianSpeeds);
    EXPECT_EQ(a.AskPasswordAtStartup, b.AskPasswordAtStartup);
    EXPECT_EQ(a.MapOn, b.MapOn);
}

void ChangeStored(const std::function<void(TSettingsStore &)> &change)
{
    TSettingsStore store;
    ASSERT_TRUE(store.OpenKeyReadOnly(SettingsKey(Key)));
    change(store);
}

} // namespace

TEST(OptionsSet, FirstStartGivesTheDefaultsAndTheNextExitStoresThemAll)
{
    TTempConfig config;
    TOptionsSet o = ChangedSet();
    o.Load(Key);
    ExpectSameSet(o, TOptionsSet());
    const QString folder = ProgramFolder();
    ASSERT_TRUE(folder.endsWith(u'/'));
    EXPECT_EQ(o.SymbolsLocation, folder + QStringLiteral("Символы"));
    EXPECT_EQ(o.MinesLocation, folder + QStringLiteral("Шахты"));
    EXPECT_EQ(o.ReportsLocation, folder + QStringLiteral("Отчеты"));
    EXPECT_EQ(o.FanLocations, folder + QStringLiteral("Вентиляторы"));
    EXPECT_EQ(o.PluginsLocation, folder + QStringLiteral("Plugins"));
    EXPECT_EQ(o.PLALocationFolder, folder + QStringLiteral("PLA"));
    EXPECT_EQ(o.Colors, DefaultSchemeColors[spStandard]);
    EXPECT_TRUE(o.LoadPluginsAtStartup);
    EXPECT_TRUE(o.NewObjectsIsFirstFree);
    EXPECT_EQ(o.FireTime, 90);
    EXPECT_EQ(o.GridStep, 10);
    EXPECT_EQ(o.ReportStyle, 1);
    EXPECT_FALSE(o.GridIsOn || o.SnapToGrid || o.ShowSheet || o.RealTimeActive || o.UseRussianSpeeds
                 || o.AskPasswordAtStartup || o.MapOn);
    EXPECT_TRUE(o.Password.isEmpty());

    o.Save(Key);
    TSettingsStore store;
    ASSERT_TRUE(store.OpenKeyReadOnly(QStringLiteral("Software\\Zyr\\ZyrVentilation\\2002.xx\\") + Key));
    EXPECT_EQ(store.GetValueNames().size(), 20);
    EXPECT_EQ(store.GetValueKind(QStringLiteral("GridIsOn")), TSettingsStore::TValueKind::Integer);
    EXPECT_EQ(store.ReadBinaryData(QStringLiteral("Colors")).size(), 80);
    // The scheme file type is registered for the user at every start.
    EXPECT_TRUE(QFile::exists(config.FilePath(QStringLiteral("share/mime/packages/tunvex-mine.xml"))));
}

TEST(OptionsSet, EveryValueSurvivesSaveAndLoad)
{
    TTempConfig config;
    const TOptionsSet saved = ChangedSet();
    saved.Save(Key);
    TOptionsSet loaded;
    loaded.Load(Key);
    ExpectSameSet(loaded, saved);
    // Colours are stored little-endian, four bytes each, in table order.
    TSettingsStore store;
    store.OpenKeyReadOnly(SettingsKey(Key));
    EXPECT_EQ(store.ReadBinaryData(QStringLiteral("Colors")).left(8), QByteArray("\x03\x02\x01\x00\x06\x04\x02\x00", 8));
}

TEST(OptionsSet, AnUnreadableValueMakesTheWholeSetTheDefaults)
{
    struct TCase
    {
        const char *Name;
        std::function<void(TSettingsStore &)> Change;
    };
    const TCase cases[] = {
        {"GridStep missing", [](TSettingsStore &s) { s.DeleteValue(QStringLiteral("GridStep")); }},
        {"FireTime as text", [](TSettingsStore &s) { s.WriteString(QStringLiteral("FireTime"), QStringLiteral("90")); }},
        {"short Colors", [](TSettingsStore &s) { s.WriteBinaryData(QStringLiteral("Colors"), QByteArray(79, '\0')); }},
        {"MapOn as text", [](TSettingsStore &s) { s.WriteString(QStringLiteral("MapOn"), QStringLiteral("1")); }},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Name);
        TTempConfig config;
        ChangedSet().Save(Key);
        ChangeStored(c.Change);
        TOptionsSet o;
        o.Load(Key);
        // Values read before the bad one are dropped too.
        ExpectSameSet(o, TOptionsSet());
    }
}

TEST(OptionsSet, OptionalAndMissingValues)
{
    TTempConfig config;
    ChangedSet().Save(Key);
    ChangeStored([](TSettingsStore &s) {
        s.DeleteValue(QStringLiteral("MapOn"));
        s.DeleteValue(QStringLiteral("Colors"));
        s.DeleteValue(QStringLiteral("Password"));
    });
    TOptionsSet o;
    o.Load(Key);
    EXPECT_FALSE(o.MapOn);
    EXPECT_EQ(o.GridStep, 25);
    EXPECT_EQ(o.FireTime, 120);
    // Without a stored palette the standard one holds, not twenty black colours.
    EXPECT_EQ(o.Colors, DefaultSchemeColors[spStandard]);
    EXPECT_TRUE(o.Password.isEmpty());
}

TEST(OptionsSet, PalettesAndNames)
{
    EXPECT_EQ(DefaultSchemeColors[spStandard][sciBranch], 0xFF0000);
    EXPECT_EQ(DefaultSchemeColors[spStandard][sciVMP], 0x808000);
    EXPECT_EQ(DefaultSchemeColors[spBlackAndWhite][sciBackground], 0xFFFFFF);
    EXPECT_EQ(DefaultSchemeColors[spBlackAndWhite][sciBranch], 0x000000);
    EXPECT_EQ(DefaultSchemeColors[spBlackAndWhite][sciDegassingPipe], 0x000000);
    EXPECT_EQ(SchemeColorName(sciBackground), QStringLiteral("Фон схемы"));
    EXPECT_EQ(SchemeColorName(sciDegassingPipe), QStringLiteral("Дегазационный трубопровод"));
    EXPECT_EQ(SettingsKey(BuildProgramKey(QStringLiteral("C:\\Zyr\\v.exe"))),
              QStringLiteral("Software\\Zyr\\ZyrVentilation\\2002.xx\\C://Zyr//v.exe"));
}

TEST(OptionsSet, AFailedSaveAtCloseIsReportedNotThrown)
{
    TTempConfig config;
    // A folder where the store's file should be makes every write fail.
    ASSERT_TRUE(QDir(config.Path()).mkpath(QStringLiteral("machine.ini")));
    TScriptedPrompt prompt;
    EXPECT_THROW(TOptionsSet().Save(Key), ESettingsError);
    EXPECT_FALSE(TOptionsSet().SaveAtClose(Key));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.contains(QStringLiteral("machine.ini")));
    EXPECT_EQ(prompt.Asked[0].Flags & mb::IconMask, mb::IconError);
}
