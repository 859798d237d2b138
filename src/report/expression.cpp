#include "report/expression.h"

#include "report/formats.h"
#include "platform/numbers.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Evaluations nest (IF and COPY arguments, names evaluated as expressions,
// a binding naming the next binding) as deep as a template makes them; only a
// definition that refers to itself nests without end. So the guard counts no
// levels: it stops an evaluation that has taken this much of its thread's
// stack, far beyond any real template and well within the stack of a thread.
constexpr std::uintptr_t MaxEvaluationStack = 1024 * 1024;
// A function whose answer calls itself again would expand without end.
constexpr int MaxExpansions = 10000;
constexpr qsizetype MaxExpandedLength = 1 << 20;

bool IsBlank(QChar c)
{
    // Line breaks and tabs inside an expression separate like blanks; in a
    // postfix text control characters are operator codes, never operands.
    return c == u' ' || c.unicode() < 32;
}

bool EndsOperand(QChar c)
{
    switch (c.unicode()) {
    case u'(':
    case u')':
    case u'*':
    case u'+':
    case u'-':
    case u'/':
    case u'<':
    case u'=':
    case u'>':
        return true;
    default:
        return IsBlank(c);
    }
}

// A name or number from `i`: up to a blank or an operator character, which
// does not count between double quotes. With `stopAtSemicolon` a ";" outside
// double quotes ends the operand too: it ends the whole expression.
QString ReadOperand(const QString &s, qsizetype &i, bool stopAtSemicolon)
{
    const qsizetype n = s.size();
    while (i < n && IsBlank(s[i]))
        ++i;
    const qsizetype start = i;
    bool inQuotes = false;
    while (i < n) {
        const QChar c = s[i];
        if (c == u'"')
            inQuotes = !inQuotes;
        else if (!inQuotes && (EndsOperand(c) || (stopAtSemicolon && c == u';')))
            break;
        ++i;
    }
    return s.mid(start, i - start);
}

// A single-quoted literal from the quote at `i`, quotes kept; an unterminated
// literal runs to the end of the text (`closed` tells which).
QString ReadQuoted(const QString &s, qsizetype &i, bool *closed = nullptr)
{
    if (closed)
        *closed = true;
    const qsizetype n = s.size();
    const qsizetype start = i;
    ++i;
    while (i < n) {
        if (s[i] == u'\'') {
            if (i + 1 < n && s[i + 1] == u'\'') {
                i += 2;
                continue;
            }
            ++i;
            return s.mid(start, i - start);
        }
        ++i;
    }
    if (closed)
        *closed = false;
    return s.mid(start);
}

// The content of a literal read by ReadQuoted.
QString Unquote(const QString &literal)
{
    QString inner = literal.mid(1);
    if (inner.endsWith(u'\'') && !inner.isEmpty())
        inner.chop(1);
    inner.replace(QStringLiteral("''"), QStringLiteral("'"));
    return inner;
}

// 0-based form of ExtractBracketed.
QString Extract0(const QString &text, qsizetype &start, qsizetype &stop)
{
    const qsizetype n = text.size();
    stop = start;
    if (n == 0 || start < 0 || start >= n)
        return QString();
    int depth = 0;
    bool inDouble = false, inSingle = false;
    qsizetype i = start;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (!inDouble && !inSingle) {
            if (c == u'[') {
                if (depth == 0)
                    start = i;
                ++depth;
            } else if (c == u']') {
                --depth;
            }
        }
        if (!inSingle && c == u'"')
            inDouble = !inDouble;
        if (!inDouble && c == u'\'')
            inSingle = !inSingle;
        if (depth <= 0)
            break;
    }
    stop = i < n ? i : n - 1;
    if (stop <= start)
        return QString();
    return text.mid(start + 1, stop - start - 1);
}

int Priority(QChar op)
{
    switch (op.unicode()) {
    case opInt:
    case opFrac:
    case opRound:
    case opStr:
        return 0;
    case u'*':
    case u'/':
    case opMod:
    case opAnd:
    case opOr:
    case opNot:
        return 1;
    case u'+':
    case u'-':
    case opUnaryMinus:
    case opUnaryPlus:
        return 2;
    case u'=':
    case opNotEqual:
    case u'<':
    case u'>':
    case opLessEqual:
    case opGreaterEqual:
        return 3;
    case u')':
        return 4;
    default:
        return 5; // "("
    }
}

bool IsPrefixOperator(QChar op)
{
    switch (op.unicode()) {
    case opUnaryMinus:
    case opUnaryPlus:
    case opNot:
    case opInt:
    case opFrac:
    case opRound:
    case opStr:
        return true;
    default:
        return false;
    }
}

bool KeywordCode(const QString &upper, QChar &code)
{
    static const struct {
        const char *word;
        char16_t code;
    } keywords[] = {{"INT", opInt}, {"FRAC", opFrac}, {"ROUND", opRound}, {"OR", opOr},
                    {"AND", opAnd}, {"NOT", opNot},   {"STR", opStr},     {"MOD", opMod}};
    for (const auto &k : keywords) {
        if (upper == QLatin1String(k.word)) {
            code = QChar(k.code);
            return true;
        }
    }
    return false;
}

// The argument texts of a call whose "(" is just before `from`; `end` becomes
// the position of the closing ")" (the text's length when it is missing).
QStringList SplitArguments(const QString &s, qsizetype from, qsizetype &end)
{
    QStringList parts;
    int depth = 1;
    bool inSingle = false;
    qsizetype partStart = from;
    qsizetype i = from;
    const qsizetype n = s.size();
    for (; i < n; ++i) {
        const QChar c = s[i];
        if (c == u'\'')
            inSingle = !inSingle;
        else if (c == u'(')
            ++depth;
        else if (c == u')') {
            if (--depth == 0)
                break;
        } else if (c == u',' && depth == 1 && !inSingle) {
            parts.append(s.mid(partStart, i - partStart).trimmed());
            partStart = i + 1;
        }
    }
    parts.append(s.mid(partStart, i - partStart).trimmed());
    end = i;
    return parts;
}

double TextAsNumber(const QString &text)
{
    double v = 0;
    if (!TextToDouble(text, v))
        throw EConvertError(InvalidNumberMessage(text, false));
    return v;
}

Variant IntegerOrDouble(double v)
{
    if (std::isfinite(v) && v >= -2147483648.0 && v <= 2147483647.0)
        return Variant(static_cast<std::int32_t>(v));
    return Variant(v);
}

// Where the outermost evaluation of this thread began, and how many
// evaluations are open on it (the evaluators of all parsers together).
struct TEvaluationStack
{
    std::uintptr_t Base = 0;
    int Open = 0;
};
thread_local TEvaluationStack EvaluationStack;

class StackGuard
{
public:
    StackGuard()
    {
        const auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
        TEvaluationStack &s = EvaluationStack;
        if (s.Open == 0)
            s.Base = here;
        else if ((s.Base > here ? s.Base - here : here - s.Base) > MaxEvaluationStack)
            throw EParserError(QStringLiteral("Слишком глубокая вложенность выражения"));
        ++s.Open;
    }
    ~StackGuard() { --EvaluationStack.Open; }
    StackGuard(const StackGuard &) = delete;
    StackGuard &operator=(const StackGuard &) = delete;
};

} // namespace

QString ExtractBracketed(const QString &text, int &start, int &stop)
{
    qsizetype s0 = start - 1, e0 = 0;
    const QString result = Extract0(text, s0, e0);
    start = static_cast<int>(s0 + 1);
    stop = static_cast<int>(e0 + 1);
    return result;
}

QString QuoteStr(const QString &text)
{
    QString inner = text;
    inner.replace(QStringLiteral("'"), QStringLiteral("''"));
    return u'\'' + inner + u'\'';
}

QString DoubleInnerQuotes(const QString &text)
{
    QString out;
    const qsizetype n = text.size();
    bool inQuote = false;
    auto closes = [&](qsizetype i) {
        qsizetype j = i + 1;
        while (j < n && text[j] == u' ')
            ++j;
        if (j >= n)
            return true;
        if (QStringLiteral(")+-*/<>=,;]").contains(text[j]))
            return true;
        for (const char *word : {"OR", "AND", "MOD"}) {
            const qsizetype len = qstrlen(word);
            if (text.mid(j, len).compare(QLatin1String(word), Qt::CaseInsensitive) == 0
                && (j + len >= n || !text[j + len].isLetterOrNumber()))
                return true;
        }
        return false;
    };
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (!inQuote) {
            out += c;
            if (c == u'\'')
                inQuote = true;
            continue;
        }
        if (c != u'\'') {
            out += c;
        } else if (i + 1 < n && text[i + 1] == u'\'') {
            out += QStringLiteral("''");
            ++i;
        } else if (closes(i)) {
            out += c;
            inQuote = false;
        } else {
            out += QStringLiteral("''");
        }
    }
    return out;
}

Variant TParser::Evaluate(const QString &expression)
{
    StackGuard guard;
    return EvaluatePostfix(ConvertToPostfix(expression));
}

QString TParser::ConvertToPostfix(const QString &expression)
{
    StackGuard guard;
    QString s = expression;
    QString out;
    QString stack; // the top is the first character
    bool operand = false;
    int expansions = 0;

    auto pushOperator = [&](QChar op) {
        if (!stack.isEmpty() && !IsPrefixOperator(op) && Priority(op) >= Priority(stack[0])) {
            while (!stack.isEmpty() && Priority(op) >= Priority(stack[0])) {
                out += stack[0];
                stack.remove(0, 1);
            }
        }
        stack.prepend(op);
    };

    qsizetype i = 0;
    while (i < s.size()) {
        const QChar c = s[i];
        if (IsBlank(c)) {
            ++i;
            continue;
        }
        if (c == u'(') {
            stack.prepend(c);
            operand = false;
            ++i;
            continue;
        }
        if (c == u')') {
            while (!stack.isEmpty() && stack[0] != u'(') {
                out += stack[0];
                stack.remove(0, 1);
            }
            if (stack.isEmpty())
                throw EParserError(QStringLiteral("Лишняя закрывающая скобка в \"%1\"").arg(expression));
            stack.remove(0, 1);
            ++i;
            continue;
        }
        if (c == u';')
            break;
        if (QStringLiteral("*+-/<=>").contains(c)) {
            QChar op = c;
            const QChar next = i + 1 < s.size() ? s[i + 1] : QChar();
            if (c == u'<' && next == u'>')
                op = QChar(opNotEqual);
            else if (c == u'>' && next == u'=')
                op = QChar(opGreaterEqual);
            else if (c == u'<' && next == u'=')
                op = QChar(opLessEqual);
            i += op == c ? 1 : 2;
            if (!operand && c == u'-')
                op = QChar(opUnaryMinus);
            else if (!operand && c == u'+')
                op = QChar(opUnaryPlus);
            pushOperator(op);
            // What follows an operator is an operand: "2*-3" is 2*(-3).
            operand = false;
            continue;
        }

        // An operand.
        const qsizetype start = i;
        QString prefix;
        if (c == u'%' && i + 1 < s.size()) {
            prefix = s.mid(i, 2);
            i += 2;
        }
        QString text;
        bool plain = false;
        if (i < s.size() && s[i] == u'\'') {
            bool closed = true;
            text = ReadQuoted(s, i, &closed);
            if (!closed)
                text += u'\''; // the postfix text must not run into the next operand
        } else if (i < s.size() && s[i] == u'[') {
            qsizetype b = i, e = 0;
            text = u'[' + Extract0(s, b, e) + u']';
            i = std::max(e + 1, i + 1);
        } else {
            text = ReadOperand(s, i, true);
            plain = true;
            if (text.count(u'"') % 2)
                text += u'"'; // an unclosed double quote closes at the end of the text
        }
        if (text.isEmpty() && prefix.isEmpty()) {
            ++i; // nothing an operand can start with: skip it
            continue;
        }
        if (prefix.isEmpty() && plain && (text[0].isDigit() || text[0] == u',' || text[0] == u'.')) {
            out += text + u' ';
            operand = true;
            continue;
        }
        const QString upper = text.toUpper();
        QChar code;
        if (prefix.isEmpty() && plain && KeywordCode(upper, code)) {
            pushOperator(code);
            operand = false;
            continue;
        }
        if (prefix.isEmpty() && plain && i < s.size() && s[i] == u'(') {
            qsizetype end = 0;
            const QStringList parts = SplitArguments(s, i + 1, end);
            Variant args[3];
            if (parts.size() <= 3) {
                for (int k = 0; k < parts.size(); ++k)
                    args[k] = Variant(parts[k]);
            } else {
                args[0] = Variant(parts[0]);
                args[1] = Variant(parts[parts.size() - 2]);
            }
            QString replacement;
            if (upper == QLatin1String("COPY")) {
                const QString source = Evaluate(args[0].ToString()).ToString();
                qsizetype from = Evaluate(args[1].ToString()).ToInt();
                const qsizetype count = Evaluate(args[2].ToString()).ToInt();
                if (from < 1)
                    from = 1;
                const QString part = count <= 0 || from > source.size() ? QString() : source.mid(from - 1, count);
                replacement = u'(' + QuoteStr(part) + u')';
            } else if (upper == QLatin1String("IF")) {
                const double condition = TextAsNumber(Evaluate(args[0].ToString()).ToString());
                const QString chosen = std::trunc(condition) > 0 ? args[1].ToString() : args[2].ToString();
                replacement = u'(' + DoubleInnerQuotes(chosen) + u')';
            } else if (OnFunction) {
                QString result;
                OnFunction(upper, args[0], args[1], args[2], result);
                replacement = u'(' + DoubleInnerQuotes(result) + u')';
            } else {
                replacement = QStringLiteral("()");
            }
            if (++expansions > MaxExpansions || s.size() > MaxExpandedLength)
                throw EParserError(QStringLiteral("Вызовы функций раскрываются без конца в \"%1\"").arg(expression));
            s = s.left(start) + replacement + s.mid(end + 1);
            i = start;
            continue;
        }
        out += prefix + text + u' ';
        operand = true;
    }
    for (QChar op : stack) {
        if (op == u'(')
            throw EParserError(QStringLiteral("Не хватает закрывающей скобки в \"%1\"").arg(expression));
        out += op;
    }
    return out;
}

Variant TParser::EvaluatePostfix(const QString &postfix)
{
    StackGuard guard;
    enum class Mode { Plain, Date, Time } mode = Mode::Plain;
    std::vector<Variant> stack;
    auto pop = [&]() {
        if (stack.empty())
            throw EParserError(QStringLiteral("Пропущен операнд"));
        Variant v = std::move(stack.back());
        stack.pop_back();
        return v;
    };
    const qsizetype n = postfix.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = postfix[i];
        const char16_t u = c.unicode();
        if (c == u' ' || u == opUnaryPlus) {
            ++i;
            continue;
        }
        if (c == u'%') {
            if (i + 1 < n) {
                const QChar m = postfix[i + 1].toUpper();
                if (m == u'D')
                    mode = Mode::Date;
                else if (m == u'T')
                    mode = Mode::Time;
            }
            i += 2;
            continue;
        }
        if (c == u'\'') {
            const QString text = Unquote(ReadQuoted(postfix, i));
            if (mode == Mode::Plain) {
                stack.emplace_back(text);
            } else {
                double days = 0;
                const bool ok = mode == Mode::Date ? TryStrToDate(text, days) : TryStrToTime(text, days);
                if (!ok)
                    throw EConvertError(u'"' + text
                                        + (mode == Mode::Date ? QStringLiteral("\" - неверно заданная дата!")
                                                              : QStringLiteral("\" - неверно заданное время!")));
                stack.push_back(Variant::FromDateTime(days));
            }
            mode = Mode::Plain;
            continue;
        }
        if (c == u'[') {
            qsizetype b = i, e = 0;
            const QString name = Extract0(postfix, b, e);
            Variant value;
            if (OnValue)
                OnValue(name, value);
            stack.push_back(value);
            i = std::max(e + 1, i + 1);
            continue;
        }
        switch (u) {
        case u'+':
        case opOr:
        case u'-':
        case u'*':
        case opAnd:
        case u'/':
        case opMod:
        case u'=':
        case opNotEqual:
        case u'<':
        case u'>':
        case opLessEqual:
        case opGreaterEqual: {
            const Variant right = pop();
            const Variant left = pop();
            Variant result;
            switch (u) {
            case u'+':
            case opOr:
                result = VarAdd(left, right);
                break;
            case u'-':
                result = VarSub(left, right);
                break;
            case u'*':
            case opAnd:
                result = VarMul(left, right);
                break;
            case u'/':
                if (left.IsNull() || right.IsNull())
                    result = Variant::Null();
                else if (right.ToDouble() == 0)
                    result = Variant(0);
                else
                    result = VarDivide(left, right);
                break;
            case opMod:
                result = VarMod(left, right);
                break;
            default: {
                const int cmp = VarCompare(left, right);
                bool holds = false;
                switch (u) {
                case u'=': holds = cmp == 0; break;
                case opNotEqual: holds = cmp != 0; break;
                case u'<': holds = cmp < 0; break;
                case u'>': holds = cmp > 0; break;
                case opLessEqual: holds = cmp <= 0; break;
                default: holds = cmp >= 0; break;
                }
                result = Variant(holds ? 1 : 0);
            }
            }
            stack.push_back(result);
            ++i;
            continue;
        }
        case opUnaryMinus:
        case opNot:
        case opInt:
        case opFrac:
        case opRound:
        case opStr: {
            const Variant v = pop();
            Variant result;
            switch (u) {
            case opUnaryMinus:
                result = VarNeg(v);
                break;
            case opNot:
                result = Variant(VarCompare(v, Variant(0)) == 0 ? 1 : 0);
                break;
            case opInt:
                result = Variant(std::trunc(v.ToDouble()));
                break;
            case opFrac: {
                const double x = v.ToDouble();
                result = Variant(x - std::trunc(x));
                break;
            }
            case opRound:
                result = IntegerOrDouble(std::nearbyint(v.ToDouble())); // halves to even
                break;
            default:
                result = Variant(v.ToString());
                break;
            }
            stack.push_back(result);
            ++i;
            continue;
        }
        default:
            break;
        }
        if (u < 32 || c == u'(' || c == u')') {
            throw EParserError(QStringLiteral("Недопустимый символ в выражении"));
        }
        const QString operand = ReadOperand(postfix, i, false);
        if (operand.isEmpty()) {
            ++i;
            continue;
        }
        if (operand[0].isDigit() || operand[0] == u',' || operand[0] == u'.') {
            QString number = operand;
            number.replace(u',', u'.');
            stack.emplace_back(TextAsNumber(number));
            continue;
        }
        Variant value;
        if (OnValue)
            OnValue(operand.toUpper(), value);
        stack.push_back(value);
    }
    return stack.empty() ? Variant() : stack.front();
}
