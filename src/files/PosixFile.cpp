#include "PosixFile.h"

#include "InOutError.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    if (fd_ >= 0)
        ::close(fd_);
}

void FileDescriptor::close() {
    // The descriptor is gone after close() whatever it returns; retrying could close another.
    const int result = ::close(std::exchange(fd_, -1));
    if (result != 0 && errno != EINTR)
        PosixFile::ThrowErrno(errno);
}

namespace PosixFile {

void ThrowErrno(int errorNumber) {
    throw EInOutError::FromErrno(errorNumber);
}

FileDescriptor Open(const QString& path, int flags, mode_t mode) {
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        ThrowErrno(errno);
    return FileDescriptor(fd);
}

off_t Size(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        ThrowErrno(errno);
    return info.st_size;
}

void ReadAt(int fd, char* data, size_t count, off_t offset) {
    while (count > 0) {
        const ssize_t n = ::pread(fd, data, count, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowErrno(errno);
        if (n == 0)
            throw EInOutError(InOutCode::ReadBeyondEnd);
        data += n;
        count -= static_cast<size_t>(n);
        offset += n;
    }
}

void WriteAt(int fd, const char* data, size_t count, off_t offset) {
    while (count > 0) {
        const ssize_t n = ::pwrite(fd, data, count, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowErrno(errno);
        if (n == 0)
            throw EInOutError(InOutCode::DiskFull);
        data += n;
        count -= static_cast<size_t>(n);
        offset += n;
    }
}

void Sync(int fd) {
    if (::fsync(fd) != 0)
        ThrowErrno(errno);
}

void Rename(const QString& from, const QString& to) {
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        ThrowErrno(errno);
}

QString DirectoryOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}

void SyncDirectory(const QString& directory) {
    FileDescriptor dir = Open(directory, O_RDONLY | O_DIRECTORY);
    Sync(dir.get());
    dir.close();
}

} // namespace PosixFile
