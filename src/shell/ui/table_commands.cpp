#include "shell/ui/table_commands.h"

#include "scheme/branch_table.h"
#include "scheme/ui/frm_mine_tab.h"
#include "scheme/ui/frm_nod_tab.h"
#include "scheme/ui/tabbed_notebook_dlg.h"
#include "shell/ui/frm_find.h"
#include "shell/ui/frm_main.h"

void InstallTableCommands(TfrmMain &mainWindow)
{
    TfrmMain *w = &mainWindow;
    mainWindow.SetCommandHandler(QStringLiteral("mnuEditNodes"), [w] {
        EditNodTab(w, 0);
        w->Redraw();
    });
    mainWindow.SetCommandHandler(QStringLiteral("mnuMuchBranches"), [w] {
        EditBranchTable(w, btfAll);
        w->Redraw();
    });
    mainWindow.SetCommandHandler(QStringLiteral("mnuNoNodes"), [w] {
        ShowTopologyReport(w);
        w->Redraw();
    });
    ShowNodeOnScheme = [w](int node) { MarkSchemePoint(*w, Net.NodeX[node], Net.NodeY[node]); };
}
