// The fan editor without its window: the rules a new point must pass, the
// point list after deletions, the spline read near a flow, the working-point
// passes with an injected solve, and what the working point leaves behind.
#include "calc/fan_editor.h"
#include "model/network.h"
#include "platform/prompt.h"
#include "curve_points.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// An editor on a new characteristic over 0..100 m³/s and 0..500 (pan steps 10 and 50).
struct TEntry
{
    TPlotState Plot;
    TFanEditor Editor{Plot};

    TEntry()
    {
        SetFullRanges(Plot, 100, 500);
        Editor.Catalogue.LastCurve = -1;
        Editor.CurveIndex = 0;
        Editor.ClearPointEntry();
    }
};

const QString Edge = QStringLiteral("Слишком близко к границам !");
// The first C and the last o of "Cлишком близкo" are Latin letters.
const QString NearFlow = QStringLiteral("Cлишком близкo к точке 0 по расходу!");
const QString NearPressure = QStringLiteral("Cлишком близкo к точке 0 по депрессии!");
const QString Lower = QStringLiteral("должна быть НИЖЕ,чем в точке 0");
const QString Higher = QStringLiteral("должна быть ВЫШЕ,чем в точке 0");

} // namespace

TEST(FanPointEntry, RulesForANewPoint)
{
    struct Case
    {
        double Q, H;
        QString Refusal;  // empty: accepted
    };
    // With the point 0 at (50, 250) entered first.
    const Case cases[] = {
        {2.5, 300, {}},           // exactly a quarter step from the left edge
        {2.49, 300, Edge},
        {97.5, 100, {}},
        {97.51, 100, Edge},
        {80, 12.5, {}},           // bottom: a quarter of the pressure step
        {80, 12.4, Edge},
        {30, 487.6, Edge},
        {50.9, 100, NearFlow},    // ΔQ below a tenth of the step
        {51, 100, {}},
        {70, 254.9, NearPressure},
        {70, 300, Lower},         // right of a lower point
        {70, 250, NearPressure},  // the same pressure: the earlier test refuses
        {30, 200, Higher},        // left of a higher point
        {30, 300, {}},
    };
    for (const Case &c : cases) {
        TScriptedPrompt prompt;
        TEntry entry;
        ASSERT_TRUE(entry.Editor.TryAddPoint(50, 250));
        const bool added = entry.Editor.TryAddPoint(c.Q, c.H);
        EXPECT_EQ(added, c.Refusal.isEmpty()) << c.Q << " " << c.H;
        if (c.Refusal.isEmpty()) {
            EXPECT_TRUE(prompt.Asked.empty());
            EXPECT_EQ(entry.Editor.LastMarker, 1);
        } else {
            ASSERT_EQ(prompt.Asked.size(), 1u) << c.Q << " " << c.H;
            EXPECT_TRUE(prompt.Asked[0].Text.contains(c.Refusal)) << prompt.Asked[0].Text.toStdString();
            EXPECT_EQ(prompt.Asked[0].Flags, mb::Ok | mb::IconWarning);
            EXPECT_EQ(entry.Editor.LastMarker, 0);
        }
    }
}

TEST(FanPointEntry, FifteenPointsAtMostAndDraggedPointsAreNotTested)
{
    TScriptedPrompt prompt;
    TEntry entry;
    TFanEditor &e = entry.Editor;
    for (int i = 0; i < 15; ++i)
        ASSERT_TRUE(e.TryAddPoint(5 + 6 * i, 480 - 30 * i)) << i;
    EXPECT_TRUE(e.SaveVisible);
    EXPECT_FALSE(e.ListsEnabled);
    EXPECT_FALSE(e.OkEnabled);
    EXPECT_FALSE(e.TryAddPoint(95, 20));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith(QStringLiteral("У нас ограничение на 15 точек")));
    for (int i = 15; i < PointMarkerCount; ++i)
        EXPECT_FALSE(e.Markers[static_cast<std::size_t>(i)].Visible);
    EXPECT_EQ(e.CurrentCurve().LastIndex, 14);
    EXPECT_EQ(e.CurrentCurve().Flag, 1);

    // A point dropped above its left neighbour would be refused if typed.
    e.MovePoint(3, 24, 480);
    EXPECT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(e.CurrentCurve().Q[3], 24);
    EXPECT_EQ(e.CurrentCurve().H[3], 480);
}

TEST(FanPointEntry, DeletingRenumbersAndTheCurveFollows)
{
    TScriptedPrompt prompt;
    TEntry entry;
    TFanEditor &e = entry.Editor;
    ASSERT_TRUE(e.TryAddPoint(20, 400));
    ASSERT_TRUE(e.TryAddPoint(40, 300));
    ASSERT_TRUE(e.TryAddPoint(60, 150));
    e.DeletePoint(1);
    EXPECT_EQ(e.PointList, QStringList({QStringLiteral("Точка 0"), QStringLiteral("Точка 2")}));
    EXPECT_EQ(e.LastMarker, 1);
    EXPECT_EQ(e.Markers[2].Position, 1);
    EXPECT_EQ(e.SelectedPoint, 1);
    // The curve drawn and saved no longer holds the deleted point.
    EXPECT_EQ(e.CurrentCurve().LastIndex, 1);
    EXPECT_EQ(e.CurrentCurve().Q[1], 60);
    EXPECT_EQ(e.MaxMarkerQ, 60);
    // A new point takes the first free marker.
    ASSERT_TRUE(e.TryAddPoint(80, 50));
    EXPECT_TRUE(e.Markers[1].Visible);
    EXPECT_EQ(e.Markers[1].Position, 2);

    e.DeletePoint(0);
    e.DeletePoint(0);
    e.DeletePoint(0);
    EXPECT_EQ(e.LastMarker, -1);
    EXPECT_FALSE(e.SaveVisible);
    EXPECT_TRUE(e.ListsEnabled);
    // Nothing taken back is left to be stored with the type.
    EXPECT_EQ(e.CurrentCurve().LastIndex, 0);
    EXPECT_TRUE(prompt.Asked.empty());
}

TEST(FanWorkingPoint, SplineValueReadsTheNextTenthOfTheInterval)
{
    TFanCurve c = Curve({{0, 500}, {10, 480}, {20, 400}, {30, 250}, {40, 50}});
    BuildSpline(c);
    const auto value = [&](double x) { return SplineValue(c.LastIndex, c.Q.data(), c.H.data(), c.M.data(), x); };
    EXPECT_DOUBLE_EQ(value(13), SplineSegmentValue(c, 2, 13));
    EXPECT_DOUBLE_EQ(value(13.5), SplineSegmentValue(c, 2, 14));
    EXPECT_DOUBLE_EQ(value(10), 480);
    EXPECT_DOUBLE_EQ(value(20), 400);
    EXPECT_DOUBLE_EQ(value(40), 50);
    EXPECT_NE(value(13.5), SplineSegmentValue(c, 2, 13.5));
}

namespace {

// An editor on a stored five-point characteristic with its fan in branch 1
// of tables that the injected solve fills.
struct TWorking
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TPlotState Plot;
    TFanEditor Editor{Plot};
    std::vector<double> FlowsSolved;  // what the solve answers, pass by pass

    explicit TWorking(TFanCurve curve)
    {
        Editor.Catalogue.Curves[0] = curve;
        Editor.Catalogue.LastCurve = 0;
        Editor.Catalogue.CurveList = {QStringLiteral("n=600"), QStringLiteral("ХНовая № 2")};
        Editor.CurveIndex = 0;
        Editor.BranchNo = 1;
        Editor.Tables = Tables.get();
        Tables->BranchR[1] = 0.25;
        Tables->BranchAuxDepression[1] = 7;
        BuildSpline(Editor.CurrentCurve());
        Editor.Services.Solve = [this] {
            const std::size_t pass = std::min(Solves, FlowsSolved.size() - 1);
            Tables->BranchQ[1] = FlowsSolved[pass];
            SeenR.push_back(Tables->BranchR[1]);
            ++Solves;
        };
        Editor.Services.AskEfficiency = [](int &) { return true; };
    }
    std::size_t Solves = 0;
    std::vector<double> SeenR;

    double Spline(double x)
    {
        const TFanCurve &c = Editor.CurrentCurve();
        return SplineValue(c.LastIndex, c.Q.data(), c.H.data(), c.M.data(), x);
    }
};

const TFanCurve Falling = Curve({{10, 400}, {15, 370}, {20, 320}, {25, 250}, {30, 150}});

} // namespace

TEST(FanWorkingPoint, StepFitsTheParabolaThroughTwoSplinePointsNearTheFlow)
{
    struct Case
    {
        double Flow, F, G;
    };
    for (const Case &c : {Case{12, 10, 14}, Case{10.5, 10, 12.5}, Case{29, 27, 30}}) {
        TWorking w(Falling);
        w.Plot.QminWork = 10;
        w.Plot.QmaxWork = 30;
        w.FlowsSolved = {c.Flow};
        w.Editor.Efficiency = 80;
        w.Editor.WorkingPointStep();
        const double h1 = w.Spline(c.F), h2 = w.Spline(c.G);
        const double d = c.G * c.G - c.F * c.F;
        EXPECT_DOUBLE_EQ(w.Plot.A, (c.G * c.G * h1 - c.F * c.F * h2) / d) << c.Flow;
        EXPECT_DOUBLE_EQ(w.Plot.b, (h1 - h2) / d) << c.Flow;
        EXPECT_DOUBLE_EQ(w.Editor.WorkQ, c.Flow);
        EXPECT_DOUBLE_EQ(w.Editor.WorkH, w.Plot.A - w.Plot.b * c.Flow * c.Flow);
        EXPECT_DOUBLE_EQ(w.Editor.N, w.Editor.WorkH * c.Flow / (80 * 1.02));
        EXPECT_TRUE(w.Editor.Changed);
        EXPECT_FALSE(w.Editor.WorkVisible);
    }
    // A rising section gives the smallest b.
    TWorking rising(Curve({{10, 100}, {15, 150}, {20, 200}, {25, 250}}));
    rising.Plot.QminWork = 10;
    rising.Plot.QmaxWork = 25;
    rising.FlowsSolved = {17};
    rising.Editor.WorkingPointStep();
    EXPECT_EQ(rising.Plot.b, 1e-5);
}

TEST(FanWorkingPoint, PowerAndTexts)
{
    EXPECT_NEAR(FanPower(300, 100, 70), 420.17, 0.005);
    EXPECT_TRUE(WorkingPointLine(12.345, 0.0123456, 100, 300, FanPower(300, 100, 70))
                    .endsWith(QStringLiteral("  H=300,00 мм вод ст  N=420 кВт")));
    EXPECT_EQ(WorkingPointLine(250.5, 0.25, 20.126, 150.4, 37).toStdString(),
              "  A=250,50 мм вод ст;  b=0,25000 кмюрг;  Q=20,13 м3/с;  H=150,40 мм вод ст  N=37 кВт");
    EXPECT_EQ(FanChartTitle(250.5, 0.25, 20.126, 150.4, 37).toStdString(),
              "  A=250 мм вод ст;  b=0,250000 кмюрг;  Q=20 м3/с;  H=150 мм вод ст  N=37 кВт");
}

TEST(FanWorkingPoint, RunPutsTheBranchBackAndKeepsTheLastFlows)
{
    TScriptedPrompt prompt;
    TWorking w(Falling);
    w.Plot.QminWork = 10;
    w.Plot.QmaxWork = 30;
    w.Plot.A = 500;
    w.Plot.b = 0.4;
    w.FlowsSolved = {18, 21, 22, 22.5};
    const TWorkingPoint result = w.Editor.RunWorkingPoint();
    EXPECT_EQ(w.Solves, 4u);
    // The first pass solves with the parabola the editor had.
    EXPECT_DOUBLE_EQ(w.SeenR[0], 0.4);
    EXPECT_EQ(w.Tables->BranchR[1], 0.25);
    EXPECT_EQ(w.Tables->BranchAuxDepression[1], 7);
    EXPECT_EQ(w.Tables->BranchQ[1], 22.5);
    EXPECT_EQ(result.Outcome, TWorkingPoint::wpFound);
    EXPECT_EQ(result.RangeText, QStringLiteral("Рабочая точка в диапазоне характеристики 10...30 м3/с"));
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_TRUE(w.Editor.PrintVisible);

    // A zoom redraws with the least squares, but OK hands on the working point's parabola.
    const double a = w.Plot.A, b = w.Plot.b;
    TRecordingCanvas canvas;
    w.Plot.LastReadoutQ = 20;
    w.Plot.LastReadoutH = 300;
    SetFullRanges(w.Plot, 33, 440);
    w.Editor.ZoomIn();
    w.Editor.DrawFanPlot(canvas, 700, 450);
    EXPECT_EQ(w.Plot.A, a);
    EXPECT_EQ(w.Plot.b, b);
    // Until another characteristic is chosen.
    w.Editor.ChooseCurve(0);
    w.Editor.DrawFanPlot(canvas, 700, 450);
    EXPECT_NE(w.Plot.b, b);
}

TEST(FanWorkingPoint, FailuresLeaveTheBranchAsItWas)
{
    {
        TScriptedPrompt prompt;
        TWorking w(Falling);
        w.Plot.QminWork = w.Plot.QmaxWork = 20;
        w.FlowsSolved = {20};
        EXPECT_EQ(w.Editor.RunWorkingPoint().Outcome, TWorkingPoint::wpUnusableRange);
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("Расчет A и b - не производится!..."));
        EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Кривая n=600 Не может быть использована\r"
                                                       "В качестве рабочей характеристики вентилятора!"));
        EXPECT_EQ(w.Solves, 0u);
        EXPECT_FALSE(w.Editor.PrintVisible);
    }
    {
        // The efficiency prompt not confirmed: nothing is solved.
        TWorking w(Falling);
        w.Plot.QminWork = 10;
        w.Plot.QmaxWork = 30;
        w.Editor.Services.AskEfficiency = [](int &) { return false; };
        EXPECT_EQ(w.Editor.RunWorkingPoint().Outcome, TWorkingPoint::wpNotRun);
        EXPECT_EQ(w.Solves, 0u);
    }
    {
        TScriptedPrompt prompt;
        TWorking w(Falling);
        w.Plot.QminWork = 10;
        w.Plot.QmaxWork = 30;
        w.FlowsSolved = {-3};
        EXPECT_EQ(w.Editor.RunWorkingPoint().Outcome, TWorkingPoint::wpOutsideCharacteristic);
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Рабочая точка вне характеристик вентилятора\r\r"));
        EXPECT_EQ(w.Tables->BranchR[1], 0.25);
        EXPECT_EQ(w.Tables->BranchAuxDepression[1], 7);
    }
    {
        TWorking w(Falling);
        w.Plot.QminWork = 10;
        w.Plot.QmaxWork = 30;
        w.Editor.Services.Solve = [&w] {
            w.Tables->BranchR[1] = 99;
            throw std::runtime_error("solver");
        };
        EXPECT_THROW(w.Editor.RunWorkingPoint(), std::runtime_error);
        EXPECT_EQ(w.Tables->BranchR[1], 0.25);
        EXPECT_EQ(w.Tables->BranchAuxDepression[1], 7);
    }
}

TEST(FanEditorState, OpeningWriteBackAndCancel)
{
    TScriptedPrompt prompt;
    TPlotState plot;
    TFanEditor e(plot);
    e.Catalogue.Folder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Вентиляторы/");
    // A characteristic the type does not have: its first one instead.
    e.Open(4, QStringLiteral("ВЦД-31,5М"), 300, 0.2, 55, 9, 80);
    e.Start();
    EXPECT_EQ(e.Catalogue.TypeName, QStringLiteral("ВЦД-31,5М"));
    EXPECT_EQ(e.CurveIndex, 0);
    EXPECT_TRUE(e.WorkVisible);
    EXPECT_FALSE(e.Changed);

    e.ChooseType(0);
    EXPECT_EQ(e.Catalogue.TypeName, QStringLiteral("Не определен"));
    EXPECT_EQ(e.Efficiency, 75);
    EXPECT_FALSE(e.PlotVisible);
    EXPECT_TRUE(e.Changed);
    e.Cancel();
    QString name;
    double a = 0, b = 0, q = 0;
    int curve = 0, efficiency = 0;
    e.WriteBack(name, a, b, q, curve, efficiency);
    EXPECT_EQ(name, QStringLiteral("ВЦД-31,5М"));
    EXPECT_EQ(a, 300);
    EXPECT_EQ(b, 0.2);
    EXPECT_EQ(efficiency, 80);
    EXPECT_TRUE(prompt.Asked.empty());
}
