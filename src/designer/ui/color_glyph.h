#pragma once
// The glyphs of the designer's three colour buttons (text, fill, frame): a
// sign over a bar that shows the button's colour, or a broken bar for no colour.
#include "platform/colors.h"

#include <QtGui/QImage>

class TfrSpeedButton;

// Cell 0 text colour, 1 fill, 2 frame: a 32 x 16 glyph of two states whose
// bar takes `color`.
QImage ColorGlyph(TColor color, int cell);
// Puts that glyph on the button.
void MakeColorGlyph(TColor color, TfrSpeedButton &button, int cell);
// The colour a colour glyph shows: its bar's pixel (2, 14) when the bar is
// whole (pixel (1, 13) alike), else no colour.
TColor GlyphColor(const QImage &glyph);
