#pragma once
// Checked file operations over descriptors: every failure throws the EInOutError mapped
// from the system's error number.

#include <QString>

#include <sys/types.h>

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

[[noreturn]] void ThrowErrno(int errorNumber);

FileDescriptor Open(const QString& path, int flags, mode_t mode = 0666);
off_t Size(int fd);
// Reads exactly count bytes at offset; fewer bytes in the file is ReadBeyondEnd.
void ReadAt(int fd, char* data, size_t count, off_t offset);
// Writes all count bytes at offset; a device that takes no more is DiskFull.
void WriteAt(int fd, const char* data, size_t count, off_t offset);
void Sync(int fd);
void Rename(const QString& from, const QString& to);
// The directory part of a path as the system resolves it: "." for a bare name.
QString DirectoryOf(const QString& path);
void SyncDirectory(const QString& directory);

} // namespace PosixFile
