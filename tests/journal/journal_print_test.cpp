// The values and record sources that a journal's report template reads,
// stepped as the report build steps them, and the shipped template built
// over journals made in code.
#include "journal/form2_text.h"
#include "journal/journal_print.h"
#include "journal_fixture.h"
#include "headless_report.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/template_file.h"
#include "report/text_object.h"
#include "stability_templates.h"

#include <gtest/gtest.h>

namespace {

QString Text(const TJournalPrint &p, const QString &name)
{
    Variant v;
    p.GetValue(name, v);
    return v.ToString();
}

double Number(const TJournalPrint &p, const QString &name)
{
    Variant v;
    p.GetValue(name, v);
    return v.ToDouble();
}

QString Blanks(int n) { return QString(n, u' '); }

// Steps the rubric source to the rubric at index (0-based), and through all
// of that rubric's records when records is set.
void StepTo(TJournalPrint &p, int index, bool records = false)
{
    p.frStringsDataset.First();
    for (int i = 0; i < index; ++i)
        p.frStringsDataset.Next();
    if (records) {
        p.frUserDatasetRec.First();
        while (!p.frUserDatasetRec.Eof())
            p.frUserDatasetRec.Next();
    }
}

} // namespace

TEST(JournalPrint, TotalsLineAndPercentagesOfEachRubricType)
{
    TKerstal j(QStringLiteral("j"));
    AddRubric(j, QStringLiteral("Утечки до"), rtInnerLeakage, {{100, 0}});
    AddRubric(j, QStringLiteral("Шахта"), rtMineIntake, {{1500, 0}, {500, 0}});
    AddRubric(j, QStringLiteral("Утечки"), rtInnerLeakage, {{100, 0}});
    AddRubric(j, QStringLiteral("Без итогов"), rtNoTotals, {{300, 200}});
    AddRubric(j, QStringLiteral("Лава"), rtOrdinary, {{1200, 1150}});
    TJournalPrint p;
    p.StartPrint(j, DefaultLinesPerPage);

    struct TCase
    {
        int Rubric;
        double Totperc;
        int InAll, OutAll;
        QString Total;
    };
    const TCase cases[] = {
        {0, 0, 100, 0,
         QStringLiteral("ИТОГО") + Blanks(38) + QStringLiteral("     100 или    0,00% от общей поступающей в шахту")},
        {2, 5, 100, 0,
         QStringLiteral("ИТОГО") + Blanks(38) + QStringLiteral("     100 или    5,00% от общей поступающей в шахту")},
        {3, 15, 0, 0, QString()},
        {4, 60, 1200, 1150,
         QStringLiteral("ИТОГО") + Blanks(40) + QStringLiteral("    1200") + Blanks(83) + QStringLiteral("    1150")},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Rubric);
        StepTo(p, c.Rubric, true);
        EXPECT_DOUBLE_EQ(Number(p, QStringLiteral("Totperc")), c.Totperc);
        EXPECT_EQ(Number(p, QStringLiteral("InAll")), c.InAll);
        EXPECT_EQ(Number(p, QStringLiteral("OutAll")), c.OutAll);
        EXPECT_EQ(Text(p, QStringLiteral("TotalString")), c.Total);
    }
    // A zero base answers the integer 0, not a real.
    StepTo(p, 0);
    Variant v;
    p.GetValue(QStringLiteral("Totperc"), v);
    EXPECT_EQ(v.ToString(), QStringLiteral("0"));
}

TEST(JournalPrint, MainFanSupplyIsKnownOnlyAfterTheFirstRecordOfItsRubric)
{
    TKerstal j(QStringLiteral("j"));
    AddRubric(j, QStringLiteral("ВГП"), rtOuterLeakage, {{4000, 0}, {200, 0}});
    TJournalPrint p;
    p.StartPrint(j, DefaultLinesPerPage);
    p.frStringsDataset.First();
    p.frUserDatasetRec.First();
    EXPECT_EQ(p.VGPSupply, 0);
    EXPECT_EQ(Number(p, QStringLiteral("VPGperc")), 0);
    EXPECT_EQ(Text(p, QStringLiteral("lOut")), QStringLiteral("4000"));
    while (!p.frUserDatasetRec.Eof())
        p.frUserDatasetRec.Next();
    // In the rubric's footer.
    EXPECT_EQ(p.VGPSupply, 4000);
    EXPECT_DOUBLE_EQ(Number(p, QStringLiteral("VPGperc")), 105);
    EXPECT_EQ(Text(p, QStringLiteral("TotalString")),
              QStringLiteral("ИТОГО") + Blanks(40) + QStringLiteral("    4200 или  105,00% от поступающей ВГП"));
    // Past the last record none is current.
    EXPECT_EQ(Text(p, QStringLiteral("lOut")), QString());

    // The next print, of a journal without those rubrics, starts from nothing.
    TKerstal other(QStringLiteral("other"));
    AddRubric(other, QStringLiteral("Лава"), rtOrdinary, {{10, 10}});
    p.StartPrint(other, DefaultLinesPerPage);
    EXPECT_EQ(p.VGPSupply, 0);
    EXPECT_EQ(p.MineInTotal, 0);
    EXPECT_EQ(Text(p, QStringLiteral("RubricName")), QString());
    p.frStringsDataset.First();
    EXPECT_EQ(p.VGPSupply, 0);
    EXPECT_EQ(p.MineInTotal, 0);
    EXPECT_EQ(Text(p, QStringLiteral("RubricName")), QStringLiteral("Лава"));
}

TEST(JournalPrint, JournalRubricAndRecordValuesByName)
{
    auto j = CyrillicJournal();
    AddRubric(*j, QStringLiteral("Третья"), rtOrdinary);
    TJournalPrint p;
    p.StartPrint(*j, DefaultLinesPerPage);
    StepTo(p, 2);
    EXPECT_EQ(Number(p, QStringLiteral("RubricNumber")), 3);
    EXPECT_EQ(Text(p, QStringLiteral("VJStr")), BuildForm2Lines(*j, DefaultLinesPerPage).at(2));
    EXPECT_TRUE(Text(p, QStringLiteral("VJStr")).endsWith(j->MineName));

    StepTo(p, 0);
    p.frUserDatasetRec.First();
    const struct
    {
        const char *Name;
        QString Value;
    } values[] = {
        {" MineName", QStringLiteral("Шахта «Северная»")},
        {"bDate", QStringLiteral("29.02.2024")},
        {"eDate", QStringLiteral("31.03.2024")},
        {"RubricName", QStringLiteral("Участок №1: лава")},
        {"RubricType", QStringLiteral("1")},
        {"TypeRubr", QStringLiteral("1")},
        {"lNumber", QStringLiteral("12")},
        {"lName", QStringLiteral("Штрек")},
        {"lSec", FormatSec(j->Items(0)->Items(0)->InBranch)},
        {"lOut", QStringLiteral("1200")},
        {"rNumber", FormatNumber(j->Items(0)->Items(0)->OutBranch)},
        {"rName", QStringLiteral("Бремсберг")},
        {"rOut", QStringLiteral("1150")},
        {"RecordCH4", QStringLiteral("0,5")},
        {"RecordO2", QStringLiteral("20,1")},
        {"RecordCO", QString()},
        {"RecordNote", QString()},
    };
    for (const auto &v : values)
        EXPECT_EQ(Text(p, QString::fromUtf8(v.Name)), v.Value) << v.Name;

    // Names compare exactly; an unknown one leaves the value alone.
    for (const QString &name : {QStringLiteral("minename"), QStringLiteral("MineName "), QStringLiteral("lname"),
                               QStringLiteral("Unknown")}) {
        Variant v(QStringLiteral("как было"));
        p.GetValue(name, v);
        EXPECT_EQ(v.ToString(), QStringLiteral("как было")) << name.toStdString();
    }
}

TEST(JournalPrint, NothingCurrentGivesEmptyTextsAndZeros)
{
    TJournalPrint p;
    // Before any print, as the designer's preview asks.
    for (const QString &name : {QStringLiteral("VJStr"), QStringLiteral("MineName"), QStringLiteral("RubricName"),
                               QStringLiteral("lName"), QStringLiteral("rOut"), QStringLiteral("RecordCH4"),
                               QStringLiteral("TotalString")})
        EXPECT_EQ(Text(p, name), QString()) << name.toStdString();
    EXPECT_EQ(Number(p, QStringLiteral("InAll")), 0);
    EXPECT_EQ(Number(p, QStringLiteral("RubricType")), 0);

    // A journal without rubrics, and a rubric without records.
    TKerstal empty(QStringLiteral("e"));
    p.StartPrint(empty, DefaultLinesPerPage);
    p.frStringsDataset.First();
    EXPECT_TRUE(p.frStringsDataset.Eof());
    EXPECT_EQ(Text(p, QStringLiteral("RubricName")), QString());
    TKerstal j(QStringLiteral("j"));
    AddRubric(j, QStringLiteral("С записью"), rtOrdinary, {{5, 5}});
    AddRubric(j, QStringLiteral("Пустая"), rtOrdinary);
    p.StartPrint(j, DefaultLinesPerPage);
    StepTo(p, 0);
    p.frUserDatasetRec.First();
    p.frStringsDataset.Next();
    p.frUserDatasetRec.First();
    EXPECT_TRUE(p.frUserDatasetRec.Eof());
    EXPECT_EQ(Text(p, QStringLiteral("lOut")), QString());
    // Past the last line of the form-2 text.
    p.RubricPos = 10000;
    EXPECT_EQ(Text(p, QStringLiteral("VJStr")), QString());
}

class JournalTemplateBuild : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Report.Name = QStringLiteral("frMain");
        Report.OwnerName = QStringLiteral("frmKerstal");
        Report.ShowProgress = false;
        Report.Dataset = &Print.frStringsDataset;
        Report.OnGetValue = [this](const QString &name, Variant &value) { Print.GetValue(name, value); };
        Engine().Components.Register(Report.OwnerName, &Print.frStringsDataset);
        Engine().Components.Register(Report.OwnerName, &Print.frUserDatasetRec);
        MakeJournalTemplate(Report);
    }

    QStringList Build(const TKerstal &journal)
    {
        Print.StartPrint(journal, DefaultLinesPerPage);
        EXPECT_TRUE(Report.PrepareReport());
        return PreparedTexts(Report);
    }

    THeadlessReportEngine Headless;
    TJournalPrint Print;
    TfrReport Report;
};

TEST_F(JournalTemplateBuild, RubricsRecordsAndTotals)
{
    TKerstal j(QStringLiteral("j"));
    j.MineName = QStringLiteral("Демо");
    AddRubric(j, QStringLiteral("Поступление"), rtMineIntake, {{2000, 0}});
    AddRubric(j, QStringLiteral("Пустая"), rtOrdinary);
    AddRubric(j, QStringLiteral("Утечки"), rtInnerLeakage, {{100, 0}});
    const QStringList texts = Build(j);
    const QString all = texts.join(u'/');
    EXPECT_TRUE(texts.contains(QStringLiteral("Шахта  Демо")));
    EXPECT_TRUE(texts.contains(QStringLiteral("1. Поступление")));
    EXPECT_TRUE(texts.contains(QStringLiteral("2. Пустая")));
    EXPECT_TRUE(texts.contains(QStringLiteral("2000")));
    EXPECT_TRUE(all.contains(QStringLiteral("5,00% от общей поступающей в шахту")));
}

TEST_F(JournalTemplateBuild, JournalWithoutRubrics)
{
    TKerstal j(QStringLiteral("j"));
    j.MineName = QStringLiteral("Пустая шахта");
    EXPECT_TRUE(Build(j).contains(QStringLiteral("Шахта  Пустая шахта")));
}
