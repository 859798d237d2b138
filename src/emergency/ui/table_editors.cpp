#include "emergency/ui/table_editors.h"

#include "emergency/table_hooks.h"
#include "scheme/ui/frm_mine_tab.h"
#include "scheme/ui/frm_nod_tab.h"
#include "shell/ui/frm_main.h"

void InstallTableEditorHooks(TfrmMain &mainWindow)
{
    TfrmMain *w = &mainWindow;
    TableEditorHooks.EditBranchTable = [w](int filter, const QString &range) {
        return EditBranchTable(w, filter, range);
    };
    TableEditorHooks.EditNodTab = [w](int filter) { return EditNodTab(w, filter); };
}
