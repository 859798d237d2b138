#include "shell/ui/table_commands.h"

#include "platform/ui/qt_canvas.h"
#include "scheme/branch_table.h"
#include "scheme/ui/frm_mine_tab.h"
#include "scheme/ui/frm_nod_tab.h"
#include "scheme/ui/scheme_paint_box.h"
#include "scheme/ui/tabbed_notebook_dlg.h"
#include "shell/ui/frm_main.h"

namespace {

// The red dot that marks a node found from the report, until the next redraw.
void MarkNode(TfrmMain &w, int node)
{
    w.CenterOn(Net.NodeX[node], Net.NodeY[node]);
    w.Redraw();
    TSchemePaintBox *box = w.PaintBox();
    if (!box)
        return;
    const int sx = w.ScreenX(Net.NodeX[node]);
    const int sy = w.ScreenY(Net.NodeY[node]);
    {
        TQtCanvas canvas(&box->Image());
        canvas.Brush.Color = 255;
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.Ellipse(sx - 2, sy - 2, sx + 2, sy + 2);
    }
    box->update();
}

} // namespace

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
    ShowNodeOnScheme = [w](int node) { MarkNode(*w, node); };
}
