#include "scheme/ui/vent_boost_hook.h"

std::function<void(int BranchNo)> ShowVentBoost;
