#include "OpenHistory.h"

#include "HistorySchema.h"
#include "HistoryStore.h"
#include "IndexRebuild.h"

#include <QDir>
#include <QFile>

namespace {

std::unique_ptr<StoreDatabase> Open(const QString& path) {
    return std::make_unique<StoreDatabase>(StorePlace::Embedded(path),
                                           std::vector<const Schema*>{&HistorySchema()});
}

} // namespace

QString HistoryPlace::StorePath() const {
    return QDir(dataFolder).filePath(QStringLiteral("history.sqlite"));
}

OpenedHistory OpenHistory(const HistoryPlace& place) {
    const QString path = place.StorePath();
    OpenedHistory opened;
    bool fresh = !QFile::exists(path);
    try {
        opened.store = Open(path);
    } catch (const StoreError& error) {
        if (error.kind() != StoreError::Kind::Damaged)
            throw;
        const QString aside = StoreDatabase::SetAside(path);
        if (aside.isEmpty())
            throw;
        opened.store = Open(path);
        opened.message = QStringLiteral("%1\nОно отложено как «%2»; история приборов собрана "
                                        "заново из точек восстановления, журналов и файлов.")
                             .arg(error.text(), QDir::toNativeSeparators(aside));
        fresh = true;
    }
    if (opened.store->ReadOnly()) {
        opened.message = opened.store->ReadOnlyReason();
        return opened;
    }
    HistoryStore history(*opened.store);
    if (fresh && history.IsEmpty())
        IndexRebuild::Rebuild(history, place.dataFolder, place.fileFolders);
    return opened;
}
