#pragma once
// Shortest-time routes through the mine during a fire: from a start node to
// every node it can reach, with the time each is reached at and the branch it
// is entered by. The four route tasks differ in which branches are open,
// whether smoke slows the party, whether smoke may be crossed against its
// flow, and whether the search looks for the nearest node on fresh air.
//
// The candidates are kept in one plain list whose order decides ties: a
// reached node's branches go in front, and within a node the higher branch
// number comes first. Every pass takes the first strict minimum.
#include "emergency/route_speed.h"

#include <QtCore/QString>

#include <vector>

// Candidates at or above this many minutes are never taken.
constexpr double RouteTimeBound = 10000.0;
// The end of an evacuation route that found no fresh node.
constexpr int NoRouteEnd = -10;

// One step of a route: the branch, the node it starts from and the minutes
// from the start at its end.
struct TRouteStep
{
    int Branch = 0;
    int From = 0;
    double Time = 0;
};

// A route from one node to another with its result texts and its steps in
// travel order.
struct TRouteList
{
    int From = 0;
    int To = 0;
    QString TimeText;
    QString FreshText;
    QString ExitText;
    std::vector<TRouteStep> Steps;
};

struct TNodeLabel
{
    double Steps = 0; // 0 unreached, the start node 1, one more per branch
    int Branch = 0;   // arriving branch
    double Time = 0;  // minutes from the start
};

// "12мин.": whole minutes, a started minute counting as one.
QString MinutesText(double minutes);
// "гориз.", "вниз" or "вверх" for branch b travelled from node g; empty when
// g is not an end of b or the ends are level.
QString DirectionText(const TNetworkTables &t, int b, int g);

class TRouteSearch
{
public:
    explicit TRouteSearch(const TNetworkTables &t);

    const TNetworkTables &Tables() const { return m_t; }

    // What the route window sets before it searches.
    int Task = rtReconnaissance;
    TGasZoneList SmokeZone; // the fire branch first
    TBdBranchList Impassable;
    TTravelTimes Times;

    // The fire branch (first in the zone list); 0 without a zone.
    int FireBranch() const { return SmokeZone.empty() ? 0 : SmokeZone.front(); }
    // In the zone list after its first entry.
    bool IsSmokeBranch(int b) const;
    // Not in the zone list at all (the fire branch is in it).
    bool IsOutsideZone(int b) const;

    void ComputeTimes();
    // Zeroes the labels and builds the node lists of every passable branch.
    void BuildAdjacency();
    // The node has a passable branch (before a search consumes the lists).
    bool InRouteNetwork(int n) const;
    // Labels the nodes reachable from s; sets the nearest fresh node and surface exit.
    void SearchFrom(int s);
    // The route from s to t out of the last search; people: the working the
    // miners leave in the evacuation, or 0.
    TRouteList BuildRoute(int s, int t, int people = 0) const;
    // Times, search and route, in this order; the lists must have been built.
    TRouteList ComputeRoute(int s, int t);

    const TNodeLabel &Label(int n) const;
    // Tasks 30 and 40: the first node reached on fresh air; 0 or less: none
    // (always 0 for the squads' tasks).
    int NearestFreshNode = 0;
    // The first lift-to-surface node reached over a branch outside the zone; 0: none.
    int NearestSurfaceExit = 0;

private:
    struct TItem
    {
        int Branch;
        int Side;  // -1 at the branch's start node, +1 at its end node
        int Entry; // the node the branch is offered from
    };

    bool HasFreshBranch(int n) const;
    void LabelSearch(bool stopAtFresh, bool noCounterFlow);
    void CloseSmokeZone();
    // Removes the first candidate of branch b (in the list's order).
    void UnlinkCandidate(int b);
    void EraseCandidate(std::size_t index);
    void PruneCandidates();
    bool Reached(int n) const { return m_labels[n].Steps > 0.00001; }

    const TNetworkTables &m_t;
    int m_nodeCount = 0;
    std::vector<TItem> m_items;
    std::vector<std::vector<int>> m_chains; // by node, in list order
    // The candidates with the front of the list at the back of the vector.
    std::vector<int> m_candidates;
    std::vector<TNodeLabel> m_labels;
    std::vector<std::uint8_t> m_zonePlace; // 0 outside the zone, 1 the fire branch, 2 in smoke
};
