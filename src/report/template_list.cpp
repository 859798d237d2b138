#include "report/template_list.h"

#include <QtCore/QDir>

bool FindReportTemplates(const QString &folder, const QString &mask, std::vector<TTemplateRow> &rows)
{
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return false;
    const QStringList names = dir.entryList({mask}, QDir::Files | QDir::Hidden | QDir::System,
                                            QDir::Name | QDir::IgnoreCase);
    const QString path = QDir::cleanPath(dir.absolutePath());
    for (const QString &name : names)
        rows.push_back({name, path});
    return true;
}

QString MissingTemplateFolderMessage(const QString &folder)
{
    return QStringLiteral("Не найдена папка отчетов \"%1\".").arg(QDir::toNativeSeparators(folder));
}
