#include "calc/solver.h"

#include "calc/mesh_solver.h"
#include "model/topology.h"
#include "platform/prompt.h"

#include <QtCore/QStringList>

TCalcErrorHooks CalcErrorHooks;

void BuildAdjacency(const TTable<std::int16_t> &BranchNo, const TTable<std::int16_t> &BeginNode,
                    const TTable<std::int16_t> &EndNode, int NodeCount, int BranchCount,
                    TAdjacency &Adjacency, int &NodesWithBranches)
{
    NodeCount = std::clamp(NodeCount, 0, MaxItems);
    BranchCount = std::clamp(BranchCount, 0, MaxItems);
    // Room for the virtual surface node NodeCount + 1, also when node 5000 is used.
    if (Adjacency.size() < static_cast<std::size_t>(NodeCount) + 2)
        Adjacency.resize(static_cast<std::size_t>(NodeCount) + 2);
    for (int n = 1; n <= NodeCount + 1; ++n)
        Adjacency[n] = AdjacencyNode{};
    const auto push = [&](int node, int branch, int side) {
        auto *item = new AdjacencyItem;
        item->Branch = static_cast<std::int16_t>(branch);
        item->Side = static_cast<std::int16_t>(side);
        item->Next = item->Permanent = Adjacency[node].Head;
        Adjacency[node].Head = Adjacency[node].First = item;
    };
    const auto validNode = [&](int n) { return n >= 1 && n <= NodeCount + 1; };
    for (int j = 1; j <= BranchCount; ++j) {
        if (BranchNo[j] == 0 || BeginNode[j] == 0)
            continue;
        if (!validNode(BeginNode[j]) || !validNode(EndNode[j]))
            continue;
        push(BeginNode[j], j, -1);
        push(EndNode[j], j, +1);
    }
    NodesWithBranches = 0;
    for (int n = 1; n <= NodeCount + 1; ++n)
        if (Adjacency[n].Head)
            ++NodesWithBranches;
}

void UnlinkAdjacency(int Branch, AdjacencyItem *&Head)
{
    for (AdjacencyItem **link = &Head; *link; link = &(*link)->Next)
        if ((*link)->Branch == Branch) {
            *link = (*link)->Next;
            return;
        }
}

void FreeAdjacency(int NodeCount, TAdjacency &Adjacency)
{
    const int last = std::min<int>(NodeCount + 1, static_cast<int>(Adjacency.size()) - 1);
    for (int n = 1; n <= last; ++n) {
        AdjacencyItem *item = Adjacency[n].First;
        while (item) {
            AdjacencyItem *next = item->Permanent;
            delete item;
            item = next;
        }
        Adjacency[n].First = Adjacency[n].Head = nullptr;
    }
}

CalcResult CalcAirDistribution(TNetworkTables &t, int BranchCount, int NodeCount,
                               const TTable<std::int16_t> &BranchNo, const TTable<std::int16_t> &BeginNode,
                               const TTable<std::int16_t> &EndNode, const TTable<std::uint8_t> &Surface,
                               const TTable<double> &R, const TTable<double> &H, TTable<double> &Q,
                               TSolveStats *stats)
{
    TMeshSolver solver(t, BranchCount, NodeCount, BranchNo, BeginNode, EndNode, Surface, R, H, Q);
    const auto result = [&](CalcResult code) {
        if (stats)
            *stats = solver.Stats;
        return code;
    };
    if (!solver.HasBranches())
        return result(crNoBranches);
    if (!solver.JoinSurfaceNodes())
        return result(crNoSurfaceLink);
    if (!solver.HasDraughtSource())
        return result(crNoDraughtSource);
    if (!solver.TopologyIsSound())
        return result(crTopologyErrors);
    solver.BuildAdjacencyLists();
    if (!solver.FindRootBranch())
        return result(crNoResistance);
    if (!solver.BuildSpanningTree() || !solver.InitChordFlows() || !solver.BuildMeshes()
        || !solver.IterateMeshes())
        return result(crCalcFailed);
    return result(crSolved);
}

CalcResult CalcTablesAir(TNetworkTables &t, TSolveStats *stats)
{
    return CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode,
                               t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, t.BranchQ, stats);
}

bool CalcAir(QObject *Owner, TNetworkTables &t, TSolveStats *stats)
{
    const CalcResult code = CalcTablesAir(t, stats);
    if (code == crSolved)
        return true;
    ShowCalcError(Owner, code, t);
    return false;
}

void WarnIfUnsettled(const TSolveStats &stats)
{
    if (stats.Settling != stUnsettled)
        return;
    ShowMessageBox(QStringLiteral("Расчет не сошелся: в ряде контуров сеть не уравновешена. "
                                  "Расходы воздуха в ветвях приближенные."),
                   QStringLiteral("Предупреждение"), mb::Ok | mb::IconWarning);
}

void ShowCalcError(QObject *Owner, int Code, TNetworkTables &t)
{
    const QString caption = QStringLiteral("ОШИБКА");
    const auto box = [&](const QString &text) { ShowMessageBox(text, caption, mb::Ok | mb::IconError); };
    switch (Code) {
    case crNoBranches:
        box(QStringLiteral("Расчет невозможен. Число ветвей в шахте 0."));
        break;
    case crNoSurfaceLink:
        box(QStringLiteral("Расчет невозможен. Недостаточно связи с поверхностью."));
        break;
    case crTopologyErrors:
        if (CalcErrorHooks.ShowTopologyReport) {
            CalcErrorHooks.ShowTopologyReport(Owner);
        } else {
            BuildNodeBranchLists(t);
            QStringList nodes;
            for (const TErrorNodes &e : FindDeadEndNodes(t))
                nodes << QString::number(e.Node);
            box(QStringLiteral("Расчет невозможен. Нарушение связности в узлах: %1.").arg(nodes.join(u", ")));
        }
        break;
    case crNoResistance:
        box(QStringLiteral("Расчет невозможен. Сопротивления всех ветвей 0."));
        break;
    case crNoDraughtSource:
        box(QStringLiteral("Расчет невозможен. В сети отсутствует источник тяги."));
        break;
    case crCalcFailed:
        box(QStringLiteral("Расчет невозможен. В ряде ветвей не заданы сопротивления."));
        if (CalcErrorHooks.ShowZeroResistanceBranches)
            CalcErrorHooks.ShowZeroResistanceBranches(Owner);
        break;
    default:
        break;
    }
}
