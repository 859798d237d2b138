#include "platform/paths.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDir>

namespace {

const QString &CapturedStartFolder()
{
    static const QString folder = QDir::currentPath();
    return folder;
}

// Captured while static objects are built, before anything could move on.
[[maybe_unused]] const bool g_startFolderCaptured = !CapturedStartFolder().isNull();

QString EnvFolder(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : QString();
}

} // namespace

QString StartFolder()
{
    return CapturedStartFolder();
}

QString ProgramFileName()
{
    return QCoreApplication::applicationFilePath();
}

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath() + u'/';
}

QString ConfigFolder()
{
    if (const QString own = EnvFolder("TUNVEX_CONFIG_DIR"); !own.isEmpty())
        return own;
    if (const QString xdg = EnvFolder("XDG_CONFIG_HOME"); !xdg.isEmpty())
        return xdg + QStringLiteral("/tunvex");
    return QDir::homePath() + QStringLiteral("/.config/tunvex");
}

QString DataHomeFolder()
{
    if (const QString own = EnvFolder("TUNVEX_CONFIG_DIR"); !own.isEmpty())
        return own + QStringLiteral("/share");
    if (const QString xdg = EnvFolder("XDG_DATA_HOME"); !xdg.isEmpty())
        return xdg;
    return QDir::homePath() + QStringLiteral("/.local/share");
}
