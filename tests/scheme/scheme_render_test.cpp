#include "scheme/scheme_render.h"

#include "scheme/branch_symbols.h"
#include "scheme/scheme_print.h"

#include "scheme_test_network.h"

#include "platform/exceptions.h"

#include <gtest/gtest.h>

#include <climits>
#include <set>

namespace {
using Op = TRecordingCanvas::TOpKind;

class SchemeRenderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        View.Zoom = 1;
        View.ZoomStep = 4;
        Canvas.CharWidth = 6;
        Canvas.CellExtra = 0;
        Canvas.DeviceRect = {0, 0, 400, 300};
    }

    TSchemeRenderer Renderer(const TSchemeOverlays &overlays = {})
    {
        return TSchemeRenderer(T, Colors, View, Settings, overlays);
    }

    std::vector<const TRecordingCanvas::TOp *> OpsOf(Op kind) const
    {
        std::vector<const TRecordingCanvas::TOp *> ops;
        for (const auto &op : Canvas.Ops)
            if (op.Kind == kind)
                ops.push_back(&op);
        return ops;
    }

    TNetworkTables T{};
    TBranchColors Colors{};
    TViewport View;
    TSchemeDrawSettings Settings;
    TRecordingCanvas Canvas;
};

} // namespace

TEST_F(SchemeRenderTest, BranchLabelLinesFollowTheBitsInTheirOrder)
{
    AddTestNode(T, 1, 0, 0);
    AddTestNode(T, 2, 100, 0);
    AddTestBranch(T, 1, 1, 2);
    T.BranchR[1] = 0.5;
    T.BranchQ[1] = -2.5;
    T.BranchStartTemp[1] = -40;
    T.BranchPLAPosition[1] = 7;
    T.BranchPeople[1] = 3;
    T.BranchLabelFlags[1] = static_cast<std::int16_t>(lfPLAPosition | lfStartTemp | lfQ | lfR | lfNumber | lfName
                                                      | lfPeople);
    TViewChecks checks;
    const std::vector<QString> plain = {"1", "R=0,50000", "Q=-2,50", "Люди=3", "TN=", "ПЛА=7"};
    EXPECT_EQ(BranchLabelLines(T, 1, checks), plain);

    // Arrows show the direction, so the flow loses its sign; the study adds
    // the baseline and its change in per cent under each value.
    checks.Arrows = true;
    checks.FixQHR = true;
    T.BranchRBaseline[1] = 0.25;
    T.BranchQBaseline[1] = -5;
    T.BranchLabelFlags[1] = static_cast<std::int16_t>(lfR | lfQ);
    const std::vector<QString> study = {"R=0,50000", "R\"=0,25000 (100,0%)", "Q=2,50", "Q\"=-5,00 (-50,0%)"};
    EXPECT_EQ(BranchLabelLines(T, 1, checks), study);

    T.BranchLabelFlags[1] = lfName;
    EXPECT_TRUE(BranchLabelLines(T, 1, checks).empty());
}

TEST_F(SchemeRenderTest, LabelBoxSitsBesideTheFirstSegmentWithALeaderUnlessOnlyTheArrowIsSet)
{
    AddTestNode(T, 1, 100, 100);
    AddTestNode(T, 2, 200, 100);
    AddTestBranch(T, 1, 1, 2);
    T.BranchQ[1] = 1;
    Canvas.Font.Height = -10;
    const struct
    {
        std::int32_t Flags;
        bool Box, Leader;
    } cases[] = {{lfQ, true, true}, {lfName, false, false}, {lfArrow, false, false},
                 {lfArrow | lfName, false, false}, {lfArrow | lfQ, true, true}};
    for (const auto &c : cases) {
        Canvas.Clear();
        T.BranchLabelFlags[1] = static_cast<std::int16_t>(c.Flags);
        TSchemeRenderer r = Renderer();
        r.SetDefaultFont(Canvas);
        Canvas.Font.Height = -10;
        r.DrawBranchLabels(Canvas, 1);
        const auto boxes = OpsOf(Op::Rectangle);
        ASSERT_EQ(boxes.size(), c.Box ? 1u : 0u) << c.Flags;
        ASSERT_EQ(OpsOf(Op::LineTo).size(), c.Leader ? 1u : 0u) << c.Flags;
        if (c.Box) {
            // Anchor at the first segment's middle (150, 100), box 10 right and 10 up.
            EXPECT_EQ(boxes[0]->Rect.Left, 160);
            EXPECT_EQ(boxes[0]->Rect.Top, 90);
            // The leader runs to the nearest corner: the bottom-left one.
            EXPECT_EQ(OpsOf(Op::LineTo)[0]->Points, (std::vector<TPoint>{{150, 100}, {160, 102}}));
        }
    }
}

TEST_F(SchemeRenderTest, NodeLabelsOnlyWithAChosenValue)
{
    AddTestNode(T, 3, 40, 60);
    T.NodeAltitude[3] = -120.5;
    TSchemeRenderer r = Renderer();
    r.DrawNodeLabelsPass(Canvas);
    EXPECT_TRUE(Canvas.Ops.empty());

    Settings.Checks.NodeNumbers = true;
    Settings.Checks.NodeAltitudes = true;
    TSchemeRenderer labelled = Renderer();
    labelled.DrawNodeLabelsPass(Canvas);
    EXPECT_EQ(Canvas.Texts(), (QStringList{"3", "H: -120,5"}));
    const auto leader = OpsOf(Op::LineTo);
    ASSERT_EQ(leader.size(), 1u);
    EXPECT_EQ(leader[0]->Points.front(), (TPoint{40, 60}));
    EXPECT_EQ(Canvas.FindText("3")->At, (TPoint{57, 45}));
}

TEST_F(SchemeRenderTest, ArrowPointsAlongTheFlowAndNeedsALongEnoughSegment)
{
    AddTestNode(T, 1, 0, 50);
    AddTestNode(T, 2, 100, 50);
    AddTestBranch(T, 1, 1, 2);
    T.BranchLabelFlags[1] = lfArrow;
    T.BranchIsFresh[1] = 1;
    const struct
    {
        double Q;
        int TipX;
    } cases[] = {{2, 55}, {0, 45}, {-1, 45}};
    for (const auto &c : cases) {
        Canvas.Clear();
        T.BranchQ[1] = c.Q;
        Renderer().DrawFlowArrows(Canvas);
        const auto heads = OpsOf(Op::Polygon);
        ASSERT_EQ(heads.size(), 1u);
        EXPECT_EQ(heads[0]->Points[0], (TPoint{c.TipX, 50})) << c.Q;
        EXPECT_EQ(heads[0]->Brush.Color, clRed);
    }
    // 0.4 × 32 < 13: too short for an arrow; 33 pixels take one.
    for (const auto &[length, drawn] : {std::pair{32, false}, {33, true}}) {
        Canvas.Clear();
        Renderer().DrawArrowHead(Canvas, 0, 0, length, 0, 1);
        EXPECT_EQ(!OpsOf(Op::Polygon).empty(), drawn) << length;
    }
}

// A damaged scheme file's bend points at the ends of the int range: the
// arrow still stands on its segment and points along the flow, and a point
// that would fall past the range stays at its end instead of wrapping round.
TEST_F(SchemeRenderTest, ArrowsOfBranchesWithExtremeBendPointsStayOnTheirSegment)
{
    AddTestNode(T, 1, 0, 50);
    AddTestNode(T, 2, 100, 50);
    AddTestBranch(T, 1, 1, 2);
    T.BranchLabelFlags[1] = lfArrow;
    const struct
    {
        const char *Name;
        double Zoom;
        TPoint From, To;
        double Q;
        bool Drawn;
        int TipX;   // on the line y = 50
        int ShaftX; // the shaft's far end
    } cases[] = {
        {"across the whole range", 1, {-2000000000, 50}, {2000000000, 50}, 1, true, 200000000, 199999970},
        {"across, against the flow", 1, {-2000000000, 50}, {2000000000, 50}, -1, true, -200000000, -199999970},
        {"at the range's end, against the flow", 1, {INT_MAX - 40, 50}, {INT_MAX, 50}, -1, true, INT_MAX - 22, INT_MAX},
        {"zoomed past the range", 26, {1000000000, 50}, {2000000000, 50}, 1, false, 0, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        View.Zoom = c.Zoom;
        T.BranchTurns[1]->back() = TTurn(1, c.To.X, c.To.Y);
        T.BranchTurns[1]->front() = TTurn(1, c.From.X, c.From.Y);
        T.BranchQ[1] = c.Q;
        Canvas.Clear();
        Renderer().DrawFlowArrows(Canvas);
        const auto heads = OpsOf(Op::Polygon);
        ASSERT_EQ(heads.size(), c.Drawn ? 1u : 0u);
        if (!c.Drawn)
            continue;
        const std::vector<TPoint> &head = heads[0]->Points;
        EXPECT_EQ(head[0], (TPoint{c.TipX, 50}));
        // The wings trail the tip, on either side of the line.
        for (const TPoint &wing : {head[1], head[2]})
            EXPECT_EQ(wing.X < c.TipX, c.Q > 0) << wing.X;
        EXPECT_LT((head[1].Y - 50) * (head[2].Y - 50), 0);
        const auto shafts = OpsOf(Op::LineTo);
        ASSERT_EQ(shafts.size(), 1u);
        EXPECT_EQ(shafts[0]->Points[1], (TPoint{c.ShaftX, 50}));
    }
}

// Scrolled past the int range, a surface node, its label and a branch's
// label are drawn at the range's ends: the steps around them (the node's
// circle and surface marks, the label's offset, box and leader) stay on
// that side instead of wrapping round to the other.
TEST_F(SchemeRenderTest, NodesAndLabelsScrolledPastTheRangeStayAtItsEnds)
{
    AddTestNode(T, 1, 100, 100);
    AddTestNode(T, 2, 200, 100);
    AddTestBranch(T, 1, 1, 2);
    T.BranchQ[1] = 1;
    T.BranchLabelFlags[1] = lfQ;
    T.NodeIsSurface[1] = 1;
    Settings.Checks.NodeNumbers = true;
    for (const auto &[scrollX, scrollY] : {std::pair{-3e9, 3e9}, std::pair{3e9, -3e9}}) {
        View.ScrollX = scrollX;
        View.ScrollY = scrollY;
        const bool right = scrollX < 0, down = scrollY < 0;
        SCOPED_TRACE(right ? "right and up" : "left and down");
        Canvas.Clear();
        TSchemeRenderer r = Renderer();
        r.SetDefaultFont(Canvas);
        r.DrawNode(Canvas, 1, 4);
        r.DrawNodeLabelsPass(Canvas);
        r.DrawBranchLabels(Canvas, 1);
        ASSERT_GE(OpsOf(Op::Ellipse).size(), 2u);
        ASSERT_EQ(OpsOf(Op::Rectangle).size(), 1u);
        const auto onItsSide = [&](TPoint p) {
            EXPECT_EQ(p.X > 0, right) << p.X;
            EXPECT_EQ(p.Y > 0, down) << p.Y;
        };
        for (const auto &op : Canvas.Ops) {
            for (const TPoint &p : op.Points)
                onItsSide(p);
            if (op.Kind == Op::Ellipse || op.Kind == Op::Rectangle) {
                onItsSide({op.Rect.Left, op.Rect.Top});
                onItsSide({op.Rect.Right, op.Rect.Bottom});
            }
            if (op.Kind == Op::TextOut)
                onItsSide(op.At);
        }
    }
}

TEST_F(SchemeRenderTest, PrinterArrowsUseThePrintMultiplierAndTheGridStaysOnTheScreen)
{
    Settings.GridIsOn = true;
    Settings.Switches.ArrowDraw = 1;
    Settings.Switches.ArrowPrint = 3;
    Renderer().DrawGrid(Canvas);
    EXPECT_FALSE(OpsOf(Op::SetPixel).empty());
    Renderer().DrawArrowHead(Canvas, 0, 0, 100, 0, 1);
    const TPoint screenBase = OpsOf(Op::Polygon).back()->Points[1];

    Settings.DrawTarget = dtPrinter;
    Canvas.Clear();
    Renderer().DrawGrid(Canvas);
    EXPECT_TRUE(OpsOf(Op::SetPixel).empty());
    Renderer().DrawArrowHead(Canvas, 0, 0, 100, 0, 1);
    const TPoint printBase = OpsOf(Op::Polygon).back()->Points[1];
    EXPECT_EQ(55 - screenBase.X, 3);
    EXPECT_EQ(55 - printBase.X, 9);

    // Cells under about 3 pixels are not drawn at all, nor is a grid of no step.
    Settings.DrawTarget = dtScreen;
    for (auto [zoom, step] : {std::pair{0.1, 10}, {1.0, 0}}) {
        Canvas.Clear();
        View.Zoom = zoom;
        Settings.GridStep = step;
        Renderer().DrawGrid(Canvas);
        EXPECT_TRUE(OpsOf(Op::SetPixel).empty());
    }
}

TEST_F(SchemeRenderTest, GuardDropsANestedPaintAndIsReleasedWhenAPassFails)
{
    TPaintGuard guard;
    TSchemeOverlays overlays;
    bool nested = true;
    Settings.Checks.Texts = true;
    overlays.DrawTexts = [&](TCanvas &canvas, const TViewport &, const TSchemeDrawSettings &) {
        TSchemeRenderer inner = Renderer();
        nested = inner.PaintScheme(canvas, guard);
    };
    EXPECT_TRUE(Renderer(overlays).PaintScheme(Canvas, guard));
    EXPECT_FALSE(nested);
    EXPECT_FALSE(guard.Active);

    overlays.DrawTexts = [](TCanvas &, const TViewport &, const TSchemeDrawSettings &) { throw Exception(QStringLiteral("broken text")); };
    EXPECT_THROW(Renderer(overlays).PaintScheme(Canvas, guard), Exception);
    EXPECT_FALSE(guard.Active);
    EXPECT_TRUE(Renderer().PaintScheme(Canvas, guard));
}

TEST_F(SchemeRenderTest, SegmentsOfABranchWithoutPointsAreAnInternalError)
{
    AddTestNode(T, 1, 0, 0);
    AddTestNode(T, 2, 10, 0);
    AddTestBranch(T, 1, 1, 2);
    EXPECT_EQ(BranchFirstSegment(T, 5), (TRect{0, 0, 200, 200}));
    EXPECT_EQ(BranchLastSegment(T, 1), (TRect{0, 0, 10, 0}));
    T.BranchTurns[1]->resize(1);
    try {
        BranchLastSegment(T, 1);
        FAIL();
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().startsWith("Internal Error."));
        EXPECT_TRUE(e.Message().contains("Branch turns integrity fails, TurnsCount <= 1"));
    }
}

TEST_F(SchemeRenderTest, LinearSymbolsRunBesideTheSegmentAndZeroLengthSegmentsAreSkipped)
{
    AddTestNode(T, 1, 10, 10);
    AddTestNode(T, 2, 110, 10);
    AddTestBranch(T, 1, 1, 2);
    T.BranchFlags[1] = bfConveyor | bfDegassingPipe;
    Settings.Checks.Conveyor = true;
    Settings.Colors[16] = 0x00AA00;
    View.Zoom = 10;
    Renderer().DrawBranchSegment(Canvas, 1, false, 1, 10, 10, 110, 10, clBlack);
    const auto lines = OpsOf(Op::LineTo);
    ASSERT_EQ(lines.size(), 2u);  // the branch and the conveyor; degassing is not shown
    EXPECT_EQ(lines[1]->Pen.Color, 0x00AA00);
    EXPECT_EQ(lines[1]->Points.front(), (TPoint{100, 86}));  // y 10 − 1.4 at zoom 10

    Canvas.Clear();
    Renderer().DrawBranchSegment(Canvas, 1, true, 8, 10, 10, 10, 10, clBlack);
    EXPECT_TRUE(Canvas.Ops.empty());
}

namespace {
std::vector<int> SymbolSides;

void RecordSymbolSide(tunvex_api::TunvexSymbolDC *, const tunvex_api::TunvexPoint *p1,
                      const tunvex_api::TunvexPoint *p2, const tunvex_api::TunvexPoint *, const tunvex_api::TunvexPoint *,
                      std::int32_t)
{
    SymbolSides.push_back(p1->X - p2->X);
}
const char *SensorName() { return "Sensor"; }
const char *SensorDescription() { return "Test sensor"; }
} // namespace

// A page of a 1200 dpi printer at the scale that the screen shows at zoom 3
// carries the screen's bands, edges, nodes, arrows and symbols 12.5 times as
// many pixels wide, so they measure on paper what they measure on the
// screen; the labels keep the page's own step.
TEST_F(SchemeRenderTest, APrintedPageShowsTheScreensPixelSizesAtItsScale)
{
    AddTestNode(T, 1, 0, 0);
    AddTestNode(T, 2, 200, 0);
    AddTestBranch(T, 1, 1, 2);
    T.BranchQ[1] = 5;
    T.BranchLength[1] = 200;
    T.BranchLabelFlags[1] = static_cast<std::int16_t>(lfArrow | lfNumber);
    TBranchSymbolList symbols;
    symbols.Add(SensorName, SensorDescription, RecordSymbolSide);
    TLinkList links;
    links.push_back(TLink(1, 100, QStringLiteral("Sensor")));
    TSchemeOverlays overlays;
    overlays.DrawBranchSymbols = [&](TCanvas &canvas, const TViewport &view, const TSchemeDrawSettings &settings,
                                     int branch, bool thick, TColor color) {
        DrawBranchSymbols(canvas, {T, links, symbols, view, settings}, branch, thick, color);
    };
    Settings.Checks.ThickBranches = true;
    Settings.Switches.ArrowDraw = Settings.Switches.ArrowPrint = 1;

    struct TMeasures
    {
        std::set<int> LineWidths;  // edges, arrow shaft, band
        int NodeDiameter = 0;
        int ArrowHeadLength = 0;
        std::vector<int> SymbolSides;
        int LabelPoints = 0;
    };
    const auto paint = [&](TRecordingCanvas &canvas, double zoom, int step, TDrawTarget target) {
        View.Zoom = zoom;
        View.ZoomStep = step;
        Settings.DrawTarget = target;
        SymbolSides.clear();
        TPaintGuard guard;
        Renderer(overlays).PaintScheme(canvas, guard);
        TMeasures m;
        for (const auto &op : canvas.Ops) {
            if (op.Kind == Op::LineTo)
                m.LineWidths.insert(op.Pen.Width);
            else if (op.Kind == Op::Ellipse)
                m.NodeDiameter = op.Rect.Width();
            else if (op.Kind == Op::Polygon)
                m.ArrowHeadLength = op.Points[0].X - op.Points[1].X;
            else if (op.Kind == Op::TextOut)
                m.LabelPoints = op.Font.Size;
        }
        m.SymbolSides = SymbolSides;
        return m;
    };
    TRecordingCanvas screen;
    const TMeasures onScreen = paint(screen, 3, 3, dtScreen);
    EXPECT_EQ(onScreen.LineWidths, (std::set<int>{1, 2, 3, 6}));  // 1: the label's leader
    EXPECT_EQ(onScreen.NodeDiameter, 6);
    EXPECT_EQ(onScreen.ArrowHeadLength, 9);
    EXPECT_EQ(onScreen.SymbolSides, std::vector<int>{6});
    EXPECT_EQ(onScreen.LabelPoints, LabelFontSizes[3]);

    TRecordingCanvas page(1200, 1200, true);
    const double pageZoom = 3 * 12.5;
    const TMeasures onPaper = paint(page, pageZoom, NearestZoomIndex(pageZoom), dtPrinter);
    EXPECT_EQ(onPaper.LineWidths, (std::set<int>{1, 25, 38, 75}));
    EXPECT_EQ(onPaper.NodeDiameter, 76);
    EXPECT_NEAR(onPaper.ArrowHeadLength, 9 * 12.5, 1);
    EXPECT_EQ(onPaper.SymbolSides, std::vector<int>{74});  // 75, placed by whole half sides
    EXPECT_EQ(onPaper.LabelPoints, LabelFontSizes[LastZoomStep]);
}
