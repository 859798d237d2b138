#pragma once
// The data of the route report ("Маршруты.frf"): the record source over the
// steps of the route shown, and the values its template names. The six page
// lines keep the names the template has always used for them, even where a
// name suggests another line.
#include "emergency/route_table.h"
#include "report/dataset.h"
#include "report/variant.h"

inline const QString RouteReportTemplate = QStringLiteral("Маршруты.frf");
// The record source of the steps, as the window registers it and the template names it.
inline const QString RouteStepsSource = QStringLiteral("frRouteSteps");

// The lines of the route table page as the window shows them.
struct TRouteReportLines
{
    QString MineName;
    QString FireLine;
    QString FreshLine;
    QString ExitLine;
    QString RouteLine;
    QString TimeLine;
};

class TRouteReport
{
public:
    TRouteReport(const TRouteSearch &search, const TRouteList &route, const TRouteReportLines &lines);

    TfrUserDataset frRouteSteps;
    int StepIndex = 0; // 1-based; the list's header is index 0

    bool GetValue(const QString &name, Variant &value) const;

private:
    const TRouteStep *CurrentStep() const;

    const TRouteSearch &m_search;
    const TRouteList &m_route;
    TRouteReportLines m_lines;
};
