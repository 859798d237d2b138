#pragma once
// The text object's helpers that other parts of the engine use too.
#include <QtCore/QString>

#include <vector>

// The paragraph mark that wrapping appends to the last line of a paragraph;
// text holding it somewhere counts as already wrapped.
constexpr QChar ParagraphMark = QChar(1);

// The positions (1-based, ascending) after which a Russian word may be
// broken: ПРОГРАММА gives 4 and 7. Words of four letters or fewer, and words
// of other alphabets, give none.
std::vector<int> HyphenPoints(const QString &word);
