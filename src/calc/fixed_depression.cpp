#include "calc/fixed_depression.h"

#include "calc/mesh_solver.h"
#include "platform/prompt.h"

#include <cmath>

namespace {

// A mesh whose resistances, counted from this start, stay below the limit has
// nothing to take its depression: eight fixed branches (0.000081) still count.
constexpr double MeshResistanceStart = 0.000001;
constexpr long double MeshResistanceLimit = 0.00009L;

bool HasFixedDepression(const TTable<double> &fixedH, int b)
{
    return static_cast<long double>(fixedH[b]) > MinResistance;
}

// The texts of the meshes without resistance: the numbers of their branches,
// as long as the running resistance sum stays below the limit.
QStringList MeshesWithoutResistance(const TMeshSolver &solver, const TTable<double> &r)
{
    QStringList meshes;
    for (int k = 0; k < solver.MeshCount(); ++k) {
        double sum = MeshResistanceStart;
        QString text;
        for (const MeshMember *m = solver.MeshBegin(k); m != solver.MeshEnd(k); ++m) {
            sum += r[m->Branch];
            if (static_cast<long double>(sum) < MeshResistanceLimit) {
                if (!text.isEmpty())
                    text += QStringLiteral(", ");
                text += QString::number(m->Branch);
            }
        }
        if (static_cast<long double>(sum) < MeshResistanceLimit)
            meshes << text;
    }
    return meshes;
}

} // namespace

FixedDeprResult CalcAirFixedDepression(TNetworkTables &t, int BranchCount, int NodeCount,
                                       const TTable<std::int16_t> &BranchNo,
                                       const TTable<std::int16_t> &BeginNode,
                                       const TTable<std::int16_t> &EndNode,
                                       const TTable<std::uint8_t> &Surface, TTable<double> &R,
                                       TTable<double> &H, const TTable<double> &FixedH, TTable<double> &Q,
                                       QStringList *meshesWithoutR, TSolveStats *stats)
{
    // The solve works on copies of R and H, which it changes between its steps;
    // the caller's R receives only the resistances found for fixed branches.
    auto r = std::make_unique<TTable<double>>(R);
    auto h = std::make_unique<TTable<double>>(H);
    TMeshSolver solver(t, BranchCount, NodeCount, BranchNo, BeginNode, EndNode, Surface, *r, *h, Q);
    if (meshesWithoutR)
        meshesWithoutR->clear();
    const auto result = [&](FixedDeprResult code) {
        if (stats)
            *stats = solver.Stats;
        return code;
    };
    if (!solver.HasBranches())
        return result(fdNoBranches);
    if (!solver.JoinSurfaceNodes())
        return result(fdNoSurfaceLink);
    if (!solver.HasDraughtSource())
        return result(fdNoDraughtSource);
    if (!solver.TopologyIsSound())
        return result(fdTopologyErrors);
    solver.BuildAdjacencyLists();

    // Fixed branches take the least resistance the tree accepts, so that they
    // become tree branches and the chords are mostly branches with a resistance.
    // Only branches that take part count: a stray value at a free place would
    // otherwise end in a division by its zero flow.
    std::vector<int> fixed;
    const int last = std::clamp(BranchCount, 0, MaxItems);
    for (int b = 1; b <= last; ++b)
        if (solver.Usable(b) && HasFixedDepression(FixedH, b)) {
            (*r)[b] = static_cast<double>(MinResistance);
            fixed.push_back(b);
        }
    if (fixed.empty())
        return result(fdNoFixedDepression);
    if (!solver.FindRootBranch())
        return result(fdNoResistance);
    if (!solver.BuildSpanningTree() || !solver.InitChordFlows(&FixedH) || !solver.BuildMeshes())
        return result(fdCalcFailed);
    const QStringList withoutR = MeshesWithoutResistance(solver, *r);
    if (!withoutR.isEmpty()) {
        if (meshesWithoutR)
            *meshesWithoutR = withoutR;
        return result(fdMeshWithoutResistance);
    }

    // A fixed branch acts as a fixed pressure drop against its own direction.
    for (int b : fixed) {
        (*r)[b] = 0;
        (*h)[b] = -FixedH[b];
    }
    if (!solver.IterateMeshes())
        return result(fdCalcFailed);
    std::vector<double> found;
    found.reserve(fixed.size());
    for (int b : fixed) {
        const double q2 = Q[b] * Q[b];
        const double resistance = std::fabs(FixedH[b] / q2);
        if (q2 == 0 || !std::isfinite(resistance))
            return result(fdCalcFailed);
        found.push_back(resistance);
    }
    for (std::size_t k = 0; k < fixed.size(); ++k)
        R[fixed[k]] = found[k];
    return result(fdSolved);
}

bool RunFixedDepressionAir(QObject *Owner, TNetworkTables &t, TSolveStats *stats)
{
    QStringList meshes;
    const FixedDeprResult code = CalcAirFixedDepression(
        t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode, t.NodeIsSurface,
        t.BranchR, t.BranchAuxDepression, t.BranchFixedDepression, t.BranchQ, &meshes, stats);
    if (code == fdSolved)
        return true;
    ShowFixedDepressionError(Owner, code, meshes, t);
    return false;
}

void ShowFixedDepressionError(QObject *Owner, int Code, const QStringList &meshesWithoutR, TNetworkTables &t)
{
    const QString caption = QStringLiteral("ОШИБКА");
    switch (Code) {
    case fdMeshWithoutResistance: {
        QString list;
        for (const QString &mesh : meshesWithoutR)
            list += mesh + u'\r';
        ShowMessageBox(QStringLiteral("Расчет невозможен. Рекомендуется упростить сеть,\r задайте "
                                      "сопротивление минимум в одной ветви контура: %1\r")
                           .arg(list),
                       caption, mb::Ok | mb::IconError);
        if (CalcErrorHooks.ShowBranchRange)
            for (const QString &mesh : meshesWithoutR)
                if (!CalcErrorHooks.ShowBranchRange(Owner, mesh))
                    break;
        break;
    }
    case fdNoFixedDepression:
        ShowMessageBox(QStringLiteral("Расчет невозможен. Не заданы фиксированные депрессии."), caption,
                       mb::Ok | mb::IconError);
        break;
    default:
        ShowCalcError(Owner, Code, t);
        break;
    }
}
