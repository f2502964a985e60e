#include "DurableFolder.h"

#include "InOutError.h"
#include "PosixFile.h"

#include <QDir>
#include <QFileInfo>

namespace DurableFolder {

std::optional<QStringList> Make(const QString& folder) {
    QStringList holders;
    QString path = QDir::cleanPath(QDir(folder).absolutePath());
    while (!QFileInfo::exists(path)) {
        const QString holder = PosixFile::DirectoryOf(path);
        if (holder == path)
            break;
        holders << holder;
        path = holder;
    }
    if (!QDir().mkpath(folder))
        return std::nullopt;
    return holders;
}

bool MakeSynced(const QString& folder) {
    const std::optional<QStringList> holders = Make(folder);
    if (!holders)
        return false;
    try {
        for (const QString& holder : *holders)
            PosixFile::SyncDirectory(holder);
    } catch (const EInOutError&) {
        return false;
    }
    return true;
}

} // namespace DurableFolder
