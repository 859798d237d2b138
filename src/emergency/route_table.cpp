#include "emergency/route_table.h"

#include <algorithm>
#include <limits>

namespace {

const QString NoNodeText = QStringLiteral("отсутсвует в сети выработок");

QString NumberText(int n) { return QString::number(n); }

} // namespace

QString RouteTaskTitle(int task)
{
    switch (task) {
    case rtReconnaissance:
        return QStringLiteral(" Поиск маршрута движения отделений ГВГСС при разведке");
    case rtLiquidation:
        return QStringLiteral(" Поиск маршрута движения отделений ГВГСС при ликвидации аварии");
    case rtTransport:
        return QStringLiteral(" Поиск маршрута движения отделений ГВГСС при транспортировке пострадавшего");
    case rtEvacuation:
        return QStringLiteral(" Поиск маршрута вывода горнорабочих");
    }
    return QStringLiteral(" ");
}

QString RouteTaskPhrase(int task)
{
    switch (task) {
    case rtReconnaissance:
        return QStringLiteral("движения отделений ГВГСС при разведке");
    case rtLiquidation:
        return QStringLiteral("движения отделений ГВГСС при ликвидации аварии");
    case rtTransport:
        return QStringLiteral("движения отделений ГВГСС при транспортировке пострадавшего");
    case rtEvacuation:
        return QStringLiteral("вывода горнорабочих");
    }
    return {};
}

qint64 ParseNodeText(const QString &text)
{
    constexpr qint64 Cap = std::numeric_limits<qint64>::max() / 10 - 10;
    int i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    qint64 n = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        n = std::min(Cap, n * 10 + (text[i].unicode() - u'0'));
    return n;
}

TRouteDataCheck CheckRouteData(const TNetworkTables &t, const TBdBranchList &impassable)
{
    TRouteDataCheck check;
    const int count = MaxBranchNo(t);
    for (int n = 1; n <= count; ++n) {
        if (!BranchExist(t, n) || InBdList(impassable, n))
            continue;
        if (t.BranchLength[n] == 0 || t.BranchArea[n] == 0 || t.BranchHeight[n] == 0)
            check.MissingBranchData = true;
        if (t.NodeAltitude[t.BranchStartNode[n]] == AltitudeNotGiven || t.NodeAltitude[t.BranchEndNode[n]] == AltitudeNotGiven)
            check.MissingAltitudes = true;
    }
    if (!check.MissingBranchData && !check.MissingAltitudes)
        return check;
    QString a, b;
    if (check.MissingBranchData)
        a = QStringLiteral("Не у всех ветвей заданы длина, площадь сечения и высота. ");
    if (check.MissingAltitudes)
        b = QStringLiteral("Не у всех узлов заданы высотные отметки.");
    check.Message = QStringLiteral("Для решения задачи недостаточно информации. ") + a + b + QStringLiteral(" Продолжать?");
    return check;
}

TNodeCheck CheckRouteNodes(const TRouteSearch &search, qint64 start, qint64 end)
{
    if (start == 0 || end == 0)
        return {QStringLiteral("Узел 0 ") + NoNodeText, 0};
    const auto message = [&](qint64 n) {
        QString s = QStringLiteral("Узел N") + QString::number(n) + u' ' + NoNodeText;
        if (search.Task == rtLiquidation)
            s += QStringLiteral(", либо находится в зоне загазирования");
        return s;
    };
    const auto inNetwork = [&](qint64 n) { return n <= MaxItems && search.InRouteNetwork(int(n)); };
    if (!inNetwork(start))
        return {message(start), 1};
    if (!inNetwork(end))
        return {message(end), 2};
    return {};
}

QStringList PeopleGridHeader()
{
    return {QStringLiteral("Ветвь"), QStringLiteral("Н.узел"), QStringLiteral("К.узел"), QStringLiteral("Название"),
            QStringLiteral("Кол-во"), QStringLiteral("Примечание")};
}

std::vector<TPeopleRow> PeopleRows(const TRouteSearch &search)
{
    const TNetworkTables &t = search.Tables();
    std::vector<TPeopleRow> rows;
    const int count = MaxBranchNo(t);
    for (int n = 1; n <= count; ++n) {
        if (t.BranchPeople[n] == 0)
            continue;
        QString note;
        if (search.IsSmokeBranch(n))
            note = QStringLiteral("в зоне");
        else if (n == search.FireBranch())
            note = QStringLiteral(" пожар");
        else if (search.IsOutsideZone(n))
            note = QStringLiteral("на свежей");
        rows.push_back({n,
                        {NumberText(n), NumberText(t.BranchStartNode[n]), NumberText(t.BranchEndNode[n]),
                         GetBranchName(t, n), NumberText(t.BranchPeople[n]), note}});
    }
    return rows;
}

TEvacuation ComputeEvacuation(TRouteSearch &search, int people)
{
    const TNetworkTables &t = search.Tables();
    TEvacuation result;
    if (!ValidItemIndex(people))
        return result;
    search.BuildAdjacency();
    search.ComputeTimes();
    const int start = t.BranchQ[people] > 0 ? t.BranchEndNode[people] : t.BranchStartNode[people];
    result.Start = start;
    search.SearchFrom(start);
    if (search.NearestFreshNode > 0) {
        result.Slots.push_back(search.BuildRoute(start, search.NearestFreshNode, people));
    } else {
        TRouteList header;
        header.From = start;
        header.To = NoRouteEnd;
        header.FreshText = QStringLiteral(" Путь до ближайшего свежего узла по направлению дыма не найден");
        header.ExitText = QStringLiteral("Путь до выхода на поверхность не найден");
        result.Slots.push_back(header);
    }
    if (search.NearestSurfaceExit > 0)
        result.Slots.push_back(search.BuildRoute(start, search.NearestSurfaceExit, people));
    for (int n = 1; n <= MaxItems && int(result.Slots.size()) < MaxRouteSlots; ++n)
        if (t.NodeLiftToSurface[n] && n != search.NearestSurfaceExit && NodeExist(t, n))
            result.Slots.push_back(search.BuildRoute(start, n, people));
    return result;
}

QString EvacuationFireLine(const TNetworkTables &t, int fireBranch)
{
    return QStringLiteral("Пожар в ветви ") + GetBranchName(t, fireBranch) + QStringLiteral("  (номер ") + NumberText(fireBranch)
           + u')';
}

QString EvacuationWorkingLine(const TNetworkTables &t, int people, int start)
{
    return QStringLiteral(" Ветвь ") + GetBranchName(t, people) + QStringLiteral("  (номер ") + NumberText(people)
           + QStringLiteral("), ") + NumberText(ValidItemIndex(people) ? t.BranchPeople[people] : 0)
           + QStringLiteral(" человек, направляются из узла ") + NumberText(start);
}

QStringList EvacuationChoiceRows(const std::vector<TRouteList> &routes)
{
    QStringList rows;
    if (routes.empty())
        return rows;
    rows << routes[0].FreshText;
    if (routes.size() >= 2)
        rows << routes[1].ExitText;
    if (routes.size() > 2) {
        rows = rows.mid(0, 1);
        for (std::size_t i = 1; i < routes.size(); ++i)
            rows << QStringLiteral("Подъем на поверхность - узел ") + NumberText(routes[i].To) + routes[i].TimeText;
    }
    return rows;
}

QString RouteFireLine(const TNetworkTables &t, int fireBranch)
{
    return QStringLiteral("Пожар в ветви %1 (номер %2)").arg(GetBranchName(t, fireBranch)).arg(fireBranch);
}

QString RouteLine(int task, const TRouteList &route)
{
    return QStringLiteral("Кратчайший путь ") + RouteTaskPhrase(task) + QStringLiteral(" из узла  ") + NumberText(route.From)
           + QStringLiteral("  в узел  ") + NumberText(route.To);
}

QStringList RouteGridHeader()
{
    return {QStringLiteral("Из уз."), QStringLiteral("В уз."), QStringLiteral("Ветвь"), QStringLiteral("          Название"),
            QStringLiteral("Направление"), QStringLiteral("Время от нач.")};
}

int StepEndNode(const TNetworkTables &t, const TRouteStep &step)
{
    const int b = step.Branch;
    return t.BranchStartNode[b] == step.From ? t.BranchEndNode[b] : t.BranchStartNode[b];
}

QString StepDirectionText(const TRouteSearch &search, const TRouteStep &step)
{
    QString s = DirectionText(search.Tables(), step.Branch, step.From);
    if (search.IsSmokeBranch(step.Branch))
        s += QStringLiteral("/в дыму");
    return s;
}

std::vector<QStringList> RouteGridRows(const TRouteSearch &search, const TRouteList &route)
{
    const TNetworkTables &t = search.Tables();
    std::vector<QStringList> rows;
    rows.reserve(route.Steps.size());
    for (const TRouteStep &step : route.Steps)
        rows.push_back({NumberText(step.From), NumberText(StepEndNode(t, step)), NumberText(step.Branch),
                        GetBranchName(t, step.Branch), StepDirectionText(search, step), MinutesText(step.Time)});
    return rows;
}

QString RouteClipboardText(const TNetworkTables &t, const TRouteList &route)
{
    QStringList names;
    for (const TRouteStep &step : route.Steps)
        names << GetBranchName(t, step.Branch);
    return names.join(QStringLiteral(", ")) + QStringLiteral(" (") + route.TimeText + u')';
}

void PaintRouteColors(TBranchColors &colors, const TSchemeColors &palette, const TRouteList &route)
{
    for (const TRouteStep &step : route.Steps) {
        const int b = step.Branch;
        if (!ValidItemIndex(b))
            continue;
        colors[b] = colors[b] == clAqua || colors[b] == palette[sciSmoke] ? palette[sciRouteInSmoke] : RouteGreen;
    }
}

TRect RouteBounds(const TNetworkTables &t, TRect r, const TRouteList &route)
{
    for (const TRouteStep &step : route.Steps) {
        const int b = step.Branch;
        if (!ValidItemIndex(b))
            continue;
        const auto &turns = t.BranchTurns[b];
        if (turns && !turns->empty()) {
            for (const TTurn &p : *turns)
                WidenRect(r, p.X, p.Y);
        } else {
            for (const int n : {int(t.BranchStartNode[b]), int(t.BranchEndNode[b])})
                WidenRect(r, t.NodeX[n], t.NodeY[n]);
        }
    }
    return r;
}
