#include "calc/ui/air_commands.h"

#include "calc/fixed_depression.h"
#include "calc/reversal.h"
#include "calc/solver.h"
#include "calc/speed_control.h"
#include "calc/ui/frm_air_tabl_n.h"
#include "calc/ui/frm_cntr_air_speed.h"
#include "calc/ui/frm_depres.h"
#include "calc/ui/frm_fixir.h"
#include "calc/ui/frm_het.h"
#include "calc/ui/frm_q_accelerate.h"
#include "calc/ui/frm_zakor.h"
#include "platform/prompt.h"
#include "report/template_preview.h"
#include "scheme/branch_table.h"
#include "scheme/ui/frm_mine_tab.h"
#include "scheme/ui/tabbed_notebook_dlg.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"

TFireModelHooks FireModelHooks;

namespace {

// The table over the main window's tables, with its category view.
int ShowAirTable(TfrmMain &mainWindow, bool fixedDepression)
{
    TfrmAirTablN form(&mainWindow, Net, mainWindow.Options().ReportStyle);
    form.ShowRangeChoice = true;
    form.Table.FixedDepressionMode = fixedDepression;
    return form.exec();
}

// The owner of a window that a failure opens: the calculation's window, else
// the main window while there is one.
QWidget *OwnerWidget(QObject *owner)
{
    auto *widget = qobject_cast<QWidget *>(owner);
    return widget ? widget : frmMain;
}

// The windows that the solvers' failures open.
void InstallCalcErrorWindows()
{
    CalcErrorHooks.ShowTopologyReport = [](QObject *owner) { ShowTopologyReport(OwnerWidget(owner)); };
    CalcErrorHooks.ShowZeroResistanceBranches = [](QObject *owner) {
        EditBranchTable(OwnerWidget(owner), btfZeroR);
    };
    CalcErrorHooks.ShowBranchRange = [](QObject *owner, const QString &range) {
        return EditBranchTable(OwnerWidget(owner), btfRange, range) == 1;
    };
}

} // namespace

bool ReleaseFireModel(TfrmMain &mainWindow)
{
    if (!FireModelHooks.Exists || !FireModelHooks.Exists())
        return true;
    const int answer = ShowMessageBox(
        LookupText(QStringLiteral("Для расчета нормального воздухораспределения необходимо")
                   + QStringLiteral(" отменить расчет зоны загазирования. Продолжать?")),
        LookupText(QStringLiteral("Предупреждение")), mb::OkCancel | mb::IconWarning);
    if (answer != idOk)
        return false;
    mainWindow.SetCaptionSuffix(QString());
    if (FireModelHooks.Free)
        FireModelHooks.Free();
    // The fire's colours go before anything else is shown over the scheme.
    mainWindow.Redraw();
    return true;
}

bool CanReleaseFireModel(const TfrmMain &mainWindow, const QWidget *from)
{
    return from == &mainWindow || (from && from->parentWidget() == &mainWindow);
}

std::unique_ptr<TNetworkTables> NormalAirCopy(TfrmMain &mainWindow)
{
    if (!FireModelHooks.Exists || !FireModelHooks.Exists())
        return nullptr;
    std::unique_ptr<TNetworkTables> normal;
    mainWindow.Storage().WithNetworkValues([&normal] { normal = std::make_unique<TNetworkTables>(Net); });
    return normal;
}

void mnuAirClick(TfrmMain &mainWindow)
{
    if (!ReleaseFireModel(mainWindow))
        return;
    TSolveStats stats;
    if (!CalcAir(&mainWindow, Net, &stats))
        return;
    WarnIfUnsettled(stats);
    ShowAirTable(mainWindow, false);
    mainWindow.Redraw();
}

void mnuFixDeprClick(TfrmMain &mainWindow)
{
    TSolveStats stats;
    if (!RunFixedDepressionAir(&mainWindow, Net, &stats))
        return;
    WarnIfUnsettled(stats);
    // The resistances of the branches with fixed depressions were computed.
    mainWindow.SetModified(true);
    mainWindow.Redraw();
    ShowAirTable(mainWindow, true);
}

void mnuReTurnClick(TfrmMain &mainWindow)
{
    TReversalHost host;
    host.ShowTable = [&mainWindow] { return ShowAirTable(mainWindow, false) == QDialog::Accepted; };
    host.BranchChanged = [&mainWindow](int b) {
        mainWindow.ObjectChanged(std::make_unique<TBranch>(Net, b), ckChanged);
    };
    TurnReversedBranches(Net, host);
    mainWindow.Redraw();
}

void mnuSpeedCheckClick(TfrmMain &mainWindow)
{
    RunSpeedCheck(&mainWindow, Net);
}

void menuQHFixirClick(TfrmMain &mainWindow)
{
    if (!RunFixedQHResistance(&mainWindow, Net.BranchR, Net.BranchRequiredFlow, Net.BranchFixedDepression))
        return;
    mainWindow.SetModified(true);
    mainWindow.Redraw();
}

void mnuGetHetClick(TfrmMain &mainWindow)
{
    bool writtenBack = false;
    if (RunHet(mainWindow, writtenBack) && writtenBack)
        mainWindow.SetModified(true);
}

void InstallAirDistributionCommands(TfrmMain &mainWindow)
{
    mainWindow.Storage().SpeedDefaults = [](int type, double &minSpeed, double &maxSpeed) {
        minSpeed = DefaultMinSpeed(type);
        maxSpeed = DefaultMaxSpeed(type);
        return true;
    };
    HetWindowHooks.ShowReport = [](QWidget *, const QString &templateFile, THetReport &report) {
        PreviewTemplateFile(QStringLiteral("frmHet"), templateFile, {&report.frHet},
                            [&report](const QString &name, Variant &value) { report.GetValue(name, value); });
    };
    TfrmMain *w = &mainWindow;
    mainWindow.ReleaseFireModel = [w] { return ReleaseFireModel(*w); };
    mainWindow.SetCommandHandler(QStringLiteral("TaskAirDistribution"), [w] { mnuAirClick(*w); });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("TaskFixDepr"), [w] { mnuFixDeprClick(*w); });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("mnuReTurn"), [w] { mnuReTurnClick(*w); });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("mnuSpeedCheck"), [w] { mnuSpeedCheckClick(*w); });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("menuQHFixir"), [w] { menuQHFixirClick(*w); });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("TaskShorting"), [w] { RunShortCircuiting(w); });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("TaskDepressiogram"), [w] { RunDepressiogram(w); });
    mainWindow.SetNormalAirCommandHandler(QStringLiteral("mnuGetHet"), [w] { mnuGetHetClick(*w); });
    InstallVentBoost();
    InstallCalcErrorWindows();
}
