#pragma once
// What the variables editor does to a report while it is open: it binds
// variables to values in place, rewrites the variable list, copies and pastes
// both through a private clipboard, and on Cancel puts everything back.
#include "report/report_stream.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

class TfrReportBase;

class TfrVariablesEditModel
{
public:
    // Keeps the bindings and variable lines as they are now.
    explicit TfrVariablesEditModel(TfrReportBase &report);

    TfrReportBase &Report() const { return m_report; }

    // Binds the variable to the value chosen under a source ("[Нет]" unbinds;
    // the expression counts for the special value "Выражение"). A variable
    // without a binding is left alone.
    void StoreBinding(const QString &variable, const QString &source, const QString &item,
                      const QString &expression);
    // New variable lines: bindings of variables that are gone are dropped,
    // new variables get an empty binding.
    void ApplyVariableList(const QStringList &lines);
    // The bindings and lines as they were when the editor opened.
    void Restore();

    // The private clipboard lives for the run and outlasts the report.
    void Copy() const;
    void Paste();
    static bool ClipboardHasData();

private:
    TfrReportBase &m_report;
    TfrStream m_savedBindings;
    QStringList m_savedLines;
};
