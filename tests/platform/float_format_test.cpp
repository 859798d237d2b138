#include "platform/float_format.h"

#include <gtest/gtest.h>

TEST(FloatFormat, FiveFormats)
{
    const QChar nb(0x00A0);
    struct TCase
    {
        double Value;
        TFloatFormat Format;
        int Precision, Digits;
        QString Expected;
    };
    const TCase cases[] = {
        {0, ffGeneral, 8, 2, QStringLiteral("0")},
        {1.5, ffGeneral, 8, 2, QStringLiteral("1,5")},
        {-0.25, ffGeneral, 8, 2, QStringLiteral("-0,25")},
        {123456.789, ffGeneral, 8, 2, QStringLiteral("123456,79")},
        {1.0 / 3, ffGeneral, 8, 2, QStringLiteral("0,33333333")},
        {12345678, ffGeneral, 8, 2, QStringLiteral("12345678")},
        {123456789, ffGeneral, 8, 2, QStringLiteral("1,2345679E08")},
        {0.00001, ffGeneral, 8, 2, QStringLiteral("0,00001")},
        {0.000001, ffGeneral, 8, 0, QStringLiteral("1E-6")},
        {1234.5, ffExponent, 4, 2, QStringLiteral("1,234E+03")},  // halves to even
        {-0.5, ffExponent, 3, 0, QStringLiteral("-5,00E-1")},
        {2.5, ffFixed, 8, 2, QStringLiteral("2,50")},
        {1.23456789, ffFixed, 3, 5, QStringLiteral("1,23000")},
        {-1234567.5, ffNumber, 15, 1, QStringLiteral("-1") + nb + QStringLiteral("234") + nb + QStringLiteral("567,5")},
        {1234.5, ffCurrency, 15, 2, QStringLiteral("1") + nb + QStringLiteral("234,50 р.")},
    };
    for (const TCase &c : cases)
        EXPECT_EQ(FloatToStrF(c.Value, c.Format, c.Precision, c.Digits), c.Expected) << c.Value;
}
