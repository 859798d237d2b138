#pragma once
// Placement of the main window's five tool bars ("Файл", "Пласты",
// "Рисование", "Вид ветви", "Раскраска") as the view settings keep it, and
// the popup on the tool bar area that shows and hides them. The main window
// calls these with its tool bars in TToolbarIndex order:
//   at creation  CaptureToolbars, LoadViewSettings, ApplyToolbars;
//   at closing   CaptureToolbars, SaveViewSettings.
//
// A docked tool bar goes to the side its orientation and position point at
// (vertical: left or right half of the window, else top or bottom half), in
// rows ordered by the stored position; Qt packs a row itself, so the exact
// offset within a row is not kept. A floating tool bar floats again at its
// stored screen rectangle.
#include "shell/view_settings.h"

#include <array>

class QMainWindow;
class QMenu;
class QToolBar;

using TToolbars = std::array<QToolBar *, ToolbarCount>;

void CaptureToolbars(const TToolbars &toolbars, TViewSettings &view);
void ApplyToolbars(QMainWindow *window, const TToolbars &toolbars, const TViewSettings &view);

// Makes the menu the tool bar popup: one item per tool bar, checked exactly
// when it is visible whenever the menu opens; an item toggles its tool bar.
void SetupToolbarPopup(QMenu *menu, const TToolbars &toolbars);
