#pragma once
// What became of a unit's label: whether it was printed, whether its scan matched the unit,
// and how often it was printed again from the day's list. A failed unit gets none.

#include <QString>

enum class LabelPrinting { None, Printed, NotPrinted };
enum class LabelCheck { None, Verified, Voided };

struct LabelOutcome {
    LabelPrinting printing = LabelPrinting::None;
    LabelCheck check = LabelCheck::None;
    int reprints = 0;

    // The report's cells, and back; an unknown cell reads as none.
    static QString PrintingText(LabelPrinting printing);
    static QString CheckText(LabelCheck check);
    static LabelPrinting PrintingOf(const QString& text);
    static LabelCheck CheckOf(const QString& text);
};
