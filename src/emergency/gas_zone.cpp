#include "emergency/gas_zone.h"

#include <cmath>
#include <cstdlib>

namespace {

// With this resistance the fire branch is as good as closed: the depression
// that then acts across it is what the fire must overcome to reverse its flow.
constexpr double ClosedBranchR = 999.0;
// Share of contaminated air at the source's downstream node, %.
constexpr double SourceShare = 100.0;

CalcResult Solve(TNetworkTables &t, TFlowArrays a)
{
    return CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode,
                               t.BranchEndNode, t.NodeIsSurface, a.R, a.H, a.Q);
}

} // namespace

TGasZoneList ZoneBranches(const TZoneEntryList &zone)
{
    TGasZoneList list;
    std::vector<bool> seen(TableSize, false);
    for (const auto entry : zone) {
        const int b = std::abs(entry);
        if (ValidItemIndex(b) && !seen[b]) {
            seen[b] = true;
            list.push_back(b);
        }
    }
    return list;
}

TZoneWalker::TZoneWalker(const TNetworkTables &t) : m_t(t), m_nodeCount(MaxNodeNo(t))
{
    int nodesUsed = 0;
    BuildAdjacency(t.BranchNo, t.BranchStartNode, t.BranchEndNode, m_nodeCount, MaxBranchNo(t), m_adjacency,
                   nodesUsed);
}

TZoneWalker::~TZoneWalker()
{
    FreeAdjacency(m_nodeCount, m_adjacency);
}

void TZoneWalker::GasZone(int s, const TTable<double> &q, TZoneEntryList &zone)
{
    zone.clear();
    for (int n = 1; n <= m_nodeCount + 1 && n < static_cast<int>(m_adjacency.size()); ++n) {
        m_adjacency[n].Work = 0;
        m_adjacency[n].TreeBranch = 0;
    }
    if (!ValidItemIndex(s) || m_t.BranchNo[s] != s)
        return;
    const auto &begin = m_t.BranchStartNode;
    const auto &end = m_t.BranchEndNode;
    const int n0 = q[s] > 0 ? end[s] : begin[s];
    if (n0 < 1 || n0 > m_nodeCount)
        return;
    m_adjacency[n0].Work = SourceShare;
    m_adjacency[n0].TreeBranch = static_cast<std::int16_t>(s);
    zone.push_back(static_cast<std::int16_t>(s));
    // The source's downstream node is expanded even on the surface.
    Expand(n0, s, s, q, zone);
    for (std::size_t i = 1; i < zone.size(); ++i) {
        const int br = zone[i];
        if (br < 1 || q[br] == 0)
            continue;
        const int node = q[br] > 0 ? end[br] : begin[br];
        if (m_adjacency[node].TreeBranch != br || m_t.NodeIsSurface[node])
            continue;
        Expand(node, br, s, q, zone);
    }
}

double TZoneWalker::Share(int n) const
{
    return n >= 1 && n <= m_nodeCount ? m_adjacency[n].Work : 0.0;
}

// Lists the branches that leave node n (and those without flow), except the
// one it was reached by and the source. Each newly reached node gets the share
// of contaminated air that the branch carries to it; a node counts as clean
// while its share is exactly 0, and clean inflows dilute what leaves n.
void TZoneWalker::Expand(int n, int arrivedBy, int source, const TTable<double> &q, TZoneEntryList &zone)
{
    const auto &begin = m_t.BranchStartNode;
    const auto &end = m_t.BranchEndNode;
    const auto enters = [&](const AdjacencyItem *item) {
        const double flow = q[item->Branch];
        return (flow > 0 && item->Side > 0) || (flow < 0 && item->Side < 0);
    };
    const auto farEnd = [&](const AdjacencyItem *item) {
        return item->Side < 0 ? end[item->Branch] : begin[item->Branch];
    };

    double cleanInflow = 0;
    for (const AdjacencyItem *item = m_adjacency[n].Head; item; item = item->Next)
        if (item->Branch != arrivedBy && enters(item) && m_adjacency[farEnd(item)].Work == 0)
            cleanInflow += std::fabs(q[item->Branch]);

    for (const AdjacencyItem *item = m_adjacency[n].Head; item; item = item->Next) {
        const int br = item->Branch;
        if (br == arrivedBy || br == source || enters(item))
            continue;
        if (static_cast<int>(zone.size()) >= MaxZoneEntries)
            return;
        const int far = farEnd(item);
        AdjacencyNode &farNode = m_adjacency[far];
        if (farNode.TreeBranch != 0) {
            zone.push_back(static_cast<std::int16_t>(-br));
            continue;
        }
        zone.push_back(static_cast<std::int16_t>(br));
        // No air moves along a branch without flow, so it carries no smoke to
        // its far node: that node stays free for a contaminated branch that
        // reaches it later.
        const double flow = std::fabs(q[br]);
        if (flow == 0)
            continue;
        farNode.TreeBranch = static_cast<std::int16_t>(br);
        farNode.Work = m_adjacency[n].Work * flow / (flow + cleanInflow);
    }
}

int ReversalMinute(const TFireSeries &series, double hcr)
{
    const int count = series.Count();
    if (count < 1 || !(std::fabs(series[count]) > std::fabs(hcr)))
        return 0;
    for (int n = 1; n <= count; ++n)
        if (std::fabs(series[n]) >= std::fabs(hcr))
            return n;
    return 0;
}

bool CalcUpsetTime(TNetworkTables &t, int b, TFlowArrays a, const TFireOptions &options, int &minute,
                   double &hcr, TFireSeries &series)
{
    const int l = t.BranchLength[b];
    const double slope = BranchSlope(l, t.NodeAltitude[t.BranchStartNode[b]], t.NodeAltitude[t.BranchEndNode[b]],
                                     t.BranchAngle[b]);
    if (options.Load) {
        TFireLoadRec rec = *options.Load;
        FireDepressionLoaded(series, rec, l, t.BranchArea[b], slope, a.Q[b], t.BranchStartTemp[b], options.FireTime);
    } else {
        FireDepression(series, l, t.BranchArea[b], slope, a.Q[b], t.BranchStartTemp[b], options.FireTime);
    }
    {
        const TRestoreOnExit restore(a.R[b]);
        a.R[b] = ClosedBranchR;
        Solve(t, a);
        hcr = a.Q[b] * a.Q[b] * a.R[b];
    }
    const int reversal = ReversalMinute(series, hcr);
    if (reversal == 0)
        return false;
    minute = reversal;
    hcr = series[reversal];
    return true;
}

bool CalcUpsetTimeEx(TNetworkTables &t, int b, TFlowArrays a, const TFireOptions &options, int &count,
                     int &minute, double &hmax, double &hcr)
{
    minute = 0;
    hmax = 0;
    hcr = 0;
    TFireSeries series;
    const bool upset = CalcUpsetTime(t, b, a, options, minute, hcr, series);
    count = series.Count();
    hmax = series.Last();
    return upset;
}

void ZoneAfterUpset(TNetworkTables &t, int b, int mode, TFlowArrays a, const TFireOptions &options,
                    int &count, int &minute, double &hrev, TZoneEntryList &zone)
{
    zone.clear();
    count = 0;
    minute = 0;
    hrev = 0;
    if (mode != 0) {
        TFireSeries series;
        double hcr = 0;
        // The solve with the branch closed reads the depressions, it does not change them.
        const bool upset = CalcUpsetTime(t, b, a, options, minute, hcr, series);
        count = series.Count();
        if (upset && mode == vtDescending)
            hrev = series[minute];
        // The fire's depression replaces the branch's own: against its flow in
        // descending ventilation, with it in ascending.
        a.H[b] = FlowSign(a.Q[b]) * mode * series.Last();
        Solve(t, a);
    }
    TZoneWalker walker(t);
    walker.GasZone(b, a.Q, zone);
}

void ShowZoneOnScheme(TBranchColors &colors, const TSchemeColors &palette, const TGasZoneList &zone,
                      int fireBranch)
{
    for (const int b : zone)
        if (ValidItemIndex(b))
            colors[b] = palette[sciSmoke];
    if (ValidItemIndex(fireBranch))
        colors[fireBranch] = palette[sciFire];
}

void ShowZonesOnScheme(TBranchColors &colors, const TSchemeColors &palette, const TGasZoneList &zone1,
                       const TGasZoneList &zone2, int fireBranch)
{
    for (const int b : zone2)
        if (ValidItemIndex(b))
            colors[b] = clAqua;
    ShowZoneOnScheme(colors, palette, zone1, fireBranch);
}

CalcResult GasSourceZone(TNetworkTables &t, TGasSourceTypeSet typeSet, TFlowArrays a, std::vector<int> &changed)
{
    changed.clear();
    const int n = MaxBranchNo(t);
    std::vector<std::uint8_t> fresh(TableSize, 1);
    const CalcResult result = Solve(t, a);
    if (result != crSolved)
        return result;
    TZoneWalker walker(t);
    TZoneEntryList zone;
    for (int p = 1; p <= n; ++p) {
        if (!BranchExist(t, p) || !(typeSet & TypeBit(t.BranchType[p])))
            continue;
        walker.GasZone(p, a.Q, zone);
        for (const auto entry : zone)
            fresh[std::abs(entry)] = 0;
    }
    for (int p = 1; p <= n; ++p)
        if (BranchExist(t, p) && t.BranchIsFresh[p] != fresh[p]) {
            t.BranchIsFresh[p] = fresh[p];
            changed.push_back(p);
        }
    return result;
}

void ShowGasSourceZone(TBranchColors &colors, const TSchemeColors &palette, const TNetworkTables &t,
                       TGasSourceTypeSet typeSet)
{
    const int n = MaxBranchNo(t);
    for (int p = 1; p <= n; ++p)
        if (BranchExist(t, p) && t.BranchIsFresh[p] == 0)
            colors[p] = palette[sciRouteInSmoke];
    for (int p = 1; p <= n; ++p)
        if (BranchExist(t, p) && (typeSet & TypeBit(t.BranchType[p])))
            colors[p] = palette[sciFire];
}
