// The mouse tools on the main window's paint box, driven by Qt Test's mouse
// events, with the dialogs they open answered from inside their loops.
#include "model/branch_values.h"
#include "model/scheme_file.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_choose_margin.h"
#include "scheme/ui/frm_new_node.h"
#include "scheme/ui/frm_text_prop.h"
#include "scheme/ui/scheme_paint_box.h"
#include "scheme/ui/fire_tool_hook.h"
#include "scheme/ui/vent_boost_hook.h"
#include "shell/scheme_storage.h"
#include "shell/ui/branch_dialog_host.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/scheme_objects_host.h"
#include "shell/ui/scheme_tools.h"

#include "main_window_fixture.h"
#include "modal.h"

#include <gtest/gtest.h>

#include <QtCore/QTemporaryDir>
#include <QtGui/QFontInfo>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QTabWidget>

#include <utility>

namespace {

class SchemeToolsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Config.isValid());
        qputenv("TUNVEX_CONFIG_DIR", Config.path().toUtf8());
        ClearAllItems(Net);
    }
    void TearDown() override
    {
        CloseOpenModals();
        BranchDialogHost = {};
        BranchDialogHooks = {};
        NodeDialogHost = {};
        FireToolClick = nullptr;
        ShowVentBoost = nullptr;
        SchemeObjects = {};
        ClearAllItems(Net);
    }

    QString Write(const std::vector<TPoint> &nodes, const std::vector<TTestBranch> &branches)
    {
        const QString file = Folder.filePath(QStringLiteral("tools.mine"));
        EXPECT_TRUE(WriteTestScheme(file, nodes, branches));
        return file;
    }

    // A shown main window on the file: an 800 × 600 paint box at zoom 1,
    // scheme point (x, y) at pixel (x, y).
    std::unique_ptr<TfrmMain> Open(const QString &file)
    {
        auto w = OpenShownMainWindow(file, Folder.path());
        InstallBranchDialogHost(*w);
        TViewport &v = w->View();
        v.Zoom = 1;
        v.ZoomStep = 0;
        v.ScrollX = v.ScrollY = 0;
        w->Options().SnapToGrid = true;
        w->Options().GridStep = 10;
        w->Redraw();
        w->Document().SetModified(false);
        return w;
    }

    // The dialog that the next click opens is answered by drive.
    void Answer(std::function<void()> drive) { m_drive = std::move(drive); }

    // Moving the pointer pumps the event queue: the answer waits for the click.
    void Click(TfrmMain &w, QPoint p, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseMove(w.PaintBox(), p);
        if (m_drive)
            WhenModal(std::exchange(m_drive, {}));
        QTest::mouseClick(w.PaintBox(), button, keys, p);
    }

    static void Drag(TfrmMain &w, QPoint from, QPoint to, Qt::KeyboardModifiers keys = {})
    {
        QTest::mouseMove(w.PaintBox(), from);
        QTest::mousePress(w.PaintBox(), Qt::LeftButton, keys, from);
        QTest::mouseMove(w.PaintBox(), (from + to) / 2);
        QTest::mouseMove(w.PaintBox(), to);
        QTest::mouseRelease(w.PaintBox(), Qt::LeftButton, keys, to);
    }

    // A click that must open no dialog: true when one opened (it is closed).
    static bool ClickOpensDialog(TfrmMain &w, QPoint p)
    {
        QTest::mouseMove(w.PaintBox(), p);
        bool opened = false;
        QTimer::singleShot(0, [&] {
            opened = QApplication::activeModalWidget() != nullptr;
            CloseOpenModals();
        });
        QTest::mousePress(w.PaintBox(), Qt::LeftButton, {}, p);
        QTest::mouseRelease(w.PaintBox(), Qt::LeftButton, {}, p);
        QApplication::processEvents();
        return opened;
    }

    template <typename Dialog>
    static Dialog *Modal()
    {
        return qobject_cast<Dialog *>(QApplication::activeModalWidget());
    }

    static QString Label(TfrmMain &w, const char *name)
    {
        return w.findChild<QLabel *>(QString::fromLatin1(name))->text();
    }

    QTemporaryDir Config;
    QTemporaryDir Folder;
    TScriptedPrompt Prompt;
    std::function<void()> m_drive;
};

} // namespace

TEST_F(SchemeToolsTest, NodeToolPlacesASnappedNodeAndNothingOnANodeOrBranch)
{
    auto w = Open(Write({{100, 100}, {600, 100}}, {{1, 2}}));
    w->Action("sbtnNode")->trigger();
    EXPECT_EQ(w->ToolMode(), tmNode);
    EXPECT_TRUE(w->Action("sbtnNode")->isChecked());

    QString title;
    Answer([&] {
        auto *dialog = Modal<TfrmNewNode>();
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        dialog->bbtnOK->click();
    });
    Click(*w, {203, 297});
    EXPECT_EQ(title, QStringLiteral("Новый узел, №3"));
    ASSERT_TRUE(NodeExist(Net, 3));
    EXPECT_EQ(Net.NodeX[3], 200);
    EXPECT_EQ(Net.NodeY[3], 300);
    EXPECT_TRUE(w->Document().Modified());

    EXPECT_FALSE(ClickOpensDialog(*w, {102, 98}));   // on node 1
    EXPECT_FALSE(ClickOpensDialog(*w, {350, 101}));  // on the branch
    EXPECT_EQ(NodeCount(Net), 3);

    Answer([] { Modal<TfrmNewNode>()->bbtnCancel->click(); });
    Click(*w, {400, 400});
    EXPECT_FALSE(NodeExist(Net, 4));
    EXPECT_EQ(NodeCount(Net), 3);
}

TEST_F(SchemeToolsTest, BranchToolDrawsThroughABendPointAndAsksForTheNewBranch)
{
    auto w = Open(Write({{100, 100}, {600, 100}}, {}));
    w->Action("sbtnBranch")->trigger();
    Click(*w, {101, 99});
    EXPECT_EQ(w->ToolMode(), tmBranchDrawing);
    Click(*w, {302, 298}, Qt::LeftButton, Qt::ControlModifier);
    QString title, name;
    bool deletable = true;
    Answer([&] {
        auto *dialog = Modal<TfrmBranch>();
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        name = dialog->edName->text();
        deletable = dialog->bbtnDelete->isEnabled();
        dialog->bbtnOK->click();
    });
    Click(*w, {599, 101});
    EXPECT_EQ(title, QStringLiteral("Новая ветвь"));
    EXPECT_EQ(name, UnnamedBranchName);
    EXPECT_FALSE(deletable);
    ASSERT_TRUE(BranchExist(Net, 1));
    EXPECT_EQ(Net.BranchStartNode[1], 1);
    EXPECT_EQ(Net.BranchEndNode[1], 2);
    ASSERT_EQ(Net.BranchTurns[1]->size(), 3u);
    EXPECT_EQ((*Net.BranchTurns[1])[1].X, 300);
    EXPECT_EQ((*Net.BranchTurns[1])[1].Y, 300);
    EXPECT_EQ(w->ToolMode(), tmNode);
    EXPECT_TRUE(w->Document().Modified());
}

TEST_F(SchemeToolsTest, TheTasksMenuOpensOnceTwoBranchesAreDrawnByHand)
{
    auto w = Open(Write({{100, 100}, {600, 100}, {600, 400}}, {}));
    QAction *tasks = nullptr;
    for (QAction *menu : w->menuBar()->actions())
        if (menu->text() == QStringLiteral("&Задачи"))
            tasks = menu;
    ASSERT_NE(tasks, nullptr);
    EXPECT_FALSE(tasks->isEnabled());

    const auto draw = [&](QPoint from, QPoint to) {
        w->Action("sbtnBranch")->trigger();
        Click(*w, from);
        Answer([] { Modal<TfrmBranch>()->bbtnOK->click(); });
        Click(*w, to);
    };
    draw({100, 100}, {600, 100});
    ASSERT_EQ(BranchCount(Net), 1);
    EXPECT_FALSE(tasks->isEnabled());
    draw({600, 100}, {600, 400});
    ASSERT_EQ(BranchCount(Net), 2);
    EXPECT_TRUE(tasks->isEnabled());
}

TEST_F(SchemeToolsTest, BranchToolRefusesOneNodeAsBothEndsAndCancelKeepsItsNewStartNode)
{
    auto w = Open(Write({{100, 100}, {600, 100}}, {}));
    w->Action("sbtnBranch")->trigger();
    // The start on empty ground makes a node first.
    Answer([] { Modal<TfrmNewNode>()->bbtnOK->click(); });
    Click(*w, {300, 400});
    ASSERT_TRUE(NodeExist(Net, 3));
    EXPECT_EQ(w->ToolMode(), tmBranchDrawing);

    Click(*w, {301, 401});
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, SameEndNodesMessage);
    EXPECT_EQ(w->ToolMode(), tmBranchDrawing);

    Answer([] { Modal<TfrmBranch>()->bbtnCancel->click(); });
    Click(*w, {600, 100});
    EXPECT_EQ(BranchCount(Net), 0);
    EXPECT_TRUE(NodeExist(Net, 3));
    EXPECT_EQ(w->ToolMode(), tmNode);

    // A right click gives up a branch in progress.
    Click(*w, {100, 100});
    EXPECT_EQ(w->ToolMode(), tmBranchDrawing);
    Click(*w, {350, 350}, Qt::RightButton);
    EXPECT_EQ(w->ToolMode(), tmNode);
    EXPECT_FALSE(w->SchemeTools().Tools().Draft());
    EXPECT_EQ(BranchCount(Net), 0);
}

TEST_F(SchemeToolsTest, AClickNearTheLeftEdgeOnlyScrollsWithAnyTool)
{
    auto w = Open(Write({{100, 100}, {600, 100}}, {{1, 2}}));
    for (const char *tool : {"sbtnArrow", "sbtnNode", "sbtnBranch", "tbtnFindFire", "spbSelection"}) {
        SCOPED_TRACE(tool);
        w->View().ScrollX = 200;
        w->Redraw();
        w->Action(QString::fromLatin1(tool))->trigger();
        const int tool_mode = w->ToolMode();
        EXPECT_FALSE(ClickOpensDialog(*w, {7, 300}));
        EXPECT_EQ(w->GetViewCenter().X, 207);
        EXPECT_EQ(NodeCount(Net), 2);
        EXPECT_EQ(w->ToolMode(), tool_mode);
    }
    // The drag of a selection goes on past the scroll.
    EXPECT_TRUE(w->SchemeTools().Tools().Frame().Dragging);
}

TEST_F(SchemeToolsTest, CtrlClickTogglesASelectionAndAFrameSelectsWholeBranches)
{
    auto w = Open(Write({{100, 100}, {300, 100}, {300, 300}, {600, 300}}, {{1, 2}, {2, 3}, {3, 4}}));
    const TBranchColors &colors = w->Document().BranchColors;
    Click(*w, {200, 100}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_TRUE(IsBranchSelected(Net, 1));
    EXPECT_EQ(colors[1], clMaroon);
    Click(*w, {200, 100}, Qt::LeftButton, Qt::ControlModifier);
    EXPECT_FALSE(IsBranchSelected(Net, 1));
    EXPECT_EQ(colors[1], w->GetSchemeColor(1));

    w->Action("spbSelection")->trigger();
    EXPECT_EQ(w->ToolMode(), tmSelection);
    Drag(*w, {50, 50}, {350, 150});
    EXPECT_TRUE(IsBranchSelected(Net, 1));
    EXPECT_FALSE(IsBranchSelected(Net, 2));  // its end lies outside
    EXPECT_FALSE(IsBranchSelected(Net, 3));
    EXPECT_EQ(colors[1], clMaroon);
    // Shift keeps what was selected.
    Drag(*w, {250, 250}, {650, 350}, Qt::ShiftModifier);
    EXPECT_TRUE(IsBranchSelected(Net, 1));
    EXPECT_TRUE(IsBranchSelected(Net, 3));
    // Without it the selection starts anew.
    Drag(*w, {700, 500}, {750, 550});
    EXPECT_EQ(SelectedBranchCount(Net), 0);
    EXPECT_EQ(colors[1], w->GetSchemeColor(1));
}

TEST_F(SchemeToolsTest, TheSelectionFrameShowsOnTheSchemeAndErasesItself)
{
    auto w = Open(Write({{100, 100}, {300, 100}}, {{1, 2}}));
    w->Action("spbSelection")->trigger();
    const QImage before = w->PaintBox()->Image().copy();
    // The frame's top edge runs along the branch.
    QTest::mouseMove(w->PaintBox(), {50, 100});
    QTest::mousePress(w->PaintBox(), Qt::LeftButton, {}, {50, 100});
    QTest::mouseMove(w->PaintBox(), {400, 200});
    QTest::mouseMove(w->PaintBox(), {200, 150});
    // Only the last frame differs from the scheme, and it shows over the
    // white sheet and over the branch alike.
    const QImage &now = w->PaintBox()->Image();
    int onSheet = 0, onBranch = 0;
    for (int y = 0; y < now.height(); ++y)
        for (int x = 0; x < now.width(); ++x) {
            if (now.pixel(x, y) == before.pixel(x, y))
                continue;
            const bool onFrame = ((x == 50 || x == 199) && y >= 100 && y < 150) ||
                                 ((y == 100 || y == 149) && x >= 50 && x < 200);
            ASSERT_TRUE(onFrame) << x << ", " << y;
            ++(QColorToTColor(QColor(before.pixel(x, y))) == w->GetSchemeColor(1) ? onBranch : onSheet);
        }
    EXPECT_GT(onSheet, 50);
    EXPECT_GT(onBranch, 10);
    QTest::mouseRelease(w->PaintBox(), Qt::LeftButton, {}, {200, 150});
}

TEST_F(SchemeToolsTest, DraggingANodeMovesItsBranchEndsButNotTheirBendPoints)
{
    auto w = Open(Write({{100, 100}, {500, 100}, {500, 400}}, {{1, 2, {{300, 200}}}, {2, 3}}));
    w->Action("tbtnMove")->trigger();
    EXPECT_EQ(w->ToolMode(), tmPlacing);
    Drag(*w, {501, 99}, {603, 148});
    EXPECT_EQ(Net.NodeX[2], 600);
    EXPECT_EQ(Net.NodeY[2], 150);
    const TTurnList &first = *Net.BranchTurns[1];
    EXPECT_EQ(first.back().X, 600);
    EXPECT_EQ(first.back().Y, 150);
    EXPECT_EQ(first[1].X, 300);
    EXPECT_EQ(first[1].Y, 200);
    EXPECT_EQ(Net.BranchTurns[2]->front().X, 600);
    EXPECT_EQ(Net.BranchTurns[2]->front().Y, 150);
    EXPECT_TRUE(w->Document().Modified());

    // An inner bend point is dragged on its own.
    Drag(*w, {301, 201}, {320, 260});
    EXPECT_EQ(first[1].X, 320);
    EXPECT_EQ(first[1].Y, 260);
    EXPECT_EQ(Net.NodeX[1], 100);
    EXPECT_FALSE(w->SchemeTools().Tools().Mover());
}

TEST_F(SchemeToolsTest, OneHitOpensItsDialogAndTwoGiveTheSearchPopup)
{
    auto w = Open(Write({{100, 100}, {600, 100}, {400, 400}}, {{1, 2}}));
    // A free node opens deletable and goes with "Удалить".
    QString title;
    Answer([&] {
        auto *dialog = Modal<TfrmNewNode>();
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        ASSERT_TRUE(dialog->bbtnDelete->isEnabled());
        dialog->bbtnDelete->click();
    });
    Click(*w, {401, 399});
    EXPECT_EQ(title, QStringLiteral("Узел 3"));
    EXPECT_FALSE(NodeExist(Net, 3));

    // The branch opens on its first page, on "ПЛА" in the PLA colouring.
    int page = -1;
    Answer([&] {
        auto *dialog = Modal<TfrmBranch>();
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        page = dialog->pcBranch->currentIndex();
        dialog->bbtnCancel->click();
    });
    Click(*w, {350, 101});
    EXPECT_EQ(title, QStringLiteral("Ветвь 1"));
    EXPECT_EQ(page, 0);
    w->Action("mnuPLA")->trigger();
    QString pageText;
    Answer([&] {
        auto *dialog = Modal<TfrmBranch>();
        ASSERT_NE(dialog, nullptr);
        pageText = dialog->pcBranch->tabText(dialog->pcBranch->currentIndex());
        dialog->bbtnDelete->click();
    });
    Click(*w, {350, 101});
    EXPECT_EQ(pageText, QStringLiteral("ПЛА"));
    EXPECT_FALSE(BranchPresent(Net, 1));
}

TEST_F(SchemeToolsTest, TwoHitsGiveTheSearchPopupAndTheStatusLineFollowsThePointer)
{
    auto w = Open(Write({{100, 100}, {600, 100}}, {{1, 2, {}, QStringLiteral("Штрек 1")}}));
    Click(*w, {100, 100});  // node 1 lies on branch 1's first point
    QMenu *popup = w->SchemeTools().FoundPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->objectName(), QStringLiteral("pmnuFinded"));
    ASSERT_EQ(popup->actions().size(), 2);
    EXPECT_EQ(popup->actions()[0]->text(), QStringLiteral("Узел № 1"));
    EXPECT_EQ(popup->actions()[1]->text(), QStringLiteral("Ветвь № 1: Штрек 1"));
    EXPECT_EQ(popup->actions()[1]->data().toInt(), 0x10001);
    EXPECT_TRUE(popup->isVisible());
    popup->close();

    QTest::mouseMove(w->PaintBox(), {100, 100});
    EXPECT_EQ(Label(*w, "lblNode"), QStringLiteral("Узел 1"));
    QTest::mouseMove(w->PaintBox(), {300, 101});
    EXPECT_EQ(Label(*w, "lblNode"), QString());
    EXPECT_EQ(Label(*w, "lblBranch"), QStringLiteral("Ветвь 1: Штрек 1"));
    EXPECT_EQ(Label(*w, "lblX"), QStringLiteral("X: 300"));
    EXPECT_EQ(Label(*w, "lblY"), QStringLiteral("Y: 101"));

    // Outside the shown sheet the coordinate turns red.
    w->Options().ShowSheet = true;
    w->View().ScrollX = 1000;
    QTest::mouseMove(w->PaintBox(), {600, 200});
    auto *x = w->findChild<QLabel *>(QStringLiteral("lblX"));
    auto *y = w->findChild<QLabel *>(QStringLiteral("lblY"));
    EXPECT_EQ(x->text(), QStringLiteral("X: 1600"));
    EXPECT_EQ(x->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(y->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

TEST_F(SchemeToolsTest, RightClickShowsTheSchemePopupWhoseUndoDoesNothing)
{
    auto w = Open(Write({{100, 100}, {600, 100}}, {{1, 2}}));
    Click(*w, {300, 300}, Qt::RightButton);
    auto *menu = w->findChild<QMenu *>(QStringLiteral("pmnuScheme"));
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_TRUE(w->Action("mnuCancel")->isEnabled());
    menu->close();
    w->Action("mnuCancel")->trigger();
    EXPECT_FALSE(w->Document().Modified());
}

TEST_F(SchemeToolsTest, FireSourceSearchColoursWhatLiesUpstream)
{
    auto w = Open(Write({{100, 100}, {300, 100}, {500, 100}, {700, 100}, {300, 300}},
                        {{1, 2}, {2, 3}, {3, 4}, {3, 5}}));
    const TBranchColors &colors = w->Document().BranchColors;
    const TColor smoke = w->GetSchemeColor(SchemeColorSmoke);
    ASSERT_NE(smoke, w->GetSchemeColor(1));
    w->Action("tbtnFindFire")->trigger();
    Click(*w, {600, 101});
    EXPECT_EQ(colors[3], smoke);
    EXPECT_EQ(colors[2], smoke);
    EXPECT_EQ(colors[1], smoke);
    EXPECT_EQ(colors[4], w->GetSchemeColor(1));  // downstream of node 3, not upstream

    w->SetStandardColors();
    Click(*w, {600, 101}, Qt::RightButton);
    EXPECT_EQ(colors[3], clWhite);
    EXPECT_EQ(colors[1], clWhite);
    EXPECT_EQ(colors[4], w->GetSchemeColor(1));
}

TEST_F(SchemeToolsTest, FireAndBoostToolsWaitForTheirWindowsAndRunThemAtTheHoveredBranch)
{
    auto w = Open(Write({{100, 100}, {600, 100}}, {{1, 2}}));
    EXPECT_FALSE(w->Action("tbtnFireModelling")->isEnabled());
    EXPECT_FALSE(w->Action("tbtnQAccelerate")->isEnabled());
    std::vector<int> asked;
    FireToolClick = [&](int branch) {
        asked.push_back(branch);
        return false;
    };
    w->SchemeTools().RefreshHookedTools();
    ASSERT_TRUE(w->Action("tbtnFireModelling")->isEnabled());
    w->Action("tbtnFireModelling")->trigger();
    Click(*w, {300, 300});  // no branch there
    Click(*w, {300, 100});
    // A window that could not be made leaves the tool free for the next click.
    Click(*w, {400, 100});
    EXPECT_EQ(asked, (std::vector<int>{1, 1}));

    // The boost tool opens the boost search for the branch clicked.
    std::vector<int> boosted;
    ShowVentBoost = [&](int branch) { boosted.push_back(branch); };
    w->SchemeTools().RefreshHookedTools();
    w->Action("tbtnQAccelerate")->trigger();
    EXPECT_EQ(w->ToolMode(), tmBoost);
    Click(*w, {300, 300});
    Click(*w, {300, 100});
    EXPECT_EQ(boosted, (std::vector<int>{1}));
}

TEST_F(SchemeToolsTest, ShiftMovesEveryObjectToTheMarginsAndCancelChangesNothing)
{
    auto w = Open(Write({{250, 300}, {600, 100}}, {{1, 2, {{400, 500}}}}));
    CreateNode(Net, 7);  // never placed
    Net.NodeX[7] = UnplacedX;
    Net.NodeY[7] = UnplacedY;

    WhenModal([] { Modal<TfrmChooseMargin>()->Button2->click(); });
    w->Action("mnuCutMap")->trigger();
    EXPECT_EQ(Net.NodeX[1], 250);
    EXPECT_FALSE(w->Document().Modified());

    QString title;
    int left = 0, top = 0;
    WhenModal([&] {
        auto *dialog = Modal<TfrmChooseMargin>();
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        left = dialog->SpinEdit1->value();
        top = dialog->SpinEdit2->value();
        dialog->Button1->click();
    });
    w->Action("mnuCutMap")->trigger();
    EXPECT_EQ(title, QStringLiteral("Установка отступов"));
    EXPECT_EQ(left, 10);
    EXPECT_EQ(top, 10);
    EXPECT_EQ((TPoint{Net.NodeX[1], Net.NodeY[1]}), (TPoint{10, 210}));
    EXPECT_EQ((TPoint{Net.NodeX[2], Net.NodeY[2]}), (TPoint{360, 10}));
    const TTurnList &turns = *Net.BranchTurns[1];
    EXPECT_EQ((TPoint{turns[1].X, turns[1].Y}), (TPoint{160, 410}));
    EXPECT_EQ((TPoint{turns[2].X, turns[2].Y}), (TPoint{360, 10}));
    EXPECT_EQ((TPoint{Net.NodeX[7], Net.NodeY[7]}), (TPoint{UnplacedX, UnplacedY}));
    EXPECT_TRUE(w->Document().Modified());

    // Margins that the 16-bit coordinates cannot hold are refused whole.
    WhenModal([] {
        auto *dialog = Modal<TfrmChooseMargin>();
        dialog->SpinEdit1->setValue(32500);
        dialog->Button1->click();
    });
    w->Action("mnuCutMap")->trigger();
    ASSERT_FALSE(Prompt.Asked.empty());
    EXPECT_EQ(Prompt.Asked.back().Text, ShiftOutOfRangeMessage);
    EXPECT_EQ(Net.NodeX[1], 10);
    EXPECT_EQ(turns[1].X, 160);
}

TEST_F(SchemeToolsTest, PlacedObjectsArePlacedDraggedFoundAndShifted)
{
    auto w = Open(Write({{100, 100}, {600, 100}}, {{1, 2}}));
    InstallSchemeObjects(*w);
    w->SchemeTools().RefreshHookedTools();
    EXPECT_FALSE(w->Action("tbtnPlaceTelephone")->isEnabled());  // while telephones are hidden
    w->Action("mnuPhones")->trigger();
    ASSERT_TRUE(w->Action("tbtnPlaceTelephone")->isEnabled());
    w->Action("tbtnPlaceTelephone")->trigger();
    EXPECT_EQ(w->ToolMode(), tmPhone);
    Prompt.AnswerText(QStringLiteral("101"));
    Click(*w, {303, 298});
    const TPhonePlaces &phones = w->Storage().Doc.PhoneList;
    ASSERT_EQ(phones.Count(), 1);
    EXPECT_EQ((TPoint{phones[0].X, phones[0].Y}), (TPoint{300, 300}));
    EXPECT_TRUE(w->Document().Modified());

    // Dragged with the move tool it follows the pointer unsnapped, and the
    // document knows.
    w->Document().SetModified(false);
    w->Action("tbtnMove")->trigger();
    Drag(*w, {300, 300}, {353, 321});
    EXPECT_EQ((TPoint{phones[0].X, phones[0].Y}), (TPoint{353, 321}));
    EXPECT_TRUE(w->Document().Modified());

    // The object search finds it and opens its own editing.
    w->Action("sbtnArrow")->trigger();
    Click(*w, {353, 321});
    ASSERT_FALSE(Prompt.Queried.empty());
    EXPECT_EQ(Prompt.Queried.back().Start, QStringLiteral("101"));
    EXPECT_EQ(phones.Count(), 1);

    // The shift moves it with the network.
    WhenModal([] { Modal<TfrmChooseMargin>()->Button1->click(); });
    w->Action("mnuCutMap")->trigger();
    EXPECT_EQ((TPoint{phones[0].X, phones[0].Y}), (TPoint{263, 231}));
    EXPECT_EQ((TPoint{Net.NodeX[1], Net.NodeY[1]}), (TPoint{10, 10}));
}

TEST_F(SchemeToolsTest, ANewTextShowsTheFontThatStandsForArialAndKeepsItsName)
{
    auto w = Open(Write({{100, 100}, {600, 100}}, {{1, 2}}));
    InstallSchemeObjects(*w);
    w->SchemeTools().RefreshHookedTools();
    w->Action("mnuTexts")->trigger();
    ASSERT_TRUE(w->Action("tbtnText")->isEnabled());
    w->Action("tbtnText")->trigger();
    // Where Arial is missing, the family drawn in its place (Liberation Sans).
    const QString drawnIn = QFontInfo(QFont(QStringLiteral("Arial"))).family();
    QString shown;
    Answer([&] {
        auto *dialog = Modal<TfrmTextProp>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Новая надпись"));
        shown = dialog->ComboBox1->currentText();
        QTest::mouseClick(dialog->btnSave, Qt::LeftButton);
    });
    Click(*w, {300, 300});
    EXPECT_EQ(shown, drawnIn);
    const TMapTextList &texts = w->Storage().Doc.MapTexts;
    ASSERT_EQ(texts.Count(), 1);
    EXPECT_EQ(texts[0].FontName, QStringLiteral("Arial"));
}
