#pragma once
// Questions and messages from code that must ask the user mid-way (a newer
// file format, a full disk, a duplicate in an import). Core code calls
// ShowMessageBox; the program installs a prompt that shows a message box,
// tests install a TScriptedPrompt with the answers they want.
#include <QtCore/QString>

#include <deque>
#include <optional>
#include <vector>

// Buttons and icons, combined with |.
namespace mb {
constexpr int Ok = 0x0;
constexpr int OkCancel = 0x1;
constexpr int YesNoCancel = 0x3;
constexpr int YesNo = 0x4;
constexpr int IconError = 0x10;
constexpr int IconQuestion = 0x20;
constexpr int IconWarning = 0x30;
constexpr int IconInformation = 0x40;
// The second button is the default one (else the first).
constexpr int DefaultButton2 = 0x100;
constexpr int ButtonsMask = 0x0F;
constexpr int IconMask = 0xF0;
constexpr int DefaultMask = 0xF00;
} // namespace mb

// A message box as a command shows it.
struct TMessage
{
    QString Text;
    QString Caption;
    int Flags = 0;
};

// The message and caption literals of the program pass through this one
// place, where they could be replaced; it returns its argument.
inline QString LookupText(const QString &text) { return text; }

// Answers.
enum TModalAnswer { idOk = 1, idCancel = 2, idYes = 6, idNo = 7 };

class TPrompt
{
public:
    virtual ~TPrompt() = default;
    virtual int MessageBox(const QString &text, const QString &caption, int flags) = 0;
    // The same box with a help button besides its own ones; without a help
    // button of its own a prompt asks the plain box.
    virtual int HelpMessageBox(const QString &text, const QString &caption, int flags, int helpTopic)
    {
        return MessageBox(text, caption, flags);
    }
    // The short warning sound before a refusal or a deletion.
    virtual void Beep() {}
    // A one-line text asked with OK and "Отмена"; false when cancelled.
    virtual bool InputQuery(const QString &caption, const QString &prompt, QString &value) { return false; }
};

// The program's title: the caption of every message box that has none of its
// own, and of the box that shows an error no command handled.
extern const QString ApplicationTitle;

// The prompt in force; a box without a caption gets the program's title.
// Without a prompt installed, the first button's answer is
// taken and the text goes to the log.
int ShowMessageBox(const QString &text, const QString &caption, int flags);
// The box with the button "Справка" as well, which opens the help topic and
// leaves the box open; the answer is that of the button that closed it.
int ShowHelpMessageBox(const QString &text, const QString &caption, int flags, int helpTopic);
// The warning sound of the prompt in force (none without one).
void Beep();
// The text question of the prompt in force; without one it is cancelled.
bool InputQuery(const QString &caption, const QString &prompt, QString &value);
// Installs a prompt (nullptr restores the default); returns the previous one.
TPrompt *SetPrompt(TPrompt *prompt);

// For tests: answers from a queue (the first button's answer once it is
// empty) and records every question asked.
class TScriptedPrompt : public TPrompt
{
public:
    struct TAsked
    {
        QString Text;
        QString Caption;
        int Flags;
        int HelpTopic = 0;  // the topic of the box's help button (0: it has none)
    };

    TScriptedPrompt() : m_previous(SetPrompt(this)) {}
    ~TScriptedPrompt() override { SetPrompt(m_previous); }

    void Answer(int answer) { m_answers.push_back(answer); }
    // The text typed into the next text question; nullopt cancels it. Once
    // the queue is empty, text questions are cancelled.
    void AnswerText(std::optional<QString> text) { m_texts.push_back(std::move(text)); }
    int MessageBox(const QString &text, const QString &caption, int flags) override;
    int HelpMessageBox(const QString &text, const QString &caption, int flags, int helpTopic) override;
    void Beep() override { ++Beeps; }
    bool InputQuery(const QString &caption, const QString &prompt, QString &value) override;

    std::vector<TAsked> Asked;
    struct TQueried
    {
        QString Caption;
        QString Prompt;
        QString Start;  // the text the question started with
    };
    std::vector<TQueried> Queried;
    int Beeps = 0;

private:
    TPrompt *m_previous;
    std::deque<int> m_answers;
    std::deque<std::optional<QString>> m_texts;
};

// The answer of the first button of a button set.
int FirstButtonAnswer(int flags);
