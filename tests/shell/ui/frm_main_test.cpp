#include "model/scheme_file.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/ui/file_dialogs.h"
#include "shell/scheme_storage.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_new_node.h"
#include "shell/ui/branch_dialog_host.h"
#include "shell/ui/frm_about.h"
#include "shell/custom_colors.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/frm_options.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include "modal.h"

#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPlainTextEdit>
#include <QtCore/QSet>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QWidgetAction>

namespace {

// Each test has its own settings and start folder, and leaves the global
// tables empty.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Config.isValid());
        ASSERT_TRUE(Folder.isValid());
        qputenv("TUNVEX_CONFIG_DIR", Config.path().toUtf8());
        ClearAllItems(Net);
    }
    void TearDown() override { ClearAllItems(Net); }

    QString Path(const QString &name) const { return Folder.filePath(name); }

    // The file as the dialogs saved it, once their hosts are cleared.
    static std::unique_ptr<TNetworkTables> ReloadAfterDialogs(const QString &file)
    {
        BranchDialogHost = {};
        BranchDialogHooks = {};
        NodeDialogHost = {};
        auto t = std::make_unique<TNetworkTables>();
        TSchemeDocument doc;
        ReadMineFile(file, *t, doc);
        return t;
    }

    // A scheme file with a chain of `branches` branches.
    QString WriteScheme(const QString &name, int branches)
    {
        ClearAllItems(Net);
        for (int b = 1; b <= branches; ++b) {
            CreateNode(Net, b);
            CreateNode(Net, b + 1);
            CreateBranch(Net, b);
            Net.BranchStartNode[b] = static_cast<std::int16_t>(b);
            Net.BranchEndNode[b] = static_cast<std::int16_t>(b + 1);
        }
        RebuildAllEdgeTurns(Net);
        TSchemeDocument doc;
        const QString file = Path(name);
        EXPECT_TRUE(WriteMineFile(file, Net, doc, TSchemeView{}));
        ClearAllItems(Net);
        return file;
    }

    void StoreRecentFiles(const QStringList &files)
    {
        TSettingsStore store;
        store.OpenKey(SettingsKey(BuildProgramKey(ProgramFileName())) + QStringLiteral("\\RecentFiles"), true);
        for (int i = 0; i < files.size(); ++i)
            store.WriteString(QStringLiteral("File%1").arg(i), files[i]);
    }

    static QString Caption(const QString &file) { return QStringLiteral("Zyr \"Ворбаль\": - [%1]").arg(file); }

    QTemporaryDir Config;
    QTemporaryDir Folder;
    TScriptedPrompt Prompt;
};

} // namespace

TEST_F(MainWindowTest, StartsWithTheFileOfTheCommandLine)
{
    const QString recent = WriteScheme("recent.mine", 1);
    const QString file = WriteScheme("a.mine", 3);
    StoreRecentFiles({recent});

    TfrmMain w({file}, Folder.path());
    w.FormActivate();
    EXPECT_EQ(w.windowTitle(), Caption(file));
    EXPECT_EQ(BranchCount(Net), 3);
    EXPECT_EQ(w.Document().Recent.Items(), (QStringList{file, recent}));
    EXPECT_FALSE(w.Document().Modified());
    EXPECT_FALSE(w.Action("bbtnSave")->isEnabled());
    EXPECT_TRUE(Prompt.Asked.empty());

    // The drop-down of the Open button lists them, shortened in the start folder.
    auto *popup = w.findChild<QMenu *>("pmnuRecentFiles");
    ASSERT_NE(popup, nullptr);
    emit popup->aboutToShow();
    QStringList items;
    for (QAction *a : popup->actions())
        items << a->text();
    EXPECT_EQ(items, (QStringList{"&1 a.mine", "&2 recent.mine"}));
    // Opening the second asks nothing of an unchanged document and loads it.
    popup->actions()[1]->trigger();
    EXPECT_EQ(BranchCount(Net), 1);
    EXPECT_EQ(w.Document().Recent.Items().first(), recent);
}

TEST_F(MainWindowTest, StartDocumentFallbacks)
{
    const QString recent = WriteScheme("recent.mine", 2);
    StoreRecentFiles({Path("gone.mine"), recent});
    {
        TfrmMain w({}, Folder.path());
        w.FormActivate();
        EXPECT_EQ(w.windowTitle(), Caption(recent));  // the missing newest entry is passed over
    }
    // The list was saved when the window went: the opened file heads it.
    {
        TSettingsStore store;
        ASSERT_TRUE(store.OpenKeyReadOnly(SettingsKey(BuildProgramKey(ProgramFileName())) + "\\RecentFiles"));
        EXPECT_EQ(store.ReadString("File0"), recent);
    }

    QTemporaryDir mines;
    ASSERT_TRUE(QFile::copy(recent, mines.filePath("Демо.mine")));
    StoreRecentFiles({Path("gone.mine"), Path("gone2.mine")});
    {
        TfrmMain w({}, Folder.path());
        w.Options().MinesLocation = mines.path();
        w.FormActivate();
        EXPECT_EQ(w.windowTitle(), Caption(mines.filePath("Демо.mine")));
        EXPECT_EQ(BranchCount(Net), 2);
    }

    QFile::remove(mines.filePath("Демо.mine"));
    {
        TfrmMain w({}, Folder.path());
        w.Options().MinesLocation = mines.path();
        w.FormActivate();
        EXPECT_EQ(w.windowTitle(), Caption(mines.path() + "/Новая шахта.MINE"));
        EXPECT_EQ(BranchCount(Net), 0);
        EXPECT_FALSE(w.Document().Modified());
        EXPECT_FALSE(w.Action("TaskAirDistribution")->isEnabled());
    }
}

TEST_F(MainWindowTest, ABadStartFileIsReportedAndNotOverwritten)
{
    const QString bad = Path("bad.mine");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a scheme");
    f.close();

    TfrmMain w({bad}, Folder.path());
    w.Options().MinesLocation = Folder.path();
    w.FormActivate();
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Flags & mb::IconMask, mb::IconError);
    EXPECT_EQ(w.Document().FileName(), Path("Новая шахта.MINE"));
    w.Action("FileSave")->trigger();
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), "not a scheme");
}

TEST_F(MainWindowTest, ADamagedSchemeIsSalvagedAndSavedOnlyUnderAChosenName)
{
    const QString file = WriteScheme("damaged.mine", 3);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray damaged = f.readAll().chopped(10);  // the last record cut short
    f.close();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(damaged);
    f.close();

    TfrmMain w({file}, Folder.path());
    w.FormActivate();
    ASSERT_EQ(Prompt.Asked.size(), 1u);  // the reader's message
    EXPECT_TRUE(Prompt.Asked[0].Text.startsWith("Неожиданный конец файла"));
    EXPECT_EQ(BranchCount(Net), 3);
    EXPECT_EQ(w.windowTitle(), Caption(file));
    EXPECT_TRUE(w.Action("bbtnSave")->isEnabled());
    EXPECT_TRUE(w.menuBar()->actions().at(3)->isEnabled());  // the Tasks menu follows the network

    // Save opens Save As on the file's name; cancelled, nothing is written.
    QString proposed;
    WhenModal([&] {
        QFileDialog *dialog = ShownFileDialog();
        ASSERT_NE(dialog, nullptr);
        proposed = dialog->selectedFiles().value(0);
    });
    w.Action("FileSave")->trigger();
    EXPECT_EQ(proposed, file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), damaged);
    f.close();
    EXPECT_TRUE(w.Document().Modified());
}

TEST_F(MainWindowTest, SaveAsNamingAndAFailedSave)
{
    TfrmMain w({}, Folder.path());
    w.FormActivate();
    w.SetModified(true);
    EXPECT_TRUE(w.Action("bbtnSave")->isEnabled());

    ASSERT_TRUE(w.Document().SaveAs(Path("plan"), sfMine));
    EXPECT_TRUE(QFile::exists(Path("plan.MINE")));
    EXPECT_EQ(w.windowTitle(), Caption(Path("plan.MINE")));
    EXPECT_EQ(w.Options().MinesLocation, Folder.path());
    EXPECT_FALSE(w.Action("bbtnSave")->isEnabled());

    // A save that fails is shown and leaves the document modified.
    w.Document().SetFileName(Path("missing/folder/x.mine"));
    w.SetModified(true);
    w.Action("FileSave")->trigger();
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Flags & mb::IconMask, mb::IconError);
    EXPECT_TRUE(w.Document().Modified());
    EXPECT_TRUE(w.Action("bbtnSave")->isEnabled());
}

TEST_F(MainWindowTest, CloseAsksAboutUnsavedChanges)
{
    TfrmMain w({}, Folder.path());
    w.show();
    w.FormActivate();
    w.SetModified(true);

    Prompt.Answer(idCancel);
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, "Сохранение файла");

    Prompt.Answer(idNo);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(QFile::exists(w.Document().FileName()));
}

TEST_F(MainWindowTest, EveryShortcutIsBound)
{
    TfrmMain w({}, Folder.path());
    const std::pair<const char *, const char *> shortcuts[] = {
        {"FileNew", "Ctrl+N"},          {"FileOpen", "Ctrl+O"},
        {"FileSave", "Ctrl+S"},         {"FileSaveAs", "Ctrl+Alt+S"},
        {"FilePrint", "Ctrl+P"},        {"FileFind", "Ctrl+F"},
        {"FileExit", "Alt+X"},          {"TaskAirDistribution", "F2"},
        {"TaskFixDepr", "Shift+F2"},    {"TaskFire", "F3"},
        {"TaskWorkersEvacuate", "F4"},  {"TaskDescendingVentl", "F5"},
        {"TaskAscendVentl", "Shift+F5"}, {"TaskNodePress", "F11"},
        {"TaskDepressiogram", "Ctrl+F11"}, {"TaskCalcResist", "F12"},
        {"TaskRBlock", "Ctrl+F12"},
    };
    for (const auto &[name, keys] : shortcuts) {
        QAction *a = w.Action(name);
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->shortcut(), QKeySequence(keys)) << name;
        EXPECT_TRUE(w.actions().contains(a)) << name;  // works where its item is hidden
    }
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(w.Action(QStringLiteral("Plugins%1").arg(i))->shortcut(),
                  QKeySequence(QStringLiteral("Ctrl+%1").arg(i)));
    // No key is bound twice.
    QSet<QKeySequence> seen;
    for (QAction *a : w.actions()) {
        if (a->shortcut().isEmpty())
            continue;
        EXPECT_FALSE(seen.contains(a->shortcut())) << a->objectName().toStdString();
        seen.insert(a->shortcut());
    }
}

TEST_F(MainWindowTest, MenusAndToolBarsOfTheWindow)
{
    TfrmMain w({}, Folder.path());
    QStringList menus;
    for (QAction *a : w.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&Файл", "&Правка", "&Вид", "&Задачи", "Расширения", "&Настройки", "&Справка"}));
    for (const char *bar : {"tbFile", "tbTable", "tbDraw", "tbBranch", "tbPaint"})
        EXPECT_NE(w.ToolBar(bar), nullptr) << bar;
    EXPECT_EQ(w.ToolBar("tbPaint")->windowTitle(), "Раскраска");
    EXPECT_EQ(w.Action("TaskAirDistribution")->text(), "Воздухораспределение...");
    EXPECT_EQ(w.Action("menuQHFixir")->text(), "Расчет сопротивления по фиксированным  Q и H");
    EXPECT_TRUE(w.Action("mnuStandart")->isChecked());
    EXPECT_TRUE(w.Action("mnuNodeShow")->isChecked());
    EXPECT_FALSE(w.Action("mnuReTurn")->isVisible());
    // Commands whose windows come later are there and disabled until wired.
    EXPECT_FALSE(w.Action("FilePrint")->isEnabled());
    int runs = 0;
    w.SetCommandHandler("FilePrint", [&] { ++runs; });
    EXPECT_TRUE(w.Action("FilePrint")->isEnabled());
    w.Action("FilePrint")->trigger();
    EXPECT_EQ(runs, 1);
    // Telephone and text tools follow their view items.
    w.SetCommandHandler("tbtnPlaceTelephone", [] {});
    EXPECT_FALSE(w.Action("tbtnPlaceTelephone")->isEnabled());
    w.Action("mnuPhones")->trigger();
    EXPECT_TRUE(w.Action("tbtnPlaceTelephone")->isEnabled());
}

TEST_F(MainWindowTest, LabelTogglesAndColouring)
{
    const QString file = WriteScheme("a.mine", 3);
    TfrmMain w({file}, Folder.path());
    w.FormActivate();
    Net.BranchLabelFlags[2] = lfName;

    w.Action("mnuQ")->trigger();
    for (int b = 1; b <= 3; ++b)
        EXPECT_TRUE(Net.BranchLabelFlags[b] & lfQ) << b;
    EXPECT_TRUE(Net.BranchLabelFlags[2] & lfName);
    w.Action("mnuQ")->trigger();
    EXPECT_FALSE(AnyBranchHasLabelBits(Net, lfQ));

    // PLA colours turn thick branches on; the standard colouring off again.
    Net.BranchPLAColor[1] = 0x00FF00;
    w.Action("mnuPLA")->trigger();
    EXPECT_EQ(w.Document().BranchColors[1], 0x00FF00);
    EXPECT_TRUE(w.Action("mnuThickBr")->isChecked());

    // No layers and No answered: the standard colouring.
    Prompt.Answer(idNo);
    w.Action("mnuColorByLayers")->trigger();
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, "Невозможно раскрасить схему по пластам");
    EXPECT_TRUE(w.Action("mnuStandart")->isChecked());
    EXPECT_FALSE(w.Action("mnuThickBr")->isChecked());
    EXPECT_EQ(w.Document().BranchColors[1], w.GetSchemeColor(sciBranch));

    // No branch in the reversal zone: a message, then the standard colouring.
    w.Action("mnuPLA")->trigger();
    w.Action("mnuColorByReveres")->trigger();
    ASSERT_EQ(Prompt.Asked.size(), 2u);
    EXPECT_EQ(Prompt.Asked[1].Text, "Нет выработок, помеченных как зона реверсирования.");
    EXPECT_TRUE(w.Action("mnuStandart")->isChecked());

    w.Storage().Doc.Layers = {{"Пласт 1", 0x0000AA}};
    w.Action("mnuColorByLayers")->trigger();
    EXPECT_TRUE(w.Action("mnuColorByLayers")->isChecked());
    EXPECT_EQ(w.Document().BranchColors[3], 0x0000AA);
}

TEST_F(MainWindowTest, ClockWritesTheTimeEveryFourthTick)
{
    TfrmMain w({}, Folder.path());
    for (int i = 0; i < 3; ++i)
        w.ClockTick();
    EXPECT_TRUE(w.DateTimeLabel()->text().isEmpty());
    w.ClockTick();
    EXPECT_FALSE(w.DateTimeLabel()->text().isEmpty());
    EXPECT_EQ(w.Clock().interval(), 110);
}

TEST_F(MainWindowTest, EveryToolButtonHasAnIconOfItsOwn)
{
    TfrmMain w({}, Folder.path());
    QHash<QByteArray, QString> seen;
    int buttons = 0;
    for (QToolBar *bar : w.findChildren<QToolBar *>()) {
        for (QAction *a : bar->actions()) {
            if (a->isSeparator() || !a->isVisible() || qobject_cast<QWidgetAction *>(a))
                continue;
            ++buttons;
            const QImage image = a->icon().pixmap(24, 24).toImage().convertToFormat(QImage::Format_ARGB32);
            ASSERT_FALSE(image.isNull()) << a->objectName().toStdString();
            int inked = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    inked += qAlpha(image.pixel(x, y)) > 128;
            EXPECT_GT(inked, 20) << a->objectName().toStdString();  // drawn, not blank
            const QByteArray bytes(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes());
            EXPECT_FALSE(seen.contains(bytes))
                << a->objectName().toStdString() << " looks like " << seen.value(bytes).toStdString();
            seen.insert(bytes, a->objectName());
        }
    }
    EXPECT_GE(buttons, 35);
}

TEST_F(MainWindowTest, AboutShowsTheVersionPageOnlyWithItsFile)
{
    {
        TfrmAbout about(Folder.path());
        EXPECT_EQ(about.Pages()->count(), 1);
    }
    QFile rtf(Path("zyr.rtf"));
    ASSERT_TRUE(rtf.open(QIODevice::WriteOnly));
    rtf.write("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 \\'c2\\'e5\\'f0\\'f1\\'e8\\'ff 1.0\\par Tunvex}");
    rtf.close();
    TfrmAbout about(Folder.path());
    ASSERT_EQ(about.Pages()->count(), 2);
    EXPECT_EQ(about.Pages()->currentIndex(), 0);  // it opens on the version page
    EXPECT_EQ(about.Pages()->tabText(0), "Версия");
    auto *text = about.findChild<QPlainTextEdit *>("reVersion");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText(), "Версия 1.0\nTunvex");
}

TEST_F(MainWindowTest, KeysRunTheirCommandsAlsoFromHiddenItems)
{
    TfrmMain w({}, Folder.path());
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QStringList runs;
    w.SetCommandHandler("TaskFixDepr", [&] { runs << "fixdepr"; });
    w.SetCommandHandler("Plugins1", [&] { runs << "plugin1"; });
    QTest::keyClick(&w, Qt::Key_F2, Qt::ShiftModifier);
    QTest::keyClick(&w, Qt::Key_1, Qt::ControlModifier);
    QTest::keyClick(&w, Qt::Key_2, Qt::ControlModifier);  // carries no plug-in
    EXPECT_EQ(runs, (QStringList{"fixdepr", "plugin1"}));
}

TEST_F(MainWindowTest, SettingsItemsOpenTheirOptionsPage)
{
    TfrmMain w({}, Folder.path());
    for (const auto &[item, page] : {std::pair{"mnuGeneralOpt", 0}, {"mnuPasswordOpt", 3}, {"mnuSymbolsView", 4}}) {
        int shown = -1;
        WhenModal([&] {
            ASSERT_NE(frmOptions, nullptr);
            shown = frmOptions->ActivePage();
            frmOptions->reject();
        });
        w.Action(item)->trigger();
        EXPECT_EQ(shown, page) << item;
    }
}

TEST_F(MainWindowTest, ColourDialogKeepsItsCustomColoursInCustomSet)
{
    TfrmMain w({}, Folder.path());
    TCustomColors stored;
    stored.fill(0x00FF00);
    ASSERT_TRUE(SaveCustomColors(CustomColorsFileName(Folder.path()), stored));

    QColor offered;
    WhenModal([&] {
        auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        offered = QColorDialog::customColor(5);
        QColorDialog::setCustomColor(0, QColor(0x12, 0x34, 0x56));
        dialog->setCurrentColor(QColor(255, 0, 0));
        dialog->accept();
    });
    TColor color = 0;
    ASSERT_TRUE(w.ChooseColor(color));
    EXPECT_EQ(offered, QColor(0, 255, 0));
    EXPECT_EQ(color, 0x0000FF);  // red in 0x00BBGGRR
    const TCustomColors saved = LoadCustomColors(CustomColorsFileName(Folder.path()));
    EXPECT_EQ(saved[0], 0x563412);
    EXPECT_EQ(saved[1], 0x00FF00);
}

// The branch dialog over the open scheme: a confirmed edit marks the document
// modified and is saved with it.
TEST_F(MainWindowTest, TheNodeDialogEditsTheOpenSchemeAndCutsItsPictureFromTheView)
{
    const QString file = WriteScheme("nodes.mine", 3);
    {
        TfrmMain w({file}, Folder.path());
        w.resize(900, 700);
        w.FormActivate();
        InstallBranchDialogHost(w);
        // A node on the view gets a picture of the scheme around it.
        WhenModal([] {
            auto *dialog = qobject_cast<TfrmNewNode *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_FALSE(dialog->ImgNode->pixmap().isNull());
            EXPECT_EQ(dialog->lvInBranches->topLevelItemCount(), 1);
            EXPECT_EQ(dialog->lvOutBranches->topLevelItemCount(), 1);
            dialog->edNodeNo->setText(QStringLiteral("40"));
            dialog->bbtnOK->click();
        });
        int node = 2;
        EXPECT_TRUE(EditNodeDialog(&w, QStringLiteral("Узел 2"), node, false));
        EXPECT_EQ(node, 40);
        EXPECT_TRUE(w.Document().Modified());
        ASSERT_TRUE(w.Document().Save());
    }
    const auto t = ReloadAfterDialogs(file);
    EXPECT_FALSE(NodeExist(*t, 2));
    EXPECT_EQ(t->BranchEndNode[1], 40);
    EXPECT_EQ(t->BranchStartNode[2], 40);
}

TEST_F(MainWindowTest, TheBranchDialogEditsTheOpenScheme)
{
    const QString file = WriteScheme("chain.mine", 3);
    {
        TfrmMain w({file}, Folder.path());
        w.FormActivate();
        InstallBranchDialogHost(w);
        ASSERT_FALSE(w.Document().Modified());
        WhenModal([] {
            auto *dialog = qobject_cast<TfrmBranch *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->edNo->setText(QStringLiteral("9"));
            dialog->edName->setText(QStringLiteral("Квершлаг"));
            dialog->bbtnOK->click();
        });
        EXPECT_TRUE(EditBranchDialog(&w, QStringLiteral("Ветвь 2"), 2, w.CanDeleteObject(2)));
        EXPECT_TRUE(w.Document().Modified());
        ASSERT_TRUE(w.Document().Save());
    }
    const auto t = ReloadAfterDialogs(file);
    EXPECT_FALSE(BranchPresent(*t, 2));
    ASSERT_TRUE(BranchExist(*t, 9));
    EXPECT_EQ(t->BranchName[9], QStringLiteral("Квершлаг"));
    EXPECT_EQ(t->BranchStartNode[9], 2);
}

// Once the main window is gone, a dialog opened later works on no document
// rather than on the freed one.
TEST_F(MainWindowTest, TheDialogHostsLetGoOfAClosedMainWindow)
{
    {
        TfrmMain w({WriteScheme("gone.mine", 3)}, Folder.path());
        w.FormActivate();
        InstallBranchDialogHost(w);
        EXPECT_EQ(BranchDialogHost.Doc, &w.Storage().Doc);
    }
    EXPECT_EQ(BranchDialogHost.Doc, nullptr);
    EXPECT_EQ(BranchDialogHost.Tables, nullptr);
    EXPECT_FALSE(BranchDialogHost.Form.ObjectChanged);
    EXPECT_FALSE(NodeDialogHost.SchemeImage);
}
