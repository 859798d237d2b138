#pragma once
// The main window's commands of the branch and node tables and of the
// topology error report ("Таблица ветвей...", also in the scheme's popup,
// "Таблица узлов...", "Ошибки топологии..."), and the report's "На схему".
class TfrmMain;

void InstallTableCommands(TfrmMain &mainWindow);
