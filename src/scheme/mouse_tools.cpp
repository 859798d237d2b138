#include "scheme/mouse_tools.h"

#include "platform/numbers.h"
#include "platform/prompt.h"
#include "scheme/canvas_helpers.h"

#include <algorithm>
#include <limits>

const QString UnnamedBranchName = QStringLiteral(" >>> Эта ветвь без названия? <<<");
const QString SameEndNodesMessage = QStringLiteral("Начальный и конечный узлы ветви не могут совпадать!");
const QString ShiftOutOfRangeMessage =
    QStringLiteral("Схему нельзя сдвинуть на эти отступы: координаты вышли бы за пределы от -32768 до 32767.");

namespace {

int RoundPixel(double v) { return static_cast<int>(Round(v)); }

bool SamePoint(const TTurn &turn, TPoint p) { return turn.X == p.X && turn.Y == p.Y; }

// The marker of a node at screen point p with radius r (pen and brush as set by the caller).
void Circle(TCanvas &canvas, int x, int y, int r) { canvas.Ellipse(x - r, y - r, x + r, y + r); }

// Pen mode NotXor for the duration of a piece of rubber-band drawing; copy
// mode and width 1 afterwards.
class TNotXorPen
{
public:
    explicit TNotXorPen(TCanvas &canvas) : m_canvas(canvas)
    {
        m_canvas.Pen.Mode = TPenMode::pmNotXor;
        m_canvas.Pen.Color = clBlack;
        m_canvas.Pen.Style = TPenStyle::psSolid;
        m_canvas.Pen.Width = 1;
    }
    ~TNotXorPen()
    {
        m_canvas.Pen.Mode = TPenMode::pmCopy;
        m_canvas.Pen.Width = 1;
    }
    TNotXorPen(const TNotXorPen &) = delete;
    TNotXorPen &operator=(const TNotXorPen &) = delete;

private:
    TCanvas &m_canvas;
};

} // namespace

// ---- Node mover ---------------------------------------------------------------

TNodeMover TNodeMover::ForNode(const TNetworkTables &t, int node)
{
    TNodeMover m;
    m.m_key = node;
    for (int i = 1; i <= MaxItems; ++i) {
        if (!BranchExist(t, i) || !t.BranchTurns[i] || t.BranchTurns[i]->empty())
            continue;
        if (t.BranchStartNode[i] == node)
            m.m_ends.push_back({i, true});
        else if (t.BranchEndNode[i] == node)
            m.m_ends.push_back({i, false});
    }
    return m;
}

TNodeMover TNodeMover::ForTurn(int branch, int index)
{
    TNodeMover m;
    m.m_key = branch;
    m.m_index = index;
    m.m_turnMode = true;
    return m;
}

bool TNodeMover::MouseMove(TNetworkTables &t, const TViewport &view, TCanvas &canvas, int x, int y)
{
    if (m_turnMode) {
        auto &turns = t.BranchTurns[m_key];
        if (!m_active || !turns || m_index <= 0 || m_index >= int(turns->size()) - 1)
            return true;
        TTurn &p = (*turns)[m_index];
        Circle(canvas, view.ScreenX(p.X), view.ScreenY(p.Y), 3);
        p.X = x;
        p.Y = y;
        Circle(canvas, view.ScreenX(x), view.ScreenY(y), 3);
        return true;
    }
    if (!m_active || !NodeExist(t, m_key))
        return false;
    // Node coordinates are 16-bit: a pointer beyond them cannot be stored.
    x = std::clamp(x, -32768, 32767);
    y = std::clamp(y, -32768, 32767);
    const int r = NodeRadii[static_cast<std::size_t>(std::clamp(view.ZoomStep, 0, LastZoomStep))];
    Circle(canvas, view.ScreenX(t.NodeX[m_key]), view.ScreenY(t.NodeY[m_key]), r);
    t.NodeX[m_key] = static_cast<std::int16_t>(x);
    t.NodeY[m_key] = static_cast<std::int16_t>(y);
    for (const TEnd &end : m_ends) {
        auto &turns = t.BranchTurns[end.Branch];
        if (!turns || turns->empty())
            continue;
        TTurn &p = end.First ? turns->front() : turns->back();
        p.X = x;
        p.Y = y;
    }
    Circle(canvas, view.ScreenX(x), view.ScreenY(y), r);
    return true;
}

// ---- Free helpers ---------------------------------------------------------------

TRect FrameSchemeRect(const TViewport &view, TPoint a, TPoint b)
{
    const int x1 = RoundPixel((a.X + view.ScrollX) / view.Zoom);
    const int y1 = RoundPixel((a.Y + view.ScrollY) / view.Zoom);
    const int x2 = RoundPixel((b.X + view.ScrollX) / view.Zoom);
    const int y2 = RoundPixel((b.Y + view.ScrollY) / view.Zoom);
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

void DrawXorFrame(TCanvas &canvas, TPoint a, TPoint b)
{
    // Xor with white inverts what is there, so the frame shows on any
    // background and the same drawing once more takes it away.
    const TCanvasToolsKeeper keep(canvas);
    canvas.Pen.Color = clWhite;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::psDot;
    canvas.Pen.Mode = TPenMode::pmXor;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Rectangle(std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y));
}

namespace {
// The layer that a hit code of the object search names, or null.
TSchemeObjectLayer *LayerOfCode(const TSchemeObjectLayers *layers, std::int32_t code)
{
    if (!layers)
        return nullptr;
    switch (code >> 16) {
    case HitPhoneBase >> 16: return layers->Phones.get();
    case HitTextBase >> 16: return layers->Texts.get();
    default: return nullptr;
    }
}
} // namespace

std::vector<std::int32_t> FindObjectsAt(const TNetworkTables &t, double zoom, int x, int y,
                                        const TSchemeObjectLayers *layers)
{
    THitList list(MaxFoundObjects);
    FindNodesAt(t, x, y, list);
    FindBranchesAt(t, zoom, x, y, list);
    if (layers) {
        for (const auto &[layer, base] : {std::pair{layers->Phones.get(), HitPhoneBase}, {layers->Texts.get(), HitTextBase}})
            if (layer)
                for (int index : layer->HitAt(x, y))
                    list.Add(base + index);
    }
    return list.Codes();
}

QString FoundObjectCaption(const TNetworkTables &t, std::int32_t code, const TSchemeObjectLayers *layers)
{
    const int number = code & 0xFFFF;
    switch (code >> 16) {
    case 0: return QStringLiteral("Узел № ") + QString::number(number);
    case 1: return QStringLiteral("Ветвь № ") + QString::number(number) + QStringLiteral(": ") + GetBranchName(t, number);
    default: {
        const TSchemeObjectLayer *layer = LayerOfCode(layers, code);
        return layer && number < layer->Count() ? layer->Caption(number) : QString();
    }
    }
}

void MarkFireSources(const TNetworkTables &t, int b, bool leftButton, TColor smokeColor, TBranchColors &colors)
{
    TBranchMarks marks{};
    TraceUpstream(t, b, leftButton ? 1 : 2, marks);
    for (int n = 1; n <= MaxItems; ++n) {
        if (marks[n] == 1)
            colors[n] = smokeColor;
        else if (marks[n] == 2)
            colors[n] = clWhite;
    }
}

TShiftResult ShiftScheme(TNetworkTables &t, const TSchemeObjectLayers *layers, int left, int top, TPoint *moved)
{
    // Nodes not yet placed keep their marker position, and so do the ends of
    // their branches: they are neither measured nor moved.
    const auto atMarker = [](int x, int y) { return x == UnplacedX && y == UnplacedY; };
    std::vector<TSchemeObjectLayer *> objects;
    if (layers)
        for (TSchemeObjectLayer *layer : layers->All())
            if (layer)
                objects.push_back(layer);
    std::int64_t minX = std::numeric_limits<std::int64_t>::max(), minY = minX;
    std::int64_t maxX = std::numeric_limits<std::int64_t>::min(), maxY = maxX;
    const auto take = [&](std::int64_t x, std::int64_t y) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    };
    for (int n = 1; n <= MaxItems; ++n) {
        if (IsPlacedNode(t, n))
            take(t.NodeX[n], t.NodeY[n]);
        if (t.BranchTurns[n])
            for (const TTurn &p : *t.BranchTurns[n])
                if (!atMarker(p.X, p.Y))
                    take(p.X, p.Y);
    }
    const bool tablesEmpty = minX > maxX;
    // The placed objects keep 32-bit positions: they take part in the
    // minimum, while the 16-bit node coordinates bound the shift.
    std::int64_t shiftMinX = minX, shiftMinY = minY;
    for (const TSchemeObjectLayer *layer : objects)
        if (const std::optional<TPoint> p = layer->MinPoint()) {
            shiftMinX = std::min<std::int64_t>(shiftMinX, p->X);
            shiftMinY = std::min<std::int64_t>(shiftMinY, p->Y);
        }
    if (shiftMinX == std::numeric_limits<std::int64_t>::max())
        return TShiftResult::Empty;
    const std::int64_t dx = shiftMinX - left;
    const std::int64_t dy = shiftMinY - top;
    const auto fits16 = [](std::int64_t v) { return v >= -32768 && v <= 32767; };
    const auto fits32 = [](std::int64_t v) {
        return v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max();
    };
    if (!tablesEmpty && !(fits16(minX - dx) && fits16(maxX - dx) && fits16(minY - dy) && fits16(maxY - dy)))
        return TShiftResult::OutOfRange;
    if (!fits32(dx) || !fits32(dy))
        return TShiftResult::OutOfRange;
    for (int n = 1; n <= MaxItems; ++n) {
        if (IsPlacedNode(t, n)) {
            t.NodeX[n] = static_cast<std::int16_t>(t.NodeX[n] - dx);
            t.NodeY[n] = static_cast<std::int16_t>(t.NodeY[n] - dy);
        }
        if (t.BranchTurns[n])
            for (TTurn &p : *t.BranchTurns[n])
                if (!atMarker(p.X, p.Y)) {
                    p.X = static_cast<std::int32_t>(p.X - dx);
                    p.Y = static_cast<std::int32_t>(p.Y - dy);
                }
    }
    for (TSchemeObjectLayer *layer : objects)
        layer->MoveBy(static_cast<int>(-dx), static_cast<int>(-dy));
    if (moved)
        *moved = {static_cast<int>(-dx), static_cast<int>(-dy)};
    return TShiftResult::Shifted;
}

// ---- The controller ---------------------------------------------------------------

TMouseTools::TMouseTools(TNetworkTables &t, TBranchColors &colors, TViewport &view, TMouseToolHost &host)
    : m_t(t), m_colors(colors), m_view(view), m_host(host)
{
}

int TMouseTools::SnappedX() const { return m_view.SnappedMouseX(m_host.SnapToGrid(), m_host.GridStep()); }
int TMouseTools::SnappedY() const { return m_view.SnappedMouseY(m_host.SnapToGrid(), m_host.GridStep()); }

void TMouseTools::Select(TTool tool)
{
    // Whatever the previous tool held in progress goes with it.
    if (m_draft) {
        m_draft.reset();
        m_host.Redraw();
    }
    m_frame.Dragging = false;
    m_mover.reset();
    const bool markersChange = (m_tool == TTool::Move) != (tool == TTool::Move);
    m_tool = tool;
    int mode = tmDefault;
    switch (tool) {
    case TTool::Default: mode = tmDefault; break;
    case TTool::Selection: mode = tmSelection; break;
    case TTool::Node:
    case TTool::Branch: mode = tmNode; break;
    case TTool::Balloon:
    case TTool::Move:
    case TTool::FireModelling:
    case TTool::FindFire: mode = tmPlacing; break;
    case TTool::Phone: mode = tmPhone; break;
    case TTool::Text: mode = tmText; break;
    case TTool::Boost: mode = tmBoost; break;
    case TTool::ZoomIn: mode = tmZoomIn; break;
    case TTool::ZoomOut: mode = tmZoomOut; break;
    case TTool::Center: mode = tmCenter; break;
    }
    m_host.SetToolMode(mode);
    // The move tool shows the bend points it can drag.
    if (markersChange)
        m_host.Redraw();
}

void TMouseTools::TrackPointer(int x, int y)
{
    m_view.LastMouse = {x, y};
    m_host.SetCursor(m_host.EdgeCursor(x, y));
    UpdateHoverLabels();
}

void TMouseTools::UpdateHoverLabels()
{
    const int sx = SchemeX();
    const int sy = SchemeY();
    TPointerStatus s;
    m_hoveredNode = HitNode(m_t, sx, sy);
    if (m_hoveredNode != -1)
        s.Node = QStringLiteral("Узел %1").arg(m_hoveredNode);
    TPoint foot;
    m_hoveredBranch = HitBranch(m_t, m_view.Zoom, sx, sy, foot);
    if (m_hoveredBranch != -1) {
        const int b = m_hoveredBranch;
        s.Branch = m_host.PLAColoring()
                       ? QStringLiteral("Позиция ПЛА № %1, Людей: %2").arg(m_t.BranchPLAPosition[b]).arg(m_t.BranchPeople[b])
                       : QStringLiteral("Ветвь %1: %2").arg(b).arg(GetBranchName(m_t, b));
    }
    s.X = QStringLiteral("X: ") + QString::number(sx);
    s.Y = QStringLiteral("Y: ") + QString::number(sy);
    if (m_host.ShowSheet()) {
        const TSize sheet = m_host.SheetSize();
        s.XOutside = sx < 0 || sx > sheet.cx;
        s.YOutside = sy < 0 || sy > sheet.cy;
    }
    m_host.ShowPointer(s);
}

bool TMouseTools::Edge(const TMouseInput &input)
{
    if (!m_host.EdgeScroll(input.X, input.Y))
        return false;
    RestoreFeedback();
    return true;
}

void TMouseTools::RestoreFeedback()
{
    if (m_draft)
        DrawRubberBand();
    if (m_frame.Dragging)
        m_host.DrawFeedback([this](TCanvas &c) { DrawXorFrame(c, m_frame.Fixed, m_frame.Moving); });
}

void TMouseTools::MouseDown(const TMouseInput &input)
{
    switch (m_tool) {
    case TTool::Selection:
        m_frame.Dragging = true;
        m_frame.Fixed = m_frame.Moving = {input.X, input.Y};
        break;
    case TTool::Move: MoveToolDown(input); break;
    default: break;
    }
}

void TMouseTools::MouseMove(const TMouseInput &input)
{
    if (m_tool == TTool::Branch && m_draft) {
        BranchMove(input);
        return;
    }
    if (m_tool == TTool::Selection && m_frame.Dragging) {
        const TPoint to{input.X, input.Y};
        m_host.DrawFeedback([&](TCanvas &c) {
            DrawXorFrame(c, m_frame.Fixed, m_frame.Moving);
            DrawXorFrame(c, m_frame.Fixed, to);
        });
        m_frame.Moving = to;
        // The pointer is still where the view maps it; hit tests read it.
        m_view.LastMouse = to;
        return;
    }
    if (m_tool == TTool::Move) {
        MoveToolMove(input);
        return;
    }
    TrackPointer(input.X, input.Y);
}

void TMouseTools::MouseUp(const TMouseInput &input)
{
    switch (m_tool) {
    case TTool::Default: DefaultUp(input); break;
    case TTool::Node:
        if (!Edge(input))
            PlaceNode(SnappedX(), SnappedY());
        break;
    case TTool::Branch:
        if (m_draft)
            BranchClick(input);
        else
            BranchStart(input);
        break;
    case TTool::Selection: SelectionUp(input); break;
    case TTool::Move: MoveToolUp(input); break;
    case TTool::Balloon:
    case TTool::Phone:
    case TTool::Text:
        if (!Edge(input))
            if (TSchemeObjectLayers *layers = m_host.ObjectLayers()) {
                TSchemeObjectLayer *layer = m_tool == TTool::Balloon ? layers->Balloons.get()
                                            : m_tool == TTool::Phone ? layers->Phones.get()
                                                                     : layers->Texts.get();
                if (layer)
                    layer->AddAt(SnappedX(), SnappedY());
            }
        break;
    case TTool::FireModelling: FireToolUp(input); break;
    case TTool::FindFire: FindFireUp(input); break;
    case TTool::Boost:
        if (!Edge(input) && m_hoveredBranch > 0)
            m_host.BoostAt(m_hoveredBranch);
        break;
    // The zoom and centre tools make their own edge test.
    case TTool::ZoomIn: m_host.ZoomTool(input.X, input.Y, +1); break;
    case TTool::ZoomOut: m_host.ZoomTool(input.X, input.Y, -1); break;
    case TTool::Center: m_host.CenterTool(input.X, input.Y); break;
    }
}

// ---- Default tool ---------------------------------------------------------------

void TMouseTools::DefaultUp(const TMouseInput &input)
{
    if (input.Button == TMouseButton::Right) {
        m_host.ShowSchemePopup();
        return;
    }
    if (Edge(input))
        return;
    const int sx = SchemeX();
    const int sy = SchemeY();
    if (input.Ctrl) {
        TPoint foot;
        const int b = HitBranch(m_t, m_view.Zoom, sx, sy, foot);
        if (b != -1) {
            ToggleBranchSelection(m_t, m_colors, b, m_host.SchemeColor(SchemeColorBranch));
            m_host.Redraw();
            return;
        }
    }
    ObjectSearchPopup();
    // The balloons take the click as well (telephones and texts open through the search).
    if (TSchemeObjectLayers *layers = m_host.ObjectLayers(); layers && layers->Balloons)
        layers->Balloons->Click(sx, sy);
}

void TMouseTools::ObjectSearchPopup()
{
    const TSchemeObjectLayers *layers = m_host.ObjectLayers();
    m_searchPoint = {SchemeX(), SchemeY()};
    const std::vector<std::int32_t> codes = FindObjectsAt(m_t, m_view.Zoom, m_searchPoint.X, m_searchPoint.Y, layers);
    if (codes.size() == 1) {
        OpenFoundObject(codes.front());
        return;
    }
    std::vector<std::pair<std::int32_t, QString>> items;
    for (std::int32_t code : codes)
        items.emplace_back(code, FoundObjectCaption(m_t, code, layers));
    m_host.ShowFoundPopup(items);
}

void TMouseTools::OpenFoundObject(std::int32_t code)
{
    const int number = code & 0xFFFF;
    switch (code >> 16) {
    case 0: {
        int node = number;
        if (!NodeExist(m_t, node))
            return;
        if (m_host.EditNode(QStringLiteral("Узел ") + QString::number(node), node, IsFreeNode(m_t, node)))
            m_host.Redraw();
        return;
    }
    case 1:
        if (!BranchPresent(m_t, number))
            return;
        if (m_host.EditBranch(QStringLiteral("Ветвь %1").arg(number), number, true, m_host.PLAColoring())) {
            m_host.UpdateMenus();
            m_host.Redraw();
        }
        return;
    default:
        if (TSchemeObjectLayer *layer = LayerOfCode(m_host.ObjectLayers(), code))
            layer->ClickObject(number, m_searchPoint.X, m_searchPoint.Y);
        return;
    }
}

// ---- Node and branch tools ---------------------------------------------------------

int TMouseTools::PlaceNode(int x, int y)
{
    TPoint foot;
    if (HitNode(m_t, x, y) != -1 || HitBranch(m_t, m_view.Zoom, x, y, foot) != -1)
        return -1;
    const int created = GetNewNodeNo(m_t, m_host.NewObjectsFirstFree());
    if (!ValidItemIndex(created))
        return -1;
    CreateNode(m_t, created);
    m_t.NodeX[created] = static_cast<std::int16_t>(std::clamp(x, -32768, 32767));
    m_t.NodeY[created] = static_cast<std::int16_t>(std::clamp(y, -32768, 32767));
    int node = created;
    if (!m_host.EditNode(QStringLiteral("Новый узел, №") + QString::number(created), node, false)) {
        DestroyNode(m_t, created);
        return -1;
    }
    m_host.SetModified();
    m_host.Redraw();
    return node;
}

int TMouseTools::NodeAtOrNew(int x, int y)
{
    const int n = HitNode(m_t, x, y);
    return n != -1 ? n : PlaceNode(x, y);
}

void TMouseTools::BranchStart(const TMouseInput &input)
{
    if (Edge(input))
        return;
    const int start = NodeAtOrNew(SnappedX(), SnappedY());
    if (start == -1)
        return;
    TBranchDraft d;
    d.Start = start;
    d.LastFixed = d.Current = {m_t.NodeX[start], m_t.NodeY[start]};
    d.Turns.reserve(8);
    d.Turns.emplace_back(0, d.LastFixed.X, d.LastFixed.Y);
    m_draft = std::move(d);
    m_host.SetToolMode(tmBranchDrawing);
}

void TMouseTools::DrawSegment(TCanvas &canvas, TPoint a, TPoint b) const
{
    canvas.MoveTo(m_view.ScreenX(a.X), m_view.ScreenY(a.Y));
    canvas.LineTo(m_view.ScreenX(b.X), m_view.ScreenY(b.Y));
}

void TMouseTools::BranchMove(const TMouseInput &input)
{
    TrackPointer(input.X, input.Y);
    const TPoint next{SnappedX(), SnappedY()};
    m_host.DrawFeedback([&](TCanvas &c) {
        const TNotXorPen pen(c);
        DrawSegment(c, m_draft->LastFixed, m_draft->Current);
        m_draft->Current = next;
        DrawSegment(c, m_draft->LastFixed, m_draft->Current);
    });
}

void TMouseTools::DrawRubberBand()
{
    if (!m_draft)
        return;
    std::vector<TPoint> points;
    for (const TTurn &p : m_draft->Turns)
        points.push_back({m_view.ScreenX(p.X), m_view.ScreenY(p.Y)});
    points.push_back({m_view.ScreenX(m_draft->Current.X), m_view.ScreenY(m_draft->Current.Y)});
    m_host.DrawFeedback([&](TCanvas &c) {
        const TNotXorPen pen(c);
        c.Polyline(points);
    });
}

void TMouseTools::CancelBranchDrawing()
{
    m_draft.reset();
    m_host.SetToolMode(tmNode);
    m_host.Redraw();
}

void TMouseTools::BranchClick(const TMouseInput &input)
{
    if (Edge(input))
        return;
    if (input.Button == TMouseButton::Right) {
        CancelBranchDrawing();
        return;
    }
    TBranchDraft &d = *m_draft;
    if (input.Ctrl) {
        if (!SamePoint(d.Turns.back(), d.Current)) {
            d.Turns.emplace_back(0, d.Current.X, d.Current.Y);
            d.LastFixed = d.Current;
        }
        return;
    }
    const int end = NodeAtOrNew(d.Current.X, d.Current.Y);
    if (end == -1 || end == d.Start) {
        ShowMessageBox(SameEndNodesMessage, QString(), mb::Ok);
        return;
    }
    FinishBranch(end);
}

void TMouseTools::FinishBranch(int end)
{
    TBranchDraft d = std::move(*m_draft);
    m_draft.reset();
    m_host.SetToolMode(tmNode);
    // A bend point set where the branch ends gives way to the end node; the
    // start point always stays.
    if (d.Turns.size() > 1 && SamePoint(d.Turns.back(), d.Current))
        d.Turns.pop_back();
    d.Turns.emplace_back(0, m_t.NodeX[end], m_t.NodeY[end]);
    const int h = GetNewBranchNo(m_t, m_host.NewObjectsFirstFree());
    if (!ValidItemIndex(h)) {
        m_host.Redraw();
        return;
    }
    CreateBranch(m_t, h);
    m_t.BranchStartNode[h] = static_cast<std::int16_t>(d.Start);
    m_t.BranchEndNode[h] = static_cast<std::int16_t>(end);
    RemoveDuplicateTurns(d.Turns);
    for (TTurn &p : d.Turns)
        p.Number = h;
    m_t.BranchTurns[h] = std::move(d.Turns);
    SetBranchName(m_t, h, UnnamedBranchName);
    bool confirmed = false;
    try {
        confirmed = m_host.EditBranch(QStringLiteral("Новая ветвь"), h, false, false);
    } catch (...) {
        DestroyBranch(m_t, h);
        m_host.Redraw();
        throw;
    }
    if (confirmed)
        m_host.ObjectChanged(std::make_unique<TBranch>(m_t, h), ckCreated);
    else
        DestroyBranch(m_t, h);
    m_host.Redraw();
}

// ---- Selection ---------------------------------------------------------------

void TMouseTools::SelectionUp(const TMouseInput &input)
{
    // An edge scroll leaves the drag running.
    if (Edge(input) || !m_frame.Dragging)
        return;
    if (!input.Shift) {
        DeselectAllBranches(m_t, m_colors, m_host.SchemeColor(SchemeColorBranch));
        m_host.SetStandardColors();
    }
    m_host.DrawFeedback([this](TCanvas &c) { DrawXorFrame(c, m_frame.Fixed, m_frame.Moving); });
    m_frame.Dragging = false;
    SelectBranchesInRect(m_t, m_colors, FrameSchemeRect(m_view, m_frame.Fixed, {input.X, input.Y}));
    m_host.SetToolMode(tmSelection);
    m_host.Redraw();
}

// ---- Move tool ---------------------------------------------------------------

void TMouseTools::MoveToolDown(const TMouseInput &input)
{
    const int sx = SchemeX();
    const int sy = SchemeY();
    m_mover.reset();
    const int n = HitNode(m_t, sx, sy);
    if (n != -1) {
        m_mover = TNodeMover::ForNode(m_t, n);
    } else {
        int branch = -1, index = -1;
        HitNodeOrTurn(m_t, sx, sy, branch, index);
        if (branch > 0 && m_t.BranchTurns[branch] && index > 0 && index < int(m_t.BranchTurns[branch]->size()) - 1)
            m_mover = TNodeMover::ForTurn(branch, index);
    }
    if (TSchemeObjectLayers *layers = m_host.ObjectLayers())
        for (TSchemeObjectLayer *layer : layers->All())
            if (layer)
                layer->MouseDown(sx, sy);
}

void TMouseTools::MoveToolMove(const TMouseInput &input)
{
    TrackPointer(input.X, input.Y);
    TSchemeObjectLayers *layers = m_host.ObjectLayers();
    if (!m_mover && !layers)
        return;
    const int x = SnappedX();
    const int y = SnappedY();
    bool changed = false;
    m_host.DrawFeedback([&](TCanvas &c) {
        const TCanvasToolsKeeper keep(c);
        c.Brush.Style = TBrushStyle::bsClear;
        c.Pen.Color = clBlack;
        c.Pen.Style = TPenStyle::psSolid;
        c.Pen.Width = 1;
        c.Pen.Mode = TPenMode::pmNotXor;
        if (m_mover)
            changed = m_mover->MouseMove(m_t, m_view, c, x, y);
        if (layers)
            for (TSchemeObjectLayer *layer : layers->All())
                if (layer)
                    layer->MouseMove(c, SchemeX(), SchemeY());
        c.Pen.Mode = TPenMode::pmCopy;
    });
    if (changed)
        m_host.SetModified();
}

void TMouseTools::MoveToolUp(const TMouseInput &input)
{
    if (Edge(input))
        return;
    if (m_mover) {
        m_mover->MouseUp();
        m_mover.reset();
        m_host.Redraw();
    }
    // A moved balloon or telephone is a change too: the layers mark it.
    if (TSchemeObjectLayers *layers = m_host.ObjectLayers())
        for (TSchemeObjectLayer *layer : layers->All())
            if (layer)
                layer->MouseUp();
}

// ---- Emergency tools ---------------------------------------------------------------

void TMouseTools::FireToolUp(const TMouseInput &input)
{
    if (input.Button == TMouseButton::Right) {
        m_host.ShowSchemePopup();
        return;
    }
    if (Edge(input) || m_hoveredBranch <= 0 || m_fireBusy)
        return;
    m_fireBusy = true;
    try {
        m_host.FireModelAt(m_hoveredBranch);
    } catch (...) {
        m_fireBusy = false;
        m_host.Redraw();
        throw;
    }
    m_fireBusy = false;
    m_host.Redraw();
}

void TMouseTools::FindFireUp(const TMouseInput &input)
{
    if (Edge(input))
        return;
    if (m_hoveredBranch > 0)
        MarkFireSources(m_t, m_hoveredBranch, input.Button == TMouseButton::Left,
                        m_host.SchemeColor(SchemeColorSmoke), m_colors);
    m_host.Redraw();
}
