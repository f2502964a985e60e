#pragma once
// The state of the link at the right end of the menu bar: nothing while not connected,
// "Связь" in green while the controller answers, "Нет связи" in red while it does not,
// "Без прибора" in grey while the window works on a settings file without a controller.

#include <QLabel>

class QMenuBar;

class LinkIndicator : public QLabel {
    Q_OBJECT
public:
    enum class State { Off, Good, Lost, Offline };

    // Placed at the right end of the menu bar's corner row.
    explicit LinkIndicator(QMenuBar* menuBar);

    void Show(State state);
    State Shown() const { return state_; }

private:
    State state_ = State::Off;
};
