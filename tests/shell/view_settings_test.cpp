#include "platform/settings_store.h"
#include "shell/options_set.h"
#include "shell/scheme_ini.h"
#include "shell/view_settings.h"
#include "temp_config.h"

#include <QtCore/QFile>

#include <gtest/gtest.h>

namespace {
const QString Key = QStringLiteral("/opt/tunvex/bin/tunvex");
}

TEST(ViewSettings, WithoutTheKeyTheDefaultsAndTheToolbarsPresentStateHold)
{
    TTempConfig config;
    TViewSettings view;
    view.Toolbars[tbDraw] = {false, toVertical, false, 5, 6, 7, 8};
    const TViewSettings before = view;
    LoadViewSettings(Key, view);
    EXPECT_FALSE(view.Phones);
    EXPECT_FALSE(view.Text);
    EXPECT_TRUE(view.Symbols);
    EXPECT_EQ(view.Toolbars, before.Toolbars);
}

TEST(ViewSettings, RoundTripAndOnlyPresentValuesAreTaken)
{
    TTempConfig config;
    TViewSettings saved;
    saved.Phones = saved.Text = saved.LSDeGase = saved.LSConveier = true;
    saved.Symbols = false;
    saved.Toolbars[tbPaint] = {true, toVertical, true, 300, 400, 30, 200};
    saved.Toolbars[tbFile] = {false, toHorizontal, false, 0, 10, 250, 26};
    SaveViewSettings(Key, saved);
    TViewSettings loaded;
    LoadViewSettings(Key, loaded);
    EXPECT_TRUE(loaded.Phones && loaded.Text && loaded.LSDeGase && loaded.LSConveier);
    EXPECT_FALSE(loaded.Symbols || loaded.LSElectric);
    EXPECT_EQ(loaded.Toolbars, saved.Toolbars);

    TSettingsStore store;
    ASSERT_TRUE(store.OpenKeyReadOnly(SettingsKey(Key) + QStringLiteral("\\View")));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("tbPaintOrient")), 2);
    EXPECT_TRUE(store.ReadBool(QStringLiteral("tbPaintDock")));
    store.DeleteValue(QStringLiteral("tbPaintTop"));
    store.WriteString(QStringLiteral("Phones"), QStringLiteral("1"));  // of the wrong kind: skipped
    TViewSettings partial;
    partial.Toolbars[tbPaint].Top = 77;
    LoadViewSettings(Key, partial);
    EXPECT_FALSE(partial.Phones);
    EXPECT_EQ(partial.Toolbars[tbPaint].Top, 77);
    EXPECT_EQ(partial.Toolbars[tbPaint].Left, 400);
    EXPECT_EQ(ToolbarCaption(tbBranch), QStringLiteral("Вид ветви"));
}

TEST(SchemeIni, DefaultsWithoutTheFile)
{
    TTempConfig folder;
    SchemeIniSettings.Grid = false;
    ReadSchemeIni(folder.Path());
    const TSchemeIniSettings &s = SchemeIniSettings;
    EXPECT_EQ(SchemeFontName, QStringLiteral("Arial"));
    EXPECT_EQ(s.Charset, 0);
    for (bool flag : {s.Sheet, s.Text, s.Branch, s.BSymb, s.Node, s.Grid, s.Fans, s.Vmps, s.Door, s.Arrow, s.NBall,
                      s.BBall, s.Pla, s.Phones})
        EXPECT_TRUE(flag);
    EXPECT_EQ(s.ArrowDraw, 1);
    EXPECT_EQ(s.ArrowPrint, 3);
}

TEST(SchemeIni, SectionsAndKeysInAnyCase)
{
    TTempConfig folder;
    QFile file(folder.FilePath(QStringLiteral("scheme.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[FONTS]\nName=Times New Roman\nCHARSET=204\n"
               "[Test]\nSHEET=0\nbSymb=0\nPhones=0\nnball=0\nVMPS=0\n"
               "[Draw]\nArrowDraw=2\narrowPRINT=0\n");
    file.close();
    ReadSchemeIni(folder.Path());
    const TSchemeIniSettings &s = SchemeIniSettings;
    EXPECT_EQ(SchemeFontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(s.Charset, 204);
    EXPECT_FALSE(s.Sheet || s.BSymb || s.Phones || s.NBall || s.Vmps);
    EXPECT_TRUE(s.Text && s.Branch && s.Node && s.Grid && s.Fans && s.Door && s.Arrow && s.BBall && s.Pla);
    EXPECT_EQ(s.ArrowDraw, 2);
    EXPECT_EQ(s.ArrowPrint, 0);
}
