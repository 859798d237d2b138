#include "scheme/ui/tool_hooks.h"

std::function<bool(int BranchNo)> FireModelAtBranch;
TOverlayObjects *SchemeOverlayObjects = nullptr;
