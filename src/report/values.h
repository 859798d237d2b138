#pragma once
// Named values of reports: script variables, the template's value bindings and
// the display format that turns a value into printed text.
#include "report/variant.h"

#include <QtCore/QString>
#include <QtCore/QStringList>
#include <cstdint>
#include <memory>
#include <vector>

class TField;

// Variables that scripts assign; names match without regard to case.
class TfrVariables
{
public:
    void SetValue(const QString &name, const Variant &value);
    Variant GetValue(const QString &name) const; // Null when absent
    int IndexOf(const QString &name) const;       // -1 when absent
    Variant GetValueByIndex(int index) const;     // integer 0 out of range
    QString GetName(int index) const;             // empty out of range
    int Count() const { return static_cast<int>(m_items.size()); }
    void Delete(int index);
    void Clear() { m_items.clear(); }

private:
    struct TItem
    {
        QString Name;
        Variant Value;
    };
    std::vector<TItem> m_items;
};

// Indexes of the special values; index 1 (no keyword) means an expression.
enum TSpecialValue {
    svPage = 0,
    svExpression = 1,
    svDate = 2,
    svTime = 3,
    svLine = 4,
    svLineThrough = 5,
    svColumn = 6,
    svCurrentLine = 7,
    svTotalPages = 8,
};
// "PAGE#", "", "DATE", "TIME", "LINE#", "LINETHROUGH#", "COLUMN#", "CURRENT#", "TOTALPAGES".
extern const QStringList SpecialValueKeywords;

// What a report variable stands for.
class TfrValue
{
public:
    enum { kindNone = 0, kindField = 1, kindSpecial = 2 };
    QString Name;
    std::uint8_t Kind = kindNone;
    std::int32_t SpecialIndex = 0;
    QString DataSetName; // Kind 1: "DataSet" or "Form.DataSet"
    QString FieldText;   // Kind 1: the field; Kind 2 index 1: the expression
    TField *Field = nullptr; // bound before each build, not stored
};

class TfrValues
{
public:
    // The binding of a name (case-insensitive), nullptr when none.
    TfrValue *FindVariable(const QString &name) const;
    // The binding of a name, made when missing.
    TfrValue *AddValue(const QString &name);
    // A new binding at the end even when the name has one already: a stream
    // keeps every binding it carries, duplicates included.
    TfrValue *AppendValue(const QString &name);
    void Delete(const QString &name);
    int Count() const { return static_cast<int>(m_items.size()); }
    TfrValue *Item(int index) const { return m_items[index].get(); }
    void Clear() { m_items.clear(); }

private:
    std::vector<std::unique_ptr<TfrValue>> m_items;
};

// Display format of an object: byte 0 the decimal separator, byte 1 the
// decimals, byte 2 the kind within the category, low 4 bits of byte 3 the
// category (0 text, 1 number, 2 date, 3 time, 4 Boolean). Kind 4 means: use
// the object's pattern text.
namespace FormatCode {
enum Category { fcText = 0, fcNumber = 1, fcDate = 2, fcTime = 3, fcBoolean = 4 };
constexpr int PatternKind = 4;
inline int Separator(std::int32_t code) { return code & 0xFF; }
inline int Decimals(std::int32_t code) { return (code >> 8) & 0xFF; }
inline int Kind(std::int32_t code) { return (code >> 16) & 0xFF; }
inline int Category(std::int32_t code) { return (code >> 24) & 0x0F; }
// Keeps the high 4 bits of byte 3 of `base`.
std::int32_t Make(int category, int kind, int decimals, int separator, std::int32_t base = 0);
// A new object's format: text, 2 decimals, the decimal comma.
std::int32_t Default();
} // namespace FormatCode

// The value's display text under a format; an empty or Null value prints as
// one blank, and a value the format cannot take prints as its plain text.
QString FormatValue(const Variant &value, std::int32_t code, const QString &pattern);

// Splits "expression #format" and applies the format suffix to `code` and
// `pattern` (they come in as the object's own). Returns the expression.
QString ParseFormatSuffix(const QString &text, std::int32_t &code, QString &pattern);
