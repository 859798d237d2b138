#pragma once
// Rounding and number texts. The system rounds halves to even everywhere, and
// texts shown to the user or printed follow the Russian conventions (decimal
// comma) whatever the machine's locale. Files of other programs use a point;
// their readers and writers pass the separator explicitly.
#include <QtCore/QDateTime>
#include <QtCore/QString>
#include <cstdint>

// Round to the nearest integer, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
std::int64_t Round(double value);

// Round to d decimals, halves to even on the decimal value.
double RoundTo(double value, int decimals);

// Fixed notation with d decimals: FormatFixed(1.5, 2) == "1,50".
QString FormatFixed(double value, int decimals, QChar separator = u',');

// "fixed p/d": at most p significant digits, d decimals; values too large for
// p digits come out in exponent form ("1,2345E+15").
QString FormatFixedPD(double value, int precision, int decimals, QChar separator = u',');

// "w:d": d decimals right-aligned in a field of at least w characters.
QString FormatWD(double value, int width, int decimals, QChar separator = u',');

// General form with up to 15 significant digits and no trailing zeros
// ("0,1", "1234,5", "1E-7"), as the system writes doubles into edit boxes.
QString FloatToStr(double value, QChar separator = u',');

// Reads a number written with a decimal comma or point, blanks around it
// allowed. Returns false for anything else (empty, letters, two separators).
bool TryStrToFloat(const QString &text, double &value);
bool TryStrToInt(const QString &text, int &value);
// The same, raising EConvertError for a text that is no integer.
int StrToInt(const QString &text);

// What an edit box says of a text that is no number, and of an integer
// outside its bounds; every dialog that reads numbers uses the same words.
QString InvalidNumberMessage(const QString &text, bool integer);
QString IntRangeMessage(int min, int max);

// The date and time in the Russian short date and long time format
// ("07.03.2026 9:05:04"), as the status bar's clock shows them.
QString ShortDateLongTime(const QDateTime &moment);
