#pragma once
// "Управление отчетами" over the fire-detection times: the templates of the
// reports folder, printed with the network's node and branch data and the
// detection record of every possible fire branch.
#include "emergency/fire_detection_report.h"
#include "report/ui/report_chooser.h"

class TfrmMain;

class TfrmReports2 : public TReportChooser
{
    Q_OBJECT

public:
    TfrmReports2(QWidget *owner, TNetworkTables &t, TDetectionResults results, const QString &mineTitle);
    ~TfrmReports2() override;

    TFireDetectionReport Report;
    void ListTemplates(const QString &folder);

protected:
    void FolderFound(const QString &folder) override;
};

extern TfrmReports2 *frmReports2;

// "Время обнаружения пожара...": the detection times of every possible fire
// branch, then the report manager over them.
void RunFireDetectionTime(TfrmMain &mainWindow);
