#pragma once
// The template lists of the report managers and choosers: the files of a
// folder that match a mask, each with the folder it lies in.
#include <QtCore/QString>

#include <vector>

struct TTemplateRow
{
    QString File;   // the file name
    QString Folder; // its folder, without a trailing separator

    QString Path() const { return Folder + u'/' + File; }
    bool operator==(const TTemplateRow &) const = default;
};

// Appends a row for every file of folder whose name matches mask ("*.frf",
// letter case ignored), hidden files included, folders left out, in name
// order. A folder that does not exist adds nothing and returns false.
bool FindReportTemplates(const QString &folder, const QString &mask, std::vector<TTemplateRow> &rows);
// What the user is told about such a folder.
QString MissingTemplateFolderMessage(const QString &folder);
