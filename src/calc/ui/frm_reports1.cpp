#include "calc/ui/frm_reports1.h"

#include "calc/node_pressures.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QDir>

TfrmReports1 *frmReports1 = nullptr;

QString NetworkReportsFolder() { return frmMain ? frmMain->Options().ReportsLocation : QString(); }

TfrmReports1::TfrmReports1(QWidget *owner, TNetworkTables &t, const QString &mineTitle)
    : TReportChooser(owner, QStringLiteral("frmReports1"), QStringLiteral("Управление отчетами")), Data(t)
{
    frmReports1 = this;
    Label1->setText(QStringLiteral("Найденные отчеты"));
    Data.Sources.MineTitle = mineTitle;
    frMain.OnGetValue = [this](const QString &name, Variant &value) { Data.GetValue(name, value); };
    frMain.OnUserFunction = [this](const QString &name, const Variant &, const Variant &, const Variant &,
                                   QString &value) { Data.UserFunction(name, value); };
    RegisterDatasets(Data.Datasets());
    ListTemplates(NetworkReportsFolder());
    // A failed solve is shown and the pressures stay zero.
    ComputeNodePressures(t, Data.Sources.NodePressures, owner);
}

TfrmReports1::~TfrmReports1()
{
    if (frmReports1 == this)
        frmReports1 = nullptr;
}

void TfrmReports1::SetBranches(const std::vector<std::int16_t> &branches)
{
    Data.Sources.Branches.assign(branches.begin(), branches.end());
}

void TfrmReports1::ListTemplates(const QString &folder) { AddTemplates(folder, QStringLiteral("*.frf")); }

void TfrmReports1::FolderFound(const QString &folder)
{
    if (frmMain)
        frmMain->Options().ReportsLocation = folder;
    ListTemplates(folder);
}

void TfrmReports1::BeforeBuild()
{
    if (Data.Sources.Branches.empty())
        Data.SelectAllBranches();
}

void TfrmReports1::PreviewTemplate(const QString &file)
{
    frMain.LoadFromFile(QDir(NetworkReportsFolder()).filePath(file));
    frMain.ShowReport();
}

void PreviewNetworkTemplate(QWidget *owner, const QString &file, const std::vector<std::int16_t> *branches)
{
    TfrmReports1 form(owner, Net, frmMain ? frmMain->GetMineTitle() : QString());
    if (branches)
        form.SetBranches(*branches);
    form.PreviewTemplate(file);
}
