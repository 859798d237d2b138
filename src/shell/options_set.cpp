#include "shell/options_set.h"

#include "platform/file_association.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QtEndian>

const std::array<TSchemeColors, SchemePaletteCount> DefaultSchemeColors = {{
    {0xC0C0C0, 0xFF0000, 0xFFFF00, 0x000000, 0x0000FF, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x808000,
     0x0000FF, 0xFF0000, 0x000000, 0x00FFFF, 0xFFFF00, 0x0000FF, 0x000000, 0xFF00FF, 0xFFFFFF, 0x00FFFF},
    {0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF,
     0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0x000000},
}};

namespace {

const char *const ColorNames[SchemeColorCount] = {
    "Фон схемы",
    "Ветвь",
    "Узел",
    "Сетка",
    "Пожар",
    "Задымление",
    "Маршрут",
    "Маршрут в дыму",
    "ВГП",
    "ВМП",
    "Свежий воздух (стрелка)",
    "Отработанный воздух (стрелка)",
    "Дверь",
    "Параметры узлов",
    "Параметры ветвей",
    "Пожарно-оросительный трубопровод",
    "Конвейер",
    "Электрические кабели",
    "Трубопровод со сжатым воздухом",
    "Дегазационный трубопровод",
};

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

QString SchemeColorName(int index)
{
    return index >= 0 && index < SchemeColorCount ? QString::fromUtf8(ColorNames[index]) : QString();
}

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
