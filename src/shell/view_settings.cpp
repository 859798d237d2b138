#include "shell/view_settings.h"

#include "platform/settings_store.h"
#include "shell/options_set.h"

namespace {

const char *const Prefixes[ToolbarCount] = {"tbFile", "tbTable", "tbDraw", "tbBranch", "tbPaint"};
const char *const Captions[ToolbarCount] = {"Файл", "Пласты", "Рисование", "Вид ветви", "Раскраска"};

struct TFlag
{
    const char *Name;
    bool TViewSettings::*Field;
};

const TFlag Flags[] = {
    {"Phones", &TViewSettings::Phones},
    {"Text", &TViewSettings::Text},
    {"Symbols", &TViewSettings::Symbols},
    {"LSFireWater", &TViewSettings::LSFireWater},
    {"LSConveier", &TViewSettings::LSConveier},
    {"LSElectric", &TViewSettings::LSElectric},
    {"LSAirTrub", &TViewSettings::LSAirTrub},
    {"LSDeGase", &TViewSettings::LSDeGase},
};

template <typename T, typename Read>
void ReadIfPresent(const TSettingsStore &store, const QString &name, T &value, Read read)
{
    if (store.GetValueKind(name) == TSettingsStore::TValueKind::Integer)
        value = (store.*read)(name);
}

} // namespace

QString ToolbarPrefix(int index)
{
    return index >= 0 && index < ToolbarCount ? QString::fromLatin1(Prefixes[index]) : QString();
}

QString ToolbarCaption(int index)
{
    return index >= 0 && index < ToolbarCount ? QString::fromUtf8(Captions[index]) : QString();
}

QString ViewKey(const QString &programKey)
{
    return SettingsKey(programKey) + QStringLiteral("\\View");
}

void LoadViewSettings(const QString &programKey, TViewSettings &view)
{
    TSettingsStore store;
    if (!store.OpenKeyReadOnly(ViewKey(programKey)))
        return;
    for (const TFlag &flag : Flags)
        ReadIfPresent(store, QString::fromLatin1(flag.Name), view.*flag.Field, &TSettingsStore::ReadBool);
    for (int i = 0; i < ToolbarCount; ++i) {
        const QString prefix = ToolbarPrefix(i);
        TToolbarPlacement &t = view.Toolbars[i];
        ReadIfPresent(store, prefix, t.Visible, &TSettingsStore::ReadBool);
        ReadIfPresent(store, prefix + QStringLiteral("Orient"), t.Orient, &TSettingsStore::ReadInteger);
        ReadIfPresent(store, prefix + QStringLiteral("Dock"), t.Dock, &TSettingsStore::ReadBool);
        ReadIfPresent(store, prefix + QStringLiteral("Top"), t.Top, &TSettingsStore::ReadInteger);
        ReadIfPresent(store, prefix + QStringLiteral("Left"), t.Left, &TSettingsStore::ReadInteger);
        ReadIfPresent(store, prefix + QStringLiteral("Width"), t.Width, &TSettingsStore::ReadInteger);
        ReadIfPresent(store, prefix + QStringLiteral("Height"), t.Height, &TSettingsStore::ReadInteger);
    }
}

void SaveViewSettings(const QString &programKey, const TViewSettings &view)
{
    TSettingsStore store;
    store.OpenKey(ViewKey(programKey), true);
    for (const TFlag &flag : Flags)
        store.WriteBool(QString::fromLatin1(flag.Name), view.*flag.Field);
    for (int i = 0; i < ToolbarCount; ++i) {
        const QString prefix = ToolbarPrefix(i);
        const TToolbarPlacement &t = view.Toolbars[i];
        store.WriteBool(prefix, t.Visible);
        store.WriteInteger(prefix + QStringLiteral("Orient"), t.Orient);
        store.WriteBool(prefix + QStringLiteral("Dock"), t.Dock);
        store.WriteInteger(prefix + QStringLiteral("Top"), t.Top);
        store.WriteInteger(prefix + QStringLiteral("Left"), t.Left);
        store.WriteInteger(prefix + QStringLiteral("Width"), t.Width);
        store.WriteInteger(prefix + QStringLiteral("Height"), t.Height);
    }
    store.CloseKey();
}
