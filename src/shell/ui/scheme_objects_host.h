#pragma once
// Gives the placed objects (balloons, telephones, texts) of the open
// document their drawing, dialogs and the branch dialog's telephone field,
// and makes the layers through which the mouse tools reach them.
class TfrmMain;

void InstallSchemeObjects(TfrmMain &mainWindow);
