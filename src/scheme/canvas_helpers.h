#pragma once
// Small drawing helpers over the canvas: keeping and giving back the pen and
// the brush around a piece of drawing, frames, and the boxes of label texts
// that the scheme writes beside branches and nodes.
#include "platform/canvas.h"

#include <QtCore/QString>

#include <vector>

// A copy of the canvas's pen or brush, assigned back by the restore.
inline TPen SavePen(const TCanvas &canvas) { return canvas.Pen; }
inline void RestorePen(TCanvas &canvas, const TPen &pen) { canvas.Pen = pen; }
inline TBrush SaveBrush(const TCanvas &canvas) { return canvas.Brush; }
inline void RestoreBrush(TCanvas &canvas, const TBrush &brush) { canvas.Brush = brush; }

// Gives the pen and brush back when the scope ends, also when the drawing
// in between fails.
class TCanvasToolsKeeper
{
public:
    explicit TCanvasToolsKeeper(TCanvas &canvas) : m_canvas(canvas), m_pen(canvas.Pen), m_brush(canvas.Brush) {}
    ~TCanvasToolsKeeper()
    {
        m_canvas.Pen = m_pen;
        m_canvas.Brush = m_brush;
    }
    TCanvasToolsKeeper(const TCanvasToolsKeeper &) = delete;
    TCanvasToolsKeeper &operator=(const TCanvasToolsKeeper &) = delete;

private:
    TCanvas &m_canvas;
    TPen m_pen;
    TBrush m_brush;
};

// A black one-pixel frame just inside the rectangle (right and bottom exclusive).
void DrawFrame(TCanvas &canvas, const TRect &r);
// A two-pixel sunken frame just inside the rectangle in the system's button colours.
void DrawSunkenFrame(TCanvas &canvas, const TRect &r);

// Texts one under another in a framed box whose top-left corner is at; the
// line height is that of "0". Nothing is drawn without a text. Returns the box.
TRect DrawTextBox(TCanvas &canvas, TPoint at, const std::vector<QString> &texts);
// The same texts without a frame, in a circle around their block with a
// leader from (at.X − 16, at.Y + 16) to the block's centre, which is returned.
TPoint DrawCallout(TCanvas &canvas, TPoint at, const std::vector<QString> &texts);
