#pragma once
// A thread of its own for a window's work with the line's store (its figures, a check of the
// setup), so the window's thread never waits on the disk or the server. Jobs run there one
// after another, each with the store opened there for it; what a job finds is handed to the
// window's thread by the job itself (QMetaObject::invokeMethod onto a receiver). Going, it
// lets a job under way end on its own and the thread go after it.

#include <QObject>

#include <functional>

class QThread;

class StoreThread {
public:
    StoreThread();
    ~StoreThread();
    StoreThread(const StoreThread&) = delete;
    StoreThread& operator=(const StoreThread&) = delete;

    void Post(std::function<void()> job);

private:
    QThread* thread_;
    QObject* home_; // lives on the thread
};
