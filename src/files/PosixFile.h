#pragma once
// The file layer's one window onto the operating system: descriptors, positioned reads and
// writes, sync, rename, permissions and the mapping of the system's error numbers. Every
// failure throws the EInOutError mapped from the system's error number. This file is POSIX;
// a port implements the same interface for its system (see README-reliability.md).

#include <QString>

#include <cstddef>
#include <cstdint>
#include <optional>

// How a descriptor's data reaches the disk. The program always uses the system's fsync; a test
// puts its own in place to slow the disk down, fail it, or see what was synced.
class DiskSync {
public:
    virtual ~DiskSync() = default;
    // True when the file's data is on the disk; otherwise false with errno set. Called from
    // any thread that syncs.
    virtual bool Sync(int fd) = 0;
};

class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    // Closes without a check: only paths that already failed get here with an open file.
    ~FileDescriptor();

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    // Closes and throws when the system reports an error.
    void close();

private:
    int fd_ = -1;
};

namespace PosixFile {

using Offset = std::int64_t;

enum class OpenFor {
    Read,      // an existing file, only read; never blocks on a device
    ReadWrite, // an existing file, read and written in place
    Overwrite, // an existing file, checked for writing; never blocks on a device
};

[[noreturn]] void ThrowErrno(int errorNumber);
// The I/O error code of a system error number (InOutCode), or nothing for a number that has
// none and keeps its own value.
std::optional<int> CodeOfError(int errorNumber);

FileDescriptor Open(const QString& path, OpenFor mode);
// Like Open, but nothing when no file is there.
std::optional<FileDescriptor> OpenIfThere(const QString& path, OpenFor mode);
// A file made anew for writing; nothing when the name is taken already.
std::optional<FileDescriptor> CreateNew(const QString& path);

Offset Size(int fd);
// Reads exactly count bytes at offset; fewer bytes in the file is ReadBeyondEnd.
void ReadAt(int fd, char* data, std::size_t count, Offset offset);
// Writes all count bytes at offset; a device that takes no more is DiskFull.
void WriteAt(int fd, const char* data, std::size_t count, Offset offset);
void Sync(int fd);
// Sync for callers that report failure themselves: false when the data may not be on disk.
bool TrySync(int fd);
// Every sync of the process goes through `sync` until another is installed; nullptr is the
// system's own. The installed one must outlive every sync begun while it is in place.
void InstallDiskSync(DiskSync* sync);

// The permission bits of an open file, and setting them on another.
unsigned Permissions(int fd);
void SetPermissions(int fd, unsigned permissions);

// Replaces `to` by `from` in one step: a reader sees the old file or the new one.
void Rename(const QString& from, const QString& to);
// Removes a file if it can; for clearing up after a failure.
void RemoveQuietly(const QString& path) noexcept;

// A plain file (not a directory) is there.
bool IsFile(const QString& path);
// Files can be made in the directory.
bool IsWritableDirectory(const QString& directory);
// The directory's set-group-ID bit is set: what is made in it belongs to its group.
bool SharedWithGroup(const QString& directory);
// The directory part of a path as the system resolves it: "." for a bare name.
QString DirectoryOf(const QString& path);
// A directory opened for syncing its entries.
FileDescriptor OpenDirectory(const QString& directory);
// Makes a rename in the directory, or a file or folder made in it, durable.
void SyncDirectory(const QString& directory);

} // namespace PosixFile
