#pragma once
// A solvable ventilation network of a chosen size: a grid of workings between
// an intake shaft and an exhaust shaft with a main fan, for tests and benchmarks.
#include "model/network.h"

// Fills t (cleared first) with about `branches` branches; returns the branch count.
int MakeGridNetwork(TNetworkTables &t, int branches);
