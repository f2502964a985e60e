#include "Pictures.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace Pictures {

namespace {

void DrawHousing(QPainter& p, const QRectF& body) {
    QLinearGradient metal(body.topLeft(), body.bottomRight());
    metal.setColorAt(0.0, QColor(210, 214, 220));
    metal.setColorAt(1.0, QColor(120, 126, 136));
    p.setPen(QPen(QColor(60, 64, 70), 1.5));
    p.setBrush(metal);
    p.drawRoundedRect(body, 8, 8);
    // Cooling ribs along the top edge.
    p.setPen(QPen(QColor(95, 100, 110), 1));
    for (qreal x = body.left() + 14; x < body.right() - 10; x += 9)
        p.drawLine(QPointF(x, body.top() + 6), QPointF(x, body.top() + 18));
    // Mounting lugs.
    p.setBrush(QColor(150, 155, 162));
    p.setPen(QPen(QColor(60, 64, 70), 1));
    p.drawEllipse(QPointF(body.left() + 7, body.bottom() - 7), 3.5, 3.5);
    p.drawEllipse(QPointF(body.right() - 7, body.bottom() - 7), 3.5, 3.5);
}

void DrawConnector(QPainter& p, const QRectF& shell) {
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(QColor(45, 45, 50));
    p.drawRoundedRect(shell, 3, 3);
    p.setBrush(QColor(200, 170, 60));
    p.setPen(Qt::NoPen);
    const int pins = 9;
    const qreal step = (shell.width() - 10) / (pins - 1);
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < pins - row; ++i)
            p.drawEllipse(
                QPointF(shell.left() + 5 + step * i + row * step / 2, shell.top() + 6 + row * 7),
                1.6, 1.6);
}

void DrawNamePlate(QPainter& p, const QRectF& plate) {
    p.setPen(QPen(QColor(30, 30, 90), 1));
    p.setBrush(QColor(245, 245, 235));
    p.drawRect(plate);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(17);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(20, 40, 140));
    p.drawText(plate.adjusted(0, 2, 0, -14), Qt::AlignCenter, QStringLiteral("TARVIK-Q5"));
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(9);
    p.setFont(small);
    p.setPen(QColor(60, 60, 60));
    p.drawText(plate.adjusted(0, 20, 0, -2), Qt::AlignCenter, QStringLiteral("GAS INJECTION ECU"));
}

void DrawLamp(QPainter& p, const QPointF& centre, const QColor& colour) {
    QRadialGradient glow(centre - QPointF(1, 1), 5);
    glow.setColorAt(0.0, Qt::white);
    glow.setColorAt(0.5, colour);
    glow.setColorAt(1.0, colour.darker(160));
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(glow);
    p.drawEllipse(centre, 4.5, 4.5);
}

} // namespace

QPixmap ControllerUnit() {
    QPixmap picture(199, 137);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // Cable leaving the connector.
    QPainterPath cable;
    cable.moveTo(48, 24);
    cable.cubicTo(30, 10, 14, 16, 4, 4);
    p.setPen(QPen(QColor(30, 30, 30), 6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(cable);

    DrawHousing(p, QRectF(10, 26, 180, 104));
    DrawConnector(p, QRectF(40, 16, 70, 22));
    DrawNamePlate(p, QRectF(28, 56, 120, 40));
    DrawLamp(p, QPointF(165, 60), QColor(40, 200, 40));
    DrawLamp(p, QPointF(165, 78), QColor(240, 180, 20));
    DrawLamp(p, QPointF(165, 96), QColor(220, 40, 40));
    p.setPen(QColor(40, 40, 40));
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(8);
    p.setFont(small);
    p.drawText(QRectF(28, 104, 120, 14), Qt::AlignCenter, QStringLiteral("12 V  ·  LPG"));
    return picture;
}

QIcon WindowIcon() {
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setPen(QColor(20, 20, 80));
    p.setBrush(QColor(60, 90, 200));
    p.drawRect(1, 4, 13, 10);
    p.setBrush(QColor(40, 40, 40));
    p.drawRect(4, 1, 7, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 230, 40));
    p.drawRect(11, 6, 2, 2);
    p.setBrush(QColor(250, 200, 0));
    p.drawRect(3, 7, 6, 4);
    return QIcon(icon);
}

} // namespace Pictures
