#pragma once
// The air distribution in which some branches (typically regulators) take a
// fixed depression instead of having a resistance: the solve finds the flows
// and the resistance each such branch needs to take exactly that depression.
#include "calc/solver.h"

// Codes 0 to 6 mean what they mean in CalcResult.
enum FixedDeprResult : std::int16_t {
    fdSolved = 0,
    fdNoBranches = 1,
    fdNoSurfaceLink = 2,
    fdTopologyErrors = 3,
    fdNoResistance = 4,
    fdNoDraughtSource = 5,
    fdCalcFailed = 6,
    fdMeshWithoutResistance = 7,  // a mesh made only of fixed or resistance-free branches
    fdNoFixedDepression = 8,      // no branch with a fixed depression above 0.00001
};

// As CalcAirDistribution, with FixedH (mm w.c. per branch) the depressions to
// take. On success R holds, for every branch with a fixed depression, the
// resistance that gives it at the computed flow; every other R is unchanged.
// After a failure R and H are as before the call. Meshes without resistance
// (code 7) are listed in *meshesWithoutR as their branch numbers joined by ", ".
FixedDeprResult CalcAirFixedDepression(TNetworkTables &t, int BranchCount, int NodeCount,
                                       const TTable<std::int16_t> &BranchNo,
                                       const TTable<std::int16_t> &BeginNode,
                                       const TTable<std::int16_t> &EndNode,
                                       const TTable<std::uint8_t> &Surface,
                                       TTable<double> &R, TTable<double> &H,
                                       const TTable<double> &FixedH, TTable<double> &Q,
                                       QStringList *meshesWithoutR = nullptr,
                                       TSolveStats *stats = nullptr);

// CalcAirFixedDepression on the tables' own arrays; a failure is shown by
// ShowFixedDepressionError. True when solved.
bool RunFixedDepressionAir(QObject *Owner, TNetworkTables &t = Net, TSolveStats *stats = nullptr);

// Codes 1 to 6 as ShowCalcError; 7 names the meshes without resistance and
// opens the branch table on each in turn until one is cancelled; 8 says that
// no fixed depression is given.
void ShowFixedDepressionError(QObject *Owner, int Code, const QStringList &meshesWithoutR = {},
                              TNetworkTables &t = Net);
