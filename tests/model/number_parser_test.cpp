#include "model/number_parser.h"
#include "platform/exceptions.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Pairs = std::vector<std::pair<int, int>>;

Pairs ReadGlobal(const QString &text)
{
    SetParseText(text);
    Pairs pairs;
    int first = 0, last = 0;
    while (ParseNextRange(first, last))
        pairs.emplace_back(first, last);
    return pairs;
}

Pairs ReadComponent(const QString &text)
{
    TxqParser parser(text);
    Pairs pairs;
    int first = 0, last = 0;
    while (parser.NextRange(first, last))
        pairs.emplace_back(first, last);
    return pairs;
}

} // namespace

TEST(NumberListParser, ListsReadTheSameByBothReaders)
{
    const std::pair<const char *, Pairs> cases[] = {
        {"1-10, 15 20..25", {{1, 10}, {15, 15}, {20, 25}}},
        {"-5", {{1, 5}}},
        {"  ,,7", {{7, 7}}},
        {"5..3", {{5, 3}}},
        {"1-3", {{1, 3}}},
        {"1.5", {}},
        {"1,2,", {{1, 1}, {2, 2}}},
        {"12x", {}},
        {"", {}},
        {"7-", {{7, 7}}},
        {"7-, 9", {{7, 7}, {9, 9}}},
        {"3;4- 6", {{3, 3}, {4, 6}}},
        {"4 - 6", {{4, 4}}}, // blanks are skipped only after the range sign
    };
    for (const auto &[text, expected] : cases) {
        EXPECT_EQ(ReadGlobal(QString::fromLatin1(text)), expected) << text;
        EXPECT_EQ(ReadComponent(QString::fromLatin1(text)), expected) << text;
    }
}

TEST(NumberListParser, WordsAreSkippedOnlyByTheGlobalReader)
{
    EXPECT_EQ(ReadGlobal(QStringLiteral("3, abc 9")), (Pairs{{3, 3}, {9, 9}}));
    // The component reads a letter as "other", which it skips before a number too.
    EXPECT_EQ(ReadComponent(QStringLiteral("3, abc 9")), (Pairs{{3, 3}, {9, 9}}));
    EXPECT_EQ(ReadGlobal(QStringLiteral("3 . 4")), (Pairs{{3, 3}, {4, 4}}));
}

TEST(NumberListParser, SettingTheTextRestartsAndHugeNumbersThrow)
{
    TxqParser parser(QStringLiteral("1 2"));
    int first = 0, last = 0;
    ASSERT_TRUE(parser.NextRange(first, last));
    parser.SetText(QStringLiteral("8"));
    ASSERT_TRUE(parser.NextRange(first, last));
    EXPECT_EQ(first, 8);
    EXPECT_FALSE(parser.NextRange(first, last));
    EXPECT_FALSE(parser.NextRange(first, last)); // the end reads as the end again

    SetParseText(QStringLiteral("99999999999"));
    EXPECT_THROW(ParseNextRange(first, last), EConvertError);
}
