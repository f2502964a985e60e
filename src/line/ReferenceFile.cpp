#include "ReferenceFile.h"

#include "InOutError.h"
#include "PosixFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace {

constexpr qint64 Chunk = 64 * 1024;

// The whole file in one pass: its first bytes as a load reads them, its length and the
// SHA-256 of everything read, so the words taken are those of the file whose hash is kept.
struct OnePass {
    QByteArray head;
    qint64 length = 0;
    QString sha256;
};

OnePass ReadOnce(const QString& path) {
    // Opened as a load opens it, so that the same file errors are told; what a pipe has not
    // yet given is not waited for.
    const FileDescriptor file = PosixFile::Open(path, PosixFile::OpenFor::Read);
    OnePass pass;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QByteArray chunk(Chunk, '\0');
    for (;;) {
        const ssize_t got = ::read(file.get(), chunk.data(), static_cast<size_t>(chunk.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno != EAGAIN)
            throw EInOutError::FromErrno(errno);
        if (got <= 0)
            break;
        const QByteArrayView bytes(chunk.constData(), got);
        hash.addData(bytes);
        pass.length += got;
        if (pass.head.size() < SettingsRecords::FileSize)
            pass.head +=
                bytes.first(std::min<qsizetype>(got, SettingsRecords::FileSize - pass.head.size()));
    }
    if (pass.length < SettingsRecords::FileSize)
        throw EInOutError(InOutCode::ReadBeyondEnd);
    pass.sha256 = QString::fromLatin1(hash.result().toHex());
    return pass;
}

} // namespace

ReferenceFile ReferenceFile::Load(const QString& path) {
    const OnePass pass = ReadOnce(path);
    ReferenceFile reference;
    reference.findings = SettingsCheck::Examine(pass.head, pass.length);
    if (reference.findings.foreign)
        throw std::runtime_error(SettingsCheck::ForeignFileText().toStdString());
    reference.path = path;
    reference.name = QFileInfo(path).fileName();
    reference.words = SettingsRecords::Parse(pass.head);
    reference.sha256 = pass.sha256;
    return reference;
}

QString ReferenceFile::Sha256Of(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

bool ReferenceFile::Unchanged() const {
    const QString now = Sha256Of(path);
    return !now.isEmpty() && now == sha256;
}
