#include "journal/vj_options.h"

#include "platform/settings_store.h"

namespace {

// Each value on its own: a missing or wrongly typed one keeps its default.
template <typename T, typename Read>
void ReadValue(T &field, Read read)
{
    try {
        field = read();
    } catch (const ESettingsError &) {
    }
}

} // namespace

TVJOptionSet::TVJOptionSet()
{
    Read();
}

void TVJOptionSet::Read()
{
    LinesPerPage = 50;
    OpenLast = true;
    TypeVJ = QStringLiteral("Украина");
    CurDir.clear();
    TSettingsStore store(TSettingsScope::Machine);
    if (!store.OpenKeyReadOnly(VJOptionsReadKey))
        return;
    ReadValue(LinesPerPage, [&] { return store.ReadInteger(QStringLiteral("LinesPerPage")); });
    ReadValue(OpenLast, [&] { return store.ReadBool(QStringLiteral("OpenLast")); });
    if (store.ValueExists(QStringLiteral("TypeVJ")))
        ReadValue(TypeVJ, [&] { return store.ReadString(QStringLiteral("TypeVJ")); });
    if (store.ValueExists(QStringLiteral("CurDir")))
        ReadValue(CurDir, [&] { return store.ReadString(QStringLiteral("CurDir")); });
}

void TVJOptionSet::Write() const
{
    TSettingsStore store(TSettingsScope::Machine);
    if (!store.OpenKey(VJOptionsWriteKey, true))
        throw ESettingsError(QStringLiteral("Не удается создать раздел настроек \"%1\"").arg(VJOptionsWriteKey));
    store.WriteInteger(QStringLiteral("LinesPerPage"), LinesPerPage);
    store.WriteBool(QStringLiteral("OpenLast"), OpenLast);
    store.WriteString(QStringLiteral("TypeVJ"), TypeVJ);
    store.WriteString(QStringLiteral("CurDir"), CurDir);
}
