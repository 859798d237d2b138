#include "emergency/ui/frm_stb_vosph.h"

#include "emergency/ui/frm_fr_stab.h"
#include "emergency/ui/frm_prg_b.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QDir>

TfrmStbVosph *frmStbVosph = nullptr;

namespace {
const QString AscendingCaption = QStringLiteral("Расчет устойчивости при пожаре в выработках с восходящим проветриванием");
}

TfrmStbVosph::TfrmStbVosph(QWidget *owner, TNetworkTables &t, int fireTime)
    : TReportChooser(owner, QStringLiteral("frmStbVosph"), AscendingCaption), Report(t, Study, fireTime), m_t(t),
      m_fireTime(fireTime)
{
    frmStbVosph = this;
    Label1->setText(QStringLiteral("Выберите форму отчета"));
    ConnectStabilityReport(frMain, Report);
    RegisterDatasets({&Report.udStability});
    ListTemplates(ReportsFolder());
}

TfrmStbVosph::~TfrmStbVosph()
{
    if (frmStbVosph == this)
        frmStbVosph = nullptr;
}

void TfrmStbVosph::ListTemplates(const QString &folder)
{
    AddTemplates(QDir(folder).filePath(AscendingTemplateFolder), QStringLiteral("*.frf"));
}

void TfrmStbVosph::FolderFound(const QString &folder)
{
    SetReportsFolder(folder);
    ListTemplates(folder);
}

void TfrmStbVosph::Compute()
{
    TfrmPrgB progress(parentWidget(), AscendingCaption);
    progress.show();
    ComputeAscendingStability(m_t, Study, m_fireTime, progress, EditLackingBranches);
}

void RunAscendingStability(TfrmMain &mainWindow)
{
    if (!CalcAir(&mainWindow, Net))
        return;
    TfrmStbVosph form(&mainWindow, Net, mainWindow.GetFireTime());
    form.Compute();
    if (form.Study.Count() > 0)
        form.exec();
}
