#pragma once
// What one unit's label tells.

#include <QString>

struct LabelContent {
    QString serial;    // as the unit holds it, trailing blanks left out
    QString made;      // date of manufacture, as the unit holds it
    QString reference; // the first eight hex digits of the reference file's SHA-256
};
