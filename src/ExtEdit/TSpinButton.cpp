#include "TSpinButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QTimer>

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
        Click(half);
}

void TSpinButton::RepeatTick() {
    repeatTimer_->setInterval(kRepeatIntervalMs);
    if (pressed_ != Half::None && over_ && isEnabled())
        Click(pressed_);
}

void TSpinButton::Click(Half half) {
    if (clicking_) {
        // A handler let the event loop run; this click follows once it is done.
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
    QStyleOptionButton button;
    button.initFrom(this);
    button.rect = RectOf(half);
    const bool sunken = pressed_ == half && over_;
    button.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &painter, this);

    QStyleOption arrow;
    arrow.initFrom(this);
    const int inset = std::max(2, button.rect.height() / 5);
    arrow.rect = button.rect.adjusted(inset, inset, -inset, -inset);
    if (sunken)
        arrow.rect.translate(1, 1);
    style()->drawPrimitive(half == Half::Up ? QStyle::PE_IndicatorArrowUp
                                            : QStyle::PE_IndicatorArrowDown,
                           &arrow, &painter, this);
}
