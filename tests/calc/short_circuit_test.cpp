// The short-circuiting study: which doors are paths, how far they open, how the
// monitored branches are graded, and that a run leaves the tables alone.
#include "calc/short_circuit.h"

#include "calc/solver.h"
#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class ShortCircuitTest : public ::testing::Test
{
protected:
    ShortCircuitTest() { ClearAllItems(t); }

    void Branch(int b, int from, int to, double r, int type = 0, double h = 0)
    {
        for (int n : {from, to})
            if (!NodeExist(t, n))
                CreateNode(t, n);
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchR[b] = r;
        t.BranchType[b] = static_cast<std::uint8_t>(type);
        t.BranchAuxDepression[b] = h;
        t.BranchLength[b] = 100;
        t.BranchArea[b] = 10;
    }
    // A fan 1→2 feeding a longwall 2→3 beside two equal doors 2→3, a
    // connection 3→4 and the way out 4→5 to the surface.
    void Mine()
    {
        Branch(1, 1, 2, 0.01, 0, 200);
        Branch(2, 2, 3, 0.05, sckLongwall);
        Branch(3, 2, 3, 5, sckDoor);
        Branch(4, 2, 3, 5, sckDoor);
        Branch(5, 3, 4, 0.02, sckConnection);
        Branch(6, 4, 5, 0.02);
        t.NodeIsSurface[1] = t.NodeIsSurface[5] = 1;
        ASSERT_EQ(CalcTablesAir(t), crSolved);
    }
    std::unique_ptr<TShortCircuitStudy> Study()
    {
        auto s = std::make_unique<TShortCircuitStudy>(t);
        s->SelectShortCircuitPaths();
        return s;
    }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
};

} // namespace

TEST_F(ShortCircuitTest, OpenedResistanceFollowsTheGivenValueOrTheAirwaysOwn)
{
    struct Case { double r, given; int length; double area, expected; };
    const Case cases[] = {
        {2, 0, 100, 10, 0.00965 * 100 * std::sqrt(10.0) / 1000 + (2 - 0.00965 * 100 * std::sqrt(10.0) / 1000) / 100},
        {2, 999, 100, 10, 0.00965 * 100 * std::sqrt(10.0) / 1000 + (2 - 0.00965 * 100 * std::sqrt(10.0) / 1000) / 100},
        {0.5, 0, 100, 1, 0.005},   // the airway alone resists more than the door: R / 100
        {2, 5, 100, 10, 5},        // the user's own value
        {3, 0, 0, 10, 0.03},       // no length
        {3, 0, 100, 0, 0.03},      // no area
    };
    for (const Case &c : cases) {
        ClearAllItems(t);
        Branch(1, 1, 2, c.r, sckDoor);
        t.BranchLength[1] = static_cast<std::int16_t>(c.length);
        t.BranchArea[1] = c.area;
        t.BranchShortCircuitR[1] = c.given;
        TShortCircuitStudy s(t);
        EXPECT_NEAR(s.ShortCircuitResistance(1), c.expected, 1e-12) << c.r << " " << c.given;
    }
    EXPECT_NEAR(0.00965 * 100 * std::sqrt(10.0) / 1000 + (2 - 0.00965 * 100 * std::sqrt(10.0) / 1000) / 100, 0.0230,
                5e-5);
}

TEST_F(ShortCircuitTest, DoorsBelowTheLimitAreExcludedAndTheStartSaysSo)
{
    Branch(1, 1, 2, 0.005, sckDoor);
    Branch(2, 2, 3, 0.01, sckRegulator);
    Branch(3, 3, 4, 1, 0);
    auto s = Study();
    EXPECT_EQ(s->Selection.Paths, std::vector<int>{2});
    EXPECT_EQ(s->Selection.Excluded, 1);
    ASSERT_EQ(s->Rows[sctDoors].size(), 1u);
    EXPECT_EQ(s->Rows[sctDoors][0], (QStringList{" 2", GetBranchName(t, 2), "   0,01000", "   0,0"}));

    bool info = false, opens = false;
    EXPECT_EQ(s->StartMessage(info, opens),
              "В схеме : 2 ветвей\rс признаком путей закорачивания\r(внутренняя утечка дверь,регулятор)!\r\r"
              "1 - из них имеют величину сопротивления\rНЕ СОГЛАСУЮЩУЮСЯ с признаком Пути закорачивания\r\r"
              "Поэтому эти ветви \rкак пути закорачивания - НЕ РАССМАТРИВАЮТСЯ...");
    EXPECT_TRUE(info);
    EXPECT_TRUE(opens);

    s->Selection = {{2, 5}, 0};
    EXPECT_EQ(s->StartMessage(info, opens),
              "В схеме : 2 ветвей\rс признаком путей закорачивания\r(внутренняя утечка дверь,регулятор)!");
    EXPECT_TRUE(opens);
    s->Selection = {{}, 3};
    EXPECT_EQ(s->StartMessage(info, opens),
              "В схеме : 3 ветвей\rс признаком путей закорачивания\r(внутренняя утечка дверь,регулятор)!\r\r"
              "Все они имеют величину сопротивления,\rНЕ СОГЛАСУЮЩУЮСЯ с признаком Пути закорачивания\r\r"
              "Поэтому все ветви как пути закорачивания\rНЕ РАССМАТРИВАЮТСЯ и задание СНИМАЕТСЯ...");
    EXPECT_TRUE(info);
    EXPECT_FALSE(opens);
    s->Selection = {};
    EXPECT_EQ(s->StartMessage(info, opens),
              "В схеме отсутствуют ветви \rс признаком путей закорачивания\r(внутренняя утечка дверь,регулятор)!\r\r"
              "Поэтому задание СНИМАЕТСЯ...");
    EXPECT_FALSE(info);
    EXPECT_FALSE(opens);
}

TEST_F(ShortCircuitTest, GroupRowsGradeTheWorstOpening)
{
    Branch(1, 1, 2, 1, sckLongwall);
    Branch(2, 1, 2, 1, sckLongwall);
    Branch(3, 1, 2, 1, sckLongwall);
    Branch(4, 1, 2, 1, sckLongwall);  // nothing flows here normally
    Branch(5, 1, 2, 1, sckConnection);
    Branch(6, 1, 2, 1, sckFanSuction);
    Branch(7, 1, 2, 1, 0);
    TShortCircuitStudy s(t);
    const double normal[] = {0, 10, 10, 10, 0, 3, 10, -5};
    const double least[] = {0, 6, 4, -1, 0, 2, 8, -7};
    for (int c = 1; c <= 7; ++c) {
        s.QNormal[c] = normal[c];
        s.QMin[c] = least[c];
        s.MinCause[c] = static_cast<std::int16_t>(40 + c);
    }
    s.FillResults();
    const auto &walls = s.Rows[sctLongwalls];
    ASSERT_EQ(walls.size(), 4u);
    EXPECT_EQ(walls[0].mid(2), (QStringList{"  10,0", "   6,0", "  40,0", "Средняя", "   41"}));
    EXPECT_EQ(walls[1].mid(2), (QStringList{"  10,0", "   4,0", "  60,0", "Низкая", "   42"}));
    EXPECT_EQ(walls[2].mid(2), (QStringList{"  10,0", "  -1,0", "Опрокид.", "Низкая", "   43"}));
    EXPECT_EQ(walls[3][4], QString());  // no per cent of nothing
    EXPECT_EQ(walls[3][5], GradeNotStudied);
    // A connection left with 4 daPa is weak whatever its change.
    EXPECT_EQ(s.Rows[sctConnections][0].mid(2, 4), (QStringList{"   9,0", "   4,0", "  55,6", "Низкая"}));
    EXPECT_EQ(s.Rows[sctFanSuctions][0][5], "Средняя");
    EXPECT_TRUE(s.Rows[sctFreshening].empty());

    // The whole network: reversals listed, ungraded branches "Не иссл.", and
    // a branch flowing against its drawing is never taken for reversed.
    const auto &net = s.Rows[sctNetwork];
    ASSERT_EQ(net.size(), 7u);
    EXPECT_EQ(net[2][4], GradeReversed);
    EXPECT_EQ(net[3][4], QString());
    EXPECT_EQ(net[6][4], " -40,0");
    EXPECT_EQ(net[6][7], GradeNotStudied);
    EXPECT_EQ(s.ReversedItems(), QStringList{QStringLiteral("3. ") + GetBranchName(t, 3)});
    EXPECT_EQ(s.StabilityGrade[1], "Средняя");

    QString v = "kept";
    EXPECT_TRUE(s.ReportValue(sctLongwalls, 2, "Путь", "Шахта", v));
    EXPECT_EQ(v, "    42");
    EXPECT_TRUE(s.ReportValue(sctLongwalls, 1, "НазвШахты", "Шахта", v));
    EXPECT_EQ(v, "Шахта");
    v = "kept";
    EXPECT_FALSE(s.ReportValue(sctConnections, 1, "РасходН", "Шахта", v));
    EXPECT_FALSE(s.ReportValue(sctLongwalls, 9, "Номер", "Шахта", v));
    EXPECT_EQ(v, "kept");
}

TEST_F(ShortCircuitTest, RunLeavesTheTablesAloneAndRepeats)
{
    Mine();
    const TTable<double> flows = t.BranchQ;
    const TTable<double> resistances = t.BranchR;
    auto s = Study();
    ASSERT_EQ(s->Selection.Paths, (std::vector<int>{3, 4}));
    EXPECT_EQ(s->CheckPathGeometry(), 0);
    int lastProgress = -1;
    ASSERT_EQ(s->ShortCircuitAll([&](int done) { lastProgress = done; }), 0);
    EXPECT_EQ(lastProgress, 2);
    s->FillResults();
    EXPECT_EQ(t.BranchQ, flows);
    EXPECT_EQ(t.BranchR, resistances);
    EXPECT_EQ(s->Copy.BranchR, resistances);

    // Opening a door robs the longwall; the fan only gains and names itself.
    EXPECT_LT(s->QMin[2], s->QNormal[2]);
    EXPECT_TRUE(s->MinCause[2] == 3 || s->MinCause[2] == 4);
    EXPECT_EQ(s->MinCause[1], 1);
    ASSERT_EQ(s->Rows[sctDoors][0].size(), 7);
    EXPECT_EQ(s->Rows[sctDoors][0][4], FormatWD(s->RShort[3], 10, 5));

    std::vector<QStringList> first[sctCount];
    for (int k = 0; k < sctCount; ++k)
        first[k] = s->Rows[k];
    ASSERT_EQ(s->ShortCircuitAll(), 0);
    s->FillResults();
    for (int k = 0; k < sctCount; ++k)
        EXPECT_EQ(s->Rows[k], first[k]) << k;

    // Doors that "open" to their own resistance change nothing: every flow
    // equals its normal one and the later door wins each tie.
    t.BranchShortCircuitR[3] = t.BranchShortCircuitR[4] = 5;
    auto same = Study();
    ASSERT_EQ(same->ShortCircuitAll(), 0);
    for (int c = 1; c <= 6; ++c) {
        EXPECT_EQ(same->QMin[c], same->QNormal[c]) << c;
        EXPECT_EQ(same->MinCause[c], 4) << c;
    }
}

TEST_F(ShortCircuitTest, ThreadedRunEqualsOneAfterAnother)
{
    // Many doors in parallel with a longwall: the chunks merge like a sequence.
    Branch(1, 1, 2, 0.01, 0, 200);
    Branch(2, 2, 3, 0.05, sckLongwall);
    for (int b = 3; b <= 40; ++b)
        Branch(b, 2, 3, 2 + b % 5, sckDoor);
    Branch(41, 3, 4, 0.02);
    t.NodeIsSurface[1] = t.NodeIsSurface[4] = 1;
    ASSERT_EQ(CalcTablesAir(t), crSolved);
    auto s = Study();
    ASSERT_EQ(s->ShortCircuitAll(), 0);

    double least = s->QNormal[2];
    int cause = 2;
    QString hits;
    for (int b : s->Selection.Paths) {
        TTable<double> r = t.BranchR;
        r[b] = s->RShort[b];
        TTable<double> q{};
        ASSERT_EQ(CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode,
                                      t.BranchEndNode, t.NodeIsSurface, r, t.BranchAuxDepression, q),
                  crSolved);
        if (least >= q[2]) {
            least = q[2];
            cause = b;
        }
        if ((s->QNormal[2] - q[2]) / s->QNormal[2] * 100 > 50)
            hits += QStringLiteral("%1; ").arg(b, 3);
    }
    EXPECT_EQ(s->QMin[2], least);
    EXPECT_EQ(s->MinCause[2], cause);
    EXPECT_EQ(s->PathHits[2], hits);
}

// Fails the solve in which door 4 stands open.
static CalcResult FailWithDoorFourOpen(TNetworkTables &t, int branches, int nodes, const TTable<std::int16_t> &no,
                                       const TTable<std::int16_t> &from, const TTable<std::int16_t> &to,
                                       const TTable<std::uint8_t> &surface, const TTable<double> &r,
                                       const TTable<double> &h, TTable<double> &q, TSolveStats *stats)
{
    if (r[4] < 1)
        return crCalcFailed;
    return CalcAirDistribution(t, branches, nodes, no, from, to, surface, r, h, q, stats);
}

TEST_F(ShortCircuitTest, AnOpeningThatDoesNotSolveFillsNothing)
{
    Mine();
    auto s = Study();
    s->Solve = FailWithDoorFourOpen;
    EXPECT_EQ(s->ShortCircuitAll(), 4);
    EXPECT_EQ(s->Rows[sctDoors][0].size(), 4);
    EXPECT_EQ(s->Copy.BranchR[4], 5);
    EXPECT_EQ(TShortCircuitStudy::FailureMessage(4),
              "Сбой при расчете воздухораспределения\rв ходе закорачивания ветви 4 !\r\rЗадание Снимается... ");
}
