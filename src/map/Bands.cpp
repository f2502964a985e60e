#include "Bands.h"

#include <cmath>

namespace {
// Band edges typed as decimals (0.1 ms) are not exact in binary: a value on an edge must not
// fall into the band below by a rounding error.
constexpr double EdgeTolerance = 1e-9;
} // namespace

bool Bands::Valid() const {
    return std::isfinite(first) && std::isfinite(last) && width > 0 && last >= first &&
           (last - first) / width < 10000;
}

int Bands::Count() const {
    return Valid() ? int(std::floor((last - first) / width + EdgeTolerance)) + 1 : 0;
}

std::optional<int> Bands::Of(double value) const {
    if (!std::isfinite(value))
        return std::nullopt;
    const double at = (value - first) / width + EdgeTolerance;
    if (at < 0)
        return std::nullopt;
    const int band = int(at);
    if (band >= Count())
        return std::nullopt;
    return band;
}
