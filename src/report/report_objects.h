#pragma once
// The objects a report template is made of: text (memo), picture, band,
// subreport and line, all descended from TfrView. The same classes serve the
// designer (template objects drawn and edited), the build (run-time copies
// that evaluate their text and write themselves into a prepared page) and the
// preview, printing and export (objects rebuilt from a prepared page).
//
// Coordinates are page units (design pixels); colours are TColor with
// clNone (0x1FFFFFFF) meaning no fill.
#include "platform/canvas.h"
#include "report/dataset.h"
#include "report/engine.h"
#include "report/report_stream.h"

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TfrReportDocument;

// Object type codes of the stream records.
enum TfrObjectType : std::uint8_t {
    gtMemo = 0,
    gtPicture = 1,
    gtBand = 2,
    gtSubReport = 3,
    gtLine = 4,
    gtAddIn = 10,
};

// Frame line bits of FrameTyp.
namespace frame {
constexpr std::uint16_t Right = 1;
constexpr std::uint16_t Bottom = 2;
constexpr std::uint16_t Left = 4;
constexpr std::uint16_t Top = 8;
constexpr std::uint16_t All = 15;
} // namespace frame

// Flags bits.
namespace flags {
constexpr std::uint16_t Stretched = 1;
constexpr std::uint16_t WordWrap = 2;       // memo; picture: centre; band: new page after it
constexpr std::uint16_t Hyphenation = 4;    // memo; picture: keep proportions; band: print if detail empty
constexpr std::uint16_t Breakable = 8;      // band
constexpr std::uint16_t OnFirstPage = 16;   // band
constexpr std::uint16_t OnLastPage = 32;    // band
constexpr std::uint16_t RepeatOnPages = 64; // band
constexpr std::uint16_t Observed = 0x8000;  // any object
constexpr std::uint16_t PictureCentre = 2;
constexpr std::uint16_t PictureKeepAspect = 4;
} // namespace flags

// Memo Adjust: low 2 bits horizontal alignment, bit 2 turned text, bits 3-4
// vertical placement.
namespace adjust {
constexpr int Left = 0;
constexpr int Right = 1;
constexpr int Centre = 2;
constexpr int Justify = 3;
constexpr int Turned = 4;
constexpr int VCentre = 8;
constexpr int VBottom = 16;
} // namespace adjust

// Font style code of memos: bit 0 italic, bit 1 bold, bit 2 underline.
unsigned FontStyleFromCode(unsigned code);
unsigned FontStyleToCode(unsigned style);

// The globals of the object model, one each for the engine's whole run.
// 0 while templates are shown in the designer, 1 after a build: decides
// whether transparent objects are filled and frames without lines drawn.
extern int EngineMode;
// Set during the first pass of a two-pass build, when nothing is painted.
extern bool FirstPassRunning;
// The size of the designer's current page in page units; bands stretch over it.
extern TSize DesignerPageSize;

// The canvas that text objects measure on when not printing (and that export
// runs draw on). The program installs one with real font metrics; until then
// a recording canvas with fixed-advance text stands in.
TCanvas &WorkCanvas();
void SetWorkCanvas(TCanvas *canvas);

// A picture as its file holds it: a bitmap, an icon or a Windows metafile
// (WMF or EMF), drawn by the canvas and saved back unchanged. Under the
// bitmap kind a template may also hold a PNG, JPEG or GIF as the picture
// editor once kept it: drawn too, and saved back as it is.
struct TfrPicture
{
    enum TKind : std::uint8_t { gkNone = 0, gkBitmap = 1, gkMetafile = 2, gkIcon = 3 };
    TKind Kind = gkNone;
    QByteArray Data;

    bool Empty() const { return Kind == gkNone || Data.isEmpty(); }
    // Size in pixels read from the picture's header, or for a metafile
    // without one from the window it sets or what it draws (0 when unknown).
    TSize Size() const;
    void Clear()
    {
        Kind = gkNone;
        Data.clear();
    }
    friend bool operator==(const TfrPicture &, const TfrPicture &) = default;
};

// One entry of the designer's context menu of an object: the Flags bit it
// toggles and how the toggle spreads.
struct TfrPopupItem
{
    QString Caption;
    std::uint16_t Bit = 0;
    bool Enabled = true;
    bool Checked = false;
    bool AllSelected = true; // copied into every selected object
    bool Redraw = false;     // the designer redraws the selection after it
    // Items without a bit open a dialog; the designer runs them by caption.
    bool IsCommand() const { return Bit == 0; }
};

class TfrView : public TfrScriptObject
{
public:
    TfrView();
    ~TfrView() override;
    TfrView(const TfrView &) = delete;
    TfrView &operator=(const TfrView &) = delete;

    // Left, Top, Width, Height, FrameWidth before ScaleToCanvas.
    std::array<std::int32_t, 5> SavedCoords{};
    QString BaseName = QStringLiteral("View");
    TCanvas *DrawCanvas = nullptr;
    TRect DrawRect;
    int TextInsetX = 0;
    int TextInsetY = 0;
    QStringList OutputLines;
    // Bound by the page build when the first line names a field.
    TField *DataField = nullptr;
    bool DataFieldIsLargeObject() const { return DataField && IsLargeObjectField(DataField->DataType()); }
    std::int32_t SavedHeight = 0;
    bool PreparedMode = false;
    TfrBandState *OwnerBand = nullptr;
    QString Name;
    std::uint32_t ObjectID = 0;
    std::uint8_t ReportObjectType = gtMemo;
    bool Selected = false;
    std::array<std::int32_t, 4> SavedRect{};
    double ScaleX = 1.0;
    double ScaleY = 1.0;
    std::int32_t OffsetX = 0;
    std::int32_t OffsetY = 0;
    bool ToPrinter = false;

    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::uint16_t Flags = 0;
    std::uint16_t FrameTyp = 0;
    std::int32_t FrameWidth = 1;
    TColor FrameColor = clBlack;
    std::uint16_t FrameLineStyle = 0;
    TColor FillColor = clNone;
    std::int32_t DisplayFormat = FormatCode::Default();  // bands set 0
    QString FormatText;
    std::int16_t Visible = -1;
    QStringList Lines;
    QStringList ScriptLines;

    // The class name that add-in records carry.
    virtual QString ClassName() const { return QStringLiteral("TfrView"); }

    // Slot operations.
    virtual void PaintBackground();
    virtual void PaintFrame();
    // A large-object field's value: text for a memo, picture bytes for a picture.
    virtual void SetContent(const QVariant &content) {}
    virtual void ObserveObject(TfrView *object) {}
    virtual void Assign(const TfrView &source);
    virtual void ScaleToCanvas();
    virtual void RestoreCoords();
    virtual void Draw(TCanvas &canvas) = 0;
    virtual void PrintToStream(TfrStream &stream);
    virtual void ExportObject();
    virtual void LoadFromStream(TfrStream &stream);
    virtual void SaveToStream(TfrStream &stream);
    virtual void AfterResize() {}
    virtual std::vector<TfrPopupItem> PopupItems() const;
    // The area the object covers (several rectangles for a band with its caption).
    virtual std::vector<TRect> GetRegion(bool enlarged) const;

    // Scripts see the object through these.
    QString ObjectName() const override { return Name; }
    bool IsBandObject() const override { return ReportObjectType == gtBand; }
    bool IsTextObject() const override { return ReportObjectType == gtMemo; }
    Variant ReadScriptProperty(int index) const override;
    void WriteScriptProperty(int index, const Variant &value) override;
    std::int32_t ValueFormatCode() const override { return DisplayFormat; }
    QString ValueFormatText() const override { return FormatText; }

    // Makes the canvas the drawing target and the object the engine's
    // current object (scripts' unqualified names refer to it).
    void SetTarget(TCanvas &canvas);
    void CreateUniqueName();
    // Sets or clears the item's bit in this object and, for items that
    // spread, in every object given (the designer's selection).
    void ApplyPopupItem(const TfrPopupItem &item, bool checked, const std::vector<TfrView *> &selection);

protected:
    // Frame rectangle edges before the frame adjustment (step 4 of the scaling).
    int ScaledRight() const;
    int ScaledBottom() const;
    // Writes the type byte, the add-in class name and the record.
    void WriteTypedRecord(TfrStream &stream);
};

struct THighlightAttrs
{
    std::uint16_t FontStyle = 2; // bold
    TColor FontColor = clBlack;
    TColor FillColor = clWhite;
};

class TfrMemoView : public TfrView
{
public:
    TfrMemoView();
    QString ClassName() const override { return QStringLiteral("TfrMemoView"); }

    bool ClipLines = false;
    std::uint8_t PrintState = 0;
    std::int32_t LineHeight = 0;
    std::int32_t LinesDrawn = 0;
    bool ExportMode = false;
    QString FontName = QStringLiteral("Arial");
    std::int32_t FontSize = 10;
    std::uint16_t FontStyle = 0;
    TColor FontColor = clBlack;
    std::int32_t Adjust = 0;
    std::int16_t FontCharset = 1;
    THighlightAttrs HighlightAttrs;
    QString HighlightCondition;

    void Assign(const TfrView &source) override;
    void SetContent(const QVariant &content) override;
    Variant ReadScriptProperty(int index) const override;
    void WriteScriptProperty(int index, const Variant &value) override;
    void Draw(TCanvas &canvas) override;
    void PrintToStream(TfrStream &stream) override;
    void ExportObject() override;
    void LoadFromStream(TfrStream &stream) override;
    void SaveToStream(TfrStream &stream) override;
    std::vector<TfrPopupItem> PopupItems() const override;

    // Text operations (text_object.cpp).
    void ExpandText();
    std::int32_t MeasureHeight();
    void ApplyFont(TCanvas &canvas);
    void WrapLines();
    void DrawLines();
    // The height a part of a split text of this height has for its lines:
    // the part less its top inset and its bottom frame, as DrawLines clips
    // (INT_MAX for a turned text, which is not clipped).
    std::int32_t SplitTextRoom(std::int32_t height);

private:
    void ApplyHighlight();
    void RestoreHighlight();
    struct TKept
    {
        std::uint16_t FontStyle;
        TColor FontColor;
        TColor FillColor;
    } m_kept{};
    void WrapParagraph(TCanvas &canvas, const QString &s, int width, int &pos, int lineHeight);
    TCanvas &MeasureCanvas();
    // The height that many wrapped lines take with the insets.
    int OwnTextHeight(int lineCount);
    // The lines of the latest wrapping and the height they take.
    QStringList m_wrapped;
    int m_textHeight = 0;

public:
    // The height of the text as last wrapped or drawn, in canvas pixels.
    int TextHeight() const { return m_textHeight; }
    // The lines of the latest WrapLines.
    const QStringList &WrappedLines() const { return m_wrapped; }
};

class TfrPictureView : public TfrView
{
public:
    TfrPictureView();
    QString ClassName() const override { return QStringLiteral("TfrPictureView"); }

    TfrPicture Picture;

    void Assign(const TfrView &source) override;
    void SetContent(const QVariant &content) override;
    void Draw(TCanvas &canvas) override;
    void LoadFromStream(TfrStream &stream) override;
    void SaveToStream(TfrStream &stream) override;
    std::vector<TfrPopupItem> PopupItems() const override;
};

class TfrBandView : public TfrView
{
public:
    TfrBandView();
    QString ClassName() const override { return QStringLiteral("TfrBandView"); }

    int GetBandType() const { return FrameTyp & 0xFF; }
    void SetBandType(int kind) { FrameTyp = static_cast<std::uint16_t>(kind & 0x7F); }

    void Draw(TCanvas &canvas) override;
    std::vector<TfrPopupItem> PopupItems() const override;
    std::vector<TRect> GetRegion(bool enlarged) const override;
    // During a build, scripts move, size and hide the run-time band.
    Variant ReadScriptProperty(int index) const override;
    void WriteScriptProperty(int index, const Variant &value) override;
    // The caption strip above the band (left of a cross band).
    TRect CaptionRect() const;
};

class TfrSubReportView : public TfrView
{
public:
    TfrSubReportView();
    QString ClassName() const override { return QStringLiteral("TfrSubReportView"); }

    std::int32_t PageIndex = 0;

    void Assign(const TfrView &source) override;
    void Draw(TCanvas &canvas) override;
    void LoadFromStream(TfrStream &stream) override;
    void SaveToStream(TfrStream &stream) override;
    std::vector<TfrPopupItem> PopupItems() const override { return {}; }
};

class TfrLineView : public TfrView
{
public:
    TfrLineView();
    QString ClassName() const override { return QStringLiteral("TfrLineView"); }

    void Draw(TCanvas &canvas) override;
    std::vector<TfrPopupItem> PopupItems() const override { return {}; }
    std::vector<TRect> GetRegion(bool enlarged) const override;
};

// Band captions by band kind (21 "Нет"), from the running engine.
QString BandKindName(int kind);

// Add-in object classes. Nothing in the system registers one; the factory
// and the designer's object bar read the registry.
struct TfrAddInObjectInfo
{
    QString ClassName;
    std::function<TfrView *()> Create;
    QVariant EditorForm;
    QVariant ButtonBitmap;
    QString ButtonHint;
};
constexpr int MaxAddInClasses = 32;
extern std::array<TfrAddInObjectInfo, MaxAddInClasses> AddInClassRegistry;
extern int AddInClassCount;
// False when the registry is full.
bool RegisterAddInClass(const TfrAddInObjectInfo &info);

// A new object of a type code (add-ins by class name; EClassNotFound for one
// not registered); nullptr for codes without a class. Every object gets the
// next ObjectID.
std::unique_ptr<TfrView> CreateReportObject(std::uint8_t type, const QString &className = {});
// The object counter (the next ObjectID).
extern std::uint32_t ObjectCounter;
