#pragma once
// The number texts of a typed-text commit, written apart from the control's own code so that
// the two can be compared.

#include <QString>

#include <optional>

namespace NumberGrammar {

// Optional sign, digits with an optional point and more digits (or a point and digits),
// optional exponent: e or E, optional sign, at least one digit. A lone "." also counts.
bool IsStrictNumber(const QString& text);

// The value of a strict number; nothing when the text is not one or lies beyond the range of
// long double.
std::optional<long double> StrictValue(const QString& text);

// The number string that a commit reads out of the field's text: a comma counts as a point;
// it starts at the first digit, sign or point, and takes digits, points and exponent letters
// from there up to the first blank that does not group thousands ("1 600"), passing over
// every other character.
QString NumberString(const QString& typed);

} // namespace NumberGrammar
