#pragma once
// The overview map: the whole network in miniature with the sheet and the
// piece the main view shows framed. The map's world is the union of the
// scheme's bounds and the visible piece, so a view scrolled far away widens it.
#include "model/network.h"
#include "platform/canvas.h"
#include "scheme/viewport.h"

// The union of SchemeBounds and the scheme rectangle seen through clip.
TRect OverviewWorldRect(const TNetworkTables &t, const TViewport &view, const TRect &clip);

class TOverviewMap
{
public:
    TRect World{0, 0, 1, 1};
    double Scale = 1;  // map pixels per scheme unit
    TRect Visible;     // map coordinates after a draw
    TRect Sheet;       // map coordinates after a draw with the sheet shown

    int MapX(int x) const;
    int MapY(int y) const;
    // False (and nothing set) while the map has no scale, before a draw or
    // on an empty window.
    bool SchemePoint(int px, int py, TPoint &scheme) const;

    // Draws the map on a canvas of width × height. world and visible in
    // scheme units; the sheet is framed when showSheet.
    void Draw(TCanvas &canvas, int width, int height, const TNetworkTables &t, const TRect &world,
              const TRect &visible, bool showSheet, int sheetWidth, int sheetHeight);
};
