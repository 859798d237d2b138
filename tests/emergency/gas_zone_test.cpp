#include "emergency/gas_zone.h"
#include "small_network.h"

#include <gtest/gtest.h>

namespace {

TZoneEntryList Walk(const TNetworkTables &t, int source)
{
    TZoneWalker walker(t);
    TZoneEntryList zone;
    walker.GasZone(source, t.BranchQ, zone);
    return zone;
}

using Entries = TZoneEntryList;

} // namespace

TEST(GasZone, ChainStopsAtTheSurface)
{
    TSmallNetwork net;
    net.Node(4, true);
    net.Branch(1, 1, 2, 5);
    net.Branch(2, 2, 3, 5);
    net.Branch(3, 3, 4, 5);
    net.Branch(4, 4, 5, 5); // beyond the surface node
    EXPECT_EQ(Walk(net.t, 1), (Entries{1, 2, 3}));
}

TEST(GasZone, SourceDownstreamNodeIsExpandedEvenOnTheSurface)
{
    TSmallNetwork net;
    net.Node(2, true);
    net.Branch(1, 1, 2, 5);
    net.Branch(2, 2, 3, 5);
    EXPECT_EQ(Walk(net.t, 1), (Entries{1, 2}));
}

TEST(GasZone, CleanInflowDilutesWhatLeavesTheNode)
{
    // Smoke (2 m³/s) meets clean air (6 m³/s) at node 2; 8 m³/s leave.
    TSmallNetwork net;
    net.Branch(1, 1, 2, 2);
    net.Branch(2, 5, 2, 6);
    net.Branch(3, 2, 3, 8);
    net.Branch(4, 3, 4, 8);
    TZoneWalker walker(net.t);
    TZoneEntryList zone;
    walker.GasZone(1, net.t.BranchQ, zone);
    EXPECT_EQ(zone, (Entries{1, 3, 4})); // the clean inflow is not in the zone
    EXPECT_DOUBLE_EQ(walker.Share(2), 100.0);
    EXPECT_DOUBLE_EQ(walker.Share(3), 100.0 * 8 / (8 + 6));
    EXPECT_DOUBLE_EQ(walker.Share(4), 100.0 * 8 / (8 + 6));
    EXPECT_DOUBLE_EQ(walker.Share(5), 0.0);
}

TEST(GasZone, SecondContaminatedInflowIsANegativeEntry)
{
    // 1 splits at node 2 into 2 and 3, which join again at node 5.
    TSmallNetwork net;
    net.Node(6, true);
    net.Branch(1, 1, 2, 10);
    net.Branch(2, 2, 3, 4);
    net.Branch(3, 2, 4, 6);
    net.Branch(4, 3, 5, 4);
    net.Branch(5, 4, 5, 6);
    net.Branch(6, 5, 6, 10);
    // Chains list branch ends newest first, so 3 is reached before 2.
    EXPECT_EQ(Walk(net.t, 1), (Entries{1, 3, 2, 5, -4, 6}));
}

TEST(GasZone, BranchWithoutFlowIsListedButNotFollowed)
{
    TSmallNetwork net;
    net.Node(4, true);
    net.Branch(1, 1, 2, 5);
    net.Branch(2, 2, 3, 5);
    net.Branch(3, 3, 4, 5);
    net.Branch(7, 3, 9, 0);  // dead end without flow
    net.Branch(8, 9, 10, 5); // not reached through it
    EXPECT_EQ(Walk(net.t, 1), (Entries{1, 2, 7, 3}));
}

TEST(GasZone, BranchWithoutFlowDoesNotBlockTheNodeItLeadsTo)
{
    // Node 4 lies at the far end of a still branch from node 2 and downstream
    // of the smoke's real path through node 3: it must still be followed.
    TSmallNetwork net;
    net.Node(6, true);
    net.Branch(1, 1, 2, 5);
    net.Branch(2, 2, 3, 5);
    net.Branch(3, 3, 4, 5);
    net.Branch(4, 4, 6, 5);
    net.Branch(5, 2, 4, 0);
    EXPECT_EQ(Walk(net.t, 1), (Entries{1, 5, 2, 3, -5, 4}));
}

TEST(GasZone, SourceWithReversedFlowStartsAtItsStartNode)
{
    TSmallNetwork net;
    net.Branch(1, 2, 1, -5); // air moves from node 1 to node 2
    net.Branch(2, 2, 3, 5);
    net.Branch(3, 4, 1, 5);  // feeds node 1 upstream of the source
    net.Branch(4, 3, 5, 5);
    EXPECT_EQ(Walk(net.t, 1), (Entries{1, 2, 4}));
}

TEST(GasZone, ListNeverRunsPastItsCapacity)
{
    // Thousands of still branches in parallel are listed from both of their ends.
    TSmallNetwork net;
    net.Branch(1, 1, 2, 5);
    net.Branch(2, 2, 3, 5);
    net.Branch(3, 3, 4, 5);
    for (int b = 4; b <= MaxItems; ++b)
        net.Branch(b, 2, 3, 0);
    const TZoneEntryList zone = Walk(net.t, 1);
    EXPECT_EQ(static_cast<int>(zone.size()), MaxZoneEntries);
    EXPECT_EQ(ZoneBranches(zone).size(), static_cast<std::size_t>(MaxItems - 1)); // all but branch 3
}

TEST(GasZone, ReversalMinute)
{
    struct Case { std::vector<double> values; double hcr; int minute; };
    const Case cases[] = {
        {{1, 2, 3}, 5, 0},                   // never reaches the critical depression
        {{1, 2, 3, 5}, 5, 0},                // the last value only equals it
        {{1, 2, 3, 4, 4.5, 4.9, 5, 5, 6}, 5, 7}, // first reached at minute 7
        {{1, -6}, 5, 2},                     // compared by magnitude
        {{6}, -5, 1},
        {{}, 0, 0},
    };
    for (const Case &c : cases) {
        TFireSeries s;
        for (double v : c.values)
            s.Append(v);
        EXPECT_EQ(ReversalMinute(s, c.hcr), c.minute) << c.values.size();
    }
}

TEST(GasZone, Colouring)
{
    TSchemeColors palette{};
    for (int i = 0; i < SchemeColorCount; ++i)
        palette[i] = 100 + i;
    TBranchColors colors{};
    colors.fill(1);
    ShowZonesOnScheme(colors, palette, {2, 3}, {3, 4}, 2);
    EXPECT_EQ(colors[1], 1);
    EXPECT_EQ(colors[2], palette[sciFire]);
    EXPECT_EQ(colors[3], palette[sciSmoke]); // zone 1 wins
    EXPECT_EQ(colors[4], clAqua);
}
