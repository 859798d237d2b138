#include "platform/float_format.h"

#include "platform/numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr QChar DecimalSeparator = u',';
constexpr QChar ThousandSeparator = QChar(0x00A0);

struct TDecimal
{
    bool Negative = false;
    QString Digits;  // significant digits, no trailing zeros ("" for zero)
    int Exponent = 0;  // value = 0.d1d2d3... × 10^Exponent
};

// The value rounded to `precision` significant digits.
TDecimal Decompose(double value, int precision)
{
    TDecimal d;
    d.Negative = std::signbit(value) && value != 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", std::clamp(precision, 1, 18) - 1, std::fabs(value));
    const QString text = QString::fromLatin1(buf);
    const qsizetype e = text.indexOf(u'e');
    QString digits = text.left(e).remove(u'.');
    while (digits.endsWith(u'0'))
        digits.chop(1);
    d.Digits = digits;
    d.Exponent = digits.isEmpty() ? 0 : text.mid(e + 1).toInt() + 1;
    return d;
}

QString ExponentText(int exponent, int minDigits, bool alwaysSign)
{
    QString text = QString::number(std::abs(exponent)).rightJustified(std::clamp(minDigits, 0, 4), u'0');
    if (exponent < 0)
        return u'-' + text;
    return alwaysSign ? u'+' + text : text;
}

QString Scientific(const TDecimal &d, int significant, int expDigits, bool alwaysSign, bool padZeros)
{
    QString digits = d.Digits.isEmpty() ? QStringLiteral("0") : d.Digits;
    if (padZeros && digits.size() < significant)
        digits = digits.leftJustified(significant, u'0');
    QString text = digits.left(1);
    if (digits.size() > 1)
        text += DecimalSeparator + digits.mid(1);
    const int exponent = d.Digits.isEmpty() ? 0 : d.Exponent - 1;
    return (d.Negative ? QStringLiteral("-") : QString()) + text + u'E' + ExponentText(exponent, expDigits, alwaysSign);
}

QString Grouped(const QString &integer)
{
    QString out;
    const qsizetype n = integer.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ThousandSeparator;
        out += integer[i];
    }
    return out;
}

} // namespace

QString FloatToStrF(double value, TFloatFormat format, int precision, int digits)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    precision = std::clamp(precision, 1, 18);
    const TDecimal d = Decompose(value, precision);
    switch (format) {
    case ffGeneral: {
        if (d.Digits.isEmpty())
            return QStringLiteral("0");
        if (d.Exponent > precision || std::fabs(value) < 0.00001)
            return Scientific(d, precision, digits, false, false);
        QString text;
        if (d.Exponent <= 0)
            text = QStringLiteral("0") + DecimalSeparator + QString(-d.Exponent, u'0') + d.Digits;
        else if (d.Digits.size() <= d.Exponent)
            text = d.Digits + QString(d.Exponent - d.Digits.size(), u'0');
        else
            text = d.Digits.left(d.Exponent) + DecimalSeparator + d.Digits.mid(d.Exponent);
        return (d.Negative ? QStringLiteral("-") : QString()) + text;
    }
    case ffExponent:
        return Scientific(d, precision, digits, true, true);
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
        if (d.Exponent > precision)
            return Scientific(d, precision, digits, true, true);
        // At most `precision` significant digits, then `digits` decimals.
        QString text = FormatFixedPD(value, precision, std::clamp(digits, 0, 18), DecimalSeparator);
        if (format != ffFixed) {
            const qsizetype sign = text.startsWith(u'-') ? 1 : 0;
            const qsizetype comma = text.indexOf(DecimalSeparator);
            const qsizetype end = comma < 0 ? text.size() : comma;
            text = text.left(sign) + Grouped(text.mid(sign, end - sign)) + text.mid(end);
        }
        if (format == ffCurrency)
            text += QStringLiteral(" р.");
        return text;
    }
    }
    return QString();
}
