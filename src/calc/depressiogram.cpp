#include "calc/depressiogram.h"

#include "model/branch_values.h"
#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace {

// Kinds that carry no part of the main route: leakages, development faces
// and ducts.
bool NoRouteKind(int kind)
{
    return kind == 21 || kind == 10 || kind == 20 || kind == 1;
}

// Kinds whose length does not matter for the depressiogram.
bool LengthFreeKind(int kind)
{
    return kind == 1 || kind == 2 || kind == 8 || kind == 10 || kind == 19 || kind == 20 || kind == 21;
}

TRoute Trace(TTraversalWorkArrays &w, const TNetworkTables &t, int longwall, bool fresh)
{
    TRoute route;
    w.ClearWorkArrays();
    w.BuildAdjacency();
    const double qL = w.BranchQ[longwall];
    const bool forward = qL >= 0;
    const int r0 = fresh == forward ? w.BranchStartNode[longwall] : w.BranchEndNode[longwall];
    const auto append = [&](int node, int branch) {
        route.Nodes.push_back(node);
        route.Branches.push_back(branch);
        w.Queue[static_cast<std::size_t>(++w.QueueCount)] = static_cast<std::int16_t>(node);
        w.ReachedBy[static_cast<std::size_t>(node)] = static_cast<std::int16_t>(branch);
        w.LedOut[static_cast<std::size_t>(branch)] = 1;
    };
    append(r0, longwall);
    bool complete = false;
    // Used marks end every walk; the queue bound keeps a walk in circulating
    // air inside its arrays.
    while (!complete && w.QueueCount + 1 < static_cast<int>(w.Queue.size())) {
        const int r = route.Nodes.back();
        int best = 0, bestNode = 0;
        double bestQ = -1;
        if (r < static_cast<int>(w.Adjacency.size()))
            for (const AdjacencyItem *item = w.Adjacency[static_cast<std::size_t>(r)].First; item;
                 item = item->Permanent) {
                const int c = item->Branch;
                const double q = w.BranchQ[c];
                const int start = w.BranchStartNode[c], end = w.BranchEndNode[c];
                int u = 0;
                if (fresh)
                    u = end == r && q >= 0 ? start : start == r && q < 0 ? end : 0;
                else
                    u = start == r && q >= 0 ? end : end == r && q < 0 ? start : 0;
                if (u == 0 || w.LedOut[static_cast<std::size_t>(c)] || NoRouteKind(t.BranchType[c]))
                    continue;
                if (std::fabs(q) > bestQ) {
                    best = c;
                    bestNode = u;
                    bestQ = std::fabs(q);
                }
            }
        if (best == 0)
            break;
        append(bestNode, best);
        // Complete only when the winner itself reaches the surface.
        complete = w.NodeIsSurface[bestNode] != 0;
    }
    w.ReleaseAdjacency();
    route.Result = complete ? rrComplete : route.Nodes.size() > 1 ? rrNoSurface : rrNoStep;
    return route;
}

QString OtherEnd(const TTraversalWorkArrays &w, int b, int node)
{
    return QString::number(w.BranchStartNode[b] == node ? w.BranchEndNode[b] : w.BranchStartNode[b]);
}

} // namespace

TRoute TraceFreshRoute(TTraversalWorkArrays &w, const TNetworkTables &t, int longwall)
{
    return Trace(w, t, longwall, true);
}

TRoute TraceOutgoingRoute(TTraversalWorkArrays &w, const TNetworkTables &t, int longwall)
{
    return Trace(w, t, longwall, false);
}

int BranchesWithoutLength(const TNetworkTables &t)
{
    int count = 0;
    const int last = MaxBranchNo(t);
    for (int b = 1; b <= last; ++b)
        if (BranchExist(t, b) && t.BranchLength[b] <= 0 && !LengthFreeKind(t.BranchType[b]))
            ++count;
    return count;
}

QString NoLengthMessage(int count)
{
    return QStringLiteral("Не задана длина %1 ветвей!!!\r\rПоэтому задание СНИМАЕТСЯ...").arg(count);
}

TDepressiogram::TDepressiogram(const TNetworkTables &t)
    : Tables(t)
{
    NodePressuresOfSolved(t, Pressures);
}

void TDepressiogram::FillLongwallList()
{
    Longwalls.clear();
    LongwallItems.clear();
    for (int b = 1; b < TableSize; ++b)
        if (BranchExist(Tables, b) && Tables.BranchType[b] == 7) {
            Longwalls.push_back(b);
            LongwallItems << QStringLiteral("%1  (№ %2)").arg(GetBranchName(Tables, b)).arg(b);
        }
    Longwall = Longwalls.empty() ? 0 : Longwalls.front();
}

double TDepressiogram::Depression(int b) const
{
    const TTraversalWorkArrays &w = TraversalWorkArrays;
    return w.BranchR[b] * w.BranchQ[b] * w.BranchQ[b];
}

QStringList TDepressiogram::Choose(int index)
{
    QStringList warnings;
    if (index < 0 || index >= static_cast<int>(Longwalls.size()))
        return warnings;
    Longwall = Longwalls[static_cast<std::size_t>(index)];
    TTraversalWorkArrays &w = TraversalWorkArrays;
    const TRoute fresh = TraceFreshRoute(w, Tables, Longwall);
    if (fresh.Result == rrNoStep)
        warnings << QStringLiteral("Не найден путь на свежей !...");
    else if (fresh.Result == rrNoSurface)
        warnings << QStringLiteral("Не найден узел поверхности на свежей !...");
    else
        PlotFreshRoute(fresh);
    const TRoute outgoing = TraceOutgoingRoute(w, Tables, Longwall);
    if (outgoing.Result == rrNoStep)
        warnings << QStringLiteral("Не найден путь на исходящей !...");
    else if (outgoing.Result == rrNoSurface)
        warnings << QStringLiteral("Не найден узел поверхности на исходящей !...");
    else
        PlotOutgoingRoute(outgoing);
    return warnings;
}

void TDepressiogram::PlotFreshRoute(const TRoute &route)
{
    const TTraversalWorkArrays &w = TraversalWorkArrays;
    FreshItems.clear();
    Fresh.clear();
    Outgoing.clear();
    m_wholeFresh.clear();
    RouteBranches.clear();
    const int L = Longwall;
    const auto onLongwall = [&](int node) { return node == w.BranchStartNode[L] || node == w.BranchEndNode[L]; };
    double x = 0, y = 0;
    const QString surface = QString::number(route.Nodes.back());
    Fresh.push_back({x, y, surface});
    m_wholeFresh.push_back({x, y, surface});
    for (int k = static_cast<int>(route.Nodes.size()) - 1; k >= 0; --k) {
        const int b = route.Branches[static_cast<std::size_t>(k)];
        const int node = route.Nodes[static_cast<std::size_t>(k)];
        const QString v = OtherEnd(w, b, node);
        FreshItems << QStringLiteral("%1. %2 (№ %1)").arg(b).arg(GetBranchName(Tables, b));
        RouteBranches.push_back(b);
        x += Tables.BranchLength[b] / 1000.0;
        y += Depression(b);
        Fresh.push_back({x, y, v});
        m_wholeFresh.push_back({x, y, onLongwall(v.toInt()) ? QStringLiteral("Лава") : v});
    }
    FreshLength = x;
    FreshDepression = y;
    FreshRows = static_cast<int>(RouteBranches.size());
    Whole = m_wholeFresh;
    Caption = QStringLiteral("Депрессиограмма через %1 ( N %2)").arg(GetBranchName(Tables, L)).arg(L);
}

void TDepressiogram::PlotOutgoingRoute(const TRoute &route)
{
    OutgoingItems.clear();
    Outgoing.clear();
    Whole = m_wholeFresh;
    // The longwall ends the fresh rows and starts the outgoing ones: it is listed once.
    RouteBranches.resize(static_cast<std::size_t>(std::max(FreshRows - 1, 0)));
    double xo = 0, y = FreshDepression, xw = FreshLength, yw = FreshDepression;
    const int L = route.Branches.front();
    OutgoingItems << QStringLiteral("%1 (N %2)").arg(GetBranchName(Tables, L)).arg(L);
    RouteBranches.push_back(L);
    Outgoing.push_back({xo, y, QString::number(route.Nodes.front())});
    for (std::size_t k = 1; k < route.Nodes.size(); ++k) {
        const int b = route.Branches[k];
        OutgoingItems << QStringLiteral("%1. %2 (№ %1)").arg(b).arg(GetBranchName(Tables, b));
        RouteBranches.push_back(b);
        const double length = Tables.BranchLength[b] / 1000.0;
        xo += length;
        xw += length;
        y += Depression(b);
        yw += Depression(b);
        const QString label = QString::number(route.Nodes[k]);
        Outgoing.push_back({xo, y, label});
        Whole.push_back({xw, yw, label});
    }
}

QStringList TDepressiogram::RouteHeaders()
{
    return {QStringLiteral("Ветвь"),     QStringLiteral("Название"),  QStringLiteral("Начало"),
            QStringLiteral("Конец"),     QStringLiteral("Расход"),    QStringLiteral("Сопротивл"),
            QStringLiteral("Депрессия"), QStringLiteral("Сечение"),   QStringLiteral("Длина"),
            QStringLiteral("Примечание")};
}

QStringList TDepressiogram::RouteRow(int row) const
{
    const TTraversalWorkArrays &w = TraversalWorkArrays;
    const int b = RouteBranches[static_cast<std::size_t>(row)];
    const int start = w.BranchStartNode[b], end = w.BranchEndNode[b];
    const auto pressure = [&](int n) {
        return n >= 0 && n < static_cast<int>(Pressures.size()) ? Pressures[static_cast<std::size_t>(n)] : 0.0;
    };
    return {QString::number(b),
            GetBranchName(Tables, b),
            QString::number(start),
            QString::number(end),
            FormatFixed(w.BranchQ[b], 1),
            FormatFixed(w.BranchR[b], 5),
            FormatFixed(pressure(start) - pressure(end), 1),
            FormatFixed(Tables.BranchArea[b], 1),
            QString::number(Tables.BranchLength[b]),
            row < FreshRows ? QStringLiteral("Свежая") : QStringLiteral("Исходящая")};
}

TRouteRowKind TDepressiogram::RowKind(int row) const
{
    if (row >= FreshRows)
        return rkOutgoing;
    return RouteBranches[static_cast<std::size_t>(row)] == Longwall ? rkLongwall : rkFresh;
}

bool TDepressiogram::ReportValue(int record, const QString &name, const QString &mineTitle, QString &value) const
{
    // The mine's name stands in titles and footers, printed also outside the rows.
    if (name == QStringLiteral("НазвШахты")) {
        value = mineTitle;
        return true;
    }
    if (record < 1 || record > RowCount())
        return false;
    const int b = RouteBranches[static_cast<std::size_t>(record - 1)];
    if (name == QStringLiteral("Номер"))
        value = QString::number(b).rightJustified(5);
    else if (name == QStringLiteral("Название"))
        value = Tables.BranchName[b];
    else if (name == QStringLiteral("Длина"))
        value = QString::number(Tables.BranchLength[b]).rightJustified(5);
    else if (name == QStringLiteral("Сечение"))
        value = FormatWD(Tables.BranchArea[b], 5, 1);
    else if (name == QStringLiteral("Сопротив"))
        value = FormatWD(Tables.BranchR[b], 10, 5);
    else if (name == QStringLiteral("Расход"))
        value = FormatWD(Tables.BranchQ[b], 9, 1);
    else if (name == QStringLiteral("Депр"))
        value = FormatWD(BranchDepression(Tables, b), 6, 1);
    else
        return false;
    return true;
}

QString TDepressiogram::TemplatePath(const QString &reportsLocation)
{
    QString folder = reportsLocation;
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    return folder + QStringLiteral("Депрессиограмма/Депрессиограмма.frf");
}

TDepressiogramReport::TDepressiogramReport(const TDepressiogram &study) : m_study(study)
{
    udDepres.Name = DepressiogramSourceName;
    udDepres.OnFirst = [this](TfrComponent *) { Record = 1; };
    udDepres.OnNext = [this](TfrComponent *) { ++Record; };
    udDepres.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = Record > m_study.RowCount(); };
}

bool TDepressiogramReport::GetValue(const QString &name, Variant &value) const
{
    QString text;
    if (!m_study.ReportValue(Record, name, MineTitle, text))
        return false;
    value = text;
    return true;
}
