#pragma once
// Refreshing a journal's measurements from the program's network. The journal
// reads the network only through three of the program's exports; the plug-in
// binds the real ones, tests bind tables of their own.
#include "journal/journal.h"

#include <QtCore/QStringList>

#include <cstdint>
#include <functional>

// The branch tables that the journal reads from the program's branch info
// block (its entries 0, 8, 10 and 12). Each pointer addresses item 1, so item
// n is at index n - 1, as the program hands its tables out.
struct TJournalBranchTables
{
    const std::int16_t *BranchNo = nullptr;
    const double *BranchQ = nullptr;          // m³/s
    const double *BranchStartTemp = nullptr;  // °C
    const double *BranchArea = nullptr;       // m²
};

struct TJournalNetwork
{
    std::function<bool(int)> ValidItemIndex;
    std::function<TJournalBranchTables()> GetBranchInfoBlock;
    // Empty for a branch that the program does not count as existing.
    std::function<QString(int)> GetBranchName;
};

// A branch is in the network when its number is a valid item number and the
// number table holds it at its place. The program's own test also wants both
// end nodes; the journal does not.
bool BranchInNetwork(const TJournalNetwork &net, const TJournalBranchTables &tables, int n);

enum class TRefreshResult { NotInNetwork, Refreshed, ZeroSection };

// Takes cross-section, flow (m³/min, halves to even), speed, temperature and
// name of branch m.Number when it is in the network; humidity and gas texts
// stay. A cross-section that gives no finite speed sets the speed to 0 and
// answers ZeroSection. A branch not in the network leaves m as it was.
TRefreshResult RefreshMeasurement(const TJournalNetwork &net, const TJournalBranchTables &tables,
                                  TBranchRecord &m);

// Refreshes every named branch of the journal and returns the log, rubric by
// rubric. The journal becomes modified once a measurement was refreshed.
QStringList RefreshFromNetwork(TKerstal &journal, const TJournalNetwork &net);
