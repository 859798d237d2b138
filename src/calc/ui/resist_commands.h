#pragma once
// The main window's resistance commands, "Расчет сопротивления..." (F12, the
// free calculator) and "R-блок..." (Ctrl+F12), and the branch dialog's
// resistance buttons: "Расчет" beside the resistance (the geometry
// calculator) and "Rокна, кмюрг..." (a door with a window).
class TfrmBranch;
class TfrmMain;

// The calculator started with zeros; what it computes is not used.
void mnuCalcResistClick(TfrmMain &mainWindow);
// The resistance block on the program's tables; a write-back that changed
// them marks the document modified and redraws the scheme.
void R1Click(TfrmMain &mainWindow);

// The branch dialog's buttons: they read the dialog's edits and write the
// results back into them; the tables change only with the dialog's OK.
void btnResistClick(TfrmBranch &dialog);
void Button3Click(TfrmBranch &dialog);

void InstallResistanceCommands(TfrmMain &mainWindow);
