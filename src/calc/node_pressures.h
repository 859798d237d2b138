#pragma once
// Node pressures: the depression of every node relative to the surface,
// found by walking from the surface nodes along the direction of the flows
// of a solved network. The scheme's node labels, the node dialog, the report
// managers and the later network studies read them.
#include "calc/solver.h"
#include "model/network.h"

#include <QtCore/QString>

#include <cstdint>
#include <vector>

// Marks a surface node in TTraversalWorkArrays::ReachedBy.
constexpr std::int16_t SurfaceReached = 1111;
// The result for a node that no branch touches (and that is not on the surface).
constexpr double DetachedNodePressure = 1000;

// The work area of the network walks: a snapshot of the network, its
// adjacency, the layers of the walk and the node pressures. One instance
// (TraversalWorkArrays) serves every study of this family in turn.
struct TTraversalWorkArrays
{
    TTraversalWorkArrays();
    ~TTraversalWorkArrays();
    TTraversalWorkArrays(const TTraversalWorkArrays &) = delete;
    TTraversalWorkArrays &operator=(const TTraversalWorkArrays &) = delete;

    // Snapshot.
    TTable<std::int16_t> BranchNo{}, BranchStartNode{}, BranchEndNode{};
    TTable<std::uint8_t> NodeIsSurface{};
    TTable<double> BranchR{}, BranchQ{}, BranchAuxDepression{};
    TTable<std::int16_t> NodeNo{};
    // Taken only by the short-circuiting study, which opens paths by their geometry.
    TTable<std::int16_t> BranchLength{};
    TTable<double> BranchArea{};
    int MaxNode = 0;
    int MaxBranch = 0;

    // Work holds a node's pressure.
    TAdjacency Adjacency;
    int AdjacencyNodes = 0; // nodes the built adjacency covers, 0 when released

    // Layers: Queue[1..QueueCount]; layer k is Queue[LayerFirst[k]..LayerLast[k]].
    std::vector<std::int16_t> Queue;
    int QueueCount = 0;
    std::vector<std::int16_t> LayerFirst, LayerLast;
    int LayerCount = 0;
    std::vector<std::int16_t> ReachedBy; // per node: reaching branch, SurfaceReached, or 0
    std::vector<std::int16_t> LedOut;    // per branch: 1 once a walk went through it

    // The result by node number.
    std::vector<double> NodePressures;

    void TakeSnapshot(const TNetworkTables &t);
    void ClearWorkArrays();
    void BuildAdjacency();
    void ReleaseAdjacency();
    bool NodeExists(int n) const { return n >= 1 && n <= MaxNode && NodeNo[n] == n; }
    bool HasBranches(int n) const;
};
extern TTraversalWorkArrays TraversalWorkArrays;

// Layers the snapshot's nodes from the surface along the flows.
void BuildFlowLayers(TTraversalWorkArrays &w);
// Pressures of the layered nodes into the adjacency's work values.
void PropagatePressures(TTraversalWorkArrays &w);
// NodePressures from the work values (0 above the highest node, 1000 for a
// node without branches, else the walk's pressure).
void ExtractPressures(TTraversalWorkArrays &w);

// Solves t (a failure is shown with owner) and fills pressures (by node
// number, TableSize entries); a failed solve leaves pressures as it was.
bool ComputeNodePressures(TNetworkTables &t, std::vector<double> &pressures, QObject *owner = nullptr);
// The same on tables already solved.
void NodePressuresOfSolved(const TNetworkTables &t, std::vector<double> &pressures);

// Number with the given field width and decimals, right-aligned; the studies'
// text tables use it.
QString FormatFixedText(int width, int decimals, double value);

// The texts of the ten-node cross tables: TableSize entries by node, the
// rows of the grids hold MaxNodeNo div 10 + 1 rows of data.
// Pressure: "0.0" on the surface, one decimal for a node with branches, else empty.
std::vector<QString> PressureCellTexts(const TTraversalWorkArrays &w);
// Altitude: empty for a free number, " ?" for the unknown altitude 10000,
// else one decimal.
std::vector<QString> AltitudeCellTexts(const TNetworkTables &t);
