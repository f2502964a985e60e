#include "MapTable.h"

MapTable::MapTable(MapLayout layout)
    : layout_(std::move(layout)), rows_(layout_.speed.Count()), columns_(layout_.load.Count()),
      cells_(size_t(rows_) * size_t(columns_)) {}

int64_t MapTable::Samples() const {
    int64_t samples = 0;
    for (const CellStats& cell : cells_)
        samples += cell.count;
    return samples;
}

void MapTable::Clear() {
    std::fill(cells_.begin(), cells_.end(), CellStats{});
}
