#pragma once
// A solvable ventilation network of a chosen size: a grid of workings between
// an intake shaft and an exhaust shaft with a main fan, for tests and benchmarks.
#include "model/network.h"

#include <vector>

// Fills t (cleared first) with about `branches` branches; returns the branch count.
int MakeGridNetwork(TNetworkTables &t, int branches);

// A mine-like network: `intakes` intake shafts feeding an intake main, a return
// main to `fans` exhaust shafts with main fans, and `panels` districts, each
// with gate roads, a longwall, a regulator, a development heading (every third
// with a local fan) and leaking stoppings between intake and return: 16
// branches per panel, as many panels as the tables hold at most; `seed` varies the resistances and fan depressions.
// The leaks make the loop passes converge slowly: from some 40 panels on, the
// networks need more than 200 passes.
int MakeMineNetwork(TNetworkTables &t, int panels, unsigned seed, int fans = 1, int intakes = 2);
// The number of panels that gives about `branches` branches.
int MineNetworkPanels(int branches);

// A connected random network of `nodes` underground nodes and about
// `branches` branches (every underground node on at least two), three surface
// nodes and one to three fans; resistances spread over three decades.
int MakeRandomNetwork(TNetworkTables &t, int nodes, int branches, unsigned seed);

// Additions to a network that put flows near zero where the solver must
// still find them. Each returns what it added.
//
// A new node joined to `node` by two branches of resistance r1 and r2 and
// no fan: a pair that carries no net flow, like twin dead-end headings,
// whose flows are zero. Returns the new node.
int AddParallelPair(TNetworkTables &t, int node, double r1, double r2);
// A new node joined to `node` by `count` branches of resistances from r to
// 1.16·r and no fan: parallel dead-end branches, all without flow.
int AddParallelBranches(TNetworkTables &t, int node, int count, double r);
// A side × side grid of workings of resistances from r to 1.6·r, hung on
// `node` by two branches from two opposite corners and otherwise dead-end: it
// carries no air, and its (side − 1)² + 1 cycles form one group. Returns the
// number of its first branch; the grid's own branches follow it.
int AddDeadEndGrid(TNetworkTables &t, int node, int side, double r);
// The `count` underground branches without a fan that carry the most air in
// the flows the tables hold, busiest first.
std::vector<int> BusiestBranches(const TNetworkTables &t, int count);
// A branch beside branch b, from its start node to its end node, with a local
// fan that exactly cancels b's depression at the flows the tables hold, so
// that it carries no air. Returns the new branch.
int AddCancellingFan(TNetworkTables &t, int b, double r);

// Altitudes and air temperatures for natural draught: the surface at 0 m, the
// workings between 300 and 420 m deep, the air warming by 2 °C along every
// working; every branch with a depression under 100 becomes a local fan (kind 8).
void AddAltitudesAndTemperatures(TNetworkTables &t);
