#include "DurableWrite.h"

#include "InOutError.h"
#include "PosixFile.h"
#include "TemporaryFiles.h"

#include <cerrno>
#include <optional>

namespace {

constexpr int NameAttempts = 16;

// The permissions of an existing target, after checking that it could be opened for writing
// as a plain overwrite would; nothing when there is no file yet.
std::optional<unsigned> CheckTargetWritable(const QString& path) {
    std::optional<FileDescriptor> target =
        PosixFile::OpenIfThere(path, PosixFile::OpenFor::Overwrite);
    if (!target)
        return std::nullopt;
    return PosixFile::Permissions(target->get());
}

// A file created beside the target; removed again unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const QString& directory) {
        for (int attempt = 1;; ++attempt) {
            path_ = TemporaryFiles::NewPath(directory);
            if (std::optional<FileDescriptor> fd = PosixFile::CreateNew(path_)) {
                fd_ = std::move(*fd);
                return;
            }
            if (attempt == NameAttempts)
                throw EInOutError::FromErrno(EEXIST);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (!committed_)
            PosixFile::RemoveQuietly(path_);
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

bool WriteFileDurably(const QString& path, const QByteArray& bytes,
                      std::optional<unsigned> newFileMode) {
    std::optional<unsigned> keptMode = CheckTargetWritable(path);
    if (!keptMode)
        keptMode = newFileMode;
    const QString directory = PosixFile::DirectoryOf(path);
    TemporaryFiles::RemoveStale(directory);

    TemporaryFile temporary(directory);
    const int fd = temporary.fd().get();
    PosixFile::WriteAt(fd, bytes.constData(), static_cast<size_t>(bytes.size()), 0);
    if (keptMode)
        PosixFile::SetPermissions(fd, *keptMode);
    PosixFile::Sync(fd);
    temporary.fd().close();
    temporary.renameOver(path);
    try {
        PosixFile::SyncDirectory(directory);
    } catch (const EInOutError&) {
        return false;
    }
    return true;
}
