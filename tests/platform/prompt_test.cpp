#include "platform/prompt.h"

#include <gtest/gtest.h>

TEST(Prompt, ScriptedAnswersThenTheFirstButton)
{
    TScriptedPrompt prompt;
    prompt.Answer(idNo);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Сохранить?"), QStringLiteral("Вопрос"), mb::YesNoCancel | mb::IconQuestion), idNo);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Ещё?"), QStringLiteral("Вопрос"), mb::YesNo), idYes);
    EXPECT_EQ(ShowMessageBox(QStringLiteral("Готово"), QString(), mb::Ok), idOk);
    ASSERT_EQ(prompt.Asked.size(), 3u);
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("Вопрос"));
    EXPECT_EQ(prompt.Asked[2].Caption, QStringLiteral("Zyr \"Ворбаль\""));  // a box without a caption
    EXPECT_EQ(prompt.Asked[0].Flags & mb::IconMask, mb::IconQuestion);
}
