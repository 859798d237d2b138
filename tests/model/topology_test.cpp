#include "model/topology.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::vector<int> Nodes(const TErrorNodeList &list)
{
    std::vector<int> nodes;
    for (const TErrorNodes &e : list)
        nodes.push_back(e.Node);
    return nodes;
}

class Topology : public ::testing::Test
{
protected:
    void Node(int n, bool surface = false)
    {
        CreateNode(t, n);
        t.NodeIsSurface[n] = surface;
    }
    void Branch(int b, int from, int to)
    {
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
    }
    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
};

} // namespace

TEST_F(Topology, EmptyNetworkGivesEmptyLists)
{
    BuildNodeBranchLists(t);
    EXPECT_TRUE(FindDeadEndNodes(t).empty());
    const TNodeClasses c = ClassifyNodes(t);
    EXPECT_TRUE(c.MoreThanFour.empty() && c.OnlyLeaving.empty() && c.OnlyEntering.empty() && c.FreeNodes.empty());
}

TEST_F(Topology, DeadEndsSkipSurfaceNodesAndWellConnectedNodes)
{
    // 1 (surface) -> 2 -> 3 -> 4 (surface), plus 2 -> 5 a dead end.
    Node(1, true); Node(2); Node(3); Node(4, true); Node(5);
    Branch(1, 1, 2); Branch(2, 2, 3); Branch(3, 3, 4); Branch(4, 2, 5);
    BuildNodeBranchLists(t);
    const TErrorNodeList dead = FindDeadEndNodes(t);
    EXPECT_EQ(Nodes(dead), std::vector<int>{5});
    ASSERT_EQ(dead[0].Branches.size(), 1u);
    EXPECT_EQ(dead[0].Branches[0].Branch, 4);
    EXPECT_EQ(dead[0].Branches[0].Direction, TBranchToNode::Entering);

    DestroyBranch(t, 4);
    BuildNodeBranchLists(t);
    EXPECT_TRUE(FindDeadEndNodes(t).empty());
}

TEST_F(Topology, ClassifyNodesFillsEachList)
{
    // Node 10 has six entering branches from nodes 1..6; node 20 is free;
    // node 30 is created and destroyed below MaxNodeNo.
    Node(10);
    for (int i = 1; i <= 6; ++i) {
        Node(i, i == 1);
        Branch(i, i, 10);
    }
    Node(20);
    Node(30);
    Node(40, true);
    Branch(7, 40, 10); // a surface node with one branch is no dead end
    DestroyNode(t, 30);
    BuildNodeBranchLists(t);
    const TNodeClasses c = ClassifyNodes(t);
    EXPECT_EQ(Nodes(c.MoreThanFour), std::vector<int>{10});
    EXPECT_EQ(Nodes(c.OnlyEntering), std::vector<int>{10});
    EXPECT_EQ(Nodes(c.OnlyLeaving), (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(c.FreeNodes, std::vector<int>{20});
    EXPECT_EQ(Nodes(FindDeadEndNodes(t)), (std::vector<int>{2, 3, 4, 5, 6}));
}
