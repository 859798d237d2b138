#include "designer/ui/designer_dialog_hooks.h"

#include "designer/design_state.h"
#include "designer/designer_core.h"
#include "designer/dialog_rules.h"
#include "designer/ui/design_page.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/frm_designer.h"
#include "designer/ui/frm_insp.h"
#include "platform/guard.h"
#include "report/report.h"
#include "report/report_objects.h"
#include "report/report_page.h"


#include <tuple>

QString DesignerTemplateFolder;

namespace {

TfrReport *DesignedReport() { return dynamic_cast<TfrReport *>(CurrentDocument()); }

void MarkModified(TfrDesignerForm &form)
{
    form.Modified = true;
    form.FileModified = true;
}

// Page options; true when they were confirmed and taken.
bool PageOptions(TfrDesignerForm &form)
{
    DialogConfirmed = false;
    const std::vector<std::uint32_t> objects = form.PageObjectIDs();
    if (!form.Page || !EditPageOptions(*form.Page, &form))
        return false;
    MarkModified(form);
    DialogConfirmed = true;
    form.ShowPageAgain(objects);
    return true;
}

void AddPage(TfrDesignerForm &form)
{
    TfrReport *report = DesignedReport();
    if (!report)
        return;
    form.ResetSelection();
    form.Page = &report->TemplatePages.Add();
    const int added = report->TemplatePages.Count() - 1;
    if (PageOptions(form)) {
        form.SetPage(added);
        return;
    }
    // A page whose options were cancelled is not kept.
    report->TemplatePages.Delete(added);
    form.SetPage(form.CurPage);
}

void ReportOptions(TfrDesignerForm &form)
{
    if (TfrReport *report = DesignedReport()) {
        const std::vector<std::uint32_t> objects = form.PageObjectIDs();
        if (EditReportOptions(*report, &form))
            MarkModified(form);
        form.ShowPageAgain(objects);
    }
}

void DesignerOptions(TfrDesignerForm &form)
{
    TDesignerOptions o = form.Options;
    if (!EditDesignerOptions(o, &form))
        return;
    form.SetGridShow(o.GridShow);
    form.SetGridAlign(o.GridAlign);
    form.SetGridSize(GridSizeFromChoice(o.GridSize));
    form.Options.InverseOutlines = o.InverseOutlines;
    form.SetUnits(o.Units == 0 || o.Units == 1 ? o.Units : 2);
    form.SetGrayButtons(o.GrayButtons);
    form.Options.EditAfterInsert = o.EditAfterInsert;
}

void Variables(TfrDesignerForm &form)
{
    if (TfrReport *report = DesignedReport(); report && ShowVariablesEditor(*report, &form))
        MarkModified(form);
}

void InsertFields(TfrDesignerForm &form)
{
    if (!form.Page)
        return;
    TWizardOptions base;
    base.Grid = form.Options.GridSize;
    std::tie(base.ObjectWidth, base.ObjectHeight) = DefaultMemoSize(form.Options.GridSize, LastFontSize);
    base.SurfaceWidth = form.Page->PrinterInfo.PageWidth;
    base.SurfaceHeight = form.Page->PrinterInfo.PageHeight;
    // The wizard selects what it inserts; the rest goes unselected first.
    std::vector<TfrView *> before = SelectedObjects(*form.Page);
    for (TfrView *v : before)
        v->Selected = false;
    const std::vector<TfrMemoView *> added = InsertDBFields(*form.Page, base, LastFontName, LastFontSize, &form);
    if (added.empty()) {
        for (TfrView *v : before)
            v->Selected = true;
        return;
    }
    SelectedCount = int(added.size());
    LastClickedView = nullptr;
    form.SyncToolbars();
    OrderBands(*form.Page);
    form.PageView->ComputeSelectionBounds();
    form.RedrawPage();
    // One step takes the whole insertion back.
    form.RecordUndo(0);
}

void Guarded(TfrDesignerForm &form, void (*command)(TfrDesignerForm &))
{
    GuardedCall([&form, command] { command(form); });
}

// The hooks by the name of the menu item or button that opens them.
const std::pair<const char *, void (*)(TfrDesignerForm &)> Commands[] = {
    {"N25", [](TfrDesignerForm &f) { PageOptions(f); }},
    {"PgB3", [](TfrDesignerForm &f) { PageOptions(f); }},
    {"PgB1", AddPage},
    {"N29", AddPage},
    {"N8", ReportOptions},
    {"N14", DesignerOptions},
    {"N34", [](TfrDesignerForm &f) { ShowAboutBox(&f); }},
    {"N42", Variables},
    {"InsertDBFields", InsertFields},
};

// The inspector's "Memo" row opens the text editor on the inspected object.
class TMemoPropEditor : public TPropEditor
{
public:
    explicit TMemoPropEditor(QWidget *owner) : TPropEditor(owner) {}
    int ShowEditor() override
    {
        auto *form = dynamic_cast<TfrDesignerForm *>(parentWidget());
        if (!View || !form)
            return QDialog::Rejected;
        // Whatever the object, this row edits its text and script (a band's
        // script is reached nowhere else but by Ctrl+Enter).
        if (!EditObjectText({View}, form))
            return QDialog::Rejected;
        MarkModified(*form);
        form->RedrawPage();
        return QDialog::Accepted;
    }
};

} // namespace

bool EditDesignerObject(TfrDesignerForm &form, TfrView &view)
{
    bool changed = false;
    switch (view.ReportObjectType) {
    case gtMemo:
        changed = EditObjectText({&view}, &form);
        break;
    case gtPicture:
        if (auto *picture = dynamic_cast<TfrPictureView *>(&view))
            changed = EditPicture(*picture, &form);
        break;
    case gtBand:
        if (auto *band = dynamic_cast<TfrBandView *>(&view)) {
            const int type = band->GetBandType();
            if (type == 5 || type == 8 || type == 11)
                changed = EditBandSource(view, &form);
            else if (type == 16)
                changed = EditGroupCondition(view, &form);
            else if (type == 19 && form.Page)
                changed = EditCrossBandSources(view, *form.Page, &form);
        }
        break;
    default:
        break;
    }
    if (changed) {
        MarkModified(form);
        form.RedrawPage();
    }
    return changed;
}

void InstallDesignerDialogHooks()
{
    for (auto [name, command] : Commands)
        DesignerHooks[QLatin1String(name)] = [command](TfrDesignerForm &form) { Guarded(form, command); };
    DesignerMemoEditorFactory = [](QWidget *owner) -> TPropEditor * { return new TMemoPropEditor(owner); };
}

void RemoveDesignerDialogHooks()
{
    for (auto [name, command] : Commands)
        DesignerHooks.erase(QLatin1String(name));
    DesignerMemoEditorFactory = nullptr;
}
