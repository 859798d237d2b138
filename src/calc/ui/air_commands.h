#pragma once
// The main window's air distribution commands: the normal air distribution
// (F2), the one with fixed depressions (Shift+F2), turning the reversed
// branches round, the air speed control, the resistances from fixed flows
// and depressions, the natural draught study, the boost search, the
// short-circuiting study and the depressiogram.
#include "model/network.h"

#include <functional>
#include <memory>

class QWidget;
class TfrmMain;

// The fire-modelling window, as far as the air distribution must know it:
// whether it exists, and freeing it (which puts back the flows and
// additional depressions it saved). Unset while there is no such window.
struct TFireModelHooks
{
    std::function<bool()> Exists;
    std::function<void()> Free;
};
extern TFireModelHooks FireModelHooks;

// When a fire model holds the tables, asks whether to cancel it and, on OK,
// frees it (the normal flows come back), drops the fire from the caption and
// redraws the scheme without its colours; false when the user keeps it. True
// at once without a fire model.
bool ReleaseFireModel(TfrmMain &mainWindow);
// Whether a command reached in window from may release a fire model: from
// the main window itself or a dialog opened straight over it. Inside any
// other window (the fire window, a table editor that keeps its own copy of
// the tables for its Cancel) the release would pull the tables from under it.
bool CanReleaseFireModel(const TfrmMain &mainWindow, const QWidget *from);
// The network as it stands with the normal air distribution that a living
// fire model keeps in place of its emergency one, as a save writes it; empty
// without a fire model.
std::unique_ptr<TNetworkTables> NormalAirCopy(TfrmMain &mainWindow);
// "Воздухораспределение...": asks about an open fire model first, solves,
// shows the air distribution table and redraws the scheme.
void mnuAirClick(TfrmMain &mainWindow);
// "Воздух (фикс. депр.)...": solves with fixed depressions; the resistances
// it finds change the document.
void mnuFixDeprClick(TfrmMain &mainWindow);
// "Развернуть все опрокиды...".
void mnuReTurnClick(TfrmMain &mainWindow);
// "Контроль скорости воздуха...".
void mnuSpeedCheckClick(TfrmMain &mainWindow);
// "Расчет сопротивления по фиксированным  Q и H": the resistances it saves
// change the document.
void menuQHFixirClick(TfrmMain &mainWindow);
// "Воздухораспределение с учётом естественной тяги": the altitudes, end
// temperatures and surface flags saved on closing change the document.
void mnuGetHetClick(TfrmMain &mainWindow);

// Gives the main window these commands and the release of a fire model
// (for the commands that need the normal distribution), its document the default speed
// limits of the branch kinds for branches that carry none; fills the hook
// that opens the boost search for a branch and the windows that the solvers'
// failures open (the topology report, the branch table).
void InstallAirDistributionCommands(TfrmMain &mainWindow);
