#pragma once
// Reader of lists of numbers and ranges as users type them: "1-10, 15 20..25".
// Each call yields the next pair (first, last); callers skip pairs with
// last < first and test the numbers against the tables themselves.
#include <QtCore/QString>

class TxqParser
{
public:
    TxqParser() = default;
    explicit TxqParser(const QString &text) { SetText(text); }

    const QString &Text() const { return m_text; }
    // Restarts reading at the first character.
    void SetText(const QString &text);

    // The next pair; false at the end of the text or at a token that breaks
    // the list. A number beyond the int32 range throws EConvertError.
    bool NextRange(int &first, int &last);

private:
    QString m_text;
    qsizetype m_pos = 0;
};

// The one shared reader that the tables and imports use: one list at a time.
// Texts longer than 4095 characters are cut there.
void SetParseText(const QString &text);
bool ParseNextRange(int &first, int &last);
