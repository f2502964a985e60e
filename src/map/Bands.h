#pragma once
// Bands of one axis of the map: equal widths, the first starting at `first`, the last at
// `last`. A value exactly on a boundary belongs to the band above it.

#include <QString>

#include <optional>

struct Bands {
    double first = 0;
    double last = 0;
    double width = 1;

    int Count() const;
    double From(int band) const { return first + band * width; }
    double To(int band) const { return From(band + 1); }
    // The band holding the value; none outside every band or for an empty value.
    std::optional<int> Of(double value) const;
    // False for a width that is not positive or a last band before the first.
    bool Valid() const;
};
