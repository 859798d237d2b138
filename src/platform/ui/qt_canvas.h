#pragma once
// The canvas on Qt: a QPainter on an image, a printer or a PDF writer.
//
// On an image the pen modes Xor and NotXor are the painter's bitwise raster
// operations, so drawing the same thing twice gives back the image bit for
// bit; printers and PDF writers paint every mode as Copy. Nothing is
// antialiased, so pixels land where the device-context model puts them.
#include "platform/canvas.h"

#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtGui/QFontMetrics>
#include <QtGui/QImage>
#include <QtGui/QPainter>

#include <memory>

class QPaintDevice;

// The one conversion of the system's colours to Qt's (system colours resolved).
QColor TColorToQColor(TColor color);
TColor QColorToTColor(const QColor &color);

// The Qt font for a canvas font at a resolution.
QFont MakeQFont(const TFont &font, int ppiY);

class TQtCanvas : public TCanvas
{
public:
    // Paints on an image of format RGB32 (converted when it is not); the
    // resolution sets how font points become pixels (the screen's 96 by default).
    explicit TQtCanvas(QImage *image, int ppiX = 96, int ppiY = 96);
    // Paints on a printer or PDF writer at its own resolution.
    explicit TQtCanvas(QPaintDevice *device, bool printer = true);
    ~TQtCanvas() override;

    QPainter &Painter() { return *m_painter; }
    // Ends painting (a printer's page stream needs the painter finished).
    void End();

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
    void SetClipRect(const TRect &r) override;
    void ClearClipRect() override;
    TRect ClipRect() const override;
    void StretchDraw(const TRect &r, const TCanvasImage &image) override;

private:
    void ApplyMode();
    QPen MakeQPen() const;
    QBrush MakeQBrush() const;
    bool PenVisible() const { return Pen.Style != TPenStyle::psClear; }
    bool BrushVisible() const { return Brush.Style != TBrushStyle::bsClear; }
    // Styled one-pixel lines first get their gaps in the brush colour.
    void StrokePath(const QPainterPath &path);
    // cached: the text may come from its mask (not inside a further clip).
    void DrawTextAt(int x, int y, const QString &text, bool cached = true);
    // The Qt font and metrics of the current font, made again only when the
    // font changes (text is measured many times while wrapping).
    const QFont &CurrentQFont();
    const QFontMetrics &CurrentMetrics();
    // Level, unjustified texts on an image are drawn from masks kept per
    // font and text (the scheme redraws the same labels again and again);
    // false when the text needs the painter.
    bool DrawCachedText(int x, int y, const QString &text);

    QImage *m_image = nullptr;
    QPaintDevice *m_device = nullptr;
    std::unique_ptr<QPainter> m_painter;
    int m_ppiX;
    int m_ppiY;
    bool m_printer;
    std::optional<TRect> m_clip;
    std::optional<TFont> m_cachedFont;
    QFont m_qfont;
    std::optional<QFontMetrics> m_metrics;
    QString m_fontCacheKey;
};
