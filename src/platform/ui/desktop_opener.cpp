#include "platform/ui/desktop_opener.h"

#include "platform/help.h"

#include <QtCore/QFileInfo>
#include <QtCore/QUrl>
#include <QtGui/QDesktopServices>

void InstallDesktopOpener()
{
    SetDocumentOpener([](const QString &target) {
        const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(target) : QUrl(target);
        return QDesktopServices::openUrl(url);
    });
}
