#pragma once
// The OK and Cancel buttons of the journal's dialogs ("btnOk", "btnCancel").
// OK runs ok, which accepts the dialog once its values are good; Cancel
// rejects it.
#include <QtWidgets/QDialogButtonBox>

#include <functional>

class QDialog;

QDialogButtonBox *OkCancelButtons(QDialog *dialog, std::function<void()> ok,
                                  const QString &okCaption = QStringLiteral("OK"));
