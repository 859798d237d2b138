#include "shell/ui/file_commands.h"

#include "model/network.h"
#include "shell/foreign_files.h"
#include "shell/ui/frm_find_files.h"
#include "shell/ui/frm_main.h"

void mnuFindFilesClick(TfrmMain &mainWindow)
{
    const QString file = FindFileWithMask(&mainWindow, QStringLiteral("*.MINE"));
    if (file.isEmpty() || !mainWindow.Document().ConfirmSaveChanges())
        return;
    try {
        mainWindow.Document().OpenFile(file);
    } catch (...) {
        // A damaged file leaves what was read: the menus follow it.
        mainWindow.UpdateMenus();
        throw;
    }
    mainWindow.UpdateMenus();
}

void InstallFileCommands(TfrmMain &mainWindow)
{
    InstallForeignFormats(mainWindow.Document(), Net);
    mainWindow.SetCommandHandler(QStringLiteral("FileFind"), [&mainWindow] { mnuFindFilesClick(mainWindow); });
}
