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

// The value of a plain decimal text ("12.50", ".5", "7"), read in the C locale; empty is 0.
long double DecimalValue(const QString& number);
