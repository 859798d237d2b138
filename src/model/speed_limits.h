#pragma once
// The air speed limits of the branch kinds and the speed of a branch: what
// the speed control checks, what a new document fills in and what the branch
// dialog shows beside its limits.
#include "model/network.h"

// The speed of a branch that has none (free place, uncontrolled kind, no section).
constexpr double NoSpeed = 10000;

// Default limits of a branch kind, m/s; -100 not regulated, 1000 not limited.
double DefaultMinSpeed(int branchType);
double DefaultMaxSpeed(int branchType);
// The limits branch b is held to: its own, or its kind's where it has none
// yet (SpeedTypeDefault: made in this session, taken from the kind at the
// next load).
double BranchMinSpeedLimit(const TNetworkTables &t, int b);
double BranchMaxSpeedLimit(const TNetworkTables &t, int b);
// Leaks, main and local fans and pipes have no speed to control.
bool IsUncontrolledType(int branchType);
// NoSpeed for an uncontrolled kind or a cross-section of exactly 0, else |Q / S|.
double BranchAirSpeed(const TNetworkTables &t, int b);
