#include "report/report_objects.h"

#include "platform/metafile.h"
#include "platform/numbers.h"
#include "report/band.h"
#include "report/interpreter.h"
#include "report/library.h"
#include "report/report_document.h"

#include <QtCore/QRegularExpression>
#include <QtCore/QtEndian>

#include <algorithm>
#include <climits>

int EngineMode = 0;
bool FirstPassRunning = false;
TSize DesignerPageSize;
std::uint32_t ObjectCounter = 0;
std::array<TfrAddInObjectInfo, MaxAddInClasses> AddInClassRegistry;
int AddInClassCount = 0;

namespace {

int R(double value) { return ClampToInt(Round(value)); }

TRecordingCanvas &StandInCanvas()
{
    static TRecordingCanvas canvas;
    return canvas;
}
TCanvas *InstalledWorkCanvas = nullptr;


} // namespace

TCanvas &WorkCanvas()
{
    if (InstalledWorkCanvas)
        return *InstalledWorkCanvas;
    // The stand-in keeps nothing: only its measurements are used.
    StandInCanvas().Clear();
    return StandInCanvas();
}

void SetWorkCanvas(TCanvas *canvas) { InstalledWorkCanvas = canvas; }

QString BandKindName(int kind)
{
    if (kind < 0 || kind > btNone)
        kind = btNone;
    if (!EngineRunning() || kind >= Engine().BandTypeNames.size())
        return QString::number(kind);
    return Engine().BandTypeNames[kind];
}

unsigned FontStyleFromCode(unsigned code)
{
    unsigned style = 0;
    if (code & 1)
        style |= fs::Italic;
    if (code & 2)
        style |= fs::Bold;
    if (code & 4)
        style |= fs::Underline;
    return style;
}

unsigned FontStyleToCode(unsigned style)
{
    unsigned code = 0;
    if (style & fs::Italic)
        code |= 1;
    if (style & fs::Bold)
        code |= 2;
    if (style & fs::Underline)
        code |= 4;
    return code;
}

namespace {

// A PNG, JPEG or GIF that the picture editor once kept under the bitmap
// kind as it was: sized from its own header, the canvas draws it as it is.
TSize RasterSize(const QByteArray &data)
{
    const auto be16 = [&data](int at) { return at + 2 <= data.size() ? qFromBigEndian<quint16>(data.constData() + at) : 0; };
    const auto be32 = [&data](int at) {
        return at + 4 <= data.size() ? static_cast<int>(std::min<quint32>(qFromBigEndian<quint32>(data.constData() + at), INT_MAX))
                                     : 0;
    };
    const auto le16 = [&data](int at) { return at + 2 <= data.size() ? qFromLittleEndian<quint16>(data.constData() + at) : 0; };
    if (data.startsWith("\x89PNG\r\n\x1A\n"))
        return {be32(16), be32(20)};
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return {le16(6), le16(8)};
    if (!data.startsWith("\xFF\xD8"))
        return {};
    // JPEG: segment after segment up to the frame header, which holds the size.
    for (int at = 2; at + 9 <= data.size();) {
        if (static_cast<quint8>(data[at]) != 0xFF)
            return {};
        const int marker = static_cast<quint8>(data[at + 1]);
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return {be16(at + 7), be16(at + 5)};
        at += 2 + be16(at + 2);
    }
    return {};
}

} // namespace

TSize TfrPicture::Size() const
{
    const auto u16 = [this](int at) { return at + 2 <= Data.size() ? qFromLittleEndian<quint16>(Data.constData() + at) : 0; };
    const auto i32 = [this](int at) { return at + 4 <= Data.size() ? qFromLittleEndian<qint32>(Data.constData() + at) : 0; };
    switch (Kind) {
    case gkBitmap:
        if (Data.size() >= 2 && (Data[0] != 'B' || Data[1] != 'M'))
            return RasterSize(Data);
        if (Data.size() < 26)
            return {};
        if (i32(14) == 12)
            return {u16(18), u16(20)};
        return {i32(18), std::abs(i32(22))};
    case gkIcon:
        if (Data.size() < 8)
            return {};
        return {static_cast<quint8>(Data[6]) ? static_cast<quint8>(Data[6]) : 256,
                static_cast<quint8>(Data[7]) ? static_cast<quint8>(Data[7]) : 256};
    case gkMetafile:
        if (const std::optional<TMetafileFrame> frame = ReadMetafileFrame(Data))
            return frame->Pixels;
        return {};
    case gkNone:
        break;
    }
    return {};
}

// ---------------------------------------------------------------- TfrView

TfrView::TfrView() { ObjectID = 0; }

TfrView::~TfrView()
{
    if (EngineRunning() && Engine().CurrentObject == this)
        Engine().CurrentObject = nullptr;
}

void TfrView::SetTarget(TCanvas &canvas)
{
    DrawCanvas = &canvas;
    if (EngineRunning())
        Engine().CurrentObject = this;
}

Variant TfrView::ReadScriptProperty(int index) const
{
    switch (index) {
    case spLeft: return Variant(Left);
    case spTop: return Variant(Top);
    case spWidth: return Variant(Width);
    case spHeight: return Variant(Height);
    case spFlags: return Variant(static_cast<int>(Flags));
    case spVisible: return Variant(Visible != 0);
    case spFrameTyp: return Variant(static_cast<int>(FrameTyp));
    case spFrameWidth: return Variant(FrameWidth);
    case spFrameColor: return Variant(FrameColor);
    case spFillColor: return Variant(FillColor);
    default: return Variant();
    }
}

void TfrView::WriteScriptProperty(int index, const Variant &value)
{
    switch (index) {
    case spLeft: Left = value.ToInt(); break;
    case spTop: Top = value.ToInt(); break;
    case spWidth: Width = value.ToInt(); break;
    case spHeight: Height = value.ToInt(); break;
    case spFlags: Flags = static_cast<std::uint16_t>(value.ToInt()); break;
    case spVisible: Visible = value.ToBool() ? -1 : 0; break;
    case spFrameTyp: FrameTyp = static_cast<std::uint16_t>(value.ToInt()); break;
    case spFrameWidth: FrameWidth = value.ToInt(); break;
    case spFrameColor: FrameColor = value.ToInt(); break;
    case spFillColor: FillColor = value.ToInt(); break;
    default: break;
    }
}

void TfrView::CreateUniqueName()
{
    Name.clear();
    for (int n = 1; n <= 10000; ++n) {
        const QString candidate = BaseName + QString::number(n);
        if (!CurrentDocument() || !CurrentDocument()->FindObject(candidate)) {
            Name = candidate;
            return;
        }
    }
}

void TfrView::Assign(const TfrView &source)
{
    Name = source.Name;
    ReportObjectType = source.ReportObjectType;
    Selected = source.Selected;
    Left = source.Left;
    Top = source.Top;
    Width = source.Width;
    Height = source.Height;
    Flags = source.Flags;
    FrameTyp = source.FrameTyp;
    FrameWidth = source.FrameWidth;
    FrameColor = source.FrameColor;
    FrameLineStyle = source.FrameLineStyle;
    FillColor = source.FillColor;
    DisplayFormat = source.DisplayFormat;
    FormatText = source.FormatText;
    Visible = source.Visible;
    Lines = source.Lines;
    ScriptLines = source.ScriptLines;
}

void TfrView::ScaleToCanvas()
{
    const int x = Left, y = Top, w = Width, h = Height, f = FrameWidth;
    SavedCoords = {x, y, w, h, f};
    Left = ClampToInt(std::int64_t{R(x * ScaleX)} + OffsetX);
    Top = ClampToInt(std::int64_t{R(y * ScaleY)} + OffsetY);
    Width = R(w * ScaleX);
    Height = R(h * ScaleY);
    const int bx0 = R((f * ScaleX - 1) / 2);
    const int bx1 = R(f * ScaleX / 2);
    const int by0 = R((f * ScaleY - 1) / 2);
    const int by1 = R(f * ScaleY / 2);
    FrameWidth = R(f * ScaleX);
    TextInsetX = bx1 + 2;
    TextInsetY = by1 / 2 + 1;
    // Wide, so that a prepared report's extreme coordinate cannot overflow.
    std::int64_t right = ScaledRight(), bottom = ScaledBottom(), left = Left, top = Top;
    if (FrameTyp & frame::Right)
        right -= bx1;
    if (FrameTyp & frame::Bottom)
        bottom -= by1;
    if (FrameTyp & frame::Left)
        left += bx0;
    if (FrameTyp & frame::Top)
        top += by0;
    DrawRect = {ClampToInt(left), ClampToInt(top), ClampToInt(right + 1), ClampToInt(bottom + 1)};
}

void TfrView::RestoreCoords()
{
    Left = SavedCoords[0];
    Top = SavedCoords[1];
    Width = SavedCoords[2];
    Height = SavedCoords[3];
    FrameWidth = SavedCoords[4];
}

int TfrView::ScaledRight() const { return R((static_cast<double>(SavedCoords[0]) + SavedCoords[2]) * ScaleX + OffsetX); }
int TfrView::ScaledBottom() const { return R((static_cast<double>(SavedCoords[1]) + SavedCoords[3]) * ScaleY + OffsetY); }

void TfrView::PaintBackground()
{
    if (FirstPassRunning || !DrawCanvas)
        return;
    if (EngineMode == 1 && FillColor == clNone)
        return;
    TCanvas &canvas = *DrawCanvas;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = FillColor == clNone ? clWhite : FillColor;
    if (EngineMode == 0)
        canvas.FillRect(DrawRect);
    else
        canvas.FillRect({Left, Top, ScaledRight(), ScaledBottom()});
}

void TfrView::PaintFrame()
{
    if (FirstPassRunning || !DrawCanvas)
        return;
    if (EngineMode == 1 && (FrameTyp & frame::All) == 0)
        return;
    TCanvas &canvas = *DrawCanvas;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Pen.Mode = TPenMode::pmCopy;
    canvas.Brush.Style = TBrushStyle::bsClear;
    if (EngineMode == 0 && Width > 0 && Height > 0) {
        canvas.Pen.Color = clBlack;
        canvas.Pen.Width = 1;
        const auto mark = [&canvas](int x0, int y0, int x1, int y1) {
            canvas.MoveTo(x0, y0);
            canvas.LineTo(x1, y1);
        };
        // Wide: an object at the end of the integer range must not overflow.
        const auto at = [](int a, std::int64_t by) { return ClampToInt(a + by); };
        const int r = at(Left, Width), b = at(Top, Height);
        mark(Left, at(Top, 3), Left, Top);
        mark(Left, Top, at(Left, 4), Top);
        mark(Left, at(b, -3), Left, b);
        mark(Left, b, at(Left, 4), b);
        mark(at(r, -3), Top, r, Top);
        mark(r, Top, r, at(Top, 4));
        mark(at(r, -3), b, r, b);
        mark(r, b, r, at(b, -4));
    }
    canvas.Pen.Color = FrameColor;
    canvas.Pen.Width = FrameWidth;
    const int right = ScaledRight(), bottom = ScaledBottom();
    if ((FrameTyp & frame::All) == frame::All) {
        canvas.Rectangle(Left, Top, ClampToInt(std::int64_t{right} + 1), ClampToInt(std::int64_t{bottom} + 1));
        return;
    }
    const auto line = [&canvas](int x0, int y0, int x1, int y1) {
        canvas.MoveTo(x0, y0);
        canvas.LineTo(x1, y1);
    };
    if (FrameTyp & frame::Right)
        line(right, Top, right, bottom);
    if (FrameTyp & frame::Left)
        line(Left, Top, Left, bottom);
    if (FrameTyp & frame::Bottom)
        line(Left, bottom, right, bottom);
    if (FrameTyp & frame::Top)
        line(Left, Top, right, Top);
}

void TfrView::WriteTypedRecord(TfrStream &stream)
{
    stream.WriteValue<std::uint8_t>(ReportObjectType);
    if (ReportObjectType == gtAddIn)
        stream.WriteCountedString(ClassName());
    SaveToStream(stream);
}

void TfrView::PrintToStream(TfrStream &stream)
{
    SetTarget(WorkCanvas());
    OutputLines = Lines;
    if (CurrentDocument())
        CurrentDocument()->EnterRect(OutputLines, *this);
    if (CurrentDocument())
        CurrentDocument()->RunObjectScript(*this);
    if (Visible == 0)
        return;
    WriteTypedRecord(stream);
}

void TfrView::ExportObject()
{
    if (CurrentDocument())
        CurrentDocument()->ExportObject(*this);
}

void TfrView::LoadFromStream(TfrStream &stream)
{
    if (!PreparedMode) {
        if (TemplateVersion >= 23)
            Name = stream.ReadCountedString();
        else
            CreateUniqueName();
    }
    Left = stream.ReadValue<std::int32_t>();
    Top = stream.ReadValue<std::int32_t>();
    Width = stream.ReadValue<std::int32_t>();
    Height = stream.ReadValue<std::int32_t>();
    Flags = stream.ReadValue<std::uint16_t>();
    FrameTyp = stream.ReadValue<std::uint16_t>();
    FrameWidth = stream.ReadValue<std::int32_t>();
    FrameColor = stream.ReadValue<std::int32_t>();
    FrameLineStyle = stream.ReadValue<std::uint16_t>();
    FillColor = stream.ReadValue<std::int32_t>();
    if (PreparedMode) {
        Lines = stream.ReadVersionedStrings();
        return;
    }
    DisplayFormat = stream.ReadValue<std::int32_t>();
    FormatText = stream.ReadVersionedString();
    Lines = stream.ReadVersionedStrings();
    if (TemplateVersion >= 23) {
        ScriptLines = stream.ReadStrings();
        Visible = stream.ReadValue<std::int16_t>();
    }
}

void TfrView::SaveToStream(TfrStream &stream)
{
    if (!PreparedMode)
        stream.WriteCountedString(Name);
    stream.WriteValue<std::int32_t>(Left);
    stream.WriteValue<std::int32_t>(Top);
    stream.WriteValue<std::int32_t>(Width);
    stream.WriteValue<std::int32_t>(Height);
    stream.WriteValue<std::uint16_t>(Flags);
    stream.WriteValue<std::uint16_t>(FrameTyp);
    stream.WriteValue<std::int32_t>(FrameWidth);
    stream.WriteValue<std::int32_t>(FrameColor);
    stream.WriteValue<std::uint16_t>(FrameLineStyle);
    stream.WriteValue<std::int32_t>(FillColor);
    if (PreparedMode) {
        stream.WriteStrings(OutputLines);
        return;
    }
    stream.WriteValue<std::int32_t>(DisplayFormat);
    stream.WriteCountedString(FormatText);
    stream.WriteStrings(Lines);
    stream.WriteStrings(ScriptLines);
    stream.WriteValue<std::int16_t>(Visible);
}

std::vector<TfrPopupItem> TfrView::PopupItems() const
{
    return {{QStringLiteral("Растягиваемый"), flags::Stretched, true, (Flags & flags::Stretched) != 0, true, true}};
}

void TfrView::ApplyPopupItem(const TfrPopupItem &item, bool checked, const std::vector<TfrView *> &selection)
{
    if (item.IsCommand() || !item.Enabled)
        return;
    const auto apply = [&](TfrView *view) {
        if (checked)
            view->Flags |= item.Bit;
        else
            view->Flags &= static_cast<std::uint16_t>(~item.Bit);
    };
    apply(this);
    if (item.AllSelected)
        for (TfrView *view : selection)
            if (view != this)
                apply(view);
}

std::vector<TRect> TfrView::GetRegion(bool enlarged) const
{
    const int half = FrameWidth / 2;
    const int rest = (FrameWidth - 1) / 2 + 1;
    TRect r{FrameTyp & frame::Left ? Left - half : Left, FrameTyp & frame::Top ? Top - half : Top,
            FrameTyp & frame::Right ? Left + Width + rest : Left + Width + 1,
            FrameTyp & frame::Bottom ? Top + Height + rest : Top + Height + 1};
    if (enlarged)
        r = {r.Left - 10, r.Top - 10, r.Right + 10, r.Bottom + 10};
    return {r};
}

// ---------------------------------------------------------------- memo (fields, stream)

TfrMemoView::TfrMemoView()
{
    BaseName = QStringLiteral("Memo");
    ReportObjectType = gtMemo;
    Flags = flags::WordWrap;
}

void TfrMemoView::Assign(const TfrView &source)
{
    TfrView::Assign(source);
    if (const auto *memo = dynamic_cast<const TfrMemoView *>(&source)) {
        FontName = memo->FontName.left(32);
        FontSize = memo->FontSize;
        FontStyle = memo->FontStyle;
        FontColor = memo->FontColor;
        Adjust = memo->Adjust;
        HighlightAttrs = memo->HighlightAttrs;
        HighlightCondition = memo->HighlightCondition;
        FontCharset = memo->FontCharset;
    }
}

Variant TfrMemoView::ReadScriptProperty(int index) const
{
    switch (index) {
    case spFontName: return Variant(FontName);
    case spFontSize: return Variant(FontSize);
    case spFontStyle: return Variant(static_cast<int>(FontStyle));
    case spFontColor: return Variant(FontColor);
    case spAdjust: return Variant(Adjust);
    default: return TfrView::ReadScriptProperty(index);
    }
}

void TfrMemoView::WriteScriptProperty(int index, const Variant &value)
{
    switch (index) {
    case spFontName: FontName = value.ToString().left(32); break;
    case spFontSize: FontSize = value.ToInt(); break;
    case spFontStyle: FontStyle = static_cast<std::uint16_t>(value.ToInt()); break;
    case spFontColor: FontColor = value.ToInt(); break;
    case spAdjust: Adjust = value.ToInt(); break;
    default: TfrView::WriteScriptProperty(index, value); break;
    }
}

void TfrMemoView::SetContent(const QVariant &content)
{
    OutputLines = content.toString().split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
}

void TfrMemoView::LoadFromStream(TfrStream &stream)
{
    TfrView::LoadFromStream(stream);
    FontName = stream.ReadVersionedString().left(32);
    FontSize = stream.ReadValue<std::int32_t>();
    FontStyle = stream.ReadValue<std::uint16_t>();
    FontColor = stream.ReadValue<std::int32_t>();
    Adjust = stream.ReadValue<std::int32_t>();
    FontCharset = stream.ReadValue<std::int16_t>();
    if (TemplateVersion < 23)
        FontCharset = 1;
    if (!PreparedMode) {
        HighlightAttrs.FontStyle = stream.ReadValue<std::uint16_t>();
        HighlightAttrs.FontColor = stream.ReadValue<std::int32_t>();
        HighlightAttrs.FillColor = stream.ReadValue<std::int32_t>();
        HighlightCondition = stream.ReadVersionedString();
    }
    if (TemplateVersion == 21)
        Flags |= flags::WordWrap;
}

void TfrMemoView::SaveToStream(TfrStream &stream)
{
    TfrView::SaveToStream(stream);
    stream.WriteCountedString(FontName.left(32));
    stream.WriteValue<std::int32_t>(FontSize);
    stream.WriteValue<std::uint16_t>(FontStyle);
    stream.WriteValue<std::int32_t>(FontColor);
    stream.WriteValue<std::int32_t>(Adjust);
    stream.WriteValue<std::int16_t>(FontCharset);
    if (!PreparedMode) {
        stream.WriteValue<std::uint16_t>(HighlightAttrs.FontStyle);
        stream.WriteValue<std::int32_t>(HighlightAttrs.FontColor);
        stream.WriteValue<std::int32_t>(HighlightAttrs.FillColor);
        stream.WriteCountedString(HighlightCondition);
    }
}

std::vector<TfrPopupItem> TfrMemoView::PopupItems() const
{
    std::vector<TfrPopupItem> items;
    items.push_back({QStringLiteral("Формат переменной..."), 0, true, false, true, false});
    items.push_back({QStringLiteral("Шрифт..."), 0, true, false, true, true});
    for (const TfrPopupItem &item : TfrView::PopupItems())
        items.push_back(item);
    const bool wrap = (Flags & flags::WordWrap) != 0;
    items.push_back({QStringLiteral("Перенос слов"), flags::WordWrap, true, wrap, true, true});
    items.push_back({QStringLiteral("Перенос по слогам"), flags::Hyphenation, wrap, wrap && (Flags & flags::Hyphenation), true, true});
    return items;
}

// ---------------------------------------------------------------- picture

TfrPictureView::TfrPictureView()
{
    BaseName = QStringLiteral("Picture");
    ReportObjectType = gtPicture;
    Flags = flags::Stretched | flags::PictureKeepAspect;
}

void TfrPictureView::Assign(const TfrView &source)
{
    TfrView::Assign(source);
    if (const auto *picture = dynamic_cast<const TfrPictureView *>(&source))
        Picture = picture->Picture;
}

void TfrPictureView::SetContent(const QVariant &content)
{
    Picture.Data = content.toByteArray();
    Picture.Kind = Picture.Data.isEmpty() ? TfrPicture::gkNone : TfrPicture::gkBitmap;
}

void TfrPictureView::LoadFromStream(TfrStream &stream)
{
    TfrView::LoadFromStream(stream);
    const auto kind = stream.ReadValue<std::uint8_t>();
    const auto end = stream.ReadValue<std::int32_t>();
    if (end < stream.Position() || end > stream.Size())
        throw EReadError();
    Picture.Clear();
    // The graphic's bytes are whatever lies up to the stored end position.
    const QByteArray data = stream.ReadBytes(end - stream.Position());
    if (kind >= TfrPicture::gkBitmap && kind <= TfrPicture::gkIcon) {
        Picture.Kind = static_cast<TfrPicture::TKind>(kind);
        Picture.Data = data;
    }
    stream.Seek(end);
}

void TfrPictureView::SaveToStream(TfrStream &stream)
{
    TfrView::SaveToStream(stream);
    const bool empty = Picture.Empty();
    stream.WriteValue<std::uint8_t>(empty ? 0 : Picture.Kind);
    const qint64 placeholder = stream.Position();
    stream.WriteValue<std::int32_t>(0);
    if (!empty)
        stream.WriteBytes(Picture.Data);
    const qint64 end = stream.Position();
    stream.Seek(placeholder);
    stream.WriteValue<std::int32_t>(static_cast<std::int32_t>(end));
    stream.Seek(end);
}

std::vector<TfrPopupItem> TfrPictureView::PopupItems() const
{
    std::vector<TfrPopupItem> items = TfrView::PopupItems();
    items.push_back({QStringLiteral("Центрировать"), flags::PictureCentre, true, (Flags & flags::PictureCentre) != 0, true, true});
    const bool stretched = (Flags & flags::Stretched) != 0;
    items.push_back({QStringLiteral("Сохранять пропорции"), flags::PictureKeepAspect, stretched,
                     (Flags & flags::PictureKeepAspect) != 0, true, true});
    return items;
}

void TfrPictureView::Draw(TCanvas &canvas)
{
    SetTarget(canvas);
    ScaleToCanvas();
    PaintBackground();
    const TSize size = Picture.Size();
    if (Picture.Empty() || size.cx <= 0 || size.cy <= 0) {
        canvas.Font = TFont{};
        canvas.Font.Size = 8;
        canvas.Brush.Style = TBrushStyle::bsClear;
        canvas.TextOut(Left + 2, Top + 2, QStringLiteral("[Рисунок]"));
    } else {
        TRect r = DrawRect;
        // Worked out wide: a damaged header's size may reach the int range's end.
        const auto at = [](int a, std::int64_t by) { return ClampToInt(a + by); };
        if (Flags & flags::Stretched) {
            if (Flags & flags::PictureKeepAspect) {
                const double sx = static_cast<double>(Width) / size.cx;
                const double sy = static_cast<double>(Height) / size.cy;
                if (sx >= sy)
                    r.Right = at(r.Left, R(size.cx * sy));
                else
                    r.Bottom = at(r.Top, R(size.cy * sx));
                if (Flags & flags::PictureCentre) {
                    const int dx = (DrawRect.Width() - r.Width()) / 2;
                    const int dy = (DrawRect.Height() - r.Height()) / 2;
                    r = {at(r.Left, dx), at(r.Top, dy), at(r.Right, dx), at(r.Bottom, dy)};
                }
            }
        } else {
            if (Flags & flags::PictureCentre) {
                r.Left = at(r.Left, (std::int64_t{DrawRect.Width()} - size.cx) / 2);
                r.Top = at(r.Top, (std::int64_t{DrawRect.Height()} - size.cy) / 2);
            }
            r.Right = at(r.Left, size.cx);
            r.Bottom = at(r.Top, size.cy);
        }
        canvas.StretchDraw(r, {Picture.Data});
    }
    PaintFrame();
    RestoreCoords();
}

// ---------------------------------------------------------------- band

TfrBandView::TfrBandView()
{
    BaseName = QStringLiteral("Band");
    ReportObjectType = gtBand;
    Flags = 0x30;
    DisplayFormat = 0;
}

static bool IsCrossBand(int kind) { return kind >= btCrossHeader && kind <= btCrossFooter; }

TRect TfrBandView::CaptionRect() const
{
    if (IsCrossBand(GetBandType()))
        return {Left - 18, Top, Left, Top + 100};
    return {Left, Top - 18, Left + 100, Top};
}

void TfrBandView::Draw(TCanvas &canvas)
{
    FrameWidth = 1;
    const int kind = GetBandType();
    if (IsCrossBand(kind)) {
        Top = 0;
        Height = DesignerPageSize.cy;
    } else {
        Left = 0;
        Width = DesignerPageSize.cx;
    }
    SetTarget(canvas);
    ScaleToCanvas();
    canvas.Brush.Style = TBrushStyle::bsChecker;
    canvas.Brush.Color = clWhite;
    canvas.Brush.CheckerColor = clSilver;
    canvas.FillRect(DrawRect);
    canvas.Font = TFont{};
    canvas.Font.Size = 8;
    canvas.Pen = TPen{};
    canvas.Pen.Color = clBtnFace;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Rectangle(Left, Top, Left + Width + 1, Top + Height + 1);

    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clBtnFace;
    const TRect strip = CaptionRect();
    canvas.FillRect(strip);
    const auto line = [&canvas](TColor color, int x0, int y0, int x1, int y1) {
        canvas.Pen.Color = color;
        canvas.MoveTo(x0, y0);
        canvas.LineTo(x1, y1);
    };
    canvas.Brush.Style = TBrushStyle::bsClear;
    if (IsCrossBand(kind)) {
        line(clBtnShadow, strip.Left, Top + 98, strip.Right, Top + 98);
        line(clBlack, strip.Left, Top + 99, strip.Right, Top + 99);
        line(clBtnHighlight, Left - 18, Top + 99, Left - 18, Top);
        canvas.Font.Orientation = 900;
        canvas.TextOut(Left - 15, Top + 94, BandKindName(kind));
        canvas.Font.Orientation = 0;
    } else {
        line(clBtnShadow, Left + 98, strip.Top, Left + 98, strip.Bottom);
        line(clBlack, Left + 99, strip.Top, Left + 99, strip.Bottom);
        canvas.TextOut(Left + 4, Top - 17, BandKindName(kind));
    }
    // The stored position follows the page: nothing is restored.
}

std::vector<TfrPopupItem> TfrBandView::PopupItems() const
{
    const int kind = GetBandType();
    const auto in = [kind](std::initializer_list<int> kinds) { return std::find(kinds.begin(), kinds.end(), kind) != kinds.end(); };
    std::vector<TfrPopupItem> items;
    if (in({0, 1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17, 18}))
        items = TfrView::PopupItems();
    const auto add = [&](const char *caption, std::uint16_t bit, bool all) {
        items.push_back({QString::fromUtf8(caption), bit, true, (Flags & bit) != 0, all, false});
    };
    if (in({0, 1, 5, 6, 8, 9, 11, 12, 16}))
        add("Формировать новую страницу", 2, true);
    if (in({5, 8}))
        add("Печатать, если Detail пуст", 4, true);
    if (in({0, 1, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 17}))
        add("Разрываемый", 8, true);
    if (in({2, 3}))
        add("На первой странице", 16, false);
    if (in({3}))
        add("На последней странице", 32, false);
    if (in({4, 7, 10, 16, 18}))
        add("Выводить на всех страницах", 64, false);
    return items;
}

std::vector<TRect> TfrBandView::GetRegion(bool enlarged) const
{
    TRect r{Left, Top, Left + Width + 1, Top + Height + 1};
    if (enlarged)
        r = {r.Left - 10, r.Top - 10, r.Right + 10, r.Bottom + 10};
    return {r, CaptionRect()};
}

Variant TfrBandView::ReadScriptProperty(int index) const
{
    auto *band = dynamic_cast<TfrBand *>(OwnerBand);
    if (!band)
        return TfrView::ReadScriptProperty(index);
    switch (index) {
    case spLeft: return Variant(band->Left);
    case spTop: return Variant(band->Top);
    case spWidth: return Variant(band->Width);
    case spHeight: return Variant(band->Height);
    case spVisible: return Variant(band->Visible);
    default: return TfrView::ReadScriptProperty(index);
    }
}

void TfrBandView::WriteScriptProperty(int index, const Variant &value)
{
    auto *band = dynamic_cast<TfrBand *>(OwnerBand);
    if (!band) {
        TfrView::WriteScriptProperty(index, value);
        return;
    }
    switch (index) {
    case spLeft: band->Left = value.ToInt(); break;
    case spTop: band->Top = value.ToInt(); break;
    case spWidth: band->Width = value.ToInt(); break;
    case spHeight: band->Height = value.ToInt(); break;
    case spVisible: band->Visible = value.ToBool(); break;
    default: TfrView::WriteScriptProperty(index, value); break;
    }
}

// ---------------------------------------------------------------- subreport

TfrSubReportView::TfrSubReportView()
{
    BaseName = QStringLiteral("SubReport");
    ReportObjectType = gtSubReport;
}

void TfrSubReportView::Assign(const TfrView &source)
{
    TfrView::Assign(source);
    if (const auto *sub = dynamic_cast<const TfrSubReportView *>(&source))
        PageIndex = sub->PageIndex;
}

void TfrSubReportView::Draw(TCanvas &canvas)
{
    SetTarget(canvas);
    FrameWidth = 1;
    ScaleToCanvas();
    canvas.Font = TFont{};
    canvas.Font.Size = 8;
    canvas.Pen = TPen{};
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = clWhite;
    canvas.Rectangle(Left, Top, Left + Width + 1, Top + Height + 1);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextRect(DrawRect, Left + 2, Top + 2, QStringLiteral("SubReport на странице ") + QString::number(std::int64_t{PageIndex} + 1));
    RestoreCoords();
}

void TfrSubReportView::LoadFromStream(TfrStream &stream)
{
    TfrView::LoadFromStream(stream);
    PageIndex = stream.ReadValue<std::int32_t>();
}

void TfrSubReportView::SaveToStream(TfrStream &stream)
{
    TfrView::SaveToStream(stream);
    stream.WriteValue<std::int32_t>(PageIndex);
}

// ---------------------------------------------------------------- line

TfrLineView::TfrLineView()
{
    BaseName = QStringLiteral("Line");
    ReportObjectType = gtLine;
    FrameTyp = frame::Left;
}

void TfrLineView::Draw(TCanvas &canvas)
{
    SetTarget(canvas);
    if (Height < Width) {
        Height = 0;
        FrameTyp = frame::Top;
    } else {
        Width = 0;
        FrameTyp = frame::Left;
    }
    ScaleToCanvas();
    PaintFrame();
    RestoreCoords();
}

std::vector<TRect> TfrLineView::GetRegion(bool enlarged) const
{
    TRect r;
    if (FrameTyp == frame::Left) {
        r.Left = Left - FrameWidth / 2;
        r.Right = r.Left + FrameWidth;
        r.Top = Top;
        r.Bottom = Top + Height + 1;
    } else {
        r.Top = Top - FrameWidth / 2;
        r.Bottom = r.Top + FrameWidth;
        r.Left = Left;
        r.Right = Left + Width + 1;
    }
    if (enlarged)
        r = {r.Left - 10, r.Top - 10, r.Right + 10, r.Bottom + 10};
    return {r};
}

// ---------------------------------------------------------------- factory

bool RegisterAddInClass(const TfrAddInObjectInfo &info)
{
    if (AddInClassCount >= MaxAddInClasses)
        return false;
    AddInClassRegistry[AddInClassCount++] = info;
    return true;
}

std::unique_ptr<TfrView> CreateReportObject(std::uint8_t type, const QString &className)
{
    std::unique_ptr<TfrView> view;
    switch (type) {
    case gtMemo: view = std::make_unique<TfrMemoView>(); break;
    case gtPicture: view = std::make_unique<TfrPictureView>(); break;
    case gtBand: view = std::make_unique<TfrBandView>(); break;
    case gtSubReport: view = std::make_unique<TfrSubReportView>(); break;
    case gtLine: view = std::make_unique<TfrLineView>(); break;
    case gtAddIn:
        for (int i = 0; i < AddInClassCount; ++i) {
            if (AddInClassRegistry[i].ClassName == className && AddInClassRegistry[i].Create) {
                view.reset(AddInClassRegistry[i].Create());
                break;
            }
        }
        if (!view)
            throw EClassNotFound(QStringLiteral("Не найден класс ") + className);
        view->ReportObjectType = gtAddIn;
        break;
    default:
        return nullptr;
    }
    view->ObjectID = ObjectCounter++;
    return view;
}
