// The exported plug-in API on the program's tables, and the plug-in host of
// the main window with real plug-in libraries built beside the tests.
#define TUNVEX_API_QUALIFIED
#include "model/plugin_api.h"

#include "model/network.h"
#include "platform/codepage.h"
#include "platform/guard.h"
#include "platform/prompt.h"
#include "scheme/viewport.h"
#include "shell/plugin_host.h"
#include "shell/scheme_ini.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/plugin_menu.h"
#include "modal.h"

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMessageBox>

namespace api = tunvex_api;

namespace {

// Each test has its own settings, start folder and plug-ins folder, and
// leaves the global tables empty.
class PluginHostTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Config.isValid() && Folder.isValid() && Plugins.isValid());
        qputenv("TUNVEX_CONFIG_DIR", Config.path().toUtf8());
        ClearAllItems(Net);
    }
    void TearDown() override { ClearAllItems(Net); }

    // Puts a built test plug-in into the plug-ins folder under another name.
    void Put(const char *built, const QString &as)
    {
        ASSERT_TRUE(QFile::copy(QStringLiteral(TUNVEX_TEST_PLUGINS "/%1.so").arg(QLatin1String(built)),
                                Plugins.filePath(as)))
            << built;
    }

    // A main window over the plug-ins folder; the host scans at once when
    // loadAtStart is set, as the program's start does.
    std::unique_ptr<TfrmMain> Window(bool loadAtStart)
    {
        auto w = std::make_unique<TfrmMain>(QStringList{}, Folder.path());
        w->Options().LoadPluginsAtStartup = loadAtStart;
        w->Options().PluginsLocation = Plugins.path();
        TPluginHost::Install(*w);
        return w;
    }

    static void Activate(TfrmMain &w)
    {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }

    // Opening "Расширения" as the user does.
    static void OpenMenu(TfrmMain &w) { emit w.PluginsMenu()->aboutToShow(); }

    static QStringList Items(const TfrmMain &w)
    {
        QStringList items;
        for (QAction *a : w.PluginsMenu()->actions())
            items << a->text() + u'|' + a->shortcut().toString();
        return items;
    }

    // Two nodes and branch 1 between them (once the window is shown: its
    // first activation starts a new document).
    static void OneBranch(const QString &name, double q)
    {
        CreateNode(Net, 1);
        CreateNode(Net, 2);
        CreateBranch(Net, 1);
        Net.BranchStartNode[1] = 1;
        Net.BranchEndNode[1] = 2;
        SetBranchName(Net, 1, name);
        Net.BranchQ[1] = q;
    }

    QTemporaryDir Config;
    QTemporaryDir Folder;
    QTemporaryDir Plugins;
    TScriptedPrompt Prompt;
};

} // namespace

TEST_F(PluginHostTest, ExportsHandOutTheProgramsTables)
{
    // Before any drawing set a font, the font block is empty.
    api::FontInfoBlock font{"x", 7};
    api::GetFontInfoBlock(&font);
    EXPECT_EQ(font.Name, nullptr);
    EXPECT_EQ(font.Size, 0);

    OneBranch(QStringLiteral("Штрек №1"), 10);
    EXPECT_STREQ(api::GetBranchName(1), EncodeCp1251(QStringLiteral("Штрек №1")).constData());
    // The text stays where it is while the name does not change.
    EXPECT_EQ(api::GetBranchName(1), api::GetBranchName(1));
    for (int n : {0, 2, 5001, -1})
        EXPECT_STREQ(api::GetBranchName(n), "") << n;
    for (auto [n, exists] : {std::pair{1, true}, {0, false}, {3, false}, {5001, false}, {40000, false}})
        EXPECT_EQ(api::NodeExist(n), exists ? 1 : 0) << n;
    for (auto [n, valid] : {std::pair{1, true}, {5000, true}, {0, false}, {5001, false}})
        EXPECT_EQ(api::ValidItemIndex(n), valid ? 1 : 0) << n;
    EXPECT_EQ(api::GetMaxItemsCount(), 5000);
    EXPECT_EQ(api::BranchCount(), 1);
    EXPECT_EQ(api::NodeCount(), 2);

    api::BranchInfoBlock b{};
    api::GetBranchInfoBlock(&b);
    const void *branchEntries[] = {b.BranchNo, b.BranchStartNode, b.BranchEndNode, b.BranchLength,
                                   b.BranchPLAPosition, b.BranchPeople, b.BranchR, b.BranchAuxDepression,
                                   b.BranchQ, b.BranchAlpha, b.BranchStartTemp, b.BranchEndTemp,
                                   b.BranchArea, b.BranchHeight, b.BranchAngle, b.BranchFlags,
                                   b.BranchLabelFlags, b.BranchIsFresh};
    const void *branchTables[] = {&Net.BranchNo[1], &Net.BranchStartNode[1], &Net.BranchEndNode[1],
                                  &Net.BranchLength[1], &Net.BranchPLAPosition[1], &Net.BranchPeople[1],
                                  &Net.BranchR[1], &Net.BranchAuxDepression[1], &Net.BranchQ[1],
                                  &Net.BranchAlpha[1], &Net.BranchStartTemp[1], &Net.BranchEndTemp[1],
                                  &Net.BranchArea[1], &Net.BranchHeight[1], &Net.BranchAngle[1],
                                  &Net.BranchFlags[1], &Net.BranchLabelFlags[1], &Net.BranchIsFresh[1]};
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(branchEntries[i], branchTables[i]) << "branch block entry " << i;
    api::NodeInfoBlock nb{};
    api::GetNodeInfoBlock(&nb);
    const void *nodeEntries[] = {nb.NodeNo, nb.NodeX, nb.NodeY, nb.NodeLiftToSurface, nb.NodeIsSurface,
                                 nb.NodeAltitude};
    const void *nodeTables[] = {&Net.NodeNo[1], &Net.NodeX[1], &Net.NodeY[1], &Net.NodeLiftToSurface[1],
                                &Net.NodeIsSurface[1], &Net.NodeAltitude[1]};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(nodeEntries[i], nodeTables[i]) << "node block entry " << i;
    EXPECT_EQ(api::PQtr(), &Net.BranchRequiredFlow[1]);
    EXPECT_EQ(api::PPriznDGS(), &Net.BranchDGSMark[1]);

    // Item n is at offset n - 1: a write through the block lands on the item.
    b.BranchQ[0] = 42;
    EXPECT_EQ(Net.BranchQ[1], 42);
    // A renamed branch hands out its new name.
    SetBranchName(Net, 1, QStringLiteral("Уклон"));
    EXPECT_STREQ(api::GetBranchName(1), EncodeCp1251(QStringLiteral("Уклон")).constData());
}

TEST_F(PluginHostTest, HostServicesActOnTheMainWindow)
{
    auto w = Window(false);
    EXPECT_FALSE(w->Document().Modified());
    api::TouchBranch(7);
    EXPECT_TRUE(w->Document().Modified());
    w->SetModified(false);
    api::TouchNode(0);
    EXPECT_TRUE(w->Document().Modified());

    EXPECT_EQ(api::MainApp(), static_cast<void *>(qApp));
    EXPECT_EQ(api::GetMainFormPtr(), static_cast<void *>(static_cast<QWidget *>(w.get())));
    EXPECT_EQ(api::MainWindowHandle(), w->winId());
    EXPECT_EQ(api::GetBackColor(), w->GetSchemeColor(0));

    const int labelSize = LabelFontSizes[static_cast<std::size_t>(w->View().ZoomStep)];
    api::SetDefaultFont();
    api::FontInfoBlock font{};
    api::GetFontInfoBlock(&font);
    EXPECT_STREQ(font.Name, EncodeCp1251(SchemeFontName).constData());
    EXPECT_EQ(font.Size, labelSize);
    std::int32_t size = 0;
    EXPECT_STREQ(api::GetFontInf(&size), EncodeCp1251(SchemeFontName).constData());
    EXPECT_EQ(size, labelSize);

    // New numbers follow the numbering setting.
    OneBranch(QString(), 0);
    CreateBranch(Net, 3);
    w->Options().NewObjectsIsFirstFree = true;
    EXPECT_EQ(api::GetNewBranchNo(), 2);
    w->Options().NewObjectsIsFirstFree = false;
    EXPECT_EQ(api::GetNewBranchNo(), 4);
}

TEST_F(PluginHostTest, RoundTripPluginReadsAndWritesTheNetwork)
{
    Put("roundtrip_plugin", QStringLiteral("roundtrip.so"));
    auto w = Window(false);
    Activate(*w);
    OneBranch(QStringLiteral("Штрек №1"), 10);
    OpenMenu(*w);
    ASSERT_EQ(Items(*w), (QStringList{"Проверка расширений|Ctrl+1"}));

    QString title;
    QString text;
    WhenModal([&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            text = box->text();
            box->accept();
        }
    });
    QTest::keyClick(w.get(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(title, "Проверка расширений");
    EXPECT_EQ(text, "Узлов: 2, ветвей: 1.\nВетвь 1 «Штрек №1»: расход 10 стал 11.");
    EXPECT_EQ(Net.BranchQ[1], 11);
    EXPECT_TRUE(w->Document().Modified());
    EXPECT_TRUE(Prompt.Asked.empty());
}

TEST_F(PluginHostTest, ScanKeepsLibrariesWithBothEntryPointsInNameOrder)
{
    Put("quiet_a_plugin", QStringLiteral("z.so"));
    Put("quiet_b_plugin", QStringLiteral("m.so"));
    Put("name_only_plugin", QStringLiteral("c.so"));
    Put("needs_missing_plugin", QStringLiteral("d.so"));
    Put("quiet_a_plugin", QStringLiteral("a.so.bak"));
    QFile text(Plugins.filePath(QStringLiteral("x.so")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a library\n");
    text.close();

    auto w = Window(false);
    Activate(*w);
    EXPECT_TRUE(Items(*w).isEmpty());  // not scanned before the menu opens
    OpenMenu(*w);
    EXPECT_EQ(Items(*w), (QStringList{"Quiet B|Ctrl+1", "Quiet A|Ctrl+2"}));
    EXPECT_TRUE(Prompt.Asked.empty());
    // The library without RunPlugIn was released, the accepted ones stay.
    QFile maps(QStringLiteral("/proc/self/maps"));
    ASSERT_TRUE(maps.open(QIODevice::ReadOnly));
    const QString mapped = QString::fromUtf8(maps.readAll());
    EXPECT_FALSE(mapped.contains(Plugins.filePath(QStringLiteral("c.so"))));
    EXPECT_TRUE(mapped.contains(Plugins.filePath(QStringLiteral("z.so"))));

    double &mark = Net.BranchRequiredFlow[1];
    QTest::keyClick(w.get(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(mark, 2);
    QTest::keyClick(w.get(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(mark, 1);
    mark = 0;
    QTest::keyClick(w.get(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(mark, 0);

    // The folder is scanned once per run.
    Put("quiet_a_plugin", QStringLiteral("b.so"));
    OpenMenu(*w);
    EXPECT_EQ(Items(*w).size(), 2);
}

TEST_F(PluginHostTest, PluginsPastTheNinthHaveNoShortcutButRunFromTheirItem)
{
    for (int i = 1; i <= 10; ++i)
        Put("quiet_a_plugin", QStringLiteral("p%1.so").arg(i, 2, 10, QLatin1Char('0')));
    auto w = Window(true);  // scanned at start, without the menu
    const QStringList items = Items(*w);
    ASSERT_EQ(items.size(), 10);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(items[i], QStringLiteral("Quiet A|Ctrl+%1").arg(i + 1));
    EXPECT_EQ(items[9], "Quiet A|");
    w->PluginsMenu()->actions()[9]->trigger();
    EXPECT_EQ(Net.BranchRequiredFlow[1], 1);
}

TEST_F(PluginHostTest, UserScanOfAnEmptyFolderSaysSoOnce)
{
    auto w = Window(false);
    OpenMenu(*w);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, "Не найдено ни одного Plug-ins");
    EXPECT_EQ(Prompt.Asked[0].Flags, mb::Ok | mb::IconInformation);
    const QString expected =
        "В папке, указанной как папка модулей расширений, - \n\n\"" + Plugins.path() + "/\" -\n\n"
        "не удалось найти ни одного модуля расширений.\n\nВозможные причины этого:\n\n"
        "o Ссылка на папку модулей расширения ошибочно указывает на другую папку.\n\n"
        "o В папке, указанной как папка модулей расширений нет ни одного модуля расширения.\n\n"
        "o Написанный вами модуль расширения имеет ошибки в части интерфейса с Zyr Венитиляцией.\n\n"
        "Если Вы имеете расширения и хотите их использовать,\n"
        "поместите их в папку PLUGINS или укажите явно папку с Plug-ins -\n"
        "(см. меню \"Настройки/Расположение/Папки расширений\")";
    EXPECT_EQ(Prompt.Asked[0].Text, expected);
    OpenMenu(*w);
    EXPECT_EQ(Prompt.Asked.size(), 1u);
}

TEST_F(PluginHostTest, StartScanOfAnEmptyFolderSaysNothingThenOrLater)
{
    Put("name_only_plugin", QStringLiteral("half.so"));
    auto w = Window(true);
    OpenMenu(*w);
    EXPECT_TRUE(Items(*w).isEmpty());
    EXPECT_TRUE(Prompt.Asked.empty());
}

TEST_F(PluginHostTest, ExceptionLeavingAPluginIsShownAndTheProgramGoesOn)
{
    Put("throwing_plugin", QStringLiteral("a.so"));
    Put("quiet_b_plugin", QStringLiteral("b.so"));
    auto w = Window(true);
    Activate(*w);
    OneBranch(QStringLiteral("Штрек"), 5);
    QTest::keyClick(w.get(), Qt::Key_1, Qt::ControlModifier);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, "Расширение сломалось");
    EXPECT_EQ(Prompt.Asked[0].Caption, ApplicationTitle);
    EXPECT_EQ(BranchCount(Net), 1);
    QTest::keyClick(w.get(), Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(Net.BranchRequiredFlow[1], 2);
}

TEST_F(PluginHostTest, PluginWhoseNameThrowsIsSkippedByNameAtStartAndFromTheMenu)
{
    Put("throwing_name_plugin", QStringLiteral("a.so"));
    Put("quiet_b_plugin", QStringLiteral("b.so"));
    for (const bool atStart : {true, false}) {
        Prompt.Asked.clear();
        auto w = Window(atStart);
        // At start the box waits until the window has come up.
        EXPECT_TRUE(Prompt.Asked.empty());
        w->FormActivate();
        if (!atStart)
            OpenMenu(*w);
        EXPECT_EQ(Items(*w), (QStringList{"Quiet B|Ctrl+1"})) << atStart;
        ASSERT_EQ(Prompt.Asked.size(), 1u) << atStart;
        const QString text = Prompt.Asked[0].Text;
        EXPECT_TRUE(text.contains(Plugins.filePath(QStringLiteral("a.so")))) << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("GetPlugName")));
        EXPECT_TRUE(text.endsWith(QStringLiteral("Имя потеряно")));
        EXPECT_EQ(Prompt.Asked[0].Flags, mb::Ok | mb::IconError);
    }
}
