#pragma once
// The hidden factory gesture: a right-button press on the serial-number field while Shift,
// Ctrl and Alt are held opens the serial-number dialog. Other buttons held at the same time
// do not matter. A disabled field (no controller connected) takes no mouse presses.

#include <QObject>

class QLabel;

// True for a press whose held buttons include the right one and whose modifiers include
// Shift, Ctrl and Alt.
bool IsFactoryGesture(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// Opens Form2 modally when the press is the gesture.
void StaticText1MouseDown(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// Watches the serial-number field's mouse presses and double clicks.
class StaticText1Watcher : public QObject {
    Q_OBJECT
public:
    StaticText1Watcher(QLabel* field, QObject* owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* field_;
};
