#pragma once
// Drawing, hit tests, dragging and editing of the objects placed on the
// scheme: PLA balloons, telephones and texts. The mouse tools and the scheme
// shift reach every kind through one interface, TSchemeObjectLayer; its
// dialogs are opened through hooks that the scheme's windows fill.
#include "model/scheme_file.h"
#include "platform/canvas.h"
#include "scheme/scheme_render.h"
#include "scheme/viewport.h"

#include <QtCore/QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// ---- drawing (every position through the view; sizes by its zoom step) ----

// The circle of a balloon or telephone: text "999" or "T" measured in the
// label font, Round(√(h² + w²)) div 2 with h = height + 2, w = width + 4.
int CircleRadius(TCanvas &canvas, const QString &sample);
void DrawBalloon(TCanvas &canvas, TPLABaloon &balloon, const TViewport &view, const TSchemeDrawSettings &settings);
void DrawBalloons(TCanvas &canvas, TPLABalloonPlaces &balloons, const TViewport &view,
                  const TSchemeDrawSettings &settings);
void DrawPhone(TCanvas &canvas, TTelephone &phone, const TViewport &view, const TSchemeDrawSettings &settings);
void DrawPhones(TCanvas &canvas, TPhonePlaces &phones, const TViewport &view, const TSchemeDrawSettings &settings);
// The font a text is drawn in: its name, the label size times its factor,
// its style bits and colour.
TFont MapTextFont(const TMapText &text, const TViewport &view, const TSchemeDrawSettings &settings);
// On the background colour (white on paper), so the text stays readable
// over the grid and the sheet.
void DrawMapText(TCanvas &canvas, TMapText &text, const TViewport &view, const TSchemeDrawSettings &settings);
void DrawMapTexts(TCanvas &canvas, TMapTextList &texts, const TViewport &view, const TSchemeDrawSettings &settings);

// ---- hit tests (scheme units, bounds inclusive) ----

// The square of half-side Round(radius / zoom) around the centre.
bool CircleHit(std::int32_t cx, std::int32_t cy, int radius, double zoom, int x, int y);
// The lower-right corner of a text: its extent in the font of its last
// drawing, measured on the given canvas, over the zoom, added to its corner.
TPoint MapTextLowerRight(const TMapText &text, TCanvas &measure, double zoom, const TFont &fallback);

// ---- the interface of the mouse tools ----

enum TObjectEditResult { oeCancel = 0, oeOk = 1, oeDelete = 3 };

// What a layer needs of the program. Tables, Doc and View must be set.
struct TSchemeObjectServices
{
    TNetworkTables *Tables = nullptr;
    TSchemeDocument *Doc = nullptr;
    const TViewport *View = nullptr;
    // The drawing settings (font name, charset, colours) in force.
    std::function<TSchemeDrawSettings()> DrawSettings;
    // The paint box's canvas, which measures texts for their hit rectangles.
    std::function<TCanvas *()> MeasureCanvas;
    std::function<void()> Redraw;
    std::function<void(bool)> SetModified;
    // The balloon's properties dialog; null leaves balloons without one.
    std::function<TObjectEditResult(TPLABaloon &)> EditBalloon;
    // The text dialog under the given caption; deletable enables "Удалить".
    std::function<TObjectEditResult(TMapText &, const QString &caption, bool deletable)> EditText;
};

// One kind of placed object. Points are scheme units: hit tests take the
// pointer unsnapped, placements and drags as the tool gives them.
class TSchemeObjectLayer
{
public:
    virtual ~TSchemeObjectLayer() = default;
    virtual int Count() const = 0;
    // The objects under the point, as list indices in list order.
    virtual std::vector<int> HitAt(int x, int y) = 0;
    // What the object search popup shows for an object.
    virtual QString Caption(int index) const = 0;
    // A click of the default tool: every object hit opens its editing, in
    // list order; deleting one does not keep the others from opening.
    virtual void Click(int x, int y) = 0;
    // The object search popup's choice: that object's editing, when the
    // point hits it.
    virtual void ClickObject(int index, int x, int y) = 0;
    // The move tool: every object hit starts a drag; true when any did.
    virtual bool MouseDown(int x, int y) = 0;
    // Drags to the point, drawing the outline on the tool's canvas (in a
    // Xor mode the previous outline is erased first).
    virtual void MouseMove(TCanvas &canvas, int x, int y) = 0;
    // Ends the drags; true when an object was moved (the document is then
    // marked modified and the scheme redrawn).
    virtual bool MouseUp() = 0;
    // The placement tool's release: asks for the object and adds it there.
    virtual void AddAt(int x, int y) = 0;
    // The scheme shift: every object's position changes by (dx, dy).
    virtual void MoveBy(int dx, int dy) = 0;
    // The smallest X and Y over the objects; none when there are none.
    virtual std::optional<TPoint> MinPoint() const = 0;
};

// The three layers over one document, in drawing order of the overlays.
struct TSchemeObjectLayers
{
    std::unique_ptr<TSchemeObjectLayer> Balloons;
    std::unique_ptr<TSchemeObjectLayer> Phones;
    std::unique_ptr<TSchemeObjectLayer> Texts;
    std::vector<TSchemeObjectLayer *> All() const { return {Balloons.get(), Phones.get(), Texts.get()}; }
};

TSchemeObjectLayers MakeSchemeObjectLayers(const TSchemeObjectServices &services);

// The main window's layers, made at start-up; the mouse tools and the scheme
// shift use them (each layer is null until then).
extern TSchemeObjectLayers SchemeObjects;

// The telephone of a branch as the branch dialog shows it, and its storing:
// a new number creates a telephone at the given point and links it, an
// empty one deletes the linked telephone. Returns true when anything changed.
QString BranchPhoneNumber(const TNetworkTables &t, int branch);
bool StoreBranchPhone(TNetworkTables &t, TSchemeDocument &doc, int branch, const QString &number, TPoint at);
