#include "DurableWrite.h"

#include "PosixFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int NameAttempts = 16;

// The permissions of an existing target, after checking that it could be opened for writing
// as a plain overwrite would; nothing when there is no file yet.
std::optional<mode_t> CheckTargetWritable(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        PosixFile::ThrowErrno(errno);
    }
    FileDescriptor target(fd);
    struct stat info {};
    if (::fstat(target.get(), &info) != 0)
        PosixFile::ThrowErrno(errno);
    return info.st_mode & 07777;
}

// A file created beside the target; removed again unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const QString& directory) {
        for (int attempt = 1;; ++attempt) {
            path_ = directory +
                    QStringLiteral("/.q5-%1.tmp")
                        .arg(QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
            const QByteArray name = QFile::encodeName(path_);
            const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                fd_ = FileDescriptor(fd);
                return;
            }
            if (errno != EEXIST || attempt == NameAttempts)
                PosixFile::ThrowErrno(errno);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!committed_)
            ::unlink(QFile::encodeName(path_).constData());
    }

    FileDescriptor& fd() { return fd_; }

    void renameOver(const QString& target) {
        PosixFile::Rename(path_, target);
        committed_ = true;
    }

private:
    QString path_;
    FileDescriptor fd_;
    bool committed_ = false;
};

} // namespace

void WriteFileDurably(const QString& path, const QByteArray& bytes) {
    const std::optional<mode_t> keptMode = CheckTargetWritable(path);
    const QString directory = PosixFile::DirectoryOf(path);

    TemporaryFile temporary(directory);
    const int fd = temporary.fd().get();
    PosixFile::WriteAt(fd, bytes.constData(), static_cast<size_t>(bytes.size()), 0);
    if (keptMode && ::fchmod(fd, *keptMode) != 0)
        PosixFile::ThrowErrno(errno);
    PosixFile::Sync(fd);
    temporary.fd().close();
    temporary.renameOver(path);
    PosixFile::SyncDirectory(directory);
}
