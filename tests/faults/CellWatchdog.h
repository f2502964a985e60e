#pragma once
// Bounds one cell in time: a cell that has not ended when the limit passes names itself on
// the error stream and aborts the test program, so that a hang fails instead of stalling.

#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class CellWatchdog {
public:
    CellWatchdog(const QString& cell, std::chrono::seconds limit);
    ~CellWatchdog();
    CellWatchdog(const CellWatchdog&) = delete;
    CellWatchdog& operator=(const CellWatchdog&) = delete;

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool cellEnded_ = false;
    std::thread thread_; // last: it waits on the members above
};
