#pragma once
// The depressiogram: the air's way through a chosen longwall, traced from the
// surface down the fresh-air side (the branch with the most air at each node)
// and on along the outgoing side back to the surface, with the depression
// that builds up along it.
#include "calc/node_pressures.h"
#include "report/dataset.h"
#include "report/variant.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <vector>

enum TRouteResult { rrComplete, rrNoStep, rrNoSurface };

// One side of the route: Nodes in walk order from the longwall's end, and
// the branch that reached each (the longwall for the first).
struct TRoute
{
    TRouteResult Result = rrNoStep;
    std::vector<int> Nodes;
    std::vector<int> Branches;
};

// Walks of the snapshot in w, against the air towards the surface (fresh) or
// with it (outgoing), taking at each node the unused branch with the most
// air; t gives the branch kinds. They also leave the route in w.Queue,
// w.ReachedBy and the used marks in w.LedOut; the adjacency is built and
// released by the walk.
TRoute TraceFreshRoute(TTraversalWorkArrays &w, const TNetworkTables &t, int longwall);
TRoute TraceOutgoingRoute(TTraversalWorkArrays &w, const TNetworkTables &t, int longwall);

// Existing branches without a length whose kind needs one.
int BranchesWithoutLength(const TNetworkTables &t);
QString NoLengthMessage(int count);

struct TChartPoint
{
    double X = 0;
    double Y = 0;
    QString Label;
};

enum TRouteRowKind { rkFresh, rkLongwall, rkOutgoing };

class TDepressiogram
{
public:
    // t is solved; its node pressures and snapshot go to TraversalWorkArrays.
    explicit TDepressiogram(const TNetworkTables &t);

    const TNetworkTables &Tables;
    std::vector<double> Pressures;

    std::vector<int> Longwalls;
    QStringList LongwallItems;
    int Longwall = 0;

    // The route's branches: the fresh ones from the surface to the longwall
    // (the longwall last), then the outgoing ones.
    std::vector<int> RouteBranches;
    int FreshRows = 0;
    double FreshLength = 0;      // km
    double FreshDepression = 0;

    std::vector<TChartPoint> Fresh, Outgoing, Whole;
    QStringList FreshItems, OutgoingItems;
    QString Caption;

    // The longwall list of the tables (the window's drop-down).
    void FillLongwallList();
    // Traces and plots both sides for longwall number index of the list;
    // returns the warnings to show, in order.
    QStringList Choose(int index);

    // The route table: ten texts per route branch, and the kind of each row.
    static QStringList RouteHeaders();
    QStringList RouteRow(int row) const;
    TRouteRowKind RowKind(int row) const;
    int RowCount() const { return static_cast<int>(RouteBranches.size()); }

    // A report variable for record (1-based) of the route; false leaves the value untouched.
    bool ReportValue(int record, const QString &name, const QString &mineTitle, QString &value) const;
    static QString TemplatePath(const QString &reportsLocation);

private:
    void PlotFreshRoute(const TRoute &route);
    void PlotOutgoingRoute(const TRoute &route);
    double Depression(int b) const;
    std::vector<TChartPoint> m_wholeFresh;
};

// The record source that the route's template walks: one record per row of
// the route table.
inline const QString DepressiogramSourceName = QStringLiteral("udDepres");

class TDepressiogramReport
{
public:
    explicit TDepressiogramReport(const TDepressiogram &study);
    TDepressiogramReport(const TDepressiogramReport &) = delete;
    TDepressiogramReport &operator=(const TDepressiogramReport &) = delete;

    TfrUserDataset udDepres;
    QString MineTitle;
    int Record = 1;  // 1 for the first row

    // The report's value event: false for a name it does not know, whose value stays.
    bool GetValue(const QString &name, Variant &value) const;

private:
    const TDepressiogram &m_study;
};
