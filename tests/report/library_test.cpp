#include "report/formats.h"
#include "report/library.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

namespace {

Variant Eval(const char *expression)
{
    return Engine().ReportParser.Evaluate(QString::fromUtf8(expression));
}

// A data band printing records under a footer that keeps aggregates, driven
// the way the build drives them: per record the footer's entries are opened,
// its texts are evaluated while it is invisible, and its count goes up.
class AggregateBuild
{
public:
    explicit AggregateBuild(TEngineFixture &f) : m_f(f)
    {
        Engine().CurrentBand = &Data;
        f.Report.OnGetValue = [this](const QString &name, Variant &v) {
            if (name.compare(QLatin1String("Amount"), Qt::CaseInsensitive) == 0)
                v = Variant(Amount);
        };
    }

    void Record(double amount, bool visible, const QStringList &texts)
    {
        Amount = amount;
        Data.Visible = visible;
        for (QString &entry : Footer.Aggregates) {
            const qsizetype eq = entry.indexOf(u'=');
            if (eq >= 0 && eq + 1 < entry.size())
                entry[eq + 1] = u'0';
        }
        Engine().AggregateBand = &Footer;
        Footer.Visible = false;
        for (int twice = 0; twice < 2; ++twice) // a text met twice counts once
            for (const QString &text : texts)
                Engine().ReportParser.Evaluate(text);
        Footer.Visible = true;
        ++Footer.AggregateCount;
    }

    Variant Output(const char *text)
    {
        Engine().AggregateBand = &Footer;
        return Eval(text);
    }

    TFakeBand Data{QStringLiteral("MasterData1"), btMasterData};
    TFakeBand Footer{QStringLiteral("MasterFooter1"), btMasterFooter};
    double Amount = 0;

private:
    TEngineFixture &m_f;
};

} // namespace

TEST(StandardFunctions, TextsDatesAndNumbers)
{
    TEngineFixture f;
    Engine().InputBox = [](const QString &caption, const QString &prompt, const QString &def) {
        return caption + u'|' + prompt + u'|' + def + QStringLiteral("'typed");
    };
    struct Case
    {
        const char *expression;
        Variant expected;
    };
    const Case cases[] = {
        {"UPPERCASE('абв')", Variant(QStringLiteral("АБВ"))},
        {"LowerCase('AbC')", Variant(QStringLiteral("abc"))},
        {"NAMECASE('иВАН')", Variant(QStringLiteral("Иван"))},
        {"NAMECASE('')", Variant(QString())},
        {"FORMATFLOAT('#,##0.00', 1234.5)", Variant(QStringLiteral("1 234,50"))},
        {"FORMATFLOAT('0.0;(0.0)', -2)", Variant(QStringLiteral("(2,0)"))},
        {"FORMATDATETIME('d mmmm yyyy', STRTODATE('01.02.2003'))", Variant(QStringLiteral("1 февраля 2003"))},
        {"FORMATDATETIME('hh:nn', STRTOTIME('9:05'))", Variant(QStringLiteral("09:05"))},
        {"STRTODATE('01.02.2003') + 1", Variant::FromDateTime(EncodeDate(2003, 2, 2))},
        {"INPUT('Name?', 'x')", Variant(QStringLiteral("|Name?|x'typed"))},
        {"UPPERCASE(COPY('it''s', 1, 3))", Variant(QStringLiteral("IT'"))},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Eval(c.expression), c.expected) << c.expression;
}

TEST(StandardFunctions, UnknownFunctionsGoToTheHostOnlyWhenTheAggregateBandIsVisible)
{
    TEngineFixture f;
    QString val;
    f.Report.CallUserFunction(QStringLiteral("NOSUCH"), Variant(), Variant(), Variant(), val);
    EXPECT_EQ(val, QStringLiteral("0"));

    int calls = 0;
    f.Report.OnUserFunction = [&](const QString &name, const Variant &p1, const Variant &, const Variant &,
                                  QString &v) {
        ++calls;
        v = QStringLiteral("'") + name + p1.ToString() + QStringLiteral("'");
    };
    EXPECT_EQ(Eval("Host(7)"), Variant(QStringLiteral("HOST7")));
    TFakeBand footer(QStringLiteral("Footer"), btMasterFooter);
    footer.Visible = false;
    Engine().AggregateBand = &footer;
    EXPECT_EQ(Eval("Host(7)"), Variant(0.0));
    EXPECT_EQ(calls, 1);
    // The libraries come first: the host never sees their names.
    footer.Visible = true;
    Eval("UPPERCASE('a')");
    EXPECT_EQ(calls, 1);
}

TEST(Aggregates, OverTheRecordsOfABand)
{
    TEngineFixture f;
    AggregateBuild build(f);
    const QStringList texts = {QStringLiteral("SUM(Amount, MasterData1)"), QStringLiteral("SUM(Amount + 0, MasterData1, 1)"),
                               QStringLiteral("AVG(Amount, MasterData1)"),  QStringLiteral("MIN(Amount, MasterData1)"),
                               QStringLiteral("MAX(Amount, MasterData1)"),  QStringLiteral("COUNT(x, MasterData1)"),
                               QStringLiteral("SUM(Amount * 1, Other)")};
    build.Record(2, true, texts);
    build.Record(10, false, texts); // a script hid this record's band
    build.Record(-1.5, true, texts);

    EXPECT_EQ(build.Output("SUM(Amount, MasterData1)"), Variant(0.5));
    // The switch 1 also counts records whose band was hidden. (An entry is
    // keyed by the function and its first argument, hence "+ 0" here.)
    EXPECT_EQ(build.Output("SUM(Amount + 0, MasterData1, 1)"), Variant(10.5));
    EXPECT_NEAR(build.Output("AVG(Amount, MasterData1)").ToDouble(), 0.5 / 3, 1e-12);
    EXPECT_EQ(build.Output("MIN(Amount, MasterData1)"), Variant(-1.5));
    EXPECT_EQ(build.Output("MAX(Amount, MasterData1)"), Variant(2.0));
    EXPECT_EQ(build.Output("COUNT(x, MasterData1)"), Variant(2.0));
    EXPECT_EQ(build.Output("SUM(Amount * 1, Other)"), Variant(0.0));
    EXPECT_EQ(build.Output("SUM(Amount, MasterData1) * 2"), Variant(1.0));

    // Only footers and summaries keep aggregates.
    Engine().AggregateBand = &build.Data;
    EXPECT_EQ(Eval("SUM(Amount, MasterData1)"), Variant(0.0));
}

TEST(Aggregates, EdgeFiguresReadBackAndEmptyAverages)
{
    TEngineFixture f;
    AggregateBuild build(f);
    build.Record(1e-7, true, {QStringLiteral("SUM(Amount, MasterData1)")});
    EXPECT_DOUBLE_EQ(build.Output("SUM(Amount, MasterData1)").ToDouble(), 1e-7);
    // An average with no records counted is 0, not a division by zero.
    build.Footer.AggregateCount = 0;
    build.Footer.Aggregates = {QStringLiteral("AVGAmount=15")};
    EXPECT_EQ(build.Output("AVG(Amount, MasterData1)"), Variant(0.0));
    // Cross printing keeps one figure per column.
    Engine().CrossPrinting = true;
    f.Page.Column = 3;
    build.Footer.Aggregates = {QStringLiteral("SUMAmount3=14"), QStringLiteral("SUMAmount=1")};
    EXPECT_EQ(build.Output("SUM(Amount, MasterData1)"), Variant(4.0));
}

TEST(Aggregates, OverAWholeDataSet)
{
    TEngineFixture f;
    TMemoryDataSet table(QStringLiteral("Table1"), {QStringLiteral("Amount")}, {{Variant(4)}, {Variant(1)}, {Variant(7)}});
    Engine().Components.Register(QStringLiteral("frmHost"), &table);
    TFakeBand footer(QStringLiteral("Footer"), btReportSummary);
    Engine().AggregateBand = &footer;
    EXPECT_EQ(Eval("COUNT(Table1)"), Variant(3.0));
    EXPECT_EQ(Eval("SUM(Table1.Amount)"), Variant(12.0));
    EXPECT_EQ(Eval("MIN(Table1.Amount)"), Variant(1.0));
    EXPECT_EQ(Eval("MAX(frmHost.Table1.Amount)"), Variant(7.0));
    EXPECT_EQ(Eval("AVG(Table1.Amount)"), Variant(4.0));
    footer.Visible = false;
    EXPECT_EQ(Eval("SUM(Table1.Amount)"), Variant(0.0));
    Engine().Components.Unregister(&table);
}

TEST(Lookups, ComponentsDataSetsAndFields)
{
    TEngineFixture f;
    TfrComponentDirectory &dir = Engine().Components;
    TMemoryDataSet own(QStringLiteral("Table1"), {QStringLiteral("Name"), QStringLiteral("Long name")}, {{Variant(1), Variant(2)}});
    TMemoryDataSet other(QStringLiteral("Table2"), {QStringLiteral("Name")}, {{Variant(3)}});
    TfrUserDataset records;
    records.Name = QStringLiteral("Records");
    dir.Register(QStringLiteral("frmHost"), &own);
    dir.Register(QStringLiteral("frmHost"), &records);
    dir.Register(QStringLiteral("dmData"), &other);

    EXPECT_EQ(FindComponentByName(QStringLiteral("frmHost"), QStringLiteral("table1")), &own);
    EXPECT_EQ(FindComponentByName(QStringLiteral("frmHost"), QStringLiteral("dmData.Table2")), &other);
    EXPECT_EQ(FindComponentByName(QStringLiteral("frmHost"), QStringLiteral("Table2")), nullptr);
    EXPECT_EQ(FindComponentByName(QStringLiteral("frmHost"), QStringLiteral("nowhere.Table2")), nullptr);
    EXPECT_EQ(FindDataSet(QStringLiteral("Table1")), &own);
    EXPECT_THROW(FindDataSet(QStringLiteral("Records")), EInvalidCast);

    TDataSet *ds = nullptr;
    TField *field = nullptr;
    FindDataSetField(QStringLiteral("Table1.\"Long name\""), ds, field);
    EXPECT_EQ(ds, &own);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->Value(), Variant(2));
    FindDataSetField(QStringLiteral("dmData.Table2.Name"), ds, field);
    EXPECT_EQ(field->Value(), Variant(3));
    FindDataSetField(QStringLiteral("Table1."), ds, field); // an empty field part
    EXPECT_EQ(field, nullptr);
    EXPECT_THROW(FindDataSetField(QStringLiteral("Table1.Missing"), ds, field), EDatabaseError);
    ds = &own;
    FindDataSetField(QStringLiteral("Missing"), ds, field);
    EXPECT_EQ(field, nullptr);
    FindDataSetField(QStringLiteral("\"Name\""), ds, field);
    EXPECT_NE(field, nullptr);
    ds = nullptr;
    FindDataSetField(QStringLiteral("Name"), ds, field);
    EXPECT_EQ(field, nullptr);

    EXPECT_EQ(StripQuotes(QStringLiteral("\"a b\"")), QStringLiteral("a b"));
    EXPECT_EQ(StripQuotes(QStringLiteral("\"")), QStringLiteral("\""));
    EXPECT_EQ(StripQuotes(QString()), QString());

    QStringList list;
    ListComponentsOfClass<TDataSet>(QStringLiteral("frmHost"), list);
    EXPECT_EQ(list, (QStringList{QStringLiteral("Table1"), QStringLiteral("dmData.Table2")}));
    ListComponentsOfClass<TfrDataset>(QStringLiteral("dmData"), list);
    EXPECT_EQ(list, QStringList{QStringLiteral("frmHost.Records")});
    ListComponentsOfClass<TDataSet>(QStringLiteral("frmHost"), list, &own);
    EXPECT_EQ(list, QStringList{QStringLiteral("dmData.Table2")});

    // A component that goes away leaves the directory.
    {
        TMemoryDataSet temporary(QStringLiteral("Temp"), {}, {});
        dir.Register(QStringLiteral("frmHost"), &temporary);
        EXPECT_EQ(FindDataSet(QStringLiteral("Temp")), &temporary);
    }
    EXPECT_EQ(FindDataSet(QStringLiteral("Temp")), nullptr);
}

TEST(Lookups, BandRecordSources)
{
    TEngineFixture f;
    TfrUserDataset named;
    named.Name = QStringLiteral("05");
    Engine().Components.Register(QStringLiteral("frmHost"), &named);

    bool created = false;
    std::unique_ptr<TfrDataset> counting(OpenBandDataSet(QStringLiteral("5"), created));
    ASSERT_TRUE(created);
    EXPECT_EQ(counting->RangeEnd, reCount);
    EXPECT_EQ(counting->RangeEndCount, 5);
    EXPECT_EQ(OpenBandDataSet(QStringLiteral("05"), created), &named);
    EXPECT_FALSE(created);
    EXPECT_EQ(OpenBandDataSet(QStringLiteral("0"), created), nullptr);
    EXPECT_EQ(OpenBandDataSet(QString(), created), nullptr);
    EXPECT_THROW(OpenBandDataSet(QStringLiteral("12a"), created), EConvertError);

    TMemoryDataSet table(QStringLiteral("Table1"), {}, {});
    Engine().Components.Register(QStringLiteral("frmHost"), &table);
    EXPECT_THROW(OpenBandDataSet(QStringLiteral("Table1"), created), EInvalidCast);
}

TEST(Lookups, FontStylesAndDesignerTools)
{
    const std::tuple<int, bool, bool, bool> styles[] = {
        {3, true, true, false}, {4, false, false, true}, {8, false, false, false}, {7, true, true, true}};
    for (auto [code, italic, bold, underline] : styles) {
        const TFontStyles s = FontStyleFromCode(code);
        EXPECT_EQ(s.Italic, italic) << code;
        EXPECT_EQ(s.Bold, bold) << code;
        EXPECT_EQ(s.Underline, underline) << code;
        EXPECT_EQ(FontStyleToCode(s), code & 7);
    }

    struct Designer : TfrDesignerTools
    {
        QStringList Items;
        void AddToolItem(const QString &caption, const QVariant &, const std::function<void()> &) override
        {
            Items << caption;
        }
    };
    TfrEngineScope scope;
    RegisterDesignerTool(QStringLiteral("First"), QVariant(), [] {});
    Designer designer;
    Engine().ReportDesignerInstance = &designer;
    RegisterDesignerTool(QStringLiteral("Second"), QVariant(), [] {});
    EXPECT_EQ(Engine().DesignerToolRegistry.size(), 2u);
    EXPECT_EQ(designer.Items, QStringList{QStringLiteral("Second")});
}
