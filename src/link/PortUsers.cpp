#include "PortUsers.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <dirent.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <memory>

namespace PortUsers {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// Calls `visit` with the name of every entry of the directory but "." and "..".
template <typename Visit> void EachEntry(const QByteArray& path, Visit visit) {
    const DirHandle dir(::opendir(path.constData()));
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (entry->d_name[0] != '.')
            visit(entry->d_name);
    }
}

QByteArray LinkTarget(const QByteArray& link) {
    std::array<char, 512> target{};
    const ssize_t length = ::readlink(link.constData(), target.data(), target.size());
    return length > 0 ? QByteArray(target.data(), static_cast<int>(length)) : QByteArray();
}

QString CommandName(const QByteArray& pid) {
    QFile file(QString::fromLatin1("/proc/" + pid + "/comm"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readLine(64)).trimmed();
}

} // namespace

QString Holder::Text() const {
    return program.isEmpty() ? QStringLiteral("процесс %1").arg(pid)
                             : QStringLiteral("%1 (%2)").arg(program).arg(pid);
}

Holders Find(const QStringList& devices) {
    Holders holders;
    if (devices.isEmpty())
        return holders;
    // Open files show their resolved paths; a device may be listed under a link's name.
    QHash<QByteArray, QString> byTarget;
    for (const QString& device : devices) {
        const QString target = QFileInfo(device).canonicalFilePath();
        byTarget.insert(QFile::encodeName(target.isEmpty() ? device : target), device);
    }
    const QByteArray self = QByteArray::number(static_cast<qint64>(::getpid()));
    EachEntry("/proc", [&](const char* pid) {
        if (!std::isdigit(static_cast<unsigned char>(pid[0])))
            return;
        const QByteArray fdDir = QByteArray("/proc/") + pid + "/fd";
        EachEntry(fdDir, [&](const char* fd) {
            const auto found = byTarget.constFind(LinkTarget(fdDir + '/' + fd));
            if (found == byTarget.constEnd())
                return;
            if (self == pid)
                holders.ours.insert(found.value());
            else if (!holders.others.contains(found.value()))
                holders.others.insert(found.value(),
                                      {CommandName(pid), QByteArray(pid).toLongLong()});
        });
    });
    return holders;
}

} // namespace PortUsers
