#include "emergency/ui/frm_reports2.h"

#include "emergency/ui/frm_fr_stab.h"
#include "shell/ui/frm_main.h"

TfrmReports2 *frmReports2 = nullptr;

TfrmReports2::TfrmReports2(QWidget *owner, TNetworkTables &t, TDetectionResults results, const QString &mineTitle)
    : TReportChooser(owner, QStringLiteral("frmReports2"), QStringLiteral("Управление отчетами")),
      Report(t, std::move(results))
{
    frmReports2 = this;
    Label1->setText(QStringLiteral("Найденные отчеты"));
    Report.Sources.MineTitle = mineTitle;
    frMain.TwoPassBuild = true;
    frMain.OnGetValue = [this](const QString &name, Variant &value) { Report.GetValue(name, value); };
    frMain.OnUserFunction = [this](const QString &name, const Variant &, const Variant &, const Variant &,
                                   QString &value) { Report.UserFunction(name, value); };
    RegisterDatasets(Report.Datasets());
    ListTemplates(ReportsFolder());
    if (ComputeNodePressuresHook)
        ComputeNodePressuresHook(t, Report.Sources.NodePressures);
}

TfrmReports2::~TfrmReports2()
{
    if (frmReports2 == this)
        frmReports2 = nullptr;
}

void TfrmReports2::ListTemplates(const QString &folder)
{
    AddTemplates(folder, QStringLiteral("*.frf"));
}

void TfrmReports2::FolderFound(const QString &folder)
{
    SetReportsFolder(folder);
    ListTemplates(folder);
}

void RunFireDetectionTime(TfrmMain &mainWindow)
{
    TDetectionResults results;
    const CalcResult result = CalcFireDetectionTimes(Net, results);
    if (result != crSolved) {
        ShowCalcError(&mainWindow, result, Net);
        return;
    }
    TfrmReports2 form(&mainWindow, Net, std::move(results), mainWindow.GetMineTitle());
    form.exec();
}
