#include "designer/variables_model.h"

#include "designer/dialog_rules.h"
#include "report/engine.h"
#include "report/report_base.h"
#include "report/template_file.h"

namespace {
TfrStream &VariablesClipboard()
{
    static TfrStream clipboard;
    return clipboard;
}

// Every variable of every category, in list order.
QStringList VariableNames(const QStringList &lines)
{
    QStringList names;
    for (const QString &line : lines)
        if (line.startsWith(u' '))
            names << line.mid(1);
    return names;
}
} // namespace

TfrVariablesEditModel::TfrVariablesEditModel(TfrReportBase &report) : m_report(report)
{
    WriteValueBindings(report.ValueBindings, m_savedBindings);
    m_savedLines = report.VariableLines;
}

void TfrVariablesEditModel::StoreBinding(const QString &variable, const QString &source, const QString &item,
                                         const QString &expression)
{
    TfrValue *value = m_report.ValueBindings.FindVariable(variable);
    if (!value)
        return;
    if (item == NoneItemName) {
        value->Kind = TfrValue::kindNone;
        return;
    }
    if (source != OtherVariablesName) {
        value->Kind = TfrValue::kindField;
        value->DataSetName = source;
        value->FieldText = item;
        value->SpecialIndex = 0;
        return;
    }
    value->Kind = TfrValue::kindSpecial;
    const int index = Engine().SpecialValueNames.indexOf(item);
    if (index >= 0)
        value->SpecialIndex = index;
    if (value->SpecialIndex == svExpression)
        value->FieldText = expression;
}

void TfrVariablesEditModel::ApplyVariableList(const QStringList &lines)
{
    m_report.VariableLines = lines;
    const QStringList names = VariableNames(lines);
    TfrValues &values = m_report.ValueBindings;
    for (int i = values.Count() - 1; i >= 0; --i) {
        const QString name = values.Item(i)->Name;
        if (!lines.contains(u' ' + name))
            values.Delete(name);
    }
    for (const QString &name : names)
        if (!values.FindVariable(name))
            values.AddValue(name);
}

void TfrVariablesEditModel::Restore()
{
    m_savedBindings.Seek(0);
    m_report.ValueBindings.Clear();
    ReadValueBindings(m_report.ValueBindings, m_savedBindings);
    m_report.VariableLines = m_savedLines;
}

void TfrVariablesEditModel::Copy() const
{
    TfrStream &clipboard = VariablesClipboard();
    clipboard = TfrStream();
    WriteValueBindings(m_report.ValueBindings, clipboard);
    clipboard.WriteStrings(m_report.VariableLines);
}

void TfrVariablesEditModel::Paste()
{
    TfrStream &clipboard = VariablesClipboard();
    if (clipboard.Size() == 0)
        return;
    clipboard.Seek(0);
    m_report.ValueBindings.Clear();
    ReadValueBindings(m_report.ValueBindings, clipboard);
    m_report.VariableLines = clipboard.ReadStrings();
}

bool TfrVariablesEditModel::ClipboardHasData() { return VariablesClipboard().Size() > 0; }
