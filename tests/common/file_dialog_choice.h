#pragma once
// Answers a file dialog as a user does: picks a filter in its file-type box,
// then the file, then accepts.
#include <QtCore/QMetaObject>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>

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
