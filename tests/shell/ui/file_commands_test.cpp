#include "model/scheme_file.h"
#include "platform/codepage.h"
#include "platform/prompt.h"
#include "platform/ui/file_dialogs.h"
#include "shell/ui/file_commands.h"
#include "shell/ui/frm_find_files.h"
#include "shell/ui/frm_main.h"

#include "../kladon_fixture.h"
#include "file_bytes.h"
#include "file_dialog_choice.h"
#include "modal.h"

#include <gtest/gtest.h>

#include <memory>

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtTest/QTest>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTreeWidget>

namespace {

class FileCommandsTest : public ::testing::Test
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
    QString Write(const QString &name, const QByteArray &bytes)
    {
        QDir(Folder.path()).mkpath(QFileInfo(name).path());
        WriteFile(Path(name), bytes);
        return Path(name);
    }

    static QString Caption(const QString &file) { return QStringLiteral("Zyr \"Ворбаль\": - [%1]").arg(file); }

    QTemporaryDir Config;
    QTemporaryDir Folder;
    TScriptedPrompt Prompt;
};

} // namespace

TEST_F(FileCommandsTest, EachSetOpensThroughItsFilter)
{
    Write("revod/MVS.DAT", "1 1 2 0.5\n2 2 3 0.5\n");
    Write("revod/VMP.DAT", "");
    Write("revod/UzPov.DAT", "1\n");
    const QString kladon = WriteKladonSet(Path(""), true);
    Write("vent/mine.sp1", "1 1 2 0.5 1 0 0 0 0 0 0\n2 2 3 0.5 1 0 0 0 0 0 0\n3 3 1 0.5 1 0 0 0 0 0 0\n"
                           "4 3 4 0.5 1 0 0 0 0 0 0\n");
    Write("vent/MINE.BN1", "    3  *" + EncodeCp866(QStringLiteral("Ствол")) + "*\r\n");

    struct Case { int filter; QString file; int branches; QString document; };
    const Case cases[] = {
        {2, Path("revod/MVS.DAT"), 2, Path("revod/Новая шахта.MINE")},
        {1, kladon, 3,
         QDir(Folder.path()).filePath(QStringLiteral("ШАХТА Импортировано из Кладон 5.5 (%1).Mine")
                                          .arg(QString(kladon).replace(u'/', u' ')))},
        {3, Path("vent/mine.sp1"), 4, Path("vent/Новая шахта.MINE")},
    };
    TfrmMain w({}, Folder.path());
    InstallFileCommands(w);
    w.FormActivate();
    for (const Case &c : cases) {
        ChooseInFileDialog(OpenDialogFilters()[c.filter].Text, c.file);
        w.Action("FileOpen")->trigger();
        EXPECT_TRUE(Prompt.Asked.empty()) << c.file.toStdString();
        EXPECT_EQ(BranchCount(Net), c.branches) << c.file.toStdString();
        for (int b = 1; b <= c.branches; ++b)
            EXPECT_TRUE(BranchExist(Net, b) && Net.BranchTurns[b] && Net.BranchTurns[b]->size() >= 2) << b;
        EXPECT_EQ(w.windowTitle(), Caption(c.document));
        EXPECT_FALSE(w.Document().Modified());
        EXPECT_EQ(w.Options().MinesLocation, QFileInfo(c.file).path());
        EXPECT_TRUE(w.menuBar()->actions().at(3)->isEnabled());  // the Tasks menu follows the network
    }
    EXPECT_EQ(Net.BranchName[3], QStringLiteral("Ствол"));

    // A broken set is reported; what was read stays to be saved elsewhere.
    Write("vent/bad.sp1", "1 1 2 0.5 1 0 0 0 0 0 0\n2 2 x 0.5 1 0 0 0 0 0 0\n");
    ChooseInFileDialog(OpenDialogFilters()[3].Text, Path("vent/bad.sp1"));
    w.Action("FileOpen")->trigger();
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_TRUE(Prompt.Asked[0].Text.contains(Path("vent/bad.sp1")));
    EXPECT_EQ(BranchCount(Net), 1);
    EXPECT_TRUE(w.Document().SaveAsksForName());
}

TEST_F(FileCommandsTest, SaveAsWithTheVentFilterWritesThePair)
{
    Write("in.sp1", "1 1 2 0.5 1 0 0 0 0 0 0\n2 2 3 0.25 1 0 0 0 0 0 0\n");
    TfrmMain w({}, Folder.path());
    InstallFileCommands(w);
    w.FormActivate();
    ChooseInFileDialog(OpenDialogFilters()[3].Text, Path("in.sp1"));
    w.Action("FileOpen")->trigger();
    ASSERT_EQ(BranchCount(Net), 2);
    Net.BranchName[2] = QStringLiteral("Штрек");
    w.SetModified(true);

    ChooseInFileDialog(SaveDialogFilters()[1].Text, Path("out"));
    w.Action("FileSaveAs")->trigger();
    EXPECT_TRUE(Prompt.Asked.empty());
    EXPECT_EQ(ReadAll(Path("out.sp")),
              QByteArray("   1    1    2    0.50000    1   0.00   0.00    0.0    0    0.0   0.00\r\n"
                         "   2    2    3    0.25000    1   0.00   0.00    0.0    0    0.0   0.00\r\n"));
    // A branch the import created keeps the default name, which goes out too.
    EXPECT_EQ(ReadAll(Path("out.bn")), "    1  *" + EncodeCp866(DefaultBranchName) + "*\r\n    2  *"
                                           + EncodeCp866(QStringLiteral("Штрек")) + "*\r\n");
    EXPECT_TRUE(w.Document().Modified());  // an export is no save of the scheme
}

TEST_F(FileCommandsTest, SearchWindowFindsSortsAndPicks)
{
    Write("tree/a.MINE", "x");
    Write("tree/sub/b.mine", "x");
    Write("tree/sub/c.txt", "x");
    const QString before = QDir::currentPath();

    TfrmFindFiles form(nullptr, {{Path("tree"), dtFixed}});
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Поиск файлов"));
    EXPECT_EQ(form.edMask->text(), QStringLiteral("*.*"));
    EXPECT_FALSE(form.btnFind->isEnabled());  // no drive checked
    EXPECT_EQ(form.lvDrives->topLevelItem(0)->text(1), QStringLiteral("Жесткий диск"));
    form.lvDrives->topLevelItem(0)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(form.btnFind->isEnabled());

    form.edMask->setText(QStringLiteral("*.MINE"));
    form.btnFind->click();
    ASSERT_EQ(form.lvFiles->topLevelItemCount(), 2);
    EXPECT_EQ(form.lblFound->text(), QStringLiteral("Найдено: 2"));
    EXPECT_EQ(form.btnFind->text(), QStringLiteral("Найти"));
    EXPECT_TRUE(Prompt.Asked.empty());
    EXPECT_EQ(QDir::currentPath(), before);

    // The first click on a header sorts ascending, the next descending; the
    // second column sorts by folder.
    form.show();
    QHeaderView *header = form.lvFiles->header();
    const auto clickHeader = [header](int column) {
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    };
    clickHeader(0);
    EXPECT_EQ(form.lvFiles->topLevelItem(0)->text(0), QStringLiteral("a.MINE"));
    clickHeader(0);
    EXPECT_EQ(form.lvFiles->topLevelItem(0)->text(0), QStringLiteral("b.mine"));
    clickHeader(1);
    EXPECT_EQ(form.lvFiles->topLevelItem(0)->text(1), Path("tree"));
    clickHeader(1);
    EXPECT_EQ(form.lvFiles->topLevelItem(0)->text(0), QStringLiteral("b.mine"));
    clickHeader(0);
    EXPECT_EQ(form.lvFiles->topLevelItem(0)->text(0), QStringLiteral("a.MINE"));
    clickHeader(0);
    EXPECT_EQ(form.lvFiles->topLevelItem(0)->text(0), QStringLiteral("b.mine"));

    form.lvFiles->setCurrentItem(form.lvFiles->topLevelItem(1));
    form.OpenSelected();
    EXPECT_EQ(form.FileName(), Path("tree/a.MINE"));

    // "Сброс" empties the list; too many matches stop with the limit message.
    form.btnReset->click();
    EXPECT_EQ(form.lvFiles->topLevelItemCount(), 0);
    for (int i = 0; i < 1001; ++i)
        Write(QStringLiteral("tree/many/%1.mine").arg(i), "");
    form.btnFind->click();
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Превышен установленный предел количества файлов"));
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Заданному Вами шаблону имени файла соответствует более 1000 "
                                                   "файлов.\rУточните, пожалуйста, условия поиска"));
}

TEST_F(FileCommandsTest, CtrlFOpensTheSchemePickedAfterTheUnsavedChangesQuestion)
{
    auto scheme = std::make_unique<TNetworkTables>();
    for (int n = 1; n <= 3; ++n)
        CreateNode(*scheme, n);
    for (int b = 1; b <= 2; ++b) {
        CreateBranch(*scheme, b);
        scheme->BranchStartNode[b] = static_cast<std::int16_t>(b);
        scheme->BranchEndNode[b] = static_cast<std::int16_t>(b + 1);
    }
    RebuildAllEdgeTurns(*scheme);
    TSchemeDocument doc;
    const QString file = Path("found.MINE");
    ASSERT_TRUE(WriteMineFile(file, *scheme, doc, TSchemeView{}));

    TfrmMain w({}, Folder.path());
    InstallFileCommands(w);
    w.FormActivate();
    w.SetModified(true);
    ASSERT_TRUE(w.Action("FileFind")->isEnabled());
    EXPECT_EQ(w.Action("FileFind")->shortcut(), QKeySequence(QStringLiteral("Ctrl+F")));

    QString mask;
    WhenModal([&] {
        ASSERT_NE(frmFindFiles, nullptr);
        mask = frmFindFiles->edMask->text();
        auto *row = new QTreeWidgetItem(frmFindFiles->lvFiles, {QStringLiteral("found.MINE"), Folder.path()});
        frmFindFiles->lvFiles->setCurrentItem(row);
        frmFindFiles->OpenSelected();
    });
    Prompt.Answer(idNo);
    w.Action("FileFind")->trigger();
    EXPECT_EQ(mask, QStringLiteral("*.MINE"));
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Сохранение файла"));
    EXPECT_EQ(BranchCount(Net), 2);
    EXPECT_EQ(w.windowTitle(), Caption(file));
    EXPECT_EQ(frmFindFiles, nullptr);

    // Closed without a pick: nothing opens and nothing is asked.
    WhenModal([] { frmFindFiles->btnClose->click(); });
    w.SetModified(true);
    w.Action("FileFind")->trigger();
    EXPECT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(w.windowTitle(), Caption(file));
}
