#pragma once
// Branch symbols: the kinds of pictograms (sensors, doors, stoppings, ...)
// that links place on airways, from the symbol libraries of the symbols
// folder and from the program's own set, all in one list and drawn through
// one entry point. Also the placing of a branch's links on its drawn
// polyline in thick mode.
#ifndef TUNVEX_API_QUALIFIED
#define TUNVEX_API_QUALIFIED
#endif
#include "model/plugin_api.h"
#include "model/scheme_file.h"
#include "platform/canvas.h"
#include "platform/prompt.h"
#include "scheme/scheme_render.h"

#include <QtCore/QLibrary>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <memory>
#include <vector>


// One kind of symbol. Name and description are copied from the entry
// points when the kind is registered.
struct TBranchSymbol
{
    QLibrary *Module = nullptr; // null for a built-in symbol
    tunvex_api::TGetSymbolName GetSymbolName = nullptr;
    tunvex_api::TGetSymbolDescription GetSymbolDescription = nullptr;
    tunvex_api::TDrawSymbol1 DrawSymbol1 = nullptr;
    tunvex_api::TDrawSymbol2 DrawSymbol2 = nullptr;
    QString Name;
    QString Description;
};

// The main window's list of symbol kinds: the libraries' symbols in
// file-name order, then the built-in ones. The 0-based index is the index
// in the choice lists.
class TBranchSymbolList
{
public:
    TBranchSymbolList() = default;
    // Loads every "*.so" of the folder that exports the four entry points;
    // anything else is released at once, silently, except a library whose
    // GetSymbolName or GetSymbolDescription throws: it is named in an error
    // message of Refusals().
    explicit TBranchSymbolList(const QString &folder);
    ~TBranchSymbolList();
    TBranchSymbolList(const TBranchSymbolList &) = delete;
    TBranchSymbolList &operator=(const TBranchSymbolList &) = delete;

    // Accepts a loaded library that exports the four entry points (the list
    // then owns it); else unloads it and returns false.
    bool AddLibrary(std::unique_ptr<QLibrary> library);
    void Add(tunvex_api::TGetSymbolName name, tunvex_api::TGetSymbolDescription description,
             tunvex_api::TDrawSymbol2 draw);

    int Count() const { return static_cast<int>(m_items.size()); }
    const TBranchSymbol &GetItem(int index) const { return m_items[static_cast<std::size_t>(index)]; }
    // The last kind whose name equals name exactly, or null: a built-in
    // symbol hides a library's of the same name.
    const TBranchSymbol *FindByName(const QString &name) const;
    QStringList Names() const;
    // Unloads every library and empties the list.
    void UnloadAll();
    // The error boxes owed for the libraries refused so far. They are kept
    // rather than shown, because the list is built while the program starts,
    // when a message box's event loop would run ahead of the start-up.
    const std::vector<TMessage> &Refusals() const { return m_refusals; }

private:
    std::vector<TBranchSymbol> m_items;
    std::vector<TMessage> m_refusals;
    std::vector<std::unique_ptr<QLibrary>> m_libraries;
};

// The handle that DrawSymbol2 receives: the public part first, so that the
// program finds its canvas again from the pointer the library hands back.
struct TSymbolDC
{
    explicit TSymbolDC(TCanvas &canvas);
    tunvex_api::TunvexSymbolDC Public;
    TCanvas *Canvas;

    tunvex_api::TunvexSymbolDC *Handle() { return &Public; }
    static TCanvas &CanvasOf(tunvex_api::TunvexSymbolDC *dc);
};

// The screen length below which a segment gets no symbol, pixels.
constexpr int MinSymbolSegmentPixels = 4;
// The largest side of a symbol on the screen and on paper, screen pixels.
constexpr int MaxScreenSymbolSide = 40;
constexpr int MaxPrinterSymbolSide = 30;

// What drawing a branch's links reads.
struct TBranchSymbolDrawing
{
    const TNetworkTables &Tables;
    const TLinkList &Links;
    const TBranchSymbolList &Symbols;
    const TViewport &View;
    const TSchemeDrawSettings &Settings;
};

// Draws the links of a branch in thick mode, each on the segment of the
// drawn polyline where its distance falls in proportion (never at a bend).
void DrawBranchSymbols(TCanvas &canvas, const TBranchSymbolDrawing &d, int branch, bool thick, TColor color);

// Draws one symbol centred at distance dseg (m) of a segment p0 -> p1 that
// stands for segLength metres. side: canvas pixels before the screen or paper limit.
void DrawLinkSymbol(TCanvas &canvas, const TBranchSymbol &symbol, const TSchemeDrawSettings &settings,
                    int zoomStep, int side, TPoint p0, TPoint p1, double dseg, double segLength, TColor color);

// Calls a symbol's drawing on the square with corners p1..p4; an exception
// is swallowed. The pen is left black and one pixel wide.
void CallDrawSymbol(TCanvas &canvas, const TBranchSymbol &symbol, const tunvex_api::TunvexPoint (&corners)[4],
                    TColor color);
