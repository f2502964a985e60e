#include "MapColours.h"

#include <algorithm>
#include <cmath>

namespace MapColours {

namespace {

QColor Mix(const QColor& from, const QColor& to, double at) {
    at = std::clamp(at, 0.0, 1.0);
    return QColor::fromRgbF(float(from.redF() + (to.redF() - from.redF()) * at),
                            float(from.greenF() + (to.greenF() - from.greenF()) * at),
                            float(from.blueF() + (to.blueF() - from.blueF()) * at));
}

const QColor White(255, 255, 255);
const QColor Rich(33, 102, 172); // below zero: the trim takes gas away
const QColor Lean(178, 24, 43);  // above zero: the trim adds gas
// Within this the trim is near enough to zero to stay white.
constexpr double NearZero = 1.0;

} // namespace

QColor Trim(double percent) {
    const double magnitude = std::max(0.0, std::abs(percent) - NearZero) / (TrimSpan - NearZero);
    return Mix(White, percent < 0 ? Rich : Lean, magnitude);
}

QColor Sequential(double value, double from, double to) {
    const double at = to > from ? (value - from) / (to - from) : 0.5;
    return Mix(QColor(237, 248, 233), QColor(35, 139, 69), at);
}

QColor Pale(const QColor& colour) {
    return Mix(colour, QColor(245, 245, 245), 0.75);
}

QColor Towards() {
    return QColor(145, 207, 96);
}

QColor Away() {
    return QColor(252, 141, 89);
}

} // namespace MapColours
