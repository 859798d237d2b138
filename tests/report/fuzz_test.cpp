// Random texts through the evaluator, the value chain and the script compiler
// and runner: whatever the text, the engine raises its own exceptions or
// answers; it never crashes, hangs or overflows.
#include "report/interpreter.h"
#include "report/library.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Pieces that the languages give meaning to, mixed with single characters.
const char *const Pieces[] = {
    " ", "(", ")", "[", "]", "'", "''", "\"", ",", ";", ".", ":", ":=", "+", "-", "*", "/", "<", ">", "=",
    "<>", ">=", "<=", "%d", "%t", "1", "0", "2,5", "1e5", "a", "Memo1.Left", "x", "IF(", "COPY(", "SUM(",
    "COUNT(", "AVG(", "INT", "FRAC", "ROUND", "STR", "NOT", "AND", "OR", "MOD", "begin", "end", "if", "then",
    "else", "while", "do", "repeat", "until", "goto", "10:", "10", "//", "{", "\n", "\t", "NewPage(0)",
    "FORMATFLOAT('0.0', ", "STRTODATE('1.2.2003')", "UPPERCASE(", "Visible", "clRed", "FREESPACE", "VALUE",
    "PAGE#", "#N10,2", "#D", "#B", "MasterData1", "Table1.N", "Input(", "é", "\x01", "\x09", "\r", "1e300",
    "FORMATDATETIME('dddddd c', ", "9999999999", "#N#,##0.00", "#Ddddd", "DATE", "TIME",
};

QString RandomText(std::mt19937 &random, int maxPieces)
{
    std::uniform_int_distribution<int> count(0, maxPieces);
    std::uniform_int_distribution<int> piece(0, std::size(Pieces) - 1);
    std::uniform_int_distribution<int> raw(32, 126);
    QString text;
    const int n = count(random);
    for (int i = 0; i < n; ++i) {
        if (random() % 5 == 0)
            text += QChar(raw(random));
        else
            text += QString::fromUtf8(Pieces[piece(random)]);
    }
    return text;
}

// Runs a call and accepts the engine's own exceptions.
template <class F> void Survives(F &&call)
{
    try {
        call();
    } catch (const Exception &) {
    }
}

} // namespace

TEST(Fuzz, RandomTextsNeitherCrashNorHang)
{
    TEngineFixture f;
    TfrEngine &e = Engine();
    TMemoryDataSet table(QStringLiteral("Table1"), {QStringLiteral("N")}, {{Variant(1)}, {Variant(2)}});
    e.Components.Register(QStringLiteral("frmHost"), &table);
    TFakeObject memo(QStringLiteral("Memo1"));
    f.Page.Objects = {&memo};
    TFakeBand data(QStringLiteral("MasterData1"), btMasterData);
    TFakeBand footer(QStringLiteral("Footer1"), btMasterFooter);
    e.CurrentObject = &memo;
    e.CurrentBand = &data;
    e.AggregateBand = &footer;
    int steps = 0;
    e.StopRequested = [&] { return ++steps % 20 == 0; };
    f.Report.OnUserFunction = [](const QString &name, const Variant &p1, const Variant &, const Variant &,
                                 QString &val) { val = p1.ToString() + name; };
    e.InputBox = [](const QString &, const QString &, const QString &def) { return def; };

    std::mt19937 random(20261210);
    for (int round = 0; round < 4000; ++round) {
        const QString text = RandomText(random, 12);
        footer.Visible = round % 2;
        TParser parser;
        parser.OnValue = [](const QString &name, Variant &v) { v = Variant(static_cast<int>(name.size())); };
        Survives([&] { parser.Evaluate(text); });
        Survives([&] { f.Report.GetFormattedValue(text); });
        int start = 1, stop = 0;
        ExtractBracketed(text, start, stop);
        DoubleInnerQuotes(text);

        QStringList source = text.split(u'\n');
        QStringList coded, errors;
        e.ReportInterpreter->Compile(source, coded, errors);
        Survives([&] { e.ReportInterpreter->Run(coded); });
        // Scripts with a frame that compiles more often.
        source = {QStringLiteral("begin"), RandomText(random, 8) + u';', RandomText(random, 8), QStringLiteral("end")};
        e.ReportInterpreter->Compile(source, coded, errors);
        Survives([&] { e.ReportInterpreter->Run(coded); });
    }
    // Long and deeply nested texts.
    Survives([&] { f.Report.GetFormattedValue(QString(5000, u'(') + u'1' + QString(5000, u')')); });
    Survives([&] { f.Report.GetFormattedValue(QString(3000, u'[') + u'x' + QString(3000, u']')); });
    Survives([&] { f.Report.GetFormattedValue(QStringLiteral("IF(1,").repeated(500) + u'1'); });
    QStringList coded, errors;
    e.ReportInterpreter->Compile({QStringLiteral("a := ") + QString(5000, u'(') + u'1' + QString(5000, u')')}, coded,
                                 errors);
    EXPECT_FALSE(errors.isEmpty());
    e.ReportInterpreter->Compile({QStringLiteral("begin ").repeated(5000)}, coded, errors);
    EXPECT_FALSE(errors.isEmpty());
    e.ReportInterpreter->Compile({QStringLiteral("a := 1").append(QStringLiteral(" + 1").repeated(20000))}, coded,
                                 errors);
    EXPECT_TRUE(errors.isEmpty());
    e.Components.Unregister(&table);
}
