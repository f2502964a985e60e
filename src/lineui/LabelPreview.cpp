#include "LabelPreview.h"

#include "LabelPainter.h"

#include <QPainter>

LabelPreview::LabelPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LabelPreview"));
    setAccessibleName(QStringLiteral("Образец этикетки"));
    setFixedSize(sizeHint());
}

void LabelPreview::Show(const LabelLayout& layout, const LabelContent& content) {
    layout_ = layout;
    content_ = content;
    setAccessibleDescription(
        QStringLiteral("%1 × %2 мм: серийный номер %3 текстом и кодом DataMatrix, выпуск %4, "
                       "уставки %5")
            .arg(layout.sizeMm.width())
            .arg(layout.sizeMm.height())
            .arg(content.serial, content.made, content.reference));
    updateGeometry();
    update();
}

QSize LabelPreview::sizeHint() const {
    return {64, 40}; // one row of the setup high: the window fits a laptop's screen
}

void LabelPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QSizeF mm = layout_.sizeMm;
    const double scale = std::min((width() - 2) / mm.width(), (height() - 2) / mm.height());
    const QRectF target(1, 1, mm.width() * scale, mm.height() * scale);
    LabelPainter::Paint(painter, target, layout_, content_);
    painter.setPen(Qt::gray);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(target.adjusted(-0.5, -0.5, 0.5, 0.5));
}
