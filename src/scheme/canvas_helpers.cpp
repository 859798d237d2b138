#include "scheme/canvas_helpers.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr TColor clBtnText = static_cast<TColor>(0x80000012);

// Top and left edges in one colour, bottom and right in another, one pixel
// wide, on the rectangle's own outermost pixels.
void Frame3D(TCanvas &canvas, const TRect &r, TColor topLeft, TColor bottomRight)
{
    const int right = Shifted(r.Right, -1);
    const int bottom = Shifted(r.Bottom, -1);
    canvas.Pen.Color = topLeft;
    canvas.MoveTo(r.Left, bottom);
    canvas.LineTo(r.Left, r.Top);
    canvas.LineTo(right, r.Top);
    canvas.Pen.Color = bottomRight;
    canvas.LineTo(right, bottom);
    canvas.LineTo(r.Left, bottom);
}

struct TTextBlock
{
    int Width = 0;
    int Height = 0;
    int LineHeight = 0;
};

TTextBlock MeasureBlock(TCanvas &canvas, const std::vector<QString> &texts)
{
    TTextBlock block;
    block.LineHeight = canvas.TextHeight(QStringLiteral("0"));
    int widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, canvas.TextWidth(text));
    block.Width = Shifted(widest, 4);
    block.Height = ClampToInt(static_cast<std::int64_t>(texts.size()) * block.LineHeight + 2);
    return block;
}

void WriteLines(TCanvas &canvas, TPoint at, const std::vector<QString> &texts, int lineHeight)
{
    for (std::size_t i = 0; i < texts.size(); ++i)
        canvas.TextOut(Shifted(at.X, 1), Shifted(at.Y, 1 + static_cast<std::int64_t>(i) * lineHeight), texts[i]);
}

} // namespace

void DrawFrame(TCanvas &canvas, const TRect &r)
{
    const TPen saved = SavePen(canvas);
    canvas.Pen.Color = clBlack;
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.MoveTo(r.Left, r.Bottom);
    canvas.LineTo(r.Left, r.Top);
    canvas.LineTo(Shifted(r.Right, -1), r.Top);
    canvas.LineTo(Shifted(r.Right, -1), Shifted(r.Bottom, -1));
    canvas.LineTo(r.Left, Shifted(r.Bottom, -1));
    RestorePen(canvas, saved);
}

void DrawSunkenFrame(TCanvas &canvas, const TRect &r)
{
    const TPen saved = SavePen(canvas);
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::psSolid;
    Frame3D(canvas, r, clBtnShadow, clBtnHighlight);
    Frame3D(canvas, {Shifted(r.Left, 1), Shifted(r.Top, 1), Shifted(r.Right, -1), Shifted(r.Bottom, -1)}, clBtnText, clBtnFace);
    RestorePen(canvas, saved);
}

TRect DrawTextBox(TCanvas &canvas, TPoint at, const std::vector<QString> &texts)
{
    const TTextBlock block = MeasureBlock(canvas, texts);
    const TRect box{at.X, at.Y, Shifted(at.X, block.Width), Shifted(at.Y, block.Height)};
    if (texts.empty())
        return box;
    canvas.Rectangle(box);
    WriteLines(canvas, at, texts, block.LineHeight);
    return box;
}

TPoint DrawCallout(TCanvas &canvas, TPoint at, const std::vector<QString> &texts)
{
    const TTextBlock block = MeasureBlock(canvas, texts);
    const TPoint centre{Shifted(at.X, block.Width / 2), Shifted(at.Y, block.Height / 2)};
    if (texts.empty())
        return centre;
    const int radius =
        static_cast<int>(Round(std::sqrt(double(block.Width) * block.Width + double(block.Height) * block.Height))) / 2;
    canvas.MoveTo(Shifted(at.X, -16), Shifted(at.Y, 16));
    canvas.LineTo(centre.X, centre.Y);
    canvas.Ellipse(Shifted(centre.X, -radius), Shifted(centre.Y, -radius), Shifted(centre.X, radius),
                   Shifted(centre.Y, radius));
    WriteLines(canvas, at, texts, block.LineHeight);
    return centre;
}
