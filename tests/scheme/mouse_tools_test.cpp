// The mouse tools' protocol without a window: a scripted host answers the
// dialogs and keeps what the tools drew.
#include "scheme/mouse_tools.h"

#include "platform/prompt.h"
#include "scheme_test_network.h"

#include <gtest/gtest.h>

#include <deque>
#include <stdexcept>
#include <utility>
#include <memory>

namespace {

class TFakeHost : public TMouseToolHost
{
public:
    int Mode = 0;
    int Redraws = 0;
    int Modified = 0;
    std::deque<bool> NodeAnswers, BranchAnswers;
    std::vector<QString> Dialogs;
    TRecordingCanvas Canvas;
    TSchemeObjectLayers *Layers = nullptr;
    std::function<bool(int)> Fire;
    int Width = 800, Height = 600;
    TViewport *View = nullptr;

    int ToolMode() const override { return Mode; }
    void SetToolMode(int mode) override { Mode = mode; }
    void SetCursor(int) override {}
    int EdgeCursor(int, int) const override { return Mode; }
    bool EdgeScroll(int x, int y) override
    {
        if (!TViewport::NearEdge(x, y, Width, Height))
            return false;
        View->ScrollX += 100;
        Redraw();
        return true;
    }
    void Redraw() override
    {
        ++Redraws;
        Canvas.Clear();
    }
    void SetModified() override { ++Modified; }
    void ObjectChanged(std::unique_ptr<TMineObject>, TChangeKind) override { ++Modified; }
    TColor SchemeColor(int index) const override { return index == SchemeColorSmoke ? 0x555555 : 0x0000AA; }
    void SetStandardColors() override {}
    bool PLAColoring() const override { return false; }
    bool SnapToGrid() const override { return true; }
    int GridStep() const override { return 10; }
    bool NewObjectsFirstFree() const override { return true; }
    bool ShowSheet() const override { return false; }
    TSize SheetSize() const override { return {1500, 1000}; }
    void ShowPointer(const TPointerStatus &) override {}
    void DrawFeedback(const std::function<void(TCanvas &)> &draw) override { draw(Canvas); }
    bool EditNode(const QString &caption, int &, bool) override
    {
        Dialogs.push_back(caption);
        return Take(NodeAnswers);
    }
    bool EditBranch(const QString &caption, int, bool, bool) override
    {
        Dialogs.push_back(caption);
        return Take(BranchAnswers);
    }
    void UpdateMenus() override {}
    void ShowSchemePopup() override {}
    void ShowFoundPopup(const std::vector<std::pair<std::int32_t, QString>> &) override {}
    void ZoomTool(int, int, int) override {}
    void CenterTool(int, int) override {}
    bool FireModelAt(int branch) override { return Fire && Fire(branch); }
    void BoostAt(int) override {}
    TSchemeObjectLayers *ObjectLayers() override { return Layers; }

private:
    static bool Take(std::deque<bool> &answers)
    {
        if (answers.empty())
            return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// One object at a fixed position that records its drag.
class TFakeLayer : public TSchemeObjectLayer
{
public:
    TPoint At{300, 40};
    bool Dragged = false, Moved = false;
    int Count() const override { return 1; }
    std::vector<int> HitAt(int x, int y) override { return TPoint{x, y} == At ? std::vector<int>{0} : std::vector<int>{}; }
    QString Caption(int) const override { return {}; }
    void Click(int, int) override {}
    void ClickObject(int, int, int) override {}
    bool MouseDown(int x, int y) override { return Dragged = TPoint{x, y} == At; }
    void MouseMove(TCanvas &, int x, int y) override
    {
        if (Dragged)
            Moved = true;
    }
    bool MouseUp() override
    {
        Dragged = false;
        return std::exchange(Moved, false);
    }
    void AddAt(int, int) override {}
    void MoveBy(int dx, int dy) override { At = {At.X + dx, At.Y + dy}; }
    std::optional<TPoint> MinPoint() const override { return At; }
};

class MouseToolsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        View.Zoom = 1;
        View.ZoomStep = 0;
        Host.View = &View;
        AddTestNode(*T, 1, 100, 100);
        AddTestNode(*T, 2, 500, 100);
    }

    void Move(int x, int y, bool ctrl = false) { Tools.MouseMove({TMouseButton::Left, false, ctrl, x, y}); }
    void Up(int x, int y, TMouseButton button = TMouseButton::Left, bool ctrl = false)
    {
        Move(x, y);
        Tools.MouseUp({button, false, ctrl, x, y});
    }
    int NotXorLines() const
    {
        int n = 0;
        for (const auto &op : Host.Canvas.Ops)
            n += (op.Kind == TRecordingCanvas::TOpKind::LineTo || op.Kind == TRecordingCanvas::TOpKind::Polyline) &&
                 op.Pen.Mode == TPenMode::pmNotXor;
        return n;
    }

    std::unique_ptr<TNetworkTables> T = std::make_unique<TNetworkTables>();
    TBranchColors Colors{};
    TViewport View;
    TFakeHost Host;
    TMouseTools Tools{*T, Colors, View, Host};
    TScriptedPrompt Prompt;
};

} // namespace

TEST_F(MouseToolsTest, ClickingBackOnTheStartKeepsTheStartPointOfTheBranch)
{
    Tools.Select(TTool::Branch);
    Up(101, 99);
    ASSERT_TRUE(Tools.Draft());
    // The pointer back on the start node: the end would be the start.
    Up(100, 100);
    EXPECT_EQ(Prompt.Asked.size(), 1u);
    ASSERT_TRUE(Tools.Draft());
    EXPECT_EQ(Tools.Draft()->Turns.size(), 1u);

    // A bend point, then the end clicked right on it: the bend gives way.
    Host.NodeAnswers = {true};
    Host.BranchAnswers = {true};
    Move(300, 300);
    Tools.MouseUp({TMouseButton::Left, false, true, 300, 300});
    Up(300, 300);
    ASSERT_TRUE(BranchExist(*T, 1));
    const TTurnList &turns = *T->BranchTurns[1];
    ASSERT_EQ(turns.size(), 2u);
    EXPECT_EQ((TPoint{turns[0].X, turns[0].Y}), (TPoint{100, 100}));
    EXPECT_EQ((TPoint{turns[1].X, turns[1].Y}), (TPoint{300, 300}));
    EXPECT_EQ(turns[0].Number, 1);
    EXPECT_EQ(Host.Dialogs, (std::vector<QString>{QStringLiteral("Новый узел, №3"), QStringLiteral("Новая ветвь")}));
    EXPECT_EQ(Host.Modified, 2);
}

TEST_F(MouseToolsTest, TheRubberBandFollowsThePointerAndSurvivesAnEdgeScroll)
{
    Tools.Select(TTool::Branch);
    Up(100, 100);
    Host.Canvas.Clear();
    Move(203, 148);
    // The old segment is erased and the new one drawn, both in NotXor.
    EXPECT_EQ(NotXorLines(), 2);
    EXPECT_EQ(Tools.Draft()->Current, (TPoint{200, 150}));
    // The scroll's redraw wipes the picture: the whole band comes back.
    Host.Canvas.Clear();
    Tools.MouseUp({TMouseButton::Left, false, false, 3, 300});
    ASSERT_TRUE(Tools.Draft());
    ASSERT_EQ(Host.Canvas.Ops.size(), 1u);
    EXPECT_EQ(Host.Canvas.Ops[0].Kind, TRecordingCanvas::TOpKind::Polyline);
    EXPECT_EQ(Host.Canvas.Ops[0].Points.size(), 2u);
    EXPECT_EQ(Host.Canvas.Ops[0].Pen.Mode, TPenMode::pmNotXor);
    EXPECT_EQ(Host.Mode, tmBranchDrawing);
}

TEST_F(MouseToolsTest, ABusyFireToolIsFreedAlsoWhenItsWindowFails)
{
    AddTestBranch(*T, 1, 1, 2);
    Tools.Select(TTool::FireModelling);
    int calls = 0;
    Host.Fire = [&](int) -> bool {
        ++calls;
        throw std::runtime_error("no window");
    };
    Move(300, 100);
    EXPECT_THROW(Tools.MouseUp({TMouseButton::Left, false, false, 300, 100}), std::runtime_error);
    Host.Fire = [&](int branch) {
        ++calls;
        return branch == 1;
    };
    Tools.MouseUp({TMouseButton::Left, false, false, 300, 100});
    EXPECT_EQ(calls, 2);
}

TEST_F(MouseToolsTest, TheMoveToolDragsThePlacedObjectsUnsnapped)
{
    TSchemeObjectLayers layers;
    layers.Phones = std::make_unique<TFakeLayer>();
    auto &phone = static_cast<TFakeLayer &>(*layers.Phones);
    phone.At = {303, 41};
    Host.Layers = &layers;
    Tools.Select(TTool::Move);
    Move(303, 41);
    Tools.MouseDown({TMouseButton::Left, false, false, 303, 41});
    EXPECT_TRUE(phone.Dragged);
    Up(320, 60);
    EXPECT_FALSE(phone.Dragged);
    // An object beside the pointer stays.
    Move(600, 500);
    Tools.MouseDown({TMouseButton::Left, false, false, 600, 500});
    EXPECT_FALSE(phone.Dragged);
    Up(600, 500);
}

TEST_F(MouseToolsTest, ShiftLeavesUnplacedNodesAndRefusesWhatCannotBeStored)
{
    AddTestNode(*T, 3, UnplacedX, UnplacedY);
    AddTestBranch(*T, 1, 1, 2);
    AddTestBranch(*T, 2, 2, 3);  // its end lies at the unplaced node's marker
    TSchemeObjectLayers layers;
    layers.Texts = std::make_unique<TFakeLayer>();
    auto &text = static_cast<TFakeLayer &>(*layers.Texts);
    TPoint moved;
    EXPECT_EQ(ShiftScheme(*T, &layers, 10, 10, &moved), TShiftResult::Shifted);
    EXPECT_EQ(moved, (TPoint{-90, -30}));  // the text at y 40 is the topmost
    EXPECT_EQ((TPoint{T->NodeX[1], T->NodeY[1]}), (TPoint{10, 70}));
    EXPECT_EQ(text.At, (TPoint{210, 10}));
    EXPECT_EQ((TPoint{T->NodeX[3], T->NodeY[3]}), (TPoint{UnplacedX, UnplacedY}));
    EXPECT_EQ(T->BranchTurns[2]->back().X, UnplacedX);
    EXPECT_EQ(T->BranchTurns[2]->front().X, 410);

    // Margins that would carry the rightmost node past 32767, or the topmost
    // below −32768, change nothing.
    for (const TPoint margin : {TPoint{32500, 10}, TPoint{10, -40000}}) {
        EXPECT_EQ(ShiftScheme(*T, &layers, margin.X, margin.Y), TShiftResult::OutOfRange);
        EXPECT_EQ(T->NodeX[2], 410);
        EXPECT_EQ(text.At, (TPoint{210, 10}));
    }

    // Objects alone move wherever the margins say; nothing at all is no shift.
    auto empty = std::make_unique<TNetworkTables>();
    AddTestNode(*empty, 1, UnplacedX, UnplacedY);
    EXPECT_EQ(ShiftScheme(*empty, &layers, 40000, 10), TShiftResult::Shifted);
    EXPECT_EQ(text.At, (TPoint{40000, 10}));
    EXPECT_EQ(ShiftScheme(*empty, nullptr, 10, 10), TShiftResult::Empty);
}
