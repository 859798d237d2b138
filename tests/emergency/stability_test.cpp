// The stability studies: which workings they judge, what they tell the user,
// the verdicts and reversal places on the sample mine, the table of results
// and the values that the stability reports print.
#include "emergency/stability.h"
#include "emergency/stability_report.h"
#include "model/branch_values.h"
#include "platform/prompt.h"
#include "sample_mine.h"
#include "small_network.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A progress window whose "Отмена" is pressed after a number of steps.
class TCancelAfter : public TStudyProgress
{
public:
    explicit TCancelAfter(int steps = -1) : m_left(steps) {}
    void SetMax(int max) override { Max = max; }
    void Step() override
    {
        ++Steps;
        if (m_left > 0)
            --m_left;
    }
    bool Cancelled() const override { return m_left == 0; }
    int Max = 0;
    int Steps = 0;

private:
    int m_left;
};

struct TSelectionCase
{
    const char *What;
    double ZStart, ZEnd, Q;
    int Length;
    double Area, Angle;
    int Type;
    bool ReversalZone;
    int Descending, Ascending; // 1 listed, 0 skipped, −1 lacking data
};

} // namespace

TEST(StabilitySelection, RulesOfBothDirections)
{
    const TSelectionCase cases[] = {
        {"descending", 100, 90, 10, 100, 10, AngleNotGiven, 0, false, 1, 0},
        {"the same against the slope", 100, 90, -10, 100, 10, AngleNotGiven, 0, false, 0, 1},
        {"ascending", 90, 100, 10, 100, 10, AngleNotGiven, 0, false, 0, 1},
        {"development face", 100, 90, 10, 100, 10, AngleNotGiven, 10, false, 0, 0},
        {"local fan", 90, 100, 10, 100, 10, AngleNotGiven, 8, false, 0, 0},
        {"reversal zone", 100, 90, 10, 100, 10, AngleNotGiven, 0, true, 0, 0},
        {"area too small", 100, 90, 10, 100, 0.0005, AngleNotGiven, 0, false, -1, 0},
        {"area too small ascending", 90, 100, 10, 100, 0.0005, AngleNotGiven, 0, false, 0, -1},
        {"0.4 m rounds to level", 100.4, 100, 10, 100, 10, AngleNotGiven, 0, false, 0, 0},
        {"no length", 100, 90, 10, 0, 10, AngleNotGiven, 0, false, -1, 0},
        {"shorter than its drop, no slope", 160, 100, 10, 50, 10, AngleNotGiven, 0, false, -1, 0},
        {"shorter than its drop, slope 45", 160, 100, 10, 50, 10, 45, 0, false, 1, 0},
        {"shorter than its drop, slope 2", 160, 100, 10, 50, 10, 2, 0, false, -1, 0},
        {"shorter than its rise, slope 90.5", 100, 160, 10, 50, 10, 90.5, 0, false, 0, 1},
        {"too gentle for a ventilation type", 100, 99, 10, 100, 10, AngleNotGiven, 0, false, 0, 0},
    };
    for (const TSelectionCase &c : cases) {
        TSmallNetwork net;
        net.Node(1, true, c.ZStart);
        net.Node(2, false, c.ZEnd);
        net.Branch(1, 1, 2, c.Q);
        TNetworkTables &t = net.t;
        t.BranchLength[1] = static_cast<std::int16_t>(c.Length);
        t.BranchArea[1] = c.Area;
        t.BranchAngle[1] = c.Angle;
        t.BranchType[1] = static_cast<std::uint8_t>(c.Type);
        if (c.ReversalZone)
            t.BranchFlags[1] |= bfReversalZone;
        EXPECT_EQ(ClassifyStabilityBranch(t, 1, vtDescending), c.Descending) << c.What;
        EXPECT_EQ(ClassifyStabilityBranch(t, 1, vtAscending), c.Ascending) << c.What;
    }
}

TEST(StabilitySelection, MessagesAndTheBranchTable)
{
    TStabilitySelection some{{4}, {QStringLiteral("7"), QStringLiteral("9")}};
    TStabilitySelection lackingOnly{{}, {QStringLiteral("7")}};
    TStabilitySelection none;
    QStringList edited;
    const TEditBranchRange edit = [&edited](const QString &range) {
        edited << range;
        return true;
    };
    TScriptedPrompt prompt;
    prompt.Answer(idNo);
    EXPECT_EQ(AskAboutLackingData(vtDescending, some, edit), 1);
    prompt.Answer(idYes);
    EXPECT_EQ(AskAboutLackingData(vtAscending, some, edit), 0); // the table closed with OK
    EXPECT_EQ(AskAboutLackingData(vtAscending, some, {}), 1);   // no table yet: as No
    prompt.Answer(idYes);
    EXPECT_EQ(AskAboutLackingData(vtDescending, lackingOnly, edit), 0);
    EXPECT_EQ(AskAboutLackingData(vtAscending, lackingOnly, edit), 0); // Yes, the first button
    EXPECT_EQ(AskAboutLackingData(vtDescending, none, edit), 0);
    EXPECT_EQ(AskAboutLackingData(vtAscending, none, edit), 0);
    EXPECT_EQ(edited, (QStringList{QStringLiteral("7, 9"), QStringLiteral("7"), QStringLiteral("7")}));

    const QString gap = QStringLiteral(" но для расчета по ним не хватает информации и они не будут включены в таблицу.");
    const struct
    {
        QString Text, Caption;
        int Buttons;
    } expected[] = {
        {QStringLiteral("Ветви 7, 9 - с нисходящим проветриванием,\r") + gap.mid(1) + QStringLiteral("\rПерейти к корректировке?"),
         QStringLiteral("ВНИМАНИЕ"), mb::YesNo},
        {QStringLiteral("Ветви 7, 9 - с восходящим проветриванием,\r") + gap + QStringLiteral(" \rПерейти к корректировке?"),
         QStringLiteral("ВНИМАНИЕ"), mb::YesNo},
        {QStringLiteral("Ветви 7, 9 - с восходящим проветриванием,\r") + gap + QStringLiteral(" \rПерейти к корректировке?"),
         QStringLiteral("ВНИМАНИЕ"), mb::YesNo},
        {QStringLiteral("Ветви 7 - с нисходящим проветриванием, но для расчета не хватает информации.\rПерейти к корректировке?"),
         QStringLiteral("ОШИБКА"), mb::YesNo},
        {QStringLiteral("Ветви 7 - с восходящим проветриванием, но для расчета не хватает информации.\rПерейти к корректировке?"),
         QStringLiteral("ОШИБКА"), mb::YesNo},
        {QStringLiteral("Не найдены ветви с нисходящим проветриванием. Проверьте высотные отметки."),
         QStringLiteral("ОШИБКА"), mb::Ok},
        {QStringLiteral("Не найдены ветви с восходящим проветриванием.Проверьте высотные отметки."),
         QStringLiteral("ОШИБКА"), mb::Ok},
    };
    ASSERT_EQ(prompt.Asked.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(prompt.Asked[i].Text, expected[i].Text) << i;
        EXPECT_EQ(prompt.Asked[i].Caption, expected[i].Caption) << i;
        EXPECT_EQ(prompt.Asked[i].Flags & mb::ButtonsMask, expected[i].Buttons) << i;
    }
}

namespace {

class SampleStability : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LoadSampleMine(t);
        ASSERT_FALSE(HasFatalFailure());
        r = std::make_unique<TTable<double>>(t.BranchR);
        h = std::make_unique<TTable<double>>(t.BranchAuxDepression);
        q = std::make_unique<TTable<double>>(t.BranchQ);
    }
    // R and the additional depressions byte for byte, the flows of the normal solve.
    void ExpectTablesAsBefore()
    {
        EXPECT_EQ(std::memcmp(t.BranchR.data(), r->data(), sizeof(*r)), 0);
        EXPECT_EQ(std::memcmp(t.BranchAuxDepression.data(), h->data(), sizeof(*h)), 0);
        EXPECT_EQ(t.BranchQ, *q);
    }

    std::unique_ptr<TNetworkTables> tables = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *tables;
    std::unique_ptr<TTable<double>> r, h, q;
    TScriptedPrompt prompt;
};

} // namespace

TEST_F(SampleStability, DescendingVerdicts)
{
    TDescendingStability study;
    TCancelAfter progress;
    ASSERT_EQ(ComputeDescendingStability(t, study, {}, progress), crSolved);
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_EQ(study.Items, (std::vector<int>{1, 2, 35, 42, 49}));
    EXPECT_EQ(progress.Max, 5);
    EXPECT_EQ(progress.Steps, 5);
    for (const int b : study.Items) {
        // The shafts (1, 2) reverse; the bremsbergs hold.
        EXPECT_EQ(study.Verdict[b], b <= 2 ? UnstableText : StableText) << b;
        EXPECT_GT(study.MaxThermalDepression[b], 0) << b;
        EXPECT_EQ(study.ReversalMinute[b] != 0, study.Verdict[b] == UnstableText) << b;
    }
    ExpectTablesAsBefore();

    // "Отмена" before the second working: nothing to show.
    TCancelAfter cancel(1);
    ASSERT_EQ(ComputeDescendingStability(t, study, {}, cancel), crSolved);
    EXPECT_EQ(study.Count(), 0);
    ExpectTablesAsBefore();
}

TEST_F(SampleStability, AscendingReversalPlaces)
{
    TAscendingStability study;
    prompt.Answer(idNo);
    TCancelAfter progress;
    ComputeAscendingStability(t, study, DefaultFireTime, progress);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("ВНИМАНИЕ"));
    EXPECT_TRUE(prompt.Asked[0].Text.startsWith(QStringLiteral("Ветви 13, 31, 32, 33, 34 - с восходящим")));
    ASSERT_GT(study.Count(), 0);
    ASSERT_EQ(study.ReversalPlaces.size(), study.Items.size());
    for (std::size_t r = 0; r < study.Items.size(); ++r) {
        const int b = study.Items[r];
        EXPECT_EQ(study.MaxThermalDepression[b] > 0, t.BranchLength[b] > 0) << b;
        EXPECT_TRUE(std::is_sorted(study.ReversalPlaces[r].begin(), study.ReversalPlaces[r].end()));
    }
    ExpectTablesAsBefore();

    // "Отмена" during the selection and during the loop: no rows, the network as it was.
    for (const int steps : {3, MaxBranchNo(t) + 2}) {
        prompt.Answer(idNo);
        TCancelAfter cancel(steps);
        ComputeAscendingStability(t, study, DefaultFireTime, cancel);
        EXPECT_EQ(study.Count(), 0) << steps;
        ExpectTablesAsBefore();
    }
}

TEST(AscendingStability, ReversalPlacesOfASmallNetwork)
{
    // Two parallel paths from the surface node 1 to the fan's node 3: a fire
    // rising in either path drives it and reverses the air of the other.
    TSmallNetwork net;
    net.Node(1, true, 0);
    net.Node(2, false, -100);
    net.Node(3, true, 0);
    net.Node(4, false, -100);
    net.Branch(1, 1, 2, 0, 0.01);
    net.Branch(2, 2, 3, 0, 0.01);     // rises 100 m
    net.Branch(3, 2, 4, 0, 0.5);
    net.Branch(4, 4, 3, 0, 5);        // rises too, with little air
    net.Branch(5, 3, 1, 0, 0.001, 60); // the fan
    TNetworkTables &t = net.t;
    t.BranchType[5] = btMainFan;
    ASSERT_EQ(CalcTablesAir(t), crSolved);
    const TTable<double> before = t.BranchAuxDepression;

    TAscendingStability study;
    TCancelAfter progress;
    TScriptedPrompt prompt;
    ComputeAscendingStability(t, study, DefaultFireTime, progress);
    EXPECT_EQ(t.BranchAuxDepression, before);
    ASSERT_FALSE(study.Items.empty());

    // Either fire drives its own path against the other's.
    EXPECT_EQ(study.Items, (std::vector<int>{2, 4}));
    EXPECT_EQ(study.ReversalPlaces, (std::vector<std::vector<int>>{{3, 4}, {2}}));
    TStabilityReport report(t, study, 45);
    for (report.udStability.First(); !report.udStability.Eof(); report.udStability.Next()) {
        const auto &places = study.ReversalPlaces[static_cast<std::size_t>(report.Row - 1)];
        QString verdict, numbers, nodes;
        report.UserFunction(QStringLiteral("Закл"), verdict);
        report.UserFunction(QStringLiteral("МестаОпрНомВет"), numbers);
        report.UserFunction(QStringLiteral("МестаОпрНУзКУз"), nodes);
        if (places.empty()) {
            EXPECT_EQ(verdict, QStringLiteral(" Устойчиво"));
            EXPECT_TRUE(numbers.isEmpty());
            EXPECT_TRUE(nodes.isEmpty());
        } else {
            EXPECT_EQ(verdict, QStringLiteral(" Не устойчиво"));
            QStringList expectNumbers, expectNodes;
            for (const int k : places) {
                expectNumbers << QString::number(k);
                expectNodes << QStringLiteral("%1-%2").arg(t.BranchStartNode[k]).arg(t.BranchEndNode[k]);
            }
            EXPECT_EQ(numbers, expectNumbers.join(QStringLiteral(", ")));
            EXPECT_EQ(nodes, expectNodes.join(QStringLiteral(", ")));
        }
    }
}

TEST(StabilityTable, CellsEditsAndDeletion)
{
    TSmallNetwork net;
    net.Node(1, true, 100);
    net.Node(2, false, 90);
    net.Branch(7, 1, 2, -2);
    net.Branch(8, 2, 1, 5);
    TNetworkTables &t = net.t;
    SetBranchName(t, 7, QStringLiteral("Уклон"));
    t.BranchLength[8] = 0;
    t.BranchArea[8] = 0;
    TDescendingStability study;
    study.Items = {7, 8};
    study.MaxThermalDepression[7] = 12.5;
    study.Verdict[7] = StableText;

    EXPECT_EQ(StabilityHeaderText(3, 2), QStringLiteral(" м"));
    EXPECT_EQ(StabilityHeaderText(7, 0), QStringLiteral("ТЕМП.В "));
    EXPECT_EQ(StabilityHeaderText(11, 1), QStringLiteral("ПО УСТОЙЧИ-"));
    const QStringList row1 = [&] {
        QStringList cells;
        for (int c = 0; c < StabilityColumns; ++c)
            cells << StabilityCellText(t, study, 1, c);
        return cells;
    }();
    EXPECT_EQ(row1, (QStringList{"1", "Уклон (7)", "1 - 2", "100", "5,74", "10,00", "-0,20", "", "12,50", "", "",
                                 "Устойчиво"}));
    EXPECT_EQ(StabilityCellText(t, study, 2, 3), QString());  // no length
    EXPECT_EQ(StabilityCellText(t, study, 2, 5), QString());  // no area
    EXPECT_EQ(StabilityCellText(t, study, 2, 6), QString());
    EXPECT_EQ(StabilityCellText(t, study, 2, 11), QStringLiteral("  "));
    study.MaxThermalDepression[8] = 1234567;
    EXPECT_TRUE(StabilityCellText(t, study, 2, 8).contains(u'E'));

    TScriptedPrompt prompt;
    EXPECT_FALSE(StoreStabilityCell(study, 1, 10, QStringLiteral("abc")));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Недопустимое значение"));
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("ОШИБКА"));
    EXPECT_FALSE(study.Edited);
    EXPECT_TRUE(StoreStabilityCell(study, 1, 7, QStringLiteral("18,5")));
    EXPECT_TRUE(StoreStabilityCell(study, 1, 10, QString()));  // empty keeps the number
    EXPECT_TRUE(StoreStabilityCell(study, 2, 11, QString()));  // the verdict may be emptied
    EXPECT_TRUE(study.Edited);
    EXPECT_EQ(study.ParallelTemperature[7], 18.5);
    EXPECT_EQ(study.RaisedCriticalDepression[7], 0);
    EXPECT_EQ(study.Verdict[8], QString());
    EXPECT_EQ(StabilityCellText(t, study, 1, 7), QStringLiteral("18,50"));

    EXPECT_EQ(DeleteStabilityQuestion(7), QStringLiteral("Удалить ветвь 7?"));
    DeleteStabilityItem(study, 1);
    EXPECT_EQ(study.Items, std::vector<int>{8});
    EXPECT_EQ(StabilityCellText(t, study, 1, 0), QStringLiteral("1"));
}

TEST(StabilityReport, DescendingValues)
{
    TSmallNetwork net;
    net.Node(1, true, 0);
    net.Node(2, false, 0);
    net.Branch(3, 1, 2, 4);
    TNetworkTables &t = net.t;
    t.BranchArea[3] = 0;
    t.BranchLength[3] = 0; // no slope from the altitudes either
    TDescendingStability study;
    study.Items = {3};
    study.ParallelTemperature[3] = 21;
    study.CriticalDepression[3] = 7.5;
    study.ReversalMinute[3] = 12;
    study.Verdict[3] = UnstableText;
    TStabilityReport report(t, study);
    study.Items.clear(); // rows deleted later are still in an open chooser
    report.udStability.First();
    ASSERT_FALSE(report.udStability.Eof());

    const auto value = [&report](const char *name) {
        Variant v = QStringLiteral("как было");
        report.GetValue(QString::fromUtf8(name), v);
        return v;
    };
    EXPECT_EQ(value("Нпп"), Variant(1));
    EXPECT_EQ(value("НомерВетви"), Variant(3));
    EXPECT_EQ(value("Закл"), Variant(UnstableText));
    EXPECT_EQ(value("ТемпПарал"), Variant(QStringLiteral("21,00")));
    EXPECT_EQ(value("КритДепрБМер"), Variant(7.5));
    EXPECT_EQ(value("ВремяОпр"), Variant(12));
    EXPECT_EQ(value("ВремяРасч"), Variant(QString()));
    EXPECT_EQ(value("УгНакл"), Variant(QString()));   // stored 361, level ends
    EXPECT_EQ(value("СкорВозд"), Variant(QString())); // no area
    EXPECT_EQ(value("МестаОпрНомВет"), Variant(QStringLiteral("как было")));

    QString unknown = QStringLiteral("как было");
    report.UserFunction(QStringLiteral("Нечто"), unknown);
    EXPECT_EQ(unknown, QStringLiteral("как было"));
    TAscendingStability ascending;
    ascending.Items = {3};
    ascending.ReversalPlaces = {{}};
    TStabilityReport up(t, ascending, 90);
    up.udStability.First();
    up.UserFunction(QStringLiteral("Нечто"), unknown);
    EXPECT_EQ(unknown, QString());
    // A working without reversal places.
    QString verdict, places = QStringLiteral("как было");
    up.UserFunction(QStringLiteral("Закл"), verdict);
    up.UserFunction(QStringLiteral("МестаОпрНазвВет"), places);
    EXPECT_EQ(verdict, QStringLiteral(" Устойчиво"));
    EXPECT_EQ(places, QString());
    Variant minutes;
    up.GetValue(QStringLiteral("ВремяРасч"), minutes);
    EXPECT_EQ(minutes, Variant(90));
    up.udStability.Next();
    EXPECT_TRUE(up.udStability.Eof());
}
