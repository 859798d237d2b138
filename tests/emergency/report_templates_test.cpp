// The templates of the reports folder built over the windows' data on the
// sample mine, as "Просмотр..." and "Печать..." build them.
#include "calc/natural_draught.h"
#include "emergency/fire_detection_report.h"
#include "emergency/fire_zone_report.h"
#include "emergency/route_report.h"
#include "emergency/route_speed.h"
#include "emergency/stability_report.h"
#include "headless_report.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/report_page.h"
#include "report/template_file.h"
#include "report/text_object.h"
#include "prepared_texts.h"
#include "sample_mine.h"
#include "stability_templates.h"

#include <gtest/gtest.h>

#include <QtCore/QTemporaryDir>

#include <memory>

namespace {

const QString ReportsFolder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/");

class TemplateBuild : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Report.Name = QStringLiteral("frMain");
        Report.OwnerName = QStringLiteral("frmTest");
        Report.ShowProgress = false;
        LoadSampleMine(t);
    }

    // Builds the template file with the data sets and events given; the
    // printed texts of every sheet, in order.
    QStringList Build(const QString &file, const std::vector<TfrDataset *> &datasets)
    {
        for (TfrDataset *ds : datasets)
            Engine().Components.Register(QStringLiteral("frmTest"), ds);
        Report.LoadFromFile(ReportsFolder + file);
        EXPECT_TRUE(Report.PrepareReport());
        EXPECT_FALSE(Engine().ExpressionError) << Engine().ExpressionErrorText.toStdString();
        return PreparedTexts(Report);
    }

    std::unique_ptr<TNetworkTables> tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    THeadlessReportEngine Headless;
    TfrReport Report;
    TScriptedPrompt Prompt;
};

} // namespace

TEST_F(TemplateBuild, DescendingStability)
{
    TDescendingStability study;
    TStudyProgress progress;
    ASSERT_EQ(ComputeDescendingStability(t, study, {}, progress), crSolved);
    TStabilityReport data(t, study);
    Report.OnGetValue = [&data](const QString &name, Variant &value) { data.GetValue(name, value); };
    Report.OnUserFunction = [&data](const QString &name, const Variant &, const Variant &, const Variant &,
                                    QString &value) { data.UserFunction(name, value); };
    const QStringList texts = Build(DescendingTemplateFile, {&data.udStability});
    EXPECT_TRUE(texts.contains(QStringLiteral("Скиповой ствол (1)"))) << texts.join(u'/').toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Конвейерный бремсберг 3 (49)")));
    EXPECT_EQ(texts.count(UnstableText), 2);
    EXPECT_EQ(texts.count(StableText), 3);
    EXPECT_TRUE(texts.contains(QStringLiteral("90,00")));
}

TEST_F(TemplateBuild, AscendingStability)
{
    TAscendingStability study;
    TStudyProgress progress;
    Prompt.Answer(idNo);
    ComputeAscendingStability(t, study, 60, progress);
    ASSERT_GT(study.Count(), 0);
    TStabilityReport data(t, study, 60);
    Report.OnGetValue = [&data](const QString &name, Variant &value) { data.GetValue(name, value); };
    Report.OnUserFunction = [&data](const QString &name, const Variant &, const Variant &, const Variant &,
                                    QString &value) { data.UserFunction(name, value); };
    const QStringList texts = Build(AscendingTemplateFile, {&data.udStability});
    EXPECT_EQ(texts.count(QStringLiteral(" Устойчиво")) + texts.count(QStringLiteral(" Не устойчиво")), study.Count());
    EXPECT_TRUE(texts.filter(QStringLiteral("(60 мин)")).size() == 1);
}

TEST_F(TemplateBuild, FireDetection)
{
    TDetectionResults results;
    ASSERT_EQ(CalcFireDetectionTimes(t, results), crSolved);
    TFireDetectionReport data(t, results);
    data.Sources.MineTitle = QStringLiteral("Демо");
    Report.OnGetValue = [&data](const QString &name, Variant &value) { data.GetValue(name, value); };
    Report.OnUserFunction = [&data](const QString &name, const Variant &, const Variant &, const Variant &,
                                    QString &value) { data.UserFunction(name, value); };
    const QStringList texts = Build(FireDetectionTemplateFile, data.Datasets());
    int computed = 0;
    for (int b = 1; b <= MaxBranchNo(t); ++b)
        computed += results[b].FireBranch == b;
    EXPECT_EQ(texts.first(), QStringLiteral("Демо"));
    // Seven cells a row after the title, and the header on every sheet.
    EXPECT_EQ(texts.size(), 2 + 7 * Report.PreparedPages.Count() + 7 * computed);
}

// The emergency list of a fire in the conveyor gate of the first longwall:
// one row per branch of the list, and totals that add up the printed flows.
TEST_F(TemplateBuild, FireZone)
{
    TFireModel model(t);
    model.ShowFireBranch(36);
    ASSERT_TRUE(model.Compute(QStringLiteral("36")));
    model.FillZone2();
    ASSERT_GT(model.Items.size(), 1u);
    TFireZoneReport data(model, FirePageCaption(fpZone2), QStringLiteral("Демо"));
    Report.OnGetValue = [&data](const QString &name, Variant &value) { data.GetValue(name, value); };
    const QStringList texts = Build(FireZoneTemplate, {&data.frBranches});
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.first(), QStringLiteral("Демо"));
    EXPECT_EQ(texts.at(1), FirePageCaption(fpZone2) + QStringLiteral(". Пожар в ветви: ") + GetBranchName(t, 36));
    double sum = 0;
    for (const int b : model.Items) {
        EXPECT_TRUE(texts.contains(GetBranchName(t, b))) << b;
        sum += t.BranchQ[b];
    }
    const qsizetype total = texts.indexOf(QStringLiteral("Всего"));
    ASSERT_GT(total, 0);
    ASSERT_LT(total + 2, texts.size());
    const auto number = [](QString text) { return text.remove(u' ').replace(u',', u'.').toDouble(); };
    EXPECT_NEAR(number(texts[total + 1]), sum, 0.006);
    EXPECT_NEAR(number(texts[total + 2]), sum * 60, 0.06);
}

// A route from the skip shaft's yard to the end of the main haulage drift,
// away from that fire: the page's lines, then the steps in travel order.
TEST_F(TemplateBuild, Route)
{
    TFireModel model(t);
    model.ShowFireBranch(36);
    ASSERT_TRUE(model.Compute(QStringLiteral("36")));
    TRouteSearch search(t);
    search.SmokeZone = model.SmokeZone(fpZone1);
    search.Impassable = GetBdBranches(t, search.SmokeZone);
    search.BuildAdjacency();
    const TRouteList route = search.ComputeRoute(6, 16);
    ASSERT_GE(route.Steps.size(), 2u);
    const TRouteReportLines lines{QStringLiteral("Демо"), RouteFireLine(t, 36), route.FreshText, route.ExitText,
                                  RouteLine(search.Task, route), route.TimeText};
    TRouteReport data(search, route, lines);
    Report.OnGetValue = [&data](const QString &name, Variant &value) { data.GetValue(name, value); };
    const QStringList texts = Build(RouteReportTemplate, {&data.frRouteSteps});
    ASSERT_GE(texts.size(), 6);
    EXPECT_EQ(texts.mid(0, 6), (QStringList{lines.MineName, lines.FireLine, lines.FreshLine, lines.ExitLine,
                                            lines.RouteLine, lines.TimeLine}));
    qsizetype at = 0;
    for (const TRouteStep &step : route.Steps) {
        at = texts.indexOf(GetBranchName(t, step.Branch), at + 1);
        ASSERT_GT(at, 0) << step.Branch;
        EXPECT_EQ(texts.at(at - 1), QString::number(step.Branch));
        EXPECT_EQ(texts.at(at + 2), MinutesText(step.Time));
    }
}

TEST(ReportTemplates, TheFilesOfTheReportsFolderAreWhatTheProgramWrites)
{
    QTemporaryDir dir;
    TfrEngineScope scope;
    WriteStabilityTemplates(dir.path());
    WriteResultWindowTemplates(dir.path());
    for (const QString &file : {DescendingTemplateFile, AscendingTemplateFile, FireDetectionTemplateFile,
                                JournalTemplateFile, HetReportTemplate, FireZoneTemplate, RouteReportTemplate}) {
        QFile made(dir.filePath(file)), kept(ReportsFolder + file);
        ASSERT_TRUE(made.open(QIODevice::ReadOnly)) << file.toStdString();
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << file.toStdString();
        EXPECT_EQ(made.readAll(), kept.readAll()) << file.toStdString();
    }
}
