#pragma once
// The list of recently used scheme files, most recent first, at most ten.
// It lives in the settings under the sub-key "RecentFiles" as the values
// "File0", "File1", ...; the drop-down of the Open button lists it.
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>
#include <vector>

constexpr int MaxRecentFiles = 10;

class TRecentFiles
{
public:
    // Puts the file at the head, removing an earlier entry of the same name,
    // and drops what no longer fits.
    void Add(const QString &fileName);
    const QStringList &Items() const { return m_items; }
    void SetItems(const QStringList &items) { m_items = items; }
    bool IsEmpty() const { return m_items.isEmpty(); }

    // One item of the drop-down: its caption and the list index it opens.
    struct TMenuEntry
    {
        QString Caption;
        int Index;
    };
    // The drop-down items: entries whose file exists, numbered by their place
    // in the list (so missing files leave gaps); an entry in currentFolder is
    // shown without its folder.
    std::vector<TMenuEntry> MenuEntries(const QString &currentFolder,
                                        const std::function<bool(const QString &)> &exists) const;

    // Reads the list of the installation's settings key (see SettingsKey);
    // a missing or damaged list leaves it empty. Never throws.
    void Load(const QString &programKey);
    // Writes the list under the installation's key; a failure is ignored,
    // since losing the list must never keep the program from closing.
    void Save(const QString &programKey) const noexcept;

private:
    QStringList m_items;
};
