#include "platform/canvas.h"

#include "platform/numbers.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

TColor ColorToRGB(TColor color)
{
    if ((static_cast<std::uint32_t>(color) & 0xFF000000u) != 0x80000000u)
        return color;
    switch (color & 0xFF) {
    case 0x05: // window
    case 0x14: // button highlight
        return clWhite;
    case 0x0F: // button face
        return clSilver;
    case 0x10: // button shadow
    case 0x11: // grey text
        return clGray;
    case 0x0D: // highlight
        return 0x800000;
    case 0x0E: // highlight text
        return clWhite;
    default:
        return clBlack;
    }
}

int TCanvas::FontPixelHeight() const
{
    // Wider first: the height of a damaged file may be the one int whose
    // magnitude an int cannot hold.
    if (Font.Height != 0)
        return static_cast<int>(std::min<std::int64_t>(std::abs(std::int64_t{Font.Height}), INT_MAX));
    return static_cast<int>(std::clamp<std::int64_t>(Round(static_cast<double>(Font.Size) * PixelsPerInchY() / 72.0),
                                                     INT_MIN, INT_MAX));
}

std::vector<TCanvas::TTextPiece> TCanvas::JustifiedPieces(const QString &text)
{
    std::vector<TTextPiece> pieces;
    if (m_justifyCount <= 0 || m_justifyExtra == 0) {
        pieces.push_back({0, text});
        return pieces;
    }
    // Each blank grows by extra / count, the first extra % count by one more.
    const int each = m_justifyExtra / m_justifyCount;
    int more = m_justifyExtra % m_justifyCount;
    int offset = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u' ')
            continue;
        const QString piece = text.mid(start, i - start + 1);
        pieces.push_back({offset, piece});
        offset += TextWidth(piece) + each + (more > 0 ? 1 : 0);
        if (more > 0)
            --more;
        start = i + 1;
    }
    if (start < text.size())
        pieces.push_back({offset, text.mid(start)});
    return pieces;
}

bool IntersectRects(const TRect &a, const TRect &b)
{
    return std::max(a.Left, b.Left) < std::min(a.Right, b.Right) && std::max(a.Top, b.Top) < std::min(a.Bottom, b.Bottom);
}

TRecordingCanvas::TOp TRecordingCanvas::MakeOp(TOpKind kind) const
{
    TOp op{kind, {}, {}, {}, {}, Pen, Brush, Font, m_clip, m_justifyExtra, m_justifyCount, clNone, {}};
    return op;
}

void TRecordingCanvas::LineTo(int x, int y)
{
    TOp op = MakeOp(TOpKind::LineTo);
    op.Points = {m_penPos, {x, y}};
    Ops.push_back(std::move(op));
    m_penPos = {x, y};
}

void TRecordingCanvas::Polyline(const std::vector<TPoint> &points)
{
    TOp op = MakeOp(TOpKind::Polyline);
    op.Points = points;
    Ops.push_back(std::move(op));
}

void TRecordingCanvas::Rectangle(int left, int top, int right, int bottom)
{
    TOp op = MakeOp(TOpKind::Rectangle);
    op.Rect = {left, top, right, bottom};
    Ops.push_back(std::move(op));
}

void TRecordingCanvas::Ellipse(int left, int top, int right, int bottom)
{
    TOp op = MakeOp(TOpKind::Ellipse);
    op.Rect = {left, top, right, bottom};
    Ops.push_back(std::move(op));
}

void TRecordingCanvas::Polygon(const std::vector<TPoint> &points)
{
    TOp op = MakeOp(TOpKind::Polygon);
    op.Points = points;
    Ops.push_back(std::move(op));
}

void TRecordingCanvas::FillRect(const TRect &r)
{
    TOp op = MakeOp(TOpKind::FillRect);
    op.Rect = r;
    Ops.push_back(std::move(op));
}

void TRecordingCanvas::SetPixel(int x, int y, TColor color)
{
    TOp op = MakeOp(TOpKind::SetPixel);
    op.At = {x, y};
    op.Color = color;
    Ops.push_back(std::move(op));
}

TColor TRecordingCanvas::GetPixel(int x, int y) const
{
    for (auto it = Ops.rbegin(); it != Ops.rend(); ++it)
        if (it->Kind == TOpKind::SetPixel && it->At == TPoint{x, y})
            return it->Color;
    return clNone;
}

void TRecordingCanvas::TextOut(int x, int y, const QString &text)
{
    TOp op = MakeOp(TOpKind::TextOut);
    op.At = {x, y};
    op.Text = text;
    op.Rect = ClipRect();
    Ops.push_back(std::move(op));
}

void TRecordingCanvas::TextRect(const TRect &clip, int x, int y, const QString &text)
{
    TOp op = MakeOp(TOpKind::TextOut);
    op.At = {x, y};
    op.Text = text;
    op.Rect = clip;
    Ops.push_back(std::move(op));
}

TSize TRecordingCanvas::TextExtent(const QString &text)
{
    const int em = FontPixelHeight();
    const int advance = CharWidth > 0 ? CharWidth : std::max(1, static_cast<int>(Round(em / 2.0)));
    return {static_cast<int>(text.size()) * advance, em + CellExtra};
}

void TRecordingCanvas::StretchDraw(const TRect &r, const TCanvasImage &image)
{
    TOp op = MakeOp(TOpKind::StretchDraw);
    op.Rect = r;
    op.ImageData = image.Data;
    Ops.push_back(std::move(op));
}

QStringList TRecordingCanvas::Texts() const
{
    QStringList texts;
    for (const TOp &op : Ops)
        if (op.Kind == TOpKind::TextOut)
            texts << op.Text;
    return texts;
}

const TRecordingCanvas::TOp *TRecordingCanvas::FindText(const QString &text) const
{
    for (const TOp &op : Ops)
        if (op.Kind == TOpKind::TextOut && op.Text == text)
            return &op;
    return nullptr;
}
