#include "emergency/route_search.h"

#include "emergency/fire_depression.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

const TNodeLabel NoLabel;

// Direction words below this slope, degrees.
constexpr double LevelSlope = 5;

} // namespace

QString MinutesText(double minutes)
{
    double a = std::trunc(minutes);
    if (std::nearbyint((minutes - a) * 60) > 0)
        a += 1;
    return QString::number(static_cast<long long>(a)) + QStringLiteral("мин.");
}

QString DirectionText(const TNetworkTables &t, int b, int g)
{
    const int from = t.BranchStartNode[b];
    const int to = t.BranchEndNode[b];
    const double slope = BranchSlope(t.BranchLength[b], t.NodeAltitude[from], t.NodeAltitude[to], t.BranchAngle[b]);
    if (slope <= LevelSlope)
        return QStringLiteral("гориз.");
    if (g != from && g != to)
        return {};
    const double zg = t.NodeAltitude[g];
    const double zOther = t.NodeAltitude[g == from ? to : from];
    if (zg > zOther)
        return QStringLiteral("вниз");
    if (zg < zOther)
        return QStringLiteral("вверх");
    return {};
}

TRouteSearch::TRouteSearch(const TNetworkTables &t) : m_t(t)
{
    m_labels.resize(TableSize);
    m_chains.resize(TableSize);
    m_zonePlace.assign(TableSize, 0);
}

bool TRouteSearch::IsSmokeBranch(int b) const
{
    return SmokeZone.size() > 1 && std::find(SmokeZone.begin() + 1, SmokeZone.end(), b) != SmokeZone.end();
}

bool TRouteSearch::IsOutsideZone(int b) const
{
    return std::find(SmokeZone.begin(), SmokeZone.end(), b) == SmokeZone.end();
}

void TRouteSearch::ComputeTimes()
{
    ::ComputeTimes(m_t, Task, SmokeZone, Times);
}

void TRouteSearch::BuildAdjacency()
{
    m_nodeCount = MaxNodeNo(m_t);
    std::fill(m_labels.begin(), m_labels.end(), TNodeLabel{});
    for (auto &chain : m_chains)
        chain.clear();
    m_candidates.clear();
    m_items.clear();
    std::fill(m_zonePlace.begin(), m_zonePlace.end(), std::uint8_t(0));
    for (std::size_t k = 0; k < SmokeZone.size(); ++k)
        if (ValidItemIndex(SmokeZone[k]))
            m_zonePlace[SmokeZone[k]] = k == 0 ? 1 : 2;
    std::vector<bool> impassable(TableSize, false);
    for (const TBdBranch &e : Impassable)
        if (ValidItemIndex(e.Branch))
            impassable[e.Branch] = true;

    // Each branch goes to the front of its nodes' lists, so that a list
    // holds its branches from the highest number down: walking the numbers
    // downwards and appending gives the same order.
    for (int n = MaxBranchNo(m_t); n >= 1; --n) {
        if (m_t.BranchNo[n] == 0 || impassable[n] || (Task == rtLiquidation && m_zonePlace[n] == 2))
            continue;
        const int from = m_t.BranchStartNode[n];
        const int to = m_t.BranchEndNode[n];
        if (!ValidItemIndex(from) || !ValidItemIndex(to))
            continue;
        m_items.push_back({n, +1, 0});
        m_chains[to].push_back(int(m_items.size()) - 1);
        m_items.push_back({n, -1, 0});
        m_chains[from].push_back(int(m_items.size()) - 1);
    }
}

bool TRouteSearch::InRouteNetwork(int n) const
{
    return n >= 1 && n <= m_nodeCount && !m_chains[n].empty();
}

const TNodeLabel &TRouteSearch::Label(int n) const
{
    return ValidItemIndex(n) ? m_labels[n] : NoLabel;
}

bool TRouteSearch::HasFreshBranch(int n) const
{
    return std::any_of(m_chains[n].begin(), m_chains[n].end(),
                       [this](int i) { return m_zonePlace[m_items[i].Branch] == 0; });
}

void TRouteSearch::EraseCandidate(std::size_t index)
{
    m_candidates.erase(m_candidates.begin() + std::ptrdiff_t(index));
}

void TRouteSearch::UnlinkCandidate(int b)
{
    for (std::size_t k = m_candidates.size(); k-- > 0;)
        if (m_items[m_candidates[k]].Branch == b) {
            EraseCandidate(k);
            return;
        }
}

void TRouteSearch::PruneCandidates()
{
    std::erase_if(m_candidates, [this](int i) {
        const int b = m_items[i].Branch;
        return Reached(m_t.BranchStartNode[b]) && Reached(m_t.BranchEndNode[b]);
    });
}

void TRouteSearch::SearchFrom(int s)
{
    NearestSurfaceExit = 0;
    NearestFreshNode = 0;
    m_candidates.clear();
    if (s < 1 || s > m_nodeCount)
        return;
    m_labels[s] = {1, 0, 0};
    for (const int i : m_chains[s])
        m_items[i].Entry = s;
    m_candidates.assign(m_chains[s].rbegin(), m_chains[s].rend());

    if (Task == rtTransport || Task == rtEvacuation) {
        NearestFreshNode = -1;
        if (HasFreshBranch(s))
            NearestFreshNode = s;
        else
            LabelSearch(true, true);
        CloseSmokeZone();
        if (m_candidates.empty())
            return;
        LabelSearch(true, true);
        return;
    }
    LabelSearch(true, true);
}

void TRouteSearch::CloseSmokeZone()
{
    for (const int b : SmokeZone) {
        if (!ValidItemIndex(b))
            continue;
        UnlinkCandidate(b);
        for (const int n : {int(m_t.BranchStartNode[b]), int(m_t.BranchEndNode[b])})
            if (ValidItemIndex(n))
                m_chains[n].clear();
    }
}

void TRouteSearch::LabelSearch(bool stopAtFresh, bool noCounterFlow)
{
    const bool counterFlowCheck = noCounterFlow && (Task == rtTransport || Task == rtEvacuation);
    bool stop = false;
    while (!m_candidates.empty() && !stop) {
        // The first strict minimum in list order, from the back of the vector.
        double bound = RouteTimeBound;
        std::ptrdiff_t best = -1;
        for (std::ptrdiff_t k = std::ptrdiff_t(m_candidates.size()) - 1; k >= 0; --k) {
            const TItem &item = m_items[m_candidates[std::size_t(k)]];
            const int b = item.Branch;
            const bool forward = item.Entry == m_t.BranchStartNode[b];
            const double total = m_labels[item.Entry].Time + (forward ? Times.Forward[b] : Times.Backward[b]);
            if (total < bound) {
                bound = total;
                best = k;
            }
        }
        // Whatever is left lies beyond the bound: nothing more is reachable.
        if (best < 0)
            break;
        const TItem item = m_items[m_candidates[std::size_t(best)]];
        const int b = item.Branch;
        const int e = item.Entry;
        const bool forward = e == m_t.BranchStartNode[b];
        const int f = forward ? m_t.BranchEndNode[b] : m_t.BranchStartNode[b];

        // A node keeps the label it was first reached with.
        if (Reached(f)) {
            EraseCandidate(std::size_t(best));
            continue;
        }
        if (counterFlowCheck && m_zonePlace[b] == 2 && ((!forward && m_t.BranchQ[b] > 0) || (forward && m_t.BranchQ[b] < 0))) {
            EraseCandidate(std::size_t(best));
            continue;
        }
        const bool outside = m_zonePlace[b] == 0;
        if (NearestSurfaceExit == 0 && m_t.NodeLiftToSurface[f] && outside)
            NearestSurfaceExit = f;
        if (NearestFreshNode == -1 && (outside || HasFreshBranch(f))) {
            NearestFreshNode = f;
            if (stopAtFresh)
                stop = true;
        } else {
            UnlinkCandidate(b);
        }

        m_labels[f] = {m_labels[e].Steps + 1, b, bound};
        auto &chain = m_chains[f];
        const auto own = std::find_if(chain.begin(), chain.end(), [&](int i) { return m_items[i].Branch == b; });
        if (own != chain.end())
            chain.erase(own);
        for (const int i : chain)
            m_items[i].Entry = f;
        // The search never goes on through the surface.
        if (!m_t.NodeIsSurface[f] && !chain.empty()) {
            m_candidates.insert(m_candidates.end(), chain.rbegin(), chain.rend());
            PruneCandidates();
        }
    }
}

TRouteList TRouteSearch::BuildRoute(int s, int t, int people) const
{
    TRouteList list;
    list.From = s;
    list.To = t;
    const TNodeLabel &target = Label(t);
    QString extra;
    if (target.Steps != 0) {
        list.TimeText = QStringLiteral(" время движения ") + MinutesText(target.Time);
        if (Task == rtEvacuation && ValidItemIndex(people)) {
            const double pt = s == m_t.BranchStartNode[people] ? Times.Backward[people] : Times.Forward[people];
            extra = QStringLiteral("(возможно + ") + MinutesText(pt) + QStringLiteral(", за счет прохождения по выработке)");
            list.TimeText += extra;
        }
    } else {
        list.TimeText = QStringLiteral(" путь отсутствует ");
    }
    if (Task == rtTransport || Task == rtEvacuation) {
        if (NearestFreshNode < 1)
            list.FreshText = QStringLiteral("Путь до ближайшего свежего узла по направлению дыма не найден");
        else
            list.FreshText = QStringLiteral("Ближайший свежий узел ") + QString::number(NearestFreshNode)
                             + QStringLiteral(", время ") + MinutesText(Label(NearestFreshNode).Time) + extra;
        if (NearestSurfaceExit < 1)
            list.ExitText = QStringLiteral("Путь до выхода на поверхность не найден ");
        else
            list.ExitText = QStringLiteral("Ближайший выход на поверхность по свежей - узел ")
                            + QString::number(NearestSurfaceExit) + QStringLiteral(", время ")
                            + MinutesText(Label(NearestSurfaceExit).Time) + extra;
    }
    if (target.Steps == 0)
        return list;
    const int k = std::abs(int(std::nearbyint(target.Steps - Label(s).Steps)));
    list.Steps.reserve(std::size_t(k));
    int g = t;
    for (int i = 0; i < k; ++i) {
        const TNodeLabel &label = Label(g);
        const int b = label.Branch;
        if (!ValidItemIndex(b))
            break;
        const int from = m_t.BranchStartNode[b] == g ? m_t.BranchEndNode[b] : m_t.BranchStartNode[b];
        list.Steps.push_back({b, from, label.Time});
        g = from;
    }
    std::reverse(list.Steps.begin(), list.Steps.end());
    return list;
}

TRouteList TRouteSearch::ComputeRoute(int s, int t)
{
    ComputeTimes();
    SearchFrom(s);
    return BuildRoute(s, t);
}
