#pragma once
// The main window's commands of the stability studies and the fire-detection time.
class TfrmMain;

// F5, Shift+F5 and "Время обнаружения пожара...".
void InstallStabilityCommands(TfrmMain &mainWindow);
