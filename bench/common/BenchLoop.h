#pragma once
// Runs the event loop for a while, for benchmarks whose work happens on timers.

#include <QEventLoop>
#include <QTimer>

namespace BenchLoop {

inline void Spin(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace BenchLoop
