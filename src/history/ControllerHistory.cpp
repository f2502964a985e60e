#include "ControllerHistory.h"

#include "ChangeJournal.h"
#include "ToolData.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

namespace {

VisitItem::Kind ItemKindOf(FileKind kind) {
    switch (kind) {
    case FileKind::Log:
        return VisitItem::Kind::Log;
    case FileKind::Sheet:
        return VisitItem::Kind::Sheet;
    case FileKind::Saved:
        return VisitItem::Kind::Saved;
    case FileKind::Loaded:
        return VisitItem::Kind::Loaded;
    case FileKind::Point:
    case FileKind::Journal:
        break;
    }
    return VisitItem::Kind::Point;
}

QString FileText(FileKind kind, const QString& path) {
    const QString name = QFileInfo(path).fileName();
    switch (kind) {
    case FileKind::Log:
        return QStringLiteral("Запись данных: %1").arg(name);
    case FileKind::Sheet:
        return QStringLiteral("Лист в PDF: %1").arg(name);
    case FileKind::Saved:
        return QStringLiteral("Настройки сохранены в файл: %1").arg(name);
    case FileKind::Loaded:
        return QStringLiteral("Настройки загружены из файла: %1").arg(name);
    case FileKind::Point:
    case FileKind::Journal:
        break;
    }
    return name;
}

QString ChangeText(const JournalRecord& record) {
    const QString before =
        record.oldWord ? ChangeJournal::ShownWord(record, *record.oldWord) : QStringLiteral("?");
    QString text = QStringLiteral("%1: %2 → %3")
                       .arg(record.name, before, ChangeJournal::ShownWord(record, record.newWord));
    if (!record.operation.isEmpty())
        text += QStringLiteral(" (%1)").arg(record.operation);
    if (!record.confirmed)
        text += QStringLiteral(", прибор не подтвердил");
    return text;
}

VisitItem FileItem(VisitItem::Kind kind, QString text, const QString& path) {
    const bool missing = !QFileInfo::exists(path);
    if (missing)
        text += QStringLiteral(" — ") + ControllerHistory::MissingText;
    return {kind, std::move(text), path, missing};
}

} // namespace

namespace ControllerHistory {

std::vector<VisitEntry> Of(const HistoryStore& store, const QString& serial,
                           const QString& dataFolder) {
    std::vector<VisitEntry> entries;
    for (Visit& visit : store.Visits(serial))
        entries.push_back({std::move(visit), {}});
    // Oldest first while each visit takes what happened from its start to the next one's.
    std::reverse(entries.begin(), entries.end());
    const auto visitAt = [&entries](const QDateTime& time) -> VisitEntry* {
        auto after = std::upper_bound(
            entries.begin(), entries.end(), time,
            [](const QDateTime& t, const VisitEntry& entry) { return t < entry.visit.time; });
        return after == entries.begin() ? nullptr : &*(after - 1);
    };
    for (VisitEntry& entry : entries)
        if (!entry.visit.point.isEmpty())
            entry.items.push_back(FileItem(VisitItem::Kind::Point,
                                           QStringLiteral("Прочитано при подключении: %1")
                                               .arg(QFileInfo(entry.visit.point).fileName()),
                                           entry.visit.point));
    if (ToolData::SerialFileName(serial)) {
        const std::vector<JournalRecord> records =
            ChangeJournal::Read(ChangeJournal::PathOf(dataFolder, serial));
        // Where each visit's records begin: as many as the journal held when it began, or for
        // a visit found again from its restore point, the first record from its time on.
        std::vector<std::size_t> starts;
        for (const VisitEntry& entry : entries) {
            std::size_t start = 0;
            if (entry.visit.journalFrom) {
                start = static_cast<std::size_t>(std::max(0, *entry.visit.journalFrom));
            } else {
                while (start < records.size() && records[start].time < entry.visit.time)
                    ++start;
            }
            starts.push_back(
                std::min(std::max(start, starts.empty() ? 0 : starts.back()), records.size()));
        }
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const std::size_t end = k + 1 < entries.size() ? starts[k + 1] : records.size();
            for (std::size_t i = starts[k]; i < end; ++i)
                entries[k].items.push_back(
                    {VisitItem::Kind::Change, ChangeText(records[i]), {}, false});
        }
    }
    for (const IndexedFile& file : store.Files(serial)) {
        if (file.kind == FileKind::Point || file.kind == FileKind::Journal)
            continue;
        if (VisitEntry* entry = visitAt(file.time))
            entry->items.push_back(
                FileItem(ItemKindOf(file.kind), FileText(file.kind, file.path), file.path));
    }
    std::reverse(entries.begin(), entries.end());
    return entries;
}

QString VisitsText(int count) {
    const int tens = count % 100, ones = count % 10;
    const char* word = tens >= 11 && tens <= 14 ? "посещений"
                       : ones == 1              ? "посещение"
                       : ones >= 2 && ones <= 4 ? "посещения"
                                                : "посещений";
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromUtf8(word));
}

QString VisitTitle(const Visit& visit) {
    QStringList parts{visit.time.toString(QStringLiteral("dd.MM.yyyy HH:mm"))};
    for (const QString& name : {visit.workshop, visit.technician})
        if (!name.isEmpty())
            parts << name;
    if (visit.odometer)
        parts << QStringLiteral("%1 км").arg(QLocale(QLocale::Russian).toString(*visit.odometer));
    return parts.join(QStringLiteral(" · "));
}

} // namespace ControllerHistory
