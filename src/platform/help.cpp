#include "platform/help.h"

#include "platform/prompt.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

namespace {
QString g_helpFolder;
QString g_helpFile;
TDocumentOpener g_opener;
}

QString HelpFile() { return g_helpFile; }
void SetHelpFile(const QString &file) { g_helpFile = file; }

void SetHelpFolder(const QString &folder) { g_helpFolder = folder; }
QString HelpFolder() { return g_helpFolder; }

QString HelpPageFile(int topic)
{
    const QString page = topic == HelpContents ? QStringLiteral("index.html")
                                               : QStringLiteral("%1.html").arg(topic);
    return QDir(g_helpFolder).filePath(page);
}

void ShowHelpTopic(int topic)
{
    const QString page = HelpPageFile(topic);
    if (!g_helpFolder.isEmpty() && QFileInfo(page).isFile() && OpenDocument(page))
        return;
    const QString text = topic == HelpContents
                             ? QStringLiteral("Справка недоступна: не найдено содержание справки.")
                             : QStringLiteral("Раздел справки %1 недоступен.").arg(topic);
    ShowMessageBox(text, QStringLiteral("Справка"), mb::Ok | mb::IconInformation);
}

void SetDocumentOpener(TDocumentOpener opener) { g_opener = std::move(opener); }

bool OpenDocument(const QString &target)
{
    return g_opener && g_opener(target);
}
