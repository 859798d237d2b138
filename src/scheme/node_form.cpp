#include "scheme/node_form.h"

#include "platform/float_format.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "scheme/branch_form.h"

#include <cmath>
#include <limits>

namespace {

constexpr int CoordinateMin = std::numeric_limits<std::int16_t>::min();
constexpr int CoordinateMax = std::numeric_limits<std::int16_t>::max();

// An integer within bounds, or the converter's message.
bool ReadInt(const QString &text, int min, int max, int &value)
{
    if (!TryStrToInt(text, value)) {
        ShowConversionError(InvalidNumberMessage(text, true));
        return false;
    }
    if (value < min || value > max) {
        ShowConversionError(IntRangeMessage(min, max));
        return false;
    }
    return true;
}

bool ReadFloat(const QString &text, double &value)
{
    if (TryStrToFloat(text, value) && std::isfinite(value))
        return true;
    ShowConversionError(InvalidNumberMessage(text, false));
    return false;
}

} // namespace

TNodeForm::TNodeForm(TNetworkTables &tables, TNodeFormHost host) : m_t(tables), m_host(std::move(host)) {}

void TNodeForm::Load(int node, bool deletable)
{
    Node = node;
    const bool placed = IsPlacedNode(m_t, node);
    XText = placed ? QString::number(m_t.NodeX[node]) : QStringLiteral("0");
    YText = placed ? QString::number(m_t.NodeY[node]) : QStringLiteral("0");
    XModified = YModified = placed;
    NodeNoText = QString::number(node);
    const bool free = IsFreeNode(m_t, node);
    Deletable = deletable && free;
    PressureText = QString::fromUtf16(NodePressureNotShown);
    if (!deletable && !free && m_host.NodePressure)
        if (const auto p = m_host.NodePressure(node))
            PressureText = FormatFixedPD(*p, 6, 2);
    AltitudeText = FloatToStrF(m_t.NodeAltitude[node], ffGeneral, 7, 1);
    AltitudeModified = true;
    IsSurface = m_t.NodeIsSurface[node] != 0;
    IsExit = m_t.NodeLiftToSurface[node] != 0;
    FocusField.reset();
    Modified = false;
}

std::vector<int> TNodeForm::IncomingBranches() const
{
    std::vector<int> list;
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchExist(m_t, n) && m_t.BranchEndNode[n] == Node)
            list.push_back(n);
    return list;
}

std::vector<int> TNodeForm::OutgoingBranches() const
{
    std::vector<int> list;
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchExist(m_t, n) && m_t.BranchStartNode[n] == Node)
            list.push_back(n);
    return list;
}

QString TNodeForm::IncomingCaption() const
{
    return QStringLiteral("Входящих ветвей: %1").arg(IncomingBranches().size());
}

QString TNodeForm::OutgoingCaption() const
{
    return QStringLiteral("Выходящих ветвей: %1").arg(OutgoingBranches().size());
}

bool TNodeForm::SetSurface(bool ticked)
{
    Modified = true;
    IsSurface = ticked;
    if (!ticked)
        return false;
    if (const auto b = SurfaceNeighbourBranch(m_t, Node)) {
        ShowMessageBox(QStringLiteral("Этот узел не может быть узлом поверхности. \nУ ветви №%1 (%2) уже был задан узел поверхности.")
                           .arg(*b)
                           .arg(GetBranchName(m_t, *b)),
                       QStringLiteral("Предупреждение"), mb::Ok | mb::IconWarning);
        IsSurface = false;
    }
    return IsSurface;
}

void TNodeForm::PickNodeNumber()
{
    NodeNoText = QString::number(GetNewNodeNo(m_t, false));
    Modified = true;
}

void TNodeForm::Hand(TChangeKind kind)
{
    if (m_host.ObjectChanged)
        m_host.ObjectChanged(std::make_unique<TNode>(m_t, Node), kind);
}

bool TNodeForm::Apply()
{
    FocusField.reset();
    if (Modified) {
        int k = 0;
        int x = 0;
        int y = 0;
        double altitude = 0;
        // Every field is read before anything is stored, so that a refused
        // OK leaves the tables as they were.
        const auto refuse = [this](TNodeField field) {
            FocusField = field;
            return false;
        };
        if (!ReadInt(NodeNoText, 1, MaxItems, k))
            return refuse(TNodeField::No);
        if (XModified && !ReadInt(XText, CoordinateMin, CoordinateMax, x))
            return refuse(TNodeField::X);
        if (YModified && !ReadInt(YText, CoordinateMin, CoordinateMax, y))
            return refuse(TNodeField::Y);
        if (AltitudeModified && !ReadFloat(AltitudeText, altitude))
            return refuse(TNodeField::Altitude);
        if (k != Node) {
            if (NodeExist(m_t, k)) {
                ShowMessageBox(QStringLiteral("Этот узел не может иметь номер %1. Узел №%1 уже был определен.").arg(k),
                               QStringLiteral("Ошибка: Дублирование номера узла"), mb::Ok | mb::IconError);
                return refuse(TNodeField::No);
            }
            if (RenumberNode(m_t, k, Node) && m_host.SetModified)
                m_host.SetModified(true);
            Node = k;
        }
        if (XModified)
            m_t.NodeX[Node] = static_cast<std::int16_t>(x);
        if (YModified)
            m_t.NodeY[Node] = static_cast<std::int16_t>(y);
        if (AltitudeModified)
            m_t.NodeAltitude[Node] = altitude;
        m_t.NodeIsSurface[Node] = IsSurface ? 1 : 0;
        m_t.NodeLiftToSurface[Node] = IsExit ? 1 : 0;
        Hand(ckChanged);
    }
    // The branches' end points follow the node, also when only filling
    // marked the position.
    if (XModified || YModified)
        MoveBranchEnds(m_t, Node, m_t.NodeX[Node], m_t.NodeY[Node]);
    return true;
}

bool TNodeForm::Delete()
{
    if (!IsFreeNode(m_t, Node))
        return false;
    auto snapshot = std::make_unique<TNode>(m_t, Node);
    DestroyNode(m_t, Node);
    if (m_host.ObjectChanged)
        m_host.ObjectChanged(std::move(snapshot), ckDeleted);
    return true;
}

std::optional<int> BranchOfRowCaption(const QString &caption)
{
    const qsizetype open = caption.indexOf(u'(');
    if (open < 0)
        return std::nullopt;
    const qsizetype close = caption.indexOf(u')', open + 1);
    if (close < 0)
        return std::nullopt;
    int n = 0;
    if (!TryStrToInt(caption.mid(open + 1, close - open - 1), n))
        return std::nullopt;
    return n;
}

std::optional<int> SurfaceNeighbourBranch(const TNetworkTables &t, int n)
{
    for (int b = 1; b <= MaxItems; ++b) {
        if (!BranchExist(t, b))
            continue;
        const int start = t.BranchStartNode[b];
        const int end = t.BranchEndNode[b];
        if ((start == n && end != n && t.NodeIsSurface[end]) || (end == n && start != n && t.NodeIsSurface[start]))
            return b;
    }
    return std::nullopt;
}

void KeepSurfaceNode(TNetworkTables &t, int branch, bool keepStart, const TNodeFormHost &host)
{
    if (!BranchPresent(t, branch))
        return;
    const int start = t.BranchStartNode[branch];
    const int end = t.BranchEndNode[branch];
    if (!ValidItemIndex(start) || !ValidItemIndex(end))
        return;
    t.NodeIsSurface[start] = keepStart ? 1 : 0;
    t.NodeIsSurface[end] = keepStart ? 0 : 1;
    // The node that lost its flag changed the document.
    const int changed = keepStart ? end : start;
    if (host.ObjectChanged)
        host.ObjectChanged(std::make_unique<TNode>(t, changed), ckChanged);
}
