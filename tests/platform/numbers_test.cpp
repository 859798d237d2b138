#include "platform/numbers.h"

#include <gtest/gtest.h>

#include <QtCore/QLocale>

#include <cmath>
#include <limits>

TEST(Numbers, RoundTakesHalvesToEven)
{
    const std::pair<double, std::int64_t> cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}, {2.4999, 2}, {2.5001, 3},
    };
    for (auto [value, expected] : cases)
        EXPECT_EQ(Round(value), expected) << value;
    EXPECT_EQ(Round(1e300), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Round(-1e300), std::numeric_limits<std::int64_t>::min());
    EXPECT_EQ(Round(std::nan("")), 0);
    EXPECT_DOUBLE_EQ(RoundTo(0.125, 2), 0.12);
    EXPECT_DOUBLE_EQ(RoundTo(0.375, 2), 0.38);
}

TEST(Numbers, TextsUseADecimalComma)
{
    EXPECT_EQ(FormatFixed(1.5, 2), QStringLiteral("1,50"));
    EXPECT_EQ(FormatFixed(-0.001, 2), QStringLiteral("0,00"));
    EXPECT_EQ(FormatFixed(0.125, 2), QStringLiteral("0,12"));
    EXPECT_EQ(FormatFixed(2.5, 0), QStringLiteral("2"));
    EXPECT_EQ(FormatFixed(1.5, 2, u'.'), QStringLiteral("1.50"));
    EXPECT_EQ(FormatWD(3.14159, 8, 3), QStringLiteral("   3,142"));
    EXPECT_EQ(FormatFixedPD(1234.5678, 6, 3), QStringLiteral("1234,570"));
    EXPECT_EQ(FormatFixedPD(12.5, 7, 2), QStringLiteral("12,50"));
    EXPECT_EQ(FloatToStr(0.1), QStringLiteral("0,1"));
    EXPECT_EQ(FloatToStr(1234.5), QStringLiteral("1234,5"));
    EXPECT_EQ(FloatToStr(1e-7), QStringLiteral("1E-7"));
    EXPECT_EQ(FloatToStr(0), QStringLiteral("0"));
}

TEST(Numbers, ParsingAcceptsCommaOrPointAndRefusesTheRest)
{
    double v = -1;
    EXPECT_TRUE(TryStrToFloat(QStringLiteral(" 1,25 "), v));
    EXPECT_DOUBLE_EQ(v, 1.25);
    EXPECT_TRUE(TryStrToFloat(QStringLiteral("1.5"), v));
    EXPECT_DOUBLE_EQ(v, 1.5);
    for (const char *bad : {"", "  ", "abc", "1,2,3", "1.2.3", "1x"})
        EXPECT_FALSE(TryStrToFloat(QString::fromLatin1(bad), v)) << bad;
    int i = 0;
    EXPECT_TRUE(TryStrToInt(QStringLiteral("42"), i));
    EXPECT_EQ(i, 42);
    EXPECT_FALSE(TryStrToInt(QStringLiteral("4.2"), i));
}

TEST(Numbers, ClockTextIsRussianWhateverTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(ShortDateLongTime(QDateTime(QDate(2026, 3, 7), QTime(9, 5, 4))), "07.03.2026 9:05:04");
    EXPECT_EQ(ShortDateLongTime(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 0))), "31.12.2026 23:59:00");
    QLocale::setDefault(before);
}
