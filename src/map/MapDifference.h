#pragma once
// Two maps of one layout cell by cell: after minus before, and for the trim whether the cell
// moved towards zero or away from it.

#include "MapTable.h"

#include <vector>

enum class Movement {
    Unknown, // a side without samples
    Towards, // nearer zero after
    Away,    // farther from zero after
    Level,   // as near as before, or a value without an aim of zero
};

struct DifferenceCell {
    double delta = 0; // after − before, where both have samples
    Movement movement = Movement::Unknown;
    bool sure = false; // both sides have at least the minimum count
};

class MapDifference {
public:
    MapDifference() = default;
    MapDifference(const MapTable& before, const MapTable& after, int64_t minimumCount);

    int Rows() const { return rows_; }
    int Columns() const { return columns_; }
    const DifferenceCell& At(int row, int column) const {
        return cells_[size_t(row) * size_t(columns_) + size_t(column)];
    }
    // The sure cells that moved each way.
    int Count(Movement movement) const;

private:
    int rows_ = 0;
    int columns_ = 0;
    std::vector<DifferenceCell> cells_;
};
