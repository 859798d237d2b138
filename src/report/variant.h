#pragma once
// The value type of the report engine. Expressions, script variables, host
// answers and data fields all carry one of these. Conversions follow fixed
// Russian conventions whatever the machine's locale: numbers are written with
// a decimal comma, dates as dd.mm.yyyy and times as h:nn:ss.
#include "platform/exceptions.h"

#include <QtCore/QString>
#include <cstdint>

// A value that cannot be converted to the kind an operation needs.
class EVariantError : public EConvertError
{
public:
    using EConvertError::EConvertError;
};

// Integer division or remainder by zero.
class EDivByZero : public Exception
{
public:
    using Exception::Exception;
};

class Variant
{
public:
    enum class Type { Empty, Null, Integer, Double, DateTime, String, Boolean };

    Variant() = default;
    Variant(int value) : m_type(Type::Integer), m_int(value) {}
    Variant(double value) : m_type(Type::Double), m_double(value) {}
    Variant(bool value) : m_type(Type::Boolean), m_bool(value) {}
    Variant(const QString &value) : m_type(Type::String), m_string(value) {}
    Variant(const char *) = delete; // say QStringLiteral: the engine's texts are UTF-8

    static Variant Null();
    // Days since 1899-12-30, the fraction being the time of day.
    static Variant FromDateTime(double days);

    Type type() const { return m_type; }
    bool IsEmpty() const { return m_type == Type::Empty; }
    bool IsNull() const { return m_type == Type::Null; }
    // Empty or Null: prints as one blank.
    bool IsEmptyOrNull() const { return m_type == Type::Empty || m_type == Type::Null; }
    bool IsNumeric() const;
    bool IsString() const { return m_type == Type::String; }

    // Conversions; each raises EVariantError when the value has no such form.
    // Empty converts to 0 and to the empty text; Null to nothing but text.
    // True is -1 as a number; a text is read with a comma or a point.
    double ToDouble() const;
    std::int32_t ToInt() const; // doubles round half to even
    double ToDateTime() const;  // texts are read as dates, times or both
    bool ToBool() const;
    // The value's text: "" for Empty and Null, "1,5" for 1.5,
    // "01.02.2003" or "01.02.2003 10:30:00" for a date-time, "True"/"False".
    QString ToString() const;

    // The raw fields, valid for the matching type only.
    std::int32_t IntValue() const { return m_int; }
    double DoubleValue() const { return m_double; }
    bool BoolValue() const { return m_bool; }
    const QString &StringValue() const { return m_string; }

    // Same type and same content (for tests and caches, not the engine's "=").
    bool operator==(const Variant &other) const;

private:
    Type m_type = Type::Empty;
    std::int32_t m_int = 0;
    double m_double = 0;
    bool m_bool = false;
    QString m_string;
};

// Arithmetic and comparison with the engine's rules: "+" of two texts
// concatenates, a text meeting a number is converted to a number, Null in
// arithmetic gives Null, integers overflow into doubles.
Variant VarAdd(const Variant &a, const Variant &b);
Variant VarSub(const Variant &a, const Variant &b);
Variant VarMul(const Variant &a, const Variant &b);
Variant VarDivide(const Variant &a, const Variant &b); // floating quotient
Variant VarMod(const Variant &a, const Variant &b);    // integer remainder; EDivByZero
Variant VarNeg(const Variant &a);
// -1, 0 or 1. Two texts compare as texts; otherwise numerically. Null is
// equal to Null and below anything else.
int VarCompare(const Variant &a, const Variant &b);

// Text forms shared by the engine.
QString VarTypeName(Variant::Type type);
// Reads a number as the engine does ("1,5", "1.5", "1e5"); false otherwise.
bool TextToDouble(const QString &text, double &value);
// A number as an expression can read it back: never in exponent form.
QString FloatToExprText(double value);
