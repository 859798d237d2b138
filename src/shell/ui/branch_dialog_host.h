#pragma once
// Gives the branch and node dialogs the main window's tables, document and
// services, so that every window that opens them edits the open scheme.
class TfrmMain;

void InstallBranchDialogHost(TfrmMain &mainWindow);
