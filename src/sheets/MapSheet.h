#pragma once
// The correction map on paper, a page of its own: a row a load band and a column a speed band
// (so that the table fits a portrait page), each cell its mean with its count in brackets; a
// mean of fewer samples than the minimum in square brackets. The lines above the table say
// where the samples came from and what the filters dropped.

#include "MapTable.h"
#include "Sheet.h"

namespace Sheets {

Section MapSection(const MapTable& table, int64_t minimumCount, const QStringList& notes);

// A sheet of the map alone.
Sheet MapSheet(const Section& map, const QString& madeAt);

} // namespace Sheets
