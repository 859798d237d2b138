#pragma once
// The one drawing surface of the system. The scheme, the branch symbols, the
// scheme's printing, the report objects and the preview all draw through
// TCanvas, whose model is the classic device context: a pen, a brush and a
// font that the drawing calls read, integer device coordinates, rectangles
// whose right and bottom edges are exclusive, text placed by the top-left
// corner of its cell. The Qt implementation (ui/qt_canvas.h) paints on an
// image, a printer or a PDF writer; TRecordingCanvas keeps the calls for
// tests and for searching a drawn page's texts.
#include "platform/colors.h"
#include "platform/geometry.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// System colours have the high byte 0x80 and the index of the colour in the
// low byte; ColorToRGB resolves them.

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
// "No colour": transparent fill, no highlight background.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clBtnFace = static_cast<TColor>(0x8000000F);
constexpr TColor clBtnShadow = static_cast<TColor>(0x80000010);
constexpr TColor clBtnHighlight = static_cast<TColor>(0x80000014);

// The plain 0x00BBGGRR value of any colour, system colours included (they
// take the classic fixed values: button face silver, shadow grey, highlight
// white, window white, text black).
TColor ColorToRGB(TColor color);

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
// Copy paints the pen's colour; Xor and NotXor combine it bit by bit with
// what is there, so the same drawing done twice restores the picture.
enum class TPenMode { pmCopy, pmXor, pmNotXor };
// bsChecker alternates Color (where row + column is even) and CheckerColor.
enum class TBrushStyle { bsSolid, bsClear, bsChecker };

// Font style bits.
namespace fs {
constexpr unsigned Bold = 1;
constexpr unsigned Italic = 2;
constexpr unsigned Underline = 4;
constexpr unsigned StrikeOut = 8;
} // namespace fs

struct TPen
{
    TColor Color = clBlack;
    // Device pixels; 0 and 1 both give a one-pixel line. Styled pens wider
    // than one pixel are drawn solid.
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
    friend bool operator==(const TPen &, const TPen &) = default;
};

struct TBrush
{
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
    TColor CheckerColor = clSilver;
    friend bool operator==(const TBrush &, const TBrush &) = default;
};

struct TFont
{
    QString Name = QStringLiteral("Arial");
    // Size in points at the canvas's resolution; used when Height is 0.
    int Size = 10;
    // Device pixels when not 0: negative gives the character (em) height,
    // positive the whole cell height.
    int Height = 0;
    TColor Color = clBlack;
    unsigned Style = 0;
    // Tenths of a degree counter-clockwise; 900 reads upwards.
    int Orientation = 0;
    int Charset = 1;
    friend bool operator==(const TFont &, const TFont &) = default;
};

struct TSize
{
    int cx = 0;
    int cy = 0;
    friend bool operator==(const TSize &, const TSize &) = default;
};

// Pictures as files hold them (BMP, ICO or another raster format, or a
// Windows metafile, WMF or EMF) that the device decodes or plays when it
// draws them.
struct TCanvasImage
{
    QByteArray Data;
};

class TCanvas
{
public:
    virtual ~TCanvas() = default;

    TPen Pen;
    TBrush Brush;
    TFont Font;

    // Device resolution, which turns font points into pixels.
    virtual int PixelsPerInchX() const = 0;
    virtual int PixelsPerInchY() const = 0;
    // True on a printer or PDF writer (no raster operations there).
    virtual bool IsPrinter() const { return false; }

    TPoint PenPos() const { return m_penPos; }
    void MoveTo(int x, int y) { m_penPos = {x, y}; }
    // A line from the pen position to (x, y), the last point not painted.
    virtual void LineTo(int x, int y) = 0;
    virtual void Polyline(const std::vector<TPoint> &points) = 0;
    // Outline with the pen, inside with the brush; right and bottom exclusive.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    void Rectangle(const TRect &r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    virtual void Polygon(const std::vector<TPoint> &points) = 0;
    // The brush over the rectangle, no outline.
    virtual void FillRect(const TRect &r) = 0;
    virtual void SetPixel(int x, int y, TColor color) = 0;
    // clNone where the device cannot be read back.
    virtual TColor GetPixel(int x, int y) const = 0;

    // The text with the top-left corner of its cell at (x, y) (for a turned
    // font, the corner that was top-left before turning). A solid brush
    // fills the cell behind the text; a clear one leaves it.
    virtual void TextOut(int x, int y, const QString &text) = 0;
    // The same, painted only inside clip.
    virtual void TextRect(const TRect &clip, int x, int y, const QString &text) = 0;
    // Width along the text and cell height, in device pixels, in the current font.
    virtual TSize TextExtent(const QString &text) = 0;
    int TextWidth(const QString &text) { return TextExtent(text).cx; }
    int TextHeight(const QString &text) { return TextExtent(text).cy; }
    // The character (em) height of the current font in device pixels, the
    // absolute value of a negative Height.
    int FontPixelHeight() const;

    // The next texts spread extra pixels over their blanks (the first
    // extra mod count blanks get one more) until reset with (0, 0).
    void SetTextJustification(int extra, int count)
    {
        m_justifyExtra = extra;
        m_justifyCount = count;
    }
    int JustifyExtra() const { return m_justifyExtra; }
    int JustifyCount() const { return m_justifyCount; }

    // Nothing outside the rectangle is painted until ClearClipRect.
    virtual void SetClipRect(const TRect &r) = 0;
    virtual void ClearClipRect() = 0;
    // The rectangle drawing may reach: the clip or the whole device.
    virtual TRect ClipRect() const = 0;

    // The picture stretched over the rectangle (a metafile's frame onto it).
    virtual void StretchDraw(const TRect &r, const TCanvasImage &image) = 0;

protected:
    // Where each piece of a justified text starts, as offsets from x.
    struct TTextPiece
    {
        int Offset;
        QString Text;
    };
    std::vector<TTextPiece> JustifiedPieces(const QString &text);

    TPoint m_penPos;
    int m_justifyExtra = 0;
    int m_justifyCount = 0;
};

// Keeps every call with the pen, brush, font and clip in force, for tests
// and for finding texts on a drawn page. Text is measured with a fixed
// advance so that results do not depend on the fonts installed.
class TRecordingCanvas : public TCanvas
{
public:
    enum class TOpKind { LineTo, Polyline, Rectangle, Ellipse, Polygon, FillRect, SetPixel, TextOut, StretchDraw };

    struct TOp
    {
        TOpKind Kind;
        std::vector<TPoint> Points; // LineTo: from, to; Polyline/Polygon: the points
        TRect Rect;                 // Rectangle, Ellipse, FillRect, StretchDraw; TextOut: its clip or the device
        QString Text;
        TPoint At;                  // TextOut, SetPixel
        TPen Pen;
        TBrush Brush;
        TFont Font;
        std::optional<TRect> Clip;
        int JustifyExtra = 0;
        int JustifyCount = 0;
        TColor Color = clNone;      // SetPixel
        QByteArray ImageData;       // StretchDraw
    };

    explicit TRecordingCanvas(int ppiX = 96, int ppiY = 96, bool printer = false)
        : m_ppiX(ppiX), m_ppiY(ppiY), m_printer(printer)
    {
    }

    // Advance of every character; 0 takes half the font's em height, rounded.
    int CharWidth = 0;
    // Extra pixels of a text cell above the em height.
    int CellExtra = 0;
    // The area ClipRect reports when no clip is set.
    TRect DeviceRect{0, 0, 100000, 100000};

    std::vector<TOp> Ops;
    // The texts output, in order.
    QStringList Texts() const;
    const TOp *FindText(const QString &text) const;
    void Clear() { Ops.clear(); }

    int PixelsPerInchX() const override { return m_ppiX; }
    int PixelsPerInchY() const override { return m_ppiY; }
    bool IsPrinter() const override { return m_printer; }
    void LineTo(int x, int y) override;
    void Polyline(const std::vector<TPoint> &points) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    using TCanvas::Rectangle;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Polygon(const std::vector<TPoint> &points) override;
    void FillRect(const TRect &r) override;
    void SetPixel(int x, int y, TColor color) override;
    TColor GetPixel(int x, int y) const override;
    void TextOut(int x, int y, const QString &text) override;
    void TextRect(const TRect &clip, int x, int y, const QString &text) override;
    TSize TextExtent(const QString &text) override;
    void SetClipRect(const TRect &r) override { m_clip = r; }
    void ClearClipRect() override { m_clip.reset(); }
    TRect ClipRect() const override { return m_clip ? *m_clip : DeviceRect; }
    void StretchDraw(const TRect &r, const TCanvasImage &image) override;

private:
    TOp MakeOp(TOpKind kind) const;

    int m_ppiX;
    int m_ppiY;
    bool m_printer;
    std::optional<TRect> m_clip;
};

// True when the two rectangles share at least one pixel.
bool IntersectRects(const TRect &a, const TRect &b);
