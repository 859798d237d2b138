#include "platform/ui/file_dialogs.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtCore/QPointer>
#include <QtWidgets/QFileDialog>
#include <QtGui/QFileSystemModel>
#include <QtWidgets/QLineEdit>

#include <algorithm>

namespace {

QPointer<QFileDialog> g_shown;

// The dialog shows only the files of the filter chosen; its own reading of
// the filter text is replaced by the filter's patterns.
void UsePatterns(QFileDialog &dialog, const TFileFilters &filters, int index)
{
    if (index < 0 || index >= filters.size())
        return;
    if (auto *model = dialog.findChild<QFileSystemModel *>())
        model->setNameFilters(filters[index].Patterns);
}

// A save dialog gives the typed name the extension that it reads in the
// filter text ("mine;" from "(*.mine; *.min)", "sp?" from "(*.sp?)"). The
// name gets the filter's own extension instead, or none where that is a
// wildcard: the document's naming adds it then.
void MendTypedName(QFileDialog &dialog, const QString &before, const TFileFilter &filter)
{
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!edit || edit->text() == before)
        return;
    const QString base = before.left(before.size() - QFileInfo(before).suffix().size());
    const QString suffix = filter.Patterns.isEmpty() ? QString() : QFileInfo(filter.Patterns.first()).suffix();
    const bool wildcard = suffix.contains(u'*') || suffix.contains(u'?') || suffix.contains(u'[');
    edit->setText(wildcard || suffix.isEmpty() ? base.chopped(base.endsWith(u'.') ? 1 : 0) : base + suffix);
}

// An open dialog (no name proposed) or a save dialog proposing `proposed`.
QString Run(QWidget *parent, const QString &caption, const QString &start, bool save, const TFileFilters &filters,
            int *filterIndex)
{
    QFileDialog dialog(parent, caption, start);
    dialog.setObjectName(save ? QStringLiteral("SaveDialog") : QStringLiteral("OpenDialog"));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QString proposed = save ? start : QString();
    QStringList texts;
    for (const TFileFilter &f : filters)
        texts << f.Text;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Without CaseSensitive the patterns match "*.MINE" and "*.mine" alike.
    dialog.setFilter(QDir::AllEntries | QDir::AllDirs | QDir::NoDotAndDotDot);
    dialog.setNameFilters(texts);
    const int first = filterIndex && *filterIndex >= 0 && *filterIndex < texts.size() ? *filterIndex : 0;
    if (!texts.isEmpty())
        dialog.selectNameFilter(texts[first]);
    UsePatterns(dialog, filters, first);
    if (!proposed.isEmpty())
        dialog.selectFile(proposed);
    // The name as typed before a filter change, to undo what the dialog makes of it.
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QString typed = edit ? edit->text() : QString();
    if (edit)
        QObject::connect(edit, &QLineEdit::textEdited, &dialog, [&typed](const QString &text) { typed = text; });
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &text) {
        const int index = texts.indexOf(text);
        UsePatterns(dialog, filters, index);
        if (dialog.acceptMode() == QFileDialog::AcceptSave && index >= 0) {
            MendTypedName(dialog, typed, filters[index]);
            if (edit)
                typed = edit->text();
        }
    });
    g_shown = &dialog;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    g_shown = nullptr;
    if (!accepted || dialog.selectedFiles().isEmpty())
        return {};
    if (filterIndex)
        *filterIndex = std::max<int>(0, texts.indexOf(dialog.selectedNameFilter()));
    return dialog.selectedFiles().first();
}

} // namespace

QString GetOpenFileName(QWidget *parent, const QString &caption, const QString &folder,
                        const TFileFilters &filters, int *filterIndex)
{
    return Run(parent, caption, folder, false, filters, filterIndex);
}

QString GetSaveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                        const TFileFilters &filters, int *filterIndex)
{
    return Run(parent, caption, proposed, true, filters, filterIndex);
}

QFileDialog *ShownFileDialog()
{
    return g_shown.data();
}
