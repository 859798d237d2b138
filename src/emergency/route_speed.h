#pragma once
// What the route search needs from the network before it searches: which
// branches nobody can pass during the current fire, and how long a party
// needs to pass each of the others in each direction. The speeds come from
// the table of movement speeds by task, slope class and height class.
#include "emergency/gas_zone.h"

#include <cstdint>
#include <vector>

// The route tasks. The speed table works with derived codes: the task for a
// move that descends, the task + 1 for one that does not; evacuation through
// a longwall uses 48 and 49.
enum TRouteTask : int {
    rtReconnaissance = 10, // reconnaissance by mine-rescue squads
    rtLiquidation = 20,    // liquidation of the accident
    rtTransport = 30,      // transport of an injured person
    rtEvacuation = 40,     // evacuation of miners
};
constexpr int LongwallEvacuationCode = 48;
constexpr int btLadder = 12;

// Branch types nobody passes: inner leak by suction, main fan, bulkhead, local
// fan, impassable working, cage shaft, outer leak by suction, inner leaks
// between districts, ventilation pipe.
using TBranchTypeSet = std::uint32_t;
constexpr TBranchTypeSet ImpassableTypes =
    TypeBit(1) | TypeBit(2) | TypeBit(5) | TypeBit(8) | TypeBit(9) | TypeBit(11) | TypeBit(14) | TypeBit(20) | TypeBit(21);

// The steepest passable slope, degrees, and the lowest passable height, m.
constexpr double MaxPassableSlope = 75;
constexpr double MinPassableHeight = 0.6;
// Speed where the table has no row, m/min.
constexpr double NoSpeedRow = 100.0;
// Smoke slows squads to this share of their speed.
constexpr double SmokeSpeedFactor = 0.83;

// One row of the speed table.
struct TSpeedRow
{
    std::int16_t Code;
    std::uint16_t Height10; // height class × 10, m
    std::int16_t Slope;     // slope class, degrees
    std::uint16_t Speed10;  // speed × 10, m/min
};
constexpr int SpeedTableRows = 354;
extern const std::array<TSpeedRow, SpeedTableRows> SpeedTable;

// Speed of a code at a slope class and height class, m/min; NoSpeedRow when no row matches.
double GetSpeed(int code, int slopeClass, double heightClass);
int SlopeClass(int code, double slope);
double HeightClass(int code, double height);
double MoveSpeed(int code, double slope, double height);
// Minutes to pass a branch of length l moving from altitude zFrom to zTo.
double MoveTime(int code, int length, double storedAngle, double height, double zFrom, double zTo);

// One impassable branch and why.
struct TBdBranch
{
    int Branch = 0;
    bool Slope = false;  // steeper than 75 degrees and not a ladder, or slope unknown
    bool Height = false; // below 0.6 m
    bool Type = false;   // a type nobody passes
    bool Fire = false;   // the fire branch
    bool Any() const { return Slope || Height || Type || Fire; }
};
using TBdBranchList = std::vector<TBdBranch>;

// The impassable list: the fire branch (the first entry of the smoke zone)
// first, then every branch with a reason in ascending order; the fire branch
// appears again when it has a reason of its own.
TBdBranchList GetBdBranches(const TNetworkTables &t, const TGasZoneList &smokeZone);
bool InBdList(const TBdBranchList &list, int b);
// The reasons as the list window shows them.
QString BdReasonText(const TBdBranch &entry);

// Minutes to pass each branch forward (start to end node) and backward.
struct TTravelTimes
{
    TTable<double> Forward{};
    TTable<double> Backward{};
};
// Every present branch gets times, impassable ones too; for the squads'
// tasks a branch in smoke (in the zone after its first entry) is slowed.
void ComputeTimes(const TNetworkTables &t, int task, const TGasZoneList &smokeZone, TTravelTimes &times);
