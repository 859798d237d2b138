#include "designer/dialog_rules.h"

#include "report/engine.h"
#include "report/library.h"
#include "report/report_base.h"
#include "report/report_page.h"

const QString NoneItemName = QStringLiteral("[Нет]");
const QString OtherVariablesName = QStringLiteral("Прочие переменные");
const QString VirtualSourceName = QStringLiteral("Виртуальный");

QStringList TfrFormatModel::Categories()
{
    return {QStringLiteral("Текст"), QStringLiteral("Число"), QStringLiteral("Дата"), QStringLiteral("Время"),
            QStringLiteral("Логическая")};
}

QStringList TfrFormatModel::Kinds(int category)
{
    switch (category) {
    case FormatCode::fcText:
        return {NoneItemName};
    case FormatCode::fcNumber:
        return {QStringLiteral("1234,5"), QStringLiteral("1234,50"), QStringLiteral("1 234,5"),
                QStringLiteral("1 234,50"), QStringLiteral("Другой")};
    case FormatCode::fcDate:
        return {QStringLiteral("05.11.98"), QStringLiteral("05.11.1998"), QStringLiteral("5 ноя 1998"),
                QStringLiteral("5 ноября 1998"), QStringLiteral("Другой")};
    case FormatCode::fcTime:
        return {QStringLiteral("02:43:35"), QStringLiteral("2:43:35"), QStringLiteral("02:43"),
                QStringLiteral("2:43"), QStringLiteral("Другой")};
    case FormatCode::fcBoolean:
        return {QStringLiteral("0;1"), QStringLiteral("Нет;Да"), QStringLiteral("_;x"),
                QStringLiteral("False;True"), QStringLiteral("Другой")};
    default:
        return {};
    }
}

void TfrFormatModel::SetCategory(int category)
{
    Format = (Format & ~0x0F000000) | ((category & 0x0F) << 24);
    SetKind(0);
}

void TfrFormatModel::SetKind(int kind) { Format = (Format & ~0x00FF0000) | ((kind & 0xFF) << 16); }

bool TfrFormatModel::SetDecimalsText(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0 || n > 255)
        return false;
    Format = (Format & ~0x0000FF00) | (n << 8);
    return true;
}

void TfrFormatModel::SetSeparatorText(const QString &text)
{
    const int c = text.isEmpty() ? ',' : (text[0].unicode() & 0xFF);
    Format = (Format & ~0xFF) | c;
}

QString CurrentOwnerName()
{
    const TfrReportBase *report = Engine().CurrentReport;
    return report ? report->OwnerName : QString();
}

QStringList DataSetNames(const QString &owner)
{
    QStringList names;
    ListComponentsOfClass<TDataSet>(owner, names);
    names.sort();
    return names;
}

QStringList SourceItems(const QString &source, bool withExpression)
{
    QStringList items{NoneItemName};
    if (source == OtherVariablesName) {
        const QStringList &specials = Engine().SpecialValueNames;
        for (int i = 0; i < specials.size(); ++i)
            if (withExpression || i != svExpression)
                items << specials[i];
        return items;
    }
    try {
        if (const TDataSet *dataSet = FindDataSet(source))
            items << dataSet->FieldNames();
    } catch (const EInvalidCast &) {
        // A component of another class offers no fields.
    }
    return items;
}

QString FieldReference(const QString &source, int index, const QString &item)
{
    if (index <= 0 || item == NoneItemName)
        return {};
    if (source != OtherVariablesName)
        return source + QStringLiteral(".\"") + item + u'"';
    return index <= 1 ? SpecialValueKeywords[svPage] : SpecialValueKeywords.value(index);
}

namespace {
QString Mm(int pixels) { return QString::number(PixelsToMm(pixels)); }

// A whole number from 0 up.
std::optional<int> NonNegative(const QString &text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0)
        return std::nullopt;
    return n;
}
} // namespace

TPageOptionsInput PageOptionsOf(const TfrPage &page)
{
    TPageOptionsInput in;
    in.Landscape = page.Orientation == 1;
    in.PaperCode = page.PaperCode;
    if (page.PaperCode == CustomPaperCode) {
        in.Width = QString::number(page.PaperWidth / 10);
        in.Height = QString::number(page.PaperHeight / 10);
    }
    in.MarginLeft = Mm(page.MarginLeft);
    in.MarginTop = Mm(page.MarginTop);
    in.MarginRight = Mm(page.MarginRight);
    in.MarginBottom = Mm(page.MarginBottom);
    in.DontUseMargins = !page.HonourMargins;
    in.PrintOnPreviousSheet = page.PrintOnPreviousSheet != 0;
    in.ColumnCount = QString::number(page.ColumnCount);
    in.ColumnGap = Mm(page.ColumnGap);
    return in;
}

bool ApplyPageOptions(const TPageOptionsInput &in, TfrPage &page)
{
    // Checked first, so that a bad count leaves the whole page as it was.
    const std::optional<int> columns = NonNegative(in.ColumnCount);
    if (!columns)
        return false;
    page.PrintOnPreviousSheet = in.PrintOnPreviousSheet ? -1 : 0;
    page.HonourMargins = in.DontUseMargins ? 0 : -1;
    page.Orientation = in.Landscape ? 1 : 0;
    int code = in.PaperCode;
    int width = page.PaperWidth;
    int height = page.PaperHeight;
    if (code == CustomPaperCode) {
        bool okW = false, okH = false;
        const int w = in.Width.trimmed().toInt(&okW);
        const int h = in.Height.trimmed().toInt(&okH);
        if (okW && okH && w > 0 && h > 0) {
            width = w * 10;
            height = h * 10;
        } else {
            code = 9;
        }
    }
    const std::optional<int> margins[] = {NonNegative(in.MarginLeft), NonNegative(in.MarginTop),
                                          NonNegative(in.MarginRight), NonNegative(in.MarginBottom)};
    const std::optional<int> gap = NonNegative(in.ColumnGap);
    const bool allGood = gap && margins[0] && margins[1] && margins[2] && margins[3];
    page.MarginLeft = allGood ? MmToPixels(*margins[0]) : 0;
    page.MarginTop = allGood ? MmToPixels(*margins[1]) : 0;
    page.MarginRight = allGood ? MmToPixels(*margins[2]) : 0;
    page.MarginBottom = allGood ? MmToPixels(*margins[3]) : 0;
    page.ColumnGap = allGood ? MmToPixels(*gap) : 0;
    page.ColumnCount = *columns;
    page.ChangePaper(code, width, height, page.Orientation);
    return true;
}

bool BandTypeEnabled(const TfrPage &page, int kind)
{
    if ((kind >= btMasterHeader && kind <= btSubDetailFooter) || kind == btGroupHeader || kind == btGroupFooter)
        return true;
    return !PageHasBand(page, kind);
}

int DefaultBandType(const TfrPage &page)
{
    for (int kind = 0; kind < btNone; ++kind)
        if (BandTypeEnabled(page, kind))
            return kind;
    return btMasterHeader;
}

bool IsRecordCountText(const QString &text) { return !text.isEmpty() && text[0] >= u'1' && text[0] <= u'9'; }

bool IsValidRecordCount(const QString &text)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    return ok && n >= 1 && !text.startsWith(u'+');
}

QString CrossBandSource(const QString &text, const QString &bandName)
{
    if (!text.contains(u';'))
        return text;
    const int at = text.indexOf(bandName + u'=', 0, Qt::CaseInsensitive);
    if (at < 0)
        return QStringLiteral("0");
    const int from = at + bandName.size() + 1;
    const int end = text.indexOf(u';', from);
    return text.mid(from, end < 0 ? -1 : end - from);
}

QString CrossBandText(const std::vector<std::pair<QString, QString>> &sources)
{
    QString text;
    for (const auto &[name, source] : sources)
        text += name + u'=' + source + u';';
    return text;
}

std::vector<TfrView *> CrossedBands(const TfrPage &page)
{
    std::vector<TfrView *> bands;
    for (const auto &view : page.TemplateObjects) {
        const auto *band = dynamic_cast<const TfrBandView *>(view.get());
        if (!band)
            continue;
        const int kind = band->GetBandType();
        if (kind <= btPageFooter || kind == btOverlay || kind >= btCrossHeader)
            continue;
        bands.push_back(view.get());
    }
    return bands;
}
