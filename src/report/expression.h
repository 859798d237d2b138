#pragma once
// The expression evaluator of reports. An expression is converted to a postfix
// text and evaluated on a stack of values. Logical operators bind as tightly as
// multiplication; IF, COPY and unknown functions are expanded while converting,
// the latter answered with expression text by the function callback.
#include "report/variant.h"
#include "platform/exceptions.h"

#include <QtCore/QString>
#include <functional>

// An expression that cannot be converted or evaluated, or a name nothing answers.
class EParserError : public Exception
{
public:
    using Exception::Exception;
};

// (name, in-out value): fills the value of a name met in an expression.
using TValueEvent = std::function<void(const QString &name, Variant &value)>;
// (name, three argument texts, in-out result text): answers a function call
// with expression text (a number, a quoted string or any expression).
using TFunctionEvent =
    std::function<void(const QString &name, const Variant &p1, const Variant &p2, const Variant &p3, QString &val)>;

// Codes that stand for keywords and two-character operators in postfix texts.
enum OperatorCode : char16_t {
    opGreaterEqual = 1,
    opLessEqual = 2,
    opNotEqual = 3,
    opOr = 4,
    opAnd = 5,
    opInt = 6,
    opFrac = 7,
    opUnaryMinus = 9,
    opUnaryPlus = 10,
    opStr = 11,
    opNot = 12,
    opMod = 13,
    opRound = 14,
};

class TParser
{
public:
    TValueEvent OnValue;
    TFunctionEvent OnFunction;

    Variant Evaluate(const QString &expression);
    QString ConvertToPostfix(const QString &expression);
    Variant EvaluatePostfix(const QString &postfix);
};

// `start` is the 1-based position of a "["; returns the text strictly between it
// and its matching "]" and sets `stop` to the position of that "]". Brackets
// inside single or double quotes do not count.
QString ExtractBracketed(const QString &text, int &start, int &stop);

// Makes a function's answer a well-formed expression: a quote inside a quoted
// text that does not close it is doubled ('it's' becomes 'it''s'), while
// texts already written with doubled quotes stay as they are.
QString DoubleInnerQuotes(const QString &text);
// A string literal of the evaluator: 'it''s' for it's.
QString QuoteStr(const QString &text);
