#pragma once
// The sample journal kept beside the sample mine: measurements of its shafts,
// longwall panels, development faces, chambers and leakages, in rubrics of
// every type, the mine's two main fans, titles grouped by district, and one
// record naming a branch that the mine lacks.
#include "journal/refresh.h"
#include "model/network.h"

// The journal's view of tables in this process, as the exports give it.
TJournalNetwork JournalNetworkOf(const TNetworkTables &t);

// A number the sample mine leaves unused, named by one record.
constexpr int DemoMissingBranch = 4321;

// Fills the new journal from the sample mine solved in `t`: the flows, areas,
// temperatures and names come from a refresh, humidity and gases are added.
void MakeDemoJournal(TKerstal &journal, const TNetworkTables &t);
