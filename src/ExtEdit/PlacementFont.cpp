#include "PlacementFont.h"

#include <QFont>
#include <QWidget>

#include <algorithm>

namespace PlacementFont {

void Apply(QWidget& widget) {
    QFont font = widget.font();
    font.setPixelSize(std::max(1, PixelsForPoints(PointsForHeight(widget.height()))));
    widget.setFont(font);
}

} // namespace PlacementFont
