#pragma once
// Paints a label onto any painter: a widget's preview, a PDF page, a printer's page.

#include "LabelContent.h"
#include "LabelLayout.h"

class QPainter;
class QRectF;

namespace LabelPainter {

// Paints the label into `target` (the painter's own coordinates), scaled from the layout's
// millimetres. False when the serial number has no code (the text is painted all the same).
bool Paint(QPainter& painter, const QRectF& target, const LabelLayout& layout,
           const LabelContent& content);

} // namespace LabelPainter
