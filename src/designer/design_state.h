#pragma once
// What the design surface, the editing controls and the designer's commands
// share about the page being edited: the selection and its bounds, the
// rubber rectangles, the defaults that new objects take, the designer's own
// clipboard, and the helpers over the page's objects. One per program, as
// there is one designer window at a time.
#include "platform/canvas.h"
#include "platform/geometry.h"

#include <QtCore/QString>

#include <cstdint>
#include <memory>
#include <vector>

class TfrPage;
class TfrView;

// ---- the selection (objects carry their own Selected flag) ----
// Number of objects whose Selected flag is set.
extern int SelectedCount;
// The object the user clicked last into the selection; alignment anchors on it.
extern TfrView *LastClickedView;
// RubberRect and SavedRect hold the bounds of a multiple selection.
extern bool SelectionRectValid;
// An insertion tool stays armed after an insertion (Shift on its button).
extern bool KeepToolAfterInsert;
extern TRect RubberRect;
extern TRect SavedRect;
// The read-out shows RubberRect rather than the selected object.
extern bool ShowRubberSize;
// Union of the enlarged regions of the selected objects, for limited repaints.
extern std::vector<TRect> SelectionRegion;
extern bool SelectionRegionStale;
// Set while the controls are being set from the selection.
extern bool UpdatingControls;
// The last save, save as or page options ended confirmed.
extern bool DialogConfirmed;

// ---- the defaults of new objects; the formatting controls update them ----
extern std::uint16_t LastFrameTyp;
extern std::int32_t LastFrameWidth;
extern std::int32_t LastLineWidth;
extern TColor LastFrameColor;
extern TColor LastFillColor;
extern TColor LastFontColor;
extern std::uint16_t LastFontStyle;
extern std::uint8_t LastAdjust;
extern QString LastFontName;
extern std::int32_t LastFontSize;
// Back to the values of a fresh start.
void ResetNewObjectDefaults();

// ---- the designer's clipboard: copies made by cut and copy; not the system clipboard ----
extern std::vector<std::unique_ptr<TfrView>> DesignClipboard;
void ClearDesignClipboard();

// A full copy of an object (same type and class, every property, the name
// and the Selected flag); the copy gets the source's ObjectID when keepId.
std::unique_ptr<TfrView> CopyReportObject(const TfrView &source, bool keepId);

// ---- helpers over a page's objects (in drawing order) ----
// The last selected object's index; the last index when none is selected.
int TopSelectedIndex(const TfrPage &page);
// LastClickedView when set, else the object at TopSelectedIndex (nullptr on an empty page).
TfrView *AlignAnchorView(const TfrPage &page);
// Start from TopSelectedIndex and take a selected object only when strictly
// further out.
int LeftmostSelected(const TfrPage &page);
int RightmostSelected(const TfrPage &page);
int TopmostSelected(const TfrPage &page);
int BottommostSelected(const TfrPage &page);
// Clears every Selected flag; SelectedCount becomes 0.
void DeselectAll(TfrPage &page);
// Selects every object; SelectedCount becomes their number.
void SelectAllObjects(TfrPage &page);
// Frees every selected object, from the last to the first; SelectedCount becomes 0.
void DeleteSelectedObjects(TfrPage &page);
// SelectionRegion := the union of the selected objects' enlarged regions.
void BuildSelectionRegion(const TfrPage &page);
std::vector<TfrView *> SelectedObjects(const TfrPage &page);

// Bits: 1 one band, 2 one text object, 4 one other object, 8 several,
// 16 the clipboard holds objects.
int SelectionKind(const TfrPage &page);
