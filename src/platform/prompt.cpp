#include "platform/prompt.h"

#include <QtCore/QDebug>

const QString ApplicationTitle = QStringLiteral("Zyr \"Ворбаль\"");

namespace {
TPrompt *g_prompt = nullptr;
}

int FirstButtonAnswer(int flags)
{
    switch (flags & mb::ButtonsMask) {
    case mb::YesNo:
    case mb::YesNoCancel:
        return idYes;
    default:
        return idOk;
    }
}

namespace {
// The box through the prompt in force, with a help button when a topic is given.
int AskPrompt(const QString &text, const QString &givenCaption, int flags, std::optional<int> helpTopic)
{
    const QString &caption = givenCaption.isEmpty() ? ApplicationTitle : givenCaption;
    if (g_prompt)
        return helpTopic ? g_prompt->HelpMessageBox(text, caption, flags, *helpTopic)
                         : g_prompt->MessageBox(text, caption, flags);
    qWarning().noquote() << caption << ":" << text;
    return FirstButtonAnswer(flags);
}
} // namespace

int ShowMessageBox(const QString &text, const QString &caption, int flags)
{
    return AskPrompt(text, caption, flags, std::nullopt);
}

int ShowHelpMessageBox(const QString &text, const QString &caption, int flags, int helpTopic)
{
    return AskPrompt(text, caption, flags, helpTopic);
}

void Beep()
{
    if (g_prompt)
        g_prompt->Beep();
}

bool InputQuery(const QString &caption, const QString &prompt, QString &value)
{
    return g_prompt && g_prompt->InputQuery(caption, prompt, value);
}

TPrompt *SetPrompt(TPrompt *prompt)
{
    TPrompt *previous = g_prompt;
    g_prompt = prompt;
    return previous;
}

int TScriptedPrompt::MessageBox(const QString &text, const QString &caption, int flags)
{
    Asked.push_back({text, caption, flags, 0});
    if (m_answers.empty())
        return FirstButtonAnswer(flags);
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

int TScriptedPrompt::HelpMessageBox(const QString &text, const QString &caption, int flags, int helpTopic)
{
    const int answer = MessageBox(text, caption, flags);
    Asked.back().HelpTopic = helpTopic;
    return answer;
}

bool TScriptedPrompt::InputQuery(const QString &caption, const QString &prompt, QString &value)
{
    Queried.push_back({caption, prompt, value});
    if (m_texts.empty())
        return false;
    std::optional<QString> text = std::move(m_texts.front());
    m_texts.pop_front();
    if (!text)
        return false;
    value = *text;
    return true;
}
