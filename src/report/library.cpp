#include "report/library.h"

#include "platform/numbers.h"
#include "report/formats.h"
#include "report/report_base.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qsizetype MaxNamePart = 255;

QString OwnerOfCurrentReport()
{
    const TfrReportBase *report = Engine().CurrentReport;
    return report ? report->OwnerName : QString();
}

[[noreturn]] void InvalidCast()
{
    throw EInvalidCast(QStringLiteral("Invalid class typecast"));
}

TDataSet *AsDataSet(TfrComponent *component)
{
    if (!component)
        return nullptr;
    auto *dataSet = dynamic_cast<TDataSet *>(component);
    if (!dataSet)
        InvalidCast();
    return dataSet;
}

// Positions of the full stops outside double quotes.
QList<qsizetype> Dots(const QString &name)
{
    QList<qsizetype> dots;
    bool quoted = false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == u'"')
            quoted = !quoted;
        else if (name[i] == u'.' && !quoted)
            dots.append(i);
    }
    return dots;
}

TField *FieldOf(TDataSet *dataSet, const QString &part, bool mustExist)
{
    const QString fieldName = StripQuotes(part.left(MaxNamePart));
    if (!dataSet || fieldName.isEmpty())
        return nullptr;
    return mustExist ? dataSet->FieldByName(fieldName) : dataSet->FindField(fieldName);
}

bool IsFooterKind(int kind)
{
    switch (kind) {
    case btReportSummary:
    case btPageFooter:
    case btMasterFooter:
    case btDetailFooter:
    case btSubDetailFooter:
    case btGroupFooter:
    case btCrossFooter:
        return true;
    default:
        return false;
    }
}

double ReadFigure(const QString &text)
{
    double v = 0;
    if (!TextToDouble(text, v))
        throw EConvertError(InvalidNumberMessage(text, false));
    return v;
}

enum StdFunction {
    fnAvg, fnCount, fnFormatDateTime, fnFormatFloat, fnInput, fnLowerCase, fnMax, fnMin,
    fnNameCase, fnStrToDate, fnStrToTime, fnSum, fnUpperCase,
};

Variant Evaluate(const Variant &argument)
{
    return Engine().ReportParser.Evaluate(argument.ToString());
}

// SUM, MIN, MAX, AVG and COUNT: over a whole database data set when the first
// argument names one (or one of its fields), else over the records of a band.
void Aggregate(int fno, const Variant &p1, const Variant &p2, const Variant &p3, QString &val)
{
    TfrEngine &e = Engine();
    val = QStringLiteral("0");
    const QString first = p1.ToString();
    TDataSet *dataSet = nullptr;
    TField *field = nullptr;
    if (fno == fnCount)
        dataSet = FindDataSet(first);
    else
        FindDataSetField(first, dataSet, field);
    if (dataSet && (fno == fnCount || field)) {
        if (e.AggregateBand && !e.AggregateBand->Visible)
            return;
        double minimum = 1e200, maximum = -1e200, sum = 0;
        int count = 0;
        dataSet->First();
        while (!dataSet->Eof()) {
            if (field) {
                const double v = field->Value().ToDouble();
                minimum = std::min(minimum, v);
                maximum = std::max(maximum, v);
                sum += v;
            }
            ++count;
            dataSet->Next();
        }
        double figure = 0;
        switch (fno) {
        case fnSum: figure = sum; break;
        case fnMin: figure = minimum; break;
        case fnMax: figure = maximum; break;
        case fnAvg: figure = count > 0 ? sum / count : 0; break;
        default: figure = count; break;
        }
        val = FloatToExprText(figure);
        return;
    }

    TfrBandState *band = e.AggregateBand;
    if (!band || !IsFooterKind(band->Kind))
        return;
    QString bandName = p2.ToString().trimmed();
    if (bandName.isEmpty() && e.CurrentBand)
        bandName = e.CurrentBand->BandName();
    // COUNT has no expression: its second argument is also its switch.
    const QString inclusion = (fno == fnCount ? p2 : p3).ToString().trimmed();
    static const char *const names[] = {"AVG", "COUNT", "", "", "", "", "MAX", "MIN", "", "", "", "SUM", ""};
    QString key = QLatin1String(names[fno]) + first;
    if (e.CrossPrinting)
        key += band->Kind == btCrossFooter
            ? QStringLiteral("00")
            : QString::number(e.CurrentRunPage ? e.CurrentRunPage->ColumnNumber() : 0);
    const QString prefix = key + u'=';
    qsizetype entry = -1;
    for (qsizetype i = 0; i < band->Aggregates.size(); ++i) {
        if (band->Aggregates[i].startsWith(prefix, Qt::CaseInsensitive)) {
            entry = i;
            break;
        }
    }
    const QString stored = entry >= 0 ? band->Aggregates[entry].mid(prefix.size()) : QString();

    if (!band->Visible) {
        TfrBandState *printing = e.CurrentBand;
        if (!printing || printing->BandName().compare(bandName, Qt::CaseInsensitive) != 0)
            return;
        if (inclusion != QLatin1String("1") && !printing->Visible)
            return;
        if (stored.startsWith(u'1'))
            return; // already counted for this record
        double figure = fno == fnMin ? 1e200 : (fno == fnMax ? -1e200 : 0);
        if (stored.size() > 1)
            figure = ReadFigure(stored.mid(1));
        switch (fno) {
        case fnSum:
        case fnAvg:
            figure += Evaluate(p1).ToDouble();
            break;
        case fnMin:
            figure = std::min(figure, Evaluate(p1).ToDouble());
            break;
        case fnMax:
            figure = std::max(figure, Evaluate(p1).ToDouble());
            break;
        default:
            figure += 1;
            break;
        }
        const QString text = prefix + u'1' + FloatToStr(figure, fmt::DecimalSeparator);
        if (entry >= 0)
            band->Aggregates[entry] = text;
        else
            band->Aggregates.append(text);
        return;
    }

    if (stored.size() <= 1)
        return;
    double figure = ReadFigure(stored.mid(1));
    if (fno == fnAvg)
        // An average over no records is 0, as over an empty data set.
        figure = band->AggregateCount > 0 ? figure / band->AggregateCount : 0;
    val = FloatToExprText(figure);
}

} // namespace

bool TfrFunctionLibrary::HandleFunction(const QString &name, const Variant &p1, const Variant &p2, const Variant &p3,
                                        QString &val)
{
    const qsizetype index = FunctionNames.indexOf(name);
    if (index < 0)
        return false;
    Execute(static_cast<int>(index), p1, p2, p3, val);
    return true;
}

TfrStdFunctionLibrary::TfrStdFunctionLibrary()
{
    FunctionNames = {
        QStringLiteral("AVG"),       QStringLiteral("COUNT"),     QStringLiteral("FORMATDATETIME"),
        QStringLiteral("FORMATFLOAT"), QStringLiteral("INPUT"),   QStringLiteral("LOWERCASE"),
        QStringLiteral("MAX"),       QStringLiteral("MIN"),       QStringLiteral("NAMECASE"),
        QStringLiteral("STRTODATE"), QStringLiteral("STRTOTIME"), QStringLiteral("SUM"),
        QStringLiteral("UPPERCASE"),
    };
}

void TfrStdFunctionLibrary::Execute(int fno, const Variant &p1, const Variant &p2, const Variant &p3, QString &val)
{
    switch (fno) {
    case fnFormatDateTime:
        val = QuoteStr(FormatDateTime(Evaluate(p1).ToString(), Evaluate(p2).ToDateTime()));
        break;
    case fnFormatFloat:
        val = QuoteStr(FormatFloatPattern(Evaluate(p1).ToString(), Evaluate(p2).ToDouble()));
        break;
    case fnInput: {
        const QString prompt = Evaluate(p1).ToString();
        const QString defaultText = Evaluate(p2).ToString();
        const auto &box = Engine().InputBox;
        val = QuoteStr(box ? box(QString(), prompt, defaultText) : defaultText);
        break;
    }
    case fnLowerCase:
        val = QuoteStr(Evaluate(p1).ToString().toLower());
        break;
    case fnUpperCase:
        val = QuoteStr(Evaluate(p1).ToString().toUpper());
        break;
    case fnNameCase: {
        const QString text = Evaluate(p1).ToString();
        val = QuoteStr(text.isEmpty() ? text : text.left(1).toUpper() + text.mid(1).toLower());
        break;
    }
    case fnStrToDate:
        val = QStringLiteral("%d") + QuoteStr(Evaluate(p1).ToString());
        break;
    case fnStrToTime:
        val = QStringLiteral("%t") + QuoteStr(Evaluate(p1).ToString());
        break;
    default:
        Aggregate(fno, p1, p2, p3, val);
        break;
    }
}

void RegisterFunctionLibrary(std::unique_ptr<TfrFunctionLibrary> library)
{
    Engine().FunctionLibraryRegistry.push_back(std::move(library));
}

void RegisterDesignerTool(const QString &caption, const QVariant &bitmap, const std::function<void()> &onClick)
{
    TfrEngine &e = Engine();
    e.DesignerToolRegistry.push_back({caption, bitmap, onClick});
    if (e.ReportDesignerInstance)
        e.ReportDesignerInstance->AddToolItem(caption, bitmap, onClick);
}

TfrComponent *FindComponentByName(const QString &owner, const QString &name)
{
    const TfrComponentDirectory &directory = Engine().Components;
    const qsizetype dot = name.indexOf(u'.');
    if (dot >= 0)
        return directory.Find(name.left(dot), name.mid(dot + 1).left(MaxNamePart));
    return directory.Find(owner, name);
}

TDataSet *FindDataSet(const QString &name)
{
    return AsDataSet(FindComponentByName(OwnerOfCurrentReport(), name));
}

QString StripQuotes(const QString &text)
{
    if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"'))
        return text.mid(1, text.size() - 2);
    return text;
}

void FindDataSetField(const QString &name, TDataSet *&dataSet, TField *&field)
{
    field = nullptr;
    const QList<qsizetype> dots = Dots(name);
    if (dots.size() >= 2) {
        const QString form = name.left(dots[0]).left(MaxNamePart);
        const QString set = name.mid(dots[0] + 1, dots[1] - dots[0] - 1).left(MaxNamePart);
        dataSet = AsDataSet(Engine().Components.Find(form, set));
        field = FieldOf(dataSet, name.mid(dots[1] + 1), true);
    } else if (dots.size() == 1) {
        const QString set = name.left(dots[0]).left(MaxNamePart);
        dataSet = AsDataSet(FindComponentByName(OwnerOfCurrentReport(), set));
        field = FieldOf(dataSet, name.mid(dots[0] + 1), true);
    } else if (dataSet) {
        field = FieldOf(dataSet, name, false);
    }
}

TfrDataset *OpenBandDataSet(const QString &name, bool &created)
{
    created = false;
    TfrDataset *dataSet = nullptr;
    if (!name.isEmpty() && name[0] >= u'1' && name[0] <= u'9') {
        const int count = StrToInt(name);
        auto *counting = new TfrUserDataset;
        counting->RangeEnd = reCount;
        counting->RangeEndCount = count;
        dataSet = counting;
        created = true;
    } else if (TfrComponent *component = FindComponentByName(OwnerOfCurrentReport(), name)) {
        dataSet = dynamic_cast<TfrDataset *>(component);
        if (!dataSet)
            InvalidCast();
    }
    if (dataSet) {
        try {
            dataSet->Init();
        } catch (...) {
            if (created)
                delete dataSet;
            throw;
        }
    }
    return dataSet;
}

TDataSet *CurrentBandDataSet()
{
    TfrEngine &e = Engine();
    if (!e.CurrentBand || !e.CurrentRunPage)
        return nullptr;
    int governing;
    switch (e.CurrentBand->Kind) {
    case btReportSummary:
    case btMasterData:
    case btMasterFooter:
    case btGroupHeader:
    case btGroupFooter:
        governing = btMasterData;
        break;
    case btDetailData:
    case btDetailFooter:
        governing = btDetailData;
        break;
    case btSubDetailData:
    case btSubDetailFooter:
        governing = btSubDetailData;
        break;
    case btCrossData:
    case btCrossFooter:
        governing = btCrossData;
        break;
    default:
        return nullptr;
    }
    TfrBandState *band = e.CurrentRunPage->DataBand(governing);
    if (!band)
        return nullptr;
    auto *source = dynamic_cast<TfrDBDataSet *>(band->RecordSource);
    if (!source || !source->DataSource)
        return nullptr;
    return source->DataSource->DataSet;
}

TFontStyles FontStyleFromCode(int code)
{
    TFontStyles styles;
    styles.Italic = code & 1;
    styles.Bold = code & 2;
    styles.Underline = code & 4;
    return styles;
}

int FontStyleToCode(const TFontStyles &styles)
{
    return (styles.Italic ? 1 : 0) | (styles.Bold ? 2 : 0) | (styles.Underline ? 4 : 0);
}
