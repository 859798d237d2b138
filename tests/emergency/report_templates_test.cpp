// The templates of the reports folder built over the windows' data on the
// sample mine, as "Просмотр..." and "Печать..." build them.
#include "emergency/fire_detection_report.h"
#include "emergency/stability_report.h"
#include "headless_report.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/report_page.h"
#include "report/template_file.h"
#include "report/text_object.h"
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
    // Seven cells a row after the title and the header.
    EXPECT_EQ(texts.size(), 2 + 7 + 7 * computed);
}

TEST(StabilityTemplates, TheFilesOfTheReportsFolderAreWhatTheProgramWrites)
{
    QTemporaryDir dir;
    TfrEngineScope scope;
    WriteStabilityTemplates(dir.path());
    for (const QString &file : {DescendingTemplateFile, AscendingTemplateFile, FireDetectionTemplateFile, JournalTemplateFile}) {
        QFile made(dir.filePath(file)), kept(ReportsFolder + file);
        ASSERT_TRUE(made.open(QIODevice::ReadOnly)) << file.toStdString();
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << file.toStdString();
        EXPECT_EQ(made.readAll(), kept.readAll()) << file.toStdString();
    }
}
