// Fills the designer's hook table with its dialogs: options, page and report
// options, variables, the about box and the database-fields wizard.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/frm_designer.h"
#include "report/report_page.h"

namespace {

TfrReport *DesignedReport() { return dynamic_cast<TfrReport *>(CurrentDocument()); }

void MarkModified(TfrDesignerForm &form)
{
    form.Modified = true;
    form.FileModified = true;
}

void DesignerOptionsClick(TfrDesignerForm &form)
{
    TDesignerOptions o;
    o.GridShow = form.Options.GridShow;
    o.GridAlign = form.Options.GridAlign;
    o.GridSize = form.Options.GridSize;
    o.Units = form.Options.Units;
    o.GrayButtons = form.Options.GrayButtons;
    o.EditAfterInsert = form.Options.EditAfterInsert;
    if (!EditDesignerOptions(o, &form))
        return;
    form.SetGridSize(o.GridSize);
    form.SetGridShow(o.GridShow);
    form.SetGridAlign(o.GridAlign);
    form.SetUnits(o.Units);
    form.SetGrayButtons(o.GrayButtons);
    form.Options.EditAfterInsert = o.EditAfterInsert;
}

void PageOptionsClick(TfrDesignerForm &form)
{
    if (form.Page && EditPageOptions(*form.Page, &form)) {
        MarkModified(form);
        form.SetPage(form.CurPage);
    }
}

void AddPageClick(TfrDesignerForm &form)
{
    TfrReport *report = DesignedReport();
    if (!report)
        return;
    form.ResetSelection();
    TfrPage &page = report->TemplatePages.Add();
    form.Page = &page;
    if (EditPageOptions(page, &form)) {
        MarkModified(form);
        form.SetPage(report->TemplatePages.Count() - 1);
    } else {
        // A page whose options were cancelled goes again.
        report->TemplatePages.Delete(report->TemplatePages.Count() - 1);
        form.SetPage(form.CurPage);
    }
}

void ReportOptionsClick(TfrDesignerForm &form)
{
    if (TfrReport *report = DesignedReport(); report && EditReportOptions(*report, &form))
        MarkModified(form);
}

void VariablesClick(TfrDesignerForm &form)
{
    if (TfrReport *report = DesignedReport(); report && ShowVariablesEditor(*report, &form))
        MarkModified(form);
}

void InsertFieldsClick(TfrDesignerForm &form)
{
    if (!form.Page)
        return;
    TWizardOptions base;
    base.Grid = form.Options.GridSize;
    const auto [w, h] = DefaultMemoSize(form.Options.GridSize, 10);
    base.ObjectWidth = w;
    base.ObjectHeight = h;
    base.SurfaceWidth = form.Page->PrinterInfo.PageWidth;
    base.SurfaceHeight = form.Page->PrinterInfo.PageHeight;
    form.ResetSelection();
    if (!InsertDBFields(*form.Page, base, QStringLiteral("Arial"), 10, &form).empty()) {
        MarkModified(form);
        OrderBands(*form.Page);
        form.RedrawPage();
    }
}

} // namespace

void InstallDesignerDialogs()
{
    DesignerHooks[QStringLiteral("N14")] = DesignerOptionsClick;
    DesignerHooks[QStringLiteral("N25")] = PageOptionsClick;
    DesignerHooks[QStringLiteral("PgB3")] = PageOptionsClick;
    DesignerHooks[QStringLiteral("N29")] = AddPageClick;
    DesignerHooks[QStringLiteral("PgB1")] = AddPageClick;
    DesignerHooks[QStringLiteral("N8")] = ReportOptionsClick;
    DesignerHooks[QStringLiteral("N42")] = VariablesClick;
    DesignerHooks[QStringLiteral("N34")] = [](TfrDesignerForm &form) { ShowAboutBox(&form); };
    DesignerHooks[QStringLiteral("InsertDBFields")] = InsertFieldsClick;
}
