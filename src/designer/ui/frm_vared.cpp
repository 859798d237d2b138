// The variable list editor: categories and variables typed as text.
#include "designer/ui/dialog_helpers.h"

#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>

bool EditVariableList(QStringList &lines, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Список переменных"));
    auto *layout = new QVBoxLayout(&form);
    auto *label = new QLabel(QStringLiteral("&Категории и переменные"), &form);
    auto *memo = Named<QPlainTextEdit>(&form, "Memo1");
    label->setBuddy(memo);
    memo->setPlainText(lines.join(u'\n'));
    layout->addWidget(label);
    layout->addWidget(memo);
    layout->addLayout(OkCancelRow(&form));
    if (form.exec() != QDialog::Accepted)
        return false;
    const QString text = memo->toPlainText();
    lines = text.isEmpty() ? QStringList() : text.split(u'\n');
    return true;
}
