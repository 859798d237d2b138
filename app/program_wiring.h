#pragma once
// How the program puts itself together: the services its windows share and
// the commands of every subsystem on the main window. main() runs these in
// this order; a test that walks the program's commands runs the same.
class TfrmMain;

// Within a running report engine: the opener of documents, the canvas that
// measures report texts, the progress and preview windows, the printer and
// the report designer, whose window exists hidden before the main window.
void InstallProgramServices();
// What InstallProgramServices installed, once the main window is gone.
void RemoveProgramServices();
// Every subsystem's commands and hooks on the main window, then its plug-ins.
void InstallMainWindowCommands(TfrmMain &window);
