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

// The extension that the dialog itself reads in a filter text: that of the
// first blank-separated pattern between the parentheses ("mine;" in
// "(*.mine; *.min)").
QString ExtensionReadFrom(const QString &text)
{
    const qsizetype open = text.lastIndexOf(u'(');
    if (open < 0 || !text.endsWith(u')'))
        return {};
    const QStringList patterns = text.mid(open + 1, text.size() - open - 2).split(u' ', Qt::SkipEmptyParts);
    return patterns.isEmpty() ? QString() : QFileInfo(patterns.first()).suffix();
}

// On a change of filter a save dialog gives the typed name the extension it
// reads in the filter text. The name gets the filter's own extension
// instead, or none where that is a wildcard ("*.sp?"): the document's
// naming adds it then.
void MendTypedName(QFileDialog &dialog, const TFileFilter &filter)
{
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    const QString read = ExtensionReadFrom(filter.Text);
    if (!edit || read.isEmpty() || !edit->text().endsWith(u'.' + read))
        return;
    const QString own = filter.Patterns.isEmpty() ? QString() : QFileInfo(filter.Patterns.first()).suffix();
    const bool wildcard = own.isEmpty() || own.contains(u'*') || own.contains(u'?') || own.contains(u'[');
    const QString base = edit->text().chopped(read.size() + 1);
    edit->setText(wildcard ? base : base + u'.' + own);
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
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &text) {
        const int index = texts.indexOf(text);
        UsePatterns(dialog, filters, index);
        if (save && index >= 0)
            MendTypedName(dialog, filters[index]);
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
