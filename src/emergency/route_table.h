#pragma once
// What the route window shows and checks, over a route search: the task
// texts, the data and node checks, the people grid, the evacuation routes
// and their choice lines, the route table and its clipboard text, and how a
// route is coloured and framed on the scheme.
#include "emergency/route_search.h"
#include "model/branch_values.h"
#include "model/scheme_colors.h"
#include "platform/geometry.h"

#include <QtCore/QStringList>

#include <array>

// The evacuation keeps at most this many routes.
constexpr int MaxRouteSlots = 10;

// The window caption of a task (with its leading blank).
QString RouteTaskTitle(int task);
// The phrase of a task in the route line.
QString RouteTaskPhrase(int task);

// The number a node edit holds: leading blanks skipped, the digits up to the
// first other character; 0 without digits. A number too long for a node
// stays larger than any node.
qint64 ParseNodeText(const QString &text);

// The result of the data check: A, lengths, areas or heights missing; B,
// altitudes missing; Message, the question, empty when nothing is missing.
struct TRouteDataCheck
{
    bool MissingBranchData = false;
    bool MissingAltitudes = false;
    QString Message;
};
TRouteDataCheck CheckRouteData(const TNetworkTables &t, const TBdBranchList &impassable);

// The node check before a route between two nodes: the message and the edit
// to focus (1 start, 2 end, 0 none). An empty message passes.
struct TNodeCheck
{
    QString Message;
    int Focus = 0;
};
TNodeCheck CheckRouteNodes(const TRouteSearch &search, qint64 start, qint64 end);

// The branches with people: number, start node, end node, name, people and
// where the working stands ("в зоне", " пожар", "на свежей").
struct TPeopleRow
{
    int Branch = 0;
    QStringList Cells;
};
QStringList PeopleGridHeader();
std::vector<TPeopleRow> PeopleRows(const TRouteSearch &search);

// The evacuation of the miners of branch people: the routes to the nearest
// fresh node, the nearest surface exit and every other lift-to-surface node
// in number order, at most MaxRouteSlots. Builds the lists and times itself.
struct TEvacuation
{
    int Start = 0;
    std::vector<TRouteList> Slots;
};
TEvacuation ComputeEvacuation(TRouteSearch &search, int people);
// The lines of the evacuation choice: the fire, the working, and one row per route.
QString EvacuationFireLine(const TNetworkTables &t, int fireBranch);
QString EvacuationWorkingLine(const TNetworkTables &t, int people, int start);
QStringList EvacuationChoiceRows(const std::vector<TRouteList> &routes);

// The route table page.
QString RouteFireLine(const TNetworkTables &t, int fireBranch);
QString RouteLine(int task, const TRouteList &route);
QStringList RouteGridHeader();
// One row per step: from, to, branch, name, direction, time.
std::vector<QStringList> RouteGridRows(const TRouteSearch &search, const TRouteList &route);
// The direction column of a step, with "/в дыму" for a smoke branch.
QString StepDirectionText(const TRouteSearch &search, const TRouteStep &step);
// The other end of the step's branch.
int StepEndNode(const TNetworkTables &t, const TRouteStep &step);
// The branch names joined by ", " and the time text in brackets.
QString RouteClipboardText(const TNetworkTables &t, const TRouteList &route);

// The fixed colour of a route on fresh air.
constexpr TColor RouteGreen = RGBColor(0, 255, 0);
// Colours the route's branches over the zones in colors: green, or the
// colour of routes in smoke where the zone colours stood.
void PaintRouteColors(TBranchColors &colors, const TSchemeColors &palette, const TRouteList &route);
// The zone rectangle widened by every point of the route's branches.
TRect RouteBounds(const TNetworkTables &t, TRect zoneRect, const TRouteList &route);
