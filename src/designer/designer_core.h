#pragma once
// What the report designer computes without a window: the display units,
// the helpers over the objects of a template page, and the options and tool
// placements it keeps in the user's settings store (every value a text).
#include <QtCore/QString>

#include <utility>

class TfrPage;
class TfrPages;
class TSettingsStore;

// Design pixels are 18 to 5 mm. units: 0 pixels, 1 millimetres, 2 inches.
double PixelsToUnits(int pixels, int units);
int UnitsToPixels(double value, int units);
// "Пикселы", "Миллиметры" or "Дюймы".
QString UnitsName(int units);

// After page n was deleted: subreports that showed it go, those showing a
// later page follow it down by one.
void FixSubReportPages(TfrPages &pages, int n);
// Bands first (the first of type 13 in front, cross bands 18 to 20 last
// among them), then the other objects, each group in its former order.
void OrderBands(TfrPage &page);
bool PageHasBand(const TfrPage &page, int bandType);
// The first band type 0 to 20 not on the page; 5 when all are.
int FreeBandType(const TfrPage &page);
// (width, height) of a new text object.
std::pair<int, int> DefaultMemoSize(int gridSize, int fontSize);

// "Software\Kvadrep\" + the application title: where the designer, its tool
// windows and the preview keep their settings.
QString LibraryRegistryRoot();

// A decimal value of the open key; a missing or non-number text gives the default.
int ReadStoredInt(const TSettingsStore &store, const QString &name, int defaultValue);
// A flag is true when its number is not 0.
bool ReadStoredFlag(const TSettingsStore &store, const QString &name, bool defaultValue);
void WriteStoredInt(TSettingsStore &store, const QString &name, int value);

struct TDesignerOptions
{
    int GridSize = 4;
    bool GridShow = true;
    bool GridAlign = true;
    // How a dragged object is outlined; asked in the options, never stored.
    bool InverseOutlines = false;
    int Units = 0;
    bool GrayButtons = false;
    bool EditAfterInsert = true;
    int Lang = 0;
};
// Section "Form\" + the designer form's name.
TDesignerOptions ReadDesignerOptions(TSettingsStore &store, const QString &formName);
void WriteDesignerOptions(TSettingsStore &store, const QString &formName, const TDesignerOptions &options);

// A toolbar's stored placement (section "ToolBar\" + name).
struct TToolBarState
{
    bool Floating = false;
    bool Visible = true;
    int X = 0, Y = 0, Width = 0, Height = 0;
    QString DockName;
};
// Missing values keep what `current` holds; false when the section is missing.
bool ReadToolBarState(TSettingsStore &store, const QString &name, TToolBarState &state);
// A floating toolbar leaves the stored dock name as it was.
void WriteToolBarState(TSettingsStore &store, const QString &name, const TToolBarState &state);

// A tool window's stored place (section "Form\" + name).
struct TFormState
{
    bool Visible = true;
    int X = 0, Y = 0, Width = 0, Height = 0;
};
void ReadFormState(TSettingsStore &store, const QString &name, TFormState &state);
void WriteFormState(TSettingsStore &store, const QString &name, const TFormState &state);
