// The fire modelling window's rules without the window: the sample mine's
// fires, the input checks, the lists, texts and colours of the pages, the
// zone rectangle, the save exchange and the fire zone report's data.
#include "emergency/fire_model.h"
#include "emergency/fire_zone_report.h"
#include "platform/prompt.h"
#include "sample_mine.h"
#include "small_network.h"
#include "../model/scheme_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>

namespace {

class FireModelOnSample : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LoadSampleMine(t);
        ASSERT_FALSE(HasFatalFailure());
        model = std::make_unique<TFireModel>(t);
    }

    // The branch as the first page shows it, then the computation.
    bool ComputeAt(int b, bool thermal = true)
    {
        model->UseThermal = thermal;
        model->ShowFireBranch(b);
        return model->Compute(QString::number(b));
    }

    std::unique_ptr<TNetworkTables> tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    std::unique_ptr<TFireModel> model;
    TScriptedPrompt prompt;
};

bool Contains(const std::vector<int> &list, int b) { return std::find(list.begin(), list.end(), b) != list.end(); }

} // namespace

TEST(FireBranchNumber, TypingIsFiltered)
{
    const struct {
        const char *typed, *left;
    } cases[] = {{"12a", "12"}, {"5001", "501"}, {"5000", "5000"}, {"a", ""}, {"-3", "-3"}, {"1-", "1"}, {"", ""}};
    for (const auto &c : cases)
        EXPECT_EQ(FilterBranchNumberText(QString::fromUtf8(c.typed)), QString::fromUtf8(c.left)) << c.typed;
}

TEST_F(FireModelOnSample, InputChecksNameWhatIsMissing)
{
    EXPECT_EQ(model->CheckInput(QStringLiteral("x")), fiNotNumber);
    EXPECT_TRUE(prompt.Asked.empty());

    EXPECT_EQ(model->CheckInput(QStringLiteral("999")), fiNoBranch);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral(" Ветвь 999 отсутсвует в сети выработок"));
    EXPECT_EQ(prompt.Asked.back().Flags & mb::IconMask, mb::IconError);

    const int b = 8;
    t.BranchAngle[b] = AngleNotGiven;
    t.BranchArea[b] = 0.05;
    EXPECT_FALSE(model->Compute(QStringLiteral("8")));
    EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral("Недостаточно информации для решения задачи. Задайте  "
                                                       "площадь сечения, угол наклона в пожарной ветви."));
    EXPECT_FALSE(model->Computed());
    EXPECT_EQ(model->FireBranch, 0);
}

TEST_F(FireModelOnSample, FireInTheMainCrosscut)
{
    ASSERT_EQ(t.BranchName[8], QStringLiteral("Главный квершлаг"));
    const auto normalQ = std::make_unique<TTable<double>>(t.BranchQ);
    ASSERT_TRUE(ComputeAt(8));
    EXPECT_EQ(model->FireBranch, 8);
    ASSERT_FALSE(model->Zone1.empty());
    EXPECT_EQ(model->Zone1.front(), 8);

    // Zone 1 is listed under the normal flows, the emergency air under the fire's.
    model->FillZone1();
    EXPECT_EQ(t.BranchQ, *normalQ);
    EXPECT_EQ(model->Items.size(), model->Zone1.size());
    EXPECT_TRUE(std::is_sorted(model->Items.begin(), model->Items.end()));
    model->FillEmergencyAir();
    EXPECT_EQ(t.BranchQ, model->EmergencyQ);
    EXPECT_EQ(int(model->Items.size()), BranchCount(t));

    // Ordered by the end nodes when the reports are.
    model->ReportStyle = 1;
    model->FillZone1();
    for (std::size_t k = 1; k < model->Items.size(); ++k) {
        const int a = model->Items[k - 1], b = model->Items[k];
        EXPECT_LE(t.BranchStartNode[a] * 5000 + t.BranchEndNode[a], t.BranchStartNode[b] * 5000 + t.BranchEndNode[b]);
    }

    // The rectangle holds every bend point of the zone.
    const TRect r = model->ZoneBounds();
    for (const int b : model->Zone1)
        for (const TTurn &p : *t.BranchTurns[b])
            EXPECT_TRUE(p.X >= r.Left && p.X <= r.Right && p.Y >= r.Top && p.Y <= r.Bottom) << b;
}

TEST_F(FireModelOnSample, DescendingSkipShaftReverses)
{
    ASSERT_TRUE(ComputeAt(1));
    EXPECT_EQ(model->VentKind, vtDescending);
    EXPECT_EQ(model->UpsetMinute, 4);
    EXPECT_NE(model->UpsetDepression, 0);
    ASSERT_FALSE(prompt.Asked.empty());
    EXPECT_TRUE(prompt.Asked.back().Text.startsWith(
        QStringLiteral("Внимание! При возникновении пожара в этой выработке, возможно через4 мин.")));
    EXPECT_TRUE(model->Zone2Visible());
    EXPECT_TRUE(model->UpsetLabel().startsWith(QStringLiteral("Возможно через 4 мин.")));
    EXPECT_TRUE(model->Zone2Message().startsWith(QStringLiteral("  Данная зона загазирования возможна")));
    EXPECT_TRUE(model->Zone2Message().contains(u'\n'));

    // The reversal places are exactly the branches whose flow changed sign.
    EXPECT_TRUE(model->FillReversals());
    EXPECT_TRUE(Contains(model->Items, 1));
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        if (BranchExist(t, b))
            EXPECT_EQ(Contains(model->Items, b), FlowSign(model->NormalQ[b]) != FlowSign(model->EmergencyQ[b])) << b;

    // Row colours: the fire branch red, zone 1 yellow, zone 2 alone aqua, others none.
    EXPECT_EQ(model->RowColor(1), TColor(0x0000FF));
    for (const int b : model->Zone1)
        if (b != 1)
            EXPECT_EQ(model->RowColor(b), TColor(0x00FFFF)) << b;
    for (const int b : model->Zone2)
        if (!model->InZone1(b))
            EXPECT_EQ(model->RowColor(b), TColor(0xFFFF00)) << b;
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        if (!model->InZone1(b) && !model->InZone2(b))
            EXPECT_FALSE(model->RowColor(b).has_value()) << b;

    // The smoke of the routes: zone 1, then what only zone 2 adds, unless zone 1 is shown.
    EXPECT_EQ(model->SmokeZone(fpZone1), model->Zone1);
    const TGasZoneList smoke = model->SmokeZone(fpZone2);
    for (const int b : model->Zone2)
        EXPECT_TRUE(Contains(smoke, b)) << b;
}

TEST_F(FireModelOnSample, SteadyBranchAndUnweightedAscent)
{
    ASSERT_TRUE(ComputeAt(35));
    EXPECT_FALSE(model->FillReversals());
    EXPECT_EQ(model->ReversalsLabel(), QStringLiteral("Сохраняется устойчивое проветривание"));
    EXPECT_TRUE(model->UpsetLabel().isEmpty());

    // An ascending branch without the thermal depression: zone 2 is zone 1.
    int ascending = 0;
    for (int b = 1; b <= MaxBranchNo(t) && !ascending; ++b) {
        model->ShowFireBranch(b);
        if (BranchExist(t, b) && model->VentKind == vtAscending && t.BranchAngle[b] >= 0 && t.BranchAngle[b] <= 90
            && t.BranchArea[b] >= 0.1)
            ascending = b;
    }
    ASSERT_NE(ascending, 0);
    ASSERT_TRUE(ComputeAt(ascending, false));
    EXPECT_FALSE(model->Zone2Visible());
    EXPECT_EQ(model->Zone2, model->Zone1);
    EXPECT_EQ(model->EmergencyQ, model->NormalQ);
}

TEST_F(FireModelOnSample, SaveExchangeAndEndPutTheNormalSetBack)
{
    const auto normalH = std::make_unique<TTable<double>>(t.BranchAuxDepression);
    const auto normalQ = std::make_unique<TTable<double>>(t.BranchQ);
    ASSERT_TRUE(ComputeAt(1));
    model->FillZone2();
    ASSERT_NE(t.BranchQ, *normalQ);
    model->SwapNormal();
    EXPECT_EQ(t.BranchQ, *normalQ);
    EXPECT_EQ(t.BranchAuxDepression, *normalH);
    model->SwapNormal();
    EXPECT_EQ(t.BranchQ, model->EmergencyQ);
    model.reset();
    EXPECT_EQ(t.BranchQ, *normalQ);
    EXPECT_EQ(t.BranchAuxDepression, *normalH);
}

// An additional depression changed while the model lives is the network's:
// whatever the model does next, it puts back only its own values.
TEST_F(FireModelOnSample, ADepressionChangedMeanwhileIsKept)
{
    const auto normalH = std::make_unique<TTable<double>>(t.BranchAuxDepression);
    const auto normalQ = std::make_unique<TTable<double>>(t.BranchQ);
    const struct
    {
        const char *Name;
        std::function<void(TFireModel &)> Then;
    } cases[] = {
        {"emergency page", [](TFireModel &m) { m.FillZone2(); }},
        {"normal page", [](TFireModel &m) { m.FillZone1(); }},
        {"first page", [](TFireModel &m) { m.ShowFireBranch(1); }},
        {"computed again", [](TFireModel &m) { ASSERT_TRUE(m.Compute(QStringLiteral("1"))); }},
        {"save exchange",
         [&](TFireModel &m) {
             m.SwapNormal();
             EXPECT_EQ(t.BranchAuxDepression[7], 50);
             EXPECT_EQ(t.BranchQ, *normalQ);
             m.SwapNormal();
         }},
        {"the end", [](TFireModel &) {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        t.BranchAuxDepression = *normalH;
        t.BranchQ = *normalQ;
        model.reset(); // one model at a time holds the tables
        model = std::make_unique<TFireModel>(t);
        ASSERT_TRUE(ComputeAt(1));
        ASSERT_NE(t.BranchAuxDepression, *normalH);
        t.BranchAuxDepression[7] = 50;
        c.Then(*model);
        EXPECT_EQ(t.BranchAuxDepression[7], 50);
        model.reset();
        EXPECT_EQ(t.BranchAuxDepression[7], 50);
        // A computation solves the normal distribution again, with the 50.
        if (c.Name == std::string_view("computed again")) {
            const auto solved = std::make_unique<TTable<double>>(t.BranchQ);
            ASSERT_TRUE(CalcAir(nullptr, t));
            EXPECT_EQ(t.BranchQ, *solved);
        } else {
            EXPECT_EQ(t.BranchQ, *normalQ);
        }
        t.BranchAuxDepression[7] = (*normalH)[7];
        EXPECT_EQ(t.BranchAuxDepression, *normalH);
    }
}

// The model's copies follow the branch: after a renumber, a delete or a new
// branch made while the fire lives, the end of the model leaves the tables as
// the same step leaves them without a fire. The fire's own depression never
// becomes a working's value.
TEST_F(FireModelOnSample, ItsCopiesFollowEachBranch)
{
    model.reset();
    const int fire = 35;
    const int other = 7;
    const int free = MaxBranchNo(t) + 1;
    const auto normal = std::make_unique<TNetworkTables>(t);
    const struct
    {
        const char *Name;
        std::function<void(TNetworkTables &)> Step;
    } cases[] = {
        {"the burning working renumbered", [=](TNetworkTables &t) { MoveBranchEntry(t, fire, free); }},
        {"another renumbered", [=](TNetworkTables &t) { MoveBranchEntry(t, other, free); }},
        {"deleted", [=](TNetworkTables &t) { DestroyBranch(t, other); }},
        {"the burning working deleted, its number used again",
         [=](TNetworkTables &t) {
             const int s = t.BranchStartNode[fire], e = t.BranchEndNode[fire];
             DestroyBranch(t, fire);
             CreateBranch(t, fire);
             t.BranchStartNode[fire] = static_cast<std::int16_t>(s);
             t.BranchEndNode[fire] = static_cast<std::int16_t>(e);
         }},
        {"renumbered in a chain", [=](TNetworkTables &t) {
             MoveBranchEntry(t, fire, free);
             MoveBranchEntry(t, other, fire);
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        t = *normal;
        auto expected = std::make_unique<TNetworkTables>(t);
        c.Step(*expected);
        model.reset(); // one model at a time holds the tables
        model = std::make_unique<TFireModel>(t);
        ASSERT_TRUE(ComputeAt(fire));
        ASSERT_NE(t.BranchAuxDepression[fire], 0);
        c.Step(t);
        // What a save writes while the model lives: the normal set.
        model->SwapNormal();
        EXPECT_EQ(t.BranchAuxDepression, expected->BranchAuxDepression);
        EXPECT_EQ(t.BranchQ, expected->BranchQ);
        model->SwapNormal();
        model.reset();
        EXPECT_EQ(TablesDiffer(t, *expected), "");
    }
}

// "На схему" again after an edit describes the network as it now stands:
// every page and warning reads as when the edit was made before the fire.
TEST_F(FireModelOnSample, AComputationAfterAnEditReadsAsTheEditMadeBefore)
{
    model.reset();
    const int fire = 35;
    struct TPages
    {
        QString Flow, VentType;
        std::vector<int> Reversed, Zone1, Zone2;
        QStringList Said;
        bool operator==(const TPages &) const = default;
    };
    const auto pages = [&] {
        TPages p;
        p.Said = [&] {
            QStringList said;
            for (const auto &asked : prompt.Asked)
                said << asked.Text;
            return said;
        }();
        const TFireBranchInfo info = model->DescribeFireBranch(fire);
        p.Flow = info.Flow;
        p.VentType = info.VentTypeText;
        model->FillReversals();
        p.Reversed = model->Items;
        p.Zone1 = model->Zone1;
        p.Zone2 = model->Zone2;
        return p;
    };
    const auto normal = std::make_unique<TNetworkTables>(t);

    t.BranchAuxDepression[7] = 150;
    ASSERT_TRUE(CalcAir(nullptr, t));
    model.reset(); // one model at a time holds the tables
    model = std::make_unique<TFireModel>(t);
    prompt.Asked.clear();
    ASSERT_TRUE(ComputeAt(fire));
    const TPages before = pages();
    model.reset();
    const auto expected = std::make_unique<TNetworkTables>(t);

    t = *normal;
    model.reset(); // one model at a time holds the tables
    model = std::make_unique<TFireModel>(t);
    ASSERT_TRUE(ComputeAt(fire));
    const TPages unedited = pages();
    t.BranchAuxDepression[7] = 150;
    prompt.Asked.clear();
    ASSERT_TRUE(model->Compute(QString::number(fire)));
    EXPECT_TRUE(pages() == before);
    EXPECT_FALSE(unedited == before);
    model.reset();
    EXPECT_EQ(TablesDiffer(t, *expected), "");
}

TEST_F(FireModelOnSample, ZoneReportRowsAndTotals)
{
    ASSERT_TRUE(ComputeAt(1));
    const int b = model->Zone1.back();
    for (const int page : {fpZone1, fpZone2}) {
        if (page == fpZone1)
            model->FillZone1();
        else
            model->FillZone2();
        TFireZoneReport report(*model, FirePageCaption(page), QStringLiteral("Демо"));
        Variant v;
        ASSERT_TRUE(report.GetValue(QStringLiteral("Заголовок"), v));
        EXPECT_EQ(v.ToString(), FirePageCaption(page) + QStringLiteral(". Пожар в ветви: ") + t.BranchName[1]);
        EXPECT_FALSE(report.GetValue(QStringLiteral("Нет такой"), v));

        double sum = 0;
        int rows = 0;
        bool eof = false;
        report.frBranches.OnFirst(&report.frBranches);
        for (report.frBranches.OnCheckEOF(&report.frBranches, eof); !eof;
             report.frBranches.OnCheckEOF(&report.frBranches, eof)) {
            ASSERT_TRUE(report.GetValue(QStringLiteral("РасходВСек"), v));
            sum += v.ToDouble();
            const int row = model->Items[report.ReportRow];
            if (row == b) {
                const auto &q = page == fpZone1 ? model->NormalQ : model->EmergencyQ;
                EXPECT_DOUBLE_EQ(v.ToDouble(), q[b]);
            }
            report.frBranches.OnNext(&report.frBranches);
            ++rows;
        }
        EXPECT_EQ(rows, int(model->Items.size()));
        ASSERT_TRUE(report.GetValue(QStringLiteral("ВСек"), v));
        EXPECT_DOUBLE_EQ(v.ToDouble(), sum);
        ASSERT_TRUE(report.GetValue(QStringLiteral("ВМин"), v));
        EXPECT_NEAR(v.ToDouble(), sum * 60, 1e-9);
    }
}

TEST(FireModelGrid, RowsAndBoundsOnASmallNetwork)
{
    TSmallNetwork n;
    n.Node(1, true);
    n.Branch(1, 1, 2, 12.346, 0.0123456, -5.5);
    n.t.BranchName[1] = QStringLiteral("Штрек");
    TFireModel model(n.t);
    EXPECT_EQ(model.GridRow(1), (QStringList{QStringLiteral("1. Штрек"), QStringLiteral("1"), QStringLiteral("2"),
                                             QStringLiteral("12,35"), QStringLiteral("740,8"), QStringLiteral("0,01235"),
                                             QStringLiteral("3,6"), QStringLiteral("-5,50")}));
    EXPECT_EQ(TFireModel::GridHeader(0).size(), 8);
    EXPECT_EQ(TFireModel::GridHeader(1)[3], QStringLiteral("М3/СЕК."));
    // Nothing computed: no zone to fit, a small square instead.
    EXPECT_EQ(model.ZoneBounds(), (TRect{0, 0, 400, 400}));
}

TEST(FireLoadTable, DifferenceCellsLeftEmptyWhereUndefined)
{
    TFireSeries a, b;
    a.Append(0);
    a.Append(10);
    for (const double v : {1.0, 5.0, 3.0})
        b.Append(v);
    const auto rows = FireLoadTableRows(a, b);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].Minute, QStringLiteral("  1"));
    EXPECT_TRUE(rows[0].Difference.isEmpty()); // A is 0
    EXPECT_EQ(rows[1].Difference, QStringLiteral("50,0"));
    EXPECT_TRUE(rows[2].Difference.isEmpty()); // past A's count
}
