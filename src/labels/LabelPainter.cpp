#include "LabelPainter.h"

#include "Cp1251.h"
#include "DataMatrix.h"

#include <QFontMetricsF>
#include <QPainter>

namespace {

// The biggest font of the family whose text fits the box; pixel sizes are the device's, so a
// PDF's fine resolution keeps every size.
QFont FittingFont(const QPainter& painter, const QString& text, const QSizeF& box, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(bold);
    font.setStyleHint(QFont::SansSerif);
    int size = std::max(1, static_cast<int>(box.height() * 0.9));
    for (; size > 1; size = size * 9 / 10) {
        font.setPixelSize(size);
        if (QFontMetricsF(font, painter.device()).horizontalAdvance(text) <= box.width())
            break;
    }
    font.setPixelSize(size);
    return font;
}

void Text(QPainter& painter, const QRectF& box, const QString& text, bool bold,
          Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    painter.setFont(FittingFont(painter, text, box.size(), bold));
    painter.drawText(box, align, text);
}

// A caption above its value, the value the bigger.
void Field(QPainter& painter, const QRectF& box, const QString& caption, const QString& value) {
    const double captionHeight = box.height() * 0.38;
    Text(painter, {box.left(), box.top(), box.width(), captionHeight}, caption, false,
         Qt::AlignLeft | Qt::AlignBottom);
    Text(painter,
         {box.left(), box.top() + captionHeight, box.width(), box.height() - captionHeight}, value,
         true, Qt::AlignLeft | Qt::AlignTop);
}

} // namespace

bool LabelPainter::Paint(QPainter& painter, const QRectF& target, const LabelLayout& layout,
                         const LabelContent& content) {
    const double sx = target.width() / layout.sizeMm.width();
    const double sy = target.height() / layout.sizeMm.height();
    const auto toTarget = [&](const QRectF& mm) {
        return QRectF(target.left() + mm.left() * sx, target.top() + mm.top() * sy, mm.width() * sx,
                      mm.height() * sy);
    };
    const LabelLayout::Places places = layout.Place();
    painter.save();
    painter.fillRect(target, Qt::white);
    painter.setPen(Qt::black);
    Text(painter, toTarget(places.serial), content.serial, true, Qt::AlignCenter);
    Field(painter, toTarget(places.made), QStringLiteral("Выпуск"), content.made.trimmed());
    Field(painter, toTarget(places.reference), QStringLiteral("Уставки"), content.reference);

    // The code holds the serial number in the bytes the controller holds it in.
    const std::optional<DataMatrix> code = DataMatrix::Encode(Cp1251::Encode(content.serial));
    if (code) {
        const QRectF box = toTarget(places.code);
        const double module = std::min(box.width() / code->columns, box.height() / code->rows);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (const QRectF& dark : code->dark)
            painter.drawRect(QRectF(box.left() + dark.left() * module,
                                    box.top() + dark.top() * module, dark.width() * module,
                                    dark.height() * module));
    }
    painter.restore();
    return code.has_value();
}
