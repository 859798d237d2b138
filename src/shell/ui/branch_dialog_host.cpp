#include "shell/ui/branch_dialog_host.h"

#include "scheme/ui/frm_branch.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"

#include <QtGui/QAction>

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
}
