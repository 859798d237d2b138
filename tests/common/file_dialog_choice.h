#pragma once
// The user's pick in the program's open and save dialogs.
#include "modal.h"
#include "platform/ui/file_dialogs.h"

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
