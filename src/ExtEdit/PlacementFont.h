#pragma once
// The font rule of the value controls: every placement sets the font size to
// height * 2 / 3 points. The layout is drawn at 96 dpi, so the size is set in pixels.

class QWidget;

namespace PlacementFont {

constexpr int kLayoutDpi = 96;
constexpr int kPointsPerInch = 72;

constexpr int PointsForHeight(int height) {
    return height * 2 / 3;
}
// Rounded to the nearest pixel: 16 pt gives 21 px, 14 pt gives 19 px.
constexpr int PixelsForPoints(int points) {
    return (points * kLayoutDpi * 2 + kPointsPerInch) / (kPointsPerInch * 2);
}

// Sets the widget's font size from its current height.
void Apply(QWidget& widget);

} // namespace PlacementFont
