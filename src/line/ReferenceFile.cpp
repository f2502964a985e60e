#include "ReferenceFile.h"

#include "InOutError.h"
#include "PosixFile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

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
    // Opened as a load opens it, so that the same file errors are told.
    const FileDescriptor descriptor = PosixFile::Open(path, PosixFile::OpenFor::Read);
    QFile file;
    if (!file.open(descriptor.get(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        throw EInOutError::FromErrno(EIO);
    OnePass pass;
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (;;) {
        const QByteArray chunk = file.read(Chunk);
        if (chunk.isEmpty()) {
            if (file.error() != QFileDevice::NoError)
                throw EInOutError::FromErrno(EIO);
            break;
        }
        hash.addData(chunk);
        pass.length += chunk.size();
        if (pass.head.size() < SettingsRecords::FileSize)
            pass.head += chunk.left(SettingsRecords::FileSize - pass.head.size());
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
