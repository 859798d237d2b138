#include "report/formats.h"
#include "report/variant.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

TEST(Variant, ConversionsFollowTheRussianConventions)
{
    const double date = EncodeDate(2003, 2, 1);
    const double time = EncodeTime(10, 30, 0);
    const std::pair<Variant, const char *> texts[] = {
        {Variant(), ""},
        {Variant::Null(), ""},
        {Variant(-12), "-12"},
        {Variant(1.5), "1,5"},
        {Variant(1e-7), "1E-7"},
        {Variant(true), "True"},
        {Variant::FromDateTime(date), "01.02.2003"},
        {Variant::FromDateTime(date + time), "01.02.2003 10:30:00"},
        {Variant(QStringLiteral("текст")), "текст"},
    };
    for (const auto &[value, text] : texts)
        EXPECT_EQ(value.ToString(), QString::fromUtf8(text)) << text;

    EXPECT_EQ(Variant(QStringLiteral(" 1,25 ")).ToDouble(), 1.25);
    EXPECT_EQ(Variant(QStringLiteral("2.5")).ToInt(), 2); // halves to even
    EXPECT_EQ(Variant(true).ToDouble(), -1);
    EXPECT_EQ(Variant().ToDouble(), 0);
    EXPECT_EQ(Variant(QStringLiteral("01.02.2003 10:30")).ToDateTime(), date + time);
    for (const char *bad : {"", "abc", "inf", "nan", "1,2,3"})
        EXPECT_THROW(Variant(QString::fromUtf8(bad)).ToDouble(), EVariantError) << bad;
    EXPECT_THROW(Variant::Null().ToDouble(), EVariantError);
    EXPECT_THROW(Variant(1e20).ToInt(), EVariantError);
}

TEST(Variant, ArithmeticKeepsKindsAndPropagatesNull)
{
    EXPECT_EQ(VarAdd(Variant(2), Variant(3)), Variant(5));
    EXPECT_EQ(VarAdd(Variant(2147483647), Variant(1)), Variant(2147483648.0)); // no overflow
    EXPECT_EQ(VarAdd(Variant(QStringLiteral("a")), Variant()), Variant(QStringLiteral("a")));
    EXPECT_EQ(VarAdd(Variant(QStringLiteral("2")), Variant(3)), Variant(5.0));
    EXPECT_TRUE(VarAdd(Variant::Null(), Variant(1)).IsNull());
    EXPECT_EQ(VarSub(Variant::FromDateTime(10), Variant(1)), Variant::FromDateTime(9));
    EXPECT_EQ(VarSub(Variant::FromDateTime(10), Variant::FromDateTime(4)), Variant(6.0));
    EXPECT_EQ(VarMul(Variant(true), Variant(3)), Variant(-3));
    EXPECT_EQ(VarMod(Variant(-7), Variant(3)), Variant(-1));
    EXPECT_THROW(VarMod(Variant(1), Variant(0)), EDivByZero);
    EXPECT_EQ(VarNeg(Variant(-2147483647 - 1)), Variant(2147483648.0));

    EXPECT_EQ(VarCompare(Variant(QStringLiteral("abc")), Variant(QStringLiteral("abd"))), -1);
    EXPECT_EQ(VarCompare(Variant(QStringLiteral("10")), Variant(9)), 1); // a text meets a number as a number
    EXPECT_EQ(VarCompare(Variant(), Variant(0)), 0);
    EXPECT_EQ(VarCompare(Variant(), Variant(QString())), 0);
    EXPECT_EQ(VarCompare(Variant::Null(), Variant::Null()), 0);
    EXPECT_EQ(VarCompare(Variant::Null(), Variant(-5)), -1);
    EXPECT_THROW(VarCompare(Variant(QStringLiteral("x")), Variant(1)), EVariantError);
    EXPECT_EQ(FloatToExprText(1e-7), QStringLiteral("0,0000001"));
    EXPECT_EQ(FloatToExprText(-2.5), QStringLiteral("-2,5"));
}

TEST(Formats, DatesAndTimes)
{
    const double when = EncodeDate(2003, 2, 1) + EncodeTime(9, 5, 7, 45);
    const std::pair<const char *, const char *> cases[] = {
        {"dd.mm.yyyy", "01.02.2003"},
        {"d/m/yy", "1.2.03"},
        {"d mmm yyyy", "1 фев 2003"},
        {"dddd, d mmmm", "суббота, 1 февраля"},
        {"mmmm yyyy", "Февраль 2003"}, // without a day the month is named as it stands
        {"ddd", "Сб"},
        {"hh:nn:ss.zzz", "09:05:07.045"},
        {"h:mm", "9:05"}, // minutes right after an hour
        {"hh:nn am/pm", "09:05 am"},
        {"'Дата:' dd.mm", "Дата: 01.02"},
        {"c", "01.02.2003 9:05:07"},
        {"ddddd", "01.02.2003"},
        {"t", "9:05"},
    };
    for (const auto &[pattern, text] : cases)
        EXPECT_EQ(FormatDateTime(QString::fromUtf8(pattern), when), QString::fromUtf8(text)) << pattern;
    EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 12, 10)), QStringLiteral("10.12.2026"));

    double days = 0;
    EXPECT_TRUE(TryStrToDate(QStringLiteral("1.2.2003"), days));
    EXPECT_EQ(days, EncodeDate(2003, 2, 1));
    EXPECT_TRUE(TryStrToDate(QStringLiteral("01.02.03"), days));
    EXPECT_EQ(days, EncodeDate(2003, 2, 1));
    EXPECT_TRUE(TryStrToDate(QStringLiteral("01.02.99"), days));
    EXPECT_EQ(days, EncodeDate(1999, 2, 1));
    EXPECT_TRUE(TryStrToTime(QStringLiteral("23:59:59"), days));
    for (const char *bad : {"31.02.2003", "1.13.2003", "1", "a.b.c", "1.2.3.4", ""})
        EXPECT_FALSE(TryStrToDate(QString::fromUtf8(bad), days)) << bad;
    for (const char *bad : {"24:00", "10:60", "1:2:3:4", "x", ""})
        EXPECT_FALSE(TryStrToTime(QString::fromUtf8(bad), days)) << bad;
}

TEST(Formats, NumberPatterns)
{
    struct Case
    {
        const char *pattern;
        double value;
        const char *text;
    };
    const Case cases[] = {
        {"0", 1234, "1234"},
        {"0.00", 0.5, "0,50"},
        {"#.##", 0.5, ",5"},
        {"#.##", 0, ""},
        {"#,##0.00", 1234567.891, "1 234 567,89"},
        {"#,##0.00", -1234, "-1 234,00"},
        {"#,##0.00;(#,##0.00)", -1234, "(1 234,00)"},
        {"#,##0.00;;Zero", 0, "Zero"},
        {"0.000E+00", 1234, "1,234E+03"},
        {"0.000E+00", 0.5, "5,000E-01"},
        {"#.###E-0", 1234, "1,234E3"},
        {"0.0 'м³/с'", 12.25, "12,2 м³/с"}, // halves to even
        {"000", 7, "007"},
        {"", 2.5, "2,5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FormatFloatPattern(QString::fromUtf8(c.pattern), c.value), QString::fromUtf8(c.text)) << c.pattern;
    EXPECT_EQ(FormatFloatFixed(1234567.125, 15, 2, u',', true), QStringLiteral("1 234 567,12"));
    EXPECT_EQ(FormatFloatFixed(-5, 15, 1, u'.', false), QStringLiteral("-5.0"));
}
