#include "model/helpers.h"
#include "platform/prompt.h"

#include <gtest/gtest.h>

TEST(Helpers, Texts)
{
    EXPECT_EQ(AddTrailingSlash(QStringLiteral("/a/b")), QStringLiteral("/a/b/"));
    EXPECT_EQ(AddTrailingSlash(QStringLiteral("/a/b/")), QStringLiteral("/a/b/"));
    EXPECT_EQ(AddTrailingSlash(QString()), QString());
    EXPECT_EQ(ReplaceFileNameChars(QStringLiteral("a:b/c")), QStringLiteral("a b c"));
    EXPECT_EQ(ReplaceFileNameChars(QStringLiteral("\"*<>?\\|Ш")), QStringLiteral("       Ш"));
    EXPECT_EQ(UpperCaseAscii(QStringLiteral("abzшA")), QStringLiteral("ABZшA"));
    EXPECT_EQ(StripSpaces(QStringLiteral(" a b\tc ")), QStringLiteral("ab\tc"));
    EXPECT_EQ(ExtractFolder(QStringLiteral("/home/x/Шахты/Демо.mine")), QStringLiteral("/home/x/Шахты/"));
    EXPECT_EQ(ExtractFolder(QStringLiteral("C:\\a\\b.mine")), QStringLiteral("C:\\a\\"));
    EXPECT_EQ(ExtractFolder(QStringLiteral("b.mine")), QString());
    EXPECT_EQ(IfThenStr(false, QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("b"));
}

TEST(Helpers, SnapToStep)
{
    const std::pair<double, double> cases[] = {{14, 10}, {15, 20}, {16, 20}, {-13, -10}, {20, 20}, {0, 0}};
    for (auto [value, expected] : cases)
        EXPECT_DOUBLE_EQ(SnapToStep(value, 10), expected) << value;
}

TEST(Helpers, RectanglesAndCorners)
{
    const TRect r{0, 0, 10, 20};
    for (TPoint p : {TPoint{0, 0}, TPoint{10, 5}, TPoint{5, 20}, TPoint{0, 20}})
        EXPECT_TRUE(PointInRect(p, r));
    EXPECT_FALSE(PointInRect({11, 5}, r));
    EXPECT_EQ(WidenRect({0, 0, 1000, 500}, 0.01), (TRect{-10, -5, 1010, 505}));
    EXPECT_EQ(NearestRectCorner(0, 0, 10, 10, {5, 5}), (TPoint{0, 0}));
    EXPECT_EQ(NearestRectCorner(0, 0, 10, 10, {9, 8}), (TPoint{10, 10}));
    EXPECT_EQ(NearestRectCorner(0, 0, 10, 10, {9, 1}), (TPoint{10, 0}));
}

TEST(Helpers, SegmentDistanceAndFoot)
{
    double d = -1;
    EXPECT_TRUE(SegmentDistance2({0, 0}, {10, 0}, {5, 3}, d));
    EXPECT_DOUBLE_EQ(d, 9);
    EXPECT_FALSE(SegmentDistance2({0, 0}, {10, 0}, {15, 3}, d));
    EXPECT_FALSE(SegmentDistance2({4, 4}, {4, 4}, {7, 8}, d));
    EXPECT_EQ(d, 0);
    EXPECT_EQ(FootOnLine({0, 0}, {10, 0}, {5, 3}), (TPoint{5, 0}));
    EXPECT_EQ(FootOnLine({0, 0}, {10, 10}, {10, 0}), (TPoint{5, 5}));
}

TEST(Helpers, PercentDifference)
{
    EXPECT_DOUBLE_EQ(PercentDifference(50, 60), 20);
    EXPECT_DOUBLE_EQ(PercentDifference(0, 0), 0);
    EXPECT_DOUBLE_EQ(PercentDifference(0, 0.00005), 0);
    EXPECT_DOUBLE_EQ(PercentDifference(0, 0.0005), 0);
    EXPECT_DOUBLE_EQ(PercentDifference(0, 5), 100);
}

TEST(Helpers, ReverseList)
{
    std::vector<int> v{1, 2, 3, 4, 5};
    ReverseList(v);
    EXPECT_EQ(v, (std::vector<int>{5, 4, 3, 2, 1}));
}

TEST(Helpers, StrInDReadsCommaAndRefusesWithTheRange)
{
    TScriptedPrompt prompt;
    double value = 2;
    EXPECT_TRUE(StrInD(QStringLiteral("0,5"), value, 0.01, 10, 7, 2));
    EXPECT_DOUBLE_EQ(value, 0.5);
    EXPECT_TRUE(prompt.Asked.empty());

    struct TCase
    {
        const char *Text;
        const char *Message;
    };
    const TCase refused[] = {
        {"0.005", "Число вне допустимого диапазона: \r   0.01 ...   10.00 !"},
        {"10.01", "Число вне допустимого диапазона: \r   0.01 ...   10.00 !"},
        {"abc", "Число ==> abc набрано с ошибками !\r"},
        {"1,2,3", "Число ==> 1,2,3 набрано с ошибками !\r"},
        {"nan", "Число ==> nan набрано с ошибками !\r"},
        {"", "Число ==>  набрано с ошибками !\r"},
    };
    for (const TCase &c : refused) {
        prompt.Asked.clear();
        EXPECT_FALSE(StrInD(QString::fromUtf8(c.Text), value, 0.01, 10, 7, 2)) << c.Text;
        EXPECT_DOUBLE_EQ(value, 0.5) << c.Text;
        ASSERT_EQ(prompt.Asked.size(), 1u) << c.Text;
        EXPECT_EQ(prompt.Asked[0].Text, QString::fromUtf8(c.Message));
        EXPECT_EQ(prompt.Asked[0].Flags & mb::IconMask, mb::IconWarning);
    }
    EXPECT_EQ(CommaToPoint(QStringLiteral("1,5,")), QStringLiteral("1.5."));
    // The branch dialog passes negative widths: no padding then.
    EXPECT_EQ(FormatFixedStr(999, -10, 5), QStringLiteral("999.00000"));
    EXPECT_EQ(FormatFixedStr(0.1, 7, 1), QStringLiteral("    0.1"));
}
