#pragma once
// The part of a report that its objects and files meet: the template pages,
// the prepared pages, and the hooks through which objects reach the build
// (value texts, highlight conditions, scripts, the host's enter-rectangle
// step, the active export filter). The report component derives from it.
#include "report/report_base.h"
#include "report/report_objects.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

class TfrReportDocument : public TfrReportBase
{
public:

    // The object of that name on any template page, ignoring case.
    virtual TfrView *FindObject(const QString &name) const { return nullptr; }

    // Hooks of the build; the defaults serve a report without a build.
    virtual bool HasEnterRectHandler() const { return false; }
    // The host's last word on an object's text before it is printed
    // (a large-object field's content first).
    virtual void EnterRect(QStringList &lines, TfrView &view) {}
    // Compiles and runs the object's script (compile errors go to the
    // engine's scratch lines and nothing runs).
    virtual void RunObjectScript(TfrView &view);
    // The printed text of a bracket's content.
    virtual QString FormattedValue(const QString &expression, TfrView &view) { return GetFormattedValue(expression); }
    // True when the condition's value is not the integer 0.
    virtual bool ConditionHolds(const QString &condition, TfrView &view);
    virtual void ExportText(int x, int y, TfrView &view, const QString &text) {}
    virtual void ExportObject(TfrView &view) {}
};

// The report of the running engine when it is one of these (objects reach
// their report through it), else nullptr.
TfrReportDocument *CurrentDocument();
void SetCurrentDocument(TfrReportDocument *report);
