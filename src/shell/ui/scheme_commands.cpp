#include "shell/ui/scheme_commands.h"

#include "scheme/ui/frm_branch.h"
#include "shell/ui/frm_br_select.h"
#include "shell/ui/frm_find.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/frm_mine_layers.h"
#include "shell/ui/frm_print_scheme.h"
#include "shell/ui/frm_property.h"

void InstallSchemeCommands(TfrmMain &mainWindow)
{
    TfrmMain *w = &mainWindow;
    mainWindow.SetCommandHandler(QStringLiteral("FilePrint"), [w] { ShowPrintScheme(*w); });
    mainWindow.SetCommandHandler(QStringLiteral("FileProperty"), [w] { ShowSchemeProperties(*w); });
    mainWindow.SetCommandHandler(QStringLiteral("mnuMineLayers"), [w] { ShowMineLayers(*w); });
    mainWindow.SetCommandHandler(QStringLiteral("spbtnFind"), [w] { ShowFindObject(*w); });
    BranchDialogHooks.SelectBranches = [](TfrmBranch &dialog, std::vector<bool> &flags) {
        TfrmBrSelect select(&dialog);
        return select.SelectBranches(flags);
    };
}
