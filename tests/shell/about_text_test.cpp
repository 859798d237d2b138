#include "shell/about_text.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

TEST(AboutText, RichTextReadsAsPlainText)
{
    const struct
    {
        const char *What, *Rtf, *Text;
    } cases[] = {
        {"code page 1251 and paragraphs", R"({\rtf1\ansi{\fonttbl{\f0 Arial;}}\f0 \'c2\'e5\'f0\'f1\'e8\'ff 1.0\par Tunvex})",
         "Версия 1.0\nTunvex"},
        {"hidden groups and formatting groups", R"({\rtf1{\colortbl;\red0\green0\blue0;}{\*\generator x;}{\b Bold}\tab{\info{\title T}}end})",
         "Bold\tend"},
        {"escaped braces and backslash", R"({\rtf1 a\{b\}c\\d})", "a{b}c\\d"},
        {"line breaks of the file are no text", "{\\rtf1 one\r\ntwo\\line three}", "onetwo\nthree"},
        {"a file that is not rich text", "Просто текст", "Просто текст"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RtfToPlainText(QByteArray(c.Rtf)), QString::fromUtf8(c.Text)) << c.What;
}

TEST(AboutText, StartFolderFirstThenTheShippedFile)
{
    QTemporaryDir start, program;
    EXPECT_EQ(ReadAboutText(start.path(), program.path()), QString());
    const auto write = [](const QString &folder, const QByteArray &text) {
        QFile f(QDir(folder).filePath(QStringLiteral("zyr.rtf")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    };
    write(program.path(), R"({\rtf1 shipped})");
    EXPECT_EQ(ReadAboutText(start.path(), program.path()), "shipped");
    write(start.path(), R"({\rtf1 own})");
    EXPECT_EQ(ReadAboutText(start.path(), program.path()), "own");

    // The build writes the file beside the program from the project's version.
    const QString shipped = ReadAboutText(QString(), QStringLiteral(TUNVEX_PROGRAM_DIR));
    EXPECT_TRUE(shipped.contains(QStringLiteral("Версия " TUNVEX_VERSION))) << shipped.toStdString();
    EXPECT_TRUE(shipped.startsWith(QStringLiteral("Zyr \"Ворбаль\"")));
}
