#pragma once
// What assistive technology reads of a MapView: a table whose children are its cells, row by
// row, each named by its bands, mean and count, described by its spread.

namespace MapViewAccessible {

// Installs the factory once; the view calls it.
void Install();

} // namespace MapViewAccessible
