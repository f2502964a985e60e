#pragma once
// The result of a comparison on paper: every word that differs, with both values as paper
// gives them (PaperValue) and the raw words, and the words written into the controller from B.

#include "Comparison.h"
#include "Sheet.h"

#include <vector>

namespace Sheets {

struct ComparedOnPaper {
    QString titleA;
    QString titleB;
    std::vector<Comparison::Row> differing; // as the window lists them now
    std::vector<Comparison::Row> written;   // written from B, with A's words before the write
};

Sheet ComparisonSheet(const ComparedOnPaper& compared, const Identity& identity,
                      const QString& madeAt);

} // namespace Sheets
