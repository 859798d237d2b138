#include "journal/ui/journal_reports.h"

#include "report/engine.h"
#include "report/report.h"
#include "report/ui/frm_preview.h"
#include "report/ui/frm_progress.h"
#include "report/ui/qt_printer.h"
#include "report/ui/work_canvas.h"

TJournalDesignerHooks JournalDesignerHooks;

namespace {
bool Started = false;
bool DesignerInstalled = false;
} // namespace

void StartJournalReports()
{
    if (Started)
        return;
    Started = true;
    EngineStartup();
    InstallWorkCanvas();
    InstallProgressForm();
    InstallPreviewForm();
    InstallQtPrinter();
    if (JournalDesignerHooks.Install) {
        JournalDesignerHooks.Install();
        DesignerInstalled = true;
    }
}

void StopJournalReports()
{
    if (!Started)
        return;
    if (DesignerInstalled && JournalDesignerHooks.Remove)
        JournalDesignerHooks.Remove();
    DesignerInstalled = false;
    RemoveQtPrinter();
    SetPreviewOpener(nullptr);
    SetReportDestroyedHook(nullptr);
    RemoveProgressForm();
    RemoveWorkCanvas();
    EngineShutdown();
    Started = false;
}

bool JournalReportsStarted() { return Started; }
