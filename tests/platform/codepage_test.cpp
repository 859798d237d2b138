#include "platform/codepage.h"

#include <QtCore/QSet>
#include <gtest/gtest.h>

TEST(CodePage, EveryByteSurvivesARoundTripInBothPages)
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    EXPECT_EQ(EncodeCp1251(DecodeCp1251(all)), all);
    EXPECT_EQ(EncodeCp866(DecodeCp866(all)), all);
    // Every byte maps to its own character: no two bytes share one.
    for (const QString &decoded : {DecodeCp1251(all), DecodeCp866(all)}) {
        QSet<QChar> seen(decoded.begin(), decoded.end());
        EXPECT_EQ(seen.size(), 256);
    }
}

TEST(CodePage, CyrillicLettersSitWhereEachPageHasThem)
{
    EXPECT_EQ(DecodeCp1251(QByteArray("\xC0\xFF\xA8\xB8\xB9")), QStringLiteral("АяЁё№"));
    EXPECT_EQ(DecodeCp866(QByteArray("\x80\xAF\xE0\xEF\xF0\xF1\xFC")), QStringLiteral("АпряЁё№"));
    EXPECT_EQ(EncodeCp1251(QStringLiteral("Шахта 1")), QByteArray("\xD8\xE0\xF5\xF2\xE0 1"));
}

TEST(CodePage, WesternTextsReadAsLatinOneButForTheWindowsPunctuation)
{
    EXPECT_EQ(DecodeCp1252(QByteArray("\x80\x93\x94\x81\xA0\xE9\xFF")), QString::fromUtf16(u"€“”\u0081\u00A0éÿ"));
}

TEST(CodePage, MissingCharactersBecomeQuestionMarks)
{
    EXPECT_EQ(EncodeCp1251(QStringLiteral("a╬b")), QByteArray("a?b"));
    EXPECT_EQ(EncodeCp866(QStringLiteral("€")), QByteArray("?"));
    EXPECT_EQ(OemToAnsiBytes(QByteArray("\x80\xCE")), QByteArray("\xC0?"));
    EXPECT_EQ(AnsiToOemBytes(QByteArray("\xC0\xE0z")), QByteArray("\x80\xA0z"));
}
