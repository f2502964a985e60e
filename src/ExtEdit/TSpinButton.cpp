#include "TSpinButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent), repeatTimer_(new QTimer(this)) {
    setFocusPolicy(Qt::NoFocus);
    repeatTimer_->setTimerType(Qt::PreciseTimer);
    connect(repeatTimer_, &QTimer::timeout, this, &TSpinButton::RepeatTick);
}

void TSpinButton::Place(const QRect& geometry, const QRect& up, const QRect& down) {
    upRect_ = up;
    downRect_ = down;
    setGeometry(geometry);
    update();
}

TSpinButton::Half TSpinButton::HalfAt(const QPoint& pos) const {
    // The down button lies over the row the two halves share.
    if (downRect_.contains(pos))
        return Half::Down;
    if (upRect_.contains(pos))
        return Half::Up;
    return Half::None;
}

QRect TSpinButton::RectOf(Half half) const {
    switch (half) {
    case Half::Up:
        return upRect_;
    case Half::Down:
        return downRect_;
    case Half::None:
        break;
    }
    return {};
}

void TSpinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || pressed_ != Half::None) {
        event->ignore();
        return;
    }
    const Half half = HalfAt(event->position().toPoint());
    if (half == Half::None || !isEnabled() || (focusControl_ && !focusControl_->isEnabled()))
        return;
    if (focusControl_ && focusControl_->focusPolicy() != Qt::NoFocus && !focusControl_->hasFocus())
        focusControl_->setFocus(Qt::MouseFocusReason); // another control commits its text here
    if (!isEnabled())
        return; // the focus change disabled the control
    pressed_ = half;
    over_ = true;
    pressClicks_ = 0;
    repeatTimer_->start(kRepeatDelayMs);
    update();
}

void TSpinButton::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_ == Half::None)
        return;
    const bool over = RectOf(pressed_).contains(event->position().toPoint());
    if (over != over_) {
        over_ = over;
        update();
    }
}

void TSpinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || pressed_ == Half::None)
        return;
    const Half half = pressed_;
    const bool over = RectOf(half).contains(event->position().toPoint());
    EndPress();
    if (over)
        PressClick(half);
}

void TSpinButton::RepeatTick() {
    // Ticks that fall into a running step (its handler let the event loop run) are dropped.
    if (clicking_)
        return;
    repeatTimer_->setInterval(kRepeatIntervalMs);
    if (pressed_ == Half::None || !over_ || !isEnabled())
        return;
    QPointer<TSpinButton> self(this);
    PressClick(pressed_);
    // The next repeat comes a full interval after this step has finished.
    if (self && pressed_ != Half::None)
        repeatTimer_->start(kRepeatIntervalMs);
}

void TSpinButton::PressClick(Half half) {
    QPointer<TSpinButton> self(this);
    continuing_ = pressClicks_++ > 0;
    Click(half);
    if (self)
        continuing_ = false;
}

void TSpinButton::Click(Half half) {
    if (clicking_) {
        // Released while a step's handler let the event loop run: step once it is done.
        deferredClick_ = half;
        return;
    }
    QPointer<TSpinButton> self(this);
    clicking_ = true;
    for (Half next = half; next != Half::None;) {
        deferredClick_ = Half::None;
        if (next == Half::Up)
            emit UpClick();
        else
            emit DownClick();
        if (!self)
            return;
        next = deferredClick_;
    }
    clicking_ = false;
}

void TSpinButton::EndPress() {
    repeatTimer_->stop();
    pressed_ = Half::None;
    over_ = false;
    update();
}

void TSpinButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled() && pressed_ != Half::None)
        EndPress();
    QWidget::changeEvent(event);
}

void TSpinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintHalf(painter, Half::Up);
    PaintHalf(painter, Half::Down);
}

void TSpinButton::PaintHalf(QPainter& painter, Half half) {
    const QRect r = RectOf(half);
    if (r.width() < 3 || r.height() < 3)
        return;
    const bool sunken = pressed_ == half && over_;
    const QPalette& pal = palette();
    painter.fillRect(r, sunken ? pal.color(QPalette::Midlight) : pal.color(QPalette::Button));

    // A one-pixel bevel: light above and left, dark below and right; reversed when pressed.
    const QColor light = pal.color(QPalette::Light);
    const QColor dark = pal.color(QPalette::Dark);
    painter.setPen(sunken ? dark : light);
    painter.drawLine(r.topLeft(), r.topRight() - QPoint(1, 0));
    painter.drawLine(r.topLeft(), r.bottomLeft() - QPoint(0, 1));
    painter.setPen(sunken ? light : dark);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());

    // The arrow: a solid triangle in the middle, moved by a pixel while pressed.
    const int halfBase = std::max(1, (r.width() - 6) / 3);
    const int arrowHeight = std::min(halfBase + 1, std::max(1, r.height() - 4));
    QPoint centre = r.center();
    if (sunken)
        centre += QPoint(1, 1);
    const int top = centre.y() - arrowHeight / 2;
    const int bottom = top + arrowHeight - 1;
    const QColor arrowColour =
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    painter.setPen(arrowColour);
    painter.setBrush(arrowColour);
    const QPoint tip(centre.x(), half == Half::Up ? top : bottom);
    const int baseY = half == Half::Up ? bottom : top;
    const QPoint corners[] = {tip, {centre.x() - halfBase, baseY}, {centre.x() + halfBase, baseY}};
    painter.drawPolygon(corners, 3);
}
