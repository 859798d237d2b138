#include "model/number_parser.h"

#include "platform/numbers.h"

namespace {

enum TToken { tkNumber, tkDot, tkSeparator, tkRange, tkWord, tkOther, tkEnd };

constexpr qsizetype GlobalBufferChars = 4095;

bool IsLatin(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// One cursor over a text. The component and the global reader differ only in
// how they classify a lone dot and Latin letters.
class TScanner
{
public:
    TScanner(const QString &text, qsizetype &pos, bool wordsAndDots) : m_text(text), m_pos(pos), m_full(wordsAndDots) {}

    TToken Next(QString &value)
    {
        value.clear();
        if (m_pos >= m_text.size())
            return tkEnd;
        const QChar c = m_text[m_pos++];
        if (c == u' ' || c == u',' || c == u';')
            return tkSeparator;
        if (c == u'-')
            return tkRange;
        if (c == u'.') {
            if (m_pos < m_text.size() && m_text[m_pos] == u'.') {
                ++m_pos;
                return tkRange;
            }
            return m_full ? tkDot : tkOther;
        }
        if (c.isDigit() && c.unicode() < 128) {
            value += c;
            while (m_pos < m_text.size() && m_text[m_pos].unicode() < 128 && m_text[m_pos].isDigit())
                value += m_text[m_pos++];
            return tkNumber;
        }
        if (m_full && IsLatin(c)) {
            while (m_pos < m_text.size() && IsLatin(m_text[m_pos]))
                ++m_pos;
            return tkWord;
        }
        return tkOther;
    }

    void SkipBlanks()
    {
        while (m_pos < m_text.size() && m_text[m_pos] == u' ')
            ++m_pos;
    }

private:
    const QString &m_text;
    qsizetype &m_pos;
    bool m_full;
};

bool ReadRange(TScanner &scanner, int &first, int &last)
{
    QString value;
    TToken token;
    do
        token = scanner.Next(value);
    while (token != tkNumber && token != tkRange && token != tkEnd);

    if (token == tkEnd)
        return false;
    if (token == tkRange) {
        first = 1;
        if (scanner.Next(value) != tkNumber)
            return false;
        last = StrToInt(value);
        return true;
    }
    first = last = StrToInt(value);
    switch (scanner.Next(value)) {
    case tkSeparator:
    case tkEnd:
        return true;
    case tkRange:
        scanner.SkipBlanks();
        switch (scanner.Next(value)) {
        case tkNumber:
            last = StrToInt(value);
            return true;
        case tkSeparator:
        case tkEnd:
            return true;
        default:
            return false;
        }
    default:
        return false;
    }
}

QString g_parseText;
qsizetype g_parsePos = 0;

} // namespace

void TxqParser::SetText(const QString &text)
{
    m_text = text;
    m_pos = 0;
}

bool TxqParser::NextRange(int &first, int &last)
{
    TScanner scanner(m_text, m_pos, false);
    return ReadRange(scanner, first, last);
}

void SetParseText(const QString &text)
{
    // The buffer is NUL-terminated: a NUL inside the text ends the list there.
    g_parseText = text.left(GlobalBufferChars);
    const qsizetype nul = g_parseText.indexOf(QChar(0));
    if (nul >= 0)
        g_parseText.truncate(nul);
    g_parsePos = 0;
}

bool ParseNextRange(int &first, int &last)
{
    TScanner scanner(g_parseText, g_parsePos, true);
    return ReadRange(scanner, first, last);
}
