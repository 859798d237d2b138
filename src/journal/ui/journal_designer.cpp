#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/frm_designer.h"
#include "journal/ui/journal_reports.h"

void LinkJournalDesigner()
{
    JournalDesignerHooks.Install = [] {
        // The inspector takes its text editor when the form is made.
        InstallDesignerDialogHooks();
        InstallReportDesigner();
    };
    JournalDesignerHooks.SetFileName = [](const QString &fileName) {
        if (CurrentDesignerForm)
            CurrentDesignerForm->SetFileName(fileName);
    };
    JournalDesignerHooks.Remove = [] {
        RemoveReportDesigner();
        RemoveDesignerDialogHooks();
    };
}
