// The report manager's templates of the reports folder, built over its data
// as "Печать..." of the air table and the node tables builds them.
#include "calc/natural_draught.h"
#include "calc/node_pressures.h"
#include "calc/report_manager.h"
#include "four_branches.h"
#include "headless_report.h"
#include "prepared_texts.h"
#include "platform/canvas.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/report_page.h"
#include "report/template_file.h"
#include "model/scheme_file.h"
#include "report/text_object.h"
#include "stability_templates.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <memory>

namespace {

const QString ReportsFolder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/");

class NetworkTemplates : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Report.Name = QStringLiteral("frMain");
        Report.OwnerName = QStringLiteral("frmTest");
        Report.ShowProgress = false;
        MakeFourBranches(t);
        t.NodeAltitude[3] = -250;
        Data = std::make_unique<TReportManagerData>(t);
        Data->Sources.MineTitle = QStringLiteral("Шахта");
        ComputeNodePressures(t, Data->Sources.NodePressures);
        Report.OnGetValue = [this](const QString &name, Variant &value) { Data->GetValue(name, value); };
        Report.OnUserFunction = [this](const QString &name, const Variant &, const Variant &, const Variant &,
                                       QString &value) { Data->UserFunction(name, value); };
        for (TfrDataset *ds : Data->Datasets())
            Engine().Components.Register(QStringLiteral("frmTest"), ds);
    }

    QStringList Build(const QString &file)
    {
        Report.LoadFromFile(ReportsFolder + file);
        EXPECT_TRUE(Report.PrepareReport());
        EXPECT_FALSE(Engine().ExpressionError) << Engine().ExpressionErrorText.toStdString();
        return PreparedTexts(Report);
    }

    std::unique_ptr<TNetworkTables> tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    std::unique_ptr<TReportManagerData> Data;
    THeadlessReportEngine Headless;
    TfrReport Report;
    TScriptedPrompt Prompt;
};

} // namespace

TEST_F(NetworkTemplates, StandardReportListsTheGivenBranchesInOrder)
{
    Data->Sources.Branches = {4, 1};
    const QStringList texts = Build(StandardReportFile);
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.first(), QStringLiteral("Шахта"));
    EXPECT_TRUE(texts.contains(QStringLiteral("3-4")));
    EXPECT_TRUE(texts.contains(QStringLiteral("1-2")));
    EXPECT_FALSE(texts.contains(QStringLiteral("2-3")));
    EXPECT_LT(texts.indexOf(QStringLiteral("3-4")), texts.indexOf(QStringLiteral("1-2")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Страница 1 из 1")));
}

TEST_F(NetworkTemplates, CrossTableShowsPressureAndAltitudeOfEveryNode)
{
    const QStringList texts = Build(NodeCrossTableFile);
    EXPECT_TRUE(texts.contains(QStringLiteral("-47,1")));
    EXPECT_TRUE(texts.contains(QStringLiteral("-105,9")));
    EXPECT_TRUE(texts.contains(QStringLiteral("-250,0")));
}

// The row label stands left of the cells: it must name the row's first node,
// not the node the previous column walk ended beyond.
TEST_F(NetworkTemplates, CrossTableRowsAreLabelledWithTheirFirstNode)
{
    CreateNode(t, 12);
    Data->Sources.MaxNode = 12;
    Build(NodeCrossTableFile);
    ASSERT_EQ(Report.PreparedPages.Count(), 1);
    std::vector<std::pair<int, QString>> objects; // left edge, text
    ForEachPreparedObject(Report.PreparedPages[0].Stream, [&objects](std::unique_ptr<TfrView> view) {
        if (view->ReportObjectType == 0)
            objects.emplace_back(view->Left, view->Lines.join(u'|').remove(ParagraphMark));
    });
    // At the left edge: the three title lines, the row labels, the page number.
    QStringList labels;
    for (const auto &[left, text] : objects)
        if (left == objects.front().first && !text.startsWith(QStringLiteral("Страница")))
            labels << text;
    ASSERT_GE(labels.size(), 3);
    labels.erase(labels.begin(), labels.begin() + 3);
    EXPECT_EQ(labels, (QStringList{QStringLiteral("0"), QStringLiteral("10")}));
}

// "Естественная.frf" over the sample mine's study after "Расчёт": one row of
// nine cells per branch of the table, the reversed ones with their note.
TEST_F(NetworkTemplates, NaturalDraughtListsTheRowsOfTheBranchTable)
{
    TSchemeDocument doc;
    ClearAllItems(t);
    ReadMineFile(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine"), t, doc);
    auto study = std::make_unique<HetStudyTables>();
    THetCalc calc(t, *study);
    ASSERT_EQ(calc.Open(), 0);
    ASSERT_TRUE(calc.Calculate());
    THetReport data(calc, QStringLiteral("Демо"));
    ASSERT_GT(data.RecordCount(), 10);
    Report.OnGetValue = [&data](const QString &name, Variant &value) { data.GetValue(name, value); };
    Engine().Components.Register(QStringLiteral("frmTest"), &data.frHet);
    const QStringList texts = Build(HetReportTemplate);
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_EQ(texts.first(), QStringLiteral("Демо"));
    const int rows = data.RecordCount();
    const int sheets = Report.PreparedPages.Count();
    // The title once, the header row and the page number on every sheet.
    ASSERT_GT(sheets, 1);
    EXPECT_EQ(texts.size(), 2 + sheets * (9 + 1) + 9 * rows);
    EXPECT_EQ(texts.count(QStringLiteral("Опрокидывание струи")), calc.Tables().Reversed.Count);
    const QStringList first = calc.BranchRow(calc.BranchRows().front());
    EXPECT_TRUE(texts.contains(first[hbQe])) << first[hbQe].toStdString();
}

TEST(NetworkTemplateFiles, TheFilesOfTheReportsFolderAreWhatTheProgramWrites)
{
    QTemporaryDir dir;
    TfrEngineScope scope;
    WriteNetworkTemplates(dir.path());
    for (const QString &file : {StandardReportFile, NodeCrossTableFile}) {
        QFile made(dir.filePath(file)), kept(ReportsFolder + file);
        ASSERT_TRUE(made.open(QIODevice::ReadOnly)) << file.toStdString();
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << file.toStdString();
        EXPECT_EQ(made.readAll(), kept.readAll()) << file.toStdString();
    }
}
