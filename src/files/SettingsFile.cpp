#include "SettingsFile.h"

#include "DurableWrite.h"
#include "InOutError.h"
#include "PosixFile.h"
#include "ProgramDirectory.h"

#include <QFileInfo>

namespace SettingsFile {

QString WithExtension(const QString& path) {
    const QString extension = QLatin1String(Extension);
    return path.contains(extension, Qt::CaseSensitive) ? path : path + extension;
}

bool Exists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

QByteArray ReadForLoad(const QString& path, qint64* length) {
    FileDescriptor file = PosixFile::Open(path, PosixFile::OpenFor::Read);
    const PosixFile::Offset size = PosixFile::Size(file.get());
    if (length)
        *length = size;
    if (size < SettingsRecords::FileSize)
        throw EInOutError(InOutCode::ReadBeyondEnd);
    QByteArray bytes(SettingsRecords::FileSize, '\0');
    PosixFile::ReadAt(file.get(), bytes.data(), static_cast<size_t>(bytes.size()), 0);
    file.close();
    return bytes;
}

SettingsRecords::Words ReadWords(const QString& path) {
    return SettingsRecords::Parse(ReadForLoad(path));
}

bool Write(const QString& path, const SettingsRecords::Entries& entries) {
    return WriteFileDurably(path, SettingsRecords::Build(entries));
}

QString DialogDirectory() {
    return ProgramDirectory::ForDocuments();
}

} // namespace SettingsFile
