#pragma once
// The network computations of the fire model: the minute at which a fire's
// thermal depression reverses the flow in its branch, the emergency air
// distribution, the zone that combustion gases contaminate downstream of a
// source, the colouring of zones, and the fresh-air flags from gas sources.
//
// The routines take the network tables for the structure and geometry of the
// network, and the resistance, depression and flow arrays to work on
// separately: the tables' own arrays or copies of them.
#include "calc/solver.h"
#include "emergency/fire_depression.h"
#include "model/branch_values.h"
#include "model/scheme_colors.h"

#include <array>
#include <cstdint>
#include <vector>

// The entries of a zone walk in the order the walk reached them: the source
// branch first; an entry is negative when the branch's far node had already
// been reached. At most MaxZoneEntries entries.
using TZoneEntryList = std::vector<std::int16_t>;
constexpr int MaxZoneEntries = MaxItems;

// Branch numbers of a zone, each once (what the windows keep and colour).
using TGasZoneList = std::vector<int>;
TGasZoneList ZoneBranches(const TZoneEntryList &zone);

// A set of branch type codes 0..31, one bit per code.
using TGasSourceTypeSet = std::uint32_t;
constexpr TGasSourceTypeSet TypeBit(int code) { return code >= 0 && code < 32 ? 1u << code : 0u; }
constexpr int btLongwall = 7;         // "Лава"
constexpr int btDevelopmentFace = 10; // "Подготовительный забой"
constexpr int btMainFan = 2;          // "ВГП"

// The colour of the second zone where two are shown.
constexpr TColor clAqua = 0xFFFF00;

// +1 for x >= 0, else -1.
constexpr int FlowSign(double x) { return x >= 0 ? 1 : -1; }

// How the fire is modelled: with the fire load of a working (nullptr: without;
// the caller reads it from "FireLoad.dat" before each computation, so that
// what is saved there counts) and the number of minutes of a series (the
// fire-time setting).
struct TFireOptions
{
    const TFireLoadRec *Load = nullptr;
    int FireTime = DefaultFireTime;
};

// The working arrays of a computation.
struct TFlowArrays
{
    TTable<double> &R;
    TTable<double> &H;
    TTable<double> &Q;
};
inline TFlowArrays TableArrays(TNetworkTables &t) { return {t.BranchR, t.BranchAuxDepression, t.BranchQ}; }

// Puts one value of a table back when the scope ends, whatever way it ends:
// a computation that tries a value in one entry gives back that entry only.
class TRestoreOnExit
{
public:
    explicit TRestoreOnExit(double &value) : m_value(value), m_saved(value) {}
    ~TRestoreOnExit() { m_value = m_saved; }
    TRestoreOnExit(const TRestoreOnExit &) = delete;
    TRestoreOnExit &operator=(const TRestoreOnExit &) = delete;

private:
    double &m_value;
    double m_saved;
};

// The zone walker: the adjacency lists of the network, built once and read
// (never consumed) by each walk, so that many walks on the same network
// share them.
class TZoneWalker
{
public:
    explicit TZoneWalker(const TNetworkTables &t);
    ~TZoneWalker();
    TZoneWalker(const TZoneWalker &) = delete;
    TZoneWalker &operator=(const TZoneWalker &) = delete;

    // The contamination zone of source branch s under the flows q.
    void GasZone(int s, const TTable<double> &q, TZoneEntryList &zone);
    // The share of contaminated air (%) that the last walk gave node n; 0: clean.
    double Share(int n) const;

private:
    void Expand(int n, int arrivedBy, int source, const TTable<double> &q, TZoneEntryList &zone);

    const TNetworkTables &m_t;
    int m_nodeCount;
    TAdjacency m_adjacency;
};

// The minute at which a series first reaches the critical depression hcr:
// only when its last value exceeds |hcr| strictly. Returns 0 otherwise.
int ReversalMinute(const TFireSeries &series, double hcr);

// The reversal of the flow in fire branch b: the series of its fire, and the
// critical depression 999 × Q[b]² with the branch nearly closed (R[b] = 999
// for one solve; R[b] is restored on every path). True when the series
// reaches it: minute is then the reversal minute and hcr the series value
// there; otherwise minute is left alone and hcr is the critical depression.
// Q holds the solve with the branch nearly closed.
bool CalcUpsetTime(TNetworkTables &t, int b, TFlowArrays a, const TFireOptions &options, int &minute,
                   double &hcr, TFireSeries &series);
// The same with the largest thermal depression of the series in hmax.
bool CalcUpsetTimeEx(TNetworkTables &t, int b, TFlowArrays a, const TFireOptions &options, int &count,
                     int &minute, double &hmax, double &hcr);

// The zone of fire branch b. Mode 0: under the flows as they are. Mode -1 or
// +1 (the branch's VentType): the emergency distribution is solved first with
// the fire's depression in H[b] (left there for the caller to restore).
// count is the series length, minute the reversal minute (0: none), hrev the
// depression at reversal (descending ventilation only).
void ZoneAfterUpset(TNetworkTables &t, int b, int mode, TFlowArrays a, const TFireOptions &options,
                    int &count, int &minute, double &hrev, TZoneEntryList &zone);

// Colour the zone over the standard colours that colors holds on entry: the
// zone's branches in the smoke colour, the fire branch in the fire colour.
void ShowZoneOnScheme(TBranchColors &colors, const TSchemeColors &palette, const TGasZoneList &zone,
                      int fireBranch);
// Two zones: zone 2 in aqua, then zone 1 in smoke (zone 1 wins), then the fire branch.
void ShowZonesOnScheme(TBranchColors &colors, const TSchemeColors &palette, const TGasZoneList &zone1,
                       const TGasZoneList &zone2, int fireBranch);

// Solves the network on a (its R, H and Q) and rewrites the fresh-air flags:
// every branch in the zone of a source whose type is in typeSet (the sources
// included) is exhaust, every other existing branch fresh. Returns the solver's
// result; on a failure nothing changes. changed receives the branches whose
// flag changed.
CalcResult GasSourceZone(TNetworkTables &t, TGasSourceTypeSet typeSet, TFlowArrays a,
                         std::vector<int> &changed);
// Exhaust branches in the colour of routes in smoke, then the sources in the fire colour,
// over the standard colours that colors holds on entry.
void ShowGasSourceZone(TBranchColors &colors, const TSchemeColors &palette, const TNetworkTables &t,
                       TGasSourceTypeSet typeSet);
