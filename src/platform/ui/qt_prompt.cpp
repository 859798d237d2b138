#include "platform/ui/qt_prompt.h"

#include "platform/help.h"

#include <QtWidgets/QApplication>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

namespace {

int RunMessageBox(const QString &text, const QString &caption, int flags, std::optional<int> helpTopic)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(caption);
    // "\r" starts a new line in the system's texts.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    box.setText(shown);
    switch (flags & mb::IconMask) {
    case mb::IconError: box.setIcon(QMessageBox::Critical); break;
    case mb::IconQuestion: box.setIcon(QMessageBox::Question); break;
    case mb::IconWarning: box.setIcon(QMessageBox::Warning); break;
    case mb::IconInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct TChoice { QMessageBox::StandardButton Button; const char *Caption; int Answer; };
    std::vector<TChoice> choices;
    switch (flags & mb::ButtonsMask) {
    case mb::OkCancel: choices = {{QMessageBox::Ok, "OK", idOk}, {QMessageBox::Cancel, "Отмена", idCancel}}; break;
    case mb::YesNo: choices = {{QMessageBox::Yes, "Да", idYes}, {QMessageBox::No, "Нет", idNo}}; break;
    case mb::YesNoCancel:
        choices = {{QMessageBox::Yes, "Да", idYes}, {QMessageBox::No, "Нет", idNo}, {QMessageBox::Cancel, "Отмена", idCancel}};
        break;
    default: choices = {{QMessageBox::Ok, "OK", idOk}}; break;
    }
    for (const TChoice &c : choices)
        box.addButton(c.Button)->setText(QString::fromUtf8(c.Caption));
    if (helpTopic) {
        QPushButton *help = box.addButton(QMessageBox::Help);
        help->setText(QStringLiteral("Справка"));
        // Help is asked without giving an answer: the box's own closing on
        // every button is cut off, and the box stays while the topic opens.
        QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
        QObject::connect(help, &QAbstractButton::clicked, &box, [topic = *helpTopic] { ShowHelpTopic(topic); });
    }
    const std::size_t defaultIndex = (flags & mb::DefaultMask) == mb::DefaultButton2 && choices.size() > 1 ? 1 : 0;
    box.setDefaultButton(choices[defaultIndex].Button);
    const int pressed = box.exec();
    for (const TChoice &c : choices)
        if (pressed == c.Button)
            return c.Answer;
    // Closed with the window's close button.
    return choices.size() > 1 ? choices.back().Answer : idOk;
}

} // namespace

int TQtPrompt::MessageBox(const QString &text, const QString &caption, int flags)
{
    return RunMessageBox(text, caption, flags, std::nullopt);
}

int TQtPrompt::HelpMessageBox(const QString &text, const QString &caption, int flags, int helpTopic)
{
    return RunMessageBox(text, caption, flags, helpTopic);
}

void TQtPrompt::Beep() { QApplication::beep(); }

bool TQtPrompt::InputQuery(const QString &caption, const QString &prompt, QString &value)
{
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Отмена"));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}
