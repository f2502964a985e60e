#include "TestDiskSync.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <unistd.h>

namespace {

QString PathOf(int fd) {
    char target[4096];
    const QByteArray link = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t size = ::readlink(link.constData(), target, sizeof target);
    return size > 0 ? QFile::decodeName(QByteArray(target, static_cast<int>(size))) : QString();
}

} // namespace

TestDiskSync::TestDiskSync() {
    PosixFile::InstallDiskSync(this);
}

TestDiskSync::~TestDiskSync() {
    PosixFile::InstallDiskSync(nullptr);
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return active_ == 0; });
}

void TestDiskSync::Slow(std::chrono::milliseconds delay, const QString& ending) {
    const std::lock_guard lock(mutex_);
    delay_ = delay;
    slowEnding_ = ending;
}

void TestDiskSync::Fail(const QString& ending) {
    const std::lock_guard lock(mutex_);
    failing_ = true;
    failEnding_ = ending;
}

QStringList TestDiskSync::Synced() const {
    const std::lock_guard lock(mutex_);
    return synced_;
}

namespace {

int CountEnding(const QStringList& paths, const QString& ending) {
    return static_cast<int>(std::count_if(
        paths.begin(), paths.end(), [&](const QString& path) { return path.endsWith(ending); }));
}

} // namespace

int TestDiskSync::Begun(const QString& ending) const {
    const std::lock_guard lock(mutex_);
    return CountEnding(synced_, ending);
}

int TestDiskSync::Ended(const QString& ending) const {
    const std::lock_guard lock(mutex_);
    return CountEnding(ended_, ending);
}

bool TestDiskSync::Sync(int fd) {
    const QString path = PathOf(fd);
    std::chrono::milliseconds delay{0};
    bool fail = false;
    {
        const std::lock_guard lock(mutex_);
        synced_ << path;
        ++active_;
        if (path.endsWith(slowEnding_))
            delay = delay_;
        fail = failing_ && path.endsWith(failEnding_);
    }
    // The disk's own time, as a slow disk takes it: the syncing thread waits in the kernel.
    std::this_thread::sleep_for(delay);
    bool synced = ::fsync(fd) == 0;
    if (fail) {
        errno = EIO;
        synced = false;
    }
    const int error = errno;
    {
        const std::lock_guard lock(mutex_);
        ended_ << path;
        --active_;
    }
    idle_.notify_all();
    errno = error;
    return synced;
}
