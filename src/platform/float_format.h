#pragma once
// Real numbers in the five formats that edit boxes offer, with the Russian
// decimal comma: general (shortest text with at most `precision` significant
// digits), exponent, fixed, number (fixed with thousands grouped) and
// currency. `digits` is the count of decimals for the fixed formats and the
// least count of exponent digits for the general and exponent formats.
#include <QtCore/QString>

enum TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

QString FloatToStrF(double value, TFloatFormat format, int precision, int digits);
