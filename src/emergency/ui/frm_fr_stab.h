#pragma once
// "Формы отчетов по устойчивости": the templates "Устойчивость*.frf" of the
// reports folder, printed over the descending study's table.
#include "emergency/stability_report.h"
#include "report/ui/report_chooser.h"

class TfrmFrStab : public TReportChooser
{
    Q_OBJECT

public:
    // Keeps its own list of the study's branches, taken now.
    TfrmFrStab(QWidget *owner, const TNetworkTables &t, const TDescendingStability &study);
    ~TfrmFrStab() override;

    TStabilityReport Report;
    void ListTemplates(const QString &folder);

protected:
    void FolderFound(const QString &folder) override;
};

extern TfrmFrStab *frmFrStab;

// The reports folder of the program's settings, and setting it (a file found elsewhere).
QString ReportsFolder();
void SetReportsFolder(const QString &folder);
// Gives a chooser's report the value and function events of a stability report.
void ConnectStabilityReport(TfrReport &report, TStabilityReport &data);
