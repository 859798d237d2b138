#include "shell/ui/branch_dialog_host.h"

#include "scheme/ui/frm_branch.h"
#include "scheme/ui/frm_double_nodes.h"
#include "scheme/ui/frm_new_node.h"
#include "scheme/ui/scheme_paint_box.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"

#include <QtGui/QAction>
#include <QtWidgets/QPushButton>

void InstallBranchDialogHost(TfrmMain &mainWindow)
{
    TfrmMain *w = &mainWindow;
    BranchDialogHost.Tables = &Net;
    BranchDialogHost.Doc = &w->Storage().Doc;
    TBranchFormHost &form = BranchDialogHost.Form;
    form.ObjectChanged = [w](std::unique_ptr<TMineObject> snapshot, TChangeKind kind) {
        w->ObjectChanged(std::move(snapshot), kind);
    };
    form.SetModified = [w](bool modified) { w->SetModified(modified); };
    form.Redraw = [w] { w->Redraw(); };
    form.CanDeleteObject = [w](int item) { return w->CanDeleteObject(item); };
    form.PLAColorsShown = [w] { return w->Action(QStringLiteral("mnuPLA"))->isChecked(); };
    form.Colors = &w->Document().BranchColors;
    form.ChooseColor = [w](TColor &color) { return w->ChooseColor(color); };
    // Whoever opened the table, and however it was closed ("Отмена" may have
    // brought back a branch that F3 deleted), the scheme shows the tables.
    BranchDialogHost.TableClosed = [w] {
        w->UpdateMenus();
        w->Redraw();
    };

    TBranchDialogHooks &hooks = BranchDialogHooks;
    hooks.PLADocuments = [w](TfrmBranch &dialog) {
        const QPushButton *button = dialog.btnFile;
        const int position = Net.BranchPLAPosition[dialog.Form().Branch];
        w->ShowPLADocuments(position, button->mapToGlobal(QPoint(0, button->height() + 3)));
    };
    hooks.ChooseSurfaceNode = [](TfrmBranch &dialog, int branch) { ChooseSurfaceNode(&dialog, branch); };

    NodeDialogHost.Tables = &Net;
    TNodeFormHost &node = NodeDialogHost.Form;
    node.ObjectChanged = form.ObjectChanged;
    node.SetModified = form.SetModified;
    NodeDialogHost.SchemeImage = [w]() -> const QImage * { return w->PaintBox() ? &w->PaintBox()->Image() : nullptr; };
    NodeDialogHost.ScreenPoint = [w](int x, int y) { return QPoint(w->ScreenX(x), w->ScreenY(y)); };

    // The hosts point into this window; once it is gone a dialog opened later
    // (by another window's test, or a late caller) works on no document
    // instead of a freed one.
    QObject::connect(w, &QObject::destroyed, [] {
        BranchDialogHost = {};
        BranchDialogHooks.PLADocuments = {};
        BranchDialogHooks.ChooseSurfaceNode = {};
        NodeDialogHost = {};
    });
}
