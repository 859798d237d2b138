#pragma once
// What the scheme's mouse tools reach in windows that other parts of the
// program build. While a hook is unset, its tool button stays disabled.
#include <functional>

class TOverlayObjects;

// The fire-modelling window computing the fire in a branch and colouring the
// scheme (the fire tool); false when the window could not be made.
extern std::function<bool(int BranchNo)> FireModelAtBranch;
// The balloons, telephones and texts over the scheme (their tools, their
// drags with the move tool, their hits in the object search, the shift).
extern TOverlayObjects *SchemeOverlayObjects;
