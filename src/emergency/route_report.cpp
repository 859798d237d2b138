#include "emergency/route_report.h"

TRouteReport::TRouteReport(const TRouteSearch &search, const TRouteList &route, const TRouteReportLines &lines)
    : m_search(search), m_route(route), m_lines(lines)
{
    frRouteSteps.Name = RouteStepsSource;
    frRouteSteps.OnFirst = [this](TfrComponent *) { StepIndex = 1; };
    frRouteSteps.OnNext = [this](TfrComponent *) { ++StepIndex; };
    // The list counts its header as an entry.
    frRouteSteps.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = StepIndex >= int(m_route.Steps.size()) + 1; };
}

const TRouteStep *TRouteReport::CurrentStep() const
{
    return StepIndex >= 1 && StepIndex <= int(m_route.Steps.size()) ? &m_route.Steps[std::size_t(StepIndex - 1)] : nullptr;
}

bool TRouteReport::GetValue(const QString &name, Variant &value) const
{
    if (name == QStringLiteral("НазваниеШахты"))
        value = m_lines.MineName;
    else if (name == QStringLiteral("ПожВетвь"))
        value = m_lines.FireLine;
    else if (name == QStringLiteral("Узел1Узел2"))
        value = m_lines.FreshLine;
    else if (name == QStringLiteral("ВремяПередвижения"))
        value = m_lines.ExitLine;
    else if (name == QStringLiteral("Ближайший свежий"))
        value = m_lines.RouteLine;
    else if (name == QStringLiteral("БлижВыходНаПоверхность"))
        value = m_lines.TimeLine;
    else {
        const TRouteStep *step = CurrentStep();
        const TNetworkTables &t = m_search.Tables();
        const TRouteStep none;
        const TRouteStep &s = step ? *step : none;
        if (name == QStringLiteral("ИзУзла"))
            value = s.From;
        else if (name == QStringLiteral("ВУзел"))
            value = step ? StepEndNode(t, s) : 0;
        else if (name == QStringLiteral("Ветвь"))
            value = s.Branch;
        else if (name == QStringLiteral("НазваниеВетви"))
            value = GetBranchName(t, s.Branch);
        else if (name == QStringLiteral("Направление"))
            value = step ? StepDirectionText(m_search, s) : QString();
        else if (name == QStringLiteral("Время от начала"))
            value = step ? MinutesText(s.Time) : QString();
        else
            return false;
    }
    return true;
}
