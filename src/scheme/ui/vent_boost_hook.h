#pragma once
// The boost search window ("Усиление проветривания") for a branch, opened by
// the boost tool of the scheme and by the branch dialog. The calculations
// fill it when the program starts; while it is unset, what would open it
// stays disabled.
#include <functional>

extern std::function<void(int BranchNo)> ShowVentBoost;
