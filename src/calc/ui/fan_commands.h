#pragma once
// The fan of a branch: the branch dialog's "Расчет" beside the additional
// depression opens the fan editor on the branch's installed fan and takes
// back the fan's parabola and working flow.
#include <QtCore/QString>

class TfrmBranch;
class TfrmMain;
struct TNetworkTables;

// The command itself, with the fan folder to list. normalAir: the network
// with the normal distribution that a fire model keeps, which the editor then
// reads and solves in place of the dialog's tables.
void EditBranchFanCommand(TfrmBranch &dialog, const QString &fansFolder, TNetworkTables *normalAir = nullptr);

// Fills the branch dialog's fan hook for the main window's fan folder. The
// working point solves the normal distribution: a fire model is released
// first, with its question, where that may be done; elsewhere (the fire
// window, a table) the editor works on the normal distribution the model
// keeps.
void InstallFanEditor(TfrmMain &mainWindow);
