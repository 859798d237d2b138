#include "emergency/ui/fire_branch_dialog.h"

#include "scheme/ui/frm_branch.h"

bool FireBranchDialogReady()
{
    return BranchDialogHost.Tables != nullptr;
}

void EditFireBranch(QWidget *owner, const QString &caption, int branch)
{
    EditBranchDialog(owner, caption, branch, false);
}
