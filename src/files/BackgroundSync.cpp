#include "BackgroundSync.h"

#include "InOutError.h"
#include "PosixFile.h"

#include <unistd.h>

namespace {

bool SyncDirectory(const QString& directory) {
    try {
        PosixFile::SyncDirectory(directory);
        return true;
    } catch (const EInOutError&) {
        return false;
    }
}

} // namespace

BackgroundSync::~BackgroundSync() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void BackgroundSync::Start(int fd) {
    const int copy = ::dup(fd);
    if (copy < 0) {
        // No descriptor to spare: the file is synced here and now.
        const bool synced = PosixFile::TrySync(fd);
        const std::lock_guard lock(mutex_);
        failed_ = failed_ || !synced;
        return;
    }
    Hand({copy, {}});
}

void BackgroundSync::StartDirectory(const QString& directory) {
    Hand({-1, directory});
}

void BackgroundSync::Hand(Item item) {
    {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(item));
        ++handed_;
        if (!thread_.joinable())
            thread_ = std::thread([this] { Run(); });
    }
    changed_.notify_all();
}

bool BackgroundSync::Await(std::chrono::milliseconds bound) {
    std::unique_lock lock(mutex_);
    const bool done = changed_.wait_for(lock, bound, [this] { return synced_ == handed_; });
    const bool failed = failed_;
    if (done)
        failed_ = false;
    return done && !failed;
}

void BackgroundSync::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (queue_.empty())
            return; // stopping, nothing left to sync
        const Item item = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        bool synced;
        if (item.fd >= 0) {
            synced = PosixFile::TrySync(item.fd);
            ::close(item.fd);
        } else {
            synced = SyncDirectory(item.directory);
        }
        lock.lock();
        ++synced_;
        failed_ = failed_ || !synced;
        changed_.notify_all();
    }
}
