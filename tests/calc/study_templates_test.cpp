// The short-circuiting study's and the depressiogram's templates, built over
// the sample mine's study results as the windows' "Печать" builds them.
#include "calc/depressiogram.h"
#include "calc/short_circuit.h"
#include "model/scheme_file.h"
#include "platform/canvas.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/report_page.h"
#include "report/template_file.h"
#include "report/text_object.h"
#include "study_templates.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <memory>

namespace {

const QString ReportsFolder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты");
const QString Mine = QStringLiteral("Шахта");

class StudyTemplates : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Measure.CharWidth = 6;
        SetWorkCanvas(&Measure);
        m_previous = SetReportProgress(&Progress);
        Report.Name = QStringLiteral("frMain");
        Report.OwnerName = QStringLiteral("frmTest");
        Report.ShowProgress = false;
        TSchemeDocument doc;
        ReadMineFile(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine"), t, doc);
        ASSERT_EQ(CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode,
                                      t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, t.BranchQ, nullptr),
                  crSolved);
    }
    void TearDown() override
    {
        SetReportProgress(m_previous);
        SetWorkCanvas(nullptr);
    }

    // Builds file over source with getValue; the texts of every page.
    QStringList Build(const QString &file, TfrDataset &source, const std::function<bool(const QString &, Variant &)> &get)
    {
        Engine().Components.Register(QStringLiteral("frmTest"), &source);
        Report.OnGetValue = [&get](const QString &name, Variant &value) { get(name, value); };
        Report.LoadFromFile(file);
        EXPECT_TRUE(Report.PrepareReport());
        EXPECT_FALSE(Engine().ExpressionError) << file.toStdString() << ": "
                                               << Engine().ExpressionErrorText.toStdString();
        QStringList texts;
        for (int i = 0; i < Report.PreparedPages.Count(); ++i)
            ForEachPreparedObject(Report.PreparedPages[i].Stream, [&texts](std::unique_ptr<TfrView> view) {
                if (view->ReportObjectType == 0)
                    texts << view->Lines.join(u'|').remove(ParagraphMark);
            });
        Engine().Components.Unregister(&source);
        return texts;
    }

    std::unique_ptr<TNetworkTables> tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    TRecordingCanvas Measure;
    TfrEngineScope Scope;
    TfrHeadlessProgress Progress;
    TfrReport Report;

private:
    TfrProgress *m_previous = nullptr;
};

} // namespace

// Every tab's template lists every row of its tab with the values the tab shows.
TEST_F(StudyTemplates, EachTabPrintsItsRows)
{
    TShortCircuitStudy study(t);
    study.SelectShortCircuitPaths();
    ASSERT_EQ(study.ShortCircuitAll(), 0);
    study.FillResults();
    TShortCircuitReport data(study);
    data.MineTitle = Mine;
    for (int k = 0; k < sctCount; ++k) {
        const auto tab = static_cast<TShortCircuitTab>(k);
        data.Tab = tab;
        const QStringList texts = Build(TShortCircuitStudy::TemplatePath(ReportsFolder, tab), data.udZakor,
                                        [&data](const QString &name, Variant &value) { return data.GetValue(name, value); });
        SCOPED_TRACE(k);
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_EQ(texts.first(), Mine);
        EXPECT_TRUE(texts.contains(QStringLiteral("Страница 1 из %1").arg(Report.PreparedPages.Count())));
        const auto &rows = study.Rows[tab];
        if (rows.empty())
            continue;  // the sample has no fan suctions and no connections
        // The first and the last row, their number and the change column.
        for (const QStringList *row : {&rows.front(), &rows.back()}) {
            EXPECT_TRUE(texts.contains((*row)[0])) << (*row)[0].toStdString();
            EXPECT_TRUE(texts.contains(tab == sctDoors ? (*row)[6] : (*row)[4]));
        }
        // On "Двери" the resistance columns stand under their own captions.
        if (tab == sctDoors) {
            EXPECT_LT(texts.indexOf(QStringLiteral("Rнорм, кмюрг")), texts.indexOf(QStringLiteral("Qнорм, м3/с")));
        }
    }
    EXPECT_FALSE(study.Rows[sctLongwalls].empty());
}

TEST_F(StudyTemplates, TheRouteTablePrintsEveryRouteBranch)
{
    TDepressiogram study(t);
    study.FillLongwallList();
    ASSERT_FALSE(study.Longwalls.empty());
    ASSERT_TRUE(study.Choose(0).isEmpty());
    ASSERT_GT(study.RowCount(), 2);
    TDepressiogramReport data(study);
    data.MineTitle = Mine;
    const QStringList texts = Build(TDepressiogram::TemplatePath(ReportsFolder), data.udDepres,
                                    [&data](const QString &name, Variant &value) { return data.GetValue(name, value); });
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.first(), Mine);
    for (int b : study.RouteBranches)
        EXPECT_TRUE(texts.contains(QString::number(b).rightJustified(5))) << b;
    EXPECT_TRUE(texts.contains(t.BranchName[study.Longwall]));
}

TEST(StudyTemplateFiles, TheFilesOfTheReportsFolderAreWhatTheProgramWrites)
{
    QTemporaryDir dir;
    TfrEngineScope scope;
    WriteStudyTemplates(dir.path());
    QStringList files;
    for (int tab = 0; tab < sctCount; ++tab)
        files << TShortCircuitStudy::TemplatePath({}, static_cast<TShortCircuitTab>(tab)).mid(1);
    files << TDepressiogram::TemplatePath({}).mid(1);
    for (const QString &file : files) {
        QFile made(dir.filePath(file)), kept(ReportsFolder + u'/' + file);
        ASSERT_TRUE(made.open(QIODevice::ReadOnly)) << file.toStdString();
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << file.toStdString();
        EXPECT_EQ(made.readAll(), kept.readAll()) << file.toStdString();
    }
}
