#include "FileHelpers.h"

#include <QDir>
#include <QFile>

#include <linux/capability.h>
#include <stdexcept>
#include <sys/syscall.h>
#include <unistd.h>

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

QStringList EntriesOf(const QString& directory) {
    return QDir(directory).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QByteArray Hex(const char* hexText) {
    return QByteArray::fromHex(hexText);
}

namespace {

// Where the thread lacks the capability, setting it fails and changes nothing.
void SetPermissionOverride(bool on) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    syscall(SYS_capget, &header, data);
    const unsigned bit = 1u << CAP_DAC_OVERRIDE;
    data[0].effective = on ? data[0].effective | bit : data[0].effective & ~bit;
    syscall(SYS_capset, &header, data);
}

} // namespace

ReadOnlyFile::ReadOnlyFile(const QString& file) : path(file) {
    QFile::setPermissions(path, QFile::ReadOwner);
    SetPermissionOverride(false);
}

ReadOnlyFile::~ReadOnlyFile() {
    SetPermissionOverride(true);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}
