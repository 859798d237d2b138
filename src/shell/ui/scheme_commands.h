#pragma once
// The main window's scheme commands: "Печать схемы..." (Ctrl+P), "Свойства
// схемы...", "Пласты..." and "Найти объект..."; and the branch selection of
// the branch dialog's "Также для ветвей...".
class TfrmMain;

void InstallSchemeCommands(TfrmMain &mainWindow);
