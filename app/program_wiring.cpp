#include "program_wiring.h"

#include "calc/ui/air_commands.h"
#include "calc/ui/fan_commands.h"
#include "calc/ui/node_commands.h"
#include "calc/ui/resist_commands.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/frm_designer.h"
#include "emergency/ui/frm_gaz_sourse.h"
#include "emergency/ui/frm_pojar.h"
#include "emergency/ui/frm_puti.h"
#include "emergency/ui/stability_commands.h"
#include "emergency/ui/table_editors.h"
#include "platform/ui/desktop_opener.h"
#include "report/ui/frm_preview.h"
#include "report/ui/frm_progress.h"
#include "report/ui/qt_printer.h"
#include "report/ui/work_canvas.h"
#include "shell/ui/branch_dialog_host.h"
#include "shell/ui/branch_symbols_host.h"
#include "shell/ui/file_commands.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/plugin_menu.h"
#include "shell/ui/scheme_commands.h"
#include "shell/ui/scheme_objects_host.h"
#include "shell/ui/table_commands.h"

void InstallProgramServices()
{
    InstallDesktopOpener();
    // Report texts wrap by the real font metrics of the screen.
    InstallWorkCanvas();
    InstallProgressForm();
    InstallPreviewForm();
    InstallQtPrinter();
    // The inspector takes its text editor when the designer's window is
    // made, so the designer's dialogs are linked first.
    InstallDesignerDialogHooks();
    InstallReportDesigner();
}

void RemoveProgramServices()
{
    RemoveReportDesigner();
    RemoveQtPrinter();
    RemoveProgressForm();
}

void InstallMainWindowCommands(TfrmMain &window)
{
    InstallFileCommands(window);
    InstallAirDistributionCommands(window);
    InstallResistanceCommands(window);
    InstallBranchDialogHost(window);
    TBranchSymbolsHost::Install(window);
    InstallSchemeObjects(window);
    InstallFanEditor(window);
    InstallFreshRecalcCommand(window);
    InstallFireCommands(window);
    InstallRouteCommands(window);
    InstallTableCommands(window);
    InstallSchemeCommands(window);
    InstallTableEditorHooks();
    InstallStabilityCommands(window);
    InstallNodePressureCommands(window);
    TPluginHost::Install(window);
}
