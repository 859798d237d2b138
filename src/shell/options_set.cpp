#include "shell/options_set.h"

#include "platform/file_association.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QtEndian>

namespace {

constexpr int ColorsSize = SchemeColorCount * 4;

QByteArray ColorsToBytes(const TSchemeColors &colors)
{
    QByteArray bytes(ColorsSize, '\0');
    for (int i = 0; i < SchemeColorCount; ++i)
        qToLittleEndian<qint32>(colors[i], bytes.data() + i * 4);
    return bytes;
}

void RegisterMineFileType(const QString &programPath)
{
    TFileAssociation a;
    a.Id = QStringLiteral("tunvex-mine");
    a.MimeType = QStringLiteral("application/x-tunvex-mine");
    a.Comment = QStringLiteral("Файл Zyr Вентиляция (шахта)");
    a.Patterns = {QStringLiteral("*.mine")};
    a.AppName = QCoreApplication::applicationName();
    a.ProgramPath = programPath;
    RegisterFileAssociation(a);
}

} // namespace

QString BuildProgramKey(const QString &programPath)
{
    // A backslash would split the key; the program's own path becomes one name.
    QString key = programPath;
    return key.replace(u'\\', QStringLiteral("//"));
}

QString SettingsKey(const QString &programKey)
{
    return QStringLiteral("Software\\Zyr\\ZyrVentilation\\2002.xx\\") + programKey;
}

void TOptionsSet::CreateDefaults()
{
    const QString folder = ProgramFolder();
    Colors = DefaultSchemeColors[spStandard];
    LoadPluginsAtStartup = true;
    GridIsOn = false;
    SnapToGrid = false;
    ShowSheet = false;
    RealTimeActive = false;
    NewObjectsIsFirstFree = true;
    FireTime = 90;
    GridStep = 10;
    SymbolsLocation = folder + QStringLiteral("Символы");
    MinesLocation = folder + QStringLiteral("Шахты");
    ReportsLocation = folder + QStringLiteral("Отчеты");
    FanLocations = folder + QStringLiteral("Вентиляторы");
    PluginsLocation = folder + QStringLiteral("Plugins");
    PLALocationFolder = folder + QStringLiteral("PLA");
    ReportStyle = 1;
    Password.clear();
    UseRussianSpeeds = false;
    AskPasswordAtStartup = false;
    MapOn = false;
}

void TOptionsSet::Load(const QString &programKey)
{
    RegisterMineFileType(ProgramFileName());

    CreateDefaults();
    TSettingsStore store;
    if (!store.OpenKeyReadOnly(SettingsKey(programKey)))
        return;
    try {
        TOptionsSet read;
        read.GridIsOn = store.ReadBool(QStringLiteral("GridIsOn"));
        read.SnapToGrid = store.ReadBool(QStringLiteral("SnapToGrid"));
        read.RealTimeActive = store.ReadBool(QStringLiteral("RealTimeActive"));
        read.NewObjectsIsFirstFree = store.ReadBool(QStringLiteral("NewObjectsIsFirstFree"));
        read.ShowSheet = store.ReadBool(QStringLiteral("ShowSheet"));
        read.LoadPluginsAtStartup = store.ReadBool(QStringLiteral("LoadPluginsAtStartup"));
        read.GridStep = store.ReadInteger(QStringLiteral("GridStep"));
        read.ReportStyle = store.ReadInteger(QStringLiteral("ReportStyle"));
        // Without a stored palette the standard one stays: an all-zero palette
        // would draw branches in the colour of the background.
        if (store.ValueExists(QStringLiteral("Colors"))) {
            const QByteArray bytes = store.ReadBinaryData(QStringLiteral("Colors"));
            if (bytes.size() != ColorsSize)
                throw ESettingsError(QStringLiteral("Colors"));
            for (int i = 0; i < SchemeColorCount; ++i)
                read.Colors[i] = qFromLittleEndian<qint32>(bytes.constData() + i * 4);
        }
        read.PLALocationFolder = store.ReadString(QStringLiteral("PLALocationFolder"));
        read.PluginsLocation = store.ReadString(QStringLiteral("PluginsLocation"));
        read.Password = store.ReadString(QStringLiteral("Password"));
        read.AskPasswordAtStartup = store.ReadBool(QStringLiteral("AskPasswordAtStartup"));
        read.MinesLocation = store.ReadString(QStringLiteral("MinesLocation"));
        read.ReportsLocation = store.ReadString(QStringLiteral("ReportsLocation"));
        read.FanLocations = store.ReadString(QStringLiteral("FanLocations"));
        read.SymbolsLocation = store.ReadString(QStringLiteral("SymbolsLocation"));
        read.UseRussianSpeeds = store.ReadBool(QStringLiteral("UseRussianSpeeds"));
        read.FireTime = store.ReadInteger(QStringLiteral("FireTime"));
        if (store.ValueExists(QStringLiteral("MapOn")))
            read.MapOn = store.ReadBool(QStringLiteral("MapOn"));
        *this = read;
    } catch (const ESettingsError &) {
        // One unreadable value makes the whole set the defaults.
    }
}

void TOptionsSet::Save(const QString &programKey) const
{
    TSettingsStore store;
    store.OpenKey(SettingsKey(programKey), true);
    store.WriteBool(QStringLiteral("GridIsOn"), GridIsOn);
    store.WriteBool(QStringLiteral("SnapToGrid"), SnapToGrid);
    store.WriteBool(QStringLiteral("RealTimeActive"), RealTimeActive);
    store.WriteBool(QStringLiteral("NewObjectsIsFirstFree"), NewObjectsIsFirstFree);
    store.WriteBool(QStringLiteral("ShowSheet"), ShowSheet);
    store.WriteInteger(QStringLiteral("GridStep"), GridStep);
    store.WriteInteger(QStringLiteral("ReportStyle"), ReportStyle);
    store.WriteBinaryData(QStringLiteral("Colors"), ColorsToBytes(Colors));
    store.WriteString(QStringLiteral("PLALocationFolder"), PLALocationFolder);
    store.WriteString(QStringLiteral("PluginsLocation"), PluginsLocation);
    store.WriteBool(QStringLiteral("LoadPluginsAtStartup"), LoadPluginsAtStartup);
    store.WriteString(QStringLiteral("Password"), Password);
    store.WriteBool(QStringLiteral("AskPasswordAtStartup"), AskPasswordAtStartup);
    store.WriteString(QStringLiteral("MinesLocation"), MinesLocation);
    store.WriteString(QStringLiteral("ReportsLocation"), ReportsLocation);
    store.WriteString(QStringLiteral("FanLocations"), FanLocations);
    store.WriteString(QStringLiteral("SymbolsLocation"), SymbolsLocation);
    store.WriteBool(QStringLiteral("UseRussianSpeeds"), UseRussianSpeeds);
    store.WriteBool(QStringLiteral("MapOn"), MapOn);
    store.WriteInteger(QStringLiteral("FireTime"), FireTime);
    store.CloseKey();
}

bool TOptionsSet::SaveAtClose(const QString &programKey) const noexcept
{
    try {
        Save(programKey);
        return true;
    } catch (const Exception &e) {
        try {
            ShowMessageBox(e.Message(), QStringLiteral("Ошибка"), mb::Ok | mb::IconError);
        } catch (...) {
        }
    } catch (...) {
    }
    return false;
}
