#include "calc/node_pressures.h"

#include "calc/network_report.h"
#include "platform/float_format.h"

#include <algorithm>
#include <cmath>

TTraversalWorkArrays TraversalWorkArrays;

TTraversalWorkArrays::TTraversalWorkArrays()
    : Queue(TableSize, 0), LayerFirst(TableSize, 0), LayerLast(TableSize, 0), ReachedBy(TableSize, 0),
      LedOut(TableSize, 0), NodePressures(TableSize, 0.0)
{
}

TTraversalWorkArrays::~TTraversalWorkArrays() { ReleaseAdjacency(); }

void TTraversalWorkArrays::TakeSnapshot(const TNetworkTables &t)
{
    BranchNo = t.BranchNo;
    BranchStartNode = t.BranchStartNode;
    BranchEndNode = t.BranchEndNode;
    NodeIsSurface = t.NodeIsSurface;
    BranchR = t.BranchR;
    BranchQ = t.BranchQ;
    BranchAuxDepression = t.BranchAuxDepression;
    NodeNo = t.NodeNo;
    MaxNode = MaxNodeNo(t);
    MaxBranch = MaxBranchNo(t);
}

void TTraversalWorkArrays::ClearWorkArrays()
{
    std::ranges::fill(Queue, 0);
    std::ranges::fill(LayerFirst, 0);
    std::ranges::fill(LayerLast, 0);
    std::ranges::fill(ReachedBy, 0);
    std::ranges::fill(LedOut, 0);
    QueueCount = 0;
    LayerCount = 0;
}

void TTraversalWorkArrays::BuildAdjacency()
{
    ReleaseAdjacency();
    AdjacencyNodes = std::max(MaxNode, 1);
    int withBranches = 0;
    // The adjacency keeps one node beyond the count (the solver's virtual one).
    ::BuildAdjacency(BranchNo, BranchStartNode, BranchEndNode, AdjacencyNodes - 1, MaxItems, Adjacency,
                     withBranches);
}

void TTraversalWorkArrays::ReleaseAdjacency()
{
    if (AdjacencyNodes > 0)
        FreeAdjacency(AdjacencyNodes - 1, Adjacency);
    AdjacencyNodes = 0;
}

bool TTraversalWorkArrays::HasBranches(int n) const
{
    return n >= 1 && n < static_cast<int>(Adjacency.size()) && Adjacency[static_cast<std::size_t>(n)].First;
}

void BuildFlowLayers(TTraversalWorkArrays &w)
{
    w.ClearWorkArrays();
    w.LayerCount = 1;
    // Each surface node is queued once: queued once per branch end, a surface
    // with many branches would run past the end of the queue.
    auto seed = [&w](int n) {
        if (!w.NodeExists(n) || !w.NodeIsSurface[n] || w.ReachedBy[n] == SurfaceReached)
            return;
        w.Queue[++w.QueueCount] = static_cast<std::int16_t>(n);
        w.ReachedBy[n] = SurfaceReached;
    };
    for (int j = 1; j <= MaxItems; ++j) {
        if (w.BranchNo[j] == 0 || !w.NodeExists(w.BranchStartNode[j]))
            continue;
        seed(w.BranchStartNode[j]);
        seed(w.BranchEndNode[j]);
    }
    if (w.QueueCount == 0)
        return;
    w.LayerFirst[1] = 1;
    w.LayerLast[1] = static_cast<std::int16_t>(w.QueueCount);
    for (int k = 1;; ++k) {
        for (int pos = w.LayerFirst[k]; pos <= w.LayerLast[k]; ++pos) {
            const int v = w.Queue[pos];
            if (v >= static_cast<int>(w.Adjacency.size()))
                continue;
            for (const AdjacencyItem *item = w.Adjacency[static_cast<std::size_t>(v)].First; item;
                 item = item->Permanent) {
                const int b = item->Branch;
                if (w.LedOut[b])
                    continue;
                const bool fromStart = w.BranchStartNode[b] == v && w.BranchQ[b] >= 0;
                const bool fromEnd = w.BranchEndNode[b] == v && w.BranchQ[b] < 0;
                if (!fromStart && !fromEnd)
                    continue;
                w.LedOut[b] = 1;
                const int other = fromStart ? w.BranchEndNode[b] : w.BranchStartNode[b];
                if (other < 1 || other > MaxItems || w.ReachedBy[other] != 0)
                    continue;
                w.Queue[++w.QueueCount] = static_cast<std::int16_t>(other);
                w.ReachedBy[other] = static_cast<std::int16_t>(b);
            }
        }
        if (w.QueueCount == w.LayerLast[k])
            break;
        w.LayerFirst[k + 1] = static_cast<std::int16_t>(w.LayerLast[k] + 1);
        w.LayerLast[k + 1] = static_cast<std::int16_t>(w.QueueCount);
        w.LayerCount = k + 1;
    }
}

void PropagatePressures(TTraversalWorkArrays &w)
{
    for (AdjacencyNode &node : w.Adjacency)
        node.Work = 0;
    auto pressure = [&w](int n) -> double & { return w.Adjacency[static_cast<std::size_t>(n)].Work; };
    for (int k = 2; k <= w.LayerCount; ++k)
        for (int pos = w.LayerFirst[k]; pos <= w.LayerLast[k]; ++pos) {
            const int v = w.Queue[pos];
            const int b = w.ReachedBy[v];
            const int u = w.BranchStartNode[b] == v ? w.BranchEndNode[b] : w.BranchStartNode[b];
            if (v >= static_cast<int>(w.Adjacency.size()) || u >= static_cast<int>(w.Adjacency.size()))
                continue;
            double h = w.BranchAuxDepression[b];
            // A fan that draws from the surface into the mine raises its node.
            if (k == 2 && h < 0)
                h = -h;
            pressure(v) = pressure(u) + h - w.BranchR[b] * w.BranchQ[b] * w.BranchQ[b];
        }
}

void ExtractPressures(TTraversalWorkArrays &w)
{
    std::ranges::fill(w.NodePressures, 0.0);
    for (int n = 1; n <= w.MaxNode; ++n)
        w.NodePressures[static_cast<std::size_t>(n)] = DetachedNodePressure;
    for (int n = 1; n <= w.MaxNode; ++n) {
        const double p = n < static_cast<int>(w.Adjacency.size()) ? w.Adjacency[static_cast<std::size_t>(n)].Work : 0;
        if (w.HasBranches(n) || (p == 0 && w.NodeIsSurface[n]))
            w.NodePressures[static_cast<std::size_t>(n)] = p;
    }
}

void NodePressuresOfSolved(const TNetworkTables &t, std::vector<double> &pressures)
{
    TTraversalWorkArrays &w = TraversalWorkArrays;
    w.TakeSnapshot(t);
    w.BuildAdjacency();
    BuildFlowLayers(w);
    PropagatePressures(w);
    ExtractPressures(w);
    pressures = w.NodePressures;
    w.ReleaseAdjacency();
}

bool ComputeNodePressures(TNetworkTables &t, std::vector<double> &pressures, QObject *owner)
{
    if (!CalcAir(owner, t))
        return false;
    NodePressuresOfSolved(t, pressures);
    return true;
}

QString FormatFixedText(int width, int decimals, double value)
{
    return FloatToStrF(value, ffFixed, 15, decimals).rightJustified(width);
}

std::vector<QString> PressureCellTexts(const TTraversalWorkArrays &w)
{
    std::vector<QString> texts(TableSize);
    for (int n = 1; n <= w.MaxNode; ++n) {
        if (w.NodeIsSurface[n] && w.NodeExists(n))
            texts[static_cast<std::size_t>(n)] = QStringLiteral("0.0");
        else if (w.HasBranches(n))
            texts[static_cast<std::size_t>(n)] =
                FloatToStrF(w.Adjacency[static_cast<std::size_t>(n)].Work, ffFixed, 15, 1);
    }
    return texts;
}

std::vector<QString> AltitudeCellTexts(const TNetworkTables &t)
{
    std::vector<QString> texts(TableSize);
    const int last = MaxNodeNo(t);
    for (int n = 1; n <= last; ++n) {
        if (t.NodeNo[n] != n)
            continue;
        texts[static_cast<std::size_t>(n)] =
            t.NodeAltitude[n] == 10000 ? QStringLiteral(" ?") : FloatToStrF(t.NodeAltitude[n], ffFixed, 7, 1);
    }
    return texts;
}
