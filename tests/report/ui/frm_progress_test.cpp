#include "report/ui/frm_progress.h"

#include "platform/exceptions.h"
#include "report/report_page.h"

#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

namespace {

class ProgressForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Measure.CharWidth = 6;
        SetWorkCanvas(&Measure);
        InstallProgressForm();
        Form = dynamic_cast<TfrProgressForm *>(&ReportProgress());
        Report.Name = QStringLiteral("frReport1");
        // Three records, a sheet each.
        Records.Name = QStringLiteral("Recs");
        Records.RangeEnd = reCount;
        Records.RangeEndCount = 3;
        Report.Dataset = &Records;
        Report.ReportType = rtMultiple;
        Report.TemplatePages.Add();
        auto memo = std::make_unique<TfrMemoView>();
        memo->Width = 100;
        memo->Height = 17;
        memo->Lines = QStringList{QStringLiteral("[PAGE#]")};
        Report.TemplatePages.GetPage(0).TemplateObjects.push_back(std::move(memo));
    }
    void TearDown() override
    {
        RemoveProgressForm();
        SetWorkCanvas(nullptr);
        EngineMode = 0;
    }

    TRecordingCanvas Measure;
    TfrEngineScope Scope;
    TfrUserDataset Records;
    TfrReport Report;
    TfrProgressForm *Form = nullptr;
};

} // namespace

TEST_F(ProgressForm, ShowsThePassAndThePageWhileTheBuildRuns)
{
    ASSERT_NE(Form, nullptr);
    Report.Title = QStringLiteral("Маршруты");
    Report.TwoPassBuild = true;
    QStringList seen;
    Report.OnBeginPage = [&](int, QStringList &, QStringList &, QStringList &) {
        EXPECT_TRUE(Form->isVisible());
        EXPECT_EQ(Form->windowTitle(), QStringLiteral("Подготовка отчета - Маршруты"));
        seen << Form->Label1->text();
    };
    EXPECT_TRUE(Report.PrepareReport());
    EXPECT_FALSE(Form->isVisible());
    EXPECT_EQ(seen, QStringList({"Выполняется 1-й проход:  1", "Выполняется 1-й проход:  2", "Выполняется 1-й проход:  3",
                                 "Формируется страница:  1 из 3", "Формируется страница:  2 из 3",
                                 "Формируется страница:  3 из 3"}));
    EXPECT_EQ(Report.PreparedPages.Count(), 3);
}

TEST_F(ProgressForm, CancelOnlyStopsTheJobAndErrorsReachTheCaller)
{
    Report.OnBeginPage = [&](int, QStringList &, QStringList &, QStringList &) {
        if (Records.RecordNo == 1) {
            Form->Button1->click();
            // The window stays until the job ends.
            EXPECT_TRUE(Form->isVisible());
        }
    };
    EXPECT_FALSE(Report.PrepareReport());
    EXPECT_EQ(Report.PreparedPages.Count(), 2);
    EXPECT_FALSE(Report.Cancelled);

    Report.OnBeginPage = [](int, QStringList &, QStringList &, QStringList &) { throw Exception(QStringLiteral("сбой")); };
    EXPECT_THROW(Report.PrepareReport(), Exception);
    EXPECT_FALSE(Form->isVisible());
    // The window serves the next job.
    Report.OnBeginPage = nullptr;
    EXPECT_TRUE(Report.PrepareReport());
    EXPECT_EQ(Report.PreparedPages.Count(), 3);
}
