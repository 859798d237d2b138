#include "designer/design_editing_rules.h"

#include "designer/design_state.h"
#include "designer/designer_core.h"
#include "platform/exceptions.h"
#include "platform/float_format.h"
#include "platform/numbers.h"
#include "report/expression.h"
#include "report/report_document.h"
#include "report/report_page.h"

#include <cmath>

namespace {

// The controls of each group of the enabling table and the SelectionKind
// bits that enable the group.
struct TControlGroup
{
    int Bits;
    const char *Names[24];
};

const TControlGroup ControlGroups[] = {
    {2 | 4 | 8, {"FrB1", "FrB2", "FrB3", "FrB4", "FrB5", "FrB6", "ClB1", "ClB3", "E1", "SB1", "SB2"}},
    {2 | 8,
     {"ClB2", "C2", "C3", "FnB1", "FnB2", "FnB3", "AlB1", "AlB2", "AlB3", "AlB4", "AlB5", "AlB6", "AlB7", "AlB8",
      "HlB1"}},
    {1 | 2 | 4 | 8,
     {"ZB1", "ZB2", "N32", "N33", "GB3", "CutB", "N11", "N2", "CopyB", "N12", "N1", "N27", "N5"}},
    {16, {"PstB", "N13", "N3"}},
    {1 | 2 | 4, {"N36", "N6"}},
};

bool IsText(const TfrView &v) { return dynamic_cast<const TfrMemoView *>(&v) != nullptr; }

bool IsBand(const TfrView &v) { return v.ReportObjectType == gtBand; }

void SetBit(std::uint16_t &word, std::uint16_t bit, bool on)
{
    word = on ? std::uint16_t(word | bit) : std::uint16_t(word & ~bit);
}

// The text of a number box as a whole number, as the boxes have always read it.
int BoxNumber(const QString &text) { return StrToInt(text.trimmed()); }

} // namespace

std::vector<std::pair<QString, bool>> EnabledControls(int selectionKind)
{
    std::vector<std::pair<QString, bool>> result;
    for (const TControlGroup &group : ControlGroups)
        for (const char *name : group.Names)
            if (name)
                result.emplace_back(QLatin1String(name), (selectionKind & group.Bits) != 0);
    return result;
}

void ApplyFormatting(TfrView &view, const TFormatInput &in)
{
    if (IsBand(view))
        return;
    auto *memo = dynamic_cast<TfrMemoView *>(&view);
    switch (in.Tag) {
    case 1: SetBit(view.FrameTyp, frame::Top, in.Down); return;
    case 2: SetBit(view.FrameTyp, frame::Left, in.Down); return;
    case 3: SetBit(view.FrameTyp, frame::Bottom, in.Down); return;
    case 4: SetBit(view.FrameTyp, frame::Right, in.Down); return;
    case 20:
        view.FrameTyp |= frame::All;
        LastFrameTyp = frame::All;
        return;
    case 21:
        view.FrameTyp &= 0xFFF0;
        LastFrameTyp = 0;
        return;
    case 6:
        view.FrameWidth = BoxNumber(in.Text);
        (view.ReportObjectType == gtLine ? LastLineWidth : LastFrameWidth) = view.FrameWidth;
        return;
    case 5:
        view.FillColor = in.Color;
        LastFillColor = in.Color;
        return;
    case 19:
        view.FrameColor = in.Color;
        LastFrameColor = in.Color;
        return;
    default: break;
    }
    if (!memo)
        return;
    switch (in.Tag) {
    case 7:
        if (!in.FontName.isEmpty()) {
            memo->FontName = in.FontName.left(32);
            LastFontName = memo->FontName;
        }
        return;
    case 8:
        memo->FontSize = BoxNumber(in.Text);
        LastFontSize = memo->FontSize;
        return;
    case 9:
    case 10:
    case 18: {
        const std::uint16_t bit = in.Tag == 9 ? 2 : in.Tag == 10 ? 1 : 4;
        SetBit(memo->FontStyle, bit, in.Down);
        LastFontStyle = memo->FontStyle;
        return;
    }
    case 11:
    case 12:
    case 13: memo->Adjust = (memo->Adjust & 0xFC) + in.Tag - 11; break;
    case 22: memo->Adjust = (memo->Adjust & 0xFC) | 3; break;
    case 14: memo->Adjust = (memo->Adjust & 0xFB) + 4 * int(in.Down); break;
    case 15: memo->Adjust = (memo->Adjust & 0xE7) + 8 * int(in.MiddleDown) + 16 * int(in.BottomDown); break;
    case 17:
        memo->FontColor = in.Color;
        LastFontColor = in.Color;
        return;
    default: return;
    }
    LastAdjust = std::uint8_t(memo->Adjust);
}

TToolbarState ToolbarStateOf(const TfrView &view)
{
    TToolbarState s;
    s.FrameLines = {(view.FrameTyp & frame::Top) != 0, (view.FrameTyp & frame::Left) != 0,
                    (view.FrameTyp & frame::Bottom) != 0, (view.FrameTyp & frame::Right) != 0};
    s.FrameWidth = view.FrameWidth;
    s.FillColor = view.FillColor;
    s.FrameColor = view.FrameColor;
    const auto *memo = dynamic_cast<const TfrMemoView *>(&view);
    if (!memo)
        return s;
    s.IsText = true;
    s.FontColor = memo->FontColor;
    s.FontName = memo->FontName;
    s.FontSize = memo->FontSize;
    s.FontButtons = {(memo->FontStyle & 2) != 0, (memo->FontStyle & 1) != 0, (memo->FontStyle & 4) != 0};
    s.AlignButtons[4] = (memo->Adjust & 4) != 0;
    const int vertical = memo->Adjust & 0x18;
    s.AlignButtons[5] = vertical == 8;
    s.AlignButtons[6] = vertical == 0;
    s.AlignButtons[7] = vertical == 16;
    const int horizontal[4] = {1, 2, 3, 8};
    s.AlignButtons[horizontal[memo->Adjust & 3]] = true;
    return s;
}

namespace {

// The score of one move: s spans a..A along the move and c..C across it, q
// spans qa..qA and qc..qC; d is +1 forward, -1 backward.
int AxisScore(int a, int A, int c, int C, int qa, int qA, int qc, int qC, int d)
{
    // An object behind the direction is out whatever its offset: added to
    // the gap, a long one would come in under the limit.
    if ((d > 0 && qa <= a) || (d < 0 && qA >= A))
        return 10000;
    int g;
    if (qC < c)
        g = c - qC;
    else if (qc > C)
        g = qc - C;
    else if (qc <= c && qC >= C)
        g = 0;
    else
        g = qc - c;
    return d > 0 ? g + qa - (qa >= A ? A : a) : g + (qA <= a ? a : A) - qA;
}

} // namespace

int NearestScore(const TfrView &s, const TfrView &q, int dx, int dy)
{
    const int L = s.Left, T = s.Top, R = s.Left + s.Width, B = s.Top + s.Height;
    const int QL = q.Left, QT = q.Top, QR = q.Left + q.Width, QB = q.Top + q.Height;
    if (dx != 0)
        return AxisScore(L, R, T, B, QL, QR, QT, QB, dx);
    return AxisScore(T, B, L, R, QT, QB, QL, QR, dy);
}

int NearestObject(const TfrPage &page, const TfrView &s, int dx, int dy)
{
    int best = -1;
    int bestScore = 10000;
    const auto &objects = page.TemplateObjects;
    for (int i = 0; i < int(objects.size()); ++i) {
        const TfrView &q = *objects[i];
        if (q.Selected || IsBand(q))
            continue;
        const int score = NearestScore(s, q, dx, dy);
        if (score < bestScore) {
            bestScore = score;
            best = i;
        }
    }
    return best;
}

void MoveAgainst(TfrView &s, const TfrView &q)
{
    const int QL = q.Left, QT = q.Top, QR = q.Left + q.Width, QB = q.Top + q.Height;
    if (s.Left + s.Width <= QL)
        s.Left = QL - s.Width;
    else if (s.Top + s.Height < QT)
        s.Top = QT - s.Height;
    else if (QR <= s.Left)
        s.Left = QR;
    else if (QB <= s.Top)
        s.Top = QB;
}

QString UnitsText(int pixels, int units)
{
    if (units == 0)
        return QString::number(pixels);
    return FloatToStrF(PixelsToUnits(pixels, units), ffFixed, 4, 2);
}

std::array<QString, 7> InspectorTexts(const TfrPage &page, int units)
{
    std::array<QString, 7> texts;
    const std::vector<TfrView *> selected = SelectedObjects(page);
    if (selected.empty())
        return texts;
    const TfrView &top = *page.TemplateObjects[TopSelectedIndex(page)];
    const auto values = [units](const TfrView &v) {
        return std::array<QString, 5>{UnitsText(v.Left, units), UnitsText(v.Top, units), UnitsText(v.Width, units),
                                      UnitsText(v.Height, units), v.Visible ? QStringLiteral("1") : QStringLiteral("0")};
    };
    const std::array<QString, 5> mine = values(top);
    for (int row = irLeft; row <= irVisible; ++row) {
        bool shared = true;
        for (const TfrView *v : selected)
            shared = shared && values(*v)[row - 1] == mine[row - 1];
        if (shared)
            texts[row] = mine[row - 1];
    }
    if (selected.size() == 1)
        texts[irName] = top.Name;
    return texts;
}

void ApplyInspectorValue(TfrPage &page, const TfrReportDocument *report, int row, QString &value, int units,
                         const std::function<void()> &beforeChange)
{
    const std::vector<TfrView *> selected = SelectedObjects(page);
    if (row == irName) {
        if (selected.size() != 1)
            return;
        TfrView &view = *selected.front();
        bool taken = report && report->FindObject(value);
        for (const auto &v : page.TemplateObjects)
            taken = taken || v->Name.compare(value, Qt::CaseInsensitive) == 0;
        // Scripts and the inspector find objects by name: a blank one would
        // leave the object unreachable.
        if (taken || value.trimmed().isEmpty()) {
            value = view.Name;
            return;
        }
        if (beforeChange)
            beforeChange();
        view.Name = value;
        return;
    }
    if (row < irLeft || row > irVisible)
        return;
    TParser parser;
    value = parser.Evaluate(value).ToString();
    int number;
    if (row == irVisible) {
        number = StrToInt(value);
    } else {
        double units_value;
        if (!TryStrToFloat(value, units_value))
            throw EConvertError(InvalidNumberMessage(value, false));
        number = UnitsToPixels(units_value, units);
    }
    if (beforeChange && !selected.empty())
        beforeChange();
    for (TfrView *v : selected) {
        switch (row) {
        case irLeft: v->Left = number; break;
        case irTop: v->Top = number; break;
        case irWidth: v->Width = number; break;
        case irHeight: v->Height = number; break;
        default: v->Visible = number != 0 ? -1 : 0; break;
        }
    }
}

QString ReadOutPair(int a, int b, int units)
{
    if (units == 0)
        return QStringLiteral("%1;%2").arg(a).arg(b);
    return UnitsText(a, units) + QStringLiteral("; ") + UnitsText(b, units);
}

TReadOut ReadOutTexts(const TfrPage &page, int units)
{
    TReadOut out;
    if (SelectedCount == 1 || ShowRubberSize) {
        const TfrView *single = nullptr;
        TRect r;
        if (ShowRubberSize) {
            r = RubberRect;
        } else {
            single = page.TemplateObjects[TopSelectedIndex(page)].get();
            r = {single->Left, single->Top, single->Left + single->Width, single->Top + single->Height};
        }
        out.Position = ReadOutPair(r.Left, r.Top, units);
        out.Size = ReadOutPair(r.Right - r.Left, r.Bottom - r.Top, units);
        if (const auto *picture = dynamic_cast<const TfrPictureView *>(single);
            picture && picture->ReportObjectType == gtPicture && !picture->Picture.Empty()) {
            const TSize size = picture->Picture.Size();
            if (size.cx > 0 && size.cy > 0)
                out.Scale = QStringLiteral("% %1,%2")
                                .arg(single->Width * 100 / size.cx)
                                .arg(single->Height * 100 / size.cy);
        }
    } else if (SelectedCount > 0 && SelectionRectValid) {
        const auto ratio = [](int now, int saved) { return saved == 0 ? 0.0 : double(now) / saved; };
        const double kx = ratio(RubberRect.Right - RubberRect.Left, SavedRect.Right - SavedRect.Left);
        const double ky = ratio(RubberRect.Bottom - RubberRect.Top, SavedRect.Bottom - SavedRect.Top);
        out.Scale = QStringLiteral("% %1,%2").arg(Round(kx * 100)).arg(Round(ky * 100));
    }
    return out;
}

TfrView *PopupItemsOwner(const TfrPage &page)
{
    const std::vector<TfrView *> selected = SelectedObjects(page);
    if (selected.empty())
        return nullptr;
    TfrView *p = page.TemplateObjects[TopSelectedIndex(page)].get();
    if (selected.size() == 1)
        return p;
    if (IsBand(*p))
        return nullptr;
    for (const TfrView *q : selected) {
        const bool compatible = (IsText(*p) && IsText(*q))
                                || (p->ReportObjectType == q->ReportObjectType
                                    && (p->ReportObjectType != gtAddIn || p->ClassName() == q->ClassName()));
        if (!compatible)
            return nullptr;
    }
    return p;
}
