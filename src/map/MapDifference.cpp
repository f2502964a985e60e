#include "MapDifference.h"

#include <cmath>
#include <stdexcept>

namespace {
// Means closer than this to each other's distance from zero have not moved.
constexpr double LevelTolerance = 1e-9;
} // namespace

MapDifference::MapDifference(const MapTable& before, const MapTable& after, int64_t minimumCount)
    : rows_(after.Rows()), columns_(after.Columns()), cells_(size_t(rows_) * size_t(columns_)) {
    if (before.Rows() != rows_ || before.Columns() != columns_)
        throw std::logic_error("maps of different bands");
    const bool aroundZero = after.Layout().AroundZero();
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < columns_; ++c) {
            const CellStats& was = before.At(r, c);
            const CellStats& is = after.At(r, c);
            DifferenceCell& cell = cells_[size_t(r) * size_t(columns_) + size_t(c)];
            if (was.Empty() || is.Empty())
                continue;
            cell.delta = is.Mean() - was.Mean();
            cell.sure = was.count >= minimumCount && is.count >= minimumCount;
            const double nearer = std::abs(was.Mean()) - std::abs(is.Mean());
            cell.movement = !aroundZero || std::abs(nearer) <= LevelTolerance
                                ? Movement::Level
                                : (nearer > 0 ? Movement::Towards : Movement::Away);
        }
}

int MapDifference::Count(Movement movement) const {
    int count = 0;
    for (const DifferenceCell& cell : cells_)
        count += cell.sure && cell.movement == movement;
    return count;
}
