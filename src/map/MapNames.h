#pragma once
// The names and units of the map's axes and values, from the catalogue's live entries, and
// the texts of a band and of a cell's value.

#include "MapLayout.h"

#include <QString>

#include <cstdint>

struct CellStats;

namespace Catalogue {
struct Entry;
}

namespace MapNames {

// The live entry at this address; every address the map names has one.
const Catalogue::Entry& Live(uint8_t address);

QString SpeedName();
QString SpeedUnit();
QString LoadName(LoadAxis axis);
QString LoadUnit(LoadAxis axis);
// The column a log holds the value in (the ratio has none: it is computed).
QString ValueName(const MapLayout& layout);
QString ValueUnit(const MapLayout& layout);
// Decimals the value is shown with.
int ValueDecimals(const MapLayout& layout);

// "3000–3500", with a decimal comma where the width needs one.
QString BandText(const Bands& bands, int band);
// The value in the window's voice: "+12,0" for the trim (its sign always shown), else "0,85".
QString ValueText(const MapLayout& layout, double value);
// "57 замеров".
QString SamplesText(int64_t count);
// "3000–3500 об/мин, 8–9 мс: +12,0 %, 57 замеров"; "…: нет замеров" for an empty cell.
QString CellText(const MapLayout& layout, int row, int column, const CellStats& cell);

} // namespace MapNames
