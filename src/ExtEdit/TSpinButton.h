#pragma once
// Two stacked arrow buttons (up over down) that click once on release and repeat while
// held: the first repeat 400 ms after the press, then one every 100 ms, only while the
// pointer stays over the pressed button. The button never takes the keyboard focus; a
// press first gives the focus to its focus control.

#include "SpinButtonLayout.h"

#include <QPointer>
#include <QWidget>

class QTimer;

class TSpinButton : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRepeatDelayMs = 400;
    static constexpr int kRepeatIntervalMs = 100;

    enum class Half { None, Up, Down };

    explicit TSpinButton(QWidget* parent = nullptr);

    QWidget* FocusControl() const { return focusControl_; }
    void SetFocusControl(QWidget* control) { focusControl_ = control; }

    // Places the button (in its parent's coordinates) and lays out its two halves.
    void Place(const QRect& geometry, const QRect& up, const QRect& down);
    QRect UpRect() const { return upRect_; }
    QRect DownRect() const { return downRect_; }

    // One click of a half as if it had been pressed and released, for the keyboard.
    void ClickHalf(Half half) { Click(half); }

    // True while a click runs that one press of the mouse already clicked before (a repeat,
    // or the release after repeats): one gesture, however many steps.
    bool ContinuesGesture() const { return continuing_; }

    Half PressedHalf() const { return pressed_; }
    bool ShownPressed() const { return pressed_ != Half::None && over_; }

signals:
    void UpClick();
    void DownClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Half HalfAt(const QPoint& pos) const;
    QRect RectOf(Half half) const;
    void RepeatTick();
    void Click(Half half);
    void PressClick(Half half);
    void EndPress();
    void PaintHalf(class QPainter& painter, Half half);

    QPointer<QWidget> focusControl_;
    QRect upRect_;
    QRect downRect_;
    Half pressed_ = Half::None;
    bool over_ = false;     // the pointer is over the pressed half
    bool clicking_ = false; // a click and its handlers are running
    Half deferredClick_ = Half::None;
    int pressClicks_ = 0; // clicks of the press held now
    bool continuing_ = false;
    QTimer* repeatTimer_ = nullptr; // child
};
