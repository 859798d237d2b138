#pragma once
// The file commands that come with the other programs' formats and the file
// search: the readers and the VENT export of the open and save dialogs, and
// "Найти схему..." (Ctrl+F).
class TfrmMain;

// "Найти схему...": the search window with the mask "*.MINE"; a picked
// scheme opens once the question about unsaved changes allows it.
void mnuFindFilesClick(TfrmMain &mainWindow);

void InstallFileCommands(TfrmMain &mainWindow);
