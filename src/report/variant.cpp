#include "report/variant.h"

#include "report/formats.h"
#include "platform/numbers.h"

#include <cmath>
#include <limits>

namespace {

using T = Variant::Type;

[[noreturn]] void CannotConvert(T from, T to)
{
    throw EVariantError(QStringLiteral("Значение типа (%1) нельзя преобразовать в тип (%2)")
                            .arg(VarTypeName(from), VarTypeName(to)));
}

bool IsWhole(double v)
{
    return std::isfinite(v) && v >= std::numeric_limits<std::int32_t>::min()
        && v <= std::numeric_limits<std::int32_t>::max();
}

// A result that fits an integer stays one; anything else becomes a double.
Variant IntegerOrDouble(double v)
{
    if (IsWhole(v))
        return Variant(static_cast<std::int32_t>(v));
    return Variant(v);
}

// The common kind of two operands of arithmetic.
enum class Arith { Integer, Double, DateTime };

Arith NumericKind(const Variant &v)
{
    switch (v.type()) {
    case T::Empty:
    case T::Integer:
    case T::Boolean:
        return Arith::Integer;
    case T::DateTime:
        return Arith::DateTime;
    default:
        return Arith::Double;
    }
}

bool EitherNull(const Variant &a, const Variant &b)
{
    return a.IsNull() || b.IsNull();
}

} // namespace

Variant Variant::Null()
{
    Variant v;
    v.m_type = Type::Null;
    return v;
}

Variant Variant::FromDateTime(double days)
{
    Variant v;
    v.m_type = Type::DateTime;
    v.m_double = days;
    return v;
}

bool Variant::IsNumeric() const
{
    return m_type == Type::Integer || m_type == Type::Double || m_type == Type::DateTime || m_type == Type::Boolean;
}

double Variant::ToDouble() const
{
    switch (m_type) {
    case Type::Empty:
        return 0;
    case Type::Integer:
        return m_int;
    case Type::Double:
    case Type::DateTime:
        return m_double;
    case Type::Boolean:
        return m_bool ? -1 : 0;
    case Type::String: {
        double v = 0;
        if (TextToDouble(m_string, v))
            return v;
        CannotConvert(m_type, Type::Double);
    }
    case Type::Null:
        break;
    }
    CannotConvert(m_type, Type::Double);
}

std::int32_t Variant::ToInt() const
{
    if (m_type == Type::Integer)
        return m_int;
    const double v = std::nearbyint(ToDouble());
    if (!IsWhole(v))
        throw EVariantError(QStringLiteral("Недопустимая операция: значение вне диапазона целых чисел"));
    return static_cast<std::int32_t>(v);
}

double Variant::ToDateTime() const
{
    if (m_type == Type::String) {
        double days = 0;
        if (TryStrToDateTime(m_string, days))
            return days;
        CannotConvert(m_type, Type::DateTime);
    }
    if (m_type == Type::Null)
        CannotConvert(m_type, Type::DateTime);
    return ToDouble();
}

bool Variant::ToBool() const
{
    if (m_type == Type::Boolean)
        return m_bool;
    if (m_type == Type::String) {
        if (m_string.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (m_string.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return ToDouble() != 0;
}

QString Variant::ToString() const
{
    switch (m_type) {
    case Type::Empty:
    case Type::Null:
        return QString();
    case Type::Integer:
        return QString::number(m_int);
    case Type::Double:
        return FloatToStr(m_double, fmt::DecimalSeparator);
    case Type::DateTime:
        return DateTimeToStr(m_double);
    case Type::String:
        return m_string;
    case Type::Boolean:
        return m_bool ? QStringLiteral("True") : QStringLiteral("False");
    }
    return QString();
}

bool Variant::operator==(const Variant &other) const
{
    if (m_type != other.m_type)
        return false;
    switch (m_type) {
    case Type::Empty:
    case Type::Null:
        return true;
    case Type::Integer:
        return m_int == other.m_int;
    case Type::Double:
    case Type::DateTime:
        return m_double == other.m_double;
    case Type::String:
        return m_string == other.m_string;
    case Type::Boolean:
        return m_bool == other.m_bool;
    }
    return false;
}

QString VarTypeName(Variant::Type type)
{
    switch (type) {
    case T::Empty:
        return QStringLiteral("Empty");
    case T::Null:
        return QStringLiteral("Null");
    case T::Integer:
        return QStringLiteral("Integer");
    case T::Double:
        return QStringLiteral("Double");
    case T::DateTime:
        return QStringLiteral("Date");
    case T::String:
        return QStringLiteral("String");
    case T::Boolean:
        return QStringLiteral("Boolean");
    }
    return QString();
}

bool TextToDouble(const QString &text, double &value)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    // Only digits, one separator, a sign and an exponent: QString would also
    // take "inf" and "nan", which no report writes.
    for (QChar c : t) {
        if (!(c.isDigit() || c == u',' || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E'))
            return false;
    }
    double v = 0;
    if (!TryStrToFloat(t, v) || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

QString FloatToExprText(double value)
{
    QString text = FloatToStr(value, fmt::DecimalSeparator);
    if (!text.contains(u'E'))
        return text;
    // The evaluator reads "1E-7" as 1E minus 7: write the 15 significant
    // digits out in fixed notation instead.
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    text = QString::number(value, 'f', std::max(0, 14 - exponent));
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    text.replace(u'.', fmt::DecimalSeparator);
    return text;
}

Variant VarAdd(const Variant &a, const Variant &b)
{
    if (EitherNull(a, b))
        return Variant::Null();
    if (a.IsString() && (b.IsString() || b.IsEmpty()))
        return Variant(a.StringValue() + b.ToString());
    if (b.IsString() && a.IsEmpty())
        return b;
    const Arith ka = NumericKind(a), kb = NumericKind(b);
    if (ka == Arith::Integer && kb == Arith::Integer && !a.IsString() && !b.IsString())
        return IntegerOrDouble(static_cast<double>(a.ToInt()) + b.ToInt());
    const double sum = a.ToDouble() + b.ToDouble();
    if (ka == Arith::DateTime || kb == Arith::DateTime)
        return Variant::FromDateTime(sum);
    return Variant(sum);
}

Variant VarSub(const Variant &a, const Variant &b)
{
    if (EitherNull(a, b))
        return Variant::Null();
    const Arith ka = NumericKind(a), kb = NumericKind(b);
    if (ka == Arith::Integer && kb == Arith::Integer)
        return IntegerOrDouble(static_cast<double>(a.ToInt()) - b.ToInt());
    const double diff = a.ToDouble() - b.ToDouble();
    // A date minus a number is a date; the distance between two dates is days.
    if (ka == Arith::DateTime && kb != Arith::DateTime)
        return Variant::FromDateTime(diff);
    return Variant(diff);
}

Variant VarMul(const Variant &a, const Variant &b)
{
    if (EitherNull(a, b))
        return Variant::Null();
    if (NumericKind(a) == Arith::Integer && NumericKind(b) == Arith::Integer)
        return IntegerOrDouble(static_cast<double>(a.ToInt()) * b.ToInt());
    return Variant(a.ToDouble() * b.ToDouble());
}

Variant VarDivide(const Variant &a, const Variant &b)
{
    if (EitherNull(a, b))
        return Variant::Null();
    return Variant(a.ToDouble() / b.ToDouble());
}

Variant VarMod(const Variant &a, const Variant &b)
{
    if (EitherNull(a, b))
        return Variant::Null();
    const std::int32_t divisor = b.ToInt();
    if (divisor == 0)
        throw EDivByZero(QStringLiteral("Деление на ноль"));
    const std::int64_t dividend = a.ToInt();
    return Variant(static_cast<std::int32_t>(dividend % divisor));
}

Variant VarNeg(const Variant &a)
{
    switch (a.type()) {
    case T::Null:
        return a;
    case T::Empty:
        return Variant(0);
    case T::Integer:
        return IntegerOrDouble(-static_cast<double>(a.IntValue()));
    case T::DateTime:
        return Variant::FromDateTime(-a.DoubleValue());
    case T::Boolean:
        return Variant(a.BoolValue() ? 1 : 0);
    default:
        return Variant(-a.ToDouble());
    }
}

int VarCompare(const Variant &a, const Variant &b)
{
    if (a.IsNull() || b.IsNull()) {
        if (a.IsNull() && b.IsNull())
            return 0;
        return a.IsNull() ? -1 : 1;
    }
    const bool textA = a.IsString() || a.IsEmpty();
    const bool textB = b.IsString() || b.IsEmpty();
    if (textA && textB) {
        const int c = a.ToString().compare(b.ToString());
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    const double x = a.ToDouble(), y = b.ToDouble();
    return x < y ? -1 : (x > y ? 1 : 0);
}
