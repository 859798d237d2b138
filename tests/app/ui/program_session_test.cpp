// The program put together as main() does, used as an engineer uses it: a
// start with a refused library, the table editors' "Отмена" after renumbers
// and deletions, the journal plug-in and the studies of the normal air
// distribution run while a fire model holds the tables, values typed while a
// fire model or a study holds a copy of the tables, the scheme after a table.
#include "calc/solver.h"
#include "calc/ui/frm_cntr_air_speed.h"
#include "calc/ui/frm_edit_fan.h"
#include "calc/ui/frm_q_accelerate.h"
#include "calc/ui/frm_reports1.h"
#include "calc/ui/frm_splein.h"
#include "emergency/stability.h"
#include "emergency/stability_report.h"
#include "emergency/ui/frm_gaz_sourse.h"
#include "emergency/ui/frm_pojar.h"
#include "emergency/ui/frm_reports2.h"
#include "emergency/ui/frm_stabil.h"
#include "emergency/ui/frm_stb_vosph.h"
#include "journal/vj_options.h"
#include "model/scheme_file.h"
#include "model/speed_limits.h"
#include "platform/prompt.h"
#include "platform/ui/file_dialogs.h"
#include "program_wiring.h"
#include "report/engine.h"
#include "report/ui/report_chooser.h"
#include "scheme/branch_table.h"
#include "scheme/scheme_objects.h"
#include "scheme/ui/cell_grid.h"
#include "scheme/ui/fire_tool_hook.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_mine_tab.h"
#include "scheme/ui/frm_new_node.h"
#include "scheme/ui/frm_nod_tab.h"
#include "scheme/ui/frm_text_prop.h"
#include "scheme/ui/scheme_paint_box.h"
#include "scheme/ui/vent_boost_hook.h"
#include "shell/documents.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/xq_edit.h"
#include "../../shell/ui/main_window_fixture.h"
#include "file_bytes.h"
#include "file_dialog_choice.h"
#include "modal.h"

#include <QtCore/QDir>
#include <QtCore/QEventLoop>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string_view>
#include <map>
#include <memory>
#include <vector>

namespace {

// Answers as scripted, but first runs an event loop for a moment, as the
// program's message box does while it waits for the user.
class TLoopingPrompt : public TScriptedPrompt
{
public:
    int MessageBox(const QString &text, const QString &caption, int flags) override
    {
        if (WhenAsked)
            WhenAsked();
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
        return TScriptedPrompt::MessageBox(text, caption, flags);
    }
    std::function<void()> WhenAsked;
};

template <typename Dialog>
Dialog *Modal()
{
    return qobject_cast<Dialog *>(QApplication::activeModalWidget());
}

// What to do in the dialog that is up.
template <typename Dialog>
std::function<void()> Answer(std::function<void(Dialog &)> drive)
{
    return [drive = std::move(drive)] {
        auto *dialog = Modal<Dialog>();
        ASSERT_NE(dialog, nullptr);
        drive(*dialog);
    };
}

// The grid's row of item n, −1 when it has none.
int RowOfItem(TCellGrid *grid, int n)
{
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 0).data().toString() == QString::number(n))
            return r;
    return -1;
}

// Opens the dialog of F3 on the grid's row of item n and lets drive answer it.
void F3OnRow(TCellGrid *grid, int n, std::function<void()> drive)
{
    const int row = RowOfItem(grid, n);
    ASSERT_GE(row, 0) << "no row of " << n;
    grid->setCurrentIndex(grid->model()->index(row, 1));
    QTimer::singleShot(0, std::move(drive));
    QTest::keyClick(grid, Qt::Key_F3);
}

// Runs fn on the modal window that is(window) picks once it is up, then
// closes what is open; looks no more once *stop is set. Unlike WhenModal it
// lets the message boxes asked before that window go by.
void WhenUp(std::function<bool(QWidget &)> is, std::function<void(QWidget &)> fn, std::shared_ptr<bool> stop)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [is = std::move(is), fn = std::move(fn), stop, weak = std::weak_ptr(poll)] {
        if (*stop)
            return;
        QWidget *window = QApplication::activeModalWidget();
        if (window && window->isVisible() && is(*window)) {
            fn(*window);
            CloseOpenModals();
            return;
        }
        if (auto self = weak.lock())
            QTimer::singleShot(5, [self] { (*self)(); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

void TypeInto(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// In the branch table that is up: types text into the cell of branch n in
// the column, key by key, and closes the table with OK.
void TypeAndConfirm(int n, int column, const QString &text)
{
    auto *form = Modal<TfrmMineTab>();
    ASSERT_NE(form, nullptr);
    TCellGrid *grid = form->SGMineTab;
    const int row = RowOfItem(grid, n);
    ASSERT_GE(row, 0) << "no row of " << n;
    // A double click opens the cell's editor; its text is typed over.
    const QModelIndex cell = grid->model()->index(row, column);
    grid->scrollTo(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    QApplication::processEvents();
    auto *editor = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(editor, text);
    QTest::mouseClick(form->OKBtn, Qt::LeftButton);
}

// Whether the paint box shows the tables as they are: a redraw changes nothing.
bool SchemeShowsTables(TfrmMain &window)
{
    const QImage shown = window.PaintBox()->Image().copy();
    window.Redraw();
    return window.PaintBox()->Image() == shown;
}

class ProgramSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Config.isValid() && Program.isValid());
        qputenv("TUNVEX_CONFIG_DIR", Config.path().toUtf8());
        for (const char *folder : {"Шахты", "Plugins", "Символы", "Отчеты", "Вентиляторы", "PLA"})
            QDir(Program.path()).mkpath(QString::fromUtf8(folder));
        ASSERT_TRUE(QFile::copy(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine"), Sample()));
        ClearAllItems(Net);
    }
    void TearDown() override { Stop(); }

    QString Sample() const { return Program.filePath(QStringLiteral("Шахты/Демо.mine")); }

    void Put(const char *built, const QString &as)
    {
        ASSERT_TRUE(QFile::copy(QString::fromUtf8(built), Program.filePath(as))) << built;
    }

    // Starts the program on the file as main() does and lets its loop run
    // until the window has come up.
    void Start(const QString &file)
    {
        Engine = std::make_unique<TfrEngineScope>();
        InstallProgramServices();
        Window = std::make_unique<TfrmMain>(QStringList{file}, Program.path());
        TOptionsSet &options = Window->Options();
        options.MinesLocation = Program.filePath(QStringLiteral("Шахты"));
        options.ReportsLocation = Program.filePath(QStringLiteral("Отчеты"));
        options.FanLocations = Program.filePath(QStringLiteral("Вентиляторы"));
        options.PluginsLocation = Program.filePath(QStringLiteral("Plugins"));
        options.SymbolsLocation = Program.filePath(QStringLiteral("Символы"));
        options.PLALocationFolder = Program.filePath(QStringLiteral("PLA"));
        InstallMainWindowCommands(*Window);
        Window->setGeometry(0, 0, 1000, 800);
        Window->show();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
        for (int i = 0; i < 200 && !Window->Clock().isActive(); ++i)
            QTest::qWait(5);
        ASSERT_TRUE(Window->Clock().isActive());
        QTest::qWait(20);
    }

    void Stop()
    {
        if (!Window)
            return;
        FreeFireWindow();
        Window->SetModified(false);
        Window.reset();
        RemoveProgramServices();
        Engine.reset();
        ClearAllItems(Net);
        // The next start finds the hooks as a new process does.
        FireToolClick = nullptr;
        ShowVentBoost = nullptr;
        SchemeObjects = {};
    }

    QAction *Act(const char *name) { return Window->Action(QString::fromLatin1(name)); }

    // "Моделирование пожара..." on the branch from the window's first page,
    // "На схему": the fire is computed (again) and its model lives on.
    void ModelFire(int branch)
    {
        const auto stop = std::make_shared<bool>(false);
        WhenUp([](QWidget &window) { return window.inherits("TfrmPojar"); },
               [branch](QWidget &) {
                   frmPojar->PageControl1->setCurrentIndex(fpFireBranch);
                   TypeInto(frmPojar->EdInr, QString::number(branch));
                   QTest::mouseClick(frmPojar->bbtSchem, Qt::LeftButton);
               },
               stop);
        Act("TaskFire")->trigger();
        *stop = true;
        ASSERT_NE(frmPojar, nullptr);
        ASSERT_EQ(frmPojar->FireBranch(), branch);
    }

    // Демо with one working of each ventilation direction lacking its length,
    // so that each stability study opens the branch table on it; saved.
    QString LackingLengths(int &descending, int &ascending)
    {
        Window->Document().OpenFile(Sample());
        EXPECT_TRUE(CalcAir(nullptr, Net));
        descending = ascending = 0;
        for (int n = 1; n <= MaxBranchNo(Net); ++n) {
            if (!descending && ClassifyStabilityBranch(Net, n, vtDescending) == 1)
                descending = n;
            if (!ascending && ClassifyStabilityBranch(Net, n, vtAscending) == 1)
                ascending = n;
        }
        Net.BranchLength[descending] = 0;
        Net.BranchLength[ascending] = 0;
        const QString file = Program.filePath(QStringLiteral("Шахты/Неполная.mine"));
        EXPECT_TRUE(Window->Document().SaveAs(file, sfMine));
        return file;
    }

    // "ДОП.ДЕПР." of branch n typed in "Таблица ветвей...", OK.
    void TypeAuxDepression(int n, const QString &text)
    {
        WhenModal([=] { TypeAndConfirm(n, bcAuxDepression, text); });
        Act("mnuMuchBranches")->trigger();
    }

    // Gives the command and the first window it opens to fn; false when the
    // command opened none.
    bool GiveCommand(const char *name, std::function<void(QWidget &)> fn = {})
    {
        const auto stop = std::make_shared<bool>(false);
        bool opened = false;
        // A study's progress window is no window of its results.
        WhenUp([](QWidget &window) { return !window.inherits("TfrmPrgB"); },
               [&](QWidget &window) {
                   opened = true;
                   if (fn)
                       fn(window);
               },
               stop);
        Act(name)->trigger();
        QTest::qWait(20);
        *stop = true;
        return opened;
    }

    // The document written as the menu's "Сохранить как..." does, with the
    // view given (a fire fits the view to its zone, which is saved too).
    QByteArray SavedAs(const QString &name, const TViewport &view)
    {
        const QString file = Program.filePath(QStringLiteral("Шахты/") + name);
        // A new file: the dialog does not ask about overwriting.
        QFile::remove(file);
        Window->View() = view;
        const auto stop = std::make_shared<bool>(false);
        WhenUp([](QWidget &window) { return window.inherits("QFileDialog"); },
               [file](QWidget &) {
                   QFileDialog *dialog = ShownFileDialog();
                   ASSERT_NE(dialog, nullptr);
                   dialog->selectFile(file);
                   static_cast<QDialog *>(dialog)->accept();
               },
               stop);
        Act("FileSaveAs")->trigger();
        *stop = true;
        return ReadAll(file);
    }

    // The document saved under one name, as the program writes it.
    QByteArray Saved()
    {
        const QString file = Program.filePath(QStringLiteral("Шахты/Сравнение.mine"));
        EXPECT_TRUE(Window->Document().SaveAs(file, sfMine));
        return ReadAll(file);
    }

    bool TasksEnabled()
    {
        for (QAction *menu : Window->menuBar()->actions())
            if (menu->text() == QStringLiteral("&Задачи"))
                return menu->isEnabled() && Act("pTaskAirDistribution")->isEnabled() && Act("pmnuFire")->isEnabled();
        ADD_FAILURE() << "no menu Задачи";
        return false;
    }

    QTemporaryDir Config, Program;
    TLoopingPrompt Prompt;
    std::unique_ptr<TfrEngineScope> Engine;
    std::unique_ptr<TfrmMain> Window;
};

} // namespace

// A refused symbol library or plug-in is named once the window is up, wired
// whole; afterwards every command stands as after a normal start, and the
// tools that the later parts of the start-up wire work.
TEST_F(ProgramSession, ARefusedLibraryIsNamedOnceTheWindowIsUpAndLeavesEveryToolWorking)
{
    std::map<QString, bool> normal;
    const struct
    {
        const char *Name;
        const char *Library;
        QString As;
        const char *Entry;
    } cases[] = {{"normal start", nullptr, {}, nullptr},
                 {"symbol library", TEST_SYMBOL_THROWING, QStringLiteral("Символы/a.so"), "GetSymbolName"},
                 {"plug-in", TEST_PLUGIN_THROWING, QStringLiteral("Plugins/a.so"), "GetPlugName"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Stop();
        Prompt.Asked.clear();
        if (c.Library)
            Put(c.Library, c.As);
        bool upWhenAsked = false;
        Prompt.WhenAsked = [&] {
            upWhenAsked = Window && Window->isVisible() && BranchCount(Net) > 0 && Act("tbtnFireModelling")->isEnabled();
        };
        Start(Sample());
        Prompt.WhenAsked = nullptr;

        std::map<QString, bool> enabled;
        for (QAction *a : Window->findChildren<QAction *>())
            if (!a->objectName().isEmpty())
                enabled[a->objectName()] = a->isEnabled();
        if (!c.Library) {
            EXPECT_TRUE(Prompt.Asked.empty());
            normal = enabled;
        } else {
            ASSERT_EQ(Prompt.Asked.size(), 1u);
            EXPECT_TRUE(Prompt.Asked[0].Text.contains(Program.filePath(c.As))) << Prompt.Asked[0].Text.toStdString();
            EXPECT_TRUE(Prompt.Asked[0].Text.contains(QLatin1String(c.Entry)));
            EXPECT_TRUE(upWhenAsked);
            EXPECT_EQ(enabled, normal);
        }

        // The tools work: the fire tool is chosen, a text is placed.
        Act("tbtnFireModelling")->trigger();
        EXPECT_TRUE(Act("tbtnFireModelling")->isChecked());
        Act("mnuTexts")->trigger();
        Act("mnuPhones")->trigger();
        EXPECT_TRUE(Act("tbtnPlaceTelephone")->isEnabled());
        ASSERT_TRUE(Act("tbtnText")->isEnabled());
        Act("tbtnText")->trigger();
        EXPECT_TRUE(Act("tbtnText")->isChecked());
        const int texts = Window->Storage().Doc.MapTexts.Count();
        bool asked = false;
        const QPoint at(Window->PaintBox()->width() / 2, Window->PaintBox()->height() / 2);
        // Moving the pointer runs the event loop: the answer waits for the click.
        QTest::mouseMove(Window->PaintBox(), at);
        WhenModal([&] {
            auto *dialog = Modal<TfrmTextProp>();
            ASSERT_NE(dialog, nullptr);
            asked = true;
            QTest::mouseClick(dialog->btnSave, Qt::LeftButton);
        });
        QTest::mouseClick(Window->PaintBox(), Qt::LeftButton, {}, at);
        EXPECT_TRUE(asked);
        EXPECT_EQ(Window->Storage().Doc.MapTexts.Count(), texts + 1);
        QFile::remove(Program.filePath(c.As));
    }
}

// "Отмена" in a table gives back exactly the network that was there when
// the table opened, whatever the property dialogs opened with F3 did in
// between: the document saved afterwards is the same, byte for byte.
TEST_F(ProgramSession, CancelInATableGivesBackTheNetworkAsItWasWhateverF3Did)
{
    Start(Sample());
    // F3 on the row of the item, and what is done in its dialog.
    const auto renumber = [](int from, int to) {
        return std::pair{from, Answer<TfrmBranch>([to](TfrmBranch &dialog) {
                             TypeInto(dialog.edNo, QString::number(to));
                             dialog.bbtnOK->click();
                         })};
    };
    const auto remove = [](int n) {
        return std::pair{n, Answer<TfrmBranch>([](TfrmBranch &dialog) { dialog.bbtnDelete->click(); })};
    };
    const auto renumberNode = [](int from, int to) {
        return std::pair{from, Answer<TfrmNewNode>([to](TfrmNewNode &dialog) {
                             TypeInto(dialog.edNodeNo, QString::number(to));
                             dialog.bbtnOK->click();
                         })};
    };
    const int freeNode = MaxNodeNo(Net) + 7;
    using TSteps = std::vector<std::pair<int, std::function<void()>>>;
    const struct
    {
        const char *Name;
        bool Nodes;
        TSteps Steps;
        int GoneAfter;  // an item that the steps took away
    } cases[] = {
        {"single renumber", false, {renumber(8, 69)}, 8},
        {"chain", false, {renumber(8, 69), renumber(7, 8)}, 7},
        {"main fan chain", false, {renumber(4, 69), renumber(5, 4)}, 5},
        {"swap", false, {renumber(8, 69), renumber(7, 8), renumber(69, 7)}, 69},
        {"delete, then the number used again", false, {remove(8), renumber(7, 8)}, 7},
        {"node chain", true, {renumberNode(2, freeNode), renumberNode(3, 2)}, 3},
    };
    // Also while a fire model keeps its copies of the network's flows and
    // depressions: they come back with the network, and the model's end
    // leaves it as before.
    for (const bool burning : {false, true}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(c.Name);
            SCOPED_TRACE(burning ? "during a fire" : "");
            Window->Document().OpenFile(Sample());
            ASSERT_GT(BranchCount(Net), 10);
            if (burning)
                ModelFire(35);
            const QByteArray before = Saved();
            bool gone = false;
            WhenModal([&] {
                TCellGrid *grid = nullptr;
                if (auto *nodes = Modal<TfrmNodTab>())
                    grid = nodes->SGNodTab;
                else if (auto *branches = Modal<TfrmMineTab>())
                    grid = branches->SGMineTab;
                ASSERT_NE(grid, nullptr);
                QLineEdit *filter = qobject_cast<TTableEditorForm *>(QApplication::activeModalWidget())->cmbDiap->lineEdit();
                for (const auto &[n, drive] : c.Steps) {
                    // The rows of the numbers that exist now.
                    filter->selectAll();
                    QTest::keyClicks(filter, QStringLiteral("1-5000"));
                    F3OnRow(grid, n, drive);
                }
                gone = c.Nodes ? !NodeExist(Net, c.GoneAfter) : !BranchExist(Net, c.GoneAfter);
                qobject_cast<TTableEditorForm *>(QApplication::activeModalWidget())->CancelBtn->click();
            });
            Act(c.Nodes ? "mnuEditNodes" : "mnuMuchBranches")->trigger();
            EXPECT_TRUE(gone);
            EXPECT_TRUE(Saved() == before);
            FreeFireWindow();
            EXPECT_TRUE(Saved() == before);
        }
    }
}

namespace {

// The file commands, the scheme tools and the tables as an engineer uses them.
class DocumentSession : public ProgramSession
{
protected:
    // The tables as a new process has them.
    static void FreshTables() { Net = *std::make_unique<TNetworkTables>(); }

    QString Mine(const QString &name) const { return Program.filePath(QStringLiteral("Шахты/") + name); }

    void OpenByHand(int filter, const QString &file)
    {
        ChooseInFileDialog(OpenDialogFilters()[filter].Text, file);
        Act("FileOpen")->trigger();
    }

    // "Сохранить как..." through its dialog; the bytes written.
    QByteArray SaveAsByHand(const QString &file)
    {
        QFile::remove(file);  // the dialog would ask about overwriting it
        ChooseInFileDialog(SaveDialogFilters()[0].Text, file);
        Act("FileSaveAs")->trigger();
        return ReadAll(file);
    }

    // A click of the current tool on the scheme, drive answering the dialog it opens.
    void ClickScheme(QPoint at, std::function<void()> drive = {})
    {
        QTest::mouseMove(Window->PaintBox(), at);  // pumps the queue: the answer waits for the click
        if (drive)
            WhenModal(std::move(drive));
        QTest::mouseClick(Window->PaintBox(), Qt::LeftButton, {}, at);
    }

    // Two nodes placed and a branch drawn between them, each dialog confirmed.
    void DrawBranch(QPoint from, QPoint to)
    {
        Act("sbtnNode")->trigger();
        for (const QPoint at : {from, to})
            ClickScheme(at, [] { Modal<TfrmNewNode>()->bbtnOK->click(); });
        Act("sbtnBranch")->trigger();
        ClickScheme(from);
        ClickScheme(to, [] { Modal<TfrmBranch>()->bbtnOK->click(); });
    }

    // The middle of the first stretch of branch n on the screen, the view
    // centred on it first when it lies outside.
    QPoint OnBranch(int n)
    {
        const TTurnList &turns = *Net.BranchTurns[n];
        const TViewport &view = Window->Document().View;
        const auto at = [&] {
            return QPoint((view.ScreenX(turns[0].X) + view.ScreenX(turns[1].X)) / 2,
                          (view.ScreenY(turns[0].Y) + view.ScreenY(turns[1].Y)) / 2);
        };
        if (!Window->PaintBox()->rect().contains(at())) {
            Window->CenterOn((turns[0].X + turns[1].X) / 2, (turns[0].Y + turns[1].Y) / 2);
            Window->Redraw();
        }
        return at();
    }

    // "Удалить" in the dialog of the branch clicked on the scheme.
    void DeleteBranchOnScheme(int n)
    {
        Act("sbtnArrow")->trigger();
        ClickScheme(OnBranch(n), [] { Modal<TfrmBranch>()->bbtnDelete->click(); });
        EXPECT_FALSE(BranchPresent(Net, n));
    }

    // A new row typed at the end of the branch table, then OK.
    void AddBranchInTable(int n, int from, int to)
    {
        WhenModal([=] {
            auto *form = Modal<TfrmMineTab>();
            ASSERT_NE(form, nullptr);
            TCellGrid *grid = form->SGMineTab;
            // Each key goes to the cell's editor while one is open, else to
            // the grid, as the keyboard sends it with the focus in the table
            // (the main window's own activation may still come in after the
            // table opened, so the focus itself is not asked).
            const auto key = [grid](auto k) {
                QWidget *to = grid;
                for (QLineEdit *editor : grid->viewport()->findChildren<QLineEdit *>())
                    if (editor->isVisible())
                        to = editor;
                QTest::keyClick(to, k);
            };
            grid->setFocus();
            grid->setCurrentIndex(grid->model()->index(grid->model()->rowCount() - 1, bcNumber));
            key(Qt::Key_Down);
            for (const int value : {n, from, to}) {
                for (const QChar c : QString::number(value))
                    key(c.toLatin1());
                key(Qt::Key_Tab);
            }
            EXPECT_TRUE(BranchExist(Net, n));
            form->OKBtn->click();
        });
        Act("mnuMuchBranches")->trigger();
    }

    // The branch dialog opened with F3 on the row of branch n in the branch
    // table, drive answering it; then the table's OK.
    void DialogInTable(int n, std::function<void(TfrmBranch &)> drive)
    {
        WhenModal([=] {
            auto *form = Modal<TfrmMineTab>();
            ASSERT_NE(form, nullptr);
            F3OnRow(form->SGMineTab, n, Answer<TfrmBranch>(drive));
            form->OKBtn->click();
        });
        Act("mnuMuchBranches")->trigger();
    }

    // The dialog of the branch clicked on the scheme, drive answering it.
    void DialogOnScheme(int n, std::function<void(TfrmBranch &)> drive)
    {
        Act("sbtnArrow")->trigger();
        const TTurnList &turns = *Net.BranchTurns[n];
        const TViewport &view = Window->Document().View;
        const QPoint at((view.ScreenX(turns[0].X) + view.ScreenX(turns[1].X)) / 2,
                        (view.ScreenY(turns[0].Y) + view.ScreenY(turns[1].Y)) / 2);
        ClickScheme(at, Answer<TfrmBranch>(drive));
    }

    // Renumbers in the branch dialogs opened with F3 in the branch table, then OK.
    void RenumberInTable(const std::vector<std::pair<int, int>> &moves)
    {
        WhenModal([=] {
            auto *form = Modal<TfrmMineTab>();
            ASSERT_NE(form, nullptr);
            for (const auto &[from, to] : moves) {
                form->cmbDiap->lineEdit()->selectAll();
                QTest::keyClicks(form->cmbDiap->lineEdit(), QStringLiteral("1-5000"));
                F3OnRow(form->SGMineTab, from, Answer<TfrmBranch>([to](TfrmBranch &dialog) {
                            TypeInto(dialog.edNo, QString::number(to));
                            dialog.bbtnOK->click();
                        }));
            }
            form->OKBtn->click();
        });
        Act("mnuMuchBranches")->trigger();
    }
};

} // namespace

// Whatever the sample mine (accessory texts, belts, ...) held at a number
// stays with it: the next scheme opened, a new one with branches drawn and
// typed in, the mine after a renumbered swap or a deleted branch whose
// number is used again, and the imports save exactly what they save in a
// program that never had the sample mine open.
TEST_F(DocumentSession, NoValueOfAnEarlierDocumentReachesTheNextOnesFile)
{
    const QString empty = Mine(QStringLiteral("Пустая.mine"));
    ASSERT_TRUE(WriteTestScheme(empty, {}, {}));
    // The sample mine without its accessories, as the program saves it.
    const QString plain = Mine(QStringLiteral("Без аксессуаров.mine"));
    {
        auto t = std::make_unique<TNetworkTables>();
        TSchemeDocument doc;
        ReadMineFile(Sample(), *t, doc);
        const std::int16_t accessories = bfConveyor | bfFireWaterPipe | bfElectricCables | bfDegassingPipe;
        for (int b = 1; b <= MaxBranchNo(*t); ++b) {
            t->BranchCableCells[b].clear();
            t->BranchDegasValve[b].clear();
            t->BranchFirePipeDiameter[b].clear();
            t->BranchBeltType[b] = 0;
            t->BranchBeltWidth[b] = 0;
            t->BranchFlags[b] = static_cast<std::int16_t>(t->BranchFlags[b] & ~accessories);
            t->BranchMinSpeed[b] = DefaultMinSpeed(t->BranchType[b]);
            t->BranchMaxSpeed[b] = DefaultMaxSpeed(t->BranchType[b]);
        }
        ASSERT_TRUE(WriteMineFile(plain, *t, doc, LoadedView(doc.MineProperties)));
    }
    const QString vent = Mine(QStringLiteral("Шахта.sp1"));
    QByteArray lines;
    for (int b = 1; b <= 10; ++b)
        lines += QStringLiteral("%1 %2 %3 0.5 1 0 0 0 100 10 0\n").arg(b).arg(b).arg(b % 10 + 1).toLatin1();
    WriteFile(vent, lines);
    // The РЕВОД set writes the tables without creating its branches.
    ASSERT_TRUE(QDir(Program.path()).mkpath(QStringLiteral("Шахты/РЕВОД")));
    const QString revod = Mine(QStringLiteral("РЕВОД/MVS.DAT"));
    QByteArray revodLines;
    for (int b = 1; b <= 10; ++b)
        revodLines += QStringLiteral("%1 %2 %3 0.5\n").arg(b).arg(b).arg(b % 10 + 1).toLatin1();
    WriteFile(revod, revodLines);
    WriteFile(Mine(QStringLiteral("РЕВОД/VMP.DAT")), {});
    WriteFile(Mine(QStringLiteral("РЕВОД/UzPov.DAT")), "1\n");
    const QString swapped = Mine(QStringLiteral("Обмен.mine"));
    const QString deleted = Mine(QStringLiteral("Без ветви 8.mine"));
    const QString saved = Mine(QStringLiteral("Сохранено.mine"));

    const struct
    {
        const char *Name;
        std::function<void()> AfterSample;  // done with the sample mine open
        QString Alone;                      // what the other program starts on
        std::function<void()> Steps;        // done in both programs
        bool SavesTheFileOpened;
    } cases[] = {
        {"another scheme", nullptr, empty, [&] { OpenByHand(0, plain); }, true},
        {"New, a branch drawn and one typed in",
         nullptr,
         empty,
         [&] {
             Act("FileNew")->trigger();
             DrawBranch({200, 200}, {500, 300});
             AddBranchInTable(8, 2, 1);
         },
         false},
        {"a swap by renumbers, saved and reopened",
         [&] {
             RenumberInTable({{8, 69}, {7, 8}, {69, 7}});
             SaveAsByHand(swapped);
         },
         empty,
         [&] {
             OpenByHand(0, swapped);
             AddBranchInTable(69, 1, 2);
         },
         false},
        {"a branch deleted on the scheme, its number used again",
         [&] {
             DeleteBranchOnScheme(8);
             SaveAsByHand(deleted);
         },
         deleted,
         [&] { AddBranchInTable(8, 1, 2); },
         false},
        {"a VENT import", nullptr, empty, [&] { OpenByHand(3, vent); }, false},
        {"a РЕВОД import", nullptr, empty, [&] { OpenByHand(2, revod); }, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Stop();
        FreshTables();
        Start(Sample());
        ASSERT_FALSE(Net.BranchFirePipeDiameter[8].isEmpty());
        if (c.AfterSample)
            c.AfterSample();
        c.Steps();
        EXPECT_TRUE(BranchExist(Net, 8));  // the number whose texts the sample mine had
        const QByteArray afterSample = SaveAsByHand(saved);
        ASSERT_FALSE(afterSample.isEmpty());

        Stop();
        FreshTables();
        Start(c.Alone);
        c.Steps();
        const QByteArray alone = SaveAsByHand(saved);
        EXPECT_TRUE(afterSample == alone);
        if (c.SavesTheFileOpened) {
            EXPECT_TRUE(afterSample == ReadAll(plain));
        }
    }
}

// A sequence made while fire 35 is modelled leaves the network exactly as
// the same sequence made without a fire (solved first, as the fire model
// takes it; F2 at the end where flows matter): the branch dialog stores only
// the field typed, whoever opens it; a renumber, a delete or a new branch
// takes the model's copies along; a recompute after an edit compares against
// the network as it now stands.
TEST_F(DocumentSession, ASequenceMadeDuringAFireSavesAsTheSameWithoutOne)
{
    Start(Sample());
    const TViewport view = Window->View();
    const int fire = 35;
    const auto length = [](const char *typed) {
        return [typed](TfrmBranch &dialog) {
            TypeInto(dialog.edLen, QString::fromLatin1(typed));
            dialog.bbtnOK->click();
        };
    };
    const auto remove = [](TfrmBranch &dialog) { dialog.bbtnDelete->click(); };
    const struct
    {
        const char *Name;
        std::function<void()> Steps;
        bool Solve;  // F2 before the save
    } cases[] = {
        {"the burning working's dialog from the table", [&] { DialogInTable(fire, length("321")); }, true},
        {"the burning working's dialog from the scheme", [&] { DialogOnScheme(fire, length("321")); }, true},
        {"the burning working's dialog from the fire window",
         [&] {
             if (!frmPojar) {
                 DialogInTable(fire, length("321"));
                 return;
             }
             WhenModal([&] {
                 QTimer::singleShot(0, Answer<TfrmBranch>(length("321")));
                 QTest::mouseClick(frmPojar->BitBtn3, Qt::LeftButton);
                 QTest::mouseClick(frmPojar->bbtSchem, Qt::LeftButton);
             });
             frmPojar->PageControl1->setCurrentIndex(fpFireBranch);
             Act("TaskFire")->trigger();
         },
         true},
        {"another's dialog", [&] { DialogInTable(7, length("77")); }, true},
        {"the burning working renumbered", [&] { RenumberInTable({{fire, 69}}); }, true},
        {"another renumbered", [&] { RenumberInTable({{7, 69}}); }, false},
        {"renumbered in a chain", [&] { RenumberInTable({{fire, 69}, {7, fire}}); }, false},
        {"deleted", [&] { DialogInTable(8, remove); }, false},
        {"the burning working deleted", [&] { DialogInTable(fire, remove); }, false},
        {"a new branch", [&] { AddBranchInTable(69, 8, 9); }, false},
        {"deleted, its number used again",
         [&] {
             DialogInTable(fire, remove);
             AddBranchInTable(fire, 8, 9);
         },
         false},
        {"an edit, then the fire computed again",
         [&] {
             TypeAuxDepression(7, QStringLiteral("150"));
             if (frmPojar)
                 ModelFire(fire);
         },
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Window->Document().OpenFile(Sample());
        ASSERT_TRUE(CalcAir(nullptr, Net));
        c.Steps();
        if (c.Solve)
            EXPECT_TRUE(GiveCommand("TaskAirDistribution"));
        const QByteArray expected = SavedAs(QStringLiteral("Без пожара.mine"), view);

        Window->Document().OpenFile(Sample());
        ModelFire(fire);
        c.Steps();
        if (c.Solve) {
            Prompt.Answer(idOk);
            EXPECT_TRUE(GiveCommand("TaskAirDistribution"));
            EXPECT_EQ(frmPojar, nullptr);
        }
        EXPECT_TRUE(SavedAs(QStringLiteral("При пожаре.mine"), view) == expected);
        FreeFireWindow();
    }
}

// "На схему" again after an edit made during the fire gives the pages that
// the same edit made before the fire gives: the first page's flow, the
// reversal page, the warnings.
TEST_F(DocumentSession, AFireComputedAgainAfterAnEditReadsAsTheEditMadeBefore)
{
    Start(Sample());
    const int fire = 35;
    // The fire window shown again: its first page's flow, then its reversal
    // page, closed with "На схему".
    const auto pages = [&] {
        QStringList shown;
        WhenModal([&] {
            shown << frmPojar->lbFlow->text() << frmPojar->lbVentType->text();
            frmPojar->PageControl1->setCurrentIndex(fpReversals);
            QTableWidget *grid = frmPojar->Grids[fpReversals];
            shown << frmPojar->PageLabels[fpReversals]->text()
                  << QString::number(grid->isVisibleTo(frmPojar->PageControl1->widget(fpReversals)));
            for (int r = 0; r < grid->rowCount(); ++r)
                for (int c = 0; c < grid->columnCount(); ++c)
                    shown << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
            QTest::mouseClick(frmPojar->bbtSchem, Qt::LeftButton);
        });
        Act("TaskFire")->trigger();
        return shown;
    };
    const auto said = [&] {
        QStringList texts;
        for (const auto &asked : Prompt.Asked)
            texts << asked.Text;
        return texts;
    };

    Window->Document().OpenFile(Sample());
    TypeAuxDepression(7, QStringLiteral("150"));
    Prompt.Asked.clear();
    ModelFire(fire);
    const QStringList warnedBefore = said();
    const QStringList before = pages();
    FreeFireWindow();

    Window->Document().OpenFile(Sample());
    ModelFire(fire);
    const QStringList unedited = pages();
    TypeAuxDepression(7, QStringLiteral("150"));
    Prompt.Asked.clear();
    ModelFire(fire);
    EXPECT_EQ(said(), warnedBefore);
    EXPECT_EQ(pages(), before);
    EXPECT_NE(unedited, before);
    FreeFireWindow();
}

// Every table editor brings the menus up to date when it closes, also after
// "Отмена" put back a branch that F3 had deleted.
TEST_F(ProgramSession, MenusFollowTheNetworkAfterCancelInEitherTable)
{
    const QString file = Program.filePath(QStringLiteral("Шахты/Две.mine"));
    ASSERT_TRUE(WriteTestScheme(file, {{100, 100}, {300, 100}, {500, 100}}, {{1, 2}, {2, 3}}));
    Start(file);
    ASSERT_EQ(BranchCount(Net), 2);
    const auto deleteBranch = Answer<TfrmBranch>([](TfrmBranch &dialog) { dialog.bbtnDelete->click(); });
    const struct
    {
        const char *Name;
        const char *Command;
        std::function<void(TCellGrid *)> Drive;
    } cases[] = {
        {"branch table", "mnuMuchBranches", [&](TCellGrid *grid) { F3OnRow(grid, 2, deleteBranch); }},
        {"node dialog of the node table", "mnuEditNodes",
         [&](TCellGrid *grid) {
             F3OnRow(grid, 3, Answer<TfrmNewNode>([&](TfrmNewNode &dialog) {
                         QTreeWidget *list = dialog.lvInBranches;
                         ASSERT_GT(list->topLevelItemCount(), 0);
                         QTimer::singleShot(0, deleteBranch);
                         emit list->itemDoubleClicked(list->topLevelItem(0), 0);
                         dialog.bbtnCancel->click();
                     }));
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_TRUE(TasksEnabled());
        bool greyed = false;
        WhenModal([&] {
            auto *form = qobject_cast<TTableEditorForm *>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            TCellGrid *grid = form->findChild<TCellGrid *>();
            c.Drive(grid);
            greyed = BranchCount(Net) == 1 && !TasksEnabled();
            form->CancelBtn->click();
        });
        Act(c.Command)->trigger();
        EXPECT_TRUE(greyed);
        EXPECT_EQ(BranchCount(Net), 2);
        EXPECT_TRUE(TasksEnabled());
    }
}

// A plug-in sees the normal air distribution: with a fire model alive, its
// command asks first as "Воздухораспределение..." does; Cancel keeps the
// fire model and runs nothing, OK releases it before the plug-in runs.
TEST_F(ProgramSession, APlugInRunsOnTheNormalAirDistributionNeverOnAFireModel)
{
    Put(KERSTAL_PLUGIN, QStringLiteral("Plugins/Kerstal.so"));
    TVJOptionSet journal;
    journal.CurDir = Program.filePath(QStringLiteral("Шахты"));
    journal.Write();
    Start(Sample());
    ASSERT_TRUE(Act("Plugins1")->isEnabled());
    ASSERT_TRUE(CalcAir(nullptr, Net));
    const TTable<double> normalQ = Net.BranchQ;
    const auto stop = std::make_shared<bool>(false);

    const auto fire = [&] {
        ModelFire(1);
        ASSERT_NE(Net.BranchQ, normalQ);
    };
    const auto isJournal = [](QWidget &window) { return window.objectName() == QStringLiteral("frmKerstal"); };
    const QString question = QStringLiteral("Для расчета нормального воздухораспределения необходимо")
                             + QStringLiteral(" отменить расчет зоны загазирования. Продолжать?");
    for (const int answer : {idCancel, idOk}) {
        SCOPED_TRACE(answer);
        fire();
        Prompt.Asked.clear();
        Prompt.Answer(answer);
        bool ran = false;
        bool normalWhenRun = false;
        const auto watching = std::make_shared<bool>(false);
        WhenUp(isJournal,
               [&](QWidget &) {
                   ran = true;
                   // The scheme behind the journal no longer shows the fire.
                   normalWhenRun = frmPojar == nullptr && Net.BranchQ == normalQ && SchemeShowsTables(*Window);
               },
               watching);
        // The item of "Расширения" (Ctrl+1 is the same action).
        QAction *item = Window->PluginsMenu()->actions().value(0);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_1));
        item->trigger();
        *watching = true;
        ASSERT_FALSE(Prompt.Asked.empty());
        EXPECT_EQ(Prompt.Asked[0].Text, question);
        EXPECT_EQ(Prompt.Asked[0].Flags, mb::OkCancel | mb::IconWarning);
        if (answer == idCancel) {
            EXPECT_FALSE(ran);
            EXPECT_NE(frmPojar, nullptr);
            EXPECT_TRUE(Window->windowTitle().endsWith(QStringLiteral(" Зона загазирования")));
        } else {
            EXPECT_TRUE(ran);
            EXPECT_TRUE(normalWhenRun);
            EXPECT_FALSE(Window->windowTitle().endsWith(QStringLiteral(" Зона загазирования")));
        }
    }
    // Without a fire model the plug-in runs without a question.
    Prompt.Asked.clear();
    bool ran = false;
    WhenUp(isJournal, [&](QWidget &) { ran = true; }, stop);
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    QTest::keyClick(Window.get(), Qt::Key_1, Qt::ControlModifier);
    *stop = true;
    EXPECT_TRUE(ran);
    EXPECT_TRUE(Prompt.Asked.empty());
}

// Every report chooser of the program, opened by its command: a template
// that cannot be built says why on "Печать..." with the message that
// "Просмотр..." gives, and nothing is printed.
TEST_F(ProgramSession, EveryReportChooserSaysWhyATemplateCannotBePrinted)
{
    // The journal's template, which the network reports cannot build, where
    // each chooser looks: F5 lists "Устойчивость*", Shift+F5 its own folder.
    const QString journal = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/Вентжурнал.frf");
    ASSERT_TRUE(QDir(Program.path()).mkpath(QStringLiteral("Отчеты/Уст. при восх")));
    for (const char *as : {"Отчеты/Вентжурнал.frf", "Отчеты/Устойчивость журнала.frf", "Отчеты/Уст. при восх/Вентжурнал.frf"})
        ASSERT_TRUE(QFile::copy(journal, Program.filePath(QString::fromUtf8(as)))) << as;
    Start(Sample());
    ASSERT_TRUE(CalcAir(nullptr, Net));

    // A print that went ahead would ask for its PDF file here.
    int printed = 0;
    QTimer refuse;
    QObject::connect(&refuse, &QTimer::timeout, [&printed] {
        if (QFileDialog *dialog = ShownFileDialog()) {
            ++printed;
            dialog->reject();
        }
    });
    refuse.start(5);

    const struct
    {
        const char *Host;
        const char *Command;
        QString File;
        // The window between the command and the chooser, and its button.
        const char *Between;
        std::function<void(QWidget &)> Open;
    } hosts[] = {
        {"Отчеты...", "mnuFastRep", QStringLiteral("Вентжурнал.frf"), nullptr, nullptr},
        {"Контроль скорости воздуха...", "mnuSpeedCheck", QStringLiteral("Вентжурнал.frf"), "TfrmCntrAirSpeed",
         [](QWidget &) { QTest::mouseClick(frmCntrAirSpeed->btPrn, Qt::LeftButton); }},
        {"Время обнаружения пожара...", "mnuFireDetectionTime", QStringLiteral("Вентжурнал.frf"), nullptr, nullptr},
        {"F5", "TaskDescendingVentl", QStringLiteral("Устойчивость журнала.frf"), "TfrmStabil",
         [](QWidget &window) { QTest::mouseClick(static_cast<TfrmStabil &>(window).btnPrint, Qt::LeftButton); }},
        {"Shift+F5", "TaskAscendVentl", QStringLiteral("Вентжурнал.frf"), nullptr, nullptr},
    };
    for (const auto &host : hosts) {
        SCOPED_TRACE(host.Host);
        Prompt.Asked.clear();
        QStringList told;
        bool chosen = false;
        const auto stop = std::make_shared<bool>(false);
        if (host.Between)
            WhenUp([&](QWidget &window) { return window.inherits(host.Between); },
                   [&](QWidget &window) { host.Open(window); }, stop);
        WhenUp([](QWidget &window) { return dynamic_cast<TReportChooser *>(&window) != nullptr; },
               [&](QWidget &window) {
                   auto &chooser = dynamic_cast<TReportChooser &>(window);
                   QTreeWidget *list = chooser.lvFindedFiles;
                   for (int i = 0; i < list->topLevelItemCount(); ++i)
                       if (list->topLevelItem(i)->text(0) == host.File) {
                           list->scrollToItem(list->topLevelItem(i));
                           QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                                             list->visualItemRect(list->topLevelItem(i)).center());
                       }
                   ASSERT_TRUE(chosen = chooser.btnPrint->isEnabled());
                   for (QPushButton *button : {chooser.btnPreview, chooser.btnPrint}) {
                       const std::size_t asked = Prompt.Asked.size();
                       QTest::mouseClick(button, Qt::LeftButton);
                       told << (Prompt.Asked.size() == asked + 1 ? Prompt.Asked.back().Text : QStringLiteral("(nothing)"));
                   }
               },
               stop);
        // Shift+F5 first asks whether to list the branches lacking data.
        if (host.Command == std::string_view("TaskAscendVentl"))
            Prompt.Answer(idNo);
        Act(host.Command)->trigger();
        *stop = true;
        CloseOpenModals();
        EXPECT_TRUE(chosen);
        ASSERT_EQ(told.size(), 2);
        EXPECT_TRUE(told[0].startsWith(QStringLiteral("Возникла ошибка при обработке выражения"))) << told[0].toStdString();
        EXPECT_EQ(told[1].toStdString(), told[0].toStdString());
        EXPECT_EQ(printed, 0);
    }
}

// An extra depression typed into the branch table while a fire model holds
// the tables is the network's own value: releasing the model, computing the
// fire again, showing its pages or saving never put the old value back, and
// the file holds what a user who modelled no fire would have saved.
TEST_F(ProgramSession, AnExtraDepressionTypedWhileAFireModelLivesIsNeverPutBack)
{
    Start(Sample());
    const TViewport view = Window->View();
    // "Воздухораспределение..." and its table, closed again.
    const auto air = [&] { EXPECT_TRUE(GiveCommand("TaskAirDistribution")); };
    const struct
    {
        const char *Name;
        std::function<void()> Between;  // with the fire, after the edit
        bool Solve;                     // F2 at the end (releasing the fire)
    } cases[] = {
        {"saved while the model lives", [] {}, false},
        {"F2", [] {}, true},
        {"the fire computed again, then F2",
         [&] {
             ModelFire(35);
             EXPECT_EQ(Net.BranchAuxDepression[7], 50);
         },
         true},
        {"the emergency page shown, the model cancelled", [&] {
             // The fire window again, its emergency page, "Отмена": the model ends.
             WhenModal([] {
                 frmPojar->PageControl1->setCurrentIndex(fpEmergencyAir);
                 EXPECT_EQ(Net.BranchAuxDepression[7], 50);
                 QTest::mouseClick(frmPojar->bbtCancel, Qt::LeftButton);
             });
             Act("TaskFire")->trigger();
             EXPECT_EQ(frmPojar, nullptr);
         },
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        // Without a fire: the normal distribution as the fire model takes it,
        // then the same edit and the same command.
        Window->Document().OpenFile(Sample());
        ASSERT_TRUE(CalcAir(nullptr, Net));
        TypeAuxDepression(7, QStringLiteral("50"));
        ASSERT_EQ(Net.BranchAuxDepression[7], 50);
        if (c.Solve)
            air();
        const QByteArray expected = SavedAs(QStringLiteral("Без пожара.mine"), view);

        Window->Document().OpenFile(Sample());
        ModelFire(35);
        ASSERT_NE(Net.BranchAuxDepression[7], 50);
        TypeAuxDepression(7, QStringLiteral("50"));
        ASSERT_EQ(Net.BranchAuxDepression[7], 50);
        c.Between();
        if (c.Solve) {
            Prompt.Answer(idOk);
            air();
            EXPECT_EQ(frmPojar, nullptr);
        }
        EXPECT_EQ(Net.BranchAuxDepression[7], 50);
        const QByteArray saved = SavedAs(QStringLiteral("После пожара.mine"), view);
        EXPECT_TRUE(saved == expected);
        // The caption says whether the zone is still shown, also after the save.
        EXPECT_EQ(Window->windowTitle().endsWith(QStringLiteral(" Зона загазирования")), frmPojar != nullptr);
        FreeFireWindow();
        EXPECT_EQ(Net.BranchAuxDepression[7], 50);
    }

    // New and Open save the document first when the user says so: the file
    // written then, with the model alive, holds 50.
    for (const char *command : {"FileNew", "FileOpen"}) {
        SCOPED_TRACE(command);
        const QString file = Program.filePath(QStringLiteral("Шахты/%1.mine").arg(QLatin1String(command)));
        ASSERT_TRUE(QFile::copy(Sample(), file));
        Window->Document().OpenFile(file);
        ModelFire(35);
        TypeAuxDepression(7, QStringLiteral("50"));
        Prompt.Answer(idYes);
        // The open dialog, cancelled: the document stays.
        const auto stop = std::make_shared<bool>(false);
        WhenUp([](QWidget &window) { return window.inherits("QFileDialog"); }, [](QWidget &) {}, stop);
        Act(command)->trigger();
        *stop = true;
        Window->Document().OpenFile(file);
        EXPECT_EQ(Net.BranchAuxDepression[7], 50);
    }
}

// A value typed into the branch table that a stability study opens on the
// workings lacking data is still there when the study returns, and saved.
TEST_F(ProgramSession, AValueTypedInTheTableThatAStudyOpensStays)
{
    Start(Sample());
    int descending = 0;
    int ascending = 0;
    const QString file = LackingLengths(descending, ascending);
    ASSERT_GT(descending, 0);
    ASSERT_GT(ascending, 0);
    Window->Document().OpenFile(file);
    const TViewport view = Window->View();
    const struct
    {
        const char *Command;
        int Branch;
    } cases[] = {{"TaskDescendingVentl", descending}, {"TaskAscendVentl", ascending}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Command);
        // The same value typed in "Таблица ветвей..." after the study's solve.
        Window->Document().OpenFile(file);
        ASSERT_TRUE(CalcAir(nullptr, Net));
        TypeAuxDepression(c.Branch, QStringLiteral("50"));
        ASSERT_EQ(Net.BranchAuxDepression[c.Branch], 50);
        const QByteArray expected = SavedAs(QStringLiteral("Таблица.mine"), view);

        Window->Document().OpenFile(file);
        Prompt.Asked.clear();
        bool typed = false;
        // "Перейти к корректировке?" is answered with its first button, Yes.
        GiveCommand(c.Command, [&](QWidget &window) {
            ASSERT_TRUE(window.inherits("TfrmMineTab")) << window.metaObject()->className();
            TypeAndConfirm(c.Branch, bcAuxDepression, QStringLiteral("50"));
            typed = true;
        });
        ASSERT_TRUE(typed);
        EXPECT_TRUE(std::any_of(Prompt.Asked.begin(), Prompt.Asked.end(), [](const auto &asked) {
            return asked.Text.contains(QStringLiteral("Перейти к корректировке?"));
        }));
        EXPECT_EQ(Net.BranchAuxDepression[c.Branch], 50);
        EXPECT_TRUE(SavedAs(QStringLiteral("Исследование.mine"), view) == expected);
    }
}

// The branch table that the route wizard opens for missing data edits the
// tables under a live fire model: a value typed there outlives the model.
TEST_F(ProgramSession, AValueTypedInTheRouteWizardsTableOutlivesTheFireModel)
{
    Start(Sample());
    // No working has its height: the wizard asks to complete the data.
    Window->Document().OpenFile(Sample());
    for (int n = 1; n <= MaxBranchNo(Net); ++n)
        Net.BranchHeight[n] = 0;
    const QString file = Program.filePath(QStringLiteral("Шахты/Без высот.mine"));
    ASSERT_TRUE(Window->Document().SaveAs(file, sfMine));
    Window->Document().OpenFile(file);
    const TViewport view = Window->View();
    ASSERT_TRUE(CalcAir(nullptr, Net));
    TypeAuxDepression(7, QStringLiteral("50"));
    EXPECT_TRUE(GiveCommand("TaskAirDistribution"));
    const QByteArray expected = SavedAs(QStringLiteral("Без пожара.mine"), view);

    Window->Document().OpenFile(file);
    ModelFire(35);
    // The question about the missing data: OK opens the table; asked again
    // after it, Cancel ends the wizard.
    Prompt.Asked.clear();
    Prompt.Answer(idOk);
    Prompt.Answer(idCancel);
    bool typed = false;
    GiveCommand("mnuRazv", [&](QWidget &window) {
        ASSERT_TRUE(window.inherits("TfrmMineTab")) << window.metaObject()->className();
        TypeAndConfirm(7, bcAuxDepression, QStringLiteral("50"));
        typed = true;
    });
    ASSERT_TRUE(typed);
    ASSERT_FALSE(Prompt.Asked.empty());
    EXPECT_TRUE(Prompt.Asked[0].Text.startsWith(QStringLiteral("Для решения задачи недостаточно информации.")));
    ASSERT_NE(frmPojar, nullptr);
    EXPECT_EQ(Net.BranchAuxDepression[7], 50);
    Prompt.Answer(idOk);
    EXPECT_TRUE(GiveCommand("TaskAirDistribution"));
    EXPECT_EQ(frmPojar, nullptr);
    EXPECT_EQ(Net.BranchAuxDepression[7], 50);
    EXPECT_TRUE(SavedAs(QStringLiteral("После пожара.mine"), view) == expected);
}

// Every command that computes from the normal air distribution asks, with a
// fire model alive, to release it first: "Отмена" keeps the model and runs
// nothing; OK releases it, and the command gives exactly the numbers it
// gives when no fire was modelled.
TEST_F(ProgramSession, CommandsOnTheNormalAirDistributionReleaseAFireModelFirst)
{
    // The report folder of the ascending study's chooser exists: no question
    // about it comes between the commands and their windows.
    ASSERT_TRUE(QDir(Program.path()).mkpath(QStringLiteral("Отчеты/") + AscendingTemplateFolder));
    Start(Sample());
    const auto number = [](double v) { return QString::number(v, 'g', 17) + u' '; };
    // The tables a command reads and writes, as numbers.
    const auto tables = [&] {
        QString text;
        for (int n = 1; n <= MaxBranchNo(Net); ++n)
            text += number(Net.BranchQ[n]) + number(Net.BranchAuxDepression[n]) + number(Net.BranchR[n])
                    + number(Net.BranchIsFresh[n]) + u'\n';
        return text;
    };
    const struct
    {
        const char *Command;
        // What the command's first window shows, as numbers; may drive it on.
        std::function<QString(QWidget &)> Numbers;
        // The answers to the command's own questions.
        std::vector<int> Answers = {};
    } cases[] = {
        {"TaskDescendingVentl",
         [&](QWidget &) {
             QString text;
             if (!frmStabil)
                 return QStringLiteral("no table");
             const TDescendingStability &study = frmStabil->Study;
             for (int k = 1; k <= study.Count(); ++k)
                 for (int col = 0; col < StabilityColumns; ++col)
                     text += StabilityCellText(Net, study, k, col) + u';';
             return text;
         }},
        {"TaskAscendVentl",
         [&](QWidget &) {
             QString text;
             if (!frmStbVosph)
                 return QStringLiteral("no table");
             const TAscendingStability &study = frmStbVosph->Study;
             for (int r = 0; r < study.Count(); ++r) {
                 const int b = study.Items[static_cast<std::size_t>(r)];
                 text += QString::number(b) + u':' + number(study.MaxThermalDepression[static_cast<std::size_t>(b)]);
                 for (const int place : study.ReversalPlaces[static_cast<std::size_t>(r)])
                     text += QString::number(place) + u',';
                 text += u'\n';
             }
             return text;
         },
         // The workings lacking data are left out: "Перейти к корректировке?" No.
         {idNo}},
        {"mnuFireDetectionTime",
         [&](QWidget &) {
             QString text;
             if (!frmReports2)
                 return QStringLiteral("no report manager");
             for (const TDetectionRecord &r : frmReports2->Report.Results())
                 text += QStringLiteral("%1 %2 %3 %4 %5\n")
                             .arg(r.FireBranch)
                             .arg(r.FireTime)
                             .arg(r.DetectBranch)
                             .arg(r.DetectUpTime)
                             .arg(r.DetectDownTime);
             return text;
         }},
        {"TaskFreshRecalc",
         [&](QWidget &window) {
             auto *dialog = qobject_cast<TfrmGazSourse *>(&window);
             if (dialog)
                 QTest::mouseClick(dialog->btnOk, Qt::LeftButton);
             return QString::number(dialog != nullptr);
         }},
        {"TaskFixDepr", {}},
        {"TaskNodePress", {}},
        {"TaskDepressiogram", {}},
        {"TaskShorting", {}},
        {"mnuSpeedCheck", {}},
        {"menuQHFixir", {}},
        {"mnuGetHet", {}},
        {"mnuFastRep",
         [&](QWidget &window) {
             auto *reports = qobject_cast<TfrmReports1 *>(&window);
             if (!reports)
                 return QStringLiteral("no report manager");
             // What "Воздухораспределение" prints of the burning working.
             QString text = number(reports->Data.QSupplyShafts) + number(reports->Data.QMainFans);
             reports->Data.Sources.CurrentBranch = 35;
             for (const char *name : {"РасхВозд", "ДопДепр", "Депр"}) {
                 Variant value;
                 EXPECT_TRUE(reports->Data.GetValue(QString::fromUtf8(name), value)) << name;
                 text += value.ToString() + u' ';
             }
             return text;
         }},
    };
    const QString question = QStringLiteral("Для расчета нормального воздухораспределения необходимо")
                             + QStringLiteral(" отменить расчет зоны загазирования. Продолжать?");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Command);
        // Without a fire, from the normal distribution as a fire model takes it.
        Window->Document().OpenFile(Sample());
        ASSERT_TRUE(CalcAir(nullptr, Net));
        for (const int answer : c.Answers)
            Prompt.Answer(answer);
        QString expected;
        const bool opens = GiveCommand(c.Command, [&](QWidget &window) {
            expected = c.Numbers ? c.Numbers(window) : QString();
        });
        expected += tables();

        Window->Document().OpenFile(Sample());
        ModelFire(35);
        const QString emergency = tables();
        const QString caption = Window->windowTitle();
        ASSERT_TRUE(caption.endsWith(QStringLiteral(" Зона загазирования")));
        Prompt.Asked.clear();
        Prompt.Answer(idCancel);
        EXPECT_FALSE(GiveCommand(c.Command));
        ASSERT_EQ(Prompt.Asked.size(), 1u);
        EXPECT_EQ(Prompt.Asked[0].Text, question);
        EXPECT_EQ(Prompt.Asked[0].Flags, mb::OkCancel | mb::IconWarning);
        EXPECT_NE(frmPojar, nullptr);
        EXPECT_EQ(tables(), emergency);
        EXPECT_EQ(Window->windowTitle(), caption);

        Prompt.Asked.clear();
        Prompt.Answer(idOk);
        for (const int answer : c.Answers)
            Prompt.Answer(answer);
        QString shown;
        bool releasedFirst = false;
        EXPECT_EQ(GiveCommand(c.Command,
                              [&](QWidget &window) {
                                  releasedFirst = frmPojar == nullptr && SchemeShowsTables(*Window);
                                  shown = c.Numbers ? c.Numbers(window) : QString();
                              }),
                  opens);
        ASSERT_FALSE(Prompt.Asked.empty());
        EXPECT_EQ(Prompt.Asked[0].Text, question);
        EXPECT_EQ(frmPojar, nullptr);
        EXPECT_EQ(releasedFirst, opens);
        EXPECT_FALSE(Window->windowTitle().endsWith(QStringLiteral(" Зона загазирования")));
        EXPECT_EQ(shown + tables(), expected);
    }
}

namespace {

// F2's question while a fire model lives.
QString FireReleaseQuestion()
{
    return QStringLiteral("Для расчета нормального воздухораспределения необходимо")
           + QStringLiteral(" отменить расчет зоны загазирования. Продолжать?");
}

} // namespace

// The boost search reads the normal air distribution. From the scheme's tool
// and from the dialog of a branch clicked on the scheme it asks F2's question
// first ("Отмена" opens nothing, OK releases the fire model); inside the fire
// window or a table, which the release would pull the tables from under, it
// searches the normal distribution that the fire model keeps and leaves the
// model as it was.
TEST_F(DocumentSession, TheBoostSearchReadsTheNormalAirDistributionWhileAFireModelLives)
{
    Start(Sample());
    const QString question = FireReleaseQuestion();
    const int burning = 35;
    struct TSeen
    {
        QString Shown = QStringLiteral("no window");
        bool ModelAlive = false;
    };
    // The boost window that open() brings up, searched once.
    const auto boost = [&](const std::function<void()> &open) {
        TSeen seen;
        const auto stop = std::make_shared<bool>(false);
        WhenUp([](QWidget &window) { return window.inherits("TfrmQAccelerate"); },
               [&](QWidget &window) {
                   auto &form = static_cast<TfrmQAccelerate &>(window);
                   QTest::mouseClick(form.btnStop, Qt::LeftButton);
                   seen.Shown = form.lblOldQ->text() + u'|' + form.lblBestBrNo1->text() + u' '
                                + form.lblQAccelerated1->text() + u'|' + form.lblBestBrNo2->text() + u' '
                                + form.lblQAccelerated2->text();
                   seen.ModelAlive = frmPojar != nullptr;
               },
               stop);
        open();
        QTest::qWait(20);
        *stop = true;
        return seen;
    };
    const auto clickBurning = [&](const char *tool, std::function<void()> drive = {}) {
        Act(tool)->trigger();
        ClickScheme(OnBranch(burning), std::move(drive));
    };
    const auto boostButton = [](TfrmBranch &dialog) { dialog.btnQAccelerate->click(); };

    Window->Document().OpenFile(Sample());
    ASSERT_TRUE(CalcAir(nullptr, Net));
    const QString expected = boost([&] { clickBurning("tbtnQAccelerate"); }).Shown;
    ASSERT_TRUE(expected.startsWith(QStringLiteral("14,71 м3/с|"))) << expected.toStdString();

    const struct
    {
        const char *Name;
        std::function<void()> Open;
        bool Asks;
    } cases[] = {
        {"the scheme's tool", [&] { clickBurning("tbtnQAccelerate"); }, true},
        {"the dialog of the branch clicked on the scheme",
         [&] { clickBurning("sbtnArrow", Answer<TfrmBranch>(boostButton)); }, true},
        {"the fire branch's dialog in the fire window",
         [&] {
             WhenModal([&] {
                 ASSERT_NE(frmPojar, nullptr);
                 frmPojar->PageControl1->setCurrentIndex(fpFireBranch);
                 WhenModal(Answer<TfrmBranch>(boostButton));
                 QTest::mouseClick(frmPojar->BitBtn3, Qt::LeftButton);
             });
             Act("TaskFire")->trigger();
         },
         false},
        {"the dialog of F3 in the branch table",
         [&] {
             WhenModal([&] {
                 auto *table = Modal<TfrmMineTab>();
                 ASSERT_NE(table, nullptr);
                 F3OnRow(table->SGMineTab, burning, Answer<TfrmBranch>(boostButton));
             });
             Act("mnuMuchBranches")->trigger();
         },
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Window->Document().OpenFile(Sample());
        ModelFire(burning);
        const TTable<double> emergencyQ = Net.BranchQ, emergencyH = Net.BranchAuxDepression;
        Prompt.Asked.clear();
        if (c.Asks) {
            Prompt.Answer(idCancel);
            EXPECT_EQ(boost(c.Open).Shown, QStringLiteral("no window"));
            ASSERT_EQ(Prompt.Asked.size(), 1u);
            EXPECT_EQ(Prompt.Asked[0].Text, question);
            ASSERT_NE(frmPojar, nullptr);
            EXPECT_TRUE(Net.BranchQ == emergencyQ && Net.BranchAuxDepression == emergencyH);

            Prompt.Asked.clear();
            Prompt.Answer(idOk);
            const TSeen seen = boost(c.Open);
            EXPECT_EQ(seen.Shown, expected);
            ASSERT_EQ(Prompt.Asked.size(), 1u);
            EXPECT_EQ(Prompt.Asked[0].Text, question);
            EXPECT_FALSE(seen.ModelAlive);
            EXPECT_FALSE(Window->windowTitle().endsWith(QStringLiteral(" Зона загазирования")));
        } else {
            const TSeen seen = boost(c.Open);
            EXPECT_EQ(seen.Shown, expected);
            EXPECT_TRUE(Prompt.Asked.empty());
            EXPECT_TRUE(seen.ModelAlive);
        }
    }
}

// The fan working point ("Работа на ШВС") fits the fan to the normal air
// distribution and its OK stores the parabola into the branch. From the
// dialog of the fan's branch clicked on the scheme, "Расчет" asks F2's
// question first ("Отмена" opens no editor, OK releases the fire model); from
// the branch table, which the release would upset, the editor works on the
// normal distribution the fire model keeps. Either way the branch gets what it
// gets without a fire.
TEST_F(DocumentSession, TheFanWorkingPointFitsTheNormalAirDistributionWhileAFireModelLives)
{
    const QDir catalogue(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Вентиляторы"));
    for (const QString &file : catalogue.entryList({QStringLiteral("*.Fan")}, QDir::Files))
        ASSERT_TRUE(QFile::copy(catalogue.filePath(file), Program.filePath(QStringLiteral("Вентиляторы/") + file)));
    Start(Sample());
    const int fan = 4;
    ASSERT_TRUE(Window->Storage().Doc.InstalledFans.FindBranch(fan));
    const QString question = FireReleaseQuestion();

    // The user of the editor: "Работа на ШВС", then OK ("Завершить работу
    // Редактора?" Yes); the efficiency each working point asks for is kept.
    // A timer is not called again while its call runs: the efficiency has its own.
    int editors = 0;
    QTimer user, efficiency;
    for (QTimer *timer : {&user, &efficiency})
        timer->setInterval(5);
    QObject::connect(&efficiency, &QTimer::timeout, [] {
        if (auto *asked = qobject_cast<TfrmSplein *>(QApplication::activeModalWidget()))
            asked->btnOk->click();
    });
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto *editor = qobject_cast<TfrmEditFan *>(QApplication::activeModalWidget());
        if (!editor || !editor->isVisible())
            return;
        ++editors;
        QTest::mouseClick(editor->Button2, Qt::LeftButton);
        QTest::mouseClick(editor->BitBtn7, Qt::LeftButton);
    });
    user.start();
    efficiency.start();
    // "Расчет" beside the additional depression in the fan branch's dialog,
    // then the dialog's OK once the editor ran ("Отмена" else); what its
    // fields show of the fan.
    QString shown;
    const auto fanButton = [&](TfrmBranch &dialog) {
        const int before = editors;
        dialog.bbtnAuxDepr->click();
        if (editors == before) {
            dialog.bbtnCancel->click();
            return;
        }
        shown = dialog.edAuxDepr->text() + u'|' + dialog.edRes->text();
        dialog.bbtnOK->click();
    };
    const auto fromScheme = [&] {
        Act("sbtnArrow")->trigger();
        ClickScheme(OnBranch(fan), Answer<TfrmBranch>(fanButton));
    };
    const auto fromTable = [&] {
        WhenModal([&] {
            auto *table = Modal<TfrmMineTab>();
            ASSERT_NE(table, nullptr);
            F3OnRow(table->SGMineTab, fan, Answer<TfrmBranch>(fanButton));
            table->OKBtn->click();
        });
        Act("mnuMuchBranches")->trigger();
    };
    const auto fanValues = [&] {
        return shown + QStringLiteral("|%1|%2").arg(Net.BranchAuxDepression[fan], 0, 'g', 17).arg(Net.BranchR[fan], 0, 'g', 17);
    };

    Window->Document().OpenFile(Sample());
    ASSERT_TRUE(CalcAir(nullptr, Net));
    fromScheme();
    ASSERT_EQ(editors, 1);
    const QString expected = fanValues();
    ASSERT_TRUE(shown.startsWith(QStringLiteral("323,59"))) << shown.toStdString();

    // From the scheme: "Отмена" opens no editor and keeps the model.
    Window->Document().OpenFile(Sample());
    ModelFire(35);
    const TTable<double> emergencyQ = Net.BranchQ;
    Prompt.Asked.clear();
    Prompt.Answer(idCancel);
    shown.clear();
    fromScheme();
    EXPECT_EQ(editors, 1);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, question);
    EXPECT_NE(frmPojar, nullptr);
    EXPECT_TRUE(Net.BranchQ == emergencyQ);

    // OK releases the model before the editor opens.
    Prompt.Asked.clear();
    fromScheme();
    EXPECT_EQ(editors, 2);
    ASSERT_FALSE(Prompt.Asked.empty());
    EXPECT_EQ(Prompt.Asked[0].Text, question);
    EXPECT_EQ(frmPojar, nullptr);
    EXPECT_EQ(fanValues(), expected);

    // From the table nothing is asked; the model lives on with the fan's new
    // depression as the network's own, and F2 shows it.
    Window->Document().OpenFile(Sample());
    ModelFire(35);
    Prompt.Asked.clear();
    fromTable();
    EXPECT_EQ(editors, 3);
    for (const auto &asked : Prompt.Asked)
        EXPECT_NE(asked.Text, question);
    ASSERT_NE(frmPojar, nullptr);
    Prompt.Answer(idOk);
    GiveCommand("TaskAirDistribution");
    EXPECT_EQ(frmPojar, nullptr);
    EXPECT_EQ(fanValues(), expected);
}

// "Сохранить как" → "Файл VENT" while a fire model lives writes the normal
// air distribution, as the scheme file does, and leaves the fire's flows in
// the tables.
TEST_F(DocumentSession, AVentFileWrittenDuringAFireHoldsTheNormalAirDistribution)
{
    Start(Sample());
    const auto saveVent = [&](const QString &name) {
        const QString file = Mine(name + QStringLiteral(".sp"));
        QFile::remove(file);
        ChooseInFileDialog(SaveDialogFilters().value(1).Text, file);
        Act("FileSaveAs")->trigger();
        return std::pair(ReadAll(file), ReadAll(Mine(name + QStringLiteral(".bn"))));
    };
    Window->Document().OpenFile(Sample());
    ASSERT_TRUE(CalcAir(nullptr, Net));
    const auto expected = saveVent(QStringLiteral("Без пожара"));
    ASSERT_FALSE(expected.first.isEmpty());
    ASSERT_FALSE(expected.second.isEmpty());

    Window->Document().OpenFile(Sample());
    ModelFire(35);
    const TTable<double> emergencyQ = Net.BranchQ, emergencyH = Net.BranchAuxDepression;
    EXPECT_TRUE(saveVent(QStringLiteral("Пожар")) == expected);
    EXPECT_NE(frmPojar, nullptr);
    EXPECT_TRUE(Net.BranchQ == emergencyQ && Net.BranchAuxDepression == emergencyH);
}

// The toolbar's fire tool shows the zone as "На схему" of F3 does, and the
// caption says so.
TEST_F(DocumentSession, TheFireToolNamesTheZoneInTheCaption)
{
    Start(Sample());
    const QString plain = Window->windowTitle();
    Act("tbtnFireModelling")->trigger();
    ClickScheme(OnBranch(35));
    ASSERT_NE(frmPojar, nullptr);
    EXPECT_EQ(frmPojar->FireBranch(), 35);
    EXPECT_EQ(Window->windowTitle(), plain + QStringLiteral(" Зона загазирования"));
}

// A branch made in the session is held to its kind's limits by the speed
// check at once, as after a save and a reopen, whether it is a new row of the
// branch table, a drawn branch confirmed unchanged or one a plug-in makes.
// The file keeps what it kept: "the kind's limits, taken at the next load"
// for a branch whose limits nobody chose.
TEST_F(DocumentSession, ABranchMadeInTheSessionIsCheckedAgainstItsKindsLimits)
{
    Put(TEST_PLUGIN_BRANCH_MAKING, QStringLiteral("Plugins/branch.so"));
    Start(Sample());
    ASSERT_FALSE(BranchPresent(Net, 69));
    // What the speed window shows of branch n, and whether its filter
    // "Больше макс. скорости" lists it.
    const auto speedCheck = [&](int n) {
        QString shown = QStringLiteral("no window");
        GiveCommand("mnuSpeedCheck", [&](QWidget &window) {
            auto *form = qobject_cast<TfrmCntrAirSpeed *>(&window);
            ASSERT_NE(form, nullptr);
            shown.clear();
            const auto rowTexts = [form, n] {
                for (int r = 0; r < form->sgAirSpeed->rowCount(); ++r) {
                    const QTableWidgetItem *first = form->sgAirSpeed->item(r, 0);
                    if (!first || !first->text().startsWith(QString::number(n) + u'.'))
                        continue;
                    // The number, not the name: an unnamed branch shows a placeholder until it is saved.
                    QStringList cells{QString::number(n)};
                    for (int c = 1; c < form->sgAirSpeed->columnCount(); ++c)
                        cells << (form->sgAirSpeed->item(r, c) ? form->sgAirSpeed->item(r, c)->text() : QString());
                    return cells.join(u'|');
                }
                return QStringLiteral("no row");
            };
            shown = rowTexts();
            form->cmbDiap->setCurrentIndex(sfAboveMax);
            emit form->cmbDiap->activated(sfAboveMax);
            shown += QStringLiteral(" / above the maximum: ") + rowTexts();
        });
        return shown;
    };
    const auto typeCell = [&](int n, int column, const QString &text) {
        WhenModal([=] { TypeAndConfirm(n, column, text); });
        Act("mnuMuchBranches")->trigger();
    };
    const auto resistanceAndArea = [&](int n) {
        typeCell(n, bcR, QStringLiteral("0,004"));
        typeCell(n, bcArea, QStringLiteral("1"));
    };
    const auto onNode = [&](int node) {
        const TViewport &view = Window->Document().View;
        return QPoint(view.ScreenX(Net.NodeX[node]), view.ScreenY(Net.NodeY[node]));
    };
    const struct
    {
        const char *Name;
        // Makes the branch from node 8 to node 9; its number.
        std::function<int()> Make;
        // Nothing chose its limits (the dialog's OK stores those it shows).
        bool LimitsUnchosen;
    } cases[] = {
        {"a new row of the branch table",
         [&] {
             AddBranchInTable(69, 8, 9);
             resistanceAndArea(69);
             return 69;
         },
         true},
        {"a drawn branch confirmed unchanged",
         [&] {
             const int n = GetNewBranchNo(Net, Window->Options().NewObjectsIsFirstFree);
             Act("sbtnBranch")->trigger();
             ClickScheme(onNode(8));
             ClickScheme(onNode(9), [] { Modal<TfrmBranch>()->bbtnOK->click(); });
             resistanceAndArea(n);
             return n;
         },
         false},
        {"a branch a plug-in makes",
         [&] {
             QAction *item = Window->PluginsMenu()->actions().value(0);
             EXPECT_NE(item, nullptr);
             if (item)
                 item->trigger();
             return 69;
         },
         true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Window->Document().OpenFile(Sample());
        const int n = c.Make();
        ASSERT_TRUE(BranchExist(Net, n));
        const QString made = speedCheck(n);
        EXPECT_TRUE(made.contains(QStringLiteral("|0,15|6,00 / above the maximum: "))) << made.toStdString();
        EXPECT_FALSE(made.endsWith(QStringLiteral("no row"))) << made.toStdString();

        const QString file = Mine(QStringLiteral("Новая ветвь.mine"));
        ASSERT_TRUE(Window->Document().SaveAs(file, sfMine));
        if (c.LimitsUnchosen) {
            const auto stored = std::make_unique<TNetworkTables>();
            TSchemeDocument doc;
            ReadMineFile(file, *stored, doc);
            EXPECT_EQ(stored->BranchMinSpeed[n], SpeedTypeDefault);
            EXPECT_EQ(stored->BranchMaxSpeed[n], SpeedTypeDefault);
        }
        Window->Document().OpenFile(file);
        EXPECT_EQ(speedCheck(n), made);
    }
}

// Whoever opens the branch table, the scheme shows the tables once it is
// closed: F3 on a row deletes the branch, "Отмена" brings it back, and the
// scheme shows it again before anything else redraws.
TEST_F(ProgramSession, TheSchemeIsRedrawnWhenATableClosesWhoeverOpenedIt)
{
    Start(Sample());
    int descending = 0;
    int ascending = 0;
    const QString lacking = LackingLengths(descending, ascending);
    Window->Document().OpenFile(Sample());
    Net.BranchR[9] = 0;
    Net.BranchR[10] = 0;
    const QString zeroR = Program.filePath(QStringLiteral("Шахты/Нулевые R.mine"));
    ASSERT_TRUE(Window->Document().SaveAs(zeroR, sfMine));
    const struct
    {
        const char *Name;
        QString File;
        const char *Command;
        int Branch;  // the row deleted with F3
    } cases[] = {
        {"the solver's failure", zeroR, "TaskAirDistribution", 9},
        {"descending stability", lacking, "TaskDescendingVentl", descending},
        {"ascending stability", lacking, "TaskAscendVentl", ascending},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        Window->Document().OpenFile(c.File);
        ASSERT_TRUE(BranchExist(Net, c.Branch));
        Prompt.Asked.clear();
        bool deleted = false;
        std::optional<bool> shown;
        const auto stop = std::make_shared<bool>(false);
        WhenUp([](QWidget &window) { return window.inherits("TfrmMineTab"); },
               [&](QWidget &window) {
                   auto *table = static_cast<TfrmMineTab *>(&window);
                   F3OnRow(table->SGMineTab, c.Branch,
                           Answer<TfrmBranch>([](TfrmBranch &dialog) { dialog.bbtnDelete->click(); }));
                   deleted = !BranchExist(Net, c.Branch);
                   QTest::mouseClick(table->CancelBtn, Qt::LeftButton);
                   // Looked at once the table is gone, before the command goes on.
                   QTimer::singleShot(50, [&] { shown = BranchExist(Net, c.Branch) && SchemeShowsTables(*Window); });
               },
               stop);
        // A study's own window, when the table left it something to show.
        WhenUp(
            [](QWidget &window) {
                return !window.inherits("TfrmMineTab") && !window.inherits("TfrmBranch") && !window.inherits("TfrmPrgB");
            },
               [](QWidget &) {}, stop);
        Act(c.Command)->trigger();
        for (int i = 0; i < 40 && !shown; ++i)
            QTest::qWait(10);
        *stop = true;
        EXPECT_TRUE(deleted);
        ASSERT_TRUE(shown.has_value());
        EXPECT_TRUE(*shown);
    }
}
