#include "model/selection.h"

#include <cmath>

bool IsBranchSelected(const TNetworkTables &t, int n)
{
    return ValidItemIndex(n) && t.BranchNo[n] == n && (t.BranchFlags[n] & bfSelected) != 0;
}

int SelectedBranchCount(const TNetworkTables &t)
{
    int count = 0;
    for (int n = 1; n <= MaxItems; ++n)
        if (IsBranchSelected(t, n))
            ++count;
    return count;
}

double BranchDepression(const TNetworkTables &t, int n)
{
    return std::fabs(std::fabs(t.BranchAuxDepression[n]) - t.BranchR[n] * t.BranchQ[n] * t.BranchQ[n]);
}
