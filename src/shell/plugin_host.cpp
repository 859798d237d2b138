#include "shell/plugin_host.h"

#include "model/helpers.h"
#include "platform/codepage.h"
#include "platform/guard.h"
#include "shell/main_commands.h"

#include <QtCore/QDir>
#include <QtCore/QLibrary>

std::optional<TPlugin> RegisterPlugin(const QString &fileName, QLibrary &library, std::vector<TMessage> &refusals)
{
    using TGetPlugName = const char *(*)();
    const auto getName = reinterpret_cast<TGetPlugName>(library.resolve("GetPlugName"));
    const auto run = reinterpret_cast<TRunPlugInFunction>(library.resolve("RunPlugIn"));
    if (!getName || !run) {
        library.unload();
        return std::nullopt;
    }
    // A library whose GetPlugName throws would end the program at every start
    // (the scan runs before the main window shows): it is skipped and named.
    QString caption;
    std::optional<QString> error;
    try {
        const char *name = getName();
        caption = name ? DecodeCp1251(QByteArray(name)) : QString();
    } catch (...) {
        error = CurrentExceptionText();
    }
    if (error) {
        library.unload();
        const QString text = QStringLiteral("Модуль расширения \"%1\" не подключен: GetPlugName завершилась с ошибкой.");
        refusals.push_back(
            {LookupText(text).arg(fileName) + QStringLiteral("\n\n") + *error, ApplicationTitle, mb::Ok | mb::IconError});
        return std::nullopt;
    }
    return TPlugin{fileName, caption, run};
}

std::vector<TPlugin> ScanPluginFolder(const QString &folder, std::vector<TMessage> &refusals)
{
    const QString path = AddTrailingSlash(folder);
    // An empty setting names no folder, not the current one.
    if (path.isEmpty())
        return {};
    // Directory order is arbitrary here, so the plug-ins come in name order.
    const QStringList files = QDir(path).entryList({QStringLiteral("*.so")},
                                                   QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    std::vector<TPlugin> plugins;
    for (const QString &file : files) {
        QLibrary library(path + file);
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (!library.load())
            continue;
        if (auto plugin = RegisterPlugin(path + file, library, refusals))
            plugins.push_back(std::move(*plugin));
    }
    return plugins;
}

const QString NoPluginsCaption = QStringLiteral("Не найдено ни одного Plug-ins");

QString NoPluginsText(const QString &folder)
{
    const QString two = QStringLiteral("\n\n");
    return LookupText(QStringLiteral("В папке, указанной как папка модулей расширений, - ")) + two + u'"' +
           AddTrailingSlash(folder) + u'"' + LookupText(QStringLiteral(" -")) + two +
           LookupText(QStringLiteral("не удалось найти ни одного модуля расширений.")) + two +
           LookupText(QStringLiteral("Возможные причины этого:")) + two +
           LookupText(QStringLiteral("o Ссылка на папку модулей расширения ошибочно указывает на другую папку.")) + two +
           LookupText(QStringLiteral("o В папке, указанной как папка модулей расширений нет ни одного модуля расширения.")) +
           two +
           LookupText(QStringLiteral(
               "o Написанный вами модуль расширения имеет ошибки в части интерфейса с Zyr Венитиляцией.")) +
           two + LookupText(QStringLiteral("Если Вы имеете расширения и хотите их использовать,")) + u'\n' +
           LookupText(QStringLiteral("поместите их в папку PLUGINS или укажите явно папку с Plug-ins -")) + u'\n' +
           LookupText(QStringLiteral("(см. меню \"Настройки/Расположение/Папки расширений\")"));
}
