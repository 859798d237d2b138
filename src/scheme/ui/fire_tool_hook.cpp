#include "scheme/ui/fire_tool_hook.h"

std::function<bool(int BranchNo)> FireToolClick;
