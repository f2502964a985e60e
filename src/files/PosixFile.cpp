#include "PosixFile.h"

#include "InOutError.h"

#include <QFile>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

struct ErrnoCode {
    int errorNumber;
    int code;
};

constexpr std::array<ErrnoCode, 8> ErrnoCodes = {{
    {EACCES, InOutCode::AccessDenied},
    {EPERM, InOutCode::AccessDenied},
    {EROFS, InOutCode::AccessDenied},
    {EISDIR, InOutCode::AccessDenied},
    {ENOENT, InOutCode::FileNotFound},
    {EMFILE, InOutCode::TooManyOpenFiles},
    {ENOSPC, InOutCode::DiskFull},
    {ENAMETOOLONG, InOutCode::InvalidFilename},
}};

std::atomic<DiskSync*> installedSync{nullptr};

QByteArray NameOf(const QString& path) {
    return QFile::encodeName(path);
}

int FlagsFor(PosixFile::OpenFor mode) {
    switch (mode) {
    case PosixFile::OpenFor::Read:
        return O_RDONLY | O_NONBLOCK | O_NOCTTY;
    case PosixFile::OpenFor::ReadWrite:
        return O_RDWR;
    case PosixFile::OpenFor::Overwrite:
        return O_WRONLY | O_NONBLOCK | O_NOCTTY;
    }
    return O_RDONLY;
}

// The descriptor, or -1 with errno set.
int OpenRaw(const QString& path, int flags, mode_t mode = 0666) {
    const QByteArray name = NameOf(path);
    int fd;
    do {
        fd = ::open(name.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

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

std::optional<int> CodeOfError(int errorNumber) {
    for (const ErrnoCode& entry : ErrnoCodes) {
        if (entry.errorNumber == errorNumber)
            return entry.code;
    }
    return std::nullopt;
}

FileDescriptor Open(const QString& path, OpenFor mode) {
    const int fd = OpenRaw(path, FlagsFor(mode));
    if (fd < 0)
        ThrowErrno(errno);
    return FileDescriptor(fd);
}

std::optional<FileDescriptor> OpenIfThere(const QString& path, OpenFor mode) {
    const int fd = OpenRaw(path, FlagsFor(mode));
    if (fd < 0 && errno == ENOENT)
        return std::nullopt;
    if (fd < 0)
        ThrowErrno(errno);
    return FileDescriptor(fd);
}

std::optional<FileDescriptor> CreateNew(const QString& path) {
    const int fd = OpenRaw(path, O_WRONLY | O_CREAT | O_EXCL);
    if (fd < 0 && errno == EEXIST)
        return std::nullopt;
    if (fd < 0)
        ThrowErrno(errno);
    return FileDescriptor(fd);
}

Offset Size(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        ThrowErrno(errno);
    return info.st_size;
}

void ReadAt(int fd, char* data, std::size_t count, Offset offset) {
    while (count > 0) {
        const ssize_t n = ::pread(fd, data, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowErrno(errno);
        if (n == 0)
            throw EInOutError(InOutCode::ReadBeyondEnd);
        data += n;
        count -= static_cast<std::size_t>(n);
        offset += n;
    }
}

void WriteAt(int fd, const char* data, std::size_t count, Offset offset) {
    while (count > 0) {
        const ssize_t n = ::pwrite(fd, data, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ThrowErrno(errno);
        if (n == 0)
            throw EInOutError(InOutCode::DiskFull);
        data += n;
        count -= static_cast<std::size_t>(n);
        offset += n;
    }
}

void Sync(int fd) {
    if (!TrySync(fd))
        ThrowErrno(errno);
}

bool TrySync(int fd) {
    if (DiskSync* sync = installedSync.load())
        return sync->Sync(fd);
    return ::fsync(fd) == 0;
}

void InstallDiskSync(DiskSync* sync) {
    installedSync.store(sync);
}

unsigned Permissions(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        ThrowErrno(errno);
    return info.st_mode & 07777;
}

void SetPermissions(int fd, unsigned permissions) {
    if (::fchmod(fd, static_cast<mode_t>(permissions)) != 0)
        ThrowErrno(errno);
}

void Rename(const QString& from, const QString& to) {
    if (::rename(NameOf(from).constData(), NameOf(to).constData()) != 0)
        ThrowErrno(errno);
}

void RemoveQuietly(const QString& path) noexcept {
    ::unlink(NameOf(path).constData());
}

bool IsFile(const QString& path) {
    struct stat info {};
    return ::stat(NameOf(path).constData(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool IsWritableDirectory(const QString& directory) {
    return ::access(NameOf(directory).constData(), W_OK | X_OK) == 0;
}

bool SharedWithGroup(const QString& directory) {
    struct stat info {};
    return ::stat(NameOf(directory).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           (info.st_mode & S_ISGID) != 0;
}

QString DirectoryOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}

FileDescriptor OpenDirectory(const QString& directory) {
    const int fd = OpenRaw(directory, O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        ThrowErrno(errno);
    return FileDescriptor(fd);
}

void SyncDirectory(const QString& directory) {
    FileDescriptor dir = OpenDirectory(directory);
    Sync(dir.get());
    dir.close();
}

} // namespace PosixFile
