#include "ModalDriver.h"

#include <QWidget>

namespace {
constexpr int PollIntervalMs = 5;
}

ModalDriver::ModalDriver() {
    connect(&timer_, &QTimer::timeout, this, &ModalDriver::poll);
    timer_.start(PollIntervalMs);
}

void ModalDriver::poll() {
    QWidget* active = QApplication::activeModalWidget();
    if (steps_.empty() || !active || !active->isVisible())
        return;
    // Taken off the queue first: a step may run a nested event loop.
    std::function<bool(QWidget*)> step = std::move(steps_.front());
    steps_.pop_front();
    if (!step(active))
        steps_.push_front(std::move(step));
}
