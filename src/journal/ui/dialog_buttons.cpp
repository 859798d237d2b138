#include "journal/ui/dialog_buttons.h"

#include <QtWidgets/QDialog>
#include <QtWidgets/QPushButton>

QDialogButtonBox *OkCancelButtons(QDialog *dialog, std::function<void()> ok, const QString &okCaption)
{
    auto *buttons = new QDialogButtonBox(dialog);
    QPushButton *okButton = buttons->addButton(okCaption, QDialogButtonBox::AcceptRole);
    okButton->setObjectName(QStringLiteral("btnOk"));
    okButton->setDefault(true);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("btnCancel"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, std::move(ok));
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}
