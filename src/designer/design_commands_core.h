#pragma once
// What the designer's commands do to the objects of the page being edited,
// without a window: stacking order, the designer's clipboard, fit to grid,
// the alignment palette, the frame-width spin buttons, the names that save
// as gives its files and the help topics of the designer's controls.
#include <QtCore/QString>

#include <memory>
#include <optional>
#include <vector>

class TfrPage;
class TfrView;

// Selected objects move to the top of the stack (BringToFront) or the
// bottom (SendToBack), keeping their mutual order; bands stay in front.
void BringToFront(TfrPage &page);
void SendToBack(TfrPage &page);

// DesignClipboard := copies of the page's selected objects in list order.
void CopySelectionToClipboard(const TfrPage &page);
// Copies to the clipboard, then deletes the selected objects; nothing is
// selected afterwards.
void CutSelectionToClipboard(TfrPage &page);

// The shift that brings a scrolled page's first grid line inside the view:
// GridSize × ((−surfaceEdge) div GridSize) when the edge is above or left
// of the view, else 0.
int ScrolledGridOffset(int surfaceEdge, int gridSize);
// Appends copies of the clipboard's objects to the page as the new
// selection, the group's top-left corner at (offsetX, offsetY). Bands of
// a kind the page may hold once are left out where the page has one;
// copies whose name the report (the current document) already uses get
// fresh names. Returns the pasted objects.
std::vector<TfrView *> PasteClipboard(TfrPage &page, int offsetX, int offsetY);

// Each selected object's place and size to the nearest grid line (halves
// to even); a width or height that comes out 0 becomes one grid step.
void FitSelectionToGrid(TfrPage &page, int gridSize);

// The alignment palette's ten commands, numbered as their buttons.
enum class TAlignCommand {
    Lefts = 1,
    HorzCentres = 2,
    CentreInPageWidth = 3,
    SpaceAcross = 4,
    Rights = 5,
    Tops = 6,
    VertCentres = 7,
    CentreInPageHeight = 8,
    SpaceDown = 9,
    Bottoms = 10,
};
// How many objects must be selected for the command to act.
int AlignNeedsSelected(TAlignCommand command);
// Applies the command to the selected objects (the anchor is
// AlignAnchorView); false, changing nothing, when too few are selected.
bool AlignSelection(TfrPage &page, TAlignCommand command, int pageWidth, int pageHeight);
// The order in which even spacing takes objects: by their coordinate
// written at least four digits wide, compared as text; equal texts keep
// the later object first.
std::vector<TfrView *> SpacingOrder(std::vector<TfrView *> views, bool vertical);

// The frame width box after a spin: one up, or one down but never below
// 1; nothing when the box does not hold a whole number.
std::optional<int> SpinFrameWidth(const QString &text, int delta);

// Save as with the first filter: the chosen name with the extension ".frf".
QString FormFileName(const QString &chosen);

// The help topic of a designer control: 430 + tag on the objects toolbar
// (tags above 4 count as 5), 400 + tag elsewhere.
int ControlHelpTopic(int tag, bool onObjectsToolbar);
