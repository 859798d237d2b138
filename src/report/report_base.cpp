#include "report/report_base.h"

#include "report/engine.h"
#include "report/library.h"

namespace {

[[noreturn]] void UndefinedSymbol(const QString &name)
{
    throw EParserError(QStringLiteral("Undefined symbol \"%1\"").arg(name));
}

// Marks a binding as being evaluated for the time of its evaluation: a binding
// met again inside its own evaluation refers to itself (A -> B -> A).
class BindingGuard
{
public:
    BindingGuard(QStringList &list, const QString &name) : m_list(list)
    {
        if (m_list.contains(name, Qt::CaseInsensitive))
            UndefinedSymbol(name);
        m_list.append(name);
    }
    ~BindingGuard() { m_list.removeLast(); }

private:
    QStringList &m_list;
};

} // namespace

Variant TfrReportBase::ValueResolution(const QString &name)
{
    TfrEngine &e = Engine();
    Variant value;

    if (OnGetValue) {
        OnGetValue(name, value);
        if (!value.IsEmpty())
            return value;
    }

    if (TfrValue *binding = ValueBindings.FindVariable(name)) {
        switch (binding->Kind) {
        case TfrValue::kindNone:
            return Variant(QString());
        case TfrValue::kindField:
            return binding->Field ? binding->Field->Value() : Variant();
        default: {
            BindingGuard guard(e.ResolvingBindings, name);
            if (binding->SpecialIndex == svExpression)
                return e.ReportParser.Evaluate(binding->FieldText);
            if (binding->SpecialIndex >= 0 && binding->SpecialIndex < SpecialValueKeywords.size())
                return e.ReportParser.Evaluate(SpecialValueKeywords[binding->SpecialIndex]);
            return Variant();
        }
        }
    }

    TDataSet *dataSet = CurrentBandDataSet();
    TField *field = nullptr;
    FindDataSetField(name, dataSet, field);
    if (field)
        return field->Value();

    if (name == QLatin1String("VALUE"))
        return e.LastValue;

    const int special = static_cast<int>(SpecialValueKeywords.indexOf(name));
    if (special >= 0 && special != svExpression) {
        switch (special) {
        case svPage:
            return Variant(e.CurrentPageIndex + 1);
        case svDate:
            return Variant::FromDateTime(PrepareDate);
        case svTime:
            return Variant::FromDateTime(PrepareTime);
        case svLine:
            return Variant(e.CurrentBand ? e.CurrentBand->LineNumber : 0);
        case svLineThrough:
            return Variant(e.CurrentBand ? e.CurrentBand->LineThroughNumber : 0);
        case svColumn:
            return Variant(e.CurrentRunPage ? e.CurrentRunPage->ColumnNumber() : 0);
        case svCurrentLine:
            return Variant(e.CurrentRunPage ? e.CurrentRunPage->CurrentLineNumber() : 0);
        case svTotalPages:
            return Variant(e.TotalPagesCount);
        }
    }

    if (e.ScriptVariables.IndexOf(name) >= 0)
        return e.ScriptVariables.GetValue(name);

    if (name == e.ResolutionGuard)
        UndefinedSymbol(name);
    e.ResolutionGuard = name;
    value = e.ReportParser.Evaluate(name);
    e.ResolutionGuard.clear();
    return value;
}

QString TfrReportBase::GetFormattedValue(const QString &text)
{
    TfrEngine &e = Engine();
    e.ResolutionGuard.clear();
    std::int32_t code = e.CurrentObject ? e.CurrentObject->ValueFormatCode() : FormatCode::Default();
    QString pattern = e.CurrentObject ? e.CurrentObject->ValueFormatText() : QString();
    const QString expression = ParseFormatSuffix(text, code, pattern);
    e.LastValue = Variant(0);
    e.LastValue = ValueResolution(expression);
    return FormatValue(e.LastValue, code, pattern);
}

void TfrReportBase::CallUserFunction(const QString &name, const Variant &p1, const Variant &p2, const Variant &p3,
                                     QString &val)
{
    TfrEngine &e = Engine();
    val = QStringLiteral("0");
    for (const auto &library : e.FunctionLibraryRegistry)
        if (library->HandleFunction(name, p1, p2, p3, val))
            return;
    if (OnUserFunction && (!e.AggregateBand || e.AggregateBand->Visible))
        OnUserFunction(name, p1, p2, p3, val);
}

TfrReportBase::~TfrReportBase()
{
    if (!EngineRunning() || Engine().CurrentReport != this)
        return;
    TfrEngine &e = Engine();
    e.CurrentReport = nullptr;
    e.ReportParser.OnValue = nullptr;
    e.ReportParser.OnFunction = nullptr;
}

void TfrReportBase::AttachParser()
{
    TfrEngine &e = Engine();
    e.CurrentReport = this;
    e.ReportParser.OnValue = [this](const QString &name, Variant &value) { value = ValueResolution(name); };
    e.ReportParser.OnFunction = [this](const QString &name, const Variant &p1, const Variant &p2, const Variant &p3,
                                       QString &val) { CallUserFunction(name, p1, p2, p3, val); };
}
