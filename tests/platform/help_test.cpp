#include "platform/exceptions.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/prompt.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

TEST(Help, OpensPagesThatExistAndNamesTheMissingTopic)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    SetHelpFolder(dir.path());
    QFile page(dir.filePath("120.html"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.close();

    QStringList opened;
    SetDocumentOpener([&](const QString &target) {
        opened << target;
        return true;
    });
    TScriptedPrompt prompt;

    ShowHelpTopic(120);
    EXPECT_EQ(opened, QStringList{dir.filePath("120.html")});
    EXPECT_TRUE(prompt.Asked.empty());

    ShowHelpTopic(121);
    ShowHelpTopic(HelpContents);
    EXPECT_EQ(opened.size(), 1);
    ASSERT_EQ(prompt.Asked.size(), 2u);
    EXPECT_TRUE(prompt.Asked[0].Text.contains("121"));
    EXPECT_EQ(prompt.Asked[0].Caption, "Справка");

    SetDocumentOpener({});
    SetHelpFolder({});
}

TEST(GuardedCall, ShowsTheErrorAndGoesOn)
{
    TScriptedPrompt prompt;
    EXPECT_TRUE(GuardedCall([] {}));
    EXPECT_FALSE(GuardedCall([] { throw Exception(QStringLiteral("Файл \"a\" не найден")); }));
    EXPECT_FALSE(GuardedCall([] { throw 42; }));
    ASSERT_EQ(prompt.Asked.size(), 2u);
    EXPECT_EQ(prompt.Asked[0].Text, "Файл \"a\" не найден");
    EXPECT_EQ(prompt.Asked[0].Flags, mb::Ok | mb::IconError);
}
