#pragma once
// The program's own branch symbols: sensors, stoppings, doors, the
// measuring station, the mine-rescue post and the water barrier. They draw
// like a library's symbol, on the canvas of the handle they get, and read
// the background colour and the branch being drawn from the program's
// services (white and no branch without them).
#include "scheme/branch_symbols.h"

constexpr int BuiltinSymbolCount = 17;

// Appends the 17 built-in kinds after whatever the list holds, so that one
// of them hides a library symbol of the same name.
void RegisterBuiltinSymbols(TBranchSymbolList &list);
