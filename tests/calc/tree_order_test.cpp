// The spanning tree decides the chords, the meshes and so the exact flows.
// The solver keeps its frontier in ordered sets; here the tree is also grown
// by walking the working chains item by item, restarting the chord search at
// the head after every removal, and both must agree on every network.
#include "calc/mesh_solver.h"
#include "generated_network.h"
#include "solver_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

struct TLiteralTree
{
    std::vector<int> Chords;
    std::vector<int> TreeBranch;  // by node
};

constexpr long double Threshold = 0.00001L;

bool InTree(const TAdjacency &adjacency, int node)
{
    return static_cast<long double>(adjacency[node].Work) > Threshold;
}

// One chord search: the first item from the head with both ends in the tree
// leaves the frontier; returns false when there is none.
bool RemoveOneChord(AdjacencyItem *&frontier, TAdjacency &adjacency, const TTable<std::int16_t> &begin,
                    const TTable<std::int16_t> &end, std::vector<int> &chords)
{
    for (AdjacencyItem **link = &frontier; *link; link = &(*link)->Next) {
        const int b = (*link)->Branch;
        if (InTree(adjacency, begin[b]) && InTree(adjacency, end[b])) {
            *link = (*link)->Next;
            if (std::find(chords.begin(), chords.end(), b) == chords.end())
                chords.push_back(b);
            return true;
        }
    }
    return false;
}

TLiteralTree GrowLiterally(const TMeshSolver &solver, const TNetworkTables &t, const TTable<double> &r)
{
    auto begin = std::make_unique<TTable<std::int16_t>>();
    auto end = std::make_unique<TTable<std::int16_t>>();
    const int branches = MaxBranchNo(t);
    const int nodes = MaxNodeNo(t);
    for (int b = 1; b <= branches; ++b) {
        (*begin)[b] = static_cast<std::int16_t>(solver.Begin(b));
        (*end)[b] = static_cast<std::int16_t>(solver.End(b));
    }
    TAdjacency adjacency;
    int used = 0;
    BuildAdjacency(t.BranchNo, *begin, *end, nodes, branches, adjacency, used);
    TLiteralTree tree;
    const int start = (*begin)[solver.RootBranch()];
    adjacency[start].Work = 1;
    AdjacencyItem *frontier = adjacency[start].Head;
    while (RemoveOneChord(frontier, adjacency, *begin, *end, tree.Chords)) {
    }
    while (frontier) {
        AdjacencyItem *incumbent = frontier;
        for (AdjacencyItem *item = frontier->Next; item; item = item->Next)
            if (r[item->Branch] < r[incumbent->Branch] && static_cast<long double>(r[item->Branch]) > Threshold)
                incumbent = item;
        UnlinkAdjacency(incumbent->Branch, frontier);
        const int b = incumbent->Branch;
        const int n = incumbent->Side == 1 ? (*begin)[b] : (*end)[b];
        const int from = incumbent->Side == 1 ? (*end)[b] : (*begin)[b];
        adjacency[n].Work = adjacency[from].Work + 1;
        adjacency[n].TreeBranch = static_cast<std::int16_t>(b);
        UnlinkAdjacency(b, adjacency[n].Head);
        if (adjacency[n].Head) {
            AdjacencyItem *last = adjacency[n].Head;
            while (last->Next)
                last = last->Next;
            last->Next = frontier;
            frontier = adjacency[n].Head;
        }
        while (RemoveOneChord(frontier, adjacency, *begin, *end, tree.Chords)) {
        }
    }
    tree.TreeBranch.assign(static_cast<std::size_t>(nodes) + 2, 0);
    for (int n = 1; n <= nodes + 1; ++n)
        tree.TreeBranch[n] = adjacency[n].TreeBranch;
    FreeAdjacency(nodes, adjacency);
    return tree;
}

// Ties, resistances at and below the threshold and loops make the order rules count.
void Roughen(TNetworkTables &t, unsigned seed)
{
    for (int b = 1; b <= MaxBranchNo(t); ++b) {
        const unsigned pick = (b * 2654435761u + seed * 40503u) >> 7;
        if (pick % 11 == 0)
            t.BranchR[b] = 0;
        else if (pick % 13 == 0)
            t.BranchR[b] = 0.00001;
        else
            t.BranchR[b] = std::round(t.BranchR[b] * 20) / 20 + 0.05;
        if (pick % 17 == 0)
            t.BranchEndNode[b] = t.BranchStartNode[b];
    }
}

} // namespace

TEST(TreeOrder, OrderedFrontierGrowsTheTreeOfTheItemWalk)
{
    auto holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(seed);
        if (seed % 3 == 0)
            MakeMineNetwork(t, 5 + seed, seed, 1 + seed % 4);
        else
            MakeRandomNetwork(t, 8 + 4 * seed, 14 + 9 * seed, seed);
        if (seed % 2 == 0)
            Roughen(t, seed);
        auto flows = std::make_unique<TTable<double>>();
        TMeshSolver solver(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode,
                           t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, *flows);
        ASSERT_TRUE(solver.JoinSurfaceNodes());
        solver.BuildAdjacencyLists();
        ASSERT_TRUE(solver.FindRootBranch());
        ASSERT_TRUE(solver.BuildSpanningTree());
        const TLiteralTree literal = GrowLiterally(solver, t, t.BranchR);
        EXPECT_EQ(std::vector<int>(solver.Chords().begin(), solver.Chords().end()), literal.Chords);
        for (int n = 1; n <= MaxNodeNo(t) + 1; ++n)
            EXPECT_EQ(solver.Adjacency()[n].TreeBranch, literal.TreeBranch[n]) << "node " << n;
    }
}
