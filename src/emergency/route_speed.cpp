#include "emergency/route_speed.h"

#include "emergency/fire_depression.h"

#include <algorithm>
#include <cmath>

namespace {

// The grids of the speed table, speed × 10 in m/min: rows by height class,
// columns by slope class.
constexpr std::array<std::int16_t, 7> SquadSlopes{0, 10, 15, 20, 30, 40, 70};
constexpr std::array<std::uint16_t, 7> SquadHeights{6, 8, 10, 12, 14, 17, 20};
constexpr std::array<std::int16_t, 5> MinerSlopes{0, 10, 20, 30, 60};
constexpr std::array<std::uint16_t, 3> MinerHeights{7, 12, 18};
constexpr std::array<std::uint16_t, 3> LongwallHeights{5, 7, 12};

using TSquadGrid = std::array<std::array<std::uint16_t, 7>, 7>;
using TMinerGrid = std::array<std::array<std::uint16_t, 5>, 3>;

constexpr TSquadGrid Code10{{{101, 75, 65, 57, 42, 32, 15},
                             {164, 122, 106, 92, 69, 52, 24},
                             {226, 169, 147, 127, 96, 72, 33},
                             {289, 216, 187, 162, 122, 92, 42},
                             {352, 263, 228, 197, 148, 112, 51},
                             {446, 334, 289, 250, 188, 142, 65},
                             {540, 404, 350, 303, 228, 172, 78}}};
constexpr TSquadGrid Code11{{{101, 70, 58, 48, 34, 25, 12},
                             {164, 113, 94, 79, 56, 40, 20},
                             {226, 156, 130, 109, 77, 56, 27},
                             {289, 200, 166, 139, 98, 71, 35},
                             {352, 243, 202, 169, 120, 87, 42},
                             {446, 308, 257, 215, 152, 110, 54},
                             {540, 373, 311, 260, 184, 133, 65}}};
constexpr TSquadGrid Code20{{{76, 57, 49, 42, 32, 24, 11},
                             {123, 92, 79, 69, 52, 39, 18},
                             {170, 127, 110, 95, 72, 54, 25},
                             {217, 162, 140, 122, 92, 69, 31},
                             {264, 197, 171, 148, 111, 84, 38},
                             {334, 250, 217, 188, 141, 107, 48},
                             {405, 303, 262, 227, 171, 129, 59}}};
constexpr TSquadGrid Code21{{{76, 52, 44, 36, 26, 19, 9},
                             {123, 85, 71, 59, 42, 30, 15},
                             {170, 117, 98, 82, 58, 42, 20},
                             {217, 150, 125, 104, 74, 54, 26},
                             {264, 182, 152, 127, 90, 65, 32},
                             {334, 231, 192, 161, 114, 82, 40},
                             {405, 280, 233, 195, 138, 100, 49}}};
constexpr TSquadGrid Code30{{{47, 37, 33, 30, 25, 21, 15},
                             {79, 60, 52, 46, 36, 29, 18},
                             {111, 83, 72, 62, 48, 38, 21},
                             {143, 105, 91, 78, 59, 46, 24},
                             {175, 128, 110, 95, 71, 54, 27},
                             {223, 162, 139, 119, 88, 66, 32},
                             {271, 197, 168, 144, 106, 79, 36}}};
constexpr TSquadGrid Code31{{{47, 32, 27, 23, 17, 14, 9},
                             {79, 53, 44, 36, 26, 19, 10},
                             {111, 73, 60, 49, 34, 24, 11},
                             {143, 94, 76, 62, 42, 29, 13},
                             {175, 114, 92, 75, 50, 35, 14},
                             {223, 145, 117, 95, 63, 43, 16},
                             {271, 175, 142, 114, 75, 51, 18}}};
constexpr TMinerGrid Code40{{{300, 300, 250, 200, 80}, {500, 500, 400, 300, 100}, {750, 700, 450, 300, 150}}};
constexpr TMinerGrid Code41{{{300, 250, 200, 150, 70}, {500, 400, 300, 200, 80}, {750, 500, 350, 250, 100}}};
constexpr TMinerGrid Code48{{{120, 120, 100, 80, 70}, {300, 300, 250, 200, 80}, {500, 500, 400, 300, 100}}};
constexpr TMinerGrid Code49{{{120, 90, 80, 70, 60}, {300, 250, 200, 150, 70}, {500, 400, 300, 200, 80}}};

template <typename Grid, typename Heights, typename Slopes>
constexpr int AddGrid(std::array<TSpeedRow, SpeedTableRows> &rows, int k, std::int16_t code, const Grid &grid,
                      const Heights &heights, const Slopes &slopes)
{
    for (std::size_t h = 0; h < heights.size(); ++h)
        for (std::size_t s = 0; s < slopes.size(); ++s)
            rows[k++] = TSpeedRow{code, heights[h], slopes[s], grid[h][s]};
    return k;
}

constexpr std::array<TSpeedRow, SpeedTableRows> MakeSpeedTable()
{
    std::array<TSpeedRow, SpeedTableRows> rows{};
    int k = 0;
    k = AddGrid(rows, k, 10, Code10, SquadHeights, SquadSlopes);
    k = AddGrid(rows, k, 11, Code11, SquadHeights, SquadSlopes);
    k = AddGrid(rows, k, 20, Code20, SquadHeights, SquadSlopes);
    k = AddGrid(rows, k, 21, Code21, SquadHeights, SquadSlopes);
    k = AddGrid(rows, k, 30, Code30, SquadHeights, SquadSlopes);
    k = AddGrid(rows, k, 31, Code31, SquadHeights, SquadSlopes);
    k = AddGrid(rows, k, 40, Code40, MinerHeights, MinerSlopes);
    k = AddGrid(rows, k, 41, Code41, MinerHeights, MinerSlopes);
    k = AddGrid(rows, k, 48, Code48, LongwallHeights, MinerSlopes);
    k = AddGrid(rows, k, 49, Code49, LongwallHeights, MinerSlopes);
    return k == SpeedTableRows ? rows : throw "the speed grids do not fill the table";
}

// In smoke: in the zone after its first entry, the fire branch.
bool InSmoke(const TGasZoneList &zone, int b) { return zone.size() > 1 && std::find(zone.begin() + 1, zone.end(), b) != zone.end(); }

// The slope the impassable test reads: the stored angle where the altitudes
// cannot tell one (an end at 0 or unset, or no length).
double PassSlope(const TNetworkTables &t, int b)
{
    const double z1 = t.NodeAltitude[t.BranchStartNode[b]];
    const double z2 = t.NodeAltitude[t.BranchEndNode[b]];
    const auto unset = [](double z) { return z == 0 || z >= AltitudeNotGiven; };
    if (unset(z1) || unset(z2) || t.BranchLength[b] == 0)
        return t.BranchAngle[b];
    return BranchSlope(t.BranchLength[b], z1, z2, t.BranchAngle[b]);
}

TBdBranch Reasons(const TNetworkTables &t, int b)
{
    TBdBranch e;
    e.Branch = b;
    const double slope = PassSlope(t, b);
    e.Slope = (slope > MaxPassableSlope && t.BranchType[b] != btLadder) || slope == -1;
    e.Height = t.BranchHeight[b] < MinPassableHeight && t.BranchHeight[b] != 0;
    e.Type = (ImpassableTypes & TypeBit(t.BranchType[b])) != 0;
    return e;
}

} // namespace

const std::array<TSpeedRow, SpeedTableRows> SpeedTable = MakeSpeedTable();

double GetSpeed(int code, int slopeClass, double heightClass)
{
    for (const TSpeedRow &row : SpeedTable)
        if (row.Code == code && row.Slope == slopeClass && std::fabs(row.Height10 / 10.0 - heightClass) < 0.0001)
            return row.Speed10 / 10.0;
    return NoSpeedRow;
}

int SlopeClass(int code, double slope)
{
    if (code < rtEvacuation) {
        if (slope <= 5)
            return 0;
        if (slope <= 12.5)
            return 10;
        if (slope <= 17.5)
            return 15;
        if (slope <= 25)
            return 20;
        if (slope <= 35)
            return 30;
        if (slope <= 55)
            return 40;
        return 70;
    }
    if (slope <= 5)
        return 0;
    if (slope <= 15)
        return 10;
    if (slope <= 25)
        return 20;
    if (slope <= 45)
        return 30;
    return 60;
}

double HeightClass(int code, double height)
{
    if (code < rtEvacuation) {
        if (height <= 0.7)
            return 0.6;
        if (height <= 0.9)
            return 0.8;
        if (height <= 1.1)
            return 1.0;
        if (height <= 1.3)
            return 1.2;
        if (height <= 1.55)
            return 1.4;
        if (height <= 1.86)
            return 1.7;
        return 2.0;
    }
    if (code < LongwallEvacuationCode)
        return height < 1.2 ? 0.7 : height < 1.8 ? 1.2 : 1.8;
    return height < 0.7 ? 0.5 : height < 1.2 ? 0.7 : 1.2;
}

double MoveSpeed(int code, double slope, double height)
{
    return GetSpeed(code, SlopeClass(code, slope), HeightClass(code, height));
}

double MoveTime(int code, int length, double storedAngle, double height, double zFrom, double zTo)
{
    if (length == 0)
        return 0;
    const double slope = BranchSlope(length, zFrom, zTo, storedAngle);
    if (zFrom <= zTo)
        ++code;
    return length / MoveSpeed(code, slope, height);
}

TBdBranchList GetBdBranches(const TNetworkTables &t, const TGasZoneList &smokeZone)
{
    TBdBranchList list;
    int fire = 0;
    if (!smokeZone.empty() && ValidItemIndex(smokeZone.front())) {
        fire = smokeZone.front();
        TBdBranch e = Reasons(t, fire);
        e.Fire = true;
        list.push_back(e);
    }
    const int count = MaxBranchNo(t);
    for (int n = 1; n <= count; ++n) {
        if (t.BranchNo[n] == 0)
            continue;
        const TBdBranch e = Reasons(t, n);
        if (e.Any())
            list.push_back(e);
    }
    return list;
}

bool InBdList(const TBdBranchList &list, int b)
{
    return std::any_of(list.begin(), list.end(), [b](const TBdBranch &e) { return e.Branch == b; });
}

QString BdReasonText(const TBdBranch &entry)
{
    QString s;
    if (entry.Slope)
        s += QStringLiteral("угол наклона больше 75 гр.");
    if (entry.Height)
        s += QStringLiteral("; высота меньше 0.6");
    if (entry.Type)
        s += QStringLiteral("; выработка непроходима");
    if (entry.Fire)
        s += QStringLiteral("; пожар");
    if (s.size() > 1 && s.front() == u';')
        s.remove(0, 1);
    return s;
}

void ComputeTimes(const TNetworkTables &t, int task, const TGasZoneList &smokeZone, TTravelTimes &times)
{
    times.Forward.fill(0);
    times.Backward.fill(0);
    const int count = MaxBranchNo(t);
    for (int n = 1; n <= count; ++n) {
        if (t.BranchNo[n] == 0)
            continue;
        const int code = task == rtEvacuation && t.BranchType[n] == btLongwall ? LongwallEvacuationCode : task;
        const double z1 = t.NodeAltitude[t.BranchStartNode[n]];
        const double z2 = t.NodeAltitude[t.BranchEndNode[n]];
        times.Forward[n] = MoveTime(code, t.BranchLength[n], t.BranchAngle[n], t.BranchHeight[n], z1, z2);
        times.Backward[n] = MoveTime(code, t.BranchLength[n], t.BranchAngle[n], t.BranchHeight[n], z2, z1);
        if (task < rtEvacuation && InSmoke(smokeZone, n)) {
            times.Forward[n] /= SmokeSpeedFactor;
            times.Backward[n] /= SmokeSpeedFactor;
        }
    }
}
