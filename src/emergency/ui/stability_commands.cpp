#include "emergency/ui/stability_commands.h"

#include "emergency/ui/frm_reports2.h"
#include "emergency/ui/frm_stabil.h"
#include "emergency/ui/frm_stb_vosph.h"
#include "report/ui/report_chooser.h"
#include "shell/ui/frm_find_files.h"
#include "shell/ui/frm_main.h"

void InstallStabilityCommands(TfrmMain &mainWindow)
{
    // "Найти..." of the report choosers is the program's file search.
    if (!ReportChooserHooks.FindFile)
        ReportChooserHooks.FindFile = FindFileWithMask;
    TfrmMain *w = &mainWindow;
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("TaskDescendingVentl"), [w] { RunDescendingStability(*w); });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("TaskAscendVentl"), [w] { RunAscendingStability(*w); });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("mnuFireDetectionTime"), [w] { RunFireDetectionTime(*w); });
}
