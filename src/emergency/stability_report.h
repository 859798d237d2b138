#pragma once
// The data of the stability reports: one record per judged working through
// the data set udStability, and the values and functions that their
// templates name. The descending report reads the study's results while it
// runs but keeps its own list of branches, taken when its chooser opened.
#include "emergency/stability.h"
#include "report/dataset.h"
#include "report/variant.h"

// The templates: "Устойчивость*.frf" in the reports folder for descending
// ventilation, every template of its sub-folder "Уст. при восх" for ascending.
inline const QString DescendingTemplatePrefix = QStringLiteral("Устойчивость");
inline const QString AscendingTemplateFolder = QStringLiteral("Уст. при восх");

class TStabilityReport
{
public:
    TStabilityReport(const TNetworkTables &t, const TDescendingStability &study);
    // fireTime: the minutes of a fire series ("ВремяРасч"). The rows are
    // the study's, also when it is computed after this report was made.
    TStabilityReport(const TNetworkTables &t, const TAscendingStability &study, int fireTime);
    TStabilityReport(const TStabilityReport &) = delete;
    TStabilityReport &operator=(const TStabilityReport &) = delete;

    TfrUserDataset udStability;
    int Row = 0;

    bool Descending() const { return m_descending != nullptr; }
    int Count() const { return static_cast<int>(Items().size()); }
    // The branch of the current row (0 outside the rows).
    int CurrentBranch() const;

    // The report's value event: false for a name it does not know, whose value stays.
    bool GetValue(const QString &name, Variant &value) const;
    // The report's function event. The ascending report empties the value
    // of a name it does not know; the descending one leaves it.
    void UserFunction(const QString &name, QString &value) const;

private:
    void InitDataset();
    // The descending report's own copy; the ascending study's rows as they are.
    const std::vector<int> &Items() const { return m_ascending ? m_ascending->Items : m_items; }

    const TNetworkTables &m_t;
    const TDescendingStability *m_descending = nullptr;
    const TAscendingStability *m_ascending = nullptr;
    std::vector<int> m_items;
    int m_fireTime = 0;
};
