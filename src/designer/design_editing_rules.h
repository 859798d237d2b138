#pragma once
// The rules behind the designer's selection-driven controls, without a
// window: which controls a selection enables, what a formatting control does
// to one object, what the toolbars show for one object, the object an arrow
// key jumps to, the inspector's texts and how an edited value is written
// back, and the texts of the position read-out on the status bar.
#include "platform/colors.h"
#include "platform/geometry.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <array>
#include <functional>
#include <utility>
#include <vector>

class TfrPage;
class TfrReportDocument;
class TfrView;

// ---- enabling by SelectionKind ----
// Every selection-driven button, box and menu item by name, with whether the
// selection kind (bits of SelectionKind) enables it.
std::vector<std::pair<QString, bool>> EnabledControls(int selectionKind);

// ---- formatting ----
// What a formatting control says when it is applied; only the fields its tag
// reads matter.
struct TFormatInput
{
    int Tag = 0;
    // The pressed state of a frame line, font style or turned-text button.
    bool Down = false;
    // E1 and C3: the box's text, read as a whole number per object.
    QString Text = QString();
    // C2: the chosen face; empty when none is chosen.
    QString FontName = QString();
    TColor Color = 0;
    // The vertical alignment group (tag 15): AlB5 (middle) and AlB7 (bottom).
    bool MiddleDown = false;
    bool BottomDown = false;
};
// Changes one object by the control's tag and updates the defaults of new
// objects it names. Bands are left alone; the text rows touch text objects
// only. A box text that is no whole number raises EConvertError before the
// object changes.
void ApplyFormatting(TfrView &view, const TFormatInput &input);

// What the formatting toolbars show for one selected object that is no band.
struct TToolbarState
{
    // FrB1..FrB4: top, left, bottom, right lines.
    std::array<bool, 4> FrameLines{};
    int FrameWidth = 1;
    TColor FillColor = 0;
    TColor FrameColor = 0;
    bool IsText = false;
    // The rest only for text objects.
    TColor FontColor = 0;
    QString FontName = QString();
    int FontSize = 0;
    // FnB1 bold, FnB2 italic, FnB3 underline.
    std::array<bool, 3> FontButtons{};
    // AlB1..AlB8 by index 1..8 (index 0 unused).
    std::array<bool, 9> AlignButtons{};
};
TToolbarState ToolbarStateOf(const TfrView &view);

// ---- arrow keys ----
// The score of q seen from s in the direction (dx, dy), one of them ±1;
// 10000 or more means q does not lie that way.
int NearestScore(const TfrView &s, const TfrView &q, int dx, int dy);
// The index of the unselected, non-band object with the smallest score below
// 10000 (the first on ties); -1 when none.
int NearestObject(const TfrPage &page, const TfrView &s, int dx, int dy);
// Moves s so that it touches q: to its left, above it, to its right or below
// it, in that order of preference.
void MoveAgainst(TfrView &s, const TfrView &q);

// ---- the inspector ----
enum TInspectorRow { irName = 0, irLeft, irTop, irWidth, irHeight, irVisible, irMemo };
// A coordinate in the designer's units: whole pixels, or millimetres and
// inches fixed with 2 decimals after rounding to 4 significant digits ("10,00").
QString UnitsText(int pixels, int units);
// The seven value texts for the page's selection: the name and values of one
// object; with several only the values all of them share.
std::array<QString, 7> InspectorTexts(const TfrPage &page, int units);
// Writes an edited row into the selection. The name (row 0, one object) is
// refused silently when the report already has an object of that name: the
// text becomes the current name. Rows 1 to 5 are expressions; their result's
// text replaces the value before it is converted (rows 1 to 4 from units to
// pixels). Errors of the evaluator or the conversion are raised before any
// object changes; `beforeChange` runs only when an object is about to change
// (the designer records its undo step there, none for a refused value).
void ApplyInspectorValue(TfrPage &page, const TfrReportDocument *report, int row, QString &value, int units,
                         const std::function<void()> &beforeChange = {});

// ---- the read-out on the status bar ----
// Two coordinates: "12;20" in pixels, "3,33; 5,56" in millimetres.
QString ReadOutPair(int a, int b, int units);
struct TReadOut
{
    QString Position; // at (20, 1)
    QString Size;     // at (110, 1)
    QString Scale;    // at (170, 1)
};
// The texts for the page's selection and the designer's rubber state.
TReadOut ReadOutTexts(const TfrPage &page, int units);

// ---- the context menu ----
// The object whose own items join the seven fixed ones: the one selected
// object, or with several the top selected one when it is no band and every
// selected object is compatible with it; nullptr otherwise.
TfrView *PopupItemsOwner(const TfrPage &page);
