#pragma once
// How long the smoke of a fire takes to reach the first place where it would
// be noticed: a working where people are, or the main fan. For every branch
// where a fire could start, the contamination zone under the normal air
// distribution, the passage time of each branch of it and the earliest
// arrival of the smoke at each node give the detection branch. Times are in
// seconds.
#include "emergency/gas_zone.h"

#include <array>
#include <cstdint>
#include <vector>

struct TDetectionRecord
{
    std::int32_t FireBranch = 0;     // 0: the branch was not computed
    std::int32_t FireTime = 0;       // for the smoke to pass the fire branch
    std::int32_t DetectBranch = 0;   // 0: none found
    std::int32_t DetectUpTime = 0;   // at the detection branch's upstream node
    std::int32_t DetectDownTime = 0; // at its downstream end

    bool operator==(const TDetectionRecord &) const = default;
};
// One record per branch number, place 0 unused.
using TDetectionResults = std::vector<TDetectionRecord>;

struct TSmokeItem
{
    std::int32_t Branch = 0;
    std::int32_t UpNode = 0;
    std::int32_t UpTime = 0;      // at the upstream node
    std::int32_t DownNode = 0;
    std::int32_t ThroughTime = 0; // at the downstream node through this branch
    std::int32_t DownTime = 0;    // earliest at the downstream node
};
using TSmokeItems = std::vector<TSmokeItem>;

struct TNodeArrival
{
    std::int32_t Node = 0;   // its own number once reached
    std::int32_t Branch = 0; // by which the smoke arrives first
    double Time = 0;
};
using TNodeArrivals = std::vector<TNodeArrival>; // by node number

// Branch types in which no fire is taken to start: leaks inside and outside,
// the main fan and air ducts.
bool PossibleFireBranch(int type);

// Passage time of every branch of the zone: |length × area / flow| from the
// tables, 0 without length, area or flow. Indexed by branch number.
void SmokeTimes(const TNetworkTables &t, const TTable<double> &q, const TZoneEntryList &zone,
                std::vector<double> &times);
// Earliest arrival of the smoke at each node reached.
void NodeArrivalTimes(const TNetworkTables &t, const TTable<double> &q, const TZoneEntryList &zone,
                      const std::vector<double> &times, TNodeArrivals &arrivals);
void BuildSmokeItems(const TNetworkTables &t, const TTable<double> &q, const TZoneEntryList &zone,
                     const std::vector<double> &times, const TNodeArrivals &arrivals, TSmokeItems &items);
// The detection record of a fire from its smoke items.
TDetectionRecord EarliestDetection(const TNetworkTables &t, const TSmokeItems &items);

// The zone of fire branch f under the flows q and its smoke items.
void TraceSmoke(TZoneWalker &walker, const TNetworkTables &t, int f, const TTable<double> &q, TSmokeItems &items);

// Solves the normal distribution on the tables (Q is rewritten) and fills one
// record per possible fire branch. Returns the solver's result; on a failure
// results are left empty.
CalcResult CalcFireDetectionTimes(TNetworkTables &t, TDetectionResults &results);
