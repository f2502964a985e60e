#include "IndexRebuild.h"

#include "ChangeJournal.h"
#include "HistoryStore.h"
#include "RestorePoints.h"
#include "StoreDatabase.h"
#include "ToolData.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>

namespace {

// The name the tool proposes for a controller's files begins with (ToolData::ProposedStem).
QString StemOf(const QString& serial) {
    QString stem = serial.trimmed();
    for (QChar& c : stem)
        if (c == u'/' || c.category() == QChar::Other_Control)
            c = u'_';
    return stem;
}

std::optional<FileKind> KindOfName(const QString& name) {
    if (name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return FileKind::Log;
    if (name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return FileKind::Sheet;
    if (name.endsWith(QLatin1String(".q5t"), Qt::CaseInsensitive))
        return FileKind::Saved;
    return std::nullopt;
}

} // namespace

namespace IndexRebuild {

QString SerialOfFileName(const QString& name) {
    if (name.contains(u'~'))
        return {};
    QByteArray bytes;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == u'%' && i + 2 < name.size()) {
            bool ok = false;
            const int byte = name.mid(i + 1, 2).toInt(&ok, 16);
            if (!ok)
                return {};
            bytes += static_cast<char>(byte);
            i += 2;
        } else {
            bytes += (c == u'_' ? QStringLiteral(" ") : QString(c)).toUtf8();
        }
    }
    const QString serial = QString::fromUtf8(bytes);
    return ToolData::SerialFileName(serial) == name ? HistoryStore::SerialKey(serial) : QString();
}

} // namespace IndexRebuild

namespace {

int RebuildInto(HistoryStore& store, const QString& dataFolder, const QStringList& fileFolders) {
    std::map<QString, QString> serialsByStem;
    const QDir backups(QDir(dataFolder).filePath(QStringLiteral("backups")));
    for (const QString& name : backups.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString serial = IndexRebuild::SerialOfFileName(name);
        if (serial.isEmpty())
            continue;
        serialsByStem[StemOf(serial)] = serial;
        for (const RestorePoint& point : RestorePoints::List(dataFolder, name)) {
            Visit visit;
            visit.serial = serial;
            visit.time = point.time;
            visit.point = point.path;
            store.RecordVisit(visit);
            store.IndexFile({serial, FileKind::Point, point.path, point.time});
        }
    }
    const QDir journals(QDir(dataFolder).filePath(QStringLiteral("journal")));
    for (const QFileInfo& file : journals.entryInfoList({QStringLiteral("*.csv")}, QDir::Files)) {
        const QString serial = IndexRebuild::SerialOfFileName(file.completeBaseName());
        if (serial.isEmpty())
            continue;
        serialsByStem[StemOf(serial)] = serial;
        store.IndexFile({serial, FileKind::Journal, file.absoluteFilePath(), file.lastModified()});
    }
    // The longest stem first, so that "Q5-10" never takes the files of "Q5-100".
    std::vector<std::pair<QString, QString>> stems(serialsByStem.begin(), serialsByStem.end());
    std::sort(stems.begin(), stems.end(),
              [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    QStringList folders = fileFolders;
    folders.prepend(QDir(dataFolder).filePath(QStringLiteral("logs")));
    folders.removeDuplicates();
    for (const QString& folder : folders) {
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files)) {
            const std::optional<FileKind> kind = KindOfName(file.fileName());
            if (!kind)
                continue;
            for (const auto& [stem, serial] : stems) {
                if (file.fileName().startsWith(stem + u' ')) {
                    store.IndexFile({serial, *kind, file.absoluteFilePath(), file.lastModified()});
                    break;
                }
            }
        }
    }
    return static_cast<int>(serialsByStem.size());
}

} // namespace

namespace IndexRebuild {

int Rebuild(HistoryStore& store, const QString& dataFolder, const QStringList& fileFolders) {
    int found = 0;
    store.Batch([&] { found = RebuildInto(store, dataFolder, fileFolders); });
    return found;
}

} // namespace IndexRebuild
