#pragma once
// Gives the route and stability studies the branch and node table editors.
class TfrmMain;

void InstallTableEditorHooks(TfrmMain &mainWindow);
