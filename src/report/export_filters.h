#pragma once
// Export of prepared pages as plain text, RTF, CSV or HTML. A filter gets
// the objects of one page after another and writes a file; the text-based
// filters put every text line into a grid of rows (row = y / H, H being the
// average font height the user gives) ordered by x, and write the grid at
// the end of each page. The report replays its pages through the filter
// (TfrReport::ExportTo); the preview's save dialog lists the registry.
#include "platform/colors.h"

#include <QtCore/QIODevice>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <memory>
#include <vector>

class QTemporaryFile;
class TfrView;

class TfrExportFilter
{
public:
    // The stream is not owned.
    explicit TfrExportFilter(QIODevice &stream) : Stream(stream) {}
    virtual ~TfrExportFilter() = default;
    TfrExportFilter(const TfrExportFilter &) = delete;
    TfrExportFilter &operator=(const TfrExportFilter &) = delete;

    virtual void BeginDocument() {}
    virtual void EndDocument() {}
    virtual void BeginPage() {}
    virtual void EndPage() {}
    virtual void AddObject(int x, int y, TfrView *view) {}
    virtual void AddText(int x, int y, TfrView *view, const QString &text) {}
    // Writes what closes the file (tables, tail); called once after the
    // last page, before the filter is freed.
    virtual void Finish() {}

protected:
    void Write(const QByteArray &bytes);
    QIODevice &Stream;
};

// The average font height of the text-based filters, one per process; set
// by every text-based filter when it is made.
int ExportFontHeight();
void SetExportFontHeight(int height);

// Asks for the average font height ("Параметры фильтра"): a cancelled box
// gives "16", and anything but a positive integer is asked again.
int AskExportFontHeight();

// One text line of a page in the grid.
struct TfrTextItem
{
    int X = 0;
    QString Text; // at most 255 characters
    QString FontName;
    int FontSize = 0;
    int FontStyle = 0; // bit 0 italic, bit 1 bold, bit 2 underline
    TColor FontColor = 0;
    TColor FillColor = 0;
};

class TfrTextExportFilter : public TfrExportFilter
{
public:
    // Asks for the average font height.
    explicit TfrTextExportFilter(QIODevice &stream);

    void BeginPage() override;
    void EndPage() override;
    // Says how many texts lay beyond what a sheet can hold.
    void EndDocument() override;
    // A text beyond what a sheet can hold is left out and counted.
    void AddText(int x, int y, TfrView *view, const QString &text) override;

    // Rows of the current page, each ordered by x. 201 rows at the start of
    // a page; a text further down makes the grid grow up to what a sheet
    // holds.
    std::vector<std::vector<TfrTextItem>> Rows;

protected:
    // The last row that has items, -1 when the page has no text.
    int LastUsedRow() const;
    // The rows up to the last used one, each item padded to its column
    // (cellWidth 0: characters of the text export; else fields that wide).
    QByteArray ColumnLines(char pad, int cellWidth) const;

private:
    int m_outsideSheet = 0;
};

class TfrRTFExportFilter : public TfrTextExportFilter
{
public:
    // The body is collected in a private temporary file; raises
    // EFCreateError when that cannot be made.
    explicit TfrRTFExportFilter(QIODevice &stream);
    ~TfrRTFExportFilter() override;

    void AddObject(int x, int y, TfrView *view) override;
    void EndPage() override;
    void Finish() override;

private:
    struct TPicture
    {
        int X, Y, Width, Height;
        int PictureWidth, PictureHeight;
        QByteArray Bitmap; // the bitmap file, or the metafile's records
        // "wmetafile8" (a WMF without its placeable header) or "emfblip"
        // for a metafile as it is; empty for a bitmap, which goes into a
        // metafile wrapper.
        QByteArray Metafile;
    };
    void WritePicture(const TPicture &picture);
    int FontIndex(const QString &name);
    int ColorIndex(TColor color);

    QStringList m_fonts;
    QStringList m_colors;
    std::vector<TPicture> m_pictures;
    bool m_pageWritten = false;
    std::unique_ptr<QTemporaryFile> m_body;
};

class TfrCSVExportFilter : public TfrTextExportFilter
{
public:
    using TfrTextExportFilter::TfrTextExportFilter;
    void EndPage() override;
};

class TfrHTMExportFilter : public TfrTextExportFilter
{
public:
    // Writes the head of the page and of its one table.
    explicit TfrHTMExportFilter(QIODevice &stream);
    void EndPage() override;
    void Finish() override;
};

// Makes a filter of one class on a stream.
using TfrExportFilterClass = std::unique_ptr<TfrExportFilter> (*)(QIODevice &stream);

struct TfrExportFilterInfo
{
    TfrExportFilterClass FilterClass;
    QString Description; // "Текстовый файл (*.txt)"
    QString Mask;        // "*.txt"
};

constexpr int MaxExportFilters = 32;

// The registered filters in registration order: text, RTF, CSV, HTML first.
const std::vector<TfrExportFilterInfo> &ExportFilterRegistry();
// Appends a filter (ignored once 32 are registered).
void RegisterExportFilter(TfrExportFilterClass filterClass, const QString &description, const QString &mask);

template <class T>
std::unique_ptr<TfrExportFilter> MakeExportFilter(QIODevice &stream)
{
    return std::make_unique<T>(stream);
}
