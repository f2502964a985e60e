#include "LabelLayout.h"

#include <algorithm>

LabelLayout::Places LabelLayout::Place() const {
    const double w = sizeMm.width();
    const double h = sizeMm.height();
    // The margin keeps the code's quiet zone clear of the label's edge.
    const double margin = std::max(1.5, std::min(w, h) * 0.06);
    const double gap = margin * 0.7;
    const double serialHeight = h * 0.16;
    Places p;
    p.serial = {margin, margin, w - 2 * margin, serialHeight};
    const double top = margin + serialHeight + gap;
    const double side = std::max(0.0, std::min(h - top - margin, (w - 2 * margin) * 0.55));
    p.code = {margin, top, side, side};
    const double left = margin + side + gap;
    const double textWidth = std::max(0.0, w - left - margin);
    const double half = side / 2;
    p.made = {left, top, textWidth, half};
    p.reference = {left, top + half, textWidth, half};
    return p;
}
