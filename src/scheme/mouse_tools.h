#pragma once
// The mouse tools of the scheme's paint box: the default tool (pointer
// tracking, hover labels, the object search, Ctrl selection), the node and
// branch tools, the rectangle selection, the move tool with its node mover,
// the view tools, the fire tool, the fire-source search and the boost tool.
// One controller keeps which tool is chosen and what a drag or a branch in
// progress holds; the window behind it (dialogs, menus, labels, the image the
// Xor feedback goes to) is reached through TMouseToolHost, so the protocol
// runs headless in tests.
#include "model/branch_values.h"
#include "model/geometry_queries.h"
#include "model/mine_objects.h"
#include "model/network.h"
#include "platform/canvas.h"
#include "scheme/scheme_objects.h"
#include "scheme/viewport.h"

#include <QtCore/QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// ToolMode values; also the paint box's cursor number away from the edges.
enum : int {
    tmDefault = 0,
    tmZoomIn = 3,
    tmZoomOut = 4,
    tmCenter = 8,
    tmBranchDrawing = 9,
    tmNode = 10,
    tmSelection = 20,
    tmBoost = 24,
    tmPhone = 25,
    tmText = 26,
    tmPlacing = -2,  // balloon, move, fire modelling, fire-source search
};

// The buttons of the drawing bar that choose a tool.
enum class TTool {
    Default,
    Selection,
    Node,
    Branch,
    Balloon,
    Phone,
    Text,
    Move,
    FireModelling,
    FindFire,
    Boost,
    ZoomIn,
    ZoomOut,
    Center,
};

enum class TMouseButton { Left, Right, Middle };

// One mouse event over the paint box, in pixels.
struct TMouseInput
{
    TMouseButton Button = TMouseButton::Left;
    bool Shift = false;
    bool Ctrl = false;
    int X = 0;
    int Y = 0;
};

// The scheme colour slots the tools paint with.
constexpr int SchemeColorBranch = 1;
constexpr int SchemeColorSmoke = 5;  // "Задымление"

// The caption of a new branch until the engineer names it.
extern const QString UnnamedBranchName;
extern const QString SameEndNodesMessage;

// What the status line shows about the pointer.
struct TPointerStatus
{
    QString X, Y, Node, Branch;
    bool XOutside = false;  // red: outside the sheet
    bool YOutside = false;
};

// What the tools need of the window around the paint box.
class TMouseToolHost
{
public:
    virtual ~TMouseToolHost() = default;
    virtual int ToolMode() const = 0;
    // Stores the mode; the paint box shows its cursor.
    virtual void SetToolMode(int mode) = 0;
    virtual void SetCursor(int number) = 0;
    virtual int EdgeCursor(int x, int y) const = 0;
    // Re-centres the view on a click near the edges (true); the view is redrawn.
    virtual bool EdgeScroll(int x, int y) = 0;
    virtual void Redraw() = 0;
    virtual void SetModified() = 0;
    // A branch the user made or changed: the document is modified and the menus follow.
    virtual void ObjectChanged(std::unique_ptr<TMineObject> snapshot, TChangeKind kind) = 0;
    virtual TColor SchemeColor(int index) const = 0;
    virtual void SetStandardColors() = 0;
    virtual bool PLAColoring() const = 0;
    virtual bool SnapToGrid() const = 0;
    virtual int GridStep() const = 0;
    virtual bool NewObjectsFirstFree() const = 0;
    virtual bool ShowSheet() const = 0;
    virtual TSize SheetSize() const = 0;
    virtual void ShowPointer(const TPointerStatus &status) = 0;
    // Draws feedback straight into the picture the paint box shows.
    virtual void DrawFeedback(const std::function<void(TCanvas &)> &draw) = 0;
    // The node dialog: a new node ("Новый узел, №n") or an existing one.
    virtual bool EditNode(const QString &caption, int &node, bool deletable) = 0;
    // The branch dialog; plaPage opens it on its page "ПЛА".
    virtual bool EditBranch(const QString &caption, int branch, bool deletable, bool plaPage) = 0;
    virtual void UpdateMenus() = 0;
    // The scheme's right-click menu at the pointer.
    virtual void ShowSchemePopup() = 0;
    // The object search popup: one item per code with its caption.
    virtual void ShowFoundPopup(const std::vector<std::pair<std::int32_t, QString>> &items) = 0;
    virtual void ZoomTool(int x, int y, int direction) = 0;
    virtual void CenterTool(int x, int y) = 0;
    // The fire model at a branch; false when its window could not be made.
    virtual bool FireModelAt(int branch) = 0;
    virtual void BoostAt(int branch) = 0;
    // The balloons, telephones and texts, or null while they are not there.
    virtual TSchemeObjectLayers *ObjectLayers() = 0;
};

// One drag of the move tool: a node with the end points of its branches, or
// one inner bend point of a branch.
class TNodeMover
{
public:
    static TNodeMover ForNode(const TNetworkTables &t, int node);
    static TNodeMover ForTurn(int branch, int index);

    bool Active() const { return m_active; }
    bool TurnMode() const { return m_turnMode; }
    int Key() const { return m_key; }
    // Moves the item to (x, y) scheme units, erasing its marker at the old
    // place and drawing it at the new one (the caller's pen decides how).
    // True when the document changed.
    bool MouseMove(TNetworkTables &t, const TViewport &view, TCanvas &canvas, int x, int y);
    void MouseUp() { m_active = false; }

private:
    struct TEnd
    {
        int Branch;
        bool First;
    };
    int m_key = 0;
    int m_index = 0;
    bool m_active = true;
    bool m_turnMode = false;
    std::vector<TEnd> m_ends;
};

// The branch tool's polyline while it is drawn (scheme units).
struct TBranchDraft
{
    int Start = -1;
    TPoint LastFixed;
    TPoint Current;
    TTurnList Turns;
};

// The selection frame while it is dragged (pixels).
struct TRubberFrame
{
    bool Dragging = false;
    TPoint Fixed;
    TPoint Moving;
};

// The frame's corners in scheme units, ordered.
TRect FrameSchemeRect(const TViewport &view, TPoint a, TPoint b);
// Draws the selection frame so that a second drawing erases it, on any background.
void DrawXorFrame(TCanvas &canvas, TPoint a, TPoint b);

// The object search at a scheme point: nodes, branches, telephones and
// texts, at most 31 codes.
constexpr int MaxFoundObjects = 31;
std::vector<std::int32_t> FindObjectsAt(const TNetworkTables &t, double zoom, int x, int y,
                                        const TSchemeObjectLayers *layers);
QString FoundObjectCaption(const TNetworkTables &t, std::int32_t code, const TSchemeObjectLayers *layers);

// The fire-source search: branch b and everything upstream of it in scheme
// colour 5 (white for branches reached through people, and for all of them
// when the search was not started with the left button).
void MarkFireSources(const TNetworkTables &t, int b, bool leftButton, TColor smokeColor, TBranchColors &colors);

// The scheme shift: every placed node, bend point, balloon, telephone and
// text moves by the same amount so that the smallest X and Y land on the
// margins.
enum class TShiftResult { Shifted, Empty, OutOfRange };
TShiftResult ShiftScheme(TNetworkTables &t, const TSchemeObjectLayers *layers, int left, int top,
                         TPoint *moved = nullptr);
extern const QString ShiftOutOfRangeMessage;

class TMouseTools
{
public:
    TMouseTools(TNetworkTables &t, TBranchColors &colors, TViewport &view, TMouseToolHost &host);

    // A button of the drawing bar was pressed.
    void Select(TTool tool);
    TTool Tool() const { return m_tool; }

    void MouseDown(const TMouseInput &input);
    void MouseMove(const TMouseInput &input);
    void MouseUp(const TMouseInput &input);

    int HoveredNode() const { return m_hoveredNode; }
    int HoveredBranch() const { return m_hoveredBranch; }
    const std::optional<TBranchDraft> &Draft() const { return m_draft; }
    const TRubberFrame &Frame() const { return m_frame; }
    const std::optional<TNodeMover> &Mover() const { return m_mover; }

    // Positions from the last pointer position: snapped for what is placed,
    // unsnapped for hit tests.
    int SnappedX() const;
    int SnappedY() const;
    int SchemeX() const { return m_view.MouseSchemeX(); }
    int SchemeY() const { return m_view.MouseSchemeY(); }

    // Creates a node with its dialog; -1 when a node or branch is there or
    // the dialog was cancelled.
    int PlaceNode(int x, int y);
    int NodeAtOrNew(int x, int y);
    void UpdateHoverLabels();
    void ObjectSearchPopup();
    void OpenFoundObject(std::int32_t code);
    void CancelBranchDrawing();
    void DrawRubberBand();
    // The feedback drawn over the scheme is gone after a redraw: draws it again.
    void RestoreFeedback();

private:
    void TrackPointer(int x, int y);
    bool Edge(const TMouseInput &input);
    void DefaultUp(const TMouseInput &input);
    void BranchStart(const TMouseInput &input);
    void BranchClick(const TMouseInput &input);
    void BranchMove(const TMouseInput &input);
    void FinishBranch(int end);
    void SelectionUp(const TMouseInput &input);
    void MoveToolDown(const TMouseInput &input);
    void MoveToolMove(const TMouseInput &input);
    void MoveToolUp(const TMouseInput &input);
    void FireToolUp(const TMouseInput &input);
    void FindFireUp(const TMouseInput &input);
    void DrawSegment(TCanvas &canvas, TPoint a, TPoint b) const;

    TNetworkTables &m_t;
    TBranchColors &m_colors;
    TViewport &m_view;
    TMouseToolHost &m_host;
    TTool m_tool = TTool::Default;
    int m_hoveredNode = -1;
    int m_hoveredBranch = -1;
    std::optional<TBranchDraft> m_draft;
    TRubberFrame m_frame;
    std::optional<TNodeMover> m_mover;
    bool m_fireBusy = false;
    TPoint m_searchPoint;  // where the object search popup was asked
};
