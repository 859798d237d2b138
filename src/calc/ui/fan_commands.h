#pragma once
// The fan of a branch: the branch dialog's "Расчет" beside the additional
// depression opens the fan editor on the branch's installed fan and takes
// back the fan's parabola and working flow.
#include <QtCore/QString>

class TfrmBranch;
class TfrmMain;

// The command itself, with the fan folder to list.
void EditBranchFanCommand(TfrmBranch &dialog, const QString &fansFolder);

// Fills the branch dialog's fan hook for the main window's fan folder.
void InstallFanEditor(TfrmMain &mainWindow);
