#pragma once
// Puts files on the disk on a thread of its own, so that the thread that wrote them need not
// wait for the disk. Start hands a file over (a duplicate of its descriptor, closed once
// synced), StartDirectory a directory whose entries changed (opened and synced there); Await
// blocks in the kernel, bounded in time, until every one handed over is on the disk. The
// thread is made at the first Start and ends with the object, after the syncs handed over.

#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

class BackgroundSync {
public:
    BackgroundSync() = default;
    ~BackgroundSync();
    BackgroundSync(const BackgroundSync&) = delete;
    BackgroundSync& operator=(const BackgroundSync&) = delete;

    void Start(int fd);
    void StartDirectory(const QString& directory);
    // True when every file handed over is on the disk; false when the bound ran out first or
    // a sync failed since the last Await.
    bool Await(std::chrono::milliseconds bound);

private:
    struct Item {
        int fd = -1;       // a file's own duplicate
        QString directory; // when fd is -1
    };
    void Hand(Item item);
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Item> queue_;
    uint64_t handed_ = 0;
    uint64_t synced_ = 0;
    bool failed_ = false;
    bool stopping_ = false;
    std::thread thread_;
};
