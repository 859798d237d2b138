#include "emergency/ui/frm_fr_stab.h"

#include "shell/ui/frm_main.h"

TfrmFrStab *frmFrStab = nullptr;

QString ReportsFolder()
{
    return frmMain ? frmMain->Options().ReportsLocation : QString();
}

void SetReportsFolder(const QString &folder)
{
    if (frmMain)
        frmMain->Options().ReportsLocation = folder;
}

void ConnectStabilityReport(TfrReport &report, TStabilityReport &data)
{
    report.OnGetValue = [&data](const QString &name, Variant &value) { data.GetValue(name, value); };
    report.OnUserFunction = [&data](const QString &name, const Variant &, const Variant &, const Variant &,
                                    QString &value) { data.UserFunction(name, value); };
}

TfrmFrStab::TfrmFrStab(QWidget *owner, const TNetworkTables &t, const TDescendingStability &study)
    : TReportChooser(owner, QStringLiteral("frmFrStab"), QStringLiteral("Формы отчетов по устойчивости")),
      Report(t, study)
{
    frmFrStab = this;
    Label1->setText(QStringLiteral("Выберите форму отчета"));
    ConnectStabilityReport(frMain, Report);
    RegisterDatasets({&Report.udStability});
    ListTemplates(ReportsFolder());
}

TfrmFrStab::~TfrmFrStab()
{
    if (frmFrStab == this)
        frmFrStab = nullptr;
}

void TfrmFrStab::ListTemplates(const QString &folder)
{
    AddTemplates(folder, DescendingTemplatePrefix + QStringLiteral("*.frf"));
}

void TfrmFrStab::FolderFound(const QString &folder)
{
    SetReportsFolder(folder);
    ListTemplates(folder);
}
