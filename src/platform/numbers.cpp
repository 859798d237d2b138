#include "platform/numbers.h"

#include "platform/exceptions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

std::int64_t Round(double value)
{
    // Values beyond the integer range saturate; NaN counts as 0.
    const double r = std::nearbyint(value);
    if (!(r == r))
        return 0;
    if (r >= 9.2233720368547758e18)
        return std::numeric_limits<std::int64_t>::max();
    if (r <= -9.2233720368547758e18)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(r);
}

double RoundTo(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::nearbyint(value * scale) / scale;
}

namespace {

QString WithSeparator(QString text, QChar separator)
{
    if (separator != u'.')
        text.replace(u'.', separator);
    return text;
}

// The C library formats from the exact binary value; the system rounds the
// decimal digits half to even, so round first and let printf only print.
QString PrintFixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NAN") : (value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF"));
    if (decimals < 0)
        decimals = 0;
    double rounded = decimals <= 15 ? RoundTo(value, decimals) : value;
    if (!std::isfinite(rounded))
        rounded = value;
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, rounded);
    QString text = QString::fromLatin1(buf);
    // "-0,00" reads oddly in tables; the system writes zero without a sign.
    if (text.startsWith(u'-')
        && std::all_of(text.begin() + 1, text.end(), [](QChar c) { return c == u'0' || c == u'.'; }))
        text.remove(0, 1);
    return text;
}

} // namespace

QString FormatFixed(double value, int decimals, QChar separator)
{
    return WithSeparator(PrintFixed(value, decimals), separator);
}

QString FormatFixedPD(double value, int precision, int decimals, QChar separator)
{
    if (!std::isfinite(value) || value == 0)
        return FormatFixed(value, decimals, separator);
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    if (exponent >= precision) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*E", precision > 1 ? precision - 1 : 0, value);
        QString text = QString::fromLatin1(buf);
        // printf writes at least two exponent digits with a sign; keep that form.
        return WithSeparator(text, separator);
    }
    // Keep at most `precision` significant digits before fixing the decimals.
    const int significantDecimals = precision - 1 - exponent;
    const double limited = significantDecimals < decimals ? RoundTo(value, significantDecimals) : value;
    return FormatFixed(limited, decimals, separator);
}

QString FormatWD(double value, int width, int decimals, QChar separator)
{
    return FormatFixed(value, decimals, separator).rightJustified(width, u' ');
}

QString FloatToStr(double value, QChar separator)
{
    if (!std::isfinite(value))
        return FormatFixed(value, 0, separator);
    if (value == 0)
        return QStringLiteral("0");
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", value);
    QString text = QString::fromLatin1(buf);
    const qsizetype e = text.indexOf(u'E');
    if (e >= 0) {
        // 1.5E-07 -> 1.5E-7, as the system writes exponents.
        QString mantissa = text.left(e);
        const int exponent = text.mid(e + 1).toInt();
        if (mantissa.contains(u'.')) {
            while (mantissa.endsWith(u'0'))
                mantissa.chop(1);
            if (mantissa.endsWith(u'.'))
                mantissa.chop(1);
        }
        text = mantissa + u'E' + (exponent < 0 ? QStringLiteral("-") : QString()) + QString::number(std::abs(exponent));
    } else if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return WithSeparator(text, separator);
}

bool TryStrToFloat(const QString &text, double &value)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    t.replace(u',', u'.');
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok)
        return false;
    value = v;
    return true;
}

int StrToInt(const QString &text)
{
    int value = 0;
    if (!TryStrToInt(text, value))
        throw EConvertError(QStringLiteral("\"%1\" не является целым числом").arg(text));
    return value;
}

bool TryStrToInt(const QString &text, int &value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok)
        return false;
    value = v;
    return true;
}

QString InvalidNumberMessage(const QString &text, bool integer)
{
    return u'"' + text + u'"'
        + (integer ? QStringLiteral(" - неверно заданное целое число!") : QStringLiteral(" - неверно заданное число!"));
}

QString IntRangeMessage(int min, int max)
{
    return QStringLiteral("Целое число должно быть в пределах %1...%2").arg(min).arg(max);
}

QString ShortDateLongTime(const QDateTime &moment)
{
    // Only digits and separators: the machine's locale has no say.
    return moment.toString(QStringLiteral("dd.MM.yyyy H:mm:ss"));
}
