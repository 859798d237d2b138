#pragma once
// What a report contributes to value resolution: the host's events, the
// template's variables and value bindings, and the moment the build started.
// The report component derives from it.
#include "report/dataset.h"
#include "report/expression.h"
#include "report/values.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

using TDetailEvent = std::function<void(const QString &name, Variant &value)>;

class TfrReportBase : public TfrComponent
{
public:
    // The form that owns the report: bare component names are looked up there.
    QString OwnerName;
    QStringList VariableLines;
    TfrValues ValueBindings;
    TDetailEvent OnGetValue;
    TFunctionEvent OnUserFunction;
    // Date and time when the build started (days since 1899-12-30).
    double PrepareDate = 0;
    double PrepareTime = 0;
    bool Cancelled = false;

    // A report going away takes the evaluator's callbacks with it.
    ~TfrReportBase() override;

    // The value of a name met in a template, in this order: the host's
    // answer, the value binding, a data field, VALUE, the special values, the
    // script variables, and finally the name evaluated as an expression.
    Variant ValueResolution(const QString &name);
    // The display text of a bracket's content with its optional " #format".
    QString GetFormattedValue(const QString &text);
    // A function the evaluator does not know: the function libraries, then
    // the host's OnUserFunction. The result starts as "0".
    void CallUserFunction(const QString &name, const Variant &p1, const Variant &p2, const Variant &p3,
                          QString &val);
    // Points the engine's evaluator at this report (the build does it first).
    void AttachParser();
};
