#include "emergency/ui/table_editors.h"

#include "emergency/table_hooks.h"
#include "scheme/ui/frm_mine_tab.h"
#include "scheme/ui/frm_nod_tab.h"
#include "shell/ui/frm_main.h"

void InstallTableEditorHooks()
{
    // The windows are owned by the main window while it lasts.
    TableEditorHooks.EditBranchTable = [](int filter, const QString &range) {
        return EditBranchTable(frmMain, filter, range);
    };
    TableEditorHooks.EditNodTab = [](int filter) { return EditNodTab(frmMain, filter); };
}
