// Tunvex: mine ventilation networks.
#include <QtWidgets/QApplication>

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
#include "platform/paths.h"
#include "platform/ui/desktop_opener.h"
#include "platform/ui/qt_prompt.h"
#include "platform/ui/translations.h"
#include "report/engine.h"
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

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tunvex"));
    InstallQtTranslations();
    TQtPrompt prompt;
    SetPrompt(&prompt);
    InstallDesktopOpener();
    // Report texts wrap by the real font metrics of the screen.
    InstallWorkCanvas();
    // The report engine runs for the whole session, its progress window with it.
    TfrEngineScope reportEngine;
    InstallProgressForm();
    InstallPreviewForm();
    InstallQtPrinter();
    // The designer's window exists, hidden, before the main window; its
    // dialogs are linked first, since the inspector takes its text editor
    // when the window is made.
    InstallDesignerDialogHooks();
    InstallReportDesigner();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TfrmMain window(arguments, StartFolder());
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
    window.show();
    const int code = app.exec();
    RemoveReportDesigner();
    RemoveQtPrinter();
    RemoveProgressForm();
    return code;
}
