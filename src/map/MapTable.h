#pragma once
// The cells of a map, row by row (engine-speed bands) and column by column (load bands).

#include "CellStats.h"
#include "MapLayout.h"

#include <vector>

struct MapCell {
    int row = 0;
    int column = 0;
    bool operator==(const MapCell& other) const {
        return row == other.row && column == other.column;
    }
};

class MapTable {
public:
    MapTable() = default;
    explicit MapTable(MapLayout layout);

    const MapLayout& Layout() const { return layout_; }
    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    const CellStats& At(int row, int column) const { return cells_[Index(row, column)]; }
    CellStats& At(int row, int column) { return cells_[Index(row, column)]; }
    const CellStats& At(MapCell cell) const { return At(cell.row, cell.column); }
    // The cells in row order, as one index: row × Columns() + column.
    CellStats& AtIndex(int index) { return cells_[size_t(index)]; }
    MapCell CellOf(int index) const { return {index / columns_, index % columns_}; }
    int64_t Samples() const;
    void Clear();

private:
    size_t Index(int row, int column) const {
        return size_t(row) * size_t(columns_) + size_t(column);
    }

    MapLayout layout_;
    int rows_ = 0;
    int columns_ = 0;
    std::vector<CellStats> cells_;
};
