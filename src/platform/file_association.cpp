#include "platform/file_association.h"

#include "platform/paths.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QProcess>
#include <QtCore/QSaveFile>
#include <QtCore/QStandardPaths>

namespace {

QString XmlEscaped(const QString &text)
{
    return text.toHtmlEscaped();
}

// Writes the file when its content differs; true when it was written.
bool WriteIfChanged(const QString &fileName, const QByteArray &content, bool &ok)
{
    QFile current(fileName);
    if (current.open(QIODevice::ReadOnly) && current.readAll() == content)
        return false;
    current.close();
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        ok = false;
        return false;
    }
    return true;
}

void RefreshCache(const QString &tool, const QString &folder)
{
    const QString path = QStandardPaths::findExecutable(tool);
    if (!path.isEmpty())
        QProcess::startDetached(path, {folder});
}

} // namespace

QString DesktopExecLine(const QString &programPath)
{
    // Inside quotes the Exec key wants ", `, $ and \ escaped with a backslash;
    // the entry's own string rules then double every backslash once more.
    QString quoted;
    for (const QChar c : programPath) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    return u'"' + quoted + QStringLiteral("\" %f");
}

bool RegisterFileAssociation(const TFileAssociation &a)
{
    const QString home = DataHomeFolder();
    bool ok = true;

    QByteArray mime = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    mime += "  <mime-type type=\"" + XmlEscaped(a.MimeType).toUtf8() + "\">\n";
    mime += "    <comment>" + XmlEscaped(a.Comment).toUtf8() + "</comment>\n";
    for (const QString &pattern : a.Patterns)
        mime += "    <glob pattern=\"" + XmlEscaped(pattern).toUtf8() + "\" case-sensitive=\"false\"/>\n";
    mime += "  </mime-type>\n</mime-info>\n";
    const bool mimeWritten = WriteIfChanged(home + QStringLiteral("/mime/packages/") + a.Id + QStringLiteral(".xml"), mime, ok);

    QByteArray desktop = "[Desktop Entry]\nType=Application\n";
    desktop += "Name=" + a.AppName.toUtf8() + '\n';
    desktop += "Comment=" + a.Comment.toUtf8() + '\n';
    desktop += "Exec=" + DesktopExecLine(a.ProgramPath).toUtf8() + '\n';
    desktop += "MimeType=" + a.MimeType.toUtf8() + ";\n";
    desktop += "Terminal=false\nNoDisplay=true\n";
    const bool desktopWritten = WriteIfChanged(home + QStringLiteral("/applications/") + a.Id + QStringLiteral(".desktop"), desktop, ok);

    // A relocated configuration (tests) has no desktop that reads the caches.
    if (qEnvironmentVariableIsEmpty("TUNVEX_CONFIG_DIR")) {
        if (mimeWritten)
            RefreshCache(QStringLiteral("update-mime-database"), home + QStringLiteral("/mime"));
        if (desktopWritten)
            RefreshCache(QStringLiteral("update-desktop-database"), home + QStringLiteral("/applications"));
    }
    return ok;
}
