// The air distribution commands from the main window, on the sample mine.
#include "calc/reversal.h"
#include "calc/solver.h"
#include "calc/ui/air_commands.h"
#include "calc/ui/frm_air_tabl_n.h"
#include "calc/ui/frm_cntr_air_speed.h"
#include "calc/ui/frm_het.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "scheme/ui/cell_grid.h"
#include "scheme/ui/frm_mine_tab.h"
#include "scheme/ui/frm_new_node.h"
#include "scheme/ui/frm_nod_tab.h"
#include "scheme/ui/tabbed_notebook_dlg.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/table_commands.h"
#include "cut_texts.h"
#include "modal.h"
#include "prepared_texts.h"

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

const QString SampleMine = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine");

class AirCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TUNVEX_CONFIG_DIR", config.path().toUtf8());
        ClearAllItems(Net);
        w = std::make_unique<TfrmMain>(QStringList{SampleMine}, folder.path());
        InstallAirDistributionCommands(*w);
        w->FormActivate();
        ASSERT_GT(BranchCount(Net), 10);
    }
    void TearDown() override
    {
        w.reset();
        FireModelHooks = {};
        CalcErrorHooks = {};
        ShowNodeOnScheme = nullptr;
        ClearAllItems(Net);
    }
    // Triggers the command; check runs inside the window it opens, which is
    // then closed with OK (or Cancel when ok is false).
    template <typename Form>
    bool RunWith(const char *action, Form *&form, const std::function<void(Form &)> &check, bool ok = true,
                 const std::function<void(TfrmMain &)> &command = {})
    {
        bool opened = false;
        // Dies with this call, so that it never fires into a later test.
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (form) {
                opened = true;
                check(*form);
                form->done(ok ? QDialog::Accepted : QDialog::Rejected);
            }
            // Some other dialog came up instead: it must not keep the test waiting.
            CloseOpenModals();
        });
        timer.start(0);
        if (QAction *a = w->Action(QString::fromLatin1(action)); a->isVisible())
            a->trigger();
        else
            command(*w);  // a hidden menu item: its handler as the program calls it
        return opened;
    }
    static QString Cell(QTableWidget *grid, int row, int column)
    {
        const QTableWidgetItem *item = grid->item(row, column);
        return item ? item->text() : QString();
    }
    int FirstOfType(int type) const
    {
        for (int b = 1; b <= MaxBranchNo(Net); ++b)
            if (BranchExist(Net, b) && Net.BranchType[b] == type)
                return b;
        return 0;
    }

    // A new node beside an underground one, and a branch between two nodes.
    int AddNode()
    {
        int near = 1;
        while (!NodeExist(Net, near) || Net.NodeIsSurface[near])
            ++near;
        const int node = GetNewNodeNo(Net, false);
        CreateNode(Net, node);
        Net.NodeX[node] = static_cast<std::int16_t>(Net.NodeX[near] + 10 * node % 200);
        Net.NodeY[node] = static_cast<std::int16_t>(Net.NodeY[near] + 40);
        return node;
    }
    int AddBranch(int from, int to)
    {
        const int branch = GetNewBranchNo(Net, false);
        CreateBranch(Net, branch);
        Net.BranchStartNode[branch] = static_cast<std::int16_t>(from);
        Net.BranchEndNode[branch] = static_cast<std::int16_t>(to);
        Net.BranchR[branch] = 0.1;
        InsertBranchEdgeTurns(Net, branch);
        return branch;
    }
    // A fault of each of the first four pages of the topology report: a
    // dead end, a node that air only enters, one it only leaves, and a node
    // of five branches.
    void AddTopologyFaults()
    {
        const int a = AddNode(), b = AddNode(), c = AddNode(), d = AddNode();
        AddBranch(a, b);
        AddBranch(c, b);
        AddBranch(c, a);
        for (int k = 0; k < 5; ++k)
            AddBranch(k % 2 ? a : d, k % 2 ? d : a);
        AddBranch(a, AddNode());
    }

    QStringList AskedTexts() const
    {
        QStringList texts;
        for (const auto &a : prompt.Asked)
            texts << a.Text;
        return texts;
    }

    QTemporaryDir config, folder;
    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> w;
};

const QChar CR = u'\r';

} // namespace

TEST_F(AirCommands, F2SolvesAndListsTheCategories)
{
    Net.BranchQ.fill(0);
    const int longwalls = [] {
        int n = 0;
        for (int b = 1; b <= MaxItems; ++b)
            n += BranchExist(Net, b) && Net.BranchType[b] == 7;
        return n;
    }();
    ASSERT_GT(longwalls, 0);
    const int some = FirstOfType(7);

    const bool opened = RunWith<TfrmAirTablN>("TaskAirDistribution", frmAirTablN, [&](TfrmAirTablN &f) {
        EXPECT_EQ(f.windowTitle(), " НОРМАЛЬНОЕ ВОЗДУХОРАСПРЕДЕЛЕНИЕ ");
        EXPECT_TRUE(f.cbxDiap->isVisible());
        EXPECT_TRUE(f.cbxDiap->isEnabled());
        EXPECT_EQ(f.cbxDiap->count(), 13);
        EXPECT_TRUE(f.btnCancel->isVisible());
        EXPECT_TRUE(f.SpeedButton1->isEnabled());
        EXPECT_EQ(f.sgAirDebt->rowCount(), BranchCount(Net));
        EXPECT_EQ(f.sgAirDebt->horizontalHeaderItem(3)->text(), "Расход, м3/сек");

        // Longwalls, with their totals in a row of their own.
        f.cbxDiap->setCurrentIndex(acLongwalls);
        emit f.cbxDiap->activated(acLongwalls);
        EXPECT_EQ(f.windowTitle(), " НОРМАЛЬНОЕ ВОЗДУХОРАСПРЕДЕЛЕНИЕ : Лавы");
        EXPECT_EQ(f.sgAirDebt->rowCount(), longwalls + 1);
        EXPECT_EQ(Cell(f.sgAirDebt, longwalls, 0), "Итого:");

        // "Все объекты" changes nothing.
        f.cbxDiap->setCurrentIndex(acAllObjects);
        emit f.cbxDiap->activated(acAllObjects);
        EXPECT_EQ(f.sgAirDebt->rowCount(), longwalls + 1);

        // Typed lists.
        f.cbxDiap->lineEdit()->clear();
        QTest::keyClicks(f.cbxDiap->lineEdit(), QStringLiteral("%1, %1").arg(some));
        EXPECT_EQ(f.windowTitle(), " НОРМАЛЬНОЕ ВОЗДУХОРАСПРЕДЕЛЕНИЕ ");
        EXPECT_EQ(f.sgAirDebt->rowCount(), 2);
        EXPECT_TRUE(Cell(f.sgAirDebt, 0, 0).startsWith(QString::number(some) + ". "));
        EXPECT_EQ(Cell(f.sgAirDebt, 1, 0), Cell(f.sgAirDebt, 0, 0));
        f.cbxDiap->lineEdit()->clear();
        QTest::keyClicks(f.cbxDiap->lineEdit(), QStringLiteral("5-3"));
        EXPECT_EQ(f.sgAirDebt->rowCount(), 2);
        EXPECT_EQ(Cell(f.sgAirDebt, 0, 0), "");
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_EQ(frmAirTablN, nullptr);
    EXPECT_NE(Net.BranchQ[some], 0);
}

TEST_F(AirCommands, UnsolvableNetworkShowsTheCodeAndNothingElse)
{
    for (int b = 1; b <= MaxItems; ++b)
        Net.BranchAuxDepression[b] = 0;
    EXPECT_FALSE(RunWith<TfrmAirTablN>("TaskAirDistribution", frmAirTablN, [](TfrmAirTablN &) {}));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Caption, "ОШИБКА");
    EXPECT_EQ(prompt.Asked[0].Text, "Расчет невозможен. В сети отсутствует источник тяги.");

    EXPECT_FALSE(RunWith<TfrmCntrAirSpeed>("mnuSpeedCheck", frmCntrAirSpeed, [](TfrmCntrAirSpeed &) {}));
    EXPECT_EQ(prompt.Asked.size(), 2u);
}

// F2 on a network with a dead end opens the topology report and no box;
// the menu opens the report and both tables on the sample mine.
TEST_F(AirCommands, TopologyFaultsAndTheTablesOpenTheirWindows)
{
    InstallTableCommands(*w);
    int from = 1;
    while (!NodeExist(Net, from) || Net.NodeIsSurface[from])
        ++from;
    const int node = GetNewNodeNo(Net, false);
    CreateNode(Net, node);
    Net.NodeX[node] = static_cast<std::int16_t>(Net.NodeX[from] + 50);
    Net.NodeY[node] = Net.NodeY[from];
    AddBranch(from, node);

    QStringList titles;
    int deadEnd = 0;
    const auto record = [&] {
        QTimer::singleShot(0, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            titles << modal->windowTitle();
            if (auto *report = qobject_cast<TTabbedNotebookDlg *>(modal); report && !report->Report().Rows.empty())
                deadEnd = report->Report().Rows[0][0].toInt();
            CloseOpenModals();
        });
    };
    for (const char *action : {"TaskAirDistribution", "mnuMuchBranches", "mnuEditNodes", "mnuNoNodes"}) {
        record();
        ASSERT_TRUE(w->Action(QString::fromLatin1(action))->isEnabled()) << action;
        w->Action(QString::fromLatin1(action))->trigger();
    }
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_EQ(deadEnd, node);
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Вероятные ошибки топологии"),
                                   QStringLiteral("Корректировка информации о ветвях"),
                                   QStringLiteral("Корректировка информации об  узлах"),
                                   QStringLiteral("Вероятные ошибки топологии")}));
}

// Going from page to page hides and shows tabs; at the report's own size
// every tab with findings stays in sight, and no text of a page is cut.
TEST_F(AirCommands, TopologyReportKeepsEveryPageInReach)
{
    InstallTableCommands(*w);
    AddTopologyFaults();
    bool opened = false;
    WhenModal([&] {
        auto *report = qobject_cast<TTabbedNotebookDlg *>(QApplication::activeModalWidget());
        ASSERT_NE(report, nullptr);
        opened = true;
        QTabBar *tabs = report->PageControl1->tabBar();
        for (const int page : {tpOnlyEntering, tpManyBranches, tpDeadEnds, tpOnlyLeaving, tpManyBranches}) {
            for (const int p : {tpDeadEnds, tpOnlyEntering, tpOnlyLeaving, tpManyBranches}) {
                ASSERT_TRUE(tabs->isTabVisible(p)) << p;
                EXPECT_TRUE(tabs->rect().contains(tabs->tabRect(p))) << "tab " << p << " after page " << page;
            }
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
            ASSERT_EQ(report->PageControl1->currentIndex(), page);
            const QTableWidgetItem *first = report->Grids[static_cast<std::size_t>(page)]->item(0, 0);
            EXPECT_TRUE(first && !first->text().isEmpty()) << page;
            EXPECT_EQ(CutTexts(*report->Grids[static_cast<std::size_t>(page)]), "") << page;
        }
    });
    w->Action("mnuNoNodes")->trigger();
    EXPECT_TRUE(opened);
}

// A long branch name and the node and branch tables' own headers and notes
// are shown whole in the tables, in the node dialog's branch lists and in
// the speed table.
TEST_F(AirCommands, TablesShowTheirTextsWhole)
{
    InstallTableCommands(*w);
    int node = 1;
    while (!NodeExist(Net, node))
        ++node;
    Net.NodeLiftToSurface[node] = 1;
    int named = 0;
    for (int b = 1; b <= MaxItems && !named; ++b)
        if (BranchExist(Net, b) && (Net.BranchStartNode[b] == node || Net.BranchEndNode[b] == node))
            named = b;
    ASSERT_NE(named, 0);
    SetBranchName(Net, named, QStringLiteral("Вентиляционный квершлаг горизонта -450 м у ствола"));

    bool nodeDialog = false;
    WhenModal([&] {
        auto *table = qobject_cast<TfrmNodTab *>(QApplication::activeModalWidget());
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(CutTexts(*table->SGNodTab), "");
        // F3 on the first row: the dialog of its node.
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<TfrmNewNode *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            nodeDialog = true;
            EXPECT_EQ(CutTexts(*dialog->lvInBranches), "");
            EXPECT_EQ(CutTexts(*dialog->lvOutBranches), "");
            EXPECT_GT(dialog->lvInBranches->topLevelItemCount() + dialog->lvOutBranches->topLevelItemCount(), 0);
            dialog->reject();
        });
        QTest::keyClick(table->SGNodTab, Qt::Key_F3);
    });
    w->Action("mnuEditNodes")->trigger();
    EXPECT_TRUE(nodeDialog);

    bool branchTable = false;
    WhenModal([&] {
        auto *table = qobject_cast<TfrmMineTab *>(QApplication::activeModalWidget());
        ASSERT_NE(table, nullptr);
        branchTable = true;
        EXPECT_EQ(CutTexts(*table->SGMineTab), "");
    });
    w->Action("mnuMuchBranches")->trigger();
    EXPECT_TRUE(branchTable);

    EXPECT_TRUE(RunWith<TfrmCntrAirSpeed>("mnuSpeedCheck", frmCntrAirSpeed, [](TfrmCntrAirSpeed &f) {
        EXPECT_EQ(CutTexts(*f.sgAirSpeed), "");
    }));
    EXPECT_TRUE(prompt.Asked.empty());
}

TEST_F(AirCommands, UnsettledResultWarnsOnceAndStillShowsTheTable)
{
    // Two fans without resistance drive air round a loop of their own between
    // the ends of an underground branch: no flow settles that loop.
    int from = 0, to = 0;
    for (int b = 1; b <= MaxBranchNo(Net) && !from; ++b)
        if (BranchExist(Net, b) && !Net.NodeIsSurface[Net.BranchStartNode[b]]
            && !Net.NodeIsSurface[Net.BranchEndNode[b]]) {
            from = Net.BranchStartNode[b];
            to = Net.BranchEndNode[b];
        }
    ASSERT_NE(from, 0);
    for (const auto &[start, end] : {std::pair{from, to}, std::pair{to, from}}) {
        const int b = MaxBranchNo(Net) + 1;
        CreateBranch(Net, b);
        Net.BranchStartNode[b] = static_cast<std::int16_t>(start);
        Net.BranchEndNode[b] = static_cast<std::int16_t>(end);
        Net.BranchR[b] = 0;
        Net.BranchAuxDepression[b] = 60;
    }

    EXPECT_TRUE(RunWith<TfrmAirTablN>("TaskAirDistribution", frmAirTablN, [](TfrmAirTablN &) {}));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Caption, "Предупреждение");
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith("Расчет не сошелся"));
}

TEST_F(AirCommands, KeysOnAnEmptySchemeGiveTheSolversReason)
{
    // The Tasks menu and the popup's item are disabled; the keys still run
    // their commands, and both solvers say why they cannot.
    w->Action("FileNew")->trigger();
    ASSERT_EQ(BranchCount(Net), 0);
    EXPECT_FALSE(w->findChild<QAction *>("pTaskAirDistribution")->isEnabled());
    w->show();
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    QTest::keyClick(w.get(), Qt::Key_F2);
    QTest::keyClick(w.get(), Qt::Key_F2, Qt::ShiftModifier);
    ASSERT_EQ(prompt.Asked.size(), 2u);
    EXPECT_EQ(prompt.Asked[0].Text, "Расчет невозможен. Число ветвей в шахте 0.");
    EXPECT_TRUE(prompt.Asked[1].Text.startsWith("Расчет невозможен."));
    EXPECT_EQ(frmAirTablN, nullptr);
}

TEST_F(AirCommands, OpenFireModelIsAskedAbout)
{
    bool freed = false;
    FireModelHooks.Exists = [&] { return !freed; };
    FireModelHooks.Free = [&] { freed = true; };
    w->setWindowTitle(w->FormatCaption() + QStringLiteral(" Зона загазирования"));
    Net.BranchQ.fill(0);

    prompt.Answer(idCancel);
    EXPECT_FALSE(RunWith<TfrmAirTablN>("TaskAirDistribution", frmAirTablN, [](TfrmAirTablN &) {}));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, "Для расчета нормального воздухораспределения необходимо отменить расчет "
                                    "зоны загазирования. Продолжать?");
    EXPECT_FALSE(freed);
    EXPECT_TRUE(w->windowTitle().endsWith(" Зона загазирования"));
    EXPECT_EQ(Net.BranchQ[FirstOfType(7)], 0);

    prompt.Answer(idOk);
    EXPECT_TRUE(RunWith<TfrmAirTablN>("TaskAirDistribution", frmAirTablN, [](TfrmAirTablN &) {}));
    EXPECT_TRUE(freed);
    EXPECT_EQ(w->windowTitle(), w->FormatCaption());
    EXPECT_NE(Net.BranchQ[FirstOfType(7)], 0);
}

TEST_F(AirCommands, FixedDepressionShowsTheGivenDepressionsAndModifies)
{
    const int regulated = FirstOfType(7);
    Net.BranchFixedDepression[regulated] = 5;
    const bool opened = RunWith<TfrmAirTablN>("TaskFixDepr", frmAirTablN, [&](TfrmAirTablN &f) {
        EXPECT_TRUE(f.windowTitle().endsWith("(Фикс. депрессия)"));
        for (int row = 0; row < f.sgAirDebt->rowCount(); ++row)
            if (f.Table.SelectedBranches[row] == regulated) {
                EXPECT_EQ(Cell(f.sgAirDebt, row, 6), " - ");
                EXPECT_EQ(Cell(f.sgAirDebt, row, 7), "5,00");
            }
    });
    ASSERT_TRUE(opened) << (prompt.Asked.empty() ? "" : prompt.Asked[0].Text.toStdString());
    EXPECT_TRUE(w->Document().Modified());
    // The resistance found gives the fixed depression at the computed flow.
    EXPECT_NEAR(Net.BranchR[regulated] * Net.BranchQ[regulated] * Net.BranchQ[regulated], 5, 0.05);
}

TEST_F(AirCommands, ReversalTurnsBackAReversedBranchOnOk)
{
    ASSERT_TRUE(CalcAir(nullptr));
    int b = 0;
    for (int i = 1; i <= MaxBranchNo(Net) && !b; ++i)
        if (BranchExist(Net, i) && Net.BranchQ[i] > 1 && Net.BranchAuxDepression[i] == 0 && Net.BranchTurns[i]
            && Net.BranchTurns[i]->size() > 2)
            b = i;
    ASSERT_NE(b, 0);
    // Drawn the wrong way round, with its bend points following.
    std::swap(Net.BranchStartNode[b], Net.BranchEndNode[b]);
    std::reverse(Net.BranchTurns[b]->begin(), Net.BranchTurns[b]->end());
    const std::int16_t start = Net.BranchStartNode[b];
    const std::int32_t firstX = Net.BranchTurns[b]->front().X;

    EXPECT_TRUE(RunWith<TfrmAirTablN>("mnuReTurn", frmAirTablN, [](TfrmAirTablN &f) {
        EXPECT_TRUE(f.btnCancel->isVisible());
    }, false, mnuReTurnClick));
    EXPECT_EQ(Net.BranchStartNode[b], start);
    EXPECT_FALSE(w->Document().Modified());

    EXPECT_TRUE(RunWith<TfrmAirTablN>("mnuReTurn", frmAirTablN, [](TfrmAirTablN &) {}, true, mnuReTurnClick));
    EXPECT_EQ(Net.BranchEndNode[b], start);
    EXPECT_GT(Net.BranchQ[b], 0);
    EXPECT_EQ(Net.BranchTurns[b]->back().X, firstX);
    EXPECT_TRUE(w->Document().Modified());
}

TEST_F(AirCommands, SpeedWindowColoursAndFilters)
{
    // One longwall far too slow, one working far too fast.
    const int slow = FirstOfType(7);
    const int fast = FirstOfType(0);
    Net.BranchArea[slow] = 1e6;
    Net.BranchArea[fast] = 1e-4;
    const bool opened = RunWith<TfrmCntrAirSpeed>("mnuSpeedCheck", frmCntrAirSpeed, [&](TfrmCntrAirSpeed &f) {
        EXPECT_EQ(f.cmbDiap->currentText(), "1-" + QString::number(MaxBranchNo(Net)));
        EXPECT_TRUE(f.btPrn->isEnabled());
        QTableWidget *grid = f.sgAirSpeed;
        ASSERT_GT(grid->rowCount(), 0);
        int red = 0, yellow = 0;
        for (int row = 0; row < grid->rowCount(); ++row) {
            const int b = f.Table.SpeedRows[row];
            const QColor fill = grid->item(row, 3)->background().color();
            const TSpeedState state = f.Table.State(b);
            if (state == ssBelowMin)
                EXPECT_EQ(fill, QColor(Qt::red)) << b;
            else if (state == ssAboveMax)
                EXPECT_EQ(fill, QColor(Qt::yellow)) << b;
            else
                EXPECT_EQ(grid->item(row, 3)->background().style(), Qt::NoBrush) << b;
            red += b == slow && state == ssBelowMin;
            yellow += b == fast && state == ssAboveMax;
        }
        EXPECT_EQ(red, 1);
        EXPECT_EQ(yellow, 1);

        f.cmbDiap->setCurrentIndex(sfBelowMin);
        emit f.cmbDiap->activated(sfBelowMin);
        ASSERT_GT(grid->rowCount(), 0);
        for (int row = 0; row < grid->rowCount(); ++row)
            EXPECT_EQ(f.Table.State(f.Table.SpeedRows[row]), ssBelowMin);
        f.cmbDiap->lineEdit()->clear();
        QTest::keyClicks(f.cmbDiap->lineEdit(), QString::number(fast));
        ASSERT_EQ(grid->rowCount(), 1);
        EXPECT_EQ(grid->item(0, 0)->background().color(), QColor(Qt::yellow));
    });
    EXPECT_TRUE(opened);
}

TEST_F(AirCommands, LoadGivesBranchesWithoutLimitsTheirKindsDefaults)
{
    const int longwall = FirstOfType(7);
    Net.BranchMinSpeed[longwall] = -1;
    Net.BranchMaxSpeed[longwall] = -1;
    Net.BranchMaxSpeed[1] = 2.5;
    Net.BranchMinSpeed[1] = -1;
    w->Document().AfterLoad(SampleMine);
    EXPECT_EQ(Net.BranchMinSpeed[longwall], 0.25);
    EXPECT_EQ(Net.BranchMaxSpeed[longwall], 4);
    EXPECT_EQ(Net.BranchMaxSpeed[1], 2.5);
    EXPECT_EQ(Net.BranchMinSpeed[1], DefaultMinSpeed(Net.BranchType[1]));
}

TEST_F(AirCommands, NaturalDraughtOpensOnTheSampleAndCalculates)
{
    ASSERT_TRUE(w->Action(QStringLiteral("mnuGetHet"))->isEnabled());
    const bool opened = RunWith<TfrmHet>("mnuGetHet", frmHet, [&](TfrmHet &f) {
        EXPECT_TRUE(prompt.Asked.empty()) << AskedTexts().join(u'|').toStdString();
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Расчёт воздухораспределения с учётом естественной тяги"));
        EXPECT_FALSE(f.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_GE(f.width(), 550);
        EXPECT_LE(f.width(), 600);
        EXPECT_GE(f.height(), 320);
        EXPECT_LE(f.height(), 350);
        EXPECT_TRUE(f.ChkStartTemp->isChecked());
        EXPECT_TRUE(f.BtbPrint->isEnabled());
        EXPECT_EQ(f.EdTsurf->text(), QStringLiteral("19,0"));
        EXPECT_TRUE(f.lblSurfLegend->isVisibleTo(&f));
        EXPECT_FALSE(f.lblTurnLegend->isVisibleTo(&f));

        // The four surface nodes.
        const int surfaceItem = f.CmbNode->findText(QStringLiteral("Поверхности"));
        ASSERT_GT(surfaceItem, 0);
        emit f.CmbNode->activated(surfaceItem);
        EXPECT_EQ(f.TablN->rowCount(), 4);
        for (int row = 0; row < f.TablN->rowCount(); ++row)
            EXPECT_EQ(Cell(f.TablN, row, hnStatus), QStringLiteral("  Поверхность"));

        EXPECT_EQ(Cell(f.TablT, 0, hbQe), QString());
        EXPECT_EQ(Cell(f.TablT, 0, hbStartTemp), QStringLiteral("отсутств"));
        prompt.Asked.clear();
        QTest::mouseClick(f.BtbStart, Qt::LeftButton);
        EXPECT_TRUE(f.Calc().Tables().Results);
        ASSERT_GT(f.TablT->rowCount(), 10);
        EXPECT_FALSE(Cell(f.TablT, 0, hbQe).trimmed().isEmpty());
        EXPECT_NE(Cell(f.TablT, 0, hbStartTemp), QStringLiteral("отсутств"));
        bool differs = false;
        for (int row = 0; row < f.TablT->rowCount(); ++row)
            differs |= Cell(f.TablT, row, hbQe) != Cell(f.TablT, row, hbQn);
        EXPECT_TRUE(differs);

        // A surface temperature out of range is refused.
        prompt.Asked.clear();
        f.EdTsurf->setText(QStringLiteral("46"));
        f.EdTsurfExit();
        EXPECT_EQ(AskedTexts(), QStringList{QStringLiteral("Число вне допустимого диапазона: ") + CR
                                       + QStringLiteral("-30.0 ...  45.0 !")});
        EXPECT_EQ(f.EdTsurf->text(), QStringLiteral("19,0"));
        f.EdTsurf->setText(QStringLiteral("25,5"));
        f.EdTsurfExit();
        EXPECT_EQ(f.Calc().Tables().Tsurf, 25.5);

        // Escape does not close the window; "Закрыть" without edits asks nothing.
        prompt.Asked.clear();
        QTest::keyClick(&f, Qt::Key_Escape);
        EXPECT_TRUE(f.isVisible());
        QTest::mouseClick(f.BtbExit, Qt::LeftButton);
        EXPECT_FALSE(f.isVisible());
        EXPECT_TRUE(prompt.Asked.empty());
    });
    EXPECT_TRUE(opened);
    EXPECT_FALSE(w->Document().Modified());
}

TEST_F(AirCommands, NaturalDraughtEditedAltitudesGoBackOnlyWhenSaved)
{
    const auto altitudes = Net.NodeAltitude;
    const auto endTemps = Net.BranchEndTemp;
    for (const int answer : {idNo, idYes}) {
        const bool opened = RunWith<TfrmHet>("mnuGetHet", frmHet, [&](TfrmHet &f) {
            QTableWidgetItem *altitude = f.TablN->item(0, hnAltitude);
            QTableWidgetItem *temp = f.TablT->item(0, hbEndTemp);
            ASSERT_TRUE(altitude && temp);
            ASSERT_TRUE(altitude->flags() & Qt::ItemIsEditable);
            EXPECT_FALSE(f.TablN->item(0, hnNumber)->flags() & Qt::ItemIsEditable);
            EXPECT_FALSE(f.TablT->item(0, hbQn)->flags() & Qt::ItemIsEditable);

            prompt.Asked.clear();
            const QString before = altitude->text();
            altitude->setText(QStringLiteral("12x"));
            EXPECT_EQ(AskedTexts(), QStringList{QStringLiteral("Число==> 12x набрано с ошибками !") + CR});
            EXPECT_EQ(altitude->text(), before);
            temp->setText(QStringLiteral("51"));
            EXPECT_EQ(AskedTexts().last(), QStringLiteral("Число вне допустимого диапазона: ") + CR
                                          + QStringLiteral("    -30.0 ...  50.0 !"));

            altitude->setText(QStringLiteral("123,4"));
            EXPECT_EQ(altitude->text(), QStringLiteral("   123,4"));
            temp->setText(QStringLiteral("17.5"));
            prompt.Asked.clear();
            prompt.Answer(answer);
            QTest::mouseClick(f.BtbExit, Qt::LeftButton);
            EXPECT_EQ(AskedTexts(), QStringList{QStringLiteral("Сохранить результаты редактирования?")});
        });
        ASSERT_TRUE(opened);
        const int node = [] {
            for (int n = 1; n <= MaxItems; ++n)
                if (Net.NodeNo[n] != 0)
                    return n;
            return 0;
        }();
        if (answer == idNo) {
            EXPECT_EQ(Net.NodeAltitude, altitudes);
            EXPECT_EQ(Net.BranchEndTemp, endTemps);
            EXPECT_FALSE(w->Document().Modified());
        } else {
            EXPECT_EQ(Net.NodeAltitude[node], 123.4);
            EXPECT_EQ(Net.BranchEndTemp[1], 17.5);
            EXPECT_TRUE(w->Document().Modified());
        }
    }
}

TEST_F(AirCommands, NaturalDraughtPrintPreviewsTheBranchTable)
{
    TfrEngineScope engine;
    TPreviewCapture preview;
    w->Options().ReportsLocation = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
    const bool opened = RunWith<TfrmHet>("mnuGetHet", frmHet, [&](TfrmHet &f) {
        QTest::mouseClick(f.BtbPrint, Qt::LeftButton);
        EXPECT_EQ(preview.Shown, 1);
        ASSERT_FALSE(preview.Texts.isEmpty());
        EXPECT_EQ(preview.Texts.first(), w->GetMineTitle());
        const int last = f.TablT->rowCount() - 1;
        ASSERT_GT(last, 0);
        EXPECT_TRUE(preview.Texts.contains(f.TablT->item(last, hbNumber)->text()));
        EXPECT_TRUE(preview.Texts.contains(f.TablT->item(last, hbQn)->text()));
    });
    EXPECT_TRUE(opened);
}

TEST_F(AirCommands, NaturalDraughtPrintingNamesAMissingTemplateAndHandsOverTheFilteredRows)
{
    QString printed;
    int records = -1;
    HetWindowHooks.ShowReport = [&](QWidget *, const QString &file, THetReport &report) {
        printed = file;
        records = report.RecordCount();
    };
    w->Options().ReportsLocation = folder.path();
    const QString file = folder.path() + QStringLiteral("/Естественная.frf");
    const bool opened = RunWith<TfrmHet>("mnuGetHet", frmHet, [&](TfrmHet &f) {
        ASSERT_TRUE(f.BtbPrint->isEnabled());
        QTest::mouseClick(f.BtbPrint, Qt::LeftButton);
        EXPECT_EQ(AskedTexts(), QStringList{QStringLiteral("Не найден шаблон отчёта") + CR + file});
        EXPECT_TRUE(printed.isEmpty());

        QFile(file).open(QIODevice::WriteOnly);
        const int inclined = f.CmbVet->findText(QStringLiteral("Наклонные"));
        ASSERT_GT(inclined, 0);
        emit f.CmbVet->activated(inclined);
        QTest::mouseClick(f.BtbPrint, Qt::LeftButton);
        EXPECT_EQ(printed, file);
        EXPECT_EQ(records, f.TablT->rowCount());
        EXPECT_LT(records, BranchCount(Net));
    });
    HetWindowHooks = {};
    EXPECT_TRUE(opened);
}
