#include "report/formats.h"
#include "report/library.h"
#include "report/values.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

TEST(ScriptVariables, NamesMatchWithoutRegardToCase)
{
    TfrVariables v;
    v.SetValue(QStringLiteral("Total"), Variant(1));
    v.SetValue(QStringLiteral("TOTAL"), Variant(2));
    EXPECT_EQ(v.Count(), 1);
    EXPECT_EQ(v.GetValue(QStringLiteral("total")), Variant(2));
    EXPECT_EQ(v.GetName(0), QStringLiteral("Total"));
    EXPECT_TRUE(v.GetValue(QStringLiteral("other")).IsNull());
    EXPECT_EQ(v.GetValueByIndex(5), Variant(0));
    EXPECT_EQ(v.GetName(-1), QString());
    // Long names are kept whole, so that they are found again by their name.
    const QString longName(40, u'x');
    v.SetValue(longName, Variant(3));
    EXPECT_EQ(v.GetValue(longName), Variant(3));
    v.Delete(7);
    v.Delete(0);
    EXPECT_EQ(v.Count(), 1);
}

TEST(FormatValue, CategoriesAndKinds)
{
    using namespace FormatCode;
    const int comma = u',';
    const double date = EncodeDate(2003, 2, 1) + EncodeTime(9, 5, 7);
    struct Case
    {
        Variant value;
        std::int32_t code;
        const char *pattern;
        const char *text;
    };
    const Case cases[] = {
        {Variant(), Default(), "", " "},
        {Variant::Null(), Make(fcNumber, 1, 2, comma), "", " "},
        {Variant(1.5), Default(), "", "1,5"},
        {Variant(1234.567), Make(fcNumber, 1, 2, comma), "", "1234,57"},
        {Variant(1234.567), Make(fcNumber, 3, 1, comma), "", "1 234,6"},
        {Variant(1234.5), Make(fcNumber, 0, 2, comma), "", "1234,5"},
        {Variant(0.0), Make(fcNumber, 0, 2, comma), "", ""},
        {Variant(1234.5), Make(fcNumber, 2, 2, comma), "", "1 234,5"},
        {Variant(1234.5), Make(fcNumber, PatternKind, 2, u'.'), "#,##0.00", "1 234.50"},
        {Variant(-2.5), Make(fcNumber, PatternKind, 2, comma), "0.0;(0.0)", "(2,5)"},
        {Variant::FromDateTime(date), Make(fcDate, 0, 0, comma), "", "01.02.03"},
        {Variant::FromDateTime(date), Make(fcDate, 1, 0, comma), "", "01.02.2003"},
        {Variant::FromDateTime(date), Make(fcDate, 2, 0, comma), "", "1 фев 2003"},
        {Variant::FromDateTime(date), Make(fcDate, 3, 0, comma), "", "1 февраля 2003"},
        {Variant::FromDateTime(date), Make(fcTime, 0, 0, comma), "", "09:05:07"},
        {Variant::FromDateTime(date), Make(fcTime, 3, 0, comma), "", "9:05"},
        {Variant(1), Make(fcBoolean, 1, 0, comma), "", "Да"},
        {Variant(0), Make(fcBoolean, 1, 0, comma), "", "Нет"},
        {Variant(1), Make(fcBoolean, 3, 0, comma), "", "True"},
        {Variant(5), Make(fcBoolean, PatternKind, 0, comma), "off;on", "on"},
        {Variant(QStringLiteral("abc")), Make(fcNumber, 1, 2, comma), "", "abc"}, // not a number: its text
        {Variant(1), Make(7, 0, 0, comma), "", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatValue(c.value, c.code, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.text))
            << c.text;
}

TEST(FormatValue, SuffixesOfBrackets)
{
    TEngineFixture f;
    Engine().ScriptVariables.SetValue(QStringLiteral("x"), Variant(1234.5));
    Engine().ScriptVariables.SetValue(QStringLiteral("d"), Variant::FromDateTime(EncodeDate(2003, 2, 1)));
    struct Case
    {
        const char *bracket;
        const char *text;
    };
    const Case cases[] = {
        {"x #N10,2", "1234,50"},
        {"x #N10.3", "1234.500"},
        {"x #N#,##0.00", "1 234.50"},
        {"x #N2", "1234"}, // digits count as decimals only after a separator
        {"x #2,1", "1234,5"},
        {"d #Ddd.mm.yyyy", "01.02.2003"},
        {"d #dd.mm.yyyy", "1.02.2003"}, // the first letter only selects the category
        {"d #Td mmmm", "1 февраля"},
        {"x #BНет;Да", "Да"},
        {"0 #BНет;Да", "Нет"},
        {"x #Q", "1234,5"}, // an unknown letter keeps the object's format
        {"2*3", "6"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(f.Report.GetFormattedValue(QString::fromUtf8(c.bracket)), QString::fromUtf8(c.text)) << c.bracket;
    EXPECT_EQ(Engine().LastValue, Variant(6.0));

    // The object's own format applies when there is no suffix.
    TFakeObject memo(QStringLiteral("Memo1"));
    memo.Format = FormatCode::Make(FormatCode::fcNumber, 1, 3, u',');
    Engine().CurrentObject = &memo;
    EXPECT_EQ(f.Report.GetFormattedValue(QStringLiteral("x")), QStringLiteral("1234,500"));
    EXPECT_EQ(f.Report.GetFormattedValue(QStringLiteral("d #Dyyyy")), QStringLiteral("2003"));
}

TEST(ValueResolution, TheChainAnswersInItsOrder)
{
    TEngineFixture f;
    TfrEngine &e = Engine();
    TMemoryDataSet table(QStringLiteral("Table1"), {QStringLiteral("Amount"), QStringLiteral("Name X")},
                         {{Variant(7), Variant(QStringLiteral("seven"))}});
    e.Components.Register(QStringLiteral("frmHost"), &table);
    e.ScriptVariables.SetValue(QStringLiteral("Shared"), Variant(QStringLiteral("script")));
    e.ScriptVariables.SetValue(QStringLiteral("Table1.Amount"), Variant(QStringLiteral("script")));
    TfrValue *bound = f.Report.ValueBindings.AddValue(QStringLiteral("Shared"));
    bound->Kind = TfrValue::kindNone;
    TfrValue *expression = f.Report.ValueBindings.AddValue(QStringLiteral("Twice"));
    expression->Kind = TfrValue::kindSpecial;
    expression->SpecialIndex = svExpression;
    expression->FieldText = QStringLiteral("Table1.Amount * 2");
    TfrValue *page = f.Report.ValueBindings.AddValue(QStringLiteral("PageNo"));
    page->Kind = TfrValue::kindSpecial;
    page->SpecialIndex = svPage;
    e.CurrentPageIndex = 4;
    e.TotalPagesCount = 9;

    auto value = [&](const char *name) { return f.Report.ValueResolution(QString::fromUtf8(name)); };
    // Bindings win over script variables, fields over script variables.
    EXPECT_EQ(value("Shared"), Variant(QString()));
    EXPECT_EQ(value("Table1.Amount"), Variant(7));
    EXPECT_EQ(value("Table1.\"Name X\""), Variant(QStringLiteral("seven")));
    EXPECT_EQ(value("frmHost.Table1.Amount"), Variant(7));
    EXPECT_EQ(value("Twice"), Variant(14.0));
    EXPECT_EQ(value("PageNo"), Variant(5));
    EXPECT_EQ(value("PAGE#"), Variant(5));
    EXPECT_EQ(value("Page#"), Variant(5)); // upper-cased on the way round
    EXPECT_EQ(value("page#"), Variant(5));
    EXPECT_EQ(value("TOTALPAGES"), Variant(9));
    EXPECT_EQ(value("2*3"), Variant(6.0));
    EXPECT_THROW(value("Table1.Missing"), EDatabaseError);

    // The host's answer wins over everything; an empty answer passes on.
    f.Report.OnGetValue = [](const QString &name, Variant &v) {
        if (name == QLatin1String("Shared"))
            v = Variant(QStringLiteral("host"));
        if (name == QLatin1String("Nothing"))
            v = Variant::Null();
    };
    EXPECT_EQ(value("Shared"), Variant(QStringLiteral("host")));
    EXPECT_TRUE(value("Nothing").IsNull());
    EXPECT_EQ(value("Twice"), Variant(14.0));

    // A name that nothing answers.
    try {
        value("x");
        FAIL();
    } catch (const EParserError &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("Undefined symbol \"X\""));
    }
    e.Components.Unregister(&table);
}

TEST(ValueResolution, BindingsThatReferToEachOtherEndInTheExpressionError)
{
    TEngineFixture f;
    for (auto [name, target] : {std::pair{"A", "B + 1"}, std::pair{"B", "[A]"}}) {
        TfrValue *v = f.Report.ValueBindings.AddValue(QString::fromUtf8(name));
        v->Kind = TfrValue::kindSpecial;
        v->SpecialIndex = svExpression;
        v->FieldText = QString::fromUtf8(target);
    }
    EXPECT_THROW(f.Report.GetFormattedValue(QStringLiteral("A")), EParserError);
    EXPECT_TRUE(Engine().ResolvingBindings.isEmpty());
    // The report still works afterwards.
    EXPECT_EQ(f.Report.GetFormattedValue(QStringLiteral("1+1")), QStringLiteral("2"));
}

TEST(ValueResolution, LongChainsOfBindingsResolve)
{
    // V1 = V2 + 1, ..., V59 = V60 + 1, V60 = 0; each link nests several
    // evaluations, so a count of levels would stop long before the end.
    TEngineFixture f;
    constexpr int Links = 60;
    for (int i = 1; i <= Links; ++i) {
        TfrValue *v = f.Report.ValueBindings.AddValue(QStringLiteral("V%1").arg(i));
        v->Kind = TfrValue::kindSpecial;
        v->SpecialIndex = svExpression;
        v->FieldText = i < Links ? QStringLiteral("[V%1] + 1").arg(i + 1) : QStringLiteral("0");
    }
    EXPECT_EQ(f.Report.GetFormattedValue(QStringLiteral("V1")), QString::number(Links - 1));
    EXPECT_EQ(f.Report.GetFormattedValue(QStringLiteral("V1 + V30")), QString::number(Links - 1 + Links - 30));
}

TEST(ValueResolution, SpecialValuesComeFromTheBuild)
{
    TEngineFixture f;
    TfrEngine &e = Engine();
    TFakeBand band(QStringLiteral("MasterData1"), btMasterData);
    band.LineNumber = 3;
    band.LineThroughNumber = 12;
    e.CurrentBand = &band;
    f.Page.Column = 2;
    f.Page.CurrentLine = 6;
    f.Report.PrepareDate = EncodeDate(2026, 12, 10);
    f.Report.PrepareTime = EncodeTime(14, 0, 0);
    EXPECT_EQ(f.Report.ValueResolution(QStringLiteral("LINE#")), Variant(3));
    EXPECT_EQ(f.Report.ValueResolution(QStringLiteral("LINETHROUGH#")), Variant(12));
    EXPECT_EQ(f.Report.ValueResolution(QStringLiteral("COLUMN#")), Variant(2));
    EXPECT_EQ(f.Report.ValueResolution(QStringLiteral("CURRENT#")), Variant(6));
    EXPECT_EQ(f.Report.GetFormattedValue(QStringLiteral("date #Ddd.mm.yyyy")), QStringLiteral("10.12.2026"));
    EXPECT_EQ(f.Report.GetFormattedValue(QStringLiteral("TIME #Thh:nn")), QStringLiteral("14:00"));
    // VALUE is the value of the last bracket.
    f.Report.GetFormattedValue(QStringLiteral("40+2"));
    EXPECT_EQ(f.Report.ValueResolution(QStringLiteral("VALUE")), Variant(42.0));
}

TEST(ValueResolution, BareFieldsComeFromTheGoverningDataBand)
{
    TEngineFixture f;
    TfrEngine &e = Engine();
    TMemoryDataSet table(QStringLiteral("Table1"), {QStringLiteral("Amount")}, {{Variant(7)}, {Variant(8)}});
    TDataSource source;
    source.DataSet = &table;
    TfrDBDataSet records;
    records.DataSource = &source;
    TFakeBand master(QStringLiteral("MasterData1"), btMasterData);
    master.RecordSource = &records;
    TFakeBand footer(QStringLiteral("MasterFooter1"), btMasterFooter);
    TFakeBand title(QStringLiteral("Title"), btReportTitle);
    f.Page.DataBands[btMasterData] = &master;

    table.Row = 1;
    e.CurrentBand = &footer;
    EXPECT_EQ(CurrentBandDataSet(), &table);
    EXPECT_EQ(f.Report.ValueResolution(QStringLiteral("Amount")), Variant(8));
    e.CurrentBand = &title;
    EXPECT_EQ(CurrentBandDataSet(), nullptr);
    EXPECT_THROW(f.Report.ValueResolution(QStringLiteral("Amount")), EParserError);
}
