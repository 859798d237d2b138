#include "model/geometry_queries.h"

#include "model/helpers.h"

bool THitList::Add(std::int32_t code)
{
    if (Full())
        return false;
    m_codes.push_back(code);
    return true;
}

bool InNodeBox(int boxX, int boxY, int x, int y)
{
    return boxX - 4 < x && x < boxX + 4 && boxY - 4 < y && y < boxY + 4;
}

namespace {

bool NodeHit(const TNetworkTables &t, int n, int x, int y)
{
    return IsPlacedNode(t, n) && InNodeBox(t.NodeX[n], t.NodeY[n], x, y);
}

// Visits every segment of every existing branch that passes within the branch
// tolerance of the point; visit(branch, p1, p2, squared distance) returns
// false to stop.
template <typename Visit>
void ForEachSegmentHit(const TNetworkTables &t, double zoom, int x, int y, Visit visit)
{
    const double tolerance = 16 / (zoom * zoom);
    const int last = MaxBranchNo(t);
    for (int m = 1; m <= last; ++m) {
        if (!BranchExist(t, m) || !t.BranchTurns[m])
            continue;
        const TTurnList &points = *t.BranchTurns[m];
        for (std::size_t i = 1; i < points.size(); ++i) {
            const TPoint p1{points[i - 1].X, points[i - 1].Y};
            const TPoint p2{points[i].X, points[i].Y};
            double d = 0;
            if (SegmentDistance2(p1, p2, {x, y}, d) && d < tolerance)
                if (!visit(m, p1, p2, d))
                    return;
        }
    }
}

} // namespace

int HitNode(const TNetworkTables &t, int x, int y)
{
    int hit = -1;
    const int last = MaxNodeNo(t);
    for (int n = 1; n <= last; ++n)
        if (NodeHit(t, n, x, y))
            hit = n;
    return hit;
}

int HitNodeOrTurn(const TNetworkTables &t, int x, int y, int &branch, int &turnIndex)
{
    branch = -1;
    const int lastNode = MaxNodeNo(t);
    for (int n = 1; n <= lastNode; ++n)
        if (NodeHit(t, n, x, y))
            return n;
    const int lastBranch = MaxBranchNo(t);
    for (int m = 1; m <= lastBranch; ++m) {
        if (!BranchPresent(t, m) || !t.BranchTurns[m])
            continue;
        const TTurnList &points = *t.BranchTurns[m];
        for (int i = 1; i + 1 < static_cast<int>(points.size()); ++i)
            if (InNodeBox(points[i].X, points[i].Y, x, y)) {
                branch = m;
                turnIndex = i;
                return -1;
            }
    }
    return -1;
}

int HitBranch(const TNetworkTables &t, double zoom, int x, int y, TPoint &foot)
{
    int best = -1;
    double bestDistance = 0;
    TPoint bestP1, bestP2;
    ForEachSegmentHit(t, zoom, x, y, [&](int m, TPoint p1, TPoint p2, double d) {
        if (best < 0 || d < bestDistance) {
            best = m;
            bestDistance = d;
            bestP1 = p1;
            bestP2 = p2;
        }
        return true;
    });
    if (best >= 0)
        foot = FootOnLine({double(bestP1.X), double(bestP1.Y)}, {double(bestP2.X), double(bestP2.Y)},
                          {double(x), double(y)});
    return best;
}

void FindNodesAt(const TNetworkTables &t, int x, int y, THitList &list)
{
    const int last = MaxNodeNo(t);
    for (int n = 1; n <= last; ++n)
        if (NodeHit(t, n, x, y) && !list.Add(n))
            return;
}

void FindBranchesAt(const TNetworkTables &t, double zoom, int x, int y, THitList &list)
{
    ForEachSegmentHit(t, zoom, x, y, [&](int m, TPoint, TPoint, double) { return list.Add(HitBranchBase + m); });
}

void FindPhonesAt(std::span<const TPoint> phones, int x, int y, THitList &list)
{
    for (std::size_t i = 0; i < phones.size(); ++i)
        if (InNodeBox(phones[i].X, phones[i].Y, x, y) && !list.Add(HitPhoneBase + static_cast<int>(i)))
            return;
}

void FindTextsAt(std::span<const TRect> texts, int x, int y, THitList &list)
{
    for (std::size_t i = 0; i < texts.size(); ++i)
        if (PointInRect({x, y}, texts[i]) && !list.Add(HitTextBase + static_cast<int>(i)))
            return;
}

TRect SchemeBounds(const TNetworkTables &t)
{
    const int lastNode = MaxNodeNo(t);
    if (PlacedNodeCount(t) < 2 || lastNode < 2)
        return {0, 0, 1500, 1000};
    TRect r{t.NodeX[lastNode], t.NodeY[lastNode], t.NodeX[lastNode], t.NodeY[lastNode]};
    const auto extend = [&r](int x, int y) { WidenRect(r, x, y); };
    for (int n = 1; n <= lastNode; ++n)
        if (NodeExist(t, n))
            extend(t.NodeX[n], t.NodeY[n]);
    const int lastBranch = MaxBranchNo(t);
    for (int m = 1; m <= lastBranch; ++m)
        if (BranchExist(t, m) && t.BranchTurns[m])
            for (const TTurn &p : *t.BranchTurns[m])
                extend(p.X, p.Y);
    return {r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
}

bool BranchInRect(const TNetworkTables &t, int branch, const TRect &r)
{
    if (!BranchExist(t, branch))
        return false;
    const int s = t.BranchStartNode[branch];
    const int e = t.BranchEndNode[branch];
    return PointInRect({t.NodeX[s], t.NodeY[s]}, r) && PointInRect({t.NodeX[e], t.NodeY[e]}, r);
}
