#pragma once
// Drawing of the whole network on a canvas: the screen's image or a printer
// page. One fixed sequence of passes (texts, branches, nodes, grid, fans,
// doors, flow arrows, node labels, branch labels, balloons, telephones), each
// switched by a drawing switch of scheme.ini and some by a check of the
// "Вид" menu. The renderer reads everything it needs through plain structs,
// so the same code draws on a test image, the screen and a printer.
#include "model/branch_values.h"
#include "model/network.h"
#include "platform/canvas.h"
#include "scheme/draw_switches.h"
#include "scheme/viewport.h"

#include <QtCore/QString>

#include <array>
#include <functional>
#include <vector>

// The scheme colour table as the drawing reads it (20 entries; the settings
// own the names and palettes).
constexpr int SchemeColorSlots = 20;
using TSchemeColorTable = std::array<TColor, SchemeColorSlots>;

// The checks of the "Вид" and "Задачи" menus and the tool state that the
// drawing follows.
struct TViewChecks
{
    bool Texts = false;          // "Показывать надписи"
    bool NodeShow = true;        // nodes: "Показывать"
    bool PLA = false;            // colouring "Цвета ПЛА"
    bool Phones = false;         // "Показывать телефоны"
    bool ThickBranches = false;  // "Толстые ветви"
    bool ReversalZone = false;   // colouring "Зона реверсирования"
    bool Symbols = true;         // "Показывать символы ветви"
    bool MoveTool = false;       // the move tool's button is down
    bool NodeNumbers = false;    // nodes: "Номера (&N)"
    bool NodeAltitudes = false;  // nodes: "Высотные отметки (&H)"
    bool NodePressures = false;  // nodes: "Давления (&P)"
    bool FixQHR = false;         // "Исследовать Q, H, R"
    bool Arrows = false;         // branches: "Стрелки"
    // Linear symbols.
    bool FireWaterPipe = false;
    bool Conveyor = false;
    bool ElectricCables = false;
    bool CompressedAirPipe = false;
    bool DegassingPipe = false;
};

enum TDrawTarget { dtScreen = 0, dtPrinter = 1 };

struct TSchemeDrawSettings
{
    TSchemeColorTable Colors{};
    TDrawSwitches Switches;
    TViewChecks Checks;
    bool ShowSheet = false;
    bool GridIsOn = false;
    int GridStep = 10;  // scheme units
    int SheetWidth = 1500;
    int SheetHeight = 1000;
    QString FontName = QStringLiteral("Arial");
    int Charset = 0;
    TDrawTarget DrawTarget = dtScreen;
};

// The screen's resolution, in whose pixels the view gives its drawing sizes.
constexpr int ScreenPixelsPerInch = 96;

// The sizes the view gives in pixels (thick bands and their edges, node
// radii, flow arrows, symbol squares) as a canvas draws them. On the screen
// they are those of the view's zoom step. A printed page shows them at the
// size they have on the screen at the page's scale: the sizes of the step
// nearest to that scale on the screen, enlarged by the printer's resolution
// over the screen's. Texts keep the view's step: their points follow the
// resolution by themselves.
struct TPixelSizes
{
    double Scale = 1;  // canvas pixels per screen pixel
    int Step = 0;      // the zoom step whose sizes apply
    // A size in screen pixels in the canvas's pixels, rounded.
    int operator()(double screenPixels) const;
};
TPixelSizes PixelSizesFor(const TCanvas &canvas, const TViewport &view, const TSchemeDrawSettings &settings);
// Canvas pixels per screen pixel: the printer's resolution over the screen's
// on a printed page, else 1.
double PixelScale(const TCanvas &canvas, const TSchemeDrawSettings &settings);

// The scheme font at the label size of the zoom step, plain.
void SetSchemeDefaultFont(TCanvas &canvas, const TSchemeDrawSettings &settings, int zoomStep);

// What other parts of the program draw into the scheme. Each is optional.
// The placed objects are drawn through the view and settings of the
// drawing in progress (the screen's or a printed page's).
using TOverlayDraw = std::function<void(TCanvas &, const TViewport &, const TSchemeDrawSettings &)>;
struct TSchemeOverlays
{
    TOverlayDraw DrawTexts;
    // The symbols on a branch, drawn over its segments; color is the branch's.
    std::function<void(TCanvas &, const TViewport &, const TSchemeDrawSettings &, int branch, bool thick,
                       TColor color)>
        DrawBranchSymbols;
    TOverlayDraw DrawBalloons;
    TOverlayDraw DrawPhones;
    // Pressure of every node (index = node number); false when they could not be computed.
    std::function<bool(std::vector<double> &)> NodePressures;
};

// Keeps a drawing from starting while another runs (a paint requested from
// a message pumped during printing is dropped). Released however the drawing ends.
struct TPaintGuard
{
    bool Active = false;
};

// The first and last segment of a branch's point list as (x1, y1, x2, y2);
// (0, 0, 200, 200) when the branch does not exist. A branch with fewer than
// two points is an internal error.
TRect BranchFirstSegment(const TNetworkTables &t, int n);
TRect BranchLastSegment(const TNetworkTables &t, int n);

// The lines of a branch's label, in the order they are written.
std::vector<QString> BranchLabelLines(const TNetworkTables &t, int n, const TViewChecks &checks);
// The lines of a node's label.
std::vector<QString> NodeLabelLines(const TNetworkTables &t, int n, double pressure, const TViewChecks &checks);

class TSchemeRenderer
{
public:
    TSchemeRenderer(const TNetworkTables &t, const TBranchColors &colors, const TViewport &view,
                    const TSchemeDrawSettings &settings, const TSchemeOverlays &overlays = {});

    // The whole view of width × height: background, sheet and scheme.
    // screen: the display's size, which bounds the sheet's rectangle.
    void Redraw(TCanvas &canvas, int width, int height, TSize screen, TPaintGuard &guard);
    // Every pass on the canvas; false when another drawing was running.
    bool PaintScheme(TCanvas &canvas, TPaintGuard &guard);

    void DrawBranch(TCanvas &canvas, int n);
    void DrawBranchSegment(TCanvas &canvas, int n, bool thick, int width, int x1, int y1, int x2, int y2,
                           TColor color);
    void DrawNode(TCanvas &canvas, int n, int radius);
    void DrawGrid(TCanvas &canvas);
    void DrawMainFans(TCanvas &canvas);
    void DrawLocalFans(TCanvas &canvas);
    void DrawDoors(TCanvas &canvas);
    void DrawFlowArrows(TCanvas &canvas);
    void DrawFlowArrow(TCanvas &canvas, int n);
    void DrawArrowHead(TCanvas &canvas, int x1, int y1, int x2, int y2, double size);
    void DrawNodeLabelsPass(TCanvas &canvas);
    void DrawNodeLabel(TCanvas &canvas, int n, double pressure);
    void DrawBranchLabelsPass(TCanvas &canvas);
    void DrawBranchLabels(TCanvas &canvas, int n);
    // Scheme font, label size of the zoom step, plain.
    void SetDefaultFont(TCanvas &canvas) const;

    // The branch drawn last.
    int CurrentBranch = 0;

private:
    int SX(double x) const { return m_view.ScreenX(x); }
    int SY(double y) const { return m_view.ScreenY(y); }
    TColor SchemeColor(int index) const { return m_settings.Colors[static_cast<std::size_t>(index)]; }
    void DrawMainFanSymbol(TCanvas &canvas, int x, int y);
    void DrawLocalFanSymbol(TCanvas &canvas, int x, int y);
    void DrawDoorMark(TCanvas &canvas, const TRect &segment);

    const TNetworkTables &m_t;
    const TBranchColors &m_colors;
    const TViewport &m_view;
    const TSchemeDrawSettings &m_settings;
    TSchemeOverlays m_overlays;
};
