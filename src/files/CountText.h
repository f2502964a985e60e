#pragma once
// A count with its noun as Russian says it: "1 байт", "2 байта", "5 байт", "11 байт",
// "21 байт", "272 байта". Every text that writes a count with a noun takes the noun from here.

#include <QString>

namespace CountText {

// The noun's three forms: after 1 (and 21, 101…), after 2 to 4 (22, 104…), after the rest
// (0, 5 to 20, 111…).
struct Forms {
    QString one;
    QString few;
    QString many;
};

// The form that goes with the count.
const QString& Noun(qint64 count, const Forms& forms);

// "<count> <noun>".
QString Of(qint64 count, const Forms& forms);

} // namespace CountText
