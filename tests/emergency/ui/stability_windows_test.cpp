// F5, Shift+F5 and "Время обнаружения пожара..." as the user drives them
// from the main window on the sample mine.
#include "emergency/table_hooks.h"
#include "emergency/ui/frm_fr_stab.h"
#include "emergency/ui/frm_prg_b.h"
#include "emergency/ui/frm_reports2.h"
#include "emergency/ui/frm_stabil.h"
#include "emergency/ui/frm_stb_vosph.h"
#include "emergency/ui/stability_commands.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "shell/ui/frm_main.h"

#include "modal.h"
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QTreeWidget>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

// The watches of WhenShown; each test's TearDown frees them, so one whose
// window never came neither leaks nor drives a window of a later test.
std::vector<std::unique_ptr<QTimer>> &Watches()
{
    static std::vector<std::unique_ptr<QTimer>> watches;
    return watches;
}

// Runs drive once a modal window of type T is up (the progress window of a
// study is modal too, so the first modal is not always the one wanted).
template <typename T>
void WhenShown(std::function<void(T &)> drive)
{
    QTimer *timer = Watches().emplace_back(std::make_unique<QTimer>()).get();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, drive = std::move(drive)] {
        auto *window = qobject_cast<T *>(QApplication::activeModalWidget());
        if (!window || !window->isVisible())
            return;
        timer->stop();
        drive(*window);
    });
    timer->start();
}

// Records the caption of each progress window shown while it lives. A study
// on the sample can end within one polling step, so the window is caught as
// it is shown rather than looked for afterwards.
class TProgressSpy : public QObject
{
public:
    TProgressSpy() { qApp->installEventFilter(this); }
    ~TProgressSpy() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show)
            if (auto *p = qobject_cast<TfrmPrgB *>(watched))
                Captions << p->windowTitle();
        return false;
    }
    QStringList Captions;
};

class StabilityWindows : public ::testing::Test
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
        w->Options().ReportsLocation = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
        InstallStabilityCommands(*w);
        r = std::make_unique<TTable<double>>(Net.BranchR);
        h = std::make_unique<TTable<double>>(Net.BranchAuxDepression);
        ASSERT_TRUE(CalcAir(nullptr, Net));
        q = std::make_unique<TTable<double>>(Net.BranchQ);
    }
    void TearDown() override
    {
        Watches().clear();
        FreeStabilityWindow();
        w.reset();
    }
    void Run(const char *action) { w->Action(QString::fromLatin1(action))->trigger(); }
    void ExpectNetworkAsBefore()
    {
        EXPECT_EQ(std::memcmp(Net.BranchR.data(), r->data(), sizeof(*r)), 0);
        EXPECT_EQ(std::memcmp(Net.BranchAuxDepression.data(), h->data(), sizeof(*h)), 0);
        EXPECT_EQ(Net.BranchQ, *q);
    }
    static QString Cell(TfrmStabil &f, int row, int column)
    {
        const QTableWidgetItem *item = f.Grid->item(row, column);
        return item ? item->text() : QString();
    }
    static void Leave(TfrmStabil &f, int row, int column, const QString &text, int toColumn)
    {
        f.Grid->setCurrentCell(row, column);
        f.Grid->item(row, column)->setText(text);
        f.Grid->setCurrentCell(row, toColumn);
    }

    QTemporaryDir config, folder;
    TScriptedPrompt prompt;
    TfrEngineScope engine;
    std::unique_ptr<TfrmMain> w;
    std::unique_ptr<TTable<double>> r, h, q;
};

} // namespace

TEST_F(StabilityWindows, DescendingTableEditsAndKeepsItsEdits)
{
    int shown = 0;
    TProgressSpy progress;
    WhenShown<TfrmStabil>([&](TfrmStabil &f) {
        ++shown;
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Устойчивость проветривания наклонных выработок"));
        ASSERT_EQ(f.Grid->rowCount(), 8);
        EXPECT_EQ(Cell(f, 0, 2), QStringLiteral("УЧАСТОК"));
        EXPECT_EQ(Cell(f, 2, 8), QStringLiteral("ДЕПР.,Па"));
        QStringList branches;
        for (int row = 3; row < 8; ++row)
            branches << Cell(f, row, 1).section(u'(', 1).chopped(1);
        EXPECT_EQ(branches, (QStringList{"1", "2", "35", "42", "49"}));
        EXPECT_EQ(Cell(f, 3, 11), QStringLiteral("Не устойчиво"));
        EXPECT_EQ(Cell(f, 5, 11), QStringLiteral("Устойчиво"));
        EXPECT_FALSE(f.Grid->item(3, 9)->flags() & Qt::ItemIsEditable);
        // Passing through the editable cells edits nothing.
        for (const int column : {7, 10, 11, 1})
            f.Grid->setCurrentCell(6, column);
        EXPECT_FALSE(f.StabilityEdited());
        EXPECT_TRUE(f.Grid->item(3, 10)->flags() & Qt::ItemIsEditable);

        // A bad number keeps the selection on its cell.
        Leave(f, 4, 10, QStringLiteral("abc"), 11);
        ASSERT_FALSE(prompt.Asked.empty());
        EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral("Недопустимое значение"));
        EXPECT_EQ(prompt.Asked.back().Caption, QStringLiteral("ОШИБКА"));
        EXPECT_EQ(f.Grid->currentColumn(), 10);
        Leave(f, 4, 10, QStringLiteral("55,5"), 11);
        EXPECT_EQ(f.Study.RaisedCriticalDepression[2], 55.5);

        // Delete in a column that cannot be edited asks for the row's branch.
        prompt.Answer(idNo);
        f.Grid->setCurrentCell(5, 1);
        QTest::keyClick(f.Grid, Qt::Key_Delete);
        EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral("Удалить ветвь 35?"));
        EXPECT_EQ(f.Study.Count(), 5);
        Leave(f, 3, 11, QStringLiteral("Проверить"), 1);
        QTest::mouseClick(f.btnOk, Qt::LeftButton);
    });
    Run("TaskDescendingVentl");
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(progress.Captions, QStringList{QStringLiteral("Расчет устойчивости проветривания наклонных выработок")});
    ExpectNetworkAsBefore();
    ASSERT_NE(frmStabil, nullptr);

    // Edited: the next call shows the same table without computing.
    progress.Captions.clear();
    WhenShown<TfrmStabil>([&](TfrmStabil &f) {
        ++shown;
        EXPECT_EQ(Cell(f, 3, 11), QStringLiteral("Проверить"));
        EXPECT_EQ(Cell(f, 4, 10), QStringLiteral("55,50"));
        // Deleting every row leaves the header and one empty row.
        for (int i = 0; i < 5; ++i) {
            prompt.Answer(idYes);
            f.Grid->setCurrentCell(3, 2);
            f.DeleteRow(3);
        }
        EXPECT_EQ(f.Study.Count(), 0);
        EXPECT_EQ(f.Grid->rowCount(), 4);
        QTest::mouseClick(f.btnCancel, Qt::LeftButton);
    });
    Run("TaskDescendingVentl");
    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(progress.Captions.isEmpty());
    // Cancel frees it.
    EXPECT_EQ(frmStabil, nullptr);
}

TEST_F(StabilityWindows, AscendingChooserAndCancel)
{
    prompt.Answer(idNo);
    bool shown = false;
    WhenShown<TfrmStbVosph>([&](TfrmStbVosph &f) {
        shown = true;
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Расчет устойчивости при пожаре в выработках с восходящим проветриванием"));
        EXPECT_EQ(f.Label1->text(), QStringLiteral("Выберите форму отчета"));
        ASSERT_EQ(f.lvFindedFiles->topLevelItemCount(), 1);
        EXPECT_TRUE(f.lvFindedFiles->topLevelItem(0)->text(1).endsWith(QStringLiteral("Уст. при восх")));
        EXPECT_GT(f.Study.Count(), 0);
        // Preview and printing wait for their windows.
        EXPECT_FALSE(f.btnPreview->isEnabled());
        EXPECT_FALSE(f.btnPrint->isEnabled());
        QTest::mouseClick(f.btnClose, Qt::LeftButton);
    });
    Run("TaskAscendVentl");
    EXPECT_TRUE(shown);
    ASSERT_FALSE(prompt.Asked.empty());
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("ВНИМАНИЕ"));
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith(QStringLiteral("Ветви 13, 31, 32, 33, 34 - с восходящим")));
    EXPECT_EQ(frmStbVosph, nullptr);
    ExpectNetworkAsBefore();

    // "Отмена" in the progress window: nothing is shown, the network is as it was.
    shown = false;
    prompt.Answer(idNo);
    WhenShown<TfrmPrgB>([](TfrmPrgB &p) { QTest::mouseClick(p.Button1, Qt::LeftButton); });
    WhenShown<TfrmStbVosph>([&](TfrmStbVosph &) { shown = true; });
    Run("TaskAscendVentl");
    EXPECT_FALSE(shown);
    ExpectNetworkAsBefore();
    CloseOpenModals();
}

TEST_F(StabilityWindows, YesOpensTheBranchTableOnTheLackingBranches)
{
    const TTableEditorHooks saved = TableEditorHooks;
    QStringList ranges;
    TableEditorHooks.EditBranchTable = [&ranges](int filter, const QString &range) {
        EXPECT_EQ(filter, -1);
        ranges << range;
        return 1; // closed with OK
    };
    prompt.Answer(idYes);
    bool shown = false;
    WhenShown<TfrmStbVosph>([&](TfrmStbVosph &) { shown = true; });
    Run("TaskAscendVentl");
    TableEditorHooks = saved;
    EXPECT_EQ(ranges, QStringList{QStringLiteral("13, 31, 32, 33, 34")});
    EXPECT_FALSE(shown);
    ExpectNetworkAsBefore();
    CloseOpenModals();
}

TEST_F(StabilityWindows, DescendingChooserListsItsTemplates)
{
    bool listed = false;
    WhenShown<TfrmStabil>([&](TfrmStabil &f) {
        WhenShown<TfrmFrStab>([&](TfrmFrStab &c) {
            EXPECT_EQ(c.windowTitle(), QStringLiteral("Формы отчетов по устойчивости"));
            ASSERT_EQ(c.lvFindedFiles->topLevelItemCount(), 1);
            EXPECT_EQ(c.lvFindedFiles->topLevelItem(0)->text(0), QStringLiteral("Устойчивость.frf"));
            EXPECT_EQ(c.Report.Count(), 5);
            // "Найти..." in another folder adds its rows and makes it the reports folder.
            const TReportChooserHooks saved = ReportChooserHooks;
            QFile::copy(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/Устойчивость.frf"),
                        folder.filePath(QStringLiteral("Устойчивость 2.frf")));
            ReportChooserHooks.FindFile = [this](QWidget *, const QString &mask) {
                EXPECT_EQ(mask, QStringLiteral("*.FRF"));
                return folder.filePath(QStringLiteral("Устойчивость 2.frf"));
            };
            EXPECT_TRUE(c.btnFind->isEnabled());
            QTest::mouseClick(c.btnFind, Qt::LeftButton);
            ReportChooserHooks = saved;
            ASSERT_EQ(c.Rows().size(), 2u);
            EXPECT_EQ(c.Rows()[0].Folder, QDir(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты")).absolutePath());
            EXPECT_EQ(c.Rows()[1].Folder, QDir(folder.path()).absolutePath());
            EXPECT_EQ(w->Options().ReportsLocation, QDir(folder.path()).absolutePath());
            listed = true;
            c.accept();
        });
        QTest::mouseClick(f.btnPrint, Qt::LeftButton);
        f.reject();
    });
    Run("TaskDescendingVentl");
    EXPECT_TRUE(listed);
}

TEST_F(StabilityWindows, FireDetectionReportManager)
{
    bool shown = false;
    WhenShown<TfrmReports2>([&](TfrmReports2 &f) {
        shown = true;
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Управление отчетами"));
        EXPECT_EQ(f.Label1->text(), QStringLiteral("Найденные отчеты"));
        QStringList files;
        for (int i = 0; i < f.lvFindedFiles->topLevelItemCount(); ++i)
            files << f.lvFindedFiles->topLevelItem(i)->text(0);
        EXPECT_TRUE(files.contains(QStringLiteral("Время обнаружения пожара.frf")));
        EXPECT_TRUE(files.contains(QStringLiteral("Устойчивость.frf")));
        EXPECT_TRUE(f.frMain.TwoPassBuild);
        f.reject();
    });
    Run("mnuFireDetectionTime");
    EXPECT_TRUE(shown);

    // A reports folder that is not there is named, and the list is empty.
    w->Options().ReportsLocation = folder.filePath(QStringLiteral("нет"));
    shown = false;
    WhenShown<TfrmReports2>([&](TfrmReports2 &f) {
        shown = true;
        EXPECT_EQ(f.lvFindedFiles->topLevelItemCount(), 0);
        f.reject();
    });
    Run("mnuFireDetectionTime");
    EXPECT_TRUE(shown);
    EXPECT_TRUE(prompt.Asked.back().Text.contains(QStringLiteral("нет")));
}

// Every window on the report chooser: a single template is chosen as the
// window opens, and the buttons that need a template are enabled then; with
// several none is chosen, and those buttons wait for the user's choice.
TEST_F(StabilityWindows, ReportChoosersNeverOfferAButtonThatDoesNothing)
{
    const TReportChooserHooks saved = ReportChooserHooks;
    QStringList used;
    ReportChooserHooks.Preview = [&used](TfrReport &) { used << QStringLiteral("preview"); };
    ReportChooserHooks.Print = [&used](TfrReport &) { used << QStringLiteral("print"); };
    ReportChooserHooks.Design = [&used](TfrReport &, const QString &file) { used << QFileInfo(file).fileName(); };
    const auto expectButtons = [](TReportChooser &c, bool enabled) {
        for (QPushButton *b : {c.btnPreview, c.btnDesign, c.btnPrint})
            EXPECT_EQ(b->isEnabled(), enabled) << b->text().toStdString();
    };
    // One template, chosen as the window opens: every button does its work.
    const auto driveSingle = [&](TReportChooser &c, const QString &file) {
        ASSERT_EQ(c.lvFindedFiles->topLevelItemCount(), 1);
        ASSERT_EQ(c.lvFindedFiles->selectedItems().size(), 1);
        expectButtons(c, true);
        used.clear();
        QTest::mouseClick(c.btnPreview, Qt::LeftButton);
        QTest::mouseClick(c.btnPrint, Qt::LeftButton);
        QTest::mouseClick(c.btnDesign, Qt::LeftButton);
        EXPECT_EQ(used, (QStringList{QStringLiteral("preview"), QStringLiteral("print"), file}));
    };

    bool ascending = false;
    prompt.Answer(idNo);
    WhenShown<TfrmStbVosph>([&](TfrmStbVosph &f) {
        ascending = true;
        driveSingle(f, f.lvFindedFiles->topLevelItem(0)->text(0));
        f.accept();
    });
    Run("TaskAscendVentl");
    EXPECT_TRUE(ascending);

    bool descending = false;
    WhenShown<TfrmStabil>([&](TfrmStabil &f) {
        WhenShown<TfrmFrStab>([&](TfrmFrStab &c) {
            descending = true;
            driveSingle(c, QStringLiteral("Устойчивость.frf"));
            c.accept();
        });
        QTest::mouseClick(f.btnPrint, Qt::LeftButton);
        f.reject();
    });
    Run("TaskDescendingVentl");
    EXPECT_TRUE(descending);

    // Several templates: nothing is chosen, and nothing is offered until a row is.
    bool several = false;
    WhenShown<TfrmReports2>([&](TfrmReports2 &f) {
        several = true;
        QTreeWidget *list = f.lvFindedFiles;
        ASSERT_GT(list->topLevelItemCount(), 1);
        EXPECT_TRUE(list->selectedItems().isEmpty());
        expectButtons(f, false);
        QTreeWidgetItem *row = list->topLevelItem(1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
        expectButtons(f, true);
        used.clear();
        QTest::mouseClick(f.btnDesign, Qt::LeftButton);
        EXPECT_EQ(used, QStringList{row->text(0)});
        f.reject();
    });
    Run("mnuFireDetectionTime");
    EXPECT_TRUE(several);
    ReportChooserHooks = saved;
}
