#pragma once
// The colours of the map's cells: for the trim a diverging scale around zero (above zero, where
// the trim adds gas to a lean mixture, in red; below, where it takes gas from a rich one, in
// blue; white near zero), for other values a sequential one
// from pale to deep green; a cell under the minimum count drawn pale.

#include <QColor>

namespace MapColours {

// The trim's colour at this percent; the scale is full at ±Span.
inline constexpr double TrimSpan = 15;
QColor Trim(double percent);
// A value's colour where `from` is the smallest mean and `to` the largest.
QColor Sequential(double value, double from, double to);
// The same colour as a cell with too few samples shows it.
QColor Pale(const QColor& colour);
// The difference's: moved towards zero green, away red, level grey.
QColor Towards();
QColor Away();

} // namespace MapColours
