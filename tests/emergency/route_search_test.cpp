#include "emergency/route_search.h"
#include "small_network.h"

#include <gtest/gtest.h>

namespace {

// A network whose travel times are set by hand, so that each test says
// exactly which way is quicker.
struct RouteNet
{
    TSmallNetwork net;
    TNetworkTables &t = net.t;
    TRouteSearch search{t};

    void Branch(int b, int from, int to, double minutes, double q = 1)
    {
        net.Branch(b, from, to, q);
        t.BranchHeight[b] = 2;
        t.BranchAngle[b] = 0;
        m_times[b] = minutes;
    }

    // Builds the lists, sets the times and searches from s.
    void Search(int task, int s, TGasZoneList zone = {})
    {
        search.Task = task;
        search.SmokeZone = std::move(zone);
        search.Impassable = GetBdBranches(t, search.SmokeZone);
        search.BuildAdjacency();
        search.Times = {};
        for (int b = 1; b < TableSize; ++b)
            search.Times.Forward[b] = search.Times.Backward[b] = m_times[b];
        search.SearchFrom(s);
    }

    std::vector<int> Route(int s, int to)
    {
        std::vector<int> branches;
        for (const TRouteStep &step : search.BuildRoute(s, to).Steps)
            branches.push_back(step.Branch);
        return branches;
    }

private:
    TTable<double> m_times{};
};

using Branches = std::vector<int>;

} // namespace

TEST(RouteSearch, LiquidationNeverEntersSmokeReconnaissanceDoesSlowly)
{
    // 1 -b1- 2 -b2- 3 -b3- 4, and the long way 2 -b4- 5 -b5- 4; fire in 6 -b6- 7.
    RouteNet r;
    r.Branch(1, 1, 2, 1);
    r.Branch(2, 2, 3, 1);
    r.Branch(3, 3, 4, 1);
    r.Branch(4, 2, 5, 5);
    r.Branch(5, 5, 4, 5);
    r.Branch(6, 6, 7, 1);
    r.Branch(7, 7, 1, 1);
    r.Search(rtReconnaissance, 1, {6, 2});
    EXPECT_EQ(r.Route(1, 4), (Branches{1, 2, 3}));
    EXPECT_EQ(r.search.NearestFreshNode, 0);
    r.Search(rtLiquidation, 1, {6, 2});
    EXPECT_EQ(r.Route(1, 4), (Branches{1, 4, 5}));
    EXPECT_EQ(r.search.Label(3).Time, 12); // reached back over b3 only
}

TEST(RouteSearch, TransportAndEvacuationCrossSmokeOnlyWithItsFlow)
{
    // The start 2 lies in smoke between b1 (to 1) and b2 (to 3); both 1 and 3
    // touch fresh air, 1 is nearer. Fire in b5.
    struct Case
    {
        int task;
        double q1;
        int fresh;
    };
    const Case cases[] = {
        {rtTransport, 10, 3},   // b1 flows 1 to 2: going to 1 is against the smoke
        {rtTransport, -10, 1},  // b1 flows 2 to 1
        {rtEvacuation, 0, 1},   // no flow: either way
        {rtEvacuation, 10, 3},
    };
    for (const Case &c : cases) {
        RouteNet r;
        r.Branch(1, 1, 2, 1, c.q1);
        r.Branch(2, 2, 3, 2, 10);
        r.Branch(3, 3, 4, 1);
        r.Branch(4, 1, 5, 1);
        r.Branch(5, 6, 2, 1);
        r.Search(c.task, 2, {5, 1, 2});
        EXPECT_EQ(r.search.NearestFreshNode, c.fresh) << c.task << " " << c.q1;
    }
}

TEST(RouteSearch, FirstPhaseStopsAtFreshAirAndTheZoneLeadsNowhereAfter)
{
    // From 2 in smoke: b2 to 3 is quick and 3 touches fresh b3; b1 (smoke,
    // with its flow) leads to 1, where b6 goes on to 8. After the zone is
    // closed, 1 is still reached round by 4 and 5 but opens nothing.
    RouteNet r;
    r.Branch(1, 2, 1, 5, 10);
    r.Branch(2, 2, 3, 1, 10);
    r.Branch(3, 3, 4, 1);
    r.Branch(4, 4, 5, 1);
    r.Branch(7, 5, 1, 1);
    r.Branch(6, 1, 8, 1);
    r.Branch(5, 6, 2, 1);
    r.Search(rtEvacuation, 2, {5, 1, 2});
    EXPECT_EQ(r.search.NearestFreshNode, 3);
    EXPECT_EQ(r.search.Label(3).Time, 1);
    EXPECT_GT(r.search.Label(1).Steps, 0);
    EXPECT_EQ(r.search.Label(8).Steps, 0);
    const TRouteList route = r.search.BuildRoute(2, 8);
    EXPECT_EQ(route.TimeText, QStringLiteral(" путь отсутствует "));
    EXPECT_TRUE(route.Steps.empty());
    EXPECT_EQ(route.FreshText, QStringLiteral("Ближайший свежий узел 3, время 1мин."));
    EXPECT_EQ(route.ExitText, QStringLiteral("Путь до выхода на поверхность не найден "));
}

TEST(RouteSearch, StartOnFreshAirIsItsOwnFreshNode)
{
    RouteNet r;
    r.Branch(1, 1, 2, 1);
    r.Branch(2, 2, 3, 1);
    r.t.NodeLiftToSurface[3] = 1;
    r.Search(rtTransport, 1, {9});
    EXPECT_EQ(r.search.NearestFreshNode, 1);
    EXPECT_EQ(r.search.NearestSurfaceExit, 3);
    const TRouteList route = r.search.BuildRoute(1, 3);
    EXPECT_EQ(route.FreshText, QStringLiteral("Ближайший свежий узел 1, время 0мин."));
    EXPECT_EQ(route.ExitText, QStringLiteral("Ближайший выход на поверхность по свежей - узел 3, время 2мин."));
}

TEST(RouteSearch, SurfaceNodeIsLabelledNeverExpanded)
{
    RouteNet r;
    r.Branch(1, 1, 2, 1);
    r.Branch(2, 2, 3, 1);
    r.t.NodeIsSurface[2] = 1;
    r.Search(rtReconnaissance, 1);
    EXPECT_EQ(r.search.Label(2).Steps, 2);
    EXPECT_EQ(r.search.Label(3).Steps, 0);
}

TEST(RouteSearch, TiesGoToTheMostRecentNodeThenTheHigherBranch)
{
    // Every branch takes a minute: 1 -b1- 2 -b3- 4 and 1 -b2- 3 -b4- 4.
    RouteNet r;
    r.Branch(1, 1, 2, 1);
    r.Branch(2, 1, 3, 1);
    r.Branch(3, 2, 4, 1);
    r.Branch(4, 3, 4, 1);
    r.Search(rtReconnaissance, 1);
    // b2 before b1 from node 1; then node 2, reached last, offers b3 first.
    EXPECT_EQ(r.Route(1, 4), (Branches{1, 3}));
}

TEST(RouteSearch, RouteListsItsStepsInTravelOrder)
{
    RouteNet r;
    r.Branch(1, 1, 2, 1.5);
    r.Branch(2, 3, 2, 2);  // travelled against its direction
    r.Branch(3, 3, 4, 0.4);
    r.Search(rtReconnaissance, 1);
    const TRouteList route = r.search.BuildRoute(1, 4);
    ASSERT_EQ(route.Steps.size(), 3u);
    EXPECT_EQ(route.Steps[0].From, 1);
    EXPECT_EQ(route.Steps[1].From, 2);
    EXPECT_EQ(route.Steps[2].From, 3);
    EXPECT_NEAR(route.Steps[2].Time, 3.9, 1e-12);
    EXPECT_EQ(route.TimeText, QStringLiteral(" время движения 4мин."));
    EXPECT_TRUE(route.FreshText.isEmpty());

    const TRouteList same = r.search.BuildRoute(1, 1);
    EXPECT_EQ(same.TimeText, QStringLiteral(" время движения 0мин."));
    EXPECT_TRUE(same.Steps.empty());
}

TEST(RouteSearch, NothingAtOrBeyondTheBoundIsReached)
{
    RouteNet r;
    r.Branch(1, 1, 2, 1);
    r.Branch(2, 2, 3, RouteTimeBound);
    r.Branch(3, 3, 4, 1);
    r.Search(rtReconnaissance, 1);
    EXPECT_EQ(r.search.Label(2).Steps, 2);
    EXPECT_EQ(r.search.Label(3).Steps, 0);
    EXPECT_EQ(r.search.BuildRoute(1, 4).TimeText, QStringLiteral(" путь отсутствует "));
}

TEST(RouteSearch, EveryNodeKeepsItsFirstLabel)
{
    // Surface node 3 is reached first over b2 and opens nothing, so no
    // pruning follows; the slower b3 from 4 is still offered and must not
    // relabel it.
    RouteNet r;
    r.Branch(1, 1, 4, 1);
    r.Branch(2, 1, 3, 2);
    r.Branch(3, 4, 3, 2);
    r.t.NodeIsSurface[3] = 1;
    r.Search(rtReconnaissance, 1);
    EXPECT_EQ(r.search.Label(3).Branch, 2);
    EXPECT_EQ(r.search.Label(3).Time, 2);
}

TEST(RouteSearch, EvacuationTimeTellsTheWayThroughTheWorking)
{
    RouteNet r;
    r.Branch(1, 1, 2, 3);
    r.Branch(2, 2, 3, 1);
    r.Search(rtEvacuation, 2, {9});
    const TRouteList route = r.search.BuildRoute(2, 3, 1);
    const QString extra = QStringLiteral("(возможно + 3мин., за счет прохождения по выработке)");
    EXPECT_EQ(route.TimeText, QStringLiteral(" время движения 1мин.") + extra);
    EXPECT_EQ(route.FreshText, QStringLiteral("Ближайший свежий узел 2, время 0мин.") + extra);
}

TEST(RouteTexts, MinutesAndDirections)
{
    EXPECT_EQ(MinutesText(12.0), QStringLiteral("12мин."));
    EXPECT_EQ(MinutesText(12.3), QStringLiteral("13мин."));
    EXPECT_EQ(MinutesText(12.005), QStringLiteral("12мин."));
    EXPECT_EQ(MinutesText(0), QStringLiteral("0мин."));

    TSmallNetwork net;
    net.Node(1, false, -100);
    net.Node(2, false, -150);
    net.Node(3, false, -100);
    net.Branch(1, 1, 2);
    net.Branch(2, 1, 3);
    EXPECT_EQ(DirectionText(net.t, 1, 1), QStringLiteral("вниз"));
    EXPECT_EQ(DirectionText(net.t, 1, 2), QStringLiteral("вверх"));
    EXPECT_EQ(DirectionText(net.t, 1, 3), QString());
    EXPECT_EQ(DirectionText(net.t, 2, 1), QStringLiteral("гориз."));
}
