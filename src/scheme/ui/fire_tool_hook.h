#pragma once
// The fire modelling window as the scheme's fire tool reaches it: a click on
// a branch computes the fire there and colours its zone without showing the
// window (made when there is none). True when the window exists afterwards;
// the caller redraws. The fire modelling fills it when the program starts;
// while it is unset, the fire tool stays disabled.
#include <functional>

extern std::function<bool(int BranchNo)> FireToolClick;
