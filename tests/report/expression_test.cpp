#include "report/expression.h"
#include "report/formats.h"
#include "report_test_support.h"

#include <QtCore/QRegularExpression>

#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *expression;
    Variant expected;
};

Variant Str(const char *text)
{
    return Variant(QString::fromUtf8(text));
}

} // namespace

TEST(Expression, OperatorsFollowTheEnginesPrioritiesAndCodes)
{
    const Case cases[] = {
        {"2 + 3 * 4", Variant(14)},
        {"(2 + 3) * 4", Variant(20)},
        {"(1 > 0) AND (2 > 1)", Variant(1)},
        {"1 > 0 AND 2 > 1", Variant(0)}, // (1 > (0 AND 2)) > 1
        {"(1 > 0) OR (2 > 1)", Variant(2)},
        {"10 / 0", Variant(0)},
        {"7 / 2", Variant(3.5)},
        {"7 MOD 3", Variant(1)},
        {"-3 + 1", Variant(-2)},
        {"2 * -3", Variant(-6)},
        {"1 - -1", Variant(2)},
        {"NOT 0", Variant(1)},
        {"NOT 5", Variant(0)},
        {"1,5 + 1.5", Variant(3.0)},
        {"'it''s'", Str("it's")},
        {"'a' + 'b'", Str("ab")},
        {"'b' > 'a'", Variant(1)},
        {"'5' + 1", Variant(6.0)},
        {"ROUND(2.5)", Variant(2)},
        {"ROUND(3.5)", Variant(4)},
        {"ROUND(1e300)", Variant(1e300)}, // beyond the integers: stays a double
        {"INT(-2.7)", Variant(-2.0)},
        {"FRAC(2.25)", Variant(0.25)},
        {"STR(2) + 'x'", Str("2x")},
        {"INT(2.7) + 1", Variant(3.0)},
        {"1e5", Variant(100000.0)},
        {"8 - 2 - 1", Variant(5)},
        {"2 <> 3", Variant(1)},
        {"2 >= 3", Variant(0)},
        {"2 <= 3", Variant(1)},
        {"", Variant()},
        {"1; 2", Variant(1.0)},
    };
    for (const auto &c : cases) {
        TParser parser;
        const Variant v = parser.Evaluate(QString::fromUtf8(c.expression));
        // Numbers compare by value: literals are doubles, results of integer
        // operators integers.
        if (c.expected.IsNumeric() && v.IsNumeric())
            EXPECT_DOUBLE_EQ(v.ToDouble(), c.expected.ToDouble()) << c.expression;
        else
            EXPECT_EQ(v, c.expected) << c.expression << " gave " << v.ToString().toStdString();
    }
}

TEST(Expression, ResultKindsAreThoseOfTheOperators)
{
    TParser parser;
    EXPECT_EQ(parser.Evaluate(QStringLiteral("1 > 0")).type(), Variant::Type::Integer);
    EXPECT_EQ(parser.Evaluate(QStringLiteral("ROUND(2.6)")), Variant(3));
    EXPECT_EQ(parser.Evaluate(QStringLiteral("10 / 0")), Variant(0));
    EXPECT_EQ(parser.Evaluate(QStringLiteral("1.5")).type(), Variant::Type::Double);
    const Variant date = parser.Evaluate(QStringLiteral("%d'01.02.2003'"));
    EXPECT_EQ(date.type(), Variant::Type::DateTime);
    EXPECT_EQ(date.ToDateTime(), EncodeDate(2003, 2, 1));
    const Variant time = parser.Evaluate(QStringLiteral("%t'10:30'"));
    EXPECT_EQ(time.type(), Variant::Type::DateTime);
    EXPECT_DOUBLE_EQ(time.ToDateTime(), EncodeTime(10, 30, 0));
}

TEST(Expression, PostfixTextUsesOperatorCodes)
{
    TParser parser;
    EXPECT_EQ(parser.ConvertToPostfix(QStringLiteral("2 + 3 * 4")), QStringLiteral("2 3 4 *+"));
    EXPECT_EQ(parser.ConvertToPostfix(QStringLiteral("a >= b")), QStringLiteral("a b ") + QChar(1));
    EXPECT_EQ(parser.ConvertToPostfix(QStringLiteral("-x")), QStringLiteral("x ") + QChar(9));
    EXPECT_EQ(parser.ConvertToPostfix(QStringLiteral("NOT x MOD y")),
              QStringLiteral("x ") + QChar(12) + QStringLiteral("y ") + QChar(13));
    EXPECT_EQ(parser.ConvertToPostfix(QStringLiteral("[a b] + 'c d'")), QStringLiteral("[a b] 'c d' +"));
}

TEST(Expression, NamesReachTheValueCallback)
{
    TParser parser;
    QStringList asked;
    parser.OnValue = [&](const QString &name, Variant &value) {
        asked << name;
        value = Variant(2);
    };
    EXPECT_EQ(parser.Evaluate(QStringLiteral("total * [total] + ds.\"my field\"")), Variant(6));
    EXPECT_EQ(asked, (QStringList{QStringLiteral("TOTAL"), QStringLiteral("total"), QStringLiteral("DS.\"MY FIELD\"")}));

    // "SUM (x)": a blank before the parenthesis makes no call; both names are
    // evaluated and the first is the result.
    asked.clear();
    bool called = false;
    parser.OnFunction = [&](const QString &, const Variant &, const Variant &, const Variant &, QString &) {
        called = true;
    };
    parser.Evaluate(QStringLiteral("SUM (x)"));
    EXPECT_FALSE(called);
    EXPECT_EQ(asked, (QStringList{QStringLiteral("SUM"), QStringLiteral("X")}));

    // A semicolon ends the expression: in "a; b" only a is evaluated.
    asked.clear();
    parser.Evaluate(QStringLiteral("a; b"));
    EXPECT_EQ(asked, QStringList{QStringLiteral("A")});

    // Without a value callback a name is an empty value.
    TParser bare;
    EXPECT_TRUE(bare.Evaluate(QStringLiteral("x")).IsEmpty());
    EXPECT_EQ(bare.Evaluate(QStringLiteral("x + 1")), Variant(1.0));
}

TEST(Expression, IfAndCopyAreExpandedWhileConverting)
{
    TParser parser;
    QStringList asked;
    parser.OnValue = [&](const QString &name, Variant &value) {
        asked << name;
        value = Variant(1);
    };
    EXPECT_EQ(parser.Evaluate(QStringLiteral("IF(1 > 0, 'yes', no)")), Str("yes"));
    EXPECT_TRUE(asked.isEmpty()); // the other branch is never evaluated
    EXPECT_EQ(parser.Evaluate(QStringLiteral("IF(0.5, 1, 2)")), Variant(2.0));
    EXPECT_EQ(parser.Evaluate(QStringLiteral("COPY('abcdef', 2, 3)")), Str("bcd"));
    EXPECT_EQ(parser.Evaluate(QStringLiteral("COPY('it''s', 1, 4) + '!'")), Str("it's!"));
    EXPECT_EQ(parser.ConvertToPostfix(QStringLiteral("COPY('abc', 2, 1)")), QStringLiteral("'b' "));
    EXPECT_EQ(parser.Evaluate(QStringLiteral("IF(1, COPY('abc', 3, 1), 'x') + 'y'")), Str("cy"));
}

TEST(Expression, UnknownFunctionsAreAnsweredWithExpressionText)
{
    TParser parser;
    QString gotName;
    Variant got[3];
    parser.OnFunction = [&](const QString &name, const Variant &p1, const Variant &p2, const Variant &p3,
                            QString &val) {
        gotName = name;
        got[0] = p1;
        got[1] = p2;
        got[2] = p3;
        if (name == QLatin1String("TWICE"))
            val = QStringLiteral("2 * ") + p1.ToString();
        else if (name == QLatin1String("QUOTE"))
            val = QStringLiteral("'it's'"); // a host that forgot to double its quote
        else
            val = QStringLiteral("0");
    };
    EXPECT_EQ(parser.Evaluate(QStringLiteral("twice(3) + 1")), Variant(7.0));
    EXPECT_EQ(gotName, QStringLiteral("TWICE"));
    EXPECT_EQ(got[0], Str("3"));
    EXPECT_TRUE(got[1].IsEmpty());
    EXPECT_EQ(parser.Evaluate(QStringLiteral("QUOTE()")), Str("it's"));

    // Four arguments arrive as the first, the third and an empty one; commas
    // inside quotes and nested calls do not split.
    parser.Evaluate(QStringLiteral("F(a, 'b,c', g(d, e), h)"));
    EXPECT_EQ(got[0], Str("a"));
    EXPECT_EQ(got[1], Str("g(d, e)"));
    EXPECT_TRUE(got[2].IsEmpty());
    parser.Evaluate(QStringLiteral("F(a, 'b,c')"));
    EXPECT_EQ(got[1], Str("'b,c'"));

    // Without a function callback the call is nothing.
    TParser bare;
    EXPECT_TRUE(bare.Evaluate(QStringLiteral("F(1)")).IsEmpty());
}

TEST(Expression, FaultyTextsRaiseInsteadOfCrashingOrHanging)
{
    const char *errors[] = {
        "1 +", ")", "1)", "(1", "* 2", "'a' * 2", "7 MOD 0", "5abc", "1e-5", "1.2.3", "%d'31.02.2003'", "%t'25:00'",
        "IF('x', 1, 2)",
    };
    for (const char *text : errors) {
        TParser parser;
        try {
            parser.Evaluate(QString::fromUtf8(text));
            ADD_FAILURE() << text << " raised nothing";
        } catch (const Exception &e) {
            // The message reaches the user as it stands: in Russian.
            EXPECT_TRUE(e.Message().contains(QRegularExpression(QStringLiteral("[а-яА-Я]{4}"))))
                << text << ": " << e.Message().toStdString();
        }
    }

    // Texts that never close end at the end of the text.
    TParser parser;
    EXPECT_EQ(parser.Evaluate(QStringLiteral("'abc")), Str("abc"));
    parser.OnValue = [](const QString &name, Variant &value) { value = Variant(name); };
    EXPECT_EQ(parser.Evaluate(QStringLiteral("ds.\"field")), Str("DS.\"FIELD\""));
    EXPECT_EQ(parser.Evaluate(QStringLiteral("[abc")), Str("ab"));

    // A function whose answer calls itself again is stopped.
    parser.OnFunction = [](const QString &, const Variant &, const Variant &, const Variant &, QString &val) {
        val = QStringLiteral("F(1)");
    };
    EXPECT_THROW(parser.Evaluate(QStringLiteral("F(1)")), EParserError);

    // A name answered by evaluating itself is stopped as well.
    TParser selfish;
    selfish.OnValue = [&](const QString &name, Variant &value) { value = selfish.Evaluate(name + u'1'); };
    EXPECT_THROW(selfish.Evaluate(QStringLiteral("x")), EParserError);

    // More values than the classic stack of eight.
    TParser deep;
    EXPECT_EQ(deep.Evaluate(QStringLiteral("1+(2+(3+(4+(5+(6+(7+(8+(9+(10+11)))))))))")), Variant(66.0));
}

TEST(Expression, ExtractBracketedHonoursNestingAndQuotes)
{
    struct BracketCase
    {
        const char *text;
        int start;
        const char *content;
        int stop;
    };
    const BracketCase cases[] = {
        {"[a]", 1, "a", 3},
        {"x [a [b] c] y", 3, "a [b] c", 11},
        {"[a ']' b]", 1, "a ']' b", 9},
        {"[a \"]\" b]", 1, "a \"]\" b", 9},
        {"[abc", 1, "ab", 4},
        {"abc", 1, "", 1},
        {"", 1, "", 1},
    };
    for (const auto &c : cases) {
        int start = c.start, stop = 0;
        EXPECT_EQ(ExtractBracketed(QString::fromUtf8(c.text), start, stop), QString::fromUtf8(c.content)) << c.text;
        if (*c.text) {
            EXPECT_EQ(stop, c.stop) << c.text;
        }
    }
}

TEST(Expression, DoubleInnerQuotesRepairsOnlyLoneQuotes)
{
    EXPECT_EQ(DoubleInnerQuotes(QStringLiteral("'it's'")), QStringLiteral("'it''s'"));
    EXPECT_EQ(DoubleInnerQuotes(QStringLiteral("'it''s'")), QStringLiteral("'it''s'"));
    EXPECT_EQ(DoubleInnerQuotes(QStringLiteral("'a' + 'b'")), QStringLiteral("'a' + 'b'"));
    EXPECT_EQ(DoubleInnerQuotes(QStringLiteral("'a' OR 'b'")), QStringLiteral("'a' OR 'b'"));
    EXPECT_EQ(DoubleInnerQuotes(QStringLiteral("2 * x")), QStringLiteral("2 * x"));
    EXPECT_EQ(QuoteStr(QStringLiteral("it's")), QStringLiteral("'it''s'"));
}
