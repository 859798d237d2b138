#include "report/report_document.h"

#include "report/interpreter.h"

void TfrReportDocument::RunObjectScript(TfrView &view)
{
    if (view.ScriptLines.isEmpty() || !EngineRunning())
        return;
    TfrEngine &e = Engine();
    QStringList coded, errors;
    e.ReportInterpreter->Compile(view.ScriptLines, coded, errors);
    if (!errors.isEmpty()) {
        e.ScratchLines << errors;
        return;
    }
    e.ReportInterpreter->Run(coded);
}

bool TfrReportDocument::ConditionHolds(const QString &condition, TfrView &view)
{
    const Variant value = Engine().ReportParser.Evaluate(condition);
    return !(value.type() == Variant::Type::Integer && value.IntValue() == 0);
}

TfrReportDocument *CurrentDocument()
{
    return EngineRunning() ? dynamic_cast<TfrReportDocument *>(Engine().CurrentReport) : nullptr;
}

void SetCurrentDocument(TfrReportDocument *report)
{
    if (EngineRunning())
        Engine().CurrentReport = report;
}
