#include "emergency/fire_detection.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// Shorter passage times than this count as none.
constexpr double NegligibleTime = 1e-5;
constexpr std::int32_t NoDetectionYet = 999999;

// Seconds as whole numbers; a near-still branch gives an enormous time, kept
// within the record's range.
std::int32_t Seconds(double time)
{
    const double limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(Round(std::clamp(time, -limit, limit)));
}

void Ends(const TNetworkTables &t, const TTable<double> &q, int b, int &up, int &down)
{
    if (q[b] > 0) {
        up = t.BranchStartNode[b];
        down = t.BranchEndNode[b];
    } else {
        up = t.BranchEndNode[b];
        down = t.BranchStartNode[b];
    }
}

} // namespace

bool PossibleFireBranch(int type)
{
    return type != 1 && type != btMainFan && type != 14 && type != 21;
}

void SmokeTimes(const TNetworkTables &t, const TTable<double> &q, const TZoneEntryList &zone,
                std::vector<double> &times)
{
    times.assign(TableSize, 0.0);
    for (const auto entry : zone) {
        const int b = std::abs(entry);
        if (!ValidItemIndex(b))
            continue;
        const double l = t.BranchLength[b];
        const double s = t.BranchArea[b];
        times[b] = l > 0 && s != 0 && q[b] != 0 ? std::fabs(l * s / q[b]) : 0.0;
    }
}

void NodeArrivalTimes(const TNetworkTables &t, const TTable<double> &q, const TZoneEntryList &zone,
                      const std::vector<double> &times, TNodeArrivals &arrivals)
{
    arrivals.assign(TableSize, TNodeArrival{});
    if (zone.empty())
        return;
    const auto reached = [&](int node) { return arrivals[node].Node == node; };
    const int f = zone.front();
    int up = 0, down = 0;
    Ends(t, q, f, up, down);
    if (ValidItemIndex(down))
        arrivals[down] = {down, f, times[f]};
    for (std::size_t i = 1; i < zone.size(); ++i) {
        const int b = std::abs(zone[i]);
        if (q[b] == 0)
            continue;
        Ends(t, q, b, up, down);
        if (!ValidItemIndex(up) || !ValidItemIndex(down))
            continue;
        const double candidate = times[b] + (reached(up) ? arrivals[up].Time : 0.0);
        if (!reached(down)) {
            arrivals[down] = {down, b, candidate};
        } else if (times[b] > NegligibleTime
                   && (arrivals[down].Time < NegligibleTime || candidate < arrivals[down].Time)) {
            arrivals[down].Branch = b;
            arrivals[down].Time = candidate;
        }
    }
}

void BuildSmokeItems(const TNetworkTables &t, const TTable<double> &q, const TZoneEntryList &zone,
                     const std::vector<double> &times, const TNodeArrivals &arrivals, TSmokeItems &items)
{
    items.clear();
    const auto timeAt = [&](int node) {
        return ValidItemIndex(node) && arrivals[node].Node == node ? arrivals[node].Time : 0.0;
    };
    for (std::size_t i = 0; i < zone.size(); ++i) {
        const int b = std::abs(zone[i]);
        TSmokeItem item;
        item.Branch = b;
        int up = 0, down = 0;
        Ends(t, q, b, up, down);
        item.UpNode = up;
        item.DownNode = down;
        if (i == 0) {
            item.UpTime = 0;
            item.ThroughTime = Seconds(times[b]);
        } else {
            item.UpTime = Seconds(timeAt(up));
            item.ThroughTime = Seconds(Seconds(timeAt(up)) + static_cast<double>(Seconds(times[b])));
        }
        item.DownTime = Seconds(timeAt(down));
        items.push_back(item);
    }
}

TDetectionRecord EarliestDetection(const TNetworkTables &t, const TSmokeItems &items)
{
    TDetectionRecord record;
    if (items.empty())
        return record;
    record.FireBranch = items.front().Branch;
    record.FireTime = items.front().ThroughTime;
    std::int32_t best = NoDetectionYet;
    for (std::size_t i = 1; i < items.size(); ++i) {
        const TSmokeItem &item = items[i];
        const int b = item.Branch;
        const bool detects = t.BranchPeople[b] != 0 || t.BranchType[b] == btMainFan;
        if (detects && item.ThroughTime < best) {
            best = item.ThroughTime;
            record.DetectBranch = b;
            record.DetectUpTime = item.UpTime;
            record.DetectDownTime = item.ThroughTime;
        }
    }
    return record;
}

void TraceSmoke(TZoneWalker &walker, const TNetworkTables &t, int f, const TTable<double> &q, TSmokeItems &items)
{
    TZoneEntryList zone;
    walker.GasZone(f, q, zone);
    std::vector<double> times;
    SmokeTimes(t, q, zone, times);
    TNodeArrivals arrivals;
    NodeArrivalTimes(t, q, zone, times, arrivals);
    BuildSmokeItems(t, q, zone, times, arrivals, items);
}

CalcResult CalcFireDetectionTimes(TNetworkTables &t, TDetectionResults &results)
{
    results.clear();
    const CalcResult result = CalcTablesAir(t);
    if (result != crSolved)
        return result;
    results.assign(TableSize, TDetectionRecord{});
    // Every walk reads the same normal flows, so one set of adjacency lists serves them all.
    TZoneWalker walker(t);
    TSmokeItems items;
    const int n = MaxBranchNo(t);
    for (int f = 1; f <= n; ++f) {
        if (!BranchExist(t, f) || !PossibleFireBranch(t.BranchType[f]))
            continue;
        TraceSmoke(walker, t, f, t.BranchQ, items);
        results[f] = EarliestDetection(t, items);
    }
    return result;
}
