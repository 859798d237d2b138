#include "report/export_filters.h"

#include "platform/codepage.h"
#include "platform/exceptions.h"
#include "platform/metafile.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "report/report_objects.h"

#include <QtCore/QDir>
#include <QtCore/QTemporaryFile>

namespace {

int FontHeight = 16;
constexpr int FirstRows = 201;
constexpr int MaxItemText = 255;
// No sheet reaches this far from its corner on any side (over five metres):
// a text beyond it, from a damaged or hand-made prepared report, would grow
// the grid, or pad its row, without bound, so it is left out.
constexpr int MaxSheetExtent = 20000;
const QByteArray CrLf("\r\n");

// Texts go out in code page 1251.
QByteArray Bytes(const QString &text) { return EncodeCp1251(text); }

// Backslashes and braces are RTF's own; any other byte stays as it is.
QByteArray RtfText(const QString &text)
{
    QByteArray out;
    for (const char c : Bytes(text)) {
        if (c == '\\' || c == '{' || c == '}')
            out += '\\';
        out += c;
    }
    return out;
}

QByteArray HtmlText(const QString &text)
{
    QByteArray out;
    for (const char c : Bytes(text)) {
        if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '&')
            out += "&amp;";
        else
            out += c;
    }
    return out;
}

QByteArray Number(std::int64_t value) { return QByteArray::number(static_cast<qlonglong>(value)); }

// Upper-case hexadecimal digits of the value's bytes, low byte first.
QByteArray LittleEndianHex(std::uint32_t value, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out += QByteArray::number((value >> (8 * i)) & 0xFF, 16).rightJustified(2, '0').toUpper();
    return out;
}

std::vector<TfrExportFilterInfo> &Registry()
{
    static std::vector<TfrExportFilterInfo> registry = [] {
        std::vector<TfrExportFilterInfo> filters;
        filters.push_back({&MakeExportFilter<TfrTextExportFilter>, QStringLiteral("Текстовый файл (*.txt)"), QStringLiteral("*.txt")});
        filters.push_back({&MakeExportFilter<TfrRTFExportFilter>, QStringLiteral("Файл Rich Text (*.rtf)"), QStringLiteral("*.rtf")});
        filters.push_back({&MakeExportFilter<TfrCSVExportFilter>, QStringLiteral("Файл CSV (*.csv)"), QStringLiteral("*.csv")});
        filters.push_back({&MakeExportFilter<TfrHTMExportFilter>, QStringLiteral("Файл HTML (*.htm)"), QStringLiteral("*.htm")});
        return filters;
    }();
    return registry;
}

} // namespace

int ExportFontHeight() { return FontHeight; }
void SetExportFontHeight(int height) { FontHeight = height; }

int AskExportFontHeight()
{
    const QString caption = QStringLiteral("Параметры фильтра");
    const QString prompt = QStringLiteral("Средняя высота шрифта:");
    const QString defaultText = QStringLiteral("16");
    if (!EngineRunning() || !Engine().InputBox)
        return defaultText.toInt();
    // Rows are y divided by the height: only a positive integer will do.
    for (;;) {
        bool ok = false;
        const int height = Engine().InputBox(caption, prompt, defaultText).trimmed().toInt(&ok);
        if (ok && height > 0)
            return height;
    }
}

const std::vector<TfrExportFilterInfo> &ExportFilterRegistry() { return Registry(); }

void RegisterExportFilter(TfrExportFilterClass filterClass, const QString &description, const QString &mask)
{
    if (static_cast<int>(Registry().size()) < MaxExportFilters)
        Registry().push_back({filterClass, description, mask});
}

void TfrExportFilter::Write(const QByteArray &bytes)
{
    if (Stream.write(bytes) != bytes.size())
        throw EFCreateError(QStringLiteral("Ошибка записи: %1").arg(Stream.errorString()));
}

// ---------------------------------------------------------------- text grid

TfrTextExportFilter::TfrTextExportFilter(QIODevice &stream) : TfrExportFilter(stream)
{
    SetExportFontHeight(AskExportFontHeight());
}

void TfrTextExportFilter::BeginPage()
{
    Rows.assign(FirstRows, {});
}

void TfrTextExportFilter::AddText(int x, int y, TfrView *view, const QString &text)
{
    if (!view)
        return;
    if (x > MaxSheetExtent || y > MaxSheetExtent || x < -MaxSheetExtent || y < -MaxSheetExtent) {
        ++m_outsideSheet;
        return;
    }
    // Texts above the sheet's top still belong to its first row.
    const int row = std::max<int>(0, static_cast<int>(Round(static_cast<double>(y) / ExportFontHeight())));
    if (row >= static_cast<int>(Rows.size()))
        Rows.resize(row + 1);
    TfrTextItem item;
    item.X = x;
    item.Text = text.left(MaxItemText);
    if (const auto *memo = dynamic_cast<const TfrMemoView *>(view)) {
        item.FontName = memo->FontName;
        item.FontSize = memo->FontSize;
        item.FontStyle = memo->FontStyle;
        item.FontColor = memo->FontColor;
    }
    item.FillColor = view->FillColor;
    std::vector<TfrTextItem> &items = Rows[row];
    const auto at = std::find_if(items.begin(), items.end(), [x](const TfrTextItem &i) { return i.X >= x; });
    items.insert(at, std::move(item));
}

void TfrTextExportFilter::EndDocument()
{
    if (m_outsideSheet > 0)
        ShowMessageBox(LookupText(QStringLiteral("Текстов за пределами листа: %1. В файл они не записаны."))
                           .arg(m_outsideSheet),
                       ApplicationTitle, mb::Ok | mb::IconWarning);
}

int TfrTextExportFilter::LastUsedRow() const
{
    for (int row = static_cast<int>(Rows.size()) - 1; row >= 0; --row)
        if (!Rows[row].empty())
            return row;
    return -1;
}

QByteArray TfrTextExportFilter::ColumnLines(char pad, int cellWidth) const
{
    const int last = LastUsedRow();
    QByteArray out;
    for (int row = 0; row <= last; ++row) {
        QByteArray line;
        int column = 0;
        // The text before stands right of its own column.
        bool pushed = false;
        for (const TfrTextItem &item : Rows[row]) {
            // Text pads to its column in characters of 6.5 units; CSV counts
            // fields of 64 units and a field ends with its separator.
            const int own = cellWidth ? item.X / cellWidth : static_cast<int>(Round(item.X / 6.5));
            // A text left of the sheet's edge starts at the row's start. So
            // moved, it may reach the next text, which stood apart from it on
            // the sheet: that one keeps a pad from it, and so on down the row.
            const int c = std::max(0, own);
            const int pads = std::max(c - column, pushed ? 1 : 0);
            line += QByteArray(pads, pad);
            line += Bytes(item.Text);
            const int start = pads > 0 ? column + pads : c;
            pushed = start > own;
            column = cellWidth ? start : start + static_cast<int>(item.Text.size());
        }
        out += line + CrLf;
    }
    return out;
}

void TfrTextExportFilter::EndPage()
{
    Write(ColumnLines(' ', 0) + "\f" + CrLf);
}

// ---------------------------------------------------------------- CSV

void TfrCSVExportFilter::EndPage()
{
    Write(ColumnLines(';', 64));
}

// ---------------------------------------------------------------- HTML

TfrHTMExportFilter::TfrHTMExportFilter(QIODevice &stream) : TfrTextExportFilter(stream)
{
    Write("<HTML>\r\n<Body bgColor=\"#FFFFFF\">\r\n<Table>\r\n");
}

void TfrHTMExportFilter::EndPage()
{
    const int last = LastUsedRow();
    QByteArray out;
    for (int row = 0; row <= last; ++row) {
        out += "<tr>";
        for (const TfrTextItem &item : Rows[row]) {
            QByteArray attributes;
            const TColor color = item.FontColor == 0xFFFFFF || item.FontColor == clNone ? 0 : item.FontColor;
            if (color != 0) {
                const std::uint32_t rgb = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
                attributes += "Color=\"#" + QByteArray::number(rgb, 16).rightJustified(6, '0').toUpper() + '"';
            }
            const int size = item.FontSize;
            if (size < 10 || size > 13) {
                const char *step = size <= 7 ? "1" : size <= 9 ? "2" : size <= 17 ? "4" : size <= 23 ? "5" : size <= 35 ? "6" : "7";
                attributes += QByteArray(" Size=") + step;
            }
            out += "<td>";
            if (!attributes.isEmpty())
                out += "<Font " + attributes + '>';
            if (item.FontStyle & 1)
                out += "<i>";
            if (item.FontStyle & 2)
                out += "<b>";
            if (item.FontStyle & 4)
                out += "<u>";
            out += HtmlText(item.Text) + "</td>";
        }
        out += "</tr>" + CrLf;
    }
    Write(out);
}

void TfrHTMExportFilter::Finish()
{
    Write("</Table>\r\n</Body>\r\n</HTML>\r\n");
}

// ---------------------------------------------------------------- RTF

TfrRTFExportFilter::TfrRTFExportFilter(QIODevice &stream) : TfrTextExportFilter(stream)
{
    // The body waits in a file of its own until the tables, which must come
    // first, are complete.
    m_body = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/tunvex-export-XXXXXX.tmp"));
    if (!m_body->open())
        throw EFCreateError(QStringLiteral("Cannot create file %1").arg(m_body->fileTemplate()));
    Write("{\\rtf1\\ansi" + CrLf);
}

TfrRTFExportFilter::~TfrRTFExportFilter() = default;

int TfrRTFExportFilter::FontIndex(const QString &name)
{
    qsizetype index = m_fonts.indexOf(name);
    if (index < 0) {
        m_fonts << name;
        index = m_fonts.size() - 1;
    }
    return static_cast<int>(index);
}

int TfrRTFExportFilter::ColorIndex(TColor color)
{
    const QString text = QString::number(color);
    qsizetype index = m_colors.indexOf(text);
    if (index < 0) {
        m_colors << text;
        index = m_colors.size() - 1;
    }
    return static_cast<int>(index) + 1;
}

void TfrRTFExportFilter::AddObject(int x, int y, TfrView *view)
{
    const auto *picture = dynamic_cast<const TfrPictureView *>(view);
    if (!picture)
        return;
    const QByteArray &data = picture->Picture.Data;
    // Word processors read metafiles themselves: a WMF's records go in as
    // they are (the placeable header is no part of them), an EMF whole.
    if (picture->Picture.Kind == TfrPicture::gkMetafile) {
        const std::optional<TMetafileHeader> header = ReadMetafileHeader(data);
        if (!header)
            return;
        const bool wmf = header->Type == TMetafileType::Wmf;
        m_pictures.push_back({x, y, picture->Width, picture->Height, 0, 0,
                              wmf && header->PlaceableBox ? data.mid(22) : data, wmf ? "wmetafile8" : "emfblip"});
        return;
    }
    // Only a bitmap file has a form in the metafile wrapper; other pictures are left out.
    if (picture->Picture.Kind != TfrPicture::gkBitmap || data.size() < 14 || !data.startsWith("BM"))
        return;
    const TSize size = picture->Picture.Size();
    m_pictures.push_back({x, y, picture->Width, picture->Height, size.cx, size.cy, data, {}});
}

void TfrRTFExportFilter::WritePicture(const TPicture &p)
{
    // Twips in a wider type: a damaged file's position may be any int.
    QByteArray out = "\\pard\\phmrg\\posx" + Number(Round(p.X / 1.3 * 20)) + "\\posy" + Number(std::int64_t{p.Y} * 20)
                     + "\\absh" + Number(std::int64_t{p.Height} * 20) + "\\absw" + Number(std::int64_t{p.Width} * 20)
                     + "{\\pict\\" + (p.Metafile.isEmpty() ? QByteArray("wmetafile8") : p.Metafile) + "\\picw"
                     + Number(Round(p.Width * 26.46875)) + "\\pich" + Number(Round(p.Height * 26.46875));
    if (!p.Metafile.isEmpty()) {
        // Its own records, as wide and high as the frame around them.
        out += "\\picwgoal" + Number(std::int64_t{p.Width} * 20) + "\\pichgoal" + Number(std::int64_t{p.Height} * 20) + CrLf;
        for (qsizetype i = 0; i < p.Bitmap.size(); i += 64)
            out += p.Bitmap.mid(i, 64).toHex().toUpper() + CrLf;
        out += "}\\par" + CrLf;
        m_body->write(out);
        return;
    }
    out += " \\picbmp\\picbpp4" + CrLf;
    const std::uint32_t fileSize = static_cast<std::uint8_t>(p.Bitmap[2]) | static_cast<std::uint8_t>(p.Bitmap[3]) << 8
                                   | static_cast<std::uint8_t>(p.Bitmap[4]) << 16
                                   | static_cast<std::uint32_t>(static_cast<std::uint8_t>(p.Bitmap[5])) << 24;
    const std::uint32_t s = fileSize / 2 + 7;
    const auto le32 = [](std::uint32_t v) { return LittleEndianHex(v, 4); };
    const auto le16 = [](int v) { return LittleEndianHex(static_cast<std::uint32_t>(v) & 0xFFFF, 2); };
    const QByteArray hw = le16(p.PictureHeight) + le16(p.PictureWidth);
    out += "010009000003" + le32(s + 36) + "0000" + le32(s) + "0000050000000b0200000000050000000c02" + hw
           + "05000000090200000000050000000102ffffff000400000007010300" + le32(s) + "430f2000cc000000" + hw
           + "00000000" + hw + "00000000" + CrLf;
    const QByteArray bitmap = p.Bitmap.mid(14);
    for (qsizetype i = 0; i < bitmap.size(); i += 64) {
        out += bitmap.mid(i, 64).toHex().toUpper();
        if (i + 64 <= bitmap.size())
            out += CrLf;
    }
    out += "030000000000}\\par" + CrLf;
    m_body->write(out);
}

void TfrRTFExportFilter::EndPage()
{
    if (m_pageWritten)
        m_body->write("\\page" + CrLf);
    for (const TPicture &picture : m_pictures)
        WritePicture(picture);
    const int last = LastUsedRow();
    for (int row = 0; row <= last; ++row) {
        QByteArray tabs = "\\pard";
        QByteArray body;
        const TfrTextItem *previous = nullptr;
        for (const TfrTextItem &item : Rows[row]) {
            tabs += "\\tx" + Number(Round(item.X / 1.3 * 20));
            const TColor color = item.FontColor == 0xFFFFFF ? 0 : item.FontColor;
            QByteArray format;
            if (!previous || previous->FontName != item.FontName)
                format += "\\f" + Number(FontIndex(item.FontName));
            if (!previous || previous->FontSize != item.FontSize)
                format += "\\fs" + Number(2 * std::int64_t{item.FontSize});
            if (!previous || previous->FontStyle != item.FontStyle) {
                const int was = previous ? previous->FontStyle : 0;
                // A style the previous text had and this one lacks is switched off.
                if (was & 1 & ~item.FontStyle)
                    format += "\\i0";
                if (was & 2 & ~item.FontStyle)
                    format += "\\b0";
                if (was & 4 & ~item.FontStyle)
                    format += "\\ulnone";
                if (item.FontStyle & 1)
                    format += "\\i";
                if (item.FontStyle & 2)
                    format += "\\b";
                if (item.FontStyle & 4)
                    format += "\\ul";
            }
            const TColor previousColor = previous ? (previous->FontColor == 0xFFFFFF ? 0 : previous->FontColor) : 0;
            if (!previous || previousColor != color)
                format += "\\cf" + Number(ColorIndex(color));
            body += "\\tab" + format + ' ' + RtfText(item.Text);
            previous = &item;
        }
        m_body->write(tabs + '{' + body + "\\par}" + CrLf);
    }
    m_pageWritten = true;
    m_pictures.clear();
}

void TfrRTFExportFilter::Finish()
{
    m_body->write("\\par}");
    const auto table = [this](QByteArray line, const QList<QByteArray> &entries) {
        QByteArray out;
        for (const QByteArray &entry : entries) {
            if (line.size() + entry.size() > 254) {
                out += line + CrLf;
                line.clear();
            }
            line += entry;
        }
        return out + line + '}' + CrLf;
    };
    QList<QByteArray> fonts;
    for (int i = 0; i < m_fonts.size(); ++i)
        fonts << "{\\f" + Number(i) + ' ' + Bytes(m_fonts[i]) + '}';
    QList<QByteArray> colors;
    for (const QString &text : m_colors) {
        const TColor c = text.toUInt();
        colors << "\\red" + Number(c & 0xFF) + "\\green" + Number((c >> 8) & 0xFF) + "\\blue" + Number((c >> 16) & 0xFF) + ';';
    }
    Write(table("{\\fonttbl", fonts));
    Write(table("{\\colortbl;", colors));
    m_body->seek(0);
    while (!m_body->atEnd())
        Write(m_body->read(1 << 16));
}
