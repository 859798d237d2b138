// The text object: expansion of bracketed expressions, wrapping with Russian
// hyphenation, the four horizontal and three vertical alignments, turned
// text, measuring for the band build and the split of a text over sheets.
#include "report/text_object.h"

#include "platform/numbers.h"
#include "report/expression.h"
#include "report/report_document.h"
#include "report/report_objects.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

int R(double value) { return static_cast<int>(Round(value)); }

// Positions and sizes are summed in a wider type and kept in the int range:
// those of a damaged file may be any int.
using I64 = std::int64_t;
int Clamped(I64 value) { return static_cast<int>(std::clamp<I64>(value, INT_MIN, INT_MAX)); }

bool IsBreakChar(QChar c) { return c == u' ' || c == u',' || c == u'-' || c == u'.'; }
bool IsLineBreak(QChar c) { return c == u'\r' || c == u'\n'; }

bool HasMark(const QStringList &lines)
{
    for (const QString &line : lines)
        if (line.contains(ParagraphMark))
            return true;
    return false;
}

} // namespace

std::vector<int> HyphenPoints(const QString &word)
{
    static const QString Vowels = QStringLiteral("ЁАЕИОУЫЭЮЯ");
    static const QString Signs = QStringLiteral("ЪЬ");
    std::vector<int> points;
    const QString w = word.toUpper();
    const int n = static_cast<int>(w.size());
    if (n <= 4)
        return points;
    const auto vowel = [&](int i) { return Vowels.contains(w[i - 1]); };
    const auto sign = [&](int i) { return Signs.contains(w[i - 1]); };
    for (int i = 2; i <= n - 2; ++i) {
        if (vowel(i)) {
            if (vowel(i + 1) || vowel(i + 2))
                points.push_back(i);
        } else if (!vowel(i + 1) && !sign(i + 1) && vowel(i + 2)) {
            points.push_back(i);
        }
    }
    return points;
}

// ---------------------------------------------------------------- expansion

void TfrMemoView::ExpandText()
{
    OutputLines.clear();
    for (const QString &source : Lines) {
        QString line = source;
        // Positions are 1-based, as the bracket extraction counts them.
        int i = 1;
        for (;;) {
            while (i < line.size() && line[i - 1] != u'[')
                ++i;
            int start = i, stop = i;
            if (i <= line.size() && line[i - 1] == u'[') {
                const QString inner = ExtractBracketed(line, start, stop);
                // An unclosed bracket stays as it is.
                if (stop > i && line[stop - 1] == u']') {
                    const QString value = CurrentDocument() ? CurrentDocument()->FormattedValue(inner, *this) : inner;
                    line.replace(i - 1, stop - i + 1, value);
                    // The inserted text is not scanned again.
                    i += static_cast<int>(value.size());
                    continue;
                }
            }
            break;
        }
        OutputLines << line;
    }
}

void TfrMemoView::ApplyHighlight()
{
    m_kept = {FontStyle, FontColor, FillColor};
    if (!HighlightCondition.isEmpty() && CurrentDocument() && CurrentDocument()->ConditionHolds(HighlightCondition, *this)) {
        FontStyle = HighlightAttrs.FontStyle;
        FontColor = HighlightAttrs.FontColor;
        FillColor = HighlightAttrs.FillColor;
    }
}

void TfrMemoView::RestoreHighlight()
{
    FontStyle = m_kept.FontStyle;
    FontColor = m_kept.FontColor;
    FillColor = m_kept.FillColor;
}

// ---------------------------------------------------------------- fonts and wrapping

void TfrMemoView::ApplyFont(TCanvas &canvas)
{
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Name = FontName;
    canvas.Font.Color = FontColor;
    canvas.Font.Style = FontStyleFromCode(FontStyle);
    canvas.Font.Charset = FontCharset;
    canvas.Font.Orientation = 0;
    if (ToPrinter) {
        canvas.Font.Height = 0;
        canvas.Font.Size = FontSize;
    } else {
        // Bounded before the conversion: a damaged file's size may be any int.
        const double pixels = std::clamp(FontSize * 96.0 / 72.0 * ScaleY, -1e6, 1e6);
        const int height = ScaleY == 1.0 ? R(pixels) : static_cast<int>(pixels);
        // A zero height would mean "use the size in points".
        canvas.Font.Height = height != 0 ? -std::abs(height) : -1;
    }
}

TCanvas &TfrMemoView::MeasureCanvas()
{
    return ToPrinter && DrawCanvas ? *DrawCanvas : WorkCanvas();
}

void TfrMemoView::WrapParagraph(TCanvas &canvas, const QString &s, int width, int &pos, int lineHeight)
{
    const auto add = [&](const QString &text) {
        m_wrapped << text;
        pos = Clamped(I64{pos} + lineHeight);
    };
    const auto widthOf = [&](int from, int to) { return canvas.TextWidth(s.mid(from, to - from + 1)); };
    const int n = static_cast<int>(s.size());
    bool hasBreaks = false;
    for (QChar c : s)
        hasBreaks = hasBreaks || IsLineBreak(c);
    if (!hasBreaks && (n <= 1 || canvas.TextWidth(s) <= width)) {
        add(s + ParagraphMark);
        return;
    }
    const bool hyphenation = (Flags & flags::Hyphenation) != 0;
    int beg = 0, last = 0, cur = 0;
    // Text widths grow with the text, so once a part of the line is known to
    // fit, shorter parts need no measuring; a binary search finds how far
    // the line fits, with a few measurements instead of one per character.
    int fitsUpTo = -1;
    const auto startLine = [&](int at) {
        beg = last = at;
        fitsUpTo = -1;
    };
    const auto overflows = [&](int at) {
        if (at <= fitsUpTo)
            return false;
        if (widthOf(beg, at) > width)
            return true;
        int lineEnd = at;
        while (lineEnd < n && !IsLineBreak(s[lineEnd]))
            ++lineEnd;
        int lo = at, hi = lineEnd - 1;
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            if (widthOf(beg, mid) <= width)
                lo = mid;
            else
                hi = mid - 1;
        }
        fitsUpTo = lo;
        return false;
    };
    while (cur < n) {
        if (IsLineBreak(s[cur])) {
            add(s.mid(beg, cur - beg) + ParagraphMark);
            while (cur < n && IsLineBreak(s[cur]))
                ++cur;
            if (cur >= n)
                return;
            startLine(cur);
            continue;
        }
        if (s[cur] != u' ' && overflows(cur)) {
            bool hyphenated = false;
            if (hyphenation) {
                // The word being broken starts after the latest break
                // character, or at the line's start when there is none.
                const int wordStart = (last == beg && !IsBreakChar(s[last])) ? last : last + 1;
                int end = cur;
                while (end < n && !IsBreakChar(s[end]) && !IsLineBreak(s[end]))
                    ++end;
                // The last hyphenation point whose part still fits with its hyphen.
                for (int p : HyphenPoints(s.mid(wordStart, end - wordStart))) {
                    const int at = wordStart + p - 1;
                    if (at <= beg || canvas.TextWidth(s.mid(beg, at - beg + 1) + u'-') > width)
                        break;
                    hyphenated = true;
                    cur = last = at;
                }
                // Without a usable point the line breaks as it would without
                // hyphenation (a point that does not fit never moves the
                // break back before the line's start).
            }
            if (!hyphenated && last == beg) {
                // No break point on the line: the word is broken where it
                // stops fitting (at least one character per line), and the
                // paragraph goes on.
                if (cur > beg) {
                    add(s.mid(beg, cur - beg));
                    startLine(cur);
                } else {
                    add(s.mid(beg, 1));
                    startLine(cur + 1);
                    ++cur;
                }
                continue;
            }
            if (hyphenated)
                add(s.mid(beg, last - beg + 1) + u'-');
            else if (s[last] == u' ')
                add(s.mid(beg, last - beg));
            else
                add(s.mid(beg, last - beg + 1));
            startLine(last + 1);
        }
        if (IsBreakChar(s[cur]))
            last = cur;
        ++cur;
    }
    if (cur != beg && beg < n)
        add(s.mid(beg) + ParagraphMark);
}

void TfrMemoView::WrapLines()
{
    TCanvas &canvas = MeasureCanvas();
    ApplyFont(canvas);
    m_wrapped.clear();
    const bool turned = (Adjust & adjust::Turned) != 0;
    const int lineHeight = Clamped(I64{canvas.FontPixelHeight()} + R(2 * ScaleY));
    int pos, width;
    if (turned) {
        canvas.Font.Orientation = 900;
        pos = Clamped(I64{Left} + TextInsetX);
        width = Clamped(I64{Height} - 2 * I64{TextInsetY});
    } else {
        pos = Clamped(I64{Top} + TextInsetY);
        width = Clamped(I64{Width} - 2 * I64{TextInsetX});
    }
    for (const QString &line : OutputLines) {
        if (Flags & flags::WordWrap)
            WrapParagraph(canvas, line, width, pos, lineHeight);
        else {
            m_wrapped << line + ParagraphMark;
            pos = Clamped(I64{pos} + lineHeight);
        }
    }
    m_textHeight = Clamped(turned ? I64{pos} - Left + TextInsetX : I64{pos} - Top + TextInsetY);
    LineHeight = lineHeight;
    canvas.Font.Orientation = 0;
}

// ---------------------------------------------------------------- drawing

void TfrMemoView::DrawLines()
{
    TCanvas &canvas = *DrawCanvas;
    ApplyFont(canvas);
    const TRect clip{Clamped(I64{DrawRect.Left} + 1), DrawRect.Top, Clamped(I64{DrawRect.Right} - 2),
                     Clamped(I64{DrawRect.Bottom} - 1)};
    const int keptLeft = Left, keptTop = Top, keptAdjust = Adjust;
    const bool turned = (Adjust & adjust::Turned) != 0;
    if (Adjust & (adjust::VCentre | adjust::VBottom)) {
        const bool centre = (Adjust & adjust::VCentre) != 0;
        if (turned)
            Left = Clamped(centre ? Left + (I64{Width} - m_textHeight) / 2 : I64{Left} + Width - m_textHeight);
        else
            Top = Clamped(centre ? Top + (I64{Height} - m_textHeight) / 2 : I64{Top} + Height - m_textHeight);
        Adjust &= 7;
    }
    const int lineHeight = Clamped(R(2 * ScaleY) + I64{canvas.FontPixelHeight()});
    LinesDrawn = 0;
    const auto output = [&](int x, int y, const QString &text) {
        if (ExportMode) {
            if (CurrentDocument())
                CurrentDocument()->ExportText(x, y, *this, text);
        } else {
            canvas.TextRect(clip, x, y, text);
            canvas.SetTextJustification(0, 0);
        }
    };
    const auto paragraphEnd = [](QString &line) {
        if (line.isEmpty())
            return true;
        if (line.endsWith(ParagraphMark)) {
            line.chop(1);
            return true;
        }
        return false;
    };
    const int align = Adjust & 3;
    if (!turned) {
        int y = Clamped(I64{Top} + TextInsetY);
        for (QString line : OutputLines) {
            if (ClipLines && I64{y} + lineHeight > clip.Bottom)
                break;
            const bool end = paragraphEnd(line);
            const int textWidth = canvas.TextWidth(line);
            const int room = Clamped(I64{Width} - 2 * I64{TextInsetX});
            int x = Clamped(I64{Left} + TextInsetX);
            if (align == adjust::Right)
                x = Clamped(I64{Left} + Width - 1 - TextInsetX - textWidth);
            else if (align == adjust::Centre)
                x = Clamped(I64{Left} + TextInsetX + (I64{room} - textWidth) / 2);
            else if (align == adjust::Justify && !ExportMode && !end) {
                const int blanks = static_cast<int>(line.count(u' '));
                if (blanks > 0)
                    canvas.SetTextJustification(Clamped(I64{room} - textWidth), blanks);
            }
            output(x, y, line);
            ++LinesDrawn;
            y = Clamped(I64{y} + lineHeight);
        }
    } else {
        canvas.Font.Orientation = 900;
        int x = Clamped(I64{Left} + TextInsetX);
        for (QString line : OutputLines) {
            const bool end = paragraphEnd(line);
            const int textWidth = canvas.TextWidth(line);
            const int room = Clamped(I64{Height} - 2 * I64{TextInsetY});
            int y = Clamped(I64{Top} + Height - TextInsetY);
            if (align == 1)
                y = Clamped(I64{Top} + TextInsetY + textWidth);
            else if (align == 2)
                y = Clamped(I64{Top} + Height - 1 - TextInsetY - (I64{room} - textWidth) / 2);
            else if (align == 3 && !ExportMode && !end) {
                const int blanks = static_cast<int>(line.count(u' '));
                if (blanks > 0)
                    canvas.SetTextJustification(Clamped(I64{room} - textWidth), blanks);
            }
            output(x, y, line);
            ++LinesDrawn;
            x = Clamped(I64{x} + lineHeight);
        }
        canvas.Font.Orientation = 0;
    }
    Left = keptLeft;
    Top = keptTop;
    Adjust = keptAdjust;
}

int TfrMemoView::OwnTextHeight(int lineCount)
{
    TCanvas &canvas = MeasureCanvas();
    ApplyFont(canvas);
    const int lineHeight = Clamped(I64{canvas.FontPixelHeight()} + R(2 * ScaleY));
    const bool turned = (Adjust & adjust::Turned) != 0;
    return Clamped(I64{lineCount} * lineHeight + 2 * I64{turned ? TextInsetX : TextInsetY});
}

std::int32_t TfrMemoView::SplitTextRoom(std::int32_t height)
{
    if (Adjust & adjust::Turned)
        return INT_MAX;
    const int kept = Height;
    Height = height;
    ScaleToCanvas();
    const I64 room = I64{DrawRect.Bottom} - 1 - (I64{Top} + TextInsetY);
    RestoreCoords();
    Height = kept;
    return Clamped(room);
}

void TfrMemoView::Draw(TCanvas &canvas)
{
    SetTarget(canvas);
    ClipLines = false;
    OutputLines = Lines;
    ScaleToCanvas();
    if (!ExportMode)
        PaintBackground();
    if (!OutputLines.isEmpty()) {
        const bool wrapped = HasMark(OutputLines);
        if (OutputLines.last() == QString(ParagraphMark))
            OutputLines.removeLast();
        if (!wrapped) {
            WrapLines();
            OutputLines = m_wrapped;
        } else {
            // Text that arrives wrapped (a part of a split object) is placed
            // by its own height, not by whatever was wrapped last.
            m_textHeight = OwnTextHeight(static_cast<int>(OutputLines.size()));
        }
        DrawLines();
    }
    if (!ExportMode)
        PaintFrame();
    RestoreCoords();
}

// ---------------------------------------------------------------- build

std::int32_t TfrMemoView::MeasureHeight()
{
    PrintState = 2;
    SetTarget(WorkCanvas());
    if (CurrentDocument())
        CurrentDocument()->RunObjectScript(*this);
    if (Visible == 0)
        return 0;
    OutputLines = Lines;
    const QStringList before = OutputLines;
    if (CurrentDocument())
        CurrentDocument()->EnterRect(OutputLines, *this);
    if (OutputLines == before)
        ExpandText();
    ApplyHighlight();
    ScaleToCanvas();
    int height = 0;
    if (!OutputLines.isEmpty()) {
        WrapLines();
        height = m_textHeight;
    }
    RestoreCoords();
    RestoreHighlight();
    return height;
}

void TfrMemoView::PrintToStream(TfrStream &stream)
{
    SetTarget(WorkCanvas());
    ClipLines = true;
    if (PrintState == 0 && CurrentDocument())
        CurrentDocument()->RunObjectScript(*this);
    bool expand = true;
    if (PrintState == 0 && ((CurrentDocument() && CurrentDocument()->HasEnterRectHandler()) || DataFieldIsLargeObject())) {
        OutputLines = Lines;
        const QStringList before = OutputLines;
        if (CurrentDocument())
            CurrentDocument()->EnterRect(OutputLines, *this);
        if (OutputLines != before)
            expand = false;
    }
    if (PrintState == 2)
        expand = false;
    if (PrintState != 3 && expand)
        ExpandText();
    if (Visible == 0) {
        PrintState = 0;
        return;
    }
    ApplyHighlight();
    QStringList rest;
    const bool split = PrintState == 3;
    if (split) {
        ScaleToCanvas();
        // A part takes its lines from the top whatever the vertical
        // alignment: centring the whole rest on the part would count lines
        // above it as printed.
        m_textHeight = std::min(OwnTextHeight(static_cast<int>(OutputLines.size())), Height);
        DrawLines();
        RestoreCoords();
        rest = OutputLines.mid(LinesDrawn);
        OutputLines = OutputLines.mid(0, LinesDrawn);
        if (!HasMark(OutputLines))
            OutputLines << QString(ParagraphMark);
    }
    const bool prepared = PreparedMode;
    PreparedMode = true;
    WriteTypedRecord(stream);
    PreparedMode = prepared;
    if (split)
        OutputLines = rest;
    RestoreHighlight();
    PrintState = 0;
}

void TfrMemoView::ExportObject()
{
    TfrView::ExportObject();
    ExportMode = true;
    Draw(WorkCanvas());
    ExportMode = false;
}
