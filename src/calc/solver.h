#pragma once
// The normal air distribution of the network by the loop (mesh) method on a
// spanning tree, with every surface node joined into one virtual surface node,
// and the adjacency lists that the other network walks reuse.
//
// Every array is indexed by item number (place 0 unused). The solver reads the
// tables `t` besides its arrays: the highest branch number for "no branches",
// and the node incidence lists it rebuilds for the dead-end test. Callers pass
// BranchCount = MaxBranchNo(t) and NodeCount = MaxNodeNo(t).
#include "model/network.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class QObject;

// Result of CalcAirDistribution; the codes are shown to the user by ShowCalcError.
enum CalcResult : std::int16_t {
    crSolved = 0,
    crNoBranches = 1,         // the highest branch number is 0
    crNoSurfaceLink = 2,      // fewer than two branch ends at surface nodes
    crTopologyErrors = 3,     // a non-surface node touched by exactly one branch
    crNoResistance = 4,       // no branch with 0.00001 < R < 10000
    crNoDraughtSource = 5,    // no branch with a non-zero additional depression
    crCalcFailed = 6,         // the tree, flows, meshes or iteration failed
};

// How the iteration came to rest. The loop passes stop once one settles, or
// after 200; a network still unsettled is finished by Newton steps on the node
// pressures.
enum TSettling : std::int16_t {
    stNotRun = 0,       // the call ended before the iteration
    stSettled = 1,      // a pass within the first 200 left every mesh settled
    stExtended = 2,     // settled only after the Newton steps that follow the passes
    stUnsettled = 3,    // even the extended solve did not settle; flows are the last reached
};

// What a solve did, for callers that warn about an unsettled result and for tests.
struct TSolveStats
{
    int Passes = 0;             // loop passes run, those after the Newton steps included
    int NewtonSteps = 0;        // Newton steps of the extended solve
    TSettling Settling = stNotRun;
    int Chords = 0;             // number of meshes
    int FloorCycles = 0;        // cycles of the largest group the Newton steps settled apart at their true slopes
};

// Solves the air distribution: R resistances (kilomurgues), H additional
// depressions (mm w.c., acting from the start node towards the end node);
// writes Q (m³/s, positive from start to end) and nothing else of the arrays.
// Branches outside the part of the network reached from the root keep Q = 0.
CalcResult CalcAirDistribution(TNetworkTables &t, int BranchCount, int NodeCount,
                               const TTable<std::int16_t> &BranchNo,
                               const TTable<std::int16_t> &BeginNode,
                               const TTable<std::int16_t> &EndNode,
                               const TTable<std::uint8_t> &Surface,
                               const TTable<double> &R, const TTable<double> &H,
                               TTable<double> &Q, TSolveStats *stats = nullptr);

// CalcAirDistribution on the tables' own arrays: R, additional depression
// and Q of the branches, surface flags of the nodes.
CalcResult CalcTablesAir(TNetworkTables &t, TSolveStats *stats = nullptr);

// CalcTablesAir; a failure is shown by ShowCalcError with Owner. True when solved.
bool CalcAir(QObject *Owner, TNetworkTables &t = Net, TSolveStats *stats = nullptr);

// Warns, for a solve that even the extended solve left unsettled, that the
// flows about to be shown are approximate; a settled result shows nothing.
// The window that shows a result calls it once, after its solve.
void WarnIfUnsettled(const TSolveStats &stats);

// Shows the failure of a CalcResult: a box captioned "ОШИБКА", the topology
// report for code 3 and the branch table of zero resistances after code 6.
// Code 0 and codes above 6 show nothing.
void ShowCalcError(QObject *Owner, int Code, TNetworkTables &t = Net);

// The windows that a failure opens live in the ui; it sets these when it
// starts. Unset, code 3 names the dead-end nodes in the box instead.
struct TCalcErrorHooks
{
    // The topology error report, modal, owned by owner.
    std::function<void(QObject *owner)> ShowTopologyReport;
    // The branch table editor with its filter "Сопротивление = 0".
    std::function<void(QObject *owner)> ShowZeroResistanceBranches;
    // The branch table editor on a range of branch numbers ("3, 7, 12");
    // false when the user cancelled it.
    std::function<bool(QObject *owner, const QString &range)> ShowBranchRange;
};
extern TCalcErrorHooks CalcErrorHooks;

// The adjacency lists: per node a chain of its branch ends. Nodes 1 to
// NodeCount + 1 are used, the last being the virtual surface node of the solver.
struct AdjacencyItem
{
    AdjacencyItem *Next = nullptr;       // working link; walks unlink items through it
    AdjacencyItem *Permanent = nullptr;  // the chain as built; used only for freeing
    std::int16_t Branch = 0;
    std::int16_t Side = 0;               // -1 at the branch's start node, +1 at its end node
};

struct AdjacencyNode
{
    double Work = 0;                     // the walk's own value (the solver keeps the depth here)
    std::int16_t TreeBranch = 0;         // the branch by which a walk reached the node
    AdjacencyItem *Head = nullptr;       // working chain
    AdjacencyItem *First = nullptr;      // the chain as built, for freeing
};

using TAdjacency = std::vector<AdjacencyNode>;

// Clears nodes 1 to NodeCount + 1 (growing Adjacency when it is smaller) and
// puts, for every branch j = 1 to BranchCount with BranchNo[j] != 0, an item
// {j, -1} in front of its start node's chain and {j, +1} in front of its end
// node's chain; a branch with an end outside 1 to NodeCount + 1 is left out.
// Chains thus list branch ends in decreasing branch number. NodesWithBranches
// receives the number of nodes with a non-empty chain.
void BuildAdjacency(const TTable<std::int16_t> &BranchNo, const TTable<std::int16_t> &BeginNode,
                    const TTable<std::int16_t> &EndNode, int NodeCount, int BranchCount,
                    TAdjacency &Adjacency, int &NodesWithBranches);
// Removes Branch's first item from the working chain at Head; the item stays allocated.
void UnlinkAdjacency(int Branch, AdjacencyItem *&Head);
// Releases every item of nodes 1 to NodeCount + 1.
void FreeAdjacency(int NodeCount, TAdjacency &Adjacency);

// List helpers kept here for the fire and route code.
template <typename T>
int ListAdd(const T &Item, std::vector<T> &List)
{
    List.push_back(Item);
    return static_cast<int>(List.size()) - 1;
}
template <typename T>
void ListFree(std::vector<T> &List)
{
    List.clear();
    List.shrink_to_fit();
}
template <typename T>
int ListIndexOf(const std::vector<T> &List, const T &Item)
{
    for (std::size_t i = 0; i < List.size(); ++i)
        if (List[i] == Item)
            return static_cast<int>(i);
    return -1;
}
