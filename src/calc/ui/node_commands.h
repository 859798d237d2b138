#pragma once
// The main window's node pressure, node altitude and report commands; the
// node pressures of the scheme's labels, of the node dialog and of the
// report managers; the preview and printing of the report choosers.
class TfrmMain;

void InstallNodePressureCommands(TfrmMain &mainWindow);
