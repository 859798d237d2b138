#include "report/interpreter.h"

#include "report/engine.h"
#include "report/report_base.h"

#include <vector>

const QStringList ScriptPropertyNames = {
    QStringLiteral("Left"),       QStringLiteral("Top"),        QStringLiteral("Width"),
    QStringLiteral("Height"),     QStringLiteral("Flags"),      QStringLiteral("Visible"),
    QStringLiteral("FrameTyp"),   QStringLiteral("FrameWidth"), QStringLiteral("FrameColor"),
    QStringLiteral("FillColor"),  QStringLiteral("FontName"),   QStringLiteral("FontSize"),
    QStringLiteral("FontStyle"),  QStringLiteral("FontColor"),  QStringLiteral("Adjust"),
};

int ScriptPropertyIndex(const QString &name)
{
    for (int i = 0; i < ScriptPropertyNames.size(); ++i)
        if (ScriptPropertyNames[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool ScriptColorValue(const QString &name, std::int32_t &color)
{
    static const struct {
        const char *name;
        std::int32_t value;
    } colors[] = {
        {"clWhite", 0xFFFFFF}, {"clBlack", 0},         {"clMaroon", 0x000080}, {"clGreen", 0x008000},
        {"clOlive", 0x008080}, {"clNavy", 0x800000},   {"clPurple", 0x800080}, {"clTeal", 0x808000},
        {"clGray", 0x808080},  {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},    {"clLime", 0x00FF00},
        {"clYellow", 0x00FFFF}, {"clBlue", 0xFF0000},  {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},
        {"clTransparent", 0x1FFFFFFF},
    };
    for (const auto &c : colors) {
        if (name.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0) {
            color = c.value;
            return true;
        }
    }
    return false;
}

namespace {

// Blocks and expressions nested deeper than this are reported, not followed.
constexpr int MaxNesting = 200;
// A running script looks at the stop request this often.
constexpr int StepsBetweenStopChecks = 1000;
// The target of a forward jump until its statement is complete. A compile
// error can leave it so, and the lines compiled before the error still run:
// past the last line it ends the script instead of jumping back to its start.
constexpr int UnresolvedTarget = 0xFFFF;

QString Expected(const char *a, const char *b = nullptr)
{
    QString text = QStringLiteral("Здесь требуется \"%1\"").arg(QString::fromUtf8(a));
    if (b)
        text += QStringLiteral(" или \"%1\"").arg(QString::fromUtf8(b));
    return text;
}

QChar TargetLow(int target)
{
    return QChar(static_cast<char16_t>(target & 0xFF));
}

QChar TargetHigh(int target)
{
    return QChar(static_cast<char16_t>((target >> 8) & 0xFF));
}

int TargetOf(const QString &line)
{
    if (line.size() < 3)
        return 0;
    return (line[1].unicode() & 0xFF) | ((line[2].unicode() & 0xFF) << 8);
}

bool IsNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'.';
}

// Compiles one prepared source into coded lines.
class ScriptCompiler
{
public:
    ScriptCompiler(const QStringList &source, QStringList &coded, QStringList &errors)
        : m_source(source), m_coded(coded), m_errors(errors)
    {
    }

    void Compile()
    {
        for (const QString &line : m_source)
            m_buffer += PrepareLine(line);
        if (m_buffer.isEmpty())
            return;
        Statement();
        ResolveGotos();
    }

    // A source line as it goes into the buffer: a blank in front, comments cut
    // off, tabs made blanks, runs of blanks shrunk to one.
    static QString PrepareLine(const QString &line)
    {
        QString text = line;
        qsizetype cut = text.indexOf(QStringLiteral("//"));
        if (cut >= 0)
            text.truncate(cut);
        cut = text.indexOf(u'{');
        if (cut >= 0)
            text.truncate(cut);
        QString out = QStringLiteral(" ");
        for (QChar c : text) {
            if (c.unicode() < 32)
                c = u' '; // tabs, and line ends a file may have left
            if (c == u' ' && out.endsWith(u' '))
                continue;
            out += c;
        }
        return out;
    }

private:
    struct Label
    {
        QString Text; // digits and colon
        int Line;
    };
    struct GotoRef
    {
        int Line;
        QString Digits;
        qsizetype Position;
    };

    // ---- words ----

    void SkipBlanks()
    {
        while (m_pos < m_buffer.size() && m_buffer[m_pos] == u' ')
            ++m_pos;
    }

    QString ReadWord()
    {
        SkipBlanks();
        m_wordStart = m_pos;
        while (m_pos < m_buffer.size() && m_buffer[m_pos] != u' ' && m_buffer[m_pos].unicode() >= 32)
            ++m_pos;
        if (m_pos == m_wordStart && m_pos < m_buffer.size())
            ++m_pos; // a control character is a word of its own
        m_word = m_buffer.mid(m_wordStart, m_pos - m_wordStart).toUpper();
        return m_word;
    }

    void GiveBack() { m_pos = m_wordStart; }

    // The text at the position starts with a word (case-insensitive).
    bool AtWord(const char *word) const
    {
        const QLatin1String w(word);
        return m_buffer.mid(m_pos, w.size()).compare(w, Qt::CaseInsensitive) == 0;
    }

    // ---- errors and coded lines ----

    void Error(const QString &message, qsizetype position)
    {
        if (m_error)
            return;
        m_error = true;
        int line = 0, column = 0;
        LineAndColumn(position, line, column);
        m_errors.append(QStringLiteral("Строка %1/%2: %3").arg(line).arg(column).arg(message));
    }

    void Error(const QString &message) { Error(message, m_wordStart); }

    // Counts the non-blank characters before the position in the buffer and
    // finds the source line and column where that count is used up.
    void LineAndColumn(qsizetype position, int &line, int &column) const
    {
        qsizetype before = 0;
        for (qsizetype i = 0; i < position && i < m_buffer.size(); ++i)
            if (m_buffer[i] != u' ')
                ++before;
        for (qsizetype l = 0; l < m_source.size(); ++l) {
            QString text = m_source[l];
            qsizetype cut = text.indexOf(QStringLiteral("//"));
            if (cut >= 0)
                text.truncate(cut);
            cut = text.indexOf(u'{');
            if (cut >= 0)
                text.truncate(cut);
            for (qsizetype c = 0; c < text.size(); ++c) {
                if (text[c] == u' ' || text[c].unicode() < 32)
                    continue;
                if (before == 0) {
                    line = static_cast<int>(l + 1);
                    column = static_cast<int>(c + 1);
                    return;
                }
                --before;
            }
        }
        line = static_cast<int>(std::max<qsizetype>(m_source.size(), 1));
        column = m_source.isEmpty() ? 1 : static_cast<int>(m_source.last().size() + 1);
    }

    int AddLine(const QString &line)
    {
        m_coded.append(line);
        return static_cast<int>(m_coded.size() - 1);
    }

    int Count() const { return static_cast<int>(m_coded.size()); }

    void SetTarget(int lineIndex, int target)
    {
        QString &line = m_coded[lineIndex];
        line[1] = TargetLow(target);
        line[2] = TargetHigh(target);
    }

    static QString Jump(char16_t code, int target)
    {
        return QString(QChar(code)) + TargetLow(target) + TargetHigh(target);
    }

    // ---- statements ----

    class Nesting
    {
    public:
        explicit Nesting(ScriptCompiler &c) : m_c(c)
        {
            ++m_c.m_nesting;
            if (m_c.m_nesting > MaxNesting)
                m_c.Error(QStringLiteral("Слишком глубокая вложенность"), m_c.m_pos);
        }
        ~Nesting() { --m_c.m_nesting; }
        bool Deep() const { return m_c.m_nesting > MaxNesting; }

    private:
        ScriptCompiler &m_c;
    };

    void Statement()
    {
        Nesting nesting(*this);
        if (nesting.Deep() || m_error)
            return;
        const QString word = ReadWord();
        if (word.isEmpty())
            return;
        if (word == QLatin1String("BEGIN"))
            Block();
        else if (word == QLatin1String("IF"))
            IfStatement();
        else if (word == QLatin1String("REPEAT"))
            RepeatStatement();
        else if (word == QLatin1String("WHILE"))
            WhileStatement();
        else if (word == QLatin1String("GOTO"))
            GotoStatement();
        else if (word.startsWith(QLatin1String("END")))
            GiveBack();
        else if (IsLabel(word))
            LabelledStatement();
        else
            SimpleStatement();
    }

    // After a statement: a word beginning with ";" separates, and only the
    // ";" of it is taken.
    bool TakeSemicolon()
    {
        ReadWord();
        if (m_word.startsWith(u';')) {
            m_pos = m_wordStart + 1;
            return true;
        }
        return false;
    }

    void Block()
    {
        for (;;) {
            Statement();
            if (m_error)
                return;
            if (TakeSemicolon())
                continue;
            if (m_word.startsWith(QLatin1String("END"))) {
                m_pos = m_wordStart + 3;
                return;
            }
            Error(Expected(";", "end"));
            return;
        }
    }

    void IfStatement()
    {
        const QString condition = Expression();
        if (m_error)
            return;
        const int ifLine = AddLine(Jump(clIfFalseGoto, UnresolvedTarget) + condition);
        if (ReadWord() != QLatin1String("THEN")) {
            Error(Expected("then"));
            return;
        }
        Statement();
        if (m_error)
            return;
        if (ReadWord() == QLatin1String("ELSE")) {
            const int elseJump = AddLine(Jump(clGoto, UnresolvedTarget));
            SetTarget(ifLine, elseJump + 1);
            Statement();
            SetTarget(elseJump, Count());
        } else {
            SetTarget(ifLine, Count());
            GiveBack();
        }
    }

    void RepeatStatement()
    {
        const int loopStart = Count();
        do {
            Statement();
            if (m_error)
                return;
        } while (TakeSemicolon());
        if (m_word != QLatin1String("UNTIL")) {
            Error(Expected(";", "until"));
            return;
        }
        const QString condition = Expression();
        if (m_error)
            return;
        AddLine(Jump(clIfFalseGoto, loopStart) + condition);
    }

    void WhileStatement()
    {
        const int loopStart = Count();
        const QString condition = Expression();
        if (m_error)
            return;
        const int whileLine = AddLine(Jump(clIfFalseGoto, UnresolvedTarget) + condition);
        if (ReadWord() != QLatin1String("DO")) {
            Error(Expected("do"));
            return;
        }
        Statement();
        if (m_error)
            return;
        AddLine(Jump(clGoto, loopStart));
        SetTarget(whileLine, Count());
    }

    void GotoStatement()
    {
        ReadWord();
        qsizetype digits = 0;
        while (digits < m_word.size() && m_word[digits].isDigit())
            ++digits;
        if (digits == 0) {
            Error(QStringLiteral("Метка в goto должна быть числом"));
            return;
        }
        m_pos = m_wordStart + digits;
        const int line = AddLine(Jump(clGoto, UnresolvedTarget));
        m_jumps.push_back({line, m_word.left(digits), m_wordStart});
    }

    static bool IsLabel(const QString &word)
    {
        qsizetype digits = 0;
        while (digits < word.size() && word[digits].isDigit())
            ++digits;
        return digits > 0 && digits < word.size() && word[digits] == u':'
            && !(digits + 1 < word.size() && word[digits + 1] == u'=');
    }

    void LabelledStatement()
    {
        const qsizetype colon = m_word.indexOf(u':');
        const QString text = m_word.left(colon + 1);
        m_pos = m_wordStart + colon + 1;
        const bool known = std::any_of(m_labels.begin(), m_labels.end(),
                                       [&](const Label &l) { return l.Text == text; });
        if (!known)
            m_labels.push_back({text, Count()});
        Statement();
    }

    void SimpleStatement()
    {
        GiveBack();
        const qsizetype start = m_pos;
        qsizetype end = start;
        if (start < m_buffer.size() && m_buffer[start].isLetter()) {
            while (end < m_buffer.size() && IsNameChar(m_buffer[end]))
                ++end;
        }
        if (end > start && (end >= m_buffer.size() || m_buffer[end] != u'(')) {
            // An assignment.
            const QString name = m_buffer.mid(start, end - start);
            m_pos = end;
            ReadWord();
            if (!m_word.startsWith(QLatin1String(":="))) {
                Error(Expected(":="));
                return;
            }
            m_pos = m_wordStart + 2;
            const QString expression = Expression();
            if (m_error)
                return;
            AddLine(name + u' ' + expression);
            return;
        }
        const QString expression = Expression();
        if (m_error)
            return;
        AddLine(QString(QChar(clCall)) + expression);
    }

    void ResolveGotos()
    {
        for (const auto &jump : m_jumps) {
            const QString text = jump.Digits + u':';
            const auto label = std::find_if(m_labels.begin(), m_labels.end(),
                                            [&](const Label &l) { return l.Text == text; });
            if (label == m_labels.end()) {
                // A jump to nowhere ends the script rather than run on from
                // an arbitrary line.
                Error(QStringLiteral("Метка %1 не определена").arg(jump.Digits), jump.Position);
                SetTarget(jump.Line, Count());
                continue;
            }
            SetTarget(jump.Line, label->Line);
        }
    }

    // ---- expression syntax: checked here, computed by the evaluator ----

    QString Expression()
    {
        SkipBlanks();
        const qsizetype start = m_pos;
        ParseExpression();
        return m_buffer.mid(start, m_pos - start).trimmed();
    }

    void ParseExpression()
    {
        Nesting nesting(*this);
        if (nesting.Deep() || m_error)
            return;
        SimpleExpression();
        if (m_error)
            return;
        SkipBlanks();
        for (const char *op : {">=", "<=", "<>", "<", "=", ">"}) {
            if (AtWord(op)) {
                m_pos += qstrlen(op);
                SimpleExpression();
                return;
            }
        }
    }

    void SimpleExpression()
    {
        for (;;) {
            Term();
            if (m_error)
                return;
            SkipBlanks();
            if (m_pos < m_buffer.size() && (m_buffer[m_pos] == u'+' || m_buffer[m_pos] == u'-'))
                m_pos += 1;
            else if (AtWord("OR"))
                m_pos += 2;
            else
                return;
        }
    }

    void Term()
    {
        for (;;) {
            Factor();
            if (m_error)
                return;
            SkipBlanks();
            if (m_pos < m_buffer.size() && (m_buffer[m_pos] == u'*' || m_buffer[m_pos] == u'/'))
                m_pos += 1;
            else if (AtWord("AND") || AtWord("MOD"))
                m_pos += 3;
            else
                return;
        }
    }

    void Factor()
    {
        Nesting nesting(*this);
        if (nesting.Deep() || m_error)
            return;
        SkipBlanks();
        m_wordStart = m_pos;
        if (m_pos >= m_buffer.size()) {
            FactorMissing();
            return;
        }
        const QChar c = m_buffer[m_pos];
        if (c == u'(') {
            ++m_pos;
            ParseExpression();
            if (m_error)
                return;
            SkipBlanks();
            if (m_pos >= m_buffer.size() || m_buffer[m_pos] != u')') {
                m_wordStart = m_pos;
                Error(Expected(")"));
                return;
            }
            ++m_pos;
        } else if (c == u'[') {
            Bracketed();
        } else if (c == u'+' || c == u'-') {
            ++m_pos;
            ParseExpression();
        } else if (AtWord("NOT") && !(m_pos + 3 < m_buffer.size() && IsNameChar(m_buffer[m_pos + 3]))) {
            m_pos += 3;
            ParseExpression();
        } else if (c == u'\'') {
            const qsizetype close = m_buffer.indexOf(u'\'', m_pos + 1);
            if (close < 0) {
                FactorMissing();
                return;
            }
            m_pos = close + 1;
        } else if (c.isDigit()) {
            while (m_pos < m_buffer.size() && m_buffer[m_pos].isDigit())
                ++m_pos;
            if (m_pos + 1 < m_buffer.size() && m_buffer[m_pos] == u'.' && m_buffer[m_pos + 1].isDigit()) {
                ++m_pos;
                while (m_pos < m_buffer.size() && m_buffer[m_pos].isDigit())
                    ++m_pos;
            }
        } else if (c.isLetter() || c == u'_') {
            while (m_pos < m_buffer.size() && IsNameChar(m_buffer[m_pos]))
                ++m_pos;
            if (m_pos < m_buffer.size() && m_buffer[m_pos] == u'(') {
                ++m_pos;
                for (;;) {
                    ParseExpression();
                    if (m_error)
                        return;
                    SkipBlanks();
                    if (m_pos < m_buffer.size() && m_buffer[m_pos] == u',') {
                        ++m_pos;
                        continue;
                    }
                    if (m_pos < m_buffer.size() && m_buffer[m_pos] == u')') {
                        ++m_pos;
                        return;
                    }
                    m_wordStart = m_pos;
                    Error(Expected(",", ")"));
                    return;
                }
            }
        } else {
            FactorMissing();
        }
    }

    // Nothing that can start a value: an empty argument list, a stray sign.
    void FactorMissing() { Error(QStringLiteral("Здесь требуется выражение")); }

    void Bracketed()
    {
        int depth = 0;
        bool inDouble = false, inSingle = false;
        for (qsizetype i = m_pos; i < m_buffer.size(); ++i) {
            const QChar c = m_buffer[i];
            if (!inDouble && !inSingle) {
                if (c == u'[')
                    ++depth;
                else if (c == u']')
                    --depth;
            }
            if (!inSingle && c == u'"')
                inDouble = !inDouble;
            if (!inDouble && c == u'\'')
                inSingle = !inSingle;
            if (depth == 0) {
                m_pos = i + 1;
                return;
            }
        }
        Error(Expected("]"));
    }

    const QStringList &m_source;
    QStringList &m_coded;
    QStringList &m_errors;
    QString m_buffer;
    qsizetype m_pos = 0;
    qsizetype m_wordStart = 0;
    QString m_word;
    bool m_error = false;
    int m_nesting = 0;
    std::vector<Label> m_labels;
    std::vector<GotoRef> m_jumps;
};

} // namespace

TfrInterpretator::TfrInterpretator()
{
    // Through the virtual operations, so that a runner's overrides answer.
    Parser.OnValue = [this](const QString &name, Variant &value) { GetVariable(name, value); };
    Parser.OnFunction = [this](const QString &name, const Variant &p1, const Variant &p2, const Variant &p3,
                               QString &val) { CallFunction(name, p1, p2, p3, val); };
}

void TfrInterpretator::Compile(const QStringList &source, QStringList &coded, QStringList &errors)
{
    const QStringList text = source; // the source may be the coded list itself
    coded.clear();
    errors.clear();
    ScriptCompiler(text, coded, errors).Compile();
}

void TfrInterpretator::Run(const QStringList &coded)
{
    const int count = static_cast<int>(coded.size());
    int index = 0;
    int steps = 0;
    while (index >= 0 && index < count) {
        if (++steps % StepsBetweenStopChecks == 0 && EngineRunning() && Engine().StopRequested
            && Engine().StopRequested())
            return;
        const QString &line = coded[index];
        if (line.isEmpty()) {
            ++index;
            continue;
        }
        switch (line[0].unicode()) {
        case clIfFalseGoto: {
            const Variant value = Parser.Evaluate(line.mid(3));
            index = VarCompare(value, Variant(0)) == 0 ? TargetOf(line) : index + 1;
            break;
        }
        case clGoto:
            index = TargetOf(line);
            break;
        case clCall:
            Parser.Evaluate(line.mid(1));
            ++index;
            break;
        default: {
            const qsizetype blank = line.indexOf(u' ');
            const QString name = blank < 0 ? line : line.left(blank);
            const QString expression = blank < 0 ? QString() : line.mid(blank + 1);
            SetVariable(name, Parser.Evaluate(expression));
            ++index;
            break;
        }
        }
    }
}

namespace {

// The object a script name refers to and the property part of the name: the
// object being printed, or for "Object.Property" the named object of the page.
TfrScriptObject *TargetObject(const QString &name, QString &property)
{
    TfrEngine &e = Engine();
    const qsizetype dot = name.indexOf(u'.');
    if (dot < 0) {
        property = name;
        return e.CurrentObject;
    }
    property = name.mid(dot + 1);
    return e.CurrentRunPage ? e.CurrentRunPage->FindRunObject(name.left(dot)) : nullptr;
}

bool BandProperty(int index)
{
    return index == spLeft || index == spTop || index == spWidth || index == spHeight || index == spVisible;
}

Variant ResolveThroughReport(const QString &name)
{
    TfrEngine &e = Engine();
    if (e.CurrentReport)
        return e.CurrentReport->ValueResolution(name);
    if (e.ReportParser.OnValue) {
        Variant value;
        e.ReportParser.OnValue(name, value);
        return value;
    }
    throw EParserError(QStringLiteral("Undefined symbol \"%1\"").arg(name));
}

} // namespace

void TInterpretator::GetVariable(const QString &name, Variant &value)
{
    TfrEngine &e = Engine();
    value = Variant(0);
    if (e.ScriptVariables.IndexOf(name) >= 0) {
        value = e.ScriptVariables.GetValue(name);
        return;
    }
    if (name == QLatin1String("FREESPACE")) {
        value = Variant(QString::number(e.CurrentRunPage ? e.CurrentRunPage->FreeSpace() : 0));
        return;
    }
    QString property;
    TfrScriptObject *object = TargetObject(name, property);
    if (!object) {
        value = ResolveThroughReport(name);
        return;
    }
    const int index = ScriptPropertyIndex(property);
    if (index >= 0 && (index < FirstTextPropertyIndex || object->IsTextObject())) {
        if (object->IsBandObject() && !BandProperty(index))
            value = Variant(0);
        else
            value = object->ReadScriptProperty(index);
        return;
    }
    std::int32_t color = 0;
    if (index < 0 && ScriptColorValue(property, color)) {
        value = Variant(color);
        return;
    }
    value = ResolveThroughReport(name);
}

void TInterpretator::SetVariable(const QString &name, const Variant &value)
{
    TfrEngine &e = Engine();
    QString property;
    TfrScriptObject *object = TargetObject(name, property);
    const int index = ScriptPropertyIndex(property);
    if (index < 0) {
        e.ScriptVariables.SetValue(name, value);
        return;
    }
    if (!object)
        return;
    if (index >= FirstTextPropertyIndex && !object->IsTextObject())
        return;
    if (object->IsBandObject() && !BandProperty(index))
        return;
    object->WriteScriptProperty(index, value);
}

void TInterpretator::CallFunction(const QString &name, const Variant &p1, const Variant &p2, const Variant &p3,
                                  QString &val)
{
    TfrEngine &e = Engine();
    if (name == QLatin1String("NEWPAGE")) {
        if (e.CurrentBand)
            e.CurrentBand->NewPageRequested = true;
        val = QStringLiteral("0");
        return;
    }
    if (e.ReportParser.OnFunction)
        e.ReportParser.OnFunction(name, p1, p2, p3, val);
}
