#include "shell/recent_files.h"

#include "model/helpers.h"

void TRecentFiles::Add(const QString &fileName)
{
    m_items.removeAll(fileName);
    m_items.prepend(fileName);
    while (m_items.size() > MaxRecentFiles)
        m_items.removeLast();
}

std::vector<TRecentFiles::TMenuEntry>
TRecentFiles::MenuEntries(const QString &currentFolder,
                          const std::function<bool(const QString &)> &exists) const
{
    std::vector<TMenuEntry> entries;
    const QString folder = AddTrailingSlash(currentFolder);
    for (int i = 0; i < m_items.size(); ++i) {
        const QString &item = m_items[i];
        if (!exists(item))
            continue;
        QString shown = item;
        if (!folder.isEmpty() && ExtractFolder(item) == folder)
            shown = item.mid(folder.size());
        entries.push_back({QStringLiteral("&%1 %2").arg(i + 1).arg(shown), i});
    }
    return entries;
}
