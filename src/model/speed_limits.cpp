#include "model/speed_limits.h"

#include <cmath>

double DefaultMinSpeed(int type)
{
    switch (type) {
    case 7: return 0.25;
    case 4: return MinSpeedNotRegulated;
    default: return 0.15;
    }
}

double DefaultMaxSpeed(int type)
{
    switch (type) {
    case 7: case 10: return 4;
    case 11: case 12: case 15: return 8;
    case 13: return 12;
    case 24: return MaxSpeedUnlimited;
    case 25: case 26: return 15;
    default: return 6;
    }
}

double BranchMinSpeedLimit(const TNetworkTables &t, int b)
{
    const double own = t.BranchMinSpeed[b];
    return own == SpeedTypeDefault ? DefaultMinSpeed(t.BranchType[b]) : own;
}

double BranchMaxSpeedLimit(const TNetworkTables &t, int b)
{
    const double own = t.BranchMaxSpeed[b];
    return own == SpeedTypeDefault ? DefaultMaxSpeed(t.BranchType[b]) : own;
}

bool IsUncontrolledType(int type)
{
    switch (type) {
    case 1: case 2: case 8: case 14: case 16: case 20: case 21:
        return true;
    default:
        return false;
    }
}

double BranchAirSpeed(const TNetworkTables &t, int b)
{
    if (IsUncontrolledType(t.BranchType[b]) || t.BranchArea[b] == 0)
        return NoSpeed;
    return std::fabs(t.BranchQ[b] / t.BranchArea[b]);
}
