#pragma once
// The process's syncs as a test wants them, in place while the object lives: slowed, failing
// with EIO for chosen files, and recorded (which files and directories were synced, and how
// many syncs of each have ended). Gone, it waits for the syncs still in its hands.

#include "PosixFile.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <mutex>

class TestDiskSync : public DiskSync {
public:
    TestDiskSync();
    ~TestDiskSync() override;
    TestDiskSync(const TestDiskSync&) = delete;
    TestDiskSync& operator=(const TestDiskSync&) = delete;

    // Each sync of a path that ends with `ending` takes `delay` more; an empty ending is any.
    void Slow(std::chrono::milliseconds delay, const QString& ending = {});
    // Each sync of a path that ends with `ending` fails with EIO, after the system's own.
    void Fail(const QString& ending);

    // The absolute paths synced, in the order the syncs began.
    QStringList Synced() const;
    // The syncs of the paths that end with `ending` (a whole path is one) begun, and ended.
    int Begun(const QString& ending) const;
    int Ended(const QString& ending) const;

    bool Sync(int fd) override;

private:
    mutable std::mutex mutex_;
    std::chrono::milliseconds delay_{0};
    QString slowEnding_, failEnding_;
    bool failing_ = false;
    QStringList synced_, ended_;
    int active_ = 0;
    std::condition_variable idle_;
};
