#include "report/formats.h"

#include "platform/numbers.h"

#include <QtCore/QDate>
#include <QtCore/QDateTime>
#include <QtCore/QStringList>
#include <cmath>

namespace {

const qint64 JulianDayZero = QDate(1899, 12, 30).toJulianDay();
constexpr double MsPerDay = 86400000.0;

const char16_t *const ShortMonthNames[12] = {u"янв", u"фев", u"мар", u"апр", u"май", u"июн",
                                              u"июл", u"авг", u"сен", u"окт", u"ноя", u"дек"};
const char16_t *const LongMonthNames[12] = {u"Январь", u"Февраль", u"Март",     u"Апрель",
                                             u"Май",    u"Июнь",    u"Июль",     u"Август",
                                             u"Сентябрь", u"Октябрь", u"Ноябрь", u"Декабрь"};
// After a day number a month is named in the genitive: "5 ноября 1998".
const char16_t *const GenitiveMonthNames[12] = {u"января", u"февраля", u"марта",    u"апреля",
                                                 u"мая",    u"июня",    u"июля",     u"августа",
                                                 u"сентября", u"октября", u"ноября", u"декабря"};
const char16_t *const ShortDayNames[7] = {u"Вс", u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб"};
const char16_t *const LongDayNames[7] = {u"воскресенье", u"понедельник", u"вторник", u"среда",
                                          u"четверг",     u"пятница",     u"суббота"};

const QString ShortDateFormat = QStringLiteral("dd.mm.yyyy");
const QString LongDateFormat = QStringLiteral("d mmmm yyyy 'г.'");
const QString ShortTimeFormat = QStringLiteral("h:nn");
const QString LongTimeFormat = QStringLiteral("h:nn:ss");

QString Pad(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

// Splits a text on a separator into numbers; false when a part is not digits.
bool ReadNumbers(const QString &text, QChar separator, QList<int> &numbers)
{
    const QStringList parts = text.split(separator);
    for (const QString &part : parts) {
        const QString p = part.trimmed();
        if (p.isEmpty() || p.size() > 9)
            return false;
        for (QChar c : p)
            if (!c.isDigit() || c.unicode() > 127)
                return false;
        numbers.append(p.toInt());
    }
    return true;
}

class DateTimeFormatter
{
public:
    explicit DateTimeFormatter(double days)
    {
        DecodeDate(days, m_year, m_month, m_day);
        DecodeTime(days, m_hour, m_minute, m_second, m_msec);
        m_dayOfWeek = QDate(m_year, m_month, m_day).dayOfWeek() % 7;
    }

    QString Format(const QString &pattern, int nesting = 0)
    {
        QString out;
        const QString lower = pattern.toLower();
        const bool twelveHour = lower.contains(QStringLiteral("am/pm")) || lower.contains(QStringLiteral("a/p"));
        bool afterHour = false;
        bool afterDay = false;
        qsizetype i = 0;
        const qsizetype n = pattern.size();
        auto run = [&](QChar letter) {
            qsizetype k = i;
            while (k < n && pattern[k].toLower() == letter)
                ++k;
            const int count = static_cast<int>(k - i);
            i = k;
            return count;
        };
        while (i < n) {
            const QChar c = pattern[i];
            const QChar l = c.toLower();
            if (c == u'\'' || c == u'"') {
                const qsizetype close = pattern.indexOf(c, i + 1);
                const qsizetype end = close < 0 ? n : close;
                out += pattern.mid(i + 1, end - i - 1);
                i = end + 1;
                continue;
            }
            if (l == u'd') {
                const int count = run(u'd');
                afterDay = afterDay || count <= 2;
                if (count == 1)
                    out += QString::number(m_day);
                else if (count == 2)
                    out += Pad(m_day, 2);
                else if (count == 3)
                    out += QString::fromUtf16(ShortDayNames[m_dayOfWeek]);
                else if (count == 4)
                    out += QString::fromUtf16(LongDayNames[m_dayOfWeek]);
                else if (nesting < 2)
                    out += Format(count == 5 ? ShortDateFormat : LongDateFormat, nesting + 1);
                afterHour = false;
            } else if (l == u'm') {
                const int count = run(u'm');
                if (afterHour)
                    out += count >= 2 ? Pad(m_minute, 2) : QString::number(m_minute);
                else if (count == 1)
                    out += QString::number(m_month);
                else if (count == 2)
                    out += Pad(m_month, 2);
                else if (count == 3)
                    out += QString::fromUtf16(ShortMonthNames[m_month - 1]);
                else
                    out += QString::fromUtf16((afterDay ? GenitiveMonthNames : LongMonthNames)[m_month - 1]);
                afterHour = false;
            } else if (l == u'y') {
                const int count = run(u'y');
                out += count <= 2 ? Pad(m_year % 100, 2) : Pad(m_year, 4);
                afterHour = false;
            } else if (l == u'h') {
                const int count = run(u'h');
                int hour = m_hour;
                if (twelveHour) {
                    hour %= 12;
                    if (hour == 0)
                        hour = 12;
                }
                out += count >= 2 ? Pad(hour, 2) : QString::number(hour);
                afterHour = true;
            } else if (l == u'n') {
                const int count = run(u'n');
                out += count >= 2 ? Pad(m_minute, 2) : QString::number(m_minute);
                afterHour = false;
            } else if (l == u's') {
                const int count = run(u's');
                out += count >= 2 ? Pad(m_second, 2) : QString::number(m_second);
                afterHour = false;
            } else if (l == u'z') {
                const int count = run(u'z');
                out += count >= 3 ? Pad(m_msec, 3) : QString::number(m_msec);
            } else if (l == u't') {
                const int count = run(u't');
                if (nesting < 2)
                    out += Format(count == 1 ? ShortTimeFormat : LongTimeFormat, nesting + 1);
            } else if (l == u'c') {
                ++i;
                if (nesting < 2) {
                    out += Format(ShortDateFormat, nesting + 1);
                    if (m_hour || m_minute || m_second || m_msec)
                        out += u' ' + Format(LongTimeFormat, nesting + 1);
                }
            } else if (l == u'a' && lower.mid(i, 5) == QStringLiteral("am/pm")) {
                const bool upper = c.isUpper();
                const QString text = m_hour < 12 ? QStringLiteral("am") : QStringLiteral("pm");
                out += upper ? text.toUpper() : text;
                i += 5;
            } else if (l == u'a' && lower.mid(i, 3) == QStringLiteral("a/p")) {
                const QString text = m_hour < 12 ? QStringLiteral("a") : QStringLiteral("p");
                out += c.isUpper() ? text.toUpper() : text;
                i += 3;
            } else if (c == u'/') {
                out += fmt::DateSeparator;
                ++i;
            } else if (c == u':') {
                out += fmt::TimeSeparator;
                ++i;
            } else {
                out += c;
                ++i;
            }
        }
        return out;
    }

private:
    int m_year = 1899, m_month = 12, m_day = 30;
    int m_hour = 0, m_minute = 0, m_second = 0, m_msec = 0;
    int m_dayOfWeek = 0;
};

// Integer digits with thousands separators every three digits from the right.
QString GroupThousands(const QString &digits)
{
    QString out;
    const qsizetype n = digits.size();
    for (qsizetype i = 0; i < n; ++i) {
        out += digits[i];
        const qsizetype left = n - 1 - i;
        if (left > 0 && left % 3 == 0)
            out += fmt::ThousandSeparator;
    }
    return out;
}

// One section of a number pattern, taken apart.
struct NumberSection
{
    int intPlaceholders = 0; // "0" and "#" before the point
    int intZeros = 0;        // digits always written before the point
    int decimals = 0;        // placeholders after the point
    int minDecimals = 0;     // up to the last "0" after the point
    bool thousands = false;
    bool hasPoint = false;
    bool scientific = false;
    bool exponentSign = false; // "E+": always a sign
    int exponentDigits = 0;
};

NumberSection Analyse(const QString &s)
{
    NumberSection sec;
    bool afterPoint = false;
    bool seenZero = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype close = s.indexOf(c, i + 1);
            i = close < 0 ? s.size() : close;
        } else if ((c == u'E' || c == u'e') && i + 1 < s.size() && (s[i + 1] == u'+' || s[i + 1] == u'-')
                   && !sec.scientific) {
            sec.scientific = true;
            sec.exponentSign = s[i + 1] == u'+';
            i += 2;
            while (i < s.size() && s[i] == u'0') {
                ++sec.exponentDigits;
                ++i;
            }
            --i;
        } else if (sec.scientific) {
            continue;
        } else if (c == u'.') {
            if (!afterPoint) {
                afterPoint = true;
                sec.hasPoint = true;
            }
        } else if (c == u',') {
            if (!afterPoint)
                sec.thousands = true;
        } else if (c == u'0' || c == u'#') {
            if (afterPoint) {
                ++sec.decimals;
                if (c == u'0')
                    sec.minDecimals = sec.decimals;
            } else {
                ++sec.intPlaceholders;
                if (c == u'0')
                    seenZero = true;
                if (seenZero)
                    ++sec.intZeros;
            }
        }
    }
    return sec;
}

QString FormatSection(const QString &s, double value, QChar separator, bool withMinus)
{
    const NumberSection sec = Analyse(s);
    QString intDigits, fracDigits, exponentText;
    double v = std::fabs(value);
    if (sec.scientific) {
        int exponent = 0;
        if (v != 0) {
            const int lead = std::max(sec.intPlaceholders, 1);
            exponent = static_cast<int>(std::floor(std::log10(v))) - (lead - 1);
            v /= std::pow(10.0, exponent);
            if (RoundTo(v, sec.decimals) >= std::pow(10.0, lead)) {
                v /= 10;
                ++exponent;
            }
        }
        exponentText = QStringLiteral("E");
        if (exponent < 0)
            exponentText += u'-';
        else if (sec.exponentSign)
            exponentText += u'+';
        exponentText += QString::number(std::abs(exponent)).rightJustified(sec.exponentDigits, u'0');
    }
    QString fixed = FormatFixed(v, sec.decimals, u'.');
    const qsizetype point = fixed.indexOf(u'.');
    intDigits = point < 0 ? fixed : fixed.left(point);
    fracDigits = point < 0 ? QString() : fixed.mid(point + 1);
    while (fracDigits.size() > sec.minDecimals && fracDigits.endsWith(u'0'))
        fracDigits.chop(1);
    if (intDigits == QStringLiteral("0"))
        intDigits.clear();
    if (intDigits.size() < sec.intZeros)
        intDigits = intDigits.rightJustified(sec.intZeros, u'0');
    const bool isZero = intDigits.count(u'0') == intDigits.size() && fracDigits.count(u'0') == fracDigits.size();

    QString out;
    if (withMinus && value < 0 && !isZero)
        out += u'-';
    const QString grouped = sec.thousands ? GroupThousands(intDigits) : intDigits;
    int placeholder = 0;
    int fracIndex = 0;
    bool afterPoint = false;
    bool exponentDone = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == u'\'' || c == u'"') {
            const qsizetype close = s.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? s.size() : close;
            out += s.mid(i + 1, end - i - 1);
            i = end;
        } else if (!exponentDone && sec.scientific && (c == u'E' || c == u'e') && i + 1 < s.size()
                   && (s[i + 1] == u'+' || s[i + 1] == u'-')) {
            out += exponentText;
            i += 2;
            while (i < s.size() && s[i] == u'0')
                ++i;
            --i;
            exponentDone = true;
        } else if (c == u'.' && !afterPoint && !exponentDone) {
            afterPoint = true;
            if (sec.intPlaceholders == 0)
                out += grouped;
            if (!fracDigits.isEmpty())
                out += separator;
        } else if (c == u',' && !exponentDone) {
            continue;
        } else if ((c == u'0' || c == u'#') && !exponentDone) {
            if (afterPoint) {
                if (fracIndex < fracDigits.size())
                    out += fracDigits[fracIndex];
                ++fracIndex;
            } else {
                // All integer digits come out at the first placeholder.
                if (placeholder == 0)
                    out += grouped;
                ++placeholder;
            }
        } else {
            out += c;
        }
    }
    return out;
}

// Sections of a pattern split at ";" outside quotes.
QStringList Sections(const QString &pattern)
{
    QStringList sections;
    QString current;
    QChar quote;
    for (QChar c : pattern) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u';') {
            sections.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    sections.append(current);
    return sections;
}

} // namespace

double EncodeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    return date.isValid() ? static_cast<double>(date.toJulianDay() - JulianDayZero) : 0;
}

double EncodeTime(int hour, int minute, int second, int msec)
{
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + msec) / MsPerDay;
}

void DecodeDate(double days, int &year, int &month, int &day)
{
    year = 1899;
    month = 12;
    day = 30;
    if (!std::isfinite(days) || std::fabs(days) > 3e6)
        return;
    const QDate date = QDate::fromJulianDay(JulianDayZero + static_cast<qint64>(std::trunc(days)));
    if (!date.isValid())
        return;
    year = date.year();
    month = date.month();
    day = date.day();
}

void DecodeTime(double days, int &hour, int &minute, int &second, int &msec)
{
    hour = minute = second = msec = 0;
    if (!std::isfinite(days))
        return;
    double fraction = std::fabs(days - std::trunc(days));
    qint64 ms = static_cast<qint64>(std::nearbyint(fraction * MsPerDay));
    if (ms >= static_cast<qint64>(MsPerDay))
        ms = static_cast<qint64>(MsPerDay) - 1;
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

double NowAsDays()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    return EncodeDate(now.date().year(), now.date().month(), now.date().day())
        + EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
}

bool TryStrToDate(const QString &text, double &days)
{
    QList<int> numbers;
    if (!ReadNumbers(text.trimmed(), fmt::DateSeparator, numbers) || numbers.size() < 2 || numbers.size() > 3)
        return false;
    const int day = numbers[0];
    const int month = numbers[1];
    int year = numbers.size() == 3 ? numbers[2] : QDate::currentDate().year();
    if (numbers.size() == 3 && text.trimmed().section(fmt::DateSeparator, 2).trimmed().size() <= 2)
        year += year < 50 ? 2000 : 1900;
    if (!QDate::isValid(year, month, day) || year < 1)
        return false;
    days = EncodeDate(year, month, day);
    return true;
}

bool TryStrToTime(const QString &text, double &days)
{
    QString t = text.trimmed();
    int msec = 0;
    const qsizetype dot = t.indexOf(u'.');
    if (dot >= 0) {
        QList<int> ms;
        if (!ReadNumbers(t.mid(dot + 1), u'.', ms) || ms.size() != 1 || ms[0] > 999)
            return false;
        msec = ms[0];
        t = t.left(dot);
    }
    QList<int> numbers;
    if (!ReadNumbers(t, fmt::TimeSeparator, numbers) || numbers.isEmpty() || numbers.size() > 3)
        return false;
    const int hour = numbers[0];
    const int minute = numbers.size() > 1 ? numbers[1] : 0;
    const int second = numbers.size() > 2 ? numbers[2] : 0;
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    days = EncodeTime(hour, minute, second, msec);
    return true;
}

bool TryStrToDateTime(const QString &text, double &days)
{
    const QString t = text.trimmed();
    const qsizetype blank = t.indexOf(u' ');
    if (blank < 0) {
        if (t.contains(fmt::TimeSeparator))
            return TryStrToTime(t, days);
        return TryStrToDate(t, days);
    }
    double date = 0, time = 0;
    if (!TryStrToDate(t.left(blank), date) || !TryStrToTime(t.mid(blank + 1), time))
        return false;
    days = date < 0 ? date - time : date + time;
    return true;
}

QString FormatDateTime(const QString &pattern, double days)
{
    DateTimeFormatter formatter(days);
    return formatter.Format(pattern.isEmpty() ? QStringLiteral("c") : pattern);
}

QString DateTimeToStr(double days)
{
    return FormatDateTime(QStringLiteral("c"), days);
}

QString FormatFloatPattern(const QString &pattern, double value, QChar decimalSeparator)
{
    if (!std::isfinite(value))
        return FloatToStr(value, decimalSeparator);
    if (pattern.isEmpty())
        return FloatToStr(value, decimalSeparator);
    const QStringList sections = Sections(pattern);
    QString section = sections[0];
    bool withMinus = true;
    if (value < 0 && sections.size() > 1 && !sections[1].isEmpty()) {
        section = sections[1];
        withMinus = false;
    } else if (value == 0 && sections.size() > 2 && !sections[2].isEmpty()) {
        section = sections[2];
    }
    return FormatSection(section, value, decimalSeparator, withMinus);
}

QString FormatFloatFixed(double value, int precision, int decimals, QChar decimalSeparator, bool thousands)
{
    QString text = FormatFixedPD(value, precision, decimals, u'.');
    if (thousands && !text.contains(u'E')) {
        const bool negative = text.startsWith(u'-');
        if (negative)
            text.remove(0, 1);
        const qsizetype point = text.indexOf(u'.');
        const QString intPart = point < 0 ? text : text.left(point);
        const QString rest = point < 0 ? QString() : text.mid(point);
        text = (negative ? QStringLiteral("-") : QString()) + GroupThousands(intPart) + rest;
    }
    text.replace(u'.', decimalSeparator);
    return text;
}
