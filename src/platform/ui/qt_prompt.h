#pragma once
// The program's prompt: a modal message box over the active window.
#include "platform/prompt.h"

class TQtPrompt : public TPrompt
{
public:
    int MessageBox(const QString &text, const QString &caption, int flags) override;
    int HelpMessageBox(const QString &text, const QString &caption, int flags, int helpTopic) override;
    void Beep() override;
    bool InputQuery(const QString &caption, const QString &prompt, QString &value) override;
};
