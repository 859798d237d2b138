#include "emergency/route_report.h"
#include "emergency/route_table.h"
#include "small_network.h"

#include <gtest/gtest.h>

namespace {

// A level three-branch road 1-2-3-4 with named branches, 1.2 m high, where
// the third branch goes down by 30 degrees through smoke; fire in branch 9.
struct RoadNet
{
    TSmallNetwork net;
    TNetworkTables &t = net.t;
    TRouteSearch search{t};

    RoadNet()
    {
        net.Node(1, false, -100);
        net.Node(2, false, -100);
        net.Node(3, false, -100);
        net.Node(4, false, -150);
        net.Node(8, false, -100);
        net.Branch(1, 1, 2, 5);
        net.Branch(2, 3, 2, -5);
        net.Branch(3, 3, 4, 5);
        net.Branch(9, 1, 8, 5);
        for (const int b : {1, 2, 3, 9}) {
            t.BranchHeight[b] = 1.2;
            SetBranchName(t, b, QStringLiteral("Штрек %1").arg(b));
        }
        for (int n = 1; n <= 3; ++n)
            t.NodeX[n] = t.NodeY[n] = std::int16_t(10 * n);
        t.NodeX[4] = 900;
        t.NodeY[4] = -40;
        RebuildAllEdgeTurns(t);
        search.Task = rtReconnaissance;
        search.SmokeZone = {9, 3};
        search.Impassable = GetBdBranches(t, search.SmokeZone);
        search.BuildAdjacency();
        route = search.ComputeRoute(1, 4);
    }

    TRouteList route;
};

} // namespace

TEST(RouteTable, RowsClipboardAndReportOfAThreeStepRoute)
{
    RoadNet r;
    ASSERT_EQ(r.route.Steps.size(), 3u);
    const auto rows = RouteGridRows(r.search, r.route);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (QStringList{"2", "3", "2", "Штрек 2", "гориз.", rows[1][5]}));
    EXPECT_EQ(rows[2][4], QStringLiteral("вниз/в дыму"));
    EXPECT_EQ(rows[2][5], MinutesText(r.route.Steps[2].Time));
    EXPECT_EQ(RouteClipboardText(r.t, r.route),
              QStringLiteral("Штрек 1, Штрек 2, Штрек 3 (") + r.route.TimeText + u')');
    EXPECT_EQ(RouteLine(rtReconnaissance, r.route),
              QStringLiteral("Кратчайший путь движения отделений ГВГСС при разведке из узла  1  в узел  4"));
    EXPECT_EQ(RouteFireLine(r.t, 9), QStringLiteral("Пожар в ветви Штрек 9 (номер 9)"));

    TRouteReportLines lines{QStringLiteral("Шахта"), QStringLiteral("fire"), QStringLiteral("fresh"),
                            QStringLiteral("exit"), QStringLiteral("route"), QStringLiteral("time")};
    TRouteReport report(r.search, r.route, lines);
    QStringList names, directions;
    Variant v;
    TfrDataset &data = report.frRouteSteps;
    for (data.First(); !data.Eof(); data.Next()) {
        ASSERT_TRUE(report.GetValue(QStringLiteral("НазваниеВетви"), v));
        names << v.ToString();
        report.GetValue(QStringLiteral("Направление"), v);
        directions << v.ToString();
    }
    EXPECT_EQ(names, (QStringList{"Штрек 1", "Штрек 2", "Штрек 3"}));
    EXPECT_EQ(directions.back(), QStringLiteral("вниз/в дыму"));
    // The page lines keep the names the template knows them by.
    const std::pair<const char *, const char *> pairs[] = {{"Узел1Узел2", "fresh"},
                                                           {"Ближайший свежий", "route"},
                                                           {"ВремяПередвижения", "exit"},
                                                           {"БлижВыходНаПоверхность", "time"},
                                                           {"ПожВетвь", "fire"},
                                                           {"НазваниеШахты", "Шахта"}};
    for (const auto &[name, value] : pairs) {
        ASSERT_TRUE(report.GetValue(QString::fromUtf8(name), v)) << name;
        EXPECT_EQ(v.ToString(), QString::fromUtf8(value)) << name;
    }
    EXPECT_FALSE(report.GetValue(QStringLiteral("Нет такой"), v));
}

TEST(RouteTable, PaintingAndFramingTheRoute)
{
    RoadNet r;
    TBranchColors colors{};
    const TSchemeColors &palette = DefaultSchemeColors[spStandard];
    colors[2] = clAqua;
    colors[3] = palette[sciSmoke];
    PaintRouteColors(colors, palette, r.route);
    EXPECT_EQ(colors[1], RouteGreen);
    EXPECT_EQ(colors[2], palette[sciRouteInSmoke]);
    EXPECT_EQ(colors[3], palette[sciRouteInSmoke]);

    const TRect bounds = RouteBounds(r.t, TRect{0, 0, 100, 100}, r.route);
    EXPECT_EQ(bounds, (TRect{0, -40, 900, 100}));
}

TEST(RouteTable, NodeChecks)
{
    RoadNet r;
    r.search.BuildAdjacency();
    struct Case
    {
        QString start, end;
        int task;
        QString message;
        int focus;
    };
    const Case cases[] = {
        {"0", "4", rtReconnaissance, "Узел 0 отсутсвует в сети выработок", 0},
        {"1", "x", rtReconnaissance, "Узел 0 отсутсвует в сети выработок", 0},
        {"7", "4", rtReconnaissance, "Узел N7 отсутсвует в сети выработок", 1},
        {"  1z", "8", rtLiquidation, "Узел N8 отсутсвует в сети выработок, либо находится в зоне загазирования", 2},
        {"1", "123456789012345678901234", rtReconnaissance, "", 2},
        {" 1", "4", rtReconnaissance, "", 0},
    };
    for (const Case &c : cases) {
        r.search.Task = c.task;
        const TNodeCheck check = CheckRouteNodes(r.search, ParseNodeText(c.start), ParseNodeText(c.end));
        if (c.focus != 2 || c.task == rtLiquidation) {
            EXPECT_EQ(check.Message, c.message) << c.start.toStdString() << " " << c.end.toStdString();
        }
        EXPECT_EQ(check.Focus, c.focus) << c.start.toStdString() << " " << c.end.toStdString();
    }
}

TEST(RouteTable, DataCheckNamesWhatIsMissing)
{
    RoadNet r;
    EXPECT_TRUE(CheckRouteData(r.t, r.search.Impassable).Message.isEmpty());
    r.t.BranchArea[2] = 0;
    r.t.BranchHeight[9] = 0; // the fire branch is impassable and not asked for
    EXPECT_EQ(CheckRouteData(r.t, r.search.Impassable).Message,
              QStringLiteral("Для решения задачи недостаточно информации. Не у всех ветвей заданы длина, площадь "
                             "сечения и высота.  Продолжать?"));
    r.t.NodeAltitude[3] = AltitudeNotGiven;
    EXPECT_EQ(CheckRouteData(r.t, r.search.Impassable).Message,
              QStringLiteral("Для решения задачи недостаточно информации. Не у всех ветвей заданы длина, площадь "
                             "сечения и высота. Не у всех узлов заданы высотные отметки. Продолжать?"));
}

TEST(RouteTable, EvacuationKeepsTenRoutesInTheirOrder)
{
    // A working 1-2 with people and a row of lift nodes 3..14 along fresh air.
    TSmallNetwork net;
    auto &t = net.t;
    net.Branch(1, 1, 2, 5);
    for (int n = 2; n <= 13; ++n)
        net.Branch(n, n, n + 1, 5);
    for (int b = 1; b <= 13; ++b) {
        t.BranchHeight[b] = 2;
        t.BranchAngle[b] = 0;
    }
    t.BranchPeople[1] = 7;
    for (int n = 3; n <= 14; ++n)
        t.NodeLiftToSurface[n] = 1;
    t.NodeLiftToSurface[2] = 1; // where the miners start: the nearest exit at once
    TRouteSearch search(t);
    search.Task = rtEvacuation;
    search.SmokeZone = {1};
    search.Impassable = GetBdBranches(t, search.SmokeZone);
    const TEvacuation e = ComputeEvacuation(search, 1);
    EXPECT_EQ(e.Start, 2);
    ASSERT_EQ(e.Slots.size(), std::size_t(MaxRouteSlots));
    EXPECT_EQ(e.Slots[0].To, 2); // fresh at the start
    EXPECT_EQ(e.Slots[1].To, 3); // the nearest exit reached over fresh air
    EXPECT_EQ(e.Slots[2].To, 2);
    EXPECT_EQ(e.Slots[9].To, 10);
    const QStringList rows = EvacuationChoiceRows(e.Slots);
    ASSERT_EQ(rows.size(), MaxRouteSlots);
    EXPECT_EQ(rows[0], e.Slots[0].FreshText);
    EXPECT_EQ(rows[1], QStringLiteral("Подъем на поверхность - узел 3") + e.Slots[1].TimeText);

    const auto people = PeopleRows(search);
    ASSERT_EQ(people.size(), 1u);
    EXPECT_EQ(people[0].Cells, (QStringList{"1", "1", "2", DefaultBranchName, "7", " пожар"}));
    EXPECT_EQ(EvacuationWorkingLine(t, 1, 2),
              QStringLiteral(" Ветвь ") + DefaultBranchName + QStringLiteral("  (номер 1), 7 человек, направляются из узла 2"));
}

TEST(RouteTable, EvacuationWithoutFreshAirGetsOnlyAHeader)
{
    TSmallNetwork net;
    auto &t = net.t;
    net.Branch(1, 1, 2, 5);
    net.Branch(2, 2, 3, 5);
    for (int b = 1; b <= 2; ++b) {
        t.BranchHeight[b] = 2;
        t.BranchAngle[b] = 0;
    }
    t.BranchPeople[2] = 3;
    TRouteSearch search(t);
    search.Task = rtEvacuation;
    search.SmokeZone = {1, 2};
    search.Impassable = GetBdBranches(t, search.SmokeZone);
    const TEvacuation e = ComputeEvacuation(search, 2);
    ASSERT_EQ(e.Slots.size(), 1u);
    EXPECT_EQ(e.Slots[0].To, NoRouteEnd);
    EXPECT_EQ(EvacuationChoiceRows(e.Slots),
              QStringList{QStringLiteral(" Путь до ближайшего свежего узла по направлению дыма не найден")});
    EXPECT_EQ(PeopleRows(search)[0].Cells.back(), QStringLiteral("в зоне"));
}
