#include "designer/ui/color_glyph.h"

#include "platform/ui/qt_canvas.h"
#include "report/ui/speed_button.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QPalette>

namespace {

constexpr TColor Olive = 0x008080; // transparent background of glyphs
constexpr TColor PureRed = 0x0000FF;

// The strip of three cells: each a sign over a pure red bar (rows 13 and 14)
// in its enabled half and a grey copy without red in its disabled half.
const QImage &ColorStrip()
{
    static const QImage strip = [] {
        QImage image(96, 16, QImage::Format_RGB32);
        TQtCanvas c(&image);
        c.Brush.Color = Olive;
        c.FillRect({0, 0, 96, 16});
        for (int cell = 0; cell < 3; ++cell)
            for (int half = 0; half < 2; ++half) {
                const int x = cell * 32 + half * 16;
                const TColor ink = half == 0 ? clBlack : 0x808080;
                c.Pen = TPen{};
                c.Pen.Color = ink;
                switch (cell) {
                case 0:
                    c.Font = TFont{};
                    c.Font.Height = -11;
                    c.Font.Style = 2;
                    c.Font.Color = ink;
                    c.Brush.Style = TBrushStyle::bsClear;
                    c.TextOut(x + 4, 0, QStringLiteral("A"));
                    break;
                case 1:
                    c.Brush = TBrush{};
                    c.Brush.Color = half == 0 ? 0xC0C0C0 : 0xE0E0E0;
                    c.Polygon({{x + 3, 6}, {x + 8, 1}, {x + 13, 6}, {x + 8, 11}});
                    break;
                default:
                    c.Brush.Style = TBrushStyle::bsClear;
                    c.Rectangle(x + 2, 1, x + 14, 12);
                    c.Rectangle(x + 4, 3, x + 12, 10);
                    break;
                }
                c.Brush = TBrush{};
                c.Brush.Color = half == 0 ? PureRed : 0x808080;
                c.FillRect({x + 1, 13, x + 15, 15});
            }
        return image;
    }();
    return strip;
}

} // namespace

QImage ColorGlyph(TColor color, int cell)
{
    QImage glyph = ColorStrip().copy(cell * 32, 0, 32, 16);
    const QRgb red = TColorToQColor(PureRed).rgb();
    const QRgb with = TColorToQColor(color == clNone ? clWhite : color).rgb();
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            if (glyph.pixel(x, y) == red)
                glyph.setPixel(x, y, with);
    if (color == clNone) {
        const QRgb face = QGuiApplication::palette().color(QPalette::Button).rgb();
        for (int x = 1; x <= 14; ++x)
            glyph.setPixel(x, 13, face);
    }
    return glyph;
}

void MakeColorGlyph(TColor color, TfrSpeedButton &button, int cell)
{
    button.SetGlyph(ColorGlyph(color, cell));
    button.SetNumGlyphs(2);
}

TColor GlyphColor(const QImage &glyph)
{
    if (glyph.width() < 3 || glyph.height() < 15 || glyph.pixel(2, 14) != glyph.pixel(1, 13))
        return clNone;
    return QColorToTColor(QColor(glyph.pixel(2, 14)));
}
