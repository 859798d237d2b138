#pragma once
// A solvable ventilation network of a chosen size: a grid of workings between
// an intake shaft and an exhaust shaft with a main fan, for tests and benchmarks.
#include "model/network.h"

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

// Altitudes and air temperatures for natural draught: the surface at 0 m, the
// workings between 300 and 420 m deep, the air warming by 2 °C along every
// working; every branch with a depression under 100 becomes a local fan (kind 8).
void AddAltitudesAndTemperatures(TNetworkTables &t);
