#include "calc/ui/node_commands.h"

#include "calc/network_report.h"
#include "calc/node_pressures.h"
#include "calc/ui/frm_altitude.h"
#include "calc/ui/frm_pres.h"
#include "calc/ui/frm_reports1.h"
#include "scheme/ui/frm_new_node.h"
#include "shell/ui/frm_main.h"

namespace {

// The labels and the node dialog solve without showing a failure: a paint
// must not open message boxes.
bool QuietNodePressures(std::vector<double> &pressures)
{
    if (CalcTablesAir(Net) != crSolved)
        return false;
    NodePressuresOfSolved(Net, pressures);
    return true;
}

void mnuFastRepClick(TfrmMain &mainWindow)
{
    TfrmReports1 form(&mainWindow, Net, mainWindow.GetMineTitle());
    form.Data.SelectAllBranches();
    form.exec();
}

} // namespace

void InstallNodePressureCommands(TfrmMain &mainWindow)
{
    InstallReportChooserOutput();
    ComputeNodePressuresHook = [](TNetworkTables &t, std::vector<double> &pressures) {
        ComputeNodePressures(t, pressures, frmMain);
    };
    mainWindow.SchemeOverlays().NodePressures = QuietNodePressures;
    NodeDialogHost.Form.NodePressure = [](int node) -> std::optional<double> {
        std::vector<double> pressures;
        if (!ValidItemIndex(node) || !QuietNodePressures(pressures))
            return std::nullopt;
        return pressures[static_cast<std::size_t>(node)];
    };
    TfrmMain *w = &mainWindow;
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("TaskNodePress"), [w] { RunNodePressures(w, Net); });
    mainWindow.SetCommandHandler(QStringLiteral("mnuNodeAlt"), [w] {
        TfrmAltitude form(w, Net);
        form.exec();
    });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("mnuFastRep"), [w] { mnuFastRepClick(*w); });
}
