#include "calc/natural_draught.h"

#include "four_branches.h"
#include "platform/prompt.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

const QChar CR = u'\r';

class NaturalDraught : public ::testing::Test
{
protected:
    // The four-branch network in a shaft pair: air goes down 1→2 from the
    // surface at 200 m, through the level at 0 m and up 3→4.
    void SetUp() override
    {
        MakeFourBranches(t);
        t.NodeAltitude[1] = 200;
        t.NodeAltitude[4] = 200;
        for (int b = 1; b <= 4; ++b) {
            t.BranchStartTemp[b] = 15;
            t.BranchEndTemp[b] = 20;
        }
        t.BranchEndTemp[4] = 28;
    }
    THetCalc &Open()
    {
        calc = std::make_unique<THetCalc>(t, *s);
        EXPECT_EQ(calc->Open(), 0);
        return *calc;
    }
    QStringList AskedTexts() const
    {
        QStringList texts;
        for (const auto &asked : prompt.Asked)
            texts << asked.Text;
        return texts;
    }
    static QStringList FilterTexts(const std::vector<THetFilter> &filters)
    {
        QStringList texts;
        for (const auto &f : filters)
            texts << f.Text;
        return texts;
    }

    std::unique_ptr<TNetworkTables> holder = std::make_unique<TNetworkTables>();
    TNetworkTables &t = *holder;
    std::unique_ptr<HetStudyTables> s = std::make_unique<HetStudyTables>();
    std::unique_ptr<THetCalc> calc;
    TScriptedPrompt prompt;
};

TEST_F(NaturalDraught, DraughtOfABranchFromItsAltitudesAndTemperatures)
{
    THetCalc &c = Open();
    c.NodeTemperatures = false;
    HetStudyTables &st = c.Tables();
    st.Surface.fill(0);
    st.Zmax = 210;
    struct Case
    {
        double z1, z2, t1, t2;
        bool surfaceStart;
        double he;
    } cases[] = {
        {50, 50, 20, 45, false, 0},                        // horizontal
        {50, 50, -30, -30, false, 0},
        {0, 100, 20, 20, false, 0},                        // rising at the reference temperature
        {0, 100, 30, 30, false, 100 * 1.2 * (1 - 586.0 / 606)},  // ≈ 3.96
        {100, 0, 30, 30, false, -100 * 1.2 * (1 - 586.0 / 606)},
        {150, 0, 30, 30, true, -210 * 1.2 * (1 - 586.0 / 606)},  // the surface start counts at zmax
    };
    for (const Case &k : cases) {
        st.Altitude[1] = k.z1;
        st.Altitude[2] = k.z2;
        st.Surface[1] = k.surfaceStart;
        st.StartTemp[1] = k.t1;
        st.EndTemp[1] = k.t2;
        EXPECT_NEAR(c.CulcHe(1), k.he, 1e-9) << k.z1 << " " << k.z2 << " " << k.t1;
    }
    st.Altitude[1] = 0;
    st.Altitude[2] = 100;
    st.Surface[1] = 0;
    EXPECT_NEAR(c.CulcHe(1), 3.96, 0.005);

    // With node temperatures the start temperature is the start node's.
    c.NodeTemperatures = true;
    st.NodeTemp[1] = 20;
    st.EndTemp[1] = 20;
    EXPECT_EQ(c.CulcHe(1), 0);
}

TEST_F(NaturalDraught, NodeTemperaturesMixTheInflowsFromTheSurface)
{
    // 1 and 5 surface. 1→3 brings 10 at 20 °C; 1→2 then 3→2 stored backwards
    // brings 30 at 24 °C; 3→5 leaves; 1→4→5 carries nothing; 6↔7 is never reached.
    ClearAllItems(t);
    for (int n = 1; n <= 7; ++n) {
        CreateNode(t, n);
        t.NodeIsSurface[n] = n == 1 || n == 5;
    }
    const auto branch = [&](int b, int from, int to) {
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchR[b] = 0.01;
    };
    branch(1, 1, 3);
    branch(2, 3, 2);
    branch(3, 1, 2);
    branch(4, 3, 5);
    branch(5, 1, 4);
    branch(6, 4, 5);
    branch(7, 6, 7);
    branch(8, 7, 6);
    calc = std::make_unique<THetCalc>(t, *s);
    calc->Open();
    THetCalc &c = *calc;
    HetStudyTables &st = c.Tables();
    c.IsNomSurf();
    st.Tsurf = 12;
    c.SurfMasT();
    const double q[] = {0, 10, -30, 30, 40, 0, 0, 1, 1};
    const double end[] = {0, 20, 24, 18, 30, 5, 5, 5, 5};
    for (int b = 1; b <= 8; ++b) {
        st.Q[b] = q[b];
        st.EndTemp[b] = end[b];
    }
    st.NodeTemp[6] = 7.5;
    st.NodeTemp[7] = 8.5;
    c.ArrZonaT();
    EXPECT_DOUBLE_EQ(st.NodeTemp[3], 23.0);
    EXPECT_DOUBLE_EQ(st.NodeTemp[2], 18.0);
    EXPECT_DOUBLE_EQ(st.NodeTemp[1], 12.0);
    EXPECT_DOUBLE_EQ(st.NodeTemp[5], 12.0);
    EXPECT_DOUBLE_EQ(st.NodeTemp[4], 12.0);  // its inflow sums to 0
    EXPECT_DOUBLE_EQ(st.NodeTemp[6], 7.5);
    EXPECT_DOUBLE_EQ(st.NodeTemp[7], 8.5);
}

TEST_F(NaturalDraught, AnErroneousAltitudeRefusesTheCalculationUntilCorrected)
{
    t.NodeAltitude[2] = AltitudeNotGiven;
    THetCalc &c = Open();
    const QString question = QStringLiteral("Отсутствуют (ошибочны) высотные отметки (узлов 1) !") + CR
                             + QStringLiteral(" - Заменить значением 0 по умолчанию ???");
    const QString refused = QStringLiteral("ИСХОДНЫЕ ДАННЫЕ НЕ ПОДГОТОВЛЕНЫ") + CR
                            + QStringLiteral("     ДЛЯ ПРОВЕДЕНИЯ РАСЧЁТОВ !");
    prompt.Answer(idNo);
    EXPECT_EQ(c.CheckData(), 2);
    prompt.Answer(idNo);
    EXPECT_FALSE(c.Calculate());
    EXPECT_EQ(AskedTexts(), (QStringList{question, question, refused}));
    EXPECT_TRUE(FilterTexts(c.NodeFilters).contains(QStringLiteral("Ошибочных отметок")));
    c.NodeFilter = static_cast<int>(FilterTexts(c.NodeFilters).indexOf(QStringLiteral("Ошибочных отметок")));
    EXPECT_EQ(c.NodeRows(), std::vector<int>{2});

    prompt.Answer(idYes);
    EXPECT_FALSE(c.Calculate());
    EXPECT_EQ(c.Tables().Altitude[2], 0);
    prompt.Asked.clear();
    EXPECT_TRUE(c.Calculate());
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_TRUE(c.Tables().Results);
}

TEST_F(NaturalDraught, FalseSourcesAndErroneousTemperatures)
{
    // A small depression is a false source unless the branch is a local fan or a booster.
    for (const int kind : {0, 8, 2}) {
        t.BranchAuxDepression[2] = -50;
        t.BranchType[2] = static_cast<std::uint8_t>(kind);
        THetCalc &c = Open();
        prompt.Asked.clear();
        prompt.Answer(idYes);
        EXPECT_EQ(c.CheckData(), 0) << kind;
        const bool expected = kind == 0;
        EXPECT_EQ(c.Tables().FalseSources.Has(2), expected) << kind;
        EXPECT_EQ(c.Tables().BaseH[2], expected ? 0 : -50) << kind;
        EXPECT_EQ(AskedTexts(), expected ? QStringList{QStringLiteral("Имеются неизвестные (ошибочные)") + CR
                                                       + QStringLiteral("источники тяги (ветвей 1) !") + CR
                                                       + QStringLiteral(" - Уничтожить ???")}
                                         : QStringList{})
            << kind;
    }

    t.BranchAuxDepression[2] = 0;
    t.BranchEndTemp[3] = 51;
    t.BranchStartTemp[1] = TempNotGiven;
    THetCalc &c = Open();
    prompt.Asked.clear();
    prompt.Answer(idYes);
    EXPECT_EQ(c.CheckData(), 3);
    EXPECT_EQ(AskedTexts(), QStringList{QStringLiteral("Неизвестна (ошибочна)") + CR
                                        + QStringLiteral("температура (ветвей 2) !") + CR
                                        + QStringLiteral(" - Заменить значением 0 ???")});
    EXPECT_EQ(c.Tables().EndTemp[3], 0);
    EXPECT_EQ(c.Tables().StartTemp[1], 0);
    EXPECT_EQ(c.Tables().EndTemp[1], 20);  // only the wrong one of a branch
    EXPECT_TRUE(c.Tables().TempErrors.Has(1) && c.Tables().TempErrors.Has(3));
}

TEST_F(NaturalDraught, ANodeAboveEveryShaftStopsTheRun)
{
    t.NodeAltitude[3] = 250;
    THetCalc &c = Open();
    c.CheckData();
    EXPECT_FALSE(c.Calculate());
    EXPECT_EQ(AskedTexts(), QStringList{QStringLiteral("Имеются узлы с высотными отметками,") + CR
                                        + QStringLiteral("ПРЕВЫШАЮЩИМИ уровень всех стволов !") + CR
                                        + QStringLiteral("(таких узлов 1)")});
    ASSERT_EQ(FilterTexts(c.NodeFilters).last(), QStringLiteral("Выше стволов"));
    c.NodeFilter = static_cast<int>(c.NodeFilters.size()) - 1;
    EXPECT_EQ(c.NodeRows(), std::vector<int>{3});
    EXPECT_FALSE(c.Tables().Results);
}

TEST_F(NaturalDraught, ChangesOverTenPerCentAndReversals)
{
    THetCalc &c = Open();
    HetStudyTables &st = c.Tables();
    struct Case
    {
        double qn, qe;
        int set;  // 0 none, 1 reversed, 2 reduced, 3 increased
    } cases[] = {{10, -1, 1}, {-10, 1, 1}, {10, 9, 0},     {10, 11, 0},    {100, 89.99, 2},
                 {100, 110.01, 3}, {-10, -12, 3}, {0, 5, 0}, {0, 0, 0}, {10, 0, 2}};
    for (const Case &k : cases) {
        st.Qn[1] = k.qn;
        st.Qe[1] = k.qe;
        c.minmaxQ();
        EXPECT_EQ(st.Reversed.Has(1), k.set == 1) << k.qn << " " << k.qe;
        EXPECT_EQ(st.Reduced.Has(1), k.set == 2) << k.qn << " " << k.qe;
        EXPECT_EQ(st.Increased.Has(1), k.set == 3) << k.qn << " " << k.qe;
    }
}

TEST_F(NaturalDraught, AWarmDowncastReversesAndTheReportListsIt)
{
    // Surface nodes 1, 3, 4 at 0 m, the level node 2 at -500 m; air comes
    // down 1→2 and 4→2 to a small fan in 2→3. The warm downcast 1→2 is turned
    // round by the draught of the cold one.
    ClearAllItems(t);
    for (int n = 1; n <= 4; ++n) {
        CreateNode(t, n);
        t.NodeIsSurface[n] = n != 2;
    }
    t.NodeAltitude[2] = -500;
    const auto branch = [&](int b, int from, int to, double h, double temp) {
        CreateBranch(t, b);
        t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        t.BranchR[b] = 0.01;
        t.BranchAuxDepression[b] = h;
        t.BranchType[b] = 8;
        t.BranchStartTemp[b] = temp;
        t.BranchEndTemp[b] = temp;
    };
    branch(1, 1, 2, 0, 40);
    branch(2, 2, 3, 20, 20);
    branch(3, 4, 2, 0, 0);
    THetCalc &c = Open();
    c.NodeTemperatures = false;
    c.CheckData();
    prompt.Asked.clear();
    ASSERT_TRUE(c.Calculate());
    const HetStudyTables &st = c.Tables();
    EXPECT_GT(st.Qn[1], 0);
    EXPECT_LT(st.Qe[1], 0);
    EXPECT_GT(st.Qe[3], st.Qn[3]);
    EXPECT_TRUE(c.ReversalLegend);
    EXPECT_EQ(AskedTexts(), QStringList{QStringLiteral("Имело место опрокидывание струи !!!") + CR
                                        + QStringLiteral("    (ветвей 1)")});
    const QStringList items = FilterTexts(c.BranchFilters);
    EXPECT_TRUE(items.contains(QStringLiteral("Опрокидывания струи")));
    EXPECT_TRUE(items.contains(QStringLiteral("Повышения расхода (не менее 10%)")));

    // The report's records are the rows of the branch table as filtered.
    c.BranchFilter = static_cast<int>(items.indexOf(QStringLiteral("Опрокидывания струи")));
    THetReport report(c, QStringLiteral("Шахта"));
    EXPECT_EQ(report.VariableNames().size(), 10);
    EXPECT_EQ(report.RecordCount(), 1);
    bool eof = false;
    report.frHet.OnFirst(nullptr);
    report.frHet.OnCheckEOF(nullptr, eof);
    EXPECT_FALSE(eof);
    const QStringList row = c.BranchRow(1);
    Variant value;
    const QString names[] = {QStringLiteral("Номер"), QStringLiteral("Начало"), QStringLiteral("Конец"),
                             QStringLiteral("ТемКон"), QStringLiteral("Расход"), QStringLiteral("РасходТ"),
                             QStringLiteral("ТемНач"), QStringLiteral("ТемРас")};
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(report.GetValue(names[i], value));
        EXPECT_EQ(value.ToString(), row[i]) << names[i].toStdString();
    }
    ASSERT_TRUE(report.GetValue(QStringLiteral("Примеч"), value));
    EXPECT_EQ(value.ToString(), QStringLiteral("Опрокидывание струи"));
    ASSERT_TRUE(report.GetValue(QStringLiteral("НазвШ"), value));
    EXPECT_EQ(value.ToString(), QStringLiteral("Шахта"));
    EXPECT_FALSE(report.GetValue(QStringLiteral("Другое"), value));
    report.frHet.OnNext(nullptr);
    report.frHet.OnCheckEOF(nullptr, eof);
    EXPECT_TRUE(eof);
}

TEST_F(NaturalDraught, ABranchAgainstItsFlowIsTurnedWithItsFan)
{
    // The upcast with the fan stored backwards: the study turns the branch
    // so that air enters at its start, and the fan must keep pushing the air
    // the same way.
    std::swap(t.BranchStartNode[4], t.BranchEndNode[4]);
    t.BranchAuxDepression[4] = -200;
    THetCalc &c = Open();
    const double before = c.Tables().Q[4];
    ASSERT_LT(before, 0);
    c.CheckData();
    EXPECT_EQ(c.Tables().BeginNode[4], 3);
    EXPECT_NEAR(c.Tables().Qn[4], -before, 1e-6);
    EXPECT_EQ(c.BranchRow(4)[hbStart], QStringLiteral("   3"));
}

TEST_F(NaturalDraught, ClosingWritesBackOnlyAgreedEdits)
{
    const auto snapshot = std::make_unique<TNetworkTables>(t);
    const auto same = [&] {
        return t.NodeAltitude == snapshot->NodeAltitude && t.BranchEndTemp == snapshot->BranchEndTemp
               && t.NodeIsSurface == snapshot->NodeIsSurface && t.BranchStartTemp == snapshot->BranchStartTemp
               && t.BranchAuxDepression == snapshot->BranchAuxDepression && t.BranchQ == snapshot->BranchQ
               && t.BranchStartNode == snapshot->BranchStartNode && t.BranchEndNode == snapshot->BranchEndNode
               && t.BranchR == snapshot->BranchR;
    };
    t.BranchAuxDepression[2] = 30;  // a false source, erased in the study only

    THetCalc &c = Open();
    prompt.Answer(idYes);
    c.CheckData();
    ASSERT_TRUE(c.Calculate());
    prompt.Asked.clear();
    c.Close();
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_FALSE(c.Tables().WrittenBack);

    c.Tables().Altitude[2] = 10;
    prompt.Answer(idNo);
    c.Close();
    EXPECT_EQ(AskedTexts(), QStringList{QStringLiteral("Сохранить результаты редактирования?")});
    EXPECT_FALSE(c.Tables().WrittenBack);
    snapshot->BranchAuxDepression[2] = 30;
    EXPECT_TRUE(same());

    c.Tables().EndTemp[3] = 33;
    prompt.Answer(idYes);
    c.Close();
    EXPECT_TRUE(c.Tables().WrittenBack);
    EXPECT_EQ(t.NodeAltitude[2], 10);
    EXPECT_EQ(t.BranchEndTemp[3], 33);
    EXPECT_EQ(t.BranchAuxDepression[2], 30);
    snapshot->NodeAltitude[2] = 10;
    snapshot->BranchEndTemp[3] = 33;
    EXPECT_TRUE(same());
}

TEST_F(NaturalDraught, TypedNumbers)
{
    struct Case
    {
        THetNumber (*check)(const QString &);
        QString text;
        bool valid;
        QString message;
    } cases[] = {
        {CheckTsurfText, QStringLiteral("12,5"), true, {}},
        {CheckTsurfText, QStringLiteral("-30"), true, {}},
        {CheckTsurfText, QStringLiteral("46"), false,
         QStringLiteral("Число вне допустимого диапазона: ") + CR + QStringLiteral("-30.0 ...  45.0 !")},
        {CheckTsurfText, QStringLiteral("4x"), false, QStringLiteral("Число ==> 4x набрано с ошибками !") + CR},
        {CheckAltitudeText, QStringLiteral("-2000"), true, {}},
        {CheckAltitudeText, QStringLiteral("2000.1"), false,
         QStringLiteral("Число вне допустимого диапазона: ") + CR + QStringLiteral("     -2000.0 ...   2000.0 !")},
        {CheckEndTempText, QStringLiteral("50"), true, {}},
        {CheckEndTempText, QStringLiteral("51"), false,
         QStringLiteral("Число вне допустимого диапазона: ") + CR + QStringLiteral("    -30.0 ...  50.0 !")},
        {CheckEndTempText, QString(), false, QStringLiteral("Число==>  набрано с ошибками !") + CR},
    };
    for (const Case &k : cases) {
        const THetNumber n = k.check(k.text);
        EXPECT_EQ(n.Valid, k.valid) << k.text.toStdString();
        EXPECT_EQ(n.Message, k.message) << k.text.toStdString();
    }
    EXPECT_EQ(CheckTsurfText(QStringLiteral("12,5")).Value, 12.5);
}

} // namespace
