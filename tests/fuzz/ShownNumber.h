#pragma once
// Reading a text written through a format mask back into its parts: the sign, the number
// (its digits and decimal point, in order) and the literal text around them.

#include <QString>

struct WrittenParts {
    bool negative = false; // the text starts with '-'
    QString number;        // every digit and '.', in order
    QString literals;      // everything else, in order
};

WrittenParts SplitWritten(const QString& text);

// The literal text of a mask: everything but '#', '0' and '.'.
QString MaskLiterals(const QString& mask);

// The number of '#' and '0' after the first '.' of a mask.
int MaskDecimals(const QString& mask);

// A plain decimal text in one spelling: no leading zeros before the point, no trailing zeros
// after it, no point without decimals ("007.50" gives "7.5", "0.0" and "" give "").
QString NormalizedDecimal(const QString& number);

// A non-negative finite magnitude below 1e18 rounded to `decimals` places, halves away from
// zero, judged on its decimal expansion to 18 significant digits; normalized as above.
QString RoundedDecimal(long double magnitude, int decimals);

// The value of a plain decimal text ("12.50", ".5", "7"), read in the C locale; empty is 0.
long double DecimalValue(const QString& number);
