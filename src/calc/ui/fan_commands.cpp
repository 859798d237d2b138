#include "calc/ui/fan_commands.h"

#include "calc/ui/air_commands.h"
#include "calc/ui/frm_edit_fan.h"
#include "model/network.h"
#include "platform/numbers.h"
#include "scheme/ui/frm_branch.h"
#include "shell/ui/frm_main.h"

#include <QtWidgets/QLineEdit>

#include <cmath>

void EditBranchFanCommand(TfrmBranch &dialog, const QString &fansFolder, TNetworkTables *normalAir)
{
    TBranchForm &form = dialog.Form();
    TNetworkTables &t = normalAir ? *normalAir : form.Tables();
    const int n = form.Branch;
    // The stored values, not what the edits hold now.
    double h = t.BranchAuxDepression[n];
    double r = t.BranchR[n];
    double q = std::fabs(t.BranchQ[n]);
    TInstFanList &fans = form.Document().InstalledFans;
    QString name;
    int curve = 0;
    int efficiency = DefaultFanEfficiency;
    if (fans.FindBranch(n)) {
        name = fans.GetFanName();
        curve = fans.GetCurveIndex();
        efficiency = fans.GetEfficiency();
    }
    FanEditor.Tables = &t;
    FanEditor.Catalogue.Folder = fansFolder;
    const bool confirmed = EditBranchFan(&dialog, n, name, h, r, q, curve, efficiency);
    // A copy of the tables does not outlive the command.
    FanEditor.Tables = &form.Tables();
    if (!confirmed)
        return;
    // The installed fan changes at once; the dialog's Cancel keeps it.
    if (fans.HasCurrent()) {
        fans.SetFanName(name);
        fans.SetCurveIndex(static_cast<std::uint8_t>(curve));
        fans.SetEfficiency(static_cast<std::uint8_t>(efficiency));
    } else {
        fans.Add(n, name, curve, efficiency);
    }
    dialog.edAirDebt->setText(FormatFixedPD(q, 7, 2));
    dialog.edAuxDepr->setText(FormatFixedPD(h, 9, 4));
    dialog.edRes->setText(FormatFixedPD(r, 12, 8));
    dialog.xqeDepr->setText(FormatFixedPD(std::fabs(std::fabs(h) - r * q * q), 9, 4));
    form.Modified = true;
}

void InstallFanEditor(TfrmMain &mainWindow)
{
    TfrmMain *w = &mainWindow;
    BranchDialogHooks.Fan = [w](TfrmBranch &dialog) {
        if (CanReleaseFireModel(*w, &dialog) && !ReleaseFireModel(*w))
            return;
        const std::unique_ptr<TNetworkTables> normalAir = NormalAirCopy(*w);
        EditBranchFanCommand(dialog, w->GetFansFolder(), normalAir.get());
    };
}
