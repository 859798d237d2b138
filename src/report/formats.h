#pragma once
// Date, time and number texts of the report engine: the fixed Russian
// conventions (dd.mm.yyyy, h:nn:ss, decimal comma, Russian month names) that
// reports use whatever the machine's locale.
#include <QtCore/QString>

namespace fmt {
constexpr QChar DecimalSeparator = u',';
constexpr QChar ThousandSeparator = u' ';
constexpr QChar DateSeparator = u'.';
constexpr QChar TimeSeparator = u':';
} // namespace fmt

// Date-times are days since 1899-12-30 with the time of day as the fraction.
double EncodeDate(int year, int month, int day);
double EncodeTime(int hour, int minute, int second, int msec = 0);
void DecodeDate(double days, int &year, int &month, int &day);
void DecodeTime(double days, int &hour, int &minute, int &second, int &msec);
double NowAsDays();

// "1.2.2003", "01.02.03" (years below 100 fall into 1950..2049), "1.2" (this
// year). False for anything else, or for a day that does not exist.
bool TryStrToDate(const QString &text, double &days);
// "10:30", "10:30:15", "10:30:15.250".
bool TryStrToTime(const QString &text, double &days);
// A date, a time, or a date followed by a blank and a time.
bool TryStrToDateTime(const QString &text, double &days);

// Pattern letters: d dd ddd dddd ddddd dddddd, m mm mmm mmmm (minutes right
// after an hour; a month name after a day number in the genitive), yy yyyy,
// h hh, n nn, s ss, z zzz, t tt, c, am/pm, a/p, "/" the date separator, ":"
// the time separator, quoted texts kept as they are.
QString FormatDateTime(const QString &pattern, double days);
// Date, then the time unless it is midnight ("c").
QString DateTimeToStr(double days);

// Number patterns: "0" a digit, "#" an optional digit, "." the decimal point
// (written as `decimalSeparator`), "," thousands, "E+"/"E-" exponent, quoted
// texts, up to three sections "positive;negative;zero".
QString FormatFloatPattern(const QString &pattern, double value, QChar decimalSeparator = fmt::DecimalSeparator);
// Fixed notation with `decimals` decimals and at most `precision` significant
// digits; exponent form when the integer part needs more.
QString FormatFloatFixed(double value, int precision, int decimals, QChar decimalSeparator, bool thousands);
