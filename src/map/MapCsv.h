#pragma once
// A map as a CSV file for a spreadsheet, as the journal writes its own: UTF-8 with its
// byte-order mark, cells a spreadsheet never runs. Three grids one under the other: the mean,
// the count of samples and the standard deviation of each cell; an empty cell has none.

#include "MapTable.h"

#include <QByteArray>

namespace MapCsv {

QByteArray Bytes(const MapTable& table);

// Writes the file whole or not at all. Throws EInOutError.
void Write(const MapTable& table, const QString& path);

} // namespace MapCsv
