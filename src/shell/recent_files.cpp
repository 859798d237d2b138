#include "shell/recent_files.h"

#include "model/helpers.h"
#include "platform/settings_store.h"
#include "shell/options_set.h"

#include <algorithm>

namespace {

QString RecentFilesKey(const QString &programKey)
{
    return SettingsKey(programKey) + QStringLiteral("\\RecentFiles");
}

} // namespace

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

void TRecentFiles::Load(const QString &programKey)
{
    m_items.clear();
    try {
        TSettingsStore store;
        if (!store.OpenKeyReadOnly(RecentFilesKey(programKey)))
            return;
        QStringList items;
        const int count = static_cast<int>(store.GetValueNames().size());
        for (int i = 0; i < count; ++i)
            items << store.ReadString(QStringLiteral("File%1").arg(i));
        items.removeAll(QString());
        m_items = items.mid(0, MaxRecentFiles);
    } catch (...) {
        // A damaged list only means no recent files.
    }
}

void TRecentFiles::Save(const QString &programKey) const noexcept
{
    try {
        TSettingsStore store;
        store.OpenKey(RecentFilesKey(programKey), true);
        for (int i = 0; i < std::min<int>(m_items.size(), MaxRecentFiles); ++i)
            store.WriteString(QStringLiteral("File%1").arg(i), m_items[i]);
    } catch (...) {
    }
}
