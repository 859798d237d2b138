#include "report/values.h"

#include "report/engine.h"
#include "report/formats.h"

const QStringList SpecialValueKeywords = {
    QStringLiteral("PAGE#"),   QString(),
    QStringLiteral("DATE"),    QStringLiteral("TIME"),
    QStringLiteral("LINE#"),   QStringLiteral("LINETHROUGH#"),
    QStringLiteral("COLUMN#"), QStringLiteral("CURRENT#"),
    QStringLiteral("TOTALPAGES"),
};

void TfrVariables::SetValue(const QString &name, const Variant &value)
{
    const int index = IndexOf(name);
    if (index >= 0)
        m_items[index].Value = value;
    else
        m_items.push_back({name, value});
}

Variant TfrVariables::GetValue(const QString &name) const
{
    const int index = IndexOf(name);
    return index >= 0 ? m_items[index].Value : Variant::Null();
}

int TfrVariables::IndexOf(const QString &name) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(i);
    return -1;
}

Variant TfrVariables::GetValueByIndex(int index) const
{
    if (index < 0 || index >= Count())
        return Variant(0);
    return m_items[index].Value;
}

QString TfrVariables::GetName(int index) const
{
    if (index < 0 || index >= Count())
        return QString();
    return m_items[index].Name;
}

void TfrVariables::Delete(int index)
{
    if (index >= 0 && index < Count())
        m_items.erase(m_items.begin() + index);
}

TfrValue *TfrValues::FindVariable(const QString &name) const
{
    for (const auto &item : m_items)
        if (item->Name.compare(name, Qt::CaseInsensitive) == 0)
            return item.get();
    return nullptr;
}

TfrValue *TfrValues::AddValue(const QString &name)
{
    if (TfrValue *existing = FindVariable(name))
        return existing;
    return AppendValue(name);
}

TfrValue *TfrValues::AppendValue(const QString &name)
{
    m_items.push_back(std::make_unique<TfrValue>());
    m_items.back()->Name = name;
    return m_items.back().get();
}

void TfrValues::Delete(const QString &name)
{
    for (auto it = m_items.begin(); it != m_items.end(); ++it) {
        if ((*it)->Name.compare(name, Qt::CaseInsensitive) == 0) {
            m_items.erase(it);
            return;
        }
    }
}

std::int32_t FormatCode::Make(int category, int kind, int decimals, int separator, std::int32_t base)
{
    const std::uint32_t high = static_cast<std::uint32_t>(base) & 0xF0000000u;
    return static_cast<std::int32_t>(high | (static_cast<std::uint32_t>(category & 0x0F) << 24)
                                     | (static_cast<std::uint32_t>(kind & 0xFF) << 16)
                                     | (static_cast<std::uint32_t>(decimals & 0xFF) << 8)
                                     | static_cast<std::uint32_t>(separator & 0xFF));
}

std::int32_t FormatCode::Default()
{
    return Make(fcText, 0, 2, fmt::DecimalSeparator.unicode());
}

namespace {

// A table text of the running engine, or the built-in one without an engine.
QString TableText(const QStringList TfrEngine::*table, int index, const QStringList &fallback)
{
    if (EngineRunning()) {
        const QStringList &list = Engine().*table;
        if (index >= 0 && index < list.size())
            return list[index];
    }
    return index >= 0 && index < fallback.size() ? fallback[index] : QString();
}

const QStringList DefaultDateFormats = {QStringLiteral("dd.mm.yy"), QStringLiteral("dd.mm.yyyy"),
                                        QStringLiteral("d mmm yyyy"), QStringLiteral("d mmmm yyyy")};
const QStringList DefaultTimeFormats = {QStringLiteral("hh:nn:ss"), QStringLiteral("h:nn:ss"),
                                        QStringLiteral("hh:nn"), QStringLiteral("h:nn")};
const QStringList DefaultBooleanFormats = {QStringLiteral("0;1"), QStringLiteral("Нет;Да"), QStringLiteral("_;x"),
                                           QStringLiteral("False;True")};

QString FormatNumber(const Variant &value, std::int32_t code, const QString &pattern)
{
    const int sepCode = FormatCode::Separator(code);
    const QChar separator = sepCode ? QChar(static_cast<char16_t>(sepCode)) : fmt::DecimalSeparator;
    const double v = value.ToDouble();
    const int decimals = FormatCode::Decimals(code);
    switch (FormatCode::Kind(code)) {
    case 0:
        return FormatFloatPattern(QStringLiteral("###.##"), v, separator);
    case 1:
        return FormatFloatFixed(v, 15, decimals, separator, false);
    case 2:
        return FormatFloatPattern(QStringLiteral("#,###.##"), v, separator);
    case 3:
        return FormatFloatFixed(v, 15, decimals, separator, true);
    case FormatCode::PatternKind:
        return FormatFloatPattern(pattern, v, separator);
    default:
        return value.ToString();
    }
}

} // namespace

QString FormatValue(const Variant &value, std::int32_t code, const QString &pattern)
{
    if (value.IsEmptyOrNull())
        return QStringLiteral(" ");
    const int kind = FormatCode::Kind(code);
    try {
        switch (FormatCode::Category(code)) {
        case FormatCode::fcText:
            return value.ToString();
        case FormatCode::fcNumber:
            return FormatNumber(value, code, pattern);
        case FormatCode::fcDate:
        case FormatCode::fcTime: {
            const QString p = kind == FormatCode::PatternKind
                ? pattern
                : (FormatCode::Category(code) == FormatCode::fcDate
                       ? TableText(&TfrEngine::DateFormats, kind, DefaultDateFormats)
                       : TableText(&TfrEngine::TimeFormats, kind, DefaultTimeFormats));
            return FormatDateTime(p, value.ToDateTime());
        }
        case FormatCode::fcBoolean: {
            const QString texts = kind == FormatCode::PatternKind
                ? pattern
                : TableText(&TfrEngine::BooleanFormats, kind, DefaultBooleanFormats);
            const qsizetype semicolon = texts.indexOf(u';');
            const bool truth = value.ToInt() != 0;
            if (truth)
                return semicolon < 0 ? QString() : texts.mid(semicolon + 1);
            return semicolon < 0 ? texts : texts.left(semicolon);
        }
        default:
            return QString();
        }
    } catch (const std::exception &) {
        return value.ToString();
    }
}

QString ParseFormatSuffix(const QString &text, std::int32_t &code, QString &pattern)
{
    const qsizetype hash = text.indexOf(QStringLiteral(" #"));
    if (hash < 0)
        return text;
    const QString expression = text.left(hash);
    QString suffix = text.mid(hash + 2);
    if (suffix.isEmpty())
        return expression;
    if (suffix[0].isDigit())
        suffix.prepend(u'N');
    const QChar first = suffix[0].toUpper();
    if (first == u'N') {
        const bool digitSecond = suffix.size() > 1 && suffix[1].isDigit();
        int kind = digitSecond ? 1 : 0;
        int separator = FormatCode::Separator(code);
        int decimals = FormatCode::Decimals(code);
        for (qsizetype k = suffix.size() - 1; k >= 1; --k) {
            const QChar c = suffix[k];
            if (c == u',' || c == u'-' || c == u'.') {
                separator = c.unicode();
                suffix[k] = u'.';
                if (digitSecond) {
                    qsizetype e = k + 1;
                    while (e < suffix.size() && suffix[e].isDigit())
                        ++e;
                    decimals = suffix.mid(k + 1, e - k - 1).left(3).toInt();
                }
                break;
            }
        }
        if (!digitSecond) {
            pattern = suffix.mid(1);
            kind = FormatCode::PatternKind;
        } else if (!suffix.mid(1).contains(u'.')) {
            // Digits count as decimals only after a separator.
            decimals = 0;
        }
        code = FormatCode::Make(FormatCode::fcNumber, kind, decimals, separator, code);
    } else if (first == u'D' || first == u'T') {
        code = FormatCode::Make(FormatCode::fcDate, FormatCode::PatternKind, FormatCode::Decimals(code),
                                FormatCode::Separator(code), code);
        pattern = suffix.mid(1);
    } else if (first == u'B') {
        code = FormatCode::Make(FormatCode::fcBoolean, FormatCode::PatternKind, FormatCode::Decimals(code),
                                FormatCode::Separator(code), code);
        pattern = suffix.mid(1);
    }
    return expression;
}
