#pragma once
// Gives the branch properties dialog the main window's tables, document and
// services, so that every window that opens it edits the open scheme.
class TfrmMain;

void InstallBranchDialogHost(TfrmMain &mainWindow);
