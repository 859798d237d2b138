// The routes window as the user drives it from the main window, over a fire
// in the conveyor gate of the first longwall of the sample mine.
#include "calc/ui/air_commands.h"
#include "emergency/table_hooks.h"
#include "emergency/ui/frm_bd_branch.h"
#include "emergency/ui/frm_pojar.h"
#include "emergency/ui/frm_puti.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "scheme/ui/fire_tool_hook.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/xq_edit.h"

#include "cut_texts.h"
#include "modal.h"
#include "prepared_texts.h"
#include "sample_main_window.h"
#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtTest/QTest>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStackedWidget>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

const int FireBranchNo = 36; // "Конвейерный штрек лавы 1"
// The skip shaft's yard and the far end of the main haulage drift.
const int YardNode = 6;
const int DriftEndNode = 16;
const int CageBottomNode = 7;

// Runs drive once the routes window is the modal window; it may come after
// another modal window (the fire model) has closed.
void WhenRouteWindow(std::function<void()> drive)
{
    auto *timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, drive = std::move(drive)] {
        if (!frmPuti || QApplication::activeModalWidget() != frmPuti)
            return;
        timer->stop();
        timer->deleteLater();
        drive();
        CloseOpenModals();
    });
    timer->start();
}

class RoutesWindow : public SampleMainWindow
{
protected:
    void SetUp() override
    {
        SampleMainWindow::SetUp();
        if (!HasFatalFailure())
            InstallRouteCommands(*w);
    }
    void TearDown() override
    {
        TableEditorHooks = {};
        FreeRouteWindow();
        SampleMainWindow::TearDown();
    }

    void Click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    QAction *Action(const char *name) { return w->Action(QString::fromLatin1(name)); }
    void SetNodes(const QString &start, const QString &end)
    {
        frmPuti->edStart->setText(start);
        frmPuti->edEnd->setText(end);
    }

};

} // namespace

TEST_F(RoutesWindow, EvacuationAsksForTheFireFirst)
{
    QString button;
    WhenModal([&] {
        ASSERT_NE(frmPojar, nullptr);
        button = frmPojar->bbtSchem->text();
    });
    Action("TaskWorkersEvacuate")->trigger();
    EXPECT_EQ(button, QStringLiteral("Маршрут"));
    EXPECT_EQ(frmPojar, nullptr);
    EXPECT_EQ(frmPuti, nullptr);
    EXPECT_FALSE(Action("spbtnWays")->isEnabled());
}

TEST_F(RoutesWindow, EvacuationFromAWorkingThroughTheChoicesToTheScheme)
{
    int people = 0;
    QString route;
    std::vector<int> steps;
    WhenModal([&] {
        frmPojar->EdInr->setText(QString::number(FireBranchNo));
        WhenRouteWindow([&] {
            EXPECT_EQ(frmPuti->windowTitle(), QStringLiteral(" Поиск маршрута вывода горнорабочих"));
            EXPECT_EQ(frmPuti->Page(), TfrmPuti::pgNodes);
            ASSERT_TRUE(frmPuti->pnlPeople->isVisible());
            EXPECT_FALSE(frmPuti->pnlNodes->isVisible());
            people = frmPuti->grdPeople->rowCount();
            for (int r = 0; r < people; ++r)
                EXPECT_FALSE(frmPuti->grdPeople->item(r, 5)->text().isEmpty()) << r;
            Click(frmPuti->btnNext);
            ASSERT_EQ(frmPuti->Page(), TfrmPuti::pgEvacuation);
            EXPECT_TRUE(frmPuti->lbEvacFire->text().startsWith(QStringLiteral("Пожар в ветви Конвейерный штрек лавы 1")));
            // The cage shaft's bottom lifts people to the surface.
            ASSERT_EQ(frmPuti->grdEvacuation->rowCount(), 2);
            EXPECT_TRUE(frmPuti->grdEvacuation->item(1, 0)->text().startsWith(
                QStringLiteral("Ближайший выход на поверхность по свежей - узел %1, время ").arg(CageBottomNode)))
                << frmPuti->grdEvacuation->item(1, 0)->text().toStdString();
            Click(frmPuti->btnNext);
            ASSERT_EQ(frmPuti->Page(), TfrmPuti::pgRoute);
            EXPECT_FALSE(frmPuti->btnNext->isVisible());
            EXPECT_TRUE(frmPuti->btnDone->isVisible());
            route = frmPuti->lbRoute->text();
            for (const TRouteStep &step : frmPuti->ChosenRoute()->Steps)
                steps.push_back(step.Branch);
            Click(frmPuti->btnDone);
        });
        Click(frmPojar->bbtSchem);
    });
    Action("TaskWorkersEvacuate")->trigger();
    EXPECT_EQ(people, 5);
    EXPECT_TRUE(route.startsWith(QStringLiteral("Кратчайший путь вывода горнорабочих из узла"))) << route.toStdString();
    ASSERT_NE(frmPuti, nullptr);
    EXPECT_FALSE(frmPuti->isVisible());
    EXPECT_TRUE(Action("spbtnWays")->isEnabled());
    EXPECT_EQ(w->windowTitle(), w->FormatCaption() + QStringLiteral("Маршрут вывода горнорабочих"));
    ASSERT_FALSE(steps.empty());
    const TSchemeColors &palette = w->Options().Colors;
    const auto &colors = w->Document().BranchColors;
    for (const int b : steps)
        EXPECT_TRUE(colors[b] == RouteGreen || colors[b] == palette[sciRouteInSmoke]) << b;

    // The toolbar reopens the table; Cancel gives the routes up.
    int page = -1;
    WhenRouteWindow([&] {
        page = frmPuti->Page();
        Click(frmPuti->btnCancel);
    });
    Action("spbtnWays")->trigger();
    EXPECT_EQ(page, TfrmPuti::pgRoute);
    EXPECT_EQ(frmPuti, nullptr);
    EXPECT_FALSE(Action("spbtnWays")->isEnabled());
    EXPECT_EQ(w->windowTitle(), w->FormatCaption());
    ASSERT_NE(frmPojar, nullptr);
    EXPECT_EQ(colors[FireBranchNo], palette[sciFire]);
    for (const int b : frmPojar->Zone1())
        if (b != FireBranchNo) {
            EXPECT_EQ(colors[b], palette[sciSmoke]) << b;
        }
}

// A long name and a reason of several parts are shown whole, the reason
// after the name.
TEST_F(RoutesWindow, ImpassableWorkingsShowNameAndReasonWhole)
{
    int low = 1;
    while (!BranchExist(Net, low) || low == FireBranchNo)
        ++low;
    Net.BranchHeight[low] = 0.5;
    SetBranchName(Net, low, QStringLiteral("Вентиляционный квершлаг горизонта -450 м между стволами N 1 и N 2"));
    Net.BranchHeight[FireBranchNo] = 0.5;
    bool listed = false;
    WhenModal([&] {
        frmPojar->EdInr->setText(QString::number(FireBranchNo));
        WhenRouteWindow([&] {
            QTimer::singleShot(0, [&] {
                auto *list = qobject_cast<TfrmBdBranch *>(QApplication::activeModalWidget());
                ASSERT_NE(list, nullptr);
                listed = true;
                ASSERT_GE(list->Grid->rowCount(), 2);
                EXPECT_EQ(CutTexts(*list->Grid), "");
                // The reason, after the longest name, is in sight without scrolling.
                const int reason = list->Grid->columnCount() - 1;
                EXPECT_LE(list->Grid->columnViewportPosition(reason) + list->Grid->columnWidth(reason),
                          list->Grid->viewport()->width());
                list->reject();
            });
            Click(frmPuti->btnBdBranches);
        });
        Click(frmPojar->bbtSchem);
    });
    Action("TaskWorkersEvacuate")->trigger();
    EXPECT_TRUE(listed);
}

TEST_F(RoutesWindow, ReconnaissanceBetweenTwoNodesGoesStraightToTheTable)
{
    TfrEngineScope engine;
    TPreviewCapture preview;
    w->Options().ReportsLocation = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
    ASSERT_TRUE(FireToolClick(FireBranchNo));
    const int start = YardNode;
    const int end = DriftEndNode;
    QString clipboard, expected;
    int rows = 0;
    WhenRouteWindow([&] {
        EXPECT_TRUE(frmPuti->pnlNodes->isVisible());
        EXPECT_TRUE(frmPuti->btnPickStart->isEnabled());  // the object search picks a node
        SetNodes(QStringLiteral("0"), QString::number(end));
        Click(frmPuti->btnNext);
        ASSERT_FALSE(prompt.Asked.empty());
        EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral("Узел 0 отсутсвует в сети выработок"));
        EXPECT_EQ(frmPuti->Page(), TfrmPuti::pgNodes);
        SetNodes(QString::number(start), QString::number(end));
        Click(frmPuti->btnNext);
        ASSERT_EQ(frmPuti->Page(), TfrmPuti::pgRoute);
        rows = frmPuti->grdRoute->rowCount();
        ASSERT_GT(rows, 0);
        EXPECT_TRUE(frmPuti->btnCopy->isVisible());
        // "Печать" previews the route table's lines and its steps.
        ASSERT_TRUE(frmPuti->btnPrint->isEnabled());
        Click(frmPuti->btnPrint);
        EXPECT_EQ(preview.Shown, 1);
        ASSERT_GE(preview.Texts.size(), 6);
        EXPECT_EQ(preview.Texts.mid(1, 5), (QStringList{frmPuti->lbRouteFire->text(), frmPuti->lbFresh->text(),
                                                        frmPuti->lbExit->text(), frmPuti->lbRoute->text(),
                                                        frmPuti->lbTime->text()}));
        EXPECT_TRUE(preview.Texts.contains(frmPuti->grdRoute->item(rows - 1, 3)->text()));
        Click(frmPuti->btnCopy);
        clipboard = QGuiApplication::clipboard()->text();
        QStringList names;
        for (int r = 0; r < rows; ++r)
            names << frmPuti->grdRoute->item(r, 3)->text();
        expected = names.join(QStringLiteral(", ")) + QStringLiteral(" (") + frmPuti->lbTime->text() + u')';
        // Back from the table of a route between two nodes is the node entry.
        Click(frmPuti->btnBack);
        EXPECT_EQ(frmPuti->Page(), TfrmPuti::pgNodes);
        EXPECT_FALSE(frmPuti->btnCopy->isVisible());
    });
    Action("mnuRazv")->trigger();
    EXPECT_EQ(clipboard, expected);
    // Cancelled: nothing stays.
    EXPECT_EQ(frmPuti, nullptr);
    EXPECT_FALSE(Action("spbtnWays")->isEnabled());
}

TEST_F(RoutesWindow, RoutesGoWithANewFireResult)
{
    ASSERT_TRUE(FireToolClick(FireBranchNo));
    // Enter goes on to the table and then ends with "Готово".
    WhenRouteWindow([&] {
        SetNodes(QString::number(YardNode), QString::number(DriftEndNode));
        QTest::keyClick(frmPuti->edEnd, Qt::Key_Return);
        ASSERT_EQ(frmPuti->Page(), TfrmPuti::pgRoute);
        QTest::keyClick(frmPuti->grdRoute, Qt::Key_Return);
    });
    Action("mnuTransp")->trigger();
    ASSERT_NE(frmPuti, nullptr);
    EXPECT_TRUE(Action("spbtnWays")->isEnabled());
    EXPECT_EQ(w->windowTitle(), w->FormatCaption() + QStringLiteral("Маршрут транспортировки пострадавшего"));
    ASSERT_TRUE(FireToolClick(FireBranchNo));
    EXPECT_EQ(frmPuti, nullptr);
    EXPECT_FALSE(Action("spbtnWays")->isEnabled());
}

TEST_F(RoutesWindow, IncompleteDataAreCompletedInTheTableOrTheTaskIsGivenUp)
{
    ASSERT_TRUE(FireToolClick(FireBranchNo));
    const int drift = 14; // "Главный откаточный штрек"
    Net.BranchHeight[drift] = 0;
    prompt.Answer(idCancel);
    Action("mnuRazv")->trigger();
    EXPECT_EQ(frmPuti, nullptr);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Для решения задачи недостаточно информации. Не у всех ветвей заданы "
                                                   "длина, площадь сечения и высота.  Продолжать?"));

    int opened = 0;
    TableEditorHooks.EditBranchTable = [&](int filter, const QString &) {
        ++opened;
        EXPECT_EQ(filter, 1);
        Net.BranchHeight[drift] = 3.4;
        return 1;
    };
    bool shown = false;
    WhenRouteWindow([&] { shown = true; });
    prompt.Answer(idOk);
    Action("mnuRazv")->trigger();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(shown);
    EXPECT_EQ(prompt.Asked.size(), 2u);
}
