#include "designer/design_rules.h"

#include "designer/design_state.h"
#include "report/engine.h"
#include "report/report.h"

#include <gtest/gtest.h>

namespace {

class SurfaceRules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetNewObjectDefaults();
        SelectedCount = 0;
    }
    TfrView &Add(std::uint8_t type, int l, int t, int w, int h, bool selected = false)
    {
        auto v = CreateReportObject(type);
        v->Left = l;
        v->Top = t;
        v->Width = w;
        v->Height = h;
        v->Selected = selected;
        SelectedCount += selected;
        page.TemplateObjects.push_back(std::move(v));
        return *page.TemplateObjects.back();
    }
    TfrEngineScope engine;
    TfrReport report;
    TfrPage &page = report.TemplatePages.Add();
};

TBox BoxOf(const TfrView &v) { return {v.Left, v.Top, v.Width, v.Height}; }

} // namespace

TEST_F(SurfaceRules, GridSnapAndStep)
{
    EXPECT_EQ(SnapToGrid(13, 22, {4, true}), (TPoint{12, 20}));
    EXPECT_EQ(SnapToGrid(13, 22, {4, false}), (TPoint{13, 22}));
    EXPECT_EQ(RoundToGrid(14, 21, {8, true}), (TPoint{16, 24}));

    struct Case { int dx, dy; bool taken; int sx, sy; };
    for (const Case c : {Case{5, 0, false, 5, 0}, Case{11, 0, true, 8, 0}, Case{-11, 3, true, -8, 0},
                         Case{3, 17, true, 0, 16}}) {
        int dx = c.dx, dy = c.dy;
        EXPECT_EQ(GridStep(dx, dy, {8, true}), c.taken) << c.dx << "," << c.dy;
        EXPECT_EQ(dx, c.sx);
        EXPECT_EQ(dy, c.sy);
    }
    int dx = 1, dy = 1;
    EXPECT_TRUE(GridStep(dx, dy, {8, false}));
    EXPECT_EQ(dx, 1);
}

TEST_F(SurfaceRules, SnapToCornerTakesTheNearestCloserThanAGridStep)
{
    Add(gtMemo, 100, 100, 50, 20);
    Add(gtMemo, 152, 100, 50, 20);
    int x = 151, y = 101;
    ASSERT_TRUE(SnapToCorner(page, x, y, 4));
    EXPECT_EQ((TPoint{x, y}), (TPoint{150, 100}));
    x = 300, y = 300;
    EXPECT_FALSE(SnapToCorner(page, x, y, 4));
    EXPECT_EQ(x, 300);
}

TEST_F(SurfaceRules, HandlesPickCursorAndCorner)
{
    TfrView &v = Add(gtMemo, 100, 100, 40, 20, true);
    EXPECT_EQ(HandleCursor(v, 98, 98), TSurfaceCursor::SizeNWSE);
    EXPECT_EQ(HandleCursor(v, 143, 123), TSurfaceCursor::SizeNWSE);
    EXPECT_EQ(HandleCursor(v, 140, 100), TSurfaceCursor::SizeNESW);
    EXPECT_EQ(HandleCursor(v, 120, 121), TSurfaceCursor::SizeNS);
    EXPECT_EQ(HandleCursor(v, 100, 110), TSurfaceCursor::SizeWE);
    EXPECT_EQ(HandleCursor(v, 120, 110), TSurfaceCursor::Default);
    EXPECT_EQ(HandleCursor(v, 97, 97), TSurfaceCursor::Default);

    EXPECT_EQ(DecideResizeCorner(TSurfaceCursor::SizeNWSE, 0, v, 100, 100), 1);
    EXPECT_EQ(DecideResizeCorner(TSurfaceCursor::SizeNWSE, 0, v, 140, 120), 2);
    // Kept for the rest of the drag, wherever the mouse has gone.
    EXPECT_EQ(DecideResizeCorner(TSurfaceCursor::SizeNWSE, 1, v, 300, 300), 1);
    EXPECT_EQ(DecideResizeCorner(TSurfaceCursor::SizeNESW, 0, v, 140, 100), 3);
    EXPECT_EQ(DecideResizeCorner(TSurfaceCursor::SizeNESW, 0, v, 100, 120), 4);
    EXPECT_EQ(DecideResizeCorner(TSurfaceCursor::SizeWE, 0, v, 100, 110), 5);
    EXPECT_EQ(DecideResizeCorner(TSurfaceCursor::SizeWE, 0, v, 140, 110), 6);
    EXPECT_EQ(DecideResizeCorner(TSurfaceCursor::SizeNS, 0, v, 120, 100), 7);
    EXPECT_EQ(DecideResizeCorner(TSurfaceCursor::SizeNS, 0, v, 120, 120), 8);
}

TEST_F(SurfaceRules, TopLeftHandlePastTheCornerNormalises)
{
    TfrView &v = Add(gtMemo, 100, 100, 40, 20, true);
    ResizeByCorner(v, 1, 60, 32);
    EXPECT_EQ(BoxOf(v), (TBox{160, 132, -20, -12}));
    NormalizeObject(v);
    EXPECT_EQ(BoxOf(v), (TBox{140, 120, 20, 12}));

    struct Case { int corner; TBox after; };
    for (const Case c : {Case{2, {100, 100, 44, 28}}, Case{3, {100, 108, 44, 12}}, Case{4, {104, 100, 36, 28}},
                         Case{5, {104, 100, 36, 20}}, Case{6, {100, 100, 44, 20}}, Case{7, {100, 108, 40, 12}},
                         Case{8, {100, 100, 40, 28}}}) {
        TfrView &w = Add(gtMemo, 100, 100, 40, 20);
        ResizeByCorner(w, c.corner, 4, 8);
        EXPECT_EQ(BoxOf(w), c.after) << c.corner;
    }
}

TEST_F(SurfaceRules, ProportionalResizeRoundsHalvesToEven)
{
    TfrView &a = Add(gtMemo, 10, 10, 10, 10, true);
    TfrView &b = Add(gtMemo, 25, 10, 5, 30, true);
    int rb = -1;
    TPoint lt;
    ComputeSelectionBounds(page, rb, lt);
    ASSERT_TRUE(SelectionRectValid);
    EXPECT_EQ(rb, 1);
    EXPECT_EQ(SavedRect, (TRect{10, 10, 30, 40}));
    // Width 20 -> 25 (k 1.25), height 30 -> 15 (k 0.5).
    ResizeInProportion(page, {10, 10, 35, 25}, SavedRect, lt);
    // a: 0 * 1.25 = 0, 10 * 1.25 = 12.5 -> 12; b: 15 * 1.25 = 18.75 -> 19, (15 + 5) * 1.25 = 25.
    EXPECT_EQ(BoxOf(a), (TBox{10, 10, 12, 5}));
    EXPECT_EQ(BoxOf(b), (TBox{29, 10, 6, 15}));
    // Back to the saved size gives the saved rectangles exactly.
    ResizeInProportion(page, SavedRect, SavedRect, lt);
    EXPECT_EQ(BoxOf(a), (TBox{10, 10, 10, 10}));
    EXPECT_EQ(BoxOf(b), (TBox{25, 10, 5, 30}));
}

TEST_F(SurfaceRules, SelectionBoundsPickTheLowestOfEqualRightEdges)
{
    Add(gtMemo, 50, 0, 50, 80, true);
    Add(gtMemo, 0, 30, 100, 20, true);
    Add(gtMemo, 500, 500, 10, 10);
    int rb = -1;
    TPoint lt;
    ComputeSelectionBounds(page, rb, lt);
    EXPECT_EQ(rb, 0);
    EXPECT_EQ(lt, (TPoint{0, 0}));
    EXPECT_EQ(RubberRect, (TRect{0, 0, 100, 80}));
    page.TemplateObjects[1]->Selected = false;
    SelectedCount = 1;
    ComputeSelectionBounds(page, rb, lt);
    EXPECT_EQ(rb, -1);
    EXPECT_FALSE(SelectionRectValid);
}

TEST_F(SurfaceRules, SharedEdgeMovesBothObjectsUnlessOneVanishes)
{
    TfrView &a = Add(gtMemo, 40, 10, 60, 20, true);
    TfrView &b = Add(gtMemo, 100, 10, 50, 20, true);
    TSplitInfo split;
    EXPECT_FALSE(FindSharedEdge(page, 120, 20, split));
    ASSERT_TRUE(FindSharedEdge(page, 101, 20, split));
    EXPECT_EQ(split.EdgeX, 100);
    EXPECT_EQ(split.LeftObject, &a);
    EXPECT_EQ(split.RightObject, &b);
    EXPECT_EQ(split.Line, (TRect{100, 10, 100, 30}));
    ASSERT_TRUE(MoveSharedEdge(split, 20));
    EXPECT_EQ(BoxOf(a), (TBox{40, 10, 80, 20}));
    EXPECT_EQ(BoxOf(b), (TBox{120, 10, 30, 20}));
    // Past B's right edge: nothing changes.
    EXPECT_FALSE(MoveSharedEdge(split, 40));
    EXPECT_EQ(BoxOf(a), (TBox{40, 10, 80, 20}));
    EXPECT_EQ(BoxOf(b), (TBox{120, 10, 30, 20}));
    // A band never shares its edge.
    b.ReportObjectType = gtBand;
    EXPECT_FALSE(FindSharedEdge(page, 119, 20, split));
}

TEST_F(SurfaceRules, LinesAndInsertionRectangles)
{
    EXPECT_EQ(LineFromRubber({200, 50, 100, 60}), (TBox{100, 50, 100, 10}));
    EXPECT_EQ(LineFromRubber({50, 200, 60, 100}), (TBox{50, 100, 10, 100}));
    EXPECT_EQ(RubberLineEnd({200, 50, 100, 60}), (TRect{200, 50, 100, 50}));
    EXPECT_EQ(RubberLineEnd({10, 10, 14, 30}), (TRect{10, 10, 10, 30}));

    // A click with the text tool takes the preview.
    const TGrid g4{4, true}, g18{18, true};
    TRect preview = InsertionPreview(13, 22, false, 794, g4, 10);
    EXPECT_EQ(InsertionBox({12, 20, 12, 20}, preview, true, g4, 10), (TBox{12, 20, 96, 16}));
    preview = InsertionPreview(40, 40, false, 794, g18, 10);
    EXPECT_EQ(InsertionBox({36, 36, 36, 36}, preview, true, g18, 10), (TBox{36, 36, 108, 18}));
    // A flat drag with the picture tool: 40 x 40 at its left end; a text one takes the text size.
    EXPECT_EQ(InsertionBox({100, 40, 20, 40}, {}, false, g4, 10), (TBox{20, 40, 40, 40}));
    EXPECT_EQ(InsertionBox({20, 41, 101, 41}, {}, true, g4, 12), (TBox{20, 40, 96, 20}));
    // A drag the other way round is normalised and cut to the grid.
    EXPECT_EQ(InsertionBox({103, 90, 21, 41}, {}, false, g4, 10), (TBox{20, 40, 80, 48}));
    EXPECT_EQ(InsertionPreview(13, 22, true, 794, g4, 10), (TRect{12, 20, 806, 60}));
}

TEST_F(SurfaceRules, NewObjectsTakeTheLastFormatting)
{
    LastFrameTyp = frame::All;
    LastFrameWidth = 3;
    LastFillColor = clSilver;
    LastFontSize = 14;
    LastFontName = QString(40, u'W');
    LastAdjust = 0x0E;
    auto memo = CreateReportObject(gtMemo);
    ApplyNewObjectDefaults(*memo);
    auto &m = static_cast<TfrMemoView &>(*memo);
    EXPECT_EQ(m.FrameTyp, frame::All);
    EXPECT_EQ(m.FrameWidth, 3);
    EXPECT_EQ(m.FillColor, clSilver);
    EXPECT_EQ(m.FontSize, 14);
    EXPECT_EQ(m.FontName.size(), 32);
    EXPECT_EQ(m.Adjust, 0x0E);
    auto band = CreateReportObject(gtBand);
    static_cast<TfrBandView &>(*band).SetBandType(btMasterData);
    ApplyNewObjectDefaults(*band);
    EXPECT_EQ(static_cast<TfrBandView &>(*band).GetBandType(), btMasterData);
    // New objects show numbers with two decimals and the decimal comma.
    EXPECT_EQ(memo->DisplayFormat, FormatCode::Default());
    EXPECT_EQ(FormatCode::Category(memo->DisplayFormat), 0);
    EXPECT_EQ(FormatCode::Decimals(memo->DisplayFormat), 2);
    EXPECT_EQ(QChar(FormatCode::Separator(memo->DisplayFormat)), u',');
}

TEST_F(SurfaceRules, RubberSelectionIsTheSameBothWaysBandsIncluded)
{
    Add(gtBand, 0, 80, 794, 40);
    Add(gtMemo, 150, 150, 20, 20);
    Add(gtMemo, 290, 290, 30, 30);
    Add(gtMemo, 400, 400, 20, 20);
    Add(gtMemo, 10, 10, 50, 50);
    for (const TRect r : {TRect{100, 100, 300, 300}, TRect{300, 300, 100, 100}}) {
        DeselectAll(page);
        EXPECT_EQ(RubberSelect(page, r), 3);
        EXPECT_EQ(SelectedCount, 3);
        std::vector<bool> selected;
        for (auto &v : page.TemplateObjects)
            selected.push_back(v->Selected);
        EXPECT_EQ(selected, (std::vector<bool>{true, true, true, false, false}));
    }
}

TEST_F(SurfaceRules, ABandTakesAlongWhatLiesWhollyInsideIt)
{
    Add(gtBand, 0, 100, 794, 60, true);
    Add(gtMemo, 10, 110, 50, 20);
    Add(gtMemo, 100, 140, 50, 20);
    Add(gtMemo, 200, 150, 50, 20); // sticks out below
    Add(gtBand, 0, 120, 794, 20);  // bands stay behind
    EXPECT_EQ(SelectBandContents(page), 2);
    EXPECT_EQ(SelectedCount, 3);
    EXPECT_FALSE(page.TemplateObjects[3]->Selected);
    EXPECT_FALSE(page.TemplateObjects[4]->Selected);
}
