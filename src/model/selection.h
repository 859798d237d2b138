#pragma once
// Branch selection (bit 0x800 of BranchFlags, saved with the scheme) and the
// depression over a branch, as the commands and the drawing read them.
#include "model/network.h"

// Branch n holds its own number and carries the selection bit.
bool IsBranchSelected(const TNetworkTables &t, int n);
int SelectedBranchCount(const TNetworkTables &t);
// | |BranchAuxDepression| − BranchR × BranchQ² |, mm water column.
double BranchDepression(const TNetworkTables &t, int n);
