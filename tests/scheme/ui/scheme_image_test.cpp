// The scheme drawn on a real image: sampled pixels show what the engineer sees.
#include "scheme/scheme_render.h"

#include "../scheme_test_network.h"

#include "platform/ui/qt_canvas.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor Background = 0xF0FAFA;
constexpr TColor BranchColor = 0x804000;
constexpr TColor NodeFill = 0x00C0FF;
constexpr TColor GridColor = 0x008080;
constexpr TColor DoorColor = 0x00A000;
constexpr TColor LabelFill = 0xA0FFFF;

// Branches laid out apart from each other on a 400 × 300 view at zoom 1:
//   1 working (50,50)-(150,50)     2 leak (50,100)-(150,100)    3 longwall (50,150)-(150,150)
//   4 door (200,50)-(280,50)       5 arrow on 30 px (200,100)-(230,100)
//   6 arrow on 40 px (200,150)-(240,150)
//   7 flow label (20,210)-(60,210) 8 name only (160,210)-(200,210)
class SchemeImageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const int points[][4] = {{50, 50, 150, 50},   {50, 100, 150, 100}, {50, 150, 150, 150},
                                 {200, 50, 280, 50},  {200, 100, 230, 100}, {200, 150, 240, 150},
                                 {20, 210, 60, 210},  {160, 210, 200, 210}};
        const int kinds[] = {0, 1, 7, 3, 0, 0, 0, 0};
        for (int b = 1; b <= 8; ++b) {
            const auto &p = points[b - 1];
            AddTestNode(T, 2 * b - 1, p[0], p[1]);
            AddTestNode(T, 2 * b, p[2], p[3]);
            AddTestBranch(T, b, 2 * b - 1, 2 * b, kinds[b - 1]);
            Colors[b] = BranchColor;
            T.BranchQ[b] = 10;
        }
        T.BranchLabelFlags[5] = lfArrow;
        T.BranchLabelFlags[6] = lfArrow;
        T.BranchIsFresh[5] = T.BranchIsFresh[6] = 1;
        T.BranchLabelFlags[7] = lfQ;
        T.BranchLabelFlags[8] = lfName;

        View.Zoom = 1;
        View.ZoomStep = 4;  // thick bands 8 pixels wide
        Settings.Colors.fill(clBlack);
        Settings.Colors[0] = Background;
        Settings.Colors[1] = BranchColor;
        Settings.Colors[2] = NodeFill;
        Settings.Colors[3] = GridColor;
        Settings.Colors[12] = DoorColor;
        Settings.Colors[14] = LabelFill;
        Settings.ShowSheet = true;
        Settings.SheetWidth = 300;
        Settings.SheetHeight = 250;
        Settings.GridIsOn = true;
    }

    void Draw()
    {
        Image = QImage(400, 300, QImage::Format_RGB32);
        Image.fill(Qt::black);
        TQtCanvas canvas(&Image);
        TPaintGuard guard;
        TSchemeRenderer(T, Colors, View, Settings).Redraw(canvas, 400, 300, {1920, 1080}, guard);
    }

    TColor At(int x, int y) const { return QColorToTColor(QColor(Image.pixel(x, y))); }
    int Count(TColor color, int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += At(x, y) == color;
        return n;
    }

    TNetworkTables T{};
    TBranchColors Colors{};
    TViewport View;
    TSchemeDrawSettings Settings;
    QImage Image;
};

} // namespace

TEST_F(SchemeImageTest, SheetBackgroundNodesGridAndThinBranches)
{
    Draw();
    EXPECT_EQ(At(355, 285), clGray);       // outside the sheet
    EXPECT_EQ(At(295, 245), Background);   // inside it
    EXPECT_EQ(At(51, 51), NodeFill);       // node circle of radius 4
    EXPECT_EQ(At(46, 50), clBlack);        // its outline
    EXPECT_EQ(At(105, 50), BranchColor);   // working, thin
    EXPECT_EQ(At(390, 290), GridColor);    // a grid point outside the sheet
    EXPECT_EQ(At(385, 290), clGray);
    EXPECT_EQ(At(240, 52), DoorColor);     // the door's bar across its branch
    // The leak: white dots with gaps in the background colour.
    EXPECT_GT(Count(clWhite, 60, 100, 140, 101), 15);
    EXPECT_GT(Count(Background, 60, 100, 140, 101), 15);
}

TEST_F(SchemeImageTest, ThickModeKeepsLeaksThinDashesTheLongwallAndDropsDoorBars)
{
    Settings.Checks.ThickBranches = true;
    Draw();
    EXPECT_EQ(At(105, 50), BranchColor);  // band centre
    EXPECT_EQ(At(105, 47), BranchColor);  // still band, 8 pixels wide
    EXPECT_EQ(At(105, 44), clBlack);      // edge outside it
    // Leak stays one dotted pixel row.
    EXPECT_GT(Count(clWhite, 60, 100, 140, 101), 15);
    EXPECT_EQ(Count(clWhite, 60, 96, 140, 100), 0);
    EXPECT_EQ(Count(clWhite, 60, 101, 140, 105), 0);
    // Longwall: one solid edge above the band, one dashed below (white gaps).
    EXPECT_EQ(Count(clBlack, 60, 145, 140, 146), 80);
    EXPECT_GT(Count(clBlack, 60, 155, 140, 156), 30);
    EXPECT_GT(Count(clWhite, 60, 155, 140, 156), 10);
    EXPECT_NE(At(240, 52), DoorColor);
}

TEST_F(SchemeImageTest, ArrowsNeedLongEnoughSegmentsAndOnlyValueBitsGetALabelBox)
{
    Draw();
    EXPECT_EQ(Count(clRed, 195, 90, 235, 110), 0);
    EXPECT_GT(Count(clRed, 195, 140, 245, 160), 20);
    // The flow label's box beside branch 7 (anchor (40, 210), box from (50, 200)).
    EXPECT_GT(Count(LabelFill, 50, 200, 80, 215), 30);
    // The name alone shows nothing beside branch 8.
    EXPECT_EQ(Count(LabelFill, 205, 195, 260, 225), 0);
    EXPECT_EQ(Count(clBlack, 205, 195, 260, 209), 0);
}

TEST_F(SchemeImageTest, PrinterPageHasNoGridAndAHiddenSheetLeavesAllBackground)
{
    Settings.DrawTarget = dtPrinter;
    Draw();
    EXPECT_EQ(At(390, 290), clGray);
    Settings.ShowSheet = false;
    Draw();
    EXPECT_EQ(At(355, 285), Background);
    EXPECT_EQ(At(301, 125), Background);  // where the sheet's frame would be
}
