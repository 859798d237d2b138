#pragma once
// The user's pick in the program's open and save dialogs.
#include "modal.h"
#include "platform/ui/file_dialogs.h"

#include <QtCore/QMetaObject>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>

#include <gtest/gtest.h>

// Picks the file under the filter in the file dialog that opens next.
inline void ChooseInFileDialog(const QString &filterText, const QString &file)
{
    WhenModal([=] {
        QFileDialog *dialog = ShownFileDialog();
        ASSERT_NE(dialog, nullptr);
        dialog->selectNameFilter(filterText);
        dialog->selectFile(file);
        static_cast<QDialog *>(dialog)->accept();
    });
}

// In a file dialog already up, among other modal windows that stay open:
// picks the filter at its place in the file-type box, as a user does, then
// the file, and accepts.
inline void ChooseInFileDialog(QFileDialog &dialog, int filter, const QString &file)
{
    auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    if (combo && filter >= 0 && filter < combo->count()) {
        combo->setCurrentIndex(filter);
        emit combo->activated(filter);
        emit combo->textActivated(combo->itemText(filter));
    }
    dialog.selectFile(file);
    QMetaObject::invokeMethod(&dialog, "accept");
}
