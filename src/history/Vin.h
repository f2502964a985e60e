#pragma once
// The vehicle identification number: 17 characters of digits and the capital Latin letters but
// I, O and Q, with a check digit in place 9 where the maker's region requires one (North America
// and China, whose numbers begin with 1–5 or L).

#include <QString>

#include <optional>

namespace Vin {

// Why the text is no VIN, in the tool's words; none when it is one.
std::optional<QString> Refusal(const QString& vin);

// The check digit the other sixteen characters call for ('0'..'9' or 'X'); `vin` is 17 valid
// characters.
QChar CheckDigit(const QString& vin);

} // namespace Vin
