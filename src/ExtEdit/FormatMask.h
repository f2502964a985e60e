#pragma once
// The numeric display mask of the value controls and the monitor labels:
// '#' optional digit, '0' required digit, '.' decimal point, anything else literal.

#include <QString>

#include <optional>

namespace FormatMask {

// The value written through the mask. The decimal separator is always '.'.
QString Format(const QString& mask, long double x);

// Strict text-to-real conversion: optional sign, digits, optional '.' with digits,
// optional exponent (e/E, optional sign, at least one digit); "." alone is 0.
// Anything else (blanks, "inf", "nan", hexadecimal, a lone sign, empty text) fails.
std::optional<long double> StrToExtended(const QString& text);

} // namespace FormatMask
