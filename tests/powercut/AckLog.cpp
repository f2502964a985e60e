#include "AckLog.h"

#include <QFile>

#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

AckLog::AckLog(const QString& path)
    : fd_(::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC,
                 0644)) {
    if (fd_ < 0)
        throw std::runtime_error("the acknowledgement file does not open");
}

AckLog::~AckLog() {
    ::close(fd_);
}

void AckLog::add(const QByteArray& line) {
    const QByteArray bytes = line + '\n';
    if (::write(fd_, bytes.constData(), static_cast<size_t>(bytes.size())) != bytes.size())
        throw std::runtime_error("the acknowledgement is not written");
}

QByteArray AckLog::LastOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    const qsizetype end = bytes.lastIndexOf('\n');
    if (end < 0)
        return {};
    const qsizetype start = bytes.lastIndexOf('\n', end - 1) + 1;
    return bytes.mid(start, end - start);
}
